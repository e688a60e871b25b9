#include "DocTestSupport.h"
#include "FileSizeLimit.h"
#include "TempDir.h"
#include "base/MessageBox.h"
#include "base/Profile.h"
#include "base/SafeFile.h"
#include "doc/TundrelDoc.h"
#include "doc/VowArchive.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A document with a user's position, and a temporary folder to save it in.
class DocumentFile : public ::testing::Test {
protected:
    void SetUp() override {
        SetProfile(&m_profile);
        m_doc.StoreEntry(4, 700, 1000, 2600, 80, kMale, kNative);
    }
    void TearDown() override { SetProfile(nullptr); }
    // Names in the folder other than the expected ones (left-over temporary files).
    std::vector<std::string> FolderNames() const {
        std::vector<std::string> names;
        for (const auto& item : fs::directory_iterator(m_dir.Path()))
            names.push_back(item.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    MemoryProfile m_profile;
    RecordingMessageSink m_sink;
    ScopedMessageSink m_guard{&m_sink};
    TempDir m_dir;
    CTundrelDoc m_doc;
};

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

} // namespace

TEST_F(DocumentFile, SaveThenOpenGivesTheSameDocumentWithPathAndTitle) {
    const std::string path = m_dir.File("my.vowels.vow");
    ASSERT_TRUE(Shown(m_doc.OnSaveDocument(path)));
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(m_doc.GetTitle(), "Untitled");
    EXPECT_EQ(m_doc.GetPathName(), "");

    CTundrelDoc opened;
    opened.StoreEntry(0, 1, 1, 1, 1, kFemale, kCardinal);
    ASSERT_TRUE(Shown(opened.OnOpenDocument(path)));
    EXPECT_EQ(opened.StoreToBytes(), m_doc.StoreToBytes());
    EXPECT_EQ(ReadFileBytes(path), m_doc.StoreToBytes());
    EXPECT_FALSE(opened.IsModified());
    EXPECT_EQ(opened.GetPathName(), path);
    EXPECT_EQ(opened.GetTitle(), "my.vowels.vow");
    EXPECT_TRUE(m_sink.Messages().empty());
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"my.vowels.vow"});
}

TEST_F(DocumentFile, DoSaveTakesTheNewPathAndTitle) {
    ASSERT_TRUE(Shown(m_doc.DoSave(m_dir.File("a.vow"))));
    EXPECT_EQ(m_doc.GetPathName(), m_dir.File("a.vow"));
    EXPECT_EQ(m_doc.GetTitle(), "a.vow");
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(DocumentFile, OpenFailureLeavesTheDocumentAsItWas) {
    ASSERT_TRUE(Shown(m_doc.DoSave(m_dir.File("a.vow"))));
    m_doc.StoreEntry(1, 2, 3, 4, 5, kFemale, kNative);
    const std::string before = m_doc.StoreToBytes();
    const std::string missing = m_dir.File("missing.vow");
    EXPECT_FALSE(Shown(m_doc.OnOpenDocument(missing)));
    EXPECT_FALSE(Shown(m_doc.OnOpenDocument(m_dir.Path())));
    EXPECT_EQ(m_sink.Texts(),
              (std::vector<std::string>{missing + " was not found.",
                                        m_dir.Path() + " is a folder, not a document."}));
    EXPECT_EQ(m_sink.Messages()[0].caption, "Quirnel");
    EXPECT_EQ(m_doc.StoreToBytes(), before);
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(m_doc.GetTitle(), "a.vow");
}

TEST_F(DocumentFile, CutOffFileLeavesAnUntitledPresetDocument) {
    ASSERT_TRUE(Shown(m_doc.DoSave(m_dir.File("a.vow"))));
    const std::string full = m_doc.StoreToBytes();
    WriteFileBytes(m_dir.File("cut.vow"), full.substr(0, 1000));
    EXPECT_FALSE(Shown(m_doc.OnOpenDocument(m_dir.File("cut.vow"))));
    EXPECT_EQ(m_sink.Texts(), std::vector<std::string>{"Unexpected file format."});
    EXPECT_EQ(m_doc.StoreToBytes(), CTundrelDoc().StoreToBytes());
    EXPECT_EQ(m_doc.GetTitle(), "Untitled");
    EXPECT_EQ(m_doc.GetPathName(), "");
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(ReadFileBytes(m_dir.File("a.vow")), full); // not overwritten by a later Save
}

TEST_F(DocumentFile, FailedSaveKeepsTheOldFileAndTheChangedFlag) {
    const std::string path = m_dir.File("old.vow");
    WriteFileBytes(path, "old contents");
    {
        FileSizeLimit limit(100); // the document is much longer: the write fails midway
        EXPECT_FALSE(Shown(m_doc.OnSaveDocument(path)));
    }
    EXPECT_EQ(ReadFileBytes(path), "old contents");
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(m_sink.Texts(), std::vector<std::string>{"Failed to save document."});
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"old.vow"});
}

TEST_F(DocumentFile, SaveIntoAMissingFolderOrOntoAFolderFails) {
    const std::string inMissing = m_dir.File("gone/x.vow");
    EXPECT_FALSE(Shown(m_doc.OnSaveDocument(inMissing)));
    fs::create_directory(m_dir.File("folder.vow"));
    EXPECT_FALSE(Shown(m_doc.DoSave(m_dir.File("folder.vow"))));
    EXPECT_EQ(m_sink.Texts(), (std::vector<std::string>{inMissing + " contains an invalid path.",
                                                        m_dir.File("folder.vow") +
                                                            " is a folder, not a document."}));
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(m_doc.GetTitle(), "Untitled");
    EXPECT_TRUE(fs::is_directory(m_dir.File("folder.vow")));
}

TEST_F(DocumentFile, SaveThroughASymlinkReplacesItsTargetAndKeepsTheLink) {
    fs::create_directory(m_dir.File("real"));
    const std::string target = m_dir.File("real/doc.vow");
    WriteFileBytes(target, "old");
    fs::create_symlink("real/doc.vow", m_dir.File("link.vow"));
    ASSERT_TRUE(Shown(m_doc.OnSaveDocument(m_dir.File("link.vow"))));
    EXPECT_TRUE(fs::is_symlink(m_dir.File("link.vow")));
    EXPECT_EQ(ReadFileBytes(target), m_doc.StoreToBytes());
    // A dangling link creates its target.
    fs::create_symlink("real/new.vow", m_dir.File("dangling.vow"));
    ASSERT_TRUE(Shown(m_doc.OnSaveDocument(m_dir.File("dangling.vow"))));
    EXPECT_TRUE(fs::is_symlink(m_dir.File("dangling.vow")));
    EXPECT_EQ(ReadFileBytes(m_dir.File("real/new.vow")), m_doc.StoreToBytes());
}

TEST_F(DocumentFile, SymlinkLoopIsReportedNotFollowedForever) {
    fs::create_symlink("b.vow", m_dir.File("a.vow"));
    fs::create_symlink("a.vow", m_dir.File("b.vow"));
    EXPECT_FALSE(Shown(m_doc.OnSaveDocument(m_dir.File("a.vow"))));
    EXPECT_EQ(m_sink.Texts(),
              std::vector<std::string>{m_dir.File("a.vow") + " contains an invalid path."});
}

TEST_F(DocumentFile, SaveKeepsPermissionBitsAndGivesNewFilesTheUsualOnes) {
    const std::string path = m_dir.File("shared.vow");
    WriteFileBytes(path, "old");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(Shown(m_doc.OnSaveDocument(path)));
    EXPECT_EQ(ModeOf(path), 0640u);

    const mode_t mask = ::umask(022);
    ASSERT_TRUE(Shown(m_doc.OnSaveDocument(m_dir.File("new.vow"))));
    ::umask(mask);
    EXPECT_EQ(ModeOf(m_dir.File("new.vow")), 0644u);
}

TEST_F(DocumentFile, ReadOnlyTargetIsRefusedWithAccessDenied) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission checks do not apply to root";
    const std::string path = m_dir.File("locked.vow");
    WriteFileBytes(path, "old");
    ::chmod(path.c_str(), 0444);
    EXPECT_FALSE(Shown(m_doc.OnSaveDocument(path)));
    EXPECT_EQ(m_sink.Texts(), std::vector<std::string>{"Access to " + path + " was denied."});
    EXPECT_EQ(ReadFileBytes(path), "old");
}

TEST_F(DocumentFile, DevicesAndPipesAreNeitherReadNorReplacedAndTheMessageNamesThem) {
    std::string bytes;
    EXPECT_EQ(ReadWholeFile("/dev/null", bytes), EINVAL);
    EXPECT_EQ(ReplaceFileContents("/dev/null", "x"), EINVAL);
    const std::string pipe = m_dir.File("pipe.vow");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(Shown(m_doc.OnOpenDocument("/dev/zero")));
    EXPECT_FALSE(Shown(m_doc.OnOpenDocument(pipe))); // without waiting for a writer
    EXPECT_FALSE(Shown(m_doc.OnSaveDocument(pipe)));
    EXPECT_EQ(m_sink.Texts(),
              (std::vector<std::string>{"/dev/zero is a device or a pipe, not a document.",
                                        pipe + " is a device or a pipe, not a document.",
                                        pipe + " is a device or a pipe, not a document."}));
    EXPECT_EQ(fs::status(pipe).type(), fs::file_type::fifo);
}

// However big the file claims or is, no more than the limit is ever read.
TEST_F(DocumentFile, AFileTooBigToBeADocumentIsRefusedUnread) {
    ASSERT_TRUE(Shown(m_doc.DoSave(m_dir.File("a.vow"))));
    const std::string before = m_doc.StoreToBytes();
    const std::string huge = m_dir.File("huge.vow");
    WriteFileBytes(huge, before);
    fs::resize_file(huge, kMaxVowFileBytes + 1); // sparse: takes no disk space
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(huge, bytes, kMaxVowFileBytes), EFBIG);
    EXPECT_FALSE(Shown(m_doc.OnOpenDocument(huge)));
    EXPECT_EQ(m_sink.Texts(), std::vector<std::string>{"Unexpected file format."});
    EXPECT_EQ(m_doc.StoreToBytes(), before);
    EXPECT_EQ(m_doc.GetPathName(), m_dir.File("a.vow"));

    fs::resize_file(huge, kMaxVowFileBytes); // the largest document read
    m_sink.Clear();
    EXPECT_TRUE(Shown(m_doc.OnOpenDocument(huge)));
    EXPECT_TRUE(m_sink.Messages().empty());
}

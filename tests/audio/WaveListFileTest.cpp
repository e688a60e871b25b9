#include "audio/WaveListFile.h"

#include "TempDir.h"
#include "base/Directories.h"
#include "base/MessageBox.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

namespace {

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST(WaveListLine, WritesEntriesRelativeToTheListFolder) {
    EXPECT_EQ(WaveListLine("/lists/a.wav", "/lists/"), "a.wav");
    EXPECT_EQ(WaveListLine("/lists/sub/b.wav", "/lists/"), "sub/b.wav");
    EXPECT_EQ(WaveListLine("/sounds/c.wav", "/lists/"), "../sounds/c.wav");
    EXPECT_EQ(WaveListLine("/lists/a.wav", "/lists/deep/"), "../a.wav");
    EXPECT_EQ(WaveListLine("/lists/sub/b.wav", "/lists/deep/"), "../sub/b.wav");
    EXPECT_EQ(WaveListLine("/sounds/c.wav", "/lists/deep/"), "../../sounds/c.wav");
}

TEST(WaveListLine, CommonDirectoryEndsAtASeparator) {
    // "/lists2" only shares the characters "/lists" with "/lists/", not the folder.
    EXPECT_EQ(WaveListLine("/lists2/a.wav", "/lists/"), "../lists2/a.wav");
    EXPECT_EQ(WaveListLine("/lists/ab.wav", "/lists/a/"), "../ab.wav");
    EXPECT_EQ(WaveListLine("/a.wav", "/"), "a.wav");
}

TEST(WaveListLine, PathsNotBeginningLikeTheFolderAreWrittenWhole) {
    EXPECT_EQ(WaveListLine("D:\\x\\d.wav", "/lists/"), "D:\\x\\d.wav");
    EXPECT_EQ(WaveListLine("\\\\server\\share\\e.wav", "/lists/"), "\\\\server\\share\\e.wav");
}

TEST(WaveListLine, LongPathsAreNeverWrittenAsEmptyLines) {
    const std::string deep =
        "/lists/" + std::string(300, 'd') + "/" + std::string(250, 'n') + ".wav";
    EXPECT_EQ(WaveListLine(deep, "/lists/"), deep.substr(7));
    const std::string far = "/other/" + std::string(400, 'x') + ".wav";
    EXPECT_EQ(WaveListLine(far, "/lists/"), "../" + far.substr(1));
    EXPECT_EQ(WaveListLine("/a", "/lists/"), "../a");
}

TEST(ResolveWaveListLine, ClimbsOneFolderPerUpGroup) {
    EXPECT_EQ(ResolveWaveListLine("a.wav", "/lists/"), "/lists/a.wav");
    EXPECT_EQ(ResolveWaveListLine("../sounds/c.wav", "/lists/"), "/sounds/c.wav");
    EXPECT_EQ(ResolveWaveListLine("../../sounds/c.wav", "/lists/deep/"), "/sounds/c.wav");
    // Climbing above the root stays at the root.
    EXPECT_EQ(ResolveWaveListLine("../../../../x.wav", "/lists/"), "/x.wav");
    EXPECT_EQ(ResolveWaveListLine("", "/lists/"), "/lists/");
}

TEST(ResolveWaveListLine, ReadsListsWrittenOnWindows) {
    EXPECT_EQ(ResolveWaveListLine("sub\\b.wav", "/lists/"), "/lists/sub/b.wav");
    EXPECT_EQ(ResolveWaveListLine("..\\sounds\\c.wav", "/lists/"), "/sounds/c.wav");
    EXPECT_EQ(ResolveWaveListLine("D:\\x\\d.wav", "/lists/"), "D:\\x\\d.wav");
    EXPECT_EQ(ResolveWaveListLine("c:\\x\\d.wav", "/lists/"), "c:\\x\\d.wav");
    EXPECT_EQ(ResolveWaveListLine("\\\\server\\e.wav", "/lists/"), "\\\\server\\e.wav");
    EXPECT_EQ(ResolveWaveListLine("/abs/f.wav", "/lists/"), "/abs/f.wav");
}

class WaveListFileTest : public ::testing::Test {
protected:
    TempDir m_dir;
    RecordingMessageSink m_messages;
    ScopedMessageSink m_guard{&m_messages};
};

TEST_F(WaveListFileTest, FourEntryListIsWrittenRelativeAndReadsBack) {
    const std::string root = m_dir.Path();
    ASSERT_EQ(mkdir((root + "/lists").c_str(), 0755), 0);
    const std::vector<std::string> entries = {root + "/lists/a.wav", root + "/lists/sub/b.wav",
                                              root + "/sounds/c.wav", "D:\\x\\d.wav"};
    const std::string list = root + "/lists/l.wlist";
    ASSERT_TRUE(SaveWaveList(entries, list));
    EXPECT_EQ(Read(list), "a.wav\r\nsub/b.wav\r\n../sounds/c.wav\r\nD:\\x\\d.wav\r\n");

    std::vector<std::string> loaded = {"old"};
    ASSERT_TRUE(LoadWaveList(loaded, list));
    EXPECT_EQ(loaded, entries);
    EXPECT_TRUE(m_messages.Messages().empty());
}

TEST_F(WaveListFileTest, ThirtyEntriesOfTwentyCharactersAreAllWritten) {
    std::vector<std::string> entries;
    for (int i = 0; i < 30; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "recording-%05d.wav", i); // 20 characters
        entries.push_back(m_dir.File(name));
    }
    const std::string list = m_dir.File("many.wlist");
    ASSERT_TRUE(SaveWaveList(entries, list));
    const std::string text = Read(list);
    EXPECT_EQ(text.find("\r\n\r\n"), std::string::npos);
    EXPECT_EQ(text.rfind("\r\n", 0), std::string::npos);
    std::vector<std::string> loaded;
    ASSERT_TRUE(LoadWaveList(loaded, list));
    EXPECT_EQ(loaded, entries);
}

TEST_F(WaveListFileTest, RelativeListPathAndEntriesAreTakenAgainstTheWorkingDirectory) {
    const std::string previous = CurrentDirectory();
    ASSERT_TRUE(ChangeDirectory(m_dir.Path()));
    ASSERT_EQ(mkdir("sub", 0755), 0);
    const bool saved = SaveWaveList({"sub/b.wav", m_dir.File("a.wav")}, "sub/rel.wlist");
    std::vector<std::string> loaded;
    const bool read = LoadWaveList(loaded, "sub/rel.wlist");
    ASSERT_TRUE(ChangeDirectory(previous));
    ASSERT_TRUE(saved);
    ASSERT_TRUE(read);
    EXPECT_EQ(Read(m_dir.File("sub/rel.wlist")), "b.wav\r\n../a.wav\r\n");
    EXPECT_EQ(loaded, (std::vector<std::string>{m_dir.File("sub/b.wav"), m_dir.File("a.wav")}));
}

TEST_F(WaveListFileTest, ReadsLinesEndedByLineFeedAlone) {
    const std::string list = m_dir.File("unix.wlist");
    Write(list, "a.wav\nsub/b.wav\n\nlast.wav");
    std::vector<std::string> loaded;
    ASSERT_TRUE(LoadWaveList(loaded, list));
    EXPECT_EQ(loaded, (std::vector<std::string>{m_dir.File("a.wav"), m_dir.File("sub/b.wav"),
                                                m_dir.Path() + "/", m_dir.File("last.wav")}));
}

TEST_F(WaveListFileTest, HostileContentLoadsWithoutHarm) {
    std::string text = std::string(1 << 20, 'x') + "\r\n";
    text += std::string("nul\0inside.wav\r\n", 16);
    for (int i = 0; i < 5000; ++i)
        text += "../";
    text += "deep.wav\r\n\r\r\n\xff\xfe\x80.wav";
    const std::string list = m_dir.File("hostile.wlist");
    Write(list, text);
    std::vector<std::string> loaded;
    ASSERT_TRUE(LoadWaveList(loaded, list));
    ASSERT_EQ(loaded.size(), 5u);
    EXPECT_EQ(loaded[0].size(), m_dir.Path().size() + 1 + (1u << 20));
    EXPECT_EQ(loaded[1], m_dir.Path() + "/" + std::string("nul\0inside.wav", 14));
    EXPECT_EQ(loaded[2], "/deep.wav");
    EXPECT_EQ(loaded[3], m_dir.Path() + "/\r");
    EXPECT_TRUE(m_messages.Messages().empty());
}

TEST_F(WaveListFileTest, MissingFileShowsTheFileErrorAndKeepsTheEntries) {
    std::vector<std::string> entries = {"/keep/a.wav"};
    const std::string list = m_dir.File("missing.wlist");
    EXPECT_FALSE(LoadWaveList(entries, list));
    EXPECT_EQ(entries, std::vector<std::string>{"/keep/a.wav"});
    ASSERT_EQ(m_messages.Messages().size(), 1u);
    EXPECT_EQ(m_messages.Messages()[0].caption, "Error");
    EXPECT_EQ(m_messages.Messages()[0].text, "Can't open file " + list + ", error = 2\n");
}

TEST_F(WaveListFileTest, UnreadableListKeepsTheEntries) {
    // A folder opens but cannot be read as a list.
    std::vector<std::string> entries = {"/keep/a.wav"};
    EXPECT_FALSE(LoadWaveList(entries, m_dir.Path()));
    EXPECT_EQ(entries, std::vector<std::string>{"/keep/a.wav"});
    EXPECT_EQ(m_messages.Messages().size(), 1u);
}

TEST_F(WaveListFileTest, SaveIntoMissingFolderFailsWithTheFileError) {
    const std::string list = m_dir.File("no/such/folder/l.wlist");
    EXPECT_FALSE(SaveWaveList({"/a.wav"}, list));
    ASSERT_EQ(m_messages.Messages().size(), 1u);
    EXPECT_EQ(m_messages.Messages()[0].text, "Can't open file " + list + ", error = 2\n");
}

TEST_F(WaveListFileTest, FailedSaveKeepsTheOldListAndLeavesNoTemporaryFile) {
    const std::string list = m_dir.File("keep.wlist");
    ASSERT_TRUE(SaveWaveList({m_dir.File("a.wav")}, list));
    // A folder of that name cannot be replaced by the new list.
    const std::string blocked = m_dir.File("blocked.wlist");
    ASSERT_EQ(mkdir(blocked.c_str(), 0755), 0);
    EXPECT_FALSE(SaveWaveList({m_dir.File("b.wav")}, blocked));
    EXPECT_EQ(m_messages.Messages().size(), 1u);
    EXPECT_EQ(Read(list), "a.wav\r\n");
    int files = 0;
    for (const auto& item : std::filesystem::directory_iterator(m_dir.Path()))
        files += item.is_regular_file();
    EXPECT_EQ(files, 1);
}

TEST_F(WaveListFileTest, EmptyListWritesAnEmptyFile) {
    const std::string list = m_dir.File("empty.wlist");
    ASSERT_TRUE(SaveWaveList({}, list));
    EXPECT_EQ(Read(list), "");
    std::vector<std::string> loaded = {"x"};
    ASSERT_TRUE(LoadWaveList(loaded, list));
    EXPECT_TRUE(loaded.empty());
}

} // namespace

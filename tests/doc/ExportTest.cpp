#include "DocTestSupport.h"
#include "TempDir.h"
#include "base/Directories.h"
#include "base/MessageBox.h"
#include "base/Profile.h"
#include "doc/TundrelDoc.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

class Export : public ::testing::Test {
protected:
    void SetUp() override { SetProfile(&m_profile); }
    void TearDown() override { SetProfile(nullptr); }

    MemoryProfile m_profile;
    RecordingMessageSink m_sink;
    ScopedMessageSink m_guard{&m_sink};
    TempDir m_dir;
    CTundrelDoc m_doc;
};

} // namespace

TEST_F(Export, ModifiedCardinalEntriesGiveTextAndTableLines) {
    m_doc.StoreEntry(8, 260, 1800, 2300, 100, kMale, kCardinal);
    m_doc.StoreEntry(0, 300, 2400, 3000, 100, kFemale, kCardinal);
    m_doc.StoreEntry(1, 1, 2, 3, 4, kFemale, kNative);
    m_doc.SetModifiedFlag(false);
    ASSERT_TRUE(Shown(m_doc.ExportText(m_dir.File("out.txt"))));
    ASSERT_TRUE(Shown(m_doc.ExportVowelTable(m_dir.File("out.vtb"))));
    EXPECT_EQ(ReadFileBytes(m_dir.File("out.txt")),
              "female;i;300;2400;3000\nmale;y;260;1800;2300\n");
    EXPECT_EQ(ReadFileBytes(m_dir.File("out.vtb")), "301 300 2400\n309 260 1800\n");
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_TRUE(m_sink.Messages().empty());
}

TEST_F(Export, OnlyNativeChangesGiveEmptyFiles) {
    m_doc.StoreEntry(3, 900, 1500, 2700, 100, kMale, kNative);
    WriteFileBytes(m_dir.File("old.txt"), "previous export\n");
    ASSERT_TRUE(Shown(m_doc.ExportText(m_dir.File("old.txt"))));
    ASSERT_TRUE(Shown(m_doc.ExportVowelTable(m_dir.File("out.vtb"))));
    EXPECT_EQ(ReadFileBytes(m_dir.File("old.txt")), "");
    EXPECT_EQ(ReadFileBytes(m_dir.File("out.vtb")), "");
}

TEST_F(Export, SymbolBytesAndBlankPlaceholders) {
    m_doc.StoreEntry(27, 650, 1400, 3000, 100, kFemale, kCardinal); // font byte 0xCF
    m_doc.StoreEntry(29, -250, 500, 3000, 100, kFemale, kCardinal); // blank placeholder
    EXPECT_EQ(m_doc.ExportTextBytes(), "female;\xCF;650;1400;3000\nfemale; ;-250;500;3000\n");
    // The blank has no vowel code: it is left out of the table.
    EXPECT_EQ(m_doc.ExportVowelTableBytes(), "327 650 1400\n");
}

TEST_F(Export, UncreatableFileShowsTheFileError) {
    const std::string path = m_dir.File("missing/out.txt");
    EXPECT_FALSE(Shown(m_doc.ExportText(path)));
    EXPECT_FALSE(Shown(m_doc.ExportVowelTable(m_dir.Path())));
    ASSERT_EQ(m_sink.Messages().size(), 2u);
    EXPECT_EQ(m_sink.Messages()[0].text,
              "Can't open file " + path + ", error = 2\nNo such file or directory");
    EXPECT_EQ(m_sink.Messages()[0].caption, "Error");
    EXPECT_EQ(m_sink.Messages()[1].text,
              "Can't open file " + m_dir.Path() + ", error = 1\nit is a folder");
}

TEST_F(Export, SaveAsDispatchesOnTheExactExtension) {
    EXPECT_EQ(CTundrelDoc::SaveAsKindOf("x.vow"), SaveAsKind::Document);
    EXPECT_EQ(CTundrelDoc::SaveAsKindOf("/a.b/x.y.txt"), SaveAsKind::Text);
    EXPECT_EQ(CTundrelDoc::SaveAsKindOf("x.vtb"), SaveAsKind::VowelTable);
    EXPECT_EQ(CTundrelDoc::SaveAsKindOf("x.TXT"), SaveAsKind::Unknown);
    EXPECT_EQ(CTundrelDoc::SaveAsKindOf("dir.vow/x"), SaveAsKind::Unknown);
    EXPECT_EQ(CTundrelDoc::SaveAsKindOf("x.csv"), SaveAsKind::Unknown);

    m_doc.StoreEntry(0, 300, 2400, 3000, 100, kFemale, kCardinal);
    EXPECT_FALSE(Shown(m_doc.SaveAsChosenFile(m_dir.File("x.TXT"))));
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("x.TXT")));
    EXPECT_TRUE(m_doc.IsModified());
    ASSERT_TRUE(Shown(m_doc.SaveAsChosenFile(m_dir.File("x.txt"))));
    EXPECT_TRUE(m_doc.IsModified());
    ASSERT_TRUE(Shown(m_doc.SaveAsChosenFile(m_dir.File("x.vow"))));
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(m_doc.GetTitle(), "Untitled");
    EXPECT_EQ(ReadFileBytes(m_dir.File("x.vow")), m_doc.StoreToBytes());
    EXPECT_TRUE(m_sink.Messages().empty());
}

TEST_F(Export, RememberVowDirectoryTakesTheWorkingDirectory) {
    const std::string before = CurrentDirectory();
    ASSERT_TRUE(ChangeDirectory(m_dir.Path()));
    CTundrelDoc::RememberVowDirectory();
    ASSERT_TRUE(ChangeDirectory(before));
    const std::string expected = std::filesystem::canonical(m_dir.Path()).string();
    EXPECT_EQ(g_strVowDir, expected);
    EXPECT_EQ(m_profile.GetString("Directories", "Vow", ""), expected);
    m_doc.LoadPresets();
    EXPECT_EQ(g_strVowDir, expected);
}

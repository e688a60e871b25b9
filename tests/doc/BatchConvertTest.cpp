#include "doc/BatchConvert.h"
#include "DocTestSupport.h"
#include "TempDir.h"
#include "base/MessageBox.h"
#include "base/Profile.h"
#include "doc/TundrelDoc.h"
#include "doc/VowArchive.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

const char* const kFertig = "Dateien wurden erfolgreich konvertiert.";
const char* const kOldFormatLine = "Diese Datei wurde in einem \xE4lteren Format gespeichert und "
                                   "kann von der aktuellen Programmversion nicht gelesen "
                                   "werden.\n";

// Converts as the window does; true unless the batch failed.
bool BatchConvert(const std::string& folder, const CTundrelDoc& symbols) {
    return Shown(BatchConvertFolder(folder, symbols)) != BatchOutcome::Failed;
}

// A folder of documents to convert, with the symbols of a preset document.
class Batch : public ::testing::Test {
protected:
    void SetUp() override { SetProfile(&m_profile); }
    void TearDown() override { SetProfile(nullptr); }
    void Save(const std::string& name, const CTundrelDoc& doc) {
        WriteFileBytes(m_dir.File(name), doc.StoreToBytes());
    }
    std::string Output(const std::string& name) const { return ReadFileBytes(m_dir.File(name)); }
    // The lines of one output after its header.
    std::vector<std::string> Lines(const std::string& name) const {
        const std::string text = Output(name);
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        EXPECT_EQ(start, text.size()) << "every line ends with a line feed";
        EXPECT_FALSE(lines.empty());
        if (!lines.empty()) {
            EXPECT_EQ(lines[0] + "\n", BatchHeaderLine());
            lines.erase(lines.begin());
        }
        return lines;
    }

    MemoryProfile m_profile;
    RecordingMessageSink m_sink;
    ScopedMessageSink m_guard{&m_sink};
    TempDir m_dir;
    CTundrelDoc m_symbols;
};

// The line of a document without modified entries in list (gender, set).
std::string EmptyGroups(const std::string& name) {
    std::string line = name + ";";
    for (int slot = 0; slot < kSlotCount; ++slot)
        line += std::string(kPresetVowels[0][slot / 8][slot % 8].symbol) + ";;;;;";
    return line;
}

} // namespace

TEST(BatchHeader, HasNameAnd32GroupsOfFiveFields) {
    const std::string header = BatchHeaderLine();
    EXPECT_EQ(header.substr(0, 20), "Name;-;f1;f2;f3;len;");
    EXPECT_EQ(std::count(header.begin(), header.end(), ';'), 161);
    EXPECT_EQ(header.size(), 5u + 32u * 15u + 1u);
}

TEST_F(Batch, PresetOnlyDocumentGivesSymbolsWithEmptyFields) {
    Save("a.vow", CTundrelDoc());
    EXPECT_EQ(Shown(BatchConvertFolder(m_dir.Path(), m_symbols)), BatchOutcome::Converted);
    EXPECT_EQ(m_sink.Texts(), std::vector<std::string>{kFertig});
    EXPECT_EQ(m_sink.Messages()[0].caption, "Fertig");
    for (const char* output : kBatchOutputNames)
        EXPECT_EQ(Lines(output), std::vector<std::string>{EmptyGroups("a")}) << output;
    const std::string line = Lines("AllFemaleCardinal.txt")[0];
    EXPECT_EQ(line.substr(0, 8), "a;i;;;;;");
    EXPECT_EQ(line.substr(line.size() - 24), " ;;;;; ;;;;; ;;;;; ;;;;;");
}

TEST_F(Batch, ModifiedEntriesGoToTheirOwnListWithTheirTexts) {
    CTundrelDoc doc;
    doc.StoreEntry(0, 300, 2400, 3000, 90, kFemale, kCardinal);
    doc.StoreEntry(31, -1, 2, 3, 4, kMale, kNative);
    doc.m_entries[5][kMale][kCardinal].modified = 2;
    doc.m_entries[5][kMale][kCardinal].f1 = 555;
    Save("x.y.vow", doc);
    ASSERT_TRUE(BatchConvert(m_dir.Path(), m_symbols));
    const std::string female = Lines("AllFemaleCardinal.txt")[0];
    EXPECT_EQ(female.substr(0, 24), "x.y;i;300;2400;3000;90;e");
    EXPECT_EQ(Lines("AllMaleCardinal.txt")[0].find("\x8D;555;900;2700;100;"), 4u + 5u * 6u);
    const std::string maleNative = Lines("AllMaleNative.txt")[0];
    EXPECT_EQ(maleNative.substr(maleNative.size() - 11), " ;-1;2;3;4;");
    EXPECT_EQ(Lines("AllFemaleNative.txt")[0], EmptyGroups("x.y"));
}

TEST_F(Batch, Format10TakesLength100AndModifiedIsReadAsANumber) {
    VowWriter w;
    w.WriteString("vow");
    w.WriteString("1.0");
    for (int record = 0; record < 128; ++record) {
        w.WriteString(record == 0 ? "300" : "1");
        w.WriteString(record == 0 ? "2400" : "2");
        w.WriteString(record == 0 ? "3000" : "3");
        w.WriteString(record == 0 ? "1" : record == 1 ? "2" : record == 2 ? "x" : "0");
    }
    WriteFileBytes(m_dir.File("old.vow"), w.Bytes());
    ASSERT_TRUE(BatchConvert(m_dir.Path(), m_symbols));
    const std::string line = Lines("AllFemaleCardinal.txt")[0];
    const std::string start = "old;i;300;2400;3000;100;e;1;2;3;100;\x45;;;;;";
    EXPECT_EQ(line.substr(0, start.size()), start);
}

TEST_F(Batch, OldFormatAndUnknownVersionAreConvertedAsTheyAre) {
    WriteFileBytes(m_dir.File("zero.vow"), VowStrings({"250", "2100", "3100"}));
    WriteFileBytes(m_dir.File("future.vow"), VowStrings({"vow", "9.9", "1", "2", "3", "4", "1"}));
    EXPECT_EQ(Shown(BatchConvertFolder(m_dir.Path(), m_symbols)), BatchOutcome::Converted);
    for (const char* output : kBatchOutputNames) {
        const std::string text = Output(output);
        EXPECT_EQ(text,
                  BatchHeaderLine() + EmptyGroups("future") + "\n" + "zero;" + kOldFormatLine);
    }
}

TEST_F(Batch, FindsUpperCaseExtensionsInByteOrderAndSkipsFolders) {
    Save("b.vow", CTundrelDoc());
    Save("OLD.VOW", CTundrelDoc());
    Save("a.Vow", CTundrelDoc());
    Save("notes.vow.txt", CTundrelDoc());
    fs::create_directory(m_dir.File("folder.vow"));
    EXPECT_EQ(FindVowDocuments(m_dir.Path()),
              (std::vector<std::string>{"OLD.VOW", "a.Vow", "b.vow"}));
    ASSERT_TRUE(BatchConvert(m_dir.Path(), m_symbols));
    const auto lines = Lines("AllMaleNative.txt");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].substr(0, 4), "OLD;");
    EXPECT_EQ(lines[1].substr(0, 2), "a;");
}

TEST_F(Batch, RunningTwiceGivesTheSameTables) {
    CTundrelDoc doc;
    doc.StoreEntry(7, 1, 2, 3, 4, kFemale, kNative);
    Save("one.vow", doc);
    ASSERT_TRUE(BatchConvert(m_dir.Path(), m_symbols));
    std::vector<std::string> first;
    for (const char* output : kBatchOutputNames)
        first.push_back(Output(output));
    ASSERT_TRUE(BatchConvert(m_dir.Path(), m_symbols));
    for (int i = 0; i < kBatchOutputCount; ++i)
        EXPECT_EQ(Output(kBatchOutputNames[i]), first[i]);
}

TEST_F(Batch, EmptyFolderCreatesNothingAndSaysNothing) {
    WriteFileBytes(m_dir.File("other.txt"), "x");
    EXPECT_EQ(Shown(BatchConvertFolder(m_dir.Path(), m_symbols)), BatchOutcome::NoDocuments);
    EXPECT_EQ(Shown(BatchConvertFolder(m_dir.File("missing"), m_symbols)),
              BatchOutcome::NoDocuments);
    EXPECT_TRUE(m_sink.Messages().empty());
    EXPECT_FALSE(fs::exists(m_dir.File("AllFemaleCardinal.txt")));
}

TEST_F(Batch, CutOffDocumentIsCompletedReportedAndTheBatchGoesOn) {
    CTundrelDoc doc;
    doc.StoreEntry(0, 300, 2400, 3000, 90, kFemale, kCardinal);
    doc.StoreEntry(1, 1, 2, 3, 4, kFemale, kCardinal);
    const std::string bytes = doc.StoreToBytes();
    // Mark, version, the first record and part of the second.
    WriteFileBytes(m_dir.File("a.vow"), bytes.substr(0, 8 + 20 + 3));
    Save("b.vow", doc);
    EXPECT_EQ(Shown(BatchConvertFolder(m_dir.Path(), m_symbols)), BatchOutcome::Failed);
    EXPECT_EQ(m_sink.Texts(), std::vector<std::string>{"a.vow: Unexpected file format."});
    const auto female = Lines("AllFemaleCardinal.txt");
    ASSERT_EQ(female.size(), 2u);
    EXPECT_EQ(female[0], "a;i;300;2400;3000;90;" + EmptyGroups("").substr(7));
    EXPECT_EQ(std::count(female[0].begin(), female[0].end(), ';'), 161);
    EXPECT_EQ(female[1].substr(0, 30), "b;i;300;2400;3000;90;e;1;2;3;4");
    EXPECT_EQ(Lines("AllMaleNative.txt")[0], EmptyGroups("a"));
}

TEST_F(Batch, EmptyDocumentFileAndOneTooBigToBeADocumentGetEmptyGroups) {
    WriteFileBytes(m_dir.File("empty.vow"), "");
    Save("huge.vow", CTundrelDoc());
    fs::resize_file(m_dir.File("huge.vow"), kMaxVowFileBytes + 1); // refused unread
    EXPECT_EQ(Shown(BatchConvertFolder(m_dir.Path(), m_symbols)), BatchOutcome::Failed);
    EXPECT_EQ(Lines("AllFemaleNative.txt"),
              (std::vector<std::string>{EmptyGroups("empty"), EmptyGroups("huge")}));
    EXPECT_EQ(m_sink.Texts(), (std::vector<std::string>{"empty.vow: Unexpected file format.",
                                                        "huge.vow: Unexpected file format."}));
}

TEST_F(Batch, UnopenableDocumentEndsTheBatchWithoutFertig) {
    Save("a.vow", CTundrelDoc());
    fs::create_symlink("nowhere", m_dir.File("b.vow"));
    Save("c.vow", CTundrelDoc());
    EXPECT_EQ(Shown(BatchConvertFolder(m_dir.Path(), m_symbols)), BatchOutcome::Failed);
    EXPECT_EQ(m_sink.Texts(), std::vector<std::string>{
                                  "Can't open file b.vow, error = 2\nNo such file or directory"});
    EXPECT_EQ(m_sink.Messages()[0].caption, "Error");
    EXPECT_EQ(Lines("AllFemaleCardinal.txt"), std::vector<std::string>{EmptyGroups("a")});
}

TEST_F(Batch, UncreatableOutputEndsTheBatch) {
    Save("a.vow", CTundrelDoc());
    fs::create_directory(m_dir.File("AllMaleCardinal.txt"));
    EXPECT_FALSE(BatchConvert(m_dir.Path(), m_symbols));
    EXPECT_EQ(
        m_sink.Texts(),
        std::vector<std::string>{"Can't open file AllMaleCardinal.txt, error = 1\nit is a folder"});
    EXPECT_FALSE(fs::exists(m_dir.File("AllFemaleNative.txt")));

    // A pipe of a table's name is refused at once rather than waited on.
    fs::remove(m_dir.File("AllMaleCardinal.txt"));
    ASSERT_EQ(::mkfifo(m_dir.File("AllMaleCardinal.txt").c_str(), 0600), 0);
    m_sink.Clear();
    EXPECT_FALSE(BatchConvert(m_dir.Path(), m_symbols));
    EXPECT_EQ(m_sink.Texts(),
              std::vector<std::string>{"Can't open file AllMaleCardinal.txt, error = 1\n"
                                       "it is not a regular file (a device or a pipe)"});
    EXPECT_EQ(fs::status(m_dir.File("AllMaleCardinal.txt")).type(), fs::file_type::fifo);
}

#include "DocTestSupport.h"
#include "base/MessageBox.h"
#include "base/Profile.h"
#include "doc/TundrelDoc.h"
#include "doc/VowArchive.h"

#include <gtest/gtest.h>
#include <string>

using namespace std::string_literals;

namespace {

const char* const k00Notice = "Die Datei wurde in Format 0.0 (ohne Len-Werte und ohne "
                              "Modified-Infos) gespeichert. Len wird automatisch auf 100 "
                              "gesetzt.";
const char* const k10Notice = "Die Datei wurde in Format 1.0 (ohne Len-Werte) gespeichert. "
                              "Len wird automatisch auf 100 gesetzt.";

// How reading a .vow file ended.
enum class VowReadResult {
    Complete, // every string the format asks for was there (or the version was unknown)
    EarlyEnd, // the data ended before the last expected string
};

// Reads bytes into a fresh preset document, recording the messages.
class VowFormat : public ::testing::Test {
protected:
    void SetUp() override { SetProfile(&m_profile); }
    void TearDown() override { SetProfile(nullptr); }
    VowReadResult Read(const std::string& bytes) {
        m_doc.LoadPresets();
        VowReader reader(bytes);
        return Shown(m_doc.LoadFrom(reader)) ? VowReadResult::Complete : VowReadResult::EarlyEnd;
    }
    bool HoldsPresets() const {
        CTundrelDoc fresh;
        return fresh.StoreToBytes() == m_doc.StoreToBytes();
    }

    MemoryProfile m_profile;
    RecordingMessageSink m_sink;
    ScopedMessageSink m_guard{&m_sink};
    CTundrelDoc m_doc;
};

// A format-1.0 file: every record f1 f2 f3 modified, with the given change at one index.
std::string Format10(int changedRecord, const std::string& f1, const std::string& mod) {
    VowWriter w;
    w.WriteString("vow");
    w.WriteString("1.0");
    CTundrelDoc presets;
    int record = 0;
    for (int set = 0; set < kSetCount; ++set)
        for (int gender = 0; gender < kGenderCount; ++gender)
            for (int slot = 0; slot < kSlotCount; ++slot, ++record) {
                const VowelEntry& e = presets.m_entries[slot][gender][set];
                w.WriteString(record == changedRecord ? f1 : std::to_string(e.f1));
                w.WriteNumber(e.f2);
                w.WriteNumber(e.f3);
                w.WriteString(record == changedRecord ? mod : "0");
            }
    return w.Bytes();
}

} // namespace

TEST(VowStrings, LengthPrefixesFollowTheThreeSizes) {
    VowWriter w;
    w.WriteString(std::string(254, 'a'));
    EXPECT_EQ(w.Bytes().substr(0, 1), "\xFE");
    VowWriter w2;
    w2.WriteString(std::string(255, 'b'));
    EXPECT_EQ(w2.Bytes().substr(0, 3), "\xFF\xFF\x00"s);
    VowWriter w3;
    w3.WriteString(std::string(65533, 'c'));
    EXPECT_EQ(w3.Bytes().substr(0, 3), "\xFF\xFD\xFF"s);
    VowWriter w4;
    w4.WriteString(std::string(65534, 'd'));
    EXPECT_EQ(w4.Bytes().substr(0, 7), "\xFF\xFF\xFF\xFE\xFF\x00\x00"s);
    for (const std::string* bytes : {&w.Bytes(), &w2.Bytes(), &w3.Bytes(), &w4.Bytes()}) {
        VowReader reader(*bytes);
        std::string text;
        ASSERT_TRUE(reader.ReadString(text));
        EXPECT_EQ(reader.Position(), bytes->size());
    }
}

TEST(VowStrings, SixteenBitStringsBecomeLatin1) {
    // 0xFF 0xFFFE, length 3, then "Ä", "z" and U+0100 (no Latin-1 form).
    const std::string bytes = "\xFF\xFE\xFF\x03\xC4\x00z\x00\x00\x01"s;
    VowReader reader(bytes);
    std::string text;
    ASSERT_TRUE(reader.ReadString(text));
    EXPECT_EQ(text, "\xC4z?");
    // A 16-bit string with a 16-bit length.
    const std::string longer = "\xFF\xFE\xFF\xFF\x01\x00"s + "A\x00"s;
    VowReader second(longer);
    ASSERT_TRUE(second.ReadString(text));
    EXPECT_EQ(text, "A");
}

TEST(VowStrings, LengthBeyondTheDataIsAnEarlyEnd) {
    std::string text = "kept";
    for (const std::string& bytes : {"\x05"
                                     "abc"s,
                                     "\xFF\xFF\xFF\xFF\xFF\xFF\xFF"
                                     "abc"s,
                                     "\xFF\x10"s,
                                     "\xFF\xFE\xFF\x02"
                                     "a\x00"s,
                                     "\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF"s, ""s}) {
        VowReader reader(bytes);
        EXPECT_FALSE(reader.ReadString(text));
    }
}

TEST(VowStrings, NumbersReadAsTheCLibraryDoes) {
    EXPECT_EQ(VowTextToInt("260"), 260);
    EXPECT_EQ(VowTextToInt("  -42xyz"), -42);
    EXPECT_EQ(VowTextToInt("+7"), 7);
    EXPECT_EQ(VowTextToInt("x"), 0);
    EXPECT_EQ(VowTextToInt(""), 0);
    EXPECT_EQ(VowTextToInt("- 5"), 0);
    EXPECT_EQ(VowTextToInt("2147483647"), 2147483647);
    EXPECT_EQ(VowTextToInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(VowTextToInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(VowTextToInt("-99999999999999999999"), -2147483647 - 1);
}

TEST_F(VowFormat, PresetDocumentIs643StringsStartingWithTheMarkAndSlotZero) {
    const std::string bytes = m_doc.StoreToBytes();
    EXPECT_EQ(bytes.substr(0, 28), "\x03vow\x03"
                                   "1.1\x03"
                                   "260\x04"
                                   "2600\x04"
                                   "3000\x03"
                                   "100\x01"
                                   "0");
    EXPECT_EQ(CountVowStrings(bytes), 643);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\x01\n");
}

TEST_F(VowFormat, WrittenDocumentReadsBackIdentically) {
    CTundrelDoc source;
    source.StoreEntry(0, -5, 2147483647, -2147483647 - 1, 0, kFemale, kCardinal);
    source.StoreEntry(31, 123456, 7, 8, 250, kMale, kNative);
    source.m_entries[9][kMale][kCardinal].modified = 2;
    ASSERT_EQ(Read(source.StoreToBytes()), VowReadResult::Complete);
    EXPECT_EQ(m_doc.StoreToBytes(), source.StoreToBytes());
    EXPECT_EQ(m_doc.GetEntryF1(0, kFemale, kCardinal), -5);
    EXPECT_EQ(m_doc.IsEntryModified(9, kMale, kCardinal), 2);
    EXPECT_TRUE(m_sink.Messages().empty());
}

TEST_F(VowFormat, Format10SetsLengthsTo100AndKeepsModifiedFlags) {
    // Record 32 is male Cardinal slot 0.
    ASSERT_EQ(Read(Format10(32, "300", "1")), VowReadResult::Complete);
    ASSERT_EQ(m_sink.Messages().size(), 1u);
    EXPECT_EQ(m_sink.Messages()[0].text, k10Notice);
    EXPECT_EQ(m_sink.Messages()[0].caption, "Achtung");
    EXPECT_EQ(m_doc.GetEntryF1(0, kMale, kCardinal), 300);
    EXPECT_EQ(m_doc.IsEntryModified(0, kMale, kCardinal), 1);
    for (int slot = 0; slot < kSlotCount; ++slot)
        EXPECT_EQ(m_doc.GetEntryLen(slot, kFemale, kNative), 100);
}

TEST_F(VowFormat, Format10NoticeComesBeforeAnyRecordIsRead) {
    // Only the mark and the version: the notice, then the early end.
    EXPECT_EQ(Read(VowStrings({"vow", "1.0", "300"})), VowReadResult::EarlyEnd);
    EXPECT_EQ(m_sink.Texts(), std::vector<std::string>{k10Notice});
}

TEST_F(VowFormat, Format00FillsTheCardinalListsAndMarksChangedEntries) {
    VowWriter w;
    for (int gender = 0; gender < kGenderCount; ++gender)
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const VowelEntry& p = kPresetVowels[gender][slot / 8][slot % 8];
            const bool changed = (gender == kMale && slot == 17);
            w.WriteNumber(changed ? p.f1 + 10 : p.f1);
            w.WriteNumber(p.f2);
            w.WriteNumber(p.f3);
        }
    m_doc.m_entries[3][kFemale][kCardinal].len = 55; // cleared by the presets first
    ASSERT_EQ(Read(w.Bytes()), VowReadResult::Complete);
    EXPECT_EQ(m_sink.Texts(), std::vector<std::string>{k00Notice});
    EXPECT_EQ(m_doc.GetEntryF1(17, kMale, kCardinal), 360);
    for (int gender = 0; gender < kGenderCount; ++gender)
        for (int set = 0; set < kSetCount; ++set)
            for (int slot = 0; slot < kSlotCount; ++slot) {
                const bool changed = gender == kMale && set == kCardinal && slot == 17;
                EXPECT_EQ(m_doc.IsEntryModified(slot, gender, set), changed ? 1 : 0);
                EXPECT_EQ(m_doc.GetEntryLen(slot, gender, set), 100);
            }
}

TEST_F(VowFormat, UpperCaseMarkIsReadAsFormat00) {
    // "VOW" "1.1" and 190 more numbers: the two strings are F1 and F2 of slot 0.
    VowWriter w;
    w.WriteString("VOW");
    w.WriteString("1.1");
    for (int i = 0; i < 190; ++i)
        w.WriteNumber(3000);
    ASSERT_EQ(Read(w.Bytes()), VowReadResult::EarlyEnd); // then 1.1 records are expected
    EXPECT_EQ(m_sink.Texts(), std::vector<std::string>{k00Notice});
    VowWriter w2;
    w2.WriteString("VOW");
    for (int i = 0; i < 191; ++i)
        w2.WriteNumber(3000);
    m_sink.Clear();
    ASSERT_EQ(Read(w2.Bytes()), VowReadResult::Complete);
    EXPECT_EQ(m_doc.GetEntryF1(0, kFemale, kCardinal), 0);
    EXPECT_EQ(m_doc.GetEntryF2(0, kFemale, kCardinal), 3000);
    EXPECT_EQ(m_doc.IsEntryModified(0, kFemale, kCardinal), 1);
    EXPECT_EQ(m_sink.Texts(), std::vector<std::string>{k00Notice});
}

TEST_F(VowFormat, UnknownVersionKeepsThePresetsSilently) {
    ASSERT_EQ(Read(VowStrings({"vow", "2.0", "1", "2", "3"})), VowReadResult::Complete);
    EXPECT_TRUE(m_sink.Messages().empty());
    EXPECT_TRUE(HoldsPresets());
}

TEST_F(VowFormat, CutOffFileIsAnEarlyEnd) {
    const std::string full = CTundrelDoc().StoreToBytes();
    EXPECT_EQ(Read(full.substr(0, full.size() / 2)), VowReadResult::EarlyEnd);
    EXPECT_EQ(Read(full.substr(0, full.size() - 2)), VowReadResult::Complete); // end mark only
    EXPECT_EQ(Read(full.substr(0, full.size() - 3)), VowReadResult::EarlyEnd);
    EXPECT_EQ(Read(""), VowReadResult::EarlyEnd);
    EXPECT_EQ(Read("\x03vow"), VowReadResult::EarlyEnd);
}

TEST_F(VowFormat, HugeLengthInATinyFileIsAnEarlyEnd) {
    const std::string bytes = "\x03vow\x03"
                              "1.1\xFF\xFF\xFF\xFF\xFF\xFF\xFF"s +
                              std::string(90, '1');
    EXPECT_EQ(Read(bytes), VowReadResult::EarlyEnd);
}

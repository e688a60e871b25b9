#include "base/Directories.h"
#include "base/Profile.h"
#include "doc/TundrelDoc.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace {

// Tests run with an empty memory profile of their own.
class Inventory : public ::testing::Test {
protected:
    void SetUp() override { SetProfile(&m_profile); }
    void TearDown() override { SetProfile(nullptr); }
    MemoryProfile m_profile;
};

// The male F3 is 2700 Hz except for slot 0 and the front rounded vowels.
int MaleF3(int slot) {
    return slot == 0 ? 3100 : (slot >= 8 && slot <= 11) ? 2300 : 2700;
}

} // namespace

TEST_F(Inventory, PresetTablesHoldEightVowelsAndATerminator) {
    for (int gender = 0; gender < kGenderCount; ++gender)
        for (int type = 0; type < kTypeCount; ++type) {
            for (int pos = 0; pos < kPositionsPerType; ++pos) {
                const VowelEntry& e = kPresetVowels[gender][type][pos];
                ASSERT_NE(e.symbol, nullptr);
                EXPECT_EQ(e.len, 100);
                EXPECT_EQ(e.modified, 0);
                EXPECT_EQ(e.f3, gender == kFemale ? 3000 : MaleF3(SlotOf(type, pos)));
            }
            const VowelEntry& end = kPresetVowels[gender][type][kPositionsPerType];
            EXPECT_EQ(end.symbol, nullptr);
            EXPECT_EQ(end.f1 | end.f2 | end.f3 | end.len | end.modified, 0);
        }
}

TEST_F(Inventory, PresetValuesOfSampleSlots) {
    int f1, f2, f3;
    CTundrelDoc::GetPresetFormants(0, 0, kMale, f1, f2, f3);
    EXPECT_EQ((std::tuple{f1, f2, f3}), (std::tuple{250, 2100, 3100}));
    CTundrelDoc::GetPresetFormants(1, 7, kFemale, f1, f2, f3);
    EXPECT_EQ((std::tuple{f1, f2, f3}), (std::tuple{280, 1450, 3000}));
    CTundrelDoc::GetPresetFormants(2, 0, kFemale, f1, f2, f3);
    EXPECT_EQ((std::tuple{f1, f2, f3}), (std::tuple{1100, 1750, 3000}));
    CTundrelDoc::GetPresetFormants(3, 3, kMale, f1, f2, f3);
    EXPECT_EQ((std::tuple{f1, f2, f3}), (std::tuple{660, 1320, 2700}));
    for (int pos = 4; pos < 8; ++pos) {
        CTundrelDoc::GetPresetFormants(3, pos, kMale, f1, f2, f3);
        EXPECT_EQ((std::tuple{f1, f2}), (std::tuple{250, 500}));
        EXPECT_EQ(kPresetVowels[kMale][3][pos].symbol[0], ' ');
    }
}

TEST_F(Inventory, SymbolsAreTheSameInBothGendersAndMatchTheCodeTable) {
    std::set<int> codes;
    for (int type = 0; type < kTypeCount; ++type)
        for (int pos = 0; pos < kPositionsPerType; ++pos) {
            const char* female = kPresetVowels[kFemale][type][pos].symbol;
            EXPECT_EQ(female, kPresetVowels[kMale][type][pos].symbol);
            EXPECT_EQ(female[1], '\0');
            const int code = VowelCodeOf(static_cast<unsigned char>(female[0]));
            if (code != 0)
                codes.insert(code);
        }
    EXPECT_EQ(codes.size(), 28u);
    EXPECT_EQ(*codes.begin(), 301);
    EXPECT_EQ(*codes.rbegin(), 328);
    EXPECT_EQ(VowelCodeOf(0x82), 328);
    EXPECT_EQ(VowelCodeOf(0xCF), 327);
    EXPECT_EQ(VowelCodeOf(0x8D), 306);
    EXPECT_EQ(VowelCodeOf(' '), 0);
    EXPECT_EQ(VowelCodeOf('z'), 0);
}

TEST_F(Inventory, SymbolsMapToUnicodeIpaCharacters) {
    EXPECT_STREQ(SymbolToUtf8(0x69), "i");
    EXPECT_STREQ(SymbolToUtf8(0x82), "\u0258");
    EXPECT_STREQ(SymbolToUtf8(0xCF), "\u025E");
    EXPECT_STREQ(SymbolToUtf8(0xAB), "\u0259");
    EXPECT_STREQ(SymbolToUtf8(0x20), " ");
    EXPECT_STREQ(SymbolToUtf8(0x7A), "\uFFFD");
    std::set<std::string> distinct;
    for (const VowelSymbol& symbol : kVowelSymbols)
        distinct.insert(SymbolToUtf8(symbol.fontByte));
    EXPECT_EQ(distinct.size(), 29u);
}

TEST_F(Inventory, NewDocumentHoldsThePresetsInAllFourLists) {
    CTundrelDoc doc;
    doc.StoreEntry(5, 1, 2, 3, 4, kMale, kNative);
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetTitle(), "Untitled");
    for (int set = 0; set < kSetCount; ++set)
        for (int gender = 0; gender < kGenderCount; ++gender)
            for (int type = 0; type < kTypeCount; ++type)
                for (int pos = 0; pos < kPositionsPerType; ++pos) {
                    const VowelEntry& e = doc.m_entries[SlotOf(type, pos)][gender][set];
                    const VowelEntry& p = kPresetVowels[gender][type][pos];
                    EXPECT_EQ(e.f1, p.f1);
                    EXPECT_EQ(e.f2, p.f2);
                    EXPECT_EQ(e.f3, p.f3);
                    EXPECT_EQ(e.len, 100);
                    EXPECT_EQ(e.modified, 0);
                    EXPECT_EQ(e.symbol, p.symbol);
                }
}

TEST_F(Inventory, LoadPresetsReadsTheVowDirectoryFromTheProfile) {
    g_strStartDir = "/start";
    CTundrelDoc doc;
    EXPECT_EQ(g_strVowDir, "/start");
    m_profile.WriteString("Directories", "Vow", "/home/u/vowels");
    doc.LoadPresets();
    EXPECT_EQ(g_strVowDir, "/home/u/vowels");
    g_strStartDir.clear();
}

TEST_F(Inventory, FindEntryComparesOnlyTheFirstByte) {
    CTundrelDoc doc;
    doc.StoreEntry(28, 1, 2, 3, 4, kMale, kNative);
    EXPECT_EQ(&doc.FindEntry(" ", kMale, kNative), &doc.m_entries[28][kMale][kNative]);
    EXPECT_EQ(&doc.FindEntry(" ", kFemale, kCardinal), &doc.m_entries[28][kFemale][kCardinal]);
    EXPECT_EQ(&doc.FindEntry("yz", kFemale, kNative), &doc.m_entries[8][kFemale][kNative]);
    EXPECT_EQ(doc.GetEntryF1BySymbol(" ", kMale, kNative), 1);
    EXPECT_EQ(doc.GetEntryLenBySymbol(" ", kMale, kNative), 4);
}

TEST_F(Inventory, UnknownSymbolFallsBackToFemaleCardinalSlotZero) {
    CTundrelDoc doc;
    doc.StoreEntry(0, 300, 2400, 3000, 90, kFemale, kCardinal);
    EXPECT_EQ(&doc.FindEntry("z", kMale, kNative), &doc.m_entries[0][kFemale][kCardinal]);
    EXPECT_EQ(doc.GetEntryF2BySymbol("z", kMale, kNative), 2400);
    EXPECT_EQ(doc.GetEntryF3BySymbol("", kMale, kCardinal), 3000);
}

TEST_F(Inventory, StoreMarksEntryAndDocumentButInitMarksNothing) {
    CTundrelDoc doc;
    doc.InitEntry(3, 10, 20, 30, 40, kMale, kCardinal);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.IsEntryModified(3, kMale, kCardinal), 0);
    EXPECT_EQ(doc.GetEntryF1(3, kMale, kCardinal), 10);

    doc.StoreEntry(30, 111, 222, 333, 44, kFemale, kNative);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.IsEntryModified(30, kFemale, kNative), 1);
    EXPECT_EQ(doc.GetEntryLen(30, kFemale, kNative), 44);
    EXPECT_EQ(doc.IsEntryModified(30, kFemale, kCardinal), 0);

    doc.InitEntry(30, 250, 500, 3000, 100, kFemale, kNative);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.IsEntryModified(30, kFemale, kNative), 0);

    CTundrelDoc other;
    other.StoreEntryBySymbol("\xAB", 1, 2, 3, 4, kMale, kCardinal);
    EXPECT_TRUE(other.IsModified());
    EXPECT_EQ(other.IsEntryModified(20, kMale, kCardinal), 1);
    EXPECT_EQ(other.GetEntryF3(20, kMale, kCardinal), 3);
}

TEST_F(Inventory, MarkModifiedEntriesNeverClearsAndIgnoresLength) {
    CTundrelDoc doc;
    doc.m_entries[2][kMale][kNative].f2 += 1;
    doc.m_entries[4][kFemale][kCardinal].len = 50;
    doc.m_entries[6][kFemale][kCardinal].modified = 7;
    doc.MarkModifiedEntries();
    EXPECT_EQ(doc.IsEntryModified(2, kMale, kNative), 1);
    EXPECT_EQ(doc.IsEntryModified(4, kFemale, kCardinal), 0);
    EXPECT_EQ(doc.IsEntryModified(6, kFemale, kCardinal), 7);
    EXPECT_EQ(doc.IsEntryModified(2, kFemale, kNative), 0);
}

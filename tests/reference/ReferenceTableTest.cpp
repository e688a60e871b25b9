// Tests of the reference vowel tables: the bundled sets and the reader's refusals.
#include "reference/ReferenceSet.h"
#include "reference/ReferenceTableReader.h"
#include "reference/ReferenceVowel.h"

#include "TempDir.h"

#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What a read reports, as the text the user would see in problem; true when it succeeded.
bool Outcome(const Report& report, std::string& problem) {
    problem = report.Text();
    return report.Ok();
}

const std::string kReferenceDir = QUIRNEL_DATA_DIR "/reference";

TEST(ReferenceSets, EveryBundledSetReadsWithItsGroupAndCitesItsPaper) {
    const ReferenceSet* pb = FindReferenceSet("peterson-barney-1952:men");
    ASSERT_NE(pb, nullptr);
    EXPECT_EQ(pb->label, "Peterson & Barney 1952: men");
    EXPECT_EQ(FindReferenceSet("peterson-barney-1952:babies"), nullptr);
    EXPECT_EQ(ReferenceCitations().size(), 4u); // the Dutch men and women come from two papers

    for (const auto& set : ReferenceSets()) {
        ReferenceTable table;
        std::string problem;
        ASSERT_TRUE(
            Outcome(ReadReferenceTable(ReferenceSetPath(kReferenceDir, set), table), problem))
            << problem;
        const auto vowels = ReferenceVowelsOf(table, set.group);
        EXPECT_EQ(vowels.size(), set.fileName.starts_with("peterson") ? 10u : 12u) << set.key;
        // The menu label, the one-line and the full citation name the same first author.
        EXPECT_EQ(set.citation.substr(0, 4), set.label.substr(0, 4)) << set.key;
        EXPECT_EQ(set.fullCitation.substr(0, 4), set.label.substr(0, 4)) << set.key;
    }
}

// What each bundled set shows: its IPA symbols in order (never the file's ARPAbet-like
// column), how many tokens it holds, and the mean F1 of its first vowel.
TEST(ReferenceSets, BundledSetsShowTheirIpaVowelsTokensAndMeans) {
    const char* const kPeterson = "i \u026a \u025b \u00e6 \u028c \u0251 \u0254 \u028a u \u025d";
    const char* const kDutch = "u a o \u0251 \u00f8 i y e \u028f \u025b \u0254 \u026a";
    const struct {
        const char* key;
        const char* symbols;
        size_t tokens;
        double firstMeanF1;
    } sets[] = {
        {"peterson-barney-1952:men", kPeterson, 660, 266.712},
        {"peterson-barney-1952:women", kPeterson, 560, 310.411},
        {"peterson-barney-1952:children", kPeterson, 300, 360.2},
        {"pols-van-nierop-1973:men", kDutch, 600, 339.4},
        {"pols-van-nierop-1973:women", kDutch, 300, 320.0},
        {"weenink-1985:men", kDutch, 120, 317.6},
        {"weenink-1985:women", kDutch, 120, 331.4},
        {"weenink-1985:children", kDutch, 120, 364.6},
    };
    ASSERT_EQ(ReferenceSets().size(), std::size(sets));
    for (const auto& expected : sets) {
        const ReferenceSet* set = FindReferenceSet(expected.key);
        ASSERT_NE(set, nullptr) << expected.key;
        ReferenceTable table;
        std::string problem;
        ASSERT_TRUE(
            Outcome(ReadReferenceTable(ReferenceSetPath(kReferenceDir, *set), table), problem));
        const auto vowels = ReferenceVowelsOf(table, set->group);
        std::string symbols;
        size_t tokens = 0;
        for (const auto& vowel : vowels) {
            symbols += (symbols.empty() ? "" : " ") + vowel.symbol;
            tokens += vowel.f1.size();
        }
        EXPECT_EQ(symbols, expected.symbols) << expected.key;
        EXPECT_EQ(tokens, expected.tokens) << expected.key;
        ASSERT_FALSE(vowels.empty());
        EXPECT_NEAR(vowels[0].meanF1, expected.firstMeanF1, 0.01) << expected.key;
    }
}

TEST(ReferenceTableReader, ReadsQuotesSemicolonsCrLfAndOptionalColumns) {
    ReferenceTable table;
    std::string problem;
    ASSERT_TRUE(Outcome(ParseReferenceTable("\xef\xbb\xbfVowel;f2;F1;F3;note\r\n"
                                            "\"i\"; 2300 ;280;;\"x;y\"\r\n\r\n"
                                            "\xc9\x9b;1850.5;600;2500;\r\n",
                                            table),
                        problem))
        << problem;
    ASSERT_EQ(table.tokens.size(), 2u);
    EXPECT_EQ(table.tokens[0].vowel, "i");
    EXPECT_EQ(table.tokens[0].f1, 280);
    EXPECT_FALSE(table.tokens[0].f3.has_value());
    EXPECT_EQ(table.tokens[1].vowel, "\xc9\x9b"); // ɛ
    EXPECT_EQ(table.tokens[1].f2, 1850.5);
    EXPECT_EQ(table.tokens[1].line, 4);
    EXPECT_EQ(table.Groups(), std::vector<std::string>{""});
}

TEST(ReferenceTableReader, GroupsComeInTheOrderTheyFirstAppear) {
    ReferenceTable table;
    std::string problem;
    ASSERT_TRUE(Outcome(ParseReferenceTable("ipa,F1,F2,group\ni,280,2300,women\ni,270,2200,men\n"
                                            "a,900,1500,women\nu,300,800,kids\n",
                                            table),
                        problem));
    EXPECT_EQ(table.Groups(), (std::vector<std::string>{"women", "men", "kids"}));
}

TEST(ReferenceTableReader, RefusesABadTableNamingTheLineAndKeepsTheOldOne) {
    const struct {
        const char* text;
        const char* problem;
    } cases[] = {
        {"", "the file is empty."},
        {"\n  \r\n", "the file is empty."},
        {"ipa,F1,F2\n", "the file has no vowels below its header."},
        {"ipa,F1,F3\ni,280,2300\n", "line 1: the header has no F2 column"},
        {"group,F1,F2\nmen,280,2300\n", "line 1: the header has no ipa or vowel column"},
        {"ipa,F1,F2,f1\n", "line 1: the header names the column F1 twice."},
        {"ipa,F1,F2\ni,280,2300\n\ne,4OO,2000\n", "line 4: F1 \"4OO\" is not a number of Hz."},
        {"ipa,F1,F2\ni,280,0\n", "line 2: F2 is 0 Hz; it must lie above 0 and at most 20000 Hz."},
        {"ipa,F1,F2\ni,280,nan\n", "line 2: F2 \"nan\" is not a number of Hz."},
        {"ipa,F1,F2\ni,280\n", "line 2: the row has 2 fields where the header has 3."},
        {"ipa,F1,F2\ni,280,2300,\n", "line 2: the row has more fields than the header's 3."},
        {"ipa,F1,F2\n,280,2300\n", "line 2: the vowel is empty."},
        {"ipa,F1,F2\n\xc9,280,2300\n", "line 2: the vowel is not readable UTF-8 text."},
        {"ipa,F1,F2,group\ni,280,2300,\n", "line 2: the group is empty."},
        {"ipa,F1,F2\n\"i,280,2300\n", "line 2: a quoted field has no closing quote."},
    };
    for (const auto& c : cases) {
        ReferenceTable table;
        table.tokens.push_back({"a", 700, 1200, std::nullopt, "", 2});
        std::string problem;
        EXPECT_FALSE(Outcome(ParseReferenceTable(c.text, table), problem)) << c.text;
        EXPECT_EQ(problem.substr(0, std::string(c.problem).size()), c.problem) << c.text;
        EXPECT_EQ(table.tokens.size(), 1u) << c.text;
    }
}

// Each limit of a table: the last value read, and the first refused.
TEST(ReferenceTableReader, ReadsEachLimitAndRefusesOneBeyond) {
    const std::string name32(32, 'a');
    std::string columns256 = "ipa,F1,F2";
    for (int column = 4; column <= 256; ++column)
        columns256 += ",c" + std::to_string(column);
    const struct {
        std::string text;
        const char* problem; // "" when read
    } cases[] = {
        {"ipa,F1,F2\n" + name32 + ",280,2300\n", ""},
        {"ipa,F1,F2\n" + name32 + "a,280,2300\n", "line 2: the vowel \"aaaa"},
        {"ipa,F1,F2,group\ni,280,2300," + name32 + "\n", ""},
        {"ipa,F1,F2,group\ni,280,2300," + name32 + "a\n", "line 2: the group \"aaaa"},
        {"ipa,F1,F2\ni,0.001,20000\n", ""},
        // Symbols of two, three and four bytes; lines of nothing but spaces or tabs.
        {"ipa,F1,F2\n\xc9\x9b,280,2300\n   \n\xe1\xb5\xbb,280,2300\n\t\n"
         "\xf0\x9d\x90\x80,280,2300\n",
         ""},
        // Latin-1 text and a stray continuation byte are no UTF-8.
        {"ipa,F1,F2\n\xe9t\xe9,280,2300\n", "line 2: the vowel is not readable UTF-8 text."},
        {"ipa,F1,F2\n\x80\x80,280,2300\n", "line 2: the vowel is not readable UTF-8 text."},
        {"ipa,F1,F2\ni,280,20000.01\n", "line 2: F2 is 20000.01 Hz"},
        {columns256 + "\n", "the file has no vowels below its header."},
        {columns256 + ",c257\n", "line 1: the header has more than 256 columns."},
    };
    for (const auto& c : cases) {
        ReferenceTable table;
        std::string problem;
        EXPECT_EQ(Outcome(ParseReferenceTable(c.text, table), problem), *c.problem == '\0')
            << c.text.substr(0, 60);
        EXPECT_EQ(problem.substr(0, std::strlen(c.problem)), c.problem) << c.text.substr(0, 60);
    }

    // The most rows, in a file of the largest size, are read; one row more is refused.
    std::string largest = "ipa,F1,F2\n";
    for (size_t row = 0; row < kMaxReferenceTokens; ++row)
        largest += "i,280,2300\n";
    const std::string tooMany = largest + "i,280,2300\n";
    largest.pop_back(); // the last row is padded with spaces, which the reader drops
    largest.resize(kMaxReferenceFileBytes - 1, ' ');
    largest += '\n';
    TempDir dir;
    std::ofstream(dir.File("largest.csv"), std::ios::binary) << largest;
    ReferenceTable table;
    std::string problem;
    EXPECT_TRUE(Outcome(ReadReferenceTable(dir.File("largest.csv"), table), problem)) << problem;
    EXPECT_EQ(table.tokens.size(), kMaxReferenceTokens);
    EXPECT_FALSE(Outcome(ParseReferenceTable(tooMany, table), problem));
    EXPECT_EQ(problem, "the table has more than 100000 rows.");
}

TEST(ReferenceTableReader, RefusesFoldersPipesAndHugeFilesWithoutWaiting) {
    TempDir dir;
    const std::string pipe = dir.File("pipe.csv");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string huge = dir.File("huge.csv");
    std::ofstream(huge) << "ipa,F1,F2\n";
    ASSERT_EQ(::truncate(huge.c_str(), kMaxReferenceFileBytes + 1), 0);
    const std::string bad = dir.File("bad.csv");
    std::ofstream(bad) << "ipa,F1,F2\ni,280,-5\n";

    const std::pair<std::string, std::string> cases[] = {
        {dir.Path(), "it is a folder."},
        {pipe, "it is not a regular file (a device or a pipe)."},
        {huge, "it is larger than 4 MB."},
        {dir.File("missing.csv"), "No such file or directory."},
        {bad, "line 2: F2 is -5 Hz; it must lie above 0 and at most 20000 Hz."},
    };
    for (const auto& [path, reason] : cases) {
        ReferenceTable table;
        std::string problem;
        EXPECT_FALSE(Outcome(ReadReferenceTable(path, table), problem)) << path;
        EXPECT_EQ(problem, "Can't read reference vowels from " + path + ": " + reason);
        EXPECT_TRUE(table.tokens.empty());
    }
}

} // namespace

// Tests of the reference vowel tables: the bundled sets and the reader's refusals.
#include "reference/ReferenceSet.h"
#include "reference/ReferenceTableReader.h"
#include "reference/ReferenceVowel.h"

#include "TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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
        ASSERT_TRUE(ReadReferenceTable(ReferenceSetPath(kReferenceDir, set), table, problem))
            << problem;
        const auto vowels = ReferenceVowelsOf(table, set.group);
        EXPECT_EQ(vowels.size(), set.fileName.starts_with("peterson") ? 10u : 12u) << set.key;
        // The menu label, the one-line and the full citation name the same first author.
        EXPECT_EQ(set.citation.substr(0, 4), set.label.substr(0, 4)) << set.key;
        EXPECT_EQ(set.fullCitation.substr(0, 4), set.label.substr(0, 4)) << set.key;
    }
}

TEST(ReferenceTableReader, ReadsQuotesSemicolonsCrLfAndOptionalColumns) {
    ReferenceTable table;
    std::string problem;
    ASSERT_TRUE(ParseReferenceTable("\xef\xbb\xbfVowel;f2;F1;F3;note\r\n"
                                    "\"i\"; 2300 ;280;;\"x;y\"\r\n\r\n"
                                    "\xc9\x9b;1850.5;600;2500;\r\n",
                                    table, problem))
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
    ASSERT_TRUE(ParseReferenceTable("ipa,F1,F2,group\ni,280,2300,women\ni,270,2200,men\n"
                                    "a,900,1500,women\nu,300,800,kids\n",
                                    table, problem));
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
        EXPECT_FALSE(ParseReferenceTable(c.text, table, problem)) << c.text;
        EXPECT_EQ(problem.substr(0, std::string(c.problem).size()), c.problem) << c.text;
        EXPECT_EQ(table.tokens.size(), 1u) << c.text;
    }
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
        EXPECT_FALSE(ReadReferenceTable(path, table, problem)) << path;
        EXPECT_EQ(problem, "Can't read reference vowels from " + path + ": " + reason);
        EXPECT_TRUE(table.tokens.empty());
    }
}

} // namespace

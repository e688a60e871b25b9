// Tests of loading a reference choice: a bundled set from the data folders, a user's table.
#include "reference/ReferenceChoice.h"

#include "TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

// What a read reports, as the text the user would see in problem; true when it succeeded.
bool Outcome(const Report& report, std::string& problem) {
    problem = report.Text();
    return report.Ok();
}

void Write(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

TEST(ReferenceChoice, FindsABundledSetInTheFirstFolderThatHoldsIt) {
    TempDir empty;
    ReferenceChoice loaded;
    std::string problem;
    ASSERT_TRUE(Outcome(LoadReferenceChoice("weenink-1985:children",
                                            {empty.Path(), QUIRNEL_DATA_DIR "/reference"}, loaded),
                        problem))
        << problem;
    EXPECT_EQ(loaded.label, "Weenink 1985: children");
    EXPECT_EQ(loaded.vowels.size(), 12u);
    EXPECT_FALSE(loaded.IsUserTable());
    EXPECT_NE(loaded.description.find("Weenink (1985)"), std::string::npos);

    EXPECT_FALSE(Outcome(LoadReferenceChoice("weenink-1985:men", {empty.Path()}, loaded), problem));
    EXPECT_EQ(problem, "Can't find the reference vowels weenink-1985.csv (Weenink 1985: men) in "
                       "any of these folders: " +
                           empty.Path() + ".");
    EXPECT_EQ(loaded.label, "Weenink 1985: children"); // kept
    // The window shows it as a warning captioned "Reference Vowels".
    const Report missing = LoadReferenceChoice("weenink-1985:men", {empty.Path()}, loaded);
    ASSERT_EQ(missing.Messages().size(), 1u);
    EXPECT_EQ(missing.Messages()[0].caption, "Reference Vowels");
    EXPECT_EQ(missing.Messages()[0].icon, MsgIcon::Warning);
}

TEST(ReferenceChoice, DrawsTheFirstGroupOfAUserTable) {
    TempDir dir;
    Write(dir.File("mine.csv"), "group,ipa,F1,F2\nb,i,300,2300\na,u,320,800\nb,i,320,2200\n");
    ReferenceChoice loaded;
    std::string problem;
    ASSERT_TRUE(Outcome(LoadReferenceChoice(dir.File("mine.csv"), {}, loaded), problem)) << problem;
    EXPECT_TRUE(loaded.IsUserTable());
    EXPECT_EQ(loaded.label, "mine.csv: b");
    ASSERT_EQ(loaded.vowels.size(), 1u);
    EXPECT_EQ(loaded.vowels[0].meanF1, 310);
}

} // namespace

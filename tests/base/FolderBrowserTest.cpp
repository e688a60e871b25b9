#include "base/FolderBrowser.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// Answers each question with the next scripted folder; an empty one means cancel.
class ScriptedChooser : public IFolderChooser {
public:
    bool ChooseFolder(const std::string& title, std::string& path) override {
        titles.push_back(title);
        starts.push_back(path);
        if (answers.empty() || answers.front().empty())
            return false;
        path = answers.front();
        answers.erase(answers.begin());
        return true;
    }
    std::vector<std::string> answers;
    std::vector<std::string> titles;
    std::vector<std::string> starts;
};

} // namespace

TEST(FolderBrowser, ShowsItsTitleOrOpenAndReturnsTheChosenFolder) {
    ScriptedChooser chooser;
    chooser.answers = {"/data/voices/", "/tmp"};
    SetFolderChooser(&chooser);
    CFolderBrowser browser;
    ASSERT_TRUE(browser.Browse());
    EXPECT_EQ(browser.m_strPath, "/data/voices"); // no trailing separator
    browser.m_strTitle = "Locate the Dat Directory:";
    ASSERT_TRUE(browser.Browse());
    EXPECT_EQ(browser.m_strPath, "/tmp");
    EXPECT_EQ(chooser.titles, (std::vector<std::string>{"Open", "Locate the Dat Directory:"}));
    EXPECT_EQ(chooser.starts[1], "/data/voices"); // starts where the last choice ended
    SetFolderChooser(nullptr);
}

TEST(FolderBrowser, CancelKeepsThePathAndTheDefaultChooserCancels) {
    ScriptedChooser chooser;
    SetFolderChooser(&chooser);
    CFolderBrowser browser;
    browser.m_strPath = "/before";
    EXPECT_FALSE(browser.Browse());
    EXPECT_EQ(browser.m_strPath, "/before");
    SetFolderChooser(nullptr);
    EXPECT_FALSE(browser.Browse());
    EXPECT_EQ(browser.m_strPath, "/before");
}

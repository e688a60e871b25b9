// The action log: starting and stopping it, and the lines that selection, painting,
// storing and resetting write.
#include "ScriptedPrompt.h"
#include "ViewFixture.h"

#include <QListWidget>

#include <fstream>
#include <iterator>
#include <sstream>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The lines of a log, each checked to end in CR LF.
std::vector<std::string> LogLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        EXPECT_GT(end, start) << "empty line";
        EXPECT_EQ(bytes[end - 1], '\r') << "line without CR";
        lines.push_back(bytes.substr(start, end - 1 - start));
    }
    EXPECT_EQ(start, bytes.size()) << "unterminated last line";
    return lines;
}

bool IsFormantLine(const std::string& line) {
    int f1 = 0, f2 = 0, f3 = 0;
    char rest = 0;
    return std::sscanf(line.c_str(), "%d;%d;%d%c", &f1, &f2, &f3, &rest) == 3 && f1 > 0;
}

class ActionLogTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        m_oldDir = CurrentDirectory();
        ChangeDirectory(temp.Path()); // the log is named relative to the working directory
    }
    void TearDown() override {
        ViewTest::TearDown();
        ChangeDirectory(m_oldDir);
    }
    void StartLog(const std::string& name) {
        prompt.AnswerText(name);
        view->OnCommand(ID_LOG_TO_FILE);
    }
    void StopLog() {
        messages.QueueAnswer(MsgAnswer::Yes);
        view->OnCommand(ID_LOG_TO_FILE);
    }

    ScriptedPrompt prompt;

private:
    std::string m_oldDir;
};

TEST_F(ActionLogTest, ThreeArrowMovesGiveThreeFormantLines) {
    CreateView();
    PaintAndPlay();
    StartLog("session");
    EXPECT_EQ(prompt.prompts, std::vector<std::string>{"Bitte Namen eingeben:"});
    EXPECT_EQ(prompt.initialTexts, std::vector<std::string>{""});
    EXPECT_TRUE(view->OnUpdateCommand(ID_LOG_TO_FILE).checked);
    for (int i = 0; i < 3; ++i) {
        view->OnCommand(ID_MOVE_RIGHT);
        PaintAndPlay();
    }
    PaintAndPlay(); // a repaint that plays nothing logs nothing
    StopLog();
    EXPECT_EQ(messages.Messages().back().text, "Mitprotokollieren beenden ?");
    EXPECT_EQ(messages.Messages().back().caption, "Frage");
    EXPECT_EQ(messages.Messages().back().buttons, MsgButtons::YesNo);
    EXPECT_FALSE(view->OnUpdateCommand(ID_LOG_TO_FILE).checked);

    const std::vector<std::string> lines = LogLines(ReadFile(temp.File("session.log")));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Vowel selected: i");
    for (size_t i = 1; i < lines.size(); ++i)
        EXPECT_TRUE(IsFormantLine(lines[i])) << lines[i];
    EXPECT_NE(lines[1], lines[2]); // each line is the moved point
    PaintAndPlay();                // nothing more after the log is closed
    EXPECT_EQ(LogLines(ReadFile(temp.File("session.log"))).size(), 4u);
}

TEST_F(ActionLogTest, NoKeepsLoggingAndANewLogEmptiesTheOldFile) {
    std::ofstream(temp.File("old.log")) << "old content that must go\r\n";
    CreateView();
    StartLog("old");
    messages.QueueAnswer(MsgAnswer::No);
    view->OnCommand(ID_LOG_TO_FILE);
    EXPECT_TRUE(view->IsLogging());
    EXPECT_TRUE(view->OnUpdateCommand(ID_LOG_TO_FILE).checked);
    view->OnCommand(ID_FEMALE); // applies the selected vowel again
    StopLog();
    EXPECT_EQ(ReadFile(temp.File("old.log")), "Vowel selected: i\r\nVowel selected: i\r\n");
}

TEST_F(ActionLogTest, SaveAndResetAreLoggedWithTheMarkOfAStoredVowel) {
    CreateView();
    view->OnLButtonDown(150, 100);
    view->SaveVowel(); // the first vowel is stored before the log starts
    StartLog("store");
    view->SaveVowel();
    view->ResetVowel();
    StopLog();
    const std::vector<std::string> lines = LogLines(ReadFile(temp.File("store.log")));
    EXPECT_EQ(lines, (std::vector<std::string>{"Vowel selected: i\x97", "Saved", "Init"}));
}

TEST_F(ActionLogTest, RefusedSaveWritesNothing) {
    CreateView();
    view->VowelList()->clearSelection();
    StartLog("refused");
    view->SaveVowel();
    StopLog();
    // Without a selected entry the first line names none.
    EXPECT_EQ(ReadFile(temp.File("refused.log")), "Vowel selected: \r\n");
}

TEST_F(ActionLogTest, EmptyNameCreatesDotLogAndCancelStartsNothing) {
    CreateView();
    prompt.AnswerText(std::nullopt);
    view->OnCommand(ID_LOG_TO_FILE);
    EXPECT_FALSE(view->IsLogging());
    StartLog("");
    EXPECT_TRUE(view->IsLogging());
    view.reset(); // closing the window closes the log
    EXPECT_EQ(ReadFile(temp.File(".log")), "Vowel selected: i\r\n");
}

TEST_F(ActionLogTest, AFileThatCannotBeCreatedIsReportedAndLoggingStaysOff) {
    CreateView();
    StartLog("missing-folder/session");
    EXPECT_FALSE(view->IsLogging());
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, "Konnte File nicht anlegen!");
    EXPECT_EQ(messages.Messages()[0].caption, "Error");
    EXPECT_FALSE(view->OnUpdateCommand(ID_LOG_TO_FILE).checked);
}

} // namespace

// The file commands through the window: Save As with its dispatch, Batch Convert, About,
// and the question before a changed document is discarded.
#include "AppFixture.h"
#include "TempDir.h"
#include "TestFakes.h"
#include "app/MainFrame.h"
#include "app/TundrelApp.h"
#include "audio/ISoundPlayer.h"
#include "audio/VolumeCtrl.h"
#include "base/Directories.h"
#include "base/FileDialogs.h"
#include "base/MessageBox.h"
#include "base/Profile.h"
#include "doc/TundrelDoc.h"
#include "view/ScriptedPrompt.h"
#include "view/TundrelView.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class FileCommandTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_TRUE(Start());
        doc = app->Document();
        frame = app->Frame();
    }
    // Female Cardinal slot 0 stored at 300/2400/3000: the document is changed.
    void StoreFirstVowel() { doc->StoreEntry(0, 300, 2400, 3000, 100, 0, 0); }

    TempDir other;
    ScriptedPrompt prompt;
    CTundrelDoc* doc = nullptr;
    CMainFrame* frame = nullptr;
};

TEST_F(FileCommandTest, SaveAsVowSavesElsewhereAndKeepsTheDocumentsName) {
    StoreFirstVowel();
    dialogs.Answer(other.File("copy.vow"));
    frame->ExecuteCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(dialogs.titles, std::vector<std::string>{"Save As"});
    EXPECT_EQ(frame->MenuAction(ID_FILE_SAVE_AS)->statusTip(),
              "Save the active document with a new name");
    EXPECT_EQ(frame->MenuAction(ID_FILE_SAVE_AS)->toolTip(), "Save As");
    EXPECT_EQ(dialogs.names, std::vector<std::string>{""}); // "Untitled" has no extension
    EXPECT_EQ(dialogs.folders, std::vector<std::string>{work.Path()});
    EXPECT_EQ(dialogs.filters[0],
              "Vowels (*.vow);;Textfiles (*.txt);;Vowel Tavble file (*.vtb);;All Files (*)");
    EXPECT_EQ(ReadFile(other.File("copy.vow")), doc->StoreToBytes());
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetPathName(), "");
    EXPECT_EQ(frame->windowTitle(), "Untitled - Quirnel");
    // The folder of the chosen file is remembered for the next dialog.
    EXPECT_EQ(CurrentDirectory(), other.Path());
    EXPECT_EQ(g_strVowDir, other.Path());
    EXPECT_EQ(profile.GetString("Directories", "Vow", ""), other.Path());
}

TEST_F(FileCommandTest, SaveAsExportsByExtensionAndIgnoresOthers) {
    StoreFirstVowel();
    dialogs.Answer(other.File("table.txt"));
    frame->ExecuteCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(ReadFile(other.File("table.txt")), "female;i;300;2400;3000\n");
    dialogs.Answer(other.File("table.vtb"));
    frame->ExecuteCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(ReadFile(other.File("table.vtb")), "301 300 2400\n");
    EXPECT_TRUE(doc->IsModified()); // exports do not save the document

    for (const char* name : {"upper.TXT", "list.csv", "noextension"}) {
        dialogs.Answer(other.File(name));
        frame->ExecuteCommand(ID_FILE_SAVE_AS);
        EXPECT_FALSE(fs::exists(other.File(name))) << name;
    }
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(profile.GetString("Directories", "Vow", ""), other.Path());
}

TEST_F(FileCommandTest, SaveAsProposesTheTitleUpToItsLastDotAndCancelChangesNothing) {
    std::ofstream(work.File("a.b.vow"), std::ios::binary) << CTundrelDoc().StoreToBytes();
    dialogs.Answer(work.File("a.b.vow"));
    frame->ExecuteCommand(ID_FILE_OPEN);
    g_strVowDir = other.Path();
    dialogs.Answer("");
    frame->ExecuteCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(dialogs.names.back(), "a.b");
    EXPECT_EQ(dialogs.folders.back(), other.Path());
    EXPECT_EQ(profile.GetString("Directories", "Vow", ""), work.Path());
    EXPECT_EQ(frame->windowTitle(), "a.b.vow - Quirnel");
}

TEST_F(FileCommandTest, BatchConvertWritesTheTablesIntoTheChosenFolder) {
    std::ofstream(other.File("a.vow"), std::ios::binary) << CTundrelDoc().StoreToBytes();
    dialogs.Answer(other.File("a.vow"));
    frame->ExecuteCommand(ID_BATCH_CONVERT);
    EXPECT_EQ(dialogs.filters.back(), "Vowels (*.vow);;All Files (*)");
    for (const char* table : {"AllFemaleCardinal.txt", "AllMaleCardinal.txt", "AllFemaleNative.txt",
                              "AllMaleNative.txt"})
        EXPECT_TRUE(fs::exists(other.File(table))) << table;
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{"Dateien wurden erfolgreich konvertiert."});
    EXPECT_EQ(CurrentDirectory(), other.Path());
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(FileCommandTest, BatchConvertCancelledCreatesNothing) {
    dialogs.Answer("");
    frame->ExecuteCommand(ID_BATCH_CONVERT);
    EXPECT_FALSE(fs::exists(work.File("AllFemaleCardinal.txt")));
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(CurrentDirectory(), work.Path());
}

TEST_F(FileCommandTest, AboutShowsTheAboutBox) {
    EXPECT_TRUE(frame->MenuAction(ID_APP_ABOUT)->isEnabled());
    frame->MenuAction(ID_APP_ABOUT)->trigger();
    EXPECT_EQ(prompt.aboutShown, 1);
    EXPECT_FALSE(frame->MenuAction(ID_FILE_MRU_FILE1)->isEnabled());
}

TEST_F(FileCommandTest, NewAsksForAChangedDocumentAndEachAnswerDoesItsPart) {
    StoreFirstVowel();
    messages.QueueAnswer(MsgAnswer::Cancel);
    frame->ExecuteCommand(ID_FILE_NEW);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Save changes to Untitled?"});
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetEntryF1(0, 0, 0), 300);

    messages.QueueAnswer(MsgAnswer::Yes);
    dialogs.Answer(other.File("kept.vow"));
    frame->ExecuteCommand(ID_FILE_NEW);
    CTundrelDoc reread;
    ASSERT_TRUE(reread.OnOpenDocument(other.File("kept.vow")).Ok());
    EXPECT_EQ(reread.GetEntryF1(0, 0, 0), 300);
    EXPECT_EQ(doc->GetEntryF1(0, 0, 0), 260);
    EXPECT_EQ(frame->windowTitle(), "Untitled - Quirnel");

    StoreFirstVowel();
    messages.QueueAnswer(MsgAnswer::No);
    frame->ExecuteCommand(ID_FILE_NEW);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetEntryF1(0, 0, 0), 260); // the presets again
}

TEST_F(FileCommandTest, OpenKeepsTheChangedDocumentWhenTheQuestionIsCancelled) {
    std::ofstream(other.File("b.vow"), std::ios::binary) << CTundrelDoc().StoreToBytes();
    StoreFirstVowel();
    messages.QueueAnswer(MsgAnswer::Cancel);
    dialogs.Answer(other.File("b.vow"));
    frame->ExecuteCommand(ID_FILE_OPEN);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetEntryF1(0, 0, 0), 300);
    EXPECT_EQ(frame->windowTitle(), "Untitled - Quirnel");
}

TEST_F(FileCommandTest, MenuChecksFollowTheStateNotTheToolkit) {
    frame->ExecuteCommand(ID_ZOOM);
    QAction* map = frame->MenuAction(ID_FORMANT_MAP);
    map->trigger(); // refused in zoom mode
    EXPECT_FALSE(map->isChecked());
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{"Can't show Formantmap while Zoom is active."});
    QAction* grid = frame->MenuAction(ID_SHOW_GRID);
    EXPECT_TRUE(grid->isEnabled());
    grid->trigger();
    EXPECT_TRUE(grid->isChecked());
    grid->trigger();
    EXPECT_FALSE(grid->isChecked());
}

TEST_F(FileCommandTest, KeysOfZoomCommandsWorkRightAfterZoomIsOn) {
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    QTest::keyClick(frame, Qt::Key_P); // disabled while zoom is off
    EXPECT_TRUE(prompt.prompts.empty());
    QTest::keyClick(frame, Qt::Key_Z);
    prompt.AnswerText("20");
    QTest::keyClick(frame, Qt::Key_P);
    EXPECT_EQ(prompt.prompts, std::vector<std::string>{"Wieviele Formantpositionen ?"});
    EXPECT_EQ(app->View()->State().Shown().GridWidth(), 19);
    QTest::keyClick(frame, Qt::Key_C, Qt::ControlModifier); // handled by nothing
    QTest::keyClick(frame, Qt::Key_F6);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_TRUE(frame->MenuAction(ID_ZOOM)->isChecked());
}

} // namespace

#include "AppFixture.h"
#include "TempDir.h"
#include "TestFakes.h"
#include "app/MainFrame.h"
#include "app/TundrelApp.h"
#include "audio/ISoundPlayer.h"
#include "audio/VolumeCtrl.h"
#include "audio/WaveListFile.h"
#include "base/Directories.h"
#include "base/FileDialogs.h"
#include "base/FolderBrowser.h"
#include "base/MessageBox.h"
#include "base/Profile.h"
#include "doc/TundrelDoc.h"
#include "view/TundrelView.h"
#include "view/WaveListDlg.h"

#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class AppTest : public AppFixture {
protected:
    // Saves a document with one stored position under name in the working folder.
    std::string MakeDocument(const std::string& name) {
        CTundrelDoc doc;
        doc.StoreEntry(0, 300, 2200, 2900, 100, 1, 0);
        const std::string path = work.File(name);
        EXPECT_TRUE(doc.DoSave(path).Ok());
        return path;
    }
};

} // namespace

TEST_F(AppTest, FirstRunStoresOnlyTheDataFolderAndUsesTheStartFolder) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(g_strStartDir, work.Path());
    EXPECT_EQ(g_strVowDir, work.Path());
    EXPECT_EQ(app->View()->TempFolder(), work.Path());
    EXPECT_EQ(profile.GetString("Directories", "Dat", ""), work.File("Dat"));
    EXPECT_FALSE(profile.Has("Directories", "Vow"));
    EXPECT_FALSE(profile.Has("Directories", "Tempwav"));
    EXPECT_EQ(app->m_voiceFiles, std::vector<std::string>{"01-male.dat"});
    EXPECT_EQ(app->Frame()->windowTitle(), "Untitled - Quirnel");
    EXPECT_TRUE(app->Frame()->isVisible());
    EXPECT_TRUE(app->Frame()->MenuAction(ID_VOICE_FIRST)->isChecked());
}

TEST_F(AppTest, StoredFoldersAndOptionsAreApplied) {
    TempDir temp;
    profile.WriteString("Directories", "Tempwav", temp.Path());
    profile.WriteString("Directories", "Vow", "/documents");
    profile.WriteInt("Options", "Zoomfactor", 19);
    profile.WriteInt("Options", "Femaletilt", 12);
    ASSERT_TRUE(Start());
    EXPECT_EQ(app->View()->TempFolder(), temp.Path());
    EXPECT_EQ(g_strVowDir, "/documents");
    EXPECT_EQ(app->View()->State().Shown().GridWidth(), 19);
    EXPECT_EQ(app->View()->State().Sound().FemaleTilt(), 12);
}

TEST_F(AppTest, ExitWritesTheOptionsOnce) {
    ASSERT_TRUE(Start());
    app->Frame()->ExecuteCommand(ID_APP_EXIT);
    EXPECT_FALSE(app->Frame()->isVisible());
    EXPECT_EQ(profile.GetInt("Options", "Zoomfactor", 0), 25);
    profile.WriteInt("Options", "Zoomfactor", 7); // a second write would overwrite this
    app.reset();
    EXPECT_EQ(profile.GetInt("Options", "Zoomfactor", 0), 7);
}

TEST_F(AppTest, TheViewGetsItsSizeAlsoWithAdvancedControls) {
    ASSERT_TRUE(Start());
    QApplication::processEvents();
    EXPECT_EQ(app->View()->size(), QSize(430, 385));
    app->Frame()->ExecuteCommand(ID_ADVANCED_CONTROLS);
    QApplication::processEvents();
    EXPECT_EQ(app->View()->size(), QSize(472, 385));
    EXPECT_EQ(app->Frame()->width(), 472);
}

TEST_F(AppTest, ADocumentOnTheCommandLineIsOpenedAndNamesTheWindow) {
    const std::string path = MakeDocument("male set.vow");
    ASSERT_TRUE(Start({"quirnel", "male set.vow"})); // relative to the working folder
    EXPECT_EQ(app->Frame()->windowTitle(), "male set.vow - Quirnel");
    EXPECT_EQ(app->Document()->GetPathName(), path);
    EXPECT_EQ(app->Document()->GetEntryF1(0, 1, 0), 300);
}

// The name is not valid UTF-8: it must reach the file system as the same bytes.
TEST_F(AppTest, ADocumentNamedInAnyBytesOpensAsOnTheCommandLine) {
    const std::string path = MakeDocument("\xff\xfe.vow");
    ASSERT_TRUE(Start({"quirnel", "./\xff\xfe.vow"}));
    EXPECT_EQ(app->Document()->GetPathName(), path);
    EXPECT_EQ(app->Document()->GetEntryF1(0, 1, 0), 300);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(AppTest, ADocumentThatCannotBeOpenedEndsStartUpWithItsMessage) {
    EXPECT_FALSE(Start({"quirnel", work.File("missing.vow")}));
    ASSERT_FALSE(messages.Messages().empty());
    EXPECT_EQ(messages.Messages().back().text, work.File("missing.vow") + " was not found.");
    EXPECT_FALSE(app->Frame()->isVisible());
    EXPECT_EQ(app->StartFailureStatus(), 1);
}

TEST_F(AppTest, AWaveListOnTheCommandLineOpensBesideANewDocument) {
    ASSERT_TRUE(SaveWaveList({work.File("take 1.wav")}, work.File("takes.WLIST")).Ok());
    ASSERT_TRUE(Start({"quirnel", "takes.WLIST"}));
    EXPECT_EQ(app->Frame()->windowTitle(), "Untitled - Quirnel");
    EXPECT_TRUE(app->View()->IsWaveListOpen());
    EXPECT_EQ(app->View()->WaveList()->Files(), std::vector<std::string>{work.File("take 1.wav")});
}

// Started from the menu in the home folder: the documents folder is the start folder, the
// cache folder takes temp.wav and the log until a file dialog moves the working folder.
TEST_F(AppTest, StartedFromTheDesktopItWorksInTheDocumentsAndCacheFolders) {
    TempDir documents;
    TempDir cache;
    fs::copy(work.File("Dat"), documents.File("Dat"));
    app = std::make_unique<CTundrelApp>(&volume, &player);
    app->StartFromDesktop({documents.Path(), cache.Path()});
    ASSERT_TRUE(app->InitInstance({"quirnel"}));
    EXPECT_EQ(CurrentDirectory(), documents.Path());
    EXPECT_EQ(g_strVowDir, documents.Path());
    EXPECT_EQ(app->View()->TempFolder(), cache.Path());
    EXPECT_EQ(g_strLogDir, cache.Path());
    EXPECT_FALSE(profile.Has("Directories", "Tempwav"));
    app->Frame()->ExecuteCommand(ID_FILE_OPEN); // cancelled
    EXPECT_EQ(dialogs.folders.back(), documents.Path());
    EXPECT_EQ(g_strLogDir, "");

    // Folders named by the settings win.
    app.reset();
    profile.WriteString("Directories", "Tempwav", work.Path());
    app = std::make_unique<CTundrelApp>(&volume, &player);
    app->StartFromDesktop({documents.Path(), cache.Path()});
    ASSERT_TRUE(app->InitInstance({"quirnel"}));
    EXPECT_EQ(app->View()->TempFolder(), work.Path());
}

TEST_F(AppTest, OpenRemembersTheFolderTheDialogEndedInEvenAfterCancel) {
    ASSERT_TRUE(Start());
    TempDir other;
    dialogs.Queue(FileChoice{false, "", other.Path(), {}});
    app->Frame()->ExecuteCommand(ID_FILE_OPEN);
    EXPECT_EQ(dialogs.titles, std::vector<std::string>{"Open"});
    EXPECT_EQ(g_strVowDir, other.Path());
    EXPECT_EQ(profile.GetString("Directories", "Vow", ""), other.Path());

    const std::string path = MakeDocument("a.vow");
    dialogs.Queue(FileChoice{true, path, work.Path(), {}});
    app->Frame()->ExecuteCommand(ID_FILE_OPEN);
    EXPECT_EQ(app->Frame()->windowTitle(), "a.vow - Quirnel");
    EXPECT_EQ(profile.GetString("Directories", "Vow", ""), work.Path());

    app->Frame()->ExecuteCommand(ID_FILE_NEW);
    EXPECT_EQ(app->Frame()->windowTitle(), "Untitled - Quirnel");
}

TEST_F(AppTest, OpenRemembersTheFolderOfTheChosenFileAlsoWhenItsPathWasTyped) {
    ASSERT_TRUE(Start());
    TempDir typed, saved;
    ASSERT_TRUE(CTundrelDoc().DoSave(typed.File("test.vow")).Ok());
    app->Document()->StoreEntry(1, 400, 2000, 2800, 100, 1, 0);
    // The full path was typed while the dialog showed the working folder; the changed
    // document is first saved elsewhere.
    dialogs.Queue(FileChoice{true, typed.File("test.vow"), work.Path(), {}});
    dialogs.Answer(saved.File("changed.vow"));
    app->Frame()->ExecuteCommand(ID_FILE_OPEN);
    EXPECT_TRUE(fs::exists(saved.File("changed.vow")));
    EXPECT_EQ(app->Frame()->windowTitle(), "test.vow - Quirnel");
    EXPECT_EQ(CurrentDirectory(), typed.Path()); // where a log started now is written
    EXPECT_EQ(g_strVowDir, typed.Path());
    EXPECT_EQ(profile.GetString("Directories", "Vow", ""), typed.Path());
    app->Frame()->ExecuteCommand(ID_FILE_OPEN);
    EXPECT_EQ(dialogs.folders.back(), typed.Path());
}

TEST_F(AppTest, OpenCancelledWithoutAFolderStoresTheWorkingDirectory) {
    ASSERT_TRUE(Start());
    dialogs.Queue(FileChoice{false, "", "", {}});
    app->Frame()->ExecuteCommand(ID_FILE_OPEN);
    EXPECT_EQ(profile.GetString("Directories", "Vow", ""), work.Path());

    // A stored folder that is gone is replaced by the one the program is really in.
    g_strVowDir = work.File("gone");
    dialogs.Queue(FileChoice{false, "", "", {}});
    app->Frame()->ExecuteCommand(ID_FILE_OPEN);
    EXPECT_EQ(g_strVowDir, work.Path());
    EXPECT_EQ(profile.GetString("Directories", "Vow", ""), work.Path());
}

TEST_F(AppTest, ClosingAChangedDocumentAsksAndCancelKeepsEverything) {
    ASSERT_TRUE(Start());
    app->Document()->StoreEntry(1, 400, 2000, 2800, 100, 1, 0);
    messages.Clear();
    messages.QueueAnswer(MsgAnswer::Cancel);
    EXPECT_FALSE(app->Frame()->close());
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, "Save changes to Untitled?");
    EXPECT_EQ(messages.Messages()[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_FALSE(profile.Has("Options", "Zoomfactor")); // the view lives on

    // Yes on an untitled document asks for a name; cancelling that keeps the window.
    messages.QueueAnswer(MsgAnswer::Yes);
    dialogs.Queue(FileChoice{false, "", work.Path(), {}});
    EXPECT_FALSE(app->Frame()->close());
    EXPECT_EQ(dialogs.names, std::vector<std::string>{"Untitled.vow"});

    messages.QueueAnswer(MsgAnswer::Yes);
    dialogs.Queue(FileChoice{true, work.File("kept.vow"), work.Path(), {}});
    EXPECT_TRUE(app->Frame()->close());
    EXPECT_TRUE(fs::exists(work.File("kept.vow")));
    EXPECT_TRUE(profile.Has("Options", "Zoomfactor"));
}

TEST_F(AppTest, KeysReachTheViewEvenWhileItsListHasTheFocus) {
    ASSERT_TRUE(Start());
    CMainFrame* frame = app->Frame();
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    QListWidget* list = app->View()->VowelList();
    list->setFocus();
    QApplication::processEvents();
    const int row = list->currentRow();
    const ChartPoint before = app->View()->State().Selection().SelectedPoint();
    QTest::keyClick(list, Qt::Key_Right); // one press, one step
    EXPECT_EQ(app->View()->State().Selection().SelectedPoint().x, before.x + 5);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(app->View()->State().Selection().SelectedPoint().y, before.y + 5);
    EXPECT_EQ(list->currentRow(), row);
    QTest::keyClick(list, Qt::Key_Tab);
    EXPECT_EQ(app->View()->State().List().ShownType(), VowelType::Secondary);
    QTest::keyClick(list, Qt::Key_2);
    EXPECT_EQ(app->View()->State().List().VoiceGender(), Gender::Female);
    EXPECT_FALSE(frame->MenuAction(ID_MALE)->isChecked());
    EXPECT_TRUE(frame->MenuAction(ID_FEMALE)->isChecked());
}

TEST_F(AppTest, StatusPanesFollowTheViewsZoomAndScale) {
    ASSERT_TRUE(Start());
    CMainFrame* frame = app->Frame();
    EXPECT_EQ(frame->PaneText(1), "");
    EXPECT_EQ(frame->PaneText(2), "Herz");
    frame->ExecuteCommand(ID_ZOOM);
    frame->ExecuteCommand(ID_SCALE_BARK);
    EXPECT_EQ(frame->PaneText(1), "Zoom");
    EXPECT_EQ(frame->PaneText(2), "Bark");
    EXPECT_TRUE(frame->MenuAction(ID_SCALE_BARK)->isChecked());
    EXPECT_FALSE(frame->MenuAction(ID_SCALE_HERZ)->isChecked());
}

TEST_F(AppTest, TwentyFiveVoiceFilesGiveTwentyEntriesInNameOrder) {
    for (int i = 2; i <= 25; ++i)
        std::ofstream(work.File("Dat/" + std::to_string(i) + "-voice.dat")) << "voice";
    ASSERT_TRUE(Start());
    const QList<QAction*> entries = app->Frame()->VoicesMenu()->actions();
    ASSERT_EQ(entries.size(), 20);
    EXPECT_EQ(entries.front()->text(), "01-male.dat");
    EXPECT_EQ(entries[1]->text(), "10-voice.dat"); // name order, not number order
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(entries[i]->data().toInt(), ID_VOICE_FIRST + i);
        EXPECT_EQ(entries[i]->text().toStdString(), app->m_voiceFiles[i]);
    }
}

#include "StandInView.h"
#include "app/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A frame with a stand-in view, three voices, the usual view commands handled.
class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = std::make_unique<CMainFrame>(&host);
        frame->SetVoiceFiles(voices);
        view = new StandInView;
        view->Handle({ID_MALE, ID_FEMALE, ID_ZOOM, ID_PLAY, ID_MOVE_RIGHT, ID_MODE_DIPHTHONG,
                      ID_DURATION, ID_ADVANCED_CONTROLS, ID_INDICATOR_SCALE, ID_VOICE_FIRST,
                      ID_VOICE_FIRST + 1, ID_VOICE_FIRST + 2});
        frame->SetView(std::make_unique<FrameViewAdapter<StandInView>>(view));
    }

    void ShowActive() {
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }

    // A popup as "text[entry=id | --- | sub[...]]", key names written as "\t".
    static QString Dump(const QAction* popup) {
        QStringList entries;
        for (const QAction* action : popup->menu()->actions()) {
            if (action->isSeparator())
                entries << "---";
            else if (action->menu())
                entries << Dump(action);
            else
                entries << action->text() + "=" + action->data().toString();
        }
        return popup->text() + "[" + entries.join(" | ") + "]";
    }

    // The key action bound to a key sequence, or nullptr.
    QAction* KeyAction(const QString& key) const {
        for (QAction* action : frame->actions())
            if (action->shortcuts().contains(QKeySequence(key)))
                return action;
        return nullptr;
    }

    std::vector<std::string> voices = {"female.dat", "Male & Co.dat", "VOICE.DAT"};
    StandInHost host;
    StandInView* view = nullptr;
    std::unique_ptr<CMainFrame> frame;
};

} // namespace

TEST_F(FrameTest, MenusHoldEveryEntryWithItsTextAndCommand) {
    QStringList menus;
    for (const QAction* popup : frame->menuBar()->actions())
        menus << Dump(popup).replace('\t', "\\t");
    const QStringList expected = {
        "&File[&New\\tCtrl+N=57600 | --- | &Open...\\tCtrl+O=57601 | &Save\\tCtrl+S=57603 | "
        "Save &As...\\tCtrl+Shift+S=57604 | --- | &Batch Convert\\tCtrl+B=32804 | "
        "Export &Chart...=33020 | &Export Sound...\\tCtrl+E=32850 | --- | Recent File=57616 | "
        "--- | E&xit=57665]",
        "&Voice[Gender[&Male\\t1=32773 | &Female\\t2=32774] | Voices[female.dat=200 | "
        "Male && Co.dat=201 | VOICE.DAT=202] | --- | &Play\\tSpace=32777 | "
        "Play Wave File\\tCR=32801 | --- | &New Voice...=32851]",
        "&View[Vowel Type\\tTab[&Primary Vowels=32810 | &Secondary Vowels=32811 | "
        "&Further Vowels=32812 | Sch&wa Vowels=32813] | Vowel M&ode\\tF12[&Cardinal=32821 | "
        "&Native=32822] | --- | &Formant Map\\tF1=32778 | &User Formant Map\\tF2=32788 | "
        "&Modified Map\\tF3=32794 | M&odified Vowels\\tF4=32799 | &Gray Map\\tF5=32803 | --- | "
        "Formant &Position=32779 | --- | &Reference Vowels[&None=33000 | --- | "
        "Peterson && Barney 1952: men=33001 | Peterson && Barney 1952: women=33002 | "
        "Peterson && Barney 1952: children=33003 | Pols et al. 1973: men=33004 | "
        "van Nierop et al. 1973: women=33005 | Weenink 1985: men=33006 | "
        "Weenink 1985: women=33007 | Weenink 1985: children=33008 | --- | &Load...=33017] | "
        "Reference &Spread=33018 | &Axis Labels=33019 | --- | S&pectrum\\tS=33022 | --- | "
        "Re&cordings on Chart=33023 | Recording Trac&ks=33024]",
        "Zoom[&Enable Zoom\\tZ=32786 | --- | Zoom &Parameters ...\\tP=32787 | "
        "Show &Grid\\tG=32790]",
        "Options[Mode[&Normal\\tN=32819 | &Diphthong\\tD=32820] | Scale[Herz=32825 | "
        "Bark=32826] | --- | &Duration of Vowels ...\\tD=32793 | Female &Tilt ...\\tT=32791 | "
        "--- | &Circle Mode Parameters ...=32809 | --- | &Advanced Controls\\tO=32817 | "
        "&Wavelist  Window=32800 | --- | Automatic F3 &Calculation=32792 | --- | "
        "Select Temporary &Path ...=32805 | --- | Log to File=32824]",
        "&Tools[Make &Continuum...=32852 | &Play Continuum=32853 | --- | "
        "&Go to Formants...\\tCtrl+G=32854 | --- | &Listening Test...=32860 | "
        "Test &Results...=32861 | --- | &Listen\\tCtrl+L=32862 | &Keep Last Take\\tCtrl+K=32863]",
        "&Help[&About this Programm\\tA=57664 | ---]"};
    ASSERT_EQ(menus.size(), expected.size());
    for (qsizetype i = 0; i < menus.size(); ++i)
        EXPECT_EQ(menus[i].toStdString(), expected[i].toStdString());
}

TEST_F(FrameTest, KeysFollowTheKeyTableNotTheMenuTexts) {
    // The menu shows "D" for both Diphthong and Duration; the key D is Diphthong, L Duration.
    ASSERT_TRUE(KeyAction("D"));
    EXPECT_EQ(KeyAction("D")->data().toInt(), ID_MODE_DIPHTHONG);
    EXPECT_EQ(KeyAction("L")->data().toInt(), ID_DURATION);
    EXPECT_EQ(KeyAction("Return"), KeyAction("Enter"));
    EXPECT_EQ(KeyAction("Return")->data().toInt(), ID_PLAY_WAVE_FILE);
    EXPECT_EQ(KeyAction("Ctrl+C"), KeyAction("Ctrl+Ins"));
    EXPECT_EQ(KeyAction("<")->data().toInt(), ID_CIRCLE_FORWARD);
    EXPECT_EQ(KeyAction("S")->data().toInt(), ID_SPECTRUM_WINDOW);
    EXPECT_EQ(KeyAction("Ctrl+L")->data().toInt(), ID_LISTEN);
    EXPECT_EQ(KeyAction("Ctrl+K")->data().toInt(), ID_KEEP_LAST_TAKE);
    // No key is bound twice, or neither binding would fire.
    QList<QKeySequence> seen;
    for (QAction* action : frame->actions())
        for (const QKeySequence& key : action->shortcuts()) {
            EXPECT_FALSE(seen.contains(key)) << key.toString().toStdString();
            seen << key;
        }
    EXPECT_EQ(seen.size(), 46);
}

TEST_F(FrameTest, PressedKeysRunTheirCommandOnceAndOnlyWhenEnabled) {
    ShowActive();
    QTest::keyClick(frame.get(), Qt::Key_Right);
    QTest::keyClick(frame.get(), Qt::Key_D);
    EXPECT_EQ(view->commands, (std::vector<int>{ID_MOVE_RIGHT, ID_MODE_DIPHTHONG}));
    // The state is asked once before the command runs.
    view->stateQueries.clear();
    QTest::keyClick(frame.get(), Qt::Key_Right);
    EXPECT_EQ(view->stateQueries[ID_MOVE_RIGHT], 1);

    view->commands.clear();
    view->states[ID_ZOOM].enabled = false;
    QTest::keyClick(frame.get(), Qt::Key_Z);                      // disabled
    QTest::keyClick(frame.get(), Qt::Key_G);                      // no handler
    QTest::keyClick(frame.get(), Qt::Key_C, Qt::ControlModifier); // bound to nothing
    EXPECT_TRUE(view->commands.empty());
}

TEST_F(FrameTest, ChecksAndEnabledStatesComeOnlyFromTheView) {
    QAction* male = frame->MenuAction(ID_MALE);
    QAction* female = frame->MenuAction(ID_FEMALE);
    view->states[ID_MALE].checked = true;
    frame->UpdateCommandStates();
    EXPECT_TRUE(male->isChecked());
    male->trigger(); // Qt unchecks it, but the view keeps male checked
    female->trigger();
    EXPECT_EQ(view->commands, (std::vector<int>{ID_MALE, ID_FEMALE}));
    EXPECT_FALSE(female->isChecked());
    EXPECT_TRUE(male->isChecked());
    EXPECT_FALSE(female->isCheckable()); // no empty check box beside an unchecked entry

    view->states[ID_FEMALE].checked = true;
    view->states[ID_MALE].checked = false;
    emit view->commandStatesChanged();
    EXPECT_TRUE(female->isChecked());
    EXPECT_FALSE(male->isChecked());

    EXPECT_FALSE(frame->MenuAction(ID_GRAY_MAP)->isEnabled()); // the view has no handler
    view->states[ID_FILE_MRU_FILE1] = CommandState{true, true, false, nullptr};
    frame->UpdateCommandStates();
    EXPECT_FALSE(frame->MenuAction(ID_FILE_MRU_FILE1)->isEnabled()); // always disabled
    view->states[ID_GRAY_MAP] = CommandState{true, true, false, nullptr};
    emit frame->menuBar()->actions()[2]->menu()->aboutToShow();
    EXPECT_TRUE(frame->MenuAction(ID_GRAY_MAP)->isEnabled());
}

TEST_F(FrameTest, VoiceEntriesReplaceThePlaceholderAndRunTheirCommand) {
    EXPECT_FALSE(frame->MenuAction(ID_VOICES_PLACEHOLDER));
    frame->MenuAction(ID_VOICE_FIRST + 2)->trigger();
    EXPECT_EQ(view->commands, std::vector<int>{ID_VOICE_FIRST + 2});
}

TEST_F(FrameTest, ApplicationCommandsGoToTheApplicationUnbuiltOnesAreDisabled) {
    frame->MenuAction(ID_FILE_NEW)->trigger();
    EXPECT_EQ(host.commands, std::vector<int>{ID_FILE_NEW});
    EXPECT_TRUE(view->commands.empty());
    frame->UpdateCommandStates();
    EXPECT_FALSE(frame->MenuAction(ID_FILE_OPEN)->isEnabled());
    EXPECT_TRUE(frame->MenuAction(ID_APP_EXIT)->isEnabled());
}

TEST_F(FrameTest, TheViewGetsExactlyTheClientSizeItAsksFor) {
    ShowActive();
    QApplication::processEvents();
    EXPECT_EQ(view->size(), QSize(430, 385));
    EXPECT_EQ(view->mapTo(frame.get(), QPoint(0, 0)).y(), frame->menuBar()->height());
    EXPECT_EQ(frame->minimumSize(), frame->maximumSize()); // the user cannot resize it
    const QPoint topLeft = frame->pos();

    view->advanced = true;
    emit view->requiredSizeChanged();
    QApplication::processEvents();
    EXPECT_EQ(view->size(), QSize(472, 385));
    EXPECT_EQ(frame->width(), 472);
    EXPECT_EQ(frame->pos(), topLeft);

    frame->resize(800, 800); // a window manager's resize does not stick
    QApplication::processEvents();
    EXPECT_EQ(view->size(), QSize(472, 385));
}

TEST_F(FrameTest, StatusBarShowsTheViewTextZoomAndScale) {
    EXPECT_EQ(frame->PaneText(0), "Ready");
    emit view->statusTextChanged("F1: 300 Hz  F2: 2200 Hz");
    EXPECT_EQ(frame->PaneText(0), "F1: 300 Hz  F2: 2200 Hz");
    emit view->statusTextChanged("");
    EXPECT_EQ(frame->PaneText(0), "Ready");

    EXPECT_EQ(frame->PaneText(1), "");
    EXPECT_EQ(frame->PaneText(2), "Herz");
    view->states[ID_INDICATOR_ZOOM] = CommandState{true, true, false, nullptr};
    view->states[ID_INDICATOR_SCALE].text = "Bark";
    emit view->commandStatesChanged();
    EXPECT_EQ(frame->PaneText(1), "Zoom");
    EXPECT_EQ(frame->PaneText(2), "Bark");
}

TEST_F(FrameTest, TitleIconAndPromptsOfTheEntries) {
    EXPECT_EQ(frame->windowTitle(), "Untitled - Quirnel");
    host.title = "vowels.vow";
    frame->UpdateTitle();
    EXPECT_EQ(frame->windowTitle(), "vowels.vow - Quirnel");
    EXPECT_FALSE(frame->windowIcon().isNull());
    // The prompt's text before "\n" goes to the status bar, the rest to the tooltip.
    EXPECT_EQ(frame->MenuAction(ID_MODE_NORMAL)->statusTip(), "Normal mode. ");
    EXPECT_EQ(frame->MenuAction(ID_MODE_NORMAL)->toolTip(),
              "When Clicking in Vowel mode a quasi-static vowel is produced");
    EXPECT_TRUE(frame->MenuAction(ID_FILE_NEW)->statusTip().isEmpty());
}

TEST_F(FrameTest, MovesAreReportedWithTheFrameRectangle) {
    ShowActive();
    view->moves.clear();
    frame->move(120, 80);
    QApplication::processEvents();
    ASSERT_FALSE(view->moves.empty());
    EXPECT_EQ(view->moves.back(), frame->frameGeometry());
}

TEST_F(FrameTest, ClosingDestroysTheViewOnceAndOnlyWhenTheDocumentLetsGo) {
    ShowActive();
    host.allowClose = false;
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(view->destroys, 0);

    host.allowClose = true;
    frame->MenuAction(ID_APP_EXIT)->trigger();
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(view->destroys, 1);
    frame->close();
    QTest::keyClick(frame.get(), Qt::Key_Right); // nothing reaches a destroyed view
    EXPECT_EQ(view->destroys, 1);
    EXPECT_TRUE(view->commands.empty());
    frame.reset();
}

TEST(FrameWithoutClose, DestroyingTheFrameStillDestroysTheViewOnce) {
    StandInHost host;
    auto frame = std::make_unique<CMainFrame>(&host);
    auto* view = new StandInView;
    int destroys = 0;
    view->destroyCounter = &destroys;
    frame->SetView(std::make_unique<FrameViewAdapter<StandInView>>(view));
    frame.reset();
    EXPECT_EQ(destroys, 1);
}

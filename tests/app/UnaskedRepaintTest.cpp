// The shown window repaints its chart for reasons of the toolkit's own: focus, activation,
// menus and boxes over it. None of these may render or play the vowel again.
#include "AppFixture.h"
#include "app/MainFrame.h"
#include "qtseams/QtInputPrompt.h"
#include "qtseams/QtMessageSink.h"
#include "view/TundrelView.h"

#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>

#include <functional>

namespace fs = std::filesystem;

namespace {

// The centre of a vertical slider's handle, in the slider's coordinates.
QPoint HandleCentre(const QSlider& slider) {
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.orientation = slider.orientation();
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.sliderPosition = option.sliderValue = slider.value();
    option.upsideDown = !slider.invertedAppearance();
    option.tickPosition = slider.tickPosition();
    option.tickInterval = slider.tickInterval();
    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
    return slider.style()
        ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &slider)
        .center();
}

// The real input, circle and About dialogs, installed as the program installs them.
struct RealDialogs {
    RealDialogs() { SetInputPrompt(&prompt); }
    ~RealDialogs() { SetInputPrompt(nullptr); }
    QtInputPrompt prompt;
};

class UnaskedRepaintTest : public AppFixture {
protected:
    // Starts the program, shows its window active and lets the first paint play.
    void StartShown() {
        ASSERT_TRUE(Start());
        app->Frame()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(app->Frame()));
        (void)QTest::qWaitFor([this] { return !player.played.empty(); }, 5000);
        QTest::qWait(30);
        ASSERT_EQ(player.played.size(), 1u);
        fs::remove(TempWav());
    }

    std::string TempWav() const { return work.File("temp.wav"); }

    // Closes the next modal dialog or box with Escape's answer once it has been shown a while
    // (looking for it for at most 5 s).
    static void RejectNextModalSoon() {
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [timer, ticks = 0]() mutable {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal && ++ticks < 250)
                return;
            timer->deleteLater();
            if (modal)
                QTimer::singleShot(50, modal, [modal] { qobject_cast<QDialog*>(modal)->reject(); });
        });
        timer->start(20);
    }

    // Runs what and expects that it neither rendered nor played anything.
    void ExpectSilent(const char* what, const std::function<void()>& action) {
        const size_t before = player.played.size();
        fs::remove(TempWav());
        action();
        QTest::qWait(50);
        EXPECT_EQ(player.played.size(), before) << what;
        EXPECT_FALSE(fs::exists(TempWav())) << what;
    }
};

TEST_F(UnaskedRepaintTest, FocusMenusBoxesAndCancelledDialogsPlayNothing) {
    StartShown();
    QWidget other;
    ExpectSilent("activation", [&] {
        other.show();
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
        app->Frame()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(app->Frame()));
    });
    ExpectSilent("menu", [&] {
        QMenu* viewMenu = app->Frame()->menuBar()->actions().at(2)->menu();
        viewMenu->popup(app->Frame()->mapToGlobal(QPoint(60, 20)));
        QTest::qWait(50);
        viewMenu->close();
    });
    QtMessageSink boxes;
    boxes.SetParent(app->Frame());
    ExpectSilent("message box", [&] {
        ScopedMessageSink guard(&boxes);
        RejectNextModalSoon();
        ShowMessage("A box over the window", "Test");
    });
    // The toolkit gives the focus back to the chart, as a desktop does after a box.
    app->Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(app->Frame()));
    app->View()->setFocus();
    QTest::qWait(50);
    const RealDialogs dialogs;
    ExpectSilent("cancelled dialog", [&] {
        RejectNextModalSoon();
        app->Frame()->ExecuteCommand(ID_FEMALE_TILT);
    });
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(UnaskedRepaintTest, EveryChangeOfWhatTheChartShowsPlaysOnce) {
    StartShown();
    CTundrelView* view = app->View();
    const auto playsOnce = [&](const char* what, const std::function<void()>& change) {
        const size_t before = player.played.size();
        change();
        (void)QTest::qWaitFor([&] { return player.played.size() > before; }, 5000);
        QTest::qWait(30);
        EXPECT_EQ(player.played.size(), before + 1) << what;
    };
    playsOnce("click", [&] { QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(200, 150)); });
    playsOnce("arrow", [&] { app->Frame()->ExecuteCommand(ID_MOVE_RIGHT); });
    playsOnce("list", [&] { view->VowelList()->setCurrentRow(3); });
    for (int id :
         {ID_MODE_DIPHTHONG, ID_GRAY_MAP, ID_NEXT_TYPE, ID_ZOOM, ID_SCALE_BARK, ID_VOICE_FIRST,
          ID_FEMALE, ID_SET_NATIVE, ID_CIRCLE_FORWARD, ID_ADVANCED_CONTROLS, ID_FILE_NEW})
        playsOnce(std::to_string(id).c_str(), [&] { app->Frame()->ExecuteCommand(id); });
    // Pressing a slider's handle plays nothing; its release plays.
    QSlider* slider = view->LengthSlider();
    const QPoint handle = HandleCentre(*slider);
    const size_t before = player.played.size();
    QTest::mousePress(slider, Qt::LeftButton, {}, handle);
    ASSERT_TRUE(slider->isSliderDown());
    QTest::qWait(30);
    EXPECT_EQ(player.played.size(), before);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, handle);
    (void)QTest::qWaitFor([&] { return player.played.size() > before; }, 5000);
    EXPECT_EQ(player.played.size(), before + 1);
}

} // namespace

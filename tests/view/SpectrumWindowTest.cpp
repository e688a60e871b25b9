// The spectrum window: off until asked for, remembered, docked below the main window, fed
// with the vowel just played only after it has started to sound.
#include "view/SpectrumWindow.h"
#include "ViewFixture.h"
#include "base/Settings.h"
#include "synth/WavFile.h"
#include "view/WaveListDlg.h"

#include <QCheckBox>
#include <QListWidget>
#include <QSpinBox>
#include <QTest>

namespace {

class SpectrumWindowTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        CreateView();
    }

    CSpectrumView& Open() {
        view->OnCommand(ID_SPECTRUM_WINDOW);
        EXPECT_TRUE(view->IsSpectrumOpen());
        return *view->Spectrum();
    }
};

TEST_F(SpectrumWindowTest, OffByDefaultAndRememberedWhenToggled) {
    Paint();
    QCoreApplication::processEvents();
    EXPECT_FALSE(view->IsSpectrumOpen());
    EXPECT_FALSE(view->OnUpdateCommand(ID_SPECTRUM_WINDOW).checked);
    EXPECT_FALSE(profile.Has("Spectrum", "Window"));

    CSpectrumView& spectrum = Open();
    EXPECT_TRUE(view->OnUpdateCommand(ID_SPECTRUM_WINDOW).checked);
    EXPECT_EQ(ReadSetting(settings::kSpectrumWindow), 1);
    spectrum.RangeBox()->setValue(kSpectrumRangeDbMax + 10);
    spectrum.SourceBox()->setChecked(false);
    EXPECT_EQ(ReadSetting(settings::kSpectrumRangeDb), kSpectrumRangeDbMax);
    EXPECT_EQ(ReadSetting(settings::kSpectrumSource), 0);

    // A new view (the next start) opens it again with the same options.
    view.reset();
    CreateView();
    QCoreApplication::processEvents();
    ASSERT_TRUE(view->IsSpectrumOpen());
    EXPECT_FALSE(view->Spectrum()->SourceBox()->isChecked());
    EXPECT_EQ(view->Spectrum()->RangeBox()->value(), kSpectrumRangeDbMax);

    // The close box closes it for good.
    view->Spectrum()->Window()->close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(view->IsSpectrumOpen());
    EXPECT_EQ(ReadSetting(settings::kSpectrumWindow), 0);
}

TEST_F(SpectrumWindowTest, DocksAtTheMainWindowsLowerEdgeAndFollowsIt) {
    view->move(100, 80);
    view->show();
    CSpectrumView& spectrum = Open();
    const QRect frame = view->frameGeometry();
    EXPECT_EQ(spectrum.Window()->frameGeometry().topLeft(),
              QPoint(frame.x(), frame.y() + frame.height()));
    const QSize size = spectrum.Window()->size();
    view->OnFrameMoved(QRect(300, 200, 500, 400));
    EXPECT_EQ(spectrum.Window()->frameGeometry().topLeft(), QPoint(300, 600));
    EXPECT_EQ(spectrum.Window()->size(), size);
}

// The vowel plays first; its spectrum is measured and drawn afterwards.
TEST_F(SpectrumWindowTest, DrawsTheVowelPlayedAfterItStarted) {
    CSpectrumView& spectrum = Open();
    std::vector<size_t> playedWhenDrawn;
    QObject::connect(&spectrum, &CSpectrumView::drawn,
                     [&] { playedWhenDrawn.push_back(player.played.size()); });
    player.played.clear();
    view->OnLButtonDown(200, 150);
    PaintAndPlay();
    ASSERT_EQ(player.played.size(), 1u);
    EXPECT_TRUE(spectrum.Shown().soundDb.empty()); // nothing measured before the sound
    ASSERT_TRUE(QTest::qWaitFor([&] { return !playedWhenDrawn.empty(); }, 60000));
    EXPECT_EQ(playedWhenDrawn.front(), 1u);
    EXPECT_TRUE(spectrum.Shown().synthesized);
    // The middle frame's F1: the played F1 plus the track's drift of 5 Hz.
    EXPECT_EQ(spectrum.Shown().formants[0], view->State().Decision().F1() + 5);
}

// A line chosen in the wave list shows its recording: a 250 Hz tone at a quarter of full
// scale peaks at 250 Hz and -12 dB.
TEST_F(SpectrumWindowTest, ShowsTheRecordingChosenInTheWaveList) {
    CSpectrumView& spectrum = Open();
    std::vector<int32_t> tone(8000);
    for (size_t i = 0; i < tone.size(); ++i)
        tone[i] = static_cast<int32_t>(8192 * std::sin(2 * 3.14159265358979 * 250 * i / 10000.0));
    ASSERT_TRUE(WriteWavFile(temp.File("tone.wav"), tone).Ok());
    std::ofstream(temp.File("tones.wlist")) << "tone.wav\nmissing.wav\n";
    view->OpenWaveListFile(temp.File("tones.wlist"));
    view->WaveList()->List()->setCurrentRow(0);
    ASSERT_FALSE(spectrum.Shown().synthesized);
    const auto& db = spectrum.Shown().soundDb;
    ASSERT_FALSE(db.empty());
    const size_t peak = static_cast<size_t>(std::max_element(db.begin(), db.end()) - db.begin());
    EXPECT_NEAR(peak * spectrum.Shown().binHz, 250, 2);
    EXPECT_NEAR(db[peak], -12.04, 0.1);
    view->WaveList()->List()->setCurrentRow(1);
    EXPECT_FALSE(spectrum.Shown().report.Ok());
    EXPECT_TRUE(spectrum.Shown().soundDb.empty());
}

} // namespace

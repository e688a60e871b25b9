// The wave list window playing through the real sound player into the private test sound
// server: opening a list sounds its first entry at once, and Play after working in the chart
// sounds the list's entry, not the chart's vowel.
#include "audio/AudioTestSupport.h"
#include "audio/SoundPlayer.h"
#include "base/FileDialogs.h"
#include "view/ViewFixture.h"
#include "view/WaveListDlg.h"

#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int kRate = audiotest::MonitorRecorder::kRate;

// A view with the real player over a fresh profile, recorded messages and scripted file
// dialogs, the test server's sink at full volume.
class WaveListSound : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_TEST_SOUND_SERVER();
        ASSERT_EQ(audiotest::Run({"pactl", "set-sink-volume", "quirnel_test", "65536"}), 0);
        ASSERT_EQ(audiotest::Run({"pactl", "set-sink-mute", "quirnel_test", "0"}), 0);
        SetProfile(&profile);
        SetFileDialogs(&dialogs);
        view = std::make_unique<CTundrelView>(&doc, &volume, &player);
        view->SetTempFolder(dir.Path());
    }
    void TearDown() override {
        view.reset();
        ChangeDirectory(startDir);
        SetFileDialogs(nullptr);
        SetProfile(nullptr);
        EXPECT_TRUE(messages.Messages().empty());
    }

    // Clicks a button of the open wave list window.
    void Click(int id) {
        QTest::mouseClick(view->WaveList()->Window()->findChild<QPushButton*>(QString::number(id)),
                          Qt::LeftButton);
    }

    // What Play in the wave list window sounds, recorded to the end of the sound.
    std::vector<int16_t> RecordPlay(QSignalSpy& finished) {
        audiotest::MonitorRecorder recorder(dir.File("monitor.raw"));
        EXPECT_TRUE(recorder.Start());
        const qsizetype before = finished.count();
        view->WaveList()->Window()->activateWindow();
        Click(IDC_WAVELIST_PLAY);
        EXPECT_TRUE(audiotest::RunEventsUntil([&] { return finished.count() > before; }, 10000));
        audiotest::RunEventsFor(300);
        return recorder.Stop();
    }

    TempDir dir;
    MemoryProfile profile;
    RecordingMessageSink messages;
    ScopedMessageSink guard{&messages};
    ScriptedFileDialogs dialogs;
    const std::string startDir = CurrentDirectory();
    CTundrelDoc doc;
    FakeVolume volume;
    CSoundPlayer player;
    std::unique_ptr<CTundrelView> view;
};

void ExpectHeardWhole(const std::vector<int16_t>& recording, double frequency) {
    const auto span = audiotest::LoudSpan(recording, kRate);
    EXPECT_NEAR(span.Duration(), 0.5, 0.1);
    EXPECT_NEAR(audiotest::Frequency(recording, kRate, span.start, span.end), frequency, 10);
}

TEST_F(WaveListSound, OpeningAListPlaysItsFirstEntryThroughTheSoundServer) {
    ASSERT_TRUE(audiotest::WriteSineWav(dir.File("first.wav"), 440, 22050, 0.5));
    ASSERT_TRUE(audiotest::WriteSineWav(dir.File("second.wav"), 880, 22050, 0.5));
    std::ofstream(dir.File("pair.wlist"), std::ios::binary) << "first.wav\r\nsecond.wav\r\n";
    dialogs.Answer(dir.File("pair.wlist"));
    QSignalSpy finished(&player, &CSoundPlayer::Finished);
    view->OnCommand(ID_WAVELIST_WINDOW);
    audiotest::MonitorRecorder recorder(dir.File("monitor.raw"));
    ASSERT_TRUE(recorder.Start());
    Click(IDC_WAVELIST_OPEN);
    EXPECT_EQ(player.LastResult(), CSoundPlayer::PlayResult::Started);
    EXPECT_TRUE(audiotest::RunEventsUntil([&] { return finished.count() > 0; }, 10000));
    audiotest::RunEventsFor(300);
    ExpectHeardWhole(recorder.Stop(), 440);
    EXPECT_EQ(volume.setVolumes.back(), 40u); // at the "Wav" volume
}

TEST_F(WaveListSound, PlayAfterAClickInTheChartIsHeardWhole) {
    ASSERT_TRUE(audiotest::WriteSineWav(dir.File("take.wav"), 440, 22050, 0.5));
    dialogs.Choose({dir.File("take.wav")});
    g_strDatDir = std::string(QUIRNEL_DATA_DIR) + "/Dat";
    const std::vector<std::string> voices{"01-male.dat"};
    view->SetVoiceFiles(&voices);
    view->OnInitialUpdate();
    QSignalSpy finished(&player, &CSoundPlayer::Finished);
    view->show();
    view->OnCommand(ID_WAVELIST_WINDOW);
    Click(IDC_WAVELIST_ADD);
    view->WaveList()->List()->setCurrentRow(0);
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    // The first paint's vowel, then the vowel of a click in the chart, each to its end.
    ASSERT_TRUE(audiotest::RunEventsUntil([&] { return finished.count() > 0; }, 10000));
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(200, 150));
    ASSERT_TRUE(audiotest::RunEventsUntil([&] { return finished.count() > 1; }, 10000));
    ExpectHeardWhole(RecordPlay(finished), 440);
}

} // namespace

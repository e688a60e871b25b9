// The wave list window playing through the real sound player into the private test sound
// server: opening a list sounds its first entry at once, and Play after working in the chart
// sounds the list's entry, not the chart's vowel.
#include "audio/AudioTestSupport.h"
#include "audio/QtSoundPlayer.h"
#include "base/FileDialogs.h"
#include "view/ViewFixture.h"
#include "view/WaveListDlg.h"

#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int kRate = audiotest::MonitorRecorder::kRate;

TEST(WaveListSound, OpeningAListPlaysItsFirstEntryThroughTheSoundServer) {
    REQUIRE_TEST_SOUND_SERVER();
    ASSERT_EQ(audiotest::Run({"pactl", "set-sink-volume", "quirnel_test", "65536"}), 0);
    ASSERT_EQ(audiotest::Run({"pactl", "set-sink-mute", "quirnel_test", "0"}), 0);
    TempDir dir;
    ASSERT_TRUE(audiotest::WriteSineWav(dir.File("first.wav"), 440, 22050, 0.5));
    ASSERT_TRUE(audiotest::WriteSineWav(dir.File("second.wav"), 880, 22050, 0.5));
    std::ofstream(dir.File("pair.wlist"), std::ios::binary) << "first.wav\r\nsecond.wav\r\n";

    MemoryProfile profile;
    SetProfile(&profile);
    RecordingMessageSink messages;
    ScopedMessageSink guard(&messages);
    ScriptedFileDialogs dialogs;
    dialogs.Answer(dir.File("pair.wlist"));
    SetFileDialogs(&dialogs);
    const std::string startDir = CurrentDirectory();
    CTundrelDoc doc;
    FakeVolume volume;
    CSoundPlayer player;
    QSignalSpy finished(&player, &CSoundPlayer::Finished);
    {
        CTundrelView view(&doc, &volume, &player);
        view.OnCommand(ID_WAVELIST_WINDOW);
        audiotest::MonitorRecorder recorder(dir.File("monitor.raw"));
        ASSERT_TRUE(recorder.Start());
        auto* open =
            view.WaveList()->Window()->findChild<QPushButton*>(QString::number(IDC_WAVELIST_OPEN));
        QTest::mouseClick(open, Qt::LeftButton);
        EXPECT_EQ(player.LastResult(), CSoundPlayer::PlayResult::Started);
        EXPECT_TRUE(audiotest::RunEventsUntil([&] { return finished.count() > 0; }, 10000));
        audiotest::RunEventsFor(300);
        const auto recording = recorder.Stop();
        const auto span = audiotest::LoudSpan(recording, kRate);
        EXPECT_NEAR(span.Duration(), 0.5, 0.1);
        EXPECT_NEAR(audiotest::Frequency(recording, kRate, span.start, span.end), 440, 10);
        EXPECT_EQ(volume.setVolumes.back(), 40u); // at the "Wav" volume
    }
    ChangeDirectory(startDir);
    SetFileDialogs(nullptr);
    SetProfile(nullptr);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(WaveListSound, PlayAfterAClickInTheChartIsHeardWhole) {
    REQUIRE_TEST_SOUND_SERVER();
    ASSERT_EQ(audiotest::Run({"pactl", "set-sink-volume", "quirnel_test", "65536"}), 0);
    ASSERT_EQ(audiotest::Run({"pactl", "set-sink-mute", "quirnel_test", "0"}), 0);
    TempDir dir;
    ASSERT_TRUE(audiotest::WriteSineWav(dir.File("take.wav"), 440, 22050, 0.5));

    MemoryProfile profile;
    SetProfile(&profile);
    RecordingMessageSink messages;
    ScopedMessageSink guard(&messages);
    ScriptedFileDialogs dialogs;
    dialogs.Choose({dir.File("take.wav")});
    SetFileDialogs(&dialogs);
    const std::string startDir = CurrentDirectory();
    g_strTempDir = dir.Path();
    g_strDatDir = std::string(QUIRNEL_DATA_DIR) + "/Dat";
    const std::vector<std::string> voices{"01-male.dat"};
    CTundrelDoc doc;
    FakeVolume volume;
    CSoundPlayer player;
    QSignalSpy finished(&player, &CSoundPlayer::Finished);
    {
        CTundrelView view(&doc, &volume, &player);
        view.SetVoiceFiles(&voices);
        view.OnInitialUpdate();
        view.show();
        view.OnCommand(ID_WAVELIST_WINDOW);
        QWidget* list = view.WaveList()->Window();
        auto button = [list](int id) { return list->findChild<QPushButton*>(QString::number(id)); };
        QTest::mouseClick(button(IDC_WAVELIST_ADD), Qt::LeftButton);
        view.WaveList()->List()->setCurrentRow(0);
        view.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
        // The first paint's vowel, then the vowel of a click in the chart, each to its end.
        ASSERT_TRUE(audiotest::RunEventsUntil([&] { return finished.count() > 0; }, 10000));
        QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(200, 150));
        ASSERT_TRUE(audiotest::RunEventsUntil([&] { return finished.count() > 1; }, 10000));

        audiotest::MonitorRecorder recorder(dir.File("monitor.raw"));
        ASSERT_TRUE(recorder.Start());
        list->activateWindow();
        QTest::mouseClick(button(IDC_WAVELIST_PLAY), Qt::LeftButton);
        EXPECT_TRUE(audiotest::RunEventsUntil([&] { return finished.count() > 2; }, 10000));
        audiotest::RunEventsFor(300);
        const auto recording = recorder.Stop();
        const auto span = audiotest::LoudSpan(recording, kRate);
        EXPECT_NEAR(span.Duration(), 0.5, 0.1);
        EXPECT_NEAR(audiotest::Frequency(recording, kRate, span.start, span.end), 440, 10);
    }
    ReleaseSynthesis();
    ChangeDirectory(startDir);
    SetFileDialogs(nullptr);
    SetProfile(nullptr);
    EXPECT_TRUE(messages.Messages().empty());
}

} // namespace

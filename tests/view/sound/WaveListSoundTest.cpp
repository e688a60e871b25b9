// The wave list window playing through the real sound player into the private test sound
// server: opening a list sounds its first entry at once.
#include "audio/AudioTestSupport.h"
#include "audio/QtSoundPlayer.h"
#include "base/FileDialogs.h"
#include "view/ViewFixture.h"
#include "view/WaveListDlg.h"

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

} // namespace

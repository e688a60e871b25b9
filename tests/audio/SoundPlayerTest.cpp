// The sound player against the private test sound server: what is played is recorded
// from the null sink's monitor and compared with the file.
#include "audio/QtSoundPlayer.h"

#include "AudioTestSupport.h"
#include "TempDir.h"
#include "base/MessageBox.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

using audiotest::Frequency;
using audiotest::LoudSpan;
using audiotest::MonitorRecorder;
using audiotest::RunEventsUntil;
using audiotest::WriteSineWav;

constexpr int kRate = MonitorRecorder::kRate;

class SoundPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_TEST_SOUND_SERVER();
        ASSERT_EQ(audiotest::Run({"pactl", "set-sink-volume", "quirnel_test", "65536"}), 0);
        ASSERT_EQ(audiotest::Run({"pactl", "set-sink-mute", "quirnel_test", "0"}), 0);
    }

    // Plays path while recording and returns the recording once the sound has ended.
    std::vector<int16_t> PlayAndRecord(const std::string& path) {
        MonitorRecorder recorder(m_dir.File("monitor.raw"));
        EXPECT_TRUE(recorder.Start());
        bool finished = false;
        QObject::connect(&m_player, &CSoundPlayer::Finished, [&] { finished = true; });
        m_player.Play(path);
        EXPECT_EQ(m_player.LastResult(), CSoundPlayer::PlayResult::Started);
        EXPECT_TRUE(RunEventsUntil([&] { return finished; }, 10000));
        audiotest::RunEventsFor(300);
        return recorder.Stop();
    }

    TempDir m_dir;
    RecordingMessageSink m_messages;
    ScopedMessageSink m_guard{&m_messages};
    CSoundPlayer m_player;
};

TEST_F(SoundPlayerTest, PlayedSoundReachesTheServerWithItsLengthAndPitch) {
    const std::string path = m_dir.File("temp.wav");
    ASSERT_TRUE(WriteSineWav(path, 440, 10000, 0.8));
    const auto recording = PlayAndRecord(path);
    const auto span = LoudSpan(recording, kRate);
    EXPECT_NEAR(span.Duration(), 0.8, 0.1);
    EXPECT_NEAR(Frequency(recording, kRate, span.start, span.end), 440, 8);
    EXPECT_FALSE(m_player.IsPlaying());
    EXPECT_TRUE(m_messages.Messages().empty());
}

TEST_F(SoundPlayerTest, SoundShorterThanTheServerBufferIsHeard) {
    const std::string path = m_dir.File("short.wav");
    ASSERT_TRUE(WriteSineWav(path, 440, 10000, 0.05));
    const auto span = LoudSpan(PlayAndRecord(path), kRate);
    EXPECT_NEAR(span.Duration(), 0.05, 0.02);
}

TEST_F(SoundPlayerTest, StereoFloatFileAtItsOwnRate) {
    const std::string path = m_dir.File("stereo.wav");
    std::vector<double> samples;
    for (double s : audiotest::Sine(660, 48000, 0.5)) {
        samples.push_back(s);
        samples.push_back(s);
    }
    ASSERT_TRUE(audiotest::WriteWav(path, 48000, 2, audiotest::SampleFormat::Float32, samples));
    const auto recording = PlayAndRecord(path);
    const auto span = LoudSpan(recording, kRate);
    EXPECT_NEAR(span.Duration(), 0.5, 0.1);
    EXPECT_NEAR(Frequency(recording, kRate, span.start, span.end), 660, 10);
}

TEST_F(SoundPlayerTest, FileIsReadWhollyWhenPlayStarts) {
    const std::string path = m_dir.File("temp.wav");
    ASSERT_TRUE(WriteSineWav(path, 440, 10000, 0.8));
    MonitorRecorder recorder(m_dir.File("monitor.raw"));
    ASSERT_TRUE(recorder.Start());
    m_player.Play(path);
    // The next synthesis overwrites the file while the old sound still plays.
    ASSERT_TRUE(WriteSineWav(path, 880, 10000, 0.2));
    ASSERT_TRUE(RunEventsUntil([&] { return !m_player.IsPlaying(); }, 10000));
    audiotest::RunEventsFor(300);
    const auto recording = recorder.Stop();
    const auto span = LoudSpan(recording, kRate);
    EXPECT_NEAR(span.Duration(), 0.8, 0.1);
    EXPECT_NEAR(Frequency(recording, kRate, span.start, span.end), 440, 8);
}

TEST_F(SoundPlayerTest, SecondPlayCutsOffTheFirst) {
    const std::string first = m_dir.File("first.wav");
    const std::string second = m_dir.File("second.wav");
    ASSERT_TRUE(WriteSineWav(first, 440, 10000, 3.0));
    ASSERT_TRUE(WriteSineWav(second, 880, 10000, 0.5));
    MonitorRecorder recorder(m_dir.File("monitor.raw"));
    ASSERT_TRUE(recorder.Start());
    QSignalSpy finished(&m_player, &CSoundPlayer::Finished);
    m_player.Play(first);
    audiotest::RunEventsFor(500);
    m_player.Play(second);
    ASSERT_TRUE(RunEventsUntil([&] { return finished.count() > 0; }, 10000));
    audiotest::RunEventsFor(300);
    EXPECT_EQ(finished.count(), 1);
    const auto recording = recorder.Stop();
    const auto span = LoudSpan(recording, kRate);
    // Well under the three seconds of the first sound, and the second one is heard last.
    EXPECT_LT(span.Duration(), 1.6);
    EXPECT_NEAR(Frequency(recording, kRate, span.end - 0.3, span.end - 0.05), 880, 15);
    EXPECT_NEAR(Frequency(recording, kRate, span.start + 0.05, span.start + 0.2), 440, 15);
}

TEST_F(SoundPlayerTest, StopSilencesAtOnceAndSendsNoFinished) {
    const std::string path = m_dir.File("long.wav");
    ASSERT_TRUE(WriteSineWav(path, 440, 10000, 3.0));
    MonitorRecorder recorder(m_dir.File("monitor.raw"));
    ASSERT_TRUE(recorder.Start());
    QSignalSpy finished(&m_player, &CSoundPlayer::Finished);
    m_player.Play(path);
    EXPECT_TRUE(m_player.IsPlaying());
    audiotest::RunEventsFor(400);
    m_player.Stop();
    EXPECT_FALSE(m_player.IsPlaying());
    audiotest::RunEventsFor(1000);
    EXPECT_EQ(finished.count(), 0);
    const auto span = LoudSpan(recorder.Stop(), kRate);
    EXPECT_LT(span.Duration(), 1.2);
}

TEST_F(SoundPlayerTest, MissingOrBrokenFilePlaysNothingAndShowsNothing) {
    MonitorRecorder recorder(m_dir.File("monitor.raw"));
    ASSERT_TRUE(recorder.Start());
    m_player.Play(m_dir.File("missing.wav"));
    EXPECT_EQ(m_player.LastResult(), CSoundPlayer::PlayResult::NotDecoded);
    EXPECT_FALSE(m_player.IsPlaying());
    const std::string broken = m_dir.File("broken.wav");
    std::ofstream(broken, std::ios::binary) << "RIFF0000WAVEnot a sound";
    m_player.Play(broken);
    EXPECT_EQ(m_player.LastResult(), CSoundPlayer::PlayResult::NotDecoded);
    EXPECT_FALSE(m_player.IsPlaying());
    audiotest::RunEventsFor(300);
    EXPECT_EQ(LoudSpan(recorder.Stop(), kRate).Duration(), 0);
    EXPECT_TRUE(m_messages.Messages().empty());
}

} // namespace

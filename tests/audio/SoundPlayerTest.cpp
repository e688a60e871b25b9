// The sound player against the private test sound server: what is played is recorded
// from the null sink's monitor and compared with the file.
#include "audio/SoundPlayer.h"
#include "listening/LiveListener.h"

#include "AudioTestSupport.h"
#include "TempDir.h"
#include "base/MessageBox.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

using audiotest::Frequency;
using audiotest::LoudSpan;
using audiotest::RunEventsFor;
using audiotest::RunEventsUntil;
using audiotest::WriteSineWav;

constexpr int kRate = audiotest::MonitorRecorder::kRate;

class SoundPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_TEST_SOUND_SERVER();
        ASSERT_EQ(audiotest::Run({"pactl", "set-sink-volume", "quirnel_test", "65536"}), 0);
        ASSERT_EQ(audiotest::Run({"pactl", "set-sink-mute", "quirnel_test", "0"}), 0);
        ASSERT_TRUE(m_recorder.Start());
    }

    // Runs the event loop until the player has sent Finished; the recording so far.
    std::vector<int16_t> RecordUntilFinished() {
        EXPECT_TRUE(RunEventsUntil([&] { return m_finished.count() > 0; }, 10000));
        RunEventsFor(300);
        return m_recorder.Stop();
    }

    // The sound server holds at most 30 ms of the playing sound ahead of the ear.
    void ExpectSmallServerBuffer() {
        RunEventsFor(150);
        const long latency = audiotest::BufferLatencyUs();
        EXPECT_GT(latency, 0);
        EXPECT_LE(latency, 30000);
    }

    TempDir m_dir;
    audiotest::MonitorRecorder m_recorder{m_dir.File("monitor.raw")};
    RecordingMessageSink m_messages;
    ScopedMessageSink m_guard{&m_messages};
    CSoundPlayer m_player;
    QSignalSpy m_finished{&m_player, &CSoundPlayer::Finished};
};

TEST_F(SoundPlayerTest, WholeFileIsReadAtPlayAndReachesTheServer) {
    const std::string path = m_dir.File("temp.wav");
    ASSERT_TRUE(WriteSineWav(path, 440, 10000, 0.8));
    m_player.Play(path);
    EXPECT_EQ(m_player.LastResult(), CSoundPlayer::PlayResult::Started);
    EXPECT_TRUE(m_player.IsPlaying());
    // The next synthesis overwrites the file while the old sound still plays.
    ASSERT_TRUE(WriteSineWav(path, 880, 10000, 0.2));
    ExpectSmallServerBuffer();
    const auto recording = RecordUntilFinished();
    EXPECT_FALSE(m_player.IsPlaying());
    EXPECT_EQ(m_finished.count(), 1);
    const auto span = LoudSpan(recording, kRate);
    EXPECT_NEAR(span.Duration(), 0.8, 0.1);
    EXPECT_NEAR(Frequency(recording, kRate, span.start, span.end), 440, 10);
    EXPECT_TRUE(m_messages.Messages().empty());
}

// Long enough that the server's buffer is still measured while it plays when starting
// pactl takes long on a busy machine.
TEST_F(SoundPlayerTest, StereoFloatFileAtItsOwnRate) {
    const std::string path = m_dir.File("stereo.wav");
    std::vector<double> samples;
    for (double s : audiotest::Sine(660, 48000, 1.5))
        samples.insert(samples.end(), {s, s});
    ASSERT_TRUE(audiotest::WriteWav(path, 48000, 2, audiotest::SampleFormat::Float32, samples));
    m_player.Play(path);
    ExpectSmallServerBuffer();
    EXPECT_TRUE(m_player.IsPlaying());
    const auto recording = RecordUntilFinished();
    const auto span = LoudSpan(recording, kRate);
    EXPECT_NEAR(span.Duration(), 1.5, 0.1);
    EXPECT_NEAR(Frequency(recording, kRate, span.start, span.end), 660, 10);
}

// Finished means the sound has been heard to its end: it never comes before the sound's
// length has passed since Play, whatever is still in the server's buffers.
TEST_F(SoundPlayerTest, FinishedNeverComesBeforeTheSoundsLengthHasPassed) {
    for (const double seconds : {0.02, 0.06, 0.4}) {
        SCOPED_TRACE(seconds);
        const std::string path = m_dir.File("tone.wav");
        ASSERT_TRUE(WriteSineWav(path, 440, 10000, seconds));
        QElapsedTimer clock;
        qint64 finishedNs = -1;
        const auto connection = QObject::connect(&m_player, &CSoundPlayer::Finished,
                                                 [&] { finishedNs = clock.nsecsElapsed(); });
        clock.start();
        m_player.Play(path);
        EXPECT_TRUE(RunEventsUntil([&] { return finishedNs >= 0; }, 10000));
        QObject::disconnect(connection);
        EXPECT_GE(finishedNs / 1e9, seconds);
        std::printf("%.0f ms sound: Finished after %.1f ms\n", 1000 * seconds, finishedNs / 1e6);
    }
}

// Down to a single millisecond, a sound reaches the server whole (its energy is heard).
TEST_F(SoundPlayerTest, ShortSoundsAreHeardWhole) {
    const double lengths[] = {0.001, 0.01, 0.05};
    std::vector<double> expected;
    for (double seconds : lengths) {
        const auto samples = audiotest::Sine(1000, 10000, seconds);
        const std::string path = m_dir.File(std::to_string(expected.size()) + ".wav");
        ASSERT_TRUE(audiotest::WriteWav(path, 10000, 1, audiotest::SampleFormat::Pcm16, samples));
        double energy = 0;
        for (double sample : samples)
            energy += sample * sample / 10000;
        expected.push_back(energy);
        m_player.Play(path);
        const int count = static_cast<int>(expected.size());
        ASSERT_TRUE(RunEventsUntil([&] { return m_finished.count() == count; }, 5000));
        RunEventsFor(200);
    }
    const auto recording = m_recorder.Stop();
    // The bursts lie at least 200 ms apart.
    std::vector<double> heard;
    double last = -1;
    for (size_t i = 0; i < recording.size(); ++i) {
        if (std::abs(recording[i]) < 1000)
            continue;
        const double at = static_cast<double>(i) / kRate;
        if (heard.empty() || at - last > 0.1)
            heard.push_back(audiotest::Energy(recording, kRate, at - 0.01, at + 0.1));
        last = at;
    }
    ASSERT_EQ(heard.size(), expected.size());
    for (size_t i = 0; i < heard.size(); ++i)
        EXPECT_NEAR(heard[i] / expected[i], 1.0, 0.25) << lengths[i] << " s";
}

// A new Play cuts the old sound off: at most 30 ms of it is heard after the second Play.
TEST_F(SoundPlayerTest, SecondPlayCutsOffTheFirst) {
    ASSERT_TRUE(WriteSineWav(m_dir.File("first.wav"), 440, 10000, 3.0));
    ASSERT_TRUE(WriteSineWav(m_dir.File("second.wav"), 880, 10000, 0.5, 0.15));
    QElapsedTimer clock;
    clock.start();
    m_player.Play(m_dir.File("first.wav"));
    RunEventsFor(500);
    m_player.Play(m_dir.File("second.wav"));
    const double between = clock.elapsed() / 1000.0;
    const auto recording = RecordUntilFinished();
    EXPECT_EQ(m_finished.count(), 1);
    // Only the first sound is louder than 8000; the second one is heard last.
    EXPECT_LE(LoudSpan(recording, kRate, 8000).Duration(), between + 0.035);
    const auto span = LoudSpan(recording, kRate);
    EXPECT_NEAR(Frequency(recording, kRate, span.start + 0.05, span.start + 0.2), 440, 15);
    EXPECT_NEAR(Frequency(recording, kRate, span.end - 0.3, span.end - 0.05), 880, 15);
}

TEST_F(SoundPlayerTest, StopSilencesAtOnceAndSendsNoFinished) {
    ASSERT_TRUE(WriteSineWav(m_dir.File("long.wav"), 440, 10000, 3.0));
    QElapsedTimer clock;
    clock.start();
    m_player.Play(m_dir.File("long.wav"));
    RunEventsFor(400);
    m_player.Stop();
    const double played = clock.elapsed() / 1000.0;
    EXPECT_FALSE(m_player.IsPlaying());
    RunEventsFor(1000);
    EXPECT_EQ(m_finished.count(), 0);
    EXPECT_LE(LoudSpan(m_recorder.Stop(), kRate).Duration(), played + 0.035);
}

// The small buffer does not run dry on a loaded machine: three seconds without a gap. A
// feeder the busy cores can starve leaves gaps of 40 ms and more; a busy machine outside
// the player's reach can still delay the server by a few milliseconds once in a while, so
// the sound may take at most 20 ms longer than it lasts, with at most 20 ms unheard.
TEST_F(SoundPlayerTest, NoDropoutWithEveryCoreBusy) {
    ASSERT_TRUE(WriteSineWav(m_dir.File("long.wav"), 440, 10000, 3.0));
    std::vector<int16_t> recording;
    {
        audiotest::BusyCores busy;
        m_player.Play(m_dir.File("long.wav"));
        recording = RecordUntilFinished();
    }
    const auto span = LoudSpan(recording, kRate);
    EXPECT_GE(span.end - span.start, 2.99);
    EXPECT_LE(span.end - span.start, 3.02);
    EXPECT_GE(span.heard, span.end - span.start - 0.02);
    std::printf("3 s under load: heard over %.4f s, %.4f s of it heard, %d underruns\n",
                span.end - span.start, span.heard, m_player.Underruns());
}

// Listening at the same time (the sink's monitor is the default input, so the listener
// records and analyses this very sound) leaves the playback as whole as a busy machine does.
TEST_F(SoundPlayerTest, NoDropoutWhileListening) {
    ASSERT_TRUE(WriteSineWav(m_dir.File("long.wav"), 440, 10000, 3.0));
    CLiveListener listener([](const LiveFrame&) {});
    ASSERT_EQ(listener.Start(), CLiveInput::Result::Recording);
    m_player.Play(m_dir.File("long.wav"));
    const auto recording = RecordUntilFinished();
    listener.Stop();
    const auto span = LoudSpan(recording, kRate);
    EXPECT_GE(span.end - span.start, 2.99);
    EXPECT_LE(span.end - span.start, 3.02);
    EXPECT_GE(span.heard, span.end - span.start - 0.02);
}

TEST_F(SoundPlayerTest, MissingOrBrokenFilePlaysNothingAndShowsNothing) {
    m_player.Play(m_dir.File("missing.wav"));
    EXPECT_EQ(m_player.LastResult(), CSoundPlayer::PlayResult::NotDecoded);
    const std::string broken = m_dir.File("broken.wav");
    std::ofstream(broken, std::ios::binary) << "RIFF0000WAVEnot a sound";
    m_player.Play(broken);
    EXPECT_EQ(m_player.LastResult(), CSoundPlayer::PlayResult::NotDecoded);
    EXPECT_FALSE(m_player.IsPlaying());
    RunEventsFor(300);
    EXPECT_EQ(LoudSpan(m_recorder.Stop(), kRate).Duration(), 0);
    EXPECT_TRUE(m_messages.Messages().empty());
}

} // namespace

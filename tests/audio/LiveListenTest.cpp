// Live listening through the private test server: the engine's vowels are played into its
// null sink, whose monitor is the default input, and the listener's frames are compared with
// the vowels' formants. Nothing here is timed: an analysis that falls behind under load only
// delivers later, and Finish waits for all of it.
#include "audio/SoundFile.h"
#include "audio/SoundPlayer.h"
#include "listening/LiveListener.h"
#include "stimuli/VowelStimulus.h"

#include "AudioTestSupport.h"
#include "SilentServerProxy.h"
#include "TempDir.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <mutex>
#include <sstream>
#include <sys/stat.h>

namespace {

using audiotest::RunCli;

// Renders a vowel of the bundled man's voice (a glide when end is given) into a WAV file.
std::string WriteVowel(const TempDir& dir, const std::string& name, int f1, int f2, int f1End = 0,
                       int f2End = 0) {
    VowelStimulus stimulus;
    stimulus.voiceFile = QUIRNEL_DATA_DIR "/Dat/01-male.dat";
    stimulus.frameMs = 200;
    stimulus.f1 = f1;
    stimulus.f2 = f2;
    stimulus.f1End = f1End;
    stimulus.f2End = f2End;
    RenderedVowel rendered;
    EXPECT_EQ(RenderStimulus(stimulus, rendered), "");
    std::vector<double> samples(rendered.pcm16.begin(), rendered.pcm16.end());
    for (double& s : samples)
        s /= 32768;
    const std::string path = dir.File(name);
    EXPECT_TRUE(
        audiotest::WriteWav(path, kRenderedRate, 1, audiotest::SampleFormat::Pcm16, samples));
    return path;
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

class LiveListenTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_TEST_SOUND_SERVER();
        ASSERT_EQ(audiotest::Run({"pactl", "set-sink-volume", "quirnel_test", "65536"}), 0);
        ASSERT_EQ(audiotest::Run({"pactl", "set-sink-mute", "quirnel_test", "0"}), 0);
        ASSERT_EQ(m_listener.Start(), CLiveInput::Result::Recording);
    }

    // Plays the file to its end (and a little silence after it), then waits until every
    // frame recorded so far has been analysed.
    void PlayAndFinish(const std::string& path) {
        QSignalSpy finished(&m_player, &CSoundPlayer::Finished);
        audiotest::RunEventsFor(200);
        m_player.Play(path);
        ASSERT_EQ(m_player.LastResult(), CSoundPlayer::PlayResult::Started);
        EXPECT_TRUE(audiotest::RunEventsUntil([&] { return finished.count() > 0; }, 20000));
        audiotest::RunEventsFor(300);
        m_listener.Finish();
    }

    std::vector<FormantFrame> Voiced() {
        std::lock_guard lock(m_lock);
        std::vector<FormantFrame> voiced;
        for (const LiveFrame& frame : m_frames)
            if (frame.formants.voiced)
                voiced.push_back(frame.formants);
        return voiced;
    }

    TempDir m_dir;
    std::mutex m_lock;
    std::vector<LiveFrame> m_frames;
    CSoundPlayer m_player;
    CLiveListener m_listener{[this](const LiveFrame& frame) {
        std::lock_guard lock(m_lock);
        m_frames.push_back(frame);
    }};
};

// A steady vowel lands within 5 % of its F1 and F2; its take holds the voiced stretch with
// its margins and measures the same from the file.
TEST_F(LiveListenTest, SteadyVowelAndItsTake) {
    PlayAndFinish(WriteVowel(m_dir, "a.wav", 700, 1200));
    const std::vector<FormantFrame> voiced = Voiced();
    ASSERT_GT(voiced.size(), 50u);
    std::vector<double> f1, f2;
    for (const FormantFrame& frame : voiced) {
        f1.push_back(frame.formantsHz[0]);
        f2.push_back(frame.formantsHz[1]);
    }
    EXPECT_NEAR(Median(f1), 700, 35);
    EXPECT_NEAR(Median(f2), 1200, 60);

    std::string path, again;
    ASSERT_TRUE(m_listener.KeepLastTake(m_dir.Path(), path, 86400).Ok());
    ASSERT_TRUE(m_listener.KeepLastTake(m_dir.Path(), again, 86400).Ok());
    EXPECT_NE(path, again); // the same second: a second file, the first kept
    EXPECT_EQ(path, m_dir.File(TakeFileName(86400)));
    DecodedSound take;
    ASSERT_TRUE(DecodeSoundFile(path, take));
    EXPECT_EQ(take.sampleRate, CLiveInput::kRate);
    const double stretchS = voiced.back().timeS - voiced.front().timeS;
    EXPECT_NEAR(static_cast<double>(take.samples.size()) / take.sampleRate, stretchS + 0.2, 0.02);
    // The analyser is slow in a sanitized build: the wait is long.
    const pid_t measure =
        audiotest::Spawn({audiotest::kCliProgram, "measure", path}, m_dir.File("measure.txt"));
    ASSERT_EQ(audiotest::WaitAtMost(measure, 240000), 0);
    const std::string out = audiotest::ReadFile(m_dir.File("measure.txt"));
    double f0 = 0, takeF1 = 0, takeF2 = 0;
    ASSERT_EQ(std::sscanf(out.substr(out.find('\n') + 1 + path.size()).c_str(), ",%lf,%lf,%lf", &f0,
                          &takeF1, &takeF2),
              3)
        << out;
    EXPECT_NEAR(takeF1, 700, 35);
    EXPECT_NEAR(takeF2, 1200, 60);
}

// A glide's trace runs from its start to its end, in order.
TEST_F(LiveListenTest, GlideTraceRunsInOrder) {
    PlayAndFinish(WriteVowel(m_dir, "glide.wav", 300, 2200, 700, 1100));
    const std::vector<FormantFrame> voiced = Voiced();
    ASSERT_GT(voiced.size(), 50u);
    // The medians of four successive quarters: F1 rises and F2 falls throughout.
    std::vector<double> f1, f2;
    for (int q = 0; q < 4; ++q) {
        std::vector<double> a, b;
        for (size_t i = q * voiced.size() / 4; i < (q + 1) * voiced.size() / 4; ++i) {
            a.push_back(voiced[i].formantsHz[0]);
            b.push_back(voiced[i].formantsHz[1]);
        }
        f1.push_back(Median(a));
        f2.push_back(Median(b));
    }
    for (int q = 1; q < 4; ++q) {
        EXPECT_GT(f1[q], f1[q - 1]);
        EXPECT_LT(f2[q], f2[q - 1]);
    }
    // The ends: the engine's five frames glide 4/5 of the way, to F2 = 1320 Hz. Each end is
    // the median of its five outermost frames, so that one frame read in the onset or in the
    // end fade does not stand for it.
    std::vector<double> first, last;
    for (size_t i = 0; i < 5; ++i) {
        first.push_back(voiced[i].formantsHz[1]);
        last.push_back(voiced[voiced.size() - 1 - i].formantsHz[1]);
    }
    EXPECT_NEAR(Median(first), 2200, 110);
    EXPECT_NEAR(Median(last), 1320, 66);
}

// Silence, and the program's own sound while listening is paused, give no voiced frame and
// leave no take.
TEST_F(LiveListenTest, SilenceAndPausedListeningGiveNothing) {
    m_listener.SetPaused(true);
    PlayAndFinish(WriteVowel(m_dir, "a.wav", 700, 1200));
    EXPECT_GT(m_frames.size(), 100u);
    EXPECT_TRUE(Voiced().empty());
    std::string path;
    EXPECT_FALSE(m_listener.KeepLastTake(m_dir.Path(), path).Ok());
    struct stat info;
    EXPECT_NE(stat(path.c_str(), &info), 0);
}

// quirnel-cli listen prints measure's track rows as they come, and ends after --seconds with
// status 0; without a server or an input it says so and fails.
TEST(CliListen, TrackRowsAndMissingMicrophone) {
    REQUIRE_TEST_SOUND_SERVER();
    TempDir dir;
    const std::string vowel = WriteVowel(dir, "a.wav", 700, 1200);
    const pid_t listen =
        audiotest::Spawn({audiotest::kCliProgram, "listen", "--seconds", "2.5", "--track"},
                         dir.File("out.txt"), dir.File("err.txt"));
    ASSERT_NE(listen, 0);
    audiotest::RunEventsFor(300);
    CSoundPlayer player;
    player.Play(vowel);
    EXPECT_EQ(audiotest::WaitAtMost(listen, 120000), 0) << audiotest::ReadFile(dir.File("err.txt"));
    std::istringstream lines(audiotest::ReadFile(dir.File("out.txt")));
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "file,time_s,f0_hz,f1_hz,f2_hz,f3_hz,b1_hz,b2_hz,b3_hz,f1_uncertain");
    int rows = 0;
    std::vector<double> f1;
    while (std::getline(lines, line)) {
        ++rows;
        double time = 0, f0 = 0, f = 0;
        if (std::sscanf(line.c_str(), "live,%lf,%lf,%lf", &time, &f0, &f) == 3)
            f1.push_back(f);
    }
    EXPECT_LE(rows, 250);
    ASSERT_GT(f1.size(), 50u);
    EXPECT_NEAR(Median(f1), 700, 35);

    std::string err;
    audiotest::ChildEnvironment noServer({"PULSE_SERVER=unix:" + dir.File("no-such-socket")});
    EXPECT_EQ(RunCli(dir, {"listen", "--seconds", "1"}, nullptr, &err, noServer.Get()), 1);
    EXPECT_NE(err.find("No microphone found: no sound server"), std::string::npos) << err;
    audiotest::ChildEnvironment noSource({"PULSE_SOURCE=no_such_input"});
    EXPECT_EQ(RunCli(dir, {"listen", "--seconds", "1"}, nullptr, &err, noSource.Get()), 1);
    EXPECT_NE(err.find("No microphone found: the sound server has no input"), std::string::npos)
        << err;
    EXPECT_EQ(RunCli(dir, {"listen", "--seconds", "0"}, nullptr, &err), 2);
    EXPECT_EQ(RunCli(dir, {"listen", "--seconds", "86401"}, nullptr, &err), 2);
    EXPECT_EQ(RunCli(dir, {"listen", "--seconds", "0.05"}, nullptr, &err), 0) << err;
}

// A server that stops answering after the handshake gives the message, not a hang.
TEST(CliListen, SilentServerGivesTheMessage) {
    REQUIRE_TEST_SOUND_SERVER();
    const std::string server = std::getenv("PULSE_SERVER") ? std::getenv("PULSE_SERVER") : "";
    if (server.rfind("unix:", 0) != 0)
        GTEST_SKIP() << "PULSE_SERVER does not name the test server's socket";
    TempDir dir;
    audiotest::SilentServerChild silent(dir.Path(), server.substr(5));
    std::string err;
    EXPECT_EQ(RunCli(dir, {"listen", "--seconds", "1"}, nullptr, &err, silent.Env()), 1) << err;
    EXPECT_NE(err.find("No microphone found: the sound server does not answer"), std::string::npos)
        << err;
}

// The take: the last stretch of voiced frames less than 0.3 s apart, 0.1 s more on each
// side, at most 10 s (its end kept).
TEST(TakeBuffer, LastVoicedStretchWithMargins) {
    CTakeBuffer take(1000);
    EXPECT_TRUE(take.LastTake().empty());
    std::vector<float> ramp(30000);
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<float>(i) / 30000;
    take.AddSamples(ramp.data(), 3000);
    take.AddVoicedFrame(1.0);
    take.AddVoicedFrame(2.0); // more than 0.3 s later: a new stretch
    take.AddVoicedFrame(2.29);
    take.AddVoicedFrame(2.5);
    std::vector<float> last = take.LastTake();
    ASSERT_EQ(last.size(), 700u);
    EXPECT_FLOAT_EQ(last.front(), ramp[1900]);
    EXPECT_FLOAT_EQ(last.back(), ramp[2599]);
    take.AddSamples(ramp.data() + 3000, 18000);
    for (double t = 3; t <= 20; t += 0.25)
        take.AddVoicedFrame(t);
    last = take.LastTake();
    ASSERT_EQ(last.size(), 10000u);
    EXPECT_FLOAT_EQ(last.back(), ramp[20099]);
    // The end's margin not yet recorded: the take ends with the sound there is.
    take.AddSamples(ramp.data() + 21000, 9000);
    take.AddVoicedFrame(29.95);
    EXPECT_EQ(take.LastTake().size(), 150u);
}

} // namespace

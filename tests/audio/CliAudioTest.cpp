// quirnel-cli play and volume, run as the user runs them.
#include "AudioTestSupport.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using audiotest::RunCli;

TEST(CliAudio, BadArgumentsAndUnplayableFiles) {
    TempDir dir;
    EXPECT_EQ(RunCli(dir, {"play"}), 2);
    EXPECT_EQ(RunCli(dir, {"play", "a.wav", "b.wav"}), 2);
    EXPECT_EQ(RunCli(dir, {"volume", "louder"}), 2);
    EXPECT_EQ(RunCli(dir, {"volume", "set"}), 2);
    std::ofstream(dir.File("text.wav")) << "not a sound";
    EXPECT_EQ(RunCli(dir, {"play", dir.File("text.wav")}), 1);
    EXPECT_EQ(RunCli(dir, {"play", dir.File("missing.wav")}), 1);
    // Neither a pipe (reading it would wait for a writer), a folder nor a device is read.
    ASSERT_EQ(mkfifo(dir.File("pipe.wav").c_str(), 0600), 0);
    std::string err;
    EXPECT_EQ(RunCli(dir, {"play", dir.File("pipe.wav")}, nullptr, &err), 1);
    EXPECT_NE(err.find("not a regular file"), std::string::npos) << err;
    EXPECT_EQ(RunCli(dir, {"play", dir.Path()}, nullptr, &err), 1);
    EXPECT_NE(err.find("is a folder"), std::string::npos) << err;
    EXPECT_EQ(RunCli(dir, {"play", "/dev/zero"}, nullptr, &err), 1);
    EXPECT_NE(err.find("not a regular file"), std::string::npos) << err;
    // A 2 Hz sound would wait minutes for the silence after it: below 1000 Hz is refused.
    ASSERT_TRUE(audiotest::WriteSineWav(dir.File("low.wav"), 100, 999, 0.5));
    EXPECT_EQ(RunCli(dir, {"play", dir.File("low.wav")}, nullptr, &err), 1);
    EXPECT_NE(err.find("low.wav\" has a sample rate of 999 Hz"), std::string::npos) << err;
    ASSERT_TRUE(audiotest::WriteSineWav(dir.File("lowest.wav"), 100, 1000, 0.1));
    RunCli(dir, {"play", dir.File("lowest.wav")}, nullptr, &err);
    EXPECT_EQ(err.find("sample rate"), std::string::npos) << err;
}

TEST(CliAudio, VolumeAndPlayOnTheTestServer) {
    REQUIRE_TEST_SOUND_SERVER();
    TempDir dir;
    ASSERT_EQ(RunCli(dir, {"volume", "set", "30000"}), 0);
    ASSERT_EQ(RunCli(dir, {"volume", "mute"}), 0);
    std::string out;
    EXPECT_EQ(RunCli(dir, {"volume", "get"}, &out), 0);
    EXPECT_EQ(out, "volume: 30000\nrange: 0..65536 (65536 steps)\nmuted: yes\n");
    EXPECT_EQ(RunCli(dir, {"volume", "set", "65537"}), 2);
    ASSERT_EQ(RunCli(dir, {"volume", "unmute"}), 0);
    ASSERT_EQ(RunCli(dir, {"volume", "set", "65536"}), 0);
    EXPECT_EQ(RunCli(dir, {"volume"}, &out), 0);
    EXPECT_EQ(out, "volume: 65536\nrange: 0..65536 (65536 steps)\nmuted: no\n");

    // play returns once the sound has ended.
    ASSERT_TRUE(audiotest::WriteSineWav(dir.File("temp.wav"), 440, 10000, 0.5));
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(RunCli(dir, {"play", dir.File("temp.wav")}), 0);
    EXPECT_GE(clock.elapsed(), 500);
}

// play closes its connection to the server before Qt goes, and exits 0 every time, also
// with every core busy (it used to abort now and then in libpulse's thread at exit).
TEST(CliAudio, PlayExitsCleanlyEveryTime) {
    REQUIRE_TEST_SOUND_SERVER();
    TempDir dir;
    ASSERT_TRUE(audiotest::WriteSineWav(dir.File("click.wav"), 440, 10000, 0.005));
    // Someone listening keeps the null sink at a small latency, as a sound card has it.
    audiotest::MonitorRecorder listener(dir.File("monitor.raw"));
    ASSERT_TRUE(listener.Start());
    audiotest::BusyCores busy;
    std::vector<int> failures;
    for (int run = 0; run < 40; ++run)
        if (const int status = RunCli(dir, {"play", dir.File("click.wav")}); status != 0)
            failures.push_back(status);
    EXPECT_TRUE(failures.empty()) << failures.size() << " runs failed, the first with "
                                  << failures.front();
}

} // namespace

// quirnel-cli play and volume, run as the user runs them.
#include "AudioTestSupport.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

// The command's exit status; its standard output goes to out.
int RunCli(const TempDir& dir, std::vector<std::string> args, std::string* out = nullptr) {
    args.insert(args.begin(), QUIRNEL_BINARY_DIR "/tools/quirnel-cli/quirnel-cli");
    const int status = audiotest::Run(args, dir.File("out.txt"));
    if (out)
        *out = audiotest::ReadFile(dir.File("out.txt"));
    return status;
}

TEST(CliAudio, BadArgumentsAndUndecodableFiles) {
    TempDir dir;
    EXPECT_EQ(RunCli(dir, {"play"}), 2);
    EXPECT_EQ(RunCli(dir, {"play", "a.wav", "b.wav"}), 2);
    EXPECT_EQ(RunCli(dir, {"volume", "louder"}), 2);
    EXPECT_EQ(RunCli(dir, {"volume", "set"}), 2);
    std::ofstream(dir.File("text.wav")) << "not a sound";
    EXPECT_EQ(RunCli(dir, {"play", dir.File("text.wav")}), 1);
    EXPECT_EQ(RunCli(dir, {"play", dir.File("missing.wav")}), 1);
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

} // namespace

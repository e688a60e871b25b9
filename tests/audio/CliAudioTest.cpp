// quirnel-cli play and volume, run as the user runs them.
#include "AudioTestSupport.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

const std::string kCli = QUIRNEL_BINARY_DIR "/tools/quirnel-cli/quirnel-cli";

struct CliRun {
    int status = -1;
    std::string out;
};

CliRun RunCli(const TempDir& dir, const std::vector<std::string>& args) {
    std::vector<std::string> command = {kCli};
    command.insert(command.end(), args.begin(), args.end());
    CliRun run;
    run.status = audiotest::Run(command, dir.File("out.txt"));
    run.out = audiotest::ReadFile(dir.File("out.txt"));
    return run;
}

TEST(CliAudio, BadArgumentsAndUndecodableFiles) {
    TempDir dir;
    EXPECT_EQ(RunCli(dir, {"play"}).status, 2);
    EXPECT_EQ(RunCli(dir, {"play", "a.wav", "b.wav"}).status, 2);
    EXPECT_EQ(RunCli(dir, {"volume", "louder"}).status, 2);
    EXPECT_EQ(RunCli(dir, {"volume", "set"}).status, 2);
    EXPECT_EQ(RunCli(dir, {"volume", "get", "extra"}).status, 2);
    const std::string text = dir.File("text.wav");
    std::ofstream(text) << "not a sound";
    EXPECT_EQ(RunCli(dir, {"play", text}).status, 1);
    EXPECT_EQ(RunCli(dir, {"play", dir.File("missing.wav")}).status, 1);
}

TEST(CliAudio, VolumeOnTheTestServer) {
    REQUIRE_TEST_SOUND_SERVER();
    TempDir dir;
    ASSERT_EQ(RunCli(dir, {"volume", "set", "30000"}).status, 0);
    ASSERT_EQ(RunCli(dir, {"volume", "mute"}).status, 0);
    CliRun get = RunCli(dir, {"volume", "get"});
    EXPECT_EQ(get.status, 0);
    EXPECT_EQ(get.out, "volume: 30000\nrange: 0..65536 (65536 steps)\nmuted: yes\n");
    EXPECT_EQ(RunCli(dir, {"volume", "set", "65537"}).status, 2);
    ASSERT_EQ(RunCli(dir, {"volume", "unmute"}).status, 0);
    ASSERT_EQ(RunCli(dir, {"volume", "set", "65536"}).status, 0);
    get = RunCli(dir, {"volume"});
    EXPECT_EQ(get.out, "volume: 65536\nrange: 0..65536 (65536 steps)\nmuted: no\n");
}

TEST(CliAudio, PlayWaitsUntilTheSoundHasEnded) {
    REQUIRE_TEST_SOUND_SERVER();
    TempDir dir;
    const std::string path = dir.File("temp.wav");
    ASSERT_TRUE(audiotest::WriteSineWav(path, 440, 10000, 0.5));
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(RunCli(dir, {"play", path}).status, 0);
    EXPECT_GE(clock.elapsed(), 500);
}

} // namespace

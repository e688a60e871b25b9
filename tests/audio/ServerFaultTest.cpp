// When the sound server goes away while the program runs, the player ends the sound with
// BrokenOff and the volume control turns unavailable; neither crashes nor hangs. A child
// process plays against a private server of its own that the parent stops midway.
#include "audio/QtSoundPlayer.h"
#include "audio/WaveOutVolumeCtrl.h"

#include "AudioTestSupport.h"
#include "TempDir.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

const char kChildMarker[] = "QUIRNEL_SERVER_LOSS_CHILD";

TEST(ServerLossChild, PlayerAndVolumeControlNoticeTheLoss) {
    const char* wav = std::getenv(kChildMarker);
    if (!wav)
        GTEST_SKIP() << "runs only as the child of ServerLoss.IsSurvived";
    CWaveOutVolumeCtrl control;
    ASSERT_TRUE(control.IsAvailable());
    CSoundPlayer player;
    QSignalSpy finished(&player, &CSoundPlayer::Finished);
    player.Play(wav);
    ASSERT_EQ(player.LastResult(), CSoundPlayer::PlayResult::Started);
    std::printf("playing\n");
    std::fflush(stdout);
    ASSERT_TRUE(audiotest::RunEventsUntil([&] { return finished.count() > 0; }, 15000));
    EXPECT_EQ(player.LastResult(), CSoundPlayer::PlayResult::BrokenOff);
    EXPECT_FALSE(player.IsPlaying());
    audiotest::RunEventsFor(300);
    EXPECT_FALSE(control.IsAvailable());
    EXPECT_EQ(control.GetVolume(), -1);
    control.SetVolume(0);
    control.Deactivate();
    player.Play(wav);
    EXPECT_NE(player.LastResult(), CSoundPlayer::PlayResult::Started);
}

TEST(ServerLoss, IsSurvived) {
    if (audiotest::Run({"which", "pulseaudio"}) != 0)
        GTEST_SKIP() << "pulseaudio is not installed";
    TempDir dir;
    const std::string socket = dir.File("native");
    const std::vector<std::string> serverArgs = {
        "env",
        "-u",
        "DISPLAY",
        "-u",
        "DBUS_SESSION_BUS_ADDRESS",
        "HOME=" + dir.Path(),
        "XDG_RUNTIME_DIR=" + dir.Path(),
        "pulseaudio",
        "-n",
        "--daemonize=no",
        "--use-pid-file=no",
        "--exit-idle-time=-1",
        "--load=module-null-sink sink_name=loss",
        "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket};
    const pid_t server = audiotest::Spawn(serverArgs);
    ASSERT_NE(server, 0);
    ASSERT_TRUE(
        audiotest::RunEventsUntil([&] { return access(socket.c_str(), F_OK) == 0; }, 10000));
    ASSERT_TRUE(audiotest::WriteSineWav(dir.File("long.wav"), 440, 10000, 8.0));

    std::vector<std::string> env = {"PULSE_SERVER=unix:" + socket,
                                    std::string(kChildMarker) + "=" + dir.File("long.wav")};
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "PULSE_SERVER=", 13) != 0)
            env.emplace_back(*e);
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    const pid_t child = audiotest::Spawn({"/proc/self/exe", "--gtest_filter=ServerLossChild.*"},
                                         dir.File("out.txt"), "/dev/null", envp.data());
    ASSERT_NE(child, 0);
    const bool playing = audiotest::RunEventsUntil(
        [&] {
            return audiotest::ReadFile(dir.File("out.txt")).find("playing\n") != std::string::npos;
        },
        15000);
    kill(server, SIGTERM);
    audiotest::Wait(server);
    const int status = audiotest::Wait(child);
    const std::string output = audiotest::ReadFile(dir.File("out.txt"));
    EXPECT_TRUE(playing) << output;
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

} // namespace

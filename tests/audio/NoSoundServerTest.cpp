// Without a sound server the player and the volume control fail quietly and quickly. The
// checks run in a child process whose PulseAudio clients point at a socket that does not
// exist, since the sound libraries keep their view of the server for the whole process.
#include "audio/QtSoundPlayer.h"
#include "audio/WaveOutVolumeCtrl.h"

#include "AudioTestSupport.h"
#include "TempDir.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const char kChildMarker[] = "QUIRNEL_NO_SERVER_CHILD";

bool HasSoundCard() {
    return access("/dev/snd/controlC0", F_OK) == 0;
}

TEST(NoSoundServerChild, PlayerAndVolumeControlDoNothing) {
    if (!std::getenv(kChildMarker))
        GTEST_SKIP() << "runs only as the child of NoSoundServer.FailsQuietlyAndQuickly";
    TempDir dir;
    const std::string path = dir.File("temp.wav");
    ASSERT_TRUE(audiotest::WriteSineWav(path, 440, 10000, 0.5));

    CSoundPlayer player;
    player.Play(path);
    EXPECT_EQ(player.LastResult(), CSoundPlayer::PlayResult::NoOutput);
    EXPECT_FALSE(player.IsPlaying());
    player.Stop();

    if (HasSoundCard())
        return; // ALSA's "default" is then the card itself
    CWaveOutVolumeCtrl control;
    EXPECT_FALSE(control.IsAvailable());
    EXPECT_EQ(control.GetMinimum(), -1);
    EXPECT_EQ(control.GetMaximum(), -1);
    EXPECT_EQ(control.GetSteps(), -1);
    EXPECT_EQ(control.GetVolume(), -1);
    EXPECT_FALSE(control.IsMuted());
    control.SetVolume(0);
    control.Activate();
    control.Deactivate();
    control.RestoreInitialState();
    EXPECT_FALSE(control.HasActivationState());
}

TEST(NoSoundServer, FailsQuietlyAndQuickly) {
    TempDir dir;
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "PULSE_SERVER=", 13) != 0)
            env.emplace_back(*e);
    env.push_back("PULSE_SERVER=unix:" + dir.File("no-such-socket"));
    env.push_back(std::string(kChildMarker) + "=1");
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    const std::string out = dir.File("out.txt");
    const std::string err = dir.File("err.txt");
    std::vector<std::string> args = {"/proc/self/exe", "--gtest_filter=NoSoundServerChild.*"};
    std::vector<char*> argv = {args[0].data(), args[1].data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT, 0644);
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    const qint64 elapsed = clock.elapsed();

    const std::string output = audiotest::ReadFile(out);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
    EXPECT_EQ(audiotest::ReadFile(err), "");
    EXPECT_LT(elapsed, 5000);
}

} // namespace

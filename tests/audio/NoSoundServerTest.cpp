// Without a sound server the player and the volume control fail quietly and quickly. The
// checks run in a child process whose PulseAudio clients point at a socket that does not
// exist, since the sound libraries keep their view of the server for the whole process.
#include "audio/SoundFile.h"
#include "audio/SoundPlayer.h"
#include "audio/WaveOutVolumeCtrl.h"

#include "AudioTestSupport.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

const char kChildMarker[] = "QUIRNEL_NO_SERVER_CHILD";

TEST(NoSoundServerChild, PlayerAndVolumeControlDoNothing) {
    if (!std::getenv(kChildMarker))
        GTEST_SKIP() << "runs only as the child of NoSoundServer.FailsQuietlyAndQuickly";
    TempDir dir;
    ASSERT_TRUE(audiotest::WriteSineWav(dir.File("temp.wav"), 440, 10000, 0.5));
    CSoundPlayer player;
    player.Play(dir.File("temp.wav"));
    EXPECT_EQ(player.LastResult(), CSoundPlayer::PlayResult::NoOutput);
    EXPECT_FALSE(player.IsPlaying());

    if (access("/dev/snd/controlC0", F_OK) == 0)
        return; // ALSA's "default" is then the sound card itself
    CWaveOutVolumeCtrl control;
    EXPECT_FALSE(control.IsAvailable());
    EXPECT_EQ(control.GetMinimum(), -1);
    EXPECT_EQ(control.GetMaximum(), -1);
    EXPECT_EQ(control.GetSteps(), -1);
    EXPECT_EQ(control.GetVolume(), -1);
    control.SetVolume(0);
    control.Activate();
    control.Deactivate();
    EXPECT_FALSE(control.IsMuted());
    EXPECT_FALSE(control.HasActivationState());
}

TEST(NoSoundServer, FailsQuietlyAndQuickly) {
    TempDir dir;
    audiotest::ChildEnvironment env(
        {"PULSE_SERVER=unix:" + dir.File("no-such-socket"), std::string(kChildMarker) + "=1"});
    QElapsedTimer clock;
    clock.start();
    const int status =
        audiotest::Wait(audiotest::Spawn({"/proc/self/exe", "--gtest_filter=NoSoundServerChild.*"},
                                         dir.File("out.txt"), dir.File("err.txt"), env.Get()));
    const qint64 elapsed = clock.elapsed();
    const std::string output = audiotest::ReadFile(dir.File("out.txt"));
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
    EXPECT_EQ(audiotest::ReadFile(dir.File("err.txt")), "");
    EXPECT_LT(elapsed, 5000);
}

// Without a server, play of a long file gives up before it decodes anything (formerly it
// decoded a quarter of a gigabyte of float samples first, twice).
TEST(NoSoundServer, PlayOfALongFileDecodesNothing) {
    TempDir dir;
    const std::string path = dir.File("long.wav");
    ASSERT_TRUE(audiotest::WriteSilentWav(path, 48000, 1, audiotest::SampleFormat::Float32,
                                          kMaxSoundSamples));
    audiotest::ChildEnvironment env({"PULSE_SERVER=unix:" + dir.File("no-such-socket")});
    const pid_t pid = audiotest::Spawn({audiotest::kCliProgram, "play", path}, "/dev/null",
                                       dir.File("err.txt"), env.Get());
    int status = 0;
    rusage usage{};
    ASSERT_EQ(wait4(pid, &status, 0, &usage), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
    EXPECT_NE(audiotest::ReadFile(dir.File("err.txt")).find("no sound output"), std::string::npos);
    // Decoding would take 256 MB of float samples; the program itself (under the
    // sanitizers) takes about 100 MB.
    EXPECT_LT(usage.ru_maxrss, 160 * 1024); // kB
}

} // namespace

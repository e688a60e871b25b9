// The volume control against the private test sound server ("Master" is its null sink).
#include "audio/WaveOutVolumeCtrl.h"

#include "AudioTestSupport.h"

#include <gtest/gtest.h>

namespace {

using audiotest::Run;
using audiotest::RunEventsUntil;

void SetSinkVolume(int volume) {
    ASSERT_EQ(Run({"pactl", "set-sink-volume", "quirnel_test", std::to_string(volume)}), 0);
}

void SetSinkMute(bool muted) {
    ASSERT_EQ(Run({"pactl", "set-sink-mute", "quirnel_test", muted ? "1" : "0"}), 0);
}

// Every test starts from a known line (full volume, not muted) and leaves it so.
class VolumeCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_TEST_SOUND_SERVER();
        SetSinkVolume(65536);
        SetSinkMute(false);
    }
    void TearDown() override {
        if (!IsSkipped()) {
            SetSinkVolume(65536);
            SetSinkMute(false);
        }
    }
};

struct CallbackLog {
    static std::vector<std::pair<int, int>> calls;
    static void Record(int volume, int user) { calls.emplace_back(volume, user); }
};
std::vector<std::pair<int, int>> CallbackLog::calls;

TEST_F(VolumeCtrlTest, FindsTheMasterLineWithItsRange) {
    CWaveOutVolumeCtrl control;
    ASSERT_TRUE(control.IsAvailable());
    EXPECT_EQ(control.GetMinimum(), 0);
    EXPECT_EQ(control.GetMaximum(), 65536);
    EXPECT_EQ(control.GetSteps(), 65536);
    EXPECT_EQ(control.GetVolume(), 65536);
    EXPECT_FALSE(control.IsMuted());
}

TEST_F(VolumeCtrlTest, SetVolumeStaysWithinTheRange) {
    CWaveOutVolumeCtrl control;
    ASSERT_TRUE(control.IsAvailable());
    control.SetVolume(30000);
    EXPECT_EQ(control.GetVolume(), 30000);
    control.SetVolume(65537);
    EXPECT_EQ(control.GetVolume(), 30000);
    control.SetVolume(static_cast<unsigned>(-1));
    EXPECT_EQ(control.GetVolume(), 30000);
    control.SetVolume(65536);
    EXPECT_EQ(control.GetVolume(), 65536);
    control.SetVolume(0);
    EXPECT_EQ(control.GetVolume(), 0);
    // The server itself sees the change on every channel.
    CWaveOutVolumeCtrl other;
    EXPECT_EQ(other.GetVolume(), 0);
}

TEST_F(VolumeCtrlTest, ActivateAndDeactivateSwitchMuteButNotTheVolume) {
    CWaveOutVolumeCtrl control;
    ASSERT_TRUE(control.IsAvailable());
    control.SetVolume(20000);
    control.Deactivate();
    EXPECT_TRUE(control.IsMuted());
    EXPECT_EQ(control.GetVolume(), 20000);
    control.Activate();
    EXPECT_FALSE(control.IsMuted());
    EXPECT_EQ(control.GetVolume(), 20000);
}

TEST_F(VolumeCtrlTest, SeesChangesMadeByOthers) {
    CWaveOutVolumeCtrl control;
    ASSERT_TRUE(control.IsAvailable());
    SetSinkVolume(12345);
    SetSinkMute(true);
    EXPECT_TRUE(RunEventsUntil([&] { return control.GetVolume() == 12345; }, 3000));
    EXPECT_TRUE(control.IsMuted());
}

TEST_F(VolumeCtrlTest, ChangeFromOutsideReachesTheCallback) {
    CWaveOutVolumeCtrl control;
    ASSERT_TRUE(control.IsAvailable());
    CallbackLog::calls.clear();
    control.SetChangeCallback(&CallbackLog::Record, 77);
    SetSinkVolume(19661);
    ASSERT_TRUE(RunEventsUntil([] { return !CallbackLog::calls.empty(); }, 5000));
    EXPECT_EQ(CallbackLog::calls.back(), std::make_pair(19661, 77));

    // A change of the mute alone is not a change of the volume.
    CallbackLog::calls.clear();
    SetSinkMute(true);
    audiotest::RunEventsFor(300);
    EXPECT_TRUE(CallbackLog::calls.empty());
}

TEST_F(VolumeCtrlTest, OnlyTheLastControlOpenedIsNotified) {
    CWaveOutVolumeCtrl first;
    CallbackLog::calls.clear();
    first.SetChangeCallback(&CallbackLog::Record, 1);
    {
        CWaveOutVolumeCtrl second;
        second.SetChangeCallback(&CallbackLog::Record, 2);
        SetSinkVolume(25000);
        ASSERT_TRUE(RunEventsUntil([] { return !CallbackLog::calls.empty(); }, 5000));
        audiotest::RunEventsFor(200);
        ASSERT_EQ(CallbackLog::calls.size(), 1u);
        EXPECT_EQ(CallbackLog::calls[0], std::make_pair(25000, 2));
    }
    CallbackLog::calls.clear();
    SetSinkVolume(26000);
    audiotest::RunEventsFor(300);
    EXPECT_TRUE(CallbackLog::calls.empty());
}

TEST_F(VolumeCtrlTest, RestoreLeavesAMutedLineMutedAtItsVolume) {
    SetSinkVolume(40000);
    SetSinkMute(true);
    CWaveOutVolumeCtrl control;
    ASSERT_TRUE(control.IsAvailable());
    control.Activate();
    EXPECT_TRUE(control.HasActivationState());
    EXPECT_TRUE(control.WasMutedAtActivation());
    EXPECT_EQ(control.VolumeAtActivation(), 40000);
    EXPECT_FALSE(control.IsMuted());
    control.SetVolume(1000);
    control.Activate(); // a second activation does not overwrite what the first found
    control.RestoreInitialState();
    CWaveOutVolumeCtrl after;
    EXPECT_TRUE(after.IsMuted());
    EXPECT_EQ(after.GetVolume(), 40000);
}

TEST_F(VolumeCtrlTest, RestoreLeavesAnAudibleLineAudible) {
    SetSinkVolume(50000);
    CWaveOutVolumeCtrl control;
    control.RestoreInitialState(); // without Activate there is nothing to restore
    control.Activate();
    EXPECT_FALSE(control.WasMutedAtActivation());
    control.SetVolume(3000);
    control.RestoreInitialState();
    CWaveOutVolumeCtrl after;
    EXPECT_FALSE(after.IsMuted());
    EXPECT_EQ(after.GetVolume(), 50000);
}

} // namespace

// The volume control against the private test sound server ("Master" is its null sink).
#include "audio/WaveOutVolumeCtrl.h"

#include "AudioTestSupport.h"

#include <gtest/gtest.h>

namespace {

using audiotest::RunEventsFor;
using audiotest::RunEventsUntil;

void SetSink(int volume, bool muted) {
    ASSERT_EQ(audiotest::Run({"pactl", "set-sink-volume", "quirnel_test", std::to_string(volume)}),
              0);
    ASSERT_EQ(audiotest::Run({"pactl", "set-sink-mute", "quirnel_test", muted ? "1" : "0"}), 0);
}

std::vector<std::pair<int, int>> s_calls;
void RecordCall(int volume, int user) {
    s_calls.emplace_back(volume, user);
}

// Every test starts from full volume, not muted, and leaves the line so.
class VolumeCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_TEST_SOUND_SERVER();
        SetSink(65536, false);
        s_calls.clear();
    }
    void TearDown() override {
        if (!IsSkipped())
            SetSink(65536, false);
    }
};

TEST_F(VolumeCtrlTest, ReadsAndSetsTheMasterLineWithinItsRange) {
    CWaveOutVolumeCtrl control;
    ASSERT_TRUE(control.IsAvailable());
    EXPECT_EQ(control.GetMinimum(), 0);
    EXPECT_EQ(control.GetMaximum(), 65536);
    EXPECT_EQ(control.GetSteps(), 65536);
    EXPECT_EQ(control.GetVolume(), 65536);
    control.SetVolume(30000);
    EXPECT_EQ(control.GetVolume(), 30000);
    control.SetVolume(65537);
    control.SetVolume(static_cast<unsigned>(-1));
    EXPECT_EQ(control.GetVolume(), 30000);
    control.SetVolume(0);
    EXPECT_EQ(CWaveOutVolumeCtrl().GetVolume(), 0); // the server itself has it
    control.SetVolume(65536);
    EXPECT_EQ(control.GetVolume(), 65536);
}

TEST_F(VolumeCtrlTest, ActivateAndDeactivateSwitchMuteButNotTheVolume) {
    CWaveOutVolumeCtrl control;
    control.SetVolume(20000);
    control.Deactivate();
    EXPECT_TRUE(control.IsMuted());
    EXPECT_TRUE(CWaveOutVolumeCtrl().IsMuted());
    EXPECT_EQ(control.GetVolume(), 20000);
    control.Activate();
    EXPECT_FALSE(control.IsMuted());
    EXPECT_EQ(control.GetVolume(), 20000);
}

TEST_F(VolumeCtrlTest, ChangeFromOutsideReachesTheCallback) {
    CWaveOutVolumeCtrl control;
    control.SetChangeCallback(&RecordCall, 77);
    SetSink(19661, false);
    ASSERT_TRUE(RunEventsUntil([] { return !s_calls.empty(); }, 5000));
    EXPECT_EQ(s_calls.back(), std::make_pair(19661, 77));
    EXPECT_EQ(control.GetVolume(), 19661);
    // A change of the mute alone is not a change of the volume.
    s_calls.clear();
    SetSink(19661, true);
    RunEventsFor(300);
    EXPECT_TRUE(s_calls.empty());
    EXPECT_TRUE(control.IsMuted());
}

TEST_F(VolumeCtrlTest, OnlyTheLastControlOpenedIsNotified) {
    CWaveOutVolumeCtrl first;
    first.SetChangeCallback(&RecordCall, 1);
    {
        CWaveOutVolumeCtrl second;
        second.SetChangeCallback(&RecordCall, 2);
        SetSink(25000, false);
        ASSERT_TRUE(RunEventsUntil([] { return !s_calls.empty(); }, 5000));
        RunEventsFor(200);
        EXPECT_EQ(s_calls, (std::vector<std::pair<int, int>>{{25000, 2}}));
    }
    s_calls.clear();
    SetSink(26000, false);
    RunEventsFor(300);
    EXPECT_TRUE(s_calls.empty());
}

TEST_F(VolumeCtrlTest, RestoreLeavesTheLineAsTheFirstActivateFoundIt) {
    SetSink(40000, true);
    {
        CWaveOutVolumeCtrl control;
        control.Activate();
        EXPECT_TRUE(control.WasMutedAtActivation());
        EXPECT_EQ(control.VolumeAtActivation(), 40000);
        EXPECT_FALSE(control.IsMuted());
        control.SetVolume(1000);
        control.Activate(); // a second activation does not overwrite what the first found
        control.RestoreInitialState();
    }
    CWaveOutVolumeCtrl muted;
    EXPECT_TRUE(muted.IsMuted());
    EXPECT_EQ(muted.GetVolume(), 40000);

    SetSink(50000, false);
    {
        CWaveOutVolumeCtrl control;
        control.RestoreInitialState(); // nothing recorded yet: changes nothing
        control.Activate();
        control.SetVolume(3000);
        control.RestoreInitialState();
    }
    CWaveOutVolumeCtrl audible;
    EXPECT_FALSE(audible.IsMuted());
    EXPECT_EQ(audible.GetVolume(), 50000);
}

} // namespace

// Frame set-up, the period update and the rendering of frames.
#include "synth/FrameSynth.h"

#include "base/MessageBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

const char* const kTooLong = "Warning: glottal open period cannot exceed T0, truncated.";
const char* const kTooShort = "Warning: minimum glottal open period is 10 samples.";

SynthFrame TypicalFrame() {
    VowelTrack track{};
    BuildVowelTrack(track, {700, 1200, 2750, 3850, 4950}, 0);
    return track[0];
}

class FrameSynthTest : public ::testing::Test {
protected:
    void SetUp() override {
        state.sampleRate = 10000;
        state.configuration = kConfigCascade;
        state.cascadeCount = 5;
        state.sourceKind = kSourceSampled;
        state.samplesPerFrame = 100;
        InitSynthState(state);
        skewSign = 0;
    }

    SynthState state;
    RecordingMessageSink messages;
    ScopedMessageSink scope{&messages};
};

TEST_F(FrameSynthTest, UsualPeriodNeedsNoWarning) {
    SynthFrame frame = TypicalFrame();
    ResetPeriod(state, frame);
    EXPECT_EQ(state.period, 333);
    EXPECT_EQ(state.openQuarter, 168);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(FrameSynthTest, OpenPhaseLongerThanThePeriodIsCutWithAWarning) {
    SynthFrame frame = TypicalFrame();
    frame.f0Tenths = 3000;
    ResetPeriod(state, frame);
    EXPECT_EQ(state.period, 133);
    EXPECT_EQ(state.openQuarter, 131);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, kTooLong);
    EXPECT_EQ(messages.Messages()[0].caption, "Warning");
}

TEST_F(FrameSynthTest, OpenPhaseShorterThanTenSamplesIsRaisedWithAWarning) {
    SynthFrame frame = TypicalFrame();
    frame.openPhase = 5;
    ResetPeriod(state, frame);
    EXPECT_EQ(state.openQuarter, 40);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{kTooShort});
    EXPECT_EQ(messages.Messages()[0].caption, "Warning");
}

TEST_F(FrameSynthTest, QuietStateShowsNoWarnings) {
    SynthFrame frame = TypicalFrame();
    frame.f0Tenths = 3000;
    frame.openPhase = 5;
    state.quiet = 1;
    ResetPeriod(state, frame);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(FrameSynthTest, NoFundamentalMeansPeriodFourAndNoVoicing) {
    SynthFrame frame = TypicalFrame();
    frame.f0Tenths = 0;
    state.voicingGain = 5.0f;
    ResetPeriod(state, frame);
    EXPECT_EQ(state.period, 4);
    EXPECT_EQ(state.voicingGain, 0.0f);
}

TEST_F(FrameSynthTest, SkewAlternatesAndIsLimitedByTheClosedPhase) {
    SynthFrame frame = TypicalFrame();
    frame.skew = 8;
    ResetPeriod(state, frame);
    EXPECT_EQ(state.period, 341);
    ResetPeriod(state, frame);
    EXPECT_EQ(state.period, 325);
    ResetPeriod(state, frame);
    EXPECT_EQ(state.period, 341);

    skewSign = 0;
    frame.skew = 1000; // more than period - openQuarter = 333 - 168
    ResetPeriod(state, frame);
    EXPECT_EQ(frame.skew, 165);
    EXPECT_EQ(state.period, 333 + 165);
}

TEST_F(FrameSynthTest, TiltFactors) {
    SynthFrame frame = TypicalFrame();
    frame.tiltDb = 0;
    ResetPeriod(state, frame);
    EXPECT_EQ(state.tiltPass, 1.0f);
    EXPECT_EQ(state.tiltDecay, 0.0f);
    frame.tiltDb = 24;
    ResetPeriod(state, frame);
    EXPECT_FLOAT_EQ(state.tiltDecay, 0.792f);
    EXPECT_FLOAT_EQ(state.tiltPass, 0.208f);
    frame.tiltDb = -10;
    ResetPeriod(state, frame);
    EXPECT_FLOAT_EQ(state.tiltDecay, -0.33f);
    EXPECT_EQ(state.tiltPass, 1.0f);
}

TEST_F(FrameSynthTest, TiltIsKeptWhenUnvoicedAfterTheFirstSample) {
    SynthFrame frame = TypicalFrame();
    frame.tiltDb = 10;
    ResetPeriod(state, frame);
    frame.f0Tenths = 0;
    frame.tiltDb = 20;
    state.sampleIndex = 5;
    ResetPeriod(state, frame);
    EXPECT_FLOAT_EQ(state.tiltDecay, 0.33f);
    state.sampleIndex = 0;
    ResetPeriod(state, frame);
    EXPECT_FLOAT_EQ(state.tiltDecay, 0.66f);
}

TEST_F(FrameSynthTest, PrepareFrameGains) {
    SynthFrame frame = TypicalFrame();
    PrepareFrame(state, frame);
    EXPECT_EQ(frame.voicingDb, 53);
    EXPECT_EQ(frame.gainDb, 57);
    EXPECT_FLOAT_EQ(state.outputGain, 1.024f);
    EXPECT_FLOAT_EQ(state.parVoicingGain, 0.911f);
    EXPECT_EQ(state.bypassGain, 0.0f);
    ResetPeriod(state, frame);
    EXPECT_FLOAT_EQ(state.voicingGain, 0.638f);
}

TEST_F(FrameSynthTest, LowGainBecomes57DbAndLowVoicingBecomesSilence) {
    for (int gainDb : {3, 0, -20}) {
        SynthFrame frame = TypicalFrame();
        frame.gainDb = gainDb;
        PrepareFrame(state, frame);
        EXPECT_EQ(frame.gainDb, 57) << gainDb;
    }
    SynthFrame frame = TypicalFrame();
    frame.gainDb = 4;
    frame.voicingDb = 6;
    PrepareFrame(state, frame);
    EXPECT_EQ(frame.gainDb, 1);
    EXPECT_EQ(frame.voicingDb, 0);
    ResetPeriod(state, frame);
    EXPECT_EQ(state.voicingGain, 0.0f);
}

TEST_F(FrameSynthTest, FiveCascadeFormantsLeaveTheUpperSectionsUnset) {
    SynthFrame frame = TypicalFrame();
    frame.f6 = 5500;
    frame.b6 = 200;
    PrepareFrame(state, frame);
    EXPECT_EQ(state.f6Casc.a, 0.0f);
    EXPECT_EQ(state.f7Casc.a, 0.0f);
    EXPECT_EQ(state.f8Casc.b, 0.0f);
    EXPECT_NE(state.f5Casc.a, 0.0f);
    EXPECT_NE(state.f1Casc.a, 0.0f);
    state.cascadeCount = 8;
    PrepareFrame(state, frame);
    EXPECT_NE(state.f6Casc.a, 0.0f);
    EXPECT_NE(state.f8Casc.a, 0.0f);
}

TEST_F(FrameSynthTest, ParallelBranchIsSilentInBuiltTracks) {
    SynthFrame frame = TypicalFrame();
    PrepareFrame(state, frame);
    for (const Resonator* filter : {&state.f1Par, &state.f2Par, &state.f3Par, &state.f4Par,
                                    &state.f5Par, &state.f6Par, &state.nasalPolePar})
        EXPECT_EQ(filter->a, 0.0f);
    // The output filter: 0 Hz, 5000 Hz bandwidth.
    EXPECT_NEAR(state.outputFilter.a + state.outputFilter.b + state.outputFilter.c, 1.0, 1e-6);
}

TEST_F(FrameSynthTest, FirstSampleHasNoExcitationAndResetRunsTwice) {
    state.voice.samples = std::vector<int32_t>(500, 10000);
    SynthFrame frame = TypicalFrame();
    frame.f0Tenths = 3000; // each period reset shows the open-phase warning
    std::vector<int32_t> out(100, -1);
    vPrev = 0.0f;
    SynthesizeFrame(state, frame, out.data());
    EXPECT_EQ(out[0], 0);
    EXPECT_NE(out[1], 0);
    EXPECT_EQ(state.sourcePos, 99);
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{kTooLong, kTooLong}));
    // The next frame of the same run does not reset the period again.
    SynthFrame next = frame;
    SynthesizeFrame(state, next, out.data());
    EXPECT_EQ(messages.Messages().size(), 2u);
    EXPECT_EQ(state.sourcePos, 199);
}

TEST_F(FrameSynthTest, WrongSourceAndParallelOnlyAreReportedForEverySample) {
    state.voice.samples = std::vector<int32_t>(500, 1000);
    state.samplesPerFrame = 3;
    SynthFrame frame = TypicalFrame();
    std::vector<int32_t> out(3);
    state.sourceKind = 2;
    SynthesizeFrame(state, frame, out.data());
    EXPECT_EQ(messages.Texts(), std::vector<std::string>(3, "error wrong source"));
    EXPECT_EQ(messages.Messages()[0].caption, "Error");
    messages.Clear();
    state.sourceKind = kSourceSampled;
    state.configuration = kConfigParallelOnly;
    frame = TypicalFrame();
    SynthesizeFrame(state, frame, out.data());
    EXPECT_EQ(messages.Texts(), std::vector<std::string>(3, "no cascade!"));
    // The parallel branch is silent in a built track, so nothing is heard.
    EXPECT_EQ(out, std::vector<int32_t>(3, 0));
}

TEST_F(FrameSynthTest, UnstableFiltersSaturateInsteadOfOverflowing) {
    state.voice.samples = std::vector<int32_t>(5000, 30000);
    state.samplesPerFrame = 4000;
    SynthFrame frame = TypicalFrame();
    frame.b1 = -400; // a pole outside the unit circle
    std::vector<int32_t> out(4000);
    SynthesizeFrame(state, frame, out.data());
    const auto [low, high] = std::minmax_element(out.begin(), out.end());
    EXPECT_TRUE(*low == INT32_MIN || *high == INT32_MAX);
}

} // namespace

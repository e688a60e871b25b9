// Frame set-up, the period update and the rendering of frames.
#include "synth/FrameSynth.h"

#include "base/Report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

const char* const kTooLong = "Warning: glottal open period cannot exceed T0, truncated.";
const char* const kTooShort = "Warning: minimum glottal open period is 10 samples.";

class FrameSynthTest : public ::testing::Test {
protected:
    void SetUp() override {
        state.sampleRate = 10000;
        state.configuration = kConfigCascade;
        state.cascadeCount = 5;
        state.sourceKind = kSourceSampled;
        state.samplesPerFrame = 100;
        InitSynthState(state);
        VowelTrack track{};
        BuildVowelTrack(track, {700, 1200, 2750, 3850, 4950}, 0);
        frame = track[0];
    }

    // The texts the frames have noted for the run's report, in order.
    std::vector<std::string> Noted() const {
        std::vector<std::string> texts;
        for (const MessageRequest& message : state.messages.Messages())
            texts.push_back(message.text);
        return texts;
    }

    CarriedValues carried; // the skew and the tilt start from rest
    SynthState state;
    SynthFrame frame{};
};

TEST_F(FrameSynthTest, PeriodAndOpenPhase) {
    ResetPeriod(state, frame, carried);
    EXPECT_EQ(state.period, 333);
    EXPECT_EQ(state.openQuarter, 168);
    EXPECT_TRUE(state.messages.Messages().empty());

    frame.f0Tenths = 3000;
    ResetPeriod(state, frame, carried);
    EXPECT_EQ(state.period, 133);
    EXPECT_EQ(state.openQuarter, 131);
    frame.f0Tenths = 1200;
    frame.openPhase = 5;
    ResetPeriod(state, frame, carried);
    EXPECT_EQ(state.openQuarter, 40);
    EXPECT_EQ(Noted(), (std::vector<std::string>{kTooLong, kTooShort}));
    EXPECT_EQ(state.messages.Messages()[1].caption, "Warning");

    frame.f0Tenths = 0;
    ResetPeriod(state, frame, carried);
    EXPECT_EQ(state.period, 4);
    EXPECT_EQ(state.voicingGain, 0.0f);
}

TEST_F(FrameSynthTest, SkewAlternatesAndIsLimitedByTheClosedPhase) {
    frame.skew = 8;
    ResetPeriod(state, frame, carried);
    EXPECT_EQ(state.period, 341);
    ResetPeriod(state, frame, carried);
    EXPECT_EQ(state.period, 325);
    carried.skewSign = 0;
    frame.skew = 1000; // more than period - openQuarter = 333 - 168
    ResetPeriod(state, frame, carried);
    EXPECT_EQ(frame.skew, 165);
    EXPECT_EQ(state.period, 333 + 165);
}

TEST_F(FrameSynthTest, TiltFactors) {
    ResetPeriod(state, frame, carried);
    EXPECT_EQ(state.tiltPass, 1.0f);
    EXPECT_EQ(state.tiltDecay, 0.0f);
    frame.tiltDb = 24;
    ResetPeriod(state, frame, carried);
    EXPECT_FLOAT_EQ(state.tiltDecay, 0.792f);
    EXPECT_FLOAT_EQ(state.tiltPass, 0.208f);
    frame.tiltDb = -10;
    ResetPeriod(state, frame, carried);
    EXPECT_FLOAT_EQ(state.tiltDecay, -0.33f);
    EXPECT_EQ(state.tiltPass, 1.0f);
}

TEST_F(FrameSynthTest, FrameSetUpGains) {
    PrepareFrame(state, frame);
    ResetPeriod(state, frame, carried);
    EXPECT_FLOAT_EQ(state.voicingGain, 0.638f);
    EXPECT_FLOAT_EQ(state.parVoicingGain, 0.911f);
    EXPECT_FLOAT_EQ(state.outputGain, 1.024f);
    EXPECT_EQ(state.bypassGain, 0.0f);
    EXPECT_EQ(state.f1Par.a, 0.0f);

    // 3 dB or less of gain becomes 57 dB; voicing below 7 dB becomes silence.
    frame.gainDb = 3;
    frame.voicingDb = 6;
    PrepareFrame(state, frame);
    ResetPeriod(state, frame, carried);
    EXPECT_EQ(frame.gainDb, 57);
    EXPECT_EQ(frame.voicingDb, 0);
    EXPECT_EQ(state.voicingGain, 0.0f);
}

TEST_F(FrameSynthTest, FiveCascadeFormantsLeaveTheUpperSectionsUnset) {
    frame.f6 = 4500;
    frame.b6 = 200;
    PrepareFrame(state, frame);
    EXPECT_EQ(state.f6Casc.a, 0.0f);
    EXPECT_EQ(state.f8Casc.b, 0.0f);
    EXPECT_NE(state.f5Casc.a, 0.0f);
    state.cascadeCount = 8;
    PrepareFrame(state, frame);
    EXPECT_NE(state.f6Casc.a, 0.0f);
    EXPECT_NE(state.f8Casc.a, 0.0f);
}

TEST_F(FrameSynthTest, FirstSampleHasNoExcitationAndThePeriodIsSetTwice) {
    state.voice.samples = std::vector<int32_t>(500, 10000);
    frame.f0Tenths = 3000; // every period update shows the open-phase warning
    std::vector<int32_t> out(100, -1);
    SynthesizeFrame(state, frame, carried, out.data());
    EXPECT_EQ(out[0], 0);
    EXPECT_NE(out[1], 0);
    EXPECT_EQ(state.sourcePos, 99);
    EXPECT_EQ(Noted(), (std::vector<std::string>{kTooLong, kTooLong}));
    SynthesizeFrame(state, frame, carried, out.data()); // the next frame of the run: no update
    EXPECT_EQ(state.messages.Messages().size(), 2u);
    EXPECT_EQ(state.sourcePos, 199);
}

// Met at every sample, they are noted once: a report with a message per sample would show
// hundreds of message boxes for one vowel.
TEST_F(FrameSynthTest, WrongSourceAndParallelOnlyAreNotedOncePerRun) {
    state.voice.samples = std::vector<int32_t>(500, 1000);
    state.samplesPerFrame = 3;
    std::vector<int32_t> out(3);
    state.sourceKind = 2;
    SynthFrame copy = frame;
    SynthesizeFrame(state, copy, carried, out.data());
    SynthesizeFrame(state, copy, carried, out.data()); // the next frame of the same run
    EXPECT_EQ(Noted(), std::vector<std::string>{"error wrong source"});
    state.messages = Report();
    state.sourceKind = kSourceSampled;
    state.configuration = kConfigParallelOnly;
    copy = frame;
    SynthesizeFrame(state, copy, carried, out.data());
    EXPECT_EQ(Noted(), std::vector<std::string>{"no cascade!"});
    EXPECT_EQ(out, std::vector<int32_t>(3, 0)); // the parallel branch is silent
}

TEST_F(FrameSynthTest, UnstableFiltersSaturateInsteadOfOverflowing) {
    state.voice.samples = std::vector<int32_t>(5000, 30000);
    state.samplesPerFrame = 4000;
    frame.b1 = -400; // a pole outside the unit circle
    std::vector<int32_t> out(4000);
    SynthesizeFrame(state, frame, carried, out.data());
    const auto [low, high] = std::minmax_element(out.begin(), out.end());
    EXPECT_TRUE(*low == INT32_MIN || *high == INT32_MAX);
}

} // namespace

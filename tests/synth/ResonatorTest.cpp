// Resonators, antiresonators, the dB amplitude table and the sampled voicing source.
#include "synth/Resonator.h"
#include "synth/FrameSynth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace {

SynthState StateAt10kHz() {
    SynthState state;
    state.sampleRate = 10000;
    InitSynthState(state);
    return state;
}

TEST(DbToLinear, TableValuesAndSilenceOutsideIt) {
    for (int db : {-1, 88, INT32_MIN, INT32_MAX, 0, 12})
        EXPECT_EQ(DbToLinear(db), 0.0f) << db;
    EXPECT_FLOAT_EQ(DbToLinear(13), 0.006f);
    EXPECT_FLOAT_EQ(DbToLinear(53), 0.638f);
    EXPECT_FLOAT_EQ(DbToLinear(56), 0.911f);
    EXPECT_FLOAT_EQ(DbToLinear(57), 1.024f);
    EXPECT_FLOAT_EQ(DbToLinear(87), 32.767f);
}

TEST(SetResonator, ZeroHertzIsAUnitGainLowPassAndKeepsTheMemory) {
    const SynthState state = StateAt10kHz();
    EXPECT_FLOAT_EQ(state.minusPiT, -0.00031415926f);
    EXPECT_FLOAT_EQ(state.twoPiT, 0.00062831852f);
    Resonator filter{0, 0, 0, 0.25f, -0.5f};
    SetResonator(0, 5000, filter, state);
    const double r = std::exp(-std::numbers::pi / 2);
    EXPECT_NEAR(filter.b, 2 * r, 1e-6);
    EXPECT_NEAR(filter.c, -r * r, 1e-6);
    EXPECT_NEAR(filter.a, 1 - 2 * r + r * r, 1e-6);
    EXPECT_EQ(filter.prev1, 0.25f);
    EXPECT_EQ(filter.prev2, -0.5f);
}

TEST(SetAntiresonator, NonPositiveFrequencyMeansOneHertz) {
    const SynthState state = StateAt10kHz();
    Resonator atOne{}, atZero{}, atMinus{}, at300{};
    SetAntiresonator(1, 100, atOne, state);
    SetAntiresonator(0, 100, atZero, state);
    SetAntiresonator(-300, 100, atMinus, state);
    SetAntiresonator(300, 100, at300, state);
    EXPECT_EQ(atZero.b, atOne.b);
    EXPECT_EQ(atMinus.b, atOne.b);
    EXPECT_EQ(atMinus.a, atOne.a);
    EXPECT_NE(at300.b, atMinus.b);
}

TEST(Resonate, ResonatorThenAntiresonatorGivesTheInputBack) {
    const SynthState state = StateAt10kHz();
    for (const auto& [frequency, bandwidth] : {std::pair{250, 100}, {700, 40}, {2750, 110}}) {
        Resonator pole{}, zero{};
        SetResonator(frequency, bandwidth, pole, state);
        SetAntiresonator(frequency, bandwidth, zero, state);
        std::mt19937 random(frequency);
        std::uniform_real_distribution<float> input(-3000.0f, 3000.0f);
        for (int i = 0; i < 2000; ++i) {
            const float x = input(random);
            ASSERT_NEAR(Antiresonate(zero, Resonate(pole, x)), x, 0.05) << frequency;
        }
    }
}

TEST(Resonate, MemoryHoldsOutputsForResonatorsAndInputsForAntiresonators) {
    Resonator pole{0.5f, 0.25f, -0.125f, 2.0f, 4.0f};
    Resonator zero = pole;
    const float y = Resonate(pole, 8.0f);
    EXPECT_FLOAT_EQ(y, 4.0f);
    EXPECT_EQ(pole.prev1, y);
    EXPECT_EQ(pole.prev2, 2.0f);
    EXPECT_FLOAT_EQ(Antiresonate(zero, 8.0f), y);
    EXPECT_EQ(zero.prev1, 8.0f);
    EXPECT_EQ(zero.prev2, 2.0f);
    // Formed in double and rounded once: in float, 1 + 1e8 - 1e8 would lose the 1.
    Resonator wide{1.0f, 1.0f, -1.0f, 1e8f, 1e8f};
    EXPECT_EQ(Resonate(wide, 1.0f), 1.0f);
}

TEST(NextSourceSample, SilentWhileThePeriodIsZeroThenPlaysInOrder) {
    SynthState state = StateAt10kHz();
    state.voice.samples = {11, -22};
    EXPECT_EQ(NextSourceSample(state), 0.0f);
    EXPECT_EQ(NextSourceSample(state), 0.0f);
    EXPECT_EQ(state.sourcePos, 0);
    state.period = 333;
    EXPECT_EQ(NextSourceSample(state), 11.0f);
    EXPECT_EQ(NextSourceSample(state), -22.0f);
    EXPECT_EQ(NextSourceSample(state), 0.0f); // past the end: silence, no read
    state.voice.samples.clear();
    state.sourcePos = 0;
    EXPECT_EQ(NextSourceSample(state), 0.0f);
}

} // namespace

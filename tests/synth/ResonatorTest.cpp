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

TEST(DbToLinear, TableBoundsAndSilence) {
    EXPECT_EQ(DbToLinear(-1), 0.0f);
    EXPECT_EQ(DbToLinear(88), 0.0f);
    EXPECT_EQ(DbToLinear(-2000000000), 0.0f);
    EXPECT_EQ(DbToLinear(2000000000), 0.0f);
    for (int db = 0; db <= 12; ++db)
        EXPECT_EQ(DbToLinear(db), 0.0f) << db;
    EXPECT_FLOAT_EQ(DbToLinear(13), 0.006f);
    EXPECT_FLOAT_EQ(DbToLinear(87), 32.767f);
}

TEST(DbToLinear, LevelsUsedByEveryTrack) {
    EXPECT_FLOAT_EQ(DbToLinear(53), 0.638f); // voicing 60 dB less 7
    EXPECT_FLOAT_EQ(DbToLinear(56), 0.911f); // parallel voicing
    EXPECT_FLOAT_EQ(DbToLinear(57), 1.024f); // gain 60 dB less 3
    EXPECT_FLOAT_EQ(DbToLinear(51), 0.512f);
    EXPECT_FLOAT_EQ(DbToLinear(63), 2.048f);
}

TEST(DbToLinear, NeverDecreasesWithLevel) {
    for (int db = 1; db <= 87; ++db)
        EXPECT_GE(DbToLinear(db), DbToLinear(db - 1)) << db;
}

TEST(SetResonator, SamplingConstantsAt10kHz) {
    const SynthState state = StateAt10kHz();
    EXPECT_FLOAT_EQ(state.minusPiT, -0.00031415926f);
    EXPECT_FLOAT_EQ(state.twoPiT, 0.00062831852f);
}

TEST(SetResonator, ZeroHertzIsAUnitGainLowPass) {
    const SynthState state = StateAt10kHz();
    Resonator filter{0, 0, 0, 0.25f, -0.5f};
    SetResonator(0, 5000, filter, state);
    const double r = std::exp(-std::numbers::pi / 2);
    EXPECT_NEAR(filter.b, 2 * r, 1e-6);
    EXPECT_NEAR(filter.c, -r * r, 1e-6);
    EXPECT_NEAR(filter.a, 1 - 2 * r + r * r, 1e-6);
    EXPECT_NEAR(filter.a + filter.b + filter.c, 1.0, 1e-6); // unit gain at 0 Hz
    // The memory is left alone.
    EXPECT_EQ(filter.prev1, 0.25f);
    EXPECT_EQ(filter.prev2, -0.5f);
}

TEST(SetResonator, PolesAtTheFormantFrequency) {
    const SynthState state = StateAt10kHz();
    Resonator filter{};
    SetResonator(1000, 100, filter, state);
    const double r = std::exp(-std::numbers::pi * 100 / 10000);
    EXPECT_NEAR(filter.b, 2 * r * std::cos(2 * std::numbers::pi * 1000 / 10000), 1e-6);
    EXPECT_NEAR(filter.c, -r * r, 1e-6);
    EXPECT_NEAR(filter.a, 1 - filter.b - filter.c, 1e-7);
}

TEST(SetAntiresonator, NonPositiveFrequencyMeansOneHertz) {
    const SynthState state = StateAt10kHz();
    Resonator atOne{}, atZero{}, atMinus{};
    SetAntiresonator(1, 100, atOne, state);
    SetAntiresonator(0, 100, atZero, state);
    SetAntiresonator(-300, 100, atMinus, state);
    for (const Resonator* filter : {&atZero, &atMinus}) {
        EXPECT_EQ(filter->a, atOne.a);
        EXPECT_EQ(filter->b, atOne.b);
        EXPECT_EQ(filter->c, atOne.c);
    }
    Resonator at300{};
    SetAntiresonator(300, 100, at300, state);
    EXPECT_NE(at300.b, atMinus.b);
}

TEST(SetAntiresonator, CoefficientsInvertTheResonator) {
    const SynthState state = StateAt10kHz();
    Resonator pole{}, zero{};
    SetResonator(250, 100, pole, state);
    SetAntiresonator(250, 100, zero, state);
    EXPECT_NEAR(zero.a, 1.0 / pole.a, 1e-3);
    EXPECT_NEAR(zero.b, -pole.b / pole.a, 1e-3);
    EXPECT_NEAR(zero.c, -pole.c / pole.a, 1e-3);
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
            const float y = Antiresonate(zero, Resonate(pole, x));
            ASSERT_NEAR(y, x, 0.05) << frequency << " Hz, sample " << i;
        }
    }
}

TEST(Resonate, MemoryHoldsOutputsForResonatorsAndInputsForAntiresonators) {
    Resonator pole{0.5f, 0.25f, -0.125f, 2.0f, 4.0f};
    const float y = Resonate(pole, 8.0f);
    EXPECT_FLOAT_EQ(y, 0.5f * 8 + 0.25f * 2 - 0.125f * 4);
    EXPECT_EQ(pole.prev1, y);
    EXPECT_EQ(pole.prev2, 2.0f);

    Resonator zero{0.5f, 0.25f, -0.125f, 2.0f, 4.0f};
    EXPECT_FLOAT_EQ(Antiresonate(zero, 8.0f), y);
    EXPECT_EQ(zero.prev1, 8.0f);
    EXPECT_EQ(zero.prev2, 2.0f);
}

TEST(Resonate, SumsInDoubleBeforeRounding) {
    // In float, 1e8 + 1 - 1e8 loses the 1; formed in double and rounded once, it survives.
    Resonator filter{1.0f, 1.0f, -1.0f, 1e8f, 1e8f};
    EXPECT_EQ(Resonate(filter, 1.0f), 1.0f);
}

TEST(NextSourceSample, SilentWhileThePeriodIsZero) {
    SynthState state = StateAt10kHz();
    state.voice.samples = {11, 22, 33};
    state.period = 0;
    EXPECT_EQ(NextSourceSample(state), 0.0f);
    EXPECT_EQ(NextSourceSample(state), 0.0f);
    EXPECT_EQ(state.sourcePos, 0);
}

TEST(NextSourceSample, PlaysTheStoreInOrderAndNeverReadsPastIt) {
    SynthState state = StateAt10kHz();
    state.voice.samples = {11, -22, 33};
    state.period = 333;
    EXPECT_EQ(NextSourceSample(state), 11.0f);
    EXPECT_EQ(NextSourceSample(state), -22.0f);
    EXPECT_EQ(NextSourceSample(state), 33.0f);
    EXPECT_EQ(state.sourcePos, 3);
    EXPECT_EQ(NextSourceSample(state), 0.0f); // past the end: silence
    state.voice.samples.clear();
    state.sourcePos = 0;
    EXPECT_EQ(NextSourceSample(state), 0.0f);
}

} // namespace

// The vowel parameter tracks and the formant bandwidth rule.
#include "synth/SynthFrame.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstddef>

namespace {

TEST(FormantBandwidth, ReferenceValues) {
    EXPECT_EQ(FormantBandwidth(250), 64);
    EXPECT_EQ(FormantBandwidth(300), 53);
    EXPECT_EQ(FormantBandwidth(700), 40);
    EXPECT_EQ(FormantBandwidth(1200), 43);
    EXPECT_EQ(FormantBandwidth(2750), 110);
    EXPECT_EQ(FormantBandwidth(3850), 214);
    EXPECT_EQ(FormantBandwidth(4950), 369);
}

TEST(FormantBandwidth, SplitsTheCoefficientSetsAt500Hz) {
    EXPECT_EQ(FormantBandwidth(499), 37);
    EXPECT_EQ(FormantBandwidth(500), 37);
    // Where the two sets disagree: 450 Hz gives 37 from the lower set (the upper gives 36),
    // 700 Hz gives 40 from the upper set (the lower gives 38).
    EXPECT_EQ(FormantBandwidth(450), 37);
    EXPECT_EQ(FormantBandwidth(700), 40);
}

TEST(FormantBandwidth, TruncatesTowardZeroAndNeverOverflows) {
    // 305 Hz evaluates to 52.x: truncation, not rounding.
    EXPECT_EQ(FormantBandwidth(305), 52);
    EXPECT_EQ(FormantBandwidth(1e9), INT_MAX);
    EXPECT_EQ(FormantBandwidth(-1e9), INT_MAX); // the lower polynomial grows without bound
}

TEST(SynthFrameLayout, FortyParametersInTheirFixedOrder) {
    EXPECT_EQ(sizeof(SynthFrame), 40 * sizeof(int32_t));
    EXPECT_EQ(offsetof(SynthFrame, f0Tenths), 0 * 4u);
    EXPECT_EQ(offsetof(SynthFrame, f1), 2 * 4u);
    EXPECT_EQ(offsetof(SynthFrame, b5), 11 * 4u);
    EXPECT_EQ(offsetof(SynthFrame, nasalZeroF), 14 * 4u);
    EXPECT_EQ(offsetof(SynthFrame, openPhase), 19 * 4u);
    EXPECT_EQ(offsetof(SynthFrame, tiltDb), 21 * 4u);
    EXPECT_EQ(offsetof(SynthFrame, skew), 23 * 4u);
    EXPECT_EQ(offsetof(SynthFrame, a1Db), 24 * 4u);
    EXPECT_EQ(offsetof(SynthFrame, nasalParDb), 36 * 4u);
    EXPECT_EQ(offsetof(SynthFrame, gainDb), 39 * 4u);
}

TEST(BuildVowelTrack, SteadyVowelDriftsZeroFiveFiveTenTen) {
    VowelTrack track{};
    BuildVowelTrack(track, {300, 2200, 2750, 3850, 4950}, 0);
    const int f1[] = {300, 305, 305, 310, 310};
    const int b1[] = {53, 52, 52, 51, 51};
    const int f3[] = {2750, 2755, 2755, 2760, 2760};
    const int f5[] = {4950, 4955, 4955, 4960, 4960};
    const int b5[] = {369, 370, 370, 371, 371};
    for (int k = 0; k < kTrackFrames; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(track[k].f1, f1[k]);
        EXPECT_EQ(track[k].b1, b1[k]);
        EXPECT_EQ(track[k].f2, 2200 + f1[k] - 300);
        EXPECT_EQ(track[k].f3, f3[k]);
        EXPECT_EQ(track[k].b3, 110);
        EXPECT_EQ(track[k].f5, f5[k]);
        EXPECT_EQ(track[k].b5, b5[k]);
        EXPECT_EQ(track[k].f4, 3850 + f1[k] - 300);
        EXPECT_EQ(track[k].b4, FormantBandwidth(track[k].f4));
    }
}

void ExpectFixedParameters(const VowelTrack& track, int tiltDb) {
    for (int k = 0; k < kTrackFrames; ++k) {
        SCOPED_TRACE(k);
        const SynthFrame& frame = track[k];
        EXPECT_EQ(frame.f0Tenths, 1200);
        EXPECT_EQ(frame.voicingDb, 60);
        EXPECT_EQ(frame.openPhase, 42);
        EXPECT_EQ(frame.parVoicingDb, 56);
        EXPECT_EQ(frame.gainDb, 60);
        EXPECT_EQ(frame.tiltDb, tiltDb);
        EXPECT_EQ(frame.f6, 0);
        EXPECT_EQ(frame.b6, 0);
        EXPECT_EQ(frame.nasalZeroF, 250);
        EXPECT_EQ(frame.nasalZeroB, 100);
        EXPECT_EQ(frame.nasalPoleF, 250);
        EXPECT_EQ(frame.nasalPoleB, 100);
        EXPECT_EQ(frame.skew, 0);
        // The parallel branch and the noise levels are silent.
        EXPECT_EQ(frame.aspirationDb, 0);
        EXPECT_EQ(frame.a1Db, 0);
        EXPECT_EQ(frame.b1Par, 0);
        EXPECT_EQ(frame.a6Db, 0);
        EXPECT_EQ(frame.nasalParDb, 0);
        EXPECT_EQ(frame.bypassDb, 0);
    }
}

TEST(BuildVowelTrack, FixedParametersWhateverTheTargets) {
    VowelTrack track;
    track.fill(SynthFrame{1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                          15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28,
                          29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40});
    BuildVowelTrack(track, {850, 1500, 2700, 3850, 4950}, 6);
    ExpectFixedParameters(track, 6);
    BuildDiphthongTrack(track, {850, 1500, 2700, 3850, 4950}, {250, 2100, 2700, 3850, 4950}, 24);
    ExpectFixedParameters(track, 24);
}

TEST(BuildDiphthongTrack, GlidesTowardTheSecondPointWithTruncatedSteps) {
    VowelTrack track{};
    // F1 rises by 7 Hz, F2 falls by 7 Hz toward the second point.
    BuildDiphthongTrack(track, {400, 1000, 2750, 3850, 4950}, {407, 993, 2750, 3850, 4950}, 0);
    const int rising[] = {0, 1, 2, 4, 5};
    for (int k = 0; k < kTrackFrames; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(track[k].f1, 400 + rising[k]);
        EXPECT_EQ(track[k].f2, 1000 - rising[k]); // toward zero: -1, -2, -4, -5
        EXPECT_EQ(track[k].b1, FormantBandwidth(track[k].f1));
        EXPECT_EQ(track[k].b2, FormantBandwidth(track[k].f2));
        // No drift: the formants that do not move stay put.
        EXPECT_EQ(track[k].f3, 2750);
        EXPECT_EQ(track[k].f5, 4950);
    }
}

TEST(BuildDiphthongTrack, FrameFourIsFourFifthsOfTheWay) {
    VowelTrack track{};
    BuildDiphthongTrack(track, {300, 2200, 2750, 3850, 4950}, {800, 1200, 2750, 3850, 4950}, 0);
    EXPECT_EQ(track[0].f1, 300);
    EXPECT_EQ(track[0].f2, 2200);
    EXPECT_EQ(track[4].f1, 700);
    EXPECT_EQ(track[4].f2, 1400);
}

TEST(BuildDiphthongTrack, ExtremeFormantsSaturateInsteadOfOverflowing) {
    VowelTrack track{};
    BuildDiphthongTrack(track, {INT_MIN, INT_MAX, 2750, 3850, 4950},
                        {INT_MAX, INT_MIN, 2750, 3850, 4950}, 0);
    EXPECT_EQ(track[0].f1, INT_MIN);
    EXPECT_GT(track[4].f1, 0);
    EXPECT_LT(track[4].f2, 0);
    BuildVowelTrack(track, {INT_MAX, 1, 1, 1, 1}, 0);
    EXPECT_EQ(track[4].f1, INT_MAX);
}

} // namespace

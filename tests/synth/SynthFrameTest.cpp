// The vowel parameter tracks and the formant bandwidth rule.
#include "synth/SynthFrame.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(FormantBandwidth, ReferenceValuesAndTheSplitAt500Hz) {
    const std::pair<double, int> expected[] = {{250, 64},   {300, 53},   {499, 37},
                                               {500, 37},   {700, 40},   {1200, 43},
                                               {2750, 110}, {3850, 214}, {4950, 369}};
    for (const auto& [frequency, bandwidth] : expected)
        EXPECT_EQ(FormantBandwidth(frequency), bandwidth) << frequency;
    // Where the sets disagree: the lower set gives 37 at 450 Hz (the upper 36); 305 Hz is
    // 52.48, truncated.
    EXPECT_EQ(FormantBandwidth(450), 37);
    EXPECT_EQ(FormantBandwidth(305), 52);
    // Absurd frequencies saturate instead of overflowing.
    EXPECT_EQ(FormantBandwidth(1e9), INT_MAX);
}

TEST(BuildVowelTrack, SteadyVowelDriftsZeroFiveFiveTenTen) {
    VowelTrack track{};
    BuildVowelTrack(track, {300, 2200, 2750, 3850, 4950}, 6);
    const int f1[] = {300, 305, 305, 310, 310};
    const int b1[] = {53, 52, 52, 51, 51};
    const int b5[] = {369, 370, 370, 371, 371};
    for (int k = 0; k < kTrackFrames; ++k) {
        SCOPED_TRACE(k);
        const int drift = f1[k] - 300;
        EXPECT_EQ(track[k].f1, f1[k]);
        EXPECT_EQ(track[k].b1, b1[k]);
        EXPECT_EQ(track[k].f2, 2200 + drift);
        EXPECT_EQ(track[k].f3, 2750 + drift);
        EXPECT_EQ(track[k].b3, 110);
        EXPECT_EQ(track[k].f5, 4950 + drift);
        EXPECT_EQ(track[k].b5, b5[k]);
        EXPECT_EQ(track[k].tiltDb, 6);
    }
}

TEST(BuildVowelTrack, FixedParametersInEveryFrameOfBothKinds) {
    VowelTrack steady, glide;
    steady.fill(SynthFrame{7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7,
                           7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7});
    glide = steady;
    BuildVowelTrack(steady, {850, 1500, 2700, 3850, 4950}, 0);
    BuildDiphthongTrack(glide, {850, 1500, 2700, 3850, 4950}, {250, 2100, 2700, 3850, 4950}, 0);
    for (const VowelTrack* track : {&steady, &glide}) {
        for (const SynthFrame& frame : *track) {
            EXPECT_EQ(frame.f0Tenths, 1200);
            EXPECT_EQ(frame.voicingDb, 60);
            EXPECT_EQ(frame.openPhase, 42);
            EXPECT_EQ(frame.parVoicingDb, 56);
            EXPECT_EQ(frame.gainDb, 60);
            EXPECT_EQ(frame.nasalZeroF, frame.nasalPoleF);
            EXPECT_EQ(frame.b6, 0);
            EXPECT_EQ(frame.a1Db + frame.a2Db + frame.a6Db + frame.bypassDb, 0);
        }
        EXPECT_EQ((*track)[0].f1, 850); // frame 0 carries the targets
        EXPECT_EQ((*track)[0].f2, 1500);
    }
}

TEST(BuildDiphthongTrack, GlidesTowardTheSecondPointWithTruncatedSteps) {
    VowelTrack track{};
    // F1 rises by 7 Hz, F2 falls by 7 Hz toward the second point.
    BuildDiphthongTrack(track, {400, 1000, 2750, 3850, 4950}, {407, 993, 2750, 3850, 4950}, 0);
    const int step[] = {0, 1, 2, 4, 5};
    for (int k = 0; k < kTrackFrames; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(track[k].f1, 400 + step[k]);
        EXPECT_EQ(track[k].f2, 1000 - step[k]); // toward zero: -1, -2, -4, -5
        EXPECT_EQ(track[k].b2, FormantBandwidth(track[k].f2));
        EXPECT_EQ(track[k].f3, 2750); // no drift
    }
    BuildDiphthongTrack(track, {300, 2200, 2750, 3850, 4950}, {800, 1200, 2750, 3850, 4950}, 0);
    EXPECT_EQ(track[4].f1, 700); // four fifths of the way
    EXPECT_EQ(track[4].f2, 1400);
}

TEST(BuildDiphthongTrack, ExtremeFormantsSaturateInsteadOfOverflowing) {
    VowelTrack track{};
    BuildDiphthongTrack(track, {INT_MIN, INT_MAX, 1, 1, 1}, {INT_MAX, INT_MIN, 1, 1, 1}, 0);
    EXPECT_GT(track[4].f1, 0);
    EXPECT_LT(track[4].f2, 0);
    BuildVowelTrack(track, {INT_MAX, 1, 1, 1, 1}, 0);
    EXPECT_EQ(track[4].f1, INT_MAX);
}

} // namespace

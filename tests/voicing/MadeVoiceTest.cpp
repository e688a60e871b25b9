// quirnel-cli voice: voices made at a chosen pitch, measured in the vowels they voice.
#include "voicing/Calibration.h"
#include "voicing/VoiceMaker.h"
#include "voicing/VoicingAnalysis.h"

#include "CliRunner.h"
#include "synth/SynthEngine.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class MadeVoiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!CliRunner::Built())
            GTEST_SKIP() << "quirnel-cli not built";
    }

    // Makes a voice with `options` and renders a vowel of 1 s (frames of 200 ms) with it,
    // played as the chart plays a voice of its class. The vowel is close and back: its low
    // F1 leaves one clear trough per period for the analyser to follow.
    std::vector<double> MakeAndRender(const std::string& options, double f0) {
        const std::string voice = dir.File("made.dat");
        EXPECT_EQ(cli.Run("voice " + options + " --out '" + voice + "'"), 0) << cli.Stderr();
        SynthEngine engine;
        std::vector<int32_t> vowel;
        EXPECT_TRUE(
            engine
                .RenderVowel(voice, f0 >= kHigherVoiceF0 ? 6 : 0, 200, 300, 800, 2500, 0, 0, vowel)
                .Ok());
        return std::vector<double>(vowel.begin(), vowel.end());
    }

    TempDir dir;
    CliRunner cli;
};

TEST_F(MadeVoiceTest, VowelsHaveTheAskedPitch) {
    for (double f0 : {55.0, 140.0, 450.0}) {
        const VoicingMeasures measured =
            MeasureVoicing(MakeAndRender("--f0 " + std::to_string(f0), f0), 0);
        EXPECT_NEAR(measured.meanF0, f0, 0.02 * f0);
        std::printf("made voice %.0f Hz: vowel F0 %.2f Hz over %zu cycles\n", f0, measured.meanF0,
                    measured.cycles);
    }
}

TEST_F(MadeVoiceTest, GlidesOverTheFirstHalfSecondThenStays) {
    const std::vector<double> vowel = MakeAndRender("--f0 120 --f0-end 200 --seed 9", 155);
    // The rough period of the glide's start is taken over 50 ms, which the glide hardly
    // smears; the end is measured in the level part.
    const double start = MeanF0Between(MeasureVoicing(vowel, 0, 500), 0, 0.05);
    const double end = MeanF0Between(MeasureVoicing(vowel, 6000), 0.95, 1.0);
    EXPECT_NEAR(start, 120, 0.03 * 120);
    EXPECT_NEAR(end, 200, 0.03 * 200);
    std::printf("glide 120 to 200 Hz: first 50 ms %.2f Hz, last 50 ms %.2f Hz\n", start, end);
}

TEST_F(MadeVoiceTest, BadValuesWriteNothing) {
    const std::string out = "--out '" + dir.File("v.dat") + "'";
    for (const std::string& args : std::vector<std::string>{
             "--f0 49.9 " + out, "--f0 501 " + out, "--f0 100 --f0-end 600 " + out,
             "--f0 100 --jitter -1 " + out, "--f0 100 --shimmer 21 " + out,
             "--f0 100 --breath x " + out, "--f0 100 --seed -3 " + out,
             "--f0 100 --seed 1.5 " + out, "--f0 nan " + out, "--f0 100",
             "--f0 100 --out '" + dir.File("v.wav") + "'", "--f0 100 --bogus 1 " + out}) {
        SCOPED_TRACE(args);
        EXPECT_EQ(cli.Run("voice " + args), 2);
        EXPECT_FALSE(cli.Stderr().empty());
        EXPECT_FALSE(std::filesystem::exists(dir.File("v.dat")));
    }
}

VoiceRequest AtPitch(double f0, double f0End = 0) {
    VoiceRequest request;
    request.f0 = f0;
    if (f0End > 0)
        request.f0End = f0End;
    return request;
}

// Each value of a voice request: the last accepted at either end of its range, and the
// first refused beyond it.
TEST(CheckVoiceRequest, AcceptsEachEndOfTheRangesAndRefusesJustBeyond) {
    using Change = void (*)(VoiceRequest&);
    const struct {
        Change change;
        bool accepted;
    } cases[] = {
        {[](VoiceRequest& r) { r.f0 = 50; }, true},
        {[](VoiceRequest& r) { r.f0 = 49.99; }, false},
        {[](VoiceRequest& r) { r.f0 = 500; }, true},
        {[](VoiceRequest& r) { r.f0 = 500.01; }, false},
        {[](VoiceRequest& r) { r.f0End = 50; }, true},
        {[](VoiceRequest& r) { r.f0End = 49.99; }, false},
        {[](VoiceRequest& r) { r.f0End = 500; }, true},
        {[](VoiceRequest& r) { r.f0End = 500.01; }, false},
        {[](VoiceRequest& r) { r.jitterPercent = 0; }, true},
        {[](VoiceRequest& r) { r.jitterPercent = -0.01; }, false},
        {[](VoiceRequest& r) { r.jitterPercent = 5; }, true},
        {[](VoiceRequest& r) { r.jitterPercent = 5.01; }, false},
        {[](VoiceRequest& r) { r.shimmerPercent = 0; }, true},
        {[](VoiceRequest& r) { r.shimmerPercent = -0.01; }, false},
        {[](VoiceRequest& r) { r.shimmerPercent = 20; }, true},
        {[](VoiceRequest& r) { r.shimmerPercent = 20.01; }, false},
        {[](VoiceRequest& r) { r.breathPercent = 0; }, true},
        {[](VoiceRequest& r) { r.breathPercent = -0.01; }, false},
        {[](VoiceRequest& r) { r.breathPercent = 10; }, true},
        {[](VoiceRequest& r) { r.breathPercent = 10.01; }, false},
        {[](VoiceRequest& r) { r.f0 = std::nan(""); }, false},
    };
    int index = 0;
    for (const auto& c : cases) {
        VoiceRequest request;
        request.f0 = 120;
        c.change(request);
        EXPECT_EQ(CheckVoiceRequest(request).empty(), c.accepted)
            << "case " << index << ": " << CheckVoiceRequest(request);
        ++index;
    }
}

// A made voice measured: its pitch, jitter and shimmer are the asked ones, and after the
// calibration the loudest preset vowel of its class, played at its class's tilt, peaks at
// the calibrated level. Two seconds of voicing keep this quick.
TEST(MadeVoice, HasTheAskedPitchJitterAndShimmerAndIsCalibratedToItsPeak) {
    TempDir dir;
    for (const double f0 : {70.0, 150.0, 400.0}) {
        SCOPED_TRACE(f0);
        VoiceRequest request;
        request.f0 = f0;
        request.jitterPercent = 1.5;
        request.shimmerPercent = 6;
        request.breathPercent = 0;
        const BundledVoice voice = MadeVoiceOf(request, "made.dat");
        const VoicingTrack track = GenerateVoicing(voice.profile, 20000);
        ASSERT_FALSE(track.samples.empty());
        const VoicingMeasures measured = MeasureVoicing(track.samples, 500);
        EXPECT_NEAR(measured.meanF0, f0, 0.02 * f0);
        EXPECT_NEAR(measured.jitter, 0.015, 0.005);
        EXPECT_NEAR(measured.shimmer, 0.06, 0.015);

        SynthEngine engine;
        CalibratedVoice calibrated;
        ASSERT_TRUE(CalibrateVoice(engine, voice, track.samples, dir.Path(), calibrated).Ok());
        // Male presets at tilt 0 below 160 Hz, female presets at tilt 6 from there on.
        const bool higher = f0 >= 160;
        PresetPeak loudest;
        ASSERT_TRUE(FindLoudestPreset(engine, dir.File("made.dat"),
                                      PresetFormantsOf(higher ? 0 : 1), higher ? 6 : 0, loudest)
                        .Ok());
        EXPECT_NEAR(loudest.peak, kCalibratedPeak, 0.005 * kCalibratedPeak);
        std::printf("made voice %.0f Hz: F0 %.2f Hz, jitter %.2f %%, shimmer %.2f %%, "
                    "loudest preset %d\n",
                    f0, measured.meanF0, 100 * measured.jitter, 100 * measured.shimmer,
                    loudest.peak);
    }
}

// The bundled voices set how a made voice is shaped: at their pitches a made voice takes
// their pulse shape and perturbations, and between them values in between.
TEST(MadeVoiceOf, FollowsTheBundledVoicesByPitch) {
    for (const BundledVoice& bundled : BundledVoices()) {
        const BundledVoice made = MadeVoiceOf(AtPitch(bundled.profile.f0), "v.dat");
        EXPECT_DOUBLE_EQ(made.profile.openQuotient, bundled.profile.openQuotient);
        EXPECT_DOUBLE_EQ(made.profile.returnCornerHz, bundled.profile.returnCornerHz);
        EXPECT_DOUBLE_EQ(made.profile.jitter, bundled.profile.jitter);
        EXPECT_EQ(made.presetGender, bundled.presetGender);
        EXPECT_EQ(made.tiltDb, bundled.tiltDb);
    }
    const BundledVoice low = MadeVoiceOf(AtPitch(50), "v.dat");
    const BundledVoice mid = MadeVoiceOf(AtPitch(150), "v.dat");
    EXPECT_EQ(low.profile.openQuotient, BundledVoices()[0].profile.openQuotient);
    EXPECT_GT(mid.profile.openQuotient, BundledVoices()[0].profile.openQuotient);
    EXPECT_LT(mid.profile.openQuotient, BundledVoices()[1].profile.openQuotient);
    EXPECT_EQ(mid.tiltDb, 0);
    // A glide is judged by the geometric mean of its ends.
    const VoiceRequest glide = AtPitch(120, 240);
    EXPECT_EQ(MadeVoiceOf(glide, "v.dat").tiltDb, 6);
    EXPECT_EQ(MadeVoiceOf(glide, "v.dat").profile.glideSeconds, 0.5);
}

} // namespace

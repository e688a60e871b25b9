// Tests the voice generator: the glottal pulse, the drawn voicing and the voice file writer.
#include "BundledVoices.h"
#include "GlottalPulse.h"
#include "VoiceFileWriter.h"
#include "VoicingGenerator.h"

#include "base/MessageBox.h"
#include "synth/VoiceFile.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// A modal male cycle of 8.7 ms and a laxer, shorter one.
const GlottalTiming kModal{0.0087, 0.0042, 0.00565, 0.00033};
const GlottalTiming kLax{0.0033, 0.0017, 0.00235, 0.00017};

double Integrate(const GlottalPulse& pulse) {
    constexpr int kSteps = 200000;
    double dt = pulse.Timing().cycle / kSteps;
    double sum = 0;
    for (int i = 0; i < kSteps; ++i) {
        sum += pulse.FlowDerivative((i + 0.5) * dt) * dt;
    }
    return sum;
}

TEST(GlottalPulse, EndsEveryCycleWithZeroNetFlow) {
    for (const GlottalTiming& timing : {kModal, kLax}) {
        GlottalPulse pulse;
        ASSERT_TRUE(pulse.Shape(timing, 2.0));
        // Both the solved closed form and the waveform itself integrate to zero; a flow that
        // did not return to zero would put a DC offset into every vowel.
        double scale = 2.0 * timing.cycle;
        EXPECT_NEAR(pulse.NetFlow() / scale, 0, 1e-9);
        EXPECT_NEAR(Integrate(pulse) / scale, 0, 1e-6);
    }
}

TEST(GlottalPulse, IsContinuousWithItsSharpestFallAtClosure) {
    GlottalPulse pulse;
    ASSERT_TRUE(pulse.Shape(kModal, 1.5));
    const double te = kModal.closure;
    EXPECT_NEAR(pulse.FlowDerivative(0), 0, 1e-12);
    EXPECT_NEAR(pulse.FlowDerivative(te), -1.5, 1e-9);
    EXPECT_NEAR(pulse.FlowDerivative(te + 1e-9), -1.5, 1e-4);
    EXPECT_NEAR(pulse.FlowDerivative(kModal.cycle - 1e-9), 0, 1e-4);
    EXPECT_GT(pulse.FlowDerivative(kModal.peakFlow / 2), 0); // the glottis opens: flow rises
    double lowest = 0;
    for (double t = 0; t < kModal.cycle; t += kModal.cycle / 5000) {
        lowest = std::min(lowest, pulse.FlowDerivative(t));
    }
    EXPECT_GE(lowest, -1.5 - 1e-9);
}

TEST(GlottalPulse, RefusesTimingsThatFormNoCycle) {
    GlottalPulse pulse;
    GlottalTiming closesBeforePeak = kModal;
    closesBeforePeak.closure = kModal.peakFlow * 0.9;
    GlottalTiming closesTooLate = kModal;
    closesTooLate.closure = kModal.peakFlow * 2.1;
    GlottalTiming returnTooLong = kModal;
    returnTooLong.returnPhase = kModal.cycle - kModal.closure;
    EXPECT_FALSE(pulse.Shape(closesBeforePeak, 1));
    EXPECT_FALSE(pulse.Shape(closesTooLate, 1));
    EXPECT_FALSE(pulse.Shape(returnTooLong, 1));
    EXPECT_FALSE(pulse.Shape(kModal, 0));
}

VoiceProfile ShortTestVoice() {
    VoiceProfile voice;
    voice.meanF0 = 150;
    voice.jitter = 0.008;
    voice.shimmer = 0.03;
    voice.seed = 7;
    return voice;
}

TEST(GenerateVoicing, DrawsTheProfilesPitchJitterAndShimmer) {
    VoicingTrack track = GenerateVoicing(ShortTestVoice(), 40000);
    ASSERT_EQ(track.samples.size(), 40000u);
    ASSERT_GT(track.periods.size(), 500u);
    double meanPeriod = 0;
    for (double period : track.periods) {
        meanPeriod += period;
    }
    meanPeriod /= static_cast<double>(track.periods.size());
    EXPECT_NEAR(1 / meanPeriod, 150, 3);
    EXPECT_NEAR(LocalPerturbation(track.periods), 0.008, 0.0015);
    EXPECT_NEAR(LocalPerturbation(track.excitations), 0.03, 0.005);
}

TEST(GenerateVoicing, HasNoDcOffsetAndStartsFromSilence) {
    VoicingTrack track = GenerateVoicing(ShortTestVoice(), 40000);
    ASSERT_FALSE(track.samples.empty());
    double sum = 0;
    double peak = 0;
    for (double s : track.samples) {
        sum += s;
        peak = std::max(peak, std::abs(s));
    }
    EXPECT_LT(std::abs(sum / static_cast<double>(track.samples.size())), 0.002 * peak);
    EXPECT_LT(std::abs(track.samples[0]), 0.01 * peak);
}

TEST(GenerateVoicing, IsReproducibleAndTheSeedMatters) {
    VoiceProfile voice = ShortTestVoice();
    std::vector<double> first = GenerateVoicing(voice, 5000).samples;
    EXPECT_EQ(GenerateVoicing(voice, 5000).samples, first);
    voice.seed = 8;
    EXPECT_NE(GenerateVoicing(voice, 5000).samples, first);
}

// The committed files are what the generator makes: regenerating each voice and scaling it
// by the file's own scale factor gives the file's samples (up to the rounding of the
// factor's six printed digits).
TEST(BundledVoiceFiles, AreWhatTheGeneratorMakes) {
    for (const BundledVoice& voice : BundledVoices()) {
        VoiceSamples file;
        std::string path = std::string(QUIRNEL_DATA_DIR) + "/Dat/" + voice.fileName;
        ASSERT_EQ(ReadVoiceFile(path, file), VoiceFileStatus::Loaded) << path;
        ASSERT_EQ(file.count, kVoiceFileSamples) << path;
        std::vector<double> voicing = GenerateVoicing(voice.profile, kVoiceFileSamples).samples;
        std::vector<int32_t> expected = QuantizeVoicing(voicing, 1 / double{file.scale});
        int worst = 0;
        for (size_t i = 0; i < expected.size(); ++i) {
            worst = std::max(worst, std::abs(expected[i] - file.samples[i]));
        }
        EXPECT_LE(worst, 1) << voice.fileName << " no longer matches the generator";
    }
}

TEST(WriteVoiceFile, WritesCountScaleAndOneSamplePerLine) {
    TempDir dir;
    std::string path = dir.File("v.dat");
    ASSERT_TRUE(WriteVoiceFile(path, {0, -7, 32767, -40000}, 3.5e-05));
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "4\n3.5e-05\n0\n-7\n32767\n-40000\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".partial"));
}

TEST(WriteVoiceFile, ReportsAFailureAndLeavesNothingHalfWritten) {
    TempDir dir;
    RecordingMessageSink sink;
    ScopedMessageSink scope(&sink);
    // A folder where the file should go: the file can be written beside it but not put in
    // its place.
    std::string blocked = dir.File("blocked.dat");
    std::filesystem::create_directory(blocked);
    EXPECT_FALSE(WriteVoiceFile(blocked, {1, 2, 3}, 1));
    EXPECT_EQ(sink.Messages().size(), 1u);
    EXPECT_TRUE(std::filesystem::is_directory(blocked));
    EXPECT_FALSE(std::filesystem::exists(blocked + ".partial"));

    sink.Clear();
    EXPECT_FALSE(WriteVoiceFile(dir.File("missing/v.dat"), {1}, 1));
    ASSERT_EQ(sink.Messages().size(), 1u);
    EXPECT_EQ(sink.Messages()[0].caption, "Error");
    EXPECT_EQ(sink.Messages()[0].text.rfind("Can't open file ", 0), 0u);
}

TEST(QuantizeVoicing, RoundsToNearestAndSaturates) {
    EXPECT_EQ(QuantizeVoicing({0.26, -0.26, 1e9, -1e9}, 10.0),
              (std::vector<int32_t>{3, -3, 2147483647, -2147483647}));
}

} // namespace

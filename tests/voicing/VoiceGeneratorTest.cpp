// Tests the voice generator: the glottal pulse, the drawn voicing, its spectral balance and
// the voice file writer.
#include "voicing/BundledVoices.h"
#include "voicing/GlottalPulse.h"
#include "voicing/SpectralBalance.h"
#include "voicing/VoiceFileWriter.h"
#include "voicing/VoicingGenerator.h"

#include "base/Report.h"
#include "synth/FrameSynth.h"
#include "synth/VoiceFile.h"

#include "Spectrum.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>

namespace {

// A modal male cycle of 8.7 ms and a laxer, shorter one.
const GlottalTiming kModal{0.0087, 0.0042, 0.00565, 0.00033};
const GlottalTiming kLax{0.0033, 0.0017, 0.00235, 0.00017};

// The integral of the flow derivative from the opening to `until`.
double Integrate(const GlottalPulse& pulse, double until) {
    constexpr int kSteps = 200000;
    double dt = until / kSteps;
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
        EXPECT_NEAR(Integrate(pulse, timing.cycle) / scale, 0, 1e-6);
        // The closed-form flow, which the generator samples, is that integral all along.
        for (double t : {timing.peakFlow, timing.closure, timing.closure + timing.returnPhase}) {
            EXPECT_NEAR(pulse.Flow(t) / scale, Integrate(pulse, t) / scale, 1e-6) << t;
        }
        EXPECT_NEAR(pulse.Flow(timing.cycle) / scale, 0, 1e-9);
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
    voice.f0 = 150;
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

TEST(GenerateVoicing, GlidesToTheEndPitch) {
    VoiceProfile voice = ShortTestVoice();
    voice.f0End = 100;
    voice.driftDepth = 0;
    VoicingTrack track = GenerateVoicing(voice, 40000);
    ASSERT_GT(track.periods.size(), 100u);
    auto meanF0 = [&](size_t from, size_t to) {
        double sum = 0;
        for (size_t i = from; i < to; ++i) {
            sum += track.periods[i];
        }
        return static_cast<double>(to - from) / sum;
    };
    EXPECT_NEAR(meanF0(0, 20), 150, 4);
    EXPECT_NEAR(meanF0(track.periods.size() - 20, track.periods.size()), 100, 3);
}

TEST(GenerateVoicing, IsReproducibleAndTheSeedMatters) {
    VoiceProfile voice = ShortTestVoice();
    std::vector<double> first = GenerateVoicing(voice, 5000).samples;
    EXPECT_EQ(GenerateVoicing(voice, 5000).samples, first);
    voice.seed = 8;
    EXPECT_NE(GenerateVoicing(voice, 5000).samples, first);
}

// The level of a sinusoid of `hz` after `filter`, against its level before, in dB (measured
// on the second half, after the filters have settled).
template <typename Filter> double MeasuredGainDb(double hz, Filter filter) {
    std::vector<double> tone(4000);
    for (size_t n = 0; n < tone.size(); ++n) {
        tone[n] = std::sin(2 * std::numbers::pi * hz * static_cast<double>(n) / 10000);
    }
    std::vector<double> out = tone;
    filter(out);
    double in = 0;
    double filtered = 0;
    for (size_t n = tone.size() / 2; n < tone.size(); ++n) {
        in += tone[n] * tone[n];
        filtered += out[n] * out[n];
    }
    return 10 * std::log10(filtered / in);
}

// The voicing as the formants receive it: through the synthesizer's output low-pass.
std::vector<double> ThroughOutputLowPass(std::vector<double> x) {
    SynthState state;
    state.sampleRate = 10000;
    InitSynthState(state);
    Resonator output{};
    SetResonator(0, state.sampleRate / 2, output, state);
    for (double& sample : x) {
        sample = Resonate(output, static_cast<float>(sample));
    }
    return x;
}

// Each voice's source falls evenly from its third harmonic up to 4.5 kHz, near the 6 dB per
// octave of a modal voice, with nothing rising through the formant region that would lift
// the harmonics above a formant against those below it and so move the measured formant.
// Measured on half a second of steady voicing as the mean power per harmonic in groups of
// harmonics half an octave wide (3, 4-5, 6-7, 8-11, 12-15, 16-23, 24-31, 32-...).
TEST(SpectralBalance, EachVoicesSourceFallsEvenlyAboveItsFirstHarmonics) {
    for (const BundledVoice& voice : BundledVoices()) {
        VoiceProfile steady = voice.profile;
        steady.driftDepth = 0;
        steady.wanderDepth = 0;
        const std::vector<double> all =
            ThroughOutputLowPass(GenerateVoicing(steady, 10000).samples);
        std::vector<double> x(all.begin() + 5000, all.end());
        for (size_t n = 0; n < x.size(); ++n) {
            x[n] *= 0.5 - 0.5 * std::cos(2 * std::numbers::pi * (n + 0.5) / x.size());
        }
        const double f0 = steady.f0;
        const int highest = static_cast<int>(4500 / f0);
        std::vector<double> levels;
        const int edges[] = {3, 4, 6, 8, 12, 16, 24, 32, 48};
        for (size_t g = 0; g + 1 < std::size(edges) && edges[g] <= highest; ++g) {
            const int from = edges[g];
            const int to = std::min(edges[g + 1], highest + 1);
            double power = 0;
            for (double hz = (from - 0.5) * f0; hz < (to - 0.5) * f0; hz += 1) {
                power += std::norm(SpectrumAt(x, hz, 10000));
            }
            levels.push_back(10 * std::log10(power / (to - from)));
        }
        ASSERT_GE(levels.size(), 5u) << voice.fileName;
        for (size_t i = 1; i < levels.size(); ++i) {
            EXPECT_LT(levels[i], levels[i - 1]) << voice.fileName << " group " << i;
        }
        const double slope = 2 * (levels.back() - levels.front()) / (levels.size() - 1);
        EXPECT_LT(slope, -5) << voice.fileName;
        EXPECT_GT(slope, -10) << voice.fileName;
        std::printf("%s: source %.1f dB per octave\n", voice.fileName.c_str(), slope);
    }
}

TEST(SpectralBalance, UndoesTheSynthesizersOutputLowPass) {
    // Through the synthesizer's own output resonator, the voicing comes out as it went in.
    auto both = [&](std::vector<double>& x) {
        UndoOutputLowPass(x);
        x = ThroughOutputLowPass(x);
    };
    for (double hz : {100.0, 2700.0, 4500.0}) {
        EXPECT_NEAR(MeasuredGainDb(hz, both), 0, 0.01) << hz;
    }
}

// The committed files are what the generator makes: regenerating each voice and scaling it
// by the file's own scale factor gives the file's samples (up to the rounding of the
// factor's six printed digits).
TEST(BundledVoiceFiles, AreWhatTheGeneratorMakes) {
    for (const BundledVoice& voice : BundledVoices()) {
        VoiceSamples file;
        std::string path = std::string(QUIRNEL_DATA_DIR) + "/Dat/" + voice.fileName;
        ASSERT_TRUE(ReadVoiceFile(path, file).Ok()) << path;
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
    ASSERT_TRUE(WriteVoiceFile(path, {0, -7, 32767, -40000}, 3.5e-05).Ok());
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "4\n3.5e-05\n0\n-7\n32767\n-40000\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".partial"));
}

TEST(WriteVoiceFile, ReportsAFailureAndLeavesNothingHalfWritten) {
    TempDir dir;
    // A folder where the file should go is refused, and nothing is left beside it.
    std::string blocked = dir.File("blocked.dat");
    std::filesystem::create_directory(blocked);
    const Report intoFolder = WriteVoiceFile(blocked, {1, 2, 3}, 1);
    EXPECT_FALSE(intoFolder.Ok());
    EXPECT_EQ(intoFolder.Messages().size(), 1u);
    EXPECT_TRUE(std::filesystem::is_directory(blocked));
    EXPECT_FALSE(std::filesystem::exists(blocked + ".partial"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);

    const Report intoNothing = WriteVoiceFile(dir.File("missing/v.dat"), {1}, 1);
    EXPECT_FALSE(intoNothing.Ok());
    ASSERT_EQ(intoNothing.Messages().size(), 1u);
    EXPECT_EQ(intoNothing.Messages()[0].caption, "Error");
    EXPECT_EQ(intoNothing.Messages()[0].text.rfind("Can't open file ", 0), 0u);
}

TEST(QuantizeVoicing, RoundsToNearestAndSaturates) {
    EXPECT_EQ(QuantizeVoicing({0.26, -0.26, 1e9, -1e9}, 10.0),
              (std::vector<int32_t>{3, -3, 2147483647, -2147483647}));
}

} // namespace

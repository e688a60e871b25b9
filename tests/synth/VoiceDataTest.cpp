// Measures the bundled voice files: their format, pitch, jitter, shimmer, loudness and the
// spectral balance of the vowels they voice.
#include "SynthTestSupport.h"
#include "doc/VowelInventory.h"
#include "synth/SynthRun.h"
#include "synth/VoiceFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr double kRate = 10000;

// ---- A voicing analyser, independent of the generator ----------------------------------

// Band-limited interpolation of a sampled signal at a fractional position (Hann-windowed
// sinc over +-16 samples), so that glottal closures can be placed between samples.
double ValueAt(const std::vector<double>& x, double t) {
    constexpr int kReach = 16;
    int centre = static_cast<int>(std::floor(t));
    double sum = 0;
    for (int k = centre - kReach + 1; k <= centre + kReach; ++k) {
        if (k < 0 || k >= static_cast<int>(x.size())) {
            continue;
        }
        double d = t - k;
        double sinc = d == 0 ? 1 : std::sin(std::numbers::pi * d) / (std::numbers::pi * d);
        double window = 0.5 + 0.5 * std::cos(std::numbers::pi * d / kReach);
        sum += x[k] * sinc * window;
    }
    return sum;
}

// The lowest point of the interpolated signal within one sample of sample i.
std::pair<double, double> RefinedMinimum(const std::vector<double>& x, int i) {
    double bestT = i;
    double bestValue = x[i];
    for (int step = -64; step <= 64; ++step) {
        double t = i + step / 64.0;
        double value = ValueAt(x, t);
        if (value < bestValue) {
            bestValue = value;
            bestT = t;
        }
    }
    return {bestT, bestValue};
}

// Rough period in samples from the autocorrelation of a stretch (pitch 50 to 500 Hz): the
// shortest lag whose correlation comes close to the best, so that twice the period, which
// correlates about as well, is not taken instead.
int RoughPeriod(const std::vector<double>& x, int start, int length) {
    constexpr int kShortest = 20;
    constexpr int kLongest = 200;
    if (start < 0 || x.size() < static_cast<size_t>(start + length + kLongest + 2)) {
        return 0;
    }
    std::vector<double> score(kLongest + 2, 0.0);
    for (int lag = kShortest; lag <= kLongest + 1; ++lag) {
        for (int n = start; n < start + length; ++n) {
            score[lag] += x[n] * x[n + lag];
        }
    }
    double best = *std::max_element(score.begin(), score.end());
    for (int lag = kShortest + 1; lag <= kLongest; ++lag) {
        bool peak = score[lag] >= score[lag - 1] && score[lag] >= score[lag + 1];
        if (peak && best > 0 && score[lag] >= 0.8 * best) {
            return lag;
        }
    }
    return 0;
}

struct VoicingMeasures {
    double meanF0 = 0;  // Hz, mean of the per-cycle F0
    double jitter = 0;  // local: mean |T(i) - T(i-1)| / mean T
    double shimmer = 0; // local, of the closure peak magnitudes
    size_t cycles = 0;
};

double LocalPerturbation(const std::vector<double>& values) {
    double differences = 0;
    for (size_t i = 1; i < values.size(); ++i) {
        differences += std::abs(values[i] - values[i - 1]);
    }
    double mean = 0;
    for (double v : values) {
        mean += v;
    }
    mean /= static_cast<double>(values.size());
    return differences / static_cast<double>(values.size() - 1) / mean;
}

// Finds the glottal closures (the strong negative peaks of the flow derivative) one period
// after another from `start` on, places each between samples, and measures the periods and
// peak magnitudes between them.
VoicingMeasures MeasureVoicing(const std::vector<double>& x, int start) {
    VoicingMeasures result;
    double period = RoughPeriod(x, start, 2000);
    if (period == 0) {
        return result;
    }
    int first = start;
    for (int n = start; n < start + static_cast<int>(period); ++n) {
        first = x[n] < x[first] ? n : first;
    }
    std::vector<double> closures;
    std::vector<double> peaks;
    int at = first;
    while (at + 2 * period + 20 < x.size()) {
        auto [t, value] = RefinedMinimum(x, at);
        if (!closures.empty()) {
            period = t - closures.back();
        }
        if (period < 10) {
            break; // no plausible glottal cycle here: stop rather than loop in place
        }
        closures.push_back(t);
        peaks.push_back(-value);
        int from = at + static_cast<int>(0.7 * period);
        int to = at + static_cast<int>(1.3 * period);
        at = from;
        for (int n = from; n <= to; ++n) {
            at = x[n] < x[at] ? n : at;
        }
    }
    std::vector<double> periods;
    double f0Sum = 0;
    for (size_t i = 1; i < closures.size(); ++i) {
        periods.push_back(closures[i] - closures[i - 1]);
        f0Sum += kRate / periods.back();
    }
    result.cycles = periods.size();
    if (periods.size() < 2) {
        return result;
    }
    result.meanF0 = f0Sum / static_cast<double>(periods.size());
    result.jitter = LocalPerturbation(periods);
    peaks.pop_back(); // one peak per measured period
    result.shimmer = LocalPerturbation(peaks);
    return result;
}

// The analyser must resolve fractions of a sample: a train of band-limited pulses with
// periods alternating 80 and 82.5 samples and peak magnitudes 1000 and 960 has a local
// jitter of 2.5 / 81.25 and a shimmer of 40 / 980.
TEST(VoicingAnalyser, ResolvesSubSamplePeriodsAndPeakChanges) {
    std::vector<double> x(20000, 0.0);
    double centre = 30.37;
    for (int pulse = 0; centre + 40 < x.size(); ++pulse) {
        double magnitude = pulse % 2 ? 960 : 1000;
        for (int n = static_cast<int>(centre) - 12; n <= static_cast<int>(centre) + 12; ++n) {
            double d = n - centre;
            double sinc = std::abs(d) < 1e-12
                              ? 1
                              : std::sin(0.3 * std::numbers::pi * d) / (0.3 * std::numbers::pi * d);
            x[n] -= magnitude * sinc * (0.5 + 0.5 * std::cos(std::numbers::pi * d / 13));
        }
        centre += pulse % 2 ? 82.5 : 80.0;
    }
    VoicingMeasures measured = MeasureVoicing(x, 0);
    EXPECT_GT(measured.cycles, 200u);
    EXPECT_NEAR(measured.meanF0, kRate / 81.25, 0.1);
    EXPECT_NEAR(measured.jitter, 2.5 / 81.25, 0.001);
    EXPECT_NEAR(measured.shimmer, 40.0 / 980.0, 0.002);
}

// ---- The bundled voices ----------------------------------------------------------------

struct BundledVoice {
    const char* fileName;
    double lowestF0;
    double highestF0;
    int presetGender; // whose preset vowels set the loudness: 0 female, 1 male
    int tiltDb;       // as the chart plays the voice: 0 for male, the default female tilt else
};

// F0 within 5 % of 115, 210 and 300 Hz.
const BundledVoice kVoices[] = {
    {"01-male.dat", 109.25, 120.75, 1, 0},
    {"02-female.dat", 199.5, 220.5, 0, 6},
    {"03-child.dat", 285, 315, 0, 6},
};

// The preset vowels of a gender, without the schwa page's blank placeholders.
std::vector<VowelEntry> RealPresetVowels(int gender) {
    std::vector<VowelEntry> vowels;
    for (int type = 0; type < kTypeCount; ++type)
        for (const VowelEntry* entry = kPresetVowels[gender][type]; entry->symbol; ++entry)
            if (entry->symbol[0] != ' ')
                vowels.push_back(*entry);
    return vowels;
}

std::string BundledPath(const BundledVoice& voice) {
    return std::string(QUIRNEL_DATA_DIR) + "/Dat/" + voice.fileName;
}

std::vector<double> LoadSamples(const std::string& path) {
    VoiceSamples store;
    if (!ReadVoiceFile(path, store).Ok()) {
        return {};
    }
    return std::vector<double>(store.samples.begin(), store.samples.end());
}

class BundledVoiceTest : public ::testing::TestWithParam<BundledVoice> {
protected:
    // The bundled file, with the engine made to load it afresh.
    std::string RenderablePath() {
        ReleaseSynthesis();
        return BundledPath(GetParam());
    }
};

TEST_P(BundledVoiceTest, IsACompleteVoiceFileLongEnoughForTheLongestFrames) {
    std::string path = BundledPath(GetParam());
    FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr) << path;
    std::string text;
    char buffer[65536];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        text.append(buffer, got);
    }
    std::fclose(file);

    VoiceSamples store;
    EXPECT_TRUE(ParseVoiceData(text.data(), text.size(), store)) << "ends before N samples";
    // 5 frames of 2000 ms read 99999 samples.
    EXPECT_GE(store.count, 100000);
    EXPECT_GT(store.scale, 0.0f);
    // Nothing may follow the samples: the count must say how many there are.
    size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    EXPECT_EQ(lines, static_cast<size_t>(store.count) + 2);
}

TEST_P(BundledVoiceTest, HasNaturalPitchJitterAndShimmer) {
    std::vector<double> x = LoadSamples(BundledPath(GetParam()));
    ASSERT_FALSE(x.empty());
    // Skip the first 50 ms, where the voicing builds up.
    VoicingMeasures measured = MeasureVoicing(x, 500);
    EXPECT_GT(measured.cycles, 1000u);
    EXPECT_GE(measured.meanF0, GetParam().lowestF0);
    EXPECT_LE(measured.meanF0, GetParam().highestF0);
    EXPECT_GE(measured.jitter, 0.003);
    EXPECT_LE(measured.jitter, 0.010);
    EXPECT_GE(measured.shimmer, 0.008);
    EXPECT_LE(measured.shimmer, 0.04);
    std::printf("%s: F0 %.1f Hz, jitter %.2f %%, shimmer %.2f %% over %zu cycles\n",
                GetParam().fileName, measured.meanF0, 100 * measured.jitter, 100 * measured.shimmer,
                measured.cycles);
}

TEST_P(BundledVoiceTest, LoudestPresetVowelPeaksJustBelowTheSixteenBitLimit) {
    std::string path = RenderablePath();
    int loudest = 0;
    for (const VowelEntry& vowel : RealPresetVowels(GetParam().presetGender)) {
        std::vector<int32_t> samples;
        ASSERT_TRUE(synthtest::Shown(RenderVowel(path, GetParam().tiltDb, 100, vowel.f1, vowel.f2,
                                                 vowel.f3, 0, 0, samples)));
        for (int32_t s : samples) {
            loudest = std::max(loudest, std::abs(s));
        }
    }
    EXPECT_GE(loudest, 24000);
    EXPECT_LE(loudest, 32767);
    std::printf("%s: loudest preset peak %d\n", GetParam().fileName, loudest);
}

TEST_P(BundledVoiceTest, VoicesTheLongestSoundToItsEnd) {
    std::string path = RenderablePath();
    std::vector<int32_t> samples;
    ASSERT_TRUE(synthtest::Shown(
        RenderVowel(path, GetParam().tiltDb, 2000, 500, 1500, 2500, 0, 0, samples)));
    ASSERT_EQ(samples.size(), 100000u);
    auto rms = [&](size_t from, size_t to) {
        double sum = 0;
        for (size_t i = from; i < to; ++i) {
            sum += static_cast<double>(samples[i]) * samples[i];
        }
        return std::sqrt(sum / static_cast<double>(to - from));
    };
    // The last 100 ms are voiced about as strongly as the middle of the sound.
    EXPECT_GT(rms(99000, 100000), 0.5 * rms(50000, 51000));
}

// ---- Spectral balance -------------------------------------------------------------------

// Level in dB of the strongest whole-Hz component between fromHz and toHz of x (a DFT of x
// zero-padded to one second, evaluated bin by bin).
double StrongestLevelDb(const std::vector<double>& x, double fromHz, double toHz) {
    double strongest = 0;
    for (int hz = static_cast<int>(std::ceil(fromHz)); hz <= static_cast<int>(toHz); ++hz) {
        const std::complex<double> step = std::polar(1.0, -2 * std::numbers::pi * hz / kRate);
        std::complex<double> phasor = 1;
        std::complex<double> sum = 0;
        for (double value : x) {
            sum += value * phasor;
            phasor *= step;
        }
        strongest = std::max(strongest, std::abs(sum));
    }
    return 20 * std::log10(strongest);
}

// A1 - A3 as phoneticians measure it on a recording: the middle 60 % of the vowel under a
// Hann window; A1 the strongest component between 0.7 F1 and the lower of 1.3 F1 and the
// midpoint of F1 and F2, A3 the strongest between 0.9 F3 and 1.1 F3.
double A1MinusA3(const std::vector<int32_t>& vowel, const VowelEntry& formants) {
    const size_t from = vowel.size() / 5;
    const size_t count = vowel.size() * 3 / 5;
    std::vector<double> part(count);
    for (size_t n = 0; n < count; ++n) {
        double window = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * (n + 0.5) / count);
        part[n] = vowel[from + n] * window;
    }
    const double f1 = formants.f1, f2 = formants.f2, f3 = formants.f3;
    return StrongestLevelDb(part, 0.7 * f1, std::min(1.3 * f1, (f1 + f2) / 2)) -
           StrongestLevelDb(part, 0.9 * f3, 1.1 * f3);
}

// The third formant lies as far below the first as in real voices: A1 - A3 of the preset
// i, a (back) and u, as the chart plays them, against the averages of 50 men (Pols, Tromp &
// Plomp 1973, JASA 53, 1093-1101) and 25 women (van Nierop, Pols & Plomp 1973, Acustica 29,
// 110-118), the level differences of their third and first formants. Within 12 dB each and
// 8 dB on average.
TEST(BundledVoices, VoiceVowelsWithTheSpectralBalanceOfRealVoices) {
    struct Measured {
        const BundledVoice& voice;
        int slot; // on the primary page: 0 i, 4 back a, 7 u
        double published;
    };
    const Measured vowels[] = {{kVoices[0], 0, 20.6}, {kVoices[0], 4, 22.8}, {kVoices[0], 7, 36.0},
                               {kVoices[1], 0, 29.7}, {kVoices[1], 4, 28.3}, {kVoices[1], 7, 44.1}};
    double deviations = 0;
    for (const Measured& vowel : vowels) {
        ReleaseSynthesis();
        const VowelEntry formants = RealPresetVowels(vowel.voice.presetGender)[vowel.slot];
        std::vector<int32_t> samples;
        ASSERT_TRUE(
            synthtest::Shown(RenderVowel(BundledPath(vowel.voice), vowel.voice.tiltDb, 100,
                                         formants.f1, formants.f2, formants.f3, 0, 0, samples)));
        const double measured = A1MinusA3(samples, formants);
        EXPECT_NEAR(measured, vowel.published, 12)
            << vowel.voice.fileName << " slot " << vowel.slot;
        deviations += std::abs(measured - vowel.published);
        std::printf("%s slot %d: A1 - A3 %.1f dB (published %.1f)\n", vowel.voice.fileName,
                    vowel.slot, measured, vowel.published);
    }
    EXPECT_LE(deviations / 6, 8);
    ReleaseSynthesis();
}

INSTANTIATE_TEST_SUITE_P(Voices, BundledVoiceTest, ::testing::ValuesIn(kVoices),
                         [](const auto& info) {
                             std::string name = info.param.fileName;
                             return name.substr(3, name.size() - 7);
                         });

// The voices menu lists the files in name order and must start with the male voice.
TEST(BundledVoices, AreTheThreeFilesWithTheMaleVoiceFirst) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(QUIRNEL_DATA_DIR "/Dat")) {
        if (entry.path().extension() == ".dat") {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"01-male.dat", "02-female.dat", "03-child.dat"}));
}

} // namespace

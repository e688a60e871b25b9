// The spectrum of a synthesized vowel against the engine that makes it.
#include "spectrum/VowelSpectrum.h"

#include "Spectrum.h"
#include "synth/SynthEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

const std::string kMale = QUIRNEL_DATA_DIR "/Dat/01-male.dat";
const std::string kFemale = QUIRNEL_DATA_DIR "/Dat/02-female.dat";

SynthFrame MiddleFrame(int f1, int f2, int f3) {
    VowelTrack track;
    BuildTrackForVowel(track, 0, f1, f2, f3, 0, 0);
    return track[2];
}

// The response drawn is the one the engine's own sections give: their impulse response,
// run sample by sample with Resonate and Antiresonate, transformed at single frequencies.
TEST(VowelSpectrum, FilterResponseIsTheEnginesSections) {
    SynthState setUp = FrameSetUp(MiddleFrame(300, 2200, 2900));
    std::vector<double> impulse(4000);
    for (size_t n = 0; n < impulse.size(); ++n) {
        float x = n == 0 ? 1.0f : 0.0f;
        x = Antiresonate(setUp.nasalZero, x);
        x = Resonate(setUp.nasalPoleCasc, x);
        for (Resonator* r : {&setUp.f5Casc, &setUp.f4Casc, &setUp.f3Casc, &setUp.f2Casc,
                             &setUp.f1Casc, &setUp.outputFilter})
            x = Resonate(*r, x);
        impulse[n] = x;
    }
    for (double hz : {0.0, 150.0, 305.0, 1000.0, 2205.0, 2905.0, 4000.0, 4990.0})
        EXPECT_NEAR(FilterResponseDb(setUp, hz),
                    20 * std::log10(std::abs(SpectrumAt(impulse, hz, kRunSampleRate))), 0.01)
            << hz << " Hz";
}

// Peaks of the filter curve at the frame's F1-F3, within 1 %, for vowels at the corners of
// the chart and a high F3.
TEST(VowelSpectrum, FilterPeaksLieAtTheFormants) {
    const int vowels[][3] = {
        {250, 2300, 3000}, {750, 1100, 2450}, {300, 700, 2250}, {500, 1500, 3300}};
    for (const auto& v : vowels) {
        VowelSpectrum spectrum = AnalyseVowel({kMale, 0, 100, v[0], v[1], v[2], 0, 0});
        ASSERT_TRUE(spectrum.report.Ok());
        std::vector<double> peaks;
        const auto& db = spectrum.filterDb;
        for (size_t k = 1; k + 1 < db.size(); ++k)
            if (db[k] > db[k - 1] && db[k] >= db[k + 1])
                peaks.push_back(static_cast<double>(k) * spectrum.binHz);
        for (int formant : spectrum.formants) {
            double nearest = 1e9;
            for (double peak : peaks)
                nearest = std::min(nearest, std::abs(peak - formant));
            EXPECT_LE(nearest, 0.01 * formant) << formant << " Hz of " << v[0] << "/" << v[1];
        }
    }
}

// Sound = source x filter at the harmonics of the steady middle, within 1 dB, for both
// bundled voices, with and without tilt; A1-A3 lie on harmonics near the formants.
TEST(VowelSpectrum, SoundIsSourceTimesFilterAtTheHarmonics) {
    const VowelRequest requests[] = {{kMale, 0, 100, 300, 2200, 2900, 0, 0},
                                     {kFemale, 12, 100, 800, 1300, 2800, 0, 0},
                                     {kMale, 24, 60, 450, 900, 2500, 0, 0}};
    for (const VowelRequest& request : requests) {
        VowelSpectrum spectrum = AnalyseVowel(request);
        ASSERT_TRUE(spectrum.report.Ok());
        ASSERT_GT(spectrum.f0Hz, 80);
        ASSERT_LT(spectrum.f0Hz, 300);
        ASSERT_GE(spectrum.harmonics.size(), 5000 / spectrum.f0Hz - 2);
        double loudest = -200;
        for (const Harmonic& h : spectrum.harmonics)
            loudest = std::max(loudest, h.soundDb);
        for (const Harmonic& h : spectrum.harmonics)
            if (h.soundDb > loudest - 60) { // above the leakage of the window
                EXPECT_NEAR(h.soundDb, h.filterDb + h.sourceDb, 1.0)
                    << h.hz << " Hz, voice " << request.voiceFile;
            }
        for (const HarmonicLevel& level : spectrum.levels)
            EXPECT_LE(std::abs(level.harmonicHz - level.formantHz), spectrum.f0Hz);
    }
}

// Measuring a vowel changes nothing the chart plays next: at a tilt, where the next sound
// hears what the sound before it left behind.
TEST(VowelSpectrum, LeavesTheNextSoundAsItWas) {
    SynthEngine chart;
    SynthEngine unmeasured;
    std::vector<int32_t> plain, measured, scratch;
    ASSERT_TRUE(unmeasured.RenderVowel(kMale, 12, 50, 300, 2200, 0, 0, 0, scratch).Ok());
    ASSERT_TRUE(unmeasured.RenderVowel(kMale, 12, 50, 700, 1200, 0, 0, 0, plain).Ok());
    ASSERT_TRUE(chart.RenderVowel(kMale, 12, 50, 300, 2200, 0, 0, 0, scratch).Ok());
    ASSERT_TRUE(AnalyseVowel({kMale, 10, 50, 500, 1500, 0, 600, 900}).report.Ok());
    ASSERT_TRUE(chart.RenderVowel(kMale, 12, 50, 700, 1200, 0, 0, 0, measured).Ok());
    EXPECT_EQ(plain, measured);
}

TEST(VowelSpectrum, DiphthongHasSpectrogramAndPaths) {
    VowelSpectrum spectrum = AnalyseVowel({kMale, 0, 100, 700, 1100, 0, 300, 2200});
    ASSERT_TRUE(spectrum.report.Ok());
    ASSERT_EQ(spectrum.formantPaths.size(), 5u);
    EXPECT_EQ(spectrum.formantPaths[0].hz, (std::array<int, 3>{700, 1100, 2750}));
    EXPECT_EQ(spectrum.formantPaths[4].hz[1], 1100 + (2200 - 1100) * 4 / 5);
    EXPECT_DOUBLE_EQ(spectrum.formantPaths[4].endS, 0.5);
    EXPECT_NEAR(spectrum.spectrogram.columns.size() * spectrum.spectrogram.columnSeconds, 0.5,
                0.002);
    EXPECT_EQ(spectrum.formants[0], 700 + (300 - 700) * 2 / 5);
}

// A recording shows the formants the analyser reads in it, and none where it hears no voice.
TEST(VowelSpectrum, RecordingShowsTheFormantsReadInIt) {
    SynthEngine engine;
    std::vector<int32_t> samples;
    ASSERT_TRUE(engine.RenderVowel(kMale, 0, 100, 700, 1200, 0, 0, 0, samples).Ok());
    const VowelSpectrum recording =
        AnalyseRecording(std::vector<double>(samples.begin(), samples.end()), 10000);
    ASSERT_TRUE(recording.report.Ok());
    EXPECT_NEAR(recording.formants[0], 700, 700 * 0.08);
    EXPECT_NEAR(recording.formants[1], 1200, 1200 * 0.03);
    EXPECT_EQ(AnalyseRecording(std::vector<double>(10000, 0.0), 10000).formants,
              (std::array<int, 3>{}));
}

TEST(VowelSpectrum, MissingVoiceFails) {
    EXPECT_FALSE(AnalyseVowel({"/nonexistent/voice.dat", 0, 100, 500, 1500, 0, 0, 0}).report.Ok());
    EXPECT_FALSE(AnalyseRecording({}, 44100).report.Ok());
}

TEST(VowelSpectrum, CsvHoldsEveryPointToFiveKilohertz) {
    VowelSpectrum spectrum = AnalyseVowel({kMale, 0, 100, 500, 1500, 0, 0, 0});
    std::istringstream csv(SpectrumCsv(spectrum));
    std::string line, last;
    std::getline(csv, line);
    EXPECT_EQ(line, "frequency_hz,sound_db,filter_db,source_db");
    size_t rows = 0;
    double hz = 0, sound = 0, filter = 0, source = 0;
    while (std::getline(csv, line)) {
        ++rows;
        if (rows == 100) {
            ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf,%lf,%lf", &hz, &sound, &filter, &source),
                      4);
        }
        last = line;
    }
    EXPECT_EQ(rows, spectrum.soundDb.size());
    EXPECT_NEAR(hz, 99 * spectrum.binHz, 0.01);
    EXPECT_NEAR(sound, spectrum.soundDb[99], 0.01);
    EXPECT_NEAR(filter, spectrum.filterDb[99], 0.01);
    EXPECT_NEAR(source, spectrum.sourceDb[99], 0.01);
    EXPECT_NEAR(std::stod(last), 5000, spectrum.binHz);
}

} // namespace

// Formants from the levels of a voice's harmonics: a least-squares fit of the cascade's
// resonators and a voice source to them (analysis by synthesis on the harmonics themselves,
// so that the wide gaps between the harmonics of a high voice hold no false detail).
#pragma once

#include <array>
#include <vector>

// One harmonic as measured: its frequency and level.
struct HarmonicAmplitude {
    double frequencyHz;
    double levelDb;
};

// The formants the fit places: F1-F3 and two above them (F4 and F5, or whatever shapes the
// spectrum above F3), with their bandwidths.
constexpr int kFittedFormants = 5;
struct FormantSet {
    std::array<double, kFittedFormants> frequenciesHz{};
    std::array<double, kFittedFormants> bandwidthsHz{};
};

struct HarmonicFitResult {
    FormantSet formants;
    double costDb2 = 0; // mean squared level error of the fit, dB^2, with its priors
    bool ok = false;
};

// Fits resonators and source to the harmonics of F0 starting from each seed, keeping the best
// fit. sampleRate is that of the signal the harmonics came from (the resonators are digital).
HarmonicFitResult FitHarmonics(const std::vector<HarmonicAmplitude>& harmonics, double f0Hz,
                               const std::vector<FormantSet>& seeds, double sampleRate);

// Formant candidates from the roots of Burg linear prediction polynomials of several orders
// on one windowed frame: each order gives seeds of five formants.
std::vector<FormantSet> LinearPredictionSeeds(const std::vector<double>& frame, double sampleRate,
                                              double f0Hz);

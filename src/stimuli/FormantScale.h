// The frequency scales a vowel continuum can take equal steps on, and the steps themselves.
#pragma once

#include <string>
#include <vector>

// Hz; Bark by the chart's formula (Traunmueller 1990, as HzToBark); ERB-rate (Glasberg &
// Moore 1990).
enum class FormantScale { Hz, Bark, Erb };

// "hz", "bark" and "erb" (as the command line and the manifest name them).
bool ParseFormantScale(const std::string& name, FormantScale& scale);
std::string FormantScaleName(FormantScale scale);

// A frequency on the scale, and back:
// Bark z = 26.81 f / (1960 + f) - 0.53, f = 1960 (z + 0.53) / (26.28 - z);
// ERB-rate E = 21.4 log10(1 + 0.00437 f), f = (10^(E / 21.4) - 1) / 0.00437.
double ToScale(FormantScale scale, double hz);
double FromScale(FormantScale scale, double value);

// F1, F2 and F3 of one vowel, in Hz.
struct Formants {
    int f1 = 0;
    int f2 = 0;
    int f3 = 0;
    bool operator==(const Formants&) const = default;
};

// `count` (at least 2) frequencies at equal steps on the scale from `from` to `to`, each
// rounded to the nearest Hz (halves away from zero); the first and the last are exactly
// `from` and `to`.
std::vector<int> EqualSteps(int from, int to, int count, FormantScale scale);

// The vowels of a continuum: F1 and F2 at equal steps on the scale, and F3 too when both
// points give it (f3 > 0); when neither does, each vowel takes the chart's automatic F3 of
// its own F1 and F2.
std::vector<Formants> ContinuumFormants(const Formants& from, const Formants& to, int count,
                                        FormantScale scale);

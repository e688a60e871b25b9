// Equal steps on a frequency scale, and the vowels of a vowel continuum.
#pragma once

#include "scales/FrequencyScales.h"

#include <string>
#include <vector>

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

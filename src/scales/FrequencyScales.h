// The frequency scales of the chart and of vowel continua (Hz, Bark, ERB-rate) with their
// inverses, and the third formant the chart estimates from the first two. Plain C++, below
// both the chart and the stimuli.
#pragma once

#include <string>

// Traunmueller's formula (1990): z = 26.81 hz / (1960 + hz) - 0.53, computed in long double.
double HzToBark(double hz);
// The chart's inverse: hz = (1960 z + 1038.8) / (26.28 - z), truncated toward zero and kept
// within the range of int (values at or above 26.28 Bark have no meaning).
int BarkToHz(float bark);

// The scales a vowel continuum can take equal steps on: Hz; Bark by the chart's formula;
// ERB-rate (Glasberg & Moore 1990).
enum class FormantScale { Hz, Bark, Erb };

// "hz", "bark" and "erb" (as the command line and the manifest name them).
bool ParseFormantScale(const std::string& name, FormantScale& scale);
std::string FormantScaleName(FormantScale scale);

// A frequency on the scale, and back, without rounding:
// Bark z = 26.81 f / (1960 + f) - 0.53, f = 1960 (z + 0.53) / (26.28 - z);
// ERB-rate E = 21.4 log10(1 + 0.00437 f), f = (10^(E / 21.4) - 1) / 0.00437.
double ToScale(FormantScale scale, double hz);
double FromScale(FormantScale scale, double value);

// The third formant estimated from the first two:
// 0.00007245 F1^2 - 0.4877 F2 + 0.0002191 F2^2 + 2530, truncated toward zero.
int AutomaticF3(int f1, int f2);

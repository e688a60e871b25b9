// Keeps the synthesizer's output low-pass from darkening generated voicing.
#pragma once

#include <vector>

// Filters 10 kHz voicing with the exact inverse of the synthesizer's output low-pass (a
// resonator at 0 Hz with a bandwidth of 5000 Hz), so that the low-pass, which takes about
// 5 dB at 2.7 kHz, no longer darkens the vowels voiced with it: the formants receive the
// glottal pulse's own spectrum.
void UndoOutputLowPass(std::vector<double>& samples);

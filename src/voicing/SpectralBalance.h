// Shapes the spectral balance of generated voicing before it goes into the synthesizer.
#pragma once

#include <vector>

// Filters 10 kHz voicing with the exact inverse of the synthesizer's output low-pass (a
// resonator at 0 Hz with a bandwidth of 5000 Hz), so that the low-pass, which takes about
// 5 dB at 2.7 kHz, no longer darkens the vowels voiced with it.
void UndoOutputLowPass(std::vector<double>& samples);

// Raises 10 kHz voicing above about 600 Hz: three equal first-order shelves with their zero
// at 600 Hz and their pole where each has risen by a third of brightnessDb, so that together
// they lift 5 kHz by brightnessDb and the lowest harmonics hardly at all (for 28 dB: 2 dB at
// 250 Hz, 9 dB at 700 Hz, 23 dB at 2.7 kHz). 0 leaves the voicing as it is.
void Brighten(std::vector<double>& samples, double brightnessDb);

// Gain in dB of Brighten at `hz` for the given brightness.
double BrightnessGainDb(double hz, double brightnessDb);

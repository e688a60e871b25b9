// Second-order resonators and antiresonators, the dB amplitude table and the sampled
// voicing source: the building blocks of the formant synthesizer.
#pragma once

#include <cstdint>

struct SynthState;

// Coefficients and memory of one second-order filter section. For a resonator the memory
// holds its last two outputs, for an antiresonator its last two inputs.
struct Resonator {
    float a;
    float b;
    float c;
    float prev1;
    float prev2;
};

// Amplitudes for 0..87 dB in thousandths.
extern const float kAmplitudeTable[88];

// Sets the coefficients of a resonator at frequency Hz with bandwidth Hz; keeps the memory.
void SetResonator(int32_t frequency, int32_t bandwidth, Resonator& resonator,
                  const SynthState& state);

// Sets an antiresonator, the inverse of the resonator with the same frequency and
// bandwidth; a frequency of 0 or less is taken as 1 Hz.
void SetAntiresonator(int32_t frequency, int32_t bandwidth, Resonator& resonator,
                      const SynthState& state);

// Filters one sample through a resonator.
float Resonate(Resonator& resonator, float x);

// Filters one sample through an antiresonator.
float Antiresonate(Resonator& resonator, float x);

// Linear amplitude of a level in dB; below 0 or above 87 is silence (0.0).
float DbToLinear(int32_t db);

// Next excitation value of the sampled natural voicing source: 0.0 while the period is 0,
// otherwise the next stored sample (silence past the end of the store).
float NextSourceSample(SynthState& state);

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

// Filters one sample through a resonator. Products and sums are formed in double and
// rounded to float when stored. Inline: called for every filter at every output sample.
inline float Resonate(Resonator& resonator, float x) {
    const float y =
        static_cast<float>(double{resonator.a} * x + double{resonator.b} * resonator.prev1 +
                           double{resonator.c} * resonator.prev2);
    resonator.prev2 = resonator.prev1;
    resonator.prev1 = y;
    return y;
}

// Filters one sample through an antiresonator (its memory holds the last two inputs).
inline float Antiresonate(Resonator& resonator, float x) {
    const float y =
        static_cast<float>(double{resonator.a} * x + double{resonator.b} * resonator.prev1 +
                           double{resonator.c} * resonator.prev2);
    resonator.prev2 = resonator.prev1;
    resonator.prev1 = x;
    return y;
}

// Linear amplitude of a level in dB; below 0 or above 87 is silence (0.0).
float DbToLinear(int32_t db);

// NextSourceSample, the sampled voicing source, is in synth/FrameSynth.h beside the state
// that holds its samples.

// One synthesis parameter frame, the five-frame vowel track and the formant bandwidth rule.
#pragma once

#include <array>
#include <cstdint>

// One synthesis parameter frame: 40 signed 32-bit parameters in a fixed order.
// Frequencies and bandwidths in Hz, levels in dB (0..87, anything else is silence).
struct SynthFrame {
    int32_t f0Tenths;  // fundamental frequency in 0.1 Hz; 0 or less = no voicing period
    int32_t voicingDb; // voicing into the cascade branch
    int32_t f1, b1;    // first formant and its cascade bandwidth
    int32_t f2, b2;    // second formant
    int32_t f3, b3;    // third formant
    int32_t f4, b4;    // fourth formant
    int32_t f5, b5;    // fifth formant
    int32_t f6, b6;    // sixth formant
    int32_t nasalZeroF, nasalZeroB; // nasal antiresonator frequency and bandwidth
    int32_t nasalPoleF, nasalPoleB; // nasal resonator frequency and bandwidth
    int32_t aspirationDb;           // no effect: there is no noise source
    int32_t openPhase;              // glottal open phase in samples
    int32_t breathinessDb;          // no effect: there is no noise source
    int32_t tiltDb;                 // spectral tilt of the voicing source
    int32_t fricationDb;            // no effect: there is no noise source
    int32_t skew;                   // alternate lengthening/shortening of periods, quarter samples
    int32_t a1Db, b1Par;            // parallel first formant amplitude and bandwidth
    int32_t a2Db, b2Par;            // parallel second formant
    int32_t a3Db, b3Par;            // parallel third formant
    int32_t a4Db, b4Par;            // parallel fourth formant
    int32_t a5Db, b5Par;            // parallel fifth formant
    int32_t a6Db, b6Par;            // parallel sixth formant
    int32_t nasalParDb;             // parallel nasal resonator amplitude
    int32_t bypassDb;               // parallel bypass amplitude
    int32_t parVoicingDb;           // voicing into the parallel branch
    int32_t gainDb;                 // overall output gain
};

constexpr int kSynthFrameParameters = 40;
static_assert(sizeof(SynthFrame) == kSynthFrameParameters * sizeof(int32_t),
              "SynthFrame must be exactly 40 packed int32 parameters");

constexpr int kTrackFrames = 5;

// Five frames of equal length, frame 0 first.
using VowelTrack = std::array<SynthFrame, kTrackFrames>;

// F1 to F5 of one point of the chart, in Hz.
using FormantTargets = std::array<int32_t, 5>;

// Fills the track with a steady vowel on targets, drifting 0, 5, 5, 10, 10 Hz upward.
void BuildVowelTrack(VowelTrack& track, const FormantTargets& targets, int32_t tiltDb);

// Fills the track with a glide from targets toward second: formant j of frame k is
// target j + trunc((second j - target j) * k / 5), so frame 0 lies on the first point.
void BuildDiphthongTrack(VowelTrack& track, const FormantTargets& targets,
                         const FormantTargets& second, int32_t tiltDb);

// Bandwidth in Hz of a formant at the given frequency (fifth-order polynomial fit, two
// coefficient sets split at 500 Hz), truncated toward zero.
int FormantBandwidth(double frequency);

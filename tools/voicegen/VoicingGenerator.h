// Generates a long stretch of natural-sounding glottal voicing (flow derivative) at 10 kHz.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The character of one speaker's voicing.
struct VoiceProfile {
    std::string name;            // "male", "female", "child"
    double meanF0 = 120;         // Hz
    double shapeRd = 1.0;        // LF shape: about 1 is modal, larger is laxer and softer
    double jitter = 0.007;       // local jitter: mean |T(i) - T(i-1)| / mean T
    double shimmer = 0.03;       // local shimmer: mean |A(i) - A(i-1)| / mean A
    double driftDepth = 0.03;    // slow sinusoidal F0 movement, fraction of F0
    double driftSeconds = 4.0;   // its period
    double wanderDepth = 0.01;   // slow random F0 wander, standard deviation as fraction
    double loudnessDrift = 0.03; // slow movement of the excitation strength, fraction
    double aspiration = 0.01;    // noise during the open phase, relative to the excitation
    double onsetSeconds = 0.015; // rise time of the excitation at the start
    uint32_t seed = 1;
};

// The generated voicing at unit excitation strength, with the cycle values drawn.
struct VoicingTrack {
    std::vector<double> samples;     // flow derivative at 10000 samples per second
    std::vector<double> periods;     // closure-to-closure intervals in seconds
    std::vector<double> excitations; // strength of each cycle's main excitation
};

constexpr int kVoiceSampleRate = 10000;

// Generates `sampleCount` samples of voicing for the profile. The same profile always gives
// the same samples (the random numbers come from a seeded Mersenne Twister through the
// program's own Gaussian transform, not the library's implementation-defined one).
VoicingTrack GenerateVoicing(const VoiceProfile& profile, int sampleCount);

// Local perturbation of a series: mean |x(i) - x(i-1)| / mean x.
double LocalPerturbation(const std::vector<double>& values);

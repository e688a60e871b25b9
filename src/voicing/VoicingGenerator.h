// Generates a long stretch of natural-sounding glottal voicing (flow derivative) at 10 kHz.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The character of one speaker's voicing. The first group are the inputs that make one
// voice differ from another; the rest shape the pulse and the slow movements of any voice.
struct VoiceProfile {
    std::string name; // "male", "female", "child"

    double f0 = 120;         // Hz, the mean fundamental frequency at the start
    double f0End = 0;        // Hz at the end of the glide (an even glide on a log scale from
                             // f0); 0 or less: no glide
    double glideSeconds = 0; // length of the glide, after which F0 stays at f0End; 0 or less:
                             // the glide takes the whole generated stretch
    double jitter = 0.004;   // local jitter: mean |T(i) - T(i-1)| / mean T
    double shimmer = 0.02;   // local shimmer: mean |A(i) - A(i-1)| / mean A
    double breath = 0.002;   // aspiration noise during the open phase, its standard deviation
                             // (before the 4.5 kHz low-pass) relative to the main excitation
    uint32_t seed = 1;       // the random draws: the same profile always gives the same samples

    // The shape of the glottal pulse, which alone sets the balance of low and high
    // harmonics. The flow derivative falls by 6 dB per octave above its first harmonics, the
    // fall of a modal voice with lip radiation, up to the return phase's corner, and by 12 dB
    // per octave beyond it: a shorter return phase (a sharper closure) is a brighter voice.
    double openQuotient = 0.6;    // opening to the main excitation (Te), fraction of the period
    double speedQuotient = 2.0;   // opening phase over closing phase, Tp / (Te - Tp), above 1
    double returnCornerHz = 4000; // 1 / (2 pi Ta), Ta the effective return phase
    double driftDepth = 0.03;     // slow sinusoidal F0 movement, fraction of F0
    double driftSeconds = 4.0;    // its period
    double wanderDepth = 0.005;   // slow, smooth random F0 wander, standard deviation as fraction
    double loudnessDrift = 0.03;  // slow movement of the excitation strength, fraction
    double onsetSeconds = 0.015;  // rise time of the excitation at the start
};

// The generated voicing at unit excitation strength, with the cycle values drawn.
struct VoicingTrack {
    std::vector<double> samples;     // flow derivative at 10000 samples per second, with the
                                     // synthesizer's output low-pass undone
    std::vector<double> periods;     // closure-to-closure intervals in seconds
    std::vector<double> excitations; // strength of each cycle's main excitation
};

constexpr int kVoiceSampleRate = 10000;

// Generates `sampleCount` samples of voicing for the profile. The same profile always gives
// the same samples (the random numbers come from a seeded Mersenne Twister through the
// program's own Gaussian transform, not the library's implementation-defined one). Empty
// when the profile's pulse shape cannot form a glottal cycle.
VoicingTrack GenerateVoicing(const VoiceProfile& profile, int sampleCount);

// Local perturbation of a series: mean |x(i) - x(i-1)| / mean x.
double LocalPerturbation(const std::vector<double>& values);

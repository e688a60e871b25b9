// Measures the pitch, jitter and shimmer of voicing (a glottal flow derivative) at 10 kHz.
#pragma once

#include <cstddef>
#include <vector>

// What MeasureVoicing finds: the glottal closures and the figures over them.
struct VoicingMeasures {
    double meanF0 = 0;            // Hz, mean of the per-cycle F0
    double jitter = 0;            // local: mean |T(i) - T(i-1)| / mean T
    double shimmer = 0;           // local, of the closure peak magnitudes
    size_t cycles = 0;            // periods measured
    std::vector<double> closures; // the closures, in samples (fractional) from the start of x
};

// Finds the glottal closures (the strong negative peaks of the flow derivative) one period
// after another from sample `start` on, from a rough period found by autocorrelation (F0 40
// to 600 Hz) over the first `stretch` samples, places each closure between samples, and
// measures the periods and peak magnitudes between them. Applied to a rendered vowel it
// follows the deepest trough of each period. A gliding pitch needs a short stretch, which
// the glide does not smear. No cycles when x holds too little voicing after `start`.
VoicingMeasures MeasureVoicing(const std::vector<double>& x, int start, int stretch = 2000);

// Mean F0 in Hz over the closures within [from, to) seconds at 10000 samples per second:
// the number of periods between the first and the last of them over the time they take, so
// that a closure placed late in one period and early in the next does not count twice; 0
// with fewer than two closures there.
double MeanF0Between(const VoicingMeasures& measures, double from, double to);

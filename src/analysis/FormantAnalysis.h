// Formants of a recorded voice: per 10 ms frame whether it is voiced, its F0, and F1-F3 with
// their bandwidths; and the medians over the voiced frames of a stretch. Nothing is asked of
// the caller: no speaker type, no formant ceiling, no order.
#pragma once

#include <array>
#include <atomic>
#include <vector>

// The frame step of a formant track, in seconds.
constexpr double kFormantFrameStep = 0.010;

struct FormantFrame {
    double timeS = 0; // the centre of the frame
    bool voiced = false;
    double f0Hz = 0;                      // 0 when unvoiced
    std::array<double, 3> formantsHz{};   // F1-F3, 0 when unvoiced
    std::array<double, 3> bandwidthsHz{}; // B1-B3, 0 when unvoiced
    // F1 lies so low beside F0 (below about 2.5 x F0) that it cannot be told apart from the
    // glottal source's own peak: its value is the best fit, not a reading to be trusted.
    bool f1Uncertain = false;
};

// The medians over the voiced frames of a stretch.
struct FormantSummary {
    bool voiced = false; // false: no voiced frame, the figures are 0
    double f0Hz = 0;
    std::array<double, 3> formantsHz{};
    double voicedS = 0;       // how long the voiced frames last together
    bool f1Uncertain = false; // most of the frames have an uncertain F1
};

// Analyses a mono signal at any rate (samples at full scale +-1). Frames are centred at
// 0, 10, 20 ms ... up to the end of the signal. When stop is given and becomes true, the
// analysis ends at the next frame and returns no frames.
std::vector<FormantFrame> TrackFormants(const std::vector<float>& samples, double sampleRate,
                                        const std::atomic<bool>* stop = nullptr);

// Mixes interleaved channels down to one.
std::vector<float> MixToMono(const std::vector<float>& interleaved, int channels);

// The medians over the voiced frames whose centres lie in [fromS, toS].
FormantSummary SummariseFormants(const std::vector<FormantFrame>& track, double fromS, double toS);

// The medians over the middle 60 % of the voiced stretch (from the first voiced frame to the
// last), where a vowel is steady and its onset and end are left out.
FormantSummary SummariseVowel(const std::vector<FormantFrame>& track);

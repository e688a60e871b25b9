// Formants of a voice as it is heard: the frame analysis of the formant tracker fed piece by
// piece, giving each 10 ms frame as soon as the sound it needs has come in.
#pragma once

#include "analysis/FormantAnalysis.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

// One frame of live sound: its formants (the time is that of the frame's centre, counted
// from the first sample pushed) and the input's level over the last 10 ms.
struct LiveFrame {
    FormantFrame formants;
    double levelDb = -200; // RMS over the last 10 ms, dB full scale
    bool clipped = false;  // a sample since the last frame reached full scale
};

// Analyses a running signal frame by frame. A frame is given once the sound 12.5 ms past its
// centre (half the linear prediction window) has come in: its centre lies kLagS behind the
// newest sample; the longer windows end at the newest sample. The rules of the
// formant tracker hold, with two that suit a running voice: a frame counts as loud enough
// when it lies above -60 dB full scale and within 40 dB of the loudest frame of the last
// few seconds; and a voiced frame is reported from the third of a run on (a run of fewer
// than three is a click or a chance periodicity, and waiting for the run's end would hold
// every frame back), or at once when the voice was reported at most 50 ms before (a
// dropout while the vowel changes suddenly needs no new run).
class CLiveFormants {
public:
    using FrameSink = std::function<void(const LiveFrame&)>;
    // How far a frame's centre lies behind the newest sample when it is given.
    static constexpr double kLagS = 150.0 / 12000;

    explicit CLiveFormants(double sampleRate);
    ~CLiveFormants();
    CLiveFormants(const CLiveFormants&) = delete;
    CLiveFormants& operator=(const CLiveFormants&) = delete;

    // Takes the next samples (at full scale +-1) and gives every frame they complete.
    void Push(const float* samples, size_t count, const FrameSink& sink);
    double SampleRate() const { return m_sampleRate; }

private:
    struct Analysis;
    double m_sampleRate;
    std::unique_ptr<Analysis> m_pAnalysis;
};

// The steps of the formant tracker's analysis of one 10 ms frame, shared by the analysis of a
// whole recording and that of a running voice: the working rate and windows, the pitch and
// its check, the harmonic spectrum, the level, and the fit of the resonators to the harmonics.
// Internal to src/analysis.
#pragma once

#include "analysis/FormantAnalysis.h"
#include "analysis/HarmonicFit.h"

#include <aubio/aubio.h>
#include <fftw3.h>

#include <vector>

namespace frame_analysis {

// The rate the analysis works at: its Nyquist frequency, 6 kHz, lies above F4 of every
// speaker, and 10 ms is a whole number of samples.
constexpr double kRate = 12000;
constexpr int kStep = 120;
// The pitch window: 512 samples (43 ms) find periods down to about 50 Hz.
constexpr int kPitchWindow = 512;
constexpr double kLowestF0Hz = 55;
constexpr double kHighestF0Hz = 900;
constexpr int kSpectrumSize = 2048;
// How far past its centre the pitch check reads the signal, at most.
constexpr long kRepeatReach = 240;

// A stretch of a signal at kRate: samples[0] is sample `first`, the stretch ends before
// sample `end`; the signal is zero outside it.
struct Signal {
    const double* samples = nullptr;
    long first = 0;
    long end = 0;
};
inline Signal WholeSignal(const std::vector<double>& x) {
    return {x.data(), 0, static_cast<long>(x.size())};
}

// length samples of the signal centred at sample centre.
std::vector<double> Segment(const Signal& x, long centre, int length);

// The RMS level of a frame in dB full scale.
double RmsDb(const std::vector<double>& frame);

// A second-order Butterworth low pass at about 1 kHz, sample by sample: the signal where the
// lowest harmonics, which say most about the period, are strongest.
class LowPass {
public:
    LowPass();
    double Next(double x) {
        const double y = m_b0 * x + m_b1 * m_x1 + m_b2 * m_x2 - m_a1 * m_y1 - m_a2 * m_y2;
        m_x2 = m_x1;
        m_x1 = x;
        m_y2 = m_y1;
        m_y1 = y;
        return y;
    }

private:
    double m_b0, m_b1, m_b2, m_a1, m_a2;
    double m_x1 = 0, m_x2 = 0, m_y1 = 0, m_y2 = 0;
};

// The window of the harmonic spectrum for f0, in samples: four periods.
int HarmonicWindow(double f0);

// The analysis of single frames, with the pitch tracker and the spectrum it keeps.
class FrameAnalyser {
public:
    FrameAnalyser();
    ~FrameAnalyser();
    FrameAnalyser(const FrameAnalyser&) = delete;
    FrameAnalyser& operator=(const FrameAnalyser&) = delete;

    // F0 from the pitch window centred at centre: 0 when the pitch tracker is unsure or F0
    // lies outside the voice's range.
    double Pitch(const Signal& x, long centre);
    // The voice's F0 from the pitch tracker's f0, by how the low-passed signal repeats around
    // centre (see VoicePeriod): 0 when it lies outside the voice's range.
    double CheckPitch(const Signal& low, long centre, double f0) const;
    // Fits the resonators to the harmonics of f0 read from a spectrum centred at
    // spectrumCentre, with seeds from linear prediction on a window centred at centre; fills
    // frame's voice, F0 and formants. False (frame untouched) when there are fewer than three
    // strong harmonics or the fit fails.
    bool Fit(const Signal& x, long centre, long spectrumCentre, double f0, FormantFrame& frame);

private:
    std::vector<HarmonicAmplitude> Harmonics(const Signal& x, long centre, double f0);
    double PeakDb(double frequency, double reach) const;

    aubio_pitch_t* m_pitch;
    fvec_t* m_pitchIn;
    fvec_t* m_pitchOut;
    double* m_in;
    fftw_complex* m_out;
    fftw_plan m_plan;
    std::vector<double> m_power;
    std::vector<FormantSet> m_fixedSeeds;
};

} // namespace frame_analysis

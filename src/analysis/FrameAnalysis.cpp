#include "analysis/FrameAnalysis.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace frame_analysis {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Harmonics above this are left out of the fit.
constexpr double kTopHz = 4000;

// FFTW's planner is not safe to call from several threads at once. One plan serves every
// analysis (new-array execution on buffers of the same size and alignment is thread-safe).
std::mutex g_plannerLock;

fftw_plan SpectrumPlan() {
    std::lock_guard lock(g_plannerLock);
    static const fftw_plan plan = [] {
        double* in = fftw_alloc_real(kSpectrumSize);
        fftw_complex* out = fftw_alloc_complex(kSpectrumSize / 2 + 1);
        const fftw_plan made = fftw_plan_dft_r2c_1d(kSpectrumSize, in, out, FFTW_ESTIMATE);
        fftw_free(in);
        fftw_free(out);
        return made;
    }();
    return plan;
}

// The normalised correlation of the signal with itself lag samples later, over length samples
// from start (zero outside the signal).
double Correlation(const Signal& x, long start, int length, int lag) {
    const long from = std::max(start, x.first);
    const long to = std::min(start + length, x.end - lag);
    const double* s = x.samples - x.first;
    double xy = 0, xx = 0, yy = 0;
    for (long i = from; i < to; ++i) {
        xy += s[i] * s[i + lag];
        xx += s[i] * s[i];
        yy += s[i + lag] * s[i + lag];
    }
    return xx > 0 && yy > 0 ? xy / std::sqrt(xx * yy) : 0;
}

// How well the signal repeats after about the given period: the peak of its correlation with
// itself within 6 % of that lag (between whole lags, interpolated), and the lag of the peak.
struct Repetition {
    double correlation = -1;
    double period = 0;
};
Repetition Repeat(const Signal& x, long centre, double period) {
    constexpr int kLength = 240; // 20 ms
    const int reach = std::max(2, static_cast<int>(std::ceil(0.06 * period)));
    std::vector<double> r;
    const int first = std::max(1, static_cast<int>(period) - reach);
    for (int l = first; l <= static_cast<int>(period) + reach + 1; ++l)
        r.push_back(Correlation(x, centre - (kLength + l) / 2, kLength, l));
    Repetition best;
    for (size_t i = 0; i < r.size(); ++i) {
        double peak = r[i], shift = 0;
        if (i > 0 && i + 1 < r.size()) {
            const double denom = r[i - 1] - 2 * r[i] + r[i + 1];
            if (denom < 0 && r[i] >= r[i - 1] && r[i] >= r[i + 1]) {
                shift = std::clamp(0.5 * (r[i - 1] - r[i + 1]) / denom, -0.5, 0.5);
                peak = r[i] - 0.25 * (r[i - 1] - r[i + 1]) * shift;
            }
        }
        if (peak > best.correlation)
            best = {peak, first + static_cast<double>(i) + shift};
    }
    return best;
}

// A pitch tracker can take a strong harmonic for the fundamental (the second, or the third
// when F1 and F2 lie together on it), or two or three periods of a breathy voice for one.
// The voice's period is the shortest of the period found, its half, its third and its whole
// multiples after which the signal repeats about as well as after the best of them: a voice
// repeats after each multiple of its period, slightly less well after the longer ones as its
// pitch moves, and clearly less well after a fraction of it.
double VoicePeriod(const Signal& x, long centre, double period) {
    std::vector<Repetition> candidates;
    for (double fraction : {1.0 / 3, 0.5})
        if (fraction * period >= kRate / kHighestF0Hz)
            candidates.push_back(Repeat(x, centre, fraction * period));
    for (int k = 1; k == 1 || k * period <= kRate / kLowestF0Hz; ++k)
        candidates.push_back(Repeat(x, centre, k * period));
    double most = -1;
    for (const Repetition& candidate : candidates)
        most = std::max(most, candidate.correlation);
    // "About as well": at most twice the best one's shortfall from a perfect repetition, and
    // 0.02 more for the breath and the moving pitch of a real voice.
    for (const Repetition& candidate : candidates)
        if (1 - candidate.correlation <= 2 * (1 - most) + 0.02)
            return candidate.period;
    return period;
}

// Seeds for the fit beside those of linear prediction: a neutral vowel's formants for a
// long, a middle and a short vocal tract.
std::vector<FormantSet> FixedSeeds() {
    std::vector<FormantSet> seeds;
    for (double scale : {0.95, 1.15, 1.35}) {
        FormantSet seed;
        for (int i = 0; i < kFittedFormants; ++i) {
            seed.frequenciesHz[i] = scale * (500 + 1000 * i);
            seed.bandwidthsHz[i] = 80 + 40 * i;
        }
        seeds.push_back(seed);
    }
    return seeds;
}

} // namespace

std::vector<double> Segment(const Signal& x, long centre, int length) {
    std::vector<double> out(length, 0.0);
    const long start = centre - length / 2;
    for (int i = 0; i < length; ++i) {
        const long j = start + i;
        if (j >= x.first && j < x.end)
            out[i] = x.samples[j - x.first];
    }
    return out;
}

double RmsDb(const std::vector<double>& frame) {
    double sum = 0;
    for (double v : frame)
        sum += v * v;
    return 10 * std::log10(sum / static_cast<double>(frame.size()) + 1e-20);
}

LowPass::LowPass() {
    const double w = 2 * kPi * 1000 / kRate;
    const double alpha = std::sin(w) / std::sqrt(2.0);
    const double a0 = 1 + alpha;
    m_b0 = (1 - std::cos(w)) / 2 / a0;
    m_b1 = (1 - std::cos(w)) / a0;
    m_b2 = m_b0;
    m_a1 = -2 * std::cos(w) / a0;
    m_a2 = (1 - alpha) / a0;
}

int HarmonicWindow(double f0) {
    return std::clamp(static_cast<int>(4 * kRate / f0), 160, kSpectrumSize);
}

FrameAnalyser::FrameAnalyser()
    : m_pitch(new_aubio_pitch("yinfast", kPitchWindow, kPitchWindow, static_cast<uint_t>(kRate))),
      m_pitchIn(new_fvec(kPitchWindow)), m_pitchOut(new_fvec(1)), m_plan(SpectrumPlan()),
      m_fixedSeeds(FixedSeeds()) {
    aubio_pitch_set_unit(m_pitch, "Hz");
    aubio_pitch_set_tolerance(m_pitch, 0.12f);
    aubio_pitch_set_silence(m_pitch, -90.0f);
    m_in = fftw_alloc_real(kSpectrumSize);
    m_out = fftw_alloc_complex(kSpectrumSize / 2 + 1);
}

FrameAnalyser::~FrameAnalyser() {
    del_aubio_pitch(m_pitch);
    del_fvec(m_pitchIn);
    del_fvec(m_pitchOut);
    fftw_free(m_in);
    fftw_free(m_out);
}

// aubio's YIN on the frame alone.
double FrameAnalyser::Pitch(const Signal& x, long centre) {
    const std::vector<double> frame = Segment(x, centre, kPitchWindow);
    for (int i = 0; i < kPitchWindow; ++i)
        m_pitchIn->data[i] = static_cast<smpl_t>(frame[i]);
    aubio_pitch_do(m_pitch, m_pitchIn, m_pitchOut);
    const double confidence = aubio_pitch_get_confidence(m_pitch);
    const double f0 = m_pitchOut->data[0];
    if (!(confidence >= 0.8) || f0 < kLowestF0Hz || f0 > kHighestF0Hz)
        return 0;
    return f0;
}

double FrameAnalyser::CheckPitch(const Signal& low, long centre, double f0) const {
    f0 = kRate / VoicePeriod(low, centre, kRate / f0);
    if (f0 < kLowestF0Hz || f0 > kHighestF0Hz)
        return 0;
    return f0;
}

bool FrameAnalyser::Fit(const Signal& x, long centre, long spectrumCentre, double f0,
                        FormantFrame& frame) {
    const std::vector<HarmonicAmplitude> harmonics = Harmonics(x, spectrumCentre, f0);
    // A voice has more than one strong harmonic; a lone tone has no envelope to read.
    double strongest = -400;
    for (const HarmonicAmplitude& h : harmonics)
        strongest = std::max(strongest, h.levelDb);
    int strong = 0;
    for (const HarmonicAmplitude& h : harmonics)
        strong += h.levelDb > strongest - 40;
    if (strong < 3)
        return false;
    const int lpcLength = std::clamp(static_cast<int>(0.025 * kRate), 160, 600);
    std::vector<double> lpcFrame = Segment(x, centre, lpcLength);
    for (int i = 0; i < lpcLength; ++i)
        lpcFrame[i] *= 0.54 - 0.46 * std::cos(2 * kPi * (i + 0.5) / lpcLength);
    std::vector<FormantSet> seeds = LinearPredictionSeeds(lpcFrame, kRate, f0);
    seeds.insert(seeds.end(), m_fixedSeeds.begin(), m_fixedSeeds.end());
    const HarmonicFitResult fit = FitHarmonics(harmonics, f0, seeds, kRate);
    if (!fit.ok)
        return false;
    frame.voiced = true;
    frame.f0Hz = f0;
    for (int i = 0; i < 3; ++i) {
        frame.formantsHz[i] = fit.formants.frequenciesHz[i];
        frame.bandwidthsHz[i] = fit.formants.bandwidthsHz[i];
    }
    frame.f1Uncertain = frame.formantsHz[0] < 2.5 * f0;
    return true;
}

// The levels in dB of the harmonics of f0 below kTopHz, from the power spectrum of a Hann
// window four periods long centred at centre (long enough to part neighbouring harmonics,
// short enough for a changing voice).
std::vector<HarmonicAmplitude> FrameAnalyser::Harmonics(const Signal& x, long centre, double f0) {
    const int length = HarmonicWindow(f0);
    const std::vector<double> frame = Segment(x, centre, length);
    double mean = 0;
    for (double v : frame)
        mean += v;
    mean /= length;
    std::fill(m_in, m_in + kSpectrumSize, 0.0);
    for (int i = 0; i < length; ++i)
        m_in[i] = (frame[i] - mean) * (0.5 - 0.5 * std::cos(2 * kPi * (i + 0.5) / length));
    fftw_execute_dft_r2c(m_plan, m_in, m_out);
    m_power.resize(kSpectrumSize / 2 + 1);
    for (size_t i = 0; i < m_power.size(); ++i)
        m_power[i] = m_out[i][0] * m_out[i][0] + m_out[i][1] * m_out[i][1] + 1e-20;
    std::vector<HarmonicAmplitude> harmonics;
    for (int k = 1; k * f0 < kTopHz; ++k)
        harmonics.push_back({k * f0, PeakDb(k * f0, 0.2 * f0)});
    return harmonics;
}

// The level of the strongest peak within +-reach of frequency, interpolated.
double FrameAnalyser::PeakDb(double frequency, double reach) const {
    const double binHz = kRate / kSpectrumSize;
    const int lo = std::max(1, static_cast<int>((frequency - reach) / binHz));
    const int hi = std::max(lo, std::min(static_cast<int>(m_power.size()) - 2,
                                         static_cast<int>((frequency + reach) / binHz) + 1));
    int peak = lo;
    for (int i = lo; i <= hi; ++i)
        if (m_power[i] > m_power[peak])
            peak = i;
    const double l = 10 * std::log10(m_power[peak - 1]), c = 10 * std::log10(m_power[peak]),
                 r = 10 * std::log10(m_power[peak + 1]);
    const double denom = l - 2 * c + r;
    const double shift = denom < 0 ? std::clamp(0.5 * (l - r) / denom, -0.5, 0.5) : 0;
    return c - 0.25 * (l - r) * shift;
}

} // namespace frame_analysis

#include "analysis/FormantAnalysis.h"

#include "analysis/HarmonicFit.h"

#include <aubio/aubio.h>
#include <fftw3.h>
#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>

namespace {

constexpr double kPi = 3.14159265358979323846;
// The rate the analysis works at: its Nyquist frequency, 6 kHz, lies above F4 of every
// speaker, and 10 ms is a whole number of samples.
constexpr double kRate = 12000;
constexpr int kStep = 120;
// The pitch window: 512 samples (43 ms) find periods down to about 50 Hz.
constexpr int kPitchWindow = 512;
constexpr double kLowestF0Hz = 55;
constexpr double kHighestF0Hz = 900;
// Harmonics above this are left out of the fit.
constexpr double kTopHz = 4000;
constexpr int kSpectrumSize = 2048;

std::vector<double> Resample(const std::vector<float>& samples, double sampleRate) {
    if (samples.empty())
        return {};
    if (std::abs(sampleRate - kRate) < 1e-6)
        return std::vector<double>(samples.begin(), samples.end());
    const double ratio = kRate / sampleRate;
    std::vector<float> out(static_cast<size_t>(std::ceil(samples.size() * ratio)) + 16);
    // Medium quality: its pass band reaches well past the 4 kHz the fit uses.
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_MQ, 0);
    size_t written = 0;
    if (soxr_oneshot(sampleRate, kRate, 1, samples.data(), samples.size(), nullptr, out.data(),
                     out.size(), &written, &io, &quality, nullptr) != nullptr)
        return {};
    out.resize(written);
    return std::vector<double>(out.begin(), out.end());
}

// A frame of the signal centred at sample centre, zero outside the signal.
std::vector<double> Segment(const std::vector<double>& x, long centre, int length) {
    std::vector<double> out(length, 0.0);
    const long start = centre - length / 2;
    for (int i = 0; i < length; ++i) {
        const long j = start + i;
        if (j >= 0 && j < static_cast<long>(x.size()))
            out[i] = x[j];
    }
    return out;
}

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

class Spectrum {
public:
    Spectrum() : m_plan(SpectrumPlan()) {
        m_in = fftw_alloc_real(kSpectrumSize);
        m_out = fftw_alloc_complex(kSpectrumSize / 2 + 1);
    }
    ~Spectrum() {
        fftw_free(m_in);
        fftw_free(m_out);
    }
    Spectrum(const Spectrum&) = delete;
    Spectrum& operator=(const Spectrum&) = delete;

    // The levels in dB of the harmonics of f0 below kTopHz, from a Hann window four periods
    // long (long enough to part neighbouring harmonics, short enough for a changing voice).
    std::vector<HarmonicAmplitude> Harmonics(const std::vector<double>& x, long centre, double f0) {
        Analyse(x, centre, 4 * kRate / f0);
        std::vector<HarmonicAmplitude> harmonics;
        for (int k = 1; k * f0 < kTopHz; ++k)
            harmonics.push_back({k * f0, PeakDb(k * f0, 0.2 * f0)});
        return harmonics;
    }

private:
    // The power spectrum of a Hann window of the given length centred at centre.
    void Analyse(const std::vector<double>& x, long centre, double windowLength) {
        const int length = std::clamp(static_cast<int>(windowLength), 160, kSpectrumSize);
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
    }

    // The level of the strongest peak within +-reach of frequency, interpolated.
    double PeakDb(double frequency, double reach) const {
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

    double* m_in;
    fftw_complex* m_out;
    fftw_plan m_plan;
    std::vector<double> m_power;
};

// F0 and how sure the pitch tracker is, per frame; aubio's YIN on each frame alone.
class PitchTracker {
public:
    PitchTracker()
        : m_pitch(
              new_aubio_pitch("yinfast", kPitchWindow, kPitchWindow, static_cast<uint_t>(kRate))),
          m_in(new_fvec(kPitchWindow)), m_out(new_fvec(1)) {
        aubio_pitch_set_unit(m_pitch, "Hz");
        aubio_pitch_set_tolerance(m_pitch, 0.12f);
        aubio_pitch_set_silence(m_pitch, -90.0f);
    }
    ~PitchTracker() {
        del_aubio_pitch(m_pitch);
        del_fvec(m_in);
        del_fvec(m_out);
    }
    PitchTracker(const PitchTracker&) = delete;
    PitchTracker& operator=(const PitchTracker&) = delete;

    double Find(const std::vector<double>& x, long centre, double& confidence) {
        const std::vector<double> frame = Segment(x, centre, kPitchWindow);
        for (int i = 0; i < kPitchWindow; ++i)
            m_in->data[i] = static_cast<smpl_t>(frame[i]);
        aubio_pitch_do(m_pitch, m_in, m_out);
        confidence = aubio_pitch_get_confidence(m_pitch);
        return m_out->data[0];
    }

private:
    aubio_pitch_t* m_pitch;
    fvec_t* m_in;
    fvec_t* m_out;
};

// The normalised correlation of the signal with itself lag samples later, over length samples
// from start (zero outside the signal).
double Correlation(const std::vector<double>& x, long start, int length, int lag) {
    const long size = static_cast<long>(x.size());
    const long from = std::max(start, 0L);
    const long to = std::min(start + length, size - lag);
    double xy = 0, xx = 0, yy = 0;
    for (long i = from; i < to; ++i) {
        xy += x[i] * x[i + lag];
        xx += x[i] * x[i];
        yy += x[i + lag] * x[i + lag];
    }
    return xx > 0 && yy > 0 ? xy / std::sqrt(xx * yy) : 0;
}

// How well the signal repeats after about the given period: the peak of its correlation with
// itself within 6 % of that lag (between whole lags, interpolated), and the lag of the peak.
struct Repetition {
    double correlation = -1;
    double period = 0;
};
Repetition Repeat(const std::vector<double>& x, long centre, double period) {
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
double VoicePeriod(const std::vector<double>& x, long centre, double period) {
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

// The signal below about 1 kHz (a second-order Butterworth low pass), where the lowest
// harmonics, which say most about the period, are strongest.
std::vector<double> LowPass(const std::vector<double>& x) {
    const double w = 2 * kPi * 1000 / kRate;
    const double alpha = std::sin(w) / std::sqrt(2.0);
    const double a0 = 1 + alpha;
    const double b0 = (1 - std::cos(w)) / 2 / a0, b1 = (1 - std::cos(w)) / a0, b2 = b0;
    const double a1 = -2 * std::cos(w) / a0, a2 = (1 - alpha) / a0;
    std::vector<double> y(x.size());
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        y[i] = b0 * x[i] + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x[i];
        y2 = y1;
        y1 = y[i];
    }
    return y;
}

double RmsDb(const std::vector<double>& x, long centre, int length) {
    const std::vector<double> frame = Segment(x, centre, length);
    double sum = 0;
    for (double v : frame)
        sum += v * v;
    return 10 * std::log10(sum / length + 1e-20);
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

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    const size_t mid = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + mid, values.end());
    const double upper = values[mid];
    if (values.size() % 2 == 1)
        return upper;
    return 0.5 * (upper + *std::max_element(values.begin(), values.begin() + mid));
}

} // namespace

std::vector<float> MixToMono(const std::vector<float>& interleaved, int channels) {
    if (channels <= 1)
        return interleaved;
    std::vector<float> mono(interleaved.size() / channels);
    for (size_t i = 0; i < mono.size(); ++i) {
        double sum = 0;
        for (int c = 0; c < channels; ++c)
            sum += interleaved[i * channels + c];
        mono[i] = static_cast<float>(sum / channels);
    }
    return mono;
}

std::vector<FormantFrame> TrackFormants(const std::vector<float>& samples, double sampleRate,
                                        const std::atomic<bool>* stop) {
    std::vector<FormantFrame> track;
    if (samples.empty() || !(sampleRate > 0))
        return track;
    const std::vector<double> x = Resample(samples, sampleRate);
    const size_t frames = x.size() / kStep + 1;
    track.resize(frames);
    std::vector<double> levels(frames);
    double loudest = -200;
    for (size_t n = 0; n < frames; ++n) {
        track[n].timeS = static_cast<double>(n) * kFormantFrameStep;
        levels[n] = RmsDb(x, static_cast<long>(n) * kStep, 2 * kStep);
        loudest = std::max(loudest, levels[n]);
    }
    PitchTracker pitch;
    Spectrum spectrum;
    const std::vector<double> low = LowPass(x);
    const std::vector<FormantSet> fixedSeeds = FixedSeeds();
    for (size_t n = 0; n < frames; ++n) {
        if (stop && stop->load(std::memory_order_relaxed))
            return {};
        FormantFrame& frame = track[n];
        const long centre = static_cast<long>(n) * kStep;
        // Voiced: loud enough (within 40 dB of the loudest frame, above -70 dB full scale)
        // and periodic to the pitch tracker.
        if (levels[n] < loudest - 40 || levels[n] < -70)
            continue;
        double confidence = 0;
        double f0 = pitch.Find(x, centre, confidence);
        if (!(confidence >= 0.8) || f0 < kLowestF0Hz || f0 > kHighestF0Hz)
            continue;
        f0 = kRate / VoicePeriod(low, centre, kRate / f0);
        if (f0 < kLowestF0Hz || f0 > kHighestF0Hz)
            continue;
        const std::vector<HarmonicAmplitude> harmonics = spectrum.Harmonics(x, centre, f0);
        // A voice has more than one strong harmonic; a lone tone has no envelope to read.
        double strongest = -400;
        for (const HarmonicAmplitude& h : harmonics)
            strongest = std::max(strongest, h.levelDb);
        int strong = 0;
        for (const HarmonicAmplitude& h : harmonics)
            strong += h.levelDb > strongest - 40;
        if (strong < 3)
            continue;
        const int lpcLength = std::clamp(static_cast<int>(0.025 * kRate), 160, 600);
        std::vector<double> lpcFrame = Segment(x, centre, lpcLength);
        for (int i = 0; i < lpcLength; ++i)
            lpcFrame[i] *= 0.54 - 0.46 * std::cos(2 * kPi * (i + 0.5) / lpcLength);
        std::vector<FormantSet> seeds = LinearPredictionSeeds(lpcFrame, kRate, f0);
        seeds.insert(seeds.end(), fixedSeeds.begin(), fixedSeeds.end());
        const HarmonicFitResult fit = FitHarmonics(harmonics, f0, seeds, kRate);
        if (!fit.ok)
            continue;
        frame.voiced = true;
        frame.f0Hz = f0;
        for (int i = 0; i < 3; ++i) {
            frame.formantsHz[i] = fit.formants.frequenciesHz[i];
            frame.bandwidthsHz[i] = fit.formants.bandwidthsHz[i];
        }
        frame.f1Uncertain = frame.formantsHz[0] < 2.5 * f0;
    }
    // A voice lasts: runs of fewer than three voiced frames (a click, a chance periodicity in
    // noise) are not taken as voiced.
    for (size_t n = 0; n < frames;) {
        size_t end = n;
        while (end < frames && track[end].voiced)
            ++end;
        if (end - n < 3)
            for (size_t i = n; i < end; ++i)
                track[i] = FormantFrame{track[i].timeS};
        n = std::max(end, n + 1);
    }
    return track;
}

FormantSummary SummariseFormants(const std::vector<FormantFrame>& track, double fromS, double toS) {
    FormantSummary summary;
    std::vector<double> f0, f1, f2, f3;
    int uncertain = 0;
    for (const FormantFrame& frame : track) {
        if (!frame.voiced || frame.timeS < fromS - 1e-9 || frame.timeS > toS + 1e-9)
            continue;
        f0.push_back(frame.f0Hz);
        f1.push_back(frame.formantsHz[0]);
        f2.push_back(frame.formantsHz[1]);
        f3.push_back(frame.formantsHz[2]);
        uncertain += frame.f1Uncertain;
    }
    if (f0.empty())
        return summary;
    summary.voiced = true;
    summary.f0Hz = Median(f0);
    summary.formantsHz = {Median(f1), Median(f2), Median(f3)};
    summary.voicedS = static_cast<double>(f0.size()) * kFormantFrameStep;
    summary.f1Uncertain = 2 * uncertain > static_cast<int>(f0.size());
    return summary;
}

FormantSummary SummariseVowel(const std::vector<FormantFrame>& track) {
    double first = -1, last = -1;
    for (const FormantFrame& frame : track) {
        if (!frame.voiced)
            continue;
        if (first < 0)
            first = frame.timeS;
        last = frame.timeS;
    }
    if (first < 0)
        return {};
    const double length = last - first;
    FormantSummary summary = SummariseFormants(track, first + 0.2 * length, last - 0.2 * length);
    // How long the voice lasts is told of the whole stretch, not only of its middle.
    summary.voicedS = SummariseFormants(track, first, last).voicedS;
    return summary;
}

#include "analysis/LiveFormants.h"

#include "analysis/HarmonicFit.h"

#include <aubio/aubio.h>
#include <fftw3.h>
#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
// The formant tracker's own working rate, step and windows (see FormantAnalysis.cpp).
constexpr double kRate = 12000;
constexpr int kStep = 120;
constexpr int kPitchWindow = 512;
// A frame is analysed once this much sound after its centre has come in: half the linear
// prediction window. The windows longer than that (pitch, harmonics, octave check) end at
// the newest sample instead of being centred on the frame; the pitch changes slowly
// enough that its window may lag the frame by a few milliseconds.
constexpr long kLead = 150;
constexpr double kLowestF0Hz = 55;
constexpr double kHighestF0Hz = 900;
constexpr double kTopHz = 4000;
constexpr int kSpectrumSize = 2048;
// The sound kept before a frame's centre: the octave check's window is the longest, at
// most kSpectrumSize samples.
constexpr long kHistory = kSpectrumSize;
// Loud enough to be a voice: above this, and within kRangeDb of the loudest frame, whose
// level sinks by kLoudestFallDb per frame (30 dB in 6 s) so that a voice that has grown
// quieter is heard again.
constexpr double kFloorDb = -60;
constexpr double kRangeDb = 40;
constexpr double kLoudestFallDb = 0.05;
constexpr int kShortestRun = 3;
// A voice that has been reported goes on through a dropout of up to this many frames (the
// pitch window straddling a sudden change of the vowel): it needs no new run of three.
constexpr long kBridgedFrames = 5;
constexpr float kFullScale = 0.999f;

std::mutex g_plannerLock; // FFTW's planner is not safe to call from several threads

// The signal seen so far at kRate, by absolute sample index.
class History {
public:
    void Append(const float* samples, size_t count) {
        m_x.insert(m_x.end(), samples, samples + count);
    }
    // Forgets the sound before sample `before`.
    void Forget(long before) {
        const long drop = before - m_first;
        if (drop < kHistory) // now and then, not at every frame
            return;
        m_x.erase(m_x.begin(), m_x.begin() + std::min(drop, static_cast<long>(m_x.size())));
        m_first += drop;
    }
    long End() const { return m_first + static_cast<long>(m_x.size()); }
    // length samples centred at centre, zero where nothing is known.
    std::vector<double> Segment(long centre, int length) const {
        std::vector<double> out(length, 0.0);
        const long start = centre - length / 2;
        for (int i = 0; i < length; ++i) {
            const long j = start + i - m_first;
            if (j >= 0 && j < static_cast<long>(m_x.size()))
                out[i] = m_x[j];
        }
        return out;
    }

private:
    std::vector<float> m_x;
    long m_first = 0;
};

class Spectrum {
public:
    Spectrum() {
        m_in = fftw_alloc_real(kSpectrumSize);
        m_out = fftw_alloc_complex(kSpectrumSize / 2 + 1);
        std::lock_guard lock(g_plannerLock);
        m_plan = fftw_plan_dft_r2c_1d(kSpectrumSize, m_in, m_out, FFTW_ESTIMATE);
    }
    ~Spectrum() {
        {
            std::lock_guard lock(g_plannerLock);
            fftw_destroy_plan(m_plan);
        }
        fftw_free(m_in);
        fftw_free(m_out);
    }
    Spectrum(const Spectrum&) = delete;
    Spectrum& operator=(const Spectrum&) = delete;

    std::vector<HarmonicAmplitude> Harmonics(const History& x, long centre, double f0) {
        Analyse(x, centre, 4 * kRate / f0);
        std::vector<HarmonicAmplitude> harmonics;
        for (int k = 1; k * f0 < kTopHz; ++k)
            harmonics.push_back({k * f0, PeakDb(k * f0, 0.2 * f0)});
        return harmonics;
    }

    // Whether f0 is an octave too high (peaks halfway between its harmonics).
    bool HasLowerOctave(const History& x, long centre, double f0) {
        Analyse(x, centre, 8 * kRate / f0);
        std::vector<double> dips;
        for (int k = 1; (k + 1) * f0 < 3000; ++k) {
            const double between = PeakDb((k + 0.5) * f0, 0.1 * f0);
            const double beside = 0.5 * (PeakDb(k * f0, 0.1 * f0) + PeakDb((k + 1) * f0, 0.1 * f0));
            dips.push_back(beside - between);
        }
        if (dips.empty())
            return false;
        std::nth_element(dips.begin(), dips.begin() + dips.size() / 2, dips.end());
        return dips[dips.size() / 2] < 10;
    }

private:
    // A window that would reach past the newest sample ends there.
    void Analyse(const History& x, long centre, double windowLength) {
        const int length = std::clamp(static_cast<int>(windowLength), 160, kSpectrumSize);
        centre = std::min(centre, x.End() - length / 2);
        const std::vector<double> frame = x.Segment(centre, length);
        double mean = 0;
        for (double v : frame)
            mean += v;
        mean /= length;
        std::fill(m_in, m_in + kSpectrumSize, 0.0);
        for (int i = 0; i < length; ++i)
            m_in[i] = (frame[i] - mean) * (0.5 - 0.5 * std::cos(2 * kPi * (i + 0.5) / length));
        fftw_execute(m_plan);
        m_db.resize(kSpectrumSize / 2 + 1);
        for (size_t i = 0; i < m_db.size(); ++i)
            m_db[i] =
                10 * std::log10(m_out[i][0] * m_out[i][0] + m_out[i][1] * m_out[i][1] + 1e-20);
    }

    double PeakDb(double frequency, double reach) const {
        const double binHz = kRate / kSpectrumSize;
        const int lo = std::max(1, static_cast<int>((frequency - reach) / binHz));
        const int hi = std::max(lo, std::min(static_cast<int>(m_db.size()) - 2,
                                             static_cast<int>((frequency + reach) / binHz) + 1));
        int peak = lo;
        for (int i = lo; i <= hi; ++i)
            if (m_db[i] > m_db[peak])
                peak = i;
        const double l = m_db[peak - 1], c = m_db[peak], r = m_db[peak + 1];
        const double denom = l - 2 * c + r;
        const double shift = denom < 0 ? std::clamp(0.5 * (l - r) / denom, -0.5, 0.5) : 0;
        return c - 0.25 * (l - r) * shift;
    }

    double* m_in;
    fftw_complex* m_out;
    fftw_plan m_plan;
    std::vector<double> m_db;
};

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

    double Find(const History& x, long centre, double& confidence) {
        const std::vector<double> frame = x.Segment(centre, kPitchWindow);
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

double RmsDb(const std::vector<double>& frame) {
    double sum = 0;
    for (double v : frame)
        sum += v * v;
    return 10 * std::log10(sum / static_cast<double>(frame.size()) + 1e-20);
}

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

struct CLiveFormants::Analysis {
    soxr_t resampler = nullptr; // null when the input comes at kRate already
    History x;
    long nextFrame = 0;
    double loudestDb = -200;
    int run = 0;               // voiced frames in a row so far
    long lastReported = -1000; // the last frame reported voiced
    bool clipped = false;
    PitchTracker pitch;
    Spectrum spectrum;
    const std::vector<FormantSet> fixedSeeds = FixedSeeds();

    ~Analysis() {
        if (resampler)
            soxr_delete(resampler);
    }

    // The formant tracker's analysis of one frame; false when it is not voiced.
    bool AnalyseFrame(long centre, double levelDb, FormantFrame& frame) {
        if (levelDb < kFloorDb || levelDb < loudestDb - kRangeDb)
            return false;
        double confidence = 0;
        double f0 = pitch.Find(x, centre + kLead - kPitchWindow / 2, confidence);
        if (!(confidence >= 0.8) || f0 < kLowestF0Hz || f0 > kHighestF0Hz)
            return false;
        while (f0 / 2 >= kLowestF0Hz && spectrum.HasLowerOctave(x, centre, f0))
            f0 /= 2;
        const std::vector<HarmonicAmplitude> harmonics = spectrum.Harmonics(x, centre, f0);
        double strongest = -400;
        for (const HarmonicAmplitude& h : harmonics)
            strongest = std::max(strongest, h.levelDb);
        int strong = 0;
        for (const HarmonicAmplitude& h : harmonics)
            strong += h.levelDb > strongest - 40;
        if (strong < 3)
            return false;
        const int lpcLength = std::clamp(static_cast<int>(0.025 * kRate), 160, 600);
        std::vector<double> lpcFrame = x.Segment(centre, lpcLength);
        for (int i = 0; i < lpcLength; ++i)
            lpcFrame[i] *= 0.54 - 0.46 * std::cos(2 * kPi * (i + 0.5) / lpcLength);
        std::vector<FormantSet> seeds = LinearPredictionSeeds(lpcFrame, kRate, f0);
        seeds.insert(seeds.end(), fixedSeeds.begin(), fixedSeeds.end());
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

    void GiveFrames(const FrameSink& sink) {
        while (nextFrame * kStep + kLead <= x.End()) {
            const long centre = nextFrame * kStep;
            LiveFrame live;
            live.formants.timeS = static_cast<double>(nextFrame) * kFormantFrameStep;
            const double levelDb = RmsDb(x.Segment(centre, 2 * kStep));
            loudestDb = std::max(levelDb, loudestDb - kLoudestFallDb);
            FormantFrame analysed;
            run = AnalyseFrame(centre, levelDb, analysed) ? run + 1 : 0;
            if (run >= kShortestRun || (run > 0 && nextFrame - lastReported <= kBridgedFrames)) {
                lastReported = nextFrame;
                analysed.timeS = live.formants.timeS;
                live.formants = analysed;
            }
            live.levelDb = RmsDb(x.Segment(x.End() - kStep / 2, kStep));
            live.clipped = clipped;
            clipped = false;
            ++nextFrame;
            sink(live);
        }
        x.Forget(nextFrame * kStep - kHistory);
    }
};

CLiveFormants::CLiveFormants(double sampleRate)
    : m_sampleRate(sampleRate), m_pAnalysis(std::make_unique<Analysis>()) {
    if (std::abs(sampleRate - kRate) > 1e-6) {
        // Low quality keeps the resampler's delay to a few milliseconds; its pass band
        // still reaches past the 4 kHz the fit uses.
        const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
        const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_LQ, 0);
        m_pAnalysis->resampler = soxr_create(sampleRate, kRate, 1, nullptr, &io, &quality, nullptr);
    }
}

CLiveFormants::~CLiveFormants() = default;

void CLiveFormants::Push(const float* samples, size_t count, const FrameSink& sink) {
    Analysis& a = *m_pAnalysis;
    for (size_t i = 0; i < count; ++i)
        a.clipped = a.clipped || std::abs(samples[i]) >= kFullScale;
    if (!a.resampler) {
        a.x.Append(samples, count);
    } else {
        std::vector<float> out(static_cast<size_t>(count * kRate / m_sampleRate) + 64);
        size_t done = 0;
        if (soxr_process(a.resampler, samples, count, nullptr, out.data(), out.size(), &done) ==
            nullptr)
            a.x.Append(out.data(), done);
    }
    a.GiveFrames(sink);
}

#include "analysis/LiveFormants.h"

#include "analysis/FrameAnalysis.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace frame_analysis;

namespace {

// A frame is analysed once this much sound after its centre has come in: half the linear
// prediction window. The windows longer than that (pitch, harmonics, pitch check) end at
// the newest sample instead of being centred on the frame; the pitch changes slowly
// enough that its window may lag the frame by a few milliseconds.
constexpr long kLead = 150;
// The sound kept before a frame's centre: the harmonic spectrum's window is the longest, at
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

// The signal seen so far at kRate and its low-passed copy, by absolute sample index.
class History {
public:
    void Append(const float* samples, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            m_x.push_back(samples[i]);
            m_low.push_back(m_lowPass.Next(samples[i]));
        }
    }
    // Forgets the sound before sample `before`.
    void Forget(long before) {
        const long drop = std::min(before - m_first, static_cast<long>(m_x.size()));
        if (drop < kHistory) // now and then, not at every frame
            return;
        m_x.erase(m_x.begin(), m_x.begin() + drop);
        m_low.erase(m_low.begin(), m_low.begin() + drop);
        m_first += drop;
    }
    long End() const { return m_first + static_cast<long>(m_x.size()); }
    Signal Sound() const { return {m_x.data(), m_first, End()}; }
    Signal Low() const { return {m_low.data(), m_first, End()}; }

private:
    std::vector<double> m_x;
    std::vector<double> m_low;
    LowPass m_lowPass;
    long m_first = 0;
};

} // namespace

struct CLiveFormants::Analysis {
    soxr_t resampler = nullptr; // null when the input comes at kRate already
    History x;
    long nextFrame = 0;
    double loudestDb = -200;
    int run = 0;               // voiced frames in a row so far
    long lastReported = -1000; // the last frame reported voiced
    bool clipped = false;
    FrameAnalyser analyser;

    ~Analysis() {
        if (resampler)
            soxr_delete(resampler);
    }

    // The formant tracker's analysis of one frame; false when it is not voiced.
    bool AnalyseFrame(long centre, double levelDb, FormantFrame& frame) {
        if (levelDb < kFloorDb || levelDb < loudestDb - kRangeDb)
            return false;
        const Signal sound = x.Sound();
        double f0 = analyser.Pitch(sound, centre + kLead - kPitchWindow / 2);
        if (f0 > 0)
            f0 = analyser.CheckPitch(x.Low(), std::min(centre, x.End() - kRepeatReach), f0);
        return f0 > 0 &&
               analyser.Fit(sound, centre, std::min(centre, x.End() - HarmonicWindow(f0) / 2), f0,
                            frame);
    }

    void GiveFrames(const FrameSink& sink) {
        while (nextFrame * kStep + kLead <= x.End()) {
            const long centre = nextFrame * kStep;
            LiveFrame live;
            live.formants.timeS = static_cast<double>(nextFrame) * kFormantFrameStep;
            const double levelDb = RmsDb(Segment(x.Sound(), centre, 2 * kStep));
            loudestDb = std::max(levelDb, loudestDb - kLoudestFallDb);
            FormantFrame analysed;
            run = AnalyseFrame(centre, levelDb, analysed) ? run + 1 : 0;
            if (run >= kShortestRun || (run > 0 && nextFrame - lastReported <= kBridgedFrames)) {
                lastReported = nextFrame;
                analysed.timeS = live.formants.timeS;
                live.formants = analysed;
            }
            live.levelDb = RmsDb(Segment(x.Sound(), x.End() - kStep / 2, kStep));
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

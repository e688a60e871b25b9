#include "analysis/FormantAnalysis.h"

#include "analysis/FrameAnalysis.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>

using namespace frame_analysis;

namespace {

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
    const Signal signal = WholeSignal(x);
    std::vector<double> levels(frames);
    double loudest = -200;
    for (size_t n = 0; n < frames; ++n) {
        track[n].timeS = static_cast<double>(n) * kFormantFrameStep;
        levels[n] = RmsDb(Segment(signal, static_cast<long>(n) * kStep, 2 * kStep));
        loudest = std::max(loudest, levels[n]);
    }
    FrameAnalyser analyser;
    std::vector<double> low(x.size());
    LowPass lowPass;
    for (size_t i = 0; i < x.size(); ++i)
        low[i] = lowPass.Next(x[i]);
    const Signal lowSignal = WholeSignal(low);
    for (size_t n = 0; n < frames; ++n) {
        if (stop && stop->load(std::memory_order_relaxed))
            return {};
        const long centre = static_cast<long>(n) * kStep;
        // Voiced: loud enough (within 40 dB of the loudest frame, above -70 dB full scale),
        // periodic to the pitch tracker, and with a voice's harmonics.
        if (levels[n] < loudest - 40 || levels[n] < -70)
            continue;
        double f0 = analyser.Pitch(signal, centre);
        if (f0 > 0)
            f0 = analyser.CheckPitch(lowSignal, centre, f0);
        if (f0 > 0)
            analyser.Fit(signal, centre, centre, f0, track[n]);
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

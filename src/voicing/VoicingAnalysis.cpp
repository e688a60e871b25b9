#include "voicing/VoicingAnalysis.h"

#include "voicing/VoicingGenerator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kRate = kVoiceSampleRate;

// Band-limited interpolation of a sampled signal at a fractional position (Hann-windowed
// sinc over +-16 samples), so that glottal closures can be placed between samples.
double ValueAt(const std::vector<double>& x, double t) {
    constexpr int kReach = 16;
    int centre = static_cast<int>(std::floor(t));
    double sum = 0;
    for (int k = centre - kReach + 1; k <= centre + kReach; ++k) {
        if (k < 0 || k >= static_cast<int>(x.size())) {
            continue;
        }
        double d = t - k;
        double sinc = d == 0 ? 1 : std::sin(std::numbers::pi * d) / (std::numbers::pi * d);
        double window = 0.5 + 0.5 * std::cos(std::numbers::pi * d / kReach);
        sum += x[k] * sinc * window;
    }
    return sum;
}

// The lowest point of the interpolated signal within one sample of sample i.
std::pair<double, double> RefinedMinimum(const std::vector<double>& x, int i) {
    double bestT = i;
    double bestValue = x[i];
    for (int step = -64; step <= 64; ++step) {
        double t = i + step / 64.0;
        double value = ValueAt(x, t);
        if (value < bestValue) {
            bestValue = value;
            bestT = t;
        }
    }
    return {bestT, bestValue};
}

// Rough period in samples from the autocorrelation of a stretch: the shortest lag whose
// correlation comes close to the best, so that twice the period, which correlates about as
// well, is not taken instead.
int RoughPeriod(const std::vector<double>& x, int start, int length) {
    constexpr int kShortest = 16; // 625 Hz
    constexpr int kLongest = 250; // 40 Hz
    if (start < 0 || x.size() < static_cast<size_t>(start + length + kLongest + 2)) {
        return 0;
    }
    std::vector<double> score(kLongest + 2, 0.0);
    for (int lag = kShortest; lag <= kLongest + 1; ++lag) {
        for (int n = start; n < start + length; ++n) {
            score[lag] += x[n] * x[n + lag];
        }
    }
    double best = *std::max_element(score.begin(), score.end());
    for (int lag = kShortest + 1; lag <= kLongest; ++lag) {
        bool peak = score[lag] >= score[lag - 1] && score[lag] >= score[lag + 1];
        if (peak && best > 0 && score[lag] >= 0.8 * best) {
            return lag;
        }
    }
    return 0;
}

} // namespace

VoicingMeasures MeasureVoicing(const std::vector<double>& x, int start, int stretch) {
    VoicingMeasures result;
    double period = RoughPeriod(x, start, stretch);
    if (period == 0) {
        return result;
    }
    int first = start;
    for (int n = start; n < start + static_cast<int>(period); ++n) {
        first = x[n] < x[first] ? n : first;
    }
    std::vector<double> peaks;
    int at = first;
    while (at + 2 * period + 20 < x.size()) {
        auto [t, value] = RefinedMinimum(x, at);
        if (!result.closures.empty()) {
            period = t - result.closures.back();
        }
        if (period < 10) {
            break; // no plausible glottal cycle here: stop rather than loop in place
        }
        result.closures.push_back(t);
        peaks.push_back(-value);
        int from = at + static_cast<int>(0.7 * period);
        int to = at + static_cast<int>(1.3 * period);
        at = from;
        for (int n = from; n <= to; ++n) {
            at = x[n] < x[at] ? n : at;
        }
    }
    std::vector<double> periods;
    double f0Sum = 0;
    for (size_t i = 1; i < result.closures.size(); ++i) {
        periods.push_back(result.closures[i] - result.closures[i - 1]);
        f0Sum += kRate / periods.back();
    }
    result.cycles = periods.size();
    if (periods.size() < 2) {
        return result;
    }
    result.meanF0 = f0Sum / static_cast<double>(periods.size());
    result.jitter = LocalPerturbation(periods);
    peaks.pop_back(); // one peak per measured period
    result.shimmer = LocalPerturbation(peaks);
    return result;
}

double MeanF0Between(const VoicingMeasures& measures, double from, double to) {
    const double* first = nullptr;
    const double* last = nullptr;
    for (const double& closure : measures.closures) {
        if (closure / kRate < from || closure / kRate >= to)
            continue;
        first = first ? first : &closure;
        last = &closure;
    }
    if (!first || last == first)
        return 0;
    return kRate * static_cast<double>(last - first) / (*last - *first);
}

// Speed of the formant analyser on a recorded vowel.
#include "analysis/FormantAnalysis.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

// One second of a woman's /a/ at 44.1 kHz: the harmonics of 210 Hz (with a slight vibrato)
// shaped by an envelope with peaks at 850, 1220 and 2810 Hz.
std::vector<float> WomansVowel() {
    constexpr double kPi = 3.14159265358979323846;
    const double rate = 44100;
    const double formants[3][2] = {{850, 80}, {1220, 90}, {2810, 150}};
    std::vector<float> samples(44100);
    double phase = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        phase += 210 * (1 + 0.01 * std::sin(2 * kPi * 5 * i / rate)) / rate;
        double sum = 0;
        for (int k = 1; k * 210 < 5000; ++k) {
            double gain = 1.0 / k;
            for (const auto& [f, b] : formants)
                gain *= f * f / std::hypot(f * f - k * k * 210.0 * 210.0, k * 210.0 * b);
            sum += gain * std::sin(2 * kPi * k * phase);
        }
        samples[i] = static_cast<float>(0.05 * sum);
    }
    return samples;
}

void BM_MeasureFormants(benchmark::State& state) {
    const std::vector<float> vowel = WomansVowel();
    for (auto _ : state)
        benchmark::DoNotOptimize(TrackFormants(vowel, 44100));
}
BENCHMARK(BM_MeasureFormants)->Unit(benchmark::kMillisecond);

// What live listening pays for each new frame when it analyses the last 60 ms of the input
// again: the cost of a call beside that of its frames.
void BM_MeasureFormantsLiveWindow(benchmark::State& state) {
    const std::vector<float> vowel = WomansVowel();
    const std::vector<float> window(vowel.begin() + 22050, vowel.begin() + 22050 + 2646);
    for (auto _ : state)
        benchmark::DoNotOptimize(TrackFormants(window, 44100));
}
BENCHMARK(BM_MeasureFormantsLiveWindow)->Unit(benchmark::kMicrosecond);

} // namespace

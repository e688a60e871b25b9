// Speed of the synthesis engine: rendering the five frames of a vowel, and the whole run
// including writing temp.wav.
#include "base/MessageBox.h"
#include "synth/SynthEngine.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <stdlib.h>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A folder for temp.wav (and a generated voice when the bundled one is missing), removed at
// exit.
class BenchFolder {
public:
    BenchFolder() {
        std::string pattern = (fs::temp_directory_path() / "quirnel-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~BenchFolder() {
        std::error_code ignored;
        if (!m_path.empty())
            fs::remove_all(m_path, ignored);
    }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

BenchFolder& Folder() {
    static BenchFolder folder;
    return folder;
}

// The bundled male voice, or a generated stand-in voicing of 120 Hz.
const std::string& BenchVoice() {
    static const std::string path = [] {
        const std::string bundled = QUIRNEL_DATA_DIR "/Dat/01-male.dat";
        if (fs::exists(bundled))
            return bundled;
        const std::string generated = Folder().Path() + "/voice.dat";
        std::ofstream out(generated);
        out << 10000 << "\n0.00001\n";
        for (int i = 0; i < 10000; ++i)
            out << std::lround(3000 * std::sin(2 * std::numbers::pi * i / 83.0) *
                               std::exp(-(i % 83) / 20.0))
                << "\n";
        return generated;
    }();
    return path;
}

void BM_RenderVowel(benchmark::State& state) {
    SynthEngine engine;
    std::vector<int32_t> samples;
    if (!engine.RenderVowel(BenchVoice(), 0, 100, 700, 1200, 2600, 0, 0, samples).Ok()) {
        state.SkipWithError("rendering failed");
        return;
    }
    for (auto _ : state) {
        engine.RenderVowel(BenchVoice(), 0, 100, 700, 1200, 2600, 0, 0, samples);
        benchmark::DoNotOptimize(samples.data());
    }
    state.SetItemsProcessed(state.iterations() * 5000);
}
BENCHMARK(BM_RenderVowel)->Unit(benchmark::kMicrosecond);

void BM_SynthesizeVowel(benchmark::State& state) {
    SynthEngine engine(Folder().Path());
    if (!engine.SynthesizeVowel(BenchVoice(), 0, 100, 700, 1200, 2600, 0, 0).Ok()) {
        state.SkipWithError("synthesis failed");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(
            engine.SynthesizeVowel(BenchVoice(), 0, 100, 700, 1200, 2600, 0, 0).wavPath.size());
    state.SetItemsProcessed(state.iterations() * 5000);
}
BENCHMARK(BM_SynthesizeVowel)->Unit(benchmark::kMicrosecond);

} // namespace

// Speed of making stimuli: a whole vowel continuum rendered, resampled and written.
#include "base/ScratchFolder.h"
#include "stimuli/Continuum.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// 100 steps of 500 ms (frames of 100 ms) with the bundled male voice, resampled to 44100 Hz
// and written as 16-bit WAV files with their manifest, replacing the previous run's files.
void BM_Continuum(benchmark::State& state) {
    const ScratchFolder folder("quirnel-bench");
    if (folder.Path().empty()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    ContinuumRequest request;
    request.voiceFile = QUIRNEL_DATA_DIR "/Dat/01-male.dat";
    request.from = {280, 2250, 0};
    request.to = {700, 1100, 0};
    request.steps = 100;
    request.format.sampleRate = 44100;
    request.folder = folder.Path();
    request.replaceExisting = true;
    for (auto _ : state) {
        const ContinuumResult result = WriteContinuum(request);
        if (result.outcome != ContinuumOutcome::Written) {
            state.SkipWithError(result.message.c_str());
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * request.steps);
}
BENCHMARK(BM_Continuum)->Unit(benchmark::kMillisecond);

} // namespace

// A listening test's trial start: from the call of Play to the moment the sound server takes
// the sound's first samples (the session window's zero for the reaction time), and how much
// sound the server then holds before it is heard (the most the zero can be early).
#include "BenchApplication.h"
#include "audio/SoundPlayer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

void PutLe(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A 300 ms step of a continuum: 16-bit mono at 44100 Hz.
std::string WriteStep() {
    const std::string path =
        (std::filesystem::temp_directory_path() / "quirnel-bench-step.wav").string();
    std::string data;
    for (int i = 0; i < 13230; ++i)
        PutLe(data, static_cast<uint16_t>(static_cast<int16_t>(8000 * std::sin(i * 0.05))), 2);
    std::string file = "RIFF";
    PutLe(file, static_cast<uint32_t>(36 + data.size()), 4);
    file += "WAVEfmt ";
    PutLe(file, 16, 4);
    PutLe(file, 1, 2);
    PutLe(file, 1, 2);
    PutLe(file, 44100, 4);
    PutLe(file, 88200, 4);
    PutLe(file, 2, 2);
    PutLe(file, 16, 2);
    file += "data";
    PutLe(file, static_cast<uint32_t>(data.size()), 4);
    file += data;
    if (std::FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(file.data(), 1, file.size(), out);
        std::fclose(out);
    }
    return path;
}

// Each iteration is one trial: Play, then wait (at most 2 s) until the server has taken the
// first samples. Counters: the median and largest delay to the first sample, and the median
// buffer the server holds while the sound plays.
void BM_TrialSoundStart(benchmark::State& state) {
    BenchApplication();
    const std::string path = WriteStep();
    CSoundPlayer player;
    QThread::msleep(100);
    std::vector<double> delays, buffers;
    for (auto _ : state) {
        player.Play(path);
        if (player.LastResult() != CSoundPlayer::PlayResult::Started) {
            state.SkipWithError("no sound output (start a sound server, see scripts/bench)");
            break;
        }
        QElapsedTimer wait;
        wait.start();
        while (player.FirstSampleDelayUs() < 0 && wait.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        state.PauseTiming();
        delays.push_back(player.FirstSampleDelayUs() / 1000.0);
        buffers.push_back(player.MeasureBufferLatencyUs() / 1000.0);
        player.Stop();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    if (delays.empty())
        return;
    std::sort(delays.begin(), delays.end());
    std::sort(buffers.begin(), buffers.end());
    state.counters["first_sample_median_ms"] = delays[delays.size() / 2];
    state.counters["first_sample_max_ms"] = delays.back();
    state.counters["buffer_median_ms"] = buffers[buffers.size() / 2];
    std::filesystem::remove(path);
}
BENCHMARK(BM_TrialSoundStart)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(100);

} // namespace

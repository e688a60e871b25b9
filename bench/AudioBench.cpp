// Starting playback of a freshly synthesized vowel: Play of a 10044-byte "temp.wav".
#include "BenchApplication.h"
#include "audio/SoundPlayer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

void PutLe(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// 5000 samples, 16-bit mono at 10000 Hz, as the synthesis writes them: 10044 bytes.
std::string WriteTempWav() {
    const std::string path =
        (std::filesystem::temp_directory_path() / "quirnel-bench-temp.wav").string();
    std::string data;
    for (int i = 0; i < 5000; ++i)
        PutLe(data, static_cast<uint16_t>(static_cast<int16_t>(8000 * std::sin(i * 0.25))), 2);
    std::string file = "RIFF";
    PutLe(file, static_cast<uint32_t>(36 + data.size()), 4);
    file += "WAVEfmt ";
    PutLe(file, 16, 4);    // format chunk size
    PutLe(file, 1, 2);     // PCM
    PutLe(file, 1, 2);     // mono
    PutLe(file, 10000, 4); // samples per second
    PutLe(file, 20000, 4); // bytes per second
    PutLe(file, 2, 2);     // block alignment
    PutLe(file, 16, 2);    // bits per sample
    file += "data";
    PutLe(file, static_cast<uint32_t>(data.size()), 4);
    file += data;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out) {
        std::fwrite(file.data(), 1, file.size(), out);
        std::fclose(out);
    }
    return path;
}

QCoreApplication& App() {
    return BenchApplication();
}

// From the call until Play returns: the file decoded, the stream created on the sound
// server and its first buffer on the way. Stopping the previous sound is not counted.
// The counter first_ms is the first Play of a player made 100 ms before (as the window
// makes it at start-up), which is to be as quick as the later ones.
void BM_PlayStart(benchmark::State& state) {
    App();
    const std::string path = WriteTempWav();
    double firstMs = 0;
    {
        CSoundPlayer fresh;
        QThread::msleep(100);
        QElapsedTimer clock;
        clock.start();
        fresh.Play(path);
        firstMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    }
    CSoundPlayer player;
    for (auto _ : state) {
        player.Play(path);
        state.PauseTiming();
        if (player.LastResult() != CSoundPlayer::PlayResult::Started) {
            state.SkipWithError("no sound output (start a sound server, see scripts/bench)");
            state.ResumeTiming();
            break;
        }
        player.Stop();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["first_ms"] = firstMs;
    std::filesystem::remove(path);
}
BENCHMARK(BM_PlayStart)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

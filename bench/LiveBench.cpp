// Live listening: how much of a core the frame analysis takes on speech-like input, and how
// long a sudden change of F1/F2 at the input takes to reach the frame that reports it.
#include "analysis/LiveFormants.h"
#include "audio/LiveInput.h"
#include "audio/SoundPlayer.h"
#include "stimuli/VowelStimulus.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <mutex>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::vector<double> Render(int f1, int f2, int f1End = 0, int f2End = 0, int frameMs = 100) {
    VowelStimulus stimulus;
    stimulus.voiceFile = QUIRNEL_DATA_DIR "/Dat/01-male.dat";
    stimulus.frameMs = frameMs;
    stimulus.f1 = f1;
    stimulus.f2 = f2;
    stimulus.f1End = f1End;
    stimulus.f2End = f2End;
    stimulus.endFade = true;
    RenderedVowel rendered;
    RenderStimulus(stimulus, rendered);
    std::vector<double> out(rendered.pcm16.begin(), rendered.pcm16.end());
    for (double& s : out)
        s /= 32768;
    return out;
}

// Ten seconds of speech-like sound at the input's rate: vowels and glides of half a second
// with pauses of 150 ms between them.
std::vector<float> SpeechLike() {
    const int vowels[][4] = {{730, 1090, 0, 0},
                             {300, 2200, 0, 0},
                             {500, 1500, 700, 1100},
                             {400, 800, 0, 0},
                             {600, 1900, 350, 2300}};
    std::vector<float> out;
    for (int i = 0; out.size() < 10 * kRenderedRate; ++i) {
        const auto& v = vowels[i % 5];
        for (double s : Render(v[0], v[1], v[2], v[3]))
            out.push_back(static_cast<float>(s));
        out.resize(out.size() + static_cast<size_t>(0.15 * kRenderedRate), 0.0f);
    }
    out.resize(10 * kRenderedRate);
    // At the rate the input is recorded at (linear interpolation is enough for the cost).
    std::vector<float> input(10 * CLiveInput::kRate);
    for (size_t i = 0; i < input.size(); ++i) {
        const double at = static_cast<double>(i) * kRenderedRate / CLiveInput::kRate;
        const size_t j = std::min(static_cast<size_t>(at), out.size() - 2);
        input[i] = static_cast<float>(out[j] + (at - j) * (out[j + 1] - out[j]));
    }
    return input;
}

// The analysis of ten seconds of input fed in 5 ms pieces, as the recording hands them
// over; core_percent is the share of one core that listening in real time takes.
void BM_LiveListeningCpu(benchmark::State& state) {
    const std::vector<float> input = SpeechLike();
    const size_t piece = CLiveInput::kRate / 200;
    int voiced = 0;
    double cpuS = 0;
    for (auto _ : state) {
        const std::clock_t start = std::clock();
        CLiveFormants analysis(CLiveInput::kRate);
        for (size_t i = 0; i + piece <= input.size(); i += piece)
            analysis.Push(input.data() + i, piece,
                          [&](const LiveFrame& frame) { voiced += frame.formants.voiced; });
        cpuS += static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    }
    state.counters["core_percent"] = 100 * cpuS / state.iterations() / 10;
    state.counters["voiced_frames"] = static_cast<double>(voiced) / state.iterations();
}
BENCHMARK(BM_LiveListeningCpu)->Unit(benchmark::kMillisecond)->Iterations(3);

bool WriteWav(const std::string& path, const std::vector<double>& samples, int rate) {
    std::ofstream file(path, std::ios::binary);
    auto put = [&file](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            file.put(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    const uint32_t data = static_cast<uint32_t>(samples.size() * 2);
    file << "RIFF";
    put(36 + data, 4);
    file << "WAVEfmt ";
    put(16, 4);
    put(1, 2);
    put(1, 2);
    put(rate, 4);
    put(rate * 2, 4);
    put(2, 2);
    put(16, 2);
    file << "data";
    put(data, 4);
    for (double s : samples)
        put(static_cast<uint16_t>(static_cast<int16_t>(std::lround(32767 * s))), 2);
    return static_cast<bool>(file);
}

// A voice of 120 Hz (Rosenberg pulses, differentiated for the lips) through a cascade of
// five resonators whose F1 and F2 jump from /i/ (300, 2200 Hz) to /a/ (750, 1200 Hz) at
// kJumpS while the voice goes on; half a second of silence before it, at the engine's rate.
constexpr double kJumpS = 1.2;
std::vector<double> JumpingVowel() {
    constexpr double kPi = 3.14159265358979323846;
    const double rate = kRenderedRate;
    std::vector<double> out(static_cast<size_t>(2 * rate), 0.0);
    double phase = 0, previous = 0;
    double state[5][2] = {};
    for (size_t i = static_cast<size_t>(0.5 * rate); i < out.size(); ++i) {
        phase += 120 / rate;
        phase -= std::floor(phase);
        const double flow = phase < 0.4    ? 0.5 * (1 - std::cos(kPi * phase / 0.4))
                            : phase < 0.56 ? std::cos(0.5 * kPi * (phase - 0.4) / 0.16)
                                           : 0;
        double x = flow - previous;
        previous = flow;
        const bool jumped = static_cast<double>(i) >= kJumpS * rate;
        const double formants[5][2] = {{jumped ? 750.0 : 300.0, 60},
                                       {jumped ? 1200.0 : 2200.0, 90},
                                       {2700, 150},
                                       {3500, 250},
                                       {4300, 300}};
        for (int k = 0; k < 5; ++k) {
            const double r = std::exp(-kPi * formants[k][1] / rate);
            const double c1 = 2 * r * std::cos(2 * kPi * formants[k][0] / rate), c2 = -r * r;
            const double y = (1 - c1 - c2) * x + c1 * state[k][0] + c2 * state[k][1];
            state[k][1] = state[k][0];
            state[k][0] = y;
            x = y;
        }
        out[i] = x;
    }
    double peak = 0;
    for (double v : out)
        peak = std::max(peak, std::abs(v));
    for (double& v : out)
        v *= 0.5 / peak;
    return out;
}

// A vowel that jumps from /i/ (300, 2200 Hz) to /a/ (750, 1200 Hz) is played into the
// default output while the default input is recorded (the test server's null sink and its
// monitor). latency_ms: from the arrival of the recorded piece that holds the jump, plus
// that piece's own length, 5 ms (the sample may have been taken that long before), to the frame
// that first reports /a/ (F1 and F2 within 10 %); with_drawing_ms adds the wait for the
// next redraw at 60 per second.
void BM_LiveChangeLatency(benchmark::State& state) {
    int argc = 1;
    char name[] = "quirnel-bench";
    char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
    const std::vector<double> sound = JumpingVowel();
    const size_t jumpAt = static_cast<size_t>(kJumpS * kRenderedRate);
    size_t onsetAt = 0;
    while (onsetAt < sound.size() && std::abs(sound[onsetAt]) < 0.02)
        ++onsetAt;
    const std::string path = "/tmp/quirnel-bench-jump.wav";
    WriteWav(path, sound, kRenderedRate);
    const double jumpAfterOnsetS = static_cast<double>(jumpAt - onsetAt) / kRenderedRate;

    std::vector<double> latencies;
    for (auto _ : state) {
        std::mutex lock;
        std::vector<std::pair<int64_t, Clock::time_point>> arrivals; // end sample, time
        std::vector<std::pair<LiveFrame, Clock::time_point>> frames;
        std::vector<float> recorded;
        CLiveFormants analysis(CLiveInput::kRate);
        CLiveInput input([&](const float* samples, size_t count) {
            std::lock_guard guard(lock);
            recorded.insert(recorded.end(), samples, samples + count);
            arrivals.push_back({static_cast<int64_t>(recorded.size()), Clock::now()});
            analysis.Push(samples, count, [&](const LiveFrame& frame) {
                frames.push_back({frame, Clock::now()});
            });
        });
        if (input.Start() != CLiveInput::Result::Recording) {
            state.SkipWithError("no sound server with an input (scripts/lib/sound-server.sh)");
            return;
        }
        CSoundPlayer player;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 200)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        player.Play(path);
        clock.restart();
        while (clock.elapsed() < 2500)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        input.Stop();
        std::lock_guard guard(lock);
        int64_t onset = 0;
        while (onset < static_cast<int64_t>(recorded.size()) && std::abs(recorded[onset]) < 0.02)
            ++onset;
        const int64_t jump = onset + std::llround(jumpAfterOnsetS * CLiveInput::kRate);
        Clock::time_point arrived{};
        for (const auto& [end, when] : arrivals)
            if (end > jump) {
                arrived = when;
                break;
            }
        for (const auto& [frame, when] : frames) {
            const FormantFrame& f = frame.formants;
            if (f.voiced && f.timeS * CLiveInput::kRate > jump - 0.05 * CLiveInput::kRate &&
                std::abs(f.formantsHz[0] - 750) < 75 && std::abs(f.formantsHz[1] - 1200) < 120) {
                latencies.push_back(
                    std::chrono::duration<double, std::milli>(when - arrived).count() + 5);
                break;
            }
        }
    }
    if (latencies.empty()) {
        state.SkipWithError("the jump was never reported");
        return;
    }
    std::sort(latencies.begin(), latencies.end());
    state.counters["latency_ms"] = latencies[latencies.size() / 2];
    state.counters["with_drawing_ms"] = latencies[latencies.size() / 2] + 1000.0 / 60;
    state.counters["least_ms"] = latencies.front();
    state.counters["most_ms"] = latencies.back();
}
BENCHMARK(BM_LiveChangeLatency)->Unit(benchmark::kMillisecond)->Iterations(9);

} // namespace

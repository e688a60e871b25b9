// Helpers for the audio tests: WAV files, the test sound server, recording and analysis.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace audiotest {

enum class SampleFormat { Pcm8, Pcm16, Float32 };

inline void PutLe(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Writes a canonical WAV file from interleaved samples in -1..1.
inline bool WriteWav(const std::string& path, int rate, int channels, SampleFormat format,
                     const std::vector<double>& samples) {
    const int bytesPerSample = format == SampleFormat::Pcm8    ? 1
                               : format == SampleFormat::Pcm16 ? 2
                                                               : 4;
    std::string data;
    for (double s : samples) {
        if (format == SampleFormat::Pcm8) {
            PutLe(data, static_cast<uint32_t>(std::lround(128 + 127 * s)), 1);
        } else if (format == SampleFormat::Pcm16) {
            PutLe(data, static_cast<uint16_t>(static_cast<int16_t>(std::lround(32767 * s))), 2);
        } else {
            const float f = static_cast<float>(s);
            uint32_t bits;
            std::memcpy(&bits, &f, 4);
            PutLe(data, bits, 4);
        }
    }
    std::string file = "RIFF";
    PutLe(file, static_cast<uint32_t>(36 + data.size()), 4);
    file += "WAVEfmt ";
    PutLe(file, 16, 4);
    PutLe(file, format == SampleFormat::Float32 ? 3 : 1, 2);
    PutLe(file, static_cast<uint32_t>(channels), 2);
    PutLe(file, static_cast<uint32_t>(rate), 4);
    PutLe(file, static_cast<uint32_t>(rate * channels * bytesPerSample), 4);
    PutLe(file, static_cast<uint32_t>(channels * bytesPerSample), 2);
    PutLe(file, static_cast<uint32_t>(8 * bytesPerSample), 2);
    file += "data";
    PutLe(file, static_cast<uint32_t>(data.size()), 4);
    file += data;
    std::ofstream out(path, std::ios::binary);
    out << file;
    return static_cast<bool>(out);
}

inline std::vector<double> Sine(double frequency, int rate, double seconds,
                                double amplitude = 0.5) {
    std::vector<double> samples(static_cast<size_t>(seconds * rate));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = amplitude * std::sin(2 * M_PI * frequency * static_cast<double>(i) / rate);
    return samples;
}

inline bool WriteSineWav(const std::string& path, double frequency, int rate, double seconds) {
    return WriteWav(path, rate, 1, SampleFormat::Pcm16, Sine(frequency, rate, seconds));
}

// Starts argv[0] (looked up in PATH) with stdout going to outPath; 0 when it fails.
inline pid_t Spawn(const std::vector<std::string>& args, const std::string& outPath = "/dev/null",
                   char** env = environ) {
    std::vector<char*> argv;
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), env);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : 0;
}

// Runs a command to its end; its exit status, or -1.
inline int Run(const std::vector<std::string>& args, const std::string& outPath = "/dev/null") {
    const pid_t pid = Spawn(args, outPath);
    int status = 0;
    if (pid == 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Empty when the private test sound server (default sink "quirnel_test") answers;
// otherwise why the test is skipped.
inline std::string TestServerMissing() {
    char path[] = "/tmp/quirnel-pactl-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0)
        return "cannot create a temporary file";
    close(fd);
    const int status = Run({"pactl", "info"}, path);
    const std::string info = ReadFile(path);
    unlink(path);
    if (status != 0)
        return "no sound server answers (scripts/test starts a private one)";
    if (info.find("Default Sink: quirnel_test") == std::string::npos)
        return "the sound server is not the private test server with the null sink "
               "quirnel_test (scripts/test starts one); not touching it";
    return "";
}

#define REQUIRE_TEST_SOUND_SERVER()                                                                \
    do {                                                                                           \
        const std::string missing = audiotest::TestServerMissing();                                \
        if (!missing.empty())                                                                      \
            GTEST_SKIP() << missing;                                                               \
    } while (0)

// Runs the Qt event loop until done() holds or timeoutMs has passed; done() at the end.
inline bool RunEventsUntil(const std::function<bool()>& done, int timeoutMs) {
    QTimer tick;
    tick.start(5);
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return done();
}

inline void RunEventsFor(int ms) {
    RunEventsUntil([] { return false; }, ms);
}

// Records the null sink's monitor as 16-bit mono samples with parec in a child process.
class MonitorRecorder {
public:
    static constexpr int kRate = 16000;

    explicit MonitorRecorder(std::string path) : m_path(std::move(path)) {}
    ~MonitorRecorder() { Stop(); }

    // Starts recording and waits until the first samples have arrived.
    bool Start() {
        m_pid = Spawn({"parec", "-d", "quirnel_test.monitor", "--raw", "--format=s16le",
                       "--rate=" + std::to_string(kRate), "--channels=1", "--latency-msec=20"},
                      m_path);
        if (m_pid == 0)
            return false;
        return RunEventsUntil([this] { return ReadFile(m_path).size() >= 2 * kRate / 10; }, 5000);
    }

    std::vector<int16_t> Stop() {
        if (m_pid != 0) {
            kill(m_pid, SIGINT);
            int status = 0;
            waitpid(m_pid, &status, 0);
            m_pid = 0;
        }
        const std::string bytes = ReadFile(m_path);
        std::vector<int16_t> samples(bytes.size() / 2);
        std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
        return samples;
    }

private:
    std::string m_path;
    pid_t m_pid = 0;
};

// Where a recording is louder than a threshold, and the pitch found there.
struct ToneSpan {
    double start = 0; // seconds
    double end = 0;
    double Duration() const { return end - start; }
};

inline ToneSpan LoudSpan(const std::vector<int16_t>& samples, int rate, int threshold = 3000) {
    ToneSpan span;
    size_t first = samples.size();
    size_t last = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) > threshold) {
            first = std::min(first, i);
            last = i;
        }
    }
    if (first < samples.size()) {
        span.start = static_cast<double>(first) / rate;
        span.end = static_cast<double>(last + 1) / rate;
    }
    return span;
}

// The frequency from the zero crossings between two times (seconds).
inline double Frequency(const std::vector<int16_t>& samples, int rate, double from, double to) {
    const size_t a = static_cast<size_t>(from * rate);
    const size_t b = std::min(samples.size(), static_cast<size_t>(to * rate));
    int crossings = 0;
    for (size_t i = a + 1; i < b; ++i)
        crossings += (samples[i - 1] < 0) != (samples[i] < 0);
    return b > a ? crossings / 2.0 / (static_cast<double>(b - a) / rate) : 0;
}

} // namespace audiotest

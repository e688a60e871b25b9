// Helpers for the audio tests: WAV files, child processes, the test sound server, and
// recording what the server plays.
#pragma once

#include "SilentServerProxy.h"

#include "TempDir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace audiotest {

enum class SampleFormat { Pcm8, Pcm16, Float32 };

// Writes a canonical WAV file from interleaved samples in -1..1.
inline bool WriteWav(const std::string& path, int rate, int channels, SampleFormat format,
                     const std::vector<double>& samples) {
    const uint32_t width = format == SampleFormat::Pcm8 ? 1 : format == SampleFormat::Pcm16 ? 2 : 4;
    std::string out;
    auto put = [&out](uint32_t value, uint32_t bytes) {
        for (uint32_t i = 0; i < bytes; ++i)
            out += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size()) * width;
    out += "RIFF";
    put(36 + dataBytes, 4);
    out += "WAVEfmt ";
    put(16, 4);
    put(format == SampleFormat::Float32 ? 3 : 1, 2);
    put(channels, 2);
    put(rate, 4);
    put(rate * channels * width, 4);
    put(channels * width, 2);
    put(8 * width, 2);
    out += "data";
    put(dataBytes, 4);
    for (double s : samples) {
        const float f = static_cast<float>(s);
        uint32_t bits = 0;
        std::memcpy(&bits, &f, 4);
        if (format == SampleFormat::Pcm8)
            put(static_cast<uint32_t>(std::lround(128 + 127 * s)), 1);
        else if (format == SampleFormat::Pcm16)
            put(static_cast<uint16_t>(static_cast<int16_t>(std::lround(32767 * s))), 2);
        else
            put(bits, 4);
    }
    std::ofstream file(path, std::ios::binary);
    file << out;
    return static_cast<bool>(file);
}

// Writes a WAV file whose header claims the given number of silent frames, without
// writing them: the file is extended with a hole.
inline bool WriteSilentWav(const std::string& path, int rate, int channels, SampleFormat format,
                           int64_t frames) {
    if (!WriteWav(path, rate, channels, format, {}))
        return false;
    const int64_t width = format == SampleFormat::Pcm8 ? 1 : format == SampleFormat::Pcm16 ? 2 : 4;
    const uint32_t dataBytes = static_cast<uint32_t>(frames * channels * width);
    const uint32_t riffBytes = 36 + dataBytes;
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    auto put = [&file](std::streamoff at, uint32_t value) {
        const char bytes[4] = {char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
        file.seekp(at);
        file.write(bytes, 4);
    };
    put(4, riffBytes);
    put(40, dataBytes);
    file.close();
    return truncate(path.c_str(), 44 + static_cast<off_t>(dataBytes)) == 0;
}

inline std::vector<double> Sine(double frequency, int rate, double seconds,
                                double amplitude = 0.5) {
    std::vector<double> samples(static_cast<size_t>(std::lround(seconds * rate)));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = amplitude * std::sin(2 * M_PI * frequency * static_cast<double>(i) / rate);
    return samples;
}

inline bool WriteSineWav(const std::string& path, double frequency, int rate, double seconds,
                         double amplitude = 0.5) {
    return WriteWav(path, rate, 1, SampleFormat::Pcm16, Sine(frequency, rate, seconds, amplitude));
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Starts a program (looked up in PATH) with stdout and stderr going to files; 0 on failure.
inline pid_t Spawn(const std::vector<std::string>& args, const std::string& outPath = "/dev/null",
                   const std::string& errPath = "/dev/null", char** env = environ) {
    std::vector<char*> argv;
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), env);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : 0;
}

// Waits for a child; its exit status, or -1 when it did not exit normally.
inline int Wait(pid_t pid) {
    int status = 0;
    if (pid == 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

inline int Run(const std::vector<std::string>& args, const std::string& outPath = "/dev/null") {
    return Wait(Spawn(args, outPath));
}

// Waits at most timeoutMs for a child: its exit status, 128 + the signal that ended it,
// or -2 when it was still running (it is then killed).
inline int WaitAtMost(pid_t pid, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    int status = 0;
    while (pid != 0 && waitpid(pid, &status, WNOHANG) == 0) {
        if (clock.elapsed() > timeoutMs) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -2;
        }
        usleep(10000);
    }
    if (pid == 0)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The built quirnel-cli.
inline const std::string kCliProgram = QUIRNEL_BINARY_DIR "/tools/quirnel-cli/quirnel-cli";

// Runs quirnel-cli with args in env: its exit status (-2 when it still ran after 15 s). Its
// standard output goes to out and its standard error to err, through files in dir.
inline int RunCli(const TempDir& dir, std::vector<std::string> args, std::string* out = nullptr,
                  std::string* err = nullptr, char** env = environ) {
    args.insert(args.begin(), kCliProgram);
    const int status =
        WaitAtMost(Spawn(args, dir.File("out.txt"), dir.File("err.txt"), env), 15000);
    if (out)
        *out = ReadFile(dir.File("out.txt"));
    if (err)
        *err = ReadFile(dir.File("err.txt"));
    return status;
}

// This process's environment with some variables (NAME=value) set for a child.
class ChildEnvironment {
public:
    explicit ChildEnvironment(std::vector<std::string> settings) : m_entries(std::move(settings)) {
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            const std::string name = entry.substr(0, entry.find('=') + 1);
            if (std::none_of(m_entries.begin(), m_entries.end(),
                             [&](const std::string& s) { return s.rfind(name, 0) == 0; }))
                m_entries.push_back(entry);
        }
        for (auto& entry : m_entries)
            m_pointers.push_back(entry.data());
        m_pointers.push_back(nullptr);
    }
    char** Get() { return m_pointers.data(); }

private:
    std::vector<std::string> m_entries;
    std::vector<char*> m_pointers;
};

// What a child process needs to reach the test server through a SilentServerProxy that
// passes on the handshake (two replies) and then says nothing: the proxy in dir, and the
// environment naming it. Memory shared with the server would need descriptors passed over
// the socket, so the child is told not to use any.
class SilentServerChild {
public:
    SilentServerChild(const std::string& dir, const std::string& serverSocket)
        : m_proxy(dir + "/silent", serverSocket, 2),
          m_env({"PULSE_SERVER=unix:" + dir + "/silent",
                 "PULSE_CLIENTCONFIG=" + dir + "/client.conf"}) {
        std::ofstream(dir + "/client.conf") << "enable-shm = no\nenable-memfd = no\n";
    }
    char** Env() { return m_env.Get(); }

private:
    SilentServerProxy m_proxy;
    ChildEnvironment m_env;
};

// Keeps every core of the machine busy while it lives: one spinning thread per core.
class BusyCores {
public:
    BusyCores() {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        for (unsigned i = 0; i < cores; ++i)
            m_threads.emplace_back([this] {
                while (!m_stop.load(std::memory_order_relaxed)) {
                }
            });
    }
    ~BusyCores() {
        m_stop = true;
        for (auto& thread : m_threads)
            thread.join();
    }

private:
    std::atomic<bool> m_stop{false};
    std::vector<std::thread> m_threads;
};

// The largest "Buffer Latency" that `pactl list sink-inputs` shows now, in microseconds;
// -1 without a stream.
inline long BufferLatencyUs() {
    char path[] = "/tmp/quirnel-pactl-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0)
        return -1;
    close(fd);
    Run({"pactl", "list", "sink-inputs"}, path);
    std::istringstream lines(ReadFile(path));
    unlink(path);
    long largest = -1;
    const std::string key = "Buffer Latency: ";
    for (std::string line; std::getline(lines, line);)
        if (const size_t at = line.find(key); at != std::string::npos)
            largest = std::max(largest, std::stol(line.substr(at + key.size())));
    return largest;
}

// Empty when the private test sound server (default sink "quirnel_test") answers;
// otherwise why the test is skipped. Other servers are never touched.
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
    if (info.find("Default Sink: quirnel_test\n") == std::string::npos)
        return "the sound server is not the private test server (scripts/test starts one)";
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

// Records the null sink's monitor with parec, as 16-bit mono samples at kRate.
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
        return m_pid != 0 &&
               RunEventsUntil([this] { return ReadFile(m_path).size() >= kRate / 5; }, 5000);
    }

    std::vector<int16_t> Stop() {
        if (m_pid != 0) {
            kill(m_pid, SIGINT);
            Wait(m_pid);
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

// Where a tone was heard: from the first to the last sample louder than a threshold, in
// seconds, and how long it was heard in between. A busy machine can leave the sound server
// short of data for a moment; that gap is silence in the recording and lengthens the span
// but not the time heard, so durations are checked against the time heard.
struct ToneSpan {
    double start = 0;
    double end = 0;
    double heard = 0;
    double Duration() const { return heard; }
};

inline ToneSpan LoudSpan(const std::vector<int16_t>& samples, int rate, int threshold = 3000) {
    auto loud = [threshold](int16_t s) { return std::abs(s) > threshold; };
    const auto first = std::find_if(samples.begin(), samples.end(), loud);
    if (first == samples.end())
        return {};
    const auto last = std::find_if(samples.rbegin(), samples.rend(), loud);
    ToneSpan span{static_cast<double>(first - samples.begin()) / rate,
                  static_cast<double>(samples.rend() - last) / rate};
    // Windows of 5 ms hold at least one peak of every test tone (above 200 Hz).
    const size_t window = static_cast<size_t>(rate / 200);
    size_t loudWindows = 0;
    for (auto a = first; a < last.base(); a += std::min<ptrdiff_t>(window, last.base() - a))
        loudWindows += std::any_of(a, std::min(a + window, last.base()), loud);
    span.heard = std::min(span.end - span.start, static_cast<double>(loudWindows * window) / rate);
    return span;
}

// The energy of the samples between two times (seconds), per second of sound at rate: a
// tone heard whole keeps the energy of the samples it was made of.
inline double Energy(const std::vector<int16_t>& samples, int rate, double from, double to) {
    double sum = 0;
    const size_t end = std::min(samples.size(), static_cast<size_t>(std::max(0.0, to) * rate));
    for (size_t i = static_cast<size_t>(std::max(0.0, from) * rate); i < end; ++i)
        sum += (samples[i] / 32768.0) * (samples[i] / 32768.0);
    return sum / rate;
}

// The frequency from the zero crossings between two times (seconds): the median over
// windows of 100 ms, so that a short dropout on a busy machine does not skew it.
inline double Frequency(const std::vector<int16_t>& samples, int rate, double from, double to) {
    const size_t window = static_cast<size_t>(rate / 10);
    const size_t end = std::min(samples.size(), static_cast<size_t>(to * rate));
    std::vector<double> found;
    for (size_t a = static_cast<size_t>(std::max(0.0, from) * rate); a + window <= end;
         a += window) {
        int crossings = 0;
        for (size_t i = a + 1; i < a + window; ++i)
            crossings += (samples[i - 1] < 0) != (samples[i] < 0);
        found.push_back(crossings * 5.0);
    }
    if (found.empty())
        return 0;
    std::nth_element(found.begin(), found.begin() + found.size() / 2, found.end());
    return found[found.size() / 2];
}

} // namespace audiotest

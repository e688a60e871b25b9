// quirnel-cli listen: the formants of the microphone's sound as it comes, as CSV.
#include "Cli.h"

#include "listening/LiveListener.h"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

namespace {

// The file column of the rows: the sound comes from the input, not from a file.
constexpr char kSourceName[] = "live";
// The longest listening that --seconds takes: a day.
constexpr double kLongestS = 86400;

std::string Hz(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

// Prints the frames as they come (on the recording's thread): with --track every frame as
// a row of `measure --track`; without, one row of `measure` for each voiced stretch once it
// has ended (kGapS without voice) and for the last one at the end.
class FramePrinter {
public:
    explicit FramePrinter(bool track) : m_bTrack(track) {
        std::printf(track ? "file,time_s,f0_hz,f1_hz,f2_hz,f3_hz,b1_hz,b2_hz,b3_hz,f1_uncertain\n"
                          : "file,f0_hz,f1_hz,f2_hz,f3_hz,voiced_s,f1_uncertain\n");
        std::fflush(stdout);
    }

    void Take(const LiveFrame& live) {
        std::lock_guard lock(m_lock);
        const FormantFrame& frame = live.formants;
        if (m_bTrack) {
            std::printf("%s,%.3f", kSourceName, frame.timeS);
            if (frame.voiced)
                std::printf(",%s,%s,%s,%s,%s,%s,%s,%d\n", Hz(frame.f0Hz).c_str(),
                            Hz(frame.formantsHz[0]).c_str(), Hz(frame.formantsHz[1]).c_str(),
                            Hz(frame.formantsHz[2]).c_str(), Hz(frame.bandwidthsHz[0]).c_str(),
                            Hz(frame.bandwidthsHz[1]).c_str(), Hz(frame.bandwidthsHz[2]).c_str(),
                            frame.f1Uncertain ? 1 : 0);
            else
                std::printf(",,,,,,,,\n");
            std::fflush(stdout);
            return;
        }
        if (frame.voiced)
            m_stretch.push_back(frame);
        else if (!m_stretch.empty() && frame.timeS - m_stretch.back().timeS > CTakeBuffer::kGapS)
            PrintStretch();
    }

    void Finish() {
        std::lock_guard lock(m_lock);
        if (!m_bTrack && !m_stretch.empty())
            PrintStretch();
    }

private:
    void PrintStretch() {
        const FormantSummary summary = SummariseVowel(m_stretch);
        m_stretch.clear();
        std::printf("%s,%s,%s,%s,%s,%.2f,%d\n", kSourceName, Hz(summary.f0Hz).c_str(),
                    Hz(summary.formantsHz[0]).c_str(), Hz(summary.formantsHz[1]).c_str(),
                    Hz(summary.formantsHz[2]).c_str(), summary.voicedS,
                    summary.f1Uncertain ? 1 : 0);
        std::fflush(stdout);
    }

    bool m_bTrack;
    std::mutex m_lock;
    std::vector<FormantFrame> m_stretch;
};

int HandleListen(const std::vector<std::string>& args) {
    CliOptions options;
    if (!options.Parse(args, {"seconds"}, {"track"}) || !options.CheckOptionsOnly("listen", {}))
        return kCliBadArguments;
    double seconds = INFINITY;
    if (options.Has("seconds")) {
        const std::string text = options.Get("seconds");
        char* end = nullptr;
        errno = 0;
        seconds = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0' || errno == ERANGE || !(seconds > 0) ||
            seconds > kLongestS) {
            CliError("--seconds must be a time in seconds above 0 and at most " +
                     std::to_string(static_cast<int>(kLongestS)) + ", not \"" + text + "\"");
            return kCliBadArguments;
        }
    }
    // Ctrl+C and SIGTERM end the listening: they are blocked before the recording's thread
    // starts (which inherits the mask) and taken here by sigtimedwait.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    FramePrinter printer(options.Has("track"));
    CLiveListener listener([&printer](const LiveFrame& frame) { printer.Take(frame); });
    const CLiveInput::Result started = listener.Start();
    if (started != CLiveInput::Result::Recording) {
        CliError(NoMicrophoneMessage(started));
        return kCliFailed;
    }
    const auto deadline = std::isinf(seconds)
                              ? std::chrono::steady_clock::time_point::max()
                              : std::chrono::steady_clock::now() +
                                    std::chrono::microseconds(std::llround(seconds * 1e6));
    int status = kCliOk;
    for (;;) {
        if (listener.HasFailed()) {
            CliError(NoMicrophoneMessage(CLiveInput::Result::Recording));
            status = kCliFailed;
            break;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            break;
        const auto wait = std::min<std::chrono::steady_clock::duration>(
            deadline - now, std::chrono::milliseconds(100));
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
        const timespec timeout{static_cast<time_t>(ns / 1000000000),
                               static_cast<long>(ns % 1000000000)};
        if (sigtimedwait(&stopSignals, nullptr, &timeout) > 0)
            break;
    }
    // Everything recorded is analysed and printed, also on a machine too busy to keep up.
    listener.Finish();
    printer.Finish();
    return status;
}

CliRegistrar listenCommand(
    "listen",
    "  listen [--seconds N] [--track]\n"
    "                             F0 and F1-F3 of the microphone's sound as it comes, as\n"
    "                             measure's CSV: a row for each voiced stretch, or with\n"
    "                             --track each 10 ms frame; stops after N seconds or at\n"
    "                             Ctrl+C",
    &HandleListen);

} // namespace

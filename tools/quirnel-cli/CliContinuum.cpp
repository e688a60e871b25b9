// quirnel-cli continuum: vowels at equal steps between two points, with a manifest.
#include "Cli.h"

#include "stimuli/Continuum.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

// Reads "F1,F2" or "F1,F2,F3" (Hz, whole numbers; a given F3 at least 1).
bool ParsePoint(const CliOptions& options, const std::string& name, Formants& point) {
    const std::string text = options.Get(name);
    std::vector<int> values;
    const char* at = text.c_str();
    while (values.size() < 3) {
        errno = 0;
        char* end = nullptr;
        const long number = std::strtol(at, &end, 10);
        if (end == at || errno == ERANGE || number < INT_MIN || number > INT_MAX)
            break;
        values.push_back(static_cast<int>(number));
        at = end;
        if (*at != ',')
            break;
        ++at;
    }
    if (*at != '\0' || text.back() == ',' || values.size() < 2 ||
        (values.size() == 3 && values[2] < 1)) {
        CliError("--" + name + " needs F1,F2 or F1,F2,F3 in Hz, not \"" + text + "\"");
        return false;
    }
    point = {values[0], values[1], values.size() == 3 ? values[2] : 0};
    return true;
}

bool ParseContinuum(const std::vector<std::string>& args, ContinuumRequest& request, bool& quiet,
                    bool& verbose) {
    CliOptions options;
    if (!options.Parse(args,
                       {"voice", "from", "to", "steps", "scale", "frame-ms", "tilt", "rate",
                        "format", "level", "out", "prefix"},
                       {"force", "quiet", "verbose"}))
        return false;
    request.replaceExisting = options.Has("force");
    quiet = options.Has("quiet");
    verbose = options.Has("verbose");
    if (!options.CheckOptionsOnly("continuum", {"voice", "from", "to", "steps", "out"}))
        return false;
    request.voiceFile = options.Get("voice");
    request.folder = options.Get("out");
    if (options.Has("prefix"))
        request.prefix = options.Get("prefix");
    if (!ParsePoint(options, "from", request.from) || !ParsePoint(options, "to", request.to) ||
        !options.GetInt("steps", request.steps) ||
        !options.GetOptionalInt("frame-ms", request.frameMs) ||
        !options.GetOptionalInt("tilt", request.tiltDb) ||
        !options.GetOptionalInt("rate", request.format.sampleRate))
        return false;
    if (options.Has("scale") && !ParseFormantScale(options.Get("scale"), request.scale)) {
        CliError("--scale must be hz, bark or erb");
        return false;
    }
    return GetSampleFormat(options, request.format.sampleFormat) &&
           GetSoundLevel(options, request.level);
}

// Set by Ctrl+C (and SIGTERM, SIGHUP): the continuum is given up after the step at hand, so
// that nothing of it is left behind.
volatile std::sig_atomic_t g_interrupted = 0;

void OnInterrupt(int) {
    g_interrupted = 1;
}

// Catches the signals that end a run from outside while the continuum is written.
class InterruptCatcher {
public:
    InterruptCatcher() {
        struct sigaction action {};
        action.sa_handler = &OnInterrupt;
        sigemptyset(&action.sa_mask);
        for (size_t i = 0; i < std::size(kSignals); ++i)
            ::sigaction(kSignals[i], &action, &m_saved[i]);
    }
    ~InterruptCatcher() {
        for (size_t i = 0; i < std::size(kSignals); ++i)
            ::sigaction(kSignals[i], &m_saved[i], nullptr);
    }
    InterruptCatcher(const InterruptCatcher&) = delete;
    InterruptCatcher& operator=(const InterruptCatcher&) = delete;

private:
    static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
    struct sigaction m_saved[std::size(kSignals)]{};
};

int ContinuumCommand(const std::vector<std::string>& args) {
    ContinuumRequest request;
    bool quiet = false, verbose = false;
    if (!ParseContinuum(args, request, quiet, verbose))
        return kCliBadArguments;
    // A line per step only for someone watching.
    const bool showProgress = !quiet && ::isatty(STDERR_FILENO);
    const std::vector<Formants> steps =
        ContinuumFormants(request.from, request.to, request.steps, request.scale);
    const InterruptCatcher catcher;
    const ContinuumResult result = WriteContinuum(request, [&](int done, int total) {
        if (showProgress) {
            const Formants& vowel = steps.at(static_cast<size_t>(done - 1));
            std::fprintf(stderr, "step %d of %d: %s (F1 %d, F2 %d, F3 %d Hz)\n", done, total,
                         ContinuumFileName(request.prefix, done, total).c_str(), vowel.f1, vowel.f2,
                         vowel.f3);
        }
        return g_interrupted == 0;
    });
    switch (result.outcome) {
    case ContinuumOutcome::Written:
        for (size_t k = 0; verbose && k < result.levels.size(); ++k)
            std::printf("%s\n",
                        LevelLine(ContinuumFileName(request.prefix, int(k) + 1, request.steps),
                                  result.levels[k])
                            .c_str());
        if (showProgress)
            std::fprintf(stderr, "%d steps and %s written into %s\n", request.steps,
                         ContinuumManifestName(request.prefix).c_str(), request.folder.c_str());
        return kCliOk;
    case ContinuumOutcome::FilesExist:
        CliError(result.message + " Add --force to replace them.");
        return kCliBadArguments;
    case ContinuumOutcome::BadRequest:
        CliError(result.message);
        return kCliBadArguments;
    case ContinuumOutcome::Cancelled:
        CliError("Interrupted. " + result.message.substr(result.message.find(' ') + 1));
        return 130;
    case ContinuumOutcome::Busy:
    case ContinuumOutcome::Failed:
        break;
    }
    CliError(result.message);
    return kCliFailed;
}

CliRegistrar
    reg("continuum",
        "  continuum --voice FILE.dat --from F1,F2[,F3] --to F1,F2[,F3] --steps N\n"
        "            [--scale hz|bark|erb] [--frame-ms MS] [--tilt DB] [--rate HZ]\n"
        "            [--format pcm16|pcm24|float] [--level natural|peak|rms=DB]\n"
        "            --out FOLDER [--prefix NAME] [--force] [--quiet] [--verbose]\n"
        "      writes N (2 to 100) vowels at equal steps on the scale (default bark) from the\n"
        "      first point to the second as NAME-01.wav ... (default prefix continuum) and the\n"
        "      manifest NAME.csv into FOLDER; without F3 each step takes the chart's automatic\n"
        "      F3; existing files are replaced only with --force; the files appear together\n"
        "      when all are written, and an interrupted run leaves nothing; a line per step\n"
        "      on a terminal unless --quiet; --level as for render, natural keeping the\n"
        "      steps' level relations; --verbose prints each step's gain and RMS",
        &ContinuumCommand);

} // namespace

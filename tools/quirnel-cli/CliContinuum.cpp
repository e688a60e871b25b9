// quirnel-cli continuum: vowels at equal steps between two points, with a manifest.
#include "Cli.h"

#include "stimuli/Continuum.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

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

bool ParseContinuum(const std::vector<std::string>& args, ContinuumRequest& request) {
    CliOptions options;
    if (!options.Parse(args,
                       {"voice", "from", "to", "steps", "scale", "frame-ms", "tilt", "rate",
                        "format", "out", "prefix"},
                       {"force"}))
        return false;
    request.replaceExisting = options.Has("force");
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
    if (!GetSampleFormat(options, request.format.sampleFormat))
        return false;
    return true;
}

int ContinuumCommand(const std::vector<std::string>& args) {
    ContinuumRequest request;
    if (!ParseContinuum(args, request))
        return kCliBadArguments;
    const ContinuumResult result = WriteContinuum(request);
    switch (result.outcome) {
    case ContinuumOutcome::Written:
        return kCliOk;
    case ContinuumOutcome::FilesExist:
        CliError(result.message + " Nothing written; add --force to replace them.");
        return kCliBadArguments;
    case ContinuumOutcome::BadRequest:
        CliError(result.message + (result.message.back() == '.' ? "" : ".") + " Nothing written.");
        return kCliBadArguments;
    case ContinuumOutcome::Cancelled:
    case ContinuumOutcome::Failed:
        break;
    }
    CliError(result.message + "\n" + std::to_string(result.written) + " of " +
             std::to_string(request.steps) + " steps were written, with their manifest.");
    return kCliFailed;
}

CliRegistrar
    reg("continuum",
        "  continuum --voice FILE.dat --from F1,F2[,F3] --to F1,F2[,F3] --steps N\n"
        "            [--scale hz|bark|erb] [--frame-ms MS] [--tilt DB] [--rate HZ]\n"
        "            [--format pcm16|pcm24|float] --out FOLDER [--prefix NAME] [--force]\n"
        "      writes N (2 to 100) vowels at equal steps on the scale (default bark) from the\n"
        "      first point to the second as NAME-01.wav ... (default prefix continuum) and the\n"
        "      manifest NAME.csv into FOLDER; without F3 each step takes the chart's automatic\n"
        "      F3; existing files are replaced only with --force",
        &ContinuumCommand);

} // namespace

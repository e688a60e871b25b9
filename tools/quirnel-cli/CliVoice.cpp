// quirnel-cli voice: makes a voice data file at a chosen pitch with the voice generator.
#include "Cli.h"

#include "base/SafeFile.h"
#include "voicing/VoiceMaker.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace {

// Reads a decimal number option; false with a message when it is not one.
bool GetNumber(const CliOptions& options, const std::string& name, double& value) {
    const std::string text = options.Get(name);
    errno = 0;
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(number)) {
        CliError("--" + name + " needs a number, not \"" + text + "\"");
        return false;
    }
    value = number;
    return true;
}

bool GetOptionalNumber(const CliOptions& options, const std::string& name,
                       std::optional<double>& value) {
    if (!options.Has(name))
        return true;
    double number = 0;
    if (!GetNumber(options, name, number))
        return false;
    value = number;
    return true;
}

bool GetSeed(const CliOptions& options, uint32_t& seed) {
    if (!options.Has("seed"))
        return true;
    const std::string text = options.Get("seed");
    errno = 0;
    char* end = nullptr;
    const unsigned long long number = std::strtoull(text.c_str(), &end, 10);
    if (text.empty() || text[0] == '-' || *end != '\0' || errno == ERANGE || number > UINT32_MAX) {
        CliError("--seed needs a whole number from 0 to 4294967295, not \"" + text + "\"");
        return false;
    }
    seed = static_cast<uint32_t>(number);
    return true;
}

bool ParseVoiceRequest(const std::vector<std::string>& args, VoiceRequest& request,
                       std::string& out) {
    CliOptions options;
    if (!options.Parse(args, {"f0", "f0-end", "jitter", "shimmer", "breath", "seed", "out"}))
        return false;
    if (!options.CheckOptionsOnly("voice", {"f0", "out"}))
        return false;
    out = options.Get("out");
    if (std::filesystem::path(out).extension() != ".dat") {
        CliError("--out must name a voice data file ending in .dat");
        return false;
    }
    if (!GetNumber(options, "f0", request.f0) ||
        !GetOptionalNumber(options, "f0-end", request.f0End) ||
        !GetOptionalNumber(options, "jitter", request.jitterPercent) ||
        !GetOptionalNumber(options, "shimmer", request.shimmerPercent) ||
        !GetOptionalNumber(options, "breath", request.breathPercent) ||
        !GetSeed(options, request.seed))
        return false;
    if (std::string problem = CheckVoiceRequest(request); !problem.empty()) {
        CliError(problem);
        return false;
    }
    return true;
}

int VoiceCommand(const std::vector<std::string>& args) {
    VoiceRequest request;
    std::string out;
    if (!ParseVoiceRequest(args, request, out))
        return kCliBadArguments;
    // The name is checked before the voice is made and calibrated.
    if (std::string problem = CheckOutputName(out); !problem.empty()) {
        CliError(problem);
        return kCliFailed;
    }
    if (std::string problem = MakeVoice(request, out); !problem.empty()) {
        CliError(problem);
        return kCliFailed;
    }
    return kCliOk;
}

CliRegistrar
    reg("voice",
        "  voice --f0 HZ [--f0-end HZ] [--jitter PCT] [--shimmer PCT] [--breath PCT] [--seed N]\n"
        "        --out FILE.dat\n"
        "      makes a voice data file at F0 HZ (50 to 500), gliding to --f0-end over the first\n"
        "      500 ms; jitter (0-5 %), shimmer (0-20 %) and breath noise (0-10 %) default to\n"
        "      the bundled voices' values at that pitch; the same values and seed (default 1)\n"
        "      always make the same file",
        &VoiceCommand);

} // namespace

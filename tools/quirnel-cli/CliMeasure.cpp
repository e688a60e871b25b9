// quirnel-cli measure: F0 and formants of recorded vowels, as CSV.
#include "Cli.h"

#include "analysis/FormantAnalysis.h"
#include "audio/SoundFile.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Why a file cannot be measured, from its header alone; "" when it can.
std::string WhyNotMeasurable(const std::string& path) {
    SoundFileFormat format;
    return WhyNotSound(path, "measure", format);
}

// A CSV cell: quoted when it holds a comma, a quote or a line break.
std::string CsvCell(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string Hz(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

bool ParseSeconds(const CliOptions& options, const std::string& name, double& value) {
    if (!options.Has(name))
        return true;
    const std::string text = options.Get(name);
    char* end = nullptr;
    errno = 0;
    const double number = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(number) || number < 0) {
        CliError("--" + name + " must be a time in seconds, 0 or more, not \"" + text + "\"");
        return false;
    }
    value = number;
    return true;
}

int HandleMeasure(const std::vector<std::string>& args) {
    CliOptions options;
    if (!options.Parse(args, {"from", "to"}, {"track"}))
        return kCliBadArguments;
    if (options.Positional().empty()) {
        CliError("measure needs at least one FILE");
        return kCliBadArguments;
    }
    double from = 0, to = INFINITY;
    if (!ParseSeconds(options, "from", from) || !ParseSeconds(options, "to", to))
        return kCliBadArguments;
    if (from >= to) {
        CliError("--from must come before --to");
        return kCliBadArguments;
    }
    const bool ranged = options.Has("from") || options.Has("to");
    const bool track = options.Has("track");
    std::printf(track ? "file,time_s,f0_hz,f1_hz,f2_hz,f3_hz,b1_hz,b2_hz,b3_hz,f1_uncertain\n"
                      : "file,f0_hz,f1_hz,f2_hz,f3_hz,voiced_s,f1_uncertain\n");
    int status = kCliOk;
    for (const std::string& path : options.Positional()) {
        DecodedSound sound;
        std::string why = WhyNotMeasurable(path);
        if (why.empty() && !DecodeSoundFile(path, sound))
            why = "can't decode \"" + path + "\" as a sound file";
        if (!why.empty()) {
            CliError(why);
            status = kCliBadArguments;
            continue;
        }
        std::vector<float> samples(sound.samples.size());
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<float>(sound.samples[i] / 32768.0);
        const std::vector<FormantFrame> frames =
            TrackFormants(MixToMono(samples, sound.channels), sound.sampleRate);
        const std::string file = CsvCell(path);
        if (track) {
            for (const FormantFrame& frame : frames) {
                if (frame.timeS < from - 1e-9 || frame.timeS > to + 1e-9)
                    continue;
                std::printf("%s,%.3f", file.c_str(), frame.timeS);
                if (frame.voiced)
                    std::printf(",%s,%s,%s,%s,%s,%s,%s,%d\n", Hz(frame.f0Hz).c_str(),
                                Hz(frame.formantsHz[0]).c_str(), Hz(frame.formantsHz[1]).c_str(),
                                Hz(frame.formantsHz[2]).c_str(), Hz(frame.bandwidthsHz[0]).c_str(),
                                Hz(frame.bandwidthsHz[1]).c_str(),
                                Hz(frame.bandwidthsHz[2]).c_str(), frame.f1Uncertain ? 1 : 0);
                else
                    std::printf(",,,,,,,,\n");
            }
            continue;
        }
        const FormantSummary summary =
            ranged ? SummariseFormants(frames, from, to) : SummariseVowel(frames);
        if (!summary.voiced) {
            CliError("\"" + path + "\" has no voiced stretch" + (ranged ? " in the range" : ""));
            std::printf("%s,,,,,0.00,\n", file.c_str());
            continue;
        }
        std::printf("%s,%s,%s,%s,%s,%.2f,%d\n", file.c_str(), Hz(summary.f0Hz).c_str(),
                    Hz(summary.formantsHz[0]).c_str(), Hz(summary.formantsHz[1]).c_str(),
                    Hz(summary.formantsHz[2]).c_str(), summary.voicedS,
                    summary.f1Uncertain ? 1 : 0);
    }
    return status;
}

CliRegistrar measureCommand(
    "measure",
    "  measure FILE... [--track] [--from S] [--to S]\n"
    "                             F0 and F1-F3 of recorded vowels as CSV: the medians over\n"
    "                             the middle 60 % of each file's voiced stretch (or over\n"
    "                             --from..--to); --track: one row per 10 ms frame",
    &HandleMeasure);

} // namespace

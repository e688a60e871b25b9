// quirnel-cli spectrum: the spectrum of a vowel as the synthesizer makes it (sound, filter
// and source), as a figure drawn by the window's own drawing code or as a CSV table.
#include "Cli.h"

#include "base/FileError.h"
#include "base/SafeFile.h"
#include "spectrum/VowelSpectrum.h"
#include "drawing/ChartDrawing.h"
#include "drawing/SpectrumDrawing.h"

#include "CliFigures.h"

#include <filesystem>

namespace {

bool IsCsvName(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".csv";
}

bool CheckRange(const std::string& name, int value, int lowest, int highest,
                const std::string& unit) {
    if (value >= lowest && value <= highest)
        return true;
    CliError("--" + name + " must lie between " + std::to_string(lowest) + " and " +
             std::to_string(highest) + unit);
    return false;
}

int SpectrumCommand(const std::vector<std::string>& args) {
    CliOptions options;
    if (!options.Parse(args,
                       {"voice", "f1", "f2", "f3", "tilt", "frame-ms", "f1-end", "f2-end", "out",
                        "top-db", "range-db"},
                       {"no-source", "log"}))
        return kCliBadArguments;
    if (!options.CheckOptionsOnly("spectrum", {"voice", "f1", "f2", "out"}))
        return kCliBadArguments;
    if (options.Has("f1-end") != options.Has("f2-end")) {
        CliError("--f1-end and --f2-end go together");
        return kCliBadArguments;
    }
    VowelRequest request;
    SpectrumOptions look;
    request.voiceFile = options.Get("voice");
    if (!options.GetInt("f1", request.f1) || !options.GetInt("f2", request.f2) ||
        !options.GetOptionalInt("f3", request.f3) ||
        !options.GetOptionalInt("tilt", request.tiltDb) ||
        !options.GetOptionalInt("frame-ms", request.frameMs) ||
        !options.GetOptionalInt("f1-end", request.f1End) ||
        !options.GetOptionalInt("f2-end", request.f2End) ||
        !options.GetOptionalInt("top-db", look.topDb) ||
        !options.GetOptionalInt("range-db", look.rangeDb))
        return kCliBadArguments;
    const bool diphthong = options.Has("f1-end");
    if (!CheckRange("f1", request.f1, 1, 5000, " Hz") ||
        !CheckRange("f2", request.f2, 1, 5000, " Hz") ||
        !CheckRange("f3", request.f3, 0, 5000, " Hz") ||
        (diphthong && (!CheckRange("f1-end", request.f1End, 1, 5000, " Hz") ||
                       !CheckRange("f2-end", request.f2End, 1, 5000, " Hz"))) ||
        !CheckRange("tilt", request.tiltDb, 0, 24, " dB") ||
        !CheckRange("frame-ms", request.frameMs, 1, 2000, " ms") ||
        !CheckRange("top-db", look.topDb, kSpectrumTopDbMin, kSpectrumTopDbMax, " dB") ||
        !CheckRange("range-db", look.rangeDb, kSpectrumRangeDbMin, kSpectrumRangeDbMax, " dB"))
        return kCliBadArguments;
    look.showSource = !options.Has("no-source");
    look.logFrequency = options.Has("log");
    const std::string out = options.Get("out");
    const bool csv = IsCsvName(out);
    if (!csv && FigureFormatOfName(out) == FigureFormat::Unknown) {
        CliError("cannot tell what to write to \"" + out +
                 "\": the name must end in .csv, .svg, .pdf or .png");
        return kCliBadArguments;
    }

    const VowelSpectrum spectrum = AnalyseVowel(request);
    ShowReport(spectrum.report);
    if (!spectrum.report.Ok()) {
        CliError("the vowel could not be rendered; nothing written");
        return kCliBadArguments;
    }
    if (csv) {
        if (const int error = ReplaceFileContents(out, SpectrumCsv(spectrum))) {
            CliError("can't write " + out + ": " + FileErrorReason(error) +
                     "; an existing file is left as it was");
            return kCliFailed;
        }
        return kCliOk;
    }
    const auto graphics = OffscreenGraphics();
    std::string problem;
    if (!WriteSpectrumFigure(out, spectrum, look, ChooseChartLook(), problem)) {
        CliError(problem);
        return kCliFailed;
    }
    return kCliOk;
}

CliRegistrar spectrumReg(
    "spectrum",
    "  spectrum --voice FILE.dat --f1 HZ --f2 HZ [--f3 HZ] [--tilt DB] [--frame-ms MS]\n"
    "           [--f1-end HZ --f2-end HZ] [--no-source] [--log] [--top-db DB]\n"
    "           [--range-db DB] --out FILE.svg|FILE.pdf|FILE.png|FILE.csv\n"
    "      the spectrum of the vowel as rendered: the sound over its steady middle, the\n"
    "      synthesizer's filter response and the voicing source, with F1-F3 and A1-A3\n"
    "      (a diphthong adds the spectrogram of its glide); a CSV holds the curves\n"
    "      (frequency_hz, sound_db, filter_db, source_db); --log: logarithmic frequency\n"
    "      axis; --top-db (default 0) and --range-db (default 90) fix the level axis",
    &SpectrumCommand);

} // namespace

// quirnel-cli render: renders one vowel with the engine into a WAV or FLAC file.
#include "Cli.h"

#include "base/Directories.h"
#include "base/FileError.h"
#include "base/Report.h"
#include "base/SafeFile.h"
#include "base/ScratchFolder.h"
#include "stimuli/SoundExport.h"
#include "synth/SynthRun.h"
#include "chart/ChartState.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace {

// The vowel asked for on the command line.
struct RenderRequest {
    std::string voice;
    std::string out;
    int f1 = 0, f2 = 0;
    int f3 = 100 * ChartState::kF3StartStep; // as the chart's F3 slider starts
    int tilt = 0;
    int frameMs = 100;
    int f1End = 0, f2End = 0;
    bool fade = true;
    bool verbose = false;
    SoundFormat format; // the defaults write exactly the chart's temp.wav
    SoundLevel level;
    bool levelGiven = false;
};

// "-" names standard output.
bool ToStandardOutput(const std::string& out) {
    return out == "-";
}

// One rule for every output name: a name ending in .flac (in any case) gives a FLAC file,
// any other name, and standard output, a WAV file.
SoundFileType OutputType(const std::string& out) {
    return !ToStandardOutput(out) && SoundFileTypeOf(out) == SoundFileType::Flac
               ? SoundFileType::Flac
               : SoundFileType::Wav;
}

// Formant frequencies must lie between 1 Hz and the Nyquist frequency of 10000 samples/s.
bool CheckFormant(const std::string& name, int value, int lowest) {
    if (value >= lowest && value <= 5000)
        return true;
    CliError("--" + name + " must lie between " + std::to_string(lowest) + " and 5000 Hz");
    return false;
}

bool ParseRequest(const std::vector<std::string>& args, RenderRequest& request) {
    CliOptions options;
    if (!options.Parse(args,
                       {"voice", "f1", "f2", "f3", "tilt", "frame-ms", "f1-end", "f2-end", "out",
                        "rate", "format", "level"},
                       {"no-fade", "verbose"}))
        return false;
    request.fade = !options.Has("no-fade");
    request.verbose = options.Has("verbose");
    request.levelGiven = options.Has("level");
    if (!options.CheckOptionsOnly("render", {"voice", "f1", "f2", "out"}))
        return false;
    if (options.Has("f1-end") != options.Has("f2-end")) {
        CliError("--f1-end and --f2-end go together");
        return false;
    }
    request.voice = options.Get("voice");
    request.out = options.Get("out");
    if (!options.GetInt("f1", request.f1) || !options.GetInt("f2", request.f2) ||
        !options.GetOptionalInt("f3", request.f3) ||
        !options.GetOptionalInt("tilt", request.tilt) ||
        !options.GetOptionalInt("frame-ms", request.frameMs) ||
        !options.GetOptionalInt("f1-end", request.f1End) ||
        !options.GetOptionalInt("f2-end", request.f2End) ||
        !options.GetOptionalInt("rate", request.format.sampleRate))
        return false;
    if (!GetSampleFormat(options, request.format.sampleFormat) ||
        !GetSoundLevel(options, request.level))
        return false;
    if (ToStandardOutput(request.out) && ::isatty(STDOUT_FILENO)) {
        CliError("--out - writes the sound to standard output, which is a terminal here; "
                 "send it to a file or a pipe");
        return false;
    }
    if (request.frameMs < 1 || request.frameMs > 2000) {
        CliError("--frame-ms must lie between 1 and 2000");
        return false;
    }
    if (request.tilt < 0 || request.tilt > 24) {
        CliError("--tilt must lie between 0 and 24 dB");
        return false;
    }
    const bool diphthong = options.Has("f1-end");
    return CheckFormant("f1", request.f1, 1) && CheckFormant("f2", request.f2, 1) &&
           CheckFormant("f3", request.f3, 0) &&
           (!diphthong ||
            (CheckFormant("f1-end", request.f1End, 1) && CheckFormant("f2-end", request.f2End, 1)));
}

// Puts the sound at its destination: standard output, or a file by the rules of document
// saves (a temporary file in the destination's folder renamed over it, so that a failure
// leaves the previous file as it was; a symbolic link is written through; a read-only file,
// a folder, a device or a pipe is refused).
bool WriteOutput(const std::string& bytes, const std::string& out) {
    if (ToStandardOutput(out)) {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                CliError(std::string("can't write the sound to standard output: ") +
                         FileErrorReason(errno));
                return false;
            }
            done += static_cast<size_t>(n);
        }
        return true;
    }
    if (int error = ReplaceFileContents(out, bytes)) {
        CliError("can't write " + out + ": " + FileErrorReason(error) +
                 "; an existing file is left as it was");
        return false;
    }
    return true;
}

// The chart's own file: temp.wav as the engine writes it, read back.
int RenderAsTheChart(const RenderRequest& request, std::string& bytes) {
    ScratchFolder temp("quirnel-render");
    if (temp.Path().empty()) {
        CliError("can't create a temporary folder");
        return kCliFailed;
    }
    g_strTempDir = temp.Path();
    SetEndFade(request.fade);
    const SynthesisResult result =
        SynthesizeVowel(request.voice, request.tilt, request.frameMs, request.f1, request.f2,
                        request.f3, request.f1End, request.f2End);
    // The engine's messages (voice file, output) go to stderr through the message sink.
    ShowReport(result.report);
    if (!result.Ok()) {
        CliError("rendering failed; nothing written");
        return kCliBadArguments;
    }
    ReleaseSynthesis();
    if (int error = ReadWholeFile(result.wavPath, bytes)) {
        CliError("can't read the rendered sound " + result.wavPath + ": " + FileErrorReason(error));
        return kCliFailed;
    }
    return kCliOk;
}

int RenderCommand(const std::vector<std::string>& args) {
    RenderRequest request;
    if (!ParseRequest(args, request))
        return kCliBadArguments;
    // The name is checked before the work.
    if (!ToStandardOutput(request.out)) {
        if (std::string problem = CheckOutputName(request.out); !problem.empty()) {
            CliError(problem);
            return kCliFailed;
        }
    }
    const SoundFileType type = OutputType(request.out);
    std::string bytes;
    // Without a rate, format or level of its own the file is the chart's, byte for byte.
    if (request.format.sampleRate == kRenderedRate &&
        request.format.sampleFormat == SampleFormat::Pcm16 && type == SoundFileType::Wav &&
        !request.levelGiven && !request.verbose) {
        if (int status = RenderAsTheChart(request, bytes); status != kCliOk)
            return status;
    } else {
        AppliedLevel applied;
        const ExportResult exported =
            RenderSoundFile({request.voice, request.tilt, request.frameMs, request.f1, request.f2,
                             request.f3, request.f1End, request.f2End, request.fade},
                            request.format, request.level, type, bytes, applied);
        if (exported.failure != ExportFailure::None) {
            CliError(exported.message);
            return exported.failure == ExportFailure::Writing ? kCliFailed : kCliBadArguments;
        }
        if (request.verbose)
            std::fprintf(ToStandardOutput(request.out) ? stderr : stdout, "%s\n",
                         LevelLine(request.out, applied).c_str());
    }
    return WriteOutput(bytes, request.out) ? kCliOk : kCliFailed;
}

CliRegistrar reg("render",
                 "  render --voice FILE.dat --f1 HZ --f2 HZ [--f3 HZ] [--tilt DB] [--frame-ms MS]\n"
                 "         [--f1-end HZ --f2-end HZ] [--no-fade] [--rate HZ]\n"
                 "         [--format pcm16|pcm24|float] [--level natural|peak|rms=DB]\n"
                 "         [--verbose] --out FILE|-\n"
                 "      renders a vowel (five frames of MS ms, default 100; F3 default 2700, as\n"
                 "      the chart's slider starts) into FILE: FLAC when its name ends in .flac,\n"
                 "      else WAV; - writes the WAV to standard output; --no-fade leaves out the\n"
                 "      15 ms fade at its end; --rate 22050, 44100 or 48000 resamples the\n"
                 "      10000 Hz sound; --format sets the samples (default pcm16; FLAC holds\n"
                 "      pcm16 and pcm24); --level: the vowel's own level (natural, the default;\n"
                 "      scaled down only where an integer file would clip), the peak at full\n"
                 "      scale, or the RMS at DB (-80 to 0) dB against full scale; --verbose\n"
                 "      prints the gain and the RMS",
                 &RenderCommand);

} // namespace

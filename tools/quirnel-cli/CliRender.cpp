// quirnel-cli render: renders one vowel with the engine into a WAV file.
#include "Cli.h"

#include "base/Directories.h"
#include "base/FileError.h"
#include "base/Report.h"
#include "base/SafeFile.h"
#include "base/ScratchFolder.h"
#include "stimuli/SoundExport.h"
#include "synth/SynthRun.h"

namespace {

// The vowel asked for on the command line.
struct RenderRequest {
    std::string voice;
    std::string out;
    int f1 = 0, f2 = 0, f3 = 0;
    int tilt = 0;
    int frameMs = 100;
    int f1End = 0, f2End = 0;
    bool fade = true;
    SoundFormat format; // the defaults write exactly the chart's temp.wav
};

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
                        "rate", "format"},
                       {"no-fade"}))
        return false;
    request.fade = !options.Has("no-fade");
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
    if (!GetSampleFormat(options, request.format.sampleFormat))
        return false;
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

// Puts the rendered file at its destination by the rules of document saves: a temporary
// file in the destination's folder renamed over it, so that a failure leaves the previous
// file as it was; a symbolic link is written through; a read-only file, a folder, a device
// or a pipe is refused.
bool WriteOutput(const std::string& rendered, const std::string& out) {
    std::string bytes;
    if (int error = ReadWholeFile(rendered, bytes)) {
        CliError("can't read the rendered sound " + rendered + ": " + FileErrorReason(error));
        return false;
    }
    if (int error = ReplaceFileContents(out, bytes)) {
        CliError("can't write " + out + ": " + FileErrorReason(error) +
                 "; an existing file is left as it was");
        return false;
    }
    return true;
}

int RenderCommand(const std::vector<std::string>& args) {
    RenderRequest request;
    if (!ParseRequest(args, request))
        return kCliBadArguments;
    if (request.format.sampleRate != kRenderedRate ||
        request.format.sampleFormat != SampleFormat::Pcm16 ||
        SoundFileTypeOf(request.out) == SoundFileType::Flac) {
        const ExportResult exported =
            ExportVowel({request.voice, request.tilt, request.frameMs, request.f1, request.f2,
                         request.f3, request.f1End, request.f2End, request.fade},
                        request.format, request.out);
        if (exported.failure != ExportFailure::None)
            CliError(exported.message);
        return exported.failure == ExportFailure::None      ? kCliOk
               : exported.failure == ExportFailure::Writing ? kCliFailed
                                                            : kCliBadArguments;
    }
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
    return WriteOutput(result.wavPath, request.out) ? kCliOk : kCliFailed;
}

CliRegistrar reg("render",
                 "  render --voice FILE.dat --f1 HZ --f2 HZ [--f3 HZ] [--tilt DB] [--frame-ms MS]\n"
                 "         [--f1-end HZ --f2-end HZ] [--no-fade] [--rate HZ]\n"
                 "         [--format pcm16|pcm24|float] --out FILE.wav|FILE.flac\n"
                 "      renders a vowel (five frames of MS ms, default 100) into a WAV or FLAC\n"
                 "      file; --no-fade leaves out the 15 ms fade at its end; --rate 22050,\n"
                 "      44100 or 48000 resamples the 10000 Hz sound; --format sets the samples\n"
                 "      (default pcm16; FLAC holds pcm16 and pcm24)",
                 &RenderCommand);

} // namespace

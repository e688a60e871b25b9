// quirnel-voicegen: generates the bundled voice data files, calibrated, into a folder.
#include "base/Report.h"
#include "base/ScratchFolder.h"
#include "voicing/BundledVoices.h"
#include "voicing/Calibration.h"
#include "voicing/VoiceFileWriter.h"
#include "voicing/VoicingGenerator.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const char kUsage[] = "usage: quirnel-voicegen --out FOLDER [--voice male|female|child]\n"
                      "  Generates the voice data files 01-male.dat, 02-female.dat and\n"
                      "  03-child.dat (or the one voice named) into FOLDER.\n";

struct Options {
    std::string outDir;
    std::string voice; // empty: all voices
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        if (i + 1 >= argc || (name != "--out" && name != "--voice")) {
            return false;
        }
        (name == "--out" ? options.outDir : options.voice) = argv[++i];
    }
    return !options.outDir.empty();
}

// Makes one voice file; the report has been shown, and fails when the file was not made.
Report MakeVoice(SynthEngine& engine, const BundledVoice& voice, const std::string& outDir,
                 const std::string& scratch) {
    VoicingTrack track = GenerateVoicing(voice.profile, kVoiceFileSamples);
    if (track.samples.empty()) {
        std::fprintf(stderr, "quirnel-voicegen: the %s voice cannot be shaped\n",
                     voice.profile.name.c_str());
        Report unshaped;
        unshaped.Fail();
        return unshaped;
    }
    CalibratedVoice calibrated;
    Report report = CalibrateVoice(engine, voice, track.samples, scratch, calibrated);
    if (report.Ok()) {
        report.Append(
            WriteVoiceFile(outDir + "/" + voice.fileName, calibrated.samples, 1 / calibrated.gain));
    }
    ShowReport(report);
    if (!report.Ok()) {
        return report;
    }
    double meanPeriod = 0;
    for (double period : track.periods) {
        meanPeriod += period;
    }
    meanPeriod /= static_cast<double>(track.periods.size());
    std::printf("%s: %zu samples, F0 %.1f Hz, jitter %.2f %%, shimmer %.2f %%, "
                "loudest preset %d (slot %d)\n",
                voice.fileName.c_str(), calibrated.samples.size(), 1 / meanPeriod,
                100 * LocalPerturbation(track.periods), 100 * LocalPerturbation(track.excitations),
                calibrated.loudest.peak, calibrated.loudest.slot);
    return report;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::error_code error;
    if (!std::filesystem::is_directory(options.outDir, error)) {
        std::fprintf(stderr, "quirnel-voicegen: %s is not a folder\n", options.outDir.c_str());
        return 2;
    }
    ScratchFolder scratch("quirnel-voicegen");
    if (scratch.Path().empty()) {
        std::perror("quirnel-voicegen: no temporary folder");
        return 1;
    }
    bool known = options.voice.empty();
    bool made = true;
    // One engine calibrates every voice, each after the one before.
    SynthEngine engine;
    for (const BundledVoice& voice : BundledVoices()) {
        if (options.voice.empty() || options.voice == voice.profile.name) {
            known = true;
            const Report report = MakeVoice(engine, voice, options.outDir, scratch.Path());
            if (report.EndsProcess()) // memory ran out: no further voice is tried
                return kReportEndsProcessStatus;
            made = report.Ok() && made;
        }
    }
    if (!known) {
        std::fprintf(stderr, "quirnel-voicegen: no voice named %s\n%s", options.voice.c_str(),
                     kUsage);
        return 2;
    }
    return made ? 0 : 1;
}

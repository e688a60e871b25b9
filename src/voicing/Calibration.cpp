#include "voicing/Calibration.h"

#include "voicing/VoiceFileWriter.h"

#include "synth/SynthEngine.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

constexpr int kLowestCalibratedPeak = 24000;
constexpr int kHighestCalibratedPeak = 32767;
constexpr double kTrialPeakSample = 10000; // trial samples are large enough to stay exact

double LargestMagnitude(const std::vector<double>& voicing) {
    double largest = 0;
    for (double value : voicing) {
        largest = std::max(largest, std::abs(value));
    }
    return largest;
}

// Writes the samples to `path` and finds the loudest preset they give.
Report MeasureLoudness(SynthEngine& engine, const BundledVoice& voice,
                       const std::vector<int32_t>& samples, double gain, const std::string& path,
                       PresetPeak& loudest) {
    Report report = WriteVoiceFile(path, samples, 1 / gain);
    if (report.Ok())
        report.Append(FindLoudestPreset(engine, path, PresetFormantsOf(voice.presetGender),
                                        voice.tiltDb, loudest));
    return report;
}

} // namespace

Report FindLoudestPreset(SynthEngine& engine, const std::string& voiceFile,
                         const PresetTable& presets, int tiltDb, PresetPeak& loudest) {
    // The engine keeps the last voice file it loaded; forget it so this file is read afresh.
    engine.Release();
    loudest = PresetPeak();
    Report report;
    for (size_t slot = 0; slot < presets.size(); ++slot) {
        const PresetFormants& vowel = presets[slot];
        std::vector<int32_t> sound;
        report.Append(
            engine.RenderVowel(voiceFile, tiltDb, 100, vowel.f1, vowel.f2, vowel.f3, 0, 0, sound));
        if (!report.Ok()) {
            return report;
        }
        for (int32_t sample : sound) {
            int magnitude =
                static_cast<int>(std::min<int64_t>(std::abs(int64_t{sample}), INT32_MAX));
            if (magnitude > loudest.peak) {
                loudest = {magnitude, static_cast<int>(slot)};
            }
        }
    }
    engine.Release();
    return report;
}

Report CalibrateVoice(SynthEngine& engine, const BundledVoice& voice,
                      const std::vector<double>& voicing, const std::string& workDir,
                      CalibratedVoice& result) {
    Report report;
    double largest = LargestMagnitude(voicing);
    if (largest <= 0) {
        report.Fail("The voicing of " + voice.fileName + " is silent.", "Error", MsgIcon::Error);
        return report;
    }
    double trialGain = kTrialPeakSample / largest;
    PresetPeak trial;
    // A short name of its own for each voice, so that a voice whose name is as long as a file
    // name may be still gets its trial file.
    char trialName[40];
    std::snprintf(trialName, sizeof trialName, "trial-%016zx.dat",
                  std::hash<std::string>{}(voice.fileName));
    report.Append(MeasureLoudness(engine, voice, QuantizeVoicing(voicing, trialGain), trialGain,
                                  workDir + "/" + trialName, trial));
    if (!report.Ok()) {
        return report;
    }
    if (trial.peak <= 0) {
        report.Fail("The preset vowels of " + voice.fileName + " are silent.", "Error",
                    MsgIcon::Error);
        return report;
    }
    // The synthesizer is linear in its excitation, so one trial fixes the gain.
    result.gain = trialGain * kCalibratedPeak / trial.peak;
    result.samples = QuantizeVoicing(voicing, result.gain);
    report.Append(MeasureLoudness(engine, voice, result.samples, result.gain,
                                  workDir + "/" + voice.fileName, result.loudest));
    if (!report.Ok()) {
        return report;
    }
    if (result.loudest.peak < kLowestCalibratedPeak ||
        result.loudest.peak > kHighestCalibratedPeak) {
        report.Fail("The loudest preset vowel of " + voice.fileName + " peaks at " +
                        std::to_string(result.loudest.peak) + ", outside 24000 to 32767.",
                    "Error", MsgIcon::Error);
    }
    return report;
}

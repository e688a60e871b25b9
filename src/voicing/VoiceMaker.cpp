#include "voicing/VoiceMaker.h"

#include "base/SafeFile.h"
#include "base/ScratchFolder.h"
#include "synth/SynthEngine.h"
#include "voicing/Calibration.h"
#include "voicing/VoiceFileWriter.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

namespace {

// A value of a bundled voice's profile at its pitch.
using ProfileValue = double (*)(const VoiceProfile&);

// The value at f0, linear in log F0 between the bundled voices (in pitch order), held
// beyond the lowest and the highest.
double FollowBundledVoices(double f0, ProfileValue value) {
    const auto& voices = BundledVoices();
    const VoiceProfile* lower = &voices.front().profile;
    if (f0 <= lower->f0)
        return value(*lower);
    for (const BundledVoice& voice : voices) {
        const VoiceProfile& upper = voice.profile;
        if (f0 <= upper.f0) {
            const double where = std::log(f0 / lower->f0) / std::log(upper.f0 / lower->f0);
            return value(*lower) + where * (value(upper) - value(*lower));
        }
        lower = &upper;
    }
    return value(*lower);
}

bool Within(double value, double lowest, double highest) {
    return value >= lowest && value <= highest; // false for NaN
}

std::string Percent(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// Generates and calibrates the voicing; "" or the message of the failure.
std::string CalibratedSamples(const BundledVoice& voice, CalibratedVoice& calibrated) {
    const VoicingTrack track = GenerateVoicing(voice.profile, kVoiceFileSamples);
    if (track.samples.empty())
        return "The voicing of this voice cannot be shaped.";
    ScratchFolder scratch("quirnel-voice");
    if (scratch.Path().empty())
        return "Can't make a temporary folder to calibrate the voice in.";
    // The calibration renders the presets with a fresh engine, as a new process would, so
    // that a request always gives the same file.
    SynthEngine engine;
    const Report report = CalibrateVoice(engine, voice, track.samples, scratch.Path(), calibrated);
    if (!report.Ok()) {
        const std::string text = report.Text();
        return text.empty() ? "The voice could not be calibrated." : text;
    }
    return "";
}

} // namespace

std::string CheckVoiceRequest(const VoiceRequest& request) {
    const std::string range = " must lie between 50 and 500 Hz";
    if (!Within(request.f0, kLowestVoiceF0, kHighestVoiceF0))
        return "The F0 of " + Percent(request.f0) + " Hz is outside the range: it" + range + ".";
    if (request.f0End && !Within(*request.f0End, kLowestVoiceF0, kHighestVoiceF0))
        return "The end F0 of " + Percent(*request.f0End) + " Hz is outside the range: it" + range +
               ".";
    struct Limit {
        const std::optional<double>& value;
        const char* name;
        double highest;
    };
    for (const Limit& limit :
         {Limit{request.jitterPercent, "jitter", 5}, Limit{request.shimmerPercent, "shimmer", 20},
          Limit{request.breathPercent, "breath noise", 10}}) {
        if (limit.value && !Within(*limit.value, 0, limit.highest))
            return std::string("The ") + limit.name + " of " + Percent(*limit.value) +
                   " % is outside the range of 0 to " + Percent(limit.highest) + " %.";
    }
    return "";
}

double CharacteristicF0(const VoiceRequest& request) {
    return request.f0End ? std::sqrt(request.f0 * *request.f0End) : request.f0;
}

BundledVoice MadeVoiceOf(const VoiceRequest& request, const std::string& fileName) {
    const double f0 = CharacteristicF0(request);
    VoiceProfile profile;
    profile.name = fileName;
    profile.f0 = request.f0;
    profile.f0End = request.f0End.value_or(0);
    profile.glideSeconds = kVoiceGlideSeconds;
    profile.seed = request.seed;
    profile.openQuotient =
        FollowBundledVoices(f0, [](const VoiceProfile& v) { return v.openQuotient; });
    profile.speedQuotient =
        FollowBundledVoices(f0, [](const VoiceProfile& v) { return v.speedQuotient; });
    profile.returnCornerHz =
        FollowBundledVoices(f0, [](const VoiceProfile& v) { return v.returnCornerHz; });
    profile.jitter = request.jitterPercent
                         ? *request.jitterPercent / 100
                         : FollowBundledVoices(f0, [](const VoiceProfile& v) { return v.jitter; });
    profile.shimmer =
        request.shimmerPercent
            ? *request.shimmerPercent / 100
            : FollowBundledVoices(f0, [](const VoiceProfile& v) { return v.shimmer; });
    profile.breath = request.breathPercent
                         ? *request.breathPercent / 100
                         : FollowBundledVoices(f0, [](const VoiceProfile& v) { return v.breath; });
    // The bundled voices' slow melody moves their pitch by 3 to 4 % within seconds; a voice
    // made to a pitch keeps it, with only the small random wander and the jitter.
    profile.driftDepth = 0;
    const bool higher = f0 >= kHigherVoiceF0;
    return BundledVoice{fileName, profile, higher ? 0 : 1, higher ? 6 : 0};
}

std::string MakeVoice(const VoiceRequest& request, const std::string& path) {
    if (std::string problem = CheckVoiceRequest(request); !problem.empty())
        return problem;
    const BundledVoice voice =
        MadeVoiceOf(request, std::filesystem::path(path).filename().string());
    CalibratedVoice calibrated;
    if (std::string problem = CalibratedSamples(voice, calibrated); !problem.empty())
        return problem;
    return WriteOutputFile(path, VoiceFileText(calibrated.samples, 1 / calibrated.gain));
}

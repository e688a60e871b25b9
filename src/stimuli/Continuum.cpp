#include "stimuli/Continuum.h"

#include "base/SafeFile.h"
#include "stimuli/SoundExport.h"
#include "stimuli/VoicePitch.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kHighestFormant = 5000; // the Nyquist frequency of the rendered sound

bool FormantInRange(int hz) {
    return hz >= 1 && hz <= kHighestFormant;
}

std::string CheckPoint(const char* name, const Formants& point) {
    if (!FormantInRange(point.f1) || !FormantInRange(point.f2) ||
        (point.f3 != 0 && !FormantInRange(point.f3)))
        return std::string("The formants of the ") + name +
               " point must lie between 1 and 5000 Hz.";
    return "";
}

std::string CheckPrefix(const std::string& prefix) {
    if (prefix.empty() || prefix == "." || prefix == "..")
        return "The prefix must name the files: it cannot be empty, \".\" or \"..\".";
    for (unsigned char c : prefix) {
        if (c == '/' || c == ',' || c == '"' || c < 0x20 || c == 0x7F)
            return "The prefix \"" + prefix +
                   "\" may not hold a slash, a comma, a quote or a control character.";
    }
    return "";
}

std::vector<std::string> ContinuumFiles(const ContinuumRequest& request) {
    std::vector<std::string> names;
    for (int step = 1; step <= request.steps; ++step)
        names.push_back(ContinuumFileName(request.prefix, step, request.steps));
    names.push_back(ContinuumManifestName(request.prefix));
    return names;
}

std::string InFolder(const ContinuumRequest& request, const std::string& name) {
    return (std::filesystem::path(request.folder) / name).string();
}

// Why an existing file cannot be replaced ("" when it can): it must be a regular file (or a
// link to one, or to none yet) that may be written.
std::string CheckReplaceable(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return ""; // a link to a file still to be made
    if (S_ISDIR(info.st_mode))
        return "Can't replace " + path + ": it is a folder.";
    if (!S_ISREG(info.st_mode))
        return "Can't replace " + path + ": it is not a regular file (a device or a pipe).";
    if (::access(path.c_str(), W_OK) != 0)
        return "Can't replace " + path + ": it may not be written.";
    return "";
}

std::string WriteManifest(const ContinuumRequest& request, const std::vector<Formants>& written,
                          double f0) {
    return WriteOutputFile(InFolder(request, ContinuumManifestName(request.prefix)),
                           ContinuumManifest(request, written, f0));
}

// Steps rendered together and then resampled and encoded side by side, one per processor:
// the best sinc converter takes far longer than the rendering.
size_t BatchSize() {
    return std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 16);
}

// Encodes the first problems.size() vowels of the batch as WAV files, each on a thread of its
// own (in turn when no thread can be started); a vowel that has a problem already is left out.
void EncodeBatch(const std::vector<RenderedVowel>& batch, const SoundFormat& format,
                 std::vector<std::string>& problems, std::vector<std::string>& files) {
    auto encode = [&](size_t k) {
        if (problems[k].empty())
            problems[k] = EncodeSound(batch[k], format, SoundFileType::Wav, files[k]);
    };
    std::vector<std::thread> workers;
    size_t started = 1; // the first runs on this thread
    try {
        for (; started < problems.size(); ++started)
            workers.emplace_back(encode, started);
    } catch (const std::system_error&) {
        // Too few threads: the rest are encoded below, one after the other.
    }
    encode(0);
    for (size_t k = started; k < problems.size(); ++k)
        encode(k);
    for (std::thread& worker : workers)
        worker.join();
}

// A result after some steps were written: the manifest of those steps goes with them.
ContinuumResult Stopped(const ContinuumRequest& request, const std::vector<Formants>& written,
                        double f0, ContinuumOutcome outcome, std::string message) {
    ContinuumResult result{outcome, static_cast<int>(written.size()), std::move(message)};
    if (written.empty())
        return result;
    if (std::string problem = WriteManifest(request, written, f0); !problem.empty()) {
        result.outcome = ContinuumOutcome::Failed;
        result.message += (result.message.empty() ? "" : "\n") + problem;
    }
    return result;
}

} // namespace

VowelStimulus ContinuumStepVowel(const ContinuumRequest& request, const Formants& formants) {
    VowelStimulus vowel;
    vowel.voiceFile = request.voiceFile;
    vowel.tiltDb = request.tiltDb;
    vowel.frameMs = request.frameMs;
    vowel.f1 = formants.f1;
    vowel.f2 = formants.f2;
    vowel.f3 = formants.f3;
    return vowel;
}

std::string ContinuumFileName(const std::string& prefix, int step, int steps) {
    const int width = std::max<int>(2, static_cast<int>(std::to_string(steps).size()));
    char number[16];
    std::snprintf(number, sizeof number, "%0*d", width, step);
    return prefix + "-" + number + ".wav";
}

std::string ContinuumManifestName(const std::string& prefix) {
    return prefix + ".csv";
}

std::string ContinuumManifest(const ContinuumRequest& request, const std::vector<Formants>& written,
                              double voiceF0) {
    std::string f0;
    if (voiceF0 > 0) {
        char text[32];
        std::snprintf(text, sizeof text, "%.1f", voiceF0);
        f0 = text;
    }
    const std::string tail = "," + f0 + "," + std::to_string(5 * request.frameMs) + "," +
                             FormantScaleName(request.scale);
    std::string manifest = "step,file,f1_hz,f2_hz,f3_hz,f0_hz,length_ms,scale\n";
    for (size_t i = 0; i < written.size(); ++i) {
        const Formants& vowel = written[i];
        const int step = static_cast<int>(i) + 1;
        manifest += std::to_string(step) + "," +
                    ContinuumFileName(request.prefix, step, request.steps) + "," +
                    std::to_string(vowel.f1) + "," + std::to_string(vowel.f2) + "," +
                    std::to_string(vowel.f3) + tail + "\n";
    }
    return manifest;
}

std::string CheckContinuumValues(const ContinuumRequest& request) {
    if (request.steps < kFewestContinuumSteps || request.steps > kMostContinuumSteps)
        return "A continuum has 2 to 100 steps, not " + std::to_string(request.steps) + ".";
    if (std::string problem = CheckPoint("first", request.from); !problem.empty())
        return problem;
    if (std::string problem = CheckPoint("second", request.to); !problem.empty())
        return problem;
    if ((request.from.f3 > 0) != (request.to.f3 > 0))
        return "Give F3 for both points, or for neither (each step then takes the automatic "
               "F3 of its F1 and F2).";
    for (const Formants& vowel :
         ContinuumFormants(request.from, request.to, request.steps, request.scale)) {
        if (!FormantInRange(vowel.f3))
            return "The automatic F3 of F1 " + std::to_string(vowel.f1) + " Hz and F2 " +
                   std::to_string(vowel.f2) + " Hz is " + std::to_string(vowel.f3) +
                   " Hz, outside 1 to 5000 Hz; give F3 for both points.";
    }
    if (request.frameMs < 1 || request.frameMs > 2000)
        return "The frame length must lie between 1 and 2000 ms.";
    if (request.tiltDb < 0 || request.tiltDb > 24)
        return "The tilt must lie between 0 and 24 dB.";
    if (request.folder.empty())
        return "Choose a folder for the continuum.";
    if (std::string problem = CheckSoundFormat(request.format, SoundFileType::Wav);
        !problem.empty())
        return problem;
    return CheckPrefix(request.prefix);
}

std::string CheckContinuumFiles(const ContinuumRequest& request, bool& existing) {
    existing = false;
    std::error_code error;
    const auto folder = std::filesystem::status(request.folder, error);
    if (std::filesystem::exists(folder) && !std::filesystem::is_directory(folder))
        return request.folder + " is not a folder.";
    std::vector<std::string> present;
    for (const std::string& name : ContinuumFiles(request)) {
        struct stat info {};
        if (::lstat(InFolder(request, name).c_str(), &info) == 0)
            present.push_back(name);
    }
    if (present.empty())
        return "";
    if (!request.replaceExisting) {
        existing = true;
        return "The folder " + request.folder + " already holds " + present.front() +
               (present.size() > 1 ? " and " + std::to_string(present.size() - 1) + " more file" +
                                         (present.size() > 2 ? "s" : "")
                                   : std::string()) +
               " of this continuum.";
    }
    for (const std::string& name : present) {
        if (std::string problem = CheckReplaceable(InFolder(request, name)); !problem.empty())
            return problem;
    }
    return "";
}

ContinuumResult WriteContinuum(const ContinuumRequest& request, const ContinuumProgress& progress) {
    if (std::string problem = CheckContinuumValues(request); !problem.empty())
        return {ContinuumOutcome::BadRequest, 0, problem};
    bool existing = false;
    if (std::string problem = CheckContinuumFiles(request, existing); !problem.empty())
        return {existing ? ContinuumOutcome::FilesExist : ContinuumOutcome::BadRequest, 0, problem};
    const std::vector<Formants> vowels =
        ContinuumFormants(request.from, request.to, request.steps, request.scale);
    std::vector<RenderedVowel> batch(BatchSize());
    if (std::string problem = RenderStimulus(ContinuumStepVowel(request, vowels[0]), batch[0]);
        !problem.empty())
        return {ContinuumOutcome::BadRequest, 0, problem};
    const double f0 = MeasureVoiceF0(request.voiceFile, static_cast<int>(batch[0].pcm16.size()));
    std::error_code error;
    std::filesystem::create_directories(request.folder, error);
    if (error)
        return {ContinuumOutcome::Failed, 0,
                "Can't make the folder " + request.folder + ": " + error.message() + "."};
    std::vector<Formants> written;
    for (int first = 0; first < request.steps; first += static_cast<int>(batch.size())) {
        const int count = std::min(static_cast<int>(batch.size()), request.steps - first);
        std::vector<std::string> problems(count);
        // The engine renders one vowel at a time; the first is rendered already.
        for (int k = first == 0 ? 1 : 0; k < count; ++k)
            problems[k] = RenderStimulus(ContinuumStepVowel(request, vowels[first + k]), batch[k]);
        std::vector<std::string> files(count);
        EncodeBatch(batch, request.format, problems, files);
        for (int k = 0; k < count; ++k) {
            const int step = first + k + 1;
            std::string problem = problems[k];
            if (problem.empty())
                problem = WriteOutputFile(
                    InFolder(request, ContinuumFileName(request.prefix, step, request.steps)),
                    files[k]);
            if (!problem.empty())
                return Stopped(request, written, f0, ContinuumOutcome::Failed, problem);
            written.push_back(vowels[step - 1]);
            if (progress && !progress(step, request.steps) && step < request.steps)
                return Stopped(request, written, f0, ContinuumOutcome::Cancelled, "Cancelled.");
        }
    }
    return Stopped(request, written, f0, ContinuumOutcome::Written, "");
}

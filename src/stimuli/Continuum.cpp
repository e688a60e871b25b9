#include "stimuli/Continuum.h"

#include "base/FileError.h"
#include "base/SafeFile.h"
#include "stimuli/SoundExport.h"
#include "stimuli/VoicePitch.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
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

// Steps resampled and encoded side by side, one per processor.
size_t WorkerCount() {
    return std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 16);
}

// Runs work(0) ... work(count - 1) on up to WorkerCount() threads (on this one alone when no
// thread can be started).
void RunSideBySide(size_t count, const std::function<void(size_t)>& work) {
    std::atomic<size_t> next{0};
    auto worker = [&] {
        for (size_t k = next++; k < count; k = next++)
            work(k);
    };
    std::vector<std::thread> threads;
    try {
        for (size_t t = 1; t < std::min(count, WorkerCount()); ++t)
            threads.emplace_back(worker);
    } catch (const std::system_error&) {
        // Too few threads: this one does the rest.
    }
    worker();
    for (std::thread& thread : threads)
        thread.join();
}

// 64-bit FNV-1a: a lock name of fixed length for a prefix of any length.
uint64_t NameHash(const std::string& text) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

// The lock that keeps two continua of one prefix from being written into one folder at once:
// a lock (flock) on a small hidden file in the folder, taken away when the continuum is done.
// The kernel lets the lock go when the process ends, however it ends.
class ContinuumLock {
public:
    ContinuumLock() = default;
    ContinuumLock(const ContinuumLock&) = delete;
    ContinuumLock& operator=(const ContinuumLock&) = delete;
    ~ContinuumLock() { Release(); }

    // "" when taken; `busy` tells a continuum of the prefix being written now.
    std::string Take(const ContinuumRequest& request, bool& busy) {
        busy = false;
        char name[40];
        std::snprintf(name, sizeof name, ".qrnl-%016llx.lock",
                      static_cast<unsigned long long>(NameHash(request.prefix)));
        const std::string path = InFolder(request, name);
        // A lock file removed by the run that held it between our open and our lock is
        // stale: open it again.
        for (int attempt = 0; attempt < 5; ++attempt) {
            const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (fd < 0)
                return "Can't write into the folder " + request.folder + ": " +
                       std::strerror(errno) + ".";
            if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
                const int error = errno;
                ::close(fd);
                if (error == EWOULDBLOCK) {
                    busy = true;
                    return "Another continuum with the prefix \"" + request.prefix +
                           "\" is being written into " + request.folder + " now.";
                }
                return ""; // a file system without locks: go on unlocked
            }
            struct stat opened {
            }, named{};
            if (::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
                opened.st_ino == named.st_ino && opened.st_dev == named.st_dev) {
                m_fd = fd;
                m_path = path;
                return "";
            }
            ::close(fd);
        }
        busy = true;
        return "Another continuum with the prefix \"" + request.prefix +
               "\" is being written into " + request.folder + " now.";
    }

    void Release() {
        if (m_fd < 0)
            return;
        ::unlink(m_path.c_str());
        ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
    std::string m_path;
};

// Makes a folder with the missing folders above it, and takes away again those it made.
class MadeFolders {
public:
    std::string Make(const std::string& folder) {
        std::error_code error;
        for (std::filesystem::path at = folder; !at.empty() && !std::filesystem::exists(at, error);
             at = at.parent_path()) {
            m_made.push_back(at);
            if (at == at.parent_path())
                break;
        }
        std::filesystem::create_directories(folder, error);
        if (error)
            return "Can't make the folder " + folder + ": " + error.message() + ".";
        return "";
    }
    // Removes the folders made, deepest first, as long as they are empty.
    void TakeAway() {
        for (const std::filesystem::path& folder : m_made)
            if (::rmdir(folder.c_str()) != 0)
                break;
        m_made.clear();
    }

private:
    std::vector<std::filesystem::path> m_made;
};

// The files of a continuum under their temporary names; those not moved into place are
// removed when it goes out of scope.
class PendingFiles {
public:
    explicit PendingFiles(size_t count) : m_files(count) {}
    PendingFiles(const PendingFiles&) = delete;
    PendingFiles& operator=(const PendingFiles&) = delete;
    ~PendingFiles() {
        for (PendingFile& file : m_files)
            DiscardPendingFile(file);
    }
    PendingFile& operator[](size_t k) { return m_files[k]; }
    size_t size() const { return m_files.size(); }

private:
    std::vector<PendingFile> m_files;
};

// Rounded to hundredths, without a minus sign on zero.
double Hundredths(double value) {
    const double rounded = std::round(value * 100) / 100;
    return rounded == 0 ? 0.0 : rounded;
}

std::string Nothing(const std::string& message) {
    return message + (message.empty() || message.back() == '.' ? "" : ".") +
           " Nothing was written; files of an earlier continuum are left as they were.";
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

std::string ContinuumManifest(const ContinuumRequest& request, const std::vector<Formants>& steps,
                              const std::vector<AppliedLevel>& levels, double voiceF0) {
    std::string f0;
    if (voiceF0 > 0) {
        char text[32];
        std::snprintf(text, sizeof text, "%.1f", voiceF0);
        f0 = text;
    }
    const std::string middle = "," + f0 + "," + std::to_string(5 * request.frameMs) + "," +
                               FormantScaleName(request.scale);
    std::string manifest = "step,file,f1_hz,f2_hz,f3_hz,f0_hz,length_ms,scale,gain_db,rms_dbfs\n";
    for (size_t i = 0; i < steps.size(); ++i) {
        const Formants& vowel = steps[i];
        const int step = static_cast<int>(i) + 1;
        char level[64] = "";
        if (i < levels.size())
            std::snprintf(level, sizeof level, "%.2f,%.2f", Hundredths(levels[i].gainDb),
                          Hundredths(levels[i].rmsDbfs));
        else
            std::snprintf(level, sizeof level, ",");
        manifest += std::to_string(step) + "," +
                    ContinuumFileName(request.prefix, step, request.steps) + "," +
                    std::to_string(vowel.f1) + "," + std::to_string(vowel.f2) + "," +
                    std::to_string(vowel.f3) + middle + "," + level + "\n";
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
    if (std::string problem = CheckPrefix(request.prefix); !problem.empty())
        return problem;
    // The longest name is that of the last step.
    const std::string longest = ContinuumFileName(request.prefix, request.steps, request.steps);
    if (longest.size() > NAME_MAX)
        return "The prefix is too long: the file name " + longest.substr(0, 24) + "... would be " +
               std::to_string(longest.size()) + " bytes long, longer than the " +
               std::to_string(NAME_MAX) + " bytes a file name may have.";
    return "";
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
    auto refused = [](ContinuumOutcome outcome, const std::string& message) {
        return ContinuumResult{outcome, 0, Nothing(message), {}};
    };
    if (std::string problem = CheckContinuumValues(request); !problem.empty())
        return refused(ContinuumOutcome::BadRequest, problem);
    bool existing = false;
    if (std::string problem = CheckContinuumFiles(request, existing); !problem.empty())
        return refused(existing ? ContinuumOutcome::FilesExist : ContinuumOutcome::BadRequest,
                       problem);
    const std::vector<Formants> vowels =
        ContinuumFormants(request.from, request.to, request.steps, request.scale);
    const auto count = static_cast<size_t>(request.steps);

    // Every step rendered, on this thread, before anything is written; each as a new process
    // would, by one engine that reads the voice once.
    std::vector<RenderedVowel> rendered(count);
    SynthEngine engine;
    for (size_t k = 0; k < count; ++k)
        if (std::string problem =
                RenderStimulus(engine, ContinuumStepVowel(request, vowels[k]), rendered[k]);
            !problem.empty())
            return refused(ContinuumOutcome::BadRequest, problem);
    const double f0 = MeasureVoiceF0(request.voiceFile, static_cast<int>(rendered[0].pcm16.size()));

    std::vector<SoundAtRate> sounds(count);
    std::vector<std::string> problems(count);
    RunSideBySide(count, [&](size_t k) {
        problems[k] = PrepareSound(rendered[k], request.format.sampleRate, sounds[k]);
    });
    for (const std::string& problem : problems)
        if (!problem.empty())
            return refused(ContinuumOutcome::Failed, problem);
    std::vector<const SoundAtRate*> soundList;
    for (const SoundAtRate& sound : sounds)
        soundList.push_back(&sound);
    std::vector<double> gains;
    if (std::string problem =
            LevelGains(soundList, request.level, request.format.sampleFormat, gains);
        !problem.empty())
        return refused(ContinuumOutcome::BadRequest, problem);

    MadeFolders folders;
    if (std::string problem = folders.Make(request.folder); !problem.empty())
        return refused(ContinuumOutcome::Failed, problem);
    ContinuumLock lock;
    bool busy = false;
    std::string problem = lock.Take(request, busy);
    // Under the lock, the files are checked again: another run may have just finished.
    if (problem.empty())
        problem = CheckContinuumFiles(request, existing);
    ContinuumOutcome outcome = busy       ? ContinuumOutcome::Busy
                               : existing ? ContinuumOutcome::FilesExist
                                          : ContinuumOutcome::Failed;
    std::vector<AppliedLevel> levels(count);
    PendingFiles pending(count + 1);
    for (size_t first = 0; problem.empty() && first < count; first += WorkerCount()) {
        const size_t batch = std::min(WorkerCount(), count - first);
        RunSideBySide(batch, [&](size_t j) {
            const size_t k = first + j;
            std::string bytes;
            problems[k] = EncodeSound(sounds[k], gains[k], request.format, SoundFileType::Wav,
                                      bytes, levels[k]);
            if (!problems[k].empty())
                return;
            const std::string path = InFolder(
                request, ContinuumFileName(request.prefix, static_cast<int>(k) + 1, request.steps));
            // Flushed to disk all at once below: one flush instead of one per file.
            if (int error = WritePendingFile(path, bytes, pending[k], false))
                problems[k] = "Can't write " + path + ": " + FileErrorReason(error) + ".";
        });
        for (size_t k = first; k < first + batch && problem.empty(); ++k) {
            problem = problems[k];
            if (problem.empty() && progress && !progress(static_cast<int>(k) + 1, request.steps)) {
                outcome = ContinuumOutcome::Cancelled;
                problem = "Cancelled.";
            }
        }
    }
    if (problem.empty()) {
        const std::string path = InFolder(request, ContinuumManifestName(request.prefix));
        if (int error = WritePendingFile(path, ContinuumManifest(request, vowels, levels, f0),
                                         pending[count], false))
            problem = "Can't write the manifest " + path + ": " + FileErrorReason(error) + ".";
    }
    // Every file is on the disk before any takes its name, so that a crash cannot leave a
    // name with a file that is not whole.
    if (problem.empty()) {
        if (int error = FlushPendingFiles(request.folder))
            problem = "Can't write into " + request.folder + ": " + FileErrorReason(error) + ".";
    }
    if (!problem.empty()) {
        for (size_t k = 0; k < pending.size(); ++k)
            DiscardPendingFile(pending[k]);
        lock.Release();
        folders.TakeAway();
        return refused(outcome, problem);
    }
    // Every file is whole on the disk: the steps, then the manifest, take their names.
    for (size_t k = 0; k < pending.size(); ++k) {
        if (int error = CommitPendingFile(pending[k], false)) {
            const std::string name = std::filesystem::path(pending[k].target).filename().string();
            return {ContinuumOutcome::Failed,
                    static_cast<int>(k),
                    "Can't move " + name + " into place in " + request.folder + ": " +
                        FileErrorReason(error) + ". " + std::to_string(k) + " of the " +
                        std::to_string(pending.size()) +
                        " files of the continuum (the steps first, the manifest last) are new; "
                        "the rest are as they were.",
                    {}};
        }
    }
    SyncFolderOf(pending[count].target);
    return {ContinuumOutcome::Written, static_cast<int>(count), "", levels};
}

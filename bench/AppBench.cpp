// Start-up speed of the program: from starting the process to the chart's first paint.
#include <benchmark/benchmark.h>

#ifdef QUIRNEL_PROGRAM

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

long long MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// A work folder with the bundled voices and an empty profile folder, as on a first run.
struct Workplace {
    Workplace() {
        std::string pattern = (fs::temp_directory_path() / "quirnel-bench-XXXXXX").string();
        root = mkdtemp(pattern.data()) ? pattern : std::string();
        fs::create_directories(fs::path(root) / "work" / "Dat");
        for (const auto& voice : fs::directory_iterator(fs::path(QUIRNEL_DATA_DIR) / "Dat"))
            fs::copy_file(voice.path(), fs::path(root) / "work" / "Dat" / voice.path().filename());
    }
    ~Workplace() {
        std::error_code error;
        fs::remove_all(root, error);
    }
    std::string root;
};

// Starts quirnel, which prints "first-paint <ns>" after its first paint and quits.
// Returns the nanoseconds from the spawn to that paint, or -1 on failure.
long long StartToFirstPaint(const Workplace& place) {
    std::vector<std::string> variables = {
        "QT_QPA_PLATFORM=offscreen", "QUIRNEL_REPORT_FIRST_PAINT=1", "QUIRNEL_MESSAGES_TO_STDERR=1",
        "XDG_CONFIG_HOME=" + place.root + "/config"};
    for (char** entry = environ; *entry; ++entry)
        variables.emplace_back(*entry);
    std::vector<char*> envp;
    for (auto& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);

    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    std::string program = QUIRNEL_PROGRAM;
    char* argv[] = {program.data(), nullptr};

    const std::string previousDir = fs::current_path().string();
    fs::current_path(fs::path(place.root) / "work");
    const long long start = MonotonicNanoseconds();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv, envp.data());
    fs::current_path(previousDir);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        return -1;
    }
    long long painted = -1;
    if (FILE* out = fdopen(pipeEnds[0], "r")) {
        if (std::fscanf(out, "first-paint %lld", &painted) != 1)
            painted = -1;
        std::fclose(out);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return painted < 0 ? -1 : painted - start;
}

} // namespace

static void BM_StartToFirstPaint(benchmark::State& state) {
    const Workplace place;
    for (auto _ : state) {
        const long long elapsed = StartToFirstPaint(place);
        if (elapsed < 0) {
            state.SkipWithError("quirnel did not report its first paint");
            break;
        }
        state.SetIterationTime(static_cast<double>(elapsed) / 1e9);
    }
}
BENCHMARK(BM_StartToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

#endif

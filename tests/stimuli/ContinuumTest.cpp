// Vowel continua: the step arithmetic on each scale, the file names and manifest, and
// quirnel-cli continuum with its refusals, its overwrite rule and what it writes.
#include "stimuli/Continuum.h"
#include "stimuli/VoicePitch.h"

#include "CliRunner.h"
#include "FileSizeLimit.h"
#include "SoundReading.h"
#include "chart/ChartGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <fstream>
#include <functional>
#include <numbers>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const std::string kVoice = QUIRNEL_DATA_DIR "/Dat/01-male.dat";

TEST(EqualSteps, StepEquallyOnEachScaleAndEndExactlyOnThePoints) {
    // Halves round away from zero: 500.5 Hz becomes 501.
    EXPECT_EQ(EqualSteps(500, 501, 3, FormantScale::Hz), (std::vector<int>{500, 501, 501}));
    EXPECT_EQ(EqualSteps(1000, 400, 4, FormantScale::Hz), (std::vector<int>{1000, 800, 600, 400}));
    // Bark by the chart's formula: 3.0288 and 8.5274 Bark meet at 5.7781 Bark, 603.07 Hz.
    for (int hz : {199, 503, 1210, 3236})
        EXPECT_DOUBLE_EQ(ToScale(FormantScale::Bark, hz), HzToBark(hz));
    EXPECT_EQ(EqualSteps(300, 1000, 3, FormantScale::Bark), (std::vector<int>{300, 603, 1000}));
    EXPECT_EQ(EqualSteps(280, 700, 7, FormantScale::Bark),
              (std::vector<int>{280, 341, 404, 472, 544, 619, 700}));
    // ERB-rate: 10.76 to 21.16 in thirds gives 829.07 and 1306.71 Hz.
    EXPECT_NEAR(ToScale(FormantScale::Erb, 1000), 15.62, 0.005);
    EXPECT_EQ(EqualSteps(500, 2000, 4, FormantScale::Erb),
              (std::vector<int>{500, 829, 1307, 2000}));
    // The ends are the given points, whatever the round trip through a scale gives.
    for (FormantScale scale : {FormantScale::Hz, FormantScale::Bark, FormantScale::Erb}) {
        for (auto [from, to] : {std::pair{1, 4999}, std::pair{2999, 3001}, std::pair{777, 777}}) {
            const std::vector<int> steps = EqualSteps(from, to, 100, scale);
            EXPECT_EQ(steps.front(), from);
            EXPECT_EQ(steps.back(), to);
        }
    }
}

TEST(ContinuumFormants, TakeGivenF3OrTheChartsAutomaticF3) {
    const auto given = ContinuumFormants({300, 2200, 2800}, {700, 1200, 2400}, 3, FormantScale::Hz);
    EXPECT_EQ(given,
              (std::vector<Formants>{{300, 2200, 2800}, {500, 1700, 2600}, {700, 1200, 2400}}));
    const auto automatic = ContinuumFormants({250, 2100, 0}, {850, 1500, 0}, 2, FormantScale::Hz);
    EXPECT_EQ(automatic, (std::vector<Formants>{{250, 2100, 2476}, {850, 1500, 2343}}));
}

// Each value of a continuum: the last accepted at either end of its range, and the first
// refused beyond it.
TEST(ContinuumValues, AcceptEachEndOfTheirRangesAndRefuseOneBeyond) {
    using Change = std::function<void(ContinuumRequest&)>;
    const struct {
        Change change;
        bool accepted;
    } cases[] = {
        {[](ContinuumRequest& r) { r.steps = 2; }, true},
        {[](ContinuumRequest& r) { r.steps = 1; }, false},
        {[](ContinuumRequest& r) { r.steps = 100; }, true},
        {[](ContinuumRequest& r) { r.steps = 101; }, false},
        {[](ContinuumRequest& r) { r.from.f1 = 1; }, true},
        {[](ContinuumRequest& r) { r.from.f1 = 0; }, false},
        {[](ContinuumRequest& r) { r.to.f2 = 5000; }, true},
        {[](ContinuumRequest& r) { r.to.f2 = 5001; }, false},
        {[](ContinuumRequest& r) { r.from.f3 = 5000; }, true},
        {[](ContinuumRequest& r) { r.from.f3 = 5001; }, false},
        {[](ContinuumRequest& r) { r.to.f3 = 1; }, true},
        {[](ContinuumRequest& r) { r.from.f3 = r.to.f3 = 0; }, true},
        {[](ContinuumRequest& r) { r.to.f3 = 0; }, false},
        {[](ContinuumRequest& r) { r.frameMs = 1; }, true},
        {[](ContinuumRequest& r) { r.frameMs = 0; }, false},
        {[](ContinuumRequest& r) { r.frameMs = 2000; }, true},
        {[](ContinuumRequest& r) { r.frameMs = 2001; }, false},
        {[](ContinuumRequest& r) { r.tiltDb = 0; }, true},
        {[](ContinuumRequest& r) { r.tiltDb = -1; }, false},
        {[](ContinuumRequest& r) { r.tiltDb = 24; }, true},
        {[](ContinuumRequest& r) { r.tiltDb = 25; }, false},
        {[](ContinuumRequest& r) { r.format.sampleRate = 48000; }, true},
        {[](ContinuumRequest& r) { r.format.sampleRate = 48001; }, false},
        {[](ContinuumRequest& r) { r.format.sampleRate = 9999; }, false},
        {[](ContinuumRequest& r) { r.prefix = "a"; }, true},
        {[](ContinuumRequest& r) { r.prefix = ""; }, false},
    };
    int index = 0;
    for (const auto& c : cases) {
        ContinuumRequest request;
        request.from = {300, 2200, 2800};
        request.to = {700, 1200, 2400};
        request.folder = "/tmp/continuum";
        c.change(request);
        EXPECT_EQ(CheckContinuumValues(request).empty(), c.accepted)
            << "case " << index << ": " << CheckContinuumValues(request);
        ++index;
    }
}

TEST(ContinuumManifest, ListsEveryWrittenStepUnderAHeader) {
    EXPECT_EQ(ContinuumFileName("c", 7, 7), "c-07.wav");
    EXPECT_EQ(ContinuumFileName("c", 12, 12), "c-12.wav");
    EXPECT_EQ(ContinuumFileName("c", 7, 100), "c-007.wav");
    ContinuumRequest request;
    request.prefix = "ia";
    request.steps = 3;
    request.frameMs = 60;
    request.scale = FormantScale::Erb;
    EXPECT_EQ(ContinuumManifest(request, {{300, 2200, 2800}, {500, 1700, 2600}},
                                {{-3.456, -20.004}, {0, -0.001}}, 116.24),
              "step,file,f1_hz,f2_hz,f3_hz,f0_hz,length_ms,scale,gain_db,rms_dbfs\n"
              "1,ia-01.wav,300,2200,2800,116.2,300,erb,-3.46,-20.00\n"
              "2,ia-02.wav,500,1700,2600,116.2,300,erb,0.00,0.00\n");
    EXPECT_EQ(ContinuumManifest(request, {{300, 2200, 2800}}, {{0, -12.5}}, 0),
              "step,file,f1_hz,f2_hz,f3_hz,f0_hz,length_ms,scale,gain_db,rms_dbfs\n"
              "1,ia-01.wav,300,2200,2800,,300,erb,0.00,-12.50\n");
}

class CliContinuumTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!CliRunner::Built())
            GTEST_SKIP() << "quirnel-cli not built";
        out = dir.File("out");
    }

    int Continuum(const std::string& args) {
        return cli.Run("continuum --voice '" + kVoice + "' --out '" + out + "' " + args);
    }

    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(out, error))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string Text(const std::string& name) const {
        std::ifstream in(out + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    TempDir dir;
    CliRunner cli;
    std::string out;
};

TEST_F(CliContinuumTest, WritesTheStepsAsRenderWouldAndTheManifest) {
    ASSERT_EQ(Continuum("--from 300,2200,2800 --to 700,1200,2400 --steps 3 --scale hz "
                        "--frame-ms 60 --tilt 3 --prefix ia"),
              0)
        << cli.Stderr();
    EXPECT_EQ(Files(), (std::vector<std::string>{"ia-01.wav", "ia-02.wav", "ia-03.wav", "ia.csv"}));
    const std::string manifest = Text("ia.csv");
    EXPECT_EQ(manifest.substr(0, manifest.find('\n', 70) + 1),
              "step,file,f1_hz,f2_hz,f3_hz,f0_hz,length_ms,scale,gain_db,rms_dbfs\n"
              "1,ia-01.wav,300,2200,2800,115.8,300,hz,0.00,-20.14\n");
    EXPECT_NE(manifest.find("\n2,ia-02.wav,500,1700,2600,115.8,300,hz,0.00,-18.70\n3,ia-03.wav,"),
              std::string::npos);
    // The middle step is what render writes for its values.
    const std::string rendered = dir.File("render.wav");
    ASSERT_EQ(cli.Run("render --voice '" + kVoice +
                      "' --f1 500 --f2 1700 --f3 2600 --tilt 3 "
                      "--frame-ms 60 --out '" +
                      rendered + "'"),
              0);
    std::ifstream in(rendered, std::ios::binary);
    EXPECT_EQ(Text("ia-02.wav"), std::string(std::istreambuf_iterator<char>(in), {}));
}

// Steps of the shortest frames (1 ms: 50 samples) still get the voice's F0 in the
// manifest, measured over the voicing they start with.
TEST(ContinuumManifest, GivesTheVoicesF0ForTheShortestFrames) {
    TempDir dir;
    ContinuumRequest request;
    request.voiceFile = kVoice;
    request.from = {300, 2200, 0};
    request.to = {700, 1200, 0};
    request.steps = 2;
    request.frameMs = 1;
    request.folder = dir.Path();
    ASSERT_EQ(WriteContinuum(request).outcome, ContinuumOutcome::Written);
    std::ifstream in(dir.File("continuum.csv"));
    std::string header, row;
    std::getline(in, header);
    std::getline(in, row);
    // step,file,f1_hz,f2_hz,f3_hz,f0_hz,...
    std::vector<std::string> fields;
    for (size_t at = 0, comma = 0; comma != std::string::npos; at = comma + 1) {
        comma = row.find(',', at);
        fields.push_back(row.substr(at, comma == std::string::npos ? comma : comma - at));
    }
    ASSERT_GE(fields.size(), 6u) << row;
    const double longF0 = MeasureVoiceF0(kVoice, 5000);
    ASSERT_GT(longF0, 50);
    EXPECT_NEAR(std::atof(fields[5].c_str()), longF0, 0.05 * longF0) << row;
    EXPECT_EQ(fields[6], "5") << row;
}

TEST_F(CliContinuumTest, BadValuesWriteNothing) {
    const std::string points = "--from 300,2200 --to 700,1200 ";
    for (const std::string& args : std::vector<std::string>{
             points + "--steps 1", points + "--steps 101", points + "--steps 3 --scale mel",
             "--from 300 --to 700,1200 --steps 3", "--from 300,2200,0 --to 700,1200 --steps 3",
             "--from 300,2200,2800 --to 700,1200 --steps 3",
             "--from 3x0,2200 --to 700,1200 --steps 3", "--from 300,2200, --to 700,1200 --steps 3",
             "--from 300,2200 --to 700,6000 --steps 3", "--from 300,4800 --to 700,4900 --steps 3",
             points + "--steps 3 --frame-ms 0", points + "--steps 3 --tilt 25",
             points + "--steps 3 --rate 16000", points + "--steps 3 --format pcm8",
             points + "--steps 3 --prefix a/b", points + "--steps 3 --prefix 'a,b'",
             points + "--steps 3 --prefix ''", points + "--steps 3 --bogus 1", points}) {
        SCOPED_TRACE(args);
        EXPECT_EQ(Continuum(args), 2);
        EXPECT_FALSE(cli.Stderr().empty());
        EXPECT_FALSE(fs::exists(out));
    }
    EXPECT_EQ(cli.Run("continuum --voice '" + dir.File("none.dat") + "' --out '" + out +
                      "' --from 300,2200 --to 700,1200 --steps 3"),
              2);
    EXPECT_NE(cli.Stderr().find("Can't open voicing samples file"), std::string::npos);
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(CliContinuumTest, ReplacesExistingFilesOnlyWithForce) {
    const std::string args = "--from 300,2200 --to 700,1200 --steps 2 --frame-ms 10 ";
    ASSERT_EQ(Continuum(args), 0) << cli.Stderr();
    std::ofstream(out + "/continuum-02.wav") << "mine";
    fs::remove(out + "/continuum-01.wav");
    EXPECT_EQ(Continuum(args), 2);
    EXPECT_NE(cli.Stderr().find("continuum-02.wav and 1 more file"), std::string::npos)
        << cli.Stderr();
    EXPECT_NE(cli.Stderr().find("Add --force to replace them."), std::string::npos);
    EXPECT_EQ(Files(), (std::vector<std::string>{"continuum-02.wav", "continuum.csv"}));
    EXPECT_EQ(Text("continuum-02.wav"), "mine");

    // A folder in the place of a file is never replaced, not even with --force.
    fs::create_directory(out + "/continuum-01.wav");
    EXPECT_EQ(Continuum(args + "--force"), 2);
    EXPECT_EQ(Text("continuum-02.wav"), "mine");
    fs::remove(out + "/continuum-01.wav");

    ASSERT_EQ(Continuum(args + "--force"), 0) << cli.Stderr();
    EXPECT_EQ(Files(),
              (std::vector<std::string>{"continuum-01.wav", "continuum-02.wav", "continuum.csv"}));
    EXPECT_EQ(Text("continuum-02.wav").size(), 44u + 1000u);
}

ContinuumRequest SmallRequest(const std::string& folder) {
    ContinuumRequest request;
    request.voiceFile = kVoice;
    request.from = {300, 2200, 0};
    request.to = {700, 1200, 0};
    request.steps = 3;
    request.frameMs = 1; // 144-byte step files
    request.folder = folder;
    request.replaceExisting = true;
    return request;
}

// A cancel, a full disk or a manifest that cannot be written leave an earlier continuum of
// the name whole, nothing new beside it, and say so.
TEST_F(CliContinuumTest, AFailedOrCancelledRunLeavesTheEarlierContinuumWhole) {
    ContinuumRequest request = SmallRequest(out);
    request.frameMs = 10;
    ASSERT_EQ(WriteContinuum(request).outcome, ContinuumOutcome::Written);
    const std::vector<std::string> before = Files();
    std::vector<std::string> texts;
    for (const std::string& name : before)
        texts.push_back(Text(name));
    auto unchanged = [&] {
        EXPECT_EQ(Files(), before);
        for (size_t i = 0; i < before.size(); ++i)
            EXPECT_EQ(Text(before[i]), texts[i]) << before[i];
    };
    request.frameMs = 1;
    std::vector<int> calls;
    ContinuumResult result = WriteContinuum(request, [&](int done, int steps) {
        calls.push_back(done);
        EXPECT_EQ(steps, 3);
        return done < 2;
    });
    EXPECT_EQ(result.outcome, ContinuumOutcome::Cancelled);
    EXPECT_EQ(calls, (std::vector<int>{1, 2}));
    unchanged();
    {
        // The steps (144 bytes) fit, the manifest (about 240) does not.
        const FileSizeLimit full(200);
        result = WriteContinuum(request);
    }
    EXPECT_EQ(result.outcome, ContinuumOutcome::Failed);
    EXPECT_NE(result.message.find("Can't write the manifest"), std::string::npos) << result.message;
    EXPECT_NE(result.message.find("Nothing was written"), std::string::npos) << result.message;
    unchanged();
    {
        const FileSizeLimit full(100); // not even a step
        EXPECT_EQ(WriteContinuum(request).outcome, ContinuumOutcome::Failed);
    }
    unchanged();

    // A new folder that the continuum could not fill is taken away again.
    request.folder = dir.File("new/deeper");
    {
        const FileSizeLimit full(100);
        EXPECT_EQ(WriteContinuum(request).outcome, ContinuumOutcome::Failed);
    }
    EXPECT_FALSE(fs::exists(dir.File("new")));
}

// A second continuum of the same prefix into the same folder is refused while the first is
// being written; another prefix is not held up.
TEST_F(CliContinuumTest, ASecondContinuumOfThePrefixIsRefusedMeanwhile) {
    ContinuumRequest request = SmallRequest(out);
    request.replaceExisting = false;
    ContinuumResult second, other;
    const ContinuumResult first = WriteContinuum(request, [&](int done, int) {
        if (done == 1) {
            second = WriteContinuum(request);
            ContinuumRequest otherPrefix = request;
            otherPrefix.prefix = "other";
            other = WriteContinuum(otherPrefix);
        }
        return true;
    });
    EXPECT_EQ(first.outcome, ContinuumOutcome::Written);
    EXPECT_EQ(second.outcome, ContinuumOutcome::Busy);
    EXPECT_NE(second.message.find("Another continuum with the prefix \"continuum\""),
              std::string::npos);
    EXPECT_EQ(other.outcome, ContinuumOutcome::Written);
    EXPECT_EQ(Files(),
              (std::vector<std::string>{"continuum-01.wav", "continuum-02.wav", "continuum-03.wav",
                                        "continuum.csv", "other-01.wav", "other-02.wav",
                                        "other-03.wav", "other.csv"}));
}

// Runs quirnel-cli continuum on a terminal (a pseudo-terminal) into `out`; with interrupt,
// Ctrl+C is sent as soon as the first step is reported. Returns the exit status and keeps
// what the terminal showed.
int RunOnTerminal(const std::string& out, const std::vector<std::string>& extra, bool interrupt,
                  std::string& shown) {
    std::vector<std::string> args = {
        CliRunner::Program(), "continuum", "--voice", kVoice, "--out", out, "--from",
        "300,2200",           "--to",      "700,1200"};
    args.insert(args.end(), extra.begin(), extra.end());
    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child == 0) {
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    if (child < 0)
        return -1;
    bool sent = false;
    char buffer[256];
    // Reads until the program ends (the terminal then reports EIO).
    for (ssize_t n; (n = ::read(terminal, buffer, sizeof buffer)) > 0;) {
        shown.append(buffer, static_cast<size_t>(n));
        if (interrupt && !sent && shown.find("step 1 of") != std::string::npos) {
            ::kill(child, SIGINT);
            sent = true;
        }
    }
    ::close(terminal);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Ctrl+C leaves nothing; a terminal sees a line per step unless --quiet, a pipe sees none.
TEST_F(CliContinuumTest, InterruptLeavesNothingAndATerminalSeesTheSteps) {
    std::string shown;
    EXPECT_EQ(RunOnTerminal(out, {"--steps", "100", "--rate", "48000"}, true, shown), 130) << shown;
    EXPECT_NE(shown.find("Interrupted. Nothing was written"), std::string::npos) << shown;
    EXPECT_FALSE(fs::exists(out));

    shown.clear();
    EXPECT_EQ(RunOnTerminal(out, {"--steps", "2", "--frame-ms", "1"}, false, shown), 0);
    EXPECT_NE(shown.find("step 1 of 2: continuum-01.wav (F1 300, F2 2200, F3 2524 Hz)"),
              std::string::npos)
        << shown;
    EXPECT_NE(shown.find("step 2 of 2"), std::string::npos);
    shown.clear();
    EXPECT_EQ(
        RunOnTerminal(out, {"--steps", "2", "--frame-ms", "1", "--force", "--quiet"}, false, shown),
        0);
    EXPECT_EQ(shown, "");
    ASSERT_EQ(Continuum("--from 300,2200 --to 700,1200 --steps 2 --frame-ms 1 --force"), 0);
    EXPECT_EQ(cli.Stderr() + cli.Stdout(), "");
}

// Names as long as the file system allows are written; longer ones are refused at once.
TEST_F(CliContinuumTest, PrefixesUpToTheLongestFileNameAreWritten) {
    const std::string longest(255 - std::string("-01.wav").size(), 'p');
    ASSERT_EQ(Continuum("--from 300,2200 --to 700,1200 --steps 2 --frame-ms 1 --prefix " + longest),
              0)
        << cli.Stderr();
    EXPECT_EQ(Files().size(), 3u);
    EXPECT_EQ(
        Continuum("--from 300,2200 --to 700,1200 --steps 2 --frame-ms 1 --prefix p" + longest), 2);
    EXPECT_NE(cli.Stderr().find("256 bytes long"), std::string::npos) << cli.Stderr();
}

// The natural level keeps the steps' level relations: one common factor for all, the one
// the loudest step needs to fit 16 bits; the manifest says what each file got.
TEST_F(CliContinuumTest, NaturalLevelScalesEveryStepByOneCommonFactor) {
    ContinuumRequest request = SmallRequest(out);
    request.from = {650, 1700, 0};
    request.to = {900, 2600, 0};
    request.steps = 5;
    request.frameMs = 100;
    request.scale = FormantScale::Hz;
    const ContinuumResult pcm = WriteContinuum(request);
    request.prefix = "float";
    request.format.sampleFormat = SampleFormat::Float32;
    const ContinuumResult own = WriteContinuum(request);
    ASSERT_EQ(pcm.levels.size(), 5u);
    ASSERT_EQ(own.levels.size(), 5u);
    EXPECT_LT(pcm.levels[0].gainDb, -6);
    for (size_t k = 0; k < 5; ++k) {
        EXPECT_NEAR(pcm.levels[k].gainDb, pcm.levels[0].gainDb, 1e-9) << k;
        EXPECT_NEAR(own.levels[k].gainDb, 0, 1e-9) << k;
        EXPECT_NEAR(pcm.levels[k].rmsDbfs - own.levels[k].rmsDbfs, pcm.levels[0].gainDb, 0.001);
    }
    SF_INFO info;
    const std::vector<double> third = ReadSound(out + "/continuum-03.wav", info);
    double energy = 0;
    for (double s : third)
        energy += s * s;
    EXPECT_NEAR(10 * std::log10(energy / double(third.size())), pcm.levels[2].rmsDbfs, 0.01);
    char line[64];
    std::snprintf(line, sizeof line, ",%.2f,%.2f\n", pcm.levels[2].gainDb, pcm.levels[2].rmsDbfs);
    EXPECT_NE(Text("continuum.csv").find(std::string("3,continuum-03.wav,775,2150,")),
              std::string::npos);
    EXPECT_NE(Text("continuum.csv").find(line), std::string::npos) << line;

    // An RMS at which one step would clip in 16 bits refuses the whole continuum.
    request.prefix = "rms";
    request.format.sampleFormat = SampleFormat::Pcm16;
    request.level = {LevelRule::Rms, -6};
    const ContinuumResult clipping = WriteContinuum(request);
    EXPECT_EQ(clipping.outcome, ContinuumOutcome::BadRequest);
    EXPECT_NE(clipping.message.find("the vowel of step 1 would clip"), std::string::npos)
        << clipping.message;
    EXPECT_FALSE(fs::exists(out + "/rms.csv"));
}

// ---- Formants measured along a continuum ----------------------------------------------

// F1 and F2 of a vowel: the first two peaks above 150 Hz of the LPC envelope (order 12,
// autocorrelation method) of its middle 60 %, pre-emphasised and under a Hamming window.
std::pair<double, double> MeasureF1F2(const std::vector<double>& sound, int rate) {
    constexpr int kOrder = 12;
    const size_t from = sound.size() / 5;
    const size_t count = sound.size() * 3 / 5;
    std::vector<double> x(count);
    for (size_t n = 0; n < count; ++n) {
        const double window = 0.54 - 0.46 * std::cos(2 * std::numbers::pi * n / (count - 1));
        x[n] = (sound[from + n] - 0.97 * sound[from + n - 1]) * window;
    }
    std::vector<double> r(kOrder + 1, 0.0);
    for (int lag = 0; lag <= kOrder; ++lag)
        for (size_t n = lag; n < count; ++n)
            r[lag] += x[n] * x[n - lag];
    std::vector<double> a(kOrder + 1, 0.0);
    a[0] = 1;
    double error = r[0];
    for (int i = 1; i <= kOrder; ++i) { // Levinson-Durbin
        double k = -r[i];
        for (int j = 1; j < i; ++j)
            k -= a[j] * r[i - j];
        k /= error;
        std::vector<double> next = a;
        for (int j = 1; j < i; ++j)
            next[j] += k * a[i - j];
        next[i] = k;
        a = next;
        error *= 1 - k * k;
    }
    std::vector<double> peaks;
    double before = 0, here = 0;
    for (double hz = 0; hz <= rate / 2.0 && peaks.size() < 2; hz += 1) {
        std::complex<double> sum = 0;
        for (int j = 0; j <= kOrder; ++j)
            sum += a[j] * std::polar(1.0, -2 * std::numbers::pi * hz * j / rate);
        const double level = 1 / std::norm(sum);
        if (hz > 151 && here > before && here > level)
            peaks.push_back(hz - 1);
        before = here;
        here = level;
    }
    return peaks.size() == 2 ? std::pair{peaks[0], peaks[1]} : std::pair{0.0, 0.0};
}

TEST_F(CliContinuumTest, FormantsMoveMonotonicallyAlongTheSteps) {
    ASSERT_EQ(Continuum("--from 280,2250 --to 700,1700 --steps 7"), 0) << cli.Stderr();
    double lastF1 = 0, lastF2 = 1e9;
    for (int step = 1; step <= 7; ++step) {
        SF_INFO info;
        const std::vector<double> sound =
            ReadSound(out + "/" + ContinuumFileName("continuum", step, 7), info);
        const auto [f1, f2] = MeasureF1F2(sound, info.samplerate);
        EXPECT_GT(f1, lastF1) << "step " << step;
        EXPECT_LT(f2, lastF2) << "step " << step;
        std::printf("step %d: F1 %.0f Hz, F2 %.0f Hz\n", step, f1, f2);
        lastF1 = f1;
        lastF2 = f2;
    }
}

} // namespace

#include "QuirnelVersion.h"
#include "TempDir.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Runs the built program offscreen in a fresh working folder with its own profile folder.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(work.File("Dat"));
        fs::copy_file(fs::path(QUIRNEL_DATA_DIR) / "Dat" / "01-male.dat",
                      work.File("Dat/01-male.dat"));
    }

    int Run(const QStringList& arguments, const QString& extraVariable = {}, bool display = true) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        if (!display)
            for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
                environment.remove(name);
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(config.Path()));
        environment.insert("QUIRNEL_MESSAGES_TO_STDERR", "1");
        if (!extraVariable.isEmpty())
            environment.insert(extraVariable.section('=', 0, 0), extraVariable.section('=', 1));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(QString::fromStdString(work.Path()));
        process.start(QUIRNEL_PROGRAM, arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        output = process.readAllStandardOutput().toStdString();
        errors = process.readAllStandardError().toStdString();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    std::string Profile() const {
        std::ifstream in(config.File("quirnel/quirnel.ini"));
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    TempDir work;
    TempDir config;
    std::string output;
    std::string errors;
};

} // namespace

TEST_F(ProgramTest, StartsPaintsAndEndsCleanlyWritingItsProfile) {
    EXPECT_EQ(Run({}, "QUIRNEL_REPORT_FIRST_PAINT=1"), 0) << errors;
    EXPECT_EQ(output.rfind("first-paint ", 0), 0u) << output;
    const std::string profile = Profile();
    EXPECT_NE(profile.find("[Directories]\nDat=" + work.File("Dat") + "\n"), std::string::npos)
        << profile;
    EXPECT_NE(profile.find("[Options]\n"), std::string::npos) << profile;
    EXPECT_NE(profile.find("Zoomfactor=25"), std::string::npos) << profile;
}

TEST_F(ProgramTest, ADocumentThatCannotBeOpenedEndsTheProgramWithStatusOne) {
    const std::string missing = work.File("missing.vow");
    EXPECT_EQ(Run({QString::fromStdString(missing)}), 1);
    EXPECT_NE(errors.find("Quirnel: " + missing + " was not found."), std::string::npos) << errors;
    // The box's text names no file for a damaged one: standard error does.
    const std::string damaged = work.File("damaged.vow");
    std::ofstream(damaged) << "not a vowel document";
    EXPECT_EQ(Run({QString::fromStdString(damaged)}), 1);
    EXPECT_NE(errors.find("Unexpected file format."), std::string::npos) << errors;
    EXPECT_NE(errors.find("quirnel: " + damaged + " could not be opened as a vowel document\n"),
              std::string::npos)
        << errors;
}

// A pipe where the program reads or writes a file of its own must never make it wait.
TEST_F(ProgramTest, PipesAsTheSettingsFileOrTempWavAreRefusedAndTheWindowStillPaints) {
    fs::create_directory(config.File("quirnel"));
    const std::string settings = config.File("quirnel/quirnel.ini");
    ASSERT_EQ(::mkfifo(settings.c_str(), 0600), 0);
    EXPECT_EQ(Run({}, "QUIRNEL_REPORT_FIRST_PAINT=1"), 0) << errors;
    EXPECT_EQ(output.rfind("first-paint ", 0), 0u) << output;
    EXPECT_NE(errors.find("Error: Can't open file " + settings + ", error = 1\n"),
              std::string::npos)
        << errors;
    EXPECT_EQ(fs::status(settings).type(), fs::file_type::fifo);

    fs::remove(settings);
    TempDir temp;
    std::ofstream(settings) << "[Directories]\nTempwav=" << temp.Path() << "\n";
    ASSERT_EQ(::mkfifo(temp.File("temp.wav").c_str(), 0600), 0);
    EXPECT_EQ(Run({}, "QUIRNEL_REPORT_FIRST_PAINT=1"), 0) << errors;
    EXPECT_EQ(output.rfind("first-paint ", 0), 0u) << output;
    EXPECT_NE(errors.find("Error: can't open wav-output file"), std::string::npos) << errors;
    EXPECT_EQ(fs::status(temp.File("temp.wav")).type(), fs::file_type::fifo);
}

TEST_F(ProgramTest, HelpAndVersionAnswerAndDashDashNamesADocument) {
    EXPECT_EQ(Run({"--help"}), 0) << errors;
    EXPECT_EQ(output.rfind("Usage: quirnel [options] [DOCUMENT]\n", 0), 0u) << output;
    EXPECT_NE(output.find("--from-desktop"), std::string::npos);
    EXPECT_EQ(Run({"--version"}), 0);
    EXPECT_EQ(output, std::string("quirnel ") + kQuirnelVersion + "\n");
    EXPECT_EQ(Run({"--help-all"}), 0);
    EXPECT_NE(output.find("  -platform <name>"), std::string::npos) << output;
    // The line is judged before a display is looked for.
    EXPECT_EQ(Run({"--bogus"}, {}, false), 2);
    EXPECT_NE(errors.find("quirnel: Unknown option 'bogus'.\nUsage: quirnel [options]"),
              std::string::npos)
        << errors;
    EXPECT_EQ(Run({"-platform", "offscreen", "--version"}, {}, false), 0);
    EXPECT_EQ(Run({"a.vow", "b.vow"}), 2);
    EXPECT_EQ(Run({"--", "--help"}), 1); // a document of that name, which does not exist
    EXPECT_NE(errors.find("Quirnel: " + work.File("--help") + " was not found."), std::string::npos)
        << errors;
}

// A window ended by a signal removes its scratch folder, and a start removes those of
// processes that were killed outright; a folder of a running process stays.
TEST_F(ProgramTest, SignalsEndTheWindowWithoutLeavingScratchFolders) {
    TempDir temp;
    const pid_t dead = fork();
    if (dead == 0)
        _exit(0);
    waitpid(dead, nullptr, 0);
    const std::string stale = temp.File("quirnel-settings-" + std::to_string(dead) + "-abcdef");
    const std::string live = temp.File("quirnel-voice-" + std::to_string(getpid()) + "-abcdef");
    for (const std::string& folder : {stale, live}) {
        fs::create_directory(folder);
        std::ofstream(folder + "/quirnel-1.ini") << "[Options]\n";
    }
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(config.Path()));
        environment.insert("QUIRNEL_MESSAGES_TO_STDERR", "1");
        environment.insert("TMPDIR", QString::fromStdString(temp.Path()));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(QString::fromStdString(work.Path()));
        process.start(QUIRNEL_PROGRAM, {});
        ASSERT_TRUE(process.waitForStarted(60000));
        const std::string own = "quirnel-settings-" + std::to_string(process.processId()) + "-";
        // Up once its own scratch folder is there (the signals are caught before it is made).
        bool up = false;
        for (int i = 0; i < 6000 && !up && process.state() == QProcess::Running; ++i) {
            for (const auto& entry : fs::directory_iterator(temp.Path()))
                up = up || entry.path().filename().string().rfind(own, 0) == 0;
            if (!up)
                process.waitForFinished(10);
        }
        ASSERT_TRUE(up) << process.readAllStandardError().toStdString();
        ::kill(static_cast<pid_t>(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 128 + signal);
        std::vector<std::string> left;
        for (const auto& entry : fs::directory_iterator(temp.Path()))
            if (entry.path().filename().string().rfind("quirnel-", 0) == 0)
                left.push_back(entry.path().string());
        EXPECT_EQ(left, std::vector<std::string>{live}) << signal;
    }
}

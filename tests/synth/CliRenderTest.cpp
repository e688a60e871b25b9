// quirnel-cli render, run as the built program.
#include "synth/SynthEngine.h"

#include "CliRunner.h"
#include "QuirnelVersion.h"
#include "SynthTestSupport.h"
#include "TempDir.h"
#include "base/MessageBox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

class CliRenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!CliRunner::Built())
            GTEST_SKIP() << "quirnel-cli not built";
        voice = dir.File("voice.dat");
        out = dir.File("out.wav");
        synthtest::WriteVoiceFile(voice, synthtest::SyntheticVoicing(6000));
    }

    // Runs "quirnel-cli ARGS" and returns its exit status.
    int Run(const std::string& args) { return cli.Run(args); }
    int Render(const std::string& args) { return cli.Run("render " + args); }
    const std::string& Stdout() const { return cli.Stdout(); }
    const std::string& Stderr() const { return cli.Stderr(); }

    std::string VoiceAndOut() const { return "--voice '" + voice + "' --out '" + out + "' "; }

    TempDir dir;
    CliRunner cli;
    std::string voice;
    std::string out;
};

TEST_F(CliRenderTest, WritesWhatTheEngineWrites) {
    // With the end fade, and with --no-fade the sound exactly as the five frames end.
    for (const bool fade : {true, false}) {
        SCOPED_TRACE(fade);
        ASSERT_EQ(Render(VoiceAndOut() + "--f1 700 --f2 1200" + (fade ? "" : " --no-fade")), 0)
            << Stderr();
        const std::vector<uint8_t> written = synthtest::ReadBytes(out);
        EXPECT_EQ(written.size(), 10044u);

        // The same vowel from a fresh engine in this process, at the F3 the chart's slider
        // starts at.
        RecordingMessageSink messages;
        ScopedMessageSink scope(&messages);
        SynthEngine engine(dir.Path());
        engine.SetEndFade(fade);
        ASSERT_TRUE(
            synthtest::Shown(engine.SynthesizeVowel(voice, 0, 100, 700, 1200, 2700, 0, 0).report));
        EXPECT_EQ(written, synthtest::ReadBytes(dir.File("temp.wav")));
    }
}

TEST_F(CliRenderTest, OptionsTakeTheirValueAfterEqualsAndHelpAndVersionAnswer) {
    ASSERT_EQ(Render("--voice='" + voice + "' --out='" + out + "' --f1=700 --f2=1200"), 0)
        << Stderr();
    EXPECT_EQ(synthtest::ReadBytes(out).size(), 10044u);
    const std::string version = std::string("quirnel-cli ") + kQuirnelVersion + "\n";
    for (const char* args : {"--version", "render --version", "render --f1 1 --version"}) {
        EXPECT_EQ(Run(args), 0) << args;
        EXPECT_EQ(Stdout(), version) << args;
    }
    EXPECT_EQ(Run("--help"), 0);
    EXPECT_NE(Stdout().find("Usage: quirnel-cli"), std::string::npos);
    EXPECT_NE(Stdout().find("  render --voice"), std::string::npos);
    EXPECT_EQ(Run("render -h"), 0);
    EXPECT_EQ(Stdout().rfind("Usage: quirnel-cli render [OPTIONS]\n", 0), 0u) << Stdout();
    EXPECT_EQ(Stdout().find("  export"), std::string::npos);
    EXPECT_EQ(Run("--bogus render"), 2);
    EXPECT_NE(Stderr().find("Unknown option 'bogus'"), std::string::npos);
}

TEST_F(CliRenderTest, OptionsReachTheEngine) {
    ASSERT_EQ(Render(VoiceAndOut() + "--f1 300 --f2 2200 --f3 3000 --tilt 6 --frame-ms 1 "
                                     "--f1-end 700 --f2-end 1100 --no-fade"),
              0)
        << Stderr();
    EXPECT_EQ(synthtest::ReadBytes(out).size(), 144u);
}

TEST_F(CliRenderTest, BadArgumentsExitWithStatusTwoAndWriteNothing) {
    const std::string base = VoiceAndOut();
    for (const std::string& args :
         {base + "--f2 1200", base + "--f1 abc --f2 1200", base + "--f1 700 --f2 12x",
          base + "--f1 700 --f2 1200 --frame-ms 0", base + "--f1 700 --f2 1200 --frame-ms 2001",
          base + "--f1 700 --f2 1200 --f1-end 300", base + "--f1 700 --f2 1200 --f2-end 300",
          base + "--f1 700 --f2 1200 --bogus 1", base + "--f1 700 --f2 1200 --tilt",
          base + "--f1 -5 --f2 1200", "--voice '" + voice + "' --f1 700 --f2 1200",
          "--out '" + out + "' --f1 700 --f2 1200"}) {
        SCOPED_TRACE(args);
        EXPECT_EQ(Render(args), 2);
        EXPECT_FALSE(Stderr().empty());
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

// Each option's range: the last value accepted at either end, and the first refused.
TEST_F(CliRenderTest, AcceptsEachEndOfEveryRangeAndRefusesOneBeyond) {
    synthtest::WriteVoiceFile(voice, synthtest::SyntheticVoicing(100000)); // frames of 2 s
    const struct {
        const char* options;
        int status;
    } cases[] = {
        {"--f1 1 --f2 5000 --f3 5000", 0},
        {"--f1 0 --f2 1200", 2},
        {"--f1 700 --f2 5001", 2},
        {"--f1 700 --f2 1200 --f3 5001", 2},
        {"--f1 700 --f2 1200 --f3 0", 0},
        {"--f1 700 --f2 1200 --f3 -1", 2},
        {"--f1 700 --f2 1200 --tilt 0", 0},
        {"--f1 700 --f2 1200 --tilt -1", 2},
        {"--f1 700 --f2 1200 --tilt 24", 0},
        {"--f1 700 --f2 1200 --tilt 25", 2},
        {"--f1 700 --f2 1200 --frame-ms 2000", 0},
        {"--f1 700 --f2 1200 --f1-end 1 --f2-end 5000", 0},
        {"--f1 700 --f2 1200 --f1-end 0 --f2-end 1200", 2},
        {"--f1 700 --f2 1200 --f1-end 700 --f2-end 5001", 2},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(out);
        EXPECT_EQ(Render(VoiceAndOut() + c.options), c.status) << c.options << ": " << Stderr();
        EXPECT_EQ(std::filesystem::exists(out), c.status == 0) << c.options;
    }
}

TEST_F(CliRenderTest, UnusableVoiceFileExitsWithStatusTwo) {
    EXPECT_EQ(
        Render("--voice '" + dir.File("missing.dat") + "' --out '" + out + "' --f1 700 --f2 1200"),
        2);
    EXPECT_NE(Stderr().find("Can't open voicing samples file:"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(out));

    synthtest::WriteVoiceFile(voice, synthtest::SyntheticVoicing(100));
    EXPECT_EQ(Render(VoiceAndOut() + "--f1 700 --f2 1200"), 2);
    EXPECT_NE(Stderr().find("holds 100 samples; this vowel needs 4999."), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(out));
}

// --out is written as File Save writes a document: a temporary file in the destination's
// folder renamed over it, through a link, never onto a pipe, device or folder.
TEST_F(CliRenderTest, OutFollowsTheRulesOfDocumentSaves) {
    std::filesystem::create_directory(dir.File("real"));
    synthtest::WriteText(dir.File("real/out.wav"), "old");
    std::filesystem::create_symlink("real/out.wav", out);
    ASSERT_EQ(Render(VoiceAndOut() + "--f1 700 --f2 1200"), 0) << Stderr();
    EXPECT_TRUE(std::filesystem::is_symlink(out));
    EXPECT_EQ(synthtest::ReadBytes(dir.File("real/out.wav")).size(), 10044u);

    out = dir.File("pipe.wav");
    ASSERT_EQ(::mkfifo(out.c_str(), 0600), 0);
    EXPECT_EQ(Render(VoiceAndOut() + "--f1 700 --f2 1200"), 1);
    EXPECT_NE(Stderr().find("can't write " + out + ": it is not a regular file"), std::string::npos)
        << Stderr();
    EXPECT_EQ(std::filesystem::status(out).type(), std::filesystem::file_type::fifo);
    out = dir.File("real");
    EXPECT_EQ(Render(VoiceAndOut() + "--f1 700 --f2 1200"), 1);
    EXPECT_NE(Stderr().find("can't write " + out + ": it is a folder"), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out),
                            std::filesystem::directory_iterator()),
              1); // nothing half-written is left

    // A voice file that is a pipe is refused instead of waited on.
    ASSERT_EQ(::mkfifo(dir.File("pipe.dat").c_str(), 0600), 0);
    out = dir.File("new.wav");
    EXPECT_EQ(
        Render("--voice '" + dir.File("pipe.dat") + "' --out '" + out + "' --f1 700 --f2 1200"), 2);
    EXPECT_NE(Stderr().find("Can't open voicing samples file:"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(CliRenderTest, OutputThatCannotBeWrittenFails) {
    out = dir.File("no-such-folder/out.wav");
    EXPECT_EQ(Render(VoiceAndOut() + "--f1 700 --f2 1200"), 1);
    EXPECT_NE(Stderr().find("no-such-folder"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(out));
}

} // namespace

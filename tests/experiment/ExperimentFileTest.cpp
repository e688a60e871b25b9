// The .qexp test file: what it reads, what it refuses and where.
#include "experiment/Experiment.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

const char* const kManifest = "step,file,f1_hz,f2_hz,f3_hz,f0_hz,length_ms,scale\n"
                              "1,c-01.wav,300,2300,2900,120.0,500,bark\n"
                              "2,c-02.wav,400,2000,2700,120.0,500,bark\n"
                              "3,c-03.wav,500,1700,2600,120.0,500,bark\n";

TEST(ExperimentFile, ReadsAContinuumTestAndWritesItBackAlike) {
    TempDir dir;
    Write(dir.File("c.csv"), kManifest);
    Write(dir.File("t.qexp"), "[test]\ntask = identification\nlabels = i, e, \xc9\x9b\n"
                              "rating=yes\nrepetitions=1\nreplays = 3\norder=cyclic\n"
                              "instructions = Listen.\\nThen answer.\n\n[stimuli]\n"
                              "manifest = c.csv\n");
    Experiment e;
    ASSERT_EQ(ReadExperimentFile(dir.File("t.qexp"), e).Text(), "");
    EXPECT_EQ(e.labels, (std::vector<std::string>{"i", "e", "\xc9\x9b"}));
    EXPECT_TRUE(e.rating);
    EXPECT_EQ(e.repetitions, 1);
    EXPECT_EQ(e.replays, 3);
    EXPECT_EQ(e.order, TrialOrder::Cyclic);
    EXPECT_EQ(e.instructions, "Listen.\nThen answer.");
    ASSERT_EQ(e.stimuli.size(), 3u);
    EXPECT_EQ(e.stimuli[2].file, "c-03.wav");
    EXPECT_EQ(e.stimuli[1].f2Hz, 2000);
    EXPECT_EQ(e.soundFolder, dir.Path());
    EXPECT_EQ(e.isiMs, 500); // the defaults of what is not given
    EXPECT_EQ(e.itiMs, 1000);

    Experiment again;
    ASSERT_EQ(ParseExperiment(ExperimentText(e), dir.Path(), again).Text(), "");
    EXPECT_EQ(ExperimentText(again), ExperimentText(e));
    EXPECT_EQ(again.stimuli.size(), 3u);
}

TEST(ExperimentFile, RefusesBadValuesNamingTheLineAndKey) {
    const std::string files = "[stimuli]\nfile = a.wav\nfile = b.wav\n";
    const std::pair<std::string, std::string> cases[] = {
        {"[test]\nlabels = i\n", "line 2: labels must list 2 to 8"},
        {"[test]\nlabels = 1,2,3,4,5,6,7,8,9\n", "line 2: labels must list 2 to 8"},
        {"[test]\n\nreplays = 4\n", "line 3: replays must be a whole number from 0 to 3"},
        {"[test]\nrepetitions = 0\n", "line 2: repetitions must be a whole number from 1"},
        {"[test]\nrepetitions = 101\n", "line 2: repetitions must be a whole number from 1"},
        {"[test]\norder = shuffled\n", "line 2: order must be balanced, cyclic or random"},
        {"[test]\nisi_ms = -1\n", "line 2: isi_ms must be"},
        {"[test]\ncolour = red\n", "line 2: unknown key \"colour\""},
        {"[test]\ntask = naming\n", "line 2: task must be identification or discrimination"},
        {"[test]\nrating = maybe\n", "line 2: rating must be yes or no"},
        {"[test]\nlabels = i,i\n", "line 2: labels names \"i\" twice"},
        {"[test]\nreplays = 1\nreplays = 2\n", "line 3: \"replays\" is given twice"},
        {"replays = 1\n", "line 1: \"replays\" comes before any section"},
        {"[test]\njust words\n", "line 2: expected KEY = VALUE"},
        {"[tests]\n", "line 1: unknown section [tests]"},
    };
    for (const auto& [text, message] : cases) {
        Experiment e;
        e.title = "kept";
        const std::string problem = ParseExperiment(text + files, ".", e).Text();
        EXPECT_EQ(problem.rfind(message, 0), 0u) << text << " gave: " << problem;
        EXPECT_EQ(e.title, "kept");
    }
    Experiment e;
    // The accepted edges.
    EXPECT_EQ(ParseExperiment(
                  "[test]\nlabels=1,2,3,4,5,6,7,8\nreplays=0\nrepetitions=100\n" + files, ".", e)
                  .Text(),
              "");
    EXPECT_EQ(
        ParseExperiment("[test]\nlabels=a,b\nreplays=3\nrepetitions=1\n" + files, ".", e).Text(),
        "");
    EXPECT_NE(ParseExperiment("[test]\ntask=discrimination\npair_steps=2\n" + files, ".", e)
                  .Text()
                  .find("too few for pairs 2 steps apart"),
              std::string::npos);
}

TEST(ExperimentFile, RefusesABrokenManifestNamingItsLine) {
    TempDir dir;
    Write(dir.File("c.csv"), std::string(kManifest) + "3,c-04.wav,600,1500,2500,120.0,500,bark\n");
    Write(dir.File("t.qexp"), "[test]\n[stimuli]\nmanifest = c.csv\n");
    Experiment e;
    const std::string problem = ReadExperimentFile(dir.File("t.qexp"), e).Text();
    EXPECT_NE(problem.find("t.qexp, line 3: "), std::string::npos) << problem;
    EXPECT_NE(problem.find("c.csv, line 5: the step \"3\""), std::string::npos) << problem;
    EXPECT_NE(ReadExperimentFile(dir.File("none.qexp"), e).Text().find("Can't read the test"),
              std::string::npos);
}

} // namespace

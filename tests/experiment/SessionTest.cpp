// The responses file: each answer on disk before the next trial, and resuming from it.
#include "experiment/Responses.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string Text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream in(Text(path));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

Experiment Listening() {
    Experiment e;
    for (int i = 1; i <= 5; ++i)
        e.stimuli.push_back({
            i,
            "c-0" + std::to_string(i) + ".wav",
            250.0 + 50 * i,
            2000,
        });
    e.labels = {"i", "e"};
    e.rating = true;
    e.repetitions = 2;
    e.practiceRepetitions = 1;
    e.participant = "P, 7";
    return e;
}

TEST(ListeningSession, WritesEachAnswerBeforeTheNextTrialInTheResponsesColumns) {
    TempDir dir;
    const std::string path = dir.File("responses.csv");
    ListeningSession session;
    ASSERT_EQ(session.Open(Listening(), path), "");
    EXPECT_EQ(Lines(path), (std::vector<std::string>{
                               "participant,block,trial,task,step,file,f1_hz,f2_hz,response,"
                               "rating,correct,rt_ms,replays,time"}));
    for (int i = 0; i < 3; ++i) {
        const Trial trial = session.Current();
        ASSERT_EQ(session.Answer(i % 2 ? "e" : "i", 7 - i, 512.25, i, "2026-12-08T10:00:00.000Z"),
                  "");
        const std::vector<std::string> lines = Lines(path);
        ASSERT_EQ(lines.size(), size_t(i + 2)) << "not on disk before the next trial";
        const int step = trial.sounds[0] + 1;
        EXPECT_EQ(lines.back(), "\"P, 7\"," + std::string(i < 2 ? "practice," : "test,") +
                                    std::to_string(trial.number) + ",identification," +
                                    std::to_string(step) + ",c-0" + std::to_string(step) + ".wav," +
                                    std::to_string(250 + 50 * step) + ",2000," +
                                    (i % 2 ? "e," : "i,") + std::to_string(7 - i) + ",,512.2," +
                                    std::to_string(i) + ",2026-12-08T10:00:00.000Z");
    }
    std::vector<Response> read;
    ASSERT_EQ(ReadResponses(path, read).Text(), "");
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[2].participant, "P, 7");
    EXPECT_EQ(read[2].rating, 5);
    EXPECT_EQ(read[2].replays, 2);
}

TEST(ListeningSession, ResumesWhereAnInterruptedSessionStopped) {
    TempDir dir;
    const std::string path = dir.File("responses.csv");
    std::vector<Trial> trials;
    {
        ListeningSession first;
        ASSERT_EQ(first.Open(Listening(), path), "");
        trials = first.Trials();
        for (int i = 0; i < 4; ++i)
            ASSERT_EQ(first.Answer("i", 0, 400, 0), "");
    } // the program ends here, or the plug is pulled
    ListeningSession again;
    ASSERT_EQ(again.Open(Listening(), path), "");
    ASSERT_EQ(again.NextIndex(), 4u);
    EXPECT_EQ(again.Current().sounds, trials[4].sounds);
    EXPECT_EQ(again.Current().number, 3); // the third test trial after two of practice
    while (!again.Finished())
        ASSERT_EQ(again.Answer("e", 0, 400, 0), "");
    std::vector<Response> read;
    ASSERT_EQ(ReadResponses(path, read).Text(), "");
    ASSERT_EQ(read.size(), trials.size());
    for (size_t i = 0; i < read.size(); ++i)
        EXPECT_EQ(read[i].step, std::to_string(trials[i].sounds[0] + 1));

    // Another test's answers of the same listener are refused and left alone.
    Experiment other = Listening();
    other.seed = 99;
    const std::string before = Text(path);
    ListeningSession wrong;
    EXPECT_NE(wrong.Open(other, path).find("do not fit this test"), std::string::npos);
    EXPECT_EQ(Text(path), before);
    // A file that is not a responses file is refused with its line.
    std::ofstream(dir.File("other.csv")) << "step,file\n1,a.wav\n";
    EXPECT_NE(
        wrong.Open(Listening(), dir.File("other.csv")).find("line 1: a responses file begins"),
        std::string::npos);
}

TEST(ListeningSession, MarksDiscriminationAnswersRightOrWrong) {
    TempDir dir;
    Experiment e = Listening();
    e.task = TestTask::Discrimination;
    e.practiceRepetitions = 0;
    ListeningSession session;
    ASSERT_EQ(session.Open(e, dir.File("r.csv")), "");
    const Trial trial = session.Current();
    ASSERT_EQ(session.Answer("different", 0, 300, 0), "");
    const std::string row = Lines(dir.File("r.csv")).back();
    const bool different = trial.sounds[0] != trial.sounds[1];
    EXPECT_NE(row.find(",AX," + std::to_string(trial.sounds[0] + 1) + ";" +
                       std::to_string(trial.sounds[1] + 1) + ","),
              std::string::npos)
        << row;
    EXPECT_NE(row.find(different ? ",different,,1," : ",different,,0,"), std::string::npos) << row;
    // A wrong answer, and both read back (as resuming and the results read them).
    const std::string wrong = session.Current().expected == "same" ? "different" : "same";
    ASSERT_EQ(session.Answer(wrong, 0, 300, 0), "");
    std::vector<Response> read;
    ASSERT_EQ(ReadResponses(dir.File("r.csv"), read).Text(), "");
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].correct, different ? 1 : 0);
    EXPECT_EQ(read[1].correct, 0);
}

} // namespace

// The session window: keys answer, each answer is in the file before the next trial plays,
// the rating follows the answer, and the test ends with its last trial.
#include "experiment-window/SessionWindow.h"
#include "experiment-window/ListeningTestDialog.h"
#include "experiment-window/TestResultsDialog.h"

#include "TempDir.h"
#include "audio/AudioTestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>

namespace {

std::vector<Response> Rows(const std::string& path) {
    std::vector<Response> rows;
    EXPECT_EQ(ReadResponses(path, rows).Text(), "");
    return rows;
}

QPushButton* ButtonNamed(QWidget& window, const QString& text) {
    for (QPushButton* button : window.findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

// Whether a response button takes answers (the trial's last sound has started).
bool Answerable(QWidget& window) {
    for (QPushButton* button : window.findChildren<QPushButton*>())
        if (button->text().endsWith("(1)") && button->isEnabled() && button->isVisible())
            return true;
    return false;
}

bool Showing(QWidget& window, const QString& text) {
    for (QLabel* label : window.findChildren<QLabel*>())
        if (label->isVisible() && label->text().contains(text))
            return true;
    return false;
}

TEST(SessionWindow, KeysAnswerAndEachAnswerIsOnDiskBeforeTheNextTrial) {
    TempDir dir;
    Experiment e;
    for (int step = 1; step <= 2; ++step) {
        const std::string file = "s" + std::to_string(step) + ".wav";
        ASSERT_TRUE(audiotest::WriteWav(dir.File(file), 10000, 1, audiotest::SampleFormat::Pcm16,
                                        audiotest::Sine(300.0 * step, 10000, 0.1)));
        e.stimuli.push_back({step, file, 300.0 * step, 2000});
    }
    e.soundFolder = dir.Path();
    e.labels = {"i", "e", "a"};
    e.rating = true;
    e.repetitions = 2;
    e.itiMs = 0;
    e.participant = "P1";
    const std::string path = dir.File("responses.csv");
    SessionWindow window;
    ASSERT_EQ(window.Begin(e, path), "");
    window.show();
    ASSERT_NE(ButtonNamed(window, "e\n(2)"), nullptr);
    QTest::mouseClick(ButtonNamed(window, "Start"), Qt::LeftButton);
    for (int trial = 1; trial <= 4; ++trial) {
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return Answerable(window) || Showing(window, "cannot be played"); }, 10000));
        if (Showing(window, "no sound output"))
            GTEST_SKIP() << "no sound server";
        QTest::keyClick(&window, Qt::Key_2);
        EXPECT_TRUE(Rows(path).empty() || Rows(path).size() == size_t(trial - 1))
            << "written before the rating";
        QTest::keyClick(&window, Qt::Key_8); // not a rating: ignored
        QTest::keyClick(&window, Qt::Key_6);
        const std::vector<Response> rows = Rows(path);
        ASSERT_EQ(rows.size(), size_t(trial)) << "not on disk when the answer was taken";
        EXPECT_EQ(rows.back().response, "e");
        EXPECT_EQ(rows.back().rating, 6);
        EXPECT_GE(rows.back().rtMs, 0);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return Showing(window, "The test is finished"); }, 5000));
}

// A test opened in the set-up shows every setting of its file: saved again, it is the same.
TEST(ListeningTestDialog, ShowsEverySettingOfAnOpenedTest) {
    TempDir dir;
    std::ofstream(dir.File("c.csv")) << "step,file,f1_hz,f2_hz\n1,a.wav,300,2300\n"
                                        "2,b.wav,400,2100\n3,c.wav,500,1900\n";
    const std::string text = "[test]\ntitle = t\ntask = discrimination\ndiscrimination = ABX\n"
                             "pair_steps = 1,2\nisi_ms = 750\nrepetitions = 3\norder = random\n"
                             "practice = 2\nreplays = 3\niti_ms = 1500\nbreak_every = 20\n"
                             "instructions = Listen\\ncarefully.\nparticipant = P9\n"
                             "[stimuli]\nmanifest = c.csv\n";
    std::ofstream(dir.File("t.qexp")) << text;
    Experiment file, shown;
    ASSERT_EQ(ReadExperimentFile(dir.File("t.qexp"), file).Text(), "");
    ListeningTestDialog dialog;
    ASSERT_TRUE(dialog.OpenTest(dir.File("t.qexp")));
    ASSERT_EQ(dialog.ReadForm(shown), "");
    shown.manifest = file.manifest; // the form holds it as a full path
    EXPECT_EQ(ExperimentText(shown), ExperimentText(file));
    EXPECT_EQ(shown.stimuli.size(), 3u);
}

// Test Results offers every participant and the pooled curves, shown first, and lists the
// estimates.
TEST(TestResultsDialog, OffersEachParticipantAndThePooledCurves) {
    TempDir dir;
    std::ofstream out(dir.File("r.csv"));
    out << kResponsesHeader << "\n";
    for (const char* code : {"L1", "L2"})
        for (int step = 1; step <= 4; ++step)
            for (int r = 0; r < 3; ++r)
                out << code << ",test,1,identification," << step << ",s.wav,,,"
                    << (step + r > 3 ? "e" : "i") << ",,,500.0,0,t\n";
    out.close();
    TestResultsDialog dialog;
    ASSERT_TRUE(dialog.OpenResponses(dir.File("r.csv")));
    QComboBox* participants = dialog.findChild<QComboBox*>();
    ASSERT_EQ(participants->count(), 3);
    EXPECT_EQ(participants->itemText(0), "L1");
    EXPECT_EQ(participants->currentText(), "all");
    const QString table = dialog.findChild<QPlainTextEdit*>()->toPlainText();
    EXPECT_TRUE(table.startsWith("participant,label,boundary_step,")) << table.toStdString();
    EXPECT_TRUE(table.contains("\nall,e,")) << table.toStdString();
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}

// quirnel-cli results: the estimates as CSV and the curves as a figure.
#include "experiment/Responses.h"

#include "CliRunner.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

TEST(ResultsCommand, PrintsEachParticipantsBoundaryAndThePooledOneAndDrawsTheCurves) {
    if (!CliRunner::Built())
        GTEST_SKIP() << "quirnel-cli is not built";
    TempDir dir;
    // Two listeners on a 5-step continuum: L1 answers "e" from step 3 on, with one "e" at step
    // 2; L2 from step 4 on, with one "i" at step 4.
    std::ofstream out(dir.File("r.csv"));
    out << kResponsesHeader << "\n";
    int trial = 0;
    for (const char* listener : {"L1", "L2"}) {
        for (int step = 1; step <= 5; ++step) {
            for (int r = 0; r < 4; ++r) {
                const bool e = listener[1] == '1' ? step >= 3 || (step == 2 && r == 0)
                                                  : step >= 4 && !(step == 4 && r == 0);
                out << listener << ",test," << ++trial << ",identification," << step << ",c" << step
                    << ".wav," << 200 + 100 * step << ",2000," << (e ? "e" : "i")
                    << ",,,500.0,0,2026-12-08T10:00:00.000Z\n";
            }
        }
    }
    out.close();
    CliRunner cli;
    const int status =
        cli.Run("results '" + dir.File("r.csv") + "' --plot '" + dir.File("c.svg") + "'");
    if (cli.Stderr().find("without the drawing library") != std::string::npos)
        GTEST_SKIP() << "quirnel-cli was built without the window's drawing";
    ASSERT_EQ(status, 0) << cli.Stderr();
    std::istringstream lines(cli.Stdout());
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "participant,label,boundary_step,boundary_hz_f1,boundary_hz_f2,slope,ci_low,"
                    "ci_high,n");
    std::vector<std::string> rows;
    while (std::getline(lines, line))
        rows.push_back(line.substr(0, line.find(',', line.find(',') + 1)));
    EXPECT_EQ(rows, (std::vector<std::string>{"L1,i", "L1,e", "L2,i", "L2,e", "all,i", "all,e"}));
    // The boundary in Hz lies on the continuum: F1 is 200 + 100 * step.
    const std::string pooled = cli.Stdout().substr(cli.Stdout().find("all,e,"));
    const double step = std::stod(pooled.substr(6));
    EXPECT_NEAR(std::stod(pooled.substr(pooled.find(',', 6) + 1)), 200 + 100 * step, 0.1);
    std::ifstream svg(dir.File("c.svg"));
    std::string text((std::istreambuf_iterator<char>(svg)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("<svg"), std::string::npos);
    EXPECT_NE(text.find("Identification, all participants"), std::string::npos);

    EXPECT_EQ(cli.Run("results '" + dir.File("none.csv") + "'"), 1);
    EXPECT_NE(cli.Stderr().find("Can't read the responses"), std::string::npos);
    EXPECT_EQ(cli.Run("results '" + dir.File("r.csv") + "' --plot '" + dir.File("c.gif") + "'"), 1);
    EXPECT_NE(cli.Stderr().find(".svg, .pdf or .png"), std::string::npos);
}

} // namespace

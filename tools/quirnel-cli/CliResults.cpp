// quirnel-cli results: the identification boundaries (or the discrimination) of a listening
// test's responses file, and the identification curves as a figure.
#include "Cli.h"

#include "experiment/TestResults.h"
#ifdef QUIRNEL_CLI_FIGURES
#include "drawing/ResultsFigure.h"

#include "CliFigures.h"
#endif

#include <algorithm>
#include <cstdio>

namespace {

int ResultsCommand(const std::vector<std::string>& args) {
    CliOptions options;
    if (!options.Parse(args, {"plot", "participant"}, {"discrimination"}))
        return kCliBadArguments;
    if (options.Positional().size() != 1) {
        CliError("results needs one responses file (see quirnel-cli results --help)");
        return kCliBadArguments;
    }
    std::vector<Response> responses;
    if (const std::string problem = ReadResponses(options.Positional()[0], responses);
        !problem.empty()) {
        CliError(problem);
        return kCliFailed;
    }
    if (options.Has("discrimination")) {
        const std::string csv = DiscriminationCsv(PairDiscriminations(responses));
        std::fwrite(csv.data(), 1, csv.size(), stdout);
        return kCliOk;
    }
    const std::vector<LabelCurve> curves = IdentificationCurves(responses);
    const std::string csv = IdentificationCsv(curves);
    std::fwrite(csv.data(), 1, csv.size(), stdout);
    if (curves.empty())
        CliError("the file holds no identification answers of the test block" +
                 std::string(responses.empty() ? "" : " (--discrimination shows the pairs)"));
    for (const LabelCurve& curve : curves) {
        if (!curve.fit.message.empty())
            std::fprintf(stderr, "quirnel-cli: participant %s, label %s: %s\n",
                         curve.participant.c_str(), curve.label.c_str(), curve.fit.message.c_str());
    }
    if (!options.Has("plot"))
        return kCliOk;
#ifdef QUIRNEL_CLI_FIGURES
    // One participant's curves: the one asked for, else the pooled ones.
    std::string participant =
        options.Has("participant") ? options.Get("participant") : std::string(kPooledParticipant);
    if (std::none_of(curves.begin(), curves.end(),
                     [&](const LabelCurve& c) { return c.participant == participant; })) {
        CliError("no identification answers of participant \"" + participant + "\" to plot");
        return kCliBadArguments;
    }
    const auto graphics = OffscreenGraphics();
    std::string problem;
    if (!WriteResultsFigure(options.Get("plot"), curves, participant, problem)) {
        CliError(problem);
        return kCliFailed;
    }
    return kCliOk;
#else
    CliError("this quirnel-cli was built without the drawing library: --plot is not available");
    return kCliFailed;
#endif
}

CliRegistrar reg(
    "results",
    "  results RESPONSES.csv [--plot FILE.svg|pdf|png [--participant CODE]] [--discrimination]\n"
    "      prints the identification boundary of each participant and label and of all\n"
    "      participants pooled (participant all) as CSV: boundary in steps and in Hz on the\n"
    "      continuum, slope (logit per step), 95 % interval of the boundary in steps, trials;\n"
    "      --plot draws the pooled curves (or the participant's) as SVG, PDF or PNG;\n"
    "      --discrimination prints the proportion \"different\" and d' of each pair instead",
    &ResultsCommand);

} // namespace

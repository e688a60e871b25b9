// Feeds arbitrary bytes to the listening test's readers: as a test file, every test it reads
// must write and read back to the same text; as a responses file, every file it reads must
// give results without infinite or undefined numbers.
#include "experiment/TestResults.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    Experiment experiment, again;
    // A manifest named in the bytes is looked for where none is.
    if (ParseExperiment(bytes, "/nonexistent", experiment).Ok()) {
        const std::string text = ExperimentText(experiment);
        if (!ParseExperiment(text, "/nonexistent", again).Ok() || ExperimentText(again) != text)
            std::abort();
    }

    std::vector<Response> responses;
    if (ParseResponses(bytes, responses).Ok()) {
        for (const LabelCurve& c : IdentificationCurves(responses)) {
            const LogisticFit& f = c.fit;
            if (!std::isfinite(f.boundary) || !std::isfinite(f.slope) || !std::isfinite(f.low) ||
                !std::isfinite(f.high) || !std::isfinite(c.boundaryF1) ||
                !std::isfinite(c.boundaryF2) || (f.hasInterval && f.low > f.high))
                std::abort();
        }
        for (const PairDiscrimination& p : PairDiscriminations(responses)) {
            if (!std::isfinite(p.proportionDifferent) ||
                (p.sameTrials > 0 && !std::isfinite(p.dPrime)))
                std::abort();
        }
    }
    return 0;
}

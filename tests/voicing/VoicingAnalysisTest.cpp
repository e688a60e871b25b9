// The voicing analyser: closures placed between samples, periods and peaks measured.
#include "voicing/VoicingAnalysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr double kRate = 10000;

// The analyser must resolve fractions of a sample: a train of band-limited pulses with
// periods alternating 80 and 82.5 samples and peak magnitudes 1000 and 960 has a local
// jitter of 2.5 / 81.25 and a shimmer of 40 / 980.
TEST(VoicingAnalyser, ResolvesSubSamplePeriodsAndPeakChanges) {
    std::vector<double> x(20000, 0.0);
    double centre = 30.37;
    for (int pulse = 0; centre + 40 < x.size(); ++pulse) {
        double magnitude = pulse % 2 ? 960 : 1000;
        for (int n = static_cast<int>(centre) - 12; n <= static_cast<int>(centre) + 12; ++n) {
            double d = n - centre;
            double sinc = std::abs(d) < 1e-12
                              ? 1
                              : std::sin(0.3 * std::numbers::pi * d) / (0.3 * std::numbers::pi * d);
            x[n] -= magnitude * sinc * (0.5 + 0.5 * std::cos(std::numbers::pi * d / 13));
        }
        centre += pulse % 2 ? 82.5 : 80.0;
    }
    VoicingMeasures measured = MeasureVoicing(x, 0);
    EXPECT_GT(measured.cycles, 200u);
    EXPECT_NEAR(measured.meanF0, kRate / 81.25, 0.1);
    EXPECT_NEAR(measured.jitter, 2.5 / 81.25, 0.001);
    EXPECT_NEAR(measured.shimmer, 40.0 / 980.0, 0.002);
}

} // namespace

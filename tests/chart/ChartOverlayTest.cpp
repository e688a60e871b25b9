// Tests of what places measured values on the chart: the continuous scales, the spread
// ellipses of reference vowels and the axis ticks.
#include "chart/AxisTicks.h"
#include "chart/ContinuousScale.h"
#include "chart/SpreadEllipse.h"
#include "reference/ReferenceTableReader.h"
#include "reference/ReferenceVowel.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

ChartScale Scale(bool bark, bool zoom = false, int grid = 25, int centreF1 = 300,
                 int centreF2 = 2200) {
    return ChartScale{bark, zoom, grid, centreF1, centreF2};
}

std::vector<double> Values(const std::vector<AxisTick>& ticks) {
    std::vector<double> values;
    for (const auto& tick : ticks)
        values.push_back(tick.value);
    return values;
}

TEST(ContinuousScale, AgreesWithTheChartOnWholeStepsAndLiesWithinAStepBetween) {
    const ChartScale herz = Scale(false);
    const ChartScale bark = Scale(true);
    for (int x = 0; x <= kChartWidth; x += kUnzoomedStep) {
        EXPECT_DOUBLE_EQ(FrequencyToXF(herz, XToFrequency(herz, x)), x) << x;
        EXPECT_NEAR(FrequencyToXF(bark, XToFrequency(bark, x)), x, 1.0) << x;
    }
    for (int f2 = 500; f2 <= 3236; ++f2) {
        const double y = FrequencyToYF(herz, f2);
        EXPECT_TRUE(y > FrequencyToY(herz, f2) - kUnzoomedStep && y <= FrequencyToY(herz, f2))
            << f2;
    }
    EXPECT_LT(FrequencyToXF(herz, 150), 0); // below the origin: left of the chart

    // Zoom is a linear map of steps around the centre frequencies.
    for (const bool isBark : {false, true}) {
        const ChartScale zoom = Scale(isBark, true, 40);
        EXPECT_NEAR(FrequencyToXF(zoom, 300), kF1Axis.zoomCentrePixel, 1e-9);
        EXPECT_NEAR(FrequencyToYF(zoom, 2200), kF2Axis.zoomCentrePixel, 1e-9);
        for (const int f1 : {250, 330, 400})
            EXPECT_NEAR(FrequencyToXF(zoom, f1), FrequencyToX(zoom, f1), 40.0) << f1;
    }
    EXPECT_DOUBLE_EQ(FrequencyToXF(Scale(false, true, 40), HerzStepUp(300)), 190 + 40);
}

TEST(SpreadEllipse, MeansAndEllipseOfAHandComputedSet) {
    // Herz steps from 200 Hz: 220, 225, 230, 235, 240 are steps 4 to 8 (x 20 to 40); from
    // 500 Hz: 550, 563, 577, 591, 605 are steps 4 to 8 (y 20 to 40). The four tokens of i lie
    // at (20, 20), (40, 40), (25, 35) and (35, 25) around (30, 30): the sample covariance
    // is [[250/3, 150/3], [150/3, 250/3]], with principal axes at 45 degrees of variance
    // 400/3 and 100/3.
    ReferenceTable table;
    std::string problem;
    ASSERT_TRUE(ParseReferenceTable("ipa,F1,F2,group\ni,220,550,m\ni,240,605,m\ni,225,591,m\n"
                                    "u,400,800,w\ni,235,563,m\nu,300,700,m\n",
                                    table, problem))
        << problem;
    const auto vowels = ReferenceVowelsOf(table, "m");
    ASSERT_EQ(vowels.size(), 2u);
    const ReferenceVowel& i = vowels[0];
    EXPECT_EQ(i.symbol, "i");
    EXPECT_DOUBLE_EQ(i.meanF1, 230);
    EXPECT_DOUBLE_EQ(i.meanF2, 2309.0 / 4);

    const auto ellipse = SpreadEllipseOf(Scale(false), i.f1, i.f2);
    ASSERT_TRUE(ellipse);
    EXPECT_NEAR(ellipse->x, 30, 1e-9);     // 230 Hz is step 6
    EXPECT_NEAR(ellipse->y, 30.09, 0.005); // 577.25 Hz lies just above step 6 (577 Hz)
    EXPECT_NEAR(ellipse->major, std::sqrt(400.0 / 3), 1e-9);
    EXPECT_NEAR(ellipse->minor, std::sqrt(100.0 / 3), 1e-9);
    EXPECT_NEAR(ellipse->angle, 45, 1e-9);

    // One token: a mean, no spread.
    EXPECT_EQ(vowels[1].symbol, "u");
    EXPECT_DOUBLE_EQ(vowels[1].meanF1, 300);
    EXPECT_FALSE(SpreadEllipseOf(Scale(false), vowels[1].f1, vowels[1].f2));

    // On the Bark scale zoom only scales the ellipse (25 pixels per step instead of 5).
    const auto bark = SpreadEllipseOf(Scale(true), i.f1, i.f2);
    const auto zoomed = SpreadEllipseOf(Scale(true, true, 25), i.f1, i.f2);
    ASSERT_TRUE(bark && zoomed);
    EXPECT_NEAR(zoomed->major, 5 * bark->major, 1e-6);
    EXPECT_NEAR(zoomed->minor, 5 * bark->minor, 1e-6);
    EXPECT_NEAR(zoomed->angle, bark->angle, 1e-6);
}

TEST(AxisTicks, RoundHertzAndWholeBarkInsideTheChartWithoutCrowding) {
    const ChartScale herz = Scale(false);
    const ChartScale bark = Scale(true);
    EXPECT_EQ(Values(F1AxisTicks(herz)), (std::vector<double>{250, 300, 400, 500, 600, 800, 1000}));
    EXPECT_EQ(Values(F2AxisTicks(herz)),
              (std::vector<double>{600, 800, 1000, 1200, 1500, 2000, 2500, 3000}));
    EXPECT_EQ(Values(F1AxisTicks(bark)), (std::vector<double>{3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(F2AxisTicks(bark).front().value, 6);
    EXPECT_EQ(F2AxisTicks(bark).back().value, 16);
    EXPECT_EQ(F1AxisTicks(herz)[3].label, "500");
    EXPECT_STREQ(AxisUnit(bark), "Bark");

    // Zoomed on F1 300 Hz, F2 2200 Hz: finer round values, each where the scale puts it.
    const ChartScale zoom = Scale(false, true, 25);
    const auto f1 = F1AxisTicks(zoom);
    EXPECT_EQ(Values(f1), (std::vector<double>{250, 280, 300, 320, 350}));
    EXPECT_DOUBLE_EQ(f1[2].pixel, kF1Axis.zoomCentrePixel);
    const std::pair<std::vector<AxisTick>, int> edges[] = {
        {f1, kChartWidth}, {F2AxisTicks(zoom), kChartHeight}, {F2AxisTicks(bark), kChartHeight}};
    for (const auto& [ticks, extent] : edges) {
        for (size_t k = 0; k < ticks.size(); ++k) {
            EXPECT_GE(ticks[k].pixel, kTickEdgeMargin);
            EXPECT_LE(ticks[k].pixel, extent - kTickEdgeMargin);
            EXPECT_GE(k > 0 ? ticks[k].pixel - ticks[k - 1].pixel : 99, kMinF2TickSpacing);
        }
    }
    EXPECT_EQ(Values(F1AxisTicks(Scale(true, true, 25))), std::vector<double>{3});
}

} // namespace

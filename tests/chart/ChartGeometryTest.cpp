// Tests of the chart's frequency/pixel conversions and the zoom-grid snapping.
#include "chart/ChartGeometry.h"

#include <gtest/gtest.h>

namespace {

ChartScale Herz() {
    return ChartScale{};
}

ChartScale Bark() {
    ChartScale scale;
    scale.bark = true;
    return scale;
}

ChartScale Zoomed(bool bark, int centreF1, int centreF2, int grid = 25) {
    ChartScale scale;
    scale.bark = bark;
    scale.zoom = true;
    scale.gridWidth = grid;
    scale.centreF1 = centreF1;
    scale.centreF2 = centreF2;
    return scale;
}

TEST(HerzScale, FrequencyToPixelCountsWholeStepsOfFivePixels) {
    EXPECT_EQ(FrequencyToX(Herz(), 200), 0);
    EXPECT_EQ(FrequencyToX(Herz(), 201), 5);
    EXPECT_EQ(FrequencyToX(Herz(), 205), 5);
    EXPECT_EQ(FrequencyToX(Herz(), 206), 10);
    EXPECT_EQ(FrequencyToX(Herz(), 100), 0);
    EXPECT_EQ(FrequencyToY(Herz(), 500), 0);
}

TEST(HerzScale, PixelToFrequencyStepsUpWithTruncation) {
    for (int x = 0; x <= 4; ++x)
        EXPECT_EQ(XToFrequency(Herz(), x), 200) << x;
    EXPECT_EQ(XToFrequency(Herz(), 5), 205);
    EXPECT_EQ(XToFrequency(Herz(), 10), 210);
    EXPECT_EQ(XToFrequency(Herz(), -7), 200);
    EXPECT_EQ(YToFrequency(Herz(), 385), 3236);
    EXPECT_EQ(XToFrequency(Herz(), 380), 1210);
}

TEST(BarkScale, OriginPixelsGiveTheOriginsFrequencies) {
    EXPECT_EQ(BarkToHz(1.95f), 199);
    EXPECT_EQ(XToFrequency(Bark(), 0), 199);
    EXPECT_EQ(YToFrequency(Bark(), 0), 503);
    EXPECT_EQ(FrequencyToX(Bark(), 199), 0);
    EXPECT_EQ(FrequencyToX(Bark(), 200), 5);
}

TEST(BarkScale, PixelAndFrequencyAgreeOnWholeSteps) {
    // Going from a step's pixel to its frequency and back lands on the same step.
    for (int x = 0; x <= 380; x += 5)
        EXPECT_EQ(FrequencyToX(Bark(), XToFrequency(Bark(), x)), x) << x;
    for (int y = 0; y <= 385; y += 5)
        EXPECT_EQ(FrequencyToY(Bark(), YToFrequency(Bark(), y)), y) << y;
}

TEST(BarkScale, AxisEndsNearTheStatedBarkValues) {
    EXPECT_NEAR(HzToBark(XToFrequency(Bark(), 380)), 10.16, 0.05);
    EXPECT_NEAR(HzToBark(YToFrequency(Bark(), 385)), 16.35, 0.05);
}

TEST(ZoomedHerz, CentreFrequencyLiesOnTheCentrePixel) {
    const ChartScale scale = Zoomed(false, 400, 1000);
    EXPECT_EQ(FrequencyToX(scale, 400), 190);
    EXPECT_EQ(FrequencyToY(scale, 1000), 192);
    EXPECT_EQ(FrequencyToX(scale, HerzStepUp(400)), 215);
    EXPECT_EQ(FrequencyToY(scale, HerzStepUp(1000)), 217);
    EXPECT_EQ(FrequencyToX(scale, 401), 215);
    EXPECT_EQ(FrequencyToX(scale, 399), 165);
    EXPECT_EQ(FrequencyToX(scale, HerzStepDown(HerzStepDown(400))), 140);
}

TEST(ZoomedHerz, PixelsOfTheCentreCellGiveTheCentreFrequency) {
    const ChartScale scale = Zoomed(false, 400, 1000);
    for (int x = 175; x <= 199; ++x)
        EXPECT_EQ(XToFrequency(scale, x), 400) << x;
    EXPECT_EQ(XToFrequency(scale, 200), HerzStepUp(400));
    EXPECT_EQ(XToFrequency(scale, 174), HerzStepDown(400));
    EXPECT_EQ(XToFrequency(scale, 0), HerzStepDown(HerzStepDown(HerzStepDown(HerzStepDown(
                                          HerzStepDown(HerzStepDown(HerzStepDown(400))))))));
}

TEST(ZoomedHerz, GridWidthSetsThePixelsPerStep) {
    const ChartScale scale = Zoomed(false, 400, 1000, 40);
    EXPECT_EQ(FrequencyToX(scale, HerzStepUp(400)), 230);
    // Cells are counted from pixel 0, not from the centre pixel: 190 / 40 = 4, 240 / 40 = 6.
    EXPECT_EQ(XToFrequency(scale, 240), HerzStepUp(HerzStepUp(400)));
    EXPECT_EQ(XToFrequency(scale, 200), HerzStepUp(400));
}

TEST(ZoomedBark, CentreAndNeighbours) {
    const ChartScale scale = Zoomed(true, 700, 1200);
    EXPECT_EQ(FrequencyToX(scale, BarkToHz(static_cast<float>(HzToBark(700)))), 190);
    EXPECT_EQ(FrequencyToY(scale, BarkToHz(static_cast<float>(HzToBark(1200)))), 192);
    const int above = XToFrequency(scale, 200);
    EXPECT_GT(above, 700);
    EXPECT_EQ(FrequencyToX(scale, above), 215);
    const int below = XToFrequency(scale, 150);
    EXPECT_LT(below, 700);
    EXPECT_EQ(FrequencyToX(scale, below), 165);
}

TEST(Snapping, PointMovesToTheCentreOfItsCell) {
    EXPECT_EQ(SnapToGrid({37, 60}, 25), (ChartPoint{37, 62}));
    EXPECT_EQ(SnapToGrid({0, 0}, 25), (ChartPoint{12, 12}));
    EXPECT_EQ(SnapToGrid({49, 50}, 25), (ChartPoint{37, 62}));
    EXPECT_EQ(SnapToGrid({7, 8}, 10), (ChartPoint{5, 5}));
}

TEST(Robustness, ExtremeFrequenciesEndWithoutOverflowOrEndlessLoops) {
    // Values straight from a document file are not range-checked.
    EXPECT_GT(FrequencyToX(Herz(), 2000000000), 380);
    EXPECT_GT(FrequencyToX(Bark(), 2000000000), 380);
    EXPECT_GT(FrequencyToX(Zoomed(false, 400, 1000), 2000000000), 380);
    EXPECT_GT(FrequencyToX(Zoomed(true, 400, 1000), 2000000000), 380);
    EXPECT_LT(FrequencyToX(Zoomed(false, 400, 1000), -5), 0);
    EXPECT_LT(FrequencyToX(Zoomed(true, 400, 1000), -5), 0);
    EXPECT_GT(FrequencyToX(Zoomed(false, 10, 1000), 500), 190); // tiny centre: steps stall
    EXPECT_GT(XToFrequency(Herz(), 1000000), 0);
    EXPECT_GT(XToFrequency(Zoomed(false, 400, 1000, 1), 1000000), 0);
}

TEST(Robustness, NonPositiveGridWidthIsTreatedAsOnePixel) {
    EXPECT_EQ(SnapToGrid({37, 60}, 0), (ChartPoint{37, 60}));
    EXPECT_EQ(FrequencyToX(Zoomed(false, 400, 1000, 0), HerzStepUp(400)), 191);
    EXPECT_EQ(XToFrequency(Zoomed(false, 400, 1000, -3), 191), HerzStepUp(400));
}

TEST(AutomaticF3, FormulaExamples) {
    EXPECT_EQ(AutomaticF3(250, 2100), 2476);
    EXPECT_EQ(AutomaticF3(850, 1500), 2343);
    EXPECT_EQ(AutomaticF3(260, 2600), 2747);
    EXPECT_EQ(AutomaticF3(2000000000, 2000000000), 2147483647); // saturates, no overflow
}

} // namespace

TEST(TypedFormants, GoToTheMiddleOfTheNearestStepWithinTheChartsRange) {
    const FrequencyRange f1 = F1Range(Herz());
    EXPECT_EQ(f1.lowest, 200);
    EXPECT_EQ(f1.highest, XToFrequency(Herz(), 379));
    EXPECT_EQ(F2Range(Herz()).lowest, 500);
    // 200 Hz covers x 1..4 (a point needs x > 0), 205 Hz x 5..9; 203 Hz is nearer 205.
    EXPECT_EQ(NearestX(Herz(), 200), 2);
    EXPECT_EQ(NearestX(Herz(), 203), 7);
    EXPECT_EQ(NearestY(Herz(), 100), 2); // below the chart: its lowest step
    // In zoom mode a step is a grid cell: its middle, where a click snaps to.
    const ChartScale zoomed = Zoomed(true, 500, 1500);
    const int x = NearestX(zoomed, 500);
    EXPECT_EQ(XToFrequency(zoomed, x), 500);
    EXPECT_EQ(ChartPoint({x, 0}).x, SnapToGrid({x, 0}, 25).x);
    EXPECT_LT(F1Range(zoomed).highest - F1Range(zoomed).lowest, f1.highest - f1.lowest);
}

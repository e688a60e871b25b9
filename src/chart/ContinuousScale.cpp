// The chart's scales without rounding to whole steps: where a frequency falls, to a fraction
// of a pixel, for drawing measured values (means, spreads, axis ticks) onto the chart.
#include "chart/ContinuousScale.h"

#include <algorithm>
#include <cmath>

namespace {

// As far as the chart's own stepping goes; beyond it (and where the truncating steps stop
// moving, below 40 Hz) the exact ratio 41/40 carries on.
constexpr int kMaxSteps = 2000;
const double kLogStep = std::log(41.0 / 40.0);

// Signed number of Herz steps from anchor to hz: the truncating steps of the chart, up
// (41/40) above the anchor and down (40/41) below it, with a geometric fraction.
double HerzStepsFrom(int anchor, double hz) {
    anchor = std::max(anchor, 1);
    int from = anchor;
    int steps = 0;
    if (hz >= anchor) {
        for (; steps < kMaxSteps; ++steps) {
            const int next = HerzStepUp(from);
            if (next <= from)
                break;
            if (next >= hz)
                return steps + std::log(hz / from) / std::log(static_cast<double>(next) / from);
            from = next;
        }
        return steps + std::log(hz / from) / kLogStep;
    }
    for (; steps < kMaxSteps; ++steps) {
        const int next = HerzStepDown(from);
        if (next >= from || next <= 0)
            break;
        if (next <= hz)
            return -(steps + std::log(from / hz) / std::log(static_cast<double>(from) / next));
        from = next;
    }
    return -(steps + std::log(from / hz) / kLogStep);
}

// The Bark value the Bark scale puts on the axis's anchor pixel: the origin, or in zoom mode
// the zoom centre's (so that the centre frequency lands exactly on the centre pixel).
double AnchorBark(const ChartScale& scale, const ChartAxis& axis, int centreHz) {
    return scale.zoom ? HzToBark(centreHz) : axis.barkOrigin;
}

double AnchorPixel(const ChartScale& scale, const ChartAxis& axis) {
    return scale.zoom ? axis.zoomCentrePixel : 0;
}

} // namespace

double PixelsPerStep(const ChartScale& scale) {
    if (!scale.zoom)
        return kUnzoomedStep;
    return scale.gridWidth > 0 ? scale.gridWidth : 1;
}

double BarkToPixelF(const ChartScale& scale, const ChartAxis& axis, int centreHz, double bark) {
    const double steps = (bark - AnchorBark(scale, axis, centreHz)) / axis.barkStep;
    return AnchorPixel(scale, axis) + PixelsPerStep(scale) * steps;
}

double FrequencyToPixelF(const ChartScale& scale, const ChartAxis& axis, int centreHz, double hz) {
    if (!(hz >= 1)) // also NaN
        hz = 1;
    if (scale.bark)
        return BarkToPixelF(scale, axis, centreHz, HzToBark(hz));
    const int anchor = scale.zoom ? centreHz : axis.herzOrigin;
    return AnchorPixel(scale, axis) + PixelsPerStep(scale) * HerzStepsFrom(anchor, hz);
}

double FrequencyToXF(const ChartScale& scale, double f1) {
    return FrequencyToPixelF(scale, kF1Axis, scale.centreF1, f1);
}

double FrequencyToYF(const ChartScale& scale, double f2) {
    return FrequencyToPixelF(scale, kF2Axis, scale.centreF2, f2);
}

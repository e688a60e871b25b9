// Tick marks and labels for the chart's axes: round hertz or whole Bark values.
#include "chart/AxisTicks.h"

#include "chart/ContinuousScale.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxTickHz = 20000;
constexpr double kMaxTickBark = 24;
// A finer kind of round frequency is not tried when it would give more candidates than this
// within the chart: far more than could ever fit.
constexpr int kMaxCandidates = 2000;

struct AxisLayout {
    const ChartAxis& axis;
    int centreHz;
    double extent;  // pixels along the edge
    double spacing; // least distance between ticks
};

bool Inside(double pixel, const AxisLayout& layout) {
    return pixel >= kTickEdgeMargin && pixel <= layout.extent - kTickEdgeMargin;
}

bool KeepsSpacing(const std::vector<AxisTick>& ticks, double pixel, double spacing) {
    return std::none_of(ticks.begin(), ticks.end(), [&](const AxisTick& tick) {
        return std::fabs(tick.pixel - pixel) < spacing;
    });
}

void Add(std::vector<AxisTick>& ticks, double pixel, int value) {
    ticks.push_back({pixel, static_cast<double>(value), std::to_string(value)});
}

double HerzPixel(const ChartScale& scale, const AxisLayout& layout, int hz) {
    return FrequencyToPixelF(scale, layout.axis, layout.centreHz, hz);
}

// Adds hz, a multiple of round, unless a tick stands too close to it, or the multiples of
// round on either side of it would stand too close: round numbers of that kind are too
// dense there, and one of them alone would read as an odd value ("210" next to "250").
// Octaves (round 0) are only kept apart.
void AddHerzTick(std::vector<AxisTick>& ticks, const ChartScale& scale, const AxisLayout& layout,
                 int hz, int round) {
    const double pixel = HerzPixel(scale, layout, hz);
    if (!Inside(pixel, layout) || !KeepsSpacing(ticks, pixel, layout.spacing))
        return;
    const bool dense =
        round > 0 &&
        ((hz - round > 0 && pixel - HerzPixel(scale, layout, hz - round) < layout.spacing) ||
         HerzPixel(scale, layout, hz + round) - pixel < layout.spacing);
    if (!dense)
        Add(ticks, pixel, hz);
}

std::vector<AxisTick> HerzTicks(const ChartScale& scale, const AxisLayout& layout) {
    // The frequencies the chart shows, widened by two steps at each end: the chart's own
    // conversions round to whole steps.
    const int edge = static_cast<int>(layout.extent);
    int low = PixelToFrequency(scale, layout.axis, layout.centreHz, 0);
    int high = PixelToFrequency(scale, layout.axis, layout.centreHz, edge);
    for (int i = 0; i < 2; ++i) {
        low = HerzStepDown(low);
        high = std::min(HerzStepUp(high), kMaxTickHz) + 1;
    }
    low = std::clamp(low, 1, kMaxTickHz);
    high = std::clamp(high, 1, kMaxTickHz);

    // The roundest values first: octaves of 125 Hz, then multiples of 1000, 500, 200 ...
    std::vector<AxisTick> ticks;
    for (int octave = 125; octave <= kMaxTickHz; octave *= 2)
        if (octave >= low && octave <= high)
            AddHerzTick(ticks, scale, layout, octave, 0);
    for (const int round : {1000, 500, 200, 100, 50, 20, 10, 5, 2, 1}) {
        if ((high - low) / round > kMaxCandidates)
            break;
        for (int hz = (low + round - 1) / round * round; hz <= high; hz += round)
            AddHerzTick(ticks, scale, layout, hz, round);
    }
    std::sort(ticks.begin(), ticks.end(),
              [](const AxisTick& a, const AxisTick& b) { return a.pixel < b.pixel; });
    return ticks;
}

std::vector<AxisTick> BarkTicks(const ChartScale& scale, const AxisLayout& layout) {
    const double atZero = BarkToPixelF(scale, layout.axis, layout.centreHz, 0);
    const double perBark = BarkToPixelF(scale, layout.axis, layout.centreHz, 1) - atZero;
    int every = 10;
    for (const int candidate : {5, 2, 1})
        if (candidate * perBark >= layout.spacing)
            every = candidate;
    std::vector<AxisTick> ticks;
    for (int bark = 0; bark <= kMaxTickBark; bark += every) {
        const double pixel = atZero + bark * perBark;
        if (Inside(pixel, layout))
            Add(ticks, pixel, bark);
    }
    return ticks;
}

std::vector<AxisTick> Ticks(const ChartScale& scale, const AxisLayout& layout) {
    return scale.bark ? BarkTicks(scale, layout) : HerzTicks(scale, layout);
}

} // namespace

std::vector<AxisTick> F1AxisTicks(const ChartScale& scale) {
    return Ticks(scale, {kF1Axis, scale.centreF1, kChartWidth, kMinF1TickSpacing});
}

std::vector<AxisTick> F2AxisTicks(const ChartScale& scale) {
    return Ticks(scale, {kF2Axis, scale.centreF2, kChartHeight, kMinF2TickSpacing});
}

const char* AxisUnit(const ChartScale& scale) {
    return scale.bark ? "Bark" : "Hz";
}

// Tick marks and labels for the chart's axes: round hertz or whole Bark values.
#pragma once

#include "chart/ChartGeometry.h"

#include <string>
#include <vector>

// One tick: where it stands along its edge, the value it marks and the label to print.
struct AxisTick {
    double pixel = 0;  // chart-relative x of an F1 tick (top edge), y of an F2 tick (left edge)
    double value = 0;  // Hz on the Herz scale, Bark on the Bark scale
    std::string label; // "500", "1000", or "7" (Bark); the unit is AxisUnit
};

// Neighbouring ticks stand at least this many pixels apart: labels side by side along the
// top edge need more room than labels stacked along the left edge.
constexpr double kMinF1TickSpacing = 36;
constexpr double kMinF2TickSpacing = 28;
// Ticks keep this far from both ends of their edge, away from the chart's corners.
constexpr double kTickEdgeMargin = 8;

// The ticks of F1 along the top edge (left to right) and of F2 along the left edge (top to
// bottom) that fall inside the chart at this scale, zoomed or not, placed as FrequencyToXF
// and FrequencyToYF place values. On the Herz scale: round frequencies, the octaves of
// 125 Hz (250, 500, 1000, 2000 ...) first, then multiples of 1000, 500, 200, 100, 50, 20,
// 10, 5, 2 and 1 Hz where they keep the spacing above, both from the ticks already placed
// and from their own neighbours (so 600 and 800 but not 700 where the hundreds crowd, and
// no lone 210 beside 250). On the Bark scale: whole Bark values, every 1, 2, 5 or 10 Bark
// (the smallest that keeps the spacing), from 0 to 24 Bark.
std::vector<AxisTick> F1AxisTicks(const ChartScale& scale);
std::vector<AxisTick> F2AxisTicks(const ChartScale& scale);

// The unit of the tick labels: "Hz" or "Bark".
const char* AxisUnit(const ChartScale& scale);

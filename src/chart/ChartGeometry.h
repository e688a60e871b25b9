// The vowel chart's scales: conversions between formant frequencies and chart pixels.
#pragma once

#include "scales/FrequencyScales.h"

// Chart coordinates keep x relative to the chart's left edge (client x - 50) and y equal to
// the client y. The chart covers chart x 0..380 and y 0..385.
constexpr int kChartLeft = 50;
constexpr int kChartTop = 0;
constexpr int kChartRight = 430;
constexpr int kChartBottom = 385;
constexpr int kChartWidth = kChartRight - kChartLeft;
constexpr int kChartHeight = kChartBottom - kChartTop;

// One axis of the chart: where the "Herz" and the Bark scale start, the Bark step, and the
// pixel that zoom mode puts its centre frequency on.
struct ChartAxis {
    int herzOrigin;
    float barkOrigin;
    float barkStep;
    int zoomCentrePixel;
};

extern const ChartAxis kF1Axis; // horizontal: 200 Hz, 1.95 Bark, 0.108 Bark, x = 190
extern const ChartAxis kF2Axis; // vertical: 500 Hz, 4.95 Bark, 0.148 Bark, y = 192

// The scale state that the conversions read: Herz or Bark, zoom, grid width (pixels per
// step in zoom mode) and the frequencies that zoom mode centres on.
struct ChartScale {
    bool bark = false;
    bool zoom = false;
    int gridWidth = 25;
    int centreF1 = 200;
    int centreF2 = 500;
};

// Pixels per scale step outside zoom mode.
constexpr int kUnzoomedStep = 5;

// One step of the geometric "Herz" scale: 41/40 up, 40/41 down, truncating.
int HerzStepUp(int hz);
int HerzStepDown(int hz);

// Frequency to chart-relative pixel on one axis.
int FrequencyToPixel(const ChartScale& scale, const ChartAxis& axis, int centreHz, int hz);
// Chart-relative pixel to frequency on one axis.
int PixelToFrequency(const ChartScale& scale, const ChartAxis& axis, int centreHz, int pixel);

// The four conversions of the chart: F1 along x, F2 along y.
int FrequencyToX(const ChartScale& scale, int f1);
int FrequencyToY(const ChartScale& scale, int f2);
int XToFrequency(const ChartScale& scale, int x);
int YToFrequency(const ChartScale& scale, int y);

// The lowest and highest frequency one axis of the chart shows, over the pixels a point can
// take (x 1..379, y 0..384).
struct FrequencyRange {
    int lowest = 0;
    int highest = 0;
};
FrequencyRange F1Range(const ChartScale& scale);
FrequencyRange F2Range(const ChartScale& scale);

// The pixel whose frequency lies nearest to hz, among those a point can take: the middle of
// the run of pixels that share that frequency (a scale step, a grid cell in zoom mode); the
// lower frequency on a tie.
int NearestX(const ChartScale& scale, int f1);
int NearestY(const ChartScale& scale, int f2);

// A point in chart coordinates.
struct ChartPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ChartPoint&) const = default;
};

// The centre of the zoom-grid cell that holds (x, y).
ChartPoint SnapToGrid(ChartPoint point, int gridWidth);

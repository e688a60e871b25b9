// The chart's scales without rounding to whole steps: where a frequency falls, to a fraction
// of a pixel, for drawing measured values (means, spreads, axis ticks) onto the chart.
#pragma once

#include "chart/ChartGeometry.h"

// The chart-relative pixel of hz on one axis, counting scale steps as the chart does but
// keeping the fraction of a step. On the "Herz" scale the steps are the chart's own
// truncating 41/40 steps from the axis origin (in zoom mode from the zoom centre, 40/41
// steps below it), with a geometric fraction between two step frequencies; on the Bark
// scale they are (Bark(hz) - origin) / Bark step. A step is 5 pixels, or the grid width in
// zoom mode, whose centre frequency lands on the zoom centre pixel: zoom is a linear map of
// steps. At a frequency the chart puts on a whole step this agrees with FrequencyToPixel;
// between two steps FrequencyToPixel snaps to one of them and this lies between them, less
// than one step away. Unlike FrequencyToPixel it goes on below the origin (to negative
// pixels, outside the chart) instead of stopping at 0, so that clipping leaves such values
// out. Frequencies below 1 Hz count as 1 Hz.
double FrequencyToPixelF(const ChartScale& scale, const ChartAxis& axis, int centreHz, double hz);

// F1 along x and F2 along y, as FrequencyToX and FrequencyToY but continuous.
double FrequencyToXF(const ChartScale& scale, double f1);
double FrequencyToYF(const ChartScale& scale, double f2);

// The chart-relative pixel of a Bark value on one axis of the Bark scale (as
// FrequencyToPixelF of the frequency with that Bark value).
double BarkToPixelF(const ChartScale& scale, const ChartAxis& axis, int centreHz, double bark);

// Pixels per scale step: 5, or the grid width in zoom mode.
double PixelsPerStep(const ChartScale& scale);

// The spread of measured vowel tokens on the chart: an ellipse of one standard deviation.
#pragma once

#include "chart/ChartGeometry.h"

#include <optional>
#include <span>

// An ellipse in chart-relative pixels. To draw it with a painter in chart coordinates:
// translate to (x, y), rotate by angle degrees, and draw the ellipse of radii major and
// minor about the origin.
struct SpreadEllipse {
    double x = 0;     // centre: the pixel of the tokens' mean F1 (FrequencyToXF)
    double y = 0;     // centre: the pixel of the tokens' mean F2 (FrequencyToYF)
    double major = 0; // semi-axes in pixels: one standard deviation along each principal
    double minor = 0; // axis of the tokens as drawn, major >= minor >= 0
    double angle = 0; // degrees from the F1 (x) axis turning toward the F2 (y) axis, of the
                      // major axis; in (-90, 90], clockwise on screen
};

// The one-standard-deviation ellipse of tokens with formants f1[i], f2[i] (Hz) on the
// chart's current scale: the tokens are placed with FrequencyToXF and FrequencyToYF, so
// their spread is taken on the Herz or Bark scale as the chart draws it (zoom only scales
// it), and the principal axes of their sample covariance (n - 1) give the radii and the
// turn. The ellipse is centred on the pixel of the arithmetic mean F1 and F2 in Hz, where
// the vowel's mean is drawn. Nothing for fewer than two tokens or unequal lengths.
std::optional<SpreadEllipse> SpreadEllipseOf(const ChartScale& scale, std::span<const double> f1,
                                             std::span<const double> f2);

// The vowel chart's scales: conversions between formant frequencies and chart pixels.
#include "chart/ChartGeometry.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

const ChartAxis kF1Axis = {200, 1.95f, 0.108f, 190};
const ChartAxis kF2Axis = {500, 4.95f, 0.148f, 192};

namespace {

// Frequencies from documents are not range-checked, and the Herz steps of small frequencies
// do not move at all (41 * 39 / 40 = 39). Every stepping loop therefore stops after this
// many steps: far beyond the chart (2.5% per step), but never endless.
constexpr int kMaxSteps = 2000;

int GridWidth(const ChartScale& scale) {
    return scale.gridWidth > 0 ? scale.gridWidth : 1;
}

int SaturateToInt(long long value) {
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

int UnzoomedPixel(const ChartScale& scale, const ChartAxis& axis, int hz) {
    int steps = 0;
    if (scale.bark) {
        float z = axis.barkOrigin;
        while (BarkToHz(z) < hz && steps < kMaxSteps) {
            z = z + axis.barkStep;
            ++steps;
        }
    } else {
        int f = axis.herzOrigin;
        while (f < hz && steps < kMaxSteps) {
            f = HerzStepUp(f);
            ++steps;
        }
    }
    return kUnzoomedStep * steps;
}

int ZoomedPixelHerz(int g, const ChartAxis& axis, int centre, int hz) {
    int p = axis.zoomCentrePixel;
    int c = centre;
    if (c < hz) {
        for (int steps = 0; steps < kMaxSteps; ++steps) {
            c = HerzStepUp(c);
            p += g;
            if (c >= hz)
                break;
        }
    } else if (c != hz) {
        for (int steps = 0; steps < kMaxSteps; ++steps) {
            c = HerzStepDown(c);
            p -= g;
            if (c <= hz)
                break;
        }
    }
    return p;
}

int ZoomedPixelBark(int g, const ChartAxis& axis, int centre, int hz) {
    int p = axis.zoomCentrePixel;
    float z = static_cast<float>(HzToBark(centre));
    if (centre < hz) {
        for (int steps = 0; BarkToHz(z) < hz && steps < kMaxSteps; ++steps) {
            z = z + axis.barkStep;
            p += g;
        }
    } else {
        for (int steps = 0; BarkToHz(z) > hz && steps < kMaxSteps; ++steps) {
            z = z - axis.barkStep;
            p -= g;
        }
    }
    return p;
}

int HerzSteps(int hz, int steps) {
    for (int i = 0; i < steps && i < kMaxSteps; ++i)
        hz = HerzStepUp(hz);
    for (int i = 0; i > steps && i > -kMaxSteps; --i)
        hz = HerzStepDown(hz);
    return hz;
}

int UnzoomedFrequency(const ChartScale& scale, const ChartAxis& axis, int pixel) {
    const int k = pixel / kUnzoomedStep;
    if (scale.bark) {
        float z = axis.barkOrigin;
        if (k > 0)
            z = axis.barkOrigin + static_cast<float>(k) * axis.barkStep;
        return BarkToHz(z);
    }
    return k > 0 ? HerzSteps(axis.herzOrigin, k) : axis.herzOrigin;
}

int ZoomedFrequency(const ChartScale& scale, const ChartAxis& axis, int centre, int pixel) {
    const int g = GridWidth(scale);
    const int a = axis.zoomCentrePixel / g;
    const int b = pixel / g;
    int steps = 0; // scale steps from the centre, up (> 0) or down (< 0)
    if (pixel > axis.zoomCentrePixel && a < b)
        steps = b - a;
    else if (pixel <= axis.zoomCentrePixel && b < a)
        steps = b - a;
    if (scale.bark) {
        const float z =
            static_cast<float>(HzToBark(centre) + static_cast<float>(steps) * axis.barkStep);
        return BarkToHz(z);
    }
    return HerzSteps(centre, steps);
}

// The pixels a point can take: a click right of x 0 and the arrow keys' limits.
constexpr int kFirstPointX = 1;
constexpr int kLastPointX = kChartWidth - 1;
constexpr int kFirstPointY = 0;
constexpr int kLastPointY = kChartHeight - 1;

using PixelFrequency = int (*)(const ChartScale&, int);

FrequencyRange RangeOf(const ChartScale& scale, PixelFrequency frequency, int first, int last) {
    FrequencyRange range{frequency(scale, first), frequency(scale, first)};
    for (int pixel = first + 1; pixel <= last; ++pixel) {
        const int hz = frequency(scale, pixel);
        range.lowest = std::min(range.lowest, hz);
        range.highest = std::max(range.highest, hz);
    }
    return range;
}

int NearestPixel(const ChartScale& scale, PixelFrequency frequency, int first, int last, int hz) {
    long long bestDistance = -1;
    int bestFrequency = 0;
    int runStart = first;
    int runEnd = first;
    for (int pixel = first; pixel <= last; ++pixel) {
        const int f = frequency(scale, pixel);
        const long long distance = std::llabs(static_cast<long long>(f) - hz);
        if (bestDistance < 0 || distance < bestDistance ||
            (distance == bestDistance && f < bestFrequency)) {
            bestDistance = distance;
            bestFrequency = f;
            runStart = runEnd = pixel;
        } else if (f == bestFrequency && pixel == runEnd + 1) {
            runEnd = pixel;
        }
    }
    return (runStart + runEnd) / 2;
}

} // namespace

int HerzStepUp(int hz) {
    return SaturateToInt(41LL * hz / 40);
}

int HerzStepDown(int hz) {
    return SaturateToInt(40LL * hz / 41);
}

int FrequencyToPixel(const ChartScale& scale, const ChartAxis& axis, int centreHz, int hz) {
    if (!scale.zoom)
        return UnzoomedPixel(scale, axis, hz);
    if (scale.bark)
        return ZoomedPixelBark(GridWidth(scale), axis, centreHz, hz);
    return ZoomedPixelHerz(GridWidth(scale), axis, centreHz, hz);
}

int PixelToFrequency(const ChartScale& scale, const ChartAxis& axis, int centreHz, int pixel) {
    if (!scale.zoom)
        return UnzoomedFrequency(scale, axis, pixel);
    return ZoomedFrequency(scale, axis, centreHz, pixel);
}

int FrequencyToX(const ChartScale& scale, int f1) {
    return FrequencyToPixel(scale, kF1Axis, scale.centreF1, f1);
}

int FrequencyToY(const ChartScale& scale, int f2) {
    return FrequencyToPixel(scale, kF2Axis, scale.centreF2, f2);
}

int XToFrequency(const ChartScale& scale, int x) {
    return PixelToFrequency(scale, kF1Axis, scale.centreF1, x);
}

int YToFrequency(const ChartScale& scale, int y) {
    return PixelToFrequency(scale, kF2Axis, scale.centreF2, y);
}

FrequencyRange F1Range(const ChartScale& scale) {
    return RangeOf(scale, XToFrequency, kFirstPointX, kLastPointX);
}

FrequencyRange F2Range(const ChartScale& scale) {
    return RangeOf(scale, YToFrequency, kFirstPointY, kLastPointY);
}

int NearestX(const ChartScale& scale, int f1) {
    return NearestPixel(scale, XToFrequency, kFirstPointX, kLastPointX, f1);
}

int NearestY(const ChartScale& scale, int f2) {
    return NearestPixel(scale, YToFrequency, kFirstPointY, kLastPointY, f2);
}

ChartPoint SnapToGrid(ChartPoint point, int gridWidth) {
    const int g = gridWidth > 0 ? gridWidth : 1;
    const int h = g / 2;
    return {h + point.x - point.x % g, h + point.y - point.y % g};
}

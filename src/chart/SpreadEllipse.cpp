// The spread of measured vowel tokens on the chart: an ellipse of one standard deviation.
#include "chart/SpreadEllipse.h"

#include "chart/ContinuousScale.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

std::optional<SpreadEllipse> SpreadEllipseOf(const ChartScale& scale, std::span<const double> f1,
                                             std::span<const double> f2) {
    const size_t n = f1.size();
    if (n < 2 || f2.size() != n)
        return std::nullopt;
    std::vector<double> xs(n);
    std::vector<double> ys(n);
    double meanX = 0;
    double meanY = 0;
    double meanF1 = 0;
    double meanF2 = 0;
    for (size_t i = 0; i < n; ++i) {
        xs[i] = FrequencyToXF(scale, f1[i]);
        ys[i] = FrequencyToYF(scale, f2[i]);
        meanX += xs[i] / n;
        meanY += ys[i] / n;
        meanF1 += f1[i] / n;
        meanF2 += f2[i] / n;
    }
    double xx = 0;
    double yy = 0;
    double xy = 0;
    for (size_t i = 0; i < n; ++i) {
        const double dx = xs[i] - meanX;
        const double dy = ys[i] - meanY;
        xx += dx * dx / (n - 1);
        yy += dy * dy / (n - 1);
        xy += dx * dy / (n - 1);
    }
    // Eigenvalues of the 2 x 2 covariance matrix and the direction of the larger one.
    const double middle = (xx + yy) / 2;
    const double radius = std::hypot((xx - yy) / 2, xy);
    SpreadEllipse ellipse;
    ellipse.x = FrequencyToXF(scale, meanF1);
    ellipse.y = FrequencyToYF(scale, meanF2);
    ellipse.major = std::sqrt(middle + radius);
    ellipse.minor = std::sqrt(std::max(middle - radius, 0.0));
    ellipse.angle = std::atan2(2 * xy, xx - yy) / 2 * 180 / std::numbers::pi;
    if (ellipse.angle <= -90)
        ellipse.angle += 180;
    return ellipse;
}

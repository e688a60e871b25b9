#include "voicing/SpectralBalance.h"

#include "voicing/VoicingGenerator.h"

#include <cmath>
#include <numbers>

void UndoOutputLowPass(std::vector<double>& samples) {
    // The output resonator y = a x + b y[-1] + c y[-2] at 0 Hz, bandwidth fs / 2, inverted.
    const double r = std::exp(-std::numbers::pi * 5000.0 / kVoiceSampleRate);
    const double b = 2 * r;
    const double c = -r * r;
    const double a = 1 - b - c;
    double x1 = 0;
    double x2 = 0;
    for (double& sample : samples) {
        const double x = sample;
        sample = (x - b * x1 - c * x2) / a;
        x2 = x1;
        x1 = x;
    }
}

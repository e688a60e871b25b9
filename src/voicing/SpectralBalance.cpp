#include "voicing/SpectralBalance.h"

#include "voicing/VoicingGenerator.h"

#include <cmath>
#include <complex>
#include <numbers>

namespace {

constexpr double kShelfZeroHz = 600;
constexpr int kShelfStages = 3;

// A first-order section y = (b0 x + b1 x[-1] - a1 y[-1]) / a0.
struct FirstOrder {
    double b0, b1, a0, a1;
};

// One of the shelves: the analog (1 + s / wz) / (1 + s / wp) by the bilinear transform. The
// zero is prewarped to fall on kShelfZeroHz; the pole lies a third of brightnessDb above it
// in the analog plane, which the transform maps to exactly that lift at 5 kHz.
FirstOrder Shelf(double brightnessDb) {
    const double fs = kVoiceSampleRate;
    const double k = 2 * fs;
    const double wz = 2 * fs * std::tan(std::numbers::pi * kShelfZeroHz / fs);
    const double wp = wz * std::pow(10.0, brightnessDb / (20.0 * kShelfStages));
    return {1 + k / wz, 1 - k / wz, 1 + k / wp, 1 - k / wp};
}

} // namespace

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

void Brighten(std::vector<double>& samples, double brightnessDb) {
    if (brightnessDb == 0) {
        return;
    }
    const FirstOrder shelf = Shelf(brightnessDb);
    for (int stage = 0; stage < kShelfStages; ++stage) {
        double x1 = 0;
        double y1 = 0;
        for (double& sample : samples) {
            const double x = sample;
            sample = (shelf.b0 * x + shelf.b1 * x1 - shelf.a1 * y1) / shelf.a0;
            x1 = x;
            y1 = sample;
        }
    }
}

double BrightnessGainDb(double hz, double brightnessDb) {
    const FirstOrder shelf = Shelf(brightnessDb);
    const std::complex<double> z1 = std::polar(1.0, -2 * std::numbers::pi * hz / kVoiceSampleRate);
    const double gain = std::abs((shelf.b0 + shelf.b1 * z1) / (shelf.a0 + shelf.a1 * z1));
    return kShelfStages * 20 * std::log10(gain);
}

// The spectrum of a sampled sound at single frequencies, for the tests that measure sounds.
#pragma once

#include <complex>
#include <numbers>
#include <vector>

// The Fourier transform of x at `hz`, for x sampled `rate` times per second: the sum of
// x[n] exp(-2 pi i hz n / rate), the bin of a DFT of x zero-padded to any length.
inline std::complex<double> SpectrumAt(const std::vector<double>& x, double hz, double rate) {
    const std::complex<double> step = std::polar(1.0, -2 * std::numbers::pi * hz / rate);
    std::complex<double> phasor = 1;
    std::complex<double> sum = 0;
    for (double value : x) {
        sum += value * phasor;
        phasor *= step;
    }
    return sum;
}

#include "synth/EndFade.h"

#include "synth/WavFile.h"

#include <algorithm>
#include <cmath>
#include <numbers>

double EndFadeGain(int64_t fromEnd, int64_t count) {
    const int64_t fadeLength = std::min(kEndFadeSamples, count);
    if (fromEnd < 0 || fromEnd >= fadeLength)
        return 1.0;
    if (fromEnd < kEndSilenceSamples)
        return 0.0;
    const double x = static_cast<double>(fromEnd - kEndSilenceSamples) /
                     static_cast<double>(fadeLength - kEndSilenceSamples);
    return 0.5 - 0.5 * std::cos(std::numbers::pi * x);
}

std::vector<int32_t> FadeOutForSixteenBits(const std::vector<int32_t>& sound) {
    const int64_t peak = PeakMagnitude(sound);
    const auto count = static_cast<int64_t>(sound.size());
    std::vector<int32_t> faded(sound.size());
    for (int64_t n = 0; n < count; ++n) {
        const double gain = EndFadeGain(count - 1 - n, count);
        if (gain == 1.0) {
            faded[n] = ScaleToSixteenBits(sound[n], peak);
            continue;
        }
        double value = static_cast<double>(sound[n]) * gain;
        if (peak > 32767)
            value = value / static_cast<double>(peak) * 32767.0;
        faded[n] = static_cast<int32_t>(std::trunc(value));
    }
    return faded;
}

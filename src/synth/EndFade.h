// The short fade-out that ends every rendered sound without a click.
#pragma once

#include <cstdint>
#include <vector>

// At 10000 samples per second: the fade takes the last 15 ms of a sound (the whole sound,
// when it is shorter), and its last 2 ms are silent.
constexpr int64_t kEndFadeSamples = 150;
constexpr int64_t kEndSilenceSamples = 20;

// Gain of the fade for the sample `fromEnd` samples before the last one (0 = the last
// sample) of a sound of `count` samples: 1 before the fade, then a raised cosine down to 0
// at kEndSilenceSamples before the end, then 0. A sound as short as the fade fades over its
// whole length, so that a sound of a few milliseconds keeps its onset.
double EndFadeGain(int64_t fromEnd, int64_t count);

// The sound as the WAV file holds it, faded at its end: every sample is scaled into 16 bits
// exactly as the writer scales the unfaded sound (by 32767 / peak when its peak exceeds
// 32767), the samples of the fade multiplied by its gain before the truncation toward zero.
// Samples before the fade come out exactly as the writer would write them, and the result
// lies within +-32767, so the writer keeps it as it is.
std::vector<int32_t> FadeOutForSixteenBits(const std::vector<int32_t>& sound);

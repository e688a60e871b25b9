#include "synth/Resonator.h"

#include "synth/FrameSynth.h"

#include <cmath>

const float kAmplitudeTable[88] = {
    0,     0,     0,     0,     0,     0,     0,     0,     // 0-7
    0,     0,     0,     0,     0,     6,     7,     8,     // 8-15
    9,     10,    11,    13,    14,    16,    18,    20,    // 16-23
    22,    25,    28,    32,    35,    40,    45,    51,    // 24-31
    57,    64,    71,    80,    90,    101,   114,   128,   // 32-39
    142,   159,   179,   202,   227,   256,   284,   318,   // 40-47
    359,   405,   455,   512,   568,   638,   719,   811,   // 48-55
    911,   1024,  1137,  1276,  1438,  1622,  1823,  2048,  // 56-63
    2273,  2552,  2875,  3244,  3645,  4096,  4547,  5104,  // 64-71
    5751,  6488,  7291,  8192,  9093,  10207, 11502, 12976, // 72-79
    14582, 16384, 18350, 20644, 23429, 26214, 29491, 32767, // 80-87
};

// Coefficients are stored as float; every product and sum below is formed in double and
// rounded only when it is stored.

void SetResonator(int32_t frequency, int32_t bandwidth, Resonator& resonator,
                  const SynthState& state) {
    const double r = std::exp(double{state.minusPiT} * bandwidth);
    resonator.c = static_cast<float>(-(r * r));
    resonator.b = static_cast<float>(2.0 * r * std::cos(double{state.twoPiT} * frequency));
    resonator.a = static_cast<float>(1.0 - double{resonator.b} - double{resonator.c});
}

void SetAntiresonator(int32_t frequency, int32_t bandwidth, Resonator& resonator,
                      const SynthState& state) {
    SetResonator(frequency > 0 ? frequency : 1, bandwidth, resonator, state);
    resonator.a = static_cast<float>(1.0 / double{resonator.a});
    resonator.b = static_cast<float>(-double{resonator.b} * double{resonator.a});
    resonator.c = static_cast<float>(-double{resonator.c} * double{resonator.a});
}

float DbToLinear(int32_t db) {
    if (db < 0 || db > 87)
        return 0.0f;
    return static_cast<float>(double{kAmplitudeTable[db]} * 0.001);
}

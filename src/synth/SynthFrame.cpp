#include "synth/SynthFrame.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Keeps absurd inputs (far outside any formant range) from overflowing 32 bits.
int32_t ClampToInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// Every parameter except the formants, identical in all frames of every track.
SynthFrame FixedFrame(int32_t tiltDb) {
    SynthFrame frame{};
    frame.f0Tenths = 1200;
    frame.voicingDb = 60;
    frame.nasalZeroF = 250;
    frame.nasalZeroB = 100;
    frame.nasalPoleF = 250;
    frame.nasalPoleB = 100;
    frame.openPhase = 42;
    frame.tiltDb = tiltDb;
    frame.parVoicingDb = 56;
    frame.gainDb = 60;
    return frame;
}

// Puts F1..F5 and their bandwidths into the frame.
void SetFormants(SynthFrame& frame, const FormantTargets& formants) {
    int32_t* const slots[5][2] = {{&frame.f1, &frame.b1},
                                  {&frame.f2, &frame.b2},
                                  {&frame.f3, &frame.b3},
                                  {&frame.f4, &frame.b4},
                                  {&frame.f5, &frame.b5}};
    for (int j = 0; j < 5; ++j) {
        *slots[j][0] = formants[j];
        *slots[j][1] = FormantBandwidth(formants[j]);
    }
}

} // namespace

void BuildVowelTrack(VowelTrack& track, const FormantTargets& targets, int32_t tiltDb) {
    for (int k = 0; k < kTrackFrames; ++k) {
        // A slight upward drift keeps the steady vowel from sounding frozen: 0, 5, 5, 10, 10.
        const int32_t drift = 5 * (k - k / 2);
        FormantTargets drifted;
        for (int j = 0; j < 5; ++j)
            drifted[j] = ClampToInt32(int64_t{targets[j]} + drift);
        track[k] = FixedFrame(tiltDb);
        SetFormants(track[k], drifted);
    }
}

void BuildDiphthongTrack(VowelTrack& track, const FormantTargets& targets,
                         const FormantTargets& second, int32_t tiltDb) {
    for (int k = 0; k < kTrackFrames; ++k) {
        FormantTargets stepped;
        for (int j = 0; j < 5; ++j) {
            // C++ integer division truncates toward zero, as the glide requires.
            const int64_t step = (int64_t{second[j]} - targets[j]) * k / 5;
            stepped[j] = ClampToInt32(targets[j] + step);
        }
        track[k] = FixedFrame(tiltDb);
        SetFormants(track[k], stepped);
    }
}

int FormantBandwidth(double frequency) {
    static constexpr double kBelow500[6] = {165.5327516,    -0.673636734, 0.00180874446,
                                            -4.52201682e-6, 7.49514e-9,   -4.70219241e-12};
    static constexpr double kFrom500[6] = {15.8146139,    0.0810159009,    -9.79728215e-5,
                                           5.28725064e-8, -1.07099364e-11, 7.97528509e-16};
    const double* c = frequency < 500.0 ? kBelow500 : kFrom500;
    const double f = frequency;
    const double bandwidth = c[0] + c[1] * f + c[2] * f * f + c[3] * f * f * f +
                             c[4] * f * f * f * f + c[5] * f * f * f * f * f;
    if (std::isnan(bandwidth))
        return 0;
    // Frequencies far outside the audio range give polynomial values beyond int.
    const double limit = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(std::trunc(bandwidth), -limit, limit));
}

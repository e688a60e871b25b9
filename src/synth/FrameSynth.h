// The synthesizer state and the rendering of one parameter frame into output samples.
#pragma once

#include "base/Report.h"
#include "synth/Resonator.h"
#include "synth/SynthFrame.h"
#include "synth/VoiceFile.h"

#include <cstdint>

constexpr int8_t kSourceSampled = 3;      // sampled natural voicing, the only source rendered
constexpr int8_t kConfigCascade = 1;      // cascade and parallel branches
constexpr int8_t kConfigParallelOnly = 2; // parallel branch only: reported, cascade silent

// The formant synthesizer's state: configuration, period, gains, the sample store and the
// eighteen filter sections. Each engine holds its own (SynthEngine.h).
struct SynthState {
    int8_t configuration = 0;
    int32_t sampleRate = 0;
    int32_t cascadeCount = 0;
    int8_t sourceKind = 0;
    int8_t quiet = 0; // nonzero suppresses the open-phase warnings
    int32_t samplesPerFrame = 0;
    int32_t sourcePos = 0;   // read index into the sample store
    int32_t sampleIndex = 0; // index of the current sample within the frame
    int32_t period = 0;      // period length in quarter samples
    int32_t openQuarter = 0; // glottal open phase in quarter samples
    float minusPiT = 0.0f;   // -pi / sampleRate
    float twoPiT = 0.0f;     // 2 pi / sampleRate
    float tiltPass = 0.0f;
    float tiltDecay = 0.0f;
    float bypassGain = 0.0f;
    float voicingGain = 0.0f;
    float parVoicingGain = 0.0f;
    float outputGain = 0.0f;
    VoiceSamples voice;
    // What the frames of the current run have to tell the user; the run hands it on.
    Report messages;
    Resonator nasalPolePar{}, f1Par{}, f2Par{}, f3Par{}, f4Par{}, f5Par{}, f6Par{};
    Resonator f1Casc{}, f2Casc{}, f3Casc{}, f4Casc{}, f5Casc{}, f6Casc{}, f7Casc{}, f8Casc{};
    Resonator nasalPoleCasc{};
    Resonator nasalZero{}; // an antiresonator
    Resonator outputFilter{};
};

// Next excitation value of the sampled natural voicing source: 0.0 while the period is 0,
// otherwise the next stored sample. The run makes sure the store holds every sample it
// will read; past the end the source is silent rather than reading outside the store.
inline float NextSourceSample(SynthState& state) {
    if (state.period == 0)
        return 0.0f;
    const int32_t position = state.sourcePos;
    if (position < 0 || static_cast<size_t>(position) >= state.voice.samples.size())
        return 0.0f;
    state.sourcePos = position + 1;
    return static_cast<float>(state.voice.samples[position]);
}

// Values the frame synthesis carries from one run into the next, all 0 before the first run
// of an engine: the previous tilt filter output, the previous parallel voicing value and the
// sign of the alternating period skew.
struct CarriedValues {
    float tiltOutput = 0.0f;
    float parallelVoicing = 0.0f;
    int32_t skewSign = 0;
};

// Prepares the state for a run: sampling constants, source position, period, and clears
// the memory of every filter. sampleRate must be set.
void InitSynthState(SynthState& state);

// Frame set-up: gains and filter coefficients from the frame (adjusts voicingDb and gainDb
// of the frame, which is the caller's copy).
void PrepareFrame(SynthState& state, SynthFrame& frame);

// Period update at the start of the run: period, voicing gain, open phase, skew and tilt;
// flips the skew sign carried. An open phase that has to be cut or raised is noted in
// state.messages at every update.
void ResetPeriod(SynthState& state, SynthFrame& frame, CarriedValues& carried);

// Renders samplesPerFrame samples of the frame (the caller's copy, adjusted in place)
// into out, which must have room for them, starting from and updating the values carried. A
// wrong source or the missing cascade is noted in state.messages once, not for every sample.
void SynthesizeFrame(SynthState& state, SynthFrame& frame, CarriedValues& carried, int32_t* out);

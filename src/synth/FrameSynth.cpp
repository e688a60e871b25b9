#include "synth/FrameSynth.h"

#include "base/MessageBox.h"

#include <cmath>
#include <limits>
#include <numbers>

float vPrev = 0.0f;
float gpPrev = 0.0f;
int32_t skewSign = 0;

namespace {

// Multiplies a parallel resonator's input coefficient by its branch gain.
void ScaleInput(Resonator& resonator, double gain) {
    resonator.a = static_cast<float>(double{resonator.a} * gain);
}

// A filter whose input coefficient and memory are all zero outputs exactly zero and stays at
// rest, so skipping it changes no sample (the parallel branch is silent in every track).
bool AtRest(const Resonator& resonator) {
    return resonator.a == 0.0f && resonator.prev1 == 0.0f && resonator.prev2 == 0.0f;
}

float ResonateUnlessAtRest(Resonator& resonator, float x) {
    return AtRest(resonator) ? 0.0f : Resonate(resonator, x);
}

// y x outputGain truncated toward zero; values beyond 32 bits (an unstable filter) saturate.
int32_t TruncateSample(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double kMax = std::numeric_limits<int32_t>::max();
    constexpr double kMin = std::numeric_limits<int32_t>::min();
    if (value >= kMax)
        return std::numeric_limits<int32_t>::max();
    if (value <= kMin)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

void SetCascade(SynthState& state, const SynthFrame& frame) {
    if (state.cascadeCount >= 8)
        SetResonator(7500, 600, state.f8Casc, state);
    if (state.cascadeCount >= 7)
        SetResonator(6500, 500, state.f7Casc, state);
    if (state.cascadeCount >= 6)
        SetResonator(frame.f6, frame.b6, state.f6Casc, state);
    if (state.cascadeCount >= 5)
        SetResonator(frame.f5, frame.b5, state.f5Casc, state);
    SetResonator(frame.f4, frame.b4, state.f4Casc, state);
    SetResonator(frame.f3, frame.b3, state.f3Casc, state);
    SetResonator(frame.f2, frame.b2, state.f2Casc, state);
    SetResonator(frame.f1, frame.b1, state.f1Casc, state);
    SetResonator(frame.nasalPoleF, frame.nasalPoleB, state.nasalPoleCasc, state);
    SetAntiresonator(frame.nasalZeroF, frame.nasalZeroB, state.nasalZero, state);
}

// The parallel formants take the cascade frequencies with their own bandwidths.
void SetParallel(SynthState& state, const SynthFrame& frame) {
    const float g1 = static_cast<float>(double{DbToLinear(frame.a1Db)} * 0.4);
    const float g2 = static_cast<float>(double{DbToLinear(frame.a2Db)} * 0.15);
    const float g3 = static_cast<float>(double{DbToLinear(frame.a3Db)} * 0.06);
    const float g4 = static_cast<float>(double{DbToLinear(frame.a4Db)} * 0.04);
    const float g5 = static_cast<float>(double{DbToLinear(frame.a5Db)} * 0.022);
    const float g6 = static_cast<float>(double{DbToLinear(frame.a6Db)} * 0.03);
    const float nasalGain = static_cast<float>(double{DbToLinear(frame.nasalParDb)} * 0.6);
    SetResonator(frame.f1, frame.b1Par, state.f1Par, state);
    ScaleInput(state.f1Par, g1);
    SetResonator(frame.nasalPoleF, frame.nasalPoleB, state.nasalPolePar, state);
    ScaleInput(state.nasalPolePar, nasalGain);
    SetResonator(frame.f2, frame.b2Par, state.f2Par, state);
    ScaleInput(state.f2Par, g2);
    SetResonator(frame.f3, frame.b3Par, state.f3Par, state);
    ScaleInput(state.f3Par, g3);
    SetResonator(frame.f4, frame.b4Par, state.f4Par, state);
    ScaleInput(state.f4Par, g4);
    SetResonator(frame.f5, frame.b5Par, state.f5Par, state);
    ScaleInput(state.f5Par, g5);
    SetResonator(frame.f6, frame.b6Par, state.f6Par, state);
    ScaleInput(state.f6Par, g6);
}

// The cascade branch: nasal zero and pole, then the formants from the highest down to F1.
float RunCascade(SynthState& state, float gc) {
    float x = Antiresonate(state.nasalZero, gc);
    x = Resonate(state.nasalPoleCasc, x);
    Resonator* const formants[7] = {&state.f8Casc, &state.f7Casc, &state.f6Casc, &state.f5Casc,
                                    &state.f4Casc, &state.f3Casc, &state.f2Casc};
    for (int i = 0; i < 7; ++i) {
        if (state.cascadeCount >= 8 - i)
            x = Resonate(*formants[i], x);
    }
    return Resonate(state.f1Casc, x);
}

// The parallel branch added to the cascade output, with alternating signs, then the bypass.
float AddParallel(SynthState& state, float out, float gp) {
    out = static_cast<float>(double{out} + ResonateUnlessAtRest(state.f1Par, gp));
    out = static_cast<float>(double{out} + ResonateUnlessAtRest(state.nasalPolePar, gp));
    const float d = static_cast<float>(double{gp} - gpPrev);
    gpPrev = gp;
    Resonator* const formants[5] = {&state.f6Par, &state.f5Par, &state.f4Par, &state.f3Par,
                                    &state.f2Par};
    for (Resonator* formant : formants)
        out = static_cast<float>(double{ResonateUnlessAtRest(*formant, d)} - out);
    return static_cast<float>(double{state.bypassGain} * d - out);
}

} // namespace

void InitSynthState(SynthState& state) {
    state.minusPiT = static_cast<float>(-std::numbers::pi / state.sampleRate);
    state.twoPiT = static_cast<float>(-2.0 * double{state.minusPiT});
    state.sourcePos = 0;
    state.period = 0;
    state.openQuarter = 0;
    Resonator* const all[] = {
        &state.nasalPolePar,  &state.f1Par,     &state.f2Par,       &state.f3Par,  &state.f4Par,
        &state.f5Par,         &state.f6Par,     &state.f1Casc,      &state.f2Casc, &state.f3Casc,
        &state.f4Casc,        &state.f5Casc,    &state.f6Casc,      &state.f7Casc, &state.f8Casc,
        &state.nasalPoleCasc, &state.nasalZero, &state.outputFilter};
    for (Resonator* resonator : all) {
        resonator->prev1 = 0.0f;
        resonator->prev2 = 0.0f;
    }
}

void PrepareFrame(SynthState& state, SynthFrame& frame) {
    frame.voicingDb = frame.voicingDb < 7 ? 0 : frame.voicingDb - 7;
    state.parVoicingGain = DbToLinear(frame.parVoicingDb);
    state.bypassGain = static_cast<float>(double{DbToLinear(frame.bypassDb)} * 0.05);
    // A gain of 3 dB or less would be silence; it is taken as 57 dB instead.
    frame.gainDb = frame.gainDb <= 3 ? 57 : frame.gainDb - 3;
    state.outputGain = DbToLinear(frame.gainDb);
    SetCascade(state, frame);
    SetParallel(state, frame);
    SetResonator(0, state.sampleRate / 2, state.outputFilter, state);
}

void ResetPeriod(SynthState& state, SynthFrame& frame) {
    if (frame.f0Tenths > 0) {
        state.period = static_cast<int32_t>(40LL * state.sampleRate / frame.f0Tenths);
        state.voicingGain = DbToLinear(frame.voicingDb);
        state.openQuarter = static_cast<int32_t>(4LL * frame.openPhase);
        if (state.openQuarter >= state.period - 1) {
            state.openQuarter = state.period - 2;
            if (!state.quiet)
                ShowMessage("Warning: glottal open period cannot exceed T0, truncated.", "Warning",
                            MsgIcon::Warning);
        }
        if (state.openQuarter < 40) {
            state.openQuarter = 40;
            if (!state.quiet)
                ShowMessage("Warning: minimum glottal open period is 10 samples.", "Warning",
                            MsgIcon::Warning);
        }
        if (frame.skew > state.period - state.openQuarter)
            frame.skew = state.period - state.openQuarter;
        skewSign = skewSign >= 0 ? frame.skew : -frame.skew;
        state.period += skewSign;
        skewSign = -skewSign;
    } else {
        state.period = 4;
        state.voicingGain = 0.0f;
    }
    if (state.period != 4 || state.sampleIndex == 0) {
        state.tiltDecay = static_cast<float>(0.033 * frame.tiltDb);
        state.tiltPass = state.tiltDecay > 0.0f ? static_cast<float>(1.0 - state.tiltDecay) : 1.0f;
    }
}

void SynthesizeFrame(SynthState& state, SynthFrame& frame, int32_t* out) {
    PrepareFrame(state, frame);
    float v = 0.0f;
    for (state.sampleIndex = 0; state.sampleIndex < state.samplesPerFrame; ++state.sampleIndex) {
        if (state.sourceKind == kSourceSampled)
            v = NextSourceSample(state);
        else
            ShowMessage("error wrong source", "Error", MsgIcon::Error);
        if (state.sourcePos <= 1)
            ResetPeriod(state, frame);
        v = static_cast<float>(double{state.tiltPass} * v + double{state.tiltDecay} * vPrev);
        vPrev = v;
        const float gc = static_cast<float>(double{state.voicingGain} * v);
        const float gp = static_cast<float>(double{state.parVoicingGain} * v);
        float sum = 0.0f;
        if (state.configuration == kConfigParallelOnly)
            ShowMessage("no cascade!", "Error", MsgIcon::Error);
        else
            sum = RunCascade(state, gc);
        sum = AddParallel(state, sum, gp);
        const float y = Resonate(state.outputFilter, sum);
        out[state.sampleIndex] = TruncateSample(double{y} * state.outputGain);
    }
}

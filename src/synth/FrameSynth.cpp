#include "synth/FrameSynth.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace {

// Multiplies a parallel resonator's input coefficient by its branch gain.
void ScaleInput(Resonator& resonator, double gain) {
    resonator.a = static_cast<float>(double{resonator.a} * gain);
}

// A filter whose input coefficient and memory are all zero outputs exactly zero and stays at
// rest for as long as its coefficients stay, so skipping it changes no sample.
bool AtRest(const Resonator& resonator) {
    return resonator.a == 0.0f && resonator.prev1 == 0.0f && resonator.prev2 == 0.0f;
}

float ResonateUnlessAtRest(Resonator& resonator, float x) {
    return AtRest(resonator) ? 0.0f : Resonate(resonator, x);
}

// True when the whole parallel branch and the bypass add nothing during this frame (as in
// every track the program builds): the cascade output then reaches the sum unchanged.
bool ParallelBranchSilent(const SynthState& state) {
    return state.bypassGain == 0.0f && AtRest(state.f1Par) && AtRest(state.f2Par) &&
           AtRest(state.f3Par) && AtRest(state.f4Par) && AtRest(state.f5Par) &&
           AtRest(state.f6Par) && AtRest(state.nasalPolePar);
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

// One filter section of the cascade held in double precision for the length of a frame.
// Coefficients and memory keep exactly their float values (widening is exact, and every new
// output is rounded to float as it is stored), so it computes exactly what Resonate and
// Antiresonate compute, without converting the coefficients again at every sample.
struct WideSection {
    double a, b, c, prev1, prev2;

    explicit WideSection(const Resonator& r)
        : a(r.a), b(r.b), c(r.c), prev1(r.prev1), prev2(r.prev2) {}

    Resonator Narrow() const {
        return Resonator{static_cast<float>(a), static_cast<float>(b), static_cast<float>(c),
                         static_cast<float>(prev1), static_cast<float>(prev2)};
    }

    float Resonate(float x) {
        const float y = static_cast<float>(a * x + b * prev1 + c * prev2);
        prev2 = prev1;
        prev1 = y;
        return y;
    }

    float Antiresonate(float x) {
        const float y = static_cast<float>(a * x + b * prev1 + c * prev2);
        prev2 = prev1;
        prev1 = x;
        return y;
    }
};

// The cascade branch and the output filter, taken out of the state for one frame so that the
// per-sample work stays in registers and cache lines of its own; stored back afterwards.
class CascadeChain {
public:
    explicit CascadeChain(const SynthState& state)
        : m_count(state.cascadeCount), m_nasalZero(state.nasalZero),
          m_nasalPole(state.nasalPoleCasc), m_f1(state.f1Casc), m_f2(state.f2Casc),
          m_f3(state.f3Casc), m_f4(state.f4Casc), m_f5(state.f5Casc), m_f6(state.f6Casc),
          m_f7(state.f7Casc), m_f8(state.f8Casc), m_output(state.outputFilter) {}

    void StoreTo(SynthState& state) const {
        state.nasalZero = m_nasalZero.Narrow();
        state.nasalPoleCasc = m_nasalPole.Narrow();
        state.f1Casc = m_f1.Narrow();
        state.f2Casc = m_f2.Narrow();
        state.f3Casc = m_f3.Narrow();
        state.f4Casc = m_f4.Narrow();
        state.f5Casc = m_f5.Narrow();
        state.f6Casc = m_f6.Narrow();
        state.f7Casc = m_f7.Narrow();
        state.f8Casc = m_f8.Narrow();
        state.outputFilter = m_output.Narrow();
    }

    // Nasal zero and pole, then the formants from the highest present down to F1.
    float Cascade(float gc) {
        float x = m_nasalZero.Antiresonate(gc);
        x = m_nasalPole.Resonate(x);
        switch (m_count >= 8 ? 8 : m_count) {
        case 8:
            x = m_f8.Resonate(x);
            [[fallthrough]];
        case 7:
            x = m_f7.Resonate(x);
            [[fallthrough]];
        case 6:
            x = m_f6.Resonate(x);
            [[fallthrough]];
        case 5:
            x = m_f5.Resonate(x);
            [[fallthrough]];
        case 4:
            x = m_f4.Resonate(x);
            [[fallthrough]];
        case 3:
            x = m_f3.Resonate(x);
            [[fallthrough]];
        case 2:
            x = m_f2.Resonate(x);
            [[fallthrough]];
        default:
            break;
        }
        return m_f1.Resonate(x);
    }

    float Output(float sum) { return m_output.Resonate(sum); }

private:
    int32_t m_count;
    WideSection m_nasalZero, m_nasalPole;
    WideSection m_f1, m_f2, m_f3, m_f4, m_f5, m_f6, m_f7, m_f8;
    WideSection m_output;
};

// The parallel branch added to the cascade output, with alternating signs, then the bypass.
float AddParallel(SynthState& state, CarriedValues& carried, float out, float gp) {
    out = static_cast<float>(double{out} + ResonateUnlessAtRest(state.f1Par, gp));
    out = static_cast<float>(double{out} + ResonateUnlessAtRest(state.nasalPolePar, gp));
    const float d = static_cast<float>(double{gp} - carried.parallelVoicing);
    carried.parallelVoicing = gp;
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

void ResetPeriod(SynthState& state, SynthFrame& frame, CarriedValues& carried) {
    if (frame.f0Tenths > 0) {
        state.period = static_cast<int32_t>(40LL * state.sampleRate / frame.f0Tenths);
        state.voicingGain = DbToLinear(frame.voicingDb);
        state.openQuarter = static_cast<int32_t>(4LL * frame.openPhase);
        if (state.openQuarter >= state.period - 1) {
            state.openQuarter = state.period - 2;
            if (!state.quiet)
                state.messages.Note("Warning: glottal open period cannot exceed T0, truncated.",
                                    "Warning", MsgIcon::Warning);
        }
        if (state.openQuarter < 40) {
            state.openQuarter = 40;
            if (!state.quiet)
                state.messages.Note("Warning: minimum glottal open period is 10 samples.",
                                    "Warning", MsgIcon::Warning);
        }
        if (frame.skew > state.period - state.openQuarter)
            frame.skew = state.period - state.openQuarter;
        carried.skewSign = carried.skewSign >= 0 ? frame.skew : -frame.skew;
        state.period += carried.skewSign;
        carried.skewSign = -carried.skewSign;
    } else {
        state.period = 4;
        state.voicingGain = 0.0f;
    }
    if (state.period != 4 || state.sampleIndex == 0) {
        state.tiltDecay = static_cast<float>(0.033 * frame.tiltDb);
        state.tiltPass = state.tiltDecay > 0.0f ? static_cast<float>(1.0 - state.tiltDecay) : 1.0f;
    }
}

namespace {

// True when the rest of the frame needs none of the per-sample checks: the sampled source is
// playing (a period is set and the position is past the two samples at which the period is
// set), and the cascade branch is present.
bool SteadyFromHere(const SynthState& state) {
    return state.sourceKind == kSourceSampled && state.configuration != kConfigParallelOnly &&
           state.period != 0 && state.sourcePos > 1;
}

// The samples from `first` to the end of the frame when SteadyFromHere holds: the same
// arithmetic as the general loop, with the source, the gains and the tilt in locals so
// that nothing is read back from the state at every sample.
void RenderSteadySamples(SynthState& state, CascadeChain& chain, bool parallelSilent,
                         CarriedValues& carried, float& tiltMemory, int32_t first, int32_t* out) {
    const std::vector<int32_t>& samples = state.voice.samples;
    const size_t held = samples.size();
    size_t position = static_cast<size_t>(state.sourcePos);
    const double tiltPass = state.tiltPass;
    const double tiltDecay = state.tiltDecay;
    const double voicingGain = state.voicingGain;
    const double parVoicingGain = state.parVoicingGain;
    const double outputGain = state.outputGain;
    for (int32_t i = first; i < state.samplesPerFrame; ++i) {
        float v = 0.0f; // past the end of the store the source is silent and stays put
        if (position < held)
            v = static_cast<float>(samples[position++]);
        v = static_cast<float>(tiltPass * v + tiltDecay * tiltMemory);
        tiltMemory = v;
        const float gc = static_cast<float>(voicingGain * v);
        const float gp = static_cast<float>(parVoicingGain * v);
        float sum = chain.Cascade(gc);
        if (parallelSilent)
            carried.parallelVoicing = gp;
        else
            sum = AddParallel(state, carried, sum, gp);
        out[i] = TruncateSample(double{chain.Output(sum)} * outputGain);
    }
    state.sourcePos = static_cast<int32_t>(position);
}

} // namespace

void SynthesizeFrame(SynthState& state, SynthFrame& frame, CarriedValues& carried, int32_t* out) {
    PrepareFrame(state, frame);
    const bool parallelSilent = ParallelBranchSilent(state);
    CascadeChain chain(state);
    float tiltMemory = carried.tiltOutput;
    float v = 0.0f;
    for (int32_t i = 0; i < state.samplesPerFrame; ++i) {
        if (SteadyFromHere(state)) {
            RenderSteadySamples(state, chain, parallelSilent, carried, tiltMemory, i, out);
            break;
        }
        state.sampleIndex = i;
        if (state.sourceKind == kSourceSampled)
            v = NextSourceSample(state);
        else
            state.messages.NoteOnce("error wrong source", "Error", MsgIcon::Error);
        if (state.sourcePos <= 1)
            ResetPeriod(state, frame, carried);
        v = static_cast<float>(double{state.tiltPass} * v + double{state.tiltDecay} * tiltMemory);
        tiltMemory = v;
        const float gc = static_cast<float>(double{state.voicingGain} * v);
        const float gp = static_cast<float>(double{state.parVoicingGain} * v);
        float sum = 0.0f;
        if (state.configuration == kConfigParallelOnly)
            state.messages.NoteOnce("no cascade!", "Error", MsgIcon::Error);
        else
            sum = chain.Cascade(gc);
        if (parallelSilent)
            carried.parallelVoicing = gp; // the five sign flips of the silent branch cancel out
        else
            sum = AddParallel(state, carried, sum, gp);
        const float y = chain.Output(sum);
        out[i] = TruncateSample(double{y} * state.outputGain);
    }
    state.sampleIndex = state.samplesPerFrame;
    chain.StoreTo(state);
    carried.tiltOutput = tiltMemory;
}

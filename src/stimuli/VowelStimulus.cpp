#include "stimuli/VowelStimulus.h"

#include "base/MessageBox.h"
#include "synth/EndFade.h"
#include "synth/FrameSynth.h"
#include "synth/SynthRun.h"
#include "synth/WavFile.h"

namespace {

// The engine's raw 32-bit sound, rendered as by a fresh engine: the three values that the
// frame synthesis carries from one run into the next (the tilt filter's and the source's
// last values, the sign of the period skew) start from zero, as in a new process, so that the
// same vowel always gives the same samples; they are put back afterwards, so that the chart
// plays on as if nothing had been rendered in between. The engine reports through the
// message seam, and its messages become the result.
std::string RenderRaw(const VowelStimulus& vowel, std::vector<int32_t>& raw) {
    RecordingMessageSink messages;
    ScopedMessageSink scope(&messages);
    const float tiltMemory = vPrev, sourceMemory = gpPrev;
    const int32_t skew = skewSign;
    vPrev = gpPrev = 0.0f;
    skewSign = 0;
    const int rendered = RenderVowel(vowel.voiceFile, vowel.tiltDb, vowel.frameMs, vowel.f1,
                                     vowel.f2, vowel.f3, vowel.f1End, vowel.f2End, raw);
    vPrev = tiltMemory;
    gpPrev = sourceMemory;
    skewSign = skew;
    if (rendered == 1)
        return "";
    std::string text;
    for (const std::string& line : messages.Texts())
        text += (text.empty() ? "" : "\n") + line;
    return text.empty() ? "The vowel could not be rendered." : text;
}

} // namespace

std::string RenderStimulus(const VowelStimulus& vowel, RenderedVowel& rendered) {
    std::vector<int32_t> raw;
    if (std::string problem = RenderRaw(vowel, raw); !problem.empty())
        return problem;
    const int64_t peak = PeakMagnitude(raw);
    const auto count = static_cast<int64_t>(raw.size());
    rendered.pcm16.resize(raw.size());
    rendered.exact.resize(raw.size());
    // The faded sound is already scaled into 16 bits; the unfaded one is scaled as written.
    const std::vector<int32_t> faded = vowel.endFade ? FadeOutForSixteenBits(raw) : raw;
    const int64_t writerPeak = vowel.endFade ? 0 : peak;
    for (int64_t i = 0; i < count; ++i) {
        rendered.pcm16[i] = ScaleToSixteenBits(faded[i], writerPeak);
        double value = raw[i];
        if (peak > 32767)
            value = value / double(peak) * 32767.0;
        if (vowel.endFade)
            value *= EndFadeGain(count - 1 - i, count);
        rendered.exact[i] = value;
    }
    return "";
}

#include "stimuli/VowelStimulus.h"

#include "base/Report.h"
#include "synth/EndFade.h"
#include "synth/SynthEngine.h"
#include "synth/WavFile.h"

namespace {

// The engine's raw 32-bit sound, rendered from rest; "" or the engine's messages.
std::string RenderRaw(SynthEngine& engine, const VowelStimulus& vowel, std::vector<int32_t>& raw) {
    engine.StartFromRest();
    const Report report = engine.RenderVowel(vowel.voiceFile, vowel.tiltDb, vowel.frameMs, vowel.f1,
                                             vowel.f2, vowel.f3, vowel.f1End, vowel.f2End, raw);
    if (report.Ok())
        return "";
    const std::string text = report.Text();
    return text.empty() ? "The vowel could not be rendered." : text;
}

} // namespace

std::string RenderStimulus(const VowelStimulus& vowel, RenderedVowel& rendered) {
    SynthEngine engine;
    return RenderStimulus(engine, vowel, rendered);
}

std::string RenderStimulus(SynthEngine& engine, const VowelStimulus& vowel,
                           RenderedVowel& rendered) {
    std::vector<int32_t> raw;
    if (std::string problem = RenderRaw(engine, vowel, raw); !problem.empty())
        return problem;
    const int64_t peak = PeakMagnitude(raw);
    const auto count = static_cast<int64_t>(raw.size());
    rendered.pcm16.resize(raw.size());
    rendered.exact.resize(raw.size());
    // The faded sound is already scaled into 16 bits; the unfaded one is scaled as written.
    const std::vector<int32_t> faded = vowel.endFade ? FadeOutForSixteenBits(raw) : raw;
    const int64_t writerPeak = vowel.endFade ? 0 : peak;
    rendered.ownScale = peak > 32767 ? 32767.0 / double(peak) : 1.0;
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

#include "stimuli/VoicePitch.h"

#include "synth/VoiceFile.h"
#include "voicing/VoicingAnalysis.h"

#include <algorithm>

namespace {

constexpr size_t kShortestStretch = 3000; // the analyser needs a few hundred milliseconds

// The voice file's samples; false when it cannot be read.
bool ReadVoiceSamples(const std::string& voiceFile, std::vector<int32_t>& samples) {
    VoiceSamples store;
    if (!ReadVoiceFile(voiceFile, store).Ok())
        return false;
    samples = std::move(store.samples);
    return true;
}

} // namespace

double MeasureVoiceF0(const std::string& voiceFile, int sampleCount) {
    std::vector<int32_t> samples;
    if (!ReadVoiceSamples(voiceFile, samples))
        return 0;
    const size_t length = std::min(
        samples.size(), std::max(kShortestStretch, static_cast<size_t>(std::max(sampleCount, 0))));
    return MeasureVoicing(std::vector<double>(samples.begin(), samples.begin() + length), 0).meanF0;
}

// Feeds arbitrary bytes to the voice data file reader.
#include "synth/VoiceFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    VoiceSamples samples;
    const bool complete = ParseVoiceData(reinterpret_cast<const char*>(data), size, samples);
    if (samples.count < 0 || static_cast<size_t>(samples.count) != samples.samples.size())
        std::abort();
    // Every sample takes at least one character ("+0+7" and the octal "08" read as two
    // numbers each, so there need be no separator).
    if (samples.samples.size() > size)
        std::abort();
    (void)complete;
    return 0;
}

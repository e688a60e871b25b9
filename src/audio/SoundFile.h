// Reading a whole sound file into memory as 16-bit samples.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A decoded sound: interleaved 16-bit signed samples at the file's own rate.
struct DecodedSound {
    int sampleRate = 0;
    int channels = 0;
    std::vector<int16_t> samples; // frames x channels

    size_t Frames() const { return channels > 0 ? samples.size() / channels : 0; }
    // Length in milliseconds, rounded up.
    int64_t DurationMs() const;
};

// Decodes any file libsndfile reads (PCM or float WAV, any rate and channel count).
// False, with sound left empty, when the file is missing, cannot be decoded or holds
// no sound at all.
bool DecodeSoundFile(const std::string& path, DecodedSound& sound);

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

// What the header of a sound file says, read without decoding the samples.
struct SoundFileFormat {
    int sampleRate = 0;
    int channels = 0;
    int64_t frames = 0;
};

// Why a sound file gives no sound. A folder, device or pipe is never read (reading a
// pipe would wait for a writer that may never come).
enum class SoundFileStatus { Ok, CannotOpen, NotAFile, NotSound, TooLong };

// The longest sound that is decoded: 2^26 samples, 128 MiB as 16-bit samples (23 minutes
// of 48 kHz stereo, nearly two hours of the synthesis's 10 kHz mono). Longer files are
// refused from their header, before anything is read.
constexpr int64_t kMaxSoundSamples = int64_t(1) << 26;

// Reads the header of any file libsndfile reads; error receives the errno value when the
// file cannot be opened (EISDIR for a folder, EINVAL for a device or pipe).
SoundFileStatus ReadSoundFileFormat(const std::string& path, SoundFileFormat& format,
                                    int* error = nullptr);

// Decodes any file libsndfile reads (PCM or float WAV, any rate and channel count).
// False, with sound left empty and the reason in status, when the file is missing, is not
// a regular file, cannot be decoded, holds no sound at all or is too long.
bool DecodeSoundFile(const std::string& path, DecodedSound& sound,
                     SoundFileStatus* status = nullptr);

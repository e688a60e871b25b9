// Writing the synthesized sound as a mono 16-bit PCM WAV file at 10000 samples per second.
#pragma once

#include "base/Report.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr int kWavSampleRate = 10000;
constexpr size_t kWavHeaderBytes = 44;

// The path of the WAV file for a raw path: the extension of the last path component
// replaced by ".wav"; a last component without an extension leaves the path unchanged.
std::string WavPathFromRawPath(const std::string& rawPath);

// Largest magnitude among the samples (0 when there are none).
int64_t PeakMagnitude(const std::vector<int32_t>& samples);

// One sample as written: scaled by 32767 / peak (truncated toward zero) when the peak
// exceeds 32767, then cut to its low 16 bits.
int16_t ScaleToSixteenBits(int32_t sample, int64_t peak);

// The complete file image: 44-byte header, then the scaled samples, little-endian.
std::vector<uint8_t> EncodeWav(const std::vector<int32_t>& samples);

// Writes the file image to path, in place, never through a link: a symbolic or hard link
// of that name is replaced by a file of its own. Fails with "can't open wav-output file"
// when the file cannot be created or is a folder, device or pipe, and with a message
// naming the file when writing or closing fails.
Report WriteWavFile(const std::string& path, const std::vector<int32_t>& samples);

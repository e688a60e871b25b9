// The sample store of natural voicing and the reader of voice data files (*.dat).
#pragma once

#include "base/Report.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Samples of one voice data file. count always equals samples.size().
struct VoiceSamples {
    int32_t count = 0;  // number of samples held
    float scale = 0.0f; // the file's scale factor; read but never applied
    std::vector<int32_t> samples;
};

// Parses the text of a voice data file held in memory: white-space separated numbers,
// first the sample count N (an integer), then the scale factor (a real number), then N
// integer samples. Integers are read in free form: optional sign, then decimal digits,
// hexadecimal digits after 0x, or octal digits after a leading 0; values beyond 32 bits
// are clamped. Reading stops at the first text that is not a number: a file that ends
// before N samples keeps the samples read so far (count = samples read). A missing or
// unreadable count, or a negative count, gives an empty store. Never reads outside
// [data, data + size) and never allocates more than the text can hold, whatever N says.
// Returns true when the count, the scale factor and all N samples were read.
bool ParseVoiceData(const char* data, size_t size, VoiceSamples& out);

// Reads a voice data file into out: a file ending early is read as far as it goes (see
// ParseVoiceData), and a text file bigger than kMaxVoiceFileBytes only up to that size.
// Fails with "Can't open voicing samples file:" and the path, leaving out unchanged, when
// the file cannot be opened or read or is a folder, device or pipe; fails for good with
// "malloc failed for natural samples" when there is no memory for its samples.
Report ReadVoiceFile(const std::string& path, VoiceSamples& out);

constexpr size_t kMaxVoiceFileBytes = size_t{256} << 20;

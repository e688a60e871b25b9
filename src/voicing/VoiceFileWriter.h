// Writes voice data files: sample count, scale factor, then one sample per line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes the file through a temporary file beside it that replaces the old one only when
// everything was written, so a failure never leaves a damaged voice behind. Reports a file
// that cannot be created with the program's file-error message; false on any failure.
bool WriteVoiceFile(const std::string& path, const std::vector<int32_t>& samples,
                    double scaleFactor);

// The text of a voice data file: the count, the scale factor (six significant digits), then
// one sample per line; WriteVoiceFile writes exactly this.
std::string VoiceFileText(const std::vector<int32_t>& samples, double scaleFactor);

// Rounds the voicing, multiplied by `gain`, to integer samples (saturating at the 32-bit
// range, far beyond any calibrated voice).
std::vector<int32_t> QuantizeVoicing(const std::vector<double>& voicing, double gain);

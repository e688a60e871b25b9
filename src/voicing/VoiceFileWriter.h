// Writes voice data files: sample count, scale factor, then one sample per line.
#pragma once

#include "base/Report.h"

#include <cstdint>
#include <string>
#include <vector>

// Writes the file as ReplaceFileContents does (a temporary file beside it, flushed and then
// renamed over the old one), so a failure never leaves a damaged voice behind. Fails with
// the program's file-error message (caption "Error").
Report WriteVoiceFile(const std::string& path, const std::vector<int32_t>& samples,
                      double scaleFactor);

// The text of a voice data file: the count, the scale factor (six significant digits), then
// one sample per line.
std::string VoiceFileText(const std::vector<int32_t>& samples, double scaleFactor);

// Rounds the voicing, multiplied by `gain`, to integer samples (saturating at the 32-bit
// range, far beyond any calibrated voice).
std::vector<int32_t> QuantizeVoicing(const std::vector<double>& voicing, double gain);

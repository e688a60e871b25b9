// Makes a voice data file to order: a pitch (or a glide), perturbations and a seed, shaped
// and calibrated like the bundled voices.
#pragma once

#include "voicing/BundledVoices.h"

#include <cstdint>
#include <optional>
#include <string>

// What a new voice should be. Perturbations left empty take the bundled voices' values at
// the voice's pitch.
struct VoiceRequest {
    double f0 = 0;                        // Hz at the start, 50 to 500
    std::optional<double> f0End;          // Hz reached after the glide, 50 to 500; none: level
    std::optional<double> jitterPercent;  // local jitter, 0 to 5 %
    std::optional<double> shimmerPercent; // local shimmer, 0 to 20 %
    std::optional<double> breathPercent;  // breath noise against the excitation, 0 to 10 %
    uint32_t seed = 1;                    // the random draws; the same request, the same file
};

constexpr double kLowestVoiceF0 = 50;
constexpr double kHighestVoiceF0 = 500;
constexpr double kVoiceGlideSeconds = 0.5; // the glide takes the first 500 ms, then F0 stays

// Below this pitch a voice is set up like the male voice (its loudness set on the male
// preset vowels at tilt 0), from it on like the female and child voices (female presets,
// tilt 6). It lies near the geometric mean of the male and female voices' 115 and 216 Hz.
constexpr double kHigherVoiceF0 = 160;

// Why the request cannot be made ("" when it can): a value outside its range.
std::string CheckVoiceRequest(const VoiceRequest& request);

// The pitch that decides the voice's pulse shape, default perturbations and
// calibration: the geometric mean of the start and end F0 (the F0 itself without a glide).
double CharacteristicF0(const VoiceRequest& request);

// The voice as the generator and the calibration take it. The pulse shape (open and speed
// quotients, return phase) and the default perturbations follow the bundled voices (115, 216 and
// 300 Hz) along the log of the characteristic F0, held beyond the lowest and highest; a made voice
// has no slow melody, so that it keeps the asked pitch. The file name is fileName.
BundledVoice MadeVoiceOf(const VoiceRequest& request, const std::string& fileName);

// Generates the voice (kVoiceFileSamples samples), calibrates it like the bundled voices and
// writes it to path by the rules of document saves (a temporary file renamed over the
// target, a link written through, a folder, device or pipe refused). Returns "" on success,
// else the message to show; an existing file is then left as it was.
std::string MakeVoice(const VoiceRequest& request, const std::string& path);

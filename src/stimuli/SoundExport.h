// Exports rendered vowels: resampled with libsamplerate, encoded with libsndfile, written by
// the rules of document saves.
#pragma once

#include "stimuli/SoundFormat.h"
#include "stimuli/VowelStimulus.h"

#include <string>
#include <vector>

// The sound (in 16-bit units at kRenderedRate) resampled to `rate` with libsamplerate's best
// sinc converter: lround(size x rate / 10000) samples. Returns "" or the converter's message.
std::string ResampleSound(const std::vector<double>& sound, int rate, std::vector<double>& out);

// The complete file image of the vowel in the format and type asked for. At 10000 samples
// per second in 16 bits the samples are exactly the chart's; otherwise the sound before
// truncation is resampled and rounded to the format (PCM clipped at full scale, which only
// an overshoot of the resampler between samples can reach). Returns "" or the message.
std::string EncodeSound(const RenderedVowel& vowel, const SoundFormat& format, SoundFileType type,
                        std::string& bytes);

// Why an export failed: the format or the file name, the rendering (an unusable voice file,
// say: a bad value of the request), or the writing.
enum class ExportFailure { None, BadFormat, Rendering, Writing };

struct ExportResult {
    ExportFailure failure = ExportFailure::None;
    std::string message; // the message to show, unless failure is None
};

// Renders the vowel as the chart plays it and writes it to path, a .wav or .flac file, in the
// given format. Nothing is written unless everything succeeds.
ExportResult ExportVowel(const VowelStimulus& vowel, const SoundFormat& format,
                         const std::string& path);

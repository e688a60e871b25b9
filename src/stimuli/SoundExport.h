// Exports rendered vowels: resampled with libsoxr, encoded with libsndfile, written by
// the rules of document saves.
#pragma once

#include "stimuli/SoundFormat.h"
#include "stimuli/VowelStimulus.h"

#include <string>
#include <vector>

// The sound (in 16-bit units at kRenderedRate) resampled to `rate` with libsoxr at its very
// high quality (linear phase, everything above 5 kHz more than 95 dB down): lround(size x
// rate / 10000) samples. Returns "" or the resampler's message.
std::string ResampleSound(const std::vector<double>& sound, int rate, std::vector<double>& out);

// A vowel at the rate of the file it goes into, before its level is set and its samples are
// rounded to the format.
struct SoundAtRate {
    const RenderedVowel* vowel = nullptr;
    std::vector<double> samples; // the exact sound, resampled unless at kRenderedRate
    double peak = 0;             // largest magnitude of samples (16-bit units)
    double rms = 0;              // root mean square of samples (16-bit units)
};

std::string PrepareSound(const RenderedVowel& vowel, int rate, SoundAtRate& sound);

// The level a sound was written at: its gain against the vowel's own level (as the engine
// renders it, before any scaling) and the RMS of the file, both in dB (full scale 0 dB).
struct AppliedLevel {
    double gainDb = 0;
    double rmsDbfs = 0;
};

// The gain (a factor on SoundAtRate::samples) of each of the sounds for the level asked:
// for Natural one common factor that keeps the vowels' own level relations (and fits the
// loudest into an integer format), for Peak and Rms one per sound. Returns "" or why the
// level cannot be had: an RMS at which a sound would clip in an integer format.
std::string LevelGains(const std::vector<const SoundAtRate*>& sounds, const SoundLevel& level,
                       SampleFormat format, std::vector<double>& gains);

// The complete file image of the sound at the gain, and the level it got. At 10000 samples
// per second in 16 bits at the vowel's chart level the samples are exactly the chart's;
// otherwise they are rounded to the format (PCM clipped at full scale, which only an overshoot
// of the resampler between samples can reach). Returns "" or the message.
std::string EncodeSound(const SoundAtRate& sound, double gain, const SoundFormat& format,
                        SoundFileType type, std::string& bytes, AppliedLevel& applied);

// Why an export failed: the format or the file name, the rendering (an unusable voice file,
// say: a bad value of the request), or the writing.
enum class ExportFailure { None, BadFormat, Rendering, Writing };

struct ExportResult {
    ExportFailure failure = ExportFailure::None; // BadFormat also for a level that cannot be had
    std::string message;                         // the message to show, unless failure is None
};

// Renders the vowel as the chart plays it into the complete file image of the given type,
// format and level, and says what level it got.
ExportResult RenderSoundFile(const VowelStimulus& vowel, const SoundFormat& format,
                             const SoundLevel& level, SoundFileType type, std::string& bytes,
                             AppliedLevel& applied);

// Renders the vowel and writes it to path, a .wav or .flac file, in the given format and at
// the level. Nothing is written unless everything succeeds.
ExportResult ExportVowel(const VowelStimulus& vowel, const SoundFormat& format,
                         const std::string& path, const SoundLevel& level = {},
                         AppliedLevel* applied = nullptr);

// How an exported sound is stored: its sample rate, its sample format and its file type.
#pragma once

#include <array>
#include <string>

enum class SampleFormat { Pcm16, Pcm24, Float32 };
enum class SoundFileType { Unknown, Wav, Flac };

struct SoundFormat {
    int sampleRate = 10000; // 10000 keeps the sound as rendered; else resampled
    SampleFormat sampleFormat = SampleFormat::Pcm16;
};

// The level a sound is written at.
enum class LevelRule {
    Natural, // the vowel's own level; an integer file that would clip is scaled down to fit
    Peak,    // the peak at full scale
    Rms,     // the RMS at rmsDb
};

struct SoundLevel {
    LevelRule rule = LevelRule::Natural;
    double rmsDb = -20; // dB against full scale (a full-scale square wave is 0 dB)
};

constexpr double kLowestRmsDb = -80;
constexpr double kHighestRmsDb = 0;

// "natural", "peak" or "rms=DB" (DB from -80 to 0, a decimal number) as the command line and
// the settings name them; "" or why the text names no level.
std::string ParseSoundLevel(const std::string& text, SoundLevel& level);
std::string SoundLevelName(const SoundLevel& level);

// The rates a sound can be exported at: as rendered, or resampled to a common rate.
constexpr std::array<int, 4> kExportRates = {10000, 22050, 44100, 48000};

// "pcm16", "pcm24" and "float" (as the command line names them).
bool ParseSampleFormat(const std::string& name, SampleFormat& format);
std::string SampleFormatName(SampleFormat format);

// The file type a name asks for by its extension, in any case: .wav or .flac.
SoundFileType SoundFileTypeOf(const std::string& path);

// Why a sound cannot be written so ("" when it can): a rate not in kExportRates, a name that
// is neither .wav nor .flac, or 32-bit float in FLAC, which holds whole numbers only.
std::string CheckSoundFormat(const SoundFormat& format, SoundFileType type);

#include "stimuli/SoundFormat.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

bool ParseSampleFormat(const std::string& name, SampleFormat& format) {
    for (SampleFormat candidate :
         {SampleFormat::Pcm16, SampleFormat::Pcm24, SampleFormat::Float32}) {
        if (name == SampleFormatName(candidate)) {
            format = candidate;
            return true;
        }
    }
    return false;
}

std::string SampleFormatName(SampleFormat format) {
    switch (format) {
    case SampleFormat::Pcm16:
        return "pcm16";
    case SampleFormat::Pcm24:
        return "pcm24";
    case SampleFormat::Float32:
        break;
    }
    return "float";
}

SoundFileType SoundFileTypeOf(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".wav")
        return SoundFileType::Wav;
    if (extension == ".flac")
        return SoundFileType::Flac;
    return SoundFileType::Unknown;
}

std::string CheckSoundFormat(const SoundFormat& format, SoundFileType type) {
    if (std::find(kExportRates.begin(), kExportRates.end(), format.sampleRate) ==
        kExportRates.end())
        return "The sample rate " + std::to_string(format.sampleRate) +
               " Hz is not one of 10000 (as rendered), 22050, 44100 and 48000 Hz.";
    if (type == SoundFileType::Unknown)
        return "The file name must end in .wav or .flac.";
    if (type == SoundFileType::Flac && format.sampleFormat == SampleFormat::Float32)
        return "FLAC holds 16- or 24-bit samples, not 32-bit float; choose WAV or another "
               "sample format.";
    return "";
}

std::string ParseSoundLevel(const std::string& text, SoundLevel& level) {
    if (text == "natural" || text == "peak") {
        level = {text == "natural" ? LevelRule::Natural : LevelRule::Peak, level.rmsDb};
        return "";
    }
    const std::string problem = "The level must be natural, peak or rms=DB with DB from -80 to 0 "
                                "(dB against full scale), not \"" +
                                text + "\".";
    if (text.rfind("rms=", 0) != 0)
        return problem;
    const std::string number = text.substr(4);
    char* end = nullptr;
    const double db = std::strtod(number.c_str(), &end);
    if (number.empty() || *end != '\0' || !std::isfinite(db) || db < kLowestRmsDb ||
        db > kHighestRmsDb)
        return problem;
    level = {LevelRule::Rms, db};
    return "";
}

std::string SoundLevelName(const SoundLevel& level) {
    switch (level.rule) {
    case LevelRule::Natural:
        return "natural";
    case LevelRule::Peak:
        return "peak";
    case LevelRule::Rms:
        break;
    }
    char text[32];
    std::snprintf(text, sizeof text, "rms=%g", level.rmsDb);
    return text;
}

#include "stimuli/SoundFormat.h"

#include <algorithm>
#include <cctype>
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

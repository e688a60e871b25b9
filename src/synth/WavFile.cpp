#include "synth/WavFile.h"

#include "base/MessageBox.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

void PutTag(std::vector<uint8_t>& bytes, const char* tag) {
    bytes.insert(bytes.end(), tag, tag + 4);
}

void PutLittleEndian(std::vector<uint8_t>& bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<uint8_t>((value >> (8 * i)) & 0xFF));
}

} // namespace

std::string WavPathFromRawPath(const std::string& rawPath) {
    const size_t nameStart = rawPath.find_last_of('/') + 1; // npos + 1 == 0
    const size_t dot = rawPath.find_last_of('.');
    // Only a dot inside the last component, and not its first character, starts an extension.
    if (dot == std::string::npos || dot <= nameStart)
        return rawPath;
    return rawPath.substr(0, dot) + ".wav";
}

int64_t PeakMagnitude(const std::vector<int32_t>& samples) {
    int64_t peak = 0;
    for (int32_t sample : samples)
        peak = std::max(peak, sample < 0 ? -int64_t{sample} : int64_t{sample});
    return peak;
}

int16_t ScaleToSixteenBits(int32_t sample, int64_t peak) {
    int32_t scaled = sample;
    if (peak > 32767)
        scaled = static_cast<int32_t>(std::trunc(double(sample) / double(peak) * 32767.0));
    // A quieter sound is written as it is; its low 16 bits are the sample.
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(scaled) & 0xFFFF));
}

std::vector<uint8_t> EncodeWav(const std::vector<int32_t>& samples) {
    const uint32_t dataBytes = static_cast<uint32_t>(2 * samples.size());
    std::vector<uint8_t> bytes;
    bytes.reserve(kWavHeaderBytes + dataBytes);
    PutTag(bytes, "RIFF");
    PutLittleEndian(bytes, 36 + dataBytes, 4);
    PutTag(bytes, "WAVE");
    PutTag(bytes, "fmt ");
    PutLittleEndian(bytes, 16, 4);                 // chunk size
    PutLittleEndian(bytes, 1, 2);                  // PCM
    PutLittleEndian(bytes, 1, 2);                  // one channel
    PutLittleEndian(bytes, kWavSampleRate, 4);     // samples per second
    PutLittleEndian(bytes, 2 * kWavSampleRate, 4); // bytes per second
    PutLittleEndian(bytes, 2, 2);                  // bytes per sample frame
    PutLittleEndian(bytes, 16, 2);                 // bits per sample
    PutTag(bytes, "data");
    PutLittleEndian(bytes, dataBytes, 4);
    const int64_t peak = PeakMagnitude(samples);
    for (int32_t sample : samples)
        PutLittleEndian(bytes, static_cast<uint16_t>(ScaleToSixteenBits(sample, peak)), 2);
    return bytes;
}

bool WriteWavFile(const std::string& path, const std::vector<int32_t>& samples) {
    const std::vector<uint8_t> bytes = EncodeWav(samples);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        ShowMessage("can't open wav-output file", "Error", MsgIcon::Error);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        const int error = written ? errno : writeError;
        ShowMessage("Can't write wav-output file:\n" + path + "\n" + std::strerror(error), "Error",
                    MsgIcon::Error);
        return false;
    }
    return true;
}

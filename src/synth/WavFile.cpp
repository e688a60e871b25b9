#include "synth/WavFile.h"

#include "base/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <unistd.h>

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
    bytes.reserve(kWavHeaderBytes);
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
    bytes.resize(kWavHeaderBytes + dataBytes);
    const int64_t peak = PeakMagnitude(samples);
    uint8_t* out = bytes.data() + kWavHeaderBytes;
    for (int32_t sample : samples) {
        const auto bits = static_cast<uint16_t>(ScaleToSixteenBits(sample, peak));
        *out++ = static_cast<uint8_t>(bits & 0xFF);
        *out++ = static_cast<uint8_t>(bits >> 8);
    }
    return bytes;
}

namespace {

// Writes all bytes, continuing after partial writes and interruptions; false with errno set.
bool WriteAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// The file is overwritten in place and then cut to the new length instead of being emptied
// first: every rendering rewrites temp.wav, and emptying it makes the file system release
// and reallocate its blocks and flush them on close, which costs far more than rendering.
bool WriteImage(int fd, const std::vector<uint8_t>& bytes) {
    if (!WriteAll(fd, bytes.data(), bytes.size()))
        return false;
    return ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0;
}

} // namespace

Report WriteWavFile(const std::string& path, const std::vector<int32_t>& samples) {
    Report report;
    const std::vector<uint8_t> bytes = EncodeWav(samples);
    // Never through a link, so that a rendering writes nowhere but its own file; a folder,
    // device or pipe of that name is refused rather than written or waited on.
    int fd = -1;
    if (OpenScratchFileForWriting(path, fd) != 0) {
        report.Fail("can't open wav-output file", "Error", MsgIcon::Error);
        return report;
    }
    const bool written = WriteImage(fd, bytes);
    const int writeError = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        const int error = written ? errno : writeError;
        report.Fail("Can't write wav-output file:\n" + path + "\n" + std::strerror(error), "Error",
                    MsgIcon::Error);
    }
    return report;
}

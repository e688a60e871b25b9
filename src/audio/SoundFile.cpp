#include "audio/SoundFile.h"

#include "base/SafeFile.h"

#include <sndfile.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <unistd.h>

namespace {

bool IsFloatFile(const SF_INFO& info) {
    const int subtype = info.format & SF_FORMAT_SUBMASK;
    return subtype == SF_FORMAT_FLOAT || subtype == SF_FORMAT_DOUBLE;
}

int16_t FloatToSample(float value) {
    if (std::isnan(value))
        return 0;
    const float scaled = std::nearbyint(value * 32767.0f);
    return static_cast<int16_t>(std::clamp(scaled, -32768.0f, 32767.0f));
}

// Reads every frame as 16-bit samples. Float samples are taken with full scale at 1.0
// and clipped beyond it (libsndfile would pass them through unscaled or scale them to the
// file's own peak); they are converted a block at a time.
std::vector<int16_t> ReadSamples(SNDFILE* file, const SF_INFO& info) {
    const size_t count = static_cast<size_t>(info.frames * info.channels);
    std::vector<int16_t> samples(count);
    sf_count_t read = 0;
    if (IsFloatFile(info)) {
        constexpr sf_count_t kBlockFrames = 4096;
        std::vector<float> values(static_cast<size_t>(kBlockFrames * info.channels));
        while (read < info.frames) {
            const sf_count_t got =
                sf_readf_float(file, values.data(), std::min(kBlockFrames, info.frames - read));
            if (got <= 0)
                break;
            std::transform(values.begin(), values.begin() + got * info.channels,
                           samples.begin() + read * info.channels, &FloatToSample);
            read += got;
        }
    } else {
        read = sf_readf_short(file, samples.data(), info.frames);
    }
    samples.resize(static_cast<size_t>(read > 0 ? read * info.channels : 0));
    return samples;
}

// An open sound file, opened as every file the program reads is, so that a folder, device
// or pipe is refused before libsndfile sees it.
class OpenSound {
public:
    SoundFileStatus Open(const std::string& path, int* error) {
        if (const int cause = OpenRegularFileForReading(path, m_fd)) {
            if (error)
                *error = cause;
            return cause == EISDIR || cause == EINVAL ? SoundFileStatus::NotAFile
                                                      : SoundFileStatus::CannotOpen;
        }
        m_file = sf_open_fd(m_fd, SFM_READ, &m_info, SF_FALSE);
        if (!m_file)
            return SoundFileStatus::NotSound;
        // Guard against headers that claim absurd sizes before allocating for them.
        if (m_info.channels <= 0 || m_info.channels > 64 || m_info.samplerate <= 0 ||
            m_info.frames <= 0)
            return SoundFileStatus::NotSound;
        if (m_info.frames > kMaxSoundSamples / m_info.channels)
            return SoundFileStatus::TooLong;
        return SoundFileStatus::Ok;
    }
    ~OpenSound() {
        if (m_file)
            sf_close(m_file);
        if (m_fd >= 0)
            ::close(m_fd);
    }

    SNDFILE* File() const { return m_file; }
    const SF_INFO& Info() const { return m_info; }

private:
    int m_fd = -1;
    SNDFILE* m_file = nullptr;
    SF_INFO m_info{};
};

} // namespace

int64_t DecodedSound::DurationMs() const {
    if (sampleRate <= 0)
        return 0;
    return (static_cast<int64_t>(Frames()) * 1000 + sampleRate - 1) / sampleRate;
}

SoundFileStatus ReadSoundFileFormat(const std::string& path, SoundFileFormat& format, int* error) {
    OpenSound sound;
    const SoundFileStatus status = sound.Open(path, error);
    if (status == SoundFileStatus::Ok || status == SoundFileStatus::TooLong)
        format = {sound.Info().samplerate, sound.Info().channels, sound.Info().frames};
    return status;
}

bool DecodeSoundFile(const std::string& path, DecodedSound& sound, SoundFileStatus* status) {
    sound = DecodedSound();
    OpenSound file;
    SoundFileStatus result = file.Open(path, nullptr);
    if (result == SoundFileStatus::Ok) {
        sound.samples = ReadSamples(file.File(), file.Info());
        if (sound.samples.empty())
            result = SoundFileStatus::NotSound;
    }
    if (status)
        *status = result;
    if (result != SoundFileStatus::Ok) {
        sound = DecodedSound();
        return false;
    }
    sound.sampleRate = file.Info().samplerate;
    sound.channels = file.Info().channels;
    return true;
}

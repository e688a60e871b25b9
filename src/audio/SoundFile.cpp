#include "audio/SoundFile.h"

#include <sndfile.h>

int64_t DecodedSound::DurationMs() const {
    if (sampleRate <= 0)
        return 0;
    return (static_cast<int64_t>(Frames()) * 1000 + sampleRate - 1) / sampleRate;
}

bool DecodeSoundFile(const std::string& path, DecodedSound& sound) {
    sound = DecodedSound();
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return false;
    // Guard against headers that claim absurd sizes before allocating for them.
    const sf_count_t kMaxFrames = sf_count_t(1) << 28;
    const bool sane = info.channels > 0 && info.channels <= 64 && info.samplerate > 0 &&
                      info.frames > 0 && info.frames <= kMaxFrames / info.channels;
    DecodedSound decoded;
    if (sane) {
        decoded.sampleRate = info.samplerate;
        decoded.channels = info.channels;
        decoded.samples.resize(static_cast<size_t>(info.frames * info.channels));
        // Float samples beyond full scale are clipped, not wrapped round.
        sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
        const sf_count_t read = sf_readf_short(file, decoded.samples.data(), info.frames);
        decoded.samples.resize(static_cast<size_t>(read > 0 ? read * info.channels : 0));
    }
    sf_close(file);
    if (decoded.samples.empty())
        return false;
    sound = std::move(decoded);
    return true;
}

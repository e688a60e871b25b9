#include "audio/SoundFile.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

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
// file's own peak).
std::vector<int16_t> ReadSamples(SNDFILE* file, const SF_INFO& info) {
    const size_t count = static_cast<size_t>(info.frames * info.channels);
    std::vector<int16_t> samples(count);
    sf_count_t read = 0;
    if (IsFloatFile(info)) {
        std::vector<float> values(count);
        read = sf_readf_float(file, values.data(), info.frames);
        std::transform(values.begin(), values.end(), samples.begin(), &FloatToSample);
    } else {
        read = sf_readf_short(file, samples.data(), info.frames);
    }
    samples.resize(static_cast<size_t>(read > 0 ? read * info.channels : 0));
    return samples;
}

} // namespace

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
        decoded.samples = ReadSamples(file, info);
    }
    sf_close(file);
    if (decoded.samples.empty())
        return false;
    sound = std::move(decoded);
    return true;
}

#include "stimuli/SoundExport.h"

#include "base/SafeFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <sndfile.h>
#include <soxr.h>

namespace {

// A sound file growing in memory, for libsndfile's virtual input and output.
struct MemoryFile {
    std::string bytes;
    sf_count_t position = 0;
};

sf_count_t MemoryLength(void* user) {
    return static_cast<sf_count_t>(static_cast<MemoryFile*>(user)->bytes.size());
}

sf_count_t MemorySeek(sf_count_t offset, int whence, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    sf_count_t base = 0;
    if (whence == SEEK_CUR)
        base = file->position;
    else if (whence == SEEK_END)
        base = static_cast<sf_count_t>(file->bytes.size());
    if (base + offset < 0)
        return -1;
    file->position = base + offset;
    return file->position;
}

sf_count_t MemoryRead(void* data, sf_count_t count, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    const auto size = static_cast<sf_count_t>(file->bytes.size());
    const sf_count_t available = std::max<sf_count_t>(0, std::min(count, size - file->position));
    if (available > 0)
        std::memcpy(data, file->bytes.data() + file->position, static_cast<size_t>(available));
    file->position += available;
    return available;
}

sf_count_t MemoryWrite(const void* data, sf_count_t count, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    const auto end = static_cast<size_t>(file->position + count);
    if (end > file->bytes.size())
        file->bytes.resize(end);
    std::memcpy(file->bytes.data() + file->position, data, static_cast<size_t>(count));
    file->position += count;
    return count;
}

sf_count_t MemoryTell(void* user) {
    return static_cast<MemoryFile*>(user)->position;
}

int SndfileFormat(const SoundFormat& format, SoundFileType type) {
    int code = type == SoundFileType::Flac ? SF_FORMAT_FLAC : SF_FORMAT_WAV;
    switch (format.sampleFormat) {
    case SampleFormat::Pcm16:
        return code | SF_FORMAT_PCM_16;
    case SampleFormat::Pcm24:
        return code | SF_FORMAT_PCM_24;
    case SampleFormat::Float32:
        break;
    }
    return code | SF_FORMAT_FLOAT;
}

// Rounds to a whole number of `scale` steps per 16-bit unit, clipped to the format's range;
// libsndfile is handed whole numbers, so that it converts nothing itself.
template <typename Sample>
std::vector<Sample> Rounded(const std::vector<double>& sound, double scale, double highest) {
    std::vector<Sample> out(sound.size());
    for (size_t i = 0; i < sound.size(); ++i)
        out[i] =
            static_cast<Sample>(std::clamp(std::round(sound[i] * scale), -highest - 1, highest));
    return out;
}

// Writes the samples (16-bit units, at the gain) through libsndfile into the memory file;
// "" or libsndfile's message. The chart's own samples are written when asChart.
std::string Encode(const RenderedVowel& vowel, bool asChart, const std::vector<double>& sound,
                   double gain, const SoundFormat& format, SoundFileType type, MemoryFile& memory) {
    SF_VIRTUAL_IO io{&MemoryLength, &MemorySeek, &MemoryRead, &MemoryWrite, &MemoryTell};
    SF_INFO info{};
    info.samplerate = format.sampleRate;
    info.channels = 1;
    info.format = SndfileFormat(format, type);
    SNDFILE* file = sf_open_virtual(&io, SFM_WRITE, &info, &memory);
    if (!file)
        return std::string("The sound could not be encoded: ") + sf_strerror(nullptr) + ".";
    sf_count_t written = 0;
    sf_count_t expected = static_cast<sf_count_t>(sound.size());
    if (asChart) {
        expected = static_cast<sf_count_t>(vowel.pcm16.size());
        written = sf_write_short(file, vowel.pcm16.data(), expected);
    } else if (format.sampleFormat == SampleFormat::Pcm16) {
        const auto samples = Rounded<short>(sound, gain, 32767);
        written = sf_write_short(file, samples.data(), expected);
    } else if (format.sampleFormat == SampleFormat::Pcm24) {
        // libsndfile keeps the top 24 bits of an int: round to 24 bits, then move them up.
        auto samples = Rounded<int>(sound, 256 * gain, 8388607);
        for (int& sample : samples)
            sample = static_cast<int>(static_cast<unsigned>(sample) << 8);
        written = sf_write_int(file, samples.data(), expected);
    } else {
        std::vector<float> samples(sound.size());
        for (size_t i = 0; i < sound.size(); ++i)
            samples[i] = static_cast<float>(sound[i] * gain / 32768.0);
        written = sf_write_float(file, samples.data(), expected);
    }
    const std::string error = written == expected ? "" : sf_strerror(file);
    if (sf_close(file) != 0 || !error.empty())
        return "The sound could not be encoded: " + (error.empty() ? "closing failed" : error) +
               ".";
    return "";
}

double Decibels(double ratio) {
    return ratio > 0 ? 20 * std::log10(ratio) : -std::numeric_limits<double>::infinity();
}

constexpr double kFullScale = 32768;  // 0 dB: a full-scale square wave, in 16-bit units
constexpr double kHighestPcm = 32767; // the largest sample an integer format holds

std::string DbText(double db) {
    char text[32];
    std::snprintf(text, sizeof text, "%+.1f", db);
    return text;
}

} // namespace

std::string ResampleSound(const std::vector<double>& sound, int rate, std::vector<double>& out) {
    const double ratio = static_cast<double>(rate) / kRenderedRate;
    const auto length = static_cast<size_t>(std::lround(static_cast<double>(sound.size()) * ratio));
    out.assign(length, 0.0);
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT64_I, SOXR_FLOAT64_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_VHQ, 0);
    size_t done = 0;
    // One call: the whole sound in, its whole length out (the filter's delay is taken off).
    if (soxr_error_t error =
            soxr_oneshot(kRenderedRate, rate, 1, sound.data(), sound.size(), nullptr, out.data(),
                         length, &done, &io, &quality, nullptr))
        return std::string("The sound could not be resampled: ") + error + ".";
    // Anything the resampler did not give at the very end is silence: the sound has faded.
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(std::min(done, length)), out.end(), 0.0);
    return "";
}

std::string PrepareSound(const RenderedVowel& vowel, int rate, SoundAtRate& sound) {
    sound.vowel = &vowel;
    if (rate == kRenderedRate)
        sound.samples = vowel.exact;
    else if (std::string problem = ResampleSound(vowel.exact, rate, sound.samples);
             !problem.empty())
        return problem;
    double peak = 0, energy = 0;
    for (double sample : sound.samples) {
        peak = std::max(peak, std::abs(sample));
        energy += sample * sample;
    }
    sound.peak = peak;
    sound.rms = sound.samples.empty() ? 0 : std::sqrt(energy / double(sound.samples.size()));
    return "";
}

std::string LevelGains(const std::vector<const SoundAtRate*>& sounds, const SoundLevel& level,
                       SampleFormat format, std::vector<double>& gains) {
    const bool integer = format != SampleFormat::Float32;
    gains.assign(sounds.size(), 1.0);
    if (level.rule == LevelRule::Natural) {
        // At their own levels; an integer file takes them scaled into 16 bits as the chart does,
        // all by the factor of the one that needed the most.
        double common = 1;
        if (integer)
            for (const SoundAtRate* sound : sounds)
                common = std::min(common, sound->vowel->ownScale);
        for (size_t i = 0; i < sounds.size(); ++i)
            gains[i] = common / sounds[i]->vowel->ownScale;
        return "";
    }
    for (size_t i = 0; i < sounds.size(); ++i) {
        const SoundAtRate& sound = *sounds[i];
        if (sound.peak <= 0)
            continue; // silence stays silence
        if (level.rule == LevelRule::Peak) {
            gains[i] = kHighestPcm / sound.peak;
            continue;
        }
        gains[i] = kFullScale * std::pow(10.0, level.rmsDb / 20) / sound.rms;
        if (integer && sound.peak * gains[i] > kHighestPcm + 0.5)
            return "At an RMS of " + DbText(level.rmsDb) + " dB the " +
                   (sounds.size() > 1 ? "vowel of step " + std::to_string(i + 1) : "vowel") +
                   " would clip (its peak would reach " +
                   DbText(Decibels(sound.peak * gains[i] / kFullScale)) +
                   " dB against full scale); choose a level of at most " +
                   DbText(Decibels(sound.rms * kHighestPcm / sound.peak / kFullScale)) +
                   " dB, or 32-bit float.";
    }
    return "";
}

std::string EncodeSound(const SoundAtRate& sound, double gain, const SoundFormat& format,
                        SoundFileType type, std::string& bytes, AppliedLevel& applied) {
    if (std::string problem = CheckSoundFormat(format, type); !problem.empty())
        return problem;
    const RenderedVowel& vowel = *sound.vowel;
    // The chart's own samples when nothing changes them.
    const bool asChart = format.sampleFormat == SampleFormat::Pcm16 &&
                         format.sampleRate == kRenderedRate && gain == 1.0;
    MemoryFile memory;
    if (std::string problem = Encode(vowel, asChart, sound.samples, gain, format, type, memory);
        !problem.empty())
        return problem;
    bytes = std::move(memory.bytes);
    applied.gainDb = Decibels(gain * vowel.ownScale);
    applied.rmsDbfs = Decibels(sound.rms * gain / kFullScale);
    return "";
}

ExportResult RenderSoundFile(const VowelStimulus& vowel, const SoundFormat& format,
                             const SoundLevel& level, SoundFileType type, std::string& bytes,
                             AppliedLevel& applied) {
    if (std::string problem = CheckSoundFormat(format, type); !problem.empty())
        return {ExportFailure::BadFormat, problem};
    RenderedVowel rendered;
    if (std::string problem = RenderStimulus(vowel, rendered); !problem.empty())
        return {ExportFailure::Rendering, problem};
    SoundAtRate sound;
    if (std::string problem = PrepareSound(rendered, format.sampleRate, sound); !problem.empty())
        return {ExportFailure::Writing, problem};
    std::vector<double> gains;
    if (std::string problem = LevelGains({&sound}, level, format.sampleFormat, gains);
        !problem.empty())
        return {ExportFailure::BadFormat, problem};
    if (std::string problem = EncodeSound(sound, gains[0], format, type, bytes, applied);
        !problem.empty())
        return {ExportFailure::Writing, problem};
    return {};
}

ExportResult ExportVowel(const VowelStimulus& vowel, const SoundFormat& format,
                         const std::string& path, const SoundLevel& level, AppliedLevel* applied) {
    const SoundFileType type = SoundFileTypeOf(path);
    if (std::string problem = CheckSoundFormat(format, type); !problem.empty())
        return {ExportFailure::BadFormat, problem};
    if (std::string problem = CheckOutputName(path); !problem.empty())
        return {ExportFailure::Writing, problem};
    std::string bytes;
    AppliedLevel got;
    if (ExportResult result = RenderSoundFile(vowel, format, level, type, bytes, got);
        result.failure != ExportFailure::None)
        return result;
    if (std::string problem = WriteOutputFile(path, bytes); !problem.empty())
        return {ExportFailure::Writing, problem};
    if (applied)
        *applied = got;
    return {};
}

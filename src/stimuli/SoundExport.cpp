#include "stimuli/SoundExport.h"

#include "base/SafeFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <samplerate.h>
#include <sndfile.h>

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

// Writes the samples through libsndfile into the memory file; "" or libsndfile's message.
std::string Encode(const RenderedVowel& vowel, const std::vector<double>& sound,
                   const SoundFormat& format, SoundFileType type, MemoryFile& memory) {
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
    if (format.sampleFormat == SampleFormat::Pcm16 && format.sampleRate == kRenderedRate) {
        expected = static_cast<sf_count_t>(vowel.pcm16.size());
        written = sf_write_short(file, vowel.pcm16.data(), expected);
    } else if (format.sampleFormat == SampleFormat::Pcm16) {
        const auto samples = Rounded<short>(sound, 1, 32767);
        written = sf_write_short(file, samples.data(), expected);
    } else if (format.sampleFormat == SampleFormat::Pcm24) {
        // libsndfile keeps the top 24 bits of an int: round to 24 bits, then move them up.
        auto samples = Rounded<int>(sound, 256, 8388607);
        for (int& sample : samples)
            sample = static_cast<int>(static_cast<unsigned>(sample) << 8);
        written = sf_write_int(file, samples.data(), expected);
    } else {
        std::vector<float> samples(sound.size());
        for (size_t i = 0; i < sound.size(); ++i)
            samples[i] = static_cast<float>(sound[i] / 32768.0);
        written = sf_write_float(file, samples.data(), expected);
    }
    const std::string error = written == expected ? "" : sf_strerror(file);
    if (sf_close(file) != 0 || !error.empty())
        return "The sound could not be encoded: " + (error.empty() ? "closing failed" : error) +
               ".";
    return "";
}

} // namespace

std::string ResampleSound(const std::vector<double>& sound, int rate, std::vector<double>& out) {
    const double ratio = static_cast<double>(rate) / kRenderedRate;
    const auto length = static_cast<size_t>(std::lround(static_cast<double>(sound.size()) * ratio));
    std::vector<float> in(sound.size());
    for (size_t i = 0; i < sound.size(); ++i)
        in[i] = static_cast<float>(sound[i] / 32768.0);
    // Room for a few samples more than the sound's length, which src_simple may produce.
    std::vector<float> resampled(length + 16);
    SRC_DATA data{};
    data.data_in = in.data();
    data.input_frames = static_cast<long>(in.size());
    data.data_out = resampled.data();
    data.output_frames = static_cast<long>(resampled.size());
    data.src_ratio = ratio;
    data.end_of_input = 1;
    if (int error = src_simple(&data, SRC_SINC_BEST_QUALITY, 1))
        return std::string("The sound could not be resampled: ") + src_strerror(error) + ".";
    // The converter may stop a sample short of the exact length; the sound has faded to
    // silence by then, so the missing end is silence.
    resampled.resize(static_cast<size_t>(data.output_frames_gen));
    resampled.resize(length, 0.0f);
    out.resize(length);
    for (size_t i = 0; i < length; ++i)
        out[i] = resampled[i] * 32768.0;
    return "";
}

std::string EncodeSound(const RenderedVowel& vowel, const SoundFormat& format, SoundFileType type,
                        std::string& bytes) {
    if (std::string problem = CheckSoundFormat(format, type); !problem.empty())
        return problem;
    std::vector<double> resampled;
    if (format.sampleRate != kRenderedRate) {
        if (std::string problem = ResampleSound(vowel.exact, format.sampleRate, resampled);
            !problem.empty())
            return problem;
    }
    MemoryFile memory;
    const std::vector<double>& sound = format.sampleRate == kRenderedRate ? vowel.exact : resampled;
    if (std::string problem = Encode(vowel, sound, format, type, memory); !problem.empty())
        return problem;
    bytes = std::move(memory.bytes);
    return "";
}

ExportResult ExportVowel(const VowelStimulus& vowel, const SoundFormat& format,
                         const std::string& path) {
    const SoundFileType type = SoundFileTypeOf(path);
    if (std::string problem = CheckSoundFormat(format, type); !problem.empty())
        return {ExportFailure::BadFormat, problem};
    RenderedVowel rendered;
    if (std::string problem = RenderStimulus(vowel, rendered); !problem.empty())
        return {ExportFailure::Rendering, problem};
    std::string bytes;
    if (std::string problem = EncodeSound(rendered, format, type, bytes); !problem.empty())
        return {ExportFailure::Writing, problem};
    if (std::string problem = WriteOutputFile(path, bytes); !problem.empty())
        return {ExportFailure::Writing, problem};
    return {};
}

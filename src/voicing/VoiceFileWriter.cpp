#include "voicing/VoiceFileWriter.h"

#include "base/FileError.h"
#include "base/MessageBox.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

bool WriteVoiceFile(const std::string& path, const std::vector<int32_t>& samples,
                    double scaleFactor) {
    std::string partial = path + ".partial";
    FILE* file = std::fopen(partial.c_str(), "w");
    if (!file) {
        ShowFileError(partial, errno);
        return false;
    }
    bool written = std::fprintf(file, "%zu\n%.6g\n", samples.size(), scaleFactor) > 0;
    for (size_t i = 0; written && i < samples.size(); ++i) {
        written = std::fprintf(file, "%d\n", static_cast<int>(samples[i])) > 0;
    }
    int writeError = written ? 0 : errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        writeError = errno;
    }
    if (written && std::rename(partial.c_str(), path.c_str()) != 0) {
        written = false;
        writeError = errno;
    }
    if (!written) {
        std::remove(partial.c_str());
        ShowMessage("Could not write the voice file " + path + ": " +
                        std::string(std::strerror(writeError)),
                    "Error", MsgIcon::Error);
    }
    return written;
}

std::string VoiceFileText(const std::vector<int32_t>& samples, double scaleFactor) {
    char line[64];
    std::snprintf(line, sizeof line, "%zu\n%.6g\n", samples.size(), scaleFactor);
    std::string text = line;
    text.reserve(text.size() + 8 * samples.size());
    for (int32_t sample : samples) {
        std::snprintf(line, sizeof line, "%d\n", static_cast<int>(sample));
        text += line;
    }
    return text;
}

std::vector<int32_t> QuantizeVoicing(const std::vector<double>& voicing, double gain) {
    constexpr double kLimit = std::numeric_limits<int32_t>::max();
    std::vector<int32_t> samples(voicing.size());
    for (size_t i = 0; i < voicing.size(); ++i) {
        double value = std::clamp(std::round(voicing[i] * gain), -kLimit, kLimit);
        samples[i] = static_cast<int32_t>(value);
    }
    return samples;
}

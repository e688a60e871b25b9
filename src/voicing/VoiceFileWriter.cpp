#include "voicing/VoiceFileWriter.h"

#include "base/FileError.h"
#include "base/SafeFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

Report WriteVoiceFile(const std::string& path, const std::vector<int32_t>& samples,
                      double scaleFactor) {
    Report report;
    if (int error = ReplaceFileContents(path, VoiceFileText(samples, scaleFactor)))
        report.Fail(FileErrorText(path, FileErrorCauseFromErrno(error)), "Error", MsgIcon::Error);
    return report;
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

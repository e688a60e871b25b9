#include "synth/VoiceFile.h"

#include "base/FileError.h"
#include "base/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <limits>
#include <new>
#include <unistd.h>

namespace {

// Reads white-space separated numbers from a text held in memory.
class NumberReader {
public:
    NumberReader(const char* data, size_t size) : m_pos(data), m_end(data + size) {}

    // An integer in free form (sign; 0x hex, leading-0 octal or decimal), clamped to 32 bits.
    bool ReadInteger(int32_t& value) {
        SkipSpace();
        const char* p = m_pos;
        const bool negative = p < m_end && *p == '-';
        if (p < m_end && (*p == '-' || *p == '+'))
            ++p;
        int base = 10;
        if (p < m_end && *p == '0') {
            base = 8;
            if (m_end - p > 2 && (p[1] == 'x' || p[1] == 'X') && DigitValue(p[2]) < 16) {
                base = 16;
                p += 2;
            }
        }
        const char* digits = p;
        int64_t magnitude = 0;
        constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
        for (; p < m_end && DigitValue(*p) < base; ++p)
            magnitude = std::min(magnitude * base + DigitValue(*p), kLimit);
        if (p == digits)
            return false;
        const int64_t signedValue = negative ? -magnitude : std::min(magnitude, kLimit - 1);
        value = static_cast<int32_t>(signedValue);
        m_pos = p;
        return true;
    }

    // A real number: decimal or hexadecimal (0x) mantissa with optional exponent.
    bool ReadReal(float& value) {
        SkipSpace();
        const char* p = m_pos;
        const bool negative = p < m_end && *p == '-';
        if (p < m_end && (*p == '-' || *p == '+'))
            ++p;
        auto format = std::chars_format::general;
        if (m_end - p > 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') &&
            (DigitValue(p[2]) < 16 || p[2] == '.')) {
            format = std::chars_format::hex;
            p += 2;
        }
        if (p == m_end || *p == '-' || *p == '+')
            return false;
        double magnitude = 0.0;
        const auto result = std::from_chars(p, m_end, magnitude, format);
        if (result.ec == std::errc::invalid_argument)
            return false;
        // A value beyond double is still one number; the scale factor is never applied, so
        // it is simply kept as 0.
        if (result.ec == std::errc::result_out_of_range)
            magnitude = 0.0;
        value = static_cast<float>(negative ? -magnitude : magnitude);
        m_pos = result.ptr;
        return true;
    }

    // Upper bound of the numbers still in the text: each takes a character and a separator.
    size_t MaxRemainingNumbers() const { return static_cast<size_t>(m_end - m_pos) / 2 + 1; }

private:
    static int DigitValue(char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return 99;
    }

    void SkipSpace() {
        while (m_pos < m_end && (*m_pos == ' ' || (*m_pos >= '\t' && *m_pos <= '\r')))
            ++m_pos;
    }

    const char* m_pos;
    const char* m_end;
};

} // namespace

bool ParseVoiceData(const char* data, size_t size, VoiceSamples& out) {
    out = VoiceSamples{};
    NumberReader reader(data, size);
    int32_t count = 0;
    float scale = 0.0f;
    if (!reader.ReadInteger(count) || !reader.ReadReal(scale))
        return false;
    out.scale = scale;
    if (count <= 0)
        return count == 0;
    const size_t wanted = static_cast<size_t>(count);
    out.samples.reserve(std::min(wanted, reader.MaxRemainingNumbers()));
    int32_t sample = 0;
    while (out.samples.size() < wanted && reader.ReadInteger(sample))
        out.samples.push_back(sample);
    out.count = static_cast<int32_t>(out.samples.size());
    return out.samples.size() == wanted;
}

namespace {

// Reads the file's text, at most kMaxVoiceFileBytes of it; the errno value when it cannot
// be read, else 0.
int ReadVoiceText(const std::string& path, std::string& text) {
    // A folder, device or pipe is refused unread: a pipe would make the run wait forever.
    int fd = -1;
    if (const int error = OpenRegularFileForReading(path, fd))
        return error;
    std::FILE* file = ::fdopen(fd, "r");
    if (!file) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    char chunk[65536];
    bool truncated = false;
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        if (text.size() + got > kMaxVoiceFileBytes) {
            truncated = true;
            break;
        }
        text.append(chunk, got);
    }
    const int failed = !truncated && std::ferror(file) ? (errno ? errno : EIO) : 0;
    std::fclose(file);
    if (failed)
        return failed;
    if (truncated) {
        // Drop a number that may have been cut at the limit.
        const size_t lastSpace = text.find_last_of(" \t\n\v\f\r");
        text.resize(lastSpace == std::string::npos ? 0 : lastSpace);
    }
    return 0;
}

} // namespace

Report ReadVoiceFile(const std::string& path, VoiceSamples& out) {
    Report report;
    try {
        std::string text;
        if (const int error = ReadVoiceText(path, text)) {
            report.Fail("Can't open voicing samples file:\n" + path + "\n" + FileErrorReason(error),
                        "Error", MsgIcon::Error);
            return report;
        }
        ParseVoiceData(text.data(), text.size(), out);
    } catch (const std::bad_alloc&) {
        report.FailForGood("malloc failed for natural samples", "Error", MsgIcon::Error);
    }
    return report;
}

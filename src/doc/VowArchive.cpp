#include "doc/VowArchive.h"

#include <limits>

void VowWriter::PutLittleEndian(uint64_t value, int byteCount) {
    for (int i = 0; i < byteCount; ++i)
        m_bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void VowWriter::WriteString(std::string_view text) {
    const uint64_t n = text.size();
    if (n < 0xFF) {
        PutLittleEndian(n, 1);
    } else if (n < 0xFFFE) {
        PutLittleEndian(0xFF, 1);
        PutLittleEndian(n, 2);
    } else {
        PutLittleEndian(0xFF, 1);
        PutLittleEndian(0xFFFF, 2);
        PutLittleEndian(n, 4);
    }
    m_bytes.append(text);
}

bool VowReader::ReadLittleEndian(int byteCount, uint64_t& value) {
    if (Remaining() < static_cast<size_t>(byteCount))
        return false;
    value = 0;
    for (int i = 0; i < byteCount; ++i)
        value |= static_cast<uint64_t>(static_cast<unsigned char>(m_bytes[m_pos + i])) << (8 * i);
    m_pos += byteCount;
    return true;
}

bool VowReader::ReadShortLength(uint64_t& length, bool& complete) {
    complete = false;
    if (!ReadLittleEndian(1, length))
        return false;
    if (length < 0xFF) {
        complete = true;
        return true;
    }
    return ReadLittleEndian(2, length);
}

bool VowReader::ReadLength(uint64_t& length, bool& wide) {
    wide = false;
    bool complete = false;
    if (!ReadShortLength(length, complete))
        return false;
    if (complete)
        return true;
    if (length == 0xFFFE) {
        // A string of 16-bit characters; its length follows by the same rules (a second
        // 0xFFFE is then simply the length 65534).
        wide = true;
        if (!ReadShortLength(length, complete))
            return false;
        if (complete)
            return true;
    }
    if (length < 0xFFFF)
        return true;
    return ReadLittleEndian(4, length);
}

bool VowReader::ReadString(std::string& text) {
    uint64_t length = 0;
    bool wide = false;
    if (!ReadLength(length, wide))
        return false;
    const uint64_t byteCount = wide ? length * 2 : length;
    if (byteCount > Remaining())
        return false;
    if (!wide) {
        text.assign(m_bytes.substr(m_pos, byteCount));
    } else {
        text.resize(length);
        for (uint64_t i = 0; i < length; ++i) {
            const auto lo = static_cast<unsigned char>(m_bytes[m_pos + 2 * i]);
            const auto hi = static_cast<unsigned char>(m_bytes[m_pos + 2 * i + 1]);
            text[i] = hi == 0 ? static_cast<char>(lo) : '?';
        }
    }
    m_pos += byteCount;
    return true;
}

int32_t VowTextToInt(std::string_view text) {
    size_t i = 0;
    auto isBlank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int64_t value = 0;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kLimit)
            value = kLimit; // keeps going past the digits without overflowing
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int32_t>::max())
        value = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

// The byte-level pieces of the .vow format: length-prefixed strings and decimal numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The program writes documents of a few kB, and no version ever wrote more than a few
// hundred: a bigger file is no document and is refused unread ("Unexpected file format.").
constexpr size_t kMaxVowFileBytes = size_t{16} << 20;

// Appends length-prefixed 8-bit strings to a byte buffer.
class VowWriter {
public:
    // Length n < 255: one byte; up to 65533: 0xFF and 16 bits; above: 0xFF 0xFFFF and 32 bits.
    void WriteString(std::string_view text);
    void WriteNumber(int32_t value) { WriteString(std::to_string(value)); }
    const std::string& Bytes() const { return m_bytes; }

private:
    void PutLittleEndian(uint64_t value, int byteCount);
    std::string m_bytes;
};

// Reads length-prefixed strings from a byte buffer that it does not own. A string whose
// length runs past the end of the buffer is an early end: nothing is allocated for it.
class VowReader {
public:
    explicit VowReader(std::string_view bytes) : m_bytes(bytes) {}

    // Reads the next string into text (16-bit strings converted to Latin-1, characters
    // above 0xFF becoming '?'); false at an early end of the data.
    bool ReadString(std::string& text);
    // Goes back to the first byte (the format-0.0 reader starts over).
    void Rewind() { m_pos = 0; }
    size_t Position() const { return m_pos; }

private:
    bool ReadLittleEndian(int byteCount, uint64_t& value);
    // A one-byte length, or after the byte 0xFF a 16-bit value; complete is true when the
    // one byte was the whole length.
    bool ReadShortLength(uint64_t& length, bool& complete);
    bool ReadLength(uint64_t& length, bool& wide);
    size_t Remaining() const { return m_bytes.size() - m_pos; }

    std::string_view m_bytes;
    size_t m_pos = 0;
};

// Reads a number as the C library's text-to-integer rule does: leading blanks skipped, an
// optional sign, digits up to the first non-digit, 0 when there are none. Values beyond the
// 32-bit range are clamped to it.
int32_t VowTextToInt(std::string_view text);

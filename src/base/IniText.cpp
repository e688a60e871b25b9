#include "base/IniText.h"

#include <cstdint>
#include <vector>

namespace {

constexpr size_t kNone = std::string_view::npos;
constexpr char kHexDigits[] = "0123456789ABCDEF";

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The characters that end a run of plain text in a line.
bool IsSpecial(char c) {
    return c == '=' || c == '\n' || c == '\r' || c == '\\' || c == '"' || c == ';';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void AppendCodePoint(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | ((code >> 12) & 0x0F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Finds the next logical line from pos on: leading white space and comment lines are
// skipped; a line break or ";" inside quotes and an escaped line break do not end it.
// equalsPos is the first "=" outside quotes, or kNone.
bool NextLine(std::string_view data, size_t& pos, size_t& lineStart, size_t& lineLength,
              size_t& equalsPos) {
    const size_t size = data.size();
    bool inQuotes = false;
    equalsPos = kNone;
    lineStart = pos;
    while (lineStart < size && IsSpace(data[lineStart]))
        ++lineStart;
    size_t i = lineStart;
    while (i < size) {
        while (i < size && !IsSpecial(data[i]))
            ++i;
        if (i == size)
            break;
        const char c = data[i++];
        if (c == '=') {
            if (!inQuotes && equalsPos == kNone)
                equalsPos = i - 1;
        } else if (c == '\n' || c == '\r') {
            if (i == lineStart + 1) {
                ++lineStart;
            } else if (!inQuotes) {
                --i;
                break;
            }
        } else if (c == '\\') {
            if (i < size) {
                const char escaped = data[i++];
                if (i < size &&
                    ((escaped == '\n' && data[i] == '\r') || (escaped == '\r' && data[i] == '\n')))
                    ++i;
            }
        } else if (c == '"') {
            inQuotes = !inQuotes;
        } else if (i == lineStart + 1) { // ';' first on its line: a comment line
            while (i < size && data[i] != '\n' && data[i] != '\r')
                ++i;
            while (i < size && IsSpace(data[i]))
                ++i;
            lineStart = i;
        } else if (!inQuotes) { // ';' after text: the rest is a comment
            --i;
            break;
        }
    }
    pos = i;
    lineLength = i - lineStart;
    return lineLength > 0;
}

// A section or key name: "%XX" and "%UXXXX" are characters, "\" stands for "/".
std::string UnescapedName(std::string_view name) {
    std::string out;
    size_t i = 0;
    while (i < name.size()) {
        const char c = name[i];
        if (c == '\\') {
            out += '/';
            ++i;
            continue;
        }
        if (c != '%' || i + 1 == name.size()) {
            out += c;
            ++i;
            continue;
        }
        const size_t first = name[i + 1] == 'U' ? i + 2 : i + 1;
        const size_t digits = name[i + 1] == 'U' ? 4 : 2;
        uint32_t code = 0;
        bool valid = first + digits <= name.size();
        for (size_t d = 0; valid && d < digits; ++d) {
            const int value = HexValue(name[first + d]);
            valid = value >= 0;
            code = code * 16 + static_cast<uint32_t>(value);
        }
        if (!valid) {
            out += '%';
            ++i;
            continue;
        }
        AppendCodePoint(out, code);
        i = first + digits;
    }
    return out;
}

void ChopTrailingBlanks(std::string& text, size_t limit) {
    while (text.size() > limit && (text.back() == ' ' || text.back() == '\t'))
        text.pop_back();
}

char SimpleEscape(char c) {
    switch (c) {
    case 'a':
        return '\a';
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    case 'v':
        return '\v';
    case '"':
    case '?':
    case '\'':
    case '\\':
        return c;
    default:
        return 0;
    }
}

// The parts of a value: one, or several when unquoted commas make it a list.
std::vector<std::string> UnescapedValueParts(std::string_view text) {
    std::vector<std::string> parts;
    std::string current;
    bool inQuotes = false;
    bool currentQuoted = false;
    size_t chopLimit = 0;
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        chopLimit = current.size();
    };
    skipBlanks();
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\\') {
            if (++i >= text.size())
                break;
            const char code = text[i++];
            if (const char simple = SimpleEscape(code)) {
                current += simple;
            } else if (code == 'x' || (code >= '0' && code <= '7')) {
                const int base = code == 'x' ? 16 : 8;
                uint32_t value = code == 'x' ? 0 : static_cast<uint32_t>(code - '0');
                const size_t digitsStart = i;
                int digit = 0;
                while (i < text.size() && (digit = HexValue(text[i])) >= 0 && digit < base) {
                    value = (value * base + static_cast<uint32_t>(digit)) & 0xFFFF;
                    ++i;
                }
                if (code != 'x' || i > digitsStart) // "\x" without a digit stands for nothing
                    AppendCodePoint(current, value);
            } else if ((code == '\n' || code == '\r') && i < text.size() &&
                       (text[i] == '\n' || text[i] == '\r') && text[i] != code) {
                ++i; // an escaped line break continues the value
            }
            chopLimit = current.size();
        } else if (c == '"') {
            ++i;
            currentQuoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipBlanks();
        } else if (c == ',' && !inQuotes) {
            if (!currentQuoted)
                ChopTrailingBlanks(current, chopLimit);
            parts.push_back(std::move(current));
            current.clear();
            currentQuoted = false;
            ++i;
            skipBlanks();
        } else {
            size_t end = i + 1;
            while (end < text.size() && text[end] != '\\' && text[end] != '"' && text[end] != ',')
                ++end;
            current.append(text.substr(i, end - i));
            i = end;
        }
    }
    if (!currentQuoted)
        ChopTrailingBlanks(current, chopLimit);
    parts.push_back(std::move(current));
    return parts;
}

bool StartsWith(const std::string& text, std::string_view prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// QSettings marks strings of its own kinds with "@"; a plain string beginning with "@" is
// written with a second one. False for "@Invalid()", a value that is not there.
bool TypedValue(std::string& text) {
    if (text.empty() || text[0] != '@')
        return true;
    if (text.back() == ')') {
        if (StartsWith(text, "@ByteArray(")) {
            text = text.substr(11, text.size() - 12);
            return true;
        }
        if (StartsWith(text, "@String(")) {
            text = text.substr(8, text.size() - 9);
            return true;
        }
        if (text == "@Invalid()")
            return false;
    }
    if (StartsWith(text, "@@"))
        text.erase(0, 1);
    return true;
}

std::string EscapedName(std::string_view name) {
    std::string out;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/') {
            out += '\\';
        } else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                   c == '_' || c == '-' || c == '.' || byte >= 0x80) {
            out += c;
        } else {
            out += '%';
            out += kHexDigits[byte / 16];
            out += kHexDigits[byte % 16];
        }
    }
    return out;
}

std::string LowerHex(unsigned value) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    do {
        out.insert(out.begin(), digits[value % 16]);
        value /= 16;
    } while (value != 0);
    return out;
}

std::string EscapedValue(const std::string& value) {
    const std::string text = !value.empty() && value[0] == '@' ? "@" + value : value;
    std::string out;
    bool needsQuotes = false;
    bool escapeNextIfHex = false;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == ';' || c == ',' || c == '=')
            needsQuotes = true;
        // After a numeric escape a hex digit would run on into it, so it is escaped too.
        if (escapeNextIfHex && HexValue(c) >= 0) {
            out += "\\x" + LowerHex(byte);
            continue;
        }
        escapeNextIfHex = false;
        const char* named = nullptr;
        switch (c) {
        case '\a':
            named = "\\a";
            break;
        case '\b':
            named = "\\b";
            break;
        case '\f':
            named = "\\f";
            break;
        case '\n':
            named = "\\n";
            break;
        case '\r':
            named = "\\r";
            break;
        case '\t':
            named = "\\t";
            break;
        case '\v':
            named = "\\v";
            break;
        case '"':
            named = "\\\"";
            break;
        case '\\':
            named = "\\\\";
            break;
        default:
            break;
        }
        if (named) {
            out += named;
        } else if (byte <= 0x1F) {
            out += "\\x" + LowerHex(byte);
            escapeNextIfHex = true;
        } else {
            out += c;
        }
    }
    if (needsQuotes || (!out.empty() && (out.front() == ' ' || out.back() == ' ')))
        out = '"' + out + '"';
    return out;
}

} // namespace

IniSections ParseIniText(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    IniSections sections;
    std::string section;
    size_t pos = 0;
    size_t lineStart = 0;
    size_t lineLength = 0;
    size_t equalsPos = kNone;
    while (NextLine(text, pos, lineStart, lineLength, equalsPos)) {
        const std::string_view line = text.substr(lineStart, lineLength);
        if (line[0] == '[') {
            const size_t close = line.find(']');
            std::string_view name = line.substr(1, close == kNone ? kNone : close - 1);
            while (!name.empty() && IsSpace(name.front()))
                name.remove_prefix(1);
            while (!name.empty() && IsSpace(name.back()))
                name.remove_suffix(1);
            section = UnescapedName(name);
            continue;
        }
        if (equalsPos == kNone)
            continue;
        std::string_view key = text.substr(lineStart, equalsPos - lineStart);
        while (!key.empty() && (key.back() == ' ' || key.back() == '\t'))
            key.remove_suffix(1);
        std::string value;
        bool present = true;
        const std::vector<std::string> parts =
            UnescapedValueParts(text.substr(equalsPos + 1, lineStart + lineLength - equalsPos - 1));
        for (size_t i = 0; i < parts.size(); ++i) {
            std::string part = parts[i];
            present = TypedValue(part) && present;
            value += (i == 0 ? "" : ",") + part;
        }
        auto& keys = sections[section];
        if (present)
            keys[UnescapedName(key)] = value;
        else
            keys.erase(UnescapedName(key));
    }
    return sections;
}

std::string FormatIniText(const IniSections& sections) {
    std::string text;
    for (const auto& [section, keys] : sections) {
        if (keys.empty())
            continue;
        if (!text.empty())
            text += '\n';
        text += '[' + EscapedName(section) + "]\n";
        for (const auto& [key, value] : keys)
            text += EscapedName(key) + '=' + EscapedValue(value) + '\n';
    }
    return text;
}

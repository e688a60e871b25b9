// Reads tables of measured vowels (CSV), refusing a bad file with a message naming the line.
#include "reference/ReferenceTableReader.h"

#include "base/FileError.h"
#include "base/SafeFile.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

namespace {

// Where the columns the reader needs stand in a row; -1 for a missing one.
struct Columns {
    int ipa = -1;
    int vowel = -1;
    int f1 = -1;
    int f2 = -1;
    int f3 = -1;
    int group = -1;
    size_t count = 0;
};

std::string LineText(int line) {
    return "line " + std::to_string(line) + ": ";
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// Well-formed UTF-8 (no overlong forms, no surrogates) without control characters.
bool IsReadableText(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if (c < 0x20 || c == 0x7f)
                return false;
            ++i;
            continue;
        }
        size_t length = 0;
        unsigned codePoint = 0;
        if (c >= 0xc2 && c <= 0xdf) {
            length = 2;
            codePoint = c & 0x1f;
        } else if (c >= 0xe0 && c <= 0xef) {
            length = 3;
            codePoint = c & 0x0f;
        } else if (c >= 0xf0 && c <= 0xf4) {
            length = 4;
            codePoint = c & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xc0) != 0x80)
                return false;
            codePoint = (codePoint << 6) | (next & 0x3f);
        }
        if ((length == 3 && codePoint < 0x800) || (length == 4 && codePoint < 0x10000) ||
            (codePoint >= 0xd800 && codePoint <= 0xdfff) || codePoint > 0x10ffff)
            return false;
        i += length;
    }
    return true;
}

// Splits one line into at most maxFields fields. False with the reason in problem, which
// stays empty when the line has more fields.
bool SplitFields(std::string_view line, char separator, size_t maxFields,
                 std::vector<std::string>& fields, std::string& problem) {
    fields.clear();
    size_t pos = 0;
    for (;;) {
        while (pos < line.size() && line[pos] != separator &&
               (line[pos] == ' ' || line[pos] == '\t'))
            ++pos;
        std::string field;
        if (pos < line.size() && line[pos] == '"') {
            ++pos;
            for (;;) {
                if (pos >= line.size()) {
                    problem = "a quoted field has no closing quote.";
                    return false;
                }
                if (line[pos] == '"') {
                    if (pos + 1 < line.size() && line[pos + 1] == '"') {
                        field += '"';
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    break;
                }
                field += line[pos++];
            }
            while (pos < line.size() && line[pos] != separator &&
                   (line[pos] == ' ' || line[pos] == '\t'))
                ++pos;
            if (pos < line.size() && line[pos] != separator) {
                problem = "a quoted field is followed by other text.";
                return false;
            }
        } else {
            const size_t end = line.find(separator, pos);
            field = Trim(line.substr(pos, end == std::string_view::npos ? end : end - pos));
            pos = end == std::string_view::npos ? line.size() : end;
        }
        if (fields.size() == maxFields) {
            problem.clear();
            return false;
        }
        fields.push_back(std::move(field));
        if (pos >= line.size())
            return true;
        ++pos; // past the separator
    }
}

char SeparatorOf(std::string_view header) {
    if (header.find(',') != std::string_view::npos)
        return ',';
    if (header.find(';') != std::string_view::npos)
        return ';';
    if (header.find('\t') != std::string_view::npos)
        return '\t';
    return ',';
}

std::string Lowercase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool ReadHeader(const std::vector<std::string>& names, Columns& columns, std::string& problem) {
    struct Known {
        const char* name;
        const char* shown;
        int Columns::*column;
    };
    const Known known[] = {{"ipa", "ipa", &Columns::ipa}, {"vowel", "vowel", &Columns::vowel},
                           {"f1", "F1", &Columns::f1},    {"f2", "F2", &Columns::f2},
                           {"f3", "F3", &Columns::f3},    {"group", "group", &Columns::group}};
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string name = Lowercase(names[i]);
        for (const auto& k : known) {
            if (name != k.name)
                continue;
            if (columns.*k.column >= 0) {
                problem = std::string("the header names the column ") + k.shown + " twice.";
                return false;
            }
            columns.*k.column = static_cast<int>(i);
        }
    }
    const char* missing = columns.ipa < 0 && columns.vowel < 0 ? "ipa or vowel"
                          : columns.f1 < 0                     ? "F1"
                          : columns.f2 < 0                     ? "F2"
                                                               : nullptr;
    if (missing) {
        problem = std::string("the header has no ") + missing +
                  " column (it needs ipa or vowel, F1 and F2; F3 and group may follow).";
        return false;
    }
    columns.count = names.size();
    return true;
}

// A formant of a row: nullopt with the reason in problem when it is not a frequency.
std::optional<double> Formant(const std::string& field, const char* name, std::string& problem) {
    if (field.empty()) {
        problem = std::string(name) + " is empty.";
        return std::nullopt;
    }
    double hz = 0;
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, hz);
    if (error != std::errc() || stop != end || !std::isfinite(hz)) {
        problem = std::string(name) + " \"" + field + "\" is not a number of Hz.";
        return std::nullopt;
    }
    if (!(hz > 0) || hz > kMaxReferenceHz) {
        problem = std::string(name) + " is " + field + " Hz; it must lie above 0 and at most " +
                  std::to_string(static_cast<int>(kMaxReferenceHz)) + " Hz.";
        return std::nullopt;
    }
    return hz;
}

bool ReadName(const std::string& field, const char* what, std::string& name, std::string& problem) {
    if (field.empty()) {
        problem = std::string("the ") + what + " is empty.";
        return false;
    }
    if (!IsReadableText(field)) {
        problem = std::string("the ") + what + " is not readable UTF-8 text.";
        return false;
    }
    if (field.size() > kMaxReferenceNameBytes) {
        problem = std::string("the ") + what + " \"" + field + "\" is longer than " +
                  std::to_string(kMaxReferenceNameBytes) + " bytes.";
        return false;
    }
    name = field;
    return true;
}

bool ReadRow(const std::vector<std::string>& fields, const Columns& columns,
             ReferenceTable::Token& token, std::string& problem) {
    if (fields.size() != columns.count) {
        problem = "the row has " + std::to_string(fields.size()) + " fields where the header has " +
                  std::to_string(columns.count) + ".";
        return false;
    }
    if (!ReadName(fields[columns.ipa >= 0 ? columns.ipa : columns.vowel], "vowel", token.vowel,
                  problem))
        return false;
    const auto f1 = Formant(fields[columns.f1], "F1", problem);
    if (!f1)
        return false;
    const auto f2 = Formant(fields[columns.f2], "F2", problem);
    if (!f2)
        return false;
    token.f1 = *f1;
    token.f2 = *f2;
    if (columns.f3 >= 0 && !fields[columns.f3].empty()) {
        token.f3 = Formant(fields[columns.f3], "F3", problem);
        if (!token.f3)
            return false;
    }
    return columns.group < 0 || ReadName(fields[columns.group], "group", token.group, problem);
}

// The next line of text from pos (without its LF, CR LF or CR); pos moves past it.
std::string_view NextLine(std::string_view text, size_t& pos) {
    const size_t start = pos;
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
        pos = text.size();
        return text.substr(start);
    }
    pos = end + 1;
    if (text[end] == '\r' && pos < text.size() && text[pos] == '\n')
        ++pos;
    return text.substr(start, end - start);
}

} // namespace

Report ReferenceProblem(const std::string& text) {
    Report report;
    report.Fail(text, kReferenceCaption, MsgIcon::Warning);
    return report;
}

Report ParseReferenceTable(std::string_view text, ReferenceTable& table) {
    if (text.substr(0, 3) == "\xef\xbb\xbf")
        text.remove_prefix(3);
    ReferenceTable read;
    Columns columns;
    bool haveHeader = false;
    char separator = ',';
    std::vector<std::string> fields;
    std::string reason;
    size_t pos = 0;
    for (int lineNumber = 1; pos < text.size(); ++lineNumber) {
        const std::string_view line = NextLine(text, pos);
        if (Trim(line).empty())
            continue;
        if (!haveHeader)
            separator = SeparatorOf(line);
        const size_t maxFields = haveHeader ? columns.count : kMaxReferenceColumns;
        if (!SplitFields(line, separator, maxFields, fields, reason) ||
            (!haveHeader && !ReadHeader(fields, columns, reason))) {
            if (reason.empty() && haveHeader)
                reason =
                    "the row has more fields than the header's " + std::to_string(maxFields) + ".";
            else if (reason.empty())
                reason = "the header has more than " + std::to_string(maxFields) + " columns.";
            return ReferenceProblem(LineText(lineNumber) + reason);
        }
        if (!haveHeader) {
            haveHeader = true;
            continue;
        }
        if (read.tokens.size() == kMaxReferenceTokens)
            return ReferenceProblem("the table has more than " +
                                    std::to_string(kMaxReferenceTokens) + " rows.");
        ReferenceTable::Token token;
        token.line = lineNumber;
        if (!ReadRow(fields, columns, token, reason))
            return ReferenceProblem(LineText(lineNumber) + reason);
        read.tokens.push_back(std::move(token));
    }
    if (!haveHeader)
        return ReferenceProblem("the file is empty.");
    if (read.tokens.empty())
        return ReferenceProblem("the file has no vowels below its header.");
    table = std::move(read);
    return Report();
}

Report ReadReferenceTable(const std::string& path, ReferenceTable& table) {
    const std::string prefix = "Can't read reference vowels from " + path + ": ";
    std::string bytes;
    const int error = ReadWholeFile(path, bytes, kMaxReferenceFileBytes);
    if (error == EFBIG)
        return ReferenceProblem(prefix + "it is larger than " +
                                std::to_string(kMaxReferenceFileBytes / (1024 * 1024)) + " MB.");
    if (error != 0)
        return ReferenceProblem(prefix + FileErrorReason(error) + ".");
    if (const Report parsed = ParseReferenceTable(bytes, table); !parsed.Ok())
        return ReferenceProblem(prefix + parsed.Text());
    return Report();
}

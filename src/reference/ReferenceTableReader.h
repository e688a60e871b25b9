// Reads tables of measured vowels (CSV), refusing a bad file with a message naming the line.
#pragma once

#include "base/Report.h"
#include "reference/ReferenceTable.h"

#include <cstddef>
#include <string>
#include <string_view>

// The caption of every message about reference vowels.
constexpr const char* kReferenceCaption = "Reference Vowels";
// A report that fails with text as a warning about reference vowels.
Report ReferenceProblem(const std::string& text);

// A reference table is at most this big; a bigger file is refused before it is read.
constexpr size_t kMaxReferenceFileBytes = 4 * 1024 * 1024;
// At most this many rows of vowels.
constexpr size_t kMaxReferenceTokens = 100000;
// Formants lie above 0 and at most this many Hz.
constexpr double kMaxReferenceHz = 20000;
// At most this many columns.
constexpr size_t kMaxReferenceColumns = 256;
// A vowel's symbol or a group's name is at most this many bytes of UTF-8.
constexpr size_t kMaxReferenceNameBytes = 32;

// Reads the text of a table: a header line naming the columns ipa or vowel, F1, F2 and
// optionally F3 and group (in any case and order; ipa is used when both ipa and vowel are
// there; other columns are ignored), then one row per token or per mean. Fields are
// separated by commas (by semicolons or tabs when the header holds no comma), may be quoted
// with '"', and lose the spaces around them; line ends are LF, CR LF or CR; blank lines and
// a UTF-8 byte order mark are skipped. Succeeds with the rows in table; fails with the reason
// ("line 7: F1 \"7OO\" is not a number") as its text and table unchanged.
Report ParseReferenceTable(std::string_view text, ReferenceTable& table);

// Reads a table file as ParseReferenceTable does. A folder, a device or a pipe is refused
// without waiting on it, and so is a file over kMaxReferenceFileBytes. Fails with a whole
// message ("Can't read reference vowels from PATH: line 7: ...") and table unchanged; the
// caller shows it.
Report ReadReferenceTable(const std::string& path, ReferenceTable& table);

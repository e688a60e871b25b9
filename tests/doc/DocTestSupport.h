// Helpers for the document tests: building .vow bytes and reading files back.
#pragma once

#include "base/Report.h"
#include "doc/BatchConvert.h"
#include "doc/VowArchive.h"

#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>

// Shows what an operation reports through the installed message sink, as the window does,
// and tells whether it succeeded.
inline bool Shown(const Report& report) {
    ShowReport(report);
    return report.Ok();
}
inline BatchOutcome Shown(const BatchResult& result) {
    ShowReport(result.report);
    return result.outcome;
}

// The .vow bytes of the given strings, each with its length prefix.
inline std::string VowStrings(std::initializer_list<std::string> strings) {
    VowWriter writer;
    for (const std::string& s : strings)
        writer.WriteString(s);
    return writer.Bytes();
}

inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Counts the strings of a .vow byte sequence up to its end (-1 when it ends inside one).
inline int CountVowStrings(const std::string& bytes) {
    VowReader reader(bytes);
    std::string text;
    int count = 0;
    while (reader.Position() < bytes.size()) {
        if (!reader.ReadString(text))
            return -1;
        ++count;
    }
    return count;
}

#include "audio/WaveListFile.h"

#include "base/Directories.h"
#include "base/FileError.h"
#include "base/SafeFile.h"

#include <cctype>

namespace {

const std::string kLineEnd = "\r\n";

std::string FileName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsFullPathLine(const std::string& line) {
    if (!line.empty() && line[0] == '/')
        return true;
    if (line.size() >= 2 && std::isalpha(static_cast<unsigned char>(line[0])) && line[1] == ':')
        return true;
    return line.compare(0, 2, "\\\\") == 0;
}

// A path taken against the working directory unless it is already a full path (a Linux
// one, or a Windows one kept from a list written there).
std::string Absolute(const std::string& path) {
    if (path.empty() || IsFullPathLine(path))
        return path;
    return CurrentDirectory() + "/" + path;
}

// The list file's folder, absolute and ending in "/".
std::string ListDirectory(const std::string& listPath) {
    const std::string full = Absolute(listPath);
    return full.substr(0, full.rfind('/') + 1);
}

bool IsUpGroup(const std::string& line, size_t pos) {
    return line.compare(pos, 2, "..") == 0 && pos + 2 < line.size() &&
           (line[pos + 2] == '/' || line[pos + 2] == '\\');
}

std::string ListFileText(const std::vector<std::string>& entries, const std::string& dir) {
    std::string text;
    for (const auto& entry : entries)
        text += WaveListLine(Absolute(entry), dir) + kLineEnd;
    return text;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const size_t next = end == std::string::npos ? text.size() : end + 1;
        if (end == std::string::npos)
            end = text.size();
        if (end > start && text[end - 1] == '\r')
            --end;
        lines.push_back(text.substr(start, end - start));
        start = next;
    }
    return lines;
}

} // namespace

std::string WaveListLine(const std::string& entry, const std::string& listDir) {
    // A path that does not even begin like the list's folder is written whole.
    if (entry.empty() || listDir.empty() || entry[0] != listDir[0])
        return entry;
    const std::string base = listDir + FileName(entry);
    size_t common = 0;
    while (common < base.size() && common < entry.size() && base[common] == entry[common])
        ++common;
    // The common directory ends just after a separator.
    const size_t slash = base.rfind('/', common - 1);
    if (slash == std::string::npos)
        return entry;
    const size_t commonDir = slash + 1;
    std::string line;
    for (size_t i = commonDir; i < listDir.size(); ++i)
        if (listDir[i] == '/')
            line += "../";
    return line + entry.substr(commonDir);
}

std::string ResolveWaveListLine(const std::string& line, const std::string& listDir) {
    if (IsFullPathLine(line))
        return line;
    size_t pos = 0;
    int levels = 0;
    while (IsUpGroup(line, pos)) {
        pos += 3;
        ++levels;
    }
    std::string dir = listDir;
    if (!dir.empty() && dir.back() == '/')
        dir.pop_back();
    for (int i = 0; i < levels; ++i) {
        const size_t slash = dir.rfind('/');
        if (slash == std::string::npos)
            break;
        dir.erase(slash);
    }
    std::string rest = line.substr(pos);
    for (char& c : rest)
        if (c == '\\')
            c = '/';
    return dir + "/" + rest;
}

bool SaveWaveList(const std::vector<std::string>& entries, const std::string& path) {
    if (const int error = ReplaceFileContents(path, ListFileText(entries, ListDirectory(path)))) {
        ShowFileError(path, error);
        return false;
    }
    return true;
}

bool LoadWaveList(std::vector<std::string>& entries, const std::string& path) {
    std::string text;
    if (const int error = ReadWholeFile(path, text)) {
        ShowFileError(path, error);
        return false;
    }
    const std::string dir = ListDirectory(path);
    std::vector<std::string> loaded;
    for (const auto& line : SplitLines(text))
        loaded.push_back(ResolveWaveListLine(line, dir));
    entries.swap(loaded);
    return true;
}

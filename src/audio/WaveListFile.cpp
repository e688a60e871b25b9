#include "audio/WaveListFile.h"

#include "base/Directories.h"
#include "base/FileError.h"
#include "base/SafeFile.h"

#include <cctype>
#include <cerrno>
#include <unistd.h>

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

// The entry relative to the list's folder: "../" for each folder to climb, then the rest.
std::string RelativeLine(const std::string& entry, const std::string& listDir) {
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

// Why the entries cannot be written so that they read back as they are; empty when they can.
std::string SaveProblem(const std::vector<std::string>& entries, const std::string& text) {
    if (entries.size() > kMaxWaveListLines)
        return "a wave list holds at most " + std::to_string(kMaxWaveListLines) + " files.";
    for (const auto& entry : entries)
        if (entry.find('\n') != std::string::npos)
            return "the file name\n" + entry + "\nholds a line break.";
    std::vector<std::string> ignored;
    std::string problem;
    ParseWaveListText(text, "/", ignored, problem);
    return problem;
}

// Collects the entries of a list text that arrives in pieces, line by line, keeping at
// most one line beyond the limits in memory.
class WaveListLines {
public:
    explicit WaveListLines(const std::string& listDir) : m_dir(listDir) {}

    // False once the text is over the limits (the reason is then in Problem()).
    bool Feed(std::string_view piece) {
        while (!piece.empty() && m_problem.empty()) {
            const size_t end = piece.find('\n');
            m_line.append(piece.substr(0, end));
            // One byte more than a line may hold can still be the CR of its CR LF.
            if (m_line.size() > kMaxWaveListLineBytes + 1)
                return LineTooLong();
            if (end == std::string_view::npos)
                break;
            EndLine();
            piece.remove_prefix(end + 1);
        }
        return m_problem.empty();
    }

    // The last line needs no line end. False when the text was over the limits.
    bool Finish() {
        if (m_problem.empty() && !m_line.empty())
            EndLine();
        return m_problem.empty();
    }

    std::vector<std::string>& Entries() { return m_entries; }
    const std::string& Problem() const { return m_problem; }

private:
    void EndLine() {
        if (!m_line.empty() && m_line.back() == '\r')
            m_line.pop_back();
        if (m_line.size() > kMaxWaveListLineBytes) {
            LineTooLong();
            return;
        }
        if (m_entries.size() == kMaxWaveListLines) {
            m_problem = "it has more than " + std::to_string(kMaxWaveListLines) + " lines.";
            return;
        }
        m_entries.push_back(ResolveWaveListLine(m_line, m_dir));
        m_line.clear();
    }

    bool LineTooLong() {
        m_problem = "line " + std::to_string(m_entries.size() + 1) + " is longer than " +
                    std::to_string(kMaxWaveListLineBytes) + " bytes.";
        return false;
    }

    const std::string& m_dir;
    std::string m_line;
    std::vector<std::string> m_entries;
    std::string m_problem;
};

Report ListProblem(const std::string& text) {
    Report report;
    report.Fail(text, "Error", MsgIcon::Error);
    return report;
}

// Reads the list file piece by piece into lines; 0, or the errno value of a failed read.
int ReadListFile(int fd, WaveListLines& lines) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0 || !lines.Feed(std::string_view(buffer, static_cast<size_t>(n))))
            return 0;
    }
}

} // namespace

std::string WaveListLine(const std::string& entry, const std::string& listDir) {
    const std::string relative = RelativeLine(entry, listDir);
    return ResolveWaveListLine(relative, listDir) == entry ? relative : entry;
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
    std::string path = dir + "/";
    for (size_t i = pos; i < line.size(); ++i) {
        const char c = line[i] == '\\' ? '/' : line[i];
        if (c != '/' || path.back() != '/')
            path += c;
    }
    return path;
}

std::string WaveListText(const std::vector<std::string>& entries, const std::string& listDir) {
    std::string text;
    for (const auto& entry : entries)
        text += WaveListLine(Absolute(entry), listDir) + kLineEnd;
    return text;
}

bool ParseWaveListText(std::string_view text, const std::string& listDir,
                       std::vector<std::string>& entries, std::string& problem) {
    WaveListLines lines(listDir);
    if (!lines.Feed(text) || !lines.Finish()) {
        problem = lines.Problem();
        return false;
    }
    entries.swap(lines.Entries());
    return true;
}

Report SaveWaveList(const std::vector<std::string>& entries, const std::string& path) {
    const std::string text = WaveListText(entries, ListDirectory(path));
    if (const std::string problem = SaveProblem(entries, text); !problem.empty())
        return ListProblem("The wave list " + path + " cannot be saved: " + problem);
    if (const int error = ReplaceFileContents(path, text))
        return FileErrorReport(path, error);
    return Report();
}

Report LoadWaveList(std::vector<std::string>& entries, const std::string& path) {
    int fd = -1;
    if (const int error = OpenRegularFileForReading(path, fd))
        return FileErrorReport(path, error);
    const std::string dir = ListDirectory(path);
    WaveListLines lines(dir);
    const int error = ReadListFile(fd, lines);
    ::close(fd);
    if (error != 0)
        return FileErrorReport(path, error);
    if (!lines.Finish())
        return ListProblem(path + " is not a wave list: " + lines.Problem());
    entries.swap(lines.Entries());
    return Report();
}

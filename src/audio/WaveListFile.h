// Wave list files (*.wlist): one WAV path per line, relative to the list file's folder.
#pragma once

#include "base/Report.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A list file has at most this many lines of at most this many bytes each (CR LF not
// counted; a path on Linux is shorter). A bigger file is no wave list: it is refused after
// reading at most one line too many, so memory stays bounded whatever the file holds.
constexpr size_t kMaxWaveListLines = 10000;
constexpr size_t kMaxWaveListLineBytes = 4096;

// Writes the entries (full paths) to a list file, each relative to the list file's folder,
// every line ended by CR LF. A relative entry is first taken against the working directory. The
// list replaces the old file safely (ReplaceFileContents): a failed write keeps the old list, a
// symbolic link stays a link, the permission bits stay. A file that cannot be created or written
// fails with the file-error message; a list that could not be read back as it is (an entry with
// a line break, a line or a list over the limits above) is refused with a message naming the
// reason and nothing is written.
Report SaveWaveList(const std::vector<std::string>& entries, const std::string& path);

// Reads a list file into entries (full paths), one per line, empty lines included.
// Accepts "\" as well as "/" as separator, so lists written on Windows load too. On
// failure (the file cannot be opened or read, is a folder, device or pipe, or is over the
// limits above) the report says why and entries stay unchanged.
Report LoadWaveList(std::vector<std::string>& entries, const std::string& path);

// The line written for entry with respect to listDir, the list file's folder ending in
// "/": "a.wav", "sub/b.wav", "../sounds/c.wav"; the whole path when it does not begin with
// the folder's first character (a Windows path such as "D:\x\d.wav" read from a list), or
// when its relative form would read back as another path (a name holding "\", for example).
// ResolveWaveListLine of the line gives entry back for every full path. Long paths are
// written like any other; no entry becomes an empty line.
std::string WaveListLine(const std::string& entry, const std::string& listDir);

// The full path a line of a list file stands for, with listDir as above. A line that
// begins with "/", with a drive letter and a colon, or with two backslashes is a full path
// and is taken unchanged; otherwise its leading "../" groups climb from listDir, and in the
// rest "\" separates folders as "/" does (runs of separators count as one).
std::string ResolveWaveListLine(const std::string& line, const std::string& listDir);

// The text of a list file for the entries, with listDir as above.
std::string WaveListText(const std::vector<std::string>& entries, const std::string& listDir);

// Reads the text of a list file (lines ended by LF or CR LF) into entries, as LoadWaveList
// does. False, with the reason in problem, when the text is over the limits above.
bool ParseWaveListText(std::string_view text, const std::string& listDir,
                       std::vector<std::string>& entries, std::string& problem);

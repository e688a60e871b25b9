// Wave list files (*.wlist): one WAV path per line, relative to the list file's folder.
#pragma once

#include <string>
#include <vector>

// Writes the entries (full paths) to a list file, each relative to the list file's folder,
// every line ended by CR LF. A relative entry is first taken against the working directory. The
// list replaces the old file safely (ReplaceFileContents): a failed write keeps the old list, a
// symbolic link stays a link, the permission bits stay. A file that cannot be created or written
// shows the file-error message; returns false.
bool SaveWaveList(const std::vector<std::string>& entries, const std::string& path);

// Reads a list file into entries (full paths), one per line, empty lines included.
// Accepts "\" as well as "/" as separator, so lists written on Windows load too. On
// failure shows the file-error message, leaves entries unchanged and returns false.
bool LoadWaveList(std::vector<std::string>& entries, const std::string& path);

// The line written for entry with respect to listDir, the list file's folder ending in
// "/": "a.wav", "sub/b.wav", "../sounds/c.wav", or the whole path when it does not begin
// with the folder's first character (a Windows path such as "D:\x\d.wav" read from a list).
// Long paths are written like any other; no entry becomes an empty line.
std::string WaveListLine(const std::string& entry, const std::string& listDir);

// The full path a line of a list file stands for, with listDir as above. A line that
// begins with "/", with a drive letter and a colon, or with two backslashes is a full path
// and is taken unchanged; otherwise its leading "../" groups climb from listDir.
std::string ResolveWaveListLine(const std::string& line, const std::string& listDir);

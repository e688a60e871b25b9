// The four process-wide directory strings, each held without a trailing separator.
#pragma once

#include <string>

extern std::string g_strStartDir; // working directory when start-up began
extern std::string g_strVowDir;   // folder of the documents (.vow)
extern std::string g_strTempDir;  // where every synthesis writes "temp.wav"
extern std::string g_strDatDir;   // folder of the voice data files (*.dat)

// The process's working directory, or "" when it cannot be read.
std::string CurrentDirectory();

// Makes dir the working directory; false when that fails.
bool ChangeDirectory(const std::string& dir);

// The process-wide directory strings, each held without a trailing separator.
#pragma once

#include <string>

extern std::string g_strStartDir; // working directory when start-up began
extern std::string g_strVowDir;   // folder of the documents (.vow)
extern std::string g_strDatDir;   // folder of the voice data files (*.dat)

// Folder of an action log named without a folder, until ChangeDirectory moves the working
// directory (as every file dialog does); empty: the working directory. A start from the
// desktop menu sets it to the cache folder.
extern std::string g_strLogDir;

// The process's working directory, or "" when it cannot be read.
std::string CurrentDirectory();

// Makes dir the working directory (and empties g_strLogDir); false when that fails.
bool ChangeDirectory(const std::string& dir);

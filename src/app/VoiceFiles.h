// Finds the voice data files (*.dat) that voice every synthesized vowel.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The voices submenu has room for this many files (commands 200 to 219).
constexpr std::size_t kMaxVoiceFiles = 20;

// Names (no folder) of the voice data files in dir: regular files whose extension is
// ".dat" in any case, in file-name order, at most kMaxVoiceFiles. A missing folder gives
// an empty list.
std::vector<std::string> ListVoiceFiles(const std::string& dir);

// Fills list from the stored voice folder (settings::kVoiceFolder; empty means
// g_strStartDir + "/Dat", which is then written back) and sets g_strDatDir. While the
// folder holds no voice file, asks for another one with the folder chooser and stores
// each choice. If the user cancels, shows the "Abort" message and ends the process
// with status 0 at once.
void FindVoiceFiles(std::vector<std::string>& list);

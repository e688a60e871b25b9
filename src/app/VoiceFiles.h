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

// Adds a voice file name to a list that ListVoiceFiles made, at its place in the list's
// order. Returns its index (also when the list holds it already), or -1 when the list is
// full and does not hold it.
int AddVoiceFile(std::vector<std::string>& list, const std::string& name);

// The folders looked in, in this order, when the stored data directory holds no voice
// file: the work folder's Dat (g_strStartDir + "/Dat"), the user's data folder
// ($XDG_DATA_HOME/quirnel/Dat), the system's ($XDG_DATA_DIRS, each + "/quirnel/Dat") and
// the installation's own (share/quirnel/Dat beside the program's bin folder); each once,
// and not the stored data directory g_strDatDir.
std::vector<std::string> VoiceSearchFolders();

// Fills list from the stored voice folder (settings::kVoiceFolder; empty means
// g_strStartDir + "/Dat", which is then written back) and sets g_strDatDir. When that
// folder holds no voice file, the first of VoiceSearchFolders that does is used (and not
// stored); when none does, asks for another folder with the folder chooser and stores
// each choice. If the user cancels, shows the "Abort" message and ends the process
// with status 0 at once.
void FindVoiceFiles(std::vector<std::string>& list);

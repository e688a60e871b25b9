// Finds the voice data files (*.dat) that voice every synthesized vowel.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The voices submenu has room for this many files (commands 200 to 219).
constexpr std::size_t kMaxVoiceFiles = 20;

// An entry of the voice list is the file's name in the voice folder g_strDatDir, or the
// whole path of a voice in another folder (the user's own voices).

// Names (no folder) of the voice data files in dir: regular files whose extension is
// ".dat" in any case, in file-name order, at most kMaxVoiceFiles. A missing folder gives
// an empty list.
std::vector<std::string> ListVoiceFiles(const std::string& dir);

// Adds a voice entry to a list that ListVoiceFiles made, at its place in the list's order
// (the voice folder's names first, then the whole paths). Returns its index (also when the list
// holds it already), or -1 when the list is full and does not hold it.
int AddVoiceFile(std::vector<std::string>& list, const std::string& name);

// The folders looked in, in this order, when the stored data directory holds no voice
// file: the work folder's Dat (g_strStartDir + "/Dat"), the user's data folder
// ($XDG_DATA_HOME/quirnel/Dat), the system's ($XDG_DATA_DIRS, each + "/quirnel/Dat") and
// the installation's own (share/quirnel/Dat beside the program's bin folder); each once,
// and not the stored data directory g_strDatDir.
std::vector<std::string> VoiceSearchFolders();

// The user's own voice folder, $XDG_DATA_HOME/quirnel/Dat (~/.local/share/quirnel/Dat).
std::string UserVoiceFolder();
// Where Voice > New Voice writes: the voice folder when this user may write into it, else
// the user's own voice folder.
std::string NewVoiceFolder();
// The list entry of a voice file `name` in `folder`.
std::string VoiceFileEntry(const std::string& folder, const std::string& name);

// Fills list from the stored voice folder (settings::kVoiceFolder; empty means
// g_strStartDir + "/Dat", which is then written back) and sets g_strDatDir. When that
// folder holds no voice file, the first of VoiceSearchFolders that does is used (and not
// stored); when none does, asks for another folder with the folder chooser and stores
// each choice. The voices of the user's own voice folder follow, when it is another folder. If the
// user cancels, shows the "Abort" message and returns false: the program is to end with
// status 0 without going further.
bool FindVoiceFiles(std::vector<std::string>& list);

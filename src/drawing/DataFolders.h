// Where the program looks for the data it ships with: the voices and the reference vowels.
#pragma once

#include <string>
#include <vector>

// The folders named `name` ("Dat" for the voices, "reference" for the reference vowels)
// that may hold the bundled data, in the order they are looked in: the work folder's
// (g_strStartDir, or the working directory, + "/" + name), the user's data folder's
// ($XDG_DATA_HOME/quirnel/name), the system's ($XDG_DATA_DIRS, each + "/quirnel/" + name)
// and the installation's own (share/quirnel/name beside the program's bin folder, once a
// Qt application exists); each once.
std::vector<std::string> DataSearchFolders(const std::string& name);

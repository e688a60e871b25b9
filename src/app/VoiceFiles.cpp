#include "app/VoiceFiles.h"

#include "base/Directories.h"
#include "base/FolderBrowser.h"
#include "base/MessageBox.h"
#include "base/Settings.h"
#include "drawing/DataFolders.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool IsVoiceFile(const fs::directory_entry& entry) {
    std::error_code error;
    return entry.is_regular_file(error) && Lowered(entry.path().extension().string()) == ".dat";
}

// Case-insensitive name order, so "VOICE.DAT" sorts among the lower-case names; exact
// byte order breaks ties so the order never depends on the file system.
bool NameOrder(const std::string& a, const std::string& b) {
    // Whole paths (voices of other folders) after the names of the voice folder.
    const bool pathA = !a.empty() && a.front() == '/';
    const bool pathB = !b.empty() && b.front() == '/';
    if (pathA != pathB)
        return pathB;
    const std::string la = Lowered(a);
    const std::string lb = Lowered(b);
    return la != lb ? la < lb : a < b;
}

std::string DefaultDataDirectory() {
    const std::string start = g_strStartDir.empty() ? CurrentDirectory() : g_strStartDir;
    return start + "/Dat";
}

// The first search folder holding a voice file becomes the data directory for this run.
std::vector<std::string> SearchVoiceFolders() {
    for (const std::string& folder : VoiceSearchFolders()) {
        std::vector<std::string> names = ListVoiceFiles(folder);
        if (!names.empty()) {
            g_strDatDir = folder;
            return names;
        }
    }
    return {};
}

// Asks for the data directory until one holding a voice file is chosen; ends the
// process when the user gives up.
std::vector<std::string> LocateDataDirectory() {
    CFolderBrowser browser;
    browser.m_strTitle = "Locate the Dat Directory:";
    browser.m_strPath = g_strDatDir;
    for (;;) {
        if (!browser.Browse()) {
            ShowMessage("The Program cannot be executed without at least one dat-file.", "Abort",
                        MsgIcon::Error);
            std::exit(0);
        }
        g_strDatDir = browser.m_strPath;
        WriteSetting(settings::kVoiceFolder, g_strDatDir);
        std::vector<std::string> names = ListVoiceFiles(g_strDatDir);
        if (!names.empty())
            return names;
    }
}

} // namespace

std::vector<std::string> ListVoiceFiles(const std::string& dir) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        if (IsVoiceFile(*it))
            names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end(), NameOrder);
    if (names.size() > kMaxVoiceFiles)
        names.resize(kMaxVoiceFiles);
    return names;
}

int AddVoiceFile(std::vector<std::string>& list, const std::string& name) {
    const auto found = std::find(list.begin(), list.end(), name);
    if (found != list.end())
        return static_cast<int>(found - list.begin());
    if (list.size() >= kMaxVoiceFiles)
        return -1;
    const auto place = std::upper_bound(list.begin(), list.end(), name, NameOrder);
    const auto inserted = list.insert(place, name);
    return static_cast<int>(inserted - list.begin());
}

std::string UserVoiceFolder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && dataHome[0] == '/')
        return std::string(dataHome) + "/quirnel/Dat";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.local/share/quirnel/Dat";
}

std::string NewVoiceFolder() {
    return ::access(g_strDatDir.c_str(), W_OK | X_OK) == 0 ? g_strDatDir : UserVoiceFolder();
}

std::string VoiceFileEntry(const std::string& folder, const std::string& name) {
    return folder == g_strDatDir ? name : folder + "/" + name;
}

std::vector<std::string> VoiceSearchFolders() {
    std::vector<std::string> folders = DataSearchFolders("Dat");
    folders.erase(std::remove(folders.begin(), folders.end(), g_strDatDir), folders.end());
    return folders;
}

void FindVoiceFiles(std::vector<std::string>& list) {
    g_strDatDir = ReadSetting(settings::kVoiceFolder);
    if (g_strDatDir.empty()) {
        g_strDatDir = DefaultDataDirectory();
        WriteSetting(settings::kVoiceFolder, g_strDatDir);
    }
    list = ListVoiceFiles(g_strDatDir);
    if (list.empty())
        list = SearchVoiceFolders();
    if (list.empty())
        list = LocateDataDirectory();
    const std::string own = UserVoiceFolder();
    if (own != g_strDatDir)
        for (const std::string& name : ListVoiceFiles(own))
            AddVoiceFile(list, own + "/" + name);
}

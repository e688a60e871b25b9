#include "app/VoiceFiles.h"

#include "base/Directories.h"
#include "base/FolderBrowser.h"
#include "base/MessageBox.h"
#include "base/Settings.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

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
    const std::string la = Lowered(a);
    const std::string lb = Lowered(b);
    return la != lb ? la < lb : a < b;
}

std::string DefaultDataDirectory() {
    const std::string start = g_strStartDir.empty() ? CurrentDirectory() : g_strStartDir;
    return start + "/Dat";
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

void FindVoiceFiles(std::vector<std::string>& list) {
    g_strDatDir = ReadSetting(settings::kVoiceFolder);
    if (g_strDatDir.empty()) {
        g_strDatDir = DefaultDataDirectory();
        WriteSetting(settings::kVoiceFolder, g_strDatDir);
    }
    list = ListVoiceFiles(g_strDatDir);
    if (list.empty())
        list = LocateDataDirectory();
}

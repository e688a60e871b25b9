#include "base/FileDialogs.h"

namespace {

// With no window to ask in, every dialog is cancelled where it was opened.
class CancellingFileDialogs : public IFileDialogs {
public:
    FileChoice OpenFile(const std::string&, const std::string& folder,
                        const std::string&) override {
        return FileChoice{false, "", folder, {}};
    }
    FileChoice SaveFile(const std::string&, const std::string& folder, const std::string&,
                        const std::string&, const std::string&) override {
        return FileChoice{false, "", folder, {}};
    }
};

IFileDialogs* g_installedDialogs = nullptr;

} // namespace

FileChoice IFileDialogs::OpenFiles(const std::string& title, const std::string& folder,
                                   const std::string& filters) {
    FileChoice choice = OpenFile(title, folder, filters);
    if (choice.accepted && choice.paths.empty())
        choice.paths.push_back(choice.path);
    return choice;
}

void SetFileDialogs(IFileDialogs* dialogs) {
    g_installedDialogs = dialogs;
}

IFileDialogs& GetFileDialogs() {
    static CancellingFileDialogs fallback;
    return g_installedDialogs ? *g_installedDialogs : fallback;
}

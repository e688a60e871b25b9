#include "base/FolderBrowser.h"

namespace {

// With no window to ask in, every question is answered with cancel.
class CancellingFolderChooser : public IFolderChooser {
public:
    bool ChooseFolder(const std::string&, std::string&) override { return false; }
};

IFolderChooser* g_installedChooser = nullptr;

} // namespace

void SetFolderChooser(IFolderChooser* chooser) {
    g_installedChooser = chooser;
}

IFolderChooser& GetFolderChooser() {
    static CancellingFolderChooser fallback;
    return g_installedChooser ? *g_installedChooser : fallback;
}

bool CFolderBrowser::Browse() {
    const std::string title = m_strTitle.empty() ? "Open" : m_strTitle;
    std::string chosen = m_strRoot.empty() ? m_strPath : m_strRoot;
    if (!GetFolderChooser().ChooseFolder(title, chosen) || chosen.empty())
        return false;
    while (chosen.size() > 1 && chosen.back() == '/')
        chosen.pop_back();
    m_strPath = chosen;
    m_nImage = 0;
    return true;
}

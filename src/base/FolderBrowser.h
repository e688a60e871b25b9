// The folder chooser: asks the user for a folder through an installable seam.
#pragma once

#include <string>

// Shows a folder chooser with a title above its folders; the window installs one that
// shows a real dialog, tests install one that answers from a script.
class IFolderChooser {
public:
    virtual ~IFolderChooser() = default;
    // path holds the folder to start in; returns true and sets path to the chosen folder,
    // or false when the user cancelled.
    virtual bool ChooseFolder(const std::string& title, std::string& path) = 0;
};

// Installs the chooser used from now on; nullptr restores the default, which cancels
// (there is nobody to ask). The caller keeps ownership.
void SetFolderChooser(IFolderChooser* chooser);
IFolderChooser& GetFolderChooser();

// Asks for one folder: set m_strTitle, call Browse, read m_strPath.
class CFolderBrowser {
public:
    virtual ~CFolderBrowser() = default;

    // True when a folder was chosen; its path is then in m_strPath. Cancel gives false
    // and leaves m_strPath as it was.
    bool Browse();

    std::string m_strPath;  // the chosen folder
    std::string m_strRoot;  // top of the offered tree; empty offers the whole file system
    std::string m_strTitle; // text above the folders; empty shows "Open"
    int m_nImage = 0;       // kept for callers that read it; always 0 here
};

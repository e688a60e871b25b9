// The file dialogs of the program, behind a seam that tests answer from a script.
#pragma once

#include <string>
#include <vector>

// What a file dialog ended with. folder is the folder the user was in when the dialog
// closed, also after Cancel, so the next dialog can start there.
struct FileChoice {
    bool accepted = false;
    std::string path; // the chosen file (the first one of several)
    std::string folder;
    std::vector<std::string> paths; // every chosen file, for dialogs that take several
};

// Filters are in the toolkit's notation: "Vowels (*.vow);;All Files (*)".
class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;
    virtual FileChoice OpenFile(const std::string& title, const std::string& folder,
                                const std::string& filters) = 0;
    // Lets the user choose several files; by default, one file through OpenFile.
    virtual FileChoice OpenFiles(const std::string& title, const std::string& folder,
                                 const std::string& filters);
    // defaultSuffix is added to a name typed without an extension.
    virtual FileChoice SaveFile(const std::string& title, const std::string& folder,
                                const std::string& name, const std::string& filters,
                                const std::string& defaultSuffix) = 0;
};

// Installs the dialogs used from now on; nullptr restores the default, which cancels
// every dialog (there is nobody to ask). The caller keeps ownership.
void SetFileDialogs(IFileDialogs* dialogs);
IFileDialogs& GetFileDialogs();

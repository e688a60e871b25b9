// The file dialogs of the application, behind a seam that tests answer from a script.
#pragma once

#include <string>

// What a file dialog ended with. folder is the folder the user was in when the dialog
// closed, also after Cancel, so the next dialog can start there.
struct FileChoice {
    bool accepted = false;
    std::string path;
    std::string folder;
};

// Filters are in the toolkit's notation: "Vowels (*.vow);;All Files (*.*)".
class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;
    virtual FileChoice OpenFile(const std::string& title, const std::string& folder,
                                const std::string& filters) = 0;
    // defaultSuffix is added to a name typed without an extension.
    virtual FileChoice SaveFile(const std::string& title, const std::string& folder,
                                const std::string& name, const std::string& filters,
                                const std::string& defaultSuffix) = 0;
};

// Installs the dialogs used from now on; nullptr restores the toolkit's dialogs.
void SetFileDialogs(IFileDialogs* dialogs);
IFileDialogs& GetFileDialogs();

// The toolkit's modal file dialogs.
class QtFileDialogs : public IFileDialogs {
public:
    FileChoice OpenFile(const std::string& title, const std::string& folder,
                        const std::string& filters) override;
    FileChoice SaveFile(const std::string& title, const std::string& folder,
                        const std::string& name, const std::string& filters,
                        const std::string& defaultSuffix) override;
};

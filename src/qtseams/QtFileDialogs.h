// The toolkit's modal file dialogs behind the program's file-dialog seam.
#pragma once

#include "base/FileDialogs.h"

// Shows QFileDialogs over the active window.
class QtFileDialogs : public IFileDialogs {
public:
    FileChoice OpenFile(const std::string& title, const std::string& folder,
                        const std::string& filters) override;
    FileChoice OpenFiles(const std::string& title, const std::string& folder,
                         const std::string& filters) override;
    FileChoice SaveFile(const std::string& title, const std::string& folder,
                        const std::string& name, const std::string& filters,
                        const std::string& defaultSuffix) override;
};

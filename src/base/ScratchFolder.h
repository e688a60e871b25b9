// A private temporary folder for scratch files, removed with everything in it.
#pragma once

#include <string>

class ScratchFolder {
public:
    // Makes a new folder "<prefix>-<process id>-XXXXXX" in the system's temporary folder;
    // Path() is empty when it cannot be made. The process id lets a later run find the
    // folders of a process that was killed before it could remove them.
    explicit ScratchFolder(const std::string& prefix);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& Path() const { return m_path; }

    // Removes the folders "<prefix>-<process id>-XXXXXX" of the temporary folder that
    // belong to this user and whose process no longer runs; returns how many went.
    static int RemoveLeftovers(const std::string& prefix);

private:
    std::string m_path;
};

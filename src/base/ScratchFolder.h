// A private temporary folder for scratch files, removed with everything in it.
#pragma once

#include <string>

class ScratchFolder {
public:
    // Makes a new folder "<prefix>-XXXXXX" in the system's temporary folder; Path() is empty
    // when it cannot be made.
    explicit ScratchFolder(const std::string& prefix);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

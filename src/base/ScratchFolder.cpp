#include "base/ScratchFolder.h"

#include <filesystem>
#include <stdlib.h>

ScratchFolder::ScratchFolder(const std::string& prefix) {
    std::error_code error;
    std::string pattern =
        (std::filesystem::temp_directory_path(error) / (prefix + "-XXXXXX")).string();
    if (!error && mkdtemp(pattern.data()))
        m_path = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    if (!m_path.empty())
        std::filesystem::remove_all(m_path, ignored);
}

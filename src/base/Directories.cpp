#include "base/Directories.h"

#include <filesystem>
#include <system_error>

std::string g_strStartDir;
std::string g_strVowDir;
std::string g_strDatDir;
std::string g_strLogDir;

std::string CurrentDirectory() {
    std::error_code error;
    const auto path = std::filesystem::current_path(error);
    return error ? std::string() : path.string();
}

bool ChangeDirectory(const std::string& dir) {
    std::error_code error;
    std::filesystem::current_path(dir, error);
    if (!error)
        g_strLogDir.clear();
    return !error;
}

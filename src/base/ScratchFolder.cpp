#include "base/ScratchFolder.h"

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder(const std::string& prefix) {
    std::error_code error;
    std::string pattern =
        (fs::temp_directory_path(error) / (prefix + "-" + std::to_string(::getpid()) + "-XXXXXX"))
            .string();
    if (!error && mkdtemp(pattern.data()))
        m_path = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    if (!m_path.empty())
        fs::remove_all(m_path, ignored);
}

int ScratchFolder::RemoveLeftovers(const std::string& prefix) {
    std::error_code error;
    const fs::path temp = fs::temp_directory_path(error);
    if (error)
        return 0;
    const std::string start = prefix + "-";
    int removed = 0;
    for (fs::directory_iterator it(temp, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.compare(0, start.size(), start) != 0)
            continue;
        // "<pid>-XXXXXX": the digits, a dash and mkdtemp's six characters.
        const char* first = name.data() + start.size();
        const char* last = name.data() + name.size();
        long pid = 0;
        const auto [stop, fault] = std::from_chars(first, last, pid);
        if (fault != std::errc() || stop == first || pid <= 0 || last - stop != 7 || *stop != '-')
            continue;
        struct stat info {};
        if (::lstat(it->path().c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
            info.st_uid != ::getuid())
            continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)
            continue; // the process runs (or is another user's): its folder is in use
        std::error_code ignored;
        if (fs::remove_all(it->path(), ignored) > 0)
            ++removed;
    }
    return removed;
}

#include "base/SafeFile.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kMaxLinkHops = 40;

// Closes a descriptor when it goes out of scope, unless released.
class FdGuard {
public:
    explicit FdGuard(int fd) : m_fd(fd) {}
    ~FdGuard() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FdGuard(const FdGuard&) = delete;
    FdGuard& operator=(const FdGuard&) = delete;
    int Get() const { return m_fd; }
    // Closes now and reports the result, so a failing close is not lost.
    int Close() {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }

private:
    int m_fd;
};

int WriteAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        done += static_cast<size_t>(n);
    }
    return 0;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string FolderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// Flushes the folder's entry list so the rename survives a crash; failures are harmless.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// Checks an existing target and takes its permission bits; a missing one gets the usual
// bits of a new file.
int CheckTarget(const std::string& target, mode_t& mode) {
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) {
        if (errno != ENOENT)
            return errno;
        mode = NewFileMode();
        return 0;
    }
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    if (!S_ISREG(info.st_mode))
        return EINVAL;
    if (::access(target.c_str(), W_OK) != 0)
        return errno;
    mode = info.st_mode & 07777;
    return 0;
}

// Writes bytes to the temporary file and makes them durable; the file stays open-closed.
int FillTemporary(int fd, std::string_view bytes, mode_t mode) {
    if (int error = WriteAll(fd, bytes))
        return error;
    if (::fchmod(fd, mode) != 0)
        return errno;
    if (::fsync(fd) != 0)
        return errno;
    return 0;
}

} // namespace

int ReadWholeFile(const std::string& path, std::string& bytes) {
    FdGuard fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.Get() < 0)
        return errno;
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0)
        return errno;
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    if (!S_ISREG(info.st_mode))
        return EINVAL;
    std::string data;
    data.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            break;
        data.append(buffer, static_cast<size_t>(n));
    }
    bytes = std::move(data);
    return 0;
}

int ResolveSymlinks(const std::string& path, std::string& resolved) {
    std::filesystem::path current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            resolved = current.string();
            return 0;
        }
        char target[PATH_MAX];
        const ssize_t n = ::readlink(current.c_str(), target, sizeof target);
        if (n < 0)
            return errno;
        if (static_cast<size_t>(n) == sizeof target)
            return ENAMETOOLONG;
        const std::filesystem::path next(std::string(target, static_cast<size_t>(n)));
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return ELOOP;
}

int ReplaceFileContents(const std::string& path, std::string_view bytes) {
    std::string target;
    if (int error = ResolveSymlinks(path, target))
        return error;
    mode_t mode = 0;
    if (int error = CheckTarget(target, mode))
        return error;
    const std::string folder = FolderOf(target);
    std::string temporary =
        folder + "/." + std::filesystem::path(target).filename().string() + ".XXXXXX";
    FdGuard fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.Get() < 0)
        return errno;
    int error = FillTemporary(fd.Get(), bytes, mode);
    if (fd.Close() != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return error;
    }
    SyncFolder(folder);
    return 0;
}

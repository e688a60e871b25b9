#include "base/SafeFile.h"

#include "base/FileError.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

DurableWriteCalls& DurableWriteCallsInUse() {
    static DurableWriteCalls calls{::write, ::fsync, ::rename};
    return calls;
}

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
    // Hands the descriptor to the caller, who closes it.
    int Release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
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
        const ssize_t n =
            DurableWriteCallsInUse().write(fd, bytes.data() + done, bytes.size() - done);
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
    DurableWriteCallsInUse().fsync(fd);
    ::close(fd);
}

// Only regular files are read or written: a folder or a device is no document, and a pipe
// would make the program wait for a writer or reader that may never come.
int RefuseUnlessRegular(const struct stat& info) {
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    if (!S_ISREG(info.st_mode))
        return EINVAL;
    return 0;
}

// The same for a file already open: what was checked by name may have been swapped since.
int RefuseUnlessRegularOpen(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return errno;
    return RefuseUnlessRegular(info);
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
    if (int error = RefuseUnlessRegular(info))
        return error;
    if (::access(target.c_str(), W_OK) != 0)
        return errno;
    mode = info.st_mode & 07777;
    return 0;
}

// Writes bytes to the temporary file and, with flush, makes them durable.
int FillTemporary(int fd, std::string_view bytes, mode_t mode, bool flush) {
    if (int error = WriteAll(fd, bytes))
        return error;
    if (::fchmod(fd, mode) != 0)
        return errno;
    if (flush && DurableWriteCallsInUse().fsync(fd) != 0)
        return errno;
    return 0;
}

} // namespace

int OpenRegularFileForReading(const std::string& path, int& fd) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return errno;
    if (int error = RefuseUnlessRegular(info))
        return error;
    // Non-blocking, so that a pipe put there after the check cannot make the open wait.
    FdGuard opened(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (opened.Get() < 0)
        return errno;
    if (int error = RefuseUnlessRegularOpen(opened.Get()))
        return error;
    fd = opened.Release();
    return 0;
}

int OpenRegularFileForWriting(const std::string& path, int& fd) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (int error = RefuseUnlessRegular(info))
            return error;
    } else if (errno != ENOENT) {
        return errno;
    }
    FdGuard opened(
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
    if (opened.Get() < 0)
        return errno;
    if (int error = RefuseUnlessRegularOpen(opened.Get()))
        return error;
    // Emptied only now that it is known to be a regular file.
    if (::ftruncate(opened.Get(), 0) != 0)
        return errno;
    fd = opened.Release();
    return 0;
}

int OpenScratchFileForWriting(const std::string& path, int& fd) {
    // A link made again between the check and the open is removed on the next round.
    for (int attempt = 0; attempt < 3; ++attempt) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0) {
            const bool sharedName =
                S_ISLNK(info.st_mode) || (S_ISREG(info.st_mode) && info.st_nlink > 1);
            if (sharedName) {
                if (::unlink(path.c_str()) != 0 && errno != ENOENT)
                    return errno;
            } else if (int error = RefuseUnlessRegular(info)) {
                return error;
            }
        } else if (errno != ENOENT) {
            return errno;
        }
        FdGuard opened(::open(path.c_str(),
                              O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
                              0666));
        if (opened.Get() < 0) {
            if (errno == ELOOP)
                continue;
            return errno;
        }
        if (::fstat(opened.Get(), &info) != 0)
            return errno;
        if (S_ISREG(info.st_mode) && info.st_nlink > 1)
            continue;
        if (int error = RefuseUnlessRegular(info))
            return error;
        fd = opened.Release();
        return 0;
    }
    return ELOOP;
}

int ReadWholeFile(const std::string& path, std::string& bytes, size_t maxBytes) {
    int opened = -1;
    if (int error = OpenRegularFileForReading(path, opened))
        return error;
    FdGuard fd(opened);
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0)
        return errno;
    if (static_cast<uintmax_t>(info.st_size) > maxBytes)
        return EFBIG;
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
        if (static_cast<size_t>(n) > maxBytes - data.size())
            return EFBIG; // it grew while being read
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

int WritePendingFile(const std::string& path, std::string_view bytes, PendingFile& pending,
                     bool flush) {
    std::string target;
    if (int error = ResolveSymlinks(path, target))
        return error;
    mode_t mode = 0;
    if (int error = CheckTarget(target, mode))
        return error;
    // A short name of fixed length, so that a target whose name is as long as the file
    // system allows still gets its temporary file beside it.
    std::string temporary = FolderOf(target) + "/.qrnl-XXXXXX";
    FdGuard fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.Get() < 0)
        return errno;
    int error = FillTemporary(fd.Get(), bytes, mode, flush);
    if (fd.Close() != 0 && error == 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return error;
    }
    pending.temporary = std::move(temporary);
    pending.target = std::move(target);
    return 0;
}

int FlushPendingFiles(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int error = ::syncfs(fd) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

void SyncFolderOf(const std::string& path) {
    SyncFolder(FolderOf(path));
}

int CommitPendingFile(PendingFile& pending, bool syncFolder) {
    if (pending.temporary.empty())
        return 0;
    if (DurableWriteCallsInUse().rename(pending.temporary.c_str(), pending.target.c_str()) != 0) {
        const int error = errno;
        DiscardPendingFile(pending);
        return error;
    }
    pending.temporary.clear();
    if (syncFolder)
        SyncFolder(FolderOf(pending.target));
    return 0;
}

void DiscardPendingFile(PendingFile& pending) {
    if (!pending.temporary.empty())
        ::unlink(pending.temporary.c_str());
    pending.temporary.clear();
}

int ReplaceFileContents(const std::string& path, std::string_view bytes) {
    PendingFile pending;
    if (int error = WritePendingFile(path, bytes, pending))
        return error;
    return CommitPendingFile(pending);
}

std::string CheckOutputName(const std::string& path) {
    const std::filesystem::path name = std::filesystem::path(path).filename();
    const std::string folder = FolderOf(path);
    long longest = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    if (longest <= 0)
        longest = NAME_MAX;
    if (name.empty() || name == "." || name == "..")
        return "Can't write " + path + ": it names a folder, not a file.";
    if (static_cast<long>(name.string().size()) > longest)
        return "Can't write " + path + ": its name is " + std::to_string(name.string().size()) +
               " bytes long, longer than the " + std::to_string(longest) +
               " bytes a file name may have here.";
    if (path.size() >= PATH_MAX)
        return "Can't write " + path + ": the path is longer than " + std::to_string(PATH_MAX - 1) +
               " bytes.";
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        const int error = errno;
        return "Can't write " + path + ": the folder " + folder +
               (error == ENOENT ? std::string(" does not exist") : ": " + FileErrorReason(error)) +
               ".";
    }
    if (!S_ISDIR(info.st_mode))
        return "Can't write " + path + ": " + folder + " is not a folder.";
    return "";
}

std::string WriteOutputFile(const std::string& path, std::string_view bytes) {
    if (int error = ReplaceFileContents(path, bytes))
        return "Can't write " + path + ": " + FileErrorReason(error) +
               "; an existing file is left as it was.";
    return "";
}

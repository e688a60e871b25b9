#include "base/FileError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

unsigned FileErrorCauseFromErrno(int error) {
    switch (error) {
    case 0:
        return kCauseNone;
    case ENOENT:
        return kCauseFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
        return kCauseBadPath;
    case EMFILE:
    case ENFILE:
        return kCauseTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
        return kCauseAccessDenied;
    case EIO:
        return kCauseHardIO;
    case ENOSPC:
        return kCauseDiskFull;
    default:
        return kCauseGeneric;
    }
}

std::string FileErrorText(const std::string& path, unsigned cause) {
    return "Can't open file " + path + ", error = " + std::to_string(cause) + "\n";
}

std::string FileErrorReason(int error) {
    if (error == EISDIR)
        return "it is a folder";
    if (error == EINVAL)
        return "it is not a regular file (a device or a pipe)";
    return std::strerror(error);
}

Report FileErrorReport(const std::string& path, int error) {
    // The cause code alone tells a user little: the reason follows on a line of its own.
    Report report;
    report.Fail(FileErrorText(path, FileErrorCauseFromErrno(error)) + FileErrorReason(error),
                "Error", MsgIcon::Error);
    return report;
}

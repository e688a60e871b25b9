// The program's file-error message: "Can't open file %s, error = %u\n" with a cause code.
#pragma once

#include "base/Report.h"

#include <string>

// Cause codes of the file-error message.
enum FileErrorCause : unsigned {
    kCauseNone = 0,
    kCauseGeneric = 1,
    kCauseFileNotFound = 2,
    kCauseBadPath = 3,
    kCauseTooManyOpenFiles = 4,
    kCauseAccessDenied = 5,
    kCauseInvalidFile = 6,
    kCauseRemoveCurrentDir = 7,
    kCauseDirectoryFull = 8,
    kCauseBadSeek = 9,
    kCauseHardIO = 10,
    kCauseSharingViolation = 11,
    kCauseLockViolation = 12,
    kCauseDiskFull = 13,
    kCauseEndOfFile = 14,
};

// Maps an errno value to the cause code shown to the user.
unsigned FileErrorCauseFromErrno(int error);

// The message text for a file that could not be opened, ending in a line break.
std::string FileErrorText(const std::string& path, unsigned cause);

// Why a file operation failed, in a few words for command-line messages: "it is a folder",
// "it is not a regular file (a device or a pipe)", or the system's text for errno.
std::string FileErrorReason(int error);

// A failed report holding the file-error message (caption "Error") for path and errno value.
Report FileErrorReport(const std::string& path, int error);

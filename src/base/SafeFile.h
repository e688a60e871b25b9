// Whole-file reading and crash-safe replacing of files, reporting failures as errno values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <sys/types.h>

// Opens a regular file for reading without ever waiting: a folder (EISDIR), a device or a
// pipe (EINVAL) is refused before it is opened, and checked again once it is. Returns 0
// with the open descriptor in fd (the caller closes it), or the errno value of the failure.
int OpenRegularFileForReading(const std::string& path, int& fd);

// Opens a regular file for writing as fopen(path, "wb") does (a symbolic link is
// followed, the file is created or emptied), but a folder (EISDIR), a device or a pipe
// (EINVAL) is refused and never blocks. Returns 0 with the descriptor in fd, or errno.
int OpenRegularFileForWriting(const std::string& path, int& fd);

// Opens a scratch file that the program owns by its name (such as temp.wav) for writing in
// place, without ever writing through a link: a symbolic link or a second hard link of that
// name is removed and a new file made in its place; a folder (EISDIR), a device or a pipe
// (EINVAL) is refused. Returns 0 with the descriptor in fd, or the errno value.
int OpenScratchFileForWriting(const std::string& path, int& fd);

// Reads a regular file (opened as OpenRegularFileForReading does) into bytes. A file
// longer than maxBytes is refused with EFBIG before it is read. Returns 0, or the errno
// value of the failure; bytes is only changed on success.
int ReadWholeFile(const std::string& path, std::string& bytes, size_t maxBytes = SIZE_MAX);

// Replaces the file at path with bytes so that the old file is never lost: the bytes go to
// a temporary file in the target's folder, are flushed to disk, and only then renamed over
// the target. A symbolic link is written through (the link stays, its target is
// replaced); an existing target keeps its permission bits; an existing target that may not
// be written, or that is not a regular file, is refused. Returns 0, or the errno value
// of the failure, in which case the old file is untouched.
int ReplaceFileContents(const std::string& path, std::string_view bytes);

// A file written under a short temporary name beside the file it is to replace, so that
// several files can be written first and moved into place together.
struct PendingFile {
    std::string temporary; // empty when nothing is pending
    std::string target;    // the file the move replaces, its symbolic links followed
};

// The first half of ReplaceFileContents: checks the target as it does and writes the bytes
// to a new temporary file in the target's folder, flushed to disk unless flush is off (for
// many files, which FlushPendingFiles then flushes at once). Returns 0, or the errno value of
// the failure (nothing is then left behind).
int WritePendingFile(const std::string& path, std::string_view bytes, PendingFile& pending,
                     bool flush = true);
// Flushes everything written to the file system of folder to disk (one flush for many
// pending files). Returns 0 or errno.
int FlushPendingFiles(const std::string& folder);
// Moves the temporary file over its target; on failure it is removed. With syncFolder the
// folder's new entry is flushed to disk at once; without, SyncFolderOf does it later, once
// for many files. Returns 0 or errno.
int CommitPendingFile(PendingFile& pending, bool syncFolder = true);
// Flushes the entries of the folder holding path to disk; failures are harmless.
void SyncFolderOf(const std::string& path);
// Removes the temporary file, if any.
void DiscardPendingFile(PendingFile& pending);

// Why an output cannot be written at path, told before any work is done ("" when nothing
// speaks against it): a name longer than the file system allows, no file name at all, or
// a folder that does not exist or is not a folder.
std::string CheckOutputName(const std::string& path);

// Writes an output the user asked for (an exported sound, a made voice) with
// ReplaceFileContents. Returns "", or the message for the user naming the file and why:
// "Can't write PATH: it is a folder; an existing file is left as it was."
std::string WriteOutputFile(const std::string& path, std::string_view bytes);

// The file that writing to path really changes: path with its symbolic links followed
// (a link to a file that does not exist yet resolves to where the file will be).
// Returns 0, or ELOOP when the links go round in a circle.
int ResolveSymlinks(const std::string& path, std::string& resolved);

// The system calls that make ReplaceFileContents durable. Tests put recorders in their place
// to see that the bytes are written and flushed before the rename, and the folder after it.
struct DurableWriteCalls {
    ssize_t (*write)(int fd, const void* bytes, size_t count);
    int (*fsync)(int fd);
    int (*rename)(const char* from, const char* to);
};
DurableWriteCalls& DurableWriteCallsInUse();

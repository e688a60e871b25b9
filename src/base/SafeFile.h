// Whole-file reading and crash-safe replacing of files, reporting failures as errno values.
#pragma once

#include <string>
#include <string_view>

// Reads a regular file into bytes. Returns 0, or the errno value of the failure (EISDIR
// for a folder, EINVAL for a device or pipe, which are never read).
int ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces the file at path with bytes so that the old file is never lost: the bytes go to
// a temporary file in the target's folder, are flushed to disk, and only then renamed over
// the target. A symbolic link is written through (the link stays, its target is
// replaced); an existing target keeps its permission bits; an existing target that may not
// be written, or that is not a regular file, is refused. Returns 0, or the errno value
// of the failure, in which case the old file is untouched.
int ReplaceFileContents(const std::string& path, std::string_view bytes);

// The file that writing to path really changes: path with its symbolic links followed
// (a link to a file that does not exist yet resolves to where the file will be).
// Returns 0, or ELOOP when the links go round in a circle.
int ResolveSymlinks(const std::string& path, std::string& resolved);

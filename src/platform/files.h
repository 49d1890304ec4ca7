// The file system as the game sees it: every look-up also finds a file whose
// name differs only in case; writes replace files atomically; a copy is
// verified before anyone may delete its source.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/errors.h"

namespace platform {

// The path as it exists: each part that does not exist under its own name is
// replaced by the first name in its folder that differs only in case. Parts
// with no such name stay as given.
std::string ResolveCase(const std::string& path);

bool IsFile(const std::string& path);    // after ResolveCase
bool IsFolder(const std::string& path);  // after ResolveCase
// Whether the path, after ResolveCase, is a symbolic link itself.
bool IsLink(const std::string& path);

// Error 70 when the file (after ResolveCase) is write-protected for this
// user: no write permission on the file itself. Root passes every permission
// check, so for root a file no one may write counts as write-protected, as a
// read-only mark does. A file that is not there is not protected. Every write,
// copy, rename and delete below refuses a write-protected file this way.
RuntimeError CheckWritable(const std::string& path);

// Creates the folder and any missing parents; success when it already exists.
RuntimeError CreateFolder(const std::string& path);

// The names of the plain files of a folder, sorted without regard to case.
RuntimeError ListFiles(const std::string& folder, std::vector<std::string>& names);

RuntimeError ReadWholeFile(const std::string& path, std::string& bytes);
// Reads `count` bytes at byte `offset` (from 0); fewer bytes than asked is an error.
RuntimeError ReadBytes(const std::string& path, uint64_t offset, uint64_t count,
                       std::string& bytes);
RuntimeError FileSize(const std::string& path, uint64_t& size);

struct FileStamp {
    uint64_t size = 0;
    int64_t modified = 0;  // nanoseconds
    bool exists = false;
    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const std::string& path);

// Writes a temporary file beside `path`, flushes it and renames it over `path`.
RuntimeError WriteFileAtomic(const std::string& path, const std::string& bytes);
// Copies `from` to `to` atomically and compares the copy with the source. A
// source larger than `maxBytes` is not read (error 6).
RuntimeError CopyFileVerified(const std::string& from, const std::string& to,
                              uint64_t maxBytes = UINT64_MAX);
RuntimeError DeleteFile(const std::string& path);
// Moves `from` over `to` in one step, replacing the file the game would find
// as `to` (whatever the case of its name). Both must lie on one file system.
RuntimeError RenameFile(const std::string& from, const std::string& to);

// The folder of the running executable, with a trailing '/'.
std::string ExecutableFolder();
// The user's configuration folder (XDG_CONFIG_HOME, else ~/.config), with a trailing '/'.
std::string UserConfigFolder();

}  // namespace platform

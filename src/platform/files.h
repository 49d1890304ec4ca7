// The file system as the game sees it: every look-up also finds a file whose
// name differs only in case; writes replace files atomically; a copy is
// verified before anyone may delete its source.
#pragma once

#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
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
// The file keeps the permissions of the one it replaces.
RuntimeError WriteFileAtomic(const std::string& path, const std::string& bytes);
// The name whose atomic write, killed before its rename, left the temporary
// `name` behind ("." + the name + "." + six digits); nothing for other names.
std::optional<std::string> AtomicLeftoverOf(const std::string& name);
// Copies `from` to `to` atomically and compares the copy with the source. A
// source larger than `maxBytes` is not read (error 6).
RuntimeError CopyFileVerified(const std::string& from, const std::string& to,
                              uint64_t maxBytes = UINT64_MAX);
RuntimeError DeleteFile(const std::string& path);
// Moves `from` over `to` in one step, replacing the file the game would find
// as `to` (whatever the case of its name). Both must lie on one file system.
RuntimeError RenameFile(const std::string& from, const std::string& to);

// A file held open: what was checked on it is what is read from it, whatever
// happens to its name meanwhile.
class OpenFile {
  public:
    OpenFile() = default;
    ~OpenFile();
    OpenFile(OpenFile&& other) noexcept;
    OpenFile& operator=(OpenFile&& other) noexcept;

    bool IsOpen() const { return fd_ >= 0; }
    // The size it had when it was opened.
    uint64_t Size() const { return size_; }
    // Its first `count` bytes; fewer is an error.
    RuntimeError Read(uint64_t count, std::string& bytes) const;

  private:
    friend class Folder;
    int fd_ = -1;
    uint64_t size_ = 0;
};

// Where a file or folder lives on the disk: the same for one file under any name.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    auto operator<=>(const FileIdentity&) const = default;
};
// The identity of what stands at `path` (links followed); nothing when nothing does.
std::optional<FileIdentity> IdentityOf(const std::string& path);

// A folder opened once. Its names are read once and looked up in memory,
// without regard to case (Find); its files are opened relative to it, by
// their exact names of the folder itself (a name with a "/" is refused with
// error 52), never through a link, and no open waits on a pipe or a device.
// Changes made through it are kept in its names.
class Folder {
  public:
    enum class Kind { None, File, Folder, Link, Other };

    Folder() = default;
    ~Folder();
    Folder(Folder&& other) noexcept;
    Folder& operator=(Folder&& other) noexcept;

    // Opens the folder at `path` (after ResolveCase) and reads its names.
    RuntimeError Open(const std::string& path);
    // Opens the folder `name` of `parent` and reads its names, never through a
    // link; with `create` it is made when `parent` holds no such name.
    RuntimeError OpenIn(const Folder& parent, const std::string& name, bool create);
    bool IsOpen() const { return fd_ >= 0; }
    // Whether `name` in `parent` is, at this moment, this very folder and not a link.
    bool StandsAt(const Folder& parent, const std::string& name) const;
    // Whether `name` is, at this moment, the very file `file` holds open and not a link.
    bool Holds(const std::string& name, const OpenFile& file) const;

    // The names of its plain files, and with `links` of its links, sorted
    // without regard to case.
    std::vector<std::string> FileNames(bool links = false) const;
    // Every name in it, whatever stands there, in the same order.
    std::vector<std::string> Names() const;
    // The name under which `name` stands: itself, else the first that differs
    // only in case; empty when there is none.
    std::string Find(const std::string& name) const;
    // What stands under Find(name), as read (links not followed).
    Kind KindOf(const std::string& name) const;
    // What stands under `name` at this moment (links not followed).
    Kind KindNow(const std::string& name) const;

    // Opens the file `name` for reading. Error 75 for a link or for anything
    // that is not a plain file once opened, and nothing is left open; error 6
    // when it is larger than `maxBytes` (the file is then left open only to
    // tell its size).
    RuntimeError OpenRead(const std::string& name, uint64_t maxBytes, OpenFile& file) const;
    // Makes `name` as a new file (nothing may stand there, not even a link),
    // writes `bytes`, flushes them and reads them back through the same file.
    RuntimeError CreateFile(const std::string& name, const std::string& bytes, OpenFile& file);
    // Replaces `name` with `bytes` through a new file in this folder.
    RuntimeError WriteFileAtomic(const std::string& name, const std::string& bytes);
    // Moves `from` over `to` within this folder in one step.
    RuntimeError Rename(const std::string& from, const std::string& to);
    // Removes the file or link `name` (never a folder). A name found gone is
    // forgotten (error 53).
    RuntimeError Remove(const std::string& name);
    // CheckWritable's rule for the plain file `name`.
    RuntimeError CheckWritable(const std::string& name) const;
    // Flushes its entries, so that the renames and new files in it survive a
    // power cut in the order they were made. A file system that cannot flush
    // a folder counts as done.
    RuntimeError Sync() const;
    FileIdentity Identity() const;
    // Whether it lies on a file system mounted read-only.
    bool ReadOnly() const;
    // Whether nothing can be written in it: ReadOnly, or CheckWritable's rule
    // applied to the folder itself.
    bool WriteProtected() const;

  private:
    friend class FolderLock;
    RuntimeError ReadNames();
    std::vector<std::string> NamesOf(const std::function<bool(Kind)>& wanted) const;
    void Forget(const std::string& name);
    void Note(const std::string& name, Kind kind);

    int fd_ = -1;
    std::unordered_map<std::string, Kind> kinds_;
    // The names by their upper-case form, each list in byte order.
    std::unordered_map<std::string, std::vector<std::string>> byUpper_;
};

// A lock on a folder against other copies of the game, for as long as it
// lives: one writer at a time (exclusive), readers beside each other (shared).
// Another copy holding it is waited for briefly (FolderLockWaitMs), then the
// lock fails with error 55. Locks nest within one process, whichever Folder
// open on the folder takes them: a shared lock inside an exclusive one is
// already held, and so is a lock taken again through another Folder. An
// exclusive lock inside a shared one changes the lock held, which may let
// another copy in before it is granted: what was read before it must be read
// again. The folder is held shared again between its tries and after it
// fails; when that can't be, it fails with that error, and the shared locks
// around it no longer count as held: the next lock on the folder is taken anew.
class FolderLock {
  public:
    FolderLock(const Folder& folder, bool exclusive);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Why the lock was not taken; nothing is held then.
    const RuntimeError& Error() const { return error_; }

  private:
    FileIdentity folder_;
    bool exclusive_;
    RuntimeError error_;
};
// How long a lock waits for another copy of the game.
extern int FolderLockWaitMs;

// What a file operation is about to do, for a test that watches, fails or
// ends the program at one.
enum class FileEventKind {
    Create,       // a new file, `name` (an atomic write's temporary included)
    Write,        // its bytes
    Permissions,  // its permissions
    Flush,        // the file `name` reaches the disk
    FlushFolder,  // a folder's entries reach the disk (`name` is empty)
    MakeFolder,
    Rename,  // onto `name`
    Remove,
    OpenRead,  // a file opened for reading through a Folder
    ReadBack,  // a new file read back through the descriptor it was written through
};
struct FileEvent {
    FileEventKind kind;
    std::string name;
};
// Runs before every such operation, a cleanup after a failure included. Its
// answer is 0 to let the operation go on, or an errno value it then fails
// with, as if the system had refused it. Reads by path (ReadBytes) or through
// a file already open, opens of folders, closes, looks at names and kinds,
// and folder locks send none.
void SetFileEventHook(std::function<int(const FileEvent&)> hook);

// The folder of the running executable, with a trailing '/'.
std::string ExecutableFolder();
// The user's configuration folder (XDG_CONFIG_HOME, else ~/.config), with a trailing '/'.
std::string UserConfigFolder();

}  // namespace platform

#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <random>
#include <thread>
#include <utility>

namespace fs = std::filesystem;

namespace platform {
namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    auto ka = a, kb = b;
    std::transform(ka.begin(), ka.end(), ka.begin(), Lower);
    std::transform(kb.begin(), kb.end(), kb.begin(), Lower);
    return ka != kb ? ka < kb : a < b;
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// Closes a descriptor on every way out.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

std::function<int(const FileEvent&)>& FileEventHook() {
    static std::function<int(const FileEvent&)> hook;
    return hook;
}

// The hook's answer for the operation about to run: 0, or the errno it fails with.
int Event(FileEventKind kind, const std::string& name) {
    return FileEventHook() ? FileEventHook()({kind, name}) : 0;
}

// Runs the system call `call` (0 or -1) unless the hook refuses it: 0, or the
// errno the hook or the system answered.
template <class Call>
int Hooked(FileEventKind kind, const std::string& name, Call call) {
    if (int err = Event(kind, name))
        return err;
    return call() == 0 ? 0 : errno;
}

RuntimeError WriteAll(int fd, const std::string& bytes, const std::string& name) {
    if (int err = Event(FileEventKind::Write, name))
        return ErrorFromErrno(err, name);
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return ErrorFromErrno(errno);
        }
        done += static_cast<size_t>(n);
    }
    return {};
}

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// Reads `count` bytes at `offset` of an open file; fewer is an error.
RuntimeError ReadAt(int fd, uint64_t offset, uint64_t count, std::string& bytes) {
    bytes.assign(count, '\0');
    uint64_t done = 0;
    while (done < count) {
        ssize_t n =
            ::pread(fd, bytes.data() + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            bytes.clear();
            return n < 0 ? ErrorFromErrno(errno) : MakeError(ErrDeviceIO);
        }
        done += static_cast<uint64_t>(n);
    }
    return {};
}

// Error 70 for a plain file this user may not write (root: one no one may write).
RuntimeError WritableCheck(const struct stat& st, int dirFd, const std::string& name) {
    if (!S_ISREG(st.st_mode))
        return {};
    if (::geteuid() == 0)
        return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ? MakeError(ErrPermissionDenied)
                                                                 : RuntimeError{};
    if (::faccessat(dirFd, name.c_str(), W_OK, AT_EACCESS) == 0)
        return {};
    return ErrorFromErrno(errno, name);
}

Folder::Kind KindOfMode(mode_t mode) {
    if (S_ISREG(mode))
        return Folder::Kind::File;
    if (S_ISDIR(mode))
        return Folder::Kind::Folder;
    if (S_ISLNK(mode))
        return Folder::Kind::Link;
    return Folder::Kind::Other;
}

// Whether two descriptors hold one file.
bool SameOpenFile(int a, int b) {
    struct stat first, second;
    return ::fstat(a, &first) == 0 && ::fstat(b, &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

// Opening flags for any file of a folder: no link followed, no wait on a
// pipe or a device, no terminal taken over.
constexpr int SafeOpen = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

constexpr size_t AtomicDigits = 6;

// A name of the folder itself: no path that leads elsewhere, through a link or up.
bool IsEntryName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// `name` is the file flushed, empty for a folder. A file system that cannot
// flush (EINVAL) or is mounted read-only (EROFS) counts as done.
RuntimeError Flush(int fd, const std::string& name) {
    const int err = Hooked(name.empty() ? FileEventKind::FlushFolder : FileEventKind::Flush, name,
                           [fd] { return ::fsync(fd); });
    return err == EINVAL || err == EROFS ? RuntimeError{} : ErrorFromErrno(err, name);
}

// Gives a new file its permissions. A drive that keeps none may refuse the
// change (FAT drivers answer EPERM or ENOSYS); its files are written all the same.
RuntimeError SetMode(int fd, mode_t mode, const std::string& name) {
    const int err = Hooked(FileEventKind::Permissions, name, [&] { return ::fchmod(fd, mode); });
    return err == 0 || err == EPERM || err == EOPNOTSUPP || err == ENOSYS
               ? RuntimeError{}
               : ErrorFromErrno(err, name);
}

// The one atomic writer: `bytes` go to a new file beside `name` in the folder
// `dirFd` ("." + name + "." + six digits), are flushed and renamed over
// `name`, which keeps its permissions. A folder or anything but a plain file
// at `name` is refused, a link too unless `replaceLink`, and so is a file its
// owner protected (CheckWritable). On a failure nothing of the write is left.
RuntimeError WriteAtomicIn(int dirFd, const std::string& name, const std::string& bytes,
                           bool replaceLink) {
    if (!IsEntryName(name))
        return MakeError(ErrBadFileName);
    mode_t mode = 0644;
    struct stat old;
    if (::fstatat(dirFd, name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0) {
        if (!S_ISREG(old.st_mode) && !(replaceLink && S_ISLNK(old.st_mode)))
            return MakeError(ErrPathFileAccess);
        if (auto error = WritableCheck(old, dirFd, name))
            return error;
        if (S_ISREG(old.st_mode))
            mode = old.st_mode & 07777;
    }
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string digits = std::to_string(random() % 1000000);
        digits.insert(0, AtomicDigits - digits.size(), '0');
        const std::string temp = "." + name + "." + digits;
        if (int err = Event(FileEventKind::Create, temp))
            return ErrorFromErrno(err, name);
        Descriptor file{::openat(dirFd, temp.c_str(), O_RDWR | O_CREAT | O_EXCL | SafeOpen, 0600)};
        if (file.fd < 0 && errno == EEXIST)
            continue;
        if (file.fd < 0)
            return ErrorFromErrno(errno, name);
        RuntimeError error = WriteAll(file.fd, bytes, temp);
        if (!error)
            error = SetMode(file.fd, mode, temp);
        if (!error)
            error = Flush(file.fd, temp);
        if (!error && ::close(std::exchange(file.fd, -1)) != 0)
            error = ErrorFromErrno(errno);
        if (!error) {
            if (int err = Hooked(FileEventKind::Rename, name, [&] {
                    return ::renameat(dirFd, temp.c_str(), dirFd, name.c_str());
                }))
                error = ErrorFromErrno(err, name);
        }
        // The temporary goes; should that fail, it is a leftover AtomicLeftoverOf knows.
        if (error)
            Hooked(FileEventKind::Remove, temp, [&] { return ::unlinkat(dirFd, temp.c_str(), 0); });
        return error;
    }
    return MakeError(ErrFileExists);
}

}  // namespace

int FolderLockWaitMs = 2000;

void SetFileEventHook(std::function<int(const FileEvent&)> hook) {
    FileEventHook() = std::move(hook);
}

std::optional<std::string> AtomicLeftoverOf(const std::string& name) {
    if (name.size() < AtomicDigits + 3 || name.front() != '.' ||
        name[name.size() - AtomicDigits - 1] != '.' ||
        !std::all_of(name.end() - AtomicDigits, name.end(),
                     [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return name.substr(1, name.size() - AtomicDigits - 2);
}

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return FileIdentity{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

std::string ResolveCase(const std::string& path) {
    if (path.empty() || Exists(path))
        return path;
    const bool absolute = path.front() == '/';
    const bool trailingSlash = path.back() == '/';
    std::string current = absolute ? "/" : "";
    bool resolving = true;
    size_t pos = absolute ? 1 : 0;
    while (pos <= path.size()) {
        size_t end = path.find('/', pos);
        if (end == std::string::npos)
            end = path.size();
        std::string part = path.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty())
            continue;
        std::string candidate =
            current.empty() || current.back() == '/' ? current + part : current + "/" + part;
        if (resolving && !Exists(candidate) && part != "." && part != "..") {
            std::vector<std::string> matches;
            std::error_code ec;
            for (const auto& entry : fs::directory_iterator(current.empty() ? "." : current, ec)) {
                std::string name = entry.path().filename().string();
                if (SameIgnoringCase(name, part))
                    matches.push_back(name);
            }
            if (matches.empty()) {
                resolving = false;
            } else {
                std::sort(matches.begin(), matches.end());
                candidate = current.empty() || current.back() == '/'
                                ? current + matches.front()
                                : current + "/" + matches.front();
            }
        }
        current = candidate;
    }
    if (trailingSlash && !current.empty() && current.back() != '/')
        current += '/';
    return current;
}

bool IsFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(ResolveCase(path), ec);
}

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(ResolveCase(path), ec);
}

bool IsLink(const std::string& path) {
    std::string resolved = ResolveCase(path);
    // With a trailing '/' lstat would look through the link.
    while (resolved.size() > 1 && resolved.back() == '/')
        resolved.pop_back();
    struct stat st;
    return !resolved.empty() && ::lstat(resolved.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

RuntimeError CheckWritable(const std::string& path) {
    const std::string resolved = ResolveCase(path);
    struct stat st;
    if (resolved.empty() || ::stat(resolved.c_str(), &st) != 0)
        return {};
    return WritableCheck(st, AT_FDCWD, resolved);
}

RuntimeError CreateFolder(const std::string& path) {
    if (path.empty())
        return MakeError(ErrPathNotFound);
    if (IsFolder(path))
        return {};
    std::error_code ec;
    if (int err = Event(FileEventKind::MakeFolder, path))
        return ErrorFromErrno(err, path);
    fs::create_directories(path, ec);
    if (ec)
        return ErrorFromCode(ec, path);
    return IsFolder(path) ? RuntimeError{} : MakeError(ErrPathNotFound);
}

RuntimeError ListFiles(const std::string& folder, std::vector<std::string>& names) {
    names.clear();
    const std::string resolved = ResolveCase(folder);
    std::error_code ec;
    if (!fs::is_directory(resolved, ec))
        return MakeError(ErrPathNotFound);
    for (fs::directory_iterator it(resolved, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError))
            names.push_back(it->path().filename().string());
    }
    if (ec)
        return ErrorFromCode(ec, resolved);
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    return {};
}

RuntimeError ReadWholeFile(const std::string& path, std::string& bytes) {
    uint64_t size = 0;
    if (auto error = FileSize(path, size))
        return error;
    return ReadBytes(path, 0, size, bytes);
}

RuntimeError ReadBytes(const std::string& path, uint64_t offset, uint64_t count,
                       std::string& bytes) {
    bytes.clear();
    const std::string resolved = ResolveCase(path);
    // A pipe or a device put where a file was is refused, not waited on.
    Descriptor file{::open(resolved.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (file.fd < 0)
        return ErrorFromErrno(errno, resolved);
    struct stat st;
    if (::fstat(file.fd, &st) != 0)
        return ErrorFromErrno(errno);
    if (!S_ISREG(st.st_mode))
        return MakeError(ErrPathFileAccess);
    const uint64_t size = static_cast<uint64_t>(st.st_size);
    if (offset > size || count > size - offset)
        return MakeError(ErrPastEnd);
    return ReadAt(file.fd, offset, count, bytes);
}

RuntimeError FileSize(const std::string& path, uint64_t& size) {
    size = 0;
    const std::string resolved = ResolveCase(path);
    struct stat st;
    if (::stat(resolved.c_str(), &st) != 0)
        return ErrorFromErrno(errno, resolved);
    if (!S_ISREG(st.st_mode))
        return MakeError(ErrPathFileAccess);
    size = static_cast<uint64_t>(st.st_size);
    return {};
}

FileStamp StampOf(const std::string& path) {
    struct stat st;
    const std::string resolved = ResolveCase(path);
    if (::stat(resolved.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    return {static_cast<uint64_t>(st.st_size),
            static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, true};
}

RuntimeError WriteFileAtomic(const std::string& path, const std::string& bytes) {
    if (path.empty() || path.back() == '/')
        return MakeError(ErrBadFileName);
    // Write over the file the game would find, whatever the case of its name.
    const std::string target = ResolveCase(path);
    const size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    // A link at the name is replaced, never written through.
    if (IsFolder(target))
        return MakeError(ErrPathFileAccess);
    Descriptor dir{::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (dir.fd < 0)
        return ErrorFromErrno(errno, target);
    return WriteAtomicIn(dir.fd, name, bytes, true);
}

RuntimeError CopyFileVerified(const std::string& from, const std::string& to, uint64_t maxBytes) {
    if (auto error = CheckWritable(to))
        return error;
    uint64_t size = 0;
    if (auto error = FileSize(from, size))
        return error;
    if (size > maxBytes)
        return MakeError(ErrOverflow);
    // A source that grows meanwhile is copied as it was measured.
    std::string bytes;
    if (auto error = ReadBytes(from, 0, size, bytes))
        return error;
    if (auto error = WriteFileAtomic(to, bytes))
        return error;
    std::string copy;
    if (auto error = ReadWholeFile(to, copy))
        return error;
    if (copy != bytes)
        return MakeError(ErrDeviceIO);
    return {};
}

RuntimeError DeleteFile(const std::string& path) {
    const std::string resolved = ResolveCase(path);
    if (!IsFile(resolved))
        return MakeError(ErrFileNotFound);
    // Unlinking asks only the folder's permission; the file's own protection counts here.
    if (auto error = CheckWritable(resolved))
        return error;
    if (int err =
            Hooked(FileEventKind::Remove, resolved, [&] { return ::unlink(resolved.c_str()); }))
        return ErrorFromErrno(err, resolved);
    return {};
}

RuntimeError RenameFile(const std::string& from, const std::string& to) {
    if (from.empty() || to.empty() || to.back() == '/')
        return MakeError(ErrBadFileName);
    const std::string source = ResolveCase(from);
    const std::string target = ResolveCase(to);
    struct stat st;
    if (::lstat(source.c_str(), &st) != 0)
        return ErrorFromErrno(errno, source);
    if (!S_ISREG(st.st_mode))
        return MakeError(ErrPathFileAccess);
    // A folder in the way is refused as WriteFileAtomic refuses it.
    if (::stat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return MakeError(ErrPathFileAccess);
    if (auto error = CheckWritable(target))
        return error;
    if (int err = Hooked(FileEventKind::Rename, target,
                         [&] { return ::rename(source.c_str(), target.c_str()); }))
        return ErrorFromErrno(err, target);
    return {};
}

OpenFile::~OpenFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

OpenFile::OpenFile(OpenFile&& other) noexcept : fd_(other.fd_), size_(other.size_) {
    other.fd_ = -1;
}

OpenFile& OpenFile::operator=(OpenFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        size_ = other.size_;
    }
    return *this;
}

RuntimeError OpenFile::Read(uint64_t count, std::string& bytes) const {
    if (fd_ < 0)
        return MakeError(ErrBadFileName);
    return ReadAt(fd_, 0, count, bytes);
}

Folder::~Folder() {
    if (fd_ >= 0)
        ::close(fd_);
}

Folder::Folder(Folder&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      kinds_(std::move(other.kinds_)),
      byUpper_(std::move(other.byUpper_)) {}

Folder& Folder::operator=(Folder&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        kinds_ = std::move(other.kinds_);
        byUpper_ = std::move(other.byUpper_);
    }
    return *this;
}

RuntimeError Folder::Open(const std::string& path) {
    *this = Folder();
    if (path.empty())
        return MakeError(ErrPathNotFound);
    const std::string resolved = ResolveCase(path);
    fd_ = ::open(resolved.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0)
        return MakeError(errno == EACCES ? ErrPermissionDenied : ErrPathNotFound);
    return ReadNames();
}

RuntimeError Folder::OpenIn(const Folder& parent, const std::string& name, bool create) {
    *this = Folder();
    if (!parent.IsOpen() || name.empty() || name.find('/') != std::string::npos)
        return MakeError(ErrPathNotFound);
    std::string found = parent.Find(name);
    if (found.empty()) {
        if (!create)
            return MakeError(ErrPathNotFound);
        const int err = Hooked(FileEventKind::MakeFolder, name,
                               [&] { return ::mkdirat(parent.fd_, name.c_str(), 0777); });
        if (err != 0 && err != EEXIST)
            return ErrorFromErrno(err, name);
        found = name;
    }
    fd_ = ::openat(parent.fd_, found.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd_ < 0)
        return errno == ENOENT ? MakeError(ErrPathNotFound) : MakeError(ErrPathFileAccess);
    return ReadNames();
}

namespace {

// Whether `name` in the folder `folderFd` is, at this moment, what `fd` holds
// open; a link never is, as it is not followed.
bool SameFile(int folderFd, const std::string& name, int fd) {
    struct stat there, held;
    return folderFd >= 0 && fd >= 0 &&
           ::fstatat(folderFd, name.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0 &&
           ::fstat(fd, &held) == 0 && there.st_dev == held.st_dev && there.st_ino == held.st_ino;
}

}  // namespace

bool Folder::StandsAt(const Folder& parent, const std::string& name) const {
    return SameFile(parent.fd_, name, fd_);
}

bool Folder::Holds(const std::string& name, const OpenFile& file) const {
    return SameFile(fd_, name, file.fd_);
}

RuntimeError Folder::ReadNames() {
    kinds_.clear();
    byUpper_.clear();
    // The listing gets a descriptor of its own; fd_ stays for the opens.
    const int listing = ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = listing < 0 ? nullptr : ::fdopendir(listing);
    if (!dir) {
        if (listing >= 0)
            ::close(listing);
        return ErrorFromErrno(errno);
    }
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        Kind kind = Kind::Other;
        switch (entry->d_type) {
            case DT_REG:
                kind = Kind::File;
                break;
            case DT_DIR:
                kind = Kind::Folder;
                break;
            case DT_LNK:
                kind = Kind::Link;
                break;
            case DT_UNKNOWN:
                kind = KindNow(name);
                break;
            default:
                break;
        }
        Note(name, kind);
        errno = 0;
    }
    const int error = errno;
    ::closedir(dir);
    return error ? ErrorFromErrno(error) : RuntimeError{};
}

void Folder::Note(const std::string& name, Kind kind) {
    if (kinds_.insert_or_assign(name, kind).second) {
        std::vector<std::string>& same = byUpper_[Upper(name)];
        same.insert(std::lower_bound(same.begin(), same.end(), name), name);
    }
}

void Folder::Forget(const std::string& name) {
    if (kinds_.erase(name) == 0)
        return;
    const auto it = byUpper_.find(Upper(name));
    if (it == byUpper_.end())
        return;
    std::erase(it->second, name);
    if (it->second.empty())
        byUpper_.erase(it);
}

std::vector<std::string> Folder::FileNames(bool links) const {
    return NamesOf(
        [links](Kind kind) { return kind == Kind::File || (links && kind == Kind::Link); });
}

std::vector<std::string> Folder::Names() const {
    return NamesOf([](Kind) { return true; });
}

std::vector<std::string> Folder::NamesOf(const std::function<bool(Kind)>& wanted) const {
    // LessIgnoringCase's order, with each name's lower-case key made once.
    std::vector<std::pair<std::string, std::string>> keyed;
    for (const auto& [name, kind] : kinds_) {
        if (!wanted(kind))
            continue;
        std::string key = name;
        std::transform(key.begin(), key.end(), key.begin(), Lower);
        keyed.emplace_back(std::move(key), name);
    }
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::string> names;
    names.reserve(keyed.size());
    for (auto& [key, name] : keyed)
        names.push_back(std::move(name));
    return names;
}

std::string Folder::Find(const std::string& name) const {
    if (kinds_.count(name))
        return name;
    const auto it = byUpper_.find(Upper(name));
    return it == byUpper_.end() ? std::string() : it->second.front();
}

Folder::Kind Folder::KindOf(const std::string& name) const {
    const auto it = kinds_.find(Find(name));
    return it == kinds_.end() ? Kind::None : it->second;
}

Folder::Kind Folder::KindNow(const std::string& name) const {
    struct stat st;
    if (!IsOpen() || ::fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return Kind::None;
    return KindOfMode(st.st_mode);
}

RuntimeError Folder::OpenRead(const std::string& name, uint64_t maxBytes, OpenFile& file) const {
    file = OpenFile();
    if (!IsOpen())
        return MakeError(ErrPathNotFound);
    if (!IsEntryName(name))
        return MakeError(ErrBadFileName);
    if (int err = Event(FileEventKind::OpenRead, name))
        return ErrorFromErrno(err, name);
    file.fd_ = ::openat(fd_, name.c_str(), O_RDONLY | SafeOpen);
    if (file.fd_ < 0)
        return errno == ELOOP ? MakeError(ErrPathFileAccess) : ErrorFromErrno(errno, name);
    struct stat st;
    if (::fstat(file.fd_, &st) != 0) {
        const int err = errno;
        file = OpenFile();
        return ErrorFromErrno(err);
    }
    if (!S_ISREG(st.st_mode)) {
        file = OpenFile();
        return MakeError(ErrPathFileAccess);
    }
    file.size_ = static_cast<uint64_t>(st.st_size);
    return file.size_ > maxBytes ? MakeError(ErrOverflow) : RuntimeError{};
}

RuntimeError Folder::CreateFile(const std::string& name, const std::string& bytes, OpenFile& file) {
    file = OpenFile();
    if (!IsOpen())
        return MakeError(ErrPathNotFound);
    if (!IsEntryName(name))
        return MakeError(ErrBadFileName);
    if (int err = Event(FileEventKind::Create, name))
        return ErrorFromErrno(err, name);
    file.fd_ = ::openat(fd_, name.c_str(), O_RDWR | O_CREAT | O_EXCL | SafeOpen, 0644);
    if (file.fd_ < 0)
        return ErrorFromErrno(errno, name);
    Note(name, Kind::File);
    RuntimeError error = WriteAll(file.fd_, bytes, name);
    if (!error)
        error = SetMode(file.fd_, 0644, name);
    if (!error)
        error = Flush(file.fd_, name);
    std::string back;
    if (!error) {
        const int err = Event(FileEventKind::ReadBack, name);
        error = err ? ErrorFromErrno(err, name) : ReadAt(file.fd_, 0, bytes.size(), back);
        // Some drivers read a new file back truly only through a descriptor
        // opened for reading (a FUSE FAT driver answers EPERM, or other
        // bytes): the very same file, opened anew.
        if (error || back != bytes) {
            Descriptor again{Event(FileEventKind::OpenRead, name)
                                 ? -1
                                 : ::openat(fd_, name.c_str(), O_RDONLY | SafeOpen)};
            if (again.fd >= 0 && SameOpenFile(again.fd, file.fd_))
                error = ReadAt(again.fd, 0, bytes.size(), back);
        }
    }
    if (!error && back != bytes)
        error = MakeError(ErrDeviceIO);
    if (error) {
        file = OpenFile();
        Remove(name);
        return error;
    }
    file.size_ = bytes.size();
    return {};
}

RuntimeError Folder::WriteFileAtomic(const std::string& name, const std::string& bytes) {
    if (!IsOpen())
        return MakeError(ErrPathNotFound);
    if (auto error = WriteAtomicIn(fd_, name, bytes, false))
        return error;
    Note(name, Kind::File);
    return {};
}

RuntimeError Folder::Rename(const std::string& from, const std::string& to) {
    if (!IsOpen())
        return MakeError(ErrPathNotFound);
    if (!IsEntryName(from) || !IsEntryName(to))
        return MakeError(ErrBadFileName);
    struct stat st;
    if (::fstatat(fd_, from.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return ErrorFromErrno(errno, from);
    if (!S_ISREG(st.st_mode))
        return MakeError(ErrPathFileAccess);
    if (::fstatat(fd_, to.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (!S_ISREG(st.st_mode))
            return MakeError(ErrPathFileAccess);
        if (auto error = WritableCheck(st, fd_, to))
            return error;
    }
    if (int err = Hooked(FileEventKind::Rename, to,
                         [&] { return ::renameat(fd_, from.c_str(), fd_, to.c_str()); }))
        return ErrorFromErrno(err, to);
    Forget(from);
    Note(to, Kind::File);
    return {};
}

RuntimeError Folder::Remove(const std::string& name) {
    if (!IsOpen())
        return MakeError(ErrPathNotFound);
    if (!IsEntryName(name))
        return MakeError(ErrBadFileName);
    struct stat st;
    if (::fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT)
            Forget(name);
        return MakeError(ErrFileNotFound);
    }
    if (S_ISDIR(st.st_mode))
        return MakeError(ErrPathFileAccess);
    if (auto error = WritableCheck(st, fd_, name))
        return error;
    if (int err =
            Hooked(FileEventKind::Remove, name, [&] { return ::unlinkat(fd_, name.c_str(), 0); }))
        return ErrorFromErrno(err, name);
    Forget(name);
    return {};
}

RuntimeError Folder::CheckWritable(const std::string& name) const {
    struct stat st;
    if (!IsOpen() || ::fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return {};
    return WritableCheck(st, fd_, name);
}

RuntimeError Folder::Sync() const {
    return IsOpen() ? Flush(fd_, {}) : MakeError(ErrPathNotFound);
}

FileIdentity Folder::Identity() const {
    struct stat st;
    if (!IsOpen() || ::fstat(fd_, &st) != 0)
        return {};
    return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

bool Folder::ReadOnly() const {
    struct statvfs fs;
    return IsOpen() && ::fstatvfs(fd_, &fs) == 0 && (fs.f_flag & ST_RDONLY) != 0;
}

bool Folder::WriteProtected() const {
    struct stat st;
    if (!IsOpen() || ReadOnly() || ::fstat(fd_, &st) != 0)
        return true;
    if (::geteuid() == 0)
        return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    return ::faccessat(fd_, ".", W_OK, AT_EACCESS) != 0;
}

namespace {

// Takes `operation` (LOCK_SH or LOCK_EX) on `fd`, waiting up to FolderLockWaitMs.
// flock makes a shared lock exclusive by letting it go first, and a try that
// fails leaves none: with `keepShared` each such try takes the shared lock back
// before the next, so that between tries it is held again. When it can't be,
// `lost` is set and that is the error.
RuntimeError TakeLock(int fd, int operation, bool keepShared, bool& lost) {
    constexpr auto Step = std::chrono::milliseconds(20);
    for (int waited = 0;; waited += static_cast<int>(Step.count())) {
        if (::flock(fd, operation | LOCK_NB) == 0)
            return {};
        const int err = errno;
        if (keepShared) {
            if (auto error = TakeLock(fd, LOCK_SH, false, lost)) {
                lost = true;
                return error;
            }
        }
        if (err != EWOULDBLOCK && err != EINTR)
            return ErrorFromErrno(err);
        if (waited >= FolderLockWaitMs)
            return MakeError(ErrFileAlreadyOpen);
        std::this_thread::sleep_for(Step);
    }
}

// The locks this process holds, by folder: every Folder open on one folder
// shares them, through a descriptor of the lock's own.
struct HeldLock {
    int fd = -1;
    int shared = 0;
    int exclusive = 0;
    // The shared locks counted are not held: a change to exclusive let them
    // go and they could not be taken back. The next lock is taken anew.
    bool lost = false;
};

std::map<FileIdentity, HeldLock>& HeldLocks() {
    static std::map<FileIdentity, HeldLock> locks;
    static pid_t owner = ::getpid();
    // A child process inherits the table but holds none of its locks.
    if (owner != ::getpid()) {
        for (auto& [folder, held] : locks)
            ::close(held.fd);
        locks.clear();
        owner = ::getpid();
    }
    return locks;
}

std::mutex& HeldLocksMutex() {
    static std::mutex mutex;
    return mutex;
}

}  // namespace

FolderLock::FolderLock(const Folder& folder, bool exclusive)
    : folder_(folder.Identity()), exclusive_(exclusive) {
    if (!folder.IsOpen()) {
        error_ = MakeError(ErrPathNotFound);
        return;
    }
    std::lock_guard guard(HeldLocksMutex());
    HeldLock& held = HeldLocks()[folder_];
    const bool shared = held.shared > 0 && !held.lost;
    if (held.exclusive == 0 && (exclusive || !shared)) {
        if (held.fd < 0)
            held.fd = ::fcntl(folder.fd_, F_DUPFD_CLOEXEC, 0);
        error_ = held.fd < 0 ? ErrorFromErrno(errno)
                             : TakeLock(held.fd, exclusive ? LOCK_EX : LOCK_SH, shared, held.lost);
        if (!error_)
            held.lost = false;
    }
    if (!error_) {
        ++(exclusive ? held.exclusive : held.shared);
    } else if (held.shared == 0 && held.exclusive == 0) {
        if (held.fd >= 0)
            ::close(held.fd);
        HeldLocks().erase(folder_);
    }
}

FolderLock::~FolderLock() {
    if (error_)
        return;
    std::lock_guard guard(HeldLocksMutex());
    const auto it = HeldLocks().find(folder_);
    if (it == HeldLocks().end())
        return;
    HeldLock& held = it->second;
    int& count = exclusive_ ? held.exclusive : held.shared;
    if (--count > 0 || held.exclusive > 0)
        return;
    if (held.shared > 0) {
        held.lost = ::flock(held.fd, LOCK_SH) != 0;
        return;
    }
    ::flock(held.fd, LOCK_UN);
    ::close(held.fd);
    HeldLocks().erase(it);
}

std::string ExecutableFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return "./";
    std::string folder = exe.parent_path().string();
    return folder.empty() || folder.back() != '/' ? folder + "/" : folder;
}

std::string UserConfigFolder() {
    std::string folder;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
        folder = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        folder = std::string(home) + "/.config";
    } else {
        folder = "/tmp";
    }
    return folder.back() == '/' ? folder : folder + "/";
}

}  // namespace platform

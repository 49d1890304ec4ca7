#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

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

RuntimeError WriteAll(int fd, const std::string& bytes) {
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

}  // namespace

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
            std::error_code ec;
            std::vector<std::string> matches;
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
    if (resolved.empty() || ::stat(resolved.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    if (::geteuid() == 0) {
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            return MakeError(ErrPermissionDenied);
        return {};
    }
    if (::faccessat(AT_FDCWD, resolved.c_str(), W_OK, AT_EACCESS) == 0)
        return {};
    return ErrorFromErrno(errno, resolved);
}

RuntimeError CreateFolder(const std::string& path) {
    if (path.empty())
        return MakeError(ErrPathNotFound);
    if (IsFolder(path))
        return {};
    std::error_code ec;
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
    Descriptor file{::open(resolved.c_str(), O_RDONLY | O_CLOEXEC)};
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
    bytes.resize(count);
    uint64_t done = 0;
    while (done < count) {
        ssize_t n =
            ::pread(file.fd, bytes.data() + done, count - done, static_cast<off_t>(offset + done));
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
    std::string temp = (slash == std::string::npos ? "" : folder) + "." + name + ".XXXXXX";
    // The rename below would replace a file its owner protected.
    if (auto error = CheckWritable(target))
        return error;

    Descriptor file{::mkstemp(temp.data())};
    if (file.fd < 0)
        return ErrorFromErrno(errno, temp);
    struct stat old;
    mode_t mode = 0644;
    if (::stat(target.c_str(), &old) == 0) {
        if (S_ISDIR(old.st_mode)) {
            ::unlink(temp.c_str());
            return MakeError(ErrPathFileAccess);
        }
        mode = old.st_mode & 07777;
    }
    RuntimeError error = WriteAll(file.fd, bytes);
    if (!error && ::fchmod(file.fd, mode) != 0)
        error = ErrorFromErrno(errno);
    if (!error && ::fsync(file.fd) != 0)
        error = ErrorFromErrno(errno);
    if (!error && ::close(file.fd) != 0)
        error = ErrorFromErrno(errno);
    file.fd = -1;
    if (!error && ::rename(temp.c_str(), target.c_str()) != 0)
        error = ErrorFromErrno(errno, target);
    if (error) {
        ::unlink(temp.c_str());
        return error;
    }
    return {};
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
    if (::unlink(resolved.c_str()) != 0)
        return ErrorFromErrno(errno, resolved);
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
    if (::rename(source.c_str(), target.c_str()) != 0)
        return ErrorFromErrno(errno, target);
    return {};
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

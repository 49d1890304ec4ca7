#include "platform/folder_sync.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files.h"

namespace platform {

namespace {

RuntimeError SyncDescriptor(int fd) {
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
        return ErrorFromErrno(errno);
    return {};
}

}  // namespace

RuntimeError SyncFolder(const std::string& folder) {
    const std::string resolved = ResolveCase(folder.empty() ? std::string(".") : folder);
    const int fd = ::open(resolved.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return ErrorFromErrno(errno, resolved);
    RuntimeError error = SyncDescriptor(fd);
    ::close(fd);
    return error;
}

// Beside SyncFolder, so that both flush alike.
RuntimeError Folder::Sync() const {
    return IsOpen() ? SyncDescriptor(fd_) : MakeError(ErrPathNotFound);
}

}  // namespace platform

#include "platform/folder_sync.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files.h"

namespace platform {

RuntimeError SyncFolder(const std::string& folder) {
    const std::string resolved = ResolveCase(folder.empty() ? std::string(".") : folder);
    const int fd = ::open(resolved.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return ErrorFromErrno(errno, resolved);
    RuntimeError error;
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
        error = ErrorFromErrno(errno);
    ::close(fd);
    return error;
}

}  // namespace platform

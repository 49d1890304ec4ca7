#include "platform/errors.h"

#include <cerrno>
#include <filesystem>

namespace platform {

RuntimeError MakeError(int number) {
    switch (number) {
        case 0:
            return {};
        case ErrInvalidCall:
            return {number, "Invalid procedure call or argument"};
        case ErrOverflow:
            return {number, "Overflow"};
        case ErrBadFileName:
            return {number, "Bad file name or number"};
        case ErrFileNotFound:
            return {number, "File not found"};
        case ErrDeviceIO:
            return {number, "Device I/O error"};
        case ErrFileExists:
            return {number, "File already exists"};
        case ErrFileAlreadyOpen:
            return {number, "File already open"};
        case ErrDiskFull:
            return {number, "Disk full"};
        case ErrTooManyFiles:
            return {number, "Too many files"};
        case ErrPastEnd:
            return {number, "Input past end of file"};
        case ErrPermissionDenied:
            return {number, "Permission denied"};
        case ErrPathNotFound:
            return {number, "Path not found"};
        default:
            return {ErrPathFileAccess, "Path/File access error"};
    }
}

RuntimeError ErrorFromErrno(int err, const std::string& path) {
    switch (err) {
        case 0:
            return {};
        case ENOENT: {
            if (path.empty())
                return MakeError(ErrFileNotFound);
            std::error_code ec;
            auto parent = std::filesystem::path(path).parent_path();
            bool parentThere = parent.empty() || std::filesystem::is_directory(parent, ec);
            return MakeError(parentThere ? ErrFileNotFound : ErrPathNotFound);
        }
        case ENOTDIR:
            return MakeError(ErrPathNotFound);
        case EACCES:
        case EPERM:
        case EROFS:
            return MakeError(ErrPermissionDenied);
        case ENOSPC:
        case EDQUOT:
            return MakeError(ErrDiskFull);
        case EEXIST:
            return MakeError(ErrFileExists);
        case EIO:
            return MakeError(ErrDeviceIO);
        case EMFILE:
        case ENFILE:
            return MakeError(ErrTooManyFiles);
        case ENAMETOOLONG:
        case EINVAL:
            return MakeError(ErrBadFileName);
        default:
            return MakeError(ErrPathFileAccess);
    }
}

RuntimeError ErrorFromCode(const std::error_code& ec, const std::string& path) {
    if (!ec)
        return {};
    if (ec.category() == std::generic_category() || ec.category() == std::system_category())
        return ErrorFromErrno(ec.value(), path);
    return MakeError(ErrPathFileAccess);
}

std::string ErrorText(const RuntimeError& error) {
    return "ERROR " + std::to_string(error.number) + "\r" + error.description;
}

}  // namespace platform

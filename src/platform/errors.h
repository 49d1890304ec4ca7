// Run-time errors of the platform layer: a number and a description, in the
// style the game reports them ("ERROR " & number, a line break, the description).
#pragma once

#include <string>
#include <system_error>

namespace platform {

struct RuntimeError {
    int number = 0;
    std::string description;

    explicit operator bool() const { return number != 0; }
};

// Error numbers the game knows by value.
enum : int {
    ErrInvalidCall = 5,
    ErrOverflow = 6,
    ErrBadFileName = 52,
    ErrFileNotFound = 53,
    ErrDeviceIO = 57,
    ErrFileExists = 58,
    ErrTooManyFiles = 67,
    ErrFileAlreadyOpen = 55,  // also: a folder another copy of the game is writing
    ErrDiskFull = 61,
    ErrPastEnd = 62,
    ErrPermissionDenied = 70,
    ErrPathFileAccess = 75,
    ErrPathNotFound = 76,
};

RuntimeError MakeError(int number);
// How the game reports an error: "ERROR " & number, a line break, the description.
std::string ErrorText(const RuntimeError& error);
// Maps an errno value; `path` decides between "file" and "path" not found.
RuntimeError ErrorFromErrno(int err, const std::string& path = {});
RuntimeError ErrorFromCode(const std::error_code& ec, const std::string& path = {});

}  // namespace platform

// Settings files in the INI format, with the behaviour of the Windows profile
// functions: sections and keys are found without regard to case, the first
// write creates the file and the section, and every other line is kept. CR,
// LF and CRLF each end a line; new lines take the file's first line ending.
#pragma once

#include <string>

#include "platform/errors.h"

namespace platform {

// Copies the value (trimmed, one pair of enclosing quotes removed, cut to
// bufferLength - 1 characters) into `value` and returns its length. A missing
// file, section or key gives `defaultValue`. `error` is set when the file exists
// but cannot be read.
int ProfileGetString(const std::string& section, const std::string& key,
                     const std::string& defaultValue, std::string& value, int bufferLength,
                     const std::string& file, RuntimeError* error = nullptr);

// Writes `key=value` into the section; CR and LF are removed from all three
// texts, and section and key are trimmed as the reader trims them. The file is
// replaced atomically. False, with `error` set and the file as it was, on
// failure: also for a section holding "]", a key holding "=" or starting with
// ";" or "[", and a file that would grow past the size the reader accepts.
bool ProfileWriteString(const std::string& section, const std::string& key,
                        const std::string& value, const std::string& file,
                        RuntimeError* error = nullptr);

}  // namespace platform

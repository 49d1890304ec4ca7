#include "common/library.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/text.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/services.h"

namespace quarvelt {
namespace {

size_t LastSeparator(const std::string& path) {
    return path.find_last_of("/\\");
}

// A list of names indexed from 1; entry 0 is left alone.
constexpr size_t FreshListEntries = 1025;
constexpr size_t ListGrowth = 256;

bool MatchesPattern(const std::string& name, const std::string& pattern, int& error) {
    if (!pattern.empty() && pattern.front() == '*') {
        if (pattern.size() < 3)
            return false;
        const std::string tail = name.size() >= 3 ? name.substr(name.size() - 3) : name;
        return UpperCase(tail) == UpperCase(pattern.substr(pattern.size() - 3));
    }
    if (!pattern.empty() && pattern.back() == '*') {
        const auto dot = pattern.find('.');
        if (dot == std::string::npos) {
            error = platform::ErrInvalidCall;
            return false;
        }
        // Names too short to carry an extension cannot match a base name.
        if (name.size() < 4)
            return false;
        return UpperCase(name.substr(0, name.size() - 4)) == UpperCase(pattern.substr(0, dot));
    }
    return false;
}

void ShowIniError(const std::string& message, const std::string& title,
                  const std::string& description) {
    platform::MsgBox(message + "\r" + description, platform::MsgOkOnly + platform::MsgCritical,
                     title);
}

}  // namespace

bool FileExists(const std::string& path) {
    return platform::IsFile(path);
}

bool FolderExists(const std::string& path) {
    return platform::IsFolder(path);
}

std::string GetFilePath(const std::string& path) {
    const auto at = LastSeparator(path);
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

std::string GetFileName(const std::string& path) {
    const auto at = LastSeparator(path);
    return at == std::string::npos ? std::string() : path.substr(at + 1);
}

std::string SetFileExt(const std::string& name, const std::string& ext) {
    if (TrimBlanks(name).empty())
        return "ERROR";
    const auto dot = name.rfind('.');
    if (dot == std::string::npos)
        return name + "." + ext;
    if (UpperCase(name.substr(dot + 1)) == UpperCase(ext))
        return name;
    return name.substr(0, dot + 1) + ext;
}

int16_t GetFileList(const std::string& folder, const std::string& pattern,
                    std::vector<std::string>& list) {
    if (list.size() <= 1)
        list.resize(FreshListEntries);
    std::vector<std::string> names;
    if (auto error = platform::ListFiles(folder + "/", names))
        return static_cast<int16_t>(-error.number);
    int count = 0;
    for (const auto& name : names) {
        int error = 0;
        const bool match = MatchesPattern(name, pattern, error);
        if (error)
            return static_cast<int16_t>(-error);
        if (!match)
            continue;
        if (count == std::numeric_limits<int16_t>::max())
            break;
        ++count;
        if (static_cast<size_t>(count) > list.size() - 1)
            list.resize(static_cast<size_t>(count) + ListGrowth + 1);
        list[static_cast<size_t>(count)] = name;
    }
    return static_cast<int16_t>(count);
}

std::vector<std::string> MatchFileNames(const std::vector<std::string>& names,
                                        const std::string& pattern) {
    std::vector<std::string> matching;
    for (const std::string& name : names) {
        int error = 0;
        if (MatchesPattern(name, pattern, error))
            matching.push_back(name);
        if (error)
            return {};
    }
    return matching;
}

bool IsDriveOfType(const std::string& drive, const std::string& kind) {
    const std::string word = UpperCase(kind);
    bool all = false;
    platform::DriveKind wanted;
    if (word == "HARD DRIVE" || word == "HD" || word == "HDD" || word == "FIXED")
        wanted = platform::DriveKind::Fixed;
    else if (word == "REMOVABLE" || word == "USB" || word == "FLOPPY" || word == "FD" ||
             word == "FDD")
        wanted = platform::DriveKind::Removable;
    else if (word == "CDROM" || word == "CD" || word == "CDWRITER" || word == "CDR" ||
             word == "CDW")
        wanted = platform::DriveKind::CdRom;
    else if (word == "RAM DRIVE" || word == "RAM DISK" || word == "RD")
        wanted = platform::DriveKind::RamDisk;
    else if (word == "UNKNOWN" || word == "UNK")
        wanted = platform::DriveKind::Unknown;
    else if (word == "ALL")
        all = true;
    else
        return false;

    std::vector<platform::Drive> drives;
    if (!platform::Current().drives->List(drives))
        return false;
    for (const auto& d : drives) {
        if (!all && d.kind != wanted)
            continue;
        if (std::string(1, d.letter) + ":" == drive)
            return true;
    }
    return false;
}

void ReadWriteIni(const std::string& file, const std::string& section, const std::string& key,
                  std::string& value, Flag writeFlag) {
    const std::string folder = GetFilePath(file);
    if (folder.empty()) {
        ShowIniError("ERROR: INVALIED PATH!\r\rThis path is invalied: " + folder,
                     "ACCESSING  INI  FILE", "");
        return;
    }
    const std::string name = GetFileName(file);
    if (TrimBlanks(name).empty()) {
        ShowIniError("ERROR: NO FILENAME!", "ACCESSING  INI  FILE", "");
        return;
    }
    const std::string iniFile = folder + SetFileExt(name, "INI");

    platform::RuntimeError error;
    if (IsTrue(writeFlag)) {
        if (!platform::ProfileWriteString(section, key, value, iniFile, &error))
            ShowIniError(
                "ERROR: UNABLE TO WRITE INI VALUE!\r\rUnable to write to Ini File: " + name,
                "WRITING  TO  INI  FILE", error.description);
        return;
    }

    constexpr int BufferLength = 255;
    std::string copied;
    const int count =
        platform::ProfileGetString(section, key, "", copied, BufferLength, iniFile, &error);
    if (error) {
        ShowIniError("ERROR: UNABLE TO READ INI VALUE!\r\rUnable to read from Ini File: " + name,
                     "READING  FROM  INI  FILE", error.description);
        return;
    }
    if (count > 0) {
        // The profile call leaves the value, a NUL and the rest of the blank buffer.
        std::string buffer = copied + '\0';
        buffer.resize(BufferLength, ' ');
        value = StripNulls(buffer);
    } else {
        value.clear();
    }
}

std::string StripNulls(const std::string& text) {
    std::string out = TrimBlanks(text);
    out.erase(std::remove(out.begin(), out.end(), '\0'), out.end());
    return out;
}

void WaitSeconds(float seconds) {
    // A short slice keeps the window responsive without spinning the CPU.
    constexpr double SliceSeconds = 0.01;
    auto& events = *platform::Current().events;
    const double wanted =
        std::isfinite(seconds) ? std::max(0.0, static_cast<double>(seconds)) : 0.0;
    const double start = events.Seconds();
    for (;;) {
        events.ProcessEvents();
        const double remaining = wanted - (events.Seconds() - start);
        if (remaining <= 0)
            return;
        events.WaitForEvents(
            static_cast<int>(std::ceil(std::min(remaining, SliceSeconds) * 1000.0)));
    }
}

std::string RightJustify(const std::string& text, int16_t width, Flag dropCommas, Flag dropDollar) {
    std::string out = text;
    if (IsTrue(dropCommas))
        out.erase(std::remove(out.begin(), out.end(), ','), out.end());
    if (IsTrue(dropDollar) && !out.empty() && out.front() == '$')
        out.erase(0, 1);
    out = TrimBlanks(out);
    if (width <= 0)
        return {};
    const auto w = static_cast<size_t>(width);
    if (out.size() >= w)
        return out.substr(0, w);
    return std::string(w - out.size(), ' ') + out;
}

}  // namespace quarvelt

#include "platform/drives_linux.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

namespace platform {
namespace {

// Mount tables escape blanks and a few other characters as octal triples.
std::string Unescape(const std::string& field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string digits = field.substr(i + 1, 3);
            if (std::all_of(digits.begin(), digits.end(),
                            [](char c) { return c >= '0' && c <= '7'; })) {
                out += static_cast<char>(std::stoi(digits, nullptr, 8));
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool UnderRemovableMediaFolder(const std::string& mountPoint) {
    return StartsWith(mountPoint, "/media/") || StartsWith(mountPoint, "/run/media/");
}

bool IsOptical(const std::string& device, const std::string& fsType) {
    const std::string name = device.substr(device.find_last_of('/') + 1);
    return StartsWith(name, "sr") || fsType == "iso9660" || fsType == "udf";
}

std::string WithSlash(const std::string& folder) {
    return (!folder.empty() && folder.back() == '/') ? folder : folder + "/";
}

bool ReadFlag(const std::string& path) {
    std::ifstream in(path);
    char c = 0;
    return in.get(c) && c == '1';
}

}  // namespace

std::vector<Drive> DrivesFromMountTable(const std::string& mounts, const BlockDeviceFacts& facts) {
    std::vector<Drive> drives;
    std::map<std::string, DriveKind> lettered;  // mount point -> kind, sorted by mount point
    bool haveRoot = false;
    std::istringstream lines(mounts);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint, fsType;
        if (!(fields >> device >> mountPoint >> fsType))
            continue;
        device = Unescape(device);
        mountPoint = Unescape(mountPoint);
        if (mountPoint == "/") {
            haveRoot = true;
            continue;
        }
        if (!StartsWith(device, "/dev/"))
            continue;
        const std::string name = device.substr(5);
        DriveKind kind;
        if (IsOptical(device, fsType))
            kind = DriveKind::CdRom;
        else if ((facts.isRemovable && facts.isRemovable(name)) ||
                 UnderRemovableMediaFolder(mountPoint))
            kind = DriveKind::Removable;
        else
            continue;
        lettered.emplace(mountPoint, kind);
    }
    if (haveRoot || mounts.empty())
        drives.push_back({'C', DriveKind::Fixed, "/"});
    char letter = 'D';
    for (const auto& [mountPoint, kind] : lettered) {
        if (letter > 'Z')
            break;
        drives.push_back({letter++, kind, WithSlash(mountPoint)});
    }
    return drives;
}

bool LinuxDrives::List(std::vector<Drive>& drives) {
    std::ifstream in("/proc/mounts");
    if (!in)
        return false;
    std::stringstream text;
    text << in.rdbuf();
    BlockDeviceFacts facts;
    facts.isRemovable = [](const std::string& name) {
        // A partition carries the flag on its disk, one folder up.
        const std::string base = "/sys/class/block/" + name;
        return ReadFlag(base + "/removable") || ReadFlag(base + "/../removable");
    };
    drives = DrivesFromMountTable(text.str(), facts);
    return true;
}

}  // namespace platform

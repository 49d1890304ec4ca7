#include "platform/drives_linux.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
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

// A stick pulled out without unmounting stays in the mount table; its node or its size
// tells that it has gone.
bool BlockDevicePresent(const std::string& name) {
    std::error_code error;
    const std::filesystem::path node = "/dev/" + name;
    if (!std::filesystem::is_block_file(node, error))
        return false;
    const auto resolved = std::filesystem::canonical(node, error);
    if (error)
        return true;
    std::ifstream in("/sys/class/block/" + resolved.filename().string() + "/size");
    unsigned long long sectors = 0;
    if (!(in >> sectors))
        return true;
    return sectors > 0;
}

struct Volume {
    std::string device;
    DriveKind kind;
};

}  // namespace

std::vector<Drive> DrivesFromMountTable(const std::string& mounts, const BlockDeviceFacts& facts,
                                        DriveLetters& letters) {
    std::map<std::string, Volume> volumes;  // by mount point, so new ones get letters in order
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
        // A stick a user-space driver mounts may name no device at all.
        if (!StartsWith(device, "/dev/")) {
            if (StartsWith(fsType, "fuse") && UnderRemovableMediaFolder(mountPoint))
                volumes.emplace(mountPoint, Volume{device, DriveKind::Removable});
            continue;
        }
        const std::string name = device.substr(5);
        DriveKind kind;
        if (IsOptical(device, fsType))
            kind = DriveKind::CdRom;
        else if ((facts.isRemovable && facts.isRemovable(name)) ||
                 UnderRemovableMediaFolder(mountPoint))
            kind = DriveKind::Removable;
        else
            continue;
        if (facts.isPresent && !facts.isPresent(name))
            continue;
        volumes.emplace(mountPoint, Volume{device, kind});
    }

    // Volumes still listed keep their letters; the rest of the old letters are free again.
    DriveLetters kept;
    kept.awaited = letters.awaited;
    std::set<char> taken;
    for (const auto& [mountPoint, volume] : volumes) {
        const auto held = letters.held.find({volume.device, mountPoint});
        if (held != letters.held.end()) {
            kept.held.insert(*held);
            taken.insert(held->second);
        }
    }
    char next = 'D';
    for (const auto& [mountPoint, volume] : volumes) {
        auto key = std::make_pair(volume.device, mountPoint);
        if (kept.held.count(key))
            continue;
        if (letters.awaited >= 'D' && letters.awaited <= 'Z' && !taken.count(letters.awaited)) {
            taken.insert(letters.awaited);
            kept.held.emplace(std::move(key), letters.awaited);
            continue;
        }
        while (next <= 'Z' && taken.count(next))
            ++next;
        if (next > 'Z')
            break;
        taken.insert(next);
        kept.held.emplace(std::move(key), next);
    }
    letters = std::move(kept);

    std::vector<Drive> drives;
    if (haveRoot || mounts.empty())
        drives.push_back({'C', DriveKind::Fixed, "/"});
    for (const auto& [key, letter] : letters.held)
        drives.push_back({letter, volumes.at(key.second).kind, WithSlash(key.second)});
    std::sort(drives.begin(), drives.end(),
              [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
    return drives;
}

std::vector<Drive> DrivesFromMountTable(const std::string& mounts, const BlockDeviceFacts& facts) {
    DriveLetters letters;
    return DrivesFromMountTable(mounts, facts, letters);
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
    facts.isPresent = BlockDevicePresent;
    drives = DrivesFromMountTable(text.str(), facts, letters_);
    return true;
}

}  // namespace platform

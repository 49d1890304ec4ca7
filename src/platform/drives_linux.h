// Drives on Linux: "C:" is the root file system; removable and optical volumes
// get letters from "D:" on, in the order of their mount points.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/services.h"

namespace platform {

// What the drive list needs to know of a block device, by its /dev name ("sdb1").
struct BlockDeviceFacts {
    std::function<bool(const std::string&)> isRemovable;
};

// Builds the drive list from the text of a mount table (the /proc/mounts format).
std::vector<Drive> DrivesFromMountTable(const std::string& mounts, const BlockDeviceFacts& facts);

class LinuxDrives : public Drives {
  public:
    bool List(std::vector<Drive>& drives) override;
};

}  // namespace platform

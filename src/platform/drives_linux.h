// Drives on Linux: "C:" is the root file system; removable and optical volumes get letters
// from "D:" to "Z:". A volume keeps its letter for as long as it stays mounted, a newly
// mounted one takes the letter the game is asking a drive for when that is free, else the
// lowest free letter (several at once in the order of their mount points). A volume on a
// /dev device frees its letter when it is unmounted or its device has gone; one a
// user-space driver mounts names no device, and frees its letter when it is unmounted.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/services.h"

namespace platform {

// What the drive list needs to know of a block device, by its /dev name ("sdb1").
struct BlockDeviceFacts {
    std::function<bool(const std::string&)> isRemovable;
    // False once the device is gone or empty; when unset every device is present.
    std::function<bool(const std::string&)> isPresent;
};

// The letters handed out so far, kept from one listing to the next so that a letter
// never moves to another volume while the game may write through it.
struct DriveLetters {
    // (device, mount point) as the mount table gives them, unescaped -> letter.
    std::map<std::pair<std::string, std::string>, char> held;
    // A letter the game asks a drive for: a new drive takes it while it is free.
    char awaited = 0;
};

// Builds the drive list from the text of a mount table (the /proc/mounts format), keeping
// the letters in `letters` and updating them to the volumes now listed.
std::vector<Drive> DrivesFromMountTable(const std::string& mounts, const BlockDeviceFacts& facts,
                                        DriveLetters& letters);

// The same, with no letters handed out before.
std::vector<Drive> DrivesFromMountTable(const std::string& mounts, const BlockDeviceFacts& facts);

class LinuxDrives : public Drives {
  public:
    bool List(std::vector<Drive>& drives) override;
    void Await(char letter) override { letters_.awaited = letter; }

  private:
    DriveLetters letters_;
};

}  // namespace platform

#include "platform/drives_linux.h"

#include <gtest/gtest.h>

TEST(LinuxDriveList, RootIsCAndRemovableVolumesFollowInMountPointOrder) {
    const std::string mounts =
        "/dev/vda1 / ext4 rw 0 0\n"
        "proc /proc proc rw 0 0\n"
        "/dev/sdc1 /run/media/ann/STICK\\040TWO vfat rw 0 0\n"
        "/dev/sr0 /mnt/cdrom iso9660 ro 0 0\n"
        "/dev/sdb1 /mnt/usb vfat rw 0 0\n"
        "/dev/vda2 /home ext4 rw 0 0\n"
        "/dev/sdd1 /media/ann/CARD exfat rw 0 0\n";
    platform::BlockDeviceFacts facts;
    facts.isRemovable = [](const std::string& name) { return name == "sdb1"; };
    const auto drives = platform::DrivesFromMountTable(mounts, facts);
    ASSERT_EQ(drives.size(), 5u);
    EXPECT_EQ(drives[0].letter, 'C');
    EXPECT_EQ(drives[0].kind, platform::DriveKind::Fixed);
    EXPECT_EQ(drives[0].rootPath, "/");
    const std::vector<std::pair<char, std::string>> expected = {{'D', "/media/ann/CARD/"},
                                                                {'E', "/mnt/cdrom/"},
                                                                {'F', "/mnt/usb/"},
                                                                {'G', "/run/media/ann/STICK TWO/"}};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(drives[i + 1].letter, expected[i].first);
        EXPECT_EQ(drives[i + 1].rootPath, expected[i].second);
    }
    EXPECT_EQ(drives[2].kind, platform::DriveKind::CdRom);
    EXPECT_EQ(drives[3].kind, platform::DriveKind::Removable);
}

TEST(LinuxDriveList, LettersStopAtZ) {
    std::string mounts = "/dev/vda1 / ext4 rw 0 0\n";
    for (int i = 0; i < 30; ++i)
        mounts += "/dev/sd" + std::to_string(i) + " /media/v" + std::to_string(100 + i) +
                  " vfat rw 0 0\n";
    const auto drives = platform::DrivesFromMountTable(mounts, {});
    ASSERT_EQ(drives.size(), 24u);
    EXPECT_EQ(drives.back().letter, 'Z');
}

// Each row lists again with the same letters, as the game's one LinuxDrives does.
TEST(LinuxDriveList, VolumeKeepsItsLetterWhileMounted) {
    const std::string root = "/dev/vda1 / ext4 rw 0 0\n";
    const std::string a = "/dev/sdb1 /media/a vfat rw 0 0\n";
    const std::string b = "/dev/sdc1 /media/b vfat rw 0 0\n";
    const std::string c = "/dev/sdd1 /media/c vfat rw 0 0\n";
    const std::string disc = "/dev/sr0 /mnt/cdrom iso9660 ro 0 0\n";
    const std::string otherAtA = "/dev/sdf1 /media/a vfat rw 0 0\n";
    const struct {
        std::string mounts, absent, expected;
        char awaited = 0;  // the letter the game asks a drive for
    } rows[] = {
        {root + b + a, "", "C/ D/media/a/ E/media/b/"},
        {root + b, "", "C/ E/media/b/"},
        {root + b + c, "", "C/ D/media/c/ E/media/b/"},
        {root + b + c, "sdc1", "C/ D/media/c/"},
        {root + disc + c + a, "", "C/ D/media/c/ E/media/a/ F/mnt/cdrom/"},
        {root + disc + otherAtA, "", "C/ D/media/a/ F/mnt/cdrom/"},
        {root + disc, "", "C/ F/mnt/cdrom/"},
        {root + disc + b, "", "C/ E/media/b/ F/mnt/cdrom/", 'E'},
        {root + disc + b + "fusefat /media/fat fuse.fusefat rw 0 0\n", "",
         "C/ D/media/fat/ E/media/b/ F/mnt/cdrom/"},
    };
    platform::DriveLetters letters;
    for (const auto& row : rows) {
        platform::BlockDeviceFacts facts;
        facts.isPresent = [&](const std::string& name) { return name != row.absent; };
        letters.awaited = row.awaited;
        std::string listed;
        for (const auto& drive : platform::DrivesFromMountTable(row.mounts, facts, letters))
            listed += (listed.empty() ? "" : " ") + std::string(1, drive.letter) + drive.rootPath;
        EXPECT_EQ(listed, row.expected) << row.mounts << "absent: " << row.absent;
    }
}

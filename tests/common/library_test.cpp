#include "common/library.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/files.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

using namespace quarvelt;
using testsupport::ScriptedPlatform;
using testsupport::TempFolder;

TEST(PathHelpers, SplitAtTheLastSeparatorOfEitherKind) {
    EXPECT_EQ(GetFilePath("C:\\A\\B.INI"), "C:\\A\\");
    EXPECT_EQ(GetFileName("C:\\A\\B.INI"), "B.INI");
    EXPECT_EQ(GetFilePath("/home/x/B.INI"), "/home/x/");
    EXPECT_EQ(GetFileName("/home/x/B.INI"), "B.INI");
    EXPECT_EQ(GetFilePath("/a\\b/c.ini"), "/a\\b/");
    EXPECT_EQ(GetFileName("/a/b\\c.ini"), "c.ini");
    // A bare name has no folder part and, by the same rule, no name part.
    EXPECT_EQ(GetFilePath("B.INI"), "");
    EXPECT_EQ(GetFileName("B.INI"), "");
    EXPECT_EQ(GetFileName("C:\\A\\"), "");
    EXPECT_EQ(GetFileName("/a/"), "");
}

TEST(PathHelpers, SetFileExtForcesTheExtension) {
    EXPECT_EQ(SetFileExt("B", "INI"), "B.INI");
    EXPECT_EQ(SetFileExt("B.ini", "INI"), "B.ini");
    EXPECT_EQ(SetFileExt("B.TXT", "INI"), "B.INI");
    EXPECT_EQ(SetFileExt("B.", "INI"), "B.INI");
    EXPECT_EQ(SetFileExt("A.B.TXT", "INI"), "A.B.INI");
    EXPECT_EQ(SetFileExt("   ", "INI"), "ERROR");
    EXPECT_EQ(SetFileExt("", "INI"), "ERROR");
}

TEST(TextHelpers, StripNullsTrimsThenDropsEveryNul) {
    EXPECT_EQ(StripNulls(std::string("  AB\0   ", 8)), "AB");
    EXPECT_EQ(StripNulls(std::string("A\0B", 3)), "AB");
    EXPECT_EQ(StripNulls(std::string("\0 A", 3)),
              " A");  // the NUL shielded the blank from the trim
    EXPECT_EQ(StripNulls("    "), "");
}

TEST(TextHelpers, RightJustifyAlignsCutsAndCleans) {
    EXPECT_EQ(RightJustify("1,234", 8, True, False), "    1234");
    EXPECT_EQ(RightJustify("1,234", 8, False, False), "   1,234");
    EXPECT_EQ(RightJustify("$12", 5, False, True), "   12");
    EXPECT_EQ(RightJustify("$12", 5, False, False), "  $12");
    EXPECT_EQ(RightJustify("$12", 5, False, 1), "  $12");  // only -1 is true
    EXPECT_EQ(RightJustify("123456", 4, False, False), "1234");
    EXPECT_EQ(RightJustify("  7  ", 3, False, False), "  7");
    EXPECT_EQ(RightJustify("7", 0, False, False), "");
}

TEST(FileChecks, ExistenceIgnoresCaseButNotKind) {
    TempFolder dir;
    dir.Write("DATA/BLANK.BMP", "x");
    EXPECT_TRUE(FileExists(dir.Path() + "DATA/BLANK.BMP"));
    EXPECT_TRUE(FileExists(dir.Path() + "DATA/blank.bmp"));
    EXPECT_TRUE(FileExists(dir.Path() + "data/Blank.Bmp"));
    EXPECT_FALSE(FileExists(dir.Path() + "DATA/OTHER.BMP"));
    EXPECT_FALSE(FileExists(dir.Path() + "DATA"));  // a folder is not a file
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(FolderExists(dir.Path() + "DATA"));
    EXPECT_TRUE(FolderExists(dir.Path() + "DATA/"));
    EXPECT_FALSE(FolderExists(dir.Path() + "DATA/BLANK.BMP"));
    EXPECT_FALSE(FolderExists(dir.Path() + "PUZZLE"));
}

class FileList : public ::testing::Test {
  protected:
    TempFolder dir;
    std::vector<std::string> list;
};

TEST_F(FileList, ExtensionPatternMatchesTheLastThreeCharacters) {
    dir.Write("A.IDX", "");
    dir.Write("b.idx", "");
    dir.Write("C.MIX", "");
    dir.Write("XIDX", "");
    dir.Write("SUB.IDX/inner", "");  // a folder is never listed
    ASSERT_EQ(GetFileList(dir.Path(), "*.IDX", list), 3);
    EXPECT_EQ(list[1], "A.IDX");
    EXPECT_EQ(list[2], "b.idx");
    EXPECT_EQ(list[3], "XIDX");
    EXPECT_EQ(list.size(), 1025u);
    EXPECT_EQ(GetFileList(dir.Path(), "*.BMP", list), 0);
}

TEST_F(FileList, BaseNamePatternMatchesTheNameWithoutItsExtension) {
    for (auto name : {"BASE.INF", "base.pzl", "BASE1.INF", "AB", "X"})
        dir.Write(name, "");
    // Names too short for an extension are passed over instead of ending the listing.
    ASSERT_EQ(GetFileList(dir.Path(), "BASE.*", list), 2);
    EXPECT_EQ(list[1], "BASE.INF");
    EXPECT_EQ(list[2], "base.pzl");
}

TEST_F(FileList, FailuresAreNegativeAndKeepWhatWasListed) {
    EXPECT_EQ(GetFileList(dir.Path() + "MISSING/", "*.INF", list), -76);
    dir.Write("A.INF", "");
    EXPECT_LT(GetFileList(dir.Path(), "BASE*", list), 0);  // a base-name pattern without its dot
    EXPECT_EQ(GetFileList(dir.Path(), "A.INF", list), 0);  // neither kind of pattern
}

TEST_F(FileList, FolderIsFoundWithOrWithoutItsSlashAndInAnyCase) {
    dir.Write("PUZZLE/ONE.INF", "");
    EXPECT_EQ(GetFileList(dir.Path() + "PUZZLE", "*.INF", list), 1);
    EXPECT_EQ(GetFileList(dir.Path() + "puzzle/", "*.INF", list), 1);
}

TEST_F(FileList, SizedListKeepsItsSizeAndEntryZero) {
    dir.Write("ONE.INF", "");
    list.assign(127, "");
    list[0] = "kept";
    EXPECT_EQ(GetFileList(dir.Path(), "*.INF", list), 1);
    EXPECT_EQ(list.size(), 127u);
    EXPECT_EQ(list[0], "kept");
    EXPECT_EQ(list[1], "ONE.INF");
}

TEST_F(FileList, FreshListGrowsPast1024Names) {
    for (int i = 0; i < 1030; ++i)
        dir.Write("F" + std::to_string(10000 + i) + ".BMP", "");
    ASSERT_EQ(GetFileList(dir.Path(), "*.BMP", list), 1030);
    EXPECT_EQ(list.size(), 1282u);  // entries 0 to 1281 after the 1025th name
    EXPECT_EQ(list[1], "F10000.BMP");
    EXPECT_EQ(list[1030], "F11029.BMP");
}

TEST(Drives, KindWordsAndExactLetters) {
    ScriptedPlatform platform;
    platform.drives = {{'C', platform::DriveKind::Fixed, "/"},
                       {'D', platform::DriveKind::CdRom, "/media/cd/"},
                       {'E', platform::DriveKind::Removable, "/media/usb/"},
                       {'N', platform::DriveKind::Network, "/net/"}};
    EXPECT_TRUE(IsDriveOfType("E:", "usb"));
    EXPECT_TRUE(IsDriveOfType("E:", "REMOVABLE"));
    EXPECT_TRUE(IsDriveOfType("E:", "Fdd"));
    EXPECT_FALSE(IsDriveOfType("e:", "usb"));
    EXPECT_FALSE(IsDriveOfType("E", "usb"));
    EXPECT_FALSE(IsDriveOfType("E:", "CDROM"));
    EXPECT_TRUE(IsDriveOfType("D:", "cdw"));
    EXPECT_TRUE(IsDriveOfType("C:", "hard drive"));
    EXPECT_FALSE(IsDriveOfType("C:", "harddrive"));
    EXPECT_TRUE(IsDriveOfType("N:", "ALL"));
    EXPECT_FALSE(IsDriveOfType("N:", "FIXED"));
    EXPECT_FALSE(IsDriveOfType("Z:", "ALL"));
}

TEST(Drives, FailingDriveListAnswersFalse) {
    ScriptedPlatform platform;
    platform.drives = {{'E', platform::DriveKind::Removable, "/media/usb/"}};
    platform.drivesFail = true;
    EXPECT_FALSE(IsDriveOfType("E:", "REMOVABLE"));
}

class Ini : public ::testing::Test {
  protected:
    TempFolder dir;
    ScriptedPlatform platform;

    std::string Read(const std::string& file, const std::string& section, const std::string& key,
                     std::string start = "unchanged") {
        ReadWriteIni(file, section, key, start, False);
        return start;
    }
    void Write(const std::string& file, const std::string& section, const std::string& key,
               std::string value) {
        ReadWriteIni(file, section, key, value, True);
    }
};

TEST_F(Ini, RoundTripWithoutRegardToCase) {
    const std::string file = dir.Path() + "QUARVELT.INI";
    Write(file, "STARTUPINFO", "ReleaseDate", "25 July 2019");
    EXPECT_EQ(dir.Read("QUARVELT.INI"), "[STARTUPINFO]\nReleaseDate=25 July 2019\n");
    EXPECT_EQ(Read(file, "startupinfo", "RELEASEDATE"), "25 July 2019");
    Write(file, "StartUpInfo", "releasedate", "1 May 2020");
    EXPECT_EQ(Read(file, "STARTUPINFO", "ReleaseDate"), "1 May 2020");
    EXPECT_TRUE(platform.Boxes().empty());
}

TEST_F(Ini, MissingAndEmptyValuesReadEmptyWithoutABox) {
    const std::string file = dir.Write("S.INI", "[A]\nEmpty=\nBlank=   \n");
    EXPECT_EQ(Read(file, "A", "Missing"), "");
    EXPECT_EQ(Read(file, "A", "Empty"), "");
    EXPECT_EQ(Read(file, "A", "Blank"), "");
    EXPECT_EQ(Read(file, "B", "Empty"), "");
    EXPECT_EQ(Read(dir.Path() + "NONE.INI", "A", "Key"), "");
    EXPECT_FALSE(FileExists(dir.Path() + "NONE.INI"));  // reading creates nothing
}

TEST_F(Ini, WritingKeepsEveryOtherLine) {
    const std::string before =
        "; kept comment\r\n[OTHER]\r\nX = 1\r\n\r\n[A]\r\nKey=old\r\nNext=2\r\n\r\n[LAST]\r\nY=3";
    const std::string file = dir.Write("S.INI", before);
    Write(file, "A", "Key", "new");
    Write(file, "A", "Added", "4");
    Write(file, "NEW", "Z", "5");
    EXPECT_EQ(
        dir.Read("S.INI"),
        "; kept comment\r\n[OTHER]\r\nX = 1\r\n\r\n[A]\r\nKey=new\r\nNext=2\r\nAdded=4\r\n\r\n"
        "[LAST]\r\nY=3\r\n[NEW]\r\nZ=5\r\n");
    EXPECT_EQ(Read(file, "OTHER", "x"), "1");
}

TEST_F(Ini, ExtensionIsForcedAndLineBreaksCannotInjectLines) {
    Write(dir.Path() + "SETTINGS.TXT", "A", "Key", "one\r\n[EVIL]\nx=1");
    EXPECT_FALSE(FileExists(dir.Path() + "SETTINGS.TXT"));
    EXPECT_EQ(dir.Read("SETTINGS.INI"), "[A]\nKey=one[EVIL]x=1\n");
    EXPECT_EQ(Read(dir.Path() + "SETTINGS.DAT", "A", "Key"), "one[EVIL]x=1");
}

TEST_F(Ini, LongValuesComeBackCutTo254) {
    const std::string file = dir.Path() + "S.INI";
    Write(file, "A", "Long", std::string(300, 'v'));
    EXPECT_EQ(Read(file, "A", "Long"), std::string(254, 'v'));
}

TEST_F(Ini, OnlyMinusOneWrites) {
    const std::string file = dir.Write("S.INI", "[A]\nKey=stored\n");
    std::string value = "ignored";
    ReadWriteIni(file, "A", "Key", value, 1);
    EXPECT_EQ(value, "stored");
    EXPECT_EQ(dir.Read("S.INI"), "[A]\nKey=stored\n");
}

TEST_F(Ini, PathWithoutFolderIsRefusedWithABox) {
    platform.ExpectBox("ACCESSING  INI  FILE");
    EXPECT_EQ(Read("SETTINGS.INI", "A", "Key"), "unchanged");
    const auto& box = platform.Boxes().at(0);
    EXPECT_EQ(box.text, "ERROR: INVALIED PATH!\r\rThis path is invalied: \r");
    EXPECT_EQ(box.flags, platform::MsgCritical);
    EXPECT_EQ(platform.Beeps(), 0);
}

TEST_F(Ini, PathWithoutNameIsRefusedWithABox) {
    platform.ExpectBox("ACCESSING  INI  FILE");
    Write(dir.Path() + "   ", "A", "Key", "v");
    EXPECT_EQ(platform.Boxes().at(0).text, "ERROR: NO FILENAME!\r");
    EXPECT_FALSE(FileExists(dir.Path() + "   .INI"));
}

TEST_F(Ini, UnreadableAndUnwritableFilesAreReported) {
    // A folder standing where the file should be can be neither read nor replaced.
    dir.Write("BAD.INI/inside", "");
    platform.ExpectBox("READING  FROM  INI  FILE");
    EXPECT_EQ(Read(dir.Path() + "BAD.TXT", "A", "Key"), "unchanged");
    EXPECT_EQ(platform.Boxes().at(0).text,
              "ERROR: UNABLE TO READ INI VALUE!\r\rUnable to read from Ini File: "
              "BAD.TXT\rPath/File access error");

    platform.ExpectBox("WRITING  TO  INI  FILE");
    Write(dir.Path() + "NOFOLDER/S.INI", "A", "Key", "v");
    EXPECT_EQ(
        platform.Boxes().at(1).text,
        "ERROR: UNABLE TO WRITE INI VALUE!\r\rUnable to write to Ini File: S.INI\rPath not found");
    EXPECT_EQ(platform.Boxes().at(1).flags, platform::MsgCritical);
}

TEST_F(Ini, FileWhoseNameDiffersInCaseIsUsed) {
    dir.Write("quarvelt.ini", "[STARTUPINFO]\nCurrentDate=01/02/2020\n");
    EXPECT_EQ(Read(dir.Path() + "QUARVELT.INI", "STARTUPINFO", "CurrentDate"), "01/02/2020");
    Write(dir.Path() + "QUARVELT.INI", "STARTUPINFO", "CurrentDate", "03/04/2021");
    std::vector<std::string> names;
    ASSERT_FALSE(platform::ListFiles(dir.Path(), names));
    EXPECT_EQ(names, std::vector<std::string>{"quarvelt.ini"});
    EXPECT_EQ(dir.Read("quarvelt.ini"), "[STARTUPINFO]\nCurrentDate=03/04/2021\n");
}

TEST(Wait, YieldsAtLeastOnceAndWaitsTheTimeAsked) {
    ScriptedPlatform platform;
    WaitSeconds(0);
    EXPECT_EQ(platform.Yields(), 1);
    WaitSeconds(-3);
    EXPECT_EQ(platform.Yields(), 2);

    platform.SetClock(86399.99);  // just before midnight: the clock is monotonic, so no wrap
    WaitSeconds(0.03f);
    EXPECT_GE(platform.Seconds() - 86399.99, 0.03 - 1e-6);
    EXPECT_LT(platform.Seconds() - 86399.99, 0.05);
}

TEST(Wait, SleepsBetweenYieldsInsteadOfSpinning) {
    ScriptedPlatform platform;
    platform.SetYieldStep(0);  // only sleeping moves the clock on
    const double start = platform.Seconds();
    WaitSeconds(2.0f);
    EXPECT_GE(platform.Seconds() - start, 2.0);
    EXPECT_LE(platform.Waits(), 201);
    EXPECT_EQ(platform.Yields(), platform.Waits() + 1);
}

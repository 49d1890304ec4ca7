#include "platform/files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/profile.h"
#include "platform/records.h"
#include "support/child_process.h"
#include "support/temp_folder.h"

using testsupport::TempFolder;

TEST(Files, ResolveCaseFindsEachPartThatDiffersOnlyInCase) {
    TempFolder dir;
    dir.Write("Game/Data/Blank.bmp", "x");
    EXPECT_EQ(platform::ResolveCase(dir.Path() + "GAME/DATA/BLANK.BMP"),
              dir.Path() + "Game/Data/Blank.bmp");
    EXPECT_EQ(platform::ResolveCase(dir.Path() + "game/data/"), dir.Path() + "Game/Data/");
    // Parts that do not exist in any case stay as given.
    EXPECT_EQ(platform::ResolveCase(dir.Path() + "GAME/NEW/X.BMP"), dir.Path() + "Game/NEW/X.BMP");
    EXPECT_EQ(platform::ResolveCase(dir.Path() + "Game/Data/Blank.bmp"),
              dir.Path() + "Game/Data/Blank.bmp");
}

TEST(Files, ResolveCasePrefersTheExactName) {
    TempFolder dir;
    dir.Write("a.inf", "lower");
    dir.Write("A.INF", "upper");
    EXPECT_EQ(platform::ResolveCase(dir.Path() + "a.inf"), dir.Path() + "a.inf");
    EXPECT_EQ(platform::ResolveCase(dir.Path() + "A.INF"), dir.Path() + "A.INF");
    EXPECT_EQ(platform::ResolveCase(dir.Path() + "A.inf"),
              dir.Path() + "A.INF");  // first in name order
}

TEST(Files, AtomicWriteReplacesAndKeepsTheFileMode) {
    TempFolder dir;
    const std::string file = dir.Write("S.DAT", "a much longer old content");
    ::chmod(file.c_str(), 0600);
    ASSERT_FALSE(platform::WriteFileAtomic(file, "new"));
    EXPECT_EQ(dir.Read("S.DAT"), "new");
    struct stat st;
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    std::vector<std::string> names;
    ASSERT_FALSE(platform::ListFiles(dir.Path(), names));
    EXPECT_EQ(names, std::vector<std::string>{"S.DAT"});  // no temporary file left
}

TEST(Files, FailedWritesChangeNothingAndSaySo) {
    TempFolder dir;
    dir.Write("TAKEN/inside", "");
    auto error = platform::WriteFileAtomic(dir.Path() + "TAKEN", "x");
    EXPECT_TRUE(error);
    EXPECT_EQ(error.number, platform::ErrPathFileAccess);
    EXPECT_TRUE(platform::IsFolder(dir.Path() + "TAKEN"));

    error = platform::WriteFileAtomic(dir.Path() + "MISSING/X.DAT", "x");
    EXPECT_EQ(error.number, platform::ErrPathNotFound);
    EXPECT_EQ(error.description, "Path not found");

    std::vector<std::string> names;
    ASSERT_FALSE(platform::ListFiles(dir.Path(), names));
    EXPECT_TRUE(names.empty());
}

TEST(Files, ReadBytesStaysInsideTheFile) {
    TempFolder dir;
    const std::string file = dir.Write("ARCHIVE.MIX", "0123456789");
    std::string bytes;
    ASSERT_FALSE(platform::ReadBytes(file, 2, 3, bytes));
    EXPECT_EQ(bytes, "234");
    ASSERT_FALSE(platform::ReadBytes(file, 10, 0, bytes));
    EXPECT_EQ(bytes, "");
    EXPECT_EQ(platform::ReadBytes(file, 8, 3, bytes).number, platform::ErrPastEnd);
    EXPECT_EQ(platform::ReadBytes(file, ~0ull, 2, bytes).number, platform::ErrPastEnd);
    EXPECT_EQ(platform::ReadBytes(dir.Path() + "NONE.MIX", 0, 1, bytes).number,
              platform::ErrFileNotFound);
}

TEST(Files, VerifiedCopyAndDelete) {
    TempFolder dir;
    dir.Write("FROM/A.PZL", std::string("\0\1\2 bytes", 9));
    ASSERT_FALSE(platform::CreateFolder(dir.Path() + "TO/DEEP"));
    ASSERT_FALSE(
        platform::CopyFileVerified(dir.Path() + "FROM/a.pzl", dir.Path() + "TO/DEEP/A.PZL"));
    EXPECT_EQ(dir.Read("TO/DEEP/A.PZL"), dir.Read("FROM/A.PZL"));
    EXPECT_TRUE(platform::CopyFileVerified(dir.Path() + "FROM/B.PZL", dir.Path() + "TO/B.PZL"));
    EXPECT_FALSE(platform::IsFile(dir.Path() + "TO/B.PZL"));

    ASSERT_FALSE(platform::DeleteFile(dir.Path() + "from/a.PZL"));
    EXPECT_FALSE(platform::IsFile(dir.Path() + "FROM/A.PZL"));
    EXPECT_EQ(platform::DeleteFile(dir.Path() + "FROM/A.PZL").number, platform::ErrFileNotFound);
}

namespace {

// Each way the game replaces or removes a file, tried on LOCKED.DAT in
// `folder`: a write, a verified copy, a rename over it, a delete, a record
// file, a setting. The error numbers, in that order.
std::string ReplaceOrRemove(const std::string& folder) {
    const std::string file = folder + "LOCKED.DAT";
    platform::RuntimeError setting;
    platform::ProfileWriteString("S", "K", "new", file, &setting);
    std::string numbers;
    for (const platform::RuntimeError& error :
         {platform::WriteFileAtomic(file, "new"),
          platform::CopyFileVerified(folder + "SOURCE.DAT", file),
          platform::RenameFile(folder + "SOURCE.DAT", file), platform::DeleteFile(file),
          platform::WriteRecordFile(file, {platform::RecordBuffer(4)}), setting})
        numbers += std::to_string(error.number) + " ";
    return numbers;
}

}  // namespace

TEST(Files, AWriteProtectedFileIsNeitherReplacedNorRemoved) {
    TempFolder dir;
    const std::string old = "[S]\r\nK=old\r\n";
    const std::string locked = dir.Write("LOCKED.DAT", old);
    dir.Write("SOURCE.DAT", "new");
    const std::string refused = "70 70 70 70 70 70 ";

    // No one may write it: refused for every user, root included.
    ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
    EXPECT_EQ(ReplaceOrRemove(dir.Path()), refused);
    EXPECT_EQ(dir.Read("LOCKED.DAT"), old);
    EXPECT_EQ(platform::ErrorText(platform::CheckWritable(dir.Path() + "locked.dat")),
              "ERROR 70\rPermission denied");
    std::vector<std::string> names;
    ASSERT_FALSE(platform::ListFiles(dir.Path(), names));
    EXPECT_EQ(names, (std::vector<std::string>{"LOCKED.DAT", "SOURCE.DAT"}));

    // Only its owner may write it, in a folder anyone may write: another user
    // can write in the folder, yet the file is refused to him.
    if (::geteuid() != 0)
        GTEST_SKIP() << "another user's file needs root to make";
    ASSERT_EQ(::chmod(locked.c_str(), 0644), 0);
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0777), 0);
    ASSERT_EQ(::chmod(dir.Write("OPEN.DAT", "").c_str(), 0666), 0);
    const auto result = testsupport::RunInChild(
        [&dir] {
            if (platform::WriteFileAtomic(dir.Path() + "OPEN.DAT", "anyone's"))
                return std::string("nobody can't write in the folder");
            return ReplaceOrRemove(dir.Path());
        },
        true);
    ASSERT_TRUE(result);
    EXPECT_EQ(*result, refused);
    EXPECT_EQ(dir.Read("LOCKED.DAT"), old);
    EXPECT_EQ(dir.Read("OPEN.DAT"), "anyone's");
}

TEST(Files, StampChangesWithTheContent) {
    TempFolder dir;
    const std::string file = dir.Write("QUARVELT.IDX", "abc");
    const auto first = platform::StampOf(file);
    EXPECT_TRUE(first.exists);
    EXPECT_EQ(first.size, 3u);
    ASSERT_FALSE(platform::WriteFileAtomic(file, "abcd"));
    EXPECT_NE(platform::StampOf(file), first);
    EXPECT_FALSE(platform::StampOf(dir.Path() + "NONE").exists);
}

TEST(Records, FieldsAreLittleEndianAndBlankPadded) {
    platform::RecordBuffer record(12);
    record.PutInt16(0, -2);
    record.PutInt32(2, 0x01020304);
    record.PutText(6, 4, "AB");
    record.PutText(10, 2, "TOOLONG");
    EXPECT_EQ(record.Bytes(), std::string("\xFE\xFF\x04\x03\x02\x01"
                                          "AB  TO",
                                          12));
    EXPECT_EQ(record.GetInt16(0), -2);
    EXPECT_EQ(record.GetInt32(2), 0x01020304);
    EXPECT_EQ(record.GetText(6, 4), "AB  ");
    EXPECT_THROW(record.PutInt32(10, 1), std::out_of_range);
    EXPECT_THROW(record.GetText(12, 1), std::out_of_range);
}

TEST(Records, FilesReadWholeRecordsAndMissingFilesStayMissing) {
    TempFolder dir;
    platform::RecordFileContents contents;
    ASSERT_FALSE(platform::ReadRecordFile(dir.Path() + "NONE.PZL", 4, contents));
    EXPECT_TRUE(contents.records.empty());
    EXPECT_FALSE(platform::IsFile(dir.Path() + "NONE.PZL"));

    platform::RecordBuffer a(4), b(4);
    a.PutInt32(0, 7);
    b.PutText(0, 4, "WXYZ");
    ASSERT_FALSE(platform::WriteRecordFile(dir.Path() + "TWO.PZL", {a, b}));
    dir.Write("PART.PZL", dir.Read("TWO.PZL") + "xy");
    ASSERT_FALSE(platform::ReadRecordFile(dir.Path() + "PART.PZL", 4, contents));
    ASSERT_EQ(contents.records.size(), 2u);
    EXPECT_EQ(contents.records[0].GetInt32(0), 7);
    EXPECT_EQ(contents.records[1].GetText(0, 4), "WXYZ");
    EXPECT_EQ(contents.trailingBytes, 2u);
    ASSERT_FALSE(platform::ReadRecordFile(dir.Path() + "PART.PZL", 4, contents, 1));
    ASSERT_EQ(contents.records.size(), 1u);
    EXPECT_EQ(contents.records[0].GetInt32(0), 7);
}

#include "common/image_index.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/globals.h"
#include "platform/files.h"
#include "support/game_folder_test.h"
#include "support/index_fixture.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace quarvelt {
namespace {

using testsupport::IndexEntry;
using testsupport::IndexRecord;
using testsupport::WriteImageIndex;
using testsupport::WriteIndexRecords;

class ImageIndexTest : public testsupport::GameFolderTest {
  protected:
    std::vector<std::string> Pictures() const {
        std::vector<std::string> names;
        EXPECT_FALSE(platform::ListFiles(ImagePath, names));
        return names;
    }
    std::string Picture(const std::string& name) const { return folder.Read("DATA/" + name); }
};

TEST_F(ImageIndexTest, RecordLayoutIsLittleEndianAndBlankFilled) {
    const auto record = IndexRecord("LAMP_.BMP", 'B', "000042", 0x01020304, 0x0A0B0C0D);
    const std::string bytes = record.ToRecord().Bytes();
    ASSERT_EQ(bytes.size(), ImageIndexRecordLength);
    EXPECT_EQ(bytes.substr(0, 6), "000042");
    EXPECT_EQ(bytes.substr(6, 64), "LAMP_.BMP" + std::string(55, ' '));
    EXPECT_EQ(bytes.substr(70, 4), "\x0D\x0C\x0B\x0A");
    EXPECT_EQ(bytes[74], 'B');
    EXPECT_EQ(bytes.substr(75, 4), "\x04\x03\x02\x01");
    EXPECT_EQ(bytes.substr(79), std::string(265, ' '));

    const auto back = ImageIndexRecord::FromRecord(record.ToRecord());
    EXPECT_EQ(back.archiveId, "000042");
    EXPECT_EQ(back.imageName, "LAMP_.BMP" + std::string(55, ' '));
    EXPECT_EQ(back.imageSize, 0x0A0B0C0D);
    EXPECT_EQ(back.archiveOffset, 0x01020304);
}

TEST_F(ImageIndexTest, NoWholeRecordAnswersAsEmpty) {
    for (size_t length : {size_t{0}, ImageIndexRecordLength - 1}) {
        folder.Write(ImageIndexName, std::string(length, 'B'));
        ImageIndex::Forget();
        EXPECT_TRUE(ImageIndex::Current().Empty()) << length;
        EXPECT_EQ(LoadIndexImageByCode("BLANK_______________00.BMP"), 2) << length;
    }
    EXPECT_TRUE(Pictures().empty());

    WriteIndexRecords(AppPath, {IndexRecord("A.BMP"), IndexRecord("B.BMP")});
    folder.Write(ImageIndexName, folder.Read(ImageIndexName) + std::string(100, 'x'));
    ImageIndex::Forget();
    EXPECT_EQ(ImageIndex::Current().Records().size(), 2u);
}

TEST_F(ImageIndexTest, MissingIndexIsEmptyAndNeverCreated) {
    EXPECT_EQ(LoadIndexImageByCode("BLANK_______________00.BMP"), 2);
    EXPECT_TRUE(ImageIndex::Current().Empty());
    EXPECT_FALSE(std::filesystem::exists(AppPath + ImageIndexName));
}

TEST_F(ImageIndexTest, OnlyBitmapRecordsAreExtractedByCode) {
    WriteImageIndex(AppPath, {{"BLANK_______________00.BMP", "blank", 'X'},
                              {"DETWH_______________00.BMP", "det", 'b'}});
    EXPECT_EQ(LoadIndexImageByCode("BLANK_______________00.BMP"), 1);
    EXPECT_EQ(LoadIndexImageByCode("DETWH_______________00.BMP"), 1);
    EXPECT_TRUE(Pictures().empty());
}

TEST_F(ImageIndexTest, FirstBitmapOfTheCodeIsWrittenUnderTheCallersName) {
    WriteImageIndex(AppPath, {{"detwh_______________00.bmp", "other type", 'X'},
                              {"DETWH_______________00.BMP", "frame 00"},
                              {"DETWH_______________01.BMP", "frame 01"}});
    // An older, longer picture of that name is replaced completely.
    folder.Write("DATA/detwh_______________05.bmp", std::string(500, 'z'));
    EXPECT_EQ(LoadIndexImageByCode("detwh_______________05.bmp"), 0);
    EXPECT_EQ(Pictures(), std::vector<std::string>{"detwh_______________05.bmp"});
    EXPECT_EQ(Picture("detwh_______________05.bmp"), "frame 00");
    EXPECT_EQ(ImageIndexBuffer.imageName.substr(0, 26), "DETWH_______________00.BMP");
}

TEST_F(ImageIndexTest, BitmapCodesAreComparedUntrimmed) {
    // A name with a leading blank has " DETW" as its first five characters.
    WriteImageIndex(AppPath, {{" DETWH_______________00.BMP", "shifted"}});
    EXPECT_EQ(LoadIndexImageByCode("DETWH_______________00.BMP"), 1);
    EXPECT_EQ(LoadIndexImageByCode(" detwh.BMP"), 0);
    EXPECT_EQ(LoadIndexImageByCode("DET"), 1);
}

TEST_F(ImageIndexTest, ExtractionCopiesTheRangeAskedFor) {
    folder.Write("QUARVELT000007.MIX", "0123456789ABCDEF");
    EXPECT_FALSE(ExtractMixFile("000007", 1, "FIRST.BMP", 9));
    EXPECT_EQ(Picture("FIRST.BMP"), "0123456789");
    EXPECT_FALSE(ExtractMixFile("000007", 16, "LAST.BMP", 0));
    EXPECT_EQ(Picture("LAST.BMP"), "F");
    EXPECT_FALSE(ExtractMixFile("000007", 11, "TAIL.BMP", 5));
    EXPECT_EQ(Picture("TAIL.BMP"), "ABCDEF");
    // Blanks in an archive id are part of the archive's name.
    folder.Write("QUARVELT  12  .MIX", "xyz");
    EXPECT_FALSE(ExtractMixFile("  12  ", 2, "B.BMP", 1));
    EXPECT_EQ(Picture("B.BMP"), "yz");
}

TEST_F(ImageIndexTest, EveryRefusalWritesNothing) {
    folder.Write("QUARVELT000001.MIX", "0123456789");
    folder.Write("DATA/KEEP.BMP", "old");
    struct Case {
        std::string id;
        int32_t offset;
        std::string name;
        int32_t size;
        int error;
    };
    const std::vector<Case> cases = {
        {"000001", 1, "../KEEP.BMP", 0, platform::ErrBadFileName},
        {"000001", 1, "SUB/KEEP.BMP", 0, platform::ErrBadFileName},
        {"000001", 1, "SUB\\KEEP.BMP", 0, platform::ErrBadFileName},
        {"000001", 1, "C:KEEP.BMP", 0, platform::ErrBadFileName},
        {"000001", 1, "KEEP\x01.BMP", 0, platform::ErrBadFileName},
        {"000001", 1, "KEEP.BMP\x7F", 0, platform::ErrBadFileName},
        {"000001", 1, "", 0, platform::ErrBadFileName},
        {"000001", 1, "..", 0, platform::ErrBadFileName},
        {"000001", 1, ".", 0, platform::ErrBadFileName},
        {"/../01", 1, "KEEP.BMP", 0, platform::ErrBadFileName},
        {"..0001", 1, "KEEP.BMP", 0, platform::ErrBadFileName},
        {"000001", 0, "KEEP.BMP", 0, platform::ErrInvalidCall},
        {"000001", -4, "KEEP.BMP", 0, platform::ErrInvalidCall},
        {"000001", 1, "KEEP.BMP", -1, platform::ErrInvalidCall},
        {"000001", 1, "KEEP.BMP", MaxPictureBytes, platform::ErrInvalidCall},
        {"000001", 1, "KEEP.BMP", 10, platform::ErrPastEnd},
        {"000001", 10, "KEEP.BMP", 1, platform::ErrPastEnd},
        {"000001", 12, "KEEP.BMP", 0, platform::ErrPastEnd},
        {"000001", INT32_MAX, "KEEP.BMP", INT32_MAX / 256, platform::ErrPastEnd},
        {"000002", 1, "KEEP.BMP", 0, platform::ErrFileNotFound},
    };
    for (const Case& c : cases) {
        const auto error = ExtractMixFile(c.id, c.offset, c.name, c.size);
        EXPECT_EQ(error.number, c.error) << c.id << " " << c.offset << " " << c.name;
        EXPECT_FALSE(error.description.empty());
    }
    EXPECT_EQ(Pictures(), std::vector<std::string>{"KEEP.BMP"});
    EXPECT_EQ(Picture("KEEP.BMP"), "old");

    std::filesystem::remove_all(ImagePath);
    EXPECT_EQ(ExtractMixFile("000001", 1, "KEEP.BMP", 0).number, platform::ErrPathNotFound);
    EXPECT_FALSE(std::filesystem::exists(ImagePath));
}

TEST_F(ImageIndexTest, FailedExtractionIsReportedByCode) {
    WriteIndexRecords(AppPath, {IndexRecord("LAMP_______________00.BMP", 'B', "000001", 1, 99)});
    folder.Write("QUARVELT000001.MIX", "short");
    platform::RuntimeError error;
    EXPECT_EQ(LoadIndexImageByCode("LAMP_______________00.BMP", &error), 3);
    EXPECT_EQ(error.number, platform::ErrPastEnd);
    EXPECT_EQ(LoadIndexImageByCode("LAMP_______________00.BMP"), 3);
    EXPECT_TRUE(Pictures().empty());
}

TEST_F(ImageIndexTest, IndexIsReadAgainWhenItChanges) {
    // Written here rather than by the fixture, which makes the next look-up read anew.
    auto write = [](const std::string& folder, const std::vector<ImageIndexRecord>& records) {
        std::vector<platform::RecordBuffer> buffers;
        for (const auto& record : records)
            buffers.push_back(record.ToRecord());
        ASSERT_FALSE(platform::WriteRecordFile(folder + ImageIndexName, buffers));
    };
    const std::string path = AppPath + ImageIndexName;
    write(AppPath, {IndexRecord("APPLE.BMP")});
    EXPECT_EQ(ImageIndex::Current().FindByCode5("APPLE"), 0);

    write(AppPath, {IndexRecord("KEYBN.BMP"), IndexRecord("APPLE.BMP")});  // another size
    EXPECT_EQ(ImageIndex::Current().FindByCode5("APPLE"), 1);

    write(AppPath, {IndexRecord("APPLE.BMP"), IndexRecord("KEYBN.BMP")});  // same size
    const auto later = std::filesystem::last_write_time(path) + std::chrono::seconds(5);
    std::filesystem::last_write_time(path, later);
    EXPECT_EQ(ImageIndex::Current().FindByCode5("APPLE"), 0);

    testsupport::TempFolder other;
    write(other.Path(), {IndexRecord("DIAM_.BMP")});
    AppPath = other.Path();
    EXPECT_EQ(ImageIndex::Current().FindByCode5("DIAM_"), 0);
    EXPECT_EQ(ImageIndex::Current().FindByCode5("APPLE"), -1);

    std::filesystem::remove(other.Path() + ImageIndexName);
    EXPECT_TRUE(ImageIndex::Current().Empty());
}

}  // namespace
}  // namespace quarvelt

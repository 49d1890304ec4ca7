#include "engine/mixer.h"

#include <gtest/gtest.h>

#include "common/globals.h"
#include "common/image_index.h"
#include "common/library.h"
#include "common/tables.h"
#include "engine/frame_pictures.h"
#include "engine/tallies.h"
#include "platform/files.h"
#include "support/game_folder_test.h"
#include "support/index_fixture.h"

namespace quarvelt {
namespace {

const std::string RedPicture = "MXVCLMRL______MWR___00.BMP";
const std::string CyanPicture = "MXVCLMCL______MWR___00.BMP";

class MixerTest : public testsupport::GameFolderTest {
  protected:
    void SetUp() override {
        GameFolderTest::SetUp();
        if (HasFatalFailure())
            return;
        ResetPhotonTables();
        ResetMixerInputTable();
        StartCompileLookups();
        ASSERT_EQ(ProcessMixerPhoton(-1), "I");
    }

    void IndexFrames(const std::vector<std::string>& pictures, int frames = 3) {
        std::vector<testsupport::IndexEntry> entries;
        for (const auto& picture : pictures)
            for (int n = 1; n <= frames; ++n)
                entries.push_back(
                    {picture.substr(0, 20) + (n < 10 ? "0" : "") + std::to_string(n) + ".BMP",
                     "frame"});
        testsupport::WriteImageIndex(AppPath, entries);
    }

    std::string Arrive(const std::string& picture, int16_t photon, int16_t cell,
                       const std::string& size, const std::string& colour, int16_t row,
                       const std::string& travel = "R") {
        CurrentMixerRec = {picture, photon, cell, size, colour, travel, row};
        return ProcessMixerPhoton(0);
    }
};

TEST_F(MixerTest, ArrivalsAreRecordedWithTheirFrames) {
    IndexFrames({RedPicture, CyanPicture});
    ASSERT_EQ(Arrive(RedPicture, 1, 112, "M", "R", 4), "_");
    const MixerInput& entry = MixerInputTable[112][0];
    EXPECT_EQ(entry.firstArrived, "T");
    EXPECT_EQ(entry.secondArrived, "F");
    EXPECT_EQ(entry.nextCell, 113);
    EXPECT_EQ(entry.size, "M");
    EXPECT_EQ(entry.direction, "R");
    EXPECT_EQ(entry.continuingPhoton, 0) << "one input alone names nobody";
    EXPECT_EQ(PhotonFrameTable1[4][1], "MXVCLMRL______MWR___01.BMP");
    EXPECT_EQ(PhotonFrameTable1[4][2], "MXVCLMRL______MWR___02.BMP");
    EXPECT_EQ(PhotonFrameTable1[4][3], "");
    EXPECT_EQ(MixerFirstFrame, "MXVCLMRL______MWR___01.BMP");
    EXPECT_EQ(MixerLastFrame, "MXVCLMRL______MWR___02.BMP");
    EXPECT_EQ(MixerFrameCount, 2);
    EXPECT_EQ(PhotonTally.MixerRow[1], 4);
    EXPECT_TRUE(FileExists(ImagePath + "MXVCLMRL______MWR___02.BMP"));

    // The complement sets its own flag and the next cell, not the leaving photon.
    const std::string smallCyan = "MXVCLSCL______SWT___00.BMP";
    IndexFrames({smallCyan});
    ASSERT_EQ(Arrive(smallCyan, 2, 112, "S", "C", 0, "T"), "_");
    EXPECT_EQ(entry.secondArrived, "T");
    EXPECT_EQ(entry.nextCell, 97);
    EXPECT_EQ(entry.size, "M");
    EXPECT_EQ(entry.direction, "R");
    EXPECT_EQ(MixerFrameCount, 3);
    EXPECT_EQ(PhotonFrameTable2[0][3], "MXVCLSCL______SWT___03.BMP");
    EXPECT_EQ(entry.continuingPhoton, 1) << "row 4 against row 0";

    // Starting again forgets the rows but not the table.
    ASSERT_EQ(ProcessMixerPhoton(-1), "I");
    EXPECT_EQ(PhotonTally.MixerRow[1], NoMixerRow);
    EXPECT_EQ(entry.firstArrived, "T");
}

TEST_F(MixerTest, TheContinuingPhotonIsOneOfTheTwoThatMet) {
    IndexFrames({RedPicture, CyanPicture});
    // Equal rows go to the higher number, else the later row wins.
    ASSERT_EQ(Arrive(RedPicture, 1, 20, "M", "R", 7), "_");
    ASSERT_EQ(Arrive(CyanPicture, 2, 20, "M", "C", 7), "_");
    EXPECT_EQ(MixerInputTable[20][0].continuingPhoton, 2);
    ASSERT_EQ(Arrive(RedPicture, 1, 30, "M", "R", 9), "_");
    ASSERT_EQ(Arrive(CyanPicture, 2, 30, "M", "C", 7), "_");
    EXPECT_EQ(MixerInputTable[30][0].continuingPhoton, 1);

    // Photon 3 parked elsewhere at a later row is never chosen here.
    ASSERT_EQ(Arrive(RedPicture, 3, 40, "M", "R", 50), "_");
    ASSERT_EQ(Arrive(RedPicture, 1, 60, "M", "R", 12), "_");
    ASSERT_EQ(Arrive(CyanPicture, 2, 60, "M", "C", 11), "_");
    EXPECT_EQ(MixerInputTable[60][0].continuingPhoton, 1);
    EXPECT_EQ(MixerInputTable[40][0].continuingPhoton, 0);
}

TEST_F(MixerTest, OddArrivalsAndMissingPictures) {
    // No index at all: pictures already in the image folder need none.
    for (int n = 1; n <= 2; ++n)
        folder.Write("DATA/MXVCLMRL______MWR___0" + std::to_string(n) + ".BMP", "x");
    ASSERT_EQ(Arrive(RedPicture, 1, 10, "M", "R", 1), "_");

    EXPECT_EQ(Arrive("MXVCLMWL______MWR___00.BMP", 2, 10, "M", "W", 3), "E");
    EXPECT_EQ(CompileErrorText, "ERROR: INVALIED PHOTON COLOR!");
    EXPECT_EQ(PhotonTally.MixerRow[2], 3);

    // A size the mixer has no frames for records the arrival and writes nothing.
    EXPECT_EQ(Arrive(CyanPicture, 2, 10, "X", "C", 3), "_");
    EXPECT_EQ(MixerInputTable[10][0].secondArrived, "T");
    EXPECT_EQ(MixerFirstFrame, "");
    EXPECT_EQ(MixerLastFrame, "");
    EXPECT_EQ(MixerFrameCount, -1);

    // At the board's edge the next cell is off the board, which the mixer only
    // records, silently: only a white photon sent that way is a fault.
    EXPECT_EQ(Arrive(RedPicture, 1, 14, "M", "R", 2), "_");
    EXPECT_TRUE(platform.Boxes().empty());
    EXPECT_EQ(MixerInputTable[14][0].nextCell, -1);
    EXPECT_EQ(MixerNextCell, -1);

    testsupport::WriteIndexRecords(AppPath, {});
    EXPECT_EQ(Arrive(CyanPicture, 1, 50, "M", "C", 5), "E");
    EXPECT_EQ(CompileErrorText, EmptyIndexText);
    EXPECT_EQ(MixerFirstFrame, "MXVCLMCL______MWR___01.BMP");

    IndexFrames({RedPicture});
    EXPECT_EQ(Arrive(CyanPicture, 1, 50, "M", "C", 5), "E");
    EXPECT_EQ(CompileErrorText, FrameNotFoundText("MXVCLMCL______MWR___01.BMP"));
}

}  // namespace
}  // namespace quarvelt

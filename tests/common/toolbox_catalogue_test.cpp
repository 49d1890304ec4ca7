#include "common/toolbox_catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/image_index.h"
#include "support/index_fixture.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace quarvelt {
namespace {

using testsupport::IndexEntry;
using testsupport::IndexRecord;
using testsupport::WriteImageIndex;
using testsupport::WriteIndexRecords;

class ToolboxCatalogueTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetGlobals();
        ImageIndex::Forget();
        AppPath = folder.Path();
        // Leftovers of an earlier build must go.
        ToolboxObjectTable[5].stem = "STALE";
        ToolboxObjectTable[5].archiveOffset = 9;
        ToolboxObjectTable[7].button = 3;
        ToolboxObjectTable[7].used = 2;
    }
    void TearDown() override {
        ResetGlobals();
        ImageIndex::Forget();
    }

    static void ExpectFree(int first, int last = ToolboxRowCount - 1) {
        for (int row = first; row <= last; ++row) {
            const ToolboxObjectRow& r = ToolboxObjectTable[row];
            EXPECT_TRUE(r.shown == False && r.stem.empty() && r.group == -1 &&
                        r.archiveOffset == 0 && r.button == -1 && r.enabled == False &&
                        r.allowed == 0 && r.used == 0 && r.archiveId.empty() && r.imageSize == 0)
                << "row " << row;
        }
    }

    testsupport::ScriptedPlatform platform;
    testsupport::TempFolder folder;
};

TEST_F(ToolboxCatalogueTest, ToolPicturesFillRowsInIndexOrder) {
    WriteImageIndex(AppPath, {{"REFHT_U.BMP", "reflector", 'B', "000003"},
                              {"BLANK_______________00.BMP", "board blank"},
                              {"BLANK_D.BMP", "tool blank"}});
    LoadToolboxObjects();
    const ToolboxObjectRow& reflector = ToolboxObjectTable[0];
    EXPECT_EQ(reflector.shown, True);
    EXPECT_EQ(reflector.stem, "REFHT_U");
    EXPECT_EQ(reflector.group, 1);
    EXPECT_EQ(reflector.archiveOffset, 1);
    EXPECT_EQ(reflector.button, -1);
    EXPECT_EQ(reflector.enabled, True);
    EXPECT_EQ(reflector.allowed, 20);
    EXPECT_EQ(reflector.used, 0);
    EXPECT_EQ(reflector.archiveId, "000003");
    EXPECT_EQ(reflector.imageSize, 8);

    const ToolboxObjectRow& blank = ToolboxObjectTable[1];
    EXPECT_EQ(blank.stem, "BLANK_D");
    EXPECT_EQ(blank.group, 5);
    EXPECT_EQ(blank.allowed, -1);
    // Second picture of archive 000001: after the 11 bytes of the board blank.
    EXPECT_EQ(blank.archiveOffset, 12);
    EXPECT_EQ(blank.archiveId, "000001");
    EXPECT_EQ(blank.imageSize, 9);
    ExpectFree(2);
}

TEST_F(ToolboxCatalogueTest, EveryFamilyHasItsGroupAndAllowance) {
    struct Expected {
        const char* stem;
        int16_t group;
        int16_t allowed;
    };
    const std::vector<Expected> expected = {
        {"BALT__U", 0, 99}, {"PHHC__D", 0, 99}, {"REFLD_U", 1, 20}, {"FLTHC_U", 2, 10},
        {"MXCRH_U", 2, 10}, {"KEYBN_U", 3, 32}, {"SQGR__D", 3, 32}, {"APPLE_U", 3, 16},
        {"DIAY__D", 3, 16}, {"FACY__U", 3, 16}, {"HRTRD_U", 3, 16}, {"MINER_U", 3, 16},
        {"PUZM__U", 3, 16}, {"SHVOR_U", 4, 32}, {"SHHBN_D", 4, 32}, {"LAMP__U", 5, 1},
        {"SPLTF_U", 5, 4},  {"LENCC_D", 5, 8},  {"DETWH_U", 5, 4},  {"BLANK_U", 5, -1},
    };
    std::vector<IndexEntry> entries;
    for (const Expected& e : expected)
        entries.push_back({std::string(e.stem) + ".BMP", "picture"});
    WriteImageIndex(AppPath, entries);
    LoadToolboxObjects();
    for (size_t row = 0; row < expected.size(); ++row) {
        EXPECT_EQ(ToolboxObjectTable[row].stem, expected[row].stem);
        EXPECT_EQ(ToolboxObjectTable[row].group, expected[row].group) << expected[row].stem;
        EXPECT_EQ(ToolboxObjectTable[row].allowed, expected[row].allowed) << expected[row].stem;
    }
    ExpectFree(static_cast<int>(expected.size()));
}

TEST_F(ToolboxCatalogueTest, PicturesWithoutARowLeaveItToTheNext) {
    WriteIndexRecords(AppPath, {IndexRecord("SHUTT_U.BMP"),  // the delay shutter has no tool
                                IndexRecord("REFHT_X.BMP"),  // neither "U" nor "D"
                                IndexRecord("ZZZZZ_U.BMP"),  // no family
                                IndexRecord("KEYBN_U.BMP", 'B', "000001", 0),  // would look free
                                IndexRecord("KEYGR_U.BMP", 'B', "000001", -7),
                                IndexRecord("  lencv_d.bmp  ", 'X', "00 01 ", 40, 3)});
    LoadToolboxObjects();
    // Upper-cased and trimmed; the record type does not matter.
    EXPECT_EQ(ToolboxObjectTable[0].stem, "LENCV_D");
    EXPECT_EQ(ToolboxObjectTable[0].archiveId, "00 01 ");
    EXPECT_EQ(ToolboxObjectTable[0].archiveOffset, 40);
    EXPECT_EQ(ToolboxObjectTable[0].imageSize, 3);
    ExpectFree(1);
}

TEST_F(ToolboxCatalogueTest, EmptyOrMissingIndexLeavesTheDefaults) {
    LoadToolboxObjects();
    ExpectFree(0);
    folder.Write(ImageIndexName, "");
    LoadToolboxObjects();
    ExpectFree(0);
    EXPECT_TRUE(platform.Boxes().empty());
}

TEST_F(ToolboxCatalogueTest, SurplusToolPicturesAreSkipped) {
    std::vector<ImageIndexRecord> records;
    for (int i = 0; i < 300; ++i)
        records.push_back(
            IndexRecord("KEY" + std::to_string(100 + i) + "U.BMP", 'B', "000001", i + 1));
    WriteIndexRecords(AppPath, records);
    LoadToolboxObjects();
    for (int row = 0; row < ToolboxRowCount; ++row) {
        EXPECT_EQ(ToolboxObjectTable[row].archiveOffset, row + 1);
        EXPECT_EQ(ToolboxObjectTable[row].button, -1);
    }
    EXPECT_EQ(ToolboxObjectTable[269].stem, "KEY369U");
}

}  // namespace
}  // namespace quarvelt

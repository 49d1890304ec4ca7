#include "board/placement.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "common/globals.h"
#include "common/image_index.h"
#include "common/tables.h"
#include "common/toolbox_catalogue.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace quarvelt {
namespace {

const std::string Title = "PLACE   OBJECT   IN   PUZZLE";
constexpr int16_t Tool = 3;

class PlacementTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetGlobals();
        ImageIndex::Forget();
        AppPath = folder.Path();
        ImagePath = AppPath + "DATA/";
        saved_ = ToolboxObjectTable;
        SetBoard(15, 15);
    }
    void TearDown() override {
        ToolboxObjectTable = saved_;
        ResetGlobals();
        ImageIndex::Forget();
    }

    static void SetBoard(int rows, int cols) {
        BoardRows = static_cast<int16_t>(rows);
        BoardCols = static_cast<int16_t>(cols);
        CellCount = static_cast<int16_t>(rows * cols);
        BoardTable.assign(static_cast<size_t>(CellCount),
                          BoardCell{"BLANK_______________00.BMP", 5, 0, False, False});
    }

    // Picks the catalogue row of the object's "U" picture (or of the stem as given).
    static int16_t Verdict(const std::string& code, int cell) {
        ToolboxObjectTable[Tool] = ToolboxObjectRow{};
        ToolboxObjectTable[Tool].stem = code.size() == 5 ? code + "_U" : code;
        ToolboxObjectTable[Tool].archiveOffset = 100;
        return CheckObjectPlacement(Tool, static_cast<int16_t>(cell));
    }
    void ExpectAllowed(const std::string& code, int cell) {
        EXPECT_EQ(Verdict(code, cell), PlacementAllowed) << code << " at " << cell;
    }
    void ExpectRefused(const std::string& code, int cell) {
        platform.ExpectBox(Title);
        EXPECT_EQ(Verdict(code, cell), PlacementForbidden) << code << " at " << cell;
    }

    testsupport::ScriptedPlatform platform;
    testsupport::TempFolder folder;

  private:
    std::array<ToolboxObjectRow, ToolboxRowCount> saved_;
};

TEST_F(PlacementTest, LampDetectorAndReflectorOnFifteenByFifteen) {
    ExpectRefused("LAMP_", 14);
    ASSERT_EQ(platform.Boxes().size(), 1u);
    EXPECT_EQ(platform.Boxes()[0].text,
              "ERROR:   INVALID OBJECT PLACEMENT!\r\rYou Can't place this object here!");
    EXPECT_EQ(platform.Boxes()[0].flags, platform::MsgExclamation);
    EXPECT_EQ(platform.Beeps(), 1);

    ExpectAllowed("LAMP_", 0);
    ExpectAllowed("LAMP_", 210);
    for (int row = 1; row < 15; ++row)
        ExpectRefused("LAMP_", row * 15 + 14);
    for (int col = 0; col < 15; ++col) {
        ExpectRefused("DETRD", 210 + col);
        ExpectAllowed("DETRD", col);
        if (col >= 1 && col <= 13) {
            ExpectAllowed("DETRD", col * 15);
            ExpectAllowed("DETRD", col * 15 + 14);
        }
    }
    ExpectRefused("REFVL", 15);
    ExpectAllowed("REFVL", 29);
}

TEST_F(PlacementTest, SplitterStandsOnlyInTheInteriorOfATenByTenBoard) {
    SetBoard(10, 10);
    for (int cell = 0; cell < 100; ++cell) {
        const bool interior = cell / 10 >= 1 && cell / 10 <= 8 && cell % 10 >= 1 && cell % 10 <= 8;
        if (interior)
            ExpectAllowed("SPLRR", cell);
        else
            ExpectRefused("SPLRR", cell);
    }
    EXPECT_EQ(platform.Boxes().size(), 36u);
}

TEST_F(PlacementTest, EachPositionClassRefusesItsListOfCodes) {
    struct Board {
        int rows, cols;
        // corners top-left, top-right, bottom-left, bottom-right; top row, bottom
        // row, left column, right column; interior
        std::array<int, 9> cells;
    };
    const std::array<int, 9> sizes = {57, 58, 64, 65, 26, 33, 28, 29, 0};
    for (const Board& board : {Board{15, 15, {0, 14, 210, 224, 7, 217, 105, 119, 112}},
                               Board{10, 60, {0, 59, 540, 599, 30, 570, 120, 179, 125}},
                               Board{60, 10, {0, 9, 590, 599, 1, 598, 580, 19, 18}}}) {
        SetBoard(board.rows, board.cols);
        for (size_t i = 0; i < sizes.size(); ++i) {
            for (int box = 0; box < sizes[i]; ++box)
                platform.ExpectBox(Title);
            int refused = 0;
            for (std::string_view code : RestrictedToolCodes())
                refused += Verdict(std::string(code), board.cells[i]) == PlacementForbidden;
            EXPECT_EQ(refused, sizes[i])
                << board.rows << "x" << board.cols << " cell " << board.cells[i];
        }
    }
}

TEST_F(PlacementTest, SpecialObjectsAreRefusedOnlyInCorners) {
    for (const std::string code : {"APPLE", "DIAY_", "FACY_", "HRTRD", "MINER", "PUZM_", "SQBN_",
                                   "SQGR_", "SQOR_", "KEYBN", "KEYGR", "KEYOR"}) {
        for (int cell : {0, 14, 210, 224})
            ExpectRefused(code, cell);
        for (int cell : {1, 13, 15, 29, 195, 209, 211, 223})
            ExpectAllowed(code, cell);
    }
}

TEST_F(PlacementTest, BarriersDelayShutterAndBlankStandAnywhere) {
    SetBoard(10, 10);
    for (const std::string code : {"BACBL", "BACCD", "SHUTT", "BLANK"})
        for (int cell = 0; cell < 100; ++cell)
            ExpectAllowed(code, cell);
}

TEST_F(PlacementTest, CellContentsComeBeforeThePick) {
    BoardTable[14].pictureName = "LAMP________________00.BMP";
    EXPECT_EQ(CheckObjectPlacement(-1, 14), PlacementOccupied);
    EXPECT_EQ(Verdict("LAMP_", 14), PlacementOccupied);
    BoardTable[14].lockFlag = True;
    EXPECT_EQ(CheckObjectPlacement(-1, 14), PlacementLocked);
    EXPECT_EQ(Verdict("SPLRR", 14), PlacementLocked);
    BoardTable[14].lockFlag = 1;  // only -1 is true
    EXPECT_EQ(Verdict("SPLRR", 14), PlacementOccupied);
    EXPECT_EQ(CheckObjectPlacement(-1, 13), PlacementNoTool);

    // The five characters are cut before they are trimmed and upper-cased.
    BoardTable[29].pictureName = "blank_______________00.bmp";
    EXPECT_EQ(CheckObjectPlacement(-1, 29), PlacementNoTool);
    ExpectRefused("LAMP_", 29);
    BoardTable[44].pictureName = " BLANK______________00.BMP";
    EXPECT_EQ(Verdict("LAMP_", 44), PlacementOccupied);

    // So is the stem.
    ExpectRefused("lamp_u", 59);
    ExpectRefused("hrtrd_u", 0);
    ExpectAllowed("hrtrd_u", 1);
}

TEST_F(PlacementTest, RowsAndCellsOutsideTheTablesPlaceNothing) {
    Verdict("SHUTT", 112);
    for (int tool : {270, -2, 32767, -32768})
        EXPECT_EQ(CheckObjectPlacement(static_cast<int16_t>(tool), 112), PlacementNoTool);
    for (int cell : {-1, 225, 32767, -32768})
        EXPECT_EQ(CheckObjectPlacement(Tool, static_cast<int16_t>(cell)), PlacementNoTool);
    BoardTable.resize(100);
    EXPECT_EQ(CheckObjectPlacement(Tool, 150), PlacementNoTool);
    EXPECT_EQ(CheckObjectPlacement(Tool, 99), PlacementAllowed);
}

}  // namespace
}  // namespace quarvelt

#include "engine/stepping.h"

#include <gtest/gtest.h>

#include "common/globals.h"
#include "common/tables.h"
#include "support/scripted_platform.h"

namespace quarvelt {
namespace {

class SteppingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetGlobals();
        BoardRows = BoardCols = 15;
        CellCount = 225;
    }
    void TearDown() override { ResetGlobals(); }

    // `expected` is the neighbour, or "leaves" for the one box of a photon leaving the board.
    void ExpectStep(int16_t cell, const std::string& travel, const std::string& expected) {
        const bool leaves = expected == "leaves";
        if (leaves)
            platform.ExpectBox("EXECUTE    PUZZLE");
        const size_t boxes = platform.Boxes().size();
        const int16_t next = GetNextCell(cell, travel);
        EXPECT_EQ(next, leaves ? -1 : std::stoi(expected)) << cell << " " << travel;
        ASSERT_EQ(platform.Boxes().size(), boxes + (leaves ? 1 : 0)) << cell << " " << travel;
        if (leaves) {
            EXPECT_EQ(platform.Boxes().back().text, "INVALID PUZZLE!\r\rPhoton leaves gameboard,");
            EXPECT_EQ(platform.Boxes().back().flags,
                      platform::MsgOkOnly + platform::MsgExclamation);
        }
    }

    testsupport::ScriptedPlatform platform;
};

TEST_F(SteppingTest, EveryPositionOfTheBoardSendsPhotonsToItsNeighbours) {
    struct Case {
        int16_t cell;
        const char *left, *right, *top, *bottom;
    };
    // Corners, the edges between them, and the middle of a 15 by 15 board.
    const Case cases[] = {
        {0, "leaves", "1", "leaves", "15"},      {14, "13", "leaves", "leaves", "29"},
        {210, "leaves", "211", "195", "leaves"}, {224, "223", "leaves", "209", "leaves"},
        {7, "6", "8", "leaves", "22"},           {217, "216", "218", "202", "leaves"},
        {15, "leaves", "16", "0", "30"},         {29, "28", "leaves", "14", "44"},
        {112, "111", "113", "97", "127"},
    };
    int expectedBoxes = 0;
    for (const Case& c : cases) {
        ExpectStep(c.cell, "L", c.left);
        ExpectStep(c.cell, "R", c.right);
        ExpectStep(c.cell, "T", c.top);
        ExpectStep(c.cell, "B", c.bottom);
        for (const char* answer : {c.left, c.right, c.top, c.bottom})
            expectedBoxes += std::string(answer) == "leaves" ? 1 : 0;
    }
    EXPECT_EQ(platform.Beeps(), expectedBoxes);
}

TEST_F(SteppingTest, AnyOtherLetterGoesNowhereWithoutAMessage) {
    for (const char* travel : {"N", "", "l", "_", "RT"})
        EXPECT_EQ(GetNextCell(112, travel), -1) << travel;
    EXPECT_EQ(GetNextCell(0, "X"), -1);
    EXPECT_TRUE(platform.Boxes().empty());
    EXPECT_EQ(platform.Beeps(), 0);
}

TEST_F(SteppingTest, LargestBoardReachesItsLastRow) {
    BoardRows = BoardCols = 60;
    CellCount = 3600;
    EXPECT_EQ(GetNextCell(3599, "T"), 3539);
    EXPECT_EQ(GetNextCell(3540, "R"), 3541);
    ExpectStep(3599, "B", "leaves");
}

// The tables start all zero: no slot stands in any cell used below.
using SlotTest = SteppingTest;

TEST_F(SlotTest, EverySlotOfEachTableIsSearched) {
    BonusObjTable[3][9].cell = 40;
    BonusObjTable[3][16].cell = 41;
    BonusObjTable[2][1].cell = 42;
    EXPECT_EQ(FindSpecialObjSlot(3, 40), 9);
    EXPECT_EQ(FindSpecialObjSlot(3, 41), 16);
    EXPECT_EQ(FindSpecialObjSlot(2, 42), 1);
    EXPECT_EQ(FindSpecialObjSlot(3, 42), 0) << "the kind is the table row";

    KeyTable[2][4] = {.cell = 50, .objectNumber = 11};
    KeyTable[1][32] = {.cell = 51, .objectNumber = 10};
    EXPECT_EQ(FindSpecialObjSlot(11, 50), 4);
    EXPECT_EQ(FindSpecialObjSlot(10, 50), 0) << "the number field must match";
    EXPECT_EQ(FindSpecialObjSlot(10, 51), 32);

    ClosingSquareTable[3][20] = {.objectNumber = 9, .cell = 60};
    EXPECT_EQ(FindSpecialObjSlot(9, 60), 20);
    EXPECT_EQ(FindSpecialObjSlot(7, 60), 0);

    ShutterTable[5][12] = {.cell = 70, .objectNumber = 17};
    EXPECT_EQ(FindSpecialObjSlot(17, 70), 12);
    EXPECT_EQ(FindSpecialObjSlot(13, 70), 0);

    for (int16_t number : {0, 19, -1})
        EXPECT_EQ(FindSpecialObjSlot(number, 40), 0) << number;
    EXPECT_EQ(FindSpecialObjSlot(1, 40), 0);
}

}  // namespace
}  // namespace quarvelt

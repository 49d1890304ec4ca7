#include "engine/board_trace.h"

#include <gtest/gtest.h>

#include "common/globals.h"
#include "common/tables.h"

namespace quarvelt {
namespace {

// A 10 by 10 board of blanks with `codes` from cell 0 on, and `extra` statements.
std::string Board(const std::vector<std::string>& codes, const std::string& extra = "") {
    std::string text = "# a test board\nsize 10 10\n";
    for (int cell = 0; cell < 100; ++cell) {
        text += cell % 10 == 0 ? "row" : "";
        text += " " + (cell < static_cast<int>(codes.size()) ? codes[cell] : "BLANK");
        text += cell % 10 == 9 ? "   # end of row\n" : "";
    }
    return text + extra;
}

class BoardTraceTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetGlobals(); }
    void TearDown() override { ResetGlobals(); }

    std::string ErrorOf(const std::string& text) {
        BoardFile board;
        std::string error;
        EXPECT_FALSE(ParseBoardFile(text, board, error));
        return error;
    }
};

TEST_F(BoardTraceTest, BoardLoadsAsAPuzzleLoadWould) {
    std::vector<std::string> codes = {"LAMP_*", "DIAM_", "KEYGR", "SHHGR", "SQROR", "SHHGR*"};
    codes.resize(20, "BLANK");
    for (int i = 0; i < 9; ++i)
        codes.push_back("APPLE");
    std::string extra =
        "link 2 5\nlink 4 3\ntrigger 1 250\ncondition " + std::string(32, '_') + "~\n";
    for (int cell = 20; cell < 29; ++cell)
        extra += "trigger " + std::to_string(cell) + " " + std::to_string(cell) + "\n";

    BoardFile board;
    std::string error;
    ASSERT_TRUE(ParseBoardFile(Board(codes, extra), board, error)) << error;
    EXPECT_EQ(board.condition.size(), 33u);
    LoadBoardFile(board);

    EXPECT_EQ(CellCount, 100);
    ASSERT_EQ(BoardTable.size(), 100u);
    EXPECT_EQ(BoardTable[0].pictureName, "LAMP________________00.BMP");
    EXPECT_EQ(BoardTable[0].lampFlag, True);
    EXPECT_EQ(BoardTable[0].lockFlag, True);
    EXPECT_EQ(BoardTable[99].pictureName, "BLANK_______________00.BMP");
    EXPECT_EQ(BoardTable[5].lockFlag, True);

    // Shutters in cell order, the others in the order of their statements.
    EXPECT_EQ(ShutterTable[2][1].cell, 3);
    EXPECT_EQ(ShutterTable[2][2].cell, 5);
    EXPECT_EQ(ShutterTable[2][3].cell, -1);
    EXPECT_EQ(KeyTable[2][1].cell, 2);
    EXPECT_EQ(KeyTable[2][1].shutterCell, 5);
    EXPECT_EQ(KeyTable[2][1].state, 0);
    EXPECT_EQ(ClosingSquareTable[3][1].cell, 4);
    EXPECT_EQ(ClosingSquareTable[3][1].shutterCell, 3);
    EXPECT_EQ(BonusObjTable[1][1].cell, 1);
    EXPECT_EQ(BonusObjTable[1][1].points, 250);
    EXPECT_EQ(BonusObjTable[2][9].cell, 28);
    EXPECT_EQ(BonusObjTable[2][9].points, 28);
    EXPECT_EQ(BonusObjTable[2][10].cell, -1);

    ASSERT_EQ(PhotonPathTable3.size(), 100u);
    EXPECT_EQ(PhotonPathTable3[99].cell, -1);
    ASSERT_EQ(MixerInputTable.size(), 100u);
    EXPECT_EQ(MixerInputTable[99][2].firstArrived, "F");
}

TEST_F(BoardTraceTest, UnsoundBoardsAreRefusedNamingTheLine) {
    EXPECT_EQ(ErrorOf("size 9 10\n"), "line 1: expected: size ROWS COLS, each 10 to 60");
    EXPECT_EQ(ErrorOf("size 10 10\nrow BLANK\n"), "line 2: a row has 10 codes");
    EXPECT_EQ(ErrorOf(Board({"lamp_"})), "line 3: \"lamp_\" is not a five-character board code");
    EXPECT_EQ(ErrorOf("size 10 10\n"), "the board has 0 rows, not 10");
    EXPECT_EQ(ErrorOf(Board({}, "shine\n")), "line 13: unknown statement \"shine\"");
    EXPECT_EQ(ErrorOf(Board({"DIAM_"}, "trigger 0 5\ntrigger 0 6\n")),
              "line 14: cell 0 is registered twice");
    EXPECT_EQ(ErrorOf(Board({"KEYBN"}, "link 0 100\n")), "line 13: no shutter stands at cell 100");
    std::string hearts;
    for (int cell = 0; cell < 17; ++cell)
        hearts += "trigger " + std::to_string(cell) + " 1\n";
    EXPECT_EQ(ErrorOf(Board(std::vector<std::string>(17, "HEART"), hearts)),
              "line 29: more than 16 bonus objects of one kind");
}

TEST_F(BoardTraceTest, TraceLinesShowBreaksAndPaths) {
    EXPECT_EQ(TraceMessageLine("EXECUTE    PUZZLE", "INVALID PUZZLE!\r\rPhoton leaves gameboard,"),
              "message EXECUTE    PUZZLE | INVALID PUZZLE!\\r\\rPhoton leaves gameboard,");
    CellCount = 100;
    ResetPhotonTables();
    EXPECT_EQ(TracePhotonLine(2), "photon 2 size _ colour _ detector _ steps 0 cells");
    PhotonPathTable1[0].cell = 20;
    PhotonPathTable1[1].cell = 21;
    PhotonState[1] = {"", "L", "W", "W", "__"};
    EXPECT_EQ(TracePhotonLine(1), "photon 1 size L colour W detector W steps 2 cells 20 21");
}

}  // namespace
}  // namespace quarvelt

// Whole runs on the picture set the build draws into the game folder: compile,
// build the animation, play it and judge it. Every picture the playback draws
// must be there, also the shutter frames and the empty cell's frames the
// builder asks for beyond the compile.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "animation/animation_builder.h"
#include "board/board_model.h"
#include "board/playback.h"
#include "board/solution_check.h"
#include "common/globals.h"
#include "common/image_index.h"
#include "common/tables.h"
#include "engine/board_trace.h"
#include "engine/compiler.h"
#include "platform/files.h"
#include "support/recording_grid.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace quarvelt {
namespace {

// A 10 by 10 board: `cells` as "ROW COL CODE" triples over empty cells.
std::string Board(std::initializer_list<std::tuple<int, int, const char*>> cells,
                  const std::string& tail) {
    std::string rows[10][10];
    for (auto& row : rows)
        std::fill(std::begin(row), std::end(row), "BLANK");
    for (const auto& [row, col, code] : cells)
        rows[row][col] = code;
    std::string text = "size 10 10\n";
    for (const auto& row : rows) {
        text += "row";
        for (const std::string& code : row)
            text += " " + code;
        text += "\n";
    }
    return text + tail;
}

class ShippedPicturesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetGlobals();
        ImageIndex::Forget();
        AppPath = QUARVELT_GAME_DIR;
        ASSERT_TRUE(platform::IsFile(AppPath + ImageIndexName)) << "no picture set in " << AppPath;
        // The game folder is only read; the pictures go to a folder of the test's own.
        ImagePath = folder.Path();
    }
    void TearDown() override {
        ResetGlobals();
        ImageIndex::Forget();
    }

    // Compiles, builds and plays the board; false when the playback stopped early.
    bool Run(const std::string& text) {
        BoardFile board;
        std::string error;
        EXPECT_TRUE(ParseBoardFile(text, board, error)) << error;
        // A load clears the board first, which puts the empty cell's picture in place.
        ClearPuzzleBoard(grid, tally, True);
        LoadBoardFile(board);
        SpecialCond = board.condition;
        grid.SetRows(BoardRows);
        grid.SetCols(BoardCols);
        // Drawing every cell, as a load does, brings the objects' pictures.
        ResetPuzzle(grid, tally);
        grid.log.clear();
        Flag ok = False;
        CompilePuzzle(ok);
        EXPECT_TRUE(IsTrue(ok));
        const int32_t rows = BuildPuzzleAnimation();
        EXPECT_GT(rows, 0);
        return ApplySpecialObjHits(grid, tally, rows, noStop, 0);
    }

    void ExpectEveryPictureDrawn() const {
        for (const std::string& line : grid.log)
            EXPECT_EQ(line.find("(missing)"), std::string::npos) << line;
    }

    testsupport::ScriptedPlatform platform;
    testsupport::TempFolder folder;
    testsupport::RecordingGrid grid;
    testsupport::RecordingLabel tally;
    const bool noStop = false;
};

TEST_F(ShippedPicturesTest, BonusPointsAddUpToTheRequiredTally) {
    const bool played = Run(Board({{8, 1, "LAMP_"},
                                   {8, 2, "LENCC"},
                                   {8, 3, "REFLU"},
                                   {7, 3, "REFRD"},
                                   {7, 4, "DIAM_"},
                                   {7, 5, "APPLE"},
                                   {7, 8, "REFLU"},
                                   {5, 8, "HEART"},
                                   {6, 6, "MINRL"},
                                   {1, 8, "DETWH"}},
                                  "trigger 74 1000\ntrigger 75 500\ntrigger 58 500\n"
                                  "trigger 66 300\n"
                                  "condition 10P1____Tn________________Ta2000~\n"));
    EXPECT_TRUE(played);
    EXPECT_EQ(tally.Caption(), "2000");
    ExpectEveryPictureDrawn();
    platform.ExpectBox("SUCCESSFUL  PUZZLE  COMPLETION");
    CheckForSpecialCond(tally.Caption());
}

TEST_F(ShippedPicturesTest, ObjectMetByTwoPhotonsAtOnceCountsOnce) {
    // Both photons reach the diamond in the same pass.
    const bool played = Run(Board({{8, 1, "LAMP_"},
                                   {8, 3, "SPLBL"},
                                   {8, 4, "LENCC"},
                                   {8, 8, "REFLU"},
                                   {1, 8, "DETYE"},
                                   {3, 3, "REFRD"},
                                   {3, 5, "LENCV"},
                                   {3, 8, "DIAM_"},
                                   {3, 9, "REFLU"},
                                   {1, 9, "DETBL"}},
                                  "trigger 38 300\n"
                                  "condition 03P1A>DaTnP2AADaTn________Ta0300~\n"));
    EXPECT_TRUE(played);
    EXPECT_EQ(tally.Caption(), "300");
    ExpectEveryPictureDrawn();
    platform.ExpectBox("SUCCESSFUL  PUZZLE  COMPLETION");
    CheckForSpecialCond(tally.Caption());
}

TEST_F(ShippedPicturesTest, ObjectTakenByOnePhotonIsCrossedEmptyByTheOther) {
    // Photon 1 takes the diamond on its way to the splitter; photon 2 comes back up over it.
    const bool played = Run(Board({{8, 1, "LAMP_"},
                                   {8, 2, "DIAM_"},
                                   {8, 5, "SPLBR"},
                                   {8, 6, "LENCC"},
                                   {8, 8, "REFLU"},
                                   {1, 8, "DETYE"},
                                   {9, 5, "REFLU"},
                                   {9, 3, "LENCV"},
                                   {9, 2, "REFRU"},
                                   {1, 2, "DETBL"}},
                                  "trigger 82 300\n"
                                  "condition 03P1A>DaTnP2AADaTn________Ta0300~\n"));
    EXPECT_TRUE(played);
    EXPECT_EQ(tally.Caption(), "300");
    // Photon 2's middle frames over the cell are the empty cell's own.
    EXPECT_TRUE(std::any_of(AnimTable.begin(), AnimTable.end(), [](const AnimRow& row) {
        return row.cell == 82 && row.pictureName.starts_with("BLANK") &&
               row.pictureName != "BLANK_______________00.BMP";
    }));
    ExpectEveryPictureDrawn();
    platform.ExpectBox("SUCCESSFUL  PUZZLE  COMPLETION");
    CheckForSpecialCond(tally.Caption());
}

TEST_F(ShippedPicturesTest, KeyOpensTheShutterAheadOfThePhoton) {
    const bool played = Run(Board({{5, 1, "LAMP_"},
                                   {5, 2, "KEYBN"},
                                   {5, 4, "SHVBN"},
                                   {5, 6, "LENCC"},
                                   {5, 8, "REFLU"},
                                   {1, 8, "DETWH"}},
                                  "link 52 54\ncondition 07P1A_DaTn________________Ta0000~\n"));
    EXPECT_TRUE(played);
    EXPECT_EQ(ShutterTable[4][1].open, 1);
    ExpectEveryPictureDrawn();
}

TEST_F(ShippedPicturesTest, ShutterAheadOfItsKeyStopsThePhoton) {
    platform.ExpectBox("BAD GAME SOLUTION");
    const bool played = Run(Board({{5, 1, "LAMP_"},
                                   {5, 3, "SHVBN"},
                                   {5, 5, "KEYBN"},
                                   {5, 6, "LENCC"},
                                   {5, 8, "REFLU"},
                                   {1, 8, "DETWH"}},
                                  "link 55 53\ncondition 07P1A_DaTn________________Ta0000~\n"));
    EXPECT_FALSE(played);
    EXPECT_EQ(ShutterTable[4][1].open, 0);
    ExpectEveryPictureDrawn();
}

}  // namespace
}  // namespace quarvelt

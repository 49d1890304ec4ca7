// Whole runs on the picture set the build draws into the game folder: compile,
// build the animation, play it and judge it. Every picture the playback draws
// must be there, also the shutter frames and the empty cell's frames the
// builder asks for beyond the compile.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "animation/animation_builder.h"
#include "board/board_model.h"
#include "board/playback.h"
#include "board/solution_check.h"
#include "common/globals.h"
#include "common/image_index.h"
#include "common/tables.h"
#include "common/text.h"
#include "engine/board_trace.h"
#include "engine/compiler.h"
#include "engine/picture_names.h"
#include "platform/files.h"
#include "run_promises.h"
#include "support/drawn_pictures.h"
#include "support/recording_grid.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace quarvelt {
namespace {

using Cells = std::vector<std::tuple<int, int, const char*>>;

// A board of `rows` by `cols`: `cells` as "ROW COL CODE" triples over empty cells.
std::string Board(int rows, int cols, const Cells& cells, const std::string& tail) {
    std::vector<std::vector<std::string>> codes(static_cast<size_t>(rows),
                                                std::vector<std::string>(cols, "BLANK"));
    for (const auto& [row, col, code] : cells)
        codes[static_cast<size_t>(row)][static_cast<size_t>(col)] = code;
    std::string text = "size " + std::to_string(rows) + " " + std::to_string(cols) + "\n";
    for (const auto& row : codes) {
        text += "row";
        for (const std::string& code : row)
            text += " " + code;
        text += "\n";
    }
    return text + tail;
}

std::string Board(const Cells& cells, const std::string& tail) {
    return Board(10, 10, cells, tail);
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

// Photons a colour splitter turns whole, and photons that park in a mixer:
// every photon is drawn and counted, the white one leaves its mixer only after
// its partner came in, and nothing is left drawn inside a splitter or a mixer.
TEST_F(ShippedPicturesTest, TurnedAndParkedPhotonsArePlayedToTheEnd) {
    const std::string tally500 = "condition 10P1____Tn________________Ta0500~\n";
    const std::string noCondition = "condition 00P1____Tn________________Ta0000~\n";
    const Cells redTurn = {{5, 0, "LAMP_"}, {5, 1, "FLTVY"}, {5, 2, "FLTVM"},
                           {5, 3, "SPLRL"}, {4, 3, "DIAM_"}, {3, 3, "DETRD"}};
    const Cells merge = {{2, 0, "LAMP_"}, {2, 1, "SPLRR"}, {3, 1, "REFRU"}, {3, 2, "REFLU"},
                         {2, 2, "REFRD"}, {2, 3, "MXVCL"}, {2, 6, "REFLU"}, {1, 6, "DETWH"}};
    // Photon 2 turns photon 3 out of itself; photon 1 waits for it at the mixer.
    const Cells rewalk = {{2, 0, "LAMP_"}, {2, 1, "SPLRR"}, {3, 1, "SPLRL"},
                          {3, 6, "REFLU"}, {2, 6, "REFRD"}, {2, 7, "MXVCL"},
                          {2, 8, "LENCC"}, {2, 9, "REFLU"}, {1, 9, "DETWH"}};
    const auto with = [](Cells cells, Cells more) {
        cells.insert(cells.end(), more.begin(), more.end());
        return cells;
    };
    const struct {
        const char* name;
        std::string board;
        const char* tally;
        int mixer = -1, beyond = -1;  // the white photon waits there
    } cases[] = {
        {"turned over a diamond, blank beyond", Board(redTurn, "trigger 43 500\n" + tally500),
         "500"},
        {"turned over a diamond, lens beyond",
         Board(with(redTurn, {{5, 4, "LENCC"}}), "trigger 43 500\n" + tally500), "500"},
        {"turned at the right edge",
         Board({{5, 6, "LAMP_"},
                {5, 7, "FLTVY"},
                {5, 8, "FLTVM"},
                {5, 9, "SPLRL"},
                {4, 9, "DIAM_"},
                {3, 9, "DETRD"}},
               "trigger 49 500\n" + tally500),
         "500"},
        {"alone in a mixer, blank behind",
         Board({{2, 0, "LAMP_"}, {2, 1, "FLTVC"}, {2, 2, "MXVCL"}}, noCondition), "0"},
        {"alone in a mixer, lens behind",
         Board({{2, 0, "LAMP_"}, {2, 1, "FLTVC"}, {2, 2, "MXVCL"}, {2, 3, "LENCC"}}, noCondition),
         "0"},
        {"merging, lens behind", Board(with(merge, {{2, 4, "LENCC"}}), noCondition), "0"},
        {"merging, heart behind",
         Board(with(merge, {{2, 4, "HEART"}, {2, 5, "LENCC"}}),
               "trigger 24 700\ncondition 10P1____Tn________________Ta0700~\n"),
         "700"},
        {"turned photon meets the waiting one", Board(rewalk, noCondition), "0", 27, 28},
        {"turned photon, lens beyond, meets the waiting one",
         Board(with(rewalk, {{4, 1, "LENCC"}}), noCondition), "0", 27, 28},
        {"mix green and magenta to white",
         Board(14, 16,
               {{12, 0, "LAMP_"},
                {12, 8, "SPLGL"},
                {10, 8, "REFRD"},
                {10, 9, "REFLD"},
                {12, 9, "REFRU"},
                {12, 10, "MXVML"},
                {12, 12, "SPLTB"},
                {12, 13, "LENCC"},
                {12, 14, "REFLU"},
                {1, 14, "DETWH"},
                {13, 12, "REFRU"},
                {13, 13, "LENCV"},
                {13, 14, "FLTVC"},
                {13, 15, "REFLU"},
                {1, 15, "DETCY"}},
               noCondition),
         "0", 12 * 16 + 10, 12 * 16 + 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(Run(c.board));
        EXPECT_TRUE(platform.Boxes().empty());
        EXPECT_EQ(tally.Caption(), c.tally);
        ExpectEveryPictureDrawn();
        for (const auto* path : {&PhotonPathTable1, &PhotonPathTable2, &PhotonPathTable3}) {
            if (path->front().cell < 0)
                continue;
            EXPECT_EQ(std::count_if(path->begin(), path->end(),
                                    [](const PhotonPathRow& row) { return IsTrue(row.walkEnds); }),
                      1)
                << "one row ends each walk";
        }

        const std::vector<fuzz::Drawing> drawings = testsupport::DrawnPictures(grid);
        EXPECT_EQ(fuzz::BrokenRunPromise(drawings, 0, LeadingNumber(tally.Caption())), "");

        if (c.mixer < 0)
            continue;
        // The white photon's first frame beyond the mixer follows every frame of a
        // photon going into it.
        int lastIn = -1, firstOut = -1;
        for (int i = 0; i < static_cast<int>(drawings.size()); ++i) {
            const auto parts = ParseObjectImageName(drawings[static_cast<size_t>(i)].picture);
            if (!parts)
                continue;
            if (drawings[static_cast<size_t>(i)].cell == c.mixer && !parts->ShowsNoPhoton())
                lastIn = i;
            if (drawings[static_cast<size_t>(i)].cell == c.beyond && parts->in.colour == 'W' &&
                firstOut < 0)
                firstOut = i;
        }
        EXPECT_LT(lastIn, firstOut);
        EXPECT_GT(lastIn, 0);
    }
}

}  // namespace
}  // namespace quarvelt

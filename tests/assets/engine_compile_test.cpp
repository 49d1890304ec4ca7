// Boards compiled against the shipped picture set, written as the trace tool
// reads them.
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "common/globals.h"
#include "common/image_index.h"
#include "common/library.h"
#include "common/tables.h"
#include "engine/board_trace.h"
#include "engine/compiler.h"
#include "platform/files.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace quarvelt {
namespace {

const std::string GameDir = QUARVELT_GAME_DIR;
constexpr const char* CompileTitle = "COMPILING  THE  PUZZLE";
using Placements = std::map<std::pair<int, int>, std::string>;

// A 10 by 10 board of blanks with objects at (row, column), and further statements.
std::string BoardText(const Placements& objects, const std::string& extra = "") {
    std::string text = "size 10 10\n";
    for (int r = 0; r < 10; ++r) {
        text += "row";
        for (int c = 0; c < 10; ++c) {
            const auto found = objects.find({r, c});
            text += " " + (found == objects.end() ? std::string("BLANK") : found->second);
        }
        text += "\n";
    }
    return text + extra;
}

// Photon 1 split to a red photon 2 at cell 21; the cyan rest and the red one
// meet at the cyan mixer in cell 23, and the white photon goes on from cell 24.
Placements MergingBoard() {
    return {{{2, 0}, "LAMP_"}, {{2, 1}, "SPLRR"}, {{3, 1}, "REFRU"},
            {{3, 2}, "REFLU"}, {{2, 2}, "REFRD"}, {{2, 3}, "MXVCL"}};
}

class EngineCompileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetGlobals();
        ImageIndex::Forget();
        AppPath = GameDir;
        ImagePath = images.Path() + "DATA/";
        ASSERT_FALSE(platform::CreateFolder(ImagePath));
        ASSERT_FALSE(ImageIndex::Current().Empty()) << "no picture set in " << GameDir;
    }
    void TearDown() override {
        ResetGlobals();
        ImageIndex::Forget();
    }

    Flag Compile(const std::string& text) {
        BoardFile board;
        std::string error;
        EXPECT_TRUE(ParseBoardFile(text, board, error)) << error;
        LoadBoardFile(board);
        Flag ok = False;
        CompilePuzzle(ok);
        return ok;
    }

    // The compile fails with exactly one more box, `text` under `title`, and resets the tables.
    void ExpectFailure(const std::string& board, const std::string& text,
                       const std::string& title = CompileTitle) {
        const size_t boxes = platform.Boxes().size();
        const int beeps = platform.Beeps();
        platform.ExpectBox(title);
        EXPECT_EQ(Compile(board), False);
        ASSERT_EQ(platform.Boxes().size(), boxes + 1);
        EXPECT_EQ(testsupport::Readable(platform.Boxes().back().text), testsupport::Readable(text));
        EXPECT_EQ(platform.Beeps(), beeps + 1);
        for (int p = 1; p <= 3; ++p)
            EXPECT_EQ(TracePhotonLine(p),
                      "photon " + std::to_string(p) + " size _ colour _ detector _ steps 0 cells");
        EXPECT_EQ(PhotonFrameTable1[0][1], "");
    }

    testsupport::ScriptedPlatform platform;
    testsupport::TempFolder images;
};

TEST_F(EngineCompileTest, BoardsWithoutAUsableLamp) {
    const std::string noLamp = "ERROR:   NO LAMP!\r\rCan't generate Photons without a LAMP!";
    ExpectFailure(BoardText({}), noLamp);
    // The last cell is never searched.
    ExpectFailure(BoardText({{{9, 9}, "LAMP_"}}), noLamp);
}

TEST_F(EngineCompileTest, LampInTheRightmostColumnShinesIntoTheNextRow) {
    ASSERT_EQ(Compile(BoardText(
                  {{{2, 9}, "LAMP_"}, {{3, 1}, "LENCC"}, {{3, 2}, "REFLU"}, {{2, 2}, "DETWH"}})),
              True);
    EXPECT_EQ(TracePhotonLine(1),
              "photon 1 size M colour W detector W steps 5 cells 29 30 31 32 22");

    const PhotonPathRow& lamp = PhotonPathTable1[0];
    EXPECT_EQ(lamp.lampStep, 1);
    EXPECT_EQ(lamp.frameCount, 5);
    EXPECT_EQ(lamp.cell, 29);
    EXPECT_EQ(lamp.nextCell, 30);
    EXPECT_EQ(lamp.firstFrame, "LAMP__________MWR___01.BMP");
    EXPECT_EQ(lamp.lastFrame, "LAMP__________MWR___05.BMP");
    EXPECT_EQ(lamp.restingPicture, "LAMP__________MWR___05.BMP");
    EXPECT_EQ(PhotonFrameTable1[0][6], "");

    const PhotonPathRow& detector = PhotonPathTable1[4];
    EXPECT_EQ(detector.walkEnds, True);
    EXPECT_EQ(detector.nextCell, -1);
    EXPECT_EQ(detector.firstFrame, "DETWHLWB____________01.BMP");
    EXPECT_EQ(detector.restingPicture, "DETWH_______________00.BMP");
    EXPECT_EQ(PhotonPathTable1[2].firstFrame, "LENCCMWL______LWR___01.BMP");
    for (size_t r = 0; r <= 4; ++r) {
        EXPECT_EQ(PhotonPathTable1[r].frameRow, static_cast<int16_t>(r));
        EXPECT_EQ(PhotonPathTable1[r].walkEnds, r == 4 ? True : False);
        EXPECT_TRUE(FileExists(ImagePath + PhotonPathTable1[r].lastFrame)) << r;
    }
    // Photons that never came into existence keep "_", not the tallies' white and large.
    EXPECT_EQ(PhotonState[2], (std::array<std::string, 5>{"", "_", "_", "_", "__"}));
}

TEST_F(EngineCompileTest, PhotonCirclingInALoopReachesTheStepLimit) {
    ExpectFailure(BoardText({{{2, 0}, "LAMP_"},
                             {{2, 2}, "REFRD"},
                             {{2, 3}, "REFLD"},
                             {{3, 3}, "REFLU"},
                             {{3, 2}, "REFRU"}}),
                  "ERROR:  GAME LOCKED UP!\r\rCheck your puzzle for an endless loop.");
}

TEST_F(EngineCompileTest, LeavingTheBoardShowsOnlyItsOwnMessage) {
    const std::string leaves = "INVALID PUZZLE!\r\rPhoton leaves gameboard,";
    ExpectFailure(BoardText({{{2, 0}, "LAMP_"}}), leaves, "EXECUTE    PUZZLE");
    // Two photons meet in a mixer on the edge: the white one would leave, and says so once.
    ExpectFailure(BoardText({{{2, 6}, "LAMP_"},
                             {{2, 7}, "SPLRR"},
                             {{3, 7}, "REFRU"},
                             {{3, 8}, "REFLU"},
                             {{2, 8}, "REFRD"},
                             {{2, 9}, "MXVCL"}}),
                  leaves, "EXECUTE    PUZZLE");
}

TEST_F(EngineCompileTest, TwoSplitsStartTwoPhotonsAndAThirdIsRefused) {
    Placements board = {{{5, 0}, "LAMP_"}, {{5, 2}, "SPLTB"}, {{5, 4}, "SPLTF"}, {{5, 6}, "LENCC"},
                        {{5, 7}, "REFLU"}, {{4, 7}, "DETWH"}, {{7, 2}, "REFRU"}, {{7, 3}, "LENCC"},
                        {{7, 4}, "REFLU"}, {{6, 4}, "DETWH"}, {{4, 4}, "REFRD"}, {{4, 5}, "LENCC"},
                        {{4, 6}, "REFLU"}, {{3, 6}, "DETWH"}};
    ASSERT_EQ(Compile(BoardText(board)), True);
    EXPECT_EQ(TracePhotonLine(2),
              "photon 2 size M colour W detector W steps 5 cells 62 72 73 74 64");
    EXPECT_EQ(TracePhotonLine(3), "photon 3 size M colour W detector W steps 4 cells 44 45 46 36");
    EXPECT_EQ(PhotonPathTable1[2].splitCell, 62);
    EXPECT_EQ(PhotonPathTable1[4].splitCell, 44);
    EXPECT_EQ(PhotonPathTable1[3].splitCell, -1);

    board[{5, 5}] = "SPLTB";
    ExpectFailure(BoardText(board), "ERROR:  INVALIED SPLIT!\r\rYou Can't have a fourth Photon.");
}

// What is left of a photon after a colour splitter turned all of it aside, or
// after it parked in a mixer for good, takes one empty step into a blank cell
// beyond; before anything else, or the board's edge, its walk ends where it
// stands, on the cell's resting picture. Either way the run goes on.
TEST_F(EngineCompileTest, AnEmptiedPhotonEndsOneCellOnOrWhereItStands) {
    const Placements redSplit = {{{5, 0}, "LAMP_"},
                                 {{5, 1}, "FLTVY"},
                                 {{5, 2}, "FLTVM"},
                                 {{5, 3}, "SPLRL"},
                                 {{4, 3}, "DETRD"}};
    const Placements edgeSplit = {{{5, 6}, "LAMP_"},
                                  {{5, 7}, "FLTVY"},
                                  {{5, 8}, "FLTVM"},
                                  {{5, 9}, "SPLRL"},
                                  {{4, 9}, "DETRD"}};
    const Placements mixer = {{{2, 0}, "LAMP_"}, {{2, 1}, "FLTVC"}, {{2, 2}, "MXVCL"}};
    const Placements edgeMixer = {{{2, 0}, "LAMP_"}, {{2, 1}, "FLTVC"}, {{2, 9}, "MXVCL"}};
    const auto with = [](Placements board, std::pair<int, int> at, const char* code) {
        board[at] = code;
        return board;
    };
    const struct {
        const char* name;
        Placements board;
        const char* photon1;    // its trace line from "steps"
        const char* lastFrame;  // of its last row
        int16_t turnedTo;       // where photon 1's row 3 starts photon 2, -1 nowhere
    } cases[] = {
        {"splitter, blank beyond", redSplit, "steps 5 cells 50 51 52 53 54",
         "BLANK_______________01.BMP", 43},
        {"splitter, lens beyond", with(redSplit, {5, 4}, "LENCC"), "steps 5 cells 50 51 52 53 53",
         "SPLRL_______________00.BMP", 43},
        {"splitter, mirror beyond", with(redSplit, {5, 4}, "REFLU"), "steps 5 cells 50 51 52 53 53",
         "SPLRL_______________00.BMP", 43},
        {"splitter on the edge", edgeSplit, "steps 5 cells 56 57 58 59 59",
         "SPLRL_______________00.BMP", 49},
        {"mixer, blank behind", mixer, "steps 4 cells 20 21 22 23", "BLANK_______________01.BMP",
         -1},
        {"mixer, lens behind", with(mixer, {2, 3}, "LENCC"), "steps 4 cells 20 21 22 22",
         "MXVCL_______________00.BMP", -1},
        {"mixer on the edge", edgeMixer, "steps 11 cells 20 21 22 23 24 25 26 27 28 29 29",
         "MXVCL_______________00.BMP", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(Compile(BoardText(c.board)), True);
        EXPECT_TRUE(platform.Boxes().empty());
        const std::string line = TracePhotonLine(1);
        EXPECT_EQ(line.substr(line.find("steps")), c.photon1);
        int ends = 0;
        size_t last = 0;
        for (size_t r = 0; r < PhotonPathTable1.size() && PhotonPathTable1[r].cell >= 0; ++r) {
            ends += IsTrue(PhotonPathTable1[r].walkEnds) ? 1 : 0;
            last = r;
        }
        EXPECT_EQ(ends, 1) << "one row ends the walk";
        EXPECT_EQ(PhotonPathTable1[last].walkEnds, True);
        EXPECT_EQ(PhotonPathTable1[last].firstFrame, c.lastFrame);
        EXPECT_EQ(PhotonPathTable1[last].specialObject, 0);
        // The turned photon is the splitter's second one, wherever the rest ends.
        EXPECT_EQ(PhotonPathTable1[3].splitCell, c.turnedTo);
    }
    ASSERT_EQ(Compile(BoardText(with(redSplit, {5, 4}, "LENCC"))), True);
    EXPECT_EQ(TracePhotonLine(2), "photon 2 size M colour R detector R steps 1 cells 43");
    EXPECT_EQ(PhotonPathTable1[3].firstFrame, "SPLRLMRL_________MRT01.BMP");
    EXPECT_EQ(PhotonPathTable1[3].walkEnds, False);

    // A cyan photon has no red to give: the splitter cannot work with it, and the
    // run stops at the start of the second photon.
    ExpectFailure(BoardText({{{5, 0}, "LAMP_"},
                             {{5, 1}, "FLTVC"},
                             {{5, 2}, "SPLRL"},
                             {{5, 3}, "LENCV"},
                             {{5, 4}, "REFLU"},
                             {{4, 4}, "DETCY"}}),
                  "ERROR:  NO COLOR INFROMATION FOUND!\r\rPlease check your object and rerun.");
    // The mixer's own frames and arrival stay as they were.
    ASSERT_EQ(Compile(BoardText(mixer)), True);
    EXPECT_EQ(PhotonPathTable1[2].lastFrame, "MXVCLMCL______MWR___02.BMP");
    EXPECT_EQ(PhotonPathTable1[2].nextCell, 23);
    EXPECT_EQ(MixerInputTable[22][0].secondArrived, "T");
    EXPECT_EQ(MixerInputTable[22][0].firstArrived, "F");
}

TEST_F(EngineCompileTest, MergedPhotonsGoOnAsOneWhitePhoton) {
    Placements board = MergingBoard();
    board[{2, 5}] = "LENCC";
    board[{2, 6}] = "REFLU";
    board[{1, 6}] = "DETWH";
    ASSERT_EQ(Compile(BoardText(board)), True);
    // Both met at frame row 3: the higher number goes on, its first white step in
    // the row of its empty step; the other one's empty step ends its walk.
    EXPECT_EQ(TracePhotonLine(1),
              "photon 1 size M colour W detector _ steps 5 cells 20 21 22 23 24");
    EXPECT_EQ(TracePhotonLine(2),
              "photon 2 size M colour W detector W steps 8 cells 31 32 22 23 24 25 26 16");
    EXPECT_EQ(PhotonPathTable1[4].walkEnds, True);
    EXPECT_EQ(PhotonPathTable2[3].walkEnds, False);
    EXPECT_EQ(PhotonPathTable2[4].walkEnds, False);
    EXPECT_EQ(PhotonPathTable2[4].firstFrame, "BLANKMWL______MWR___01.BMP");
    EXPECT_EQ(PhotonPathTable2[7].walkEnds, True);
    EXPECT_EQ(MixerInputTable[23][0].firstArrived, "F");
    EXPECT_EQ(MixerInputTable[23][0].continuingPhoton, 2);
    // Its first white step waits, on screen, for photon 1's step into the mixer.
    EXPECT_EQ(PhotonPathTable2[4].waitPhoton, 1);
    EXPECT_EQ(PhotonPathTable2[4].waitRow, 3);

    // A photon whose walks together outgrow the tables is stopped, not written past them.
    board.erase({1, 6});
    board[{2, 5}] = "REFRD";
    board[{2, 6}] = "REFLD";
    board[{3, 6}] = "REFLU";
    board[{3, 5}] = "REFRU";
    ExpectFailure(BoardText(board),
                  "ERROR:  GAME LOCKED UP!\r\rCheck your puzzle for an endless loop.");
}

TEST_F(EngineCompileTest, WrongDetectorAndWallStopThePhoton) {
    ExpectFailure(BoardText({{{2, 0}, "LAMP_"}, {{2, 1}, "REFLU"}, {{1, 1}, "DETRD"}}),
                  "ERROR: INVALIED USE!\r\rThe Photon's color is not\rcorrect for the RED "
                  "DETECTOR!");
    // Running into a wall leaves no photon to read a colour from.
    ExpectFailure(BoardText({{{2, 0}, "LAMP_"}, {{2, 1}, "BAR__"}}),
                  "ERROR:  NO COLOR INFROMATION FOUND!\r\rPlease check your object and rerun.");
}

TEST_F(EngineCompileTest, StepsCarryTheSlotOfTheirSpecialObject) {
    Placements board = {{{5, 0}, "LAMP_"},
                        {{5, 1}, "DIAM_"},
                        {{5, 2}, "LENCC"},
                        {{5, 3}, "REFLU"},
                        {{4, 3}, "DETWH"}};
    std::string triggers;
    for (int c = 0; c < 8; ++c) {
        board[{0, c}] = "DIAM_";
        triggers += "trigger " + std::to_string(c) + " 10\n";
    }
    ASSERT_EQ(Compile(BoardText(board, triggers + "trigger 51 500\n")), True);
    EXPECT_EQ(PhotonPathTable1[1].cell, 51);
    EXPECT_EQ(PhotonPathTable1[1].specialObject, 1);
    EXPECT_EQ(PhotonPathTable1[1].specialSlot, 9);
    EXPECT_EQ(PhotonPathTable1[1].restingPicture, "DIAM________________00.BMP");
    EXPECT_EQ(PhotonPathTable1[2].specialObject, 0);
}

}  // namespace
}  // namespace quarvelt

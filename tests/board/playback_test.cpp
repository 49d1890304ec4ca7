#include "board/playback.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/globals.h"
#include "common/tables.h"
#include "platform/files.h"
#include "support/recording_grid.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace quarvelt {
namespace {

const std::string BrownVertical = "SHVBN_______________0";
const std::string GrayHorizontal = "SHHGR_______________0";

std::string Shutter(const std::string& stem, int frame) {
    return stem + std::to_string(frame) + ".BMP";
}

// A photon frame over some object, frame number in characters 21 and 22.
std::string PhotonFrame(const std::string& code, int frame) {
    return code + "_RWM_R__LR_____0" + std::to_string(frame) + ".BMP";
}

// Stops the playback once it has drawn `limit` pictures.
class StoppingGrid : public testsupport::RecordingGrid {
  public:
    bool SetCellPicture(const std::string& path) override {
        if (++drawn == limit)
            stop = true;
        return RecordingGrid::SetCellPicture(path);
    }
    int limit = 0;
    int drawn = 0;
    bool stop = false;
};

class PlaybackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetGlobals();
        AppPath = folder.Path();
        ImagePath = AppPath + "DATA/";
        ASSERT_FALSE(platform::CreateFolder(ImagePath));
        BoardRows = 10;
        BoardCols = 10;
        CellCount = 100;
        grid.SetRows(10);
        grid.SetCols(10);
        ResetLinkTables();
        AnimTable.assign(1, AnimRow{});
        tally.SetCaption("0000");
    }
    void TearDown() override { ResetGlobals(); }

    static void Add(const std::string& name, bool pause, int16_t cell, int16_t number = 0,
                    int16_t slot = 0) {
        AnimTable.push_back({name, pause, cell, number, slot});
    }

    bool Play(int32_t frameCount, float pause = RowPauseSeconds) {
        return ApplySpecialObjHits(grid, tally, frameCount, noStop, pause);
    }

    // "CELL NAME" for every picture drawn, in order.
    std::vector<std::string> Drawn() const {
        std::vector<std::string> drawn;
        for (const std::string& line : grid.log) {
            if (!line.starts_with("picture "))
                continue;
            int row = 0, col = 0;
            char path[512] = {};
            sscanf(line.c_str(), "picture %d %d %511s", &row, &col, path);
            drawn.push_back(std::to_string(row * 10 + col) + " " +
                            std::string(path).substr(ImagePath.size()));
        }
        return drawn;
    }

    testsupport::ScriptedPlatform platform;
    testsupport::TempFolder folder;
    testsupport::RecordingGrid grid;
    testsupport::RecordingLabel tally;
    const bool noStop = false;
};

TEST_F(PlaybackTest, DrawsRowsInOrderAndWaitsAfterPausedOnes) {
    Add("A_________________________01.BMP", true, 12);
    Add("B", false, 13);
    Add("C", true, 99);

    EXPECT_TRUE(Play(3));
    EXPECT_EQ(Drawn(),
              std::vector<std::string>({"12 A_________________________01.BMP", "13 B", "99 C"}));
    EXPECT_GE(platform.Seconds(), 1000.0 + 0.06);
    EXPECT_LT(platform.Seconds(), 1000.0 + 0.07);

    // Without a pause it neither waits nor yields.
    const int yields = platform.Yields();
    const double clock = platform.Seconds();
    EXPECT_TRUE(Play(3, 0));
    EXPECT_EQ(Drawn().size(), 6u);
    EXPECT_EQ(platform.Yields(), yields);
    EXPECT_EQ(platform.Seconds(), clock);
}

TEST_F(PlaybackTest, PlaysOnlyTheRowsAskedForAndWithinTheTable) {
    Add("A", true, 12);
    Add("B", false, 13);
    for (const int32_t count : {0, -1}) {
        EXPECT_TRUE(Play(count));
        EXPECT_TRUE(Drawn().empty());
    }
    EXPECT_TRUE(Play(1));
    EXPECT_EQ(Drawn(), std::vector<std::string>({"12 A"}));
    EXPECT_TRUE(Play(40));
    EXPECT_EQ(Drawn(), std::vector<std::string>({"12 A", "12 A", "13 B"}));
}

TEST_F(PlaybackTest, StopRequestEndsThePlaybackBeforeTheNextRow) {
    StoppingGrid stopping;
    stopping.SetRows(10);
    stopping.SetCols(10);
    stopping.limit = 2;
    for (int16_t cell = 20; cell < 25; ++cell)
        Add("X", true, cell);
    EXPECT_FALSE(ApplySpecialObjHits(stopping, tally, 5, stopping.stop));
    EXPECT_EQ(stopping.drawn, 2);

    const bool stopped = true;
    EXPECT_FALSE(ApplySpecialObjHits(grid, tally, 5, stopped));
    EXPECT_TRUE(Drawn().empty());
}

TEST_F(PlaybackTest, BonusObjectEarnsItsPointsOncePerCrossing) {
    BonusObjTable[1][1] = {150, 12, 0};
    BonusObjTable[1][2] = {200, 13, 0};
    BonusObjTable[2][1] = {5, 14, 0};
    BonusObjTable[3][1] = {1000, 40, 0};
    Add(PhotonFrame("DIAM_", 1), true, 12, 1, 1);
    Add(PhotonFrame("DIAM_", 2), false, 12, 1, 1);  // the same object again: nothing
    Add(PhotonFrame("DIAM_", 1), true, 13, 1, 2);   // another diamond right after: counts
    Add(PhotonFrame("APPLE", 1), true, 14, 2, 1);
    Add(PhotonFrame("DIAM_", 1), true, 13, 1, 2);  // after an apple, the diamond counts again
    Add(PhotonFrame("FACE_", 1), true, 41, 3, 1);  // not where its trigger says
    Add(PhotonFrame("FACE_", 1), true, 40, 3, 0);  // no trigger at all

    EXPECT_TRUE(Play(7));
    EXPECT_EQ(tally.captions, std::vector<std::string>({"0000", "150", "350", "355", "555"}));
    EXPECT_EQ(Drawn().size(), 7u);
}

TEST_F(PlaybackTest, TallyGoesBeyondSixteenBits) {
    BonusObjTable[4][16] = {10, 12, 0};
    tally.SetCaption("32767");
    Add(PhotonFrame("HEART", 1), true, 12, 4, 16);
    EXPECT_TRUE(Play(1));
    EXPECT_EQ(tally.Caption(), "32777");
}

TEST_F(PlaybackTest, KeyOpensItsShutterAndThePhotonPassesIt) {
    // Both in slots beyond 8 of their tables.
    ShutterTable[4][12] = {15, 0, 16};
    KeyTable[2][20] = {15, 14, 11, 0};
    Add(PhotonFrame("KEYGR", 1), true, 14, 11, 20);
    Add(PhotonFrame("SHVBN", 1), true, 15, 16, 12);
    Add(PhotonFrame("SHVBN", 2), false, 15, 16, 12);
    Add(PhotonFrame("SHVBN", 3), false, 15, 16, 12);

    EXPECT_TRUE(Play(4));
    const std::vector<std::string> opening = {
        "15 " + Shutter(BrownVertical, 0), "15 " + Shutter(BrownVertical, 1),
        "15 " + Shutter(BrownVertical, 2), "15 " + Shutter(BrownVertical, 3),
        "15 " + Shutter(BrownVertical, 4)};
    std::vector<std::string> expected = opening;  // the key's own frame is not drawn
    // Frame 01 at an open shutter: the shutter shows open, opens again, and the
    // next row at the cell becomes the open frame.
    expected.push_back("15 " + Shutter(BrownVertical, 4));
    expected.insert(expected.end(), opening.begin(), opening.end());
    // The rewritten row, then frame 03 once more (no later row to rewrite).
    expected.push_back("15 " + Shutter(BrownVertical, 4));
    expected.push_back("15 " + Shutter(BrownVertical, 4));
    expected.insert(expected.end(), opening.begin(), opening.end());
    EXPECT_EQ(Drawn(), expected);
    EXPECT_EQ(ShutterTable[4][12].open, 1);
    EXPECT_EQ(AnimTable[3].pictureName, Shutter(BrownVertical, 4));
    EXPECT_EQ(AnimTable[4].pictureName, PhotonFrame("SHVBN", 3));
}

TEST_F(PlaybackTest, ReplayPlaysTheRewrittenRows) {
    ShutterTable[1][2] = {15, 1, 13};
    Add(PhotonFrame("SHHBN", 3), true, 15, 13, 2);
    Add(PhotonFrame("SHHBN", 4), false, 16);
    Add(PhotonFrame("SHHBN", 2), false, 15, 13, 2);

    EXPECT_TRUE(Play(3));
    const std::string open = Shutter("SHHBN_______________0", 4);
    ASSERT_EQ(AnimTable[3].pictureName, open);
    grid.log.clear();
    EXPECT_TRUE(Play(3));
    const auto drawn = Drawn();
    // The third row now names the open frame.
    EXPECT_EQ(drawn.back(), "15 " + open);
    EXPECT_EQ(std::count(drawn.begin(), drawn.end(), "15 " + PhotonFrame("SHHBN", 2)), 0);
}

TEST_F(PlaybackTest, OpenShutterUnderOtherFramesIsDrawnAsItIs) {
    ShutterTable[1][2] = {15, 1, 13};
    Add(PhotonFrame("SHHBN", 2), true, 15, 13, 2);
    Add(PhotonFrame("SHHBN", 1), true, 16, 13, 2);  // the slot's shutter stands elsewhere
    EXPECT_TRUE(Play(2));
    EXPECT_EQ(Drawn(), std::vector<std::string>(
                           {"15 " + PhotonFrame("SHHBN", 2), "16 " + PhotonFrame("SHHBN", 1)}));
}

TEST_F(PlaybackTest, PhotonAtAClosedShutterStopsThePlaybackAndKeepsTheTally) {
    BonusObjTable[5][3] = {150, 12, 0};
    ShutterTable[1][3] = {15, 0, 13};
    KeyTable[1][1] = {50, 14, 10, 0};  // opens a cell where no shutter stands
    Add(PhotonFrame("MINRL", 1), true, 12, 5, 3);
    Add(PhotonFrame("KEYBN", 1), true, 14, 10, 1);
    Add(PhotonFrame("SHHBN", 1), true, 15, 13, 3);
    Add("LATER", true, 16);

    platform.ExpectBox("BAD GAME SOLUTION");
    EXPECT_FALSE(Play(4));
    EXPECT_EQ(platform.Boxes().back().text,
              "SHUTTER IS CLOSED!\rYou need a key to open Shutter\rbefore the photon can pass.");
    EXPECT_EQ(platform.Boxes().back().flags, platform::MsgOkOnly | platform::MsgExclamation);
    EXPECT_EQ(platform.Beeps(), 1);
    EXPECT_EQ(Drawn(), std::vector<std::string>({"12 " + PhotonFrame("MINRL", 1),
                                                 "14 " + PhotonFrame("KEYBN", 1),
                                                 "15 " + Shutter("SHHBN_______________0", 0)}));
    EXPECT_EQ(tally.Caption(), "150");
}

TEST_F(PlaybackTest, ClosingSquareClosesAnOpenShutterOnly) {
    ShutterTable[2][1] = {15, 1, 14};
    ClosingSquareTable[3][30] = {9, 15, 16};
    const std::string square = PhotonFrame("SQROR", 3);
    ASSERT_FALSE(platform::WriteFileAtomic(ImagePath + square, "square"));
    Add(square, false, 16, 9, 30);
    Add(square, false, 16, 9, 30);

    EXPECT_TRUE(Play(2));
    EXPECT_EQ(Drawn(), std::vector<std::string>(
                           {"15 " + Shutter(GrayHorizontal, 4), "15 " + Shutter(GrayHorizontal, 3),
                            "15 " + Shutter(GrayHorizontal, 2), "15 " + Shutter(GrayHorizontal, 1),
                            "15 " + Shutter(GrayHorizontal, 0)}));
    EXPECT_EQ(ShutterTable[2][1].open, 0);
}

TEST_F(PlaybackTest, ClosingSquareWithoutPictureOrShutterEndsThePlayback) {
    const std::string square = PhotonFrame("SQRBN", 3);
    struct Case {
        const char* what;
        bool picture;
        int16_t squareCell;
        int16_t shutterCell;
        const char* text;
    };
    for (const Case& c :
         {Case{"no picture", false, 16, 15, "ERROR: MISSING SHUTTER IMAGE!"},
          Case{"no square at the cell", true, 17, 15, "ERROR: MISSING SHUTTER INFO!"},
          Case{"not linked", true, 16, -1, "ERROR: MISSING SHUTTER INFO!"},
          Case{"no shutter there", true, 16, 25, "ERROR: MISSING SHUTTER INFO!"}}) {
        SCOPED_TRACE(c.what);
        (void)platform::DeleteFile(ImagePath + square);
        if (c.picture) {
            ASSERT_FALSE(platform::WriteFileAtomic(ImagePath + square, "square"));
        }
        ShutterTable[1][1] = {15, 1, 13};
        ClosingSquareTable[1][1] = {7, c.shutterCell, c.squareCell};
        AnimTable.assign(1, AnimRow{});
        Add(square, false, 16, 7, 1);
        Add("LATER", false, 18);
        grid.log.clear();

        platform.ExpectBox("TRYING TO DISPLAY SHUTTER");
        EXPECT_FALSE(Play(2));
        EXPECT_EQ(platform.Boxes().back().text, c.text);
        EXPECT_TRUE(Drawn().empty());
        EXPECT_EQ(ShutterTable[1][1].open, 1);
    }
    EXPECT_EQ(platform.Beeps(), 4);
    // Free shutter slots (cell -1) are never taken for a link.
    for (int n = 2; n <= LinkSlots; ++n) {
        EXPECT_EQ(ShutterTable[1][n].open, 0);
    }
}

TEST_F(PlaybackTest, ShutterInCellZeroIsClosedAndOpenedLikeAnyOther) {
    const std::string square = PhotonFrame("SQRBN", 3);
    ASSERT_FALSE(platform::WriteFileAtomic(ImagePath + square, "square"));
    const std::string brownHorizontal = "SHHBN_______________0";
    for (int16_t shutterCell : {0, 1}) {
        SCOPED_TRACE(shutterCell);
        ShutterTable[1][1] = {shutterCell, 1, 13};
        ClosingSquareTable[1][1] = {7, shutterCell, 16};
        KeyTable[1][1] = {shutterCell, 14, 10, 0};
        AnimTable.assign(1, AnimRow{});
        Add(square, false, 16, 7, 1);
        Add(PhotonFrame("KEYBN", 1), true, 14, 10, 1);
        grid.log.clear();

        EXPECT_TRUE(Play(2));
        std::vector<std::string> expected;
        for (int frame : {4, 3, 2, 1, 0, 0, 1, 2, 3, 4})
            expected.push_back(std::to_string(shutterCell) + " " + Shutter(brownHorizontal, frame));
        EXPECT_EQ(Drawn(), expected);
        EXPECT_EQ(ShutterTable[1][1].open, 1);
    }

    // A square without an entry closes nothing, even with a shutter standing in cell 0.
    ShutterTable[1][1] = {0, 1, 13};
    ClosingSquareTable[1][1] = {7, -1, -1};
    AnimTable.assign(1, AnimRow{});
    Add(square, false, 16, 7, 1);
    grid.log.clear();
    platform.ExpectBox("TRYING TO DISPLAY SHUTTER");
    EXPECT_FALSE(Play(1));
    EXPECT_EQ(platform.Boxes().back().text, "ERROR: MISSING SHUTTER INFO!");
    EXPECT_TRUE(Drawn().empty());
    EXPECT_EQ(ShutterTable[1][1].open, 1);
}

}  // namespace
}  // namespace quarvelt

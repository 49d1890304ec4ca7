// Boards built through every placing and removing path of the editor save and
// load back slot for slot: the loader's freeing of slots the board contradicts
// never touches a set the editor made.
#include <gtest/gtest.h>

#include "common/globals.h"
#include "common/tables.h"
#include "puzzles/puzzle_files.h"
#include "support.h"
#include "support/main_window_fixture.h"

namespace quarvelt {
namespace {

constexpr int KeyF12 = 123;

class EditorRoundTrip : public testsupport::MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        PuzzleMode = "NEW";
    }

    // Saves the board as it stands, loads it back in its place and compares.
    void ExpectRoundTrip(const char* step) {
        SCOPED_TRACE(step);
        PuzzleInfo info;
        info.puzzleName = "Round Trip";
        info.SetBaseName("ROUNDTRP");
        info.boardRows = BoardRows;
        info.boardCols = BoardCols;
        const PuzzleTables made = CurrentPuzzleTables();
        const PuzzleFileResult saved = SavePuzzleFiles(PuzzlePath, info, made);
        ASSERT_TRUE(saved.Ok()) << saved.file << ": " << saved.reason;
        PuzzleInfo read;
        const PuzzleFileResult loaded = LoadPuzzleFiles(PuzzlePath, "ROUNDTRP", read);
        ASSERT_TRUE(loaded.Ok()) << loaded.file << ": " << loaded.reason;
        EXPECT_EQ(fuzz::TablesDifference(CurrentPuzzleTables(), made), "");
        ++trips;
    }
    void PutLinked(const std::string& stem, int row, int col) {
        view.shutter.push_back([](ShutterDialogLogic& d) {
            d.LineClick(0);
            d.OkClick();
        });
        Put(stem, row, col);
    }
    void PutBonus(const std::string& stem, int row, int col, int line, const char* points) {
        view.trigger.push_back([line, points](SetTriggLogic& d) {
            d.LineClick(line);
            d.trValue = points;
            d.OkClick();
        });
        Put(stem, row, col);
    }
    static int16_t Cell(int row, int col) { return static_cast<int16_t>(row * BoardCols + col); }
    static std::string Code(int row, int col) {
        return BoardTable[static_cast<size_t>(Cell(row, col))].pictureName.substr(0, 5);
    }

    int trips = 0;
};

TEST_F(EditorRoundTrip, EveryPlacingAndRemovingPathLoadsBackUnchanged) {
    Put("REFLU_U", 4, 4);
    Put("LAMP__U", 5, 0);
    ExpectRoundTrip("plain objects and the lamp");

    Put("SHHBN_U", 5, 5);
    PutLinked("KEYBN_U", 3, 3);
    PutLinked("SQBN__U", 7, 7);
    Put("SHVGR_U", 6, 2);
    PutLinked("KEYGR_U", 8, 8);
    PutLinked("SQGR__U", 1, 8);
    ExpectRoundTrip("shutters with their keys and squares");

    PutBonus("DIAY__U", 2, 2, 2, "250");
    view.trigger.push_back([](SetTriggLogic& d) { d.CancelClick(); });
    Put("APPLE_U", 4, 6);
    ASSERT_EQ(Code(4, 6), "BLANK");
    ExpectRoundTrip("a trigger set and one cancelled");

    // A second diamond takes the first one's trigger number; then its value changes.
    PutBonus("DIAY__U", 2, 6, 2, "300");
    ASSERT_EQ(BonusObjTable[1][3].cell, Cell(2, 6));
    view.trigger.push_back([](SetTriggLogic& d) {
        d.trValue = "500";
        d.OkClick();
    });
    grid.SetRow(2);
    grid.SetCol(6);
    logic.GridKeyDown(KeyF12, 0);
    ASSERT_EQ(BonusObjTable[1][3].points, 500);
    ExpectRoundTrip("a trigger number taken over and changed");

    Put("BLANK_U", 2, 6);
    Put("BLANK_U", 3, 3);
    Put("BLANK_U", 7, 7);
    Put("BLANK_U", 4, 4);
    ExpectRoundTrip("a bonus object, a key, a square and a mirror removed");

    // The gray shutter goes with its key and square.
    Put("BLANK_U", 6, 2);
    ASSERT_EQ(Code(8, 8) + Code(1, 8), "BLANKBLANK");
    ExpectRoundTrip("a shutter removed with its links");

    // A key without a shutter of its colour is refused and taken back.
    platform.ExpectBox("ADD/REMOVE KEYS OR CLOSING SQUARES");
    Put("KEYOR_U", 3, 3);
    ASSERT_EQ(Code(3, 3), "BLANK");
    Put("SHVOR_U", 3, 4);
    PutLinked("KEYOR_U", 3, 3);
    PutBonus("HRTRD_U", 6, 6, 15, "9999");
    ExpectRoundTrip("a refused key, then one linked, and the last trigger number");
    EXPECT_EQ(trips, 7);
}

}  // namespace
}  // namespace quarvelt

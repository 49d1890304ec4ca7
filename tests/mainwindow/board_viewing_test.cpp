// Looking at the board: the right button's object information, the trigger
// re-edit key, the Tools menu with its cell numbers, pictures that can't be
// drawn, and a board built by clicks that then runs.
#include "board/board_model.h"
#include "board_editing_fixture.h"
#include "support/index_fixture.h"

using namespace boardediting;

namespace {

class BoardViewing : public BoardEditing {};

TEST_F(BoardViewing, TheRightButtonTellsWhatStandsOnACell) {
    // The lamp in cell 0, the others along row 3.
    Put("LAMP__U", 0, 0);
    const std::vector<std::vector<std::string>> cases = {
        {"LAMP_", "Game Object Information.", "99", "Lamp"},
        {"SQRGR", "Closing Square Information.", "8", "Gray Square"},
        {"KEYOR", "Key Information.", "12", "Orange Key"},
        {"SHVOR", "Shutter Information.", "18", "Orange Vert Shutter"},
        {"DIAM_", "Bonus Object Information.", "1", "Diamond"},
        {"SHUTT", "Game Object Information.", "99", "Delay Shutter"},
    };
    SelectedTool = Tool("REFLU_U");
    for (size_t i = 0; i < cases.size(); ++i) {
        const auto& c = cases[i];
        const int row = i == 0 ? 0 : 3, col = static_cast<int>(i == 0 ? 0 : i + 2);
        At(row, col).pictureName = Resting(c[0]);
        Press(row, col, 2);
        EXPECT_EQ((std::vector<std::string>{c[0], logic.ObjInfro().Caption(),
                                            logic.ObjInfro().trigType, logic.ObjInfro().frameCapt}),
                  c);
        EXPECT_EQ(logic.ObjInfro().cellNumber, std::to_string(Cell(row, col)));
        EXPECT_EQ(grid.Display(platform::GridDisplay::SelectionMode), 0);
    }
    EXPECT_EQ(Calls("show info"), 6);

    // An empty cell is only reported, in any mode.
    PuzzleMode = "RUN";
    platform.ExpectBox("VIEW OBJECTS ON GAMEBOARD");
    Press(5, 5, 2);
    EXPECT_EQ(platform.Boxes().back().text, "NO OBJECT AT THIS LOCATION!");
    EXPECT_EQ(Calls("show info"), 6);
    EXPECT_EQ(SelectedTool, Tool("REFLU_U"));
}

TEST_F(BoardViewing, TheReEditKeyOpensTheTriggerOfABonusObject) {
    view.trigger.push_back([](SetTriggLogic& d) {
        d.LineClick(2);
        d.trValue = "250";
        d.OkClick();
    });
    Put("DIAY__U", 4, 4);
    At(4, 5).pictureName = Resting("REFLU");
    At(4, 6).pictureName = Resting("KEYBN");
    At(4, 7).pictureName = Resting("SHHBN");
    SelectedTool = Tool("LENCC_U");
    const long shown = Calls("show toolbox");
    const auto key = [&](const char* mode, int code, int col = 4) {
        PuzzleMode = mode;
        grid.SetRow(4);
        grid.SetCol(col);
        logic.GridKeyDown(code, 0);
        return Calls("set trigger");
    };

    EXPECT_EQ(key("EDIT", 65), 1);
    view.trigger.push_back([](SetTriggLogic& d) {
        EXPECT_EQ(d.cellNumber, std::to_string(Cell(4, 4)));
        EXPECT_FALSE(d.ListEnabled()) << "a placed object keeps its trigger number";
        EXPECT_EQ(d.Selected(), 2);
        EXPECT_EQ(d.trValue, "250");
        d.trValue = "300";
        d.OkClick();
    });
    EXPECT_EQ(key("EDIT", 123), 2);
    view.trigger.push_back([](SetTriggLogic& d) { d.CancelClick(); });
    EXPECT_EQ(key("NEW", 37), 3);  // any key while a puzzle is new
    EXPECT_EQ(Bonus(1, 3), (std::vector<int>{300, Cell(4, 4), 0}));
    for (const char* mode : {"LOAD", "RUN", "NONE"})
        EXPECT_EQ(key(mode, 123), 3) << mode;
    for (int col : {3, 5, 6, 7})
        EXPECT_EQ(key("NEW", 123, col), 3) << "column " << col;
    EXPECT_EQ(SelectedTool, Tool("LENCC_U"));
    EXPECT_EQ(Calls("show toolbox"), shown);
}

TEST_F(BoardViewing, TheToolBoxItemsResetThePathTables) {
    const auto paths = {&PhotonPathTable1, &PhotonPathTable2, &PhotonPathTable3};
    const auto frames = {&PhotonFrameTable1, &PhotonFrameTable2, &PhotonFrameTable3};
    // Every item makes the next Run a full one; the set-up and lock items leave the rest alone.
    for (int16_t index : {1, 0, 2, 3}) {
        SCOPED_TRACE(index);
        for (auto* table : paths)
            (*table)[5] = {True, 3, "A", "B", 1, 2, 3, 12, 14, "C", 7, 9, 2, 4};
        for (auto* table : frames)
            (*table)[4][2] = "FRAME.BMP";
        ReadyToRun = False;
        const long shown = Calls("show toolbox");
        if (index == 2)
            view.setup.push_back([](TBSetupLogic& setup) { setup.ExitClick(); });
        logic.ToolMenuClick(index);
        EXPECT_EQ(ReadyToRun, True);
        EXPECT_EQ(logic.ToolBox().mode, index == 1 ? "DM" : "GM");
        if (index >= 2) {
            EXPECT_EQ(PhotonFrameTable3[4][2], "FRAME.BMP");
            continue;
        }
        EXPECT_TRUE(logic.ToolBox().Visible());
        EXPECT_EQ(Calls("show toolbox"), shown + 1);
        for (auto* table : paths) {
            ASSERT_GE(table->size(), static_cast<size_t>(CellCount));
            EXPECT_TRUE((*table)[5] == ResetPhotonPathRow());
        }
        for (auto* table : frames) {
            ASSERT_EQ(table->size(), static_cast<size_t>(CellCount));
            for (const PhotonFrameRow& row : *table)
                for (const std::string& frame : row)
                    ASSERT_TRUE(frame.empty());
        }
    }
}

TEST_F(BoardViewing, TheOverlayNumbersEveryCellAndTakesThemAway) {
    for (auto [rows, cols] : {std::pair<int16_t, int16_t>{10, 10}, {15, 15}, {10, 20}, {60, 60}}) {
        SCOPED_TRACE(testing::Message() << rows << "x" << cols);
        BoardRows = rows;
        BoardCols = cols;
        ClearPuzzleBoard(grid, tally, False);
        logic.ToolMenuClick(4);
        EXPECT_EQ(CellOverlayOn, True);
        EXPECT_EQ(grid.TextAt(0, 0), "0");
        EXPECT_EQ(grid.TextAt(0, cols - 1), std::to_string(cols - 1));
        EXPECT_EQ(grid.TextAt(1, 0), std::to_string(cols));
        EXPECT_EQ(grid.TextAt(rows - 1, cols - 1), std::to_string(rows * cols - 1));
        logic.ToolMenuClick(4);
        EXPECT_EQ(CellOverlayOn, False);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                ASSERT_EQ(grid.TextAt(r, c), "") << r << "," << c;
    }
    // The tool box's button shares the switch.
    logic.ToolMenuClick(4);
    logic.ToolBox().OverlayClick();
    EXPECT_EQ(grid.TextAt(59, 59), "");
}

TEST_F(BoardViewing, APictureThatCantBeHadEndsThePressAfterTheModelChanged) {
    Put("SHHBN_U", 5, 5);
    PutLinked("KEYBN_U", 3, 3);
    testsupport::TempFolder nothing, other;
    AppPath = nothing.Path();
    const long shown = Calls("show toolbox");
    const int used = Row("REFLU_U").used;
    platform.ExpectBox("PLACING  IMAGE  ON  GAME  BOARD");
    Put("REFLU_U", 4, 4);
    EXPECT_EQ(platform.Boxes().back().text, "ERROR: OPENING INDEX FILE");
    EXPECT_EQ(At(4, 4).pictureName, Resting("REFLU"));
    EXPECT_EQ(Row("REFLU_U").used, used + 1);
    EXPECT_EQ(Shown(4, 4), Drawn("BLANK"));
    EXPECT_EQ(SelectedTool, Tool("REFLU_U"));
    EXPECT_EQ(platform.PointerLog().back(), platform::Pointer::Default);

    testsupport::WriteImageIndex(other.Path(), {{"ZZZZZ_______________00.BMP", "x"}});
    AppPath = other.Path();
    platform.ExpectBox("PLACING  IMAGE  ON  GAME  BOARD");
    Put("LENCC_U", 6, 6);
    EXPECT_EQ(platform.Boxes().back().text, "ERROR: GETTING IMAGE!");
    EXPECT_EQ(Code(6, 6) + Shown(6, 6), "LENCC" + Drawn("BLANK"));

    // A removal frees every entry and count before the first picture fails.
    ASSERT_FALSE(platform::DeleteFile(ImagePath + Resting("BLANK")));
    platform.ExpectBox("PLACING  IMAGE  ON  GAME  BOARD");
    Put("BLANK_U", 5, 5);
    EXPECT_EQ(platform.Boxes().size(), 3u) << "the press ends at the first failure";
    EXPECT_EQ(Codes({{5, 5}, {3, 3}}), "BLANK BLANK");
    EXPECT_EQ(ShutterTable[1][1].cell, -1);
    EXPECT_EQ(Key(1, 1), (std::vector<int>{-1, -1, -1}));
    EXPECT_EQ(Row("SHHBN_U").used, 0);
    EXPECT_EQ(Row("KEYBN_U").used, 0);
    EXPECT_EQ(Shown(5, 5), Drawn("SHHBN"));
    EXPECT_EQ(Shown(3, 3), Drawn("KEYBN"));
    EXPECT_EQ(SelectedTool, Tool("BLANK_U"));
    EXPECT_EQ(Calls("show toolbox"), shown);
}

TEST_F(BoardViewing, ABoardBuiltByClicksRunsToItsVerdict) {
    // The lamp on row 6 shines right through the lens onto a mirror that turns it up.
    Put("LAMP__U", 6, 1);
    Put("LENCC_U", 6, 2);
    Put("REFLU_U", 6, 7);
    Put("DETWH_U", 2, 7);
    SpecialCond = "11P1__DwTn________________Ta0000~";
    bool tried = false;
    platform.onYield = [&] {
        if (!logic.Busy() || tried)
            return;
        tried = true;
        SelectedTool = Tool("BLANK_U");
        Press(6, 1);
        Press(6, 2, 2);
    };
    platform.ExpectBox("SUCCESSFUL  PUZZLE  COMPLETION");
    logic.MainMenuClick(2);
    EXPECT_TRUE(tried) << "the playback yields while it runs";
    EXPECT_EQ(platform.Boxes().size(), 1u);
    EXPECT_EQ(Code(6, 1), "LAMP_") << "presses while a run plays are ignored";
    EXPECT_EQ(Row("LAMP__U").used, 1);
    EXPECT_EQ(Calls("show info"), 0);
}

}  // namespace

TEST_F(BoardViewing, TheToolBoxAndTheLockGoWithThePuzzleAndAShownBoxFollowsItsCatalogue) {
    const auto cancel = [](CreatorLogic& dialog) { dialog.CanClick(); };
    const struct {
        const char* command;
        std::function<void()> run;
        bool puzzleLeft;
    } cases[] = {
        {"Clear", [&] { logic.MainMenuClick(4); }, false},
        {"a cancelled New",
         [&] {
             view.creator.push_back(cancel);
             logic.PuzzleMenuClick(0);
         },
         false},
        {"a cancelled Load",
         [&] {
             platform.ExpectBox("LOADING  PUZZLE  FILES");
             view.creator.push_back(cancel);
             logic.PuzzleMenuClick(1);
         },
         false},
        // Edit rebuilds the catalogue: the box's buttons are numbered for it at once.
        {"Edit", [&] { logic.PuzzleMenuClick(3); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        logic.ToolMenuClick(1);
        logic.ToolMenuClick(3);
        SelectedTool = Tool("REFLU_U");
        c.run();
        EXPECT_EQ(logic.ToolBox().Visible(), c.puzzleLeft);
        EXPECT_EQ(logic.ObjectLock().Visible(), c.puzzleLeft);
        if (c.puzzleLeft)
            EXPECT_EQ(Row("BLANK_U").button, 0);
        else
            EXPECT_EQ(SelectedTool, -1);
    }
}

// Placing objects on the board, counting them out of the tool box and taking
// them off again with the blank tool.
#include "board_editing_fixture.h"

using namespace boardediting;

namespace {

TEST_F(BoardEditing, TheInventoryCountsObjectsOutAndBack) {
    const int16_t lamp = Tool("LAMP__U"), blank = Tool("BLANK_U"), mirror = Tool("REFLU_U");
    ToolboxObjectRow& lamps = Row("LAMP__U");
    ToolboxObjectRow& mirrors = Row("REFLU_U");
    const auto refused = [&](int16_t tool, int16_t cell, const char* title) {
        platform.ExpectBox(title);
        EXPECT_FALSE(UpdateToolboxInventory(tool, cell));
        return platform.Boxes().back().text;
    };

    // One lamp, whatever its allowed count (-1, unlimited, as a puzzle file may
    // store it, included); erased, it may come back.
    for (int16_t allowed : {5, -1}) {
        SCOPED_TRACE(allowed);
        lamps.allowed = allowed, lamps.used = 0;
        EXPECT_TRUE(UpdateToolboxInventory(lamp, Cell(3, 3)));
        EXPECT_EQ(lamps.used, 1);
        EXPECT_EQ(At(3, 3).lampFlag, True);
        EXPECT_EQ(refused(lamp, Cell(4, 4), Inventory), UsedUpText);
        At(3, 3).pictureName = Resting("LAMP_");
        EXPECT_TRUE(UpdateToolboxInventory(blank, Cell(3, 3)));
        EXPECT_EQ(lamps.used, 0);
        EXPECT_EQ(At(3, 3).lampFlag, False);
        EXPECT_TRUE(UpdateToolboxInventory(lamp, Cell(4, 4)));
    }

    // The blank tool on an empty cell counts nothing and writes the empty cell's group.
    At(5, 5).group = 2;
    EXPECT_TRUE(UpdateToolboxInventory(blank, Cell(5, 5)));
    EXPECT_EQ(At(5, 5).group, 5);
    EXPECT_EQ(Row("BLANK_U").used, 0);

    // used < allowed, not used <= allowed; an allowed count of 0 never places.
    mirrors.allowed = 2, mirrors.used = 1;
    EXPECT_TRUE(UpdateToolboxInventory(mirror, Cell(6, 6)));
    EXPECT_EQ(mirrors.used, 2);
    EXPECT_EQ(refused(mirror, Cell(6, 7), Inventory), UsedUpText);
    mirrors.allowed = 0, mirrors.used = 0;
    EXPECT_EQ(refused(mirror, Cell(6, 7), Inventory), UsedUpText);

    // Erasing an object whose count is already 0 leaves 0.
    At(6, 6).pictureName = Resting("REFLU");
    EXPECT_TRUE(UpdateToolboxInventory(blank, Cell(6, 6)));
    EXPECT_EQ(mirrors.used, 0);

    // Unlimited: nothing refused, nothing counted, either way.
    mirrors.allowed = -1, mirrors.used = 3;
    EXPECT_TRUE(UpdateToolboxInventory(mirror, Cell(7, 7)));
    At(7, 7).pictureName = Resting("REFLU");
    EXPECT_TRUE(UpdateToolboxInventory(blank, Cell(7, 7)));
    EXPECT_EQ(mirrors.used, 3);

    // Locked cells: the count is tested first, then the lock.
    At(8, 8).lockFlag = True;
    mirrors.allowed = 4, mirrors.used = 2;
    EXPECT_EQ(refused(mirror, Cell(8, 8), RemoveTitle),
              "OBJECT CAN NOT BE REPLACED!\r\rYou Can't replace this object from!\rthe game "
              "board, it is LOCKED.");
    At(8, 8).pictureName = Resting("REFLU");
    EXPECT_EQ(refused(blank, Cell(8, 8), RemoveTitle),
              "OBJECT CAN NOT BE REMOVED!\r\rYou Can't remove this object from!\rthe game board, "
              "it is LOCKED.");
    EXPECT_EQ(mirrors.used, 2);
    mirrors.used = 4;
    EXPECT_EQ(refused(mirror, Cell(8, 8), Inventory), UsedUpText);

    // Silent refusals: no tool, and an object the tool box has no row for.
    At(9, 9).pictureName = Resting("SHUTT");
    const size_t boxes = platform.Boxes().size();
    EXPECT_FALSE(UpdateToolboxInventory(-1, Cell(9, 8)));
    EXPECT_FALSE(UpdateToolboxInventory(blank, Cell(9, 9)));
    EXPECT_EQ(platform.Boxes().size(), boxes);
}

TEST_F(BoardEditing, APlainObjectIsPlacedDrawnAndTheToolBoxComesBack) {
    const int16_t mirror = Tool("REFLU_U");
    const int used = Row("REFLU_U").used;
    Put("REFLU_U", 4, 4);
    EXPECT_EQ(At(4, 4).pictureName, Resting("REFLU"));
    EXPECT_EQ(At(4, 4).group, Row("REFLU_U").group);
    EXPECT_EQ(Row("REFLU_U").used, used + 1);
    EXPECT_EQ(Shown(4, 4), Drawn("REFLU"));
    EXPECT_EQ(Calls("show toolbox"), 1);
    EXPECT_EQ(SelectedTool, -1);

    // The middle button does nothing at all.
    grid.SetDisplay(platform::GridDisplay::SelectionMode, 0);
    SelectedTool = mirror;
    Press(6, 6, 4);
    EXPECT_EQ(Code(6, 6), "BLANK");
    EXPECT_EQ(SelectedTool, mirror);
    EXPECT_EQ(grid.Display(platform::GridDisplay::SelectionMode), 0);
}

TEST_F(BoardEditing, ARefusedPressSetsTheToolsMenuByMode) {
    for (const char* mode : {"NEW", "EDIT", "LOAD", "RUN"}) {
        SCOPED_TRACE(mode);
        PuzzleMode = mode;
        const bool before = PuzzleMode != "LOAD";
        logic.Menus().Enable(MenuItem::ToolBoxSetup, !before);
        logic.Menus().Enable(MenuItem::LockUnlock, !before);
        SelectedTool = -1;
        Press(4, 4);
        const bool expected = PuzzleMode == "RUN" ? !before : before;
        EXPECT_EQ(logic.Menus().State(MenuItem::ToolBoxSetup).enabled, expected);
        EXPECT_EQ(logic.Menus().State(MenuItem::LockUnlock).enabled, expected);
        EXPECT_EQ(platform.PointerLog().back(), platform::Pointer::Default);
    }
    // A locked object is refused the same way, silently; an outer-ring cell after its message.
    PuzzleMode = "LOAD";
    At(3, 3).pictureName = Resting("REFLU");
    At(3, 3).lockFlag = True;
    logic.Menus().Enable(MenuItem::LockUnlock, true);
    Put("BLANK_U", 3, 3);
    EXPECT_FALSE(logic.Menus().State(MenuItem::LockUnlock).enabled);
    platform.ExpectBox("PLACE   OBJECT   IN   PUZZLE");
    Put("LENCC_U", 5, 0);
    EXPECT_EQ(Codes({{3, 3}, {5, 0}}), "REFLU BLANK");
    EXPECT_EQ(platform.Boxes().size(), 1u);
    EXPECT_EQ(Calls("show toolbox"), 0);
}

TEST_F(BoardEditing, ABonusObjectGetsItsTriggerOrIsTakenBack) {
    std::string handed;  // the cell number, and the cell while the dialog is open
    view.trigger.push_back([&](SetTriggLogic& d) {
        handed = d.cellNumber + " " + Code(0, 7);
        d.LineClick(2);
        d.trValue = "250";
        d.OkClick();
    });
    Put("DIAY__U", 0, 7);
    EXPECT_EQ(handed, "7 BLANK");
    EXPECT_EQ(Code(0, 7), "DIAM_");
    EXPECT_EQ(Bonus(1, 3), (std::vector<int>{250, 7, 0}));
    EXPECT_EQ(Row("DIAY__U").used, 1);
    EXPECT_EQ(Calls("show toolbox"), 1);

    // Cancelled: the count comes back, never below 0, and the cell is empty in every field.
    view.trigger.push_back([](SetTriggLogic& d) {
        Row("APPLE_U").used = 0;
        d.CancelClick();
    });
    Put("APPLE_U", 4, 4);
    EXPECT_EQ(Row("APPLE_U").used, 0);
    EXPECT_EQ(Code(4, 4), "BLANK");
    EXPECT_EQ(At(4, 4).group, 5);
    EXPECT_EQ(At(4, 4).button, 0);
    EXPECT_EQ(SelectedTool, -1);
    EXPECT_EQ(Calls("show toolbox"), 1);
}

TEST_F(BoardEditing, KeysAndSquaresAreLinkedToAShutterOfTheirColour) {
    // No brown shutter yet: the dialog says so and the key is taken back; an
    // unlimited key is neither counted out nor back.
    Row("KEYBN_U").allowed = -1;
    Row("KEYBN_U").used = 5;
    platform.ExpectBox("ADD/REMOVE KEYS OR CLOSING SQUARES");
    Put("KEYBN_U", 3, 3);
    EXPECT_EQ(Code(3, 3), "BLANK");
    EXPECT_EQ(Row("KEYBN_U").used, 5);
    EXPECT_EQ(Calls("show toolbox"), 0);

    Put("SHHBN_U", 5, 5);
    EXPECT_EQ(ShutterTable[1][1].cell, Cell(5, 5));
    EXPECT_EQ(ShutterTable[1][1].open, 0);
    EXPECT_EQ(Row("SHHBN_U").used, 1);
    PutLinked("KEYBN_U", 3, 3);
    EXPECT_EQ(Key(1, 1), (std::vector<int>{Cell(5, 5), Cell(3, 3), 0}));
    PutLinked("SQBN__U", 7, 7);
    EXPECT_EQ(ClosingSquareTable[1][1].shutterCell, Cell(5, 5));
    EXPECT_EQ(ClosingSquareTable[1][1].cell, Cell(7, 7));
    EXPECT_EQ(Codes({{3, 3}, {7, 7}}), "KEYBN SQRBN");
    EXPECT_EQ(Row("SQBN__U").used, 1);

    // A shutter needs a free slot of its kind: otherwise it is used up.
    for (int slot = 1; slot <= LinkSlots; ++slot)
        ShutterTable[6][slot].cell = static_cast<int16_t>(100 + slot);
    platform.ExpectBox(Inventory);
    Put("SHVOR_U", 6, 6);
    EXPECT_EQ(platform.Boxes().back().text, UsedUpText);
    EXPECT_EQ(Code(6, 6), "BLANK");
    EXPECT_EQ(Row("SHVOR_U").used, 0);
    EXPECT_EQ(Calls("show toolbox"), 4);
    EXPECT_EQ(SelectedTool, -1);
    Put("SHVGR_U", 6, 6);
    EXPECT_EQ(ShutterTable[5][1].cell, Cell(6, 6));
}

TEST_F(BoardEditing, RemovingAShutterTakesItsKeysAndSquaresAlong) {
    Put("SHHBN_U", 5, 5);
    PutLinked("KEYBN_U", 3, 3);
    PutLinked("KEYBN_U", 3, 4);
    PutLinked("KEYBN_U", 3, 5);
    PutLinked("SQBN__U", 7, 7);
    Put("REFLU_U", 9, 9);
    // The second key under a number beyond 8, the third locked, and a stale
    // entry whose cell holds a mirror now.
    KeyTable[1][12] = KeyTable[1][2];
    KeyTable[1][2] = {-1, -1, 10, -1};
    At(3, 5).lockFlag = True;
    KeyTable[2][4] = {Cell(5, 5), Cell(9, 9), 11, 0};

    platform.ExpectBox(RemoveTitle);
    Put("BLANK_U", 5, 5);
    for (auto [r, c] : {std::pair{5, 5}, {3, 3}, {3, 4}, {7, 7}}) {
        SCOPED_TRACE(testing::Message() << r << "," << c);
        EXPECT_EQ(At(r, c).pictureName, Resting("BLANK"));
        EXPECT_EQ(At(r, c).group, 5);
        EXPECT_EQ(Shown(r, c), Drawn("BLANK"));
    }
    EXPECT_EQ(Row("SHHBN_U").used, 0);
    EXPECT_EQ(Row("SQBN__U").used, 0);
    EXPECT_EQ(Row("KEYBN_U").used, 1);
    EXPECT_EQ(ShutterTable[1][1].cell, -1);
    const std::vector<int> freeKey{-1, -1, -1};
    EXPECT_EQ(Key(1, 1), freeKey);
    EXPECT_EQ(Key(1, 12), freeKey);
    EXPECT_EQ(ClosingSquareTable[1][1].cell, -1);
    EXPECT_EQ(Codes({{3, 5}, {9, 9}}), "KEYBN REFLU");
    EXPECT_EQ(Key(1, 3), (std::vector<int>{Cell(5, 5), Cell(3, 5), 0}));
    EXPECT_EQ(Key(2, 4), freeKey);
    EXPECT_EQ(grid.Row(), 5);
    EXPECT_EQ(grid.Col(), 5);
    EXPECT_EQ(SelectedTool, -1);
}

TEST_F(BoardEditing, RemovingFreesTheObjectsOwnEntryOrClearsWithoutOne) {
    view.trigger.push_back([](SetTriggLogic& d) {
        d.LineClick(4);
        d.trValue = "80";
        d.OkClick();
    });
    Put("HRTRD_U", 2, 2);
    Put("SHVBN_U", 5, 5);
    PutLinked("KEYBN_U", 3, 3);
    PutLinked("SQBN__U", 7, 7);
    Put("BLANK_U", 2, 2);
    EXPECT_EQ(Bonus(4, 5), (std::vector<int>{0, -1, 1}));
    EXPECT_EQ(Row("HRTRD_U").used, 0);
    Put("BLANK_U", 3, 3);
    EXPECT_EQ(Key(1, 1), (std::vector<int>{-1, -1, -1}));

    // A square whose entry went missing is taken off all the same.
    ClosingSquareTable[1][1] = {7, -1, -1};
    Put("BLANK_U", 7, 7);
    EXPECT_EQ(Codes({{2, 2}, {3, 3}, {7, 7}, {5, 5}}), "BLANK BLANK BLANK SHVBN");
    EXPECT_EQ(Row("SQBN__U").used, 0);
    EXPECT_EQ(ShutterTable[4][1].cell, Cell(5, 5));
}

TEST_F(BoardEditing, OnlyTheBlankToolActsOnAnOccupiedCell) {
    Put("SHHBN_U", 5, 5);
    Put("REFLU_U", 6, 6);
    At(7, 7).pictureName = Resting("SHUTT");  // the delay shutter has no tool row
    const int shutters = Row("SHHBN_U").used, mirrors = Row("REFLU_U").used;

    Put("LENCC_U", 5, 5);  // a special object: the tool box comes back
    EXPECT_EQ(ShutterTable[1][1].cell, Cell(5, 5));
    EXPECT_EQ(Calls("show toolbox"), 3);
    EXPECT_EQ(SelectedTool, -1);

    PuzzleMode = "LOAD";
    logic.Menus().Enable(MenuItem::ToolBoxSetup, true);
    Put("LENCC_U", 6, 6);  // any other object: the refused end
    EXPECT_FALSE(logic.Menus().State(MenuItem::ToolBoxSetup).enabled);
    Put("BLANK_U", 7, 7);
    EXPECT_EQ(SelectedTool, -1);
    SelectedTool = -1;  // nothing picked: nothing at all
    Press(5, 5);
    EXPECT_EQ(Codes({{5, 5}, {6, 6}, {7, 7}}), "SHHBN REFLU SHUTT");
    EXPECT_EQ(Calls("show toolbox"), 3);
    EXPECT_EQ(Row("SHHBN_U").used, shutters);
    EXPECT_EQ(Row("REFLU_U").used, mirrors);
    EXPECT_TRUE(platform.Boxes().empty());
}

}  // namespace

// The tool box on the shipped catalogue: layout passes by mode and group,
// remaining counts, picks, the grid's looks and the cell-number overlay.
#include "toolbox/tool_box_logic.h"

#include <vector>

#include "common/library.h"
#include "toolbox_fixture.h"

using namespace quarvelt;

namespace {

using platform::GridDisplay;

int16_t RowOf(const std::string& stem) {
    int16_t row = 0;
    while (row < ToolboxRowCount - 1 && ToolboxObjectTable[static_cast<size_t>(row)].stem != stem)
        ++row;
    return row;
}

ToolboxObjectRow& Entry(const std::string& stem) {
    return ToolboxObjectTable[static_cast<size_t>(RowOf(stem))];
}

std::vector<int16_t> UpRowsOf(int16_t group) {
    std::vector<int16_t> rows;
    for (int16_t row = 0; row < ToolboxRowCount; ++row)
        if (ToolboxObjectTable[static_cast<size_t>(row)].group == group &&
            ToolboxObjectTable[static_cast<size_t>(row)].stem.ends_with('U'))
            rows.push_back(row);
    return rows;
}

class ToolBox : public toolboxtest::ShippedBoard {
  protected:
    ToolBoxLogic box{grid};

    void Load(const char* mode) {
        box.FormLoad();
        box.mode = mode;
    }
    // The button the last pass numbered for the object.
    const ToolButtonState& ButtonOf(const std::string& stem) {
        const int16_t button = Entry(stem).button;
        EXPECT_GE(button, 0) << stem << " has no button";
        return box.Button(button < 0 ? 0 : button);
    }
    int VisibleButtons() const {
        int count = 0;
        for (int k = 0; k < ToolButtonCount; ++k)
            count += box.Button(k).visible ? 1 : 0;
        return count;
    }
};

TEST_F(ToolBox, GameModeOffersMiscellaneousWithoutTheLamp) {
    Entry("DETWH_U").allowed = 5;
    Entry("DETWH_U").used = 2;
    Load("");
    EXPECT_EQ(box.CurrentGroup(), 5);
    EXPECT_TRUE(FileExists(box.Button(0).picture));
    EXPECT_TRUE(box.Button(0).downPicture.ends_with("BLANK_D.BMP"));
    // Without a mode nothing is numbered or shown, and the grid keeps its look.
    const size_t gridCalls = grid.log.size();
    box.Activate();
    EXPECT_EQ(VisibleButtons(), 0);
    EXPECT_EQ(Entry("BLANK_U").button, -1);
    EXPECT_EQ(grid.log.size(), gridCalls);

    box.mode = "GM";
    for (bool groupPass : {false, true}) {
        SCOPED_TRACE(groupPass ? "group pass" : "activation");
        groupPass ? box.GroupClick(5) : box.Activate();
        EXPECT_EQ(ButtonOf("BLANK_U").tooltip, "Items Remaining = UNLIMITED.");
        EXPECT_TRUE(ButtonOf("DETWH_U").visible && ButtonOf("DETWH_U").enabled);
        EXPECT_EQ(ButtonOf("DETWH_U").tooltip, "Items Remaining = 3");
        EXPECT_FALSE(ButtonOf("LAMP__U").visible || ButtonOf("LAMP__U").enabled);
        EXPECT_EQ(ButtonOf("LAMP__U").tooltip,
                  "Items Remaining = " + std::to_string(Entry("LAMP__U").allowed));
        EXPECT_EQ(VisibleButtons(), static_cast<int>(UpRowsOf(5).size()) - 1);
    }
    EXPECT_FALSE(box.Option(0).visible || box.Option(0).enabled);
    EXPECT_TRUE(box.Option(1).visible && box.Option(5).enabled);
    EXPECT_EQ(grid.Display(GridDisplay::FocusRect), 1);
    EXPECT_EQ(grid.Display(GridDisplay::SelectionMode), 2);
    EXPECT_EQ(grid.Display(GridDisplay::HighLight), 0xC0C0C0);
}

TEST_F(ToolBox, DesignModeShowsEveryGroupTheGameModeOnlySome) {
    Entry("KEYBN_U").used = 5;
    Entry("LAMP__U").used = 1;
    Load("DM");
    box.GroupClick(5);
    box.Activate();
    EXPECT_TRUE(ButtonOf("LAMP__U").visible);
    EXPECT_EQ(ButtonOf("LAMP__U").tooltip, "Items Remaining = 0");
    box.GroupClick(3);
    box.Activate();
    EXPECT_EQ(VisibleButtons(), static_cast<int>(UpRowsOf(3).size()));
    EXPECT_EQ(ButtonOf("KEYBN_U").tooltip,
              "Items Remaining = " + std::to_string(Entry("KEYBN_U").allowed - 5));
    EXPECT_TRUE(box.Option(0).visible && box.Option(0).enabled);
    // Switching to the game tool box on such a group hides it at the next activation.
    box.mode = "GM";
    box.Activate();
    EXPECT_EQ(VisibleButtons(), 0);
    EXPECT_FALSE(box.Option(0).visible);
    for (int group : {0, 3, 4}) {
        box.GroupClick(group);
        box.Activate();
        EXPECT_EQ(box.CurrentGroup(), group);
        EXPECT_EQ(VisibleButtons(), 0) << "group " << group;
    }
    box.GroupClick(1);
    EXPECT_EQ(VisibleButtons(), static_cast<int>(UpRowsOf(1).size()));
}

TEST_F(ToolBox, DesignModeCountsTheBlankLikeAnyOtherObject) {
    Entry("BLANK_U").allowed = 5;
    Entry("BLANK_U").used = 2;
    Load("DM");
    box.GroupClick(5);
    EXPECT_EQ(ButtonOf("BLANK_U").tooltip, "Items Remaining = 3");
    box.Activate();
    EXPECT_EQ(ButtonOf("BLANK_U").tooltip, "Items Remaining = 3");
}

TEST_F(ToolBox, RemainingCountsFollowUsedCountsAndLimitPicks) {
    ToolboxObjectRow& mirror = Entry("REFHT_U");
    const int16_t row = RowOf("REFHT_U");
    mirror.allowed = 3;
    mirror.used = 1;
    Load("GM");
    box.GroupClick(1);
    EXPECT_EQ(ButtonOf("REFHT_U").tooltip, "Items Remaining = 2");
    box.ToolClick(mirror.button);
    EXPECT_EQ(SelectedTool, row);
    for (int16_t used : {3, 5}) {
        mirror.used = used;
        box.Activate();
        EXPECT_EQ(ButtonOf("REFHT_U").tooltip, "Items Remaining = " + std::to_string(3 - used));
        SelectedTool = row;
        platform.ExpectBox("TOOLBOX  SELECTION");
        box.ToolClick(mirror.button);
        EXPECT_EQ(SelectedTool, -1);
        EXPECT_EQ(platform.Boxes().back().text, "ITEM NO LONGER AVALIBLE!");
        EXPECT_EQ(mirror.used, used);
    }
    // -1 allows without limit in any group.
    mirror.allowed = -1;
    for (bool groupPass : {true, false}) {
        groupPass ? box.GroupClick(1) : box.Activate();
        EXPECT_EQ(ButtonOf("REFHT_U").tooltip, "Items Remaining = UNLIMITED.");
    }
    box.ToolClick(mirror.button);
    EXPECT_EQ(SelectedTool, row);
    box.ToolClick(ToolButtonCount - 1);  // no row: no pick
    EXPECT_EQ(SelectedTool, row);
}

TEST_F(ToolBox, OnlyTheFirst66UpRowsOfAGroupGetButtons) {
    for (ToolboxObjectRow& entry : ToolboxObjectTable)
        if (entry.group == 0 || entry.group == 2)
            entry.group = 1;
    const std::vector<int16_t> ups = UpRowsOf(1);
    ASSERT_GT(ups.size(), static_cast<size_t>(ToolButtonCount));
    Load("DM");
    box.GroupClick(1);
    EXPECT_EQ(Entry("REFHT_D").button, Entry("REFHT_U").button);
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = 0; i < ups.size(); ++i)
            EXPECT_EQ(ToolboxObjectTable[static_cast<size_t>(ups[i])].button,
                      i < ToolButtonCount ? static_cast<int16_t>(i) : -1)
                << i << " pass " << pass;
        EXPECT_EQ(VisibleButtons(), ToolButtonCount);
        box.Activate();
    }
}

TEST_F(ToolBox, AnUpRowWithoutDownRowKeepsThePreviousDownPicture) {
    Load("DM");
    box.GroupClick(2);
    ASSERT_TRUE(box.Button(0).downPicture.ends_with("FLTHC_D.BMP"));
    Entry("REFHT_D").stem = "REFHT_X";
    box.GroupClick(1);
    EXPECT_TRUE(box.Button(0).picture.ends_with("REFHT_U.BMP"));
    EXPECT_TRUE(box.Button(0).downPicture.ends_with("FLTHC_D.BMP"));
}

TEST_F(ToolBox, APictureThatCannotBeFetchedIsReportedOnce) {
    Entry("DETWH_U").archiveId = "NOSUCH";
    Entry("DETRD_U").archiveId = "NOSUCH";
    platform.ExpectBox();
    Load("DM");
    box.GroupClick(5);  // fails again, silently
    box.PictureFailed();
    EXPECT_EQ(platform.Boxes().size(), 1u);
    for (const std::string stem : {"DETWH_U", "DETRD_U"}) {
        EXPECT_TRUE(ButtonOf(stem).picture.empty() && ButtonOf(stem).visible) << stem;
        EXPECT_EQ(ButtonOf(stem).code, stem.substr(0, 5));
    }
    EXPECT_FALSE(ButtonOf("DETGN_U").picture.empty());
    box.ToolClick(Entry("DETWH_U").button);
    EXPECT_EQ(SelectedTool, RowOf("DETWH_U"));
}

TEST_F(ToolBox, OverlayNumbersEveryCellRowByRowAndExitLeavesItOn) {
    Load("GM");
    for (int16_t size : {10, 15, 60}) {
        SCOPED_TRACE(size);
        BoardRows = BoardCols = size;
        ClearPuzzleBoard(grid, tally, False);
        ASSERT_EQ(CellOverlayOn, False);
        auto allCells = [&](bool numbered) {
            for (int r = 0; r < size; ++r)
                for (int c = 0; c < size; ++c)
                    if (grid.TextAt(r, c) != (numbered ? std::to_string(r * size + c) : ""))
                        return false;
            return true;
        };
        box.OverlayClick();
        EXPECT_TRUE(CellOverlayOn == True && allCells(true));
        box.OverlayClick();
        EXPECT_TRUE(CellOverlayOn == False && allCells(false));
        box.OverlayClick();
    }
    box.Activate();
    SelectedTool = 3;
    box.SetVisible(true);
    box.ExitClick();
    EXPECT_EQ(SelectedTool, -1);
    EXPECT_FALSE(box.Visible());
    EXPECT_EQ(CellOverlayOn, True);
    EXPECT_EQ(grid.TextAt(59, 59), "3599");
    for (GridDisplay look :
         {GridDisplay::FocusRect, GridDisplay::SelectionMode, GridDisplay::HighLight})
        EXPECT_EQ(grid.Display(look), 0);
}

}  // namespace

TEST(ToolBoxPlace, BesideTheBoardLevelWithItsTopAndInsideTheScreen) {
    // A 1920 by 1080 screen less a 30-pixel panel; the tool box's own 400 by 322;
    // boards of 48-pixel cells centred in a window whose grid starts 100 pixels down.
    const ScreenRect screen{0, 0, 1920, 1050};
    struct Case {
        const char* board;
        ScreenRect shown;
        int left, top;
    } cases[] = {
        {"10x10 in a full-screen window: on its right", {720, 335, 480, 480}, 1208, 335},
        {"10x10 in a window on the right half: on its left", {1200, 335, 480, 480}, 792, 335},
        {"10x10 scrolled low: kept above the screen's bottom", {720, 900, 480, 480}, 1208, 728},
        {"60x60, wider than the screen: at its right edge", {0, 100, 1920, 950}, 1520, 100},
        {"60x60 in a window off the left: inside the screen", {-300, -40, 1920, 950}, 1520, 0},
        {"10x10 in a 5000 by 5000 window: on the screen", {2260, 2213, 480, 480}, 1520, 728},
        {"10x10 in a window dragged far off the bottom right", {6000, 4000, 480, 480}, 1520, 728},
        {"a 1 by 1 window off the bottom right shows no board", {2600, 1400, 0, 0}, 1520, 728},
        {"a 1 by 1 window off the top left shows no board", {-900, -700, 0, 0}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.board);
        const ScreenRect place = ToolBoxPlace(c.shown, 400, 322, screen);
        EXPECT_EQ(place.left, c.left);
        EXPECT_EQ(place.top, c.top);
        EXPECT_TRUE(place.left >= screen.left && place.Right() <= screen.Right() &&
                    place.top >= screen.top && place.Bottom() <= screen.Bottom());
    }
    // A box larger than the screen stands at its top left corner.
    const ScreenRect large = ToolBoxPlace({1200, 335, 480, 480}, 2000, 1100, screen);
    EXPECT_EQ(large.left, screen.left);
    EXPECT_EQ(large.top, screen.top);

    // Where the box would stand over the centred board, the window keeps the box's
    // width and gap clear at its right, and the box then finds room beside the board.
    const ScreenRect small{0, 0, 1280, 1000};
    EXPECT_EQ(ToolBoxRoom({256, 200, 768, 672}, 400, 322, small), 408);
    EXPECT_EQ(ToolBoxPlace({52, 200, 768, 672}, 400, 322, small).left, 828);
    EXPECT_EQ(ToolBoxRoom({720, 335, 480, 480}, 400, 322, screen), 0);
    EXPECT_EQ(ToolBoxRoom({0, 100, 1920, 950}, 400, 322, screen), 408);
    // A 10x10 board centred at 1280: the box at the screen's edge would touch it.
    EXPECT_EQ(ToolBoxRoom({400, 100, 480, 480}, 400, 322, small), 408);
}

TEST(ToolBoxPlace, InsideEveryScreenWhereverTheBoardLies) {
    // A screen at the origin, and a second one left of and above it; the tool box,
    // and a box just the size of the first screen.
    const ScreenRect screens[] = {{0, 0, 1280, 1024}, {-1920, -200, 1920, 1050}};
    const ScreenRect boxes[] = {{0, 0, 400, 322}, {0, 0, 1280, 1024}};
    const int positions[] = {-9000, -2500, -1000, -500, -1, 0, 7, 300, 900, 1279, 1280, 2260, 9000};
    const int sides[] = {0, 1, 480, 1280, 5000};
    for (const ScreenRect& screen : screens)
        for (const ScreenRect& box : boxes)
            for (int x : positions)
                for (int y : positions)
                    for (int side : sides) {
                        const ScreenRect place =
                            ToolBoxPlace({x, y, side, side}, box.width, box.height, screen);
                        ASSERT_TRUE(place.left >= screen.left && place.Right() <= screen.Right() &&
                                    place.top >= screen.top && place.Bottom() <= screen.Bottom())
                            << box.width << " by " << box.height << " box beside a board at " << x
                            << "," << y << " of " << side << " on the screen at " << screen.left
                            << "," << screen.top << ": at " << place.left << "," << place.top;
                    }
}

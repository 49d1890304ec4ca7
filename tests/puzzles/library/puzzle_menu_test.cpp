// The Puzzle menu's commands from the main window, the library dialog played
// by scripts: a puzzle made, saved, loaded, edited and deleted on disk.
#include <algorithm>

#include "library_fixture.h"
#include "mainwindow/game_bd_logic.h"
#include "support/scripted_view.h"

using namespace library;

namespace {

class PuzzleMenu : public Library {
  protected:
    testsupport::ScriptedView view;
    GameBdLogic logic{{grid, tally, name, condition}, view};

    void SetUp() override {
        Library::SetUp();
        view.logic = &logic;
        logic.FormLoad();
        logic.InitMenus();
    }
    bool On(MenuItem item) {
        return logic.Menus().State(item).visible && logic.Menus().State(item).enabled;
    }
    bool Off(MenuItem item) {
        return !logic.Menus().State(item).visible && !logic.Menus().State(item).enabled;
    }
    bool Enabled(MenuItem item) { return logic.Menus().State(item).enabled; }
    int Size() const { return BoardRows * 100 + BoardCols; }
    // Opens Load and picks `puzzleName` with `key` typed, or none; an impatient
    // player presses every control of the dialog again during the load's wait.
    void Load(const std::string& puzzleName, const char* key, bool impatient = false) {
        view.creator.push_back([this, puzzleName, key, impatient](CreatorLogic& d) {
            d.ListClick(RowOf(d, puzzleName));
            if (key) {
                platform.ExpectInput(key);
                d.EdKeyClick();
            }
            if (impatient)
                platform.onYield = [this, &d] {
                    platform.onYield = nullptr;
                    d.CmdClick();
                    d.SizeEnter();
                    d.CanClick();
                    d.EdKeyClick();
                    d.ListClick(0);
                    d.NameEnter();
                };
            d.CmdClick();
            EXPECT_FALSE(platform.onYield) << "the load never waited";
        });
        platform.ExpectBox(ConditionsTitle);
        logic.PuzzleMenuClick(1);
    }
};

TEST_F(PuzzleMenu, APuzzleIsMadeSavedLoadedEditedAndDeleted) {
    Ship("C01FIRSTLIT");
    view.creator.push_back([](CreatorLogic& d) {
        d.pzlName = "Mine";
        d.pzlSize = "12,20";
        d.CmdClick();
    });
    logic.PuzzleMenuClick(0);
    EXPECT_EQ(Size(), 2012);
    EXPECT_EQ(grid.Rows() * 100 + grid.Cols(), 2012);
    EXPECT_EQ(name.Caption() + PuzzleMode, "MineNEW");
    EXPECT_TRUE(On(MenuItem::Save) && On(MenuItem::Edit) && On(MenuItem::Run));
    EXPECT_FALSE(Enabled(MenuItem::Delete) || Enabled(MenuItem::New) || Enabled(MenuItem::Load));

    const auto lamp = static_cast<int16_t>(
        std::find_if(ToolboxObjectTable.begin(), ToolboxObjectTable.end(),
                     [](const ToolboxObjectRow& row) { return row.stem == "LAMP__U"; }) -
        ToolboxObjectTable.begin());
    SelectedTool = lamp;
    grid.SetRow(3);
    grid.SetCol(4);
    logic.GridMouseDown(1, 0, 3, 4);
    ASSERT_TRUE(IsTrue(BoardTable[3 * 12 + 4].lampFlag));

    view.creator.push_back([this](CreatorLogic& d) {
        EXPECT_EQ(d.pzlName + " " + d.pzlSize, "Mine 20,12");
        d.pzlFilename = "mine";
        platform.ExpectInput("Key1");
        d.EdKeyClick();
        d.CmdClick();
    });
    platform.ExpectBox(SaveTitle);
    logic.PuzzleMenuClick(2);
    EXPECT_EQ(LastBox().text, "PUZZLE (MINE) SAVED.");
    EXPECT_EQ(Stored("MINE").puzzleKey, "Key1");
    EXPECT_EQ(Size(), 2012);
    EXPECT_TRUE(On(MenuItem::ExPort));

    // A Load cancelled after choosing a puzzle of another size keeps the board's size.
    view.creator.push_back([this](CreatorLogic& d) {
        d.ListClick(RowOf(d, Stored("C01FIRSTLIT").puzzleName));
        d.CanClick();
    });
    logic.PuzzleMenuClick(1);
    EXPECT_EQ(Size(), 2012);
    EXPECT_EQ(grid.Rows() * 100 + grid.Cols(), 2012);
    EXPECT_EQ(BoardTable.size(), 240u);
    EXPECT_TRUE(On(MenuItem::Save)) << "a cancelled Load writes no menu item";

    // Without its key (here in the wrong letter case) the puzzle opens for play.
    logic.MainMenuClick(4);
    Load("Mine", "key1");
    EXPECT_EQ(logic.ToolBox().mode, "GM");
    EXPECT_TRUE(Off(MenuItem::Edit) && Off(MenuItem::Delete) && Off(MenuItem::Save));
    EXPECT_FALSE(Enabled(MenuItem::Conditions) || Enabled(MenuItem::DesignToolBox));
    EXPECT_TRUE(Enabled(MenuItem::GameToolBox) && On(MenuItem::Run) && On(MenuItem::Clear));
    EXPECT_EQ(Size(), 2012);
    EXPECT_EQ(grid.PictureAt(3, 4), ImagePath + Resting("LAMP_"));
    EXPECT_EQ(tally.Caption() + name.Caption() + CurrentPuzzleKey, "0Mine");

    // The dialog takes no command while the load waits: one load, with its menus.
    logic.MainMenuClick(4);
    Load("Mine", "Key1", true);
    EXPECT_EQ(CreatorCancelled, 0);
    EXPECT_EQ(logic.ToolBox().mode, "DM");
    EXPECT_TRUE(On(MenuItem::Edit) && On(MenuItem::Delete) && Enabled(MenuItem::Conditions));
    EXPECT_TRUE(On(MenuItem::Tools) && On(MenuItem::Clear) && !Enabled(MenuItem::Load));
    EXPECT_FALSE(Enabled(MenuItem::GameToolBox));
    EXPECT_EQ(CurrentPuzzleKey, "Key1");

    // Edit brings the standard tool box back with the lamp on the board still counted.
    logic.PuzzleMenuClick(3);
    EXPECT_EQ(PuzzleMode, "EDIT");
    EXPECT_TRUE(On(MenuItem::Save) && On(MenuItem::ExPort));
    SelectedTool = lamp;
    grid.SetRow(5);
    grid.SetCol(5);
    platform.ExpectBox("TOOLBOX  INVENTORY");
    logic.GridMouseDown(1, 0, 5, 5);
    EXPECT_EQ(BoardTable[5 * 12 + 5].pictureName.substr(0, 5), "BLANK");

    // Choosing a puzzle of another size in the list changes nothing on the board.
    view.creator.push_back([this](CreatorLogic& d) {
        d.ListClick(RowOf(d, Stored("C01FIRSTLIT").puzzleName));
        d.ListClick(RowOf(d, "Mine"));
        d.pzlName = "Mine Two";
        platform.ExpectInput("Key1");
        d.EdKeyClick();
        platform.ExpectInput("");
        EXPECT_EQ(Press(d, UpdateTitle), "PUZZLE MINE UPDATED.");
    });
    logic.PuzzleMenuClick(2);
    EXPECT_EQ(name.Caption(), "Mine Two");
    EXPECT_EQ(Stored("MINE").puzzleName + Stored("MINE").puzzleKey, "Mine TwoKey1");
    EXPECT_EQ(Size(), 2012);

    view.creator.push_back([this](CreatorLogic& d) {
        EXPECT_EQ(d.pzlFilename + " " + d.pzlName, "MINE Mine Two");
        EXPECT_EQ(Press(d, DeleteTitle).substr(0, 27), "KEYED PUZZLE: INVALIED KEY!");
        platform.ExpectInput("Key1");
        d.EdKeyClick();
        EXPECT_EQ(Press(d, DeleteTitle), "PUZZLE MINE DELETED.");
    });
    logic.PuzzleMenuClick(4);
    EXPECT_EQ(PuzzleFiles().size(), 7u) << "only C01FIRSTLIT's files are left";
    EXPECT_EQ(Size(), 1515);
    EXPECT_EQ(PuzzleMode, "NONE");
    EXPECT_TRUE(Off(MenuItem::Save) && Off(MenuItem::Run) && Off(MenuItem::Tools));
    EXPECT_TRUE(Enabled(MenuItem::New) && Enabled(MenuItem::Load) && On(MenuItem::ExPort));
    EXPECT_EQ(name.Caption() + condition.Caption(), "");
}

}  // namespace

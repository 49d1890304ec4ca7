// From the author to the player: an author limits the reflectors and locks the
// lamp, saves the puzzle; a player loads it, finds exactly what the author
// allowed, and cannot move what the author locked.
#include <gtest/gtest.h>

#include <string>

#include "common/globals.h"
#include "common/image_index.h"
#include "common/library.h"
#include "common/tables.h"
#include "common/text.h"
#include "common/toolbox_catalogue.h"
#include "mainwindow/game_bd_logic.h"
#include "platform/files.h"
#include "support/main_window_fixture.h"
#include "support/recording_grid.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"
#include "toolbox/object_lock_logic.h"
#include "toolbox/tb_setup_logic.h"

using namespace quarvelt;

namespace {

constexpr const char* ItemsTitle = "TOOLBOX   ITEMS";

class AuthorToPlayer : public testsupport::MainWindowTest {
  protected:
    // Picks a tool as the player does, through the tool box's button.
    void Pick(int group, const std::string& stem) {
        logic.ToolBox().GroupClick(group);
        const int16_t button = ToolboxObjectTable[static_cast<size_t>(Tool(stem))].button;
        ASSERT_GE(button, 0) << stem << " is not offered";
        ASSERT_TRUE(logic.ToolBox().Button(button).visible) << stem;
        logic.ToolBox().ToolClick(button);
    }
    std::string Tooltip(const std::string& stem) {
        return logic.ToolBox()
            .Button(ToolboxObjectTable[static_cast<size_t>(Tool(stem))].button)
            .tooltip;
    }
};

TEST_F(AuthorToPlayer, TheLimitsAndTheLockReachThePlayer) {
    // The author starts a puzzle and puts the lamp on it.
    view.creator.push_back([](CreatorLogic& d) {
        d.pzlName = "Two Mirrors";
        d.pzlSize = "15,15";
        d.CmdClick();
    });
    logic.PuzzleMenuClick(0);
    ASSERT_EQ(PuzzleMode, "NEW");
    SelectedTool = Tool("LAMP__U");
    Press(7, 0);
    const int16_t lampCell = 7 * 15;
    ASSERT_EQ(BoardTable[lampCell].pictureName.substr(0, 5), "LAMP_");

    // Two of each reflector, set up and copied into the tool box.
    TBSetupLogic setup;
    setup.FormLoad();
    setup.GroupClick(1);
    for (int p = 0; p < SetupPositionCount; ++p)
        if (setup.Position(p).countEnabled)
            setup.CountEdited(p, "2");
    platform.ExpectBox(ItemsTitle);
    setup.AcceptClick();
    platform.ExpectBox(ItemsTitle);
    setup.UpdateClick();
    setup.ExitClick();
    EXPECT_EQ(ToolboxObjectTable[static_cast<size_t>(Tool("REFLU_U"))].allowed, 2);
    // The lamp stays counted out: it is on the board.
    EXPECT_EQ(ToolboxObjectTable[static_cast<size_t>(Tool("LAMP__U"))].used, 1);

    // The lamp locked in the lock window.
    ObjectLockLogic lock;
    lock.Activate();
    ASSERT_EQ(lock.Rows().size(), 1u);
    EXPECT_EQ(lock.Rows()[0].itemData, lampCell);
    lock.ListClick(0);
    lock.LockClick();
    EXPECT_EQ(lock.Rows()[0].text.substr(43, 6), "LOCKED");
    EXPECT_EQ(BoardTable[lampCell].lockFlag, True);

    view.creator.push_back([this](CreatorLogic& d) {
        d.pzlFilename = "mirrors";
        platform.ExpectInput("Author7");
        d.EdKeyClick();
        d.CmdClick();
    });
    platform.ExpectBox("SAVE  CUSTOM  PUZZLE");
    logic.PuzzleMenuClick(2);
    ASSERT_TRUE(FileExists(PuzzlePath + "MIRRORS.TBX"));

    // The player clears everything and loads the puzzle without its key.
    logic.MainMenuClick(4);
    EXPECT_EQ(ToolboxObjectTable[static_cast<size_t>(Tool("REFLU_U"))].allowed, 20);
    view.creator.push_back([](CreatorLogic& d) {
        for (size_t i = 0; i < d.Items().size(); ++i)
            if (d.Items()[i] == "Two Mirrors")
                d.ListClick(static_cast<int>(i));
        d.CmdClick();
    });
    platform.ExpectBox("S P E C I A L   C O N D I T I O N S");
    logic.PuzzleMenuClick(1);
    ASSERT_EQ(logic.ToolBox().mode, "GM");
    EXPECT_EQ(BoardTable[lampCell].lockFlag, True);

    logic.ToolMenuClick(0);
    logic.ToolBox().GroupClick(1);
    EXPECT_EQ(Tooltip("REFLU_U"), "Items Remaining = 2");
    for (int col : {3, 5}) {
        Pick(1, "REFLU_U");
        EXPECT_EQ(SelectedTool, Tool("REFLU_U"));
        Press(7, col);
        EXPECT_EQ(BoardTable[static_cast<size_t>(7 * 15 + col)].pictureName.substr(0, 5), "REFLU");
    }
    EXPECT_EQ(Tooltip("REFLU_U"), "Items Remaining = 0");
    platform.ExpectBox("TOOLBOX  SELECTION");
    Pick(1, "REFLU_U");
    EXPECT_EQ(platform.Boxes().back().text, "ITEM NO LONGER AVALIBLE!");
    EXPECT_EQ(SelectedTool, -1);
    // Another reflector kind is just as limited, and still there.
    Pick(1, "REFHT_U");
    EXPECT_EQ(SelectedTool, Tool("REFHT_U"));

    // The blank tool can't take the locked lamp off; the press is refused without a word.
    Pick(5, "BLANK_U");
    const size_t boxes = platform.Boxes().size();
    Press(7, 0);
    EXPECT_EQ(platform.Boxes().size(), boxes);
    EXPECT_EQ(SelectedTool, -1);
    EXPECT_EQ(BoardTable[lampCell].pictureName.substr(0, 5), "LAMP_");
    EXPECT_EQ(grid.PictureAt(7, 0), ImagePath + "LAMP________________00.BMP");
    // An unlocked reflector it can.
    Pick(5, "BLANK_U");
    Press(7, 3);
    EXPECT_EQ(BoardTable[7 * 15 + 3].pictureName.substr(0, 5), "BLANK");
    logic.ToolBox().GroupClick(1);
    EXPECT_EQ(Tooltip("REFLU_U"), "Items Remaining = 1");
}

}  // namespace

// A test that starts from the main window's logic on the shipped picture set:
// a recording grid and labels, the dialogs played by scripts, every message
// box expected, and image and puzzle folders of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "common/image_index.h"
#include "common/tables.h"
#include "common/text.h"
#include "common/toolbox_catalogue.h"
#include "mainwindow/game_bd_logic.h"
#include "platform/files.h"
#include "support/recording_grid.h"
#include "support/scripted_platform.h"
#include "support/scripted_view.h"
#include "support/temp_folder.h"

namespace testsupport {

class MainWindowTest : public ::testing::Test {
  protected:
    TempFolder dir;
    ScriptedPlatform platform;
    RecordingGrid grid;
    RecordingLabel tally, name, condition;
    ScriptedView view;
    quarvelt::GameBdLogic logic{{grid, tally, name, condition}, view};

    void SetUp() override {
        quarvelt::ResetGlobals();
        quarvelt::ImageIndex::Forget();
        quarvelt::AppPath =
            QUARVELT_GAME_DIR;  // read only: pictures go to a folder of the test's own
        quarvelt::ImagePath = dir.Path() + "DATA/";
        quarvelt::PuzzlePath = dir.Path() + "PUZZLE/";
        quarvelt::PuzzleLoadPause = 0;
        quarvelt::CurrentDate = "12/07/2026";
        ASSERT_FALSE(platform::CreateFolder(quarvelt::ImagePath));
        ASSERT_FALSE(platform::CreateFolder(quarvelt::PuzzlePath));
        view.logic = &logic;
        logic.FormLoad();
        logic.InitMenus();
    }
    void TearDown() override {
        quarvelt::ImageIndex::Forget();
        quarvelt::ResetGlobals();
    }

    // The catalogue row of a tool picture, by its stem ("LAMP__U").
    static int16_t Tool(const std::string& stem) {
        for (int16_t row = 0; row < quarvelt::ToolboxRowCount; ++row)
            if (quarvelt::TrimBlanks(quarvelt::ToolboxObjectTable[static_cast<size_t>(row)].stem) ==
                stem)
                return row;
        ADD_FAILURE() << "no catalogue row " << stem;
        return -1;
    }
    // A press on the board grid, where the player clicked.
    void Press(int row, int col, int button = 1) {
        grid.SetRow(row);
        grid.SetCol(col);
        logic.GridMouseDown(button, 0, row, col);
    }
    // The tool picked and put on a cell.
    void Put(const std::string& stem, int row, int col) {
        quarvelt::SelectedTool = Tool(stem);
        Press(row, col);
    }
};

}  // namespace testsupport

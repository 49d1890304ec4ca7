// A fresh program on the shipped picture set: a cleared 15 by 15 board and the
// catalogue built from the index; pictures go to a folder of the test's own.
#pragma once

#include <gtest/gtest.h>

#include "board/board_model.h"
#include "common/globals.h"
#include "common/image_index.h"
#include "common/tables.h"
#include "common/toolbox_catalogue.h"
#include "platform/files.h"
#include "support/recording_grid.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace toolboxtest {

class ShippedBoard : public ::testing::Test {
  protected:
    testsupport::TempFolder dir;
    testsupport::ScriptedPlatform platform;
    testsupport::RecordingGrid grid;
    testsupport::RecordingLabel tally;

    void SetUp() override {
        quarvelt::ResetGlobals();
        quarvelt::ImageIndex::Forget();
        quarvelt::AppPath = QUARVELT_GAME_DIR;
        quarvelt::ImagePath = dir.Path() + "DATA/";
        ASSERT_FALSE(platform::CreateFolder(quarvelt::ImagePath));
        quarvelt::ClearPuzzleBoard(grid, tally, quarvelt::True);
        quarvelt::LoadToolboxObjects();
    }
    void TearDown() override {
        // Tests edit the catalogue; later suites find it empty, as a fresh program does.
        quarvelt::ToolboxObjectTable.fill({});
        quarvelt::ImageIndex::Forget();
        quarvelt::ResetGlobals();
    }
};

}  // namespace toolboxtest

// The puzzle library on folders of the test's own beside the shipped picture
// set: every message box expected, the pause after reading a puzzle taken out.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/image_index.h"
#include "common/library.h"
#include "platform/files.h"
#include "puzzles/creator_logic.h"
#include "support/recording_grid.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace library {

using namespace quarvelt;

inline const char* const SaveTitle = "SAVE  CUSTOM  PUZZLE";
inline const char* const UpdateTitle = "UPDATE  CUSTOM  PUZZLE";
inline const char* const DeleteTitle = "DELETE  CUSTOM  PUZZLE";
inline const char* const LoadTitle = "LOAD  PUZZLE";
inline const char* const KeyedTitle = "KEYED  PUZZLE";
inline const char* const ConditionsTitle = "S P E C I A L   C O N D I T I O N S";
inline const char* const BuildTitle = "CLEARNING  GAME  BOARD";
inline const char* const InvalidName =
    "ERROR:  INVALID PUZZLE FILENAME!\r\rUse up to 20 letters, digits, - or _.";

inline std::string Resting(const std::string& code) {
    return code + "_______________00.BMP";
}

class Library : public ::testing::Test {
  protected:
    testsupport::TempFolder dir;
    testsupport::ScriptedPlatform platform;
    testsupport::RecordingGrid grid;
    testsupport::RecordingLabel tally, name, condition;

    void SetUp() override {
        ResetGlobals();
        ImageIndex::Forget();
        AppPath = QUARVELT_GAME_DIR;  // read only: pictures and puzzles go to the test's folders
        ImagePath = dir.Path() + "DATA/";
        PuzzlePath = dir.Path() + "PUZZLE/";
        ASSERT_FALSE(platform::CreateFolder(ImagePath));
        ASSERT_FALSE(platform::CreateFolder(PuzzlePath));
        PuzzleLoadPause = 0;
        CurrentDate = "12/07/2026";
    }
    void TearDown() override {
        ImageIndex::Forget();
        ResetGlobals();
    }

    // A rows x cols puzzle with the lamp in its first cell and `odd` the picture
    // of its second, written with the current catalogue.
    static void WritePuzzle(const std::string& base, const std::string& puzzleName,
                            const std::string& key, int16_t flag, int16_t rows = 12,
                            int16_t cols = 14, const std::string& desc = "",
                            const std::string& odd = Resting("BLANK")) {
        PuzzleInfo info;
        info.puzzleName = puzzleName;
        info.SetBaseName(base);
        info.boardRows = rows;
        info.boardCols = cols;
        info.customFlag = flag;
        info.puzzleKey = key;
        info.puzzleDate = "03/04/2025";
        info.specialCondCode = EmptyCondCode;
        info.specialCondDesc = desc;
        PuzzleTables tables = CurrentPuzzleTables();
        tables.board.assign(static_cast<size_t>(rows * cols),
                            {Resting("BLANK"), 5, 0, False, False});
        tables.board[0] = {Resting("LAMP_"), 0, 0, False, True};
        tables.board[1].pictureName = odd;
        ASSERT_TRUE(SavePuzzleFiles(PuzzlePath, info, tables).Ok()) << base;
    }
    static void Ship(const std::string& base) {
        for (const char* extension : PuzzleFileExtensions)
            ASSERT_FALSE(platform::CopyFileVerified(
                std::string(QUARVELT_GAME_DIR) + base + extension, PuzzlePath + base + extension));
    }
    static PuzzleInfo Stored(const std::string& base) {
        PuzzleInfo info;
        EXPECT_TRUE(ReadPuzzleInfo(PuzzlePath + base + ".INF", info).Ok()) << base;
        return info;
    }
    static std::vector<std::string> PuzzleFiles() {
        std::vector<std::string> names;
        EXPECT_FALSE(platform::ListFiles(PuzzlePath, names));
        return names;
    }
    static int RowOf(const CreatorLogic& d, const std::string& puzzleName) {
        const auto& items = d.Items();
        const auto found = std::find(items.begin(), items.end(), puzzleName);
        EXPECT_NE(found, items.end()) << puzzleName;
        return static_cast<int>(found - items.begin());
    }
    // Presses the dialog's main button, expecting one box titled `title`; the box's text.
    std::string Press(CreatorLogic& d, const char* title) {
        platform.ExpectBox(title);
        d.CmdClick();
        return LastBox().text;
    }
    testsupport::BoxCall LastBox() const {
        return platform.Boxes().empty() ? testsupport::BoxCall{} : platform.Boxes().back();
    }
};

}  // namespace library

// The sample set the puzzle-file tests write and read, and their fixture.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/globals.h"
#include "common/tables.h"
#include "puzzles/puzzle_files.h"
#include "support/temp_folder.h"

namespace quarvelt::testing_puzzles {

inline const std::string Blank = "BLANK_______________00.BMP";
inline const std::string Lamp = "LAMP________________00.BMP";
inline const std::string Reflector = "REFLU_______________00.BMP";

// The tables as a board clear leaves them.
inline PuzzleTables ClearedTables(int16_t rows, int16_t cols) {
    PuzzleTables t;
    t.board.assign(static_cast<size_t>(rows * cols), BoardCell{Blank, 5, 0, False, False});
    for (int16_t k = 1; k <= ShutterKinds; ++k) {
        for (int n = 1; n <= LinkSlots; ++n)
            t.shutters[k][n] = {-1, 0, static_cast<int16_t>(k + 12)};
        for (int n = 1; n <= BonusSlots; ++n)
            t.bonus[k][n] = {0, -1, -1};
    }
    for (int16_t c = 1; c <= LinkColours; ++c) {
        for (int n = 1; n <= LinkSlots; ++n) {
            t.squares[c][n] = {static_cast<int16_t>(c + 6), -1, -1};
            t.keys[c][n] = {-1, -1, static_cast<int16_t>(c + 9), -1};
        }
    }
    return t;
}

inline ToolboxObjectRow ToolRow(const std::string& stem, int16_t group, int32_t offset) {
    ToolboxObjectRow row;
    row.shown = True;
    row.stem = stem;
    row.group = group;
    row.archiveOffset = offset;
    row.enabled = True;
    row.allowed = 20;
    row.archiveId = "000001";
    row.imageSize = 1077;
    return row;
}

inline std::string Resting(const std::string& code) {
    return code + "_______________00.BMP";
}

// A 10 by 12 board with something in every table, each slot on its own object.
inline PuzzleTables SampleTables() {
    PuzzleTables t = ClearedTables(10, 12);
    t.board[13] = {Lamp, 5, 8, True, True};
    t.board[118] = {Reflector, 1, 4, False, False};
    t.board[119] = {Resting("SHHGR"), 4, 10, False, False};
    t.board[40] = {Resting("SHVOR"), 4, 12, False, False};
    t.board[50] = {Resting("KEYOR"), 3, 3, True, False};
    t.board[51] = {Resting("SQRGR"), 3, 5, False, False};
    t.board[52] = {Resting("PUZZL"), 2, 6, False, False};
    t.toolbox[0] = ToolRow("REFLU_U", 1, 1);
    t.toolbox[1] = ToolRow("REFLU_D", 1, 1078);
    t.toolbox[0].button = 4;
    t.toolbox[0].used = 1;
    t.toolbox[2] = ToolRow("BLANK_U", 5, 2155);
    t.toolbox[2].allowed = -1;
    t.toolbox[2].shown = False;
    t.shutters[2][3] = {119, 0, 14};
    t.shutters[6][32] = {40, -1, 18};
    t.keys[3][1] = {40, 50, 12, 0};
    t.squares[2][2] = {8, 119, 51};
    t.bonus[6][16] = {9999, 52, 0};
    return t;
}

inline PuzzleInfo SampleInfo() {
    PuzzleInfo info;
    info.puzzleName = "First Light";
    info.SetBaseName("FIRST");
    info.customFlag = 1;
    info.puzzleKey = "Sesame";
    info.puzzleDate = "03/14/2024";
    info.boardRows = 10;
    info.boardCols = 12;
    info.specialCondCode = "03P1A>DaTnP2AADaTn________Ta0000~";
    info.specialCondDesc = "Photon A MUST be Larger than Photon B.";
    return info;
}

class PuzzleFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetGlobals();
        PuzzlePath = folder.Path();
    }
    void TearDown() override { ResetGlobals(); }

    void Save(const PuzzleInfo& info = SampleInfo(), const PuzzleTables& t = SampleTables()) {
        const PuzzleFileResult result = SavePuzzleFiles(PuzzlePath, info, t);
        ASSERT_TRUE(result.Ok()) << result.file << ": " << result.reason << result.error.number;
    }
    std::string File(const std::string& name) const { return folder.Read(name); }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    testsupport::TempFolder folder;
};

}  // namespace quarvelt::testing_puzzles

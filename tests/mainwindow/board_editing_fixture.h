// The main window's board editing on the shipped picture set: presses on a
// recording grid, the dialogs played by scripts, every message box expected.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "support/main_window_fixture.h"

namespace boardediting {

using namespace quarvelt;

inline const char* const Inventory = "TOOLBOX  INVENTORY";
inline const char* const RemoveTitle = "REMOVE   OBJECT   FROM   PUZZLE";
inline const char* const UsedUpText =
    "ERROR:  OBJECT IS USED UP!\r\rAll objects for this type have been used!";

inline std::string Resting(const std::string& code) {
    return code + "_______________00.BMP";
}

class BoardEditing : public testsupport::MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        PuzzleMode = "NEW";
    }

    static ToolboxObjectRow& Row(const std::string& stem) {
        return ToolboxObjectTable[static_cast<size_t>(Tool(stem))];
    }
    static int16_t Cell(int row, int col) { return static_cast<int16_t>(row * BoardCols + col); }
    static BoardCell& At(int row, int col) {
        return BoardTable[static_cast<size_t>(Cell(row, col))];
    }
    static std::string Code(int row, int col) { return At(row, col).pictureName.substr(0, 5); }

    // A key or square linked to the first shutter the dialog lists.
    void PutLinked(const std::string& stem, int row, int col) {
        view.shutter.push_back([](ShutterDialogLogic& d) {
            d.LineClick(0);
            d.OkClick();
        });
        Put(stem, row, col);
    }
    // The codes of some cells, blank-separated.
    static std::string Codes(std::initializer_list<std::pair<int, int>> cells) {
        std::string codes;
        for (auto [row, col] : cells)
            codes += (codes.empty() ? "" : " ") + Code(row, col);
        return codes;
    }
    // Key entries as {shutter cell, own cell, state}, triggers as {points, cell, state}.
    static std::vector<int> Key(int colour, int number) {
        const KeySlot& k = KeyTable[static_cast<size_t>(colour)][static_cast<size_t>(number)];
        return {k.shutterCell, k.cell, k.state};
    }
    static std::vector<int> Bonus(int kind, int number) {
        const BonusObjSlot& b =
            BonusObjTable[static_cast<size_t>(kind)][static_cast<size_t>(number)];
        return {b.points, b.cell, b.state};
    }
    std::string Shown(int row, int col) const { return grid.PictureAt(row, col); }
    std::string Drawn(const std::string& code) const { return ImagePath + Resting(code); }
    long Calls(const std::string& call) const {
        return std::count(view.calls.begin(), view.calls.end(), call);
    }
};

}  // namespace boardediting

// The board grid of the main window: a grid of square cells, each with a
// picture and a text, a current cell, and display states for editing and for
// running. Sizes are in twips (1/1440 inch; 15 twips a pixel at 96 dpi).
#pragma once

#include <string>

namespace platform {

constexpr int TwipsPerPixel = 15;

// The grid's display properties, by the numbers the board code uses for them.
enum class GridDisplay : int {
    FocusRect = 34,      // 1 shows the focus of the current cell
    HighLight = 16,      // 1 highlights the selection
    SelectionMode = 23,  // 1 lets the selection follow the current cell
};

class BoardGridEvents {
  public:
    virtual ~BoardGridEvents() = default;
    // `button`: 1 left, 2 right, 4 middle; `shift`: 1 Shift, 2 Ctrl, 4 Alt added together.
    virtual void GridMouseDown(int button, int shift, int row, int col) = 0;
    // `key`: a Windows virtual-key number (letters and digits as their upper-case
    // characters, F1 to F12 112 to 123, arrows 37 to 40, Delete 46, Shift, Ctrl and
    // Alt 16 to 18, punctuation 186 to 222, ...). It comes while the current cell
    // is still the one the key was pressed on; an arrow moves it afterwards.
    virtual void GridKeyDown(int key, int shift) = 0;
};

class BoardGrid {
  public:
    virtual ~BoardGrid() = default;

    // Empties every cell's picture and text.
    virtual void Clear() = 0;
    virtual void SetDisplay(GridDisplay property, int value) = 0;

    virtual void SetRows(int rows) = 0;
    virtual int Rows() const = 0;
    virtual void SetCols(int cols) = 0;
    virtual int Cols() const = 0;
    virtual void SetRowHeight(int row, int twips) = 0;
    virtual void SetColWidth(int col, int twips) = 0;

    virtual void SetRow(int row) = 0;
    virtual int Row() const = 0;
    virtual void SetCol(int col) = 0;
    virtual int Col() const = 0;

    // Shows the picture file in the current cell; false, with the cell showing
    // what it showed before, when the file cannot be read as a picture.
    virtual bool SetCellPicture(const std::string& path) = 0;
    virtual void ClearCellPicture() = 0;
    virtual void SetCellText(const std::string& text) = 0;
    virtual std::string CellText() const = 0;

    // Mouse and key presses go to `events` (none when null).
    virtual void SetEvents(BoardGridEvents* events) = 0;
};

}  // namespace platform

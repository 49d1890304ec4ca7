// The board model's life cycle: the clear that sizes the board and re-creates
// every board, link and photon table, and the reset that brings a board that
// has been run back to its state before the run.
#pragma once

#include "common/globals.h"
#include "platform/board_grid.h"
#include "platform/label.h"

namespace quarvelt {

// The picture of an empty cell, always kept under this name in ImagePath.
inline constexpr const char* BlankPictureName = "BLANK_______________00.BMP";
// Square cells of 48 pixels at 96 dpi.
inline constexpr int CellTwips = 727;
inline constexpr int16_t MinBoardSize = 10;
inline constexpr int16_t MaxBoardSize = 60;
inline constexpr int16_t DefaultBoardSize = 15;

// Gives the grid BoardRows by BoardCols cells of CellTwips.
void SizeBoardGrid(platform::BoardGrid& grid);

// Makes the board empty and ready for a full run. With `newSize` true the board
// becomes 15 by 15; otherwise it keeps BoardRows and BoardCols, falling back to
// 15 by 15 when they are outside 10 to 60. The blank picture is extracted from
// the archives when it is missing; when the index cannot give it, one message
// is shown and the cells stay undrawn, but every table and flag is still set.
void ClearPuzzleBoard(platform::BoardGrid& grid, platform::Label& tally, Flag newSize);

// Redraws every cell from BoardTable, re-arms the keys and bonus objects in use,
// empties the mixer inputs and sets the tally to "0". Shutters keep their state.
void ResetPuzzle(platform::BoardGrid& grid, platform::Label& tally);

// Switches the cell-number overlay: with CellOverlayOn off every cell gets its
// cell index as text, otherwise every text is removed; the flag follows. The
// grid's current cell is left on the last cell.
void ToggleCellOverlay(platform::BoardGrid& grid);

}  // namespace quarvelt

// Cell addressing: a cell's index in the per-cell tables and files, and the
// six-digit position text (row, then column) that the board grid is reached by.
#pragma once

#include <cstdint>
#include <string>

namespace quarvelt {

// column + row * width, or -1 when the width is under 10. Column and row are not
// checked against the board. A result beyond the 16-bit range, which no board of at
// most 60 by 60 reaches, also gives -1.
int16_t GetCellIndex(int16_t column, int16_t row, int16_t width);

// "RRRCCC": row = index / width, column = index % width, each at least three digits.
// Every caller passes BoardCols (10 or more) and an index on the board; a width under
// 10 or a negative index gives "000000", the top-left cell.
std::string FormatCellPos(int16_t index, int16_t width);

}  // namespace quarvelt

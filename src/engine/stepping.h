// Moving a photon from cell to cell, and finding which link-table slot holds
// the special object standing in a cell.
#pragma once

#include <cstdint>
#include <string>

namespace quarvelt {

// Where a step from `cell` in the travel direction "L", "R", "T" or "B" goes:
// the neighbour, or -1 when the step leaves the board, for a cell off the board
// and for any other letter. `leavesBoard` only for a step from a cell of the
// board over its edge.
struct Neighbour {
    int16_t cell = -1;
    bool leavesBoard = false;
};
Neighbour StepFrom(int16_t cell, const std::string& travel);

// The neighbour's cell; -1 when the photon would leave the board (after the
// message) or for any other letter (without one).
int16_t GetNextCell(int16_t cell, const std::string& travel);
// The same neighbour, or -1, without a message.
int16_t NeighbourCell(int16_t cell, const std::string& travel);
// The message of a photon that would leave the board.
void ReportPhotonLeavesBoard();

// The slot in which the special object `number` (1 to 18) standing in `cell` is
// registered in its link table, searching every slot the table holds; 0 when
// none is, and for any other number.
int16_t FindSpecialObjSlot(int16_t number, int16_t cell);

}  // namespace quarvelt

// Playing the animation of a run on the board grid, row by row: the pictures,
// the bonus points they earn, the shutters that keys open and closing squares
// close, and the stop at a shutter that is still closed.
#pragma once

#include <cstdint>

#include "platform/board_grid.h"
#include "platform/label.h"

namespace quarvelt {

// The wait after drawing a row that asks for one.
inline constexpr float RowPauseSeconds = 0.03f;

// Plays AnimTable rows 1 to `frameCount` (none below 1, never past the table)
// on `grid`, adding bonus points to the caption of `tally`. Shutter states and
// the pictures it writes into later rows stay for a replay. Returns true when
// it played every row; false when it stopped early, after its own message (a
// missing shutter picture or link, or a photon at a closed shutter) or because
// `stopRequest` was set, which it looks at before every row. A `pauseSeconds`
// of 0 plays without waiting or yielding.
bool ApplySpecialObjHits(platform::BoardGrid& grid, platform::Label& tally, int32_t frameCount,
                         const bool& stopRequest, float pauseSeconds = RowPauseSeconds);

}  // namespace quarvelt

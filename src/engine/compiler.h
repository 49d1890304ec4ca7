// The puzzle compiler: walks the lamp's photon and the photons split off it
// over the board, and records every step in the photon path and frame tables
// and every photon's end in PhotonState, for the animation and the solution
// check. A board that cannot be run gets one message and leaves every photon
// table at its reset values.
#pragma once

#include "common/globals.h"

namespace quarvelt {

// `ok` becomes True when the board compiled, False after the message. The
// photon tables must hold their reset values for the board's CellCount.
void CompilePuzzle(Flag& ok);

}  // namespace quarvelt

// The verdict on putting the picked tool-box object into a board cell. Cells
// on the outer ring refuse the objects a photon could not reach or leave there.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace quarvelt {

// Verdicts of CheckObjectPlacement; only PlacementAllowed lets the object be placed.
inline constexpr int16_t PlacementLocked = -3;     // the cell holds a locked object
inline constexpr int16_t PlacementNoTool = -2;     // a blank cell and nothing picked
inline constexpr int16_t PlacementForbidden = -1;  // refused, and the player was told
inline constexpr int16_t PlacementAllowed = 0;
inline constexpr int16_t PlacementOccupied = 1;  // the cell holds an object that is not locked

// Judges catalogue row `tool` (-1 for nothing picked) at `cell` of the current
// board. A forbidden place is refused with a message. A row or cell outside the
// tables is taken as nothing picked.
int16_t CheckObjectPlacement(int16_t tool, int16_t cell);

// Every tool code that some cell of the outer ring refuses.
std::span<const std::string_view> RestrictedToolCodes();

}  // namespace quarvelt

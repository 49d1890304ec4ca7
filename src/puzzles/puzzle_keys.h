// A puzzle's key: who may change, replace or delete a stored puzzle.
#pragma once

#include <string>

#include "puzzles/puzzle_files.h"

namespace quarvelt {

// The key of a puzzle stored without one, and what an empty typed key stands for.
inline constexpr const char* NoKey = "UNKEYED";

// Whether the stored puzzle refuses to be deleted or replaced with `typedKey`:
// a custom puzzle, or one stored under a key, asks for that very key.
bool KeyRefuses(const PuzzleInfo& stored, const std::string& typedKey);

}  // namespace quarvelt

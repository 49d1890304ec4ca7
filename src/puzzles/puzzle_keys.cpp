#include "puzzles/puzzle_keys.h"

#include "common/text.h"

namespace quarvelt {

bool KeyRefuses(const PuzzleInfo& stored, const std::string& typedKey) {
    const std::string storedKey = TrimBlanks(stored.puzzleKey);
    const bool keyed = !storedKey.empty() && storedKey != NoKey;
    return (stored.customFlag == 1 || keyed) && storedKey != TrimBlanks(typedKey);
}

}  // namespace quarvelt

#include "puzzles/puzzle_names.h"

#include <algorithm>

#include "common/library.h"
#include "common/text.h"
#include "puzzles/puzzle_files.h"

namespace quarvelt {

std::string PuzzleBaseName(const std::string& text) {
    return UpperCase(StripNulls(text));
}

bool IsPuzzleBaseName(const std::string& base) {
    return !base.empty() && base.size() <= MaxBaseNameLength &&
           std::all_of(base.begin(), base.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
           });
}

}  // namespace quarvelt

// The rule for a puzzle's base name, shared by the library and the transfer:
// the seven files of a puzzle are named after it, on this computer and on
// removable drives, so it must be a short, plain name.
#pragma once

#include <string>

namespace quarvelt {

// The base name as typed or stored: blanks trimmed, NULs removed, upper case.
std::string PuzzleBaseName(const std::string& text);
// True for 1 to 20 characters of A-Z, 0-9, "_" and "-" (upper-case the name first).
bool IsPuzzleBaseName(const std::string& base);

}  // namespace quarvelt

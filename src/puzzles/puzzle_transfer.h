// The puzzle sets of a transfer, apart from the window: which puzzles of a
// folder may travel, and the copy of one set from one folder to another. A
// set is read whole through the folder it lies in and put in place whole by
// the library's replace (puzzle_set_replace.h), on this computer and on the
// drive alike.
//
// Puzzles on a drive come from other computers: a puzzle is listed only when
// its names and files pass the library's checks, only the seven files named
// after its checked base name travel, and no link on the drive is followed.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/files.h"
#include "puzzles/puzzle_files.h"
#include "puzzles/puzzle_set_replace.h"

namespace quarvelt {

using TransferNames = std::array<std::string, PuzzleFileCount>;
// The seven files of a puzzle in the order they travel.
TransferNames TransferFileNames(const std::string& base);

// Empty when the information file `file` of `folder` names a puzzle the
// transfer may carry; else why not ("FILE: reason"). Only a set named after
// its own checked base name qualifies, and every file that would travel must
// be there as a plain file, not a link; on a drive, also the very file its
// information file names (a drive that tells names apart by case may hold
// another file under the name that travels). Fills `info` and `base`.
std::string CheckTransferNames(platform::Folder& folder, const std::string& file, bool onDrive,
                               PuzzleInfo& info, std::string& base);
// CheckTransferNames, and on a drive, whose puzzles come from elsewhere, all
// seven files read as a load reads them, with `fingerprint` set to the
// PuzzleSetFingerprint of the bytes read. A set whose replace was cut short is
// finished in the puzzle folder and refused on a drive. `puzzleName` is what
// the list shows.
std::string CheckTransferPuzzle(platform::Folder& folder, const std::string& file, bool onDrive,
                                std::string& puzzleName, std::string& base,
                                uint64_t* fingerprint = nullptr);

// Copies the set `base` of `from` into `to`: read whole from `from` (a set
// cut short there finished or refused as `pending` says) and put in place
// whole in `to`, only while the set there is still `expected` when given.
// With `listed`, only a set read with that fingerprint is put in place, else
// nothing is written (NotAsListed).
PuzzleFileResult TransferPuzzleSet(platform::Folder& from, platform::Folder& to,
                                   const std::string& base, PendingSet pending,
                                   const PuzzleSetState* expected = nullptr,
                                   const uint64_t* listed = nullptr);

}  // namespace quarvelt

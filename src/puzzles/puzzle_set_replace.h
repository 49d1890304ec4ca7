// A puzzle set is replaced whole. The seven new files are written under their
// temporary names and checked; then a small marker naming the set, with the
// size and checksum of each new file, is written and flushed; only then are
// the temporaries renamed over the old files, and the marker goes last.
// Killed before the marker stands, the old set is whole and the next start
// removes the temporaries; killed after, the next start renames the rest into
// place. Either way the library holds the old set or the new one, never a mix.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/files.h"
#include "puzzles/puzzle_files.h"

namespace quarvelt {

// The seven file names of one set: a base name and the seven extensions.
using PuzzleSetNames = std::array<std::string, PuzzleFileCount>;

// The marker of a replace of the set `base`, in the set's folder.
std::string PuzzleSetMarkerName(const std::string& base);

// Puts the temporaries (PuzzleTempFileName) of `names`, written into `folder`
// (with a trailing '/') beforehand, in place of the files `names`, renamed in
// the order given. The temporaries must read as a load reads a set and store
// the names `names` (letter case aside); a target that is a folder, a link,
// write-protected or larger than its kind can be keeps the whole set as it
// was; a failed rename puts back the files already replaced. On any failure
// the temporaries are removed and the old set stays whole.
// Each file is checked through one open descriptor, and the name it is
// renamed to must then hold that very file, else the rename counts as failed.
PuzzleFileResult ReplacePuzzleSet(const std::string& folder, const PuzzleSetNames& names,
                                  const ReplaceStepHook& step = {});
// The same in a folder already open, whose names it keeps up to date: for a
// caller that replaces many sets in one folder without reading it again.
PuzzleFileResult ReplacePuzzleSet(platform::Folder& folder, const PuzzleSetNames& names,
                                  const ReplaceStepHook& step = {});

struct PuzzleSetRecovery {
    std::vector<std::string> finished;  // base names of sets put in place
    std::vector<std::string> removed;   // leftover files removed
    // Sets that could not be finished: their marker and temporaries stay for the next start.
    std::vector<PuzzleFileResult> failures;
};

// For a start-up: finishes every replace in `folder` whose marker checks out
// (each of its files, still a temporary or already renamed, is a regular file
// with the size and checksum the marker gives, and together they read as the
// set it names, each read through one open descriptor; a file put under a
// temporary's name after that check gives way to the bytes checked). A
// marker that does not check out is removed with its temporaries and the
// set's files are left as they are; temporaries no marker names are removed.
PuzzleSetRecovery RecoverPuzzleSets(const std::string& folder);

}  // namespace quarvelt

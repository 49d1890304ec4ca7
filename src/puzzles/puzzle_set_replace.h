// A puzzle set is replaced whole, wherever it is written: a save and an import
// in the puzzle folder, an export in a removable drive's PUZZLE folder. The
// seven new files are written under temporary names and read back; a small
// marker naming the set, with the size and checksum of each new file, is
// written and flushed: that is the commitment. Only then are the temporaries
// renamed over the old files, and the marker goes last.
// Before the marker stands, any failure or kill leaves the old set whole. Once
// it stands, a replace only goes forward: a rename that fails or a kill leaves
// the marker and the remaining temporaries, and the next start (on a drive,
// the next export to it) finishes the set. Every reader of a set sees the
// marker and either finishes the set first or refuses it, so nothing ever
// loads, lists, exports or imports a mix of the old set and the new one.
// One writer at a time: every replace and every recovery holds an exclusive
// lock on its folder, and every read a shared one.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"
#include "puzzles/puzzle_files.h"

namespace quarvelt {

// The marker of a replace of the set `base`, in the set's folder.
std::string PuzzleSetMarkerName(const std::string& base);

// Puts the set `bytes` (by PuzzleFile) in place of the set `base` of `folder`.
// The base name must pass IsPuzzleBaseName, and the bytes must read as a load
// reads a set storing the names of `base`. A replace of `base` cut short
// earlier is finished first; when it can't be, nothing is written and the
// result is its Unfinished. A target that is a folder, a link or anything but
// a plain file, write-protected or larger than its kind can be keeps the old
// set whole, and so does another copy of the game writing the folder (error
// 55 once the lock has been waited for). A failure after the marker stands
// is Unfinished: the marker and the temporaries not yet renamed stay.
// Each temporary is checked through the descriptor it was written through,
// and the name it is renamed to must then hold that very file, else the bytes
// checked are written there.
PuzzleFileResult ReplacePuzzleSet(platform::Folder& folder, const std::string& base,
                                  const PuzzleSetBytes& bytes, const ReplaceStepHook& step = {});
PuzzleFileResult ReplacePuzzleSet(const std::string& folder, const std::string& base,
                                  const PuzzleSetBytes& bytes, const ReplaceStepHook& step = {});

// What a reader does with a set whose marker stands: finish it where it lies
// (the puzzle folder), or refuse it (a drive being imported from).
enum class PendingSet { Finish, Refuse };

// Reads the set `base` of `folder` as a load reads it, each file opened once
// without following a link, within its size cap, and read through that
// descriptor; with `bytes`, also the bytes read. A set whose marker stands is
// finished first or refused as Unfinished, naming the set and why.
PuzzleFileResult ReadWholePuzzleSet(platform::Folder& folder, const std::string& base,
                                    PendingSet pending, PuzzleInfo& info, PuzzleTables& tables,
                                    PuzzleSetBytes* bytes = nullptr);
// The information file `infName` of `folder` alone, under the same rule for the
// set it belongs to.
PuzzleFileResult ReadWholePuzzleInfo(platform::Folder& folder, const std::string& infName,
                                     PendingSet pending, PuzzleInfo& info);

struct PuzzleSetRecovery {
    std::vector<std::string> finished;  // base names of sets put in place
    std::vector<std::string> removed;   // leftover files removed
    // Sets that could not be finished (Unfinished, naming the set), or the
    // folder itself (Failed): their markers and temporaries stay.
    std::vector<PuzzleFileResult> failures;
};

// For a start-up, and an export before it writes a drive: finishes every
// replace in `folder` whose marker checks out (each of its files, still a
// temporary or already renamed, is a plain file with the size and checksum
// the marker gives, and together they read as the set it names). A marker
// that was read and does not check out is removed with its temporaries and
// the set's files are left as they are; a marker or file that can't be read
// keeps everything, and the set is reported. Temporaries no marker names and
// what a killed atomic write left are removed.
PuzzleSetRecovery RecoverPuzzleSets(platform::Folder& folder);
PuzzleSetRecovery RecoverPuzzleSets(const std::string& folder);

// What the player is told of a failed read or write of a set. `finisher` says
// who finishes an Unfinished set ("the game, at its next start").
std::string PuzzleFailureText(const PuzzleFileResult& result, const std::string& finisher);

}  // namespace quarvelt

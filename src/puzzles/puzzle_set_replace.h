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
// loads, lists, exports or imports a mix of the old set and the new one. A set
// is reported done only once its marker is gone.
// One writer at a time: every replace and every recovery holds an exclusive
// lock on its folder, and every read a shared one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"
#include "puzzles/puzzle_files.h"

namespace quarvelt {

// The marker of a replace of the set `base`, in the set's folder.
std::string PuzzleSetMarkerName(const std::string& base);

// A set as it stands in a folder at one moment, for a decision taken on it
// before a question: whether any of its seven files is there, its
// information file as read, and a fingerprint of what stands under each of
// its names, bytes and all. Two readings have the same fingerprint only when
// nothing of the set changed between them.
struct PuzzleSetState {
    bool exists = false;     // some file of the set stands there
    bool infExists = false;  // its information file does
    PuzzleFileResult infRead;
    PuzzleInfo info;  // when infRead is Ok
    uint64_t fingerprint = 0;
};
// Reads the set `base` of `folder` as it is now (a replace of it cut short is
// finished first, as a reader does; of a Broken set, the information file as
// it stands is read, for the set may be replaced or deleted whole).
PuzzleSetState ReadPuzzleSetState(platform::Folder& folder, const std::string& base);
// How many times a caller decides on a set that keeps changing while it asks
// (Changed) before it gives up, writes nothing and tells the player.
inline constexpr int MaxSetDecisions = 3;

// Puts the set `bytes` (by PuzzleFile) in place of the set `base` of `folder`.
// The base name must pass IsPuzzleBaseName, and the bytes must read as a load
// reads a set storing the names of `base`. A replace of `base` cut short
// earlier is finished first; when it can't be, nothing is written and the
// result is its Unfinished (a Broken set is replaced whole). With `expected`,
// the set as it stands once the folder is locked must be the one read then,
// else nothing is written and the result is Changed. A target that is a
// folder, a link or anything but a plain file, write-protected or larger
// than its kind can be keeps the old set whole, and so does another copy of
// the game writing the folder (error 55 once the lock has been waited for).
// A failure after the marker stands is Unfinished: the marker and the
// temporaries not yet renamed stay. The set is done only once its marker is
// gone. Each temporary is checked through the descriptor it was written
// through, and the name it is renamed to must then hold that very file, else
// the bytes checked are written there.
PuzzleFileResult ReplacePuzzleSet(platform::Folder& folder, const std::string& base,
                                  const PuzzleSetBytes& bytes,
                                  const PuzzleSetState* expected = nullptr);
PuzzleFileResult ReplacePuzzleSet(const std::string& folder, const std::string& base,
                                  const PuzzleSetBytes& bytes,
                                  const PuzzleSetState* expected = nullptr);

// A fingerprint of the bytes of a set's seven files: two sets with the same
// fingerprint are, as far as a transfer can tell, the same set.
uint64_t PuzzleSetFingerprint(const PuzzleSetBytes& bytes);

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
// Removes the marker and the temporaries of a replace of the set `base`, for
// a delete of the set; the caller holds the folder's exclusive lock.
void DropPuzzleSetReplace(platform::Folder& folder, const std::string& base);

// Damaged, naming the first of the seven files `info` names that `folder`
// lacks ("missing"); Done when all of them are there.
PuzzleFileResult CheckPuzzleSetFiles(const platform::Folder& folder, const PuzzleInfo& info);
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
// replace in `folder` whose marker checks out: each of its files, still a
// temporary or already renamed, is a plain file with the size and checksum
// the marker gives, and together they read as the set it names. A marker that
// parses was written whole by the game, so once it stands it vouches for the
// replace: when some new file is lost (a temporary missing or changed), the
// set is cleared back to the old one only where no target holds the bytes the
// marker records; otherwise the marker stays and the set is Broken. A marker
// that does not parse is removed with its temporaries, and the set's files
// are left as they are. A marker or file that can't be read keeps
// everything, and the set is reported. Temporaries no marker names and what a
// killed atomic write left are removed. A folder that does not open is a
// failure (Failed).
PuzzleSetRecovery RecoverPuzzleSets(platform::Folder& folder);
PuzzleSetRecovery RecoverPuzzleSets(const std::string& folder);

// What the player is told of a failed read or write of a set in the puzzle
// folder, or with `drive` ("D:") of one in that drive's PUZZLE folder: who
// finishes a set cut short there, and what mends one that lost new files.
std::string PuzzleFailureText(const PuzzleFileResult& result, const std::string& drive = {});

}  // namespace quarvelt

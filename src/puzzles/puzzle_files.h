// The seven files of a puzzle: ".INF" (information), ".PZL" (board cells),
// ".TBX" (tool-box catalogue), ".SHC" (shutters), ".KYC" (keys), ".SQC"
// (closing squares) and ".TGC" (bonus objects). Fixed-record files, records
// numbered from 1, no header; integers little-endian; texts single-byte,
// blank-filled and cut to their field (core text is already single-byte, so a
// cut never splits a character).
//
// Puzzles travel on removable drives, so a set is read into its own tables,
// checked as a whole, and only then handed over: a damaged set changes nothing.
// A set is written to temporary files first and takes the place of the old one
// whole, only when all seven are written and checked (puzzle_set_replace.h).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/tables.h"
#include "common/toolbox_catalogue.h"
#include "platform/errors.h"

namespace platform {
class Folder;
}

namespace quarvelt {

inline constexpr size_t PuzzleInfoRecordLength = 1320;
inline constexpr size_t BoardCellRecordLength = 34;
inline constexpr size_t ToolboxRecordLength = 106;
inline constexpr size_t ShutterRecordLength = 8;
inline constexpr size_t KeyRecordLength = 12;
inline constexpr size_t ClosingSquareRecordLength = 10;
inline constexpr size_t BonusObjRecordLength = 10;

inline constexpr int16_t MinBoardSide = 10;
inline constexpr int16_t MaxBoardSide = 60;
inline constexpr size_t MaxBaseNameLength = 20;
inline constexpr int16_t MaxToolButton = 65;

// What the load shows for a set that fails its checks.
inline constexpr const char* PuzzleDamagedText = "ERROR: PUZZLE FILES DAMAGED!";
// Why a folder, a pipe or a device standing under the name of a set's file is damage.
inline constexpr const char* NotPlainFile = "not a plain file";
inline constexpr const char* LoadPuzzleTitle = "LOAD  PUZZLE";

// The seven files in the order they are written and read.
enum class PuzzleFile { Inf, Pzl, Tbx, Shc, Kyc, Sqc, Tgc };
inline constexpr int PuzzleFileCount = 7;
inline constexpr std::array<const char*, PuzzleFileCount> PuzzleFileExtensions{
    ".INF", ".PZL", ".TBX", ".SHC", ".KYC", ".SQC", ".TGC"};

// The ".INF" record. Texts are trimmed when read.
struct PuzzleInfo {
    std::string puzzleName;  // shown in the library, 40 characters
    std::string pzlFile;     // the stored names of the seven files, 24 characters each
    std::string infFile;
    std::string tbxFile;
    std::string shcFile;
    std::string kycFile;
    std::string sqcFile;
    std::string tgcFile;
    std::string baseName;         // at most 20 characters
    int16_t customFlag = 0;       // 1: a play-only puzzle unless its key is typed
    std::string puzzleKey;        // as typed, "UNKEYED", or empty
    std::string puzzleDate;       // "MM/DD/YYYY"
    int16_t boardRows = 15;       // 10 to 60
    int16_t boardCols = 15;       // 10 to 60
    std::string specialCondCode;  // 33 characters
    std::string specialCondDesc;  // at most 1024 characters from the editor

    // The base name and the seven file names made from it.
    void SetBaseName(const std::string& base);
    // The stored name of one of the seven files.
    const std::string& FileName(PuzzleFile file) const;

    bool operator==(const PuzzleInfo&) const = default;
};

using ToolboxGrid = decltype(ToolboxObjectTable);

// The tables a puzzle set fills, held apart from the program-wide ones until a load commits them.
struct PuzzleTables {
    std::vector<BoardCell> board;  // BoardRows * BoardCols cells
    ToolboxGrid toolbox{};
    ShutterGrid shutters{};
    KeyGrid keys{};
    ClosingSquareGrid squares{};
    BonusObjGrid bonus{};
};

// A copy of the program-wide tables.
PuzzleTables CurrentPuzzleTables();

enum class PuzzleFileStatus {
    Done,
    InfMissing,  // no ".INF" of that base name
    Damaged,     // a file failed its checks; nothing was taken from the set
    TooLarge,    // a file is larger than its kind can be: damage, and nothing of it was read
    Refused,     // the writer was given what no reader would take back; nothing written
    Failed,      // the file system refused; `error` says why
    // A replace of the set was cut short after the new set was committed: it
    // is neither loaded nor listed until it is finished, which the next start
    // (on a removable drive, the next export to it) does. `file` is the base
    // name; `error` or `reason` says why it could not be finished now.
    Unfinished,
    // A replace cut short whose new files were then partly lost, after some
    // had taken their places: neither the old set nor the new one can come
    // back. It is refused by every reader until a save, an import or an
    // export replaces it whole. `file` is the base name, `reason` the loss.
    Broken,
    // The set changed after the caller looked at it (another copy of the
    // game wrote it): nothing was written, and the caller decides again.
    Changed,
    // The set read is not the one the player chose from a listing (the drive
    // was rewritten or swapped since): nothing was written.
    NotAsListed,
};

// How a set's information file stands, which decides what can mend the set:
// a save, an import and a delete each need its key.
enum class InfState { Readable, Keyed, Missing, Unreadable };

struct PuzzleFileResult {
    PuzzleFileStatus status = PuzzleFileStatus::Done;
    std::string file;              // the file concerned, when there is one
    std::string reason;            // what failed its check (Damaged, Refused)
    platform::RuntimeError error;  // Failed
    InfState inf = InfState::Readable;  // Broken: its information file as it stands

    bool Ok() const { return status == PuzzleFileStatus::Done; }
};

// The temporary name a file of the set is written under before it takes the
// place of `name`.
std::string PuzzleTempFileName(const std::string& name);

// The largest a file of the set can be: one information record, a 60 by 60
// board, the fixed tables. A larger file is not read, and its set does not load.
uint64_t PuzzleFileSizeLimit(PuzzleFile file);
// Done when `size` bytes is within that limit for the file `name` of `kind`;
// else TooLarge, with the size in the reason.
PuzzleFileResult CheckPuzzleFileSize(const std::string& name, PuzzleFile kind, uint64_t size);

// The bytes of the seven files of a set, by PuzzleFile.
using PuzzleSetBytes = std::array<std::string, PuzzleFileCount>;

// Reads an information file from its bytes; `name` is the file reported.
PuzzleFileResult ParsePuzzleInfo(const std::string& bytes, const std::string& name,
                                 PuzzleInfo& info);
// Reads a set from the bytes of its seven files as a load reads it (below);
// `infName` names the information file in what is reported. On any failure
// `info` and `tables` are left as they were.
PuzzleFileResult ParsePuzzleSet(const PuzzleSetBytes& bytes, const std::string& infName,
                                PuzzleInfo& info, PuzzleTables& tables);

// Reads the ".INF" alone (the library list, the key tests), as
// ReadWholePuzzleInfo does (puzzle_set_replace.h).
PuzzleFileResult ReadPuzzleInfo(const std::string& infPath, PuzzleInfo& info);

// A set as a caller saw it before a question (puzzle_set_replace.h).
struct PuzzleSetState;

// Writes the seven files of `info.baseName` into `folder` (with a trailing '/')
// through ReplacePuzzleSet. The stored file names are made from the base name,
// whatever `info` holds. Refuses a base name the library would not take
// (IsPuzzleBaseName) and anything the reader would refuse. On any failure
// before the new set is committed the set that was there before stays whole.
// With `expected`, a set that is no longer as it was then is left alone (Changed).
PuzzleFileResult SavePuzzleFiles(const std::string& folder, PuzzleInfo info,
                                 const PuzzleTables& tables,
                                 const PuzzleSetState* expected = nullptr);
// The same through a folder already open: a caller that read the set through
// `folder` writes it through the very same names.
PuzzleFileResult SavePuzzleFiles(platform::Folder& folder, PuzzleInfo info,
                                 const PuzzleTables& tables,
                                 const PuzzleSetState* expected = nullptr);

// Reads the set whose ".INF" is `folder` + base + ".INF" into `info` and
// `tables`, as ReadWholePuzzleSet does (puzzle_set_replace.h): a set whose
// replace was cut short is finished first, or refused as Unfinished. The link tables start from
// their reset values, whatever `tables` held: the link files fill their slots in file order and
// slots no record reaches stay free. A slot the board contradicts (its cell holds no object of its
// kind or colour, another slot already names the cell, or a key's or square's shutter cell holds no
// shutter) is freed as the editor's removal would leave it, and the set still loads. On any failure
// `info` and `tables` are left as they were.
PuzzleFileResult ReadPuzzleFiles(const std::string& folder, const std::string& base,
                                 PuzzleInfo& info, PuzzleTables& tables);

// ReadPuzzleFiles into the program-wide tables: on success BoardTable, the
// catalogue and the four link tables hold the puzzle, BoardRows, BoardCols and
// CellCount its size and CustomPuzzleFlag its custom flag. On failure nothing
// of the program's state changes.
PuzzleFileResult LoadPuzzleFiles(const std::string& folder, const std::string& base,
                                 PuzzleInfo& info);

}  // namespace quarvelt

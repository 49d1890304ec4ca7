// The seven puzzle files, as a removable drive may bring them.
#include "common/globals.h"
#include "common/tables.h"
#include "common/text.h"
#include "common/toolbox_catalogue.h"
#include "common/vocabulary.h"
#include "entries.h"
#include "platform/files.h"
#include "puzzles/puzzle_files.h"
#include "puzzles/puzzle_names.h"
#include "puzzles/puzzle_transfer.h"
#include "support.h"

namespace quarvelt::fuzz {

namespace {

constexpr const char* Name = "puzzle_set";
constexpr const char* Base = "FUZZ";
// The stored file names in the ".INF": 24 characters each, ".PZL" first, then
// ".INF", ".TBX", ".SHC", ".KYC", ".SQC", ".TGC".
constexpr size_t StoredNamesAt = 40, StoredNameWidth = 24;
constexpr std::array<PuzzleFile, PuzzleFileCount> StoredOrder{
    PuzzleFile::Pzl, PuzzleFile::Inf, PuzzleFile::Tbx, PuzzleFile::Shc,
    PuzzleFile::Kyc, PuzzleFile::Sqc, PuzzleFile::Tgc};

// Each part under the name the reader will look for: the ".INF" under the
// base name, the others under the names it stores when they are usable.
// The names, in PuzzleFile order.
std::array<std::string, PuzzleFileCount> WriteSet(const std::string& folder,
                                                  const std::vector<std::string>& parts) {
    std::array<std::string, PuzzleFileCount> names;
    for (int i = 0; i < PuzzleFileCount; ++i)
        names[static_cast<size_t>(i)] = std::string(Base) + PuzzleFileExtensions[i];
    const std::string& inf = parts[0];
    for (size_t i = 0; i < StoredOrder.size(); ++i) {
        const size_t at = StoredNamesAt + i * StoredNameWidth;
        if (StoredOrder[i] == PuzzleFile::Inf || inf.size() < at + StoredNameWidth)
            continue;
        const std::string stored = TrimBlanks(inf.substr(at, StoredNameWidth));
        if (!stored.empty() && IsPlainFileName(stored) && stored.find('\0') == std::string::npos)
            names[static_cast<size_t>(StoredOrder[i])] = stored;
    }
    for (size_t i = 0; i < parts.size() && i < names.size(); ++i)
        (void)platform::WriteFileAtomic(folder + names[i], parts[i]);
    return names;
}

// An eighth part takes one file to the edge of the size rule: its first byte
// picks the file (in PuzzleFile order), its second says whether the file ends
// at the largest size its kind can have or one byte past it (NULs fill it up).
// Past it the set never loads; at it the file is never refused for its size.
struct Edge {
    int file = -1;
    bool past = false;
};

Edge TakeEdge(std::vector<std::string>& parts) {
    Edge edge;
    if (parts.size() <= PuzzleFileCount)
        return edge;
    const std::string control = parts.back();
    parts.pop_back();
    if (control.size() < 2)
        return edge;
    const int file = static_cast<uint8_t>(control[0]) % PuzzleFileCount;
    std::string& part = parts[static_cast<size_t>(file)];
    const uint64_t limit = PuzzleFileSizeLimit(static_cast<PuzzleFile>(file));
    edge.past = (control[1] & 1) != 0;
    if (part.size() > limit)
        return edge;
    part.resize(static_cast<size_t>(limit) + (edge.past ? 1 : 0), '\0');
    edge.file = file;
    return edge;
}

// The program as a bigger puzzle left it, with something in every link table.
void LeavePreviousPuzzle() {
    BoardRows = BoardCols = 20;
    CellCount = 400;
    BoardTable.assign(400, BoardCell{"SHHBN_______________00.BMP", 4, 9, False, False});
    for (auto& row : ShutterTable)
        row.fill({399, 1, 13});
    for (auto& row : KeyTable)
        row.fill({399, 398, 10, 0});
    for (auto& row : ClosingSquareTable)
        row.fill({7, 399, 397});
    for (auto& row : BonusObjTable)
        row.fill({50, 396, 0});
    ToolboxObjectTable.fill(ToolboxObjectRow{});
    ToolboxObjectTable[3].stem = "STALE_U";
    CustomPuzzleFlag = 3;
}

int16_t ObjectAt(int16_t cell) {
    if (cell < 0 || cell >= CellCount)
        return 0;
    return GetSpecialObjNumber(BoardTable[static_cast<size_t>(cell)].pictureName.substr(0, 5));
}

bool HoldsShutter(int16_t cell) {
    const int16_t shutter = ObjectAt(cell);
    return shutter >= 13 && shutter <= 18;
}

// A used slot the board contradicts, or empty.
std::string Contradiction() {
    for (int k = 1; k <= ShutterKinds; ++k)
        for (int n = 1; n <= LinkSlots; ++n) {
            const ShutterSlot& s = ShutterTable[k][n];
            if (s.cell != -1 && ObjectAt(s.cell) != s.objectNumber)
                return "shutter " + std::to_string(k) + "," + std::to_string(n);
        }
    for (int c = 1; c <= LinkColours; ++c)
        for (int n = 1; n <= LinkSlots; ++n) {
            const KeySlot& key = KeyTable[c][n];
            if ((key.cell != -1 || key.shutterCell != -1) &&
                (ObjectAt(key.cell) != key.objectNumber || !HoldsShutter(key.shutterCell)))
                return "key " + std::to_string(c) + "," + std::to_string(n);
            const ClosingSquareSlot& square = ClosingSquareTable[c][n];
            if ((square.cell != -1 || square.shutterCell != -1) &&
                (ObjectAt(square.cell) != square.objectNumber || !HoldsShutter(square.shutterCell)))
                return "square " + std::to_string(c) + "," + std::to_string(n);
        }
    for (int k = 1; k <= BonusKinds; ++k)
        for (int n = 1; n <= BonusSlots; ++n) {
            const BonusObjSlot& b = BonusObjTable[k][n];
            if (b.cell != -1 && ObjectAt(b.cell) != k)
                return "bonus " + std::to_string(k) + "," + std::to_string(n);
        }
    return {};
}

// The transfer's copy of the set takes it whole or leaves nothing, and
// refuses no more and no less than a load does when the set stores the names
// it travels under.
void CheckTransferCopy(const std::string& folder,
                       const std::array<std::string, PuzzleFileCount>& names,
                       const PuzzleFileResult& loaded, const PuzzleInfo& info) {
    const std::string target = FreshFolder(std::string(Name) + "-drive");
    platform::Folder from, to;
    Require(!from.Open(folder) && !to.Open(target), Name, "the folders do not open");
    const TransferNames travel = TransferFileNames(Base);
    const PuzzleFileResult result = TransferPuzzleSet(from, to, Base, PendingSet::Refuse);
    const bool failure = !result.Ok();
    std::vector<std::string> left;
    platform::ListFiles(target, left);
    if (failure) {
        Require(left.empty(), Name, "a refused copy left " + (left.empty() ? "" : left.front()));
    } else {
        Require(left.size() == travel.size(), Name, "a copied set is not seven files");
        for (const std::string& name : travel) {
            // A file the set lacks reads as empty, and is copied so.
            std::string source, copy;
            if (platform::IsFile(folder + name))
                Require(!platform::ReadWholeFile(folder + name, source), Name, "unreadable source");
            Require(!platform::ReadWholeFile(target + name, copy) && source == copy, Name,
                    "the copy of " + name + " differs from its source");
        }
    }
    // A load reads a missing file as empty; the copy wants all seven.
    bool standard = true;
    for (int i = 0; i < PuzzleFileCount; ++i)
        standard = standard && names[static_cast<size_t>(i)] ==
                                   std::string(Base) + PuzzleFileExtensions[static_cast<size_t>(i)];
    if (!standard)
        return;
    bool whole = true;
    for (const std::string& name : travel)
        whole = whole && platform::IsFile(folder + name);
    Require(loaded.Ok() || failure, Name, "a set that does not load was copied");
    Require(!loaded.Ok() || !whole || PuzzleBaseName(info.baseName) != Base || !failure, Name,
            "a set that loads was refused by the copy: " + result.file + " " + result.reason);
}

}  // namespace

int PuzzleSet(const uint8_t* data, size_t size) {
    Session session;
    const std::string folder = FreshFolder(Name);
    std::vector<std::string> parts = Split(data, size, PuzzleFileCount + 1);
    Edge edge = TakeEdge(parts);
    const auto names = WriteSet(folder, parts);
    // The padded file counts only as itself: another part may have been written over it.
    uint64_t written = 0;
    if (edge.file >= 0 &&
        (platform::FileSize(folder + names[static_cast<size_t>(edge.file)], written) ||
         written != parts[static_cast<size_t>(edge.file)].size()))
        edge.file = -1;

    LeavePreviousPuzzle();
    const PuzzleTables before = CurrentPuzzleTables();
    PuzzleInfo info;
    info.puzzleName = "untouched";
    const PuzzleFileResult result = LoadPuzzleFiles(folder, Base, info);
    CheckTransferCopy(folder, names, result, info);
    const bool tooLarge = result.status == PuzzleFileStatus::TooLarge;
    Require(!(edge.file >= 0 && edge.past && result.Ok()), Name,
            "a set with a file past the largest size its kind can have loaded");
    Require(!(edge.file >= 0 && !edge.past && tooLarge &&
              result.file == names[static_cast<size_t>(edge.file)]),
            Name, "a file of the largest size its kind can have was refused for its size");
    if (!result.Ok()) {
        Require(result.status != PuzzleFileStatus::Refused, Name, "the base name was refused");
        Require(info.puzzleName == "untouched", Name, "a failed load changed the information");
        Require(TablesDifference(CurrentPuzzleTables(), before).empty(), Name,
                "a failed load changed the " + TablesDifference(CurrentPuzzleTables(), before));
        Require(BoardRows == 20 && BoardCols == 20 && CellCount == 400 && CustomPuzzleFlag == 3,
                Name, "a failed load changed the board's size or flag");
        return 0;
    }
    Require(CellCount == BoardRows * BoardCols && BoardTable.size() == size_t(CellCount), Name,
            "the loaded board's size disagrees with its cells");
    const std::string contradiction = Contradiction();
    Require(contradiction.empty(), Name, "the board contradicts the loaded " + contradiction);

    // Whatever loads saves, and loads back as it was.
    const PuzzleTables loaded = CurrentPuzzleTables();
    const std::string copy = FreshFolder(std::string(Name) + "-copy");
    const PuzzleFileResult saved = SavePuzzleFiles(copy, info, loaded);
    Require(saved.Ok(), Name, "a loaded set does not save: " + saved.file + " " + saved.reason);
    PuzzleInfo again;
    const PuzzleFileResult reloaded = LoadPuzzleFiles(copy, info.baseName, again);
    Require(reloaded.Ok(), Name,
            "a saved set does not load: " + reloaded.file + " " + reloaded.reason);
    const std::string changed = TablesDifference(CurrentPuzzleTables(), loaded);
    Require(changed.empty(), Name, "a set saved and loaded back changed its " + changed);
    PuzzleInfo expected = info;
    expected.SetBaseName(info.baseName);
    Require(again == expected, Name, "a set saved and loaded back changed its information");
    return 0;
}

}  // namespace quarvelt::fuzz

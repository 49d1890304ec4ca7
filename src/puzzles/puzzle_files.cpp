#include "puzzles/puzzle_files.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "common/text.h"
#include "common/vocabulary.h"
#include "platform/files.h"
#include "platform/records.h"
#include "puzzles/puzzle_names.h"
#include "puzzles/puzzle_set_replace.h"

namespace quarvelt {
namespace {

using platform::RecordBuffer;
using platform::RecordFileContents;
using Records = std::vector<RecordBuffer>;
using SetContents = std::array<RecordFileContents, PuzzleFileCount>;

// ".INF"
constexpr size_t NameAt = 0, NameWidth = 40;
constexpr size_t StoredNamesAt = 40, StoredNameWidth = 24;
constexpr size_t BaseNameAt = 208;
constexpr size_t CustomFlagAt = 228;
constexpr size_t KeyAt = 230, KeyWidth = 16;
constexpr size_t DateAt = 246, DateWidth = 10;
constexpr size_t RowsAt = 256, ColsAt = 258;
constexpr size_t CondCodeAt = 260, CondCodeWidth = 34;
constexpr size_t CondDescAt = 294, CondDescWidth = 1026;

// The stored file names in the order of their fields, which is not the order of the files.
constexpr std::array<std::string PuzzleInfo::*, PuzzleFileCount> StoredNames{
    &PuzzleInfo::pzlFile, &PuzzleInfo::infFile, &PuzzleInfo::tbxFile, &PuzzleInfo::shcFile,
    &PuzzleInfo::kycFile, &PuzzleInfo::sqcFile, &PuzzleInfo::tgcFile};

// The file names by PuzzleFile.
constexpr std::array<std::string PuzzleInfo::*, PuzzleFileCount> FileNameFields{
    &PuzzleInfo::infFile, &PuzzleInfo::pzlFile, &PuzzleInfo::tbxFile, &PuzzleInfo::shcFile,
    &PuzzleInfo::kycFile, &PuzzleInfo::sqcFile, &PuzzleInfo::tgcFile};

constexpr std::array<size_t, PuzzleFileCount> RecordLengths{
    PuzzleInfoRecordLength, BoardCellRecordLength,     ToolboxRecordLength, ShutterRecordLength,
    KeyRecordLength,        ClosingSquareRecordLength, BonusObjRecordLength};

// The most records each file can have.
constexpr std::array<size_t, PuzzleFileCount> MaxRecords{
    1,
    static_cast<size_t>(MaxBoardSide) * MaxBoardSide,
    std::tuple_size_v<ToolboxGrid>,
    static_cast<size_t>(ShutterKinds) * LinkSlots,
    static_cast<size_t>(LinkColours) * LinkSlots,
    static_cast<size_t>(LinkColours) * LinkSlots,
    static_cast<size_t>(BonusKinds) * BonusSlots};

// ".PZL"
constexpr size_t LampAt = 0, LockAt = 2, PictureAt = 4, PictureWidth = 26, SlotAt = 30,
                 GroupAt = 32;

// ".TBX"
constexpr size_t StemAt = 0, StemWidth = 80, ToolGroupAt = 80, ButtonAt = 82, EnabledAt = 84,
                 ShownAt = 86, AllowedAt = 88, UsedAt = 90, ArchiveIdAt = 92, ArchiveIdWidth = 6,
                 OffsetAt = 98, SizeAt = 102;

// Link files: the object number (the kind in ".TGC") leads every record.
constexpr size_t NumberAt = 0;
constexpr size_t ShutterCellAt = 2, ShutterOpenAt = 6;
constexpr size_t OwnCellAt = 2, LinkedCellAt = 6, KeyStateAt = 10;
constexpr size_t BonusCellAt = 2, PointsAt = 6, HitStateAt = 8;

constexpr size_t PictureStemLength = 22;
constexpr size_t ToolStemLength = 7;

size_t Index(PuzzleFile file) {
    return static_cast<size_t>(file);
}

int16_t StoredFlag(int16_t value) {
    return value != 0 ? True : False;
}

bool IsNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// A board picture: 22 letters, digits or "_", then ".BMP".
bool IsPictureName(const std::string& name) {
    return name.size() == PictureStemLength + 4 &&
           name.compare(PictureStemLength, 4, ".BMP") == 0 &&
           std::all_of(name.begin(), name.begin() + PictureStemLength, IsNameCharacter);
}

// A tool picture stem: six letters, digits or "_", then "U" or "D".
bool IsToolStem(const std::string& stem) {
    return stem.size() == ToolStemLength && (stem.back() == 'U' || stem.back() == 'D') &&
           std::all_of(stem.begin(), stem.end() - 1, IsNameCharacter);
}

bool IsStoredFileName(const std::string& name) {
    return !name.empty() && IsPlainFileName(name);
}

std::string RecordText(size_t index) {
    return "record " + std::to_string(index + 1) + ": ";
}

RecordBuffer EncodeInfo(const PuzzleInfo& info) {
    RecordBuffer record(PuzzleInfoRecordLength);
    record.PutText(NameAt, NameWidth, info.puzzleName);
    for (size_t i = 0; i < StoredNames.size(); ++i)
        record.PutText(StoredNamesAt + i * StoredNameWidth, StoredNameWidth, info.*StoredNames[i]);
    record.PutText(BaseNameAt, MaxBaseNameLength, info.baseName);
    record.PutInt16(CustomFlagAt, info.customFlag);
    record.PutText(KeyAt, KeyWidth, info.puzzleKey);
    record.PutText(DateAt, DateWidth, info.puzzleDate);
    record.PutInt16(RowsAt, info.boardRows);
    record.PutInt16(ColsAt, info.boardCols);
    record.PutText(CondCodeAt, CondCodeWidth, info.specialCondCode);
    record.PutText(CondDescAt, CondDescWidth, info.specialCondDesc);
    return record;
}

// Texts of an information file written elsewhere may be padded with NULs.
std::string InfoText(std::string text) {
    std::erase(text, '\0');
    return TrimBlanks(text);
}

PuzzleInfo DecodeInfo(const RecordBuffer& record) {
    PuzzleInfo info;
    info.puzzleName = InfoText(record.GetText(NameAt, NameWidth));
    for (size_t i = 0; i < StoredNames.size(); ++i)
        info.*StoredNames[i] =
            InfoText(record.GetText(StoredNamesAt + i * StoredNameWidth, StoredNameWidth));
    info.baseName = InfoText(record.GetText(BaseNameAt, MaxBaseNameLength));
    info.customFlag = record.GetInt16(CustomFlagAt);
    info.puzzleKey = InfoText(record.GetText(KeyAt, KeyWidth));
    info.puzzleDate = InfoText(record.GetText(DateAt, DateWidth));
    info.boardRows = record.GetInt16(RowsAt);
    info.boardCols = record.GetInt16(ColsAt);
    info.specialCondCode = InfoText(record.GetText(CondCodeAt, CondCodeWidth));
    info.specialCondDesc = InfoText(record.GetText(CondDescAt, CondDescWidth));
    return info;
}

// Empty when the record may be used; else what is wrong with it.
std::string CheckInfo(const PuzzleInfo& info) {
    for (int16_t side : {info.boardRows, info.boardCols})
        if (side < MinBoardSide || side > MaxBoardSide)
            return "board size " + std::to_string(info.boardRows) + " by " +
                   std::to_string(info.boardCols);
    // These names become paths in the puzzle folder and on removable drives.
    if (!IsStoredFileName(info.baseName))
        return "base name";
    for (auto name : StoredNames)
        if (!IsStoredFileName(info.*name))
            return "stored file name";
    return {};
}

Records EncodeBoard(const std::vector<BoardCell>& board) {
    Records records;
    records.reserve(board.size());
    for (const BoardCell& cell : board) {
        RecordBuffer& record = records.emplace_back(BoardCellRecordLength);
        record.PutInt16(LampAt, StoredFlag(cell.lampFlag));
        record.PutInt16(LockAt, StoredFlag(cell.lockFlag));
        record.PutText(PictureAt, PictureWidth, cell.pictureName);
        record.PutInt16(SlotAt, cell.button);
        record.PutInt16(GroupAt, cell.group);
    }
    return records;
}

std::string ParseBoard(const RecordFileContents& file, size_t cellCount,
                       std::vector<BoardCell>& board) {
    if (file.records.size() < cellCount)
        return std::to_string(file.records.size()) + " records for " + std::to_string(cellCount) +
               " cells";
    board.assign(cellCount, BoardCell{});
    for (size_t i = 0; i < cellCount; ++i) {
        const RecordBuffer& record = file.records[i];
        BoardCell& cell = board[i];
        cell.lampFlag = StoredFlag(record.GetInt16(LampAt));
        cell.lockFlag = StoredFlag(record.GetInt16(LockAt));
        cell.pictureName = TrimBlanks(record.GetText(PictureAt, PictureWidth));
        cell.button = record.GetInt16(SlotAt);
        cell.group = record.GetInt16(GroupAt);
        if (!IsPictureName(cell.pictureName))
            return RecordText(i) + "picture name";
        if (cell.group < 0 || cell.group > 5)
            return RecordText(i) + "group";
        if (cell.button < -1 || cell.button > MaxToolButton)
            return RecordText(i) + "tool button";
    }
    return {};
}

Records EncodeToolbox(const ToolboxGrid& toolbox) {
    Records records;
    records.reserve(toolbox.size());
    for (const ToolboxObjectRow& row : toolbox) {
        RecordBuffer& record = records.emplace_back(ToolboxRecordLength);
        record.PutText(StemAt, StemWidth, TrimBlanks(row.stem));
        record.PutInt16(ToolGroupAt, row.group);
        record.PutInt16(ButtonAt, row.button);
        record.PutInt16(EnabledAt, StoredFlag(row.enabled));
        record.PutInt16(ShownAt, StoredFlag(row.shown));
        record.PutInt16(AllowedAt, row.allowed);
        record.PutInt16(UsedAt, row.used);
        record.PutText(ArchiveIdAt, ArchiveIdWidth, row.archiveId);
        record.PutInt32(OffsetAt, row.archiveOffset);
        record.PutInt32(SizeAt, row.imageSize);
    }
    return records;
}

std::string ParseToolbox(const RecordFileContents& file, ToolboxGrid& toolbox) {
    if (file.records.size() != toolbox.size())
        return std::to_string(file.records.size()) + " records";
    for (size_t i = 0; i < toolbox.size(); ++i) {
        const RecordBuffer& record = file.records[i];
        ToolboxObjectRow& row = toolbox[i];
        row = ToolboxObjectRow{};
        row.stem = TrimBlanks(record.GetText(StemAt, StemWidth));
        row.group = record.GetInt16(ToolGroupAt);
        row.button = record.GetInt16(ButtonAt);
        row.enabled = StoredFlag(record.GetInt16(EnabledAt));
        row.shown = StoredFlag(record.GetInt16(ShownAt));
        row.allowed = record.GetInt16(AllowedAt);
        row.used = record.GetInt16(UsedAt);
        row.archiveId = record.GetText(ArchiveIdAt, ArchiveIdWidth);
        // A free row has no archive; its blank field reads back as none.
        if (TrimBlanks(row.archiveId).empty())
            row.archiveId.clear();
        row.archiveOffset = record.GetInt32(OffsetAt);
        row.imageSize = record.GetInt32(SizeAt);

        if (row.button < -1 || row.button > MaxToolButton)
            return RecordText(i) + "tool button";
        if (row.stem.empty()) {
            // The catalogue leaves its free rows in group -1.
            if (!row.Free() || row.group < -1 || row.group > 5)
                return RecordText(i) + "free row";
            continue;
        }
        if (!IsToolStem(row.stem))
            return RecordText(i) + "picture stem";
        if (row.group < 0 || row.group > 5)
            return RecordText(i) + "group";
        if (!IsPlainFileName(row.archiveId))
            return RecordText(i) + "archive id";
    }
    return {};
}

// A cell stored as Long: -1 (none) or a cell of the board, narrowed to 16 bits.
bool ReadCell(const RecordBuffer& record, size_t at, size_t cellCount, int16_t& cell) {
    const int32_t value = record.GetInt32(at);
    if (value < -1 || value >= static_cast<int32_t>(cellCount))
        return false;
    cell = static_cast<int16_t>(value);
    return true;
}

// Writes every slot of every row, row by row, used or free.
template <typename Grid, typename Encode>
Records EncodeLinks(const Grid& grid, size_t recordLength, Encode encode) {
    Records records;
    for (size_t row = 1; row < grid.size(); ++row)
        for (size_t slot = 1; slot < grid[row].size(); ++slot)
            encode(records.emplace_back(recordLength), static_cast<int16_t>(row), grid[row][slot]);
    return records;
}

// Records fill the slots of their row in file order; a record numbered 0 is
// skipped and slots no record reaches keep their values. A number outside the
// table, a row with more records than slots or a cell off the board refuses the file.
template <typename Grid, typename Fill>
std::string ParseLinks(const RecordFileContents& file, int16_t numberBase, Grid& grid, Fill fill) {
    std::array<size_t, 8> filled{};
    static_assert(std::tuple_size_v<Grid> <= filled.size());
    for (size_t i = 0; i < file.records.size(); ++i) {
        const RecordBuffer& record = file.records[i];
        const int16_t number = record.GetInt16(NumberAt);
        if (number == 0)
            continue;
        const int row = number - numberBase;
        if (row < 1 || row >= static_cast<int>(grid.size()))
            return RecordText(i) + "object number " + std::to_string(number);
        auto& slots = grid[static_cast<size_t>(row)];
        size_t& slot = filled[static_cast<size_t>(row)];
        if (++slot >= slots.size())
            return RecordText(i) + "more records than slots";
        if (!fill(record, number, slots[slot]))
            return RecordText(i) + "cell";
    }
    return {};
}

// The link tables as a board clear leaves them: every slot free, each naming its object.
void ResetLinks(PuzzleTables& tables) {
    ResetLinkTables(tables.bonus, tables.shutters, tables.squares, tables.keys);
}

// Frees every slot the board contradicts, as the editor's removal of its
// object would have left it: a slot whose cell holds no object of its own kind
// or colour, a second slot on one cell, and a key or closing square whose
// shutter cell holds no shutter.
void FreeMismatchedSlots(const std::vector<BoardCell>& board, PuzzleTables& tables) {
    auto objectAt = [&board](int16_t cell) -> int16_t {
        if (cell < 0 || static_cast<size_t>(cell) >= board.size())
            return 0;
        return GetSpecialObjNumber(board[static_cast<size_t>(cell)].pictureName.substr(0, 5));
    };
    auto holds = [&objectAt](int16_t cell, int16_t number) {
        return number != 0 && objectAt(cell) == number;
    };
    auto holdsShutter = [&objectAt](int16_t cell) {
        const int16_t number = objectAt(cell);
        return number > ShutterNumberBase && number <= ShutterNumberBase + ShutterKinds;
    };
    // Each object has one slot; a cell seen once more is a stale copy.
    std::vector<bool> shutterCells(board.size()), linkCells(board.size()), bonusCells(board.size());
    auto firstAt = [](std::vector<bool>& seen, int16_t cell) {
        const auto at = static_cast<size_t>(cell);
        if (seen[at])
            return false;
        seen[at] = true;
        return true;
    };

    for (size_t kind = 1; kind < tables.shutters.size(); ++kind)
        for (size_t n = 1; n < tables.shutters[kind].size(); ++n) {
            ShutterSlot& shutter = tables.shutters[kind][n];
            if (shutter.cell != -1 && !(holds(shutter.cell, shutter.objectNumber) &&
                                        firstAt(shutterCells, shutter.cell))) {
                shutter.cell = -1;
                shutter.open = 0;
            }
        }
    for (size_t colour = 1; colour < tables.keys.size(); ++colour)
        for (size_t n = 1; n < tables.keys[colour].size(); ++n) {
            KeySlot& key = tables.keys[colour][n];
            if ((key.cell != -1 || key.shutterCell != -1) &&
                !(holds(key.cell, key.objectNumber) && holdsShutter(key.shutterCell) &&
                  firstAt(linkCells, key.cell))) {
                key.cell = -1;
                key.shutterCell = -1;
                key.state = -1;
            }
        }
    for (size_t colour = 1; colour < tables.squares.size(); ++colour)
        for (size_t n = 1; n < tables.squares[colour].size(); ++n) {
            ClosingSquareSlot& square = tables.squares[colour][n];
            if ((square.cell != -1 || square.shutterCell != -1) &&
                !(holds(square.cell, square.objectNumber) && holdsShutter(square.shutterCell) &&
                  firstAt(linkCells, square.cell))) {
                square.cell = -1;
                square.shutterCell = -1;
            }
        }
    for (size_t kind = 1; kind < tables.bonus.size(); ++kind)
        for (size_t n = 1; n < tables.bonus[kind].size(); ++n) {
            BonusObjSlot& bonus = tables.bonus[kind][n];
            if (bonus.cell != -1 && (!holds(bonus.cell, static_cast<int16_t>(kind)) ||
                                     !firstAt(bonusCells, bonus.cell)))
                bonus = {0, -1, 1};
        }
}

struct SetEncoding {
    std::array<Records, PuzzleFileCount> files;
};

SetEncoding EncodeSet(const PuzzleInfo& info, const PuzzleTables& tables) {
    SetEncoding set;
    set.files[Index(PuzzleFile::Inf)].push_back(EncodeInfo(info));
    set.files[Index(PuzzleFile::Pzl)] = EncodeBoard(tables.board);
    set.files[Index(PuzzleFile::Tbx)] = EncodeToolbox(tables.toolbox);
    set.files[Index(PuzzleFile::Shc)] =
        EncodeLinks(tables.shutters, ShutterRecordLength,
                    [](RecordBuffer& record, int16_t, const ShutterSlot& slot) {
                        record.PutInt16(NumberAt, slot.objectNumber);
                        record.PutInt32(ShutterCellAt, slot.cell);
                        record.PutInt16(ShutterOpenAt, StoredFlag(slot.open));
                    });
    set.files[Index(PuzzleFile::Kyc)] = EncodeLinks(
        tables.keys, KeyRecordLength, [](RecordBuffer& record, int16_t, const KeySlot& slot) {
            record.PutInt16(NumberAt, slot.objectNumber);
            record.PutInt32(OwnCellAt, slot.cell);
            record.PutInt32(LinkedCellAt, slot.shutterCell);
            record.PutInt16(KeyStateAt, slot.state);
        });
    set.files[Index(PuzzleFile::Sqc)] =
        EncodeLinks(tables.squares, ClosingSquareRecordLength,
                    [](RecordBuffer& record, int16_t, const ClosingSquareSlot& slot) {
                        record.PutInt16(NumberAt, slot.objectNumber);
                        record.PutInt32(OwnCellAt, slot.cell);
                        record.PutInt32(LinkedCellAt, slot.shutterCell);
                    });
    // The bonus table keeps no object number, so the kind itself is stored.
    set.files[Index(PuzzleFile::Tgc)] =
        EncodeLinks(tables.bonus, BonusObjRecordLength,
                    [](RecordBuffer& record, int16_t kind, const BonusObjSlot& slot) {
                        record.PutInt16(NumberAt, kind);
                        record.PutInt32(BonusCellAt, slot.cell);
                        record.PutInt16(PointsAt, slot.points);
                        record.PutInt16(HitStateAt, slot.state);
                    });
    return set;
}

struct SetCheck {
    PuzzleFile file = PuzzleFile::Inf;
    std::string reason;
};

// Fills `tables` from the six files after the ".INF"; `info` has passed CheckInfo.
// Empty reason when every file passed.
SetCheck ParseSet(const PuzzleInfo& info, const SetContents& files, PuzzleTables& tables) {
    const size_t cellCount =
        static_cast<size_t>(info.boardRows) * static_cast<size_t>(info.boardCols);
    auto contents = [&files](PuzzleFile file) -> const RecordFileContents& {
        return files[Index(file)];
    };
    auto cell = [cellCount](const RecordBuffer& record, size_t at, int16_t& into) {
        return ReadCell(record, at, cellCount, into);
    };

    if (auto reason = ParseBoard(contents(PuzzleFile::Pzl), cellCount, tables.board);
        !reason.empty())
        return {PuzzleFile::Pzl, reason};
    if (auto reason = ParseToolbox(contents(PuzzleFile::Tbx), tables.toolbox); !reason.empty())
        return {PuzzleFile::Tbx, reason};
    if (auto reason =
            ParseLinks(contents(PuzzleFile::Shc), ShutterNumberBase, tables.shutters,
                       [&](const RecordBuffer& record, int16_t number, ShutterSlot& slot) {
                           slot.objectNumber = number;
                           slot.open = record.GetInt16(ShutterOpenAt);
                           return cell(record, ShutterCellAt, slot.cell);
                       });
        !reason.empty())
        return {PuzzleFile::Shc, reason};
    if (auto reason = ParseLinks(contents(PuzzleFile::Kyc), KeyNumberBase, tables.keys,
                                 [&](const RecordBuffer& record, int16_t number, KeySlot& slot) {
                                     slot.objectNumber = number;
                                     slot.state = record.GetInt16(KeyStateAt);
                                     return cell(record, OwnCellAt, slot.cell) &&
                                            cell(record, LinkedCellAt, slot.shutterCell);
                                 });
        !reason.empty())
        return {PuzzleFile::Kyc, reason};
    if (auto reason =
            ParseLinks(contents(PuzzleFile::Sqc), SquareNumberBase, tables.squares,
                       [&](const RecordBuffer& record, int16_t number, ClosingSquareSlot& slot) {
                           slot.objectNumber = number;
                           return cell(record, OwnCellAt, slot.cell) &&
                                  cell(record, LinkedCellAt, slot.shutterCell);
                       });
        !reason.empty())
        return {PuzzleFile::Sqc, reason};
    if (auto reason = ParseLinks(contents(PuzzleFile::Tgc), 0, tables.bonus,
                                 [&](const RecordBuffer& record, int16_t, BonusObjSlot& slot) {
                                     slot.points = record.GetInt16(PointsAt);
                                     slot.state = record.GetInt16(HitStateAt);
                                     return cell(record, BonusCellAt, slot.cell);
                                 });
        !reason.empty())
        return {PuzzleFile::Tgc, reason};
    FreeMismatchedSlots(tables.board, tables);
    return {};
}

PuzzleFileResult Damaged(const std::string& file, std::string reason) {
    return {PuzzleFileStatus::Damaged, file, std::move(reason), {}};
}

PuzzleFileResult Refused(const std::string& file, std::string reason) {
    return {PuzzleFileStatus::Refused, file, std::move(reason), {}};
}

// The records of one file of a set, at most `wanted` of them, from its bytes;
// nothing of a file larger than its kind can be.
PuzzleFileResult SplitSetFile(const std::string& bytes, const std::string& name, PuzzleFile kind,
                              size_t wanted, RecordFileContents& contents) {
    if (PuzzleFileResult result = CheckPuzzleFileSize(name, kind, bytes.size()); !result.Ok())
        return result;
    contents = platform::SplitRecords(bytes, RecordLengths[Index(kind)], wanted);
    return {};
}

}  // namespace

void PuzzleInfo::SetBaseName(const std::string& base) {
    baseName = base;
    for (size_t i = 0; i < FileNameFields.size(); ++i)
        this->*FileNameFields[i] = base + PuzzleFileExtensions[i];
}

const std::string& PuzzleInfo::FileName(PuzzleFile file) const {
    return this->*FileNameFields[Index(file)];
}

std::string PuzzleTempFileName(const std::string& name) {
    return "." + name + ".NEW";
}

uint64_t PuzzleFileSizeLimit(PuzzleFile file) {
    return static_cast<uint64_t>(MaxRecords[Index(file)]) * RecordLengths[Index(file)];
}

PuzzleFileResult CheckPuzzleFileSize(const std::string& name, PuzzleFile kind, uint64_t size) {
    if (size <= PuzzleFileSizeLimit(kind))
        return {};
    return {PuzzleFileStatus::TooLarge, name, "too large: " + std::to_string(size) + " bytes", {}};
}

PuzzleTables CurrentPuzzleTables() {
    PuzzleTables tables;
    tables.board = BoardTable;
    tables.toolbox = ToolboxObjectTable;
    tables.shutters = ShutterTable;
    tables.keys = KeyTable;
    tables.squares = ClosingSquareTable;
    tables.bonus = BonusObjTable;
    return tables;
}

PuzzleFileResult ParsePuzzleInfo(const std::string& bytes, const std::string& name,
                                 PuzzleInfo& info) {
    RecordFileContents contents;
    if (auto result = SplitSetFile(bytes, name, PuzzleFile::Inf, 1, contents); !result.Ok())
        return result;
    if (contents.records.empty())
        return Damaged(name, "no whole record");
    PuzzleInfo read = DecodeInfo(contents.records.front());
    if (auto reason = CheckInfo(read); !reason.empty())
        return Damaged(name, reason);
    info = std::move(read);
    return {};
}

PuzzleFileResult ParsePuzzleSet(const PuzzleSetBytes& bytes, const std::string& infName,
                                PuzzleInfo& info, PuzzleTables& tables) {
    PuzzleInfo read;
    if (auto result = ParsePuzzleInfo(bytes[Index(PuzzleFile::Inf)], infName, read); !result.Ok())
        return result;
    SetContents files;
    for (int i = 1; i < PuzzleFileCount; ++i) {
        const auto file = static_cast<PuzzleFile>(i);
        // A board file may run on past its board; only the board's own records are read.
        const size_t wanted = file == PuzzleFile::Pzl
                                  ? static_cast<size_t>(read.boardRows) * read.boardCols
                                  : MaxRecords[Index(file)];
        if (auto result = SplitSetFile(bytes[Index(file)], read.FileName(file), file, wanted,
                                       files[Index(file)]);
            !result.Ok())
            return result;
    }
    // Whatever the caller's tables held, a load starts from link tables at their reset values.
    PuzzleTables parsed;
    ResetLinks(parsed);
    if (SetCheck result = ParseSet(read, files, parsed); !result.reason.empty())
        return Damaged(read.FileName(result.file), result.reason);
    info = std::move(read);
    tables = std::move(parsed);
    return {};
}

namespace {

// The bytes of the set `info` and `tables` make, under the stored names of
// its base name; a refusal when no reader would take them back.
std::optional<PuzzleFileResult> EncodeForSave(PuzzleInfo& info, const PuzzleTables& tables,
                                              PuzzleSetBytes& bytes) {
    const std::string base = TrimBlanks(info.baseName);
    if (!IsPuzzleBaseName(base))
        return Refused(base, "base name");
    info.SetBaseName(base);
    const size_t cellCount = info.boardRows >= MinBoardSide && info.boardCols >= MinBoardSide
                                 ? static_cast<size_t>(info.boardRows * info.boardCols)
                                 : 0;
    if (tables.board.size() != cellCount)
        return Refused(info.FileName(PuzzleFile::Pzl), "board size");

    // Whatever is written must read back: the replace puts the stored set
    // through the reader's checks before it touches the folder.
    const SetEncoding set = EncodeSet(info, tables);
    for (size_t i = 0; i < bytes.size(); ++i)
        for (const RecordBuffer& record : set.files[i])
            bytes[i] += record.Bytes();
    return std::nullopt;
}

}  // namespace

PuzzleFileResult SavePuzzleFiles(const std::string& folder, PuzzleInfo info,
                                 const PuzzleTables& tables, const PuzzleSetState* expected) {
    PuzzleSetBytes bytes;
    if (auto refusal = EncodeForSave(info, tables, bytes))
        return *refusal;
    return ReplacePuzzleSet(folder, info.baseName, bytes, expected);
}

PuzzleFileResult SavePuzzleFiles(platform::Folder& folder, PuzzleInfo info,
                                 const PuzzleTables& tables, const PuzzleSetState* expected) {
    PuzzleSetBytes bytes;
    if (auto refusal = EncodeForSave(info, tables, bytes))
        return *refusal;
    return ReplacePuzzleSet(folder, info.baseName, bytes, expected);
}

PuzzleFileResult ReadPuzzleInfo(const std::string& infPath, PuzzleInfo& info) {
    const size_t slash = infPath.find_last_of('/');
    const std::string folderPath = slash == std::string::npos ? "./" : infPath.substr(0, slash + 1);
    const std::string name = infPath.substr(slash == std::string::npos ? 0 : slash + 1);
    platform::Folder folder;
    if (auto error = folder.Open(folderPath))
        return {PuzzleFileStatus::Failed, name, {}, error};
    return ReadWholePuzzleInfo(folder, name, PendingSet::Finish, info);
}

PuzzleFileResult ReadPuzzleFiles(const std::string& folder, const std::string& base,
                                 PuzzleInfo& info, PuzzleTables& tables) {
    const std::string name = UpperCase(TrimBlanks(base));
    if (!IsStoredFileName(name))
        return Refused(name, "base name");
    platform::Folder open;
    if (auto error = open.Open(folder))
        return {PuzzleFileStatus::Failed, name + PuzzleFileExtensions[0], {}, error};
    return ReadWholePuzzleSet(open, name, PendingSet::Finish, info, tables);
}

PuzzleFileResult LoadPuzzleFiles(const std::string& folder, const std::string& base,
                                 PuzzleInfo& info) {
    PuzzleTables tables;
    PuzzleInfo read;
    PuzzleFileResult result = ReadPuzzleFiles(folder, base, read, tables);
    if (!result.Ok())
        return result;
    BoardRows = read.boardRows;
    BoardCols = read.boardCols;
    CellCount = static_cast<int16_t>(read.boardRows * read.boardCols);
    BoardTable = std::move(tables.board);
    ToolboxObjectTable = tables.toolbox;
    ShutterTable = tables.shutters;
    KeyTable = tables.keys;
    ClosingSquareTable = tables.squares;
    BonusObjTable = tables.bonus;
    CustomPuzzleFlag = read.customFlag;
    info = std::move(read);
    return result;
}

}  // namespace quarvelt

#include "board/board_model.h"

#include <set>
#include <string>

#include "common/geometry.h"
#include "common/image_index.h"
#include "common/library.h"
#include "common/tables.h"
#include "common/text.h"
#include "platform/services.h"

namespace quarvelt {

namespace {

constexpr const char* ClearTitle = "CLEARNING  GAME  BOARD";
constexpr const char* IndexUnusableText = "ERROR: OPENING INDEX FILE";
constexpr const char* NoBlankRecordText = "ERROR: CLEARING GAME BOARD!";
constexpr int16_t EmptyCellGroup = 5;

bool InRange(int16_t size) {
    return size >= MinBoardSize && size <= MaxBoardSize;
}

// Picture names come from puzzle files; one that could reach outside the image
// folder is never loaded.
bool IsPlainPictureName(const std::string& name) {
    return !TrimBlanks(name).empty() && IsPlainFileName(name);
}

void ShowClearError(const char* text) {
    platform::Beep();
    platform::MsgBox(text, platform::MsgOkOnly | platform::MsgExclamation, ClearTitle);
}

// Extracts the blank picture from the first index record whose name starts with
// "BLANK" in either case. False only after the message of an index that cannot
// give it; a failing extraction shows later as a picture that cannot be drawn.
bool ExtractBlankPicture() {
    const ImageIndex& index = ImageIndex::Current();
    if (index.Empty()) {
        ShowClearError(IndexUnusableText);
        return false;
    }
    const int position = index.FindByCode5("BLANK");
    if (position < 0) {
        ShowClearError(NoBlankRecordText);
        return false;
    }
    ImageIndexBuffer = index.Records()[static_cast<size_t>(position)];
    const ImageIndexRecord record = ImageIndexBuffer;
    // Whatever the record's own name, the blank is always written under the fixed one.
    (void)ExtractMixFile(record.archiveId, record.archiveOffset, BlankPictureName,
                         record.imageSize);
    return true;
}

// Extracts the record whose whole name is `name` (in either case) under `name`.
bool ExtractByExactName(const std::string& name) {
    const ImageIndex& index = ImageIndex::Current();
    const std::string wanted = UpperCase(TrimBlanks(name));
    for (size_t i = 0; i < index.Records().size(); ++i) {
        if (index.Name(static_cast<int>(i)) != wanted)
            continue;
        ImageIndexBuffer = index.Records()[i];
        const ImageIndexRecord record = ImageIndexBuffer;
        return !ExtractMixFile(record.archiveId, record.archiveOffset, name, record.imageSize);
    }
    return false;
}

// Draws cell pictures for one command. A picture that cannot be shown gets one
// extraction by its exact name; if it still cannot be shown, every cell naming
// it is drawn empty for the rest of the command, so a broken picture costs one
// attempt, not one per cell.
class CellPainter {
  public:
    explicit CellPainter(platform::BoardGrid& grid) : grid_(grid) {}

    void Draw(int16_t cell, const std::string& name) {
        const std::string position = FormatCellPos(cell, BoardCols);
        const int row = std::stoi(position.substr(0, 3));
        const int col = std::stoi(position.substr(position.size() - 3));
        // A grid sized for another board has no such cell.
        if (row >= grid_.Rows() || col >= grid_.Cols())
            return;
        grid_.SetRow(row);
        grid_.SetCol(col);

        const std::string key = UpperCase(TrimBlanks(name));
        if (!IsPlainPictureName(name) || broken_.contains(key)) {
            grid_.ClearCellPicture();
            return;
        }
        const std::string path = ImagePath + name;
        if (grid_.SetCellPicture(path))
            return;
        if (ExtractByExactName(name) && grid_.SetCellPicture(path))
            return;
        grid_.ClearCellPicture();
        broken_.insert(key);
    }

  private:
    platform::BoardGrid& grid_;
    std::set<std::string> broken_;
};

}  // namespace

void SizeBoardGrid(platform::BoardGrid& grid) {
    grid.SetRows(BoardRows);
    grid.SetCols(BoardCols);
    for (int row = 0; row < BoardRows; ++row)
        grid.SetRowHeight(row, CellTwips);
    for (int col = 0; col < BoardCols; ++col)
        grid.SetColWidth(col, CellTwips);
}

void ClearPuzzleBoard(platform::BoardGrid& grid, platform::Label& tally, Flag newSize) {
    grid.Clear();
    grid.SetDisplay(platform::GridDisplay::FocusRect, 1);
    grid.SetDisplay(platform::GridDisplay::HighLight, 0);
    grid.SetDisplay(platform::GridDisplay::SelectionMode, 0);

    if (IsTrue(newSize) || !InRange(BoardRows) || !InRange(BoardCols)) {
        BoardRows = DefaultBoardSize;
        BoardCols = DefaultBoardSize;
    }
    SizeBoardGrid(grid);

    CellOverlayOn = False;
    tally.SetCaption("0000");
    CellCount = static_cast<int16_t>(BoardRows * BoardCols);

    ResetPhotonTables();
    ResetLinkTables();
    ResetMixerInputTable();
    BoardCell blank;
    blank.pictureName = BlankPictureName;
    blank.group = EmptyCellGroup;
    BoardTable.assign(static_cast<size_t>(CellCount), blank);

    // A board whose blank picture the index cannot give is still complete; its
    // cells stay undrawn after the one message.
    if (FileExists(ImagePath + BlankPictureName) || ExtractBlankPicture()) {
        CellPainter painter(grid);
        for (int16_t cell = 0; cell < CellCount; ++cell)
            painter.Draw(cell, BlankPictureName);
    }

    SelectedTool = -1;
    ReadyToRun = True;
    CustomPuzzleFlag = 0;
    CurrentPuzzleKey.clear();
}

void ResetPuzzle(platform::BoardGrid& grid, platform::Label& tally) {
    CellPainter painter(grid);
    for (int16_t cell = 0; cell < CellCount; ++cell) {
        const auto row = static_cast<size_t>(cell);
        painter.Draw(cell, row < BoardTable.size() ? BoardTable[row].pictureName : std::string());
    }

    for (int colour = 1; colour <= LinkColours; ++colour)
        for (int number = 1; number <= LinkSlots; ++number)
            if (KeyTable[colour][number].cell != -1)
                KeyTable[colour][number].state = 0;
    for (int kind = 1; kind <= BonusKinds; ++kind)
        for (int number = 1; number <= BonusSlots; ++number)
            if (BonusObjTable[kind][number].cell != -1)
                BonusObjTable[kind][number].state = 0;

    ResetMixerInputTable();
    tally.SetCaption("0");
}

void ToggleCellOverlay(platform::BoardGrid& grid) {
    const bool on = CellOverlayOn != False;
    for (int16_t r = 0; r < BoardRows; ++r) {
        for (int16_t c = 0; c < BoardCols; ++c) {
            grid.SetCol(c);
            grid.SetRow(r);
            grid.SetCellText(on ? std::string() : std::to_string(GetCellIndex(c, r, BoardCols)));
        }
    }
    CellOverlayOn = on ? False : True;
}

}  // namespace quarvelt

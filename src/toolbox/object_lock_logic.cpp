#include "toolbox/object_lock_logic.h"

#include <algorithm>

#include "common/image_index.h"
#include "common/library.h"
#include "common/tables.h"
#include "common/text.h"
#include "common/vocabulary.h"

namespace quarvelt {

namespace {

constexpr size_t NameColumn = 2;
constexpr size_t NameWidth = 36;
constexpr size_t CellColumn = 38;
constexpr int16_t CellWidth = 4;
constexpr size_t StateColumn = 44;

bool IsBoardCell(int16_t cell) {
    return cell >= 0 && cell < CellCount && static_cast<size_t>(cell) < BoardTable.size();
}

bool IsEmptyCell(int16_t cell) {
    return BoardTable[static_cast<size_t>(cell)].pictureName.substr(0, 5) == "BLANK";
}

void WriteAt(std::string& line, size_t column, const std::string& text) {
    line.replace(column - 1, text.size(), text);
}

// The picture `name` in ImagePath, extracted from the archives when it is missing;
// empty when it can't be had.
std::string PictureFile(const std::string& name) {
    if (!IsPlainFileName(name))
        return "";
    const std::string path = ImagePath + name;
    if (FileExists(path) || LoadIndexImageByCode(name) == 0)
        return path;
    return "";
}

}  // namespace

std::string ObjectLockLine(int16_t cell) {
    std::string line(ObjectLockLineLength, ' ');
    const BoardCell& entry = BoardTable[static_cast<size_t>(cell)];
    WriteAt(line, NameColumn,
            GetObjectDisplayName(entry.pictureName.substr(0, 5)).substr(0, NameWidth));
    WriteAt(line, CellColumn, RightJustify(std::to_string(cell), CellWidth, False, False));
    // The board refuses to move any object whose flag is set, so any set flag reads as locked.
    WriteAt(line, StateColumn, entry.lockFlag != False ? "LOCKED" : "UNLOCKED");
    return line;
}

void ObjectLockLogic::Changed() {
    if (changed)
        changed();
}

void ObjectLockLogic::EmptyPreview() {
    preview_ = PictureFile(EmptyPreviewName);
}

void ObjectLockLogic::ShowCell(int16_t cell) {
    EmptyPreview();
    previewCell_ = cell;
    if (!IsBoardCell(cell))
        return;
    const std::string picture = PictureFile(BoardTable[static_cast<size_t>(cell)].pictureName);
    if (!picture.empty())
        preview_ = picture;
}

void ObjectLockLogic::Activate() {
    visible_ = true;
    previewOff_ = false;
    LoadObjectList();
}

void ObjectLockLogic::LoadObjectList() {
    rows_.clear();
    EmptyPreview();
    const int16_t cells = static_cast<int16_t>(
        std::min<size_t>(static_cast<size_t>(std::max<int16_t>(CellCount, 0)), BoardTable.size()));
    for (int16_t cell = 0; cell < cells; ++cell)
        if (!IsEmptyCell(cell))
            rows_.push_back({ObjectLockLine(cell), cell});
    selected_.assign(rows_.size(), false);
    current_ = -1;
    Changed();
}

void ObjectLockLogic::ListClick(int row) {
    if (row < 0 || static_cast<size_t>(row) >= rows_.size())
        return;
    current_ = row;
    selected_[static_cast<size_t>(row)] = !selected_[static_cast<size_t>(row)];
    if (!previewOff_) {
        EmptyPreview();
        if (selected_[static_cast<size_t>(row)])
            ShowCell(rows_[static_cast<size_t>(row)].itemData);
    }
    Changed();
}

void ObjectLockLogic::SetLocks(Flag lock) {
    for (size_t row = 0; row < rows_.size(); ++row) {
        const int16_t cell = rows_[row].itemData;
        // A row left from a board that has since changed may name a cell that is
        // gone or empty; an empty cell locked would refuse every placement unseen.
        if (!selected_[row] || !IsBoardCell(cell) || (lock == True && IsEmptyCell(cell)))
            continue;
        BoardTable[static_cast<size_t>(cell)].lockFlag = lock;
    }
    LoadObjectList();
}

void ObjectLockLogic::LockClick() {
    SetLocks(True);
}

void ObjectLockLogic::UnLockClick() {
    SetLocks(False);
}

void ObjectLockLogic::SelAllClick() {
    previewOff_ = true;
    selected_.assign(rows_.size(), true);
    EmptyPreview();
    Changed();
}

void ObjectLockLogic::UnSelAllClick() {
    previewOff_ = false;
    selected_.assign(rows_.size(), false);
    EmptyPreview();
    Changed();
}

void ObjectLockLogic::SelectObject(int16_t cell) {
    previewOff_ = true;
    selected_.assign(rows_.size(), false);
    for (size_t row = 0; row < rows_.size(); ++row) {
        if (rows_[row].itemData != cell)
            continue;
        current_ = static_cast<int>(row);
        selected_[row] = true;
        ShowCell(cell);
        break;
    }
    Changed();
}

void ObjectLockLogic::ExitClick() {
    visible_ = false;
    Changed();
}

}  // namespace quarvelt

// What the object lock window does, apart from drawing itself: it lists every
// object on the board with its cell and lock state, previews the object the
// author clicks, and locks or unlocks the selected rows at once. A locked
// object can't be removed or replaced on the board. The list is rebuilt from
// the board on every activation, so its rows describe the board the author
// comes back from.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/globals.h"
#include "toolbox/set_trigg_logic.h"

namespace quarvelt {

inline constexpr size_t ObjectLockLineLength = 54;
inline constexpr const char* EmptyPreviewName = "BLANK_______________00.BMP";

// A list row's text: the object's name, its cell and its lock state in fixed columns.
std::string ObjectLockLine(int16_t cell);

class ObjectLockLogic {
  public:
    // GBObjectList: one row per occupied cell, the cell as the row's item data.
    const std::vector<ListLine>& Rows() const { return rows_; }
    bool Selected(int row) const { return selected_[static_cast<size_t>(row)]; }
    int CurrentRow() const { return current_; }
    // The picture file ObjImage shows; empty when not even the empty picture can be had.
    const std::string& Preview() const { return preview_; }
    int16_t PreviewCell() const { return previewCell_; }
    // True while list clicks leave the preview alone.
    bool PreviewOff() const { return previewOff_; }
    bool Visible() const { return visible_; }

    // The window became active (shown, or returned to).
    void Activate();
    // Rebuilds the list from the board: every row deselected, the empty preview.
    void LoadObjectList();
    // A click on a row selects or deselects it.
    void ListClick(int row);
    void LockClick();
    void UnLockClick();
    void SelAllClick();
    void UnSelAllClick();
    // Selects the one row of `cell` and shows it; the preview then stays.
    void SelectObject(int16_t cell);
    void ExitClick();

    // Runs after every change of the state above.
    std::function<void()> changed;

  private:
    void SetLocks(Flag lock);
    void EmptyPreview();
    // The cell's picture in the preview, extracted first when it is missing.
    void ShowCell(int16_t cell);
    void Changed();

    std::vector<ListLine> rows_;
    std::vector<bool> selected_;
    int current_ = -1;
    std::string preview_;
    int16_t previewCell_ = -1;
    bool previewOff_ = false;
    bool visible_ = false;
};

}  // namespace quarvelt

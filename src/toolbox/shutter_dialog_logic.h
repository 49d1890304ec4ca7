// What the shutter-link dialog does, apart from drawing itself: it lists the
// shutters of a key's or closing square's colour, gives the object the first
// free number of its colour and links it to the chosen shutter in KeyTable or
// ClosingSquareTable. Its caller hands it the object through the two hidden
// labels and reads "CANCLE" back from TrigType when nothing was linked.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "toolbox/set_trigg_logic.h"

namespace quarvelt {

class ShutterDialogLogic {
  public:
    std::string trigType;
    std::string cellNumber;

    const std::string& Caption() const { return caption_; }
    const std::vector<ListLine>& Lines() const { return lines_; }
    int Selected() const { return selected_; }
    const std::string& KeySqrInd() const { return keySqrInd_; }
    const std::string& KeySqrCellInd() const { return keySqrCellInd_; }
    const std::string& CellNumInd() const { return cellNumInd_; }
    // OK links to the chosen shutter, so it waits for one.
    bool OkEnabled() const { return !cellNumInd_.empty() && !keySqrInd_.empty(); }
    bool Visible() const { return visible_; }

    void FormLoad();
    void SetCaption(const std::string& caption) { caption_ = caption; }
    // Shown for the object in the hidden labels; it may hide itself at once
    // with "CANCLE" when there is nothing to link.
    void Activate();
    void LineClick(int index);
    void OkClick();
    void CancelClick();
    // Lists the placed shutters of "BROWN", "GRAY" or "ORANGE"; their count.
    int16_t LoadAvaiShutters(const std::string& colour);

    std::function<void()> changed;

  private:
    void GiveUp(const std::string& text);
    void Changed();

    std::string code_;
    int16_t cell_ = 0;
    std::string caption_;
    std::vector<ListLine> lines_;
    int selected_ = -1;
    std::string keySqrInd_;
    std::string keySqrCellInd_;
    std::string cellNumInd_;
    bool visible_ = false;
};

}  // namespace quarvelt

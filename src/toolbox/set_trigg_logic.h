// What the trigger dialog does, apart from drawing itself: it lists the 16
// trigger numbers of a bonus object's kind with their points, lets the designer
// choose one and give it a value, and stores it in BonusObjTable. Its caller
// hands it the object through the two hidden labels and reads the answer back
// from TrigType: "CANCLE" when nothing was stored.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quarvelt {

// The answer a dialog leaves in TrigType when it stored nothing.
inline constexpr const char* CancelMark = "CANCLE";

struct ListLine {
    std::string text;
    int16_t itemData = 0;
};

class SetTriggLogic {
  public:
    // Hidden labels: in, the object's code and cell; out, "CANCLE" in trigType on a cancel.
    std::string trigType;
    std::string cellNumber;
    // TrValue, the value box the designer types into.
    std::string trValue;

    const std::string& Caption() const { return caption_; }
    const std::vector<ListLine>& Lines() const { return lines_; }
    int Selected() const { return selected_; }  // -1 none
    bool ListEnabled() const { return listEnabled_; }
    bool ValueEnabled() const { return valueEnabled_; }
    const std::string& TrigValInd() const { return trigValInd_; }
    const std::string& TrgCellNum() const { return trgCellNum_; }
    bool Visible() const { return visible_; }

    void FormLoad();
    void SetCaption(const std::string& caption) { caption_ = caption; }
    // Shown for the object in the hidden labels.
    void Activate();
    void LineClick(int index);
    // Checks and stores; the dialog stays open after a refused entry.
    void OkClick();
    void CancelClick();
    // The 16 lines of the object's kind.
    void LoadTrigList();

    std::function<void()> changed;

  private:
    void Refuse(const std::string& text);
    void Changed();

    std::string code_;
    int16_t cell_ = 0;
    std::string caption_;
    std::vector<ListLine> lines_;
    int selected_ = -1;
    bool listEnabled_ = true;
    bool valueEnabled_ = false;
    std::string trigValInd_;
    std::string trgCellNum_;
    bool visible_ = false;
};

// "00000"-style: at least `width` digits, a minus sign before them when negative.
std::string ZeroPadded(int value, int width);

}  // namespace quarvelt

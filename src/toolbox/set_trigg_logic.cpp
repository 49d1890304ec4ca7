#include "toolbox/set_trigg_logic.h"

#include <cmath>
#include <cstdlib>

#include "common/tables.h"
#include "common/text.h"
#include "common/vocabulary.h"
#include "platform/services.h"

namespace quarvelt {

namespace {

constexpr const char* Title = "TRIGGER VALUE ENTRY";
constexpr const char* ReEnter = "\r\rPlease re-enter with a number\rbetween 1 and 9999";

// A text of `width` blanks with `text` written from `column` (1-based); never cut.
void WriteAt(std::string& line, size_t column, const std::string& text) {
    if (line.size() < column - 1 + text.size())
        line.resize(column - 1 + text.size(), ' ');
    line.replace(column - 1, text.size(), text);
}

std::string TriggerLine(int number, int16_t points) {
    std::string line(22, ' ');
    WriteAt(line, 5, std::to_string(number));
    WriteAt(line, 19, std::to_string(points));
    return line;
}

// The bonus kind 1 to 6 of an object code, 0 for any other code.
int BonusKind(const std::string& code) {
    const int16_t number = GetSpecialObjNumber(code);
    return IsBonusObject(number) ? number : 0;
}

bool IsBonusCell(int16_t cell) {
    return cell >= 0 && static_cast<size_t>(cell) < BoardTable.size();
}

}  // namespace

std::string ZeroPadded(int value, int width) {
    std::string digits = std::to_string(std::abs(value));
    if (static_cast<int>(digits.size()) < width)
        digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
    return value < 0 ? "-" + digits : digits;
}

void SetTriggLogic::Changed() {
    if (changed)
        changed();
}

void SetTriggLogic::FormLoad() {
    lines_.clear();
    selected_ = -1;
    trigValInd_.clear();
    trValue.clear();
    trgCellNum_.clear();
    valueEnabled_ = false;
    code_.clear();
    Changed();
}

void SetTriggLogic::LoadTrigList() {
    lines_.clear();
    selected_ = -1;
    const int kind = BonusKind(code_);
    if (kind == 0)
        return;
    for (int number = 1; number <= BonusSlots; ++number) {
        const BonusObjSlot& slot =
            BonusObjTable[static_cast<size_t>(kind)][static_cast<size_t>(number)];
        lines_.push_back({TriggerLine(number, slot.points), slot.cell});
    }
}

void SetTriggLogic::Activate() {
    visible_ = true;
    code_ = trigType;
    cell_ = CaptionNumber(TrimBlanks(cellNumber));
    caption_ = "Set Trigger for " + GetSpecialObjName(code_);
    LoadTrigList();
    // While an object is being placed its cell still reads as empty.
    const bool placing =
        !IsBonusCell(cell_) ||
        UpperCase(BoardTable[static_cast<size_t>(cell_)].pictureName.substr(0, 5)) == "BLANK";
    if (!placing) {
        // The search selects line after line, and each selection enables the value box.
        if (!lines_.empty())
            valueEnabled_ = true;
        for (size_t i = 0; i < lines_.size(); ++i) {
            if (lines_[i].itemData != cell_)
                continue;
            LineClick(static_cast<int>(i));
            const int kind = BonusKind(code_);
            trValue = std::to_string(BonusObjTable[static_cast<size_t>(kind)][i + 1].points);
            trigValInd_ = std::to_string(i + 1);
            trgCellNum_ = ZeroPadded(cell_, 5);
            listEnabled_ = false;
            Changed();
            return;
        }
    }
    trValue.clear();
    trigValInd_.clear();
    trgCellNum_ = ZeroPadded(cell_, 5);
    selected_ = -1;
    listEnabled_ = true;
    Changed();
}

void SetTriggLogic::LineClick(int index) {
    if (index < 0 || static_cast<size_t>(index) >= lines_.size())
        return;
    selected_ = index;
    valueEnabled_ = true;
    const std::string& line = lines_[static_cast<size_t>(index)].text;
    trigValInd_ = TrimBlanks(line.substr(4, 2));
    trValue = TrimBlanks(line.substr(18));
    Changed();
}

void SetTriggLogic::Refuse(const std::string& text) {
    platform::Beep();
    platform::MsgBox(text, platform::MsgOkOnly | platform::MsgExclamation, Title);
}

void SetTriggLogic::OkClick() {
    const int16_t number = CaptionNumber(trigValInd_);
    if (number == 0)
        return Refuse(
            "YOU HAVEN'T SELECTED A TRIGGER NUMBER!\r\rPlease Select a number from the list.");
    double entry = 0;
    if (!ParseNumber(trValue, entry))
        return Refuse(std::string("YOUR ENTRY IS NOT NUMERIC!") + ReEnter);
    // Checked as a number before it is narrowed, so no entry can wrap around.
    const double value = RoundHalfEven(entry);
    if (value > 9999)
        return Refuse(std::string("YOUR ENTRY IS TOO LARGE!") + ReEnter);
    if (value == 0)
        return Refuse(std::string("YOUR ENTRY IS ZERO!") + ReEnter);
    if (value < 0)
        return Refuse(std::string("YOUR ENTRY IS NEGATIVE!") + ReEnter);

    const int kind = BonusKind(code_);
    if (kind != 0 && number >= 1 && number <= BonusSlots) {
        BonusObjSlot& slot = BonusObjTable[static_cast<size_t>(kind)][static_cast<size_t>(number)];
        slot.points = static_cast<int16_t>(value);
        slot.cell = CaptionNumber(TrimBlanks(cellNumber));
        slot.state = 0;
    }
    LoadTrigList();
    cellNumber.clear();
    trigValInd_.clear();
    trgCellNum_.clear();
    trValue = "0";
    visible_ = false;
    Changed();
}

void SetTriggLogic::CancelClick() {
    trigType = CancelMark;
    cellNumber.clear();
    visible_ = false;
    Changed();
}

}  // namespace quarvelt

#include "toolbox/shutter_dialog_logic.h"

#include "common/tables.h"
#include "common/text.h"
#include "common/vocabulary.h"
#include "platform/services.h"

namespace quarvelt {

namespace {

constexpr const char* Title = "ADD/REMOVE KEYS OR CLOSING SQUARES";

std::string ShutterLine(int16_t number, int16_t cell) {
    std::string line(34, ' ');
    const std::string name = GetSpecialObjName(GetSpecialObjCode(number));
    line.replace(1, name.size(), name);
    const std::string where = std::to_string(cell);
    if (line.size() < 23 + where.size())
        line.resize(23 + where.size(), ' ');
    line.replace(23, where.size(), where);
    return line;
}

// The first free number 1 to 32 of the object's colour, or 0.
int16_t FreeNumber(int16_t object) {
    for (int16_t number = 1; number <= LinkSlots; ++number) {
        if (IsClosingSquare(object)) {
            const ClosingSquareSlot& square =
                ClosingSquareTable[static_cast<size_t>(object - 6)][number];
            if (square.cell == -1 && square.shutterCell == -1)
                return number;
        } else if (IsKeyObject(object)) {
            const KeySlot& key = KeyTable[static_cast<size_t>(object - 9)][number];
            if (key.cell == -1 && key.shutterCell == -1)
                return number;
        }
    }
    return 0;
}

}  // namespace

void ShutterDialogLogic::Changed() {
    if (changed)
        changed();
}

void ShutterDialogLogic::FormLoad() {
    lines_.clear();
    selected_ = -1;
    keySqrInd_.clear();
    keySqrCellInd_.clear();
    cellNumInd_.clear();
    code_.clear();
    Changed();
}

int16_t ShutterDialogLogic::LoadAvaiShutters(const std::string& colour) {
    lines_.clear();
    selected_ = -1;
    for (int kind = 1; kind <= ShutterKinds; ++kind) {
        for (int slot = 1; slot <= LinkSlots; ++slot) {
            const ShutterSlot& shutter =
                ShutterTable[static_cast<size_t>(kind)][static_cast<size_t>(slot)];
            if (shutter.objectNumber < 13 || shutter.objectNumber > 18)
                continue;
            if (GetSpecialObjColor(shutter.objectNumber) != colour || shutter.cell == -1)
                continue;
            lines_.push_back(
                {ShutterLine(shutter.objectNumber, shutter.cell), shutter.objectNumber});
        }
    }
    return static_cast<int16_t>(lines_.size());
}

void ShutterDialogLogic::GiveUp(const std::string& text) {
    platform::Beep();
    platform::MsgBox(text, platform::MsgOkOnly | platform::MsgExclamation, Title);
    trigType = CancelMark;
    visible_ = false;
    Changed();
}

void ShutterDialogLogic::Activate() {
    visible_ = true;
    code_ = trigType;
    cell_ = CaptionNumber(TrimBlanks(cellNumber));
    caption_ = "Shutter Trigger for " + GetSpecialObjName(code_);
    const int16_t object = GetSpecialObjNumber(code_);
    if (LoadAvaiShutters(GetSpecialObjColor(object)) == 0)
        return GiveUp(
            "NO SHUTTERS LISTED!\rYou MUST have a SHUTTER before\ryou can place a Key or Closing "
            "Square.");
    keySqrInd_.clear();
    cellNumInd_.clear();
    keySqrCellInd_.clear();
    const int16_t number = FreeNumber(object);
    // Number 0 is the table row nothing else uses; an object linked there could never act.
    if (number == 0)
        return GiveUp("NO KEY OR SQUARE NUMBERS LEFT!");
    keySqrInd_ = std::to_string(number);
    keySqrCellInd_ = std::to_string(cell_);
    Changed();
}

void ShutterDialogLogic::LineClick(int index) {
    if (index < 0 || static_cast<size_t>(index) >= lines_.size())
        return;
    selected_ = index;
    const std::string& line = lines_[static_cast<size_t>(index)].text;
    cellNumInd_ = TrimBlanks(line.substr(23, 5));
    Changed();
}

void ShutterDialogLogic::OkClick() {
    if (!OkEnabled())
        return;
    const int16_t shutterCell = CaptionNumber(cellNumInd_);
    const int16_t number = CaptionNumber(keySqrInd_);
    const int16_t object = GetSpecialObjNumber(code_);
    if (number >= 1 && number <= LinkSlots) {
        if (IsClosingSquare(object)) {
            ClosingSquareSlot& square = ClosingSquareTable[static_cast<size_t>(object - 6)][number];
            square.shutterCell = shutterCell;
            square.cell = cell_;
        } else if (IsKeyObject(object)) {
            KeySlot& key = KeyTable[static_cast<size_t>(object - 9)][number];
            key.shutterCell = shutterCell;
            key.cell = cell_;
            key.state = 0;
        }
    }
    cellNumber.clear();
    visible_ = false;
    Changed();
}

void ShutterDialogLogic::CancelClick() {
    trigType = CancelMark;
    cellNumber.clear();
    visible_ = false;
    Changed();
}

}  // namespace quarvelt

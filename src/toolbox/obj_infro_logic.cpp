#include "toolbox/obj_infro_logic.h"

#include "common/tables.h"
#include "common/text.h"
#include "common/vocabulary.h"

namespace quarvelt {

namespace {

constexpr int32_t LockedColour = 255;      // red
constexpr int32_t UnlockedColour = 32768;  // green

}  // namespace

void ObjInfroLogic::Changed() {
    if (changed)
        changed();
}

void ObjInfroLogic::Empty() {
    for (std::string* indicator : {&trigNum, &trigValue, &trigCellNum, &keySqrNum, &keySqrCell,
                                   &shutCelNum, &shutNum, &shutCellNum, &missCellNum, &lockInd})
        indicator->clear();
    for (InfoFrameState& frame : frames_)
        frame = {};
}

void ObjInfroLogic::ShowFrame(InfoFrame frame) {
    // A refill shows one group's frame only; the frames share one place.
    for (InfoFrameState& other : frames_)
        other.visible = false;
    InfoFrameState& shown = frames_[static_cast<size_t>(frame)];
    shown.title = TrimBlanks(frameCapt);
    shown.visible = true;
}

void ObjInfroLogic::FormLoad() {
    Empty();
    Changed();
}

void ObjInfroLogic::Activate() {
    visible_ = true;
    const int16_t cell = CaptionNumber(TrimBlanks(cellNumber));
    const int16_t number = CaptionNumber(TrimBlanks(trigType));
    const std::string cellText = TrimBlanks(cellNumber);

    if (IsBonusObject(number)) {
        trigNum.clear();
        trigValue.clear();
        for (int slot = 1; slot <= BonusSlots; ++slot) {
            const BonusObjSlot& bonus =
                BonusObjTable[static_cast<size_t>(number)][static_cast<size_t>(slot)];
            if (bonus.cell == cell) {
                trigNum = std::to_string(slot);
                trigValue = std::to_string(bonus.points);
                break;
            }
        }
        trigCellNum = cellText;
        ShowFrame(InfoFrame::Trig);
    } else if (IsClosingSquare(number) || IsKeyObject(number)) {
        keySqrNum.clear();
        shutCelNum.clear();
        bool found = false;
        for (int colour = 1; colour <= LinkColours && !found; ++colour) {
            for (int slot = 1; slot <= LinkSlots && !found; ++slot) {
                int16_t shutterCell = 0;
                if (IsClosingSquare(number)) {
                    const ClosingSquareSlot& square =
                        ClosingSquareTable[static_cast<size_t>(colour)][static_cast<size_t>(slot)];
                    found = square.objectNumber == number && square.cell == cell;
                    shutterCell = square.shutterCell;
                } else {
                    const KeySlot& key =
                        KeyTable[static_cast<size_t>(colour)][static_cast<size_t>(slot)];
                    found = key.objectNumber == number && key.cell == cell;
                    shutterCell = key.shutterCell;
                }
                if (found) {
                    keySqrNum = std::to_string(slot);
                    shutCelNum = std::to_string(shutterCell);
                }
            }
        }
        keySqrCell = cellText;
        ShowFrame(InfoFrame::KeySqr);
    } else if (IsColourShutter(number)) {
        shutNum.clear();
        bool found = false;
        for (int kind = 1; kind <= ShutterKinds && !found; ++kind) {
            for (int slot = 1; slot <= LinkSlots && !found; ++slot) {
                const ShutterSlot& shutter =
                    ShutterTable[static_cast<size_t>(kind)][static_cast<size_t>(slot)];
                found = shutter.objectNumber == number && shutter.cell == cell;
                if (found)
                    shutNum = std::to_string(slot);
            }
        }
        shutCellNum = cellText;
        ShowFrame(InfoFrame::Shut);
    } else {
        missCellNum = cellText;
        ShowFrame(InfoFrame::Miss);
    }

    if (cell >= 0 && static_cast<size_t>(cell) < BoardTable.size()) {
        const Flag lock = BoardTable[static_cast<size_t>(cell)].lockFlag;
        if (lock == True) {
            lockInd = "LOCKED";
            lockColour = LockedColour;
        } else if (lock == False) {
            lockInd = "UNLOCKED";
            lockColour = UnlockedColour;
        }
    }
    Changed();
}

void ObjInfroLogic::OkClick() {
    Empty();
    trigType.clear();
    cellNumber.clear();
    frameCapt.clear();
    visible_ = false;
    Changed();
}

}  // namespace quarvelt

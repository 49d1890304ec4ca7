#include "engine/stepping.h"

#include "common/globals.h"
#include "common/tables.h"
#include "platform/services.h"

namespace quarvelt {

Neighbour StepFrom(int16_t cell, const std::string& travel) {
    if (travel != "L" && travel != "R" && travel != "T" && travel != "B")
        return {};
    if (BoardCols <= 0 || cell < 0 || cell >= CellCount)
        return {};
    const int column = cell % BoardCols;
    if ((travel == "L" && column == 0) || (travel == "R" && column == BoardCols - 1) ||
        (travel == "T" && cell < BoardCols) || (travel == "B" && cell >= CellCount - BoardCols))
        return {.cell = -1, .leavesBoard = true};
    const int offset = travel == "L"   ? -1
                       : travel == "R" ? 1
                       : travel == "T" ? -BoardCols
                                       : BoardCols;
    return {.cell = static_cast<int16_t>(cell + offset)};
}

int16_t NeighbourCell(int16_t cell, const std::string& travel) {
    return StepFrom(cell, travel).cell;
}

void ReportPhotonLeavesBoard() {
    platform::Beep();
    platform::MsgBox("INVALID PUZZLE!\r\rPhoton leaves gameboard,",
                     platform::MsgOkOnly + platform::MsgExclamation, "EXECUTE    PUZZLE");
}

int16_t GetNextCell(int16_t cell, const std::string& travel) {
    const Neighbour next = StepFrom(cell, travel);
    if (next.leavesBoard)
        ReportPhotonLeavesBoard();
    return next.cell;
}

int16_t FindSpecialObjSlot(int16_t number, int16_t cell) {
    if (number >= 1 && number <= BonusKinds) {
        for (int slot = 1; slot <= BonusSlots; ++slot)
            if (BonusObjTable[number][slot].cell == cell)
                return static_cast<int16_t>(slot);
        return 0;
    }
    // Closing squares, keys and shutters: every colour or kind row is searched,
    // as a slot's own number field, not its row, names the object.
    auto search = [&](const auto& table, auto matches) -> int16_t {
        for (const auto& row : table)
            for (int slot = 1; slot <= LinkSlots; ++slot)
                if (matches(row[slot]))
                    return static_cast<int16_t>(slot);
        return 0;
    };
    if (number >= 7 && number <= 9)
        return search(ClosingSquareTable, [&](const ClosingSquareSlot& square) {
            return square.objectNumber == number && square.cell == cell;
        });
    if (number >= 10 && number <= 12)
        return search(KeyTable, [&](const KeySlot& key) {
            return key.objectNumber == number && key.cell == cell;
        });
    if (number >= 13 && number <= 18)
        return search(ShutterTable, [&](const ShutterSlot& shutter) {
            return shutter.objectNumber == number && shutter.cell == cell;
        });
    return 0;
}

}  // namespace quarvelt

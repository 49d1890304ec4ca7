// Editing the board with the mouse and the keys: placing the picked tool on an
// empty cell, taking objects off with the blank tool, and telling what stands
// on a cell. Each press changes the tables first and draws afterwards, so a
// picture that can't be drawn never leaves the tables half changed.
#include <algorithm>

#include "board/object_codes.h"
#include "board/placement.h"
#include "common/geometry.h"
#include "common/image_index.h"
#include "common/library.h"
#include "common/tables.h"
#include "common/text.h"
#include "common/toolbox_catalogue.h"
#include "common/vocabulary.h"
#include "mainwindow/game_bd_logic.h"
#include "platform/services.h"

namespace quarvelt {

namespace {

using platform::GridDisplay;
using platform::Warn;

constexpr int16_t EmptyCellGroup = 5;
constexpr int LeftButton = 1;
constexpr int RightButton = 2;
constexpr int KeyF12 = 123;

bool IsCell(int16_t cell) {
    return cell >= 0 && static_cast<size_t>(cell) < BoardTable.size();
}

std::string CodeAt(int16_t cell) {
    return BoardTable[static_cast<size_t>(cell)].pictureName.substr(0, 5);
}

void UsedUp() {
    Warn("ERROR:  OBJECT IS USED UP!\r\rAll objects for this type have been used!",
         "TOOLBOX  INVENTORY");
}

// Gives one object of `row` back to the tool box; an unlimited object keeps its
// count, except the lamp, which is counted whatever its allowed count.
void GiveBack(int16_t row) {
    if (row < 0)
        return;
    ToolboxObjectRow& entry = ToolboxObjectTable[static_cast<size_t>(row)];
    if (entry.CountedOnBoard())
        entry.used = static_cast<int16_t>(std::max(0, entry.used - 1));
}

// The free ShutterTable entry a new shutter of `number` would take.
ShutterSlot* FreeShutterSlot(int16_t number) {
    for (int kind = 1; kind <= ShutterKinds; ++kind)
        for (int slot = 1; slot <= LinkSlots; ++slot) {
            ShutterSlot& entry = ShutterTable[static_cast<size_t>(kind)][static_cast<size_t>(slot)];
            if (entry.objectNumber == number && entry.cell == -1)
                return &entry;
        }
    return nullptr;
}

void WriteCellRow(int16_t cell, const std::string& name, int16_t group) {
    BoardCell& row = BoardTable[static_cast<size_t>(cell)];
    row.pictureName = name;
    row.group = group;
}

}  // namespace

bool UpdateToolboxInventory(int16_t tool, int16_t cell) {
    if (tool < 0 || tool >= ToolboxRowCount || !IsCell(cell))
        return false;
    BoardCell& target = BoardTable[static_cast<size_t>(cell)];
    ToolboxObjectRow& picked = ToolboxObjectTable[static_cast<size_t>(tool)];
    const std::string toolCode = UpperCase(picked.stem).substr(0, 5);
    const bool locked = target.lockFlag != False;
    const auto refuseLocked = [](bool removing) {
        Warn(removing ? "OBJECT CAN NOT BE REMOVED!\r\rYou Can't remove this object from!\rthe "
                        "game board, it is LOCKED."
                      : "OBJECT CAN NOT BE REPLACED!\r\rYou Can't replace this object from!\rthe "
                        "game board, it is LOCKED.",
             "REMOVE   OBJECT   FROM   PUZZLE");
        return false;
    };

    if (toolCode == "LAMP_") {
        // One lamp on the board, whatever its allowed count.
        if (picked.used != 0)
            return UsedUp(), false;
        if (locked)
            return refuseLocked(false);
        picked.used = 1;
        target.lampFlag = True;
    } else if (toolCode == "BLANK") {
        const int16_t row = FindToolRow(ConvGameObjToToolObj(CodeAt(cell)));
        if (row < 0)
            return false;
        if (locked)
            return refuseLocked(true);
        GiveBack(row);
        target.lampFlag = False;
    } else {
        // An allowed count of -1 offers the object without limit and counts nothing.
        if (picked.allowed != -1 && picked.used >= picked.allowed)
            return UsedUp(), false;
        if (locked)
            return refuseLocked(false);
        if (picked.allowed != -1)
            ++picked.used;
        target.lampFlag = False;
    }
    target.group = picked.group;
    target.button = picked.button;
    return true;
}

void GameBdLogic::GridMouseDown(int button, int, int, int) {
    if (busy_)
        return;
    if (button == RightButton)
        return InspectObject();
    if (button != LeftButton)
        return;
    platform::BoardGrid& grid = controls_.grid;
    grid.SetDisplay(GridDisplay::SelectionMode, 2);
    const int row = grid.Row();
    const int col = grid.Col();
    const int16_t cell =
        GetCellIndex(static_cast<int16_t>(col), static_cast<int16_t>(row), BoardCols);
    switch (CheckObjectPlacement(SelectedTool, cell)) {
        case PlacementAllowed:
            return PlaceObject(cell);
        case PlacementOccupied:
            return RemoveObject(cell, row, col);
        default:
            return RefusedEnd();
    }
}

void GameBdLogic::PlaceObject(int16_t cell) {
    const std::string name = GetGameboardObj(SelectedTool);
    const std::string code = name.substr(0, 5);
    const int16_t number = GetSpecialObjNumber(code);
    // A shutter nothing could find in ShutterTable could never be opened or removed.
    if (IsColourShutter(number) && !FreeShutterSlot(number)) {
        UsedUp();
        return BackToToolBox();
    }
    if (!UpdateToolboxInventory(SelectedTool, cell))
        return BackToToolBox();

    if (IsBonusObject(number) || IsClosingSquare(number) || IsKeyObject(number)) {
        const bool bonus = IsBonusObject(number);
        std::string& trigType = bonus ? setTrigg_.trigType : shutterDialog_.trigType;
        (bonus ? setTrigg_.cellNumber : shutterDialog_.cellNumber) = std::to_string(cell);
        trigType = code;
        if (bonus)
            view_.ShowSetTrigg();
        else
            view_.ShowShutterDialog();
        if (trigType == CancelMark)
            return UndoPlacement(cell);
    } else if (IsColourShutter(number)) {
        ShutterSlot* slot = FreeShutterSlot(number);
        slot->cell = cell;
        slot->open = 0;
    }

    WriteCellRow(cell, name, ToolboxObjectTable[static_cast<size_t>(SelectedTool)].group);
    if (!DrawCellPicture(name))
        return;
    BackToToolBox();
}

void GameBdLogic::UndoPlacement(int16_t cell) {
    GiveBack(FindToolRow(ConvGameObjToToolObj(GetGameboardObj(SelectedTool))));
    // The cell is still empty; it gets the empty cell's fields back too.
    BoardCell& row = BoardTable[static_cast<size_t>(cell)];
    row.group = EmptyCellGroup;
    row.button = 0;
    row.lampFlag = False;
    SelectedTool = -1;
}

void GameBdLogic::RemoveObject(int16_t cell, int row, int col) {
    if (SelectedTool == -1)
        return;
    const int16_t number = GetSpecialObjNumber(CodeAt(cell));
    const bool special = number >= 1 && number <= 18;
    const auto end = [&] { special ? BackToToolBox() : RefusedEnd(); };

    // Only the blank tool acts on an occupied cell; an object is never replaced in one press.
    const std::string name = GetGameboardObj(SelectedTool);
    if (name.substr(0, 5) != "BLANK" || !UpdateToolboxInventory(SelectedTool, cell))
        return end();
    const int16_t group = ToolboxObjectTable[static_cast<size_t>(SelectedTool)].group;

    std::vector<int16_t> cleared;
    if (IsBonusObject(number)) {
        for (int slot = 1; slot <= BonusSlots; ++slot) {
            BonusObjSlot& bonus =
                BonusObjTable[static_cast<size_t>(number)][static_cast<size_t>(slot)];
            if (bonus.cell == cell) {
                bonus = {0, -1, 1};
                break;
            }
        }
    } else if (IsClosingSquare(number) || IsKeyObject(number)) {
        bool found = false;
        for (int colour = 1; colour <= LinkColours && !found; ++colour)
            for (int slot = 1; slot <= LinkSlots && !found; ++slot) {
                if (IsClosingSquare(number)) {
                    ClosingSquareSlot& square =
                        ClosingSquareTable[static_cast<size_t>(colour)][static_cast<size_t>(slot)];
                    if ((found = square.cell == cell)) {
                        square.shutterCell = -1;
                        square.cell = -1;
                    }
                } else {
                    KeySlot& key = KeyTable[static_cast<size_t>(colour)][static_cast<size_t>(slot)];
                    if ((found = key.cell == cell)) {
                        key.cell = -1;
                        key.shutterCell = -1;
                        key.state = -1;
                    }
                }
            }
    } else if (IsColourShutter(number)) {
        bool found = false;
        for (int kind = 1; kind <= ShutterKinds && !found; ++kind)
            for (int slot = 1; slot <= LinkSlots && !found; ++slot) {
                ShutterSlot& shutter =
                    ShutterTable[static_cast<size_t>(kind)][static_cast<size_t>(slot)];
                if ((found = shutter.cell == cell)) {
                    shutter.cell = -1;
                    shutter.open = 0;
                }
            }
        // The keys and squares of a shutter go with it, whether or not it had an entry.
        RemoveShutterLinks(cell, name, group, cleared);
    }
    // An object without a link entry is taken off all the same: its count is already back.
    WriteCellRow(cell, name, group);

    for (int16_t linked : cleared) {
        MoveGridToCell(linked);
        if (!DrawCellPicture(name))
            return;
    }
    controls_.grid.SetRow(row);
    controls_.grid.SetCol(col);
    if (!DrawCellPicture(name))
        return;
    end();
}

void GameBdLogic::RemoveShutterLinks(int16_t shutterCell, const std::string& name, int16_t group,
                                     std::vector<int16_t>& cleared) {
    // Takes the object off `cell` when it still is the key or square the entry names.
    const auto takeOff = [&](int16_t cell, bool key) {
        if (!IsCell(cell))
            return true;
        const int16_t number = GetSpecialObjNumber(CodeAt(cell));
        if (key ? !IsKeyObject(number) : !IsClosingSquare(number))
            return true;
        if (!UpdateToolboxInventory(SelectedTool, cell))
            return false;
        WriteCellRow(cell, name, group);
        cleared.push_back(cell);
        return true;
    };
    for (int colour = 1; colour <= LinkColours; ++colour)
        for (int slot = 1; slot <= LinkSlots; ++slot) {
            KeySlot& key = KeyTable[static_cast<size_t>(colour)][static_cast<size_t>(slot)];
            if (key.shutterCell == shutterCell && takeOff(key.cell, true)) {
                key.shutterCell = -1;
                key.cell = -1;
                key.state = -1;
            }
        }
    for (int colour = 1; colour <= LinkColours; ++colour)
        for (int slot = 1; slot <= LinkSlots; ++slot) {
            ClosingSquareSlot& square =
                ClosingSquareTable[static_cast<size_t>(colour)][static_cast<size_t>(slot)];
            if (square.shutterCell == shutterCell && takeOff(square.cell, false)) {
                square.shutterCell = -1;
                square.cell = -1;
            }
        }
}

void GameBdLogic::InspectObject() {
    platform::BoardGrid& grid = controls_.grid;
    grid.SetDisplay(GridDisplay::SelectionMode, 2);
    const int16_t cell =
        GetCellIndex(static_cast<int16_t>(grid.Col()), static_cast<int16_t>(grid.Row()), BoardCols);
    if (!IsCell(cell))
        return;
    const std::string code = CodeAt(cell);
    if (code == "BLANK")
        return Warn("NO OBJECT AT THIS LOCATION!", "VIEW OBJECTS ON GAMEBOARD");
    const int16_t number = GetSpecialObjNumber(code);
    if (!objInfroLoaded_) {
        objInfroLoaded_ = true;
        objInfro_.FormLoad();
    }
    if (IsBonusObject(number))
        objInfro_.SetCaption("Bonus Object Information.");
    else if (IsClosingSquare(number))
        objInfro_.SetCaption("Closing Square Information.");
    else if (IsKeyObject(number))
        objInfro_.SetCaption("Key Information.");
    else if (IsColourShutter(number))
        objInfro_.SetCaption("Shutter Information.");
    else
        objInfro_.SetCaption("Game Object Information.");
    objInfro_.cellNumber = std::to_string(cell);
    objInfro_.trigType = number != 0 ? std::to_string(number) : "99";
    objInfro_.frameCapt = number != 0 ? GetSpecialObjName(code) : GetObjectDisplayName(code);
    view_.ShowObjInfro();
    grid.SetDisplay(GridDisplay::SelectionMode, 0);
}

void GameBdLogic::GridKeyDown(int key, int) {
    if (busy_)
        return;
    if (PuzzleMode != "NEW" && !(PuzzleMode == "EDIT" && key == KeyF12))
        return;
    const platform::BoardGrid& grid = controls_.grid;
    const int16_t cell =
        GetCellIndex(static_cast<int16_t>(grid.Col()), static_cast<int16_t>(grid.Row()), BoardCols);
    if (!IsCell(cell))
        return;
    const std::string code = CodeAt(cell);
    if (!IsBonusObject(GetSpecialObjNumber(code)))
        return;
    setTrigg_.cellNumber = std::to_string(cell);
    setTrigg_.trigType = code;
    view_.ShowSetTrigg();
}

void GameBdLogic::RefusedEnd() {
    if (PuzzleMode == "LOAD") {
        menus_.Enable(MenuItem::ToolBoxSetup, false);
        menus_.Enable(MenuItem::LockUnlock, false);
    } else if (PuzzleMode == "NEW" || PuzzleMode == "EDIT") {
        menus_.Enable(MenuItem::ToolBoxSetup, true);
        menus_.Enable(MenuItem::LockUnlock, true);
    }
    SelectedTool = -1;
    platform::SetPointer(platform::Pointer::Default);
}

void GameBdLogic::BackToToolBox() {
    toolBox_.SetVisible(true);
    view_.ShowToolBox();
    SelectedTool = -1;
}

bool GameBdLogic::DrawCellPicture(const std::string& name) {
    const auto fail = [](const std::string& text) {
        Warn(text, "PLACING  IMAGE  ON  GAME  BOARD");
        platform::SetPointer(platform::Pointer::Default);
        return false;
    };
    if (TrimBlanks(name).empty() || !IsPlainFileName(name))
        return fail("ERROR: GETTING IMAGE!");
    const std::string path = ImagePath + name;
    if (!FileExists(path)) {
        platform::RuntimeError error;
        switch (LoadIndexImageByCode(name, &error)) {
            case 0:
                break;
            case 1:
                return fail("ERROR: GETTING IMAGE!");
            case 2:
                return fail("ERROR: OPENING INDEX FILE");
            default:
                return fail(platform::ErrorText(error));
        }
    }
    // A file that is there but is no picture is reported like a missing one.
    if (!controls_.grid.SetCellPicture(path))
        return fail("ERROR: GETTING IMAGE!");
    return true;
}

void GameBdLogic::MoveGridToCell(int16_t cell) {
    const std::string position = FormatCellPos(cell, BoardCols);
    controls_.grid.SetRow(std::stoi(position.substr(0, 3)));
    controls_.grid.SetCol(std::stoi(position.substr(position.size() - 3)));
}

}  // namespace quarvelt

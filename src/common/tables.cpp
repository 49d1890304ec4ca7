#include "common/tables.h"

#include <algorithm>

namespace quarvelt {

std::vector<BoardCell> BoardTable;
std::array<std::array<BonusObjSlot, BonusSlots + 1>, BonusKinds + 1> BonusObjTable;
std::array<std::array<ShutterSlot, LinkSlots + 1>, ShutterKinds + 1> ShutterTable;
std::array<std::array<ClosingSquareSlot, LinkSlots + 1>, LinkColours + 1> ClosingSquareTable;
std::array<std::array<KeySlot, LinkSlots + 1>, LinkColours + 1> KeyTable;
std::array<std::array<std::string, 5>, PhotonCount + 1> PhotonState;
std::vector<PhotonPathRow> PhotonPathTable1, PhotonPathTable2, PhotonPathTable3;
std::vector<PhotonFrameRow> PhotonFrameTable1, PhotonFrameTable2, PhotonFrameTable3;
std::vector<std::array<MixerInput, MixerKinds>> MixerInputTable;
std::vector<AnimRow> AnimTable;

int16_t SelectedTool = -1;
Flag ReadyToRun = True;
Flag CellOverlayOn = False;
int16_t CustomPuzzleFlag = 0;
std::string SpecialCond;
std::string SpecialCondText;
std::string CurrentPuzzleKey;
std::string PuzzleMode = "NONE";
int16_t CreatorCancelled = 0;
std::string CurrentInfPath;
float PuzzleLoadPause = 2.0f;

void ResetTables() {
    BoardTable.clear();
    BonusObjTable = {};
    ShutterTable = {};
    ClosingSquareTable = {};
    KeyTable = {};
    PhotonState = {};
    for (auto* table : {&PhotonPathTable1, &PhotonPathTable2, &PhotonPathTable3})
        table->clear();
    for (auto* table : {&PhotonFrameTable1, &PhotonFrameTable2, &PhotonFrameTable3})
        table->clear();
    MixerInputTable.clear();
    AnimTable.clear();
    SelectedTool = -1;
    ReadyToRun = True;
    CellOverlayOn = False;
    CustomPuzzleFlag = 0;
    SpecialCond.clear();
    SpecialCondText.clear();
    CurrentPuzzleKey.clear();
    PuzzleMode = "NONE";
    CreatorCancelled = 0;
    CurrentInfPath.clear();
    PuzzleLoadPause = 2.0f;
}

std::vector<PhotonPathRow>& PhotonPath(int photon) {
    return photon == 1 ? PhotonPathTable1 : photon == 2 ? PhotonPathTable2 : PhotonPathTable3;
}

std::vector<PhotonFrameRow>& PhotonFrames(int photon) {
    return photon == 1 ? PhotonFrameTable1 : photon == 2 ? PhotonFrameTable2 : PhotonFrameTable3;
}

void ResetLinkTables(BonusObjGrid& bonus, ShutterGrid& shutters, ClosingSquareGrid& squares,
                     KeyGrid& keys) {
    bonus = {};
    shutters = {};
    squares = {};
    keys = {};
    for (int kind = 1; kind <= BonusKinds; ++kind)
        for (int n = 1; n <= BonusSlots; ++n)
            bonus[kind][n] = {0, -1, -1};
    for (int kind = 1; kind <= ShutterKinds; ++kind)
        for (int n = 1; n <= LinkSlots; ++n)
            shutters[kind][n] = {-1, 0, static_cast<int16_t>(kind + ShutterNumberBase)};
    for (int colour = 1; colour <= LinkColours; ++colour) {
        for (int n = 1; n <= LinkSlots; ++n) {
            squares[colour][n] = {static_cast<int16_t>(colour + SquareNumberBase), -1, -1};
            keys[colour][n] = {-1, -1, static_cast<int16_t>(colour + KeyNumberBase), -1};
        }
    }
}

void ResetLinkTables() {
    ResetLinkTables(BonusObjTable, ShutterTable, ClosingSquareTable, KeyTable);
}

PhotonPathRow ResetPhotonPathRow() {
    const std::string noPicture(26, ' ');
    PhotonPathRow row;
    row.walkEnds = False;
    row.nextCell = -1;
    row.firstFrame = noPicture;
    row.lastFrame = noPicture;
    row.cell = -1;
    row.splitCell = -1;
    row.restingPicture = noPicture;
    return row;
}

MixerInput ResetMixerInput() {
    MixerInput entry;
    entry.firstArrived = "F";
    entry.secondArrived = "F";
    entry.size = "_";
    entry.direction = "_";
    return entry;
}

namespace {

size_t Cells() {
    return CellCount > 0 ? static_cast<size_t>(CellCount) : 0;
}

}  // namespace

void ResetPhotonTables() {
    PhotonState = {};
    for (int photon = 1; photon <= PhotonCount; ++photon)
        PhotonState[photon] = {"", "_", "_", "_", "__"};
    const PhotonPathRow resetRow = ResetPhotonPathRow();
    for (auto* table : {&PhotonPathTable1, &PhotonPathTable2, &PhotonPathTable3})
        table->assign(Cells(), resetRow);
    for (auto* table : {&PhotonFrameTable1, &PhotonFrameTable2, &PhotonFrameTable3})
        table->assign(Cells(), PhotonFrameRow{});
}

void ResetMixerInputTable() {
    const MixerInput entry = ResetMixerInput();
    MixerInputTable.assign(Cells(), {entry, entry, entry});
}

void ResetPathTables() {
    for (auto* table : {&PhotonFrameTable1, &PhotonFrameTable2, &PhotonFrameTable3})
        table->assign(Cells(), PhotonFrameRow{});
    const PhotonPathRow resetRow = ResetPhotonPathRow();
    for (auto* table : {&PhotonPathTable1, &PhotonPathTable2, &PhotonPathTable3}) {
        if (table->size() < Cells())
            table->resize(Cells());
        std::fill_n(table->begin(), Cells(), resetRow);
    }
}

}  // namespace quarvelt

#include "board/placement.h"

#include <array>
#include <string>

#include "common/globals.h"
#include "common/tables.h"
#include "common/text.h"
#include "common/toolbox_catalogue.h"
#include "platform/services.h"

namespace quarvelt {

namespace {

constexpr const char* PlacementTitle = "PLACE   OBJECT   IN   PUZZLE";
constexpr const char* PlacementText =
    "ERROR:   INVALID OBJECT PLACEMENT!\r\rYou Can't place this object here!";

// Position classes of a cell, as bits so that one rule names all the classes it refuses.
enum Position : unsigned {
    Interior = 0,
    TopLeft = 1u << 0,
    TopRight = 1u << 1,
    BottomLeft = 1u << 2,
    BottomRight = 1u << 3,
    TopRow = 1u << 4,
    BottomRow = 1u << 5,
    LeftColumn = 1u << 6,
    RightColumn = 1u << 7,
};

constexpr unsigned Corners = TopLeft | TopRight | BottomLeft | BottomRight;
// Objects a photon crosses left to right, or top to bottom, need a cell on both sides.
constexpr unsigned Horizontal = Corners | TopRow | BottomRow;
constexpr unsigned Vertical = Corners | LeftColumn | RightColumn;
constexpr unsigned Edges = Corners | TopRow | BottomRow | LeftColumn | RightColumn;
constexpr unsigned Bottom = BottomLeft | BottomRight | BottomRow;

struct Rule {
    std::string_view code;
    unsigned refusedIn;
};

constexpr std::array<Rule, 68> Rules{{
    {"FLTHC", Horizontal},
    {"FLTHM", Horizontal},
    {"FLTHY", Horizontal},
    {"MXHCB", Horizontal},
    {"MXHCT", Horizontal},
    {"MXHMB", Horizontal},
    {"MXHMT", Horizontal},
    {"MXHYB", Horizontal},
    {"MXHYT", Horizontal},
    {"SHHBN", Horizontal},
    {"SHHGR", Horizontal},
    {"SHHOR", Horizontal},
    {"PHHB_", Horizontal},
    {"PHHC_", Horizontal},
    {"PHHT_", Horizontal},
    {"FLTVC", Vertical},
    {"FLTVM", Vertical},
    {"FLTVY", Vertical},
    {"MXVCL", Vertical},
    {"MXVCR", Vertical},
    {"MXVML", Vertical},
    {"MXVMR", Vertical},
    {"MXVYL", Vertical},
    {"MXVYR", Vertical},
    {"LENCC", Vertical},
    {"LENCV", Vertical},
    {"SHVBN", Vertical},
    {"SHVGR", Vertical},
    {"SHVOR", Vertical},
    {"PHVC_", Vertical},
    {"PHVL_", Vertical},
    {"PHVR_", Vertical},
    {"SPLTF", Edges},
    {"SPLTB", Edges},
    {"SPLRR", Edges},
    {"SPLRL", Edges},
    {"SPLBR", Edges},
    {"SPLBL", Edges},
    {"SPLGR", Edges},
    {"SPLGL", Edges},
    {"APPLE", Corners},
    {"DIAY_", Corners},
    {"FACY_", Corners},
    {"HRTRD", Corners},
    {"MINER", Corners},
    {"PUZM_", Corners},
    {"SQBN_", Corners},
    {"SQGR_", Corners},
    {"SQOR_", Corners},
    {"KEYBN", Corners},
    {"KEYGR", Corners},
    {"KEYOR", Corners},
    {"DETBL", Bottom},
    {"DETGN", Bottom},
    {"DETRD", Bottom},
    {"DETWH", Bottom},
    {"DETCY", Bottom},
    {"DETYL", Bottom},
    {"DETMG", Bottom},
    {"LAMP_", TopRight | BottomRight | RightColumn},
    {"REFHT", TopLeft | TopRight | TopRow},
    {"REFHB", BottomLeft | BottomRight | BottomRow},
    {"REFVL", TopLeft | BottomLeft | LeftColumn},
    {"REFVR", TopRight | BottomRight | RightColumn},
    {"REFLD", TopLeft | BottomLeft | BottomRight | BottomRow | LeftColumn},
    {"REFLU", TopLeft | TopRight | BottomLeft | TopRow | LeftColumn},
    {"REFRD", TopRight | BottomLeft | BottomRight | BottomRow | RightColumn},
    {"REFRU", TopLeft | TopRight | BottomRight | TopRow | RightColumn},
}};

constexpr std::array<std::string_view, Rules.size()> RuleCodes = [] {
    std::array<std::string_view, Rules.size()> codes{};
    for (size_t i = 0; i < Rules.size(); ++i)
        codes[i] = Rules[i].code;
    return codes;
}();

// The boards are at least 10 by 10, so the classes never overlap.
Position PositionOf(int cell) {
    const int cols = BoardCols;
    const int count = CellCount;
    if (cell == 0)
        return TopLeft;
    if (cell == cols - 1)
        return TopRight;
    if (cell == count - cols)
        return BottomLeft;
    if (cell == count - 1)
        return BottomRight;
    if (cell >= 1 && cell <= cols - 2)
        return TopRow;
    if (cell >= count - cols + 1 && cell <= count - 2)
        return BottomRow;
    if (cell % cols == cols - 1)
        return RightColumn;
    if (cell % cols == 0)
        return LeftColumn;
    return Interior;
}

bool Refused(const std::string& code, Position position) {
    for (const Rule& rule : Rules)
        if (rule.code == code)
            return (rule.refusedIn & position) != 0;
    return false;
}

}  // namespace

int16_t CheckObjectPlacement(int16_t tool, int16_t cell) {
    if (BoardCols < 1 || cell < 0 || cell >= CellCount ||
        static_cast<size_t>(cell) >= BoardTable.size())
        return PlacementNoTool;

    const BoardCell& board = BoardTable[static_cast<size_t>(cell)];
    // Cut before trimming: a blank in front of "BLANK" makes the cell occupied.
    if (UpperCase(TrimBlanks(board.pictureName.substr(0, 5))) != "BLANK")
        return board.lockFlag == True ? PlacementLocked : PlacementOccupied;

    if (tool < 0 || tool >= ToolboxRowCount)
        return PlacementNoTool;
    const std::string code = UpperCase(ToolboxObjectTable[tool].stem).substr(0, 5);
    if (!Refused(code, PositionOf(cell)))
        return PlacementAllowed;

    platform::Beep();
    platform::MsgBox(PlacementText, platform::MsgOkOnly | platform::MsgExclamation, PlacementTitle);
    return PlacementForbidden;
}

std::span<const std::string_view> RestrictedToolCodes() {
    return RuleCodes;
}

}  // namespace quarvelt

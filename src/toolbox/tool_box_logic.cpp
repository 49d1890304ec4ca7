#include "toolbox/tool_box_logic.h"

#include <algorithm>
#include <string_view>

#include "board/board_model.h"
#include "common/globals.h"
#include "common/image_index.h"
#include "common/library.h"
#include "common/tables.h"
#include "common/text.h"
#include "common/toolbox_catalogue.h"
#include "common/vocabulary.h"
#include "platform/services.h"

namespace quarvelt {

const std::array<const char*, ToolGroupCount> ToolBoxLogic::GroupCaptions = {
    "Barrers", "Reflectors", "Filters/Mixers", "Triggers", "Shutters", "Miscellaneous"};

namespace {

using platform::GridDisplay;

constexpr const char* Unlimited = "Items Remaining = UNLIMITED.";
constexpr int16_t MiscellaneousGroup = 5;

// The splitters, lenses and detectors of the Miscellaneous group.
constexpr std::string_view CountedMiscCodes[] = {
    "SPLTF", "SPLTB", "SPLRR", "SPLRL", "SPLBR", "SPLBL", "SPLGR", "SPLGL", "LENCC",
    "LENCV", "DETBL", "DETGN", "DETRD", "DETCY", "DETMG", "DETYL", "DETWH"};

std::string Stem(int16_t row) {
    return TrimBlanks(ToolboxObjectTable[static_cast<size_t>(row)].stem);
}

bool IsCountedMisc(const std::string& code) {
    return std::find(std::begin(CountedMiscCodes), std::end(CountedMiscCodes), code) !=
           std::end(CountedMiscCodes);
}

// The tooltip of a row: what is left of its allowed count; -1 allows without limit.
std::string Remaining(int16_t row) {
    const ToolboxObjectRow& entry = ToolboxObjectTable[static_cast<size_t>(row)];
    if (entry.allowed == -1)
        return Unlimited;
    return "Items Remaining = " + std::to_string(entry.allowed - entry.used);
}

void ClearButtonNumbers() {
    for (ToolboxObjectRow& row : ToolboxObjectTable)
        row.button = -1;
}

// The first up row of `group` that has no button yet, or -1.
int16_t NextUpRow(int16_t group) {
    for (int16_t row = 0; row < ToolboxRowCount; ++row) {
        const ToolboxObjectRow& entry = ToolboxObjectTable[static_cast<size_t>(row)];
        if (entry.group == group && entry.button == -1 && entry.IsUp())
            return row;
    }
    return -1;
}

// The down row paired with `upRow`: same group, same stem but for its last character.
int16_t DownRowOf(int16_t upRow) {
    const ToolboxObjectRow& up = ToolboxObjectTable[static_cast<size_t>(upRow)];
    const std::string upStem = UpperCase(Stem(upRow));
    for (int16_t row = 0; row < ToolboxRowCount; ++row) {
        const ToolboxObjectRow& entry = ToolboxObjectTable[static_cast<size_t>(row)];
        const std::string stem = UpperCase(Stem(row));
        if (entry.group == up.group && entry.button == -1 && stem.ends_with('D') &&
            stem.substr(0, stem.size() - 1) == upStem.substr(0, upStem.size() - 1))
            return row;
    }
    return -1;
}

// A little space between the board and the tool box, so the board's edge shows.
constexpr int ToolBoxGap = 8;

// Where a span of `size` that would start at `wanted` starts so as to lie
// between `low` and `high`; a span longer than that starts at `low`.
int WithinScreen(int wanted, int size, int low, int high) {
    return std::max(std::min(wanted, high - size), low);
}

}  // namespace

ScreenRect ToolBoxPlace(const ScreenRect& board, int boxWidth, int boxHeight,
                        const ScreenRect& screen) {
    ScreenRect place{0, 0, boxWidth, boxHeight};
    if (board.Right() + ToolBoxGap + boxWidth <= screen.Right())
        place.left = board.Right() + ToolBoxGap;
    else if (board.left - ToolBoxGap - boxWidth >= screen.left)
        place.left = board.left - ToolBoxGap - boxWidth;
    else
        place.left = screen.Right() - boxWidth;
    // A board that lies off the screen, in part or wholly, draws the box only
    // as far as the screen's edge.
    place.left = WithinScreen(place.left, boxWidth, screen.left, screen.Right());
    place.top = WithinScreen(board.top, boxHeight, screen.top, screen.Bottom());
    return place;
}

int ToolBoxRoom(const ScreenRect& centredBoard, int boxWidth, int boxHeight,
                const ScreenRect& screen) {
    const ScreenRect place = ToolBoxPlace(centredBoard, boxWidth, boxHeight, screen);
    // A box closer to the board than the gap touches it, and counts as over it.
    const bool over = place.left < centredBoard.Right() + ToolBoxGap &&
                      centredBoard.left - ToolBoxGap < place.Right() &&
                      place.top < centredBoard.Bottom() && centredBoard.top < place.Bottom();
    return over ? boxWidth + ToolBoxGap : 0;
}

void ToolBoxLogic::Changed() {
    if (changed)
        changed();
}

std::string ToolBoxLogic::FetchPicture(int16_t row) {
    const ToolboxObjectRow& entry = ToolboxObjectTable[static_cast<size_t>(row)];
    const std::string name = Stem(row) + ".BMP";
    if (!IsPlainFileName(name)) {
        PictureFailed();
        return "";
    }
    const std::string path = ImagePath + name;
    if (!FileExists(path) &&
        ExtractMixFile(entry.archiveId, entry.archiveOffset, name, entry.imageSize)) {
        PictureFailed();
        return "";
    }
    return path;
}

void ToolBoxLogic::PictureFailed() {
    if (failureReported_)
        return;
    failureReported_ = true;
    platform::Beep();
    platform::MsgBox(
        "ERROR: GETTING IMAGE!\r\rSome tool pictures can't be shown;\rtheir buttons show the "
        "object's code instead.",
        platform::MsgOkOnly | platform::MsgExclamation, "TOOLBOX  SELECTION");
}

void ToolBoxLogic::FormLoad() {
    ClearButtonNumbers();
    for (ToolButtonState& button : buttons_) {
        button.visible = false;
        button.enabled = false;
    }
    GroupPass(MiscellaneousGroup, true);
    // Choosing the option runs the group choice while the mode is still empty.
    selectedOption_ = MiscellaneousGroup;
    GroupClick(MiscellaneousGroup);
    currentGroup_ = MiscellaneousGroup;
    Changed();
}

void ToolBoxLogic::GroupClick(int group) {
    if (group < 0 || group >= ToolGroupCount)
        return;
    selectedOption_ = group;
    ClearButtonNumbers();
    for (ToolButtonState& button : buttons_) {
        button.visible = false;
        button.enabled = false;
        button.tooltip.clear();
    }
    if (mode == "DM" || mode == "GM") {
        // The game tool box offers nothing of the barrier, trigger and shutter groups.
        if (mode == "DM" || group == 1 || group == 2 || group == MiscellaneousGroup)
            GroupPass(static_cast<int16_t>(group), false);
        currentGroup_ = static_cast<int16_t>(group);
    }
    Changed();
}

void ToolBoxLogic::LayOutAgain() {
    GroupClick(currentGroup_);
    Activate();
}

void ToolBoxLogic::GroupPass(int group, bool load) {
    for (int k = 0; k < ToolButtonCount; ++k) {
        const int16_t up = NextUpRow(static_cast<int16_t>(group));
        if (up < 0)
            continue;
        ToolButtonState& button = buttons_[static_cast<size_t>(k)];
        ToolboxObjectRow& entry = ToolboxObjectTable[static_cast<size_t>(up)];
        button.picture = FetchPicture(up);
        button.code = entry.Code();
        if (!load) {
            button.enabled = IsTrue(entry.enabled);
            button.visible = IsTrue(entry.shown);
            if (mode == "GM" && group == MiscellaneousGroup && button.code == "LAMP_") {
                button.enabled = false;
                button.visible = false;
            }
            button.tooltip = Remaining(up);
        }
        entry.button = static_cast<int16_t>(k);
        const int16_t down = DownRowOf(up);
        if (down >= 0) {
            button.downPicture = FetchPicture(down);
            ToolboxObjectTable[static_cast<size_t>(down)].button = static_cast<int16_t>(k);
        }
    }
}

void ToolBoxLogic::Activate() {
    if (mode != "GM" && mode != "DM")
        return;
    const bool design = mode == "DM";
    ClearButtonNumbers();
    int k = 0;
    for (int16_t row = 0; row < ToolboxRowCount && k < ToolButtonCount; ++row) {
        ToolButtonState& button = buttons_[static_cast<size_t>(k)];
        button.enabled = false;
        button.visible = false;
        ToolboxObjectRow& entry = ToolboxObjectTable[static_cast<size_t>(row)];
        if (entry.group != currentGroup_ || !entry.IsUp())
            continue;
        entry.button = static_cast<int16_t>(k);
        const std::string code = entry.Code();
        button.code = code;
        const bool blank = currentGroup_ == MiscellaneousGroup && code == "BLANK";
        bool offered = false;
        if (design) {
            offered = true;
        } else {
            switch (currentGroup_) {
                case 1:
                    offered = code.starts_with("REF");
                    break;
                case 2:
                    offered = IsFilterCode(code) || IsMixerCode(code);
                    break;
                case MiscellaneousGroup:
                    offered = blank || IsCountedMisc(code);
                    if (code == "LAMP_")
                        button.tooltip = Remaining(row);
                    break;
                default:
                    break;
            }
        }
        if (offered) {
            button.enabled = IsTrue(entry.enabled);
            button.visible = IsTrue(entry.shown);
            // The design tool box tells every count as it stands; the game tool box
            // always offers the blank.
            button.tooltip = blank && !design ? std::string(Unlimited) : Remaining(row);
        }
        ++k;
    }
    // Buttons left without a row show nothing, whatever an earlier pass left on them.
    for (; k < ToolButtonCount; ++k) {
        buttons_[static_cast<size_t>(k)].enabled = false;
        buttons_[static_cast<size_t>(k)].visible = false;
    }
    for (int group = 0; group < ToolGroupCount; ++group)
        options_[static_cast<size_t>(group)] = {design || group != 0, design || group != 0};
    grid_.SetDisplay(platform::GridDisplay::FocusRect, 1);
    grid_.SetDisplay(platform::GridDisplay::SelectionMode, 2);
    grid_.SetDisplay(platform::GridDisplay::HighLight, 0xC0C0C0);
    Changed();
}

void ToolBoxLogic::ToolClick(int index) {
    for (int16_t row = 0; row < ToolboxRowCount; ++row) {
        const ToolboxObjectRow& entry = ToolboxObjectTable[static_cast<size_t>(row)];
        if (entry.button != index || !entry.IsUp())
            continue;
        // An allowed count of -1 offers the object without limit.
        if (entry.allowed == -1 || entry.used < entry.allowed) {
            SelectedTool = row;
        } else {
            SelectedTool = -1;
            platform::MsgBox("ITEM NO LONGER AVALIBLE!",
                             platform::MsgOkOnly | platform::MsgExclamation, "TOOLBOX  SELECTION");
        }
        return;
    }
}

void ToolBoxLogic::OverlayClick() {
    ToggleCellOverlay(grid_);
}

void ToolBoxLogic::ExitClick() {
    SelectedTool = -1;
    grid_.SetDisplay(platform::GridDisplay::SelectionMode, 0);
    grid_.SetDisplay(platform::GridDisplay::HighLight, 0);
    grid_.SetDisplay(platform::GridDisplay::FocusRect, 0);
    visible_ = false;
    Changed();
}

}  // namespace quarvelt

#include "toolbox/tb_setup_logic.h"

#include <limits>

#include "board/object_codes.h"
#include "common/globals.h"
#include "common/image_index.h"
#include "common/library.h"
#include "common/tables.h"
#include "common/text.h"
#include "platform/services.h"

namespace quarvelt {

const std::array<const char*, SetupGroupCount> TBSetupLogic::GroupCaptions = {
    "Barrers", "Reflectors", "Filters/Mixers", "Triggers", "Shutters", "Miscellaneous"};

namespace {

constexpr const char* Title = "TOOLBOX   ITEMS";
constexpr int16_t MiscellaneousGroup = 5;
// Where the Miscellaneous group's blank and lamp stand; the author sets neither's count.
constexpr int BlankPosition = 0;
constexpr int LampPosition = 8;

struct LimitRange {
    int group;
    int first;
    int last;
    SetupLimit limit;
};

// The limits keep every object within what its link tables and the board can hold.
constexpr LimitRange LimitRanges[] = {
    {0, 0, 65, {99, "Only 99 Barrer/Walls are allowed.", "99"}},
    {1, 0, 8, {20, "Only 20 of this Reflector are allowed.", "20"}},
    {2, 0, 17, {10, "Only 10 of this Filter/Mixer are allowed.", "10"}},
    {3, 4, 6, {32, "Only 32 of this Trigger are allowed.", "32"}},
    {3, 9, 11, {32, "Only 32 of this Trigger are allowed.", "32"}},
    {3, 0, 3, {16, "Only 16 of this Trigger are allowed.", "16"}},
    {3, 7, 8, {16, "Only 16 of this Trigger are allowed.", "16"}},
    {4, 0, 7, {32, "Only 32 of this Shutterr are allowed.", "32"}},
    {5, 1, 7, {4, "Only 4 of this Detector are allowed.", "4"}},
    {5, 9, 10, {8, "Only 8 of this Lens are allowed.", "8"}},
    {5, 11, 12, {4, "Only 4 of this Splitter are allowed.", "4"}},
    {5, 13, 18, {4, "Only 4 of this Color Splitter are allowed.", "4"}},
};

constexpr const char* GroupUpdated[SetupGroupCount] = {
    "Barrer/Walls Updated.", "Reflectors Updated.", "Filters Updated.",
    "Triggers Updated.",     "Shutters Updated.",   "Miscellanious items Updated."};

bool IsFixedPosition(int group, int position) {
    return group == MiscellaneousGroup && (position == BlankPosition || position == LampPosition);
}

}  // namespace

std::optional<SetupLimit> TBSetupLogic::LimitOf(int group, int position) {
    for (const LimitRange& range : LimitRanges)
        if (range.group == group && position >= range.first && position <= range.last)
            return range.limit;
    return std::nullopt;
}

void RecountUsedFromBoard() {
    for (ToolboxObjectRow& row : ToolboxObjectTable)
        row.used = 0;
    for (const BoardCell& cell : BoardTable) {
        if (cell.pictureName.substr(0, 5) == "BLANK")
            continue;
        const std::string code = UpperCase(ConvGameObjToToolObj(cell.pictureName));
        const int16_t found = FindToolRow(code);
        if (found < 0)
            continue;
        ToolboxObjectRow& row = ToolboxObjectTable[static_cast<size_t>(found)];
        if (row.CountedOnBoard() && row.used < std::numeric_limits<int16_t>::max())
            ++row.used;
    }
}

void TBSetupLogic::Changed() {
    if (changed)
        changed();
}

int16_t TBSetupLogic::RowAt(int position) const {
    for (int16_t i = 0; i < ToolboxRowCount; ++i) {
        const ToolboxObjectRow& row = work_[static_cast<size_t>(i)];
        if (row.group == setupGroup_ && row.button == position && row.IsUp())
            return i;
    }
    return -1;
}

void TBSetupLogic::FillWorkTable() {
    work_ = ToolboxObjectTable;
    // Field 4 holds the set-up's positions here, not the tool box's buttons.
    for (ToolboxObjectRow& row : work_)
        row.button = -1;
}

std::string TBSetupLogic::FetchPicture(const ToolboxObjectRow& row) {
    const std::string name = TrimBlanks(row.stem) + ".BMP";
    if (!IsPlainFileName(name)) {
        PictureFailed();
        return "";
    }
    const std::string path = ImagePath + name;
    if (!FileExists(path) &&
        ExtractMixFile(row.archiveId, row.archiveOffset, name, row.imageSize)) {
        PictureFailed();
        return "";
    }
    return path;
}

void TBSetupLogic::PictureFailed() {
    if (failureReported_)
        return;
    failureReported_ = true;
    platform::Beep();
    platform::MsgBox(
        "ERROR: GETTING IMAGE!\r\rSome tool pictures can't be shown;\rtheir places show the "
        "object's code instead.",
        platform::MsgOkOnly | platform::MsgExclamation, Title);
}

void TBSetupLogic::FormLoad() {
    if (moveToolBoxHome)
        moveToolBoxHome();
    FillWorkTable();
    visible_ = true;
    GroupClick(MiscellaneousGroup);
}

void TBSetupLogic::ClearPosition(int position, bool keepCheck) {
    SetupPosition& shown = positions_[static_cast<size_t>(position)];
    const int check = shown.check;
    shown = SetupPosition{};
    if (keepCheck)
        shown.check = check;
}

void TBSetupLogic::LayOut(bool keepChecks) {
    for (ToolboxObjectRow& row : work_)
        row.button = -1;
    for (int p = 0; p < SetupPositionCount; ++p) {
        ClearPosition(p, keepChecks);
        int16_t found = -1;
        for (int16_t i = 0; i < ToolboxRowCount && found < 0; ++i) {
            const ToolboxObjectRow& row = work_[static_cast<size_t>(i)];
            if (row.group == setupGroup_ && row.button == -1 && row.IsUp())
                found = i;
        }
        if (found < 0)
            continue;
        ToolboxObjectRow& row = work_[static_cast<size_t>(found)];
        SetupPosition& shown = positions_[static_cast<size_t>(p)];
        shown.picture = FetchPicture(row);
        shown.code = row.Code();
        row.button = static_cast<int16_t>(p);
        if (IsFixedPosition(setupGroup_, p)) {
            // The blank holds its place unseen; the lamp's count shows but is the program's.
            if (p == LampPosition) {
                shown.pictureVisible = true;
                shown.count = std::to_string(row.allowed);
                shown.countVisible = true;
            }
            continue;
        }
        shown.pictureVisible = true;
        shown.count = std::to_string(row.allowed);
        shown.countVisible = true;
        shown.checkVisible = true;
        shown.checkEnabled = true;
        shown.check = IsTrue(row.enabled) ? CheckOn : CheckOff;
        shown.countEnabled = IsTrue(row.enabled);
    }
}

void TBSetupLogic::GroupClick(int group) {
    if (group < 0 || group >= SetupGroupCount)
        return;
    focus_ = -1;
    setupGroup_ = static_cast<int16_t>(group);
    rowLabels_.fill(false);
    const int labelled = group == 0 ? 6 : (group == 3 || group == 5) ? 2 : 1;
    for (int r = 0; r < labelled; ++r)
        rowLabels_[static_cast<size_t>(r)] = true;
    LayOut(false);
    Changed();
}

void TBSetupLogic::AcceptClick() {
    focus_ = -1;
    for (int p = 0; p < SetupPositionCount; ++p) {
        const std::optional<SetupLimit> limit = LimitOf(setupGroup_, p);
        SetupPosition& shown = positions_[static_cast<size_t>(p)];
        if (!limit || CaptionNumber(shown.count) <= limit->limit)
            continue;
        platform::Beep();
        platform::MsgBox(std::string("INVALID NUMBER OF OBJECTS!\r\r") + limit->line,
                         platform::MsgOkOnly | platform::MsgExclamation, Title);
        shown.countEnabled = true;
        shown.count = limit->resetText;
        focus_ = p;
        return Changed();
    }

    for (int p = 0; p < SetupPositionCount; ++p) {
        const int16_t i = RowAt(p);
        if (i < 0)
            continue;
        ToolboxObjectRow& row = work_[static_cast<size_t>(i)];
        SetupPosition& shown = positions_[static_cast<size_t>(p)];
        if (shown.check == CheckOn) {
            row.enabled = True;
            row.shown = True;
            // The blank and the lamp keep their counts: the program sets them.
            if (!IsFixedPosition(setupGroup_, p))
                row.allowed = CaptionNumber(shown.count);
        } else if (shown.check == CheckOff) {
            row.enabled = False;
            row.shown = False;
        }
        // A count box follows its check box once the group is accepted.
        if (shown.checkVisible && shown.check != CheckGrayed)
            shown.countEnabled = shown.check == CheckOn;
    }
    Changed();
    platform::Beep();
    platform::MsgBox(GroupUpdated[setupGroup_], platform::MsgOkOnly | platform::MsgInformation,
                     Title);
}

void TBSetupLogic::UpdateClick() {
    focus_ = -1;
    for (size_t i = 0; i < work_.size(); ++i) {
        const ToolboxObjectRow& from = work_[i];
        ToolboxObjectRow& to = ToolboxObjectTable[i];
        to.shown = from.shown;
        to.stem = from.stem;
        to.group = from.group;
        to.archiveOffset = from.archiveOffset;
        to.enabled = from.enabled;
        to.allowed = from.allowed;
        to.archiveId = from.archiveId;
        to.imageSize = from.imageSize;
        to.button = -1;
    }
    // The objects already on the board stay counted out of the tool box.
    RecountUsedFromBoard();
    for (size_t i = 0; i < work_.size(); ++i)
        work_[i].used = ToolboxObjectTable[i].used;
    platform::Beep();
    platform::MsgBox("TOOLBOX UPDATED", platform::MsgOkOnly | platform::MsgInformation, Title);
}

void TBSetupLogic::DisableAllClick() {
    focus_ = -1;
    for (int p = 0; p < SetupPositionCount; ++p)
        positions_[static_cast<size_t>(p)].check =
            IsFixedPosition(setupGroup_, p) ? CheckOn : CheckOff;
    Changed();
}

void TBSetupLogic::ResetClick() {
    focus_ = -1;
    LoadToolboxObjects();
    RecountUsedFromBoard();
    FillWorkTable();
    LayOut(true);
    Changed();
}

void TBSetupLogic::CheckClick(int position) {
    focus_ = -1;
    if (position < 0 || position >= SetupPositionCount)
        return;
    SetupPosition& shown = positions_[static_cast<size_t>(position)];
    if (!shown.checkVisible || !shown.checkEnabled)
        return;
    shown.check = shown.check == CheckOn ? CheckOff : CheckOn;
    const int16_t i = RowAt(position);
    if (i >= 0)
        work_[static_cast<size_t>(i)].enabled = shown.check == CheckOn ? True : False;
    Changed();
}

bool TBSetupLogic::TypingAllowed(const std::string& before, const std::string& after) {
    return after.size() <= CountTypingLength || after.size() < before.size();
}

void TBSetupLogic::CountEdited(int position, const std::string& text) {
    focus_ = -1;
    if (position < 0 || position >= SetupPositionCount)
        return;
    SetupPosition& shown = positions_[static_cast<size_t>(position)];
    if (shown.countVisible && shown.countEnabled && TypingAllowed(shown.count, text))
        shown.count = text;
    Changed();
}

void TBSetupLogic::CountLeft(int position) {
    focus_ = -1;
    if (position < 0 || position >= SetupPositionCount)
        return;
    const SetupPosition& shown = positions_[static_cast<size_t>(position)];
    const int16_t i = RowAt(position);
    if (i < 0 || !shown.countEnabled || IsFixedPosition(setupGroup_, position))
        return;
    const int16_t count = CaptionNumber(shown.count);
    const std::optional<SetupLimit> limit = LimitOf(setupGroup_, position);
    // Past its limit the count stays as stored; the accept will refuse the box.
    if (!limit || count <= limit->limit)
        work_[static_cast<size_t>(i)].allowed = count;
}

void TBSetupLogic::ExitClick() {
    visible_ = false;
    Changed();
}

}  // namespace quarvelt

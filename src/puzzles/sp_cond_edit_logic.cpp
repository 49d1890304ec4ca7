#include "puzzles/sp_cond_edit_logic.h"

#include <algorithm>
#include <utility>

#include "common/tables.h"
#include "common/text.h"
#include "platform/services.h"

namespace quarvelt {

namespace {

constexpr const char* ListTitle = "SPECIAL CONDITIONS";
constexpr const char* SetupTitle = "SETUP   SPECIAL   CONDITIONS";
constexpr const char* AddTitle = "ADD  NEW  SPECIAL  CONDITION";
constexpr const char* UpdateTitle = "UPDATE  SPECIAL  CONDITIONS";
constexpr const char* RemovingTitle = "REMOVING  A  SPECIAL  CONDITION";
constexpr const char* RemoveTitle = "REMOVE  SPECIAL  CONDITION";

constexpr int16_t FirstCustom = FixedSpecialCondCount + 1;
constexpr int16_t LastCustom = SpecialCondRecordCount;

using platform::Warn;

// Results of the editor come without a beep.
void Tell(const std::string& text, const char* title) {
    platform::MsgBox(text, platform::MsgOkOnly | platform::MsgInformation, title);
}

void ReportFileError(const platform::RuntimeError& error, const char* title) {
    Warn(platform::ErrorText(error), title);
}

// Characters of a code from a 1-based position; empty past its end.
std::string Mid(const std::string& code, size_t position, size_t length) {
    if (position < 1 || position > code.size())
        return {};
    return code.substr(position - 1, length);
}

bool IsCustom(int16_t number) {
    return number >= FirstCustom && number <= LastCustom;
}

}  // namespace

std::string SpCondChoice::Text() const {
    if (picked < 0 || static_cast<size_t>(picked) >= entries.size())
        return {};
    return entries[static_cast<size_t>(picked)];
}

void SpCondChoice::Put(const std::string& text) {
    for (size_t k = 0; k < entries.size(); ++k) {
        if (entries[k] == text) {
            picked = static_cast<int>(k);
            return;
        }
        if (text.empty()) {
            picked = -1;
            return;
        }
    }
}

SpCondChoice& SpCondPhoton::Choice(SpCondChoiceKind kind) {
    return const_cast<SpCondChoice&>(std::as_const(*this).Choice(kind));
}

const SpCondChoice& SpCondPhoton::Choice(SpCondChoiceKind kind) const {
    switch (kind) {
        case SpCondChoiceKind::Color:
            return color;
        case SpCondChoiceKind::Size:
            return size;
        case SpCondChoiceKind::Det:
            return det;
        case SpCondChoiceKind::Delay:
            break;
    }
    return delay;
}

SpCondEditLogic::SpCondEditLogic(std::string cataloguePath) : path_(std::move(cataloguePath)) {
    // Photon A always carries a block: its box shows checked and cannot change.
    photons_[0].checked = true;
}

void SpCondEditLogic::Changed() {
    if (changed)
        changed();
}

void SpCondEditLogic::FillCondCombos() {
    for (int i = 0; i < CondPhotonCount; ++i) {
        SpCondPhoton& photon = photons_[static_cast<size_t>(i)];
        if (i > 0)
            photon.checked = false;
        // The time lists have no entries and are never filled.
        photon.color = {ColorEntries(i > 0), -1};
        photon.size = {SizeEntries(i > 0), -1};
        photon.det = {DetEntries(i > 0), -1};
    }
}

bool SpCondEditLogic::LoadCondList() {
    lines_.clear();
    selected_ = -1;
    std::vector<SpecialCondRecord> records;
    if (auto error = ReadSpecialCondFile(path_, records)) {
        ReportFileError(error, ListTitle);
        return false;
    }
    for (const SpecialCondRecord& record : records)
        if (!record.Empty())
            lines_.push_back({" " + record.condDesc, CaptionNumber(record.condNo)});
    return true;
}

void SpCondEditLogic::Activate() {
    visible_ = true;
    focus_ = SpCondFocus::None;
    FillCondCombos();
    LoadCondList();
    editCondNo_ = "00";
    editCondCode_ = StartSpecialCondCode();
    tallyAmt = "0000";
    condNum_.clear();
    frames_ = {true, true, true};
    commands_ = {};
    Changed();
}

void SpCondEditLogic::PhotonNumClick(int photon, bool checked) {
    focus_ = SpCondFocus::None;
    if (photon < 1 || photon >= CondPhotonCount)
        return;
    photons_[static_cast<size_t>(photon)].checked = checked;
    Changed();
}

void SpCondEditLogic::ChoiceClick(int photon, SpCondChoiceKind kind, int entry) {
    focus_ = SpCondFocus::None;
    if (photon < 0 || photon >= CondPhotonCount)
        return;
    SpCondChoice& choice = photons_[static_cast<size_t>(photon)].Choice(kind);
    if (entry < -1 || entry >= static_cast<int>(choice.entries.size()))
        return;
    choice.picked = entry;
    Changed();
}

void SpCondEditLogic::PutChoice(int photon, SpCondChoiceKind kind, const std::string& text) {
    SpCondPhoton& target = photons_[static_cast<size_t>(photon)];
    if (photon == 0 || target.checked)
        target.Choice(kind).Put(text);
    else
        target.Choice(kind).picked = -1;
}

void SpCondEditLogic::ReadCodeIntoControls(const std::string& code) {
    photons_[1].checked = false;
    photons_[2].checked = false;
    for (int i = 0; i < CondPhotonCount; ++i) {
        const size_t p = CondBlockStart[i];
        // A tag checks the box of the photon it names, wherever it stands.
        const std::string tag = Mid(code, p, 2);
        if (tag == "P1" || tag == "P2" || tag == "P3")
            photons_[static_cast<size_t>(tag[1] - '1')].checked = true;
        else if (tag == "__" && i > 0)
            photons_[static_cast<size_t>(i)].checked = false;
        PutChoice(i, SpCondChoiceKind::Color, GetPhotonColor(Mid(code, p + 2, 1)));
        PutChoice(i, SpCondChoiceKind::Size, GetPhotonSize(Mid(code, p + 3, 1)));
        PutChoice(i, SpCondChoiceKind::Det, GetDetColor(Mid(code, p + 4, 2)));
        PutChoice(i, SpCondChoiceKind::Delay, GetTimeRequirement(Mid(code, p + 6, 2)));
    }
    tallyAmt = Mid(code, CondPointsAt, CondPointsWidth);
}

void SpCondEditLogic::ListClick(int index) {
    focus_ = SpCondFocus::None;
    if (index < 0 || static_cast<size_t>(index) >= lines_.size())
        return;
    selected_ = index;
    const SpCondLine line = lines_[static_cast<size_t>(index)];
    const int16_t rec = line.itemData;
    // The number is checked before anything is read: a line of a damaged
    // catalogue may name any record.
    if (rec < 1 || rec > SpecialCondRecordCount)
        return Changed();
    std::vector<SpecialCondRecord> records;
    if (auto error = ReadSpecialCondFile(path_, records)) {
        ReportFileError(error, ListTitle);
        return Changed();
    }
    if (static_cast<size_t>(rec) > records.size())
        return Changed();
    SpecialCondBuffer = records[static_cast<size_t>(rec - 1)];

    ReadCodeIntoControls(SpecialCondBuffer.condCode);
    editCondNo_ = CondNumberText(rec);
    condNum_ = editCondNo_;
    editCondDesc_ = TrimBlanks(line.text);
    spConText = editCondDesc_;

    const bool custom = IsCustom(rec);
    textEnabled_ = custom;
    tallyEnabled_ = custom;
    frames_ = {custom, custom, custom};
    commands_.acc = true;
    commands_.add = false;
    commands_.upDate = false;
    commands_.rem = custom;
    Changed();
}

void SpCondEditLogic::AccClick() {
    focus_ = SpCondFocus::None;
    // Both boxes are judged before anything changes.
    const std::string desc = TrimBlanks(spConText.substr(0, SpecialCondDescLength));
    if (desc.empty()) {
        Warn(
            "ERROR:  NO SPECIAL CONDITION TEXT!\r\rYou MUST supply a discription for\ryour "
            "Custom Special Condition.",
            SetupTitle);
        focus_ = SpCondFocus::Text;
        return Changed();
    }
    int16_t points = 0;
    if (!ReadPointsTally(tallyAmt, points)) {
        Warn("ERROR:  INVALID POINTS TALLY!\r\rEnter a number between 0 and 9999.", SetupTitle);
        focus_ = SpCondFocus::Tally;
        return Changed();
    }

    std::string code = editCondNo_;
    for (int i = 0; i < CondPhotonCount; ++i) {
        const SpCondPhoton& photon = photons_[static_cast<size_t>(i)];
        code += i == 0 || photon.checked
                    ? PhotonBlock(i, photon.color.Text(), photon.size.Text(), photon.det.Text())
                    : BlankPhotonBlock;
    }
    code += TallyField(points) + "~";

    editCondDesc_ = desc;
    editCondCode_ = code;
    SpecialCond = code;
    SpecialCondText = desc;
    Tell("SPECIAL CONDITIONS SET", SetupTitle);

    const int16_t number = CaptionNumber(editCondNo_);
    commands_.add = editCondNo_ == "00";
    commands_.upDate = IsCustom(number);
    Changed();
}

void SpCondEditLogic::AddClick() {
    focus_ = SpCondFocus::None;
    std::vector<SpecialCondRecord> records;
    if (auto error = ReadSpecialCondFile(path_, records)) {
        ReportFileError(error, AddTitle);
        return Changed();
    }
    int16_t free = 0;
    const auto last = std::min<size_t>(records.size(), LastCustom);
    for (size_t r = FirstCustom; r <= last && free == 0; ++r)
        if (records[r - 1].Empty())
            free = static_cast<int16_t>(r);
    if (free == 0) {
        Warn(
            "ERROR:  SPECIAL CONDITION LIST IS FULL!\r\rAll locations for Custom Special "
            "Conditions\rare full. Try deleting one first.",
            AddTitle);
        condNum_.clear();
        return Changed();
    }

    const std::string number = CondNumberText(free);
    std::string code = editCondCode_;
    code.replace(0, 2, number);
    SpecialCondBuffer = {number, code, editCondDesc_};
    if (auto error = PutSpecialCondRecord(path_, free)) {
        ReportFileError(error, AddTitle);
        return Changed();
    }
    // The puzzle's condition keeps "00" until the new line is picked and accepted.
    editCondCode_ = code;
    condNum_ = number;
    Tell("NEW SPECIAL CONDITION ADDED.", AddTitle);
    LoadCondList();
    commands_.add = false;
    commands_.acc = false;
    commands_.upDate = false;
    Changed();
}

bool SpCondEditLogic::FindCustomRecord(const std::string& number, const char* title,
                                       int16_t& found) {
    found = 0;
    std::vector<SpecialCondRecord> records;
    if (auto error = ReadSpecialCondFile(path_, records)) {
        ReportFileError(error, title);
        return false;
    }
    const auto last = std::min<size_t>(records.size(), LastCustom);
    for (size_t r = FirstCustom; r <= last; ++r) {
        if (records[r - 1].condCode.compare(0, number.size(), number) == 0) {
            found = static_cast<int16_t>(r);
            return true;
        }
    }
    return true;
}

void SpCondEditLogic::UpDateClick() {
    focus_ = SpCondFocus::None;
    if (CaptionNumber(editCondNo_) <= FixedSpecialCondCount) {
        Warn("ILLEGAL SELECTION!\r\rYou can't update the first 10 conditions.", UpdateTitle);
        return Changed();
    }
    int16_t r = 0;
    if (!FindCustomRecord(editCondNo_, UpdateTitle, r))
        return Changed();
    if (r == 0) {
        Warn("ERROR: CAN'T UPDATE NONEXISTENT CONDITION!", UpdateTitle);
        return Changed();
    }
    SpecialCondBuffer = {editCondNo_, editCondCode_, editCondDesc_};
    if (auto error = PutSpecialCondRecord(path_, r)) {
        ReportFileError(error, UpdateTitle);
        return Changed();
    }
    condNum_ = CondNumberText(r);
    Tell("SPECIAL CONDITION UPDATED.", UpdateTitle);
    LoadCondList();
    commands_.upDate = false;
    commands_.add = false;
    commands_.acc = false;
    Changed();
}

void SpCondEditLogic::RemClick() {
    focus_ = SpCondFocus::None;
    if (CaptionNumber(editCondNo_) <= FixedSpecialCondCount) {
        Warn("ILLEGAL SELECTION!\r\rYou can't delete the first 10 conditions.", RemovingTitle);
        return Changed();
    }
    int16_t r = 0;
    if (!FindCustomRecord(editCondNo_, RemovingTitle, r))
        return Changed();
    if (r == 0) {
        Warn("ERROR: CAN'T REMOVE NONEXISTENT CONDITION!", RemoveTitle);
        return Changed();
    }
    SpecialCondBuffer = {editCondNo_, EmptySpecialCondCode(), ""};
    if (auto error = PutSpecialCondRecord(path_, r)) {
        ReportFileError(error, RemovingTitle);
        return Changed();
    }
    Tell("SPECIAL CONDITION REMOVED!", RemovingTitle);
    Clear();
    Changed();
}

void SpCondEditLogic::ClrClick() {
    focus_ = SpCondFocus::None;
    Clear();
    Changed();
}

void SpCondEditLogic::Clear() {
    // A catalogue that cannot be read leaves the puzzle's condition alone.
    if (!LoadCondList())
        return;
    editCondNo_ = "00";
    FillCondCombos();
    for (SpCondPhoton& photon : photons_)
        photon.delay.picked = -1;
    tallyAmt = "0000";
    tallyEnabled_ = true;
    editCondCode_ = StartSpecialCondCode();
    SpecialCond = StartSpecialCondCode();
    SpecialCondText.clear();
    condNum_.clear();
    spConText.clear();
    textEnabled_ = true;
    frames_ = {true, true, true};
    commands_ = {};
}

void SpCondEditLogic::ExitClick() {
    focus_ = SpCondFocus::None;
    editCondNo_ = "00";
    editCondCode_ = StartSpecialCondCode();
    editCondDesc_.clear();
    visible_ = false;
    Changed();
}

}  // namespace quarvelt

#include "common/toolbox_catalogue.h"

#include <string_view>

#include "common/image_index.h"
#include "common/text.h"

namespace quarvelt {

std::array<ToolboxObjectRow, ToolboxRowCount> ToolboxObjectTable;

namespace {

struct Family {
    std::string_view prefix;
    int16_t group;
    int16_t allowed;
};

// Tested in this order; the first prefix that fits files the picture.
constexpr Family Families[] = {
    {"PH", 0, 99},  {"BA", 0, 99},  {"REF", 1, 20},   {"FLT", 2, 10}, {"MX", 2, 10},
    {"KEY", 3, 32}, {"SQ", 3, 32},  {"APPLE", 3, 16}, {"DIA", 3, 16}, {"FAC", 3, 16},
    {"HRT", 3, 16}, {"MIN", 3, 16}, {"PUZ", 3, 16},   {"SHV", 4, 32}, {"SHH", 4, 32},
    {"LAM", 5, 1},  {"SPL", 5, 4},  {"LEN", 5, 8},    {"DET", 5, 4},  {"BLA", 5, -1},
};

const Family* FamilyOf(std::string_view name) {
    for (const Family& family : Families)
        if (name.starts_with(family.prefix))
            return &family;
    return nullptr;
}

}  // namespace

void LoadToolboxObjects() {
    ToolboxObjectTable.fill(ToolboxObjectRow{});
    const ImageIndex& index = ImageIndex::Current();
    // Every filled row has an offset of at least 1, so the free rows are always
    // the ones after the last filled row.
    size_t freeRow = 0;
    for (size_t i = 0; i < index.Records().size() && freeRow < ToolboxObjectTable.size(); ++i) {
        const ImageIndexRecord& record = index.Records()[i];
        const std::string& name = index.Name(static_cast<int>(i));
        if (name.size() < 7 || (name[6] != 'U' && name[6] != 'D'))
            continue;
        // A row filled with such an offset would look free and be overwritten.
        if (record.archiveOffset < 1)
            continue;
        const Family* family = FamilyOf(name);
        if (!family)
            continue;

        ToolboxObjectRow& row = ToolboxObjectTable[freeRow++];
        row.group = family->group;
        row.allowed = family->allowed;
        row.stem = name.substr(0, name.size() - 4);
        row.archiveOffset = record.archiveOffset;
        row.archiveId = record.archiveId;
        row.imageSize = record.imageSize;
        row.shown = True;
        row.enabled = True;
    }
}

bool ToolboxObjectRow::IsUp() const {
    const std::string trimmed = TrimBlanks(stem);
    return !trimmed.empty() && trimmed.back() == 'U';
}

std::string ToolboxObjectRow::Code() const {
    return UpperCase(TrimBlanks(stem)).substr(0, 5);
}

bool ToolboxObjectRow::CountedOnBoard() const {
    return allowed != -1 || Code() == "LAMP_";
}

int16_t FindToolRow(const std::string& toolCode) {
    for (int16_t row = 0; row < ToolboxRowCount; ++row) {
        const ToolboxObjectRow& entry = ToolboxObjectTable[static_cast<size_t>(row)];
        if (entry.IsUp() && entry.Code() == toolCode)
            return row;
    }
    return -1;
}

}  // namespace quarvelt

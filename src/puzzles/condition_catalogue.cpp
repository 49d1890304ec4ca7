#include "puzzles/condition_catalogue.h"

#include <array>
#include <string_view>
#include <utility>

#include "common/globals.h"

namespace quarvelt {

SpecialCondRecord SpecialCondBuffer;

namespace {

constexpr size_t CondNoAt = 0, CondNoWidth = 2;
constexpr size_t CondCodeAt = 2, CondCodeWidth = 34;
constexpr size_t CondDescAt = 36;

struct FixedCondition {
    std::string_view code;
    std::string_view desc;
};

constexpr std::array<FixedCondition, FixedSpecialCondCount> FixedConditions{{
    {"01P1__DbTnP2__DbTnP3__DbTnTa0000~", "All Three BLUE Detectors MUST be lit."},
    {"02P1_M__TnP2_M__Tn________Ta0000~", "Both Photon A and Photon B MUST be MEDIUM size."},
    {"03P1A>DaTnP2AADaTn________Ta0000~", "Photon A MUST be Larger than Photon B."},
    {"04P1Y___TnP2Y___TnP3Y___TnTa0000~", "All Three Photons MUST be YELLOW."},
    {"05P1R___TnP2Y___Tn________Ta0000~", "Photon A MUST be RED, and Photon B MUST be YELLOW."},
    {"06P1W___TnP2G___TnP3C___TnTa0000~",
     "Photon A MUST be WHITE, Photon B MUST be GREEN, Photon C MUST be CYAN."},
    {"07P1A_DaTn________________Ta0000~", "Photon A Must pass through the peep hole in the wall."},
    {"08P1AADaTnP2AADaTn________Ta0000~",
     "Solve the maze so both Photons A and B reach their Detectors at the center."},
    {"09P1AADwTnP2AADcTnP3AADgTnTa0000~",
     "Solve the maze so the White, Green and Cyan Photons reach their Detectors on the "
     "outside."},
    {"10P1____Tn________________Ta2000~", "Photon A must accumulate 2000 Tally Score."},
}};

std::string TwoDigits(int16_t number) {
    return {static_cast<char>('0' + number / 10 % 10), static_cast<char>('0' + number % 10)};
}

// The record as a reader of the file gives it back: every field at its width.
SpecialCondRecord Stored(const SpecialCondRecord& record) {
    return SpecialCondRecord::FromRecord(record.ToRecord());
}

}  // namespace

std::string EmptySpecialCondCode() {
    return "00" + std::string(30, ' ') + "~";
}

std::string StartSpecialCondCode() {
    return "00" + std::string(24, '_') + "Ta0000~";
}

bool IsNoSpecialCond(const std::string& code) {
    return code.compare(0, 2, "00") == 0;
}

SpecialCondRecord SpecialCondRecord::FromRecord(const platform::RecordBuffer& record) {
    return {record.GetText(CondNoAt, CondNoWidth), record.GetText(CondCodeAt, CondCodeWidth),
            record.GetText(CondDescAt, SpecialCondDescLength)};
}

platform::RecordBuffer SpecialCondRecord::ToRecord() const {
    platform::RecordBuffer record(SpecialCondRecordLength);
    record.PutText(CondNoAt, CondNoWidth, condNo);
    record.PutText(CondCodeAt, CondCodeWidth, condCode);
    record.PutText(CondDescAt, SpecialCondDescLength, condDesc);
    return record;
}

std::string SpecialCondPath() {
    return AppPath + SpecialCondFileName;
}

SpecialCondRecord EmptySpecialCondRecord(int16_t number) {
    return Stored({TwoDigits(number), EmptySpecialCondCode(), ""});
}

std::vector<SpecialCondRecord> DefaultSpecialCondRecords() {
    std::vector<SpecialCondRecord> records;
    for (int16_t number = 1; number <= SpecialCondRecordCount; ++number) {
        if (number > FixedSpecialCondCount) {
            records.push_back(EmptySpecialCondRecord(number));
            continue;
        }
        const FixedCondition& fixed = FixedConditions[static_cast<size_t>(number - 1)];
        records.push_back(
            Stored({TwoDigits(number), std::string(fixed.code), std::string(fixed.desc)}));
    }
    return records;
}

platform::RuntimeError ReadSpecialCondFile(const std::string& path,
                                           std::vector<SpecialCondRecord>& records) {
    records.clear();
    platform::RecordFileContents contents;
    if (auto error = platform::ReadRecordFile(path, SpecialCondRecordLength, contents))
        return error;
    for (const platform::RecordBuffer& record : contents.records)
        records.push_back(SpecialCondRecord::FromRecord(record));
    return {};
}

platform::RuntimeError WriteSpecialCondFile(const std::string& path,
                                            const std::vector<SpecialCondRecord>& records) {
    std::vector<platform::RecordBuffer> buffers;
    buffers.reserve(records.size());
    for (const SpecialCondRecord& record : records)
        buffers.push_back(record.ToRecord());
    return platform::WriteRecordFile(path, buffers);
}

platform::RuntimeError GetSpecialCondRecord(const std::string& path, int16_t number) {
    if (number < 1)
        return platform::MakeError(platform::ErrInvalidCall);
    std::vector<SpecialCondRecord> records;
    if (auto error = ReadSpecialCondFile(path, records))
        return error;
    if (static_cast<size_t>(number) > records.size())
        return platform::MakeError(platform::ErrPastEnd);
    SpecialCondBuffer = records[static_cast<size_t>(number - 1)];
    return {};
}

platform::RuntimeError PutSpecialCondRecord(const std::string& path, int16_t number) {
    if (number < 1)
        return platform::MakeError(platform::ErrInvalidCall);
    std::vector<SpecialCondRecord> records;
    if (auto error = ReadSpecialCondFile(path, records))
        return error;
    while (records.size() < static_cast<size_t>(number))
        records.push_back(EmptySpecialCondRecord(static_cast<int16_t>(records.size() + 1)));
    records[static_cast<size_t>(number - 1)] = SpecialCondBuffer;
    return WriteSpecialCondFile(path, records);
}

}  // namespace quarvelt

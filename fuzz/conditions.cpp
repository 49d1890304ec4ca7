// The condition catalogue, and one record read and written.
#include <algorithm>

#include "entries.h"
#include "platform/files.h"
#include "puzzles/condition_catalogue.h"
#include "support.h"

namespace quarvelt::fuzz {

namespace {

constexpr const char* Name = "conditions";
// Numbers beyond the catalogue's 99 records stay few, so a run stays small.
constexpr size_t MaxNumber = 120;

// A record as the file keeps it: every field blank-filled or cut to its width.
SpecialCondRecord Stored(const SpecialCondRecord& record) {
    return SpecialCondRecord::FromRecord(record.ToRecord());
}

}  // namespace

int ConditionCatalogue(const uint8_t* data, size_t size) {
    Session session;
    const std::vector<std::string> parts = Split(data, size, 2);
    const std::string path = FreshFolder(Name) + SpecialCondFileName;
    (void)platform::WriteFileAtomic(path, parts[0]);

    std::vector<SpecialCondRecord> records;
    if (ReadSpecialCondFile(path, records))
        return 0;
    Require(records.size() == parts[0].size() / SpecialCondRecordLength, Name,
            "the catalogue does not hold every whole record");

    // Every record reads as stored; none beyond the last.
    const SpecialCondRecord marker{"xx", "marker", "marker"};
    for (size_t number = 1; number <= records.size() + 1 && number <= MaxNumber; ++number) {
        SpecialCondBuffer = marker;
        const bool read = !GetSpecialCondRecord(path, static_cast<int16_t>(number));
        const bool held = number <= records.size();
        Require(read == held, Name, "record " + std::to_string(number) + " read wrongly");
        Require(SpecialCondBuffer == (held ? records[number - 1] : marker), Name,
                "record " + std::to_string(number) + " did not reach the buffer as stored");
    }

    // One record written from the command part: "NUMBER|code|description".
    const std::string command = parts.size() > 1 ? parts[1] : "1|00|";
    const auto first = command.find('|');
    const auto second = first == std::string::npos ? first : command.find('|', first + 1);
    const size_t number =
        (command.empty() ? 0 : static_cast<unsigned char>(command[0])) % MaxNumber + 1;
    SpecialCondBuffer = {
        std::to_string(number),
        first == std::string::npos ? "" : command.substr(first + 1, second - first - 1),
        second == std::string::npos ? "" : command.substr(second + 1)};
    const SpecialCondRecord written = SpecialCondBuffer;
    if (PutSpecialCondRecord(path, static_cast<int16_t>(number))) {
        std::string bytes;
        Require(!platform::ReadWholeFile(path, bytes) && bytes == parts[0], Name,
                "a failed write changed the catalogue");
        return 0;
    }
    std::vector<SpecialCondRecord> after;
    Require(!ReadSpecialCondFile(path, after), Name, "the written catalogue cannot be read");
    const size_t expected = std::max(records.size(), number);
    Require(after.size() == expected, Name, "the written catalogue has the wrong length");
    for (size_t i = 0; i < after.size(); ++i) {
        const SpecialCondRecord& want =
            i + 1 == number      ? Stored(written)
            : i < records.size() ? records[i]
                                 : Stored(EmptySpecialCondRecord(static_cast<int16_t>(i + 1)));
        Require(after[i] == want, Name, "record " + std::to_string(i + 1) + " is not as written");
    }
    return 0;
}

}  // namespace quarvelt::fuzz

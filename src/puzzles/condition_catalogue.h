// Special conditions: the 33-character code a puzzle carries, and the
// catalogue "QUARVELT.CSC" in the program folder that the designer picks codes
// from. The catalogue holds records of 1060 bytes numbered from 1: records 1
// to 10 are the fixed conditions, 11 to 99 the designer's own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/records.h"

namespace quarvelt {

inline constexpr const char* SpecialCondFileName = "QUARVELT.CSC";
inline constexpr size_t SpecialCondRecordLength = 1060;
inline constexpr int16_t SpecialCondRecordCount = 99;
inline constexpr int16_t FixedSpecialCondCount = 10;
inline constexpr size_t SpecialCondCodeLength = 33;
inline constexpr size_t SpecialCondDescLength = 1024;

// "00", 30 blanks, "~": the code of a puzzle without a condition and of an empty record.
std::string EmptySpecialCondCode();
// "00", 24 "_", "Ta0000~": where the condition editor starts.
std::string StartSpecialCondCode();
// A code whose number is "00" demands nothing, whatever else it says.
bool IsNoSpecialCond(const std::string& code);

// One catalogue record. Fields are kept as stored, blanks included: the
// editor's list shows the description field whole.
struct SpecialCondRecord {
    std::string condNo;    // the record's own number, "01" to "99"
    std::string condCode;  // a code and one fill blank
    std::string condDesc;  // the description

    static SpecialCondRecord FromRecord(const platform::RecordBuffer& record);
    // Each field blank-filled or cut to its width.
    platform::RecordBuffer ToRecord() const;
    // Decided by the code's number alone.
    bool Empty() const { return IsNoSpecialCond(condCode); }

    bool operator==(const SpecialCondRecord&) const = default;
};

// The one record every reader and writer of the catalogue goes through.
extern SpecialCondRecord SpecialCondBuffer;

// AppPath + "QUARVELT.CSC".
std::string SpecialCondPath();

// Record `number` with nothing in it.
SpecialCondRecord EmptySpecialCondRecord(int16_t number);
// The 99 records of a new catalogue: the ten fixed conditions, then empty records.
std::vector<SpecialCondRecord> DefaultSpecialCondRecords();

// Every whole record of the catalogue. A missing catalogue reads as empty and
// is not created.
platform::RuntimeError ReadSpecialCondFile(const std::string& path,
                                           std::vector<SpecialCondRecord>& records);
// Replaces the catalogue with these records.
platform::RuntimeError WriteSpecialCondFile(const std::string& path,
                                            const std::vector<SpecialCondRecord>& records);

// Reads record `number` into SpecialCondBuffer; a record the file does not
// hold is an error and leaves the buffer as it was.
platform::RuntimeError GetSpecialCondRecord(const std::string& path, int16_t number);
// Writes SpecialCondBuffer as record `number`, replacing the file atomically.
// Records between the file's end and `number` are written empty; a trailing
// part-record, which no reader sees, is dropped.
platform::RuntimeError PutSpecialCondRecord(const std::string& path, int16_t number);

}  // namespace quarvelt

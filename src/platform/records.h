// Fixed-record files: records of one length, numbered from 1, no header;
// integers little-endian, texts single-byte and blank-padded on the right.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/errors.h"

namespace platform {

class RecordBuffer {
  public:
    explicit RecordBuffer(size_t length) : bytes_(length, '\0') {}
    explicit RecordBuffer(std::string bytes) : bytes_(std::move(bytes)) {}

    void PutInt16(size_t offset, int16_t value);
    void PutInt32(size_t offset, int32_t value);
    // The text cut to `width` bytes, or filled with blanks to it.
    void PutText(size_t offset, size_t width, const std::string& text);

    int16_t GetInt16(size_t offset) const;
    int32_t GetInt32(size_t offset) const;
    // The field's bytes as stored (callers trim and strip NULs).
    std::string GetText(size_t offset, size_t width) const;

    const std::string& Bytes() const { return bytes_; }
    size_t Length() const { return bytes_.size(); }

  private:
    std::string bytes_;
};

struct RecordFileContents {
    std::vector<RecordBuffer> records;  // records[0] is record 1
    size_t trailingBytes = 0;           // bytes after the last whole record
};

// The whole records of `bytes`, at most `maxRecords` of them from the first.
RecordFileContents SplitRecords(const std::string& bytes, size_t recordLength,
                                size_t maxRecords = SIZE_MAX);
// Reads the whole records, at most `maxRecords` of them from the first; the
// rest of the file is not read. A missing file reads as empty and is not created.
RuntimeError ReadRecordFile(const std::string& path, size_t recordLength,
                            RecordFileContents& contents, size_t maxRecords = SIZE_MAX);
// Replaces the file atomically with the records given, in order.
RuntimeError WriteRecordFile(const std::string& path, const std::vector<RecordBuffer>& records);

}  // namespace platform

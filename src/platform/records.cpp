#include "platform/records.h"

#include <algorithm>
#include <stdexcept>

#include "platform/files.h"

namespace platform {
namespace {

void Check(size_t offset, size_t width, size_t length) {
    if (offset > length || width > length - offset)
        throw std::out_of_range("record field outside its record");
}

}  // namespace

void RecordBuffer::PutInt16(size_t offset, int16_t value) {
    Check(offset, 2, bytes_.size());
    const auto v = static_cast<uint16_t>(value);
    bytes_[offset] = static_cast<char>(v & 0xFF);
    bytes_[offset + 1] = static_cast<char>(v >> 8);
}

void RecordBuffer::PutInt32(size_t offset, int32_t value) {
    Check(offset, 4, bytes_.size());
    const auto v = static_cast<uint32_t>(value);
    for (size_t i = 0; i < 4; ++i)
        bytes_[offset + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void RecordBuffer::PutText(size_t offset, size_t width, const std::string& text) {
    Check(offset, width, bytes_.size());
    for (size_t i = 0; i < width; ++i)
        bytes_[offset + i] = i < text.size() ? text[i] : ' ';
}

int16_t RecordBuffer::GetInt16(size_t offset) const {
    Check(offset, 2, bytes_.size());
    const auto lo = static_cast<uint8_t>(bytes_[offset]);
    const auto hi = static_cast<uint8_t>(bytes_[offset + 1]);
    return static_cast<int16_t>(static_cast<uint16_t>(lo | (hi << 8)));
}

int32_t RecordBuffer::GetInt32(size_t offset) const {
    Check(offset, 4, bytes_.size());
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(static_cast<uint8_t>(bytes_[offset + i])) << (8 * i);
    return static_cast<int32_t>(v);
}

std::string RecordBuffer::GetText(size_t offset, size_t width) const {
    Check(offset, width, bytes_.size());
    return bytes_.substr(offset, width);
}

RecordFileContents SplitRecords(const std::string& bytes, size_t recordLength, size_t maxRecords) {
    RecordFileContents contents;
    if (recordLength == 0)
        return contents;
    const size_t whole = bytes.size() / recordLength;
    const size_t count = std::min(whole, maxRecords);
    contents.records.reserve(count);
    for (size_t i = 0; i < count; ++i)
        contents.records.emplace_back(bytes.substr(i * recordLength, recordLength));
    contents.trailingBytes = bytes.size() % recordLength;
    return contents;
}

RuntimeError ReadRecordFile(const std::string& path, size_t recordLength,
                            RecordFileContents& contents, size_t maxRecords) {
    contents = {};
    if (recordLength == 0)
        return MakeError(ErrInvalidCall);
    if (!IsFile(path)) {
        if (IsFolder(path))
            return MakeError(ErrPathFileAccess);
        return {};
    }
    uint64_t size = 0;
    if (auto error = FileSize(path, size))
        return error;
    const uint64_t whole = size / recordLength;
    const size_t count = whole < maxRecords ? static_cast<size_t>(whole) : maxRecords;
    std::string bytes;
    if (auto error = ReadBytes(path, 0, static_cast<uint64_t>(count) * recordLength, bytes))
        return error;
    contents = SplitRecords(bytes, recordLength, maxRecords);
    contents.trailingBytes = static_cast<size_t>(size % recordLength);
    return {};
}

RuntimeError WriteRecordFile(const std::string& path, const std::vector<RecordBuffer>& records) {
    std::string bytes;
    for (const auto& record : records)
        bytes += record.Bytes();
    return WriteFileAtomic(path, bytes);
}

}  // namespace platform

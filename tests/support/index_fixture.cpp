#include "support/index_fixture.h"

#include <map>
#include <stdexcept>

#include "platform/files.h"

namespace testsupport {

std::vector<quarvelt::ImageIndexRecord> WriteImageIndex(const std::string& folder,
                                                        const std::vector<IndexEntry>& entries) {
    std::map<std::string, std::string> archives;
    std::vector<quarvelt::ImageIndexRecord> records;
    for (const IndexEntry& entry : entries) {
        std::string& archive = archives[entry.archiveId];
        records.push_back(IndexRecord(entry.name, entry.type, entry.archiveId,
                                      static_cast<int32_t>(archive.size() + 1),
                                      static_cast<int32_t>(entry.bytes.size()) - 1));
        archive += entry.bytes;
    }
    for (const auto& [id, bytes] : archives)
        if (platform::WriteFileAtomic(folder + "QUARVELT" + id + ".MIX", bytes))
            throw std::runtime_error("cannot write archive " + id);
    WriteIndexRecords(folder, records);
    return records;
}

void WriteIndexRecords(const std::string& folder,
                       const std::vector<quarvelt::ImageIndexRecord>& records) {
    std::vector<platform::RecordBuffer> buffers;
    for (const auto& record : records)
        buffers.push_back(record.ToRecord());
    if (platform::WriteRecordFile(folder + quarvelt::ImageIndexName, buffers))
        throw std::runtime_error("cannot write the image index");
    // A rewrite of the same size can land within the clock tick of the last one.
    quarvelt::ImageIndex::Forget();
}

quarvelt::ImageIndexRecord IndexRecord(const std::string& name, char type,
                                       const std::string& archiveId, int32_t archiveOffset,
                                       int32_t imageSize) {
    quarvelt::ImageIndexRecord record;
    record.archiveId = archiveId;
    record.imageName = name;
    record.imageSize = imageSize;
    record.recType = type;
    record.archiveOffset = archiveOffset;
    return record;
}

}  // namespace testsupport

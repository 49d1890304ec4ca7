// Writes small image indexes and archives for tests: one record per entry, the
// entry's bytes appended to its archive, offsets and sizes worked out here.
#pragma once

#include <string>
#include <vector>

#include "common/image_index.h"

namespace testsupport {

struct IndexEntry {
    std::string name;   // the picture name as stored, blank-filled to 64
    std::string bytes;  // the picture; its size field becomes bytes.size() - 1
    char type = 'B';
    std::string archiveId = "000001";
};

// Writes "QUARVELT.IDX" and the archives "QUARVELT<id>.MIX" into `folder`
// (with a trailing '/'), replacing any there, and answers the records written.
// The next look-up reads the new index.
std::vector<quarvelt::ImageIndexRecord> WriteImageIndex(const std::string& folder,
                                                        const std::vector<IndexEntry>& entries);

// Writes "QUARVELT.IDX" from records taken as they are, for damaged indexes.
void WriteIndexRecords(const std::string& folder,
                       const std::vector<quarvelt::ImageIndexRecord>& records);

quarvelt::ImageIndexRecord IndexRecord(const std::string& name, char type = 'B',
                                       const std::string& archiveId = "000001",
                                       int32_t archiveOffset = 1, int32_t imageSize = 0);

}  // namespace testsupport

// The image index "QUARVELT.IDX" and the image archives "QUARVELT######.MIX".
// The index is read-only data: it is read once into memory and answered from
// there, with the answers a scan from record 1 would give (first match in index
// order wins); it is read again when the file's size or modification time
// changes. A missing index answers as an empty one and is never created.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/records.h"

namespace quarvelt {

inline constexpr const char* ImageIndexName = "QUARVELT.IDX";
inline constexpr size_t ImageIndexRecordLength = 344;

struct ImageIndexRecord {
    std::string archiveId;  // 6 characters as stored, blanks included
    std::string imageName;  // 64 characters as stored, blank-filled
    int32_t imageSize = 0;  // the picture's byte count minus one
    char recType = ' ';     // 'B' for a bitmap picture
    int32_t archiveOffset = 0;  // 1-based position of the first byte in the archive

    static ImageIndexRecord FromRecord(const platform::RecordBuffer& record);
    platform::RecordBuffer ToRecord() const;
};

// The record the last look-up matched.
extern ImageIndexRecord ImageIndexBuffer;

class ImageIndex {
public:
    // The index of AppPath, read again when the file changed since the last call.
    static const ImageIndex& Current();
    // Forgets the cached index (tests, and a changed AppPath).
    static void Forget();

    const std::vector<ImageIndexRecord>& Records() const { return records_; }
    bool Empty() const { return records_.empty(); }

    // Look-ups over the upper-cased, trimmed names; each answers the position
    // (0-based) of the first matching record in index order, or -1.
    // The first record whose first eight characters equal `key`.
    int FindByKey8(const std::string& key) const;
    // The first record whose first five characters equal `code`.
    int FindByCode5(const std::string& code) const;
    // The first record of type 'B' whose first five characters equal `code`.
    int FindBitmapByCode5(const std::string& code) const;
    // The highest frame number (0 to 99) of the 26-character names with this
    // 20-character stem, or -1.
    int LastFrameOfStem(const std::string& stem20) const;

private:
    std::vector<ImageIndexRecord> records_;
    // ... look-up tables built when the index is read
};

// "QUARVELT" + archive id + ".MIX" in AppPath.
std::string ArchivePath(const std::string& archiveId);

// Copies imageSize + 1 bytes from the archive at the 1-based offset into the
// file `fileName` in ImagePath, replacing it atomically. Checks every argument
// first (plain names, offset at least 1, a sane size, the range inside the
// archive); on any failure writes nothing and answers the error.
platform::RuntimeError ExtractMixFile(const std::string& archiveId, int32_t archiveOffset,
                                      const std::string& fileName, int32_t imageSize);

// Extracts the first bitmap of the object code (the first five characters of
// `fileName`) to `fileName` in ImagePath: 0 done, 1 no bitmap of that code,
// 2 no index record at all. `error` receives an extraction failure (result 0 is
// then not given: the result is 3).
int16_t LoadIndexImageByCode(const std::string& fileName, platform::RuntimeError* error = nullptr);

}  // namespace quarvelt

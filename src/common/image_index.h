// The image index "QUARVELT.IDX" and the image archives "QUARVELT######.MIX".
// The index is read-only data: it is read once into memory and answered from
// there, with the answers a scan from record 1 would give (first match in index
// order wins); it is read again when the file's size or modification time
// changes. A missing index answers as an empty one and is never created.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/errors.h"
#include "platform/records.h"

namespace quarvelt {

inline constexpr const char* ImageIndexName = "QUARVELT.IDX";
inline constexpr size_t ImageIndexRecordLength = 344;
// The look-ups count records in 16 bits; records beyond this are never read.
inline constexpr size_t MaxImageIndexRecords = 32767;
// No picture is anywhere near this; a larger size is a damaged record.
inline constexpr int32_t MaxPictureBytes = 16 * 1024 * 1024;

struct ImageIndexRecord {
    std::string archiveId;      // 6 characters as stored, blanks included
    std::string imageName;      // 64 characters as stored, blank-filled
    int32_t imageSize = 0;      // the picture's byte count minus one
    char recType = ' ';         // 'B' for a bitmap picture
    int32_t archiveOffset = 0;  // 1-based position of the first byte in the archive

    static ImageIndexRecord FromRecord(const platform::RecordBuffer& record);
    platform::RecordBuffer ToRecord() const;
};

// The record the last look-up matched.
extern ImageIndexRecord ImageIndexBuffer;

class ImageIndex {
  public:
    // The index of AppPath, read again when the file or AppPath changed since
    // the last call. The reference is good until the next call.
    static const ImageIndex& Current();
    // Forgets the cached index (tests, and a changed AppPath).
    static void Forget();

    const std::vector<ImageIndexRecord>& Records() const { return records_; }
    bool Empty() const { return records_.empty(); }
    // The whole name of the record at `position`, upper-cased and trimmed.
    const std::string& Name(int position) const { return names_[static_cast<size_t>(position)]; }
    // Why the index could not be read; the index is then empty.
    const platform::RuntimeError& ReadError() const { return readError_; }

    // Each look-up answers the position (0-based) of the first matching record
    // in index order, or -1.
    // The first record whose first eight characters, upper-cased and trimmed, equal `key`.
    int FindByKey8(const std::string& key) const;
    // The first record whose first five characters, upper-cased and trimmed, equal `code`.
    int FindByCode5(const std::string& code) const;
    // The first record of type 'B' whose first five characters, upper-cased
    // but not trimmed, equal `code`.
    int FindBitmapByCode5(const std::string& code) const;
    // The first record of type 'B' whose whole name, upper-cased and trimmed,
    // equals `name` upper-cased and trimmed.
    int FindBitmapByName(const std::string& name) const;
    // The highest frame number (0 to 99) of the 26-character trimmed names with
    // this upper-case 20-character stem, or -1. `position` receives the record
    // that gave it, or -1.
    int LastFrameOfStem(const std::string& stem20, int* position = nullptr) const;

  private:
    struct Frames {
        int highest = -1;
        int position = -1;
    };

    void Read(const std::string& path, uint64_t fileSize);
    void Build();

    std::vector<ImageIndexRecord> records_;
    std::vector<std::string> names_;
    std::unordered_map<std::string, int> byKey8_;
    std::unordered_map<std::string, int> byCode5_;
    std::unordered_map<std::string, int> bitmapByCode5_;
    std::unordered_map<std::string, int> bitmapByName_;
    std::unordered_map<std::string, Frames> framesByStem_;
    platform::RuntimeError readError_;
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
// 2 no index record at all, 3 the extraction failed and `error` says why.
int16_t LoadIndexImageByCode(const std::string& fileName, platform::RuntimeError* error = nullptr);

}  // namespace quarvelt

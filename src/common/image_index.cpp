#include "common/image_index.h"

#include <algorithm>
#include <cmath>

#include "common/globals.h"
#include "common/text.h"
#include "platform/files.h"

namespace quarvelt {

ImageIndexRecord ImageIndexBuffer;

namespace {

// Field layout of one 344-byte record.
constexpr size_t ArchiveIdAt = 0;
constexpr size_t ArchiveIdWidth = 6;
constexpr size_t ImageNameAt = 6;
constexpr size_t ImageNameWidth = 64;
constexpr size_t ImageSizeAt = 70;
constexpr size_t RecTypeAt = 74;
constexpr size_t ArchiveOffsetAt = 75;
constexpr size_t UnusedAt = 79;
constexpr size_t UnusedWidth = ImageIndexRecordLength - UnusedAt;

constexpr size_t StemLength = 20;
constexpr size_t FramedNameLength = 26;

bool IsPictureFileName(const std::string& name) {
    return IsPlainFileName(name) && name.find_first_not_of(". ") != std::string::npos;
}

struct Cache {
    bool loaded = false;
    std::string appPath;
    platform::FileStamp stamp;
    ImageIndex index;
};

Cache& TheCache() {
    static Cache cache;
    return cache;
}

int Lookup(const std::unordered_map<std::string, int>& table, const std::string& key) {
    const auto found = table.find(key);
    return found == table.end() ? -1 : found->second;
}

}  // namespace

ImageIndexRecord ImageIndexRecord::FromRecord(const platform::RecordBuffer& record) {
    ImageIndexRecord out;
    out.archiveId = record.GetText(ArchiveIdAt, ArchiveIdWidth);
    out.imageName = record.GetText(ImageNameAt, ImageNameWidth);
    out.imageSize = record.GetInt32(ImageSizeAt);
    out.recType = record.GetText(RecTypeAt, 1)[0];
    out.archiveOffset = record.GetInt32(ArchiveOffsetAt);
    return out;
}

platform::RecordBuffer ImageIndexRecord::ToRecord() const {
    platform::RecordBuffer record(ImageIndexRecordLength);
    record.PutText(ArchiveIdAt, ArchiveIdWidth, archiveId);
    record.PutText(ImageNameAt, ImageNameWidth, imageName);
    record.PutInt32(ImageSizeAt, imageSize);
    record.PutText(RecTypeAt, 1, std::string(1, recType));
    record.PutInt32(ArchiveOffsetAt, archiveOffset);
    record.PutText(UnusedAt, UnusedWidth, {});
    return record;
}

const ImageIndex& ImageIndex::Current() {
    Cache& cache = TheCache();
    // Without a program folder there is no index to read, not one in the working folder.
    const platform::FileStamp stamp =
        AppPath.empty() ? platform::FileStamp{} : platform::StampOf(AppPath + ImageIndexName);
    if (cache.loaded && cache.appPath == AppPath && cache.stamp == stamp)
        return cache.index;
    cache.index = ImageIndex();
    if (stamp.exists)
        cache.index.Read(AppPath + ImageIndexName, stamp.size);
    cache.appPath = AppPath;
    cache.stamp = stamp;
    cache.loaded = true;
    return cache.index;
}

void ImageIndex::Forget() {
    TheCache() = Cache();
}

void ImageIndex::Read(const std::string& path, uint64_t fileSize) {
    const size_t count = static_cast<size_t>(
        std::min<uint64_t>(fileSize / ImageIndexRecordLength, MaxImageIndexRecords));
    std::string bytes;
    if (auto error = platform::ReadBytes(path, 0, count * ImageIndexRecordLength, bytes)) {
        readError_ = error;
        return;
    }
    records_.reserve(count);
    for (size_t i = 0; i < count; ++i)
        records_.push_back(ImageIndexRecord::FromRecord(platform::RecordBuffer(
            bytes.substr(i * ImageIndexRecordLength, ImageIndexRecordLength))));
    Build();
}

// Every table keeps the first record of its key, so a look-up answers what a
// scan from record 1 would.
void ImageIndex::Build() {
    names_.reserve(records_.size());
    for (size_t i = 0; i < records_.size(); ++i) {
        const ImageIndexRecord& record = records_[i];
        const int position = static_cast<int>(i);
        const std::string upper = UpperCase(record.imageName);
        names_.push_back(TrimBlanks(upper));
        byKey8_.try_emplace(TrimBlanks(upper.substr(0, 8)), position);
        byCode5_.try_emplace(TrimBlanks(upper.substr(0, 5)), position);
        if (record.recType == 'B') {
            bitmapByCode5_.try_emplace(upper.substr(0, 5), position);
            bitmapByName_.try_emplace(names_.back(), position);
        }

        const std::string& name = names_.back();
        if (name.size() != FramedNameLength)
            continue;
        Frames& frames = framesByStem_[name.substr(0, StemLength)];
        const double frame = LeadingNumber(name.substr(StemLength, 2));
        // The highest so far is a whole number; a fraction is rounded as it is stored.
        if (frame > frames.highest) {
            frames.highest = static_cast<int>(std::nearbyint(frame));
            frames.position = position;
        }
    }
}

int ImageIndex::FindByKey8(const std::string& key) const {
    return Lookup(byKey8_, key);
}

int ImageIndex::FindByCode5(const std::string& code) const {
    return Lookup(byCode5_, code);
}

int ImageIndex::FindBitmapByCode5(const std::string& code) const {
    return Lookup(bitmapByCode5_, code);
}

int ImageIndex::FindBitmapByName(const std::string& name) const {
    return Lookup(bitmapByName_, UpperCase(TrimBlanks(name)));
}

int ImageIndex::LastFrameOfStem(const std::string& stem20, int* position) const {
    const auto found = framesByStem_.find(stem20);
    const bool framed = found != framesByStem_.end() && found->second.highest >= 0;
    if (position)
        *position = framed ? found->second.position : -1;
    return framed ? found->second.highest : -1;
}

std::string ArchivePath(const std::string& archiveId) {
    return AppPath + "QUARVELT" + archiveId + ".MIX";
}

platform::RuntimeError ExtractMixFile(const std::string& archiveId, int32_t archiveOffset,
                                      const std::string& fileName, int32_t imageSize) {
    // Names, offsets and sizes also come from puzzle files on removable drives.
    if (!IsPlainFileName(archiveId) || !IsPictureFileName(fileName))
        return platform::MakeError(platform::ErrBadFileName);
    if (archiveOffset < 1 || imageSize < 0 || imageSize >= MaxPictureBytes)
        return platform::MakeError(platform::ErrInvalidCall);
    if (AppPath.empty() || ImagePath.empty() || !platform::IsFolder(ImagePath))
        return platform::MakeError(platform::ErrPathNotFound);

    const std::string archive = ArchivePath(archiveId);
    uint64_t archiveSize = 0;
    if (auto error = platform::FileSize(archive, archiveSize))
        return error;
    const uint64_t first = static_cast<uint64_t>(archiveOffset) - 1;
    const uint64_t count = static_cast<uint64_t>(imageSize) + 1;
    if (first > archiveSize || count > archiveSize - first)
        return platform::MakeError(platform::ErrPastEnd);

    std::string bytes;
    if (auto error = platform::ReadBytes(archive, first, count, bytes))
        return error;
    return platform::WriteFileAtomic(ImagePath + fileName, bytes);
}

int16_t LoadIndexImageByCode(const std::string& fileName, platform::RuntimeError* error) {
    if (error)
        *error = {};
    const ImageIndex& index = ImageIndex::Current();
    if (index.Empty())
        return 2;
    const int position = index.FindBitmapByCode5(UpperCase(fileName.substr(0, 5)));
    if (position < 0)
        return 1;

    ImageIndexBuffer = index.Records()[static_cast<size_t>(position)];
    ImageIndexBuffer.imageName = UpperCase(ImageIndexBuffer.imageName);
    const ImageIndexRecord found = ImageIndexBuffer;
    // Written under the caller's name, not the record's.
    if (auto failure =
            ExtractMixFile(found.archiveId, found.archiveOffset, fileName, found.imageSize)) {
        if (error)
            *error = failure;
        return 3;
    }
    return 0;
}

}  // namespace quarvelt

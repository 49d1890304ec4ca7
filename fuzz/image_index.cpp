// The image index with an archive: look-ups against a scan from the first
// record, and pictures extracted from the archive.
#include "common/image_index.h"
#include "common/globals.h"
#include "common/text.h"
#include "entries.h"
#include "platform/files.h"
#include "support.h"

namespace quarvelt::fuzz {

namespace {

constexpr const char* Name = "image_index";
constexpr const char* ArchiveId = "000001";
constexpr size_t MaxChecked = 64;
constexpr size_t MaxExtracted = 8;

// The first record, in index order, for which `matches` holds; -1 for none.
template <typename Matches>
int Scan(const ImageIndex& index, Matches matches) {
    for (size_t i = 0; i < index.Records().size(); ++i)
        if (matches(index.Records()[i]))
            return static_cast<int>(i);
    return -1;
}

std::string Upper(const ImageIndexRecord& record, size_t length) {
    return UpperCase(record.imageName).substr(0, length);
}

void CheckLookUps(const ImageIndex& index, const std::string& probe) {
    const std::string key8 = TrimBlanks(UpperCase(probe).substr(0, 8));
    Require(
        index.FindByKey8(key8) ==
            Scan(index, [&](const ImageIndexRecord& r) { return TrimBlanks(Upper(r, 8)) == key8; }),
        Name, "the look-up by eight characters missed the first match of " + key8);
    const std::string code5 = TrimBlanks(UpperCase(probe).substr(0, 5));
    Require(index.FindByCode5(code5) ==
                Scan(index,
                     [&](const ImageIndexRecord& r) { return TrimBlanks(Upper(r, 5)) == code5; }),
            Name, "the look-up by code missed the first match of " + code5);
    const std::string bitmap5 = UpperCase(probe).substr(0, 5);
    Require(index.FindBitmapByCode5(bitmap5) == Scan(index,
                                                     [&](const ImageIndexRecord& r) {
                                                         return r.recType == 'B' &&
                                                                Upper(r, 5) == bitmap5;
                                                     }),
            Name, "the bitmap look-up by code missed the first match of " + bitmap5);
    const std::string whole = UpperCase(TrimBlanks(probe));
    Require(index.FindBitmapByName(probe) ==
                Scan(index,
                     [&](const ImageIndexRecord& r) {
                         return r.recType == 'B' && TrimBlanks(UpperCase(r.imageName)) == whole;
                     }),
            Name, "the bitmap look-up by name missed the first match of " + whole);
    int position = -2;
    const std::string stem = UpperCase(probe).substr(0, 20);
    const int frame = index.LastFrameOfStem(stem, &position);
    Require(frame >= -1 && frame <= 99, Name, "a frame number out of range for " + stem);
    if (frame == -1) {
        Require(position == -1, Name, "a stem without frames names a record");
        return;
    }
    Require(position >= 0 && static_cast<size_t>(position) < index.Records().size() &&
                index.Name(position).size() == 26 && index.Name(position).starts_with(stem),
            Name, "the last frame of " + stem + " names a record of another stem");
}

// Extracts what a record names and holds the picture to the archive's bytes.
void CheckExtraction(const ImageIndexRecord& record, size_t n, const std::string& archive) {
    const std::string picture = "PICTURE" + std::to_string(n) + ".BMP";
    (void)platform::DeleteFile(ImagePath + picture);
    const platform::RuntimeError error =
        ExtractMixFile(record.archiveId, record.archiveOffset, picture, record.imageSize);
    if (error) {
        Require(!platform::IsFile(ImagePath + picture), Name, "a failed extraction left a file");
        return;
    }
    Require(record.archiveId == ArchiveId, Name, "a picture came from an archive never written");
    std::string bytes;
    Require(!platform::ReadWholeFile(ImagePath + picture, bytes), Name,
            "an extracted picture cannot be read");
    const auto first = static_cast<size_t>(record.archiveOffset) - 1;
    Require(first <= archive.size() &&
                bytes == archive.substr(first, static_cast<size_t>(record.imageSize) + 1),
            Name, "an extracted picture is not the archive's bytes");
}

}  // namespace

int ImageIndexFile(const uint8_t* data, size_t size) {
    Session session;
    const std::vector<std::string> parts = Split(data, size, 3);
    AppPath = FreshFolder(Name);
    ImagePath = AppPath + "DATA/";
    (void)platform::CreateFolder(ImagePath);
    (void)platform::WriteFileAtomic(AppPath + ImageIndexName, parts[0]);
    const std::string archive = parts.size() > 1 ? parts[1] : std::string();
    (void)platform::WriteFileAtomic(ArchivePath(ArchiveId), archive);

    const ImageIndex& index = ImageIndex::Current();
    Require(index.Records().size() ==
                std::min(parts[0].size() / ImageIndexRecordLength, MaxImageIndexRecords),
            Name, "the index does not hold every whole record");
    for (size_t i = 0; i < index.Records().size() && i < MaxChecked; ++i)
        CheckLookUps(index, index.Records()[i].imageName);
    if (parts.size() > 2) {
        size_t start = 0;
        for (size_t probes = 0; start <= parts[2].size() && probes < MaxChecked; ++probes) {
            const size_t end = std::min(parts[2].find('\n', start), parts[2].size());
            CheckLookUps(index, parts[2].substr(start, end - start));
            start = end + 1;
        }
    }
    for (size_t i = 0; i < index.Records().size() && i < MaxExtracted; ++i) {
        const ImageIndexRecord record = index.Records()[i];
        CheckExtraction(record, i, archive);
        // The same picture by its code, under the record's own name when it is usable.
        const std::string name = TrimBlanks(record.imageName);
        platform::RuntimeError error;
        const int16_t result = LoadIndexImageByCode(name, &error);
        Require(result >= 0 && result <= 3, Name,
                "an extraction answered " + std::to_string(result));
        Require((result == 3) == static_cast<bool>(error), Name,
                "an extraction's answer and error disagree");
    }
    return 0;
}

}  // namespace quarvelt::fuzz

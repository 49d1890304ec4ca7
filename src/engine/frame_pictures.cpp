#include "engine/frame_pictures.h"

#include <unordered_map>
#include <unordered_set>

#include "common/globals.h"
#include "common/image_index.h"
#include "common/library.h"
#include "common/text.h"
#include "engine/picture_names.h"

namespace quarvelt {

const std::string EmptyIndexText =
    "ERROR: THE INDEX FILE IS EMPTY!\r\rThe Index file was found to contain no records!\rThis "
    "could be a corrupt file.";

std::string FrameNotFoundText(const std::string& frameName) {
    return "ERROR: IMAGE WASN'T FOUND IN INDEX FILE!\r\rThe " + frameName + " Wasn't found!";
}

namespace {

// A board uses few distinct frames, each on many steps.
std::unordered_set<std::string>& KnownPresent() {
    static std::unordered_set<std::string> names;
    return names;
}

// Answers of this compile's look-ups; a serpentine of mirrors asks the same
// few questions thousands of times.
std::unordered_map<std::string, std::string>& KnownPictures() {
    static std::unordered_map<std::string, std::string> pictures;
    return pictures;
}
std::unordered_map<std::string, int16_t>& KnownLastFrames() {
    static std::unordered_map<std::string, int16_t> frames;
    return frames;
}

std::string RememberedObjectImage(const std::string& code, const std::string& colour,
                                  const std::string& size, const std::string& travel) {
    std::string key = code + '|' + colour + '|' + size + '|' + travel;
    if (const auto found = KnownPictures().find(key); found != KnownPictures().end())
        return found->second;
    std::string picture = FindObjectImage(code, colour, size, travel);
    // Failures stop the compile; only pictures are worth keeping.
    if (picture != "ERROR1" && picture != "ERROR2" && picture != "ERROR3")
        KnownPictures().emplace(std::move(key), picture);
    return picture;
}

int16_t RememberedLastFrame(const std::string& name) {
    if (const auto found = KnownLastFrames().find(name); found != KnownLastFrames().end())
        return found->second;
    const int16_t last = GetLastFrameNumber(name);
    KnownLastFrames().emplace(name, last);
    return last;
}

}  // namespace

void StartCompileLookups() {
    KnownPresent().clear();
    KnownPictures().clear();
    KnownLastFrames().clear();
}

bool MakeFramePresent(const std::string& frameName, std::string& errorText) {
    if (KnownPresent().contains(frameName))
        return true;
    if (FileExists(ImagePath + frameName)) {
        KnownPresent().insert(frameName);
        return true;
    }
    const ImageIndex& index = ImageIndex::Current();
    if (index.Empty()) {
        errorText = EmptyIndexText;
        return false;
    }
    const std::string wanted = UpperCase(frameName);
    const auto& records = index.Records();
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i].recType != 'B' || index.Name(static_cast<int>(i)) != wanted)
            continue;
        ImageIndexBuffer = records[i];
        ImageIndexBuffer.imageName = UpperCase(ImageIndexBuffer.imageName);
        const ImageIndexRecord found = ImageIndexBuffer;
        // A damaged archive is reported, never taken for a picture that is there.
        if (auto error =
                ExtractMixFile(found.archiveId, found.archiveOffset, frameName, found.imageSize)) {
            errorText = platform::ErrorText(error);
            return false;
        }
        KnownPresent().insert(frameName);
        return true;
    }
    errorText = FrameNotFoundText(frameName);
    return false;
}

PictureLookups& CompileLookups() {
    static PictureLookups lookups{RememberedObjectImage, RememberedLastFrame};
    return lookups;
}

}  // namespace quarvelt

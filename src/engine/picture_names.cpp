#include "engine/picture_names.h"

#include <algorithm>

#include "common/image_index.h"
#include "common/text.h"
#include "common/vocabulary.h"
#include "platform/services.h"

namespace quarvelt {
namespace {

constexpr const char* CompileTitle = "EXECUTE    PUZZLE";

void ShowCompileError(const std::string& text) {
    platform::Beep();
    platform::MsgBox(text, platform::MsgOkOnly + platform::MsgExclamation, CompileTitle);
}

std::string TwoDigits(int frame) {
    frame = std::clamp(frame, 0, 99);
    return {static_cast<char>('0' + frame / 10), static_cast<char>('0' + frame % 10)};
}

// A leaving photon's letter from a picture name; `photonNumberLine` is the
// second line of the message for a bad photon number.
std::string ReadOutPhoton(const std::string& name, int16_t photon, char PhotonLetters::*letter,
                          const char* photonNumberLine) {
    const std::optional<ObjectImageParts> parts = ParseObjectImageName(name);
    if (!parts) {
        ShowCompileError("ERROR: INVALIED OBJECT VALUE!\r\rThe object: " + name +
                         "\ris invalied! Its Name MUST be\r twenty characters in length.");
        return "E";
    }
    if (photon != 1 && photon != 2) {
        ShowCompileError(std::string("ERROR: INVALIED PHOTON NUMBER VALUE!\r\r") +
                         photonNumberLine);
        return "E";
    }
    // Only a splitter's picture shows a second leaving photon of its own.
    const PhotonLetters& out = photon == 2 && IsSplitterCode(name) ? parts->out2 : parts->out1;
    const char found = out.*letter;
    return found == '_' ? "N" : std::string(1, found);
}

}  // namespace

bool ObjectImageParts::ShowsNoPhoton() const {
    const auto none = [](PhotonLetters letters) {
        return letters.size == '_' && letters.colour == '_' && letters.side == '_';
    };
    return none(in) && gap.find_first_not_of('_') == std::string::npos && none(out1) && none(out2);
}

std::optional<ObjectImageParts> ParseObjectImageName(std::string_view name) {
    if (name.size() != ObjectImageNameLength)
        return std::nullopt;
    const auto letters = [&](size_t at) {
        return PhotonLetters{name[at], name[at + 1], name[at + 2]};
    };
    ObjectImageParts parts;
    parts.code = name.substr(0, 5);
    parts.in = letters(5);
    parts.gap = name.substr(8, 6);
    parts.out1 = letters(14);
    parts.out2 = letters(17);
    const char tens = name[ObjectImageStemLength], ones = name[ObjectImageStemLength + 1];
    if (tens >= '0' && tens <= '9' && ones >= '0' && ones <= '9')
        parts.frame = (tens - '0') * 10 + (ones - '0');
    return parts;
}

char EntrySideOf(const std::string& travel) {
    if (travel == "L")
        return 'R';
    if (travel == "R")
        return 'L';
    if (travel == "T")
        return 'B';
    if (travel == "B")
        return 'T';
    return '_';
}

std::string MakeObjectImageName(const std::string& code, PhotonLetters in, PhotonLetters out1,
                                PhotonLetters out2, int frame) {
    std::string name = code.substr(0, 5);
    name.resize(5, '_');
    name += {in.size, in.colour, in.side};
    name += "______";
    name += {out1.size, out1.colour, out1.side, out2.size, out2.colour, out2.side};
    return name + TwoDigits(frame) + ".BMP";
}

std::string RestingImageName(const std::string& code) {
    return MakeObjectImageName(code, {}, {}, {}, 0);
}

std::string FrameImageName(const std::string& name, int frame) {
    return name.substr(0, ObjectImageStemLength) + TwoDigits(frame) + ".BMP";
}

std::string FindObjectImage(const std::string& code, const std::string& colour,
                            const std::string& size, const std::string& travel) {
    if (code.size() != 5) {
        ShowCompileError("ERROR: INVALIED OBJECT VALUE!\r\rThe object: " + code +
                         "\ris invalied! Its Name MUST be\r five characters in length.");
        return "ERROR3";
    }
    std::string key(8, ' ');
    const std::string trimmed = TrimBlanks(UpperCase(code));
    std::copy(trimmed.begin(), trimmed.end(), key.begin());
    if (!size.empty())
        key[5] = size[0];
    if (!colour.empty())
        key[6] = colour[0];
    key[7] = EntrySideOf(travel);
    key = UpperCase(key);

    const ImageIndex& index = ImageIndex::Current();
    if (index.Empty())
        return "ERROR2";
    int position = index.FindByKey8(key);
    // An entry situation without a picture of its own gets the code's first picture.
    if (position < 0)
        position = index.FindByCode5(key.substr(0, 5));
    if (position < 0)
        return "ERROR1";
    ImageIndexBuffer = index.Records()[static_cast<size_t>(position)];
    return index.Name(position);
}

int16_t GetLastFrameNumber(const std::string& name) {
    const ImageIndex& index = ImageIndex::Current();
    if (index.Empty())
        return -2;
    // A shorter argument cannot equal the 20-character stem of any picture.
    if (name.size() < ObjectImageStemLength)
        return -1;
    int position = -1;
    const int highest =
        index.LastFrameOfStem(UpperCase(name.substr(0, ObjectImageStemLength)), &position);
    if (position >= 0)
        ImageIndexBuffer = index.Records()[static_cast<size_t>(position)];
    return static_cast<int16_t>(highest);
}

std::string GetOutPhotonSize(const std::string& name, int16_t photon) {
    return ReadOutPhoton(name, photon, &PhotonLetters::size,
                         "Only out photons 1 and 2 are valied.");
}

std::string GetOutPhotonColor(const std::string& name, int16_t photon) {
    return ReadOutPhoton(name, photon, &PhotonLetters::colour,
                         "Only out photons 1 or 2 are valied.");
}

std::string GetOutPhotonDirection(const std::string& name, int16_t photon) {
    return ReadOutPhoton(name, photon, &PhotonLetters::side, "Only out photons 1 or 2 are valied.");
}

}  // namespace quarvelt

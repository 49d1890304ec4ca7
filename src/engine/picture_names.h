// Board pictures are named by what happens in the cell: the object code, the
// photon that enters, the one or two photons that leave, and the frame.
//
//   positions  1-5   object code, "_" filling a shorter code
//              6-8   entering photon: size, colour, entry side
//              9-14  "______"
//             15-17  leaving photon 1: size, colour, travel direction
//             18-20  leaving photon 2 (splitters only)
//             21-22  frame "00" to "99"
//             23-26  ".BMP"
//
// The image index lists these names, so the look-ups here are how the engine
// learns what an object does to a photon. All of them answer from the index in
// memory, as a scan from its first record would.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quarvelt {

inline constexpr size_t ObjectImageNameLength = 26;
inline constexpr size_t ObjectImageStemLength = 20;

// One photon's letters in a picture name, '_' where there is none. `side` is
// the entry side of the entering photon and the travel direction of a leaving one.
struct PhotonLetters {
    char size = '_';
    char colour = '_';
    char side = '_';
};

// A picture name taken apart.
struct ObjectImageParts {
    std::string code;  // positions 1-5, as written
    PhotonLetters in;
    std::string gap;  // positions 9-14
    PhotonLetters out1;
    PhotonLetters out2;
    int frame = -1;  // positions 21-22; -1 when they are not two digits

    // Positions 6 to 20 are all "_": no photon enters or leaves.
    bool ShowsNoPhoton() const;
};

// The parts of a name of ObjectImageNameLength characters; none for any other length.
std::optional<ObjectImageParts> ParseObjectImageName(std::string_view name);

// The lamp's last frame, which it keeps once it has sent its photon.
inline constexpr const char* LitLampPicture = "LAMP__________MWR___05.BMP";

// The side through which a photon travelling "L", "R", "T" or "B" enters the
// next cell: the opposite one. Any other text gives '_'.
char EntrySideOf(const std::string& travel);

// A full picture name; the code is cut or filled with "_" to five characters,
// the frame kept within 0 to 99.
std::string MakeObjectImageName(const std::string& code, PhotonLetters in, PhotonLetters out1,
                                PhotonLetters out2, int frame);
// The picture of an object with no photon: the code, fifteen "_", "00.BMP".
std::string RestingImageName(const std::string& code);
// The same picture sequence at another frame: the first 20 characters of
// `name`, the frame in two digits, ".BMP".
std::string FrameImageName(const std::string& name, int frame);

// The picture of the object `code` (five characters) entered by a photon of
// this colour and size travelling `travel`: the exact entry situation, else
// the code's first picture. "ERROR1" no picture of the code, "ERROR2" an empty
// index, "ERROR3" a code not five characters long (after a message).
std::string FindObjectImage(const std::string& code, const std::string& colour,
                            const std::string& size, const std::string& travel);

// The highest frame (0 to 99) of the pictures whose 26-character names share
// the first 20 characters of `name`; -1 when there is none, -2 for an empty index.
int16_t GetLastFrameNumber(const std::string& name);

// A leaving photon's letter from a 26-character picture name: photon 1, or
// photon 2 (a splitter's own, anybody else's photon 1). "N" for "_", "E" after
// a message about a bad name or photon number.
std::string GetOutPhotonSize(const std::string& name, int16_t photon);
std::string GetOutPhotonColor(const std::string& name, int16_t photon);
std::string GetOutPhotonDirection(const std::string& name, int16_t photon);

}  // namespace quarvelt

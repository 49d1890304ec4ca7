// Pictures the animation names that the compile did not put into the image
// folder: the five frames of every shutter a photon reaches, and the empty
// cell's frames drawn over a bonus object or key that is already taken.
#pragma once

#include <cstdint>
#include <string>

namespace quarvelt {

enum class PictureSupply {
    Present,   // the file is in ImagePath
    NoIndex,   // the index holds no record (missing, empty or unreadable)
    NotFound,  // no bitmap record of that name, or its extraction failed
};

// Makes ImagePath + `name` present. A file already there costs one existence
// test; otherwise the first bitmap record of the index whose whole name equals
// `name` (either case, surrounding blanks ignored) is extracted under `name`.
PictureSupply SupplyPicture(const std::string& name);

// Frame 0 (closed) to 4 (open) of the shutter with special-object number 13 to
// 18: its code, fifteen "_", the frame as two digits and ".BMP".
std::string ShutterFrameName(int16_t objectNumber, int frame);

}  // namespace quarvelt

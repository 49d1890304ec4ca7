// Draws the pictures of the shipped picture set: board pictures of 48 by 48
// pixels (an object, with a photon crossing it frame by frame) and tool-box
// pictures of 32 by 32. Only Qt GUI classes; no display needed; deterministic.
#pragma once

#include <QImage>
#include <string>
#include <vector>

namespace assets {

inline constexpr int BoardPictureSize = 48;
inline constexpr int ToolPictureSize = 32;

// A photon as a picture name carries it: size 'S', 'M', 'L'; colour 'R', 'G',
// 'B', 'C', 'M', 'Y', 'W'; direction or side 'L', 'R', 'T', 'B'; '_' for none.
struct PhotonLook {
    char size = '_';
    char colour = '_';
    char direction = '_';  // travel direction of a leaving photon
};

struct BoardPicture {
    std::string code;        // board code, five characters ("BLANK", "REFHT", "LAMP_")
    char entrySide = '_';    // side the entering photon comes in through; '_' none
    char inSize = '_';
    char inColour = '_';
    PhotonLook out1;         // leaving photon 1 ('_' fields: none)
    PhotonLook out2;         // leaving photon 2 (splitters only)
    int frame = 0;           // 0 for a resting picture; 1..frames for a step
    int frames = 0;          // frames of the step; 0 for a resting picture
    // Resting pictures with a state of their own: a coloured shutter's opening
    // 0 (closed) to 4 (open); the lamp's emission 0 to 5 (5: lit, photon gone);
    // a detector lit (1) or dark (0). Ignored elsewhere.
    int state = 0;
    bool emission = false;   // the lamp's emission frames
};

QImage PaintBoardPicture(const BoardPicture& picture);
// `toolCode` as the tool box names the object; `down` for the pressed ("D") picture.
QImage PaintToolPicture(const std::string& toolCode, const std::string& boardCode, bool down);

// 256 opaque colours fitted to these pictures, for their reduction to 8 bits by
// nearest colour: the cell ground and every photon colour exactly, the rest
// cut from the colours of a sample of pictures. The same on every run.
const std::vector<QRgb>& PicturePalette();

}  // namespace assets

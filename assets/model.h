// The picture set as data: the objects table and the physics rules, read from
// their text files and expanded into every picture the game ships, in index
// order. Plain C++: the drawing and the files are the generator's.
#pragma once

#include <string>
#include <vector>

namespace assets {

struct ObjectEntry {
    std::string code;      // board code
    std::string toolCode;  // empty: no tool
    int group = -1;
    std::vector<int> restingFrames;
    bool emission = false;  // the lamp's photon-leaving frames
    int line = 0;
};

// A leaving photon as a rule writes it.
struct PhotonRule {
    bool none = true;
    char size = '=';           // '=', '+', '-' or a size letter
    std::string colour = "=";  // "=", "&X", "-X" or a colour letter
    std::string direction = "fwd";
};

struct Rule {
    std::vector<std::string> codes;
    std::string sides, sizes, colours;  // "*" for any
    PhotonRule photon1, photon2;
    int frames[3] = {0, 0, 0};  // for sizes S, M, L
    int line = 0;
};

struct Photon {
    char size = '_';
    char colour = '_';
    char direction = '_';
    bool None() const { return size == '_'; }
};

struct Picture {
    std::string name;  // the index name: 26 characters, or a tool picture "REFHT_U.BMP"
    bool tool = false;
    std::string code;      // board code
    std::string toolCode;  // tool pictures only
    bool down = false;     // the pressed tool picture
    char entrySide = '_';
    char inSize = '_';
    char inColour = '_';
    Photon out1, out2;
    int frame = 0;   // 0 resting; 1..frames for a step
    int frames = 0;  // 0 resting
    int state = 0;   // resting pictures: a shutter's opening, the lamp's emission frame
    bool emission = false;
    std::string behaviour;  // the picture in words, for the manifest
};

bool ParseObjects(const std::string& text, std::vector<ObjectEntry>& objects, std::string& error);
bool ParseRules(const std::string& text, std::vector<Rule>& rules, std::string& error);

// Every picture in index order: the board pictures (the blank's first, then
// object by object, each resting picture before its steps), then the tool
// pictures in tool-box order. Uses the game's entry rules to decide which
// situations have a picture.
bool ExpandPictures(const std::vector<ObjectEntry>& objects, const std::vector<Rule>& rules,
                    std::vector<Picture>& pictures, std::string& error);

// The leaving photon of a rule for a photon entering through `entrySide`.
Photon ApplyPhotonRule(const PhotonRule& rule, char inSize, char inColour, char entrySide);

char TravelOfEntrySide(char entrySide);
// The words of a size ("small") and a colour ("red") letter; "?" for any other letter.
std::string SizeWord(char size);
std::string ColourWord(char colour);
char TurnLeft(char travel);
char TurnRight(char travel);

}  // namespace assets

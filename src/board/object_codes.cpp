#include "board/object_codes.h"

#include <array>
#include <string_view>

#include "common/toolbox_catalogue.h"

namespace quarvelt {

namespace {

struct CodePair {
    std::string_view tool;
    std::string_view board;
    bool placed;  // false: a board code only read back from old puzzles
};

constexpr std::array<CodePair, 11> CodePairs{{
    {"DIAY_", "DIAM_", true},
    {"FACY_", "FACE_", true},
    {"HRTRD", "HEART", true},
    {"MINER", "MINRL", true},
    {"PUZM_", "PUZZL", true},
    {"SQBN_", "SQRBN", true},
    {"SQGR_", "SQRGR", true},
    {"SQOR_", "SQROR", true},
    {"DETYL", "DETYE", true},
    // A splitter keeps its tool code on the board; these are its second board codes.
    {"SPLTF", "SPLTL", false},
    {"SPLTB", "SPLTR", false},
}};

// The resting frame of an object with no photon in it.
constexpr std::string_view RestingSuffix = "_______________00.BMP";

std::string_view TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string GetGameboardObj(int16_t tool) {
    if (tool < 0 || tool >= ToolboxRowCount) {
        return "";
    }
    const std::string_view raw = std::string_view(ToolboxObjectTable[tool].stem).substr(0, 5);
    const std::string_view trimmed = TrimBlanks(raw);
    std::string name;
    name = raw;
    for (const CodePair& pair : CodePairs) {
        if (pair.placed && pair.tool == trimmed) {
            name = pair.board;
            break;
        }
    }
    name += RestingSuffix;
    return name;
}

std::string ConvGameObjToToolObj(const std::string& name) {
    const std::string_view code = TrimBlanks(name).substr(0, 5);
    for (const CodePair& pair : CodePairs) {
        if (pair.board == code) {
            return std::string(pair.tool);
        }
    }
    return std::string(code);
}

}  // namespace quarvelt

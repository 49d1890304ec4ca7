#include "engine/entry_rules.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "engine/picture_names.h"

namespace quarvelt {

namespace {

// A refusal's two lines; only the mixers' colour refusal leaves the second one empty.
struct Refusal {
    std::string_view first;
    std::string_view second;
};

// The photon as the rules see it. `side` is the entry side letter, 0 for none.
struct Photon {
    const std::string& colour;
    const std::string& size;
    char side;
};

constexpr std::string_view CanNotEnter = "The Photon can not enter the";
constexpr std::string_view CanOnlyEnter = "The Photon can only enter the";

// An entry side refused, with the refusal's second line; the first is CanNotEnter.
struct SideRefusal {
    char side;
    std::string_view line;
};

// Rows name entry sides, not travel: "from the Left" is side 'L', a photon travelling "R".
// An empty side (a travel text that is none of the four letters) is in no set.
bool SideIn(char side, std::string_view sides) {
    return side != 0 && sides.find(side) != std::string_view::npos;
}

char EntrySide(const std::string& travel) {
    const char side = EntrySideOf(travel);
    return side == '_' ? 0 : side;
}

std::optional<Refusal> RefusedSide(std::span<const SideRefusal> refusals, char side) {
    for (const SideRefusal& refusal : refusals) {
        if (side != 0 && side == refusal.side) {
            return Refusal{CanNotEnter, refusal.line};
        }
    }
    return std::nullopt;
}

// Lamp: nothing comes back into it.

constexpr std::string_view LampCode = "LAMP_";
constexpr Refusal LampRefusal{"Photon can't re-enter", "or pass through the LAMP!"};

// Detectors: size, then colour, then side.

struct DetectorRule {
    std::string_view code;
    std::string_view size;
    std::string_view colour;
    std::string_view fitLine;
    std::string_view sideLine;
};

constexpr char DetectorSide = 'B';

constexpr std::array<DetectorRule, 7> Detectors{{
    {"DETWH", "L", "W", "correct for the WHITE DETECTOR!", "WHITE DETECTOR at the bottom."},
    {"DETRD", "M", "R", "correct for the RED DETECTOR!", "RED DETECTOR at the bottom."},
    {"DETGN", "L", "G", "correct for the GREEN DETECTOR!", "GREEN DETECTOR at the bottom."},
    {"DETBL", "S", "B", "correct for the BLUE DETECTOR!", "BLUE DETECTOR at the bottom."},
    {"DETYE", "L", "Y", "correct for the YELLOW DETECTOR!", "YELLOW DETECTOR at the bottom."},
    {"DETCY", "S", "C", "correct for the CYAN DETECTOR!", "CYAN DETECTOR at the bottom."},
    {"DETMG", "M", "M", "correct for the MAGENTA DETECTOR!", "MAGENTA DETECTOR at the bottom."},
}};

std::optional<Refusal> Judge(const DetectorRule& rule, const Photon& photon) {
    if (photon.size != rule.size) {
        return Refusal{"The Photon's size is not", rule.fitLine};
    }
    if (photon.colour != rule.colour) {
        return Refusal{"The Photon's color is not", rule.fitLine};
    }
    if (photon.side != DetectorSide) {
        return Refusal{CanOnlyEnter, rule.sideLine};
    }
    return std::nullopt;
}

// Filters: the one colour a filter stops, then the sides it cannot be crossed from.

struct FilterRule {
    std::string_view code;
    std::string_view stopped;
    Refusal colourRefusal;
    std::array<SideRefusal, 2> sides;
};

constexpr std::array<FilterRule, 6> Filters{{
    {"FLTHC",
     "R",
     {"The RED Photon is not", "correct for the CYAN FILTER!"},
     {{{'L', "HORIZ CYAN FILTER from the Left."}, {'R', "HORIZ CYAN FILTER from the Right."}}}},
    {"FLTHM",
     "G",
     {"The GREEN Photon is not", "correct for the MAGENTA FILTER!"},
     {{{'L', "HORIZ MAGENTA FILTER from the Left."},
       {'R', "HORIZ MAGENTA FILTER from the Right."}}}},
    {"FLTHY",
     "B",
     {"The BLUE Photon is not", "correct for the YELLOW FILTER!"},
     {{{'L', "HORIZ YELLOW FILTER from the Left."}, {'R', "HORIZ YELLOW FILTER from the Right."}}}},
    {"FLTVC",
     "R",
     {"The RED Photon is not", "correct for the CYAN FILTER!"},
     {{{'T', "VERT CYAN FILTER from the Top."}, {'B', "VERT CYAN FILTER from the Bottom."}}}},
    {"FLTVM",
     "G",
     {"The GREEN Photon is not", "correct for the MAGENTA FILTER!"},
     {{{'T', "VERT MAGENTA FILTER from the Top."}, {'B', "VERT MAGENTA FILTER from the Bottom."}}}},
    {"FLTVY",
     "B",
     {"The BLUE Photon is not", "correct for the YELLOW FILTER!"},
     {{{'T', "VERT YELLOW FILTER from the Top."}, {'B', "VERT YELLOW FILTER from the Bottom."}}}},
}};

std::optional<Refusal> Judge(const FilterRule& rule, const Photon& photon) {
    if (photon.colour == rule.stopped) {
        return rule.colourRefusal;
    }
    return RefusedSide(rule.sides, photon.side);
}

// Lenses: side, then the one size a lens cannot change any further.

struct LensRule {
    std::string_view code;
    std::string_view refusedSize;
    std::string_view sizeLine;
};

constexpr std::array<SideRefusal, 2> LensSides{{
    {'T', "LENS from the Top."},
    {'B', "LENS from the Bottom."},
}};

constexpr std::array<LensRule, 2> Lenses{{
    {"LENCC", "L", "Larger then the Large Photon."},
    {"LENCV", "S", "Smaller then the Small Photon."},
}};

std::optional<Refusal> Judge(const LensRule& rule, const Photon& photon) {
    if (auto refusal = RefusedSide(LensSides, photon.side)) {
        return refusal;
    }
    if (photon.size == rule.refusedSize) {
        return Refusal{"The Photon can not be made", rule.sizeLine};
    }
    return std::nullopt;
}

// Straight reflectors and coloured shutters: two sides they cannot be entered from.

struct SidesRule {
    std::string_view code;
    std::array<SideRefusal, 2> sides;
};

constexpr std::array<SidesRule, 4> Reflectors{{
    {"REFHT",
     {{{'L', "HORIZ REFLECTOR from the Left."}, {'R', "HORIZ REFLECTOR from the Right."}}}},
    {"REFHB",
     {{{'L', "HORIZ REFLECTOR from the Left."}, {'R', "HORIZ REFLECTOR from the Right."}}}},
    {"REFVR", {{{'T', "VERT REFLECTOR from the Top."}, {'B', "VERT REFLECTOR from the Bottom."}}}},
    {"REFVL", {{{'T', "VERT REFLECTOR from the Top."}, {'B', "VERT REFLECTOR from the Bottom."}}}},
}};

// "HORZ" from the left but "HORIZ" from the right: the game's own texts.
constexpr std::array<SidesRule, 6> Shutters{{
    {"SHHBN", {{{'L', "HORZ SHUTTER from the Left."}, {'R', "HORIZ SHUTTER from the Right."}}}},
    {"SHHGR", {{{'L', "HORZ SHUTTER from the Left."}, {'R', "HORIZ SHUTTER from the Right."}}}},
    {"SHHOR", {{{'L', "HORZ SHUTTER from the Left."}, {'R', "HORIZ SHUTTER from the Right."}}}},
    {"SHVBN", {{{'T', "VERT SHUTTER from the Top."}, {'B', "VERT SHUTTER from the Bottom."}}}},
    {"SHVGR", {{{'T', "VERT SHUTTER from the Top."}, {'B', "VERT SHUTTER from the Bottom."}}}},
    {"SHVOR", {{{'T', "VERT SHUTTER from the Top."}, {'B', "VERT SHUTTER from the Bottom."}}}},
}};

std::optional<Refusal> Judge(const SidesRule& rule, const Photon& photon) {
    return RefusedSide(rule.sides, photon.side);
}

// Peep holes: only small photons cross the wall; the centre pieces admit nothing else.

struct PeepHoleRule {
    std::string_view code;
    std::string_view crossingSides;  // entry sides of a photon crossing the wall
    bool centre;
    std::string_view wallLine;  // centre pieces only
    std::string_view smallLine;
};

constexpr std::array<PeepHoleRule, 6> PeepHoles{{
    {"PHHC_", "TB", true, "HORIZ PEEP HOLE from the Left or Right.",
     "pass through the HORIZ PEEP HOLE."},
    {"PHHB_", "TB", false, "", "pass through the HORIZ PEEP HOLE."},
    {"PHHT_", "TB", false, "", "pass through the HORIZ PEEP HOLE."},
    {"PHVC_", "LR", true, "VERT PEEP HOLE from the Top or Bottom.",
     "pass through the VERT PEEP HOLE."},
    {"PHVL_", "LR", false, "", "pass through the VERT PEEP HOLE."},
    {"PHVR_", "LR", false, "", "pass through the VERT PEEP HOLE."},
}};

std::optional<Refusal> Judge(const PeepHoleRule& rule, const Photon& photon) {
    const bool crossing = SideIn(photon.side, rule.crossingSides);
    if (rule.centre && !crossing) {
        return Refusal{CanNotEnter, rule.wallLine};
    }
    if (crossing && photon.size != "S") {
        return Refusal{"Only the Small Photon's can", rule.smallLine};
    }
    return std::nullopt;
}

// Barriers: the solid pieces refuse every photon, the others the sides they have a wall on.
// A three-wall piece refuses only through its back wall; its side walls are met from inside.

constexpr Refusal BarrierRefusal{"The Photon can not enter", "or pass through a BARRER/WALL."};

constexpr std::array<std::string_view, 40> SolidBarriers{{
    "BABSL", "BABSR", "BATSL", "BATSR", "BALST", "BALSB", "BARST", "BARSB", "BASLT", "BASRT",
    "BASLB", "BASRB", "BACBL", "BACBR", "BACC_", "BACCD", "BACCL", "BACCR", "BACCU", "BACLD",
    "BACLL", "BACLR", "BACLU", "BACRD", "BACRU", "BACTL", "BACTR", "BACUL", "BACUR", "BAHC_",
    "BALHC", "BARHC", "BALB_", "BALT_", "BARB_", "BART_", "BAVBC", "BAVC_", "BAVTC", "BASQ_",
}};

struct WallRule {
    std::string_view code;
    std::string_view walls;  // entry sides refused
};

constexpr std::array<WallRule, 10> WallBarriers{{
    {"BAL__", "L"},
    {"BAR__", "R"},
    {"BAT__", "T"},
    {"BAB__", "B"},
    {"BALR_", "LR"},
    {"BATB_", "TB"},
    {"BARTB", "R"},  // open to the left
    {"BALTB", "L"},  // open to the right
    {"BALRB", "B"},  // open at the top
    {"BALRT", "T"},  // open at the bottom
}};

std::optional<Refusal> Judge(const WallRule& rule, const Photon& photon) {
    if (SideIn(photon.side, rule.walls)) {
        return BarrierRefusal;
    }
    return std::nullopt;
}

// Mixers: one of two colours, then the one side the mixer takes its second input from.
// The magenta and yellow horizontal mixers take the side opposite their last letter.

struct MixerRule {
    std::string_view code;
    std::string_view colours;
    std::string_view colourLine;
    char side;
    std::string_view sideLine;
};

constexpr std::array<MixerRule, 12> Mixers{{
    {"MXHCB", "CR", "Incorrect color for the CYAN MIXER!", 'B',
     "this HORIZ Mixer from the Bottom."},
    {"MXHCT", "CR", "Incorrect color for the CYAN MIXER!", 'T', "this HORIZ Mixer from the Top."},
    {"MXVCL", "CR", "Incorrect color for the CYAN MIXER!", 'L', "this VERT Mixer from the Left."},
    {"MXVCR", "CR", "Incorrect color for the CYAN MIXER!", 'R', "this VERT Mixer from the Right."},
    {"MXHMT", "GM", "Incorrect color for the MAGENTA MIXER!", 'B',
     "this HORIZ Mixer from the Bottom."},
    {"MXHMB", "GM", "Incorrect color for the MAGENTA MIXER!", 'T',
     "this HORIZ Mixer from the Top."},
    {"MXVML", "GM", "Incorrect color for the MAGENTA MIXER!", 'L',
     "this VERT Mixer from the Left."},
    {"MXVMR", "GM", "Incorrect color for the MAGENTA MIXER!", 'R',
     "this VERT Mixer from the Right."},
    {"MXHYT", "YB", "Incorrect color for the YELLOW MIXER!", 'B',
     "this HORIZ Mixer from the Bottom."},
    {"MXHYB", "YB", "Incorrect color for the YELLOW MIXER!", 'T', "this HORIZ Mixer from the Top."},
    {"MXVYL", "YB", "Incorrect color for the YELLOW MIXER!", 'L', "this VERT Mixer from the Left."},
    {"MXVYR", "YB", "Incorrect color for the YELLOW MIXER!", 'R',
     "this VERT Mixer from the Right."},
}};

std::optional<Refusal> Judge(const MixerRule& rule, const Photon& photon) {
    const bool paired =
        photon.colour.size() == 1 && rule.colours.find(photon.colour[0]) != std::string_view::npos;
    if (!paired) {
        return Refusal{rule.colourLine, ""};
    }
    if (photon.side != rule.side) {
        return Refusal{CanOnlyEnter, rule.sideLine};
    }
    return std::nullopt;
}

template <typename Rule, size_t N>
const Rule* FindRule(const std::array<Rule, N>& rules, std::string_view code) {
    for (const Rule& rule : rules) {
        if (rule.code == code) {
            return &rule;
        }
    }
    return nullptr;
}

// Codes no family names (reflectors at 90 degrees, splitters, bonus objects, ...) admit all.
std::optional<Refusal> JudgeEntry(std::string_view code, const Photon& photon) {
    if (code == LampCode) {
        return LampRefusal;
    }
    if (std::find(SolidBarriers.begin(), SolidBarriers.end(), code) != SolidBarriers.end()) {
        return BarrierRefusal;
    }
    if (const auto* rule = FindRule(Detectors, code)) {
        return Judge(*rule, photon);
    }
    if (const auto* rule = FindRule(Filters, code)) {
        return Judge(*rule, photon);
    }
    if (const auto* rule = FindRule(Lenses, code)) {
        return Judge(*rule, photon);
    }
    if (const auto* rule = FindRule(Reflectors, code)) {
        return Judge(*rule, photon);
    }
    if (const auto* rule = FindRule(Shutters, code)) {
        return Judge(*rule, photon);
    }
    if (const auto* rule = FindRule(PeepHoles, code)) {
        return Judge(*rule, photon);
    }
    if (const auto* rule = FindRule(WallBarriers, code)) {
        return Judge(*rule, photon);
    }
    if (const auto* rule = FindRule(Mixers, code)) {
        return Judge(*rule, photon);
    }
    return std::nullopt;
}

std::string RefusalText(const Refusal& refusal) {
    std::string text = "ERROR: INVALIED USE!\r\r";
    text += refusal.first;
    if (!refusal.second.empty()) {
        text += '\r';
        text += refusal.second;
    }
    return text;
}

}  // namespace

std::string CheckPhotonEntry(const std::string& name, const std::string& colour,
                             const std::string& size, const std::string& travel) {
    const std::string_view code = std::string_view(name).substr(0, 5);
    const Photon photon{colour, size, EntrySide(travel)};
    if (auto refusal = JudgeEntry(code, photon)) {
        return RefusalText(*refusal);
    }
    return "";
}

Flag DetectorAccepts(const std::string& code, const std::string& colour, const std::string& size) {
    std::string upper = code;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    const DetectorRule* rule = FindRule(Detectors, upper);
    return rule != nullptr && colour == rule->colour && size == rule->size ? True : False;
}

std::string GetDetectorColor(const std::string& code) {
    const DetectorRule* rule = FindRule(Detectors, code);
    return rule != nullptr ? std::string(rule->colour) : std::string();
}

}  // namespace quarvelt

#include "common/vocabulary.h"

#include <algorithm>
#include <cmath>

namespace quarvelt {

namespace {

// The special objects take their display names from SpecialObjects, so no name is kept twice.
constexpr ObjectDisplayName Special(int number) {
    return {SpecialObjects[number - 1].code, SpecialObjects[number - 1].name};
}

constexpr std::array<ObjectDisplayName, ObjectDisplayNameCount> DisplayNames{{
    {"LAMP_", "Lamp"},

    {"DETWH", "White Detector"},
    {"DETRD", "Red Detector"},
    {"DETGN", "Green Detector"},
    {"DETBL", "Blue Detector"},
    {"DETYE", "Yellow Detector"},
    {"DETCY", "Cyan Detector"},
    {"DETMG", "Magenta Detector"},

    {"LENCC", "Concave Lens"},
    {"LENCV", "Convex Lens"},

    {"FLTHC", "Horiz Cyan Filter"},
    {"FLTHM", "Horiz Magenta Filter"},
    {"FLTHY", "Horiz Yellow Filter"},
    {"FLTVC", "Vert Cyan Filter"},
    {"FLTVM", "Vert Magenta Filter"},
    {"FLTVY", "Vert Yellow Filter"},

    {"REFHT", "Horiz Top Reflector"},
    {"REFHB", "Horiz Bottom Reflector"},
    {"REFVR", "Vert Right Reflector"},
    {"REFVL", "Vert Left Reflector"},
    // The degree sign is byte 0xB0; the literals are split so the escape ends there.
    // clang-format off
    {"REFLD", "Left 90" "\xB0" " Down Reflector"},
    {"REFLU", "Left 90" "\xB0" " Up Reflector"},
    {"REFRD", "Right 90" "\xB0" " Down Reflector"},
    {"REFRU", "Right 90" "\xB0" " Up Reflector"},
    // clang-format on

    {"SHUTT", "Delay Shutter"},
    Special(13),
    Special(14),
    Special(15),
    Special(16),
    Special(17),
    Special(18),

    {"PHHB_", "Horiz Bottom Peep hole"},
    {"PHHC_", "Horiz Center Peep hole"},
    {"PHHT_", "Horiz Top Peep hole"},
    {"PHVC_", "Vert Center Peep hole"},
    {"PHVL_", "Vert Left Peep hole"},
    {"PHVR_", "Vert Right Peep hole"},

    Special(1),
    Special(2),
    Special(3),
    Special(4),
    Special(5),
    Special(6),
    Special(7),
    Special(8),
    Special(9),
    Special(10),
    Special(11),
    Special(12),

    {"SPLTF", "Left Splitter"},
    {"SPLTL", "Left Splitter"},
    {"SPLTB", "Right Splitter"},
    {"SPLTR", "Right Splitter"},

    {"SPLRR", "Right Red Splitter"},
    {"SPLRL", "Left Red Splitter"},
    {"SPLBR", "Right Blue Splitter"},
    {"SPLBL", "Left Blue Splitter"},
    {"SPLGR", "Right Green Splitter"},
    {"SPLGL", "Left Green Splitter"},

    {"MXHCB", "Horiz Cyan/Red Mixer"},
    {"MXHCT", "Horiz Cyan/Red Mixer"},
    {"MXVCL", "Vert Cyan/Red Mixer"},
    {"MXVCR", "Vert Cyan/Red Mixer"},
    {"MXHMB", "Horiz Magenta/Green Mixer"},
    {"MXHMT", "Horiz Magenta/Green Mixer"},
    {"MXVML", "Vert Magenta/Green Mixer"},
    {"MXVMR", "Vert Magenta/Green Mixer"},
    {"MXHYB", "Horiz Yellow/Blue Mixer"},
    {"MXHYT", "Horiz Yellow/Blue Mixer"},
    {"MXVYL", "Vert Yellow/Blue Mixer"},
    {"MXVYR", "Vert Yellow/Blue Mixer"},

    // "Barrer" is the game's own spelling, kept with its punctuation and case.
    {"BACBL", "Barrer Center and Bottom Left"},
    {"BACBR", "Barrer Center and Bottom Right"},
    {"BACC_", "Barrer Cross"},
    {"BACCD", "Barrer Center and Down"},
    {"BACCL", "Barrer Center and Left"},
    {"BACCR", "Barrer Center and Right"},
    {"BACCU", "Barrer Center and Up"},
    {"BACLD", "Barrer Center and Down"},
    {"BACLL", "Barrer Center Left and Down"},
    {"BACLR", "Barrer Center Left and Right"},
    {"BACLU", "Barrer Center Left and Up"},
    {"BACRD", "Barrer Center Right and Down"},
    {"BACRU", "Barrer Center Right and Up"},
    {"BACTL", "Barrer Center Top and Left"},
    {"BACTR", "Barrer Center Top and Right"},
    {"BACUL", "Barrer Center Up and Left"},
    {"BACUR", "Barrer Center Up and Right"},
    {"BAHC_", "Barrer Horiz in Center"},
    {"BALB_", "Barrer on Left and Bottom"},
    {"BALHC", "Barrer on and Horiz Center"},
    {"BALRB", "Barrer on Left, Right and Bottom"},
    {"BALRT", "Barrer on Left, Right and Top"},
    {"BALT_", "Barrer on Left and Top"},
    {"BALTB", "Barrer on Left, Top and Bottom"},
    {"BABSL", "Barrer on Bottom with Short Left."},
    {"BABSR", "Barrer on Bottom with Short Right."},
    {"BATSL", "Barrer on Top with Short Left."},
    {"BATSR", "Barrer on Top with Short Right."},
    {"BALST", "Barrer on Left with Short Top."},
    {"BALSB", "Barrer on Left with Short Bottom."},
    {"BARST", "Barrer on Right with Short Top."},
    {"BARSB", "Barrer on Right with Short Bottom."},
    {"BASLT", "Barrer, Short left Top."},
    {"BASRT", "Barrer, Short Right Top."},
    {"BASLB", "Barrer, Short Left Bottom."},
    {"BASRB", "Barrer, Short Right Bottom."},
    {"BAVBC", "Barrer on Bottom with Vert Center"},
    {"BAVC_", "Barrer Vert Center"},
    {"BAVTC", "Barrer on Top with Vert Center"},
    {"BARHC", "Barrer on Right with Horiz Center"},
    {"BARB_", "Barrer Right Bottom"},
    {"BART_", "Barrer on Right Top"},
    {"BARTB", "Barrer on Top, Bottom and Right"},
    {"BAL__", "Barrer on Left"},
    {"BALR_", "Barrer on Left and Right"},
    {"BAR__", "Barrer on Right"},
    {"BASQ_", "Barrer on all sides"},
    {"BAT__", "Barrer on Top"},
    {"BATB_", "Barrer on Top and Bottom"},
    {"BAB__", "Barrer on Bottom"},
}};

constexpr bool CodeLess(const ObjectDisplayName& a, const ObjectDisplayName& b) {
    return a.code < b.code;
}

// Sorted once, at compile time, for a binary search that allocates nothing.
constexpr auto SortedDisplayNames = [] {
    auto sorted = DisplayNames;
    std::sort(sorted.begin(), sorted.end(), CodeLess);
    return sorted;
}();

constexpr bool CodesWellFormed() {
    for (size_t i = 0; i < SortedDisplayNames.size(); ++i) {
        if (SortedDisplayNames[i].code.size() != 5 || SortedDisplayNames[i].name.empty()) {
            return false;
        }
        if (i > 0 && SortedDisplayNames[i - 1].code == SortedDisplayNames[i].code) {
            return false;
        }
    }
    return true;
}
static_assert(CodesWellFormed(), "display-name codes must be five characters and unique");

constexpr bool SpecialObjectsNumbered() {
    for (size_t i = 0; i < SpecialObjects.size(); ++i) {
        if (SpecialObjects[i].number != static_cast<int16_t>(i + 1)) {
            return false;
        }
    }
    return true;
}
static_assert(SpecialObjectsNumbered(), "special objects must be numbered 1 to 18 in order");

const SpecialObject* FindSpecial(std::string_view code) {
    for (const SpecialObject& object : SpecialObjects) {
        if (object.code == code) {
            return &object;
        }
    }
    return nullptr;
}

}  // namespace

std::span<const ObjectDisplayName, ObjectDisplayNameCount> AllObjectDisplayNames() {
    return DisplayNames;
}

std::string GetObjectDisplayName(const std::string& code) {
    const std::string_view key = code;
    const auto found = std::lower_bound(
        SortedDisplayNames.begin(), SortedDisplayNames.end(), key,
        [](const ObjectDisplayName& entry, std::string_view k) { return entry.code < k; });
    if (found == SortedDisplayNames.end() || found->code != key) {
        return {};
    }
    return std::string(found->name);
}

int16_t GetSpecialObjNumber(const std::string& code) {
    const SpecialObject* object = FindSpecial(code);
    return object ? object->number : 0;
}

std::string GetSpecialObjCode(double number) {
    // The range test is negated so that NaN is turned away too.
    if (!(number >= 1 && number <= SpecialObjectCount) || std::floor(number) != number) {
        return {};
    }
    return std::string(SpecialObjects[static_cast<size_t>(number) - 1].code);
}

std::string GetSpecialObjName(const std::string& code) {
    const SpecialObject* object = FindSpecial(code);
    return object ? std::string(object->name) : std::string();
}

std::string GetSpecialObjColor(int16_t number) {
    if (number < 1 || number > SpecialObjectCount) {
        return {};
    }
    return std::string(SpecialObjects[number - 1].color);
}

}  // namespace quarvelt

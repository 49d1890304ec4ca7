#include "engine/entry_rules.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "common/vocabulary.h"

namespace quarvelt {
namespace {

const std::vector<std::string> Sizes = {"S", "M", "L"};
const std::vector<std::string> Colours = {"R", "G", "B", "C", "M", "Y", "W"};
const std::vector<std::string> Travels = {"L", "R", "T", "B"};

std::string Refused(const std::string& first, const std::string& second) {
    return "ERROR: INVALIED USE!\r\r" + first + "\r" + second;
}

// One photon stepping into one object; an empty `first` means it is let in.
struct EntryCase {
    std::string name;
    std::string colour;
    std::string size;
    std::string travel;
    std::string first;
    std::string second;
};

void ExpectCases(const std::vector<EntryCase>& cases) {
    for (const EntryCase& c : cases) {
        const std::string expected = c.first.empty() ? "" : Refused(c.first, c.second);
        EXPECT_EQ(CheckPhotonEntry(c.name, c.colour, c.size, c.travel), expected)
            << c.name << " " << c.size << c.colour << " travelling \"" << c.travel << "\"";
    }
}

const std::string NotEnter = "The Photon can not enter the";

TEST(EntryRulesTest, RefusalTextIsHeadingBlankLineAndTwoLines) {
    EXPECT_EQ(CheckPhotonEntry("LAMP_", "W", "M", "R"),
              "ERROR: INVALIED USE!\r\rPhoton can't re-enter\ror pass through the LAMP!");
    EXPECT_EQ(CheckPhotonEntry("MXHCB", "G", "M", "T"),
              "ERROR: INVALIED USE!\r\rIncorrect color for the CYAN MIXER!");
}

TEST(EntryRulesTest, CodeIsTheFirstFiveCharactersOfTheName) {
    EXPECT_EQ(CheckPhotonEntry("DETRD_MRT______MR_00.BMP", "R", "M", "T"), "");
    EXPECT_NE(CheckPhotonEntry("LAMP__________MWR___03.BMP", "W", "M", "L"), "");
    // No trimming and no case folding: these name no object.
    for (const char* name : {"lamp_", " LAMP_", "LAMP", "", "DETR"}) {
        EXPECT_EQ(CheckPhotonEntry(name, "W", "L", "B"), "") << name;
    }
}

TEST(EntryRulesTest, DetectorsTestSizeThenColourThenSide) {
    struct Detector {
        std::string code, size, colour, colourName;
    };
    const std::vector<Detector> detectors = {
        {"DETWH", "L", "W", "WHITE"},  {"DETRD", "M", "R", "RED"},    {"DETGN", "L", "G", "GREEN"},
        {"DETBL", "S", "B", "BLUE"},   {"DETYE", "L", "Y", "YELLOW"}, {"DETCY", "S", "C", "CYAN"},
        {"DETMG", "M", "M", "MAGENTA"}};
    for (const Detector& d : detectors) {
        const std::string fit = "correct for the " + d.colourName + " DETECTOR!";
        const std::string side = d.colourName + " DETECTOR at the bottom.";
        for (const std::string& size : Sizes) {
            for (const std::string& colour : Colours) {
                for (const std::string& travel : Travels) {
                    std::string expected;
                    if (size != d.size) {
                        expected = Refused("The Photon's size is not", fit);
                    } else if (colour != d.colour) {
                        expected = Refused("The Photon's color is not", fit);
                    } else if (travel != "T") {
                        expected = Refused("The Photon can only enter the", side);
                    }
                    EXPECT_EQ(CheckPhotonEntry(d.code, colour, size, travel), expected)
                        << d.code << " " << size << colour << travel;
                }
            }
        }
    }
}

TEST(EntryRulesTest, FiltersTestColourThenSide) {
    ExpectCases({
        {"FLTHC", "R", "S", "R", "The RED Photon is not", "correct for the CYAN FILTER!"},
        {"FLTHC", "W", "L", "T", "", ""},
        {"FLTHC", "W", "M", "R", NotEnter, "HORIZ CYAN FILTER from the Left."},
        {"FLTHC", "C", "M", "L", NotEnter, "HORIZ CYAN FILTER from the Right."},
        {"FLTHM", "G", "L", "B", "The GREEN Photon is not", "correct for the MAGENTA FILTER!"},
        {"FLTHM", "R", "S", "R", NotEnter, "HORIZ MAGENTA FILTER from the Left."},
        {"FLTHM", "B", "S", "L", NotEnter, "HORIZ MAGENTA FILTER from the Right."},
        {"FLTHY", "B", "M", "L", "The BLUE Photon is not", "correct for the YELLOW FILTER!"},
        {"FLTHY", "Y", "M", "R", NotEnter, "HORIZ YELLOW FILTER from the Left."},
        {"FLTHY", "G", "M", "L", NotEnter, "HORIZ YELLOW FILTER from the Right."},
        {"FLTHY", "M", "S", "B", "", ""},
        {"FLTVC", "R", "M", "R", "The RED Photon is not", "correct for the CYAN FILTER!"},
        {"FLTVC", "B", "M", "B", NotEnter, "VERT CYAN FILTER from the Top."},
        {"FLTVC", "W", "M", "T", NotEnter, "VERT CYAN FILTER from the Bottom."},
        {"FLTVC", "Y", "L", "L", "", ""},
        {"FLTVM", "G", "S", "T", "The GREEN Photon is not", "correct for the MAGENTA FILTER!"},
        {"FLTVM", "M", "S", "B", NotEnter, "VERT MAGENTA FILTER from the Top."},
        {"FLTVM", "C", "S", "T", NotEnter, "VERT MAGENTA FILTER from the Bottom."},
        {"FLTVY", "B", "L", "R", "The BLUE Photon is not", "correct for the YELLOW FILTER!"},
        {"FLTVY", "R", "L", "B", NotEnter, "VERT YELLOW FILTER from the Top."},
        {"FLTVY", "W", "L", "T", NotEnter, "VERT YELLOW FILTER from the Bottom."},
        {"FLTVY", "W", "S", "R", "", ""},
    });
}

TEST(EntryRulesTest, LensesTestSideThenSize) {
    ExpectCases({
        {"LENCC", "G", "L", "B", NotEnter, "LENS from the Top."},
        {"LENCC", "G", "L", "R", "The Photon can not be made", "Larger then the Large Photon."},
        {"LENCC", "W", "S", "T", NotEnter, "LENS from the Bottom."},
        {"LENCC", "W", "M", "L", "", ""},
        {"LENCV", "R", "S", "T", NotEnter, "LENS from the Bottom."},
        {"LENCV", "R", "S", "L", "The Photon can not be made", "Smaller then the Small Photon."},
        {"LENCV", "C", "M", "B", NotEnter, "LENS from the Top."},
        {"LENCV", "C", "L", "R", "", ""},
    });
}

TEST(EntryRulesTest, StraightReflectorsAndShuttersRefuseTwoSides) {
    std::vector<EntryCase> cases;
    const auto add = [&](const std::string& code, const std::string& left, const std::string& right,
                         const std::string& top, const std::string& bottom) {
        // A blank line means that side is open; travel "R" enters from the left.
        for (const auto& [travel, line] : std::map<std::string, std::string>{
                 {"R", left}, {"L", right}, {"B", top}, {"T", bottom}}) {
            cases.push_back({code, "Y", "M", travel, line.empty() ? "" : NotEnter, line});
        }
    };
    for (const char* code : {"REFHT", "REFHB"}) {
        add(code, "HORIZ REFLECTOR from the Left.", "HORIZ REFLECTOR from the Right.", "", "");
    }
    for (const char* code : {"REFVR", "REFVL"}) {
        add(code, "", "", "VERT REFLECTOR from the Top.", "VERT REFLECTOR from the Bottom.");
    }
    for (const char* code : {"SHHBN", "SHHGR", "SHHOR"}) {
        add(code, "HORZ SHUTTER from the Left.", "HORIZ SHUTTER from the Right.", "", "");
    }
    for (const char* code : {"SHVBN", "SHVGR", "SHVOR"}) {
        add(code, "", "", "VERT SHUTTER from the Top.", "VERT SHUTTER from the Bottom.");
    }
    ExpectCases(cases);
}

TEST(EntryRulesTest, PeepHolesLetOnlySmallPhotonsThroughTheWall) {
    const std::string small = "Only the Small Photon's can";
    ExpectCases({
        {"PHHC_", "R", "S", "L", NotEnter, "HORIZ PEEP HOLE from the Left or Right."},
        {"PHHC_", "R", "L", "R", NotEnter, "HORIZ PEEP HOLE from the Left or Right."},
        {"PHHC_", "R", "M", "T", small, "pass through the HORIZ PEEP HOLE."},
        {"PHHC_", "R", "S", "B", "", ""},
        {"PHHT_", "W", "L", "R", "", ""},
        {"PHHT_", "W", "L", "T", small, "pass through the HORIZ PEEP HOLE."},
        {"PHHB_", "W", "M", "L", "", ""},
        {"PHHB_", "W", "M", "B", small, "pass through the HORIZ PEEP HOLE."},
        {"PHHB_", "W", "S", "T", "", ""},
        {"PHVC_", "G", "S", "T", NotEnter, "VERT PEEP HOLE from the Top or Bottom."},
        {"PHVC_", "G", "M", "R", small, "pass through the VERT PEEP HOLE."},
        {"PHVC_", "G", "S", "L", "", ""},
        {"PHVL_", "B", "L", "B", "", ""},
        {"PHVL_", "B", "L", "R", small, "pass through the VERT PEEP HOLE."},
        {"PHVR_", "B", "M", "L", small, "pass through the VERT PEEP HOLE."},
        {"PHVR_", "B", "S", "R", "", ""},
    });
}

TEST(EntryRulesTest, BarriersRefuseEntryThroughTheirWalls) {
    const std::string first = "The Photon can not enter";
    const std::string second = "or pass through a BARRER/WALL.";
    // Refused travels of the pieces with open sides; every other barrier, "BASQ_"
    // included, refuses every photon, with or without a travel letter.
    const std::map<std::string, std::string> walled = {
        {"BAL__", "R"},  {"BAR__", "L"}, {"BAT__", "B"}, {"BAB__", "T"}, {"BALR_", "LR"},
        {"BATB_", "TB"}, {"BARTB", "L"}, {"BALTB", "R"}, {"BALRB", "T"}, {"BALRT", "B"},
    };
    int barriers = 0;
    for (const ObjectDisplayName& object : AllObjectDisplayNames()) {
        if (!object.code.starts_with("BA")) {
            continue;
        }
        ++barriers;
        const std::string code(object.code);
        const auto walls = walled.find(code);
        for (const std::string travel : {"L", "R", "T", "B", "", "X"}) {
            const bool refuses =
                walls == walled.end() ||
                (travel.size() == 1 && walls->second.find(travel) != std::string::npos);
            EXPECT_EQ(CheckPhotonEntry(code, "W", "S", travel),
                      refuses ? Refused(first, second) : "")
                << code << " travelling \"" << travel << "\"";
        }
    }
    EXPECT_EQ(barriers, 50);
}

TEST(EntryRulesTest, MixersTestColourThenTheirOneSide) {
    struct Mixer {
        std::string code, colours, travel, colourName, sideLine;
    };
    const std::vector<Mixer> mixers = {
        {"MXHCB", "CR", "T", "CYAN", "this HORIZ Mixer from the Bottom."},
        {"MXHCT", "CR", "B", "CYAN", "this HORIZ Mixer from the Top."},
        {"MXVCL", "CR", "R", "CYAN", "this VERT Mixer from the Left."},
        {"MXVCR", "CR", "L", "CYAN", "this VERT Mixer from the Right."},
        {"MXHMT", "GM", "T", "MAGENTA", "this HORIZ Mixer from the Bottom."},
        {"MXHMB", "GM", "B", "MAGENTA", "this HORIZ Mixer from the Top."},
        {"MXVML", "GM", "R", "MAGENTA", "this VERT Mixer from the Left."},
        {"MXVMR", "GM", "L", "MAGENTA", "this VERT Mixer from the Right."},
        {"MXHYT", "YB", "T", "YELLOW", "this HORIZ Mixer from the Bottom."},
        {"MXHYB", "YB", "B", "YELLOW", "this HORIZ Mixer from the Top."},
        {"MXVYL", "YB", "R", "YELLOW", "this VERT Mixer from the Left."},
        {"MXVYR", "YB", "L", "YELLOW", "this VERT Mixer from the Right."},
    };
    for (const Mixer& m : mixers) {
        for (const std::string& colour : Colours) {
            for (const std::string& travel : Travels) {
                std::string expected;
                if (m.colours.find(colour) == std::string::npos) {
                    expected = "ERROR: INVALIED USE!\r\rIncorrect color for the " + m.colourName +
                               " MIXER!";
                } else if (travel != m.travel) {
                    expected = Refused("The Photon can only enter the", m.sideLine);
                }
                EXPECT_EQ(CheckPhotonEntry(m.code, colour, "L", travel), expected)
                    << m.code << " " << colour << travel;
            }
        }
    }
    EXPECT_NE(CheckPhotonEntry("MXHCB", "", "M", "T"), "");
    EXPECT_NE(CheckPhotonEntry("MXHCB", "CR", "M", "T"), "");
}

TEST(EntryRulesTest, TravelOutsideTheFourLettersEntersFromNoSide) {
    for (const std::string travel : {"", "X", "t", "TB", " T"}) {
        ExpectCases({
            // Tests that demand a side refuse.
            {"DETRD", "R", "M", travel, "The Photon can only enter the",
             "RED DETECTOR at the bottom."},
            {"MXHCB", "C", "S", travel, "The Photon can only enter the",
             "this HORIZ Mixer from the Bottom."},
            {"PHHC_", "W", "S", travel, NotEnter, "HORIZ PEEP HOLE from the Left or Right."},
            {"PHVC_", "W", "S", travel, NotEnter, "VERT PEEP HOLE from the Top or Bottom."},
            // Tests that refuse a named side pass; colour and size still apply.
            {"FLTHC", "W", "M", travel, "", ""},
            {"FLTVY", "B", "M", travel, "The BLUE Photon is not", "correct for the YELLOW FILTER!"},
            {"LENCC", "W", "M", travel, "", ""},
            {"LENCC", "W", "L", travel, "The Photon can not be made",
             "Larger then the Large Photon."},
            {"REFVL", "W", "M", travel, "", ""},
            {"SHHOR", "W", "M", travel, "", ""},
            {"PHHT_", "W", "L", travel, "", ""},
            {"BATB_", "W", "L", travel, "", ""},
            {"BALRB", "W", "L", travel, "", ""},
            {"DETRD", "G", "L", travel, "The Photon's size is not",
             "correct for the RED DETECTOR!"},
            {"LAMP_", "W", "M", travel, "Photon can't re-enter", "or pass through the LAMP!"},
        });
    }
}

// How many of the 84 situations (size, colour, travel) each object admits:
// the picture set ships exactly one stem per admitted situation.
TEST(EntryRulesTest, AdmittedSituationsPerObject) {
    const std::map<std::string, int> admitted = {
        {"BLANK", 84}, {"LAMP_", 0},  {"DETWH", 1},  {"DETMG", 1},  {"FLTHC", 36}, {"FLTVY", 36},
        {"LENCC", 28}, {"LENCV", 28}, {"REFHT", 42}, {"REFLD", 84}, {"SHHGR", 42}, {"SHUTT", 84},
        {"PHHC_", 14}, {"PHVL_", 56}, {"BAL__", 63}, {"BALR_", 42}, {"BARTB", 63}, {"BACC_", 0},
        {"MXHYT", 6},  {"SPLTF", 84}, {"SPLRL", 84}, {"DIAM_", 84}, {"KEYOR", 84}, {"SQRBN", 84},
    };
    for (const auto& [code, count] : admitted) {
        int let = 0;
        for (const std::string& size : Sizes) {
            for (const std::string& colour : Colours) {
                for (const std::string& travel : Travels) {
                    const std::string text = CheckPhotonEntry(code, colour, size, travel);
                    if (text.empty()) {
                        ++let;
                        continue;
                    }
                    EXPECT_TRUE(text.starts_with("ERROR: INVALIED USE!\r\r")) << code;
                    EXPECT_NE(text.back(), '\r') << code;
                }
            }
        }
        EXPECT_EQ(let, count) << code;
    }
}

TEST(DetectorTest, AcceptsOnlyItsOwnColourAndSize) {
    const std::map<std::string, std::pair<std::string, std::string>> own = {
        {"DETWH", {"W", "L"}}, {"DETRD", {"R", "M"}}, {"DETGN", {"G", "L"}}, {"DETBL", {"B", "S"}},
        {"DETYE", {"Y", "L"}}, {"DETCY", {"C", "S"}}, {"DETMG", {"M", "M"}}};
    for (const auto& [code, photon] : own) {
        EXPECT_EQ(GetDetectorColor(code), photon.first);
        for (const std::string& size : Sizes) {
            for (const std::string& colour : Colours) {
                const bool mine = colour == photon.first && size == photon.second;
                EXPECT_EQ(DetectorAccepts(code, colour, size), mine ? True : False)
                    << code << " " << size << colour;
            }
        }
    }
}

TEST(DetectorTest, OnlyTheCodeIsUpperCased) {
    EXPECT_EQ(DetectorAccepts("detbl", "B", "S"), True);
    EXPECT_EQ(DetectorAccepts("DeTbL", "B", "S"), True);
    EXPECT_EQ(DetectorAccepts("DETBL", "b", "S"), False);
    EXPECT_EQ(DetectorAccepts("DETBL", "B", "s"), False);
    EXPECT_EQ(GetDetectorColor("detbl"), "");
}

TEST(DetectorTest, AnythingButADetectorCodeIsNone) {
    // "DETYL" is the yellow detector's tool-box code, not a board code.
    for (const char* code : {"DETYL", "LAMP_", "", "DET", "DETBL_", " DETBL", "DETBL_______"}) {
        EXPECT_EQ(DetectorAccepts(code, "B", "S"), False) << code;
        EXPECT_EQ(DetectorAccepts(code, "Y", "L"), False) << code;
        EXPECT_EQ(GetDetectorColor(code), "") << code;
    }
}

}  // namespace
}  // namespace quarvelt

#include "common/vocabulary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace quarvelt {
namespace {

struct Named {
    std::string code;
    std::string name;
};

// The reference list, written out independently of the game's table.
const std::vector<Named>& ReferenceNames() {
    static const std::vector<Named> names = {
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
        {"REFLD", "Left 90\xB0 Down Reflector"},
        {"REFLU", "Left 90\xB0 Up Reflector"},
        {"REFRD", "Right 90\xB0 Down Reflector"},
        {"REFRU", "Right 90\xB0 Up Reflector"},
        {"SHUTT", "Delay Shutter"},
        {"SHHBN", "Brown Horiz Shutter"},
        {"SHHGR", "Gray Horiz Shutter"},
        {"SHHOR", "Orange Horiz Shutter"},
        {"SHVBN", "Brown Vert Shutter"},
        {"SHVGR", "Gray Vert Shutter"},
        {"SHVOR", "Orange Vert Shutter"},
        {"PHHB_", "Horiz Bottom Peep hole"},
        {"PHHC_", "Horiz Center Peep hole"},
        {"PHHT_", "Horiz Top Peep hole"},
        {"PHVC_", "Vert Center Peep hole"},
        {"PHVL_", "Vert Left Peep hole"},
        {"PHVR_", "Vert Right Peep hole"},
        {"DIAM_", "Diamond"},
        {"APPLE", "Apple"},
        {"FACE_", "Face"},
        {"HEART", "Heart"},
        {"MINRL", "Mineral"},
        {"PUZZL", "Puzzle"},
        {"SQRBN", "Brown Square"},
        {"SQRGR", "Gray Square"},
        {"SQROR", "Orange Square"},
        {"KEYBN", "Brown Key"},
        {"KEYGR", "Gray Key"},
        {"KEYOR", "Orange Key"},
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
    };
    return names;
}

// Numbers 1 to 18 in order.
const std::vector<std::string> SpecialCodes = {
    "DIAM_", "APPLE", "FACE_", "HEART", "MINRL", "PUZZL", "SQRBN", "SQRGR", "SQROR",
    "KEYBN", "KEYGR", "KEYOR", "SHHBN", "SHHGR", "SHHOR", "SHVBN", "SHVGR", "SHVOR"};
const std::vector<std::string> SpecialColors = {
    "",      "",     "",       "",      "",     "",       "BROWN", "GRAY", "ORANGE",
    "BROWN", "GRAY", "ORANGE", "BROWN", "GRAY", "ORANGE", "BROWN", "GRAY", "ORANGE"};

TEST(VocabularyTest, DisplayNamesAreExactlyTheReferenceList) {
    const auto& reference = ReferenceNames();
    ASSERT_EQ(reference.size(), 121u);

    std::set<std::string> referenceCodes;
    for (const Named& entry : reference) {
        EXPECT_TRUE(referenceCodes.insert(entry.code).second) << "listed twice: " << entry.code;
        EXPECT_EQ(GetObjectDisplayName(entry.code), entry.name) << entry.code;
    }

    // The game's table holds no code beyond the reference, so the two are the same 121.
    const auto table = AllObjectDisplayNames();
    EXPECT_EQ(table.size(), 121u);
    std::set<std::string> tableCodes;
    for (const ObjectDisplayName& entry : table) {
        tableCodes.insert(std::string(entry.code));
    }
    EXPECT_EQ(tableCodes, referenceCodes);
}

TEST(VocabularyTest, CornerReflectorNamesCarryOneDegreeByte) {
    const std::string name = GetObjectDisplayName("REFLD");
    ASSERT_EQ(name.size(), 23u);
    EXPECT_EQ(name.substr(0, 7), "Left 90");
    EXPECT_EQ(static_cast<unsigned char>(name[7]), 0xB0);
    EXPECT_EQ(name.substr(8), " Down Reflector");

    for (const char* code : {"REFLU", "REFRD", "REFRU"}) {
        const std::string other = GetObjectDisplayName(code);
        const size_t degree = other.find('\xB0');
        ASSERT_NE(degree, std::string::npos) << code;
        EXPECT_EQ(other.find('\xB0', degree + 1), std::string::npos) << code;
        EXPECT_EQ(other.substr(degree - 3, 3), " 90") << code;
        EXPECT_EQ(other[degree + 1], ' ') << code;
    }
}

TEST(VocabularyTest, PairedCodesShareOneText) {
    EXPECT_EQ(GetObjectDisplayName("BACLD"), "Barrer Center and Down");
    EXPECT_EQ(GetObjectDisplayName("BACCD"), "Barrer Center and Down");
    EXPECT_EQ(GetObjectDisplayName("BASLT"), "Barrer, Short left Top.");
    EXPECT_EQ(GetObjectDisplayName("MXVCL"), "Vert Cyan/Red Mixer");
    EXPECT_EQ(GetObjectDisplayName("MXVCR"), "Vert Cyan/Red Mixer");
    EXPECT_EQ(GetObjectDisplayName("SPLTF"), "Left Splitter");
}

TEST(VocabularyTest, CodesOutsideTheTableHaveNoName) {
    const std::vector<std::string> unknown = {"BLANK",
                                              "lamp_",
                                              "Lamp_",
                                              "LAMP",
                                              "LAMP__",
                                              "LAMP_ ",
                                              " LAMP_",
                                              "DIAY_",
                                              "",
                                              "_____",
                                              std::string("DIAM_\0", 6),
                                              "ZZZZZ",
                                              "AAAAA"};
    for (const std::string& code : unknown) {
        EXPECT_EQ(GetObjectDisplayName(code), "") << '"' << code << '"';
        EXPECT_EQ(GetSpecialObjNumber(code), 0) << '"' << code << '"';
        EXPECT_EQ(GetSpecialObjName(code), "") << '"' << code << '"';
    }
}

TEST(VocabularyTest, SpecialObjectLookUpsAgree) {
    for (int16_t n = 1; n <= 18; ++n) {
        const std::string code = GetSpecialObjCode(n);
        EXPECT_EQ(code, SpecialCodes[n - 1]) << n;
        EXPECT_EQ(GetSpecialObjNumber(code), n) << code;
        EXPECT_FALSE(GetSpecialObjName(code).empty()) << code;
        EXPECT_EQ(GetSpecialObjName(code), GetObjectDisplayName(code)) << code;
        EXPECT_EQ(GetSpecialObjColor(n), SpecialColors[n - 1]) << n;
    }
    EXPECT_EQ(GetSpecialObjName("SHHBN"), "Brown Horiz Shutter");
    EXPECT_EQ(GetSpecialObjName("PUZZL"), "Puzzle");
}

TEST(VocabularyTest, OtherObjectsAreNotSpecial) {
    EXPECT_EQ(GetSpecialObjNumber("SQRGR"), 8);
    EXPECT_EQ(GetSpecialObjNumber("SHUTT"), 0);
    EXPECT_EQ(GetSpecialObjNumber("DETWH"), 0);
    EXPECT_EQ(GetSpecialObjNumber("sqrgr"), 0);
    EXPECT_EQ(GetSpecialObjName("SHUTT"), "");
    EXPECT_EQ(GetSpecialObjName("LAMP_"), "");
}

TEST(VocabularyTest, SpecialCodeComparesTheNumberByValue) {
    EXPECT_EQ(GetSpecialObjCode(8), "SQRGR");
    EXPECT_EQ(GetSpecialObjCode(8.0), "SQRGR");
    EXPECT_EQ(GetSpecialObjCode(static_cast<int16_t>(18)), "SHVOR");
    EXPECT_EQ(GetSpecialObjCode(1.0f), "DIAM_");

    const double noCode[] = {0,
                             19,
                             -1,
                             8.5,
                             0.999,
                             18.000001,
                             -0.0,
                             std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             1e300};
    for (double number : noCode) {
        EXPECT_EQ(GetSpecialObjCode(number), "") << number;
    }
}

TEST(VocabularyTest, ColorWordsOnlyForSquaresKeysAndShutters) {
    for (int16_t n : {7, 10, 13, 16}) {
        EXPECT_EQ(GetSpecialObjColor(n), "BROWN") << n;
    }
    EXPECT_EQ(GetSpecialObjColor(18), "ORANGE");
    for (int16_t n : {int16_t{0}, int16_t{1}, int16_t{6}, int16_t{19}, int16_t{-1},
                      std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()}) {
        EXPECT_EQ(GetSpecialObjColor(n), "") << n;
    }
}

}  // namespace
}  // namespace quarvelt

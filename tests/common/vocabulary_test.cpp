#include "common/vocabulary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace quarvelt {
namespace {

// A board code: five upper-case letters, digits or "_".
bool IsBoardCode(std::string_view code) {
    return code.size() == 5 && std::all_of(code.begin(), code.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
           });
}

// One line of single-byte text a window can show: printable ASCII or the degree sign.
bool IsWindowText(std::string_view text) {
    return !text.empty() && text.front() != ' ' && text.back() != ' ' &&
           std::all_of(text.begin(), text.end(), [](char c) {
               const auto byte = static_cast<unsigned char>(c);
               return (byte >= 0x20 && byte < 0x7F) || byte == 0xB0;
           });
}

TEST(VocabularyTest, EveryNamedCodeIsFoundWithItsOneLineName) {
    std::set<std::string> codes;
    for (const ObjectDisplayName& entry : AllObjectDisplayNames()) {
        const std::string code(entry.code);
        SCOPED_TRACE(code);
        EXPECT_TRUE(IsBoardCode(code));
        EXPECT_TRUE(codes.insert(code).second) << "listed twice";
        EXPECT_TRUE(IsWindowText(entry.name)) << entry.name;
        EXPECT_EQ(GetObjectDisplayName(code), entry.name);
    }
    EXPECT_EQ(codes.size(), ObjectDisplayNameCount);
    EXPECT_EQ(GetObjectDisplayName("LAMP_"), "Lamp");
    EXPECT_EQ(GetObjectDisplayName("BAB__"), "Barrer on Bottom");
}

// Each family question says yes to exactly the codes the names call that family,
// and to the picture names made from them, which the compile and the tallies ask about.
TEST(VocabularyTest, FamilyQuestionsAnswerForTheirNamedCodesOnly) {
    struct Family {
        const char* what;
        bool (*asks)(std::string_view code);
        bool (*named)(std::string_view name);
        int count;
    };
    const Family families[] = {
        {"mixer", IsMixerCode, [](std::string_view name) { return name.ends_with(" Mixer"); }, 12},
        {"splitter", IsSplitterCode,
         [](std::string_view name) { return name.ends_with(" Splitter"); }, 10},
        // The colour splitters are the ones whose name gives the one colour they turn.
        {"colour splitter", IsColourSplitterCode,
         [](std::string_view name) {
             return name.ends_with(" Splitter") &&
                    (name.find(" Red ") != name.npos || name.find(" Blue ") != name.npos ||
                     name.find(" Green ") != name.npos);
         },
         6},
        {"filter", IsFilterCode, [](std::string_view name) { return name.ends_with(" Filter"); },
         6},
        {"detector", IsDetectorCode,
         [](std::string_view name) { return name.ends_with(" Detector"); }, 7},
    };
    for (const Family& family : families) {
        SCOPED_TRACE(family.what);
        int yes = 0;
        for (const ObjectDisplayName& entry : AllObjectDisplayNames()) {
            const std::string code(entry.code);
            EXPECT_EQ(family.asks(code), family.named(entry.name)) << code;
            EXPECT_EQ(family.asks(code + "MWL______MWR___"), family.asks(code)) << code;
            yes += family.asks(code) ? 1 : 0;
        }
        EXPECT_EQ(yes, family.count);
        for (const char* other : {"", "BLANK", "LAMP_", "spltf", "mxhcb", "fltvc", "detwh"})
            EXPECT_FALSE(family.asks(other)) << '"' << other << '"';
    }
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
    const std::string colours[] = {"BROWN", "GRAY", "ORANGE"};
    for (int16_t n = 1; n <= SpecialObjectCount; ++n) {
        const std::string code = GetSpecialObjCode(n);
        SCOPED_TRACE(code);
        EXPECT_TRUE(IsBoardCode(code));
        EXPECT_EQ(GetSpecialObjNumber(code), n);
        EXPECT_FALSE(GetSpecialObjName(code).empty());
        EXPECT_EQ(GetSpecialObjName(code), GetObjectDisplayName(code));
        // Squares, keys and shutters come in brown, gray and orange, in that order.
        EXPECT_EQ(GetSpecialObjColor(n), IsBonusObject(n) ? "" : colours[(n - 7) % 3]);
        EXPECT_EQ(IsBonusObject(n) + IsClosingSquare(n) + IsKeyObject(n) + IsColourShutter(n), 1);
    }
    EXPECT_EQ(GetSpecialObjCode(1), "DIAM_");
    EXPECT_EQ(GetSpecialObjCode(11), "KEYGR");
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

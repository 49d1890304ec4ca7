// The words of a special condition and their way back to code letters.
#include "puzzles/condition_code.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quarvelt {
namespace {

using Entries = std::vector<std::string>;

TEST(ConditionWords, ListsStandInTheirOrderWithNoneOnlyForPhotonsBAndC) {
    EXPECT_EQ(ColorEntries(false),
              (Entries{"Any Color", "Red", "Blue", "Green", "Yellow", "Cyan", "Magenta", "White"}));
    EXPECT_EQ(SizeEntries(false),
              (Entries{"Large", "Medium", "Small", "Larger", "Smaller", "Same Size", "Any Size"}));
    EXPECT_EQ(DetEntries(false),
              (Entries{"Any Det.", "Red Det.", "Blue Det.", "Green Det.", "White Det.",
                       "Magenta Det.", "Yellow Det.", "Cyan Det."}));
    for (auto entries : {ColorEntries, SizeEntries, DetEntries}) {
        Entries withNone = entries(true);
        EXPECT_EQ(withNone.front(), "NONE");
        withNone.erase(withNone.begin());
        EXPECT_EQ(withNone, entries(false));
    }
}

TEST(ConditionWords, EveryEntryLeadsBackToTheLettersThatShowIt) {
    for (const std::string& entry : ColorEntries(false)) {
        const char letter = PhotonColorCode(entry);
        EXPECT_EQ(GetPhotonColor(std::string(1, letter)), entry);
        EXPECT_EQ(letter, entry == "Any Color" ? 'A' : entry.front()) << entry;
    }
    for (const std::string& entry : SizeEntries(false))
        EXPECT_EQ(GetPhotonSize(std::string(1, PhotonSizeCode(entry))), entry);
    for (const std::string& entry : DetEntries(false))
        EXPECT_EQ(GetDetColor(DetectorCode(entry)), entry);
    EXPECT_EQ(std::string() + PhotonSizeCode("Larger") + PhotonSizeCode("Smaller") +
                  PhotonSizeCode("Same Size") + DetectorCode("Magenta Det."),
              "><=Dm");
    EXPECT_EQ(PhotonBlock(1, "NONE", "Any Size", "Red Det."), "P2_ADrTn");
}

TEST(ConditionWords, NoneNothingAndStrangeTextsDemandNothing) {
    for (const std::string text : {"NONE", "", "red", "Blue Det"}) {
        EXPECT_EQ(PhotonColorCode(text), '_') << text;
        EXPECT_EQ(PhotonSizeCode(text), '_') << text;
        EXPECT_EQ(DetectorCode(text), "__") << text;
    }
    // Letters compare exactly; no-demand letters read as nothing.
    for (const std::string letter : {"r", "_", "", "a"})
        EXPECT_EQ(GetPhotonColor(letter) + GetPhotonSize(letter), "") << letter;
    for (const std::string pair : {"__", "DR", "dr"})
        EXPECT_EQ(GetDetColor(pair), "") << pair;
    EXPECT_EQ(GetTimeRequirement("Tn") + GetTimeRequirement("Tg") + GetTimeRequirement("Tl") +
                  GetTimeRequirement("Te") + GetTimeRequirement("__"),
              "NONEGreaterLessNearly Equal");
}

TEST(ConditionWords, OnlyWholeTalliesFromNoneToNineThousandNineHundredNinetyNine) {
    const std::pair<const char*, int> accepted[] = {{"0", 0},     {"2000", 2000}, {"9999", 9999},
                                                    {" 42 ", 42}, {"12.5", 12},   {"13.5", 14},
                                                    {"1e3", 1000}};
    for (auto [text, points] : accepted) {
        int16_t read = -7;
        EXPECT_TRUE(ReadPointsTally(text, read)) << text;
        EXPECT_EQ(read, points) << text;
        EXPECT_EQ(TallyField(read).size(), 6u);
    }
    for (const char* text : {"10000", "-5", "abc", "", "12ab", "9999.5", "1e99", "-1"}) {
        int16_t read = -7;
        EXPECT_FALSE(ReadPointsTally(text, read)) << text;
        EXPECT_EQ(read, -7) << text;
    }
    EXPECT_EQ(TallyField(12), "Ta0012");
}

}  // namespace
}  // namespace quarvelt

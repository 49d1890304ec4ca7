#include "common/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

using namespace quarvelt;

TEST(Text, OnlyBlanksAreTrimmedAndOnlyAsciiLettersRaised) {
    EXPECT_EQ(TrimBlanks("  A B  "), "A B");
    EXPECT_EQ(TrimBlanks("\tA "), "\tA");
    EXPECT_EQ(TrimBlanks("   "), "");
    EXPECT_EQ(UpperCase("blank_\xe9z"), "BLANK_\xe9Z");
}

TEST(Text, NumbersAreReadFromTheFront) {
    EXPECT_EQ(LeadingNumber("05"), 5);
    EXPECT_EQ(LeadingNumber(" 7x"), 7);
    EXPECT_EQ(LeadingNumber("0A"), 0);
    EXPECT_EQ(LeadingNumber("-3"), -3);
    EXPECT_EQ(LeadingNumber("1.5"), 1.5);
    EXPECT_EQ(LeadingNumber("AB"), 0);
    EXPECT_EQ(LeadingNumber("1e9,10"), 1e9);
    EXPECT_EQ(LeadingNumber("2E-1x"), 0.2);
    EXPECT_EQ(LeadingNumber("2e"), 2);
    EXPECT_EQ(LeadingNumber("2e+"), 2);
}

TEST(Text, AWholeTextIsANumberOnlyInTheUsualForms) {
    double value = 0;
    for (const auto& [text, expected] :
         std::vector<std::pair<const char*, double>>{{" 12.6 ", 12.6},
                                                     {"+3", 3},
                                                     {"-0.5", -0.5},
                                                     {".5", 0.5},
                                                     {"7.", 7},
                                                     {"1e9", 1e9},
                                                     {"2E-2", 0.02},
                                                     {"1e999", HUGE_VAL}}) {
        EXPECT_TRUE(ParseNumber(text, value)) << text;
        EXPECT_EQ(value, expected) << text;
    }
    for (const char* text :
         {"", " ", "-", ".", "1e", "e5", "12a", "1 2", "0x10", "inf", "nan", "--1"})
        EXPECT_FALSE(ParseNumber(text, value)) << text;
    EXPECT_EQ(RoundHalfEven(12.5), 12);
    EXPECT_EQ(RoundHalfEven(13.5), 14);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(CaptionNumber(" 00094 "), 94);
    EXPECT_EQ(CaptionNumber("99999"), 32767);
}

TEST(Text, PlainFileNamesCannotLeaveTheirFolder) {
    EXPECT_TRUE(IsPlainFileName("BLANK_______________00.BMP"));
    EXPECT_TRUE(IsPlainFileName("000001"));
    for (const char* bad : {"../X.BMP", "..", "A/B", "A\\B", "C:X", "A\nB", "A\x7F", "X..Y"})
        EXPECT_FALSE(IsPlainFileName(bad)) << bad;
}

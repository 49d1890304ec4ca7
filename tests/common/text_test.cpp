#include "common/text.h"

#include <gtest/gtest.h>

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
}

TEST(Text, PlainFileNamesCannotLeaveTheirFolder) {
    EXPECT_TRUE(IsPlainFileName("BLANK_______________00.BMP"));
    EXPECT_TRUE(IsPlainFileName("000001"));
    for (const char* bad : {"../X.BMP", "..", "A/B", "A\\B", "C:X", "A\nB", "A\x7F", "X..Y"})
        EXPECT_FALSE(IsPlainFileName(bad)) << bad;
}

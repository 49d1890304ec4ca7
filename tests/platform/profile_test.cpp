#include "platform/profile.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

TEST(Profile, ValuesAreTrimmedUnquotedAndFoundInTheFirstSection) {
    testsupport::TempFolder dir;
    const std::string file = dir.Write(
        "S.INI", "[A]\n  Key  =  \"quoted value\"  \n;Key=comment\n[a]\nOther=2\n[B]\nKey='x'\n");
    std::string value;
    EXPECT_EQ(platform::ProfileGetString("a", "KEY", "def", value, 255, file), 12);
    EXPECT_EQ(value, "quoted value");
    EXPECT_EQ(platform::ProfileGetString("A", "Other", "def", value, 255, file), 3);
    EXPECT_EQ(value, "def");  // only the first section of a name counts
    EXPECT_EQ(platform::ProfileGetString("B", "Key", "", value, 255, file), 1);
    EXPECT_EQ(value, "x");
    EXPECT_EQ(platform::ProfileGetString("A", "Key", "", value, 4, file), 3);
    EXPECT_EQ(value, "quo");
}

TEST(Profile, NewKeyGoesAfterTheSectionsLastLineAndKeepsItsLineEndings) {
    testsupport::TempFolder dir;
    const std::string file = dir.Write("S.INI", "[A]\r\nOne=1\r\n\r\n[B]\r\nTwo=2");
    ASSERT_TRUE(platform::ProfileWriteString("a", "New", "3", file));
    ASSERT_TRUE(platform::ProfileWriteString("B", "Three", "4", file));
    EXPECT_EQ(dir.Read("S.INI"), "[A]\r\nOne=1\r\nNew=3\r\n\r\n[B]\r\nTwo=2\r\nThree=4\r\n");
}

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

namespace {

std::string Get(const std::string& section, const std::string& key, const std::string& file) {
    std::string value;
    platform::ProfileGetString(section, key, "<none>", value, 255, file);
    return value;
}

}  // namespace

TEST(Profile, EveryLineEndStyleKeepsItsKeysAndReadsBackWhatIsWritten) {
    struct Style {
        const char* name;
        std::string bytes;
    };
    const Style styles[] = {
        {"LF", "[A]\nOne=1\n[B]\nTwo=2\n"},
        {"CRLF", "[A]\r\nOne=1\r\n[B]\r\nTwo=2\r\n"},
        {"CR", "[A]\rOne=1\r[B]\rTwo=2\r"},
        {"CR only last", "[A]\nOne=1\n[B]\nTwo=2\r"},
        {"CR without final end", "[A]\rOne=1\r[B]\rTwo=2"},
        {"mixed", "[A]\r\nOne=1\r[B]\nTwo=2"},
        {"CR before CRLF", "[A]\r\r\nOne=1\r\n\r[B]\rTwo=2\r\n"},
    };
    for (const Style& style : styles) {
        SCOPED_TRACE(style.name);
        testsupport::TempFolder dir;
        const std::string file = dir.Write("S.INI", style.bytes);
        EXPECT_EQ(Get("a", "one", file), "1");
        EXPECT_EQ(Get("B", "Two", file), "2");

        ASSERT_TRUE(platform::ProfileWriteString("C", "Three", "3", file));  // a new section
        ASSERT_TRUE(platform::ProfileWriteString("A", "Four", "4", file));   // a new key
        ASSERT_TRUE(platform::ProfileWriteString("B", "two", "22", file));   // a changed key
        const std::pair<const char*, const char*> expected[] = {
            {"A", "1"}, {"A", "4"}, {"B", "22"}, {"C", "3"}};
        const char* keys[] = {"One", "Four", "Two", "Three"};
        for (size_t i = 0; i < 4; ++i)
            EXPECT_EQ(Get(expected[i].first, keys[i], file), expected[i].second) << keys[i];
        // No new line may hide a key: each key stands alone on its line.
        const std::string bytes = dir.Read("S.INI");
        for (const char* line : {"Three=3", "Four=4", "two=22", "One=1", "[C]"}) {
            const size_t at = bytes.find(line);
            ASSERT_NE(at, std::string::npos) << line;
            const size_t end = at + std::string(line).size();
            EXPECT_TRUE(at == 0 || bytes[at - 1] == '\r' || bytes[at - 1] == '\n') << line;
            EXPECT_TRUE(end == bytes.size() || bytes[end] == '\r' || bytes[end] == '\n') << line;
        }
    }
}

TEST(Profile, AWriteThatWouldOutgrowTheReaderIsRefusedAndChangesNothing) {
    testsupport::TempFolder dir;
    constexpr size_t Limit = 4u << 20;
    // A file of the largest size the reader takes; every line a comment but the key.
    std::string bytes = "[A]\nKey=1\n;";
    bytes += std::string(Limit - bytes.size() - 1, 'x') + "\n";
    ASSERT_EQ(bytes.size(), Limit);
    const std::string file = dir.Write("S.INI", bytes);

    platform::RuntimeError error;
    EXPECT_FALSE(platform::ProfileWriteString("A", "Key", "22", file, &error));
    EXPECT_EQ(error.number, platform::ErrOverflow);
    EXPECT_FALSE(platform::ProfileWriteString("B", "K", "", file, &error));
    EXPECT_EQ(dir.Read("S.INI"), bytes);
    EXPECT_EQ(Get("A", "Key", file), "1");
    // A write that keeps the size still goes through.
    error = {};
    EXPECT_TRUE(platform::ProfileWriteString("A", "Key", "2", file, &error));
    EXPECT_FALSE(error);
    EXPECT_EQ(Get("A", "Key", file), "2");
}

TEST(Profile, ReaderAndWriterTrimNamesAlikeAndRefuseNamesThatCouldNotBeReadBack) {
    testsupport::TempFolder dir;
    const std::string file = dir.Write("S.INI", "[ Game ]\n Level = 3\n");
    EXPECT_EQ(Get(" game\t", "level ", file), "3");
    ASSERT_TRUE(platform::ProfileWriteString("\tGAME ", " Speed", "9", file));
    ASSERT_TRUE(platform::ProfileWriteString(" New\r\n", "Key\t", "v", file));
    EXPECT_EQ(Get("Game", "Speed", file), "9");
    EXPECT_EQ(Get("new", " key", file), "v");
    EXPECT_EQ(dir.Read("S.INI"), "[ Game ]\n Level = 3\nSpeed=9\n[New]\nKey=v\n");

    const std::string before = dir.Read("S.INI");
    const std::pair<const char*, const char*> refused[] = {
        {"a]b", "k"}, {"Game", "k=x"}, {"Game", " ;k"}, {"Game", "[k"}};
    for (const auto& [section, key] : refused) {
        platform::RuntimeError error;
        EXPECT_FALSE(platform::ProfileWriteString(section, key, "v", file, &error))
            << section << key;
        EXPECT_EQ(error.number, platform::ErrInvalidCall);
        EXPECT_EQ(dir.Read("S.INI"), before);
    }
}

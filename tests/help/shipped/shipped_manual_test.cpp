// Checks the help manual the build wrote into the game folder against what the
// help windows rely on, and the converter's refusal of sources they could not show.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "common/globals.h"
#include "help/help_file.h"
#include "platform/files.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace quarvelt {
namespace {

const std::string GameDir = QUARVELT_GAME_DIR;
const std::set<std::string> Fonts{"Courier New", "Monospace", "Sans Serif", "Serif"};

struct ContentsEntry {
    std::string title;
    int page = 0;
};

// The entries of the contents: a title, a run of dots and a page number.
std::vector<ContentsEntry> ContentsOf(const std::vector<HelpPageRecord>& pages) {
    static const std::regex entry(R"(^ +(\S.*?) \.+ +([0-9]+)$)");
    std::vector<ContentsEntry> entries;
    for (const auto& page : pages) {
        if (page.topicNo != 1)
            break;
        for (const auto& line : page.lines) {
            std::smatch match;
            if (std::regex_match(line.text, match, entry))
                entries.push_back({match[1], std::stoi(match[2])});
        }
    }
    return entries;
}

class ShippedManual : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetGlobals();
        HelpPageSpan = 0;
        AppPath = GameDir;
        ASSERT_FALSE(ReadHelpManual(GameDir + HelpManualName, manual));
        ASSERT_GE(manual.pages.size(), 2u) << "no manual in " << GameDir;
    }

    testsupport::ScriptedPlatform platform;
    HelpManualContents manual;
};

TEST_F(ShippedManual, PagesRunFromOneInTopicRunsWithLinesTheWindowsCanShow) {
    EXPECT_EQ(manual.trailingBytes, 0u);
    EXPECT_LE(manual.pages.size(), 999u) << "the reader's page entry holds three digits";
    int16_t topic = 0;
    for (size_t i = 0; i < manual.pages.size(); ++i) {
        const HelpPageRecord& page = manual.pages[i];
        EXPECT_EQ(page.pageNo, static_cast<int16_t>(i + 1));
        EXPECT_TRUE(page.topicNo == topic + (i == 0 ? 1 : 0) || page.topicNo == topic + 1)
            << "page " << page.pageNo << " has topic " << page.topicNo << " after " << topic;
        topic = page.topicNo;

        bool written = false;
        for (size_t k = 0; k < page.lines.size(); ++k) {
            const HelpPageLine& line = page.lines[k];
            const std::string where = "page " + std::to_string(i + 1) + " line " +
                                      std::to_string(k + 1) + ": " + line.text;
            written = written || !line.text.empty();
            EXPECT_TRUE(Fonts.count(line.fontName)) << where << line.fontName;
            EXPECT_TRUE(line.fontSize >= 8 && line.fontSize <= 16) << where;
            EXPECT_TRUE(line.foreColor >= 0 && line.foreColor <= 0xFFFFFF) << where;
            EXPECT_TRUE(line.backColor >= 0 && line.backColor <= 0xFFFFFF) << where;
            EXPECT_NE(line.foreColor, line.backColor) << where;
            EXPECT_TRUE(line.fontBold == True || line.fontBold == False) << where;
            EXPECT_TRUE(line.fontItalic == True || line.fontItalic == False) << where;
            for (char c : line.text)
                EXPECT_GE(static_cast<unsigned char>(c), 0x20) << where;
        }
        EXPECT_TRUE(written) << "page " << i + 1 << " is empty";
    }
    EXPECT_GE(topic, 10) << "the manual covers the game topic by topic";
}

// The reader's road: a page number typed on the contents, then Next as far as the
// topic's page count allows, never leaving the topic.
TEST_F(ShippedManual, TheContentsPointAtTheFirstPageOfEveryTopic) {
    HelpPageModel reader;
    reader.HelpFileName = AppPath + HelpManualName;
    std::set<int16_t> listed;
    int previous = 1;
    for (const auto& entry : ContentsOf(manual.pages)) {
        ASSERT_GT(entry.page, previous) << entry.title << " is out of order";
        previous = entry.page;
        int16_t count = 0;
        ASSERT_EQ(reader.GetPage(static_cast<int16_t>(entry.page), count), 0) << entry.title;
        const int16_t topic = reader.CurTopic;
        EXPECT_NE(manual.pages[static_cast<size_t>(entry.page - 2)].topicNo, topic)
            << entry.title << " points into its topic";
        EXPECT_TRUE(listed.insert(topic).second) << entry.title << " is listed twice";
        for (int16_t page = 1; page < count; ++page) {
            ASSERT_EQ(reader.GetPage(static_cast<int16_t>(entry.page + page)), 0);
            EXPECT_EQ(reader.CurTopic, topic) << entry.title << ", page " << entry.page + page;
        }
    }
    const int16_t topics = manual.pages.back().topicNo;
    EXPECT_EQ(listed.size(), static_cast<size_t>(topics - 1)) << "every topic but the contents";
    EXPECT_TRUE(platform.Boxes().empty());
}

class HelpConverter : public ::testing::Test {
  protected:
    // Runs the converter on `source`; true when it wrote a manual.
    bool Convert(const std::string& source) {
        std::filesystem::remove(folder.Path() + "GAME/" + HelpManualName);
        const std::string path = folder.Write("manual.txt", source);
        const std::string command = std::string("'") + QUARVELT_HELPGEN + "' '" + path + "' '" +
                                    folder.Path() + "GAME' >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        const bool written = platform::IsFile(folder.Path() + "GAME/" + HelpManualName);
        EXPECT_EQ(status == 0, written) << "a refusal writes nothing, a success writes the file";
        return status == 0;
    }
    HelpManualContents Written() {
        HelpManualContents contents;
        EXPECT_FALSE(ReadHelpManual(folder.Path() + "GAME/" + HelpManualName, contents));
        return contents;
    }

    testsupport::TempFolder folder;
};

const std::string Head =
    "@style body font=Serif size=10 fore=navy back=#FFF8E0\n"
    "@topic Contents\n"
    "{bold} Contents\n"
    "@contents italic\n";

TEST_F(HelpConverter, NumbersPagesAndTopicsAndListsTheContents) {
    ASSERT_TRUE(Convert(Head + "@topic First topic\n  one\n@page\ntwo\n\n\n@topic Second\n"
                               "{size=14 fore=white back=black}   three°\n"));
    const auto pages = Written().pages;
    ASSERT_EQ(pages.size(), 4u);
    const std::vector<int16_t> topics{1, 2, 2, 3};
    for (size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(pages[i].pageNo, static_cast<int16_t>(i + 1));
        EXPECT_EQ(pages[i].topicNo, topics[i]);
    }
    const auto& contents = pages[0].lines;
    EXPECT_EQ(contents[0].text, "Contents");
    EXPECT_EQ(contents[0].fontBold, True);
    EXPECT_EQ(contents[1].text, "  First topic " + std::string(58, '.') + "   2");
    EXPECT_EQ(contents[2].text, "  Second " + std::string(63, '.') + "   4");
    EXPECT_EQ(contents[2].fontItalic, True);
    EXPECT_EQ(contents[2].fontName, "Serif");
    EXPECT_EQ(contents[2].foreColor, 0x800000);  // navy, &H00BBGGRR

    // One blank after the braces is dropped, the others stay; text is single-byte.
    const auto& third = pages[3].lines[0];
    EXPECT_EQ(third.text, "  three\xB0");
    EXPECT_EQ(third.fontSize, 14);
    EXPECT_EQ(third.backColor, 0);
    // Lines below the last one written take the body's look, blank spacing included.
    EXPECT_EQ(pages[2].lines[1].text, "");
    EXPECT_EQ(pages[2].lines[24].backColor, 0xE0F8FF);
    EXPECT_EQ(pages[2].lines[24].fontName, "Serif");
}

TEST_F(HelpConverter, RefusesWhatTheHelpWindowsCannotShow) {
    const std::string topic = "@topic Topic\n";
    EXPECT_FALSE(Convert(Head + topic + std::string(81, 'x') + "\n")) << "81 characters";
    EXPECT_TRUE(Convert(Head + topic + std::string(80, 'x') + "\n")) << "80 characters";

    std::string full;
    for (int k = 0; k < 26; ++k)
        full += "line\n";
    EXPECT_FALSE(Convert(Head + topic + full)) << "26 lines on a page";

    EXPECT_FALSE(Convert(Head + topic + "{font=\"Times New Roman\"} text\n"));
    EXPECT_FALSE(Convert(Head + topic + "{size=40} text\n"));
    EXPECT_FALSE(Convert(Head + topic + "{fore=#12345} text\n"));
    EXPECT_FALSE(Convert(Head + topic + "tab\there\n"));
    EXPECT_FALSE(Convert(Head + topic + "\xE2\x82 cut short\n")) << "broken UTF-8";
    EXPECT_FALSE(Convert(Head + topic + "\xE2\x86\x92 no such byte\n"));
    EXPECT_FALSE(Convert(Head + topic + "@page\n")) << "an empty page";
    EXPECT_FALSE(Convert(Head + "@topic " + std::string(70, 'T') + "\ntext\n"));
    EXPECT_FALSE(Convert("@topic Contents\n@topic Topic\ntext\n")) << "no contents";
    EXPECT_FALSE(Convert(Head)) << "nothing but the contents";
}

TEST_F(HelpConverter, LongContentsRunOnToPageTwoAndNoFurther) {
    std::string topics;
    for (int t = 0; t < 30; ++t)
        topics += "@topic Topic " + std::to_string(t) + "\ntext\n";
    ASSERT_TRUE(Convert(Head + topics));
    const auto pages = Written().pages;
    ASSERT_EQ(pages.size(), 32u);
    EXPECT_EQ(pages[1].topicNo, 1);
    EXPECT_EQ(pages[1].lines[0].text, "  Topic 24 " + std::string(61, '.') + "  27");
    EXPECT_EQ(pages[2].topicNo, 2);

    for (int t = 30; t < 50; ++t)
        topics += "@topic Topic " + std::to_string(t) + "\ntext\n";
    EXPECT_FALSE(Convert(Head + topics)) << "three pages of contents";
}

}  // namespace
}  // namespace quarvelt

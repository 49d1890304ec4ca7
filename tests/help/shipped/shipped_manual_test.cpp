// Checks the help manual the build wrote into the game folder against what the
// help windows rely on and against the game itself (every tool-box object named,
// every refusal and stop of a run where its object is described), and the
// converter's pages on the objects and its refusal of sources the windows could
// not show.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "board/object_codes.h"
#include "common/globals.h"
#include "common/image_index.h"
#include "common/toolbox_catalogue.h"
#include "common/vocabulary.h"
#include "engine/board_trace.h"
#include "engine/compiler.h"
#include "engine/entry_rules.h"
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

// Runs of blanks become one, so text wrapped over page lines compares with text in one piece.
std::string Squeezed(const std::string& text) {
    std::string out;
    for (char c : text) {
        const char d = c == '\r' || c == '\n' ? ' ' : c;
        if (d == ' ' && (out.empty() || out.back() == ' '))
            continue;
        out += d;
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

// What a refusal of the entry rules says below its common first line.
std::string RefusalWords(std::string text) {
    const std::string head = "ERROR: INVALIED USE!\r\r";
    if (text.rfind(head, 0) == 0)
        text.erase(0, head.size());
    return Squeezed(text);
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

    // The lines of every page of `topic`, squeezed into one text.
    std::string TopicText(int16_t topic) const {
        std::string text;
        for (const auto& page : manual.pages)
            if (page.topicNo == topic)
                for (const auto& line : page.lines)
                    text += line.text + " ";
        return Squeezed(text);
    }
    // The topic whose object pages head a block with `code`, as "Name (CODE)" or
    // "(OTHER, CODE)"; 0 when no page does.
    int16_t TopicOfCode(const std::string& code) const {
        const std::regex named("[(, ]" + code + "[,)]");
        for (const auto& page : manual.pages)
            for (const auto& line : page.lines)
                if (line.fontBold == True && std::regex_search(line.text, named))
                    return page.topicNo;
        return 0;
    }
    std::string AllText() const {
        std::string text;
        for (const auto& page : manual.pages)
            for (const auto& line : page.lines)
                text += line.text + " ";
        return Squeezed(text);
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

TEST_F(ShippedManual, HowToPlayComesFirst) {
    const auto entries = ContentsOf(manual.pages);
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.front().title, "How to play");
}

// Every object the tool box can offer, by the board code it stands under and the
// name a right click shows, is the head of a block on the object pages.
TEST_F(ShippedManual, EveryObjectOfTheToolBoxIsNamedOnAHelpPage) {
    ImageIndex::Forget();
    LoadToolboxObjects();
    const std::string all = AllText();
    std::set<std::string> codes;
    for (int16_t row = 0; row < ToolboxRowCount; ++row) {
        const ToolboxObjectRow& entry = ToolboxObjectTable[static_cast<size_t>(row)];
        if (entry.Free() || entry.stem.empty() || entry.stem.back() != 'U')
            continue;
        const std::string code = GetGameboardObj(row).substr(0, 5);
        ASSERT_EQ(code.size(), 5u) << entry.stem;
        if (!codes.insert(code).second)
            continue;
        EXPECT_NE(TopicOfCode(code), 0) << code << " (" << entry.stem << ") heads no block";
        const std::string name = GetObjectDisplayName(code);
        if (!name.empty()) {
            EXPECT_NE(all.find(Squeezed(name) + " ("), std::string::npos) << name;
        }
    }
    EXPECT_GE(codes.size(), 110u) << "the catalogue of the shipped picture set";
    ImageIndex::Forget();
}

// For every object, side, size and colour that the entry rules refuse, the
// refusal's own words stand on the topic that describes the object.
TEST_F(ShippedManual, EveryRefusalOfAnObjectIsOnItsPages) {
    std::vector<std::string> codes{"BLANK"};
    for (const ObjectDisplayName& entry : AllObjectDisplayNames())
        codes.emplace_back(entry.code);
    std::map<int16_t, std::string> texts;
    size_t refusals = 0;
    for (const std::string& code : codes) {
        const int16_t topic = TopicOfCode(code);
        ASSERT_NE(topic, 0) << code << " is on no page";
        if (!texts.count(topic))
            texts[topic] = TopicText(topic);
        for (const char* travel : {"L", "R", "T", "B"})
            for (const char* size : {"S", "M", "L"})
                for (const char* colour : {"R", "G", "B", "C", "M", "Y", "W"}) {
                    const std::string refusal = CheckPhotonEntry(code, colour, size, travel);
                    if (refusal.empty())
                        continue;
                    ++refusals;
                    EXPECT_NE(texts[topic].find(RefusalWords(refusal)), std::string::npos)
                        << code << " travelling " << travel << ", " << size << colour << ": "
                        << RefusalWords(refusal);
                }
    }
    EXPECT_GT(refusals, 1000u);
}

// Boards of the stops the object pages describe, compiled by the game: each stops
// with the words the manual gives on the page of the object, or runs as it says.
class ManualAgainstRuns : public ShippedManual {
  protected:
    void SetUp() override {
        ShippedManual::SetUp();
        ImageIndex::Forget();
        ImagePath = images.Path() + "DATA/";
        ASSERT_FALSE(platform::CreateFolder(ImagePath));
    }
    void TearDown() override {
        ImageIndex::Forget();
        ResetGlobals();
    }
    using Placements = std::map<std::pair<int, int>, std::string>;

    // A 10 by 10 board: the lamp at row 5, column 1, `objects` to its right from
    // column 2, and `others` at their (row, column).
    Flag Compile(const std::vector<std::string>& objects, const Placements& others = {}) {
        std::string text = "size 10 10\n";
        for (int r = 0; r < 10; ++r) {
            text += "row";
            for (int c = 0; c < 10; ++c) {
                std::string code = "BLANK";
                if (r == 5 && c == 1)
                    code = "LAMP_";
                else if (r == 5 && c >= 2 && static_cast<size_t>(c - 2) < objects.size())
                    code = objects[static_cast<size_t>(c - 2)];
                else if (const auto other = others.find({r, c}); other != others.end())
                    code = other->second;
                text += " " + code;
            }
            text += "\n";
        }
        BoardFile board;
        std::string error;
        EXPECT_TRUE(ParseBoardFile(text, board, error)) << error;
        LoadBoardFile(board);
        Flag ok = False;
        CompilePuzzle(ok);
        return ok;
    }
    // The first line of the box the compile stopped with.
    std::string Stop(const std::vector<std::string>& objects, const Placements& others = {}) {
        platform.ExpectBox("COMPILING  THE  PUZZLE");
        EXPECT_EQ(Compile(objects, others), False);
        if (platform.Boxes().empty())
            return "";
        const std::string text = platform.Boxes().back().text;
        return text.substr(0, text.find('\r'));
    }

    testsupport::TempFolder images;
};

TEST_F(ManualAgainstRuns, ARunStopsWhereTheObjectPagesSay) {
    struct Case {
        std::vector<std::string> objects;  // right of the lamp
        std::string code;                  // whose pages name the stop
    };
    // A photon against a wall inside its cell; colour splitters with nothing of
    // their colour (the lamp's white made cyan, magenta, yellow first).
    const Case cases[] = {
        {{"BLANK", "BAR__"}, "BAR__"},          {{"BLANK", "BALRT"}, "BALRT"},
        {{"FLTVC", "BLANK", "SPLRL"}, "SPLRL"}, {{"FLTVM", "BLANK", "SPLGR"}, "SPLGR"},
        {{"FLTVY", "BLANK", "SPLBL"}, "SPLBL"},
    };
    for (const Case& stop : cases) {
        const std::string said = Stop(stop.objects);
        EXPECT_EQ(said, "ERROR:  NO COLOR INFROMATION FOUND!") << stop.code;
        const int16_t topic = TopicOfCode(stop.code);
        ASSERT_NE(topic, 0) << stop.code;
        EXPECT_NE(TopicText(topic).find(Squeezed(said)), std::string::npos) << stop.code;
    }
}

TEST_F(ManualAgainstRuns, AColourSplitterTurningAWholePhotonEndsTheRestThere) {
    const std::string text = TopicText(TopicOfCode("SPLRL"));
    EXPECT_NE(text.find("as a whole and goes on as a new photon; nothing goes on straight"),
              std::string::npos);
    // White made red by a magenta and a yellow filter; at the splitter in column 5
    // the red photon turns up, whole, into the red detector above it, whatever
    // stands straight past the splitter.
    const Placements detector{{{2, 5}, "DETRD"}};
    for (const char* beyond : {"BLANK", "LENCC"}) {
        std::vector<std::string> red{"FLTVM", "FLTVY", "BLANK", "SPLRL", beyond};
        EXPECT_EQ(Compile(red, detector), True) << beyond;
    }
    EXPECT_TRUE(platform.Boxes().empty());
}

class HelpConverter : public ::testing::Test {
  protected:
    // Runs the converter on `source`, with the physics tables when `rules` is given;
    // true when it wrote a manual.
    bool Convert(const std::string& source, const std::string* rules = nullptr) {
        std::filesystem::remove(folder.Path() + "GAME/" + HelpManualName);
        const std::string path = folder.Write("manual.txt", source);
        std::string tables;
        if (rules)
            tables = " '" + std::string(QUARVELT_ASSET_DIR) + "objects.txt' '" +
                     folder.Write("rules.txt", *rules) + "'";
        const std::string command = std::string("'") + QUARVELT_HELPGEN + "' '" + path + "' '" +
                                    folder.Path() + "GAME'" + tables + " >/dev/null 2>&1";
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

namespace quarvelt {
namespace {

std::string ShippedRules() {
    std::string rules;
    EXPECT_FALSE(platform::ReadWholeFile(std::string(QUARVELT_ASSET_DIR) + "rules.txt", rules));
    return rules;
}

std::vector<std::string> Texts(const HelpPageRecord& page) {
    std::vector<std::string> texts;
    for (const auto& line : page.lines)
        texts.push_back(line.text);
    while (!texts.empty() && texts.back().empty())
        texts.pop_back();
    return texts;
}

TEST_F(HelpConverter, ObjectPagesAreWrittenFromThePhysicsTables) {
    const std::string source = Head + "@style name bold fore=red\n@topic Lenses\n{bold} LENSES\n" +
                               "@physics name LENCC\n";
    EXPECT_FALSE(Convert(source)) << "no tables given";

    std::string rules = ShippedRules();
    ASSERT_TRUE(Convert(source, &rules));
    auto pages = Written().pages;
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(Texts(pages[1]),
              (std::vector<std::string>{
                  "LENSES", "Concave Lens (LENCC)",
                  "  in from the left or the right, small or medium, any colour: it goes straight",
                  "      on, one size larger",
                  "  in from the left or the right, large, any colour: refused, \"The Photon can",
                  "      not be made Larger then the Large Photon.\"",
                  "  in from above, any size, any colour: refused, \"The Photon can not enter the",
                  "      LENS from the Top.\"",
                  "  in from below, any size, any colour: refused, \"The Photon can not enter the",
                  "      LENS from the Bottom.\""}));
    EXPECT_EQ(pages[1].lines[1].foreColor, 0x0000FF) << "the header in the style named";
    EXPECT_EQ(pages[1].lines[2].foreColor, 0x800000) << "the lines in the body's style";

    // A lens that shrank by the table's word is written so.
    const std::string grows = "LENCC                          LR    *  *        +/=/fwd";
    const auto at = rules.find(grows);
    ASSERT_NE(at, std::string::npos);
    rules.replace(at, grows.size(), "LENCC                          LR    *  *        -/=/fwd");
    ASSERT_TRUE(Convert(source, &rules));
    pages = Written().pages;
    EXPECT_EQ(pages[1].lines[3].text, "      on, one size smaller");
}

TEST_F(HelpConverter, ObjectsThatActAlikeShareABlockAndBlocksTurnThePage) {
    std::string rules = ShippedRules();
    ASSERT_TRUE(Convert(Head + "@style name italic\n@topic Mirrors\n{bold} MIRRORS\n" +
                            "They turn photons.\n\n" +
                            "@physics name REFHT,REFHB,REFVR,REFVL,REFLD,REFLU,REFRD,REFRU\n" +
                            "@topic Shutters\n{bold} SHUTTERS\n@physics name SHHBN,SHHGR\n",
                        &rules));
    const auto pages = Written().pages;
    ASSERT_GE(pages.size(), 4u);
    std::vector<std::string> mirrorTitles;
    for (const auto& page : pages) {
        if (page.topicNo != 2)
            continue;
        mirrorTitles.push_back(page.lines[0].text);
        // A block is never cut: every page past the title starts with a header.
        EXPECT_TRUE(page.lines[1].fontItalic == True || page.lines[1].text == "They turn photons.")
            << page.lines[1].text;
    }
    EXPECT_GE(mirrorTitles.size(), 2u);
    for (const std::string& title : mirrorTitles)
        EXPECT_EQ(title, "MIRRORS");
    const auto& shutters = pages.back();
    EXPECT_EQ(shutters.topicNo, 3);
    EXPECT_EQ(shutters.lines[1].text, "Brown Horiz Shutter (SHHBN);  Gray Horiz Shutter (SHHGR)");
    EXPECT_EQ(shutters.lines[2].text,
              "  in from above or below, any size, any colour: it goes straight on, unchanged");
}

TEST_F(HelpConverter, RefusesObjectPagesItCannotWrite) {
    const std::string rules = ShippedRules();
    const std::string topic = "@topic Topic\n";
    EXPECT_TRUE(Convert(Head + topic + "@style name bold\n@physics name LENCC\n", &rules));
    EXPECT_FALSE(Convert(Head + topic + "@physics bold LENCC\n", &rules)) << "a setting, no style";
    EXPECT_FALSE(Convert(Head + topic + "@physics body XXXXX\n", &rules)) << "no such object";
    EXPECT_FALSE(Convert(Head + topic + "@physics nostyle LENCC\n", &rules)) << "no such style";
    EXPECT_FALSE(Convert(Head + topic + "@physics body\n", &rules)) << "no object named";
    EXPECT_FALSE(Convert("@topic Contents\n@contents\n@physics body LENCC\n@topic T\nx\n", &rules))
        << "on the contents";
    const std::string broken = "LENCC LR";
    EXPECT_FALSE(Convert(Head + topic + "@physics body LENCC\n", &broken)) << "a broken table";
    std::string noLens = rules;
    for (size_t at; (at = noLens.find("\nLENCC")) != std::string::npos;)
        noLens.erase(at + 1, noLens.find('\n', at + 1) - at);
    EXPECT_FALSE(Convert(Head + topic + "@physics body LENCC\n", &noLens))
        << "a photon the entry rules admit without a line of the table";
}

}  // namespace
}  // namespace quarvelt

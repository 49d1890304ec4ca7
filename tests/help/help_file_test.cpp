#include "help/help_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/globals.h"
#include "platform/files.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace quarvelt {
namespace {

constexpr int Exclamation = platform::MsgExclamation | platform::MsgOkOnly;

// A page whose first line names it, so a test can tell which record was loaded.
HelpPageRecord Page(int16_t pageNo, int16_t topicNo, const std::string& firstLine) {
    PageTable lines{};
    lines[0].text = firstLine;
    return MakeHelpPageRecord(pageNo, topicNo, lines);
}

std::string Bytes(const std::vector<HelpPageRecord>& pages) {
    std::string bytes;
    for (const auto& page : pages)
        bytes += page.ToRecord().Bytes();
    return bytes;
}

TEST(HelpPageRecordTest, AClearedPageIsStoredAsTheLayoutsOwnExample) {
    HelpPageModel model;
    model.PageArr[3].text = "left over";
    model.PageArr[3].fontItalic = True;
    model.ClearPageArr();
    const std::string bytes = MakeHelpPageRecord(0x0102, -2, model.PageArr).ToRecord().Bytes();

    // Empty, black on white, "Courier New" 11, bold, not italic.
    const std::string line = std::string(80, ' ') + std::string("\xFF\xFF\xFF\x00", 4) +
                             std::string(4, '\0') + "Courier New    " +
                             std::string("\x0B\x00\xFF\xFF\x00\x00", 6);
    ASSERT_EQ(bytes.size(), HelpPageRecordLength);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x02\x01\xFE\xFF", 4));
    for (size_t k = 0; k < HelpPageLines; ++k)
        EXPECT_EQ(bytes.substr(4 + 109 * k, 109), line) << "line " << k + 1;
}

TEST(HelpPageRecordTest, FieldsAreCutToTheirWidthsAndReadBackTrimmed) {
    PageTable lines{};
    PageLine& last = lines[24];
    last.text = "  indented" + std::string(80, 'x');
    last.backColor = 0x00112233;
    last.foreColor = 0x00445566;
    last.fontName = "Times New Roman Bold";
    last.fontSize = 300;
    last.fontBold = False;
    last.fontItalic = 1;  // any non-zero flag is on
    lines[3].text = "   word        ";
    const platform::RecordBuffer stored = MakeHelpPageRecord(7, 3, lines).ToRecord();

    const std::string line = stored.Bytes().substr(4 + 109 * 24);
    ASSERT_EQ(line.size(), 109u) << "line 25 ends with the record";
    EXPECT_EQ(line.substr(0, 80), ("  indented" + std::string(80, 'x')).substr(0, 80));
    EXPECT_EQ(line.substr(80, 8), std::string("\x33\x22\x11\x00\x66\x55\x44\x00", 8));
    EXPECT_EQ(line.substr(88, 15), "Times New Roman");
    EXPECT_EQ(line.substr(103, 6), std::string("\x2C\x01\x00\x00\xFF\xFF", 6));
    EXPECT_EQ(stored.GetText(4 + 109 * 3, 80), "   word" + std::string(73, ' '));

    // Leading blanks of a text stay, trailing ones go; a font name loses both.
    platform::RecordBuffer raw = stored;
    raw.PutText(4 + 109 * 3 + 88, 15, " Serif");
    const PageLine back = PageLineFromRecord(HelpPageRecord::FromRecord(raw).lines[3]);
    EXPECT_EQ(back.text, "   word");
    EXPECT_EQ(back.fontName, "Serif");
}

class HelpFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetGlobals();
        HelpPageSpan = 0;
        model.HelpFileName = folder.Path() + HelpManualName;
    }
    void TearDown() override { HelpPageSpan = 0; }

    std::string WriteManual(const std::vector<HelpPageRecord>& pages,
                            const std::string& tail = {}) {
        return folder.Write(HelpManualName, Bytes(pages) + tail);
    }

    // A page no look-up of a test loads, to see a failed look-up leave the model alone.
    void ShowMarkerPage() {
        model.ClearPageArr();
        model.PageArr[0].text = "MARKER";
        model.CurTopic = 42;
    }
    void ExpectMarkerPage() const {
        EXPECT_EQ(model.PageArr[0].text, "MARKER");
        EXPECT_EQ(model.CurTopic, 42);
    }
    void ExpectNotFound(int16_t page) {
        platform.ExpectBox("GET HELP PAGE");
        EXPECT_EQ(model.GetPage(page), -1) << "page " << page;
        EXPECT_EQ(platform.Boxes().back().text, "ERROR: PAGE NOT FOUND!");
        EXPECT_EQ(platform.Boxes().back().flags, Exclamation);
    }

    testsupport::ScriptedPlatform platform;
    testsupport::TempFolder folder;
    HelpPageModel model;
};

TEST_F(HelpFileTest, TheFirstRecordOfAPageNumberWinsAndItsTopicIsCountedEverywhere) {
    WriteManual({Page(1, 1, "contents"), Page(2, 2, "first two"), Page(6, 3, "other"),
                 Page(2, 5, "second two"), Page(3, 2, "b"), Page(-3, 9, "minus three"),
                 Page(4, 2, "c")});
    int16_t count = -9;
    ASSERT_EQ(model.GetPage(2, count), 0);
    EXPECT_EQ(model.PageArr[0].text, "first two");
    EXPECT_EQ(model.CurTopic, 2);
    EXPECT_EQ(count, 3) << "pages 2, 3 and 4 of topic 2, wherever they stand";

    // Negative numbers are searched like any other; the writer's form sets the topic too.
    ASSERT_EQ(model.GetPage(-3), 0);
    EXPECT_EQ(model.PageArr[0].text, "minus three");
    EXPECT_EQ(model.CurTopic, 9);
    EXPECT_TRUE(platform.Boxes().empty());
    EXPECT_EQ(platform.Beeps(), 0);

    ShowMarkerPage();
    count = 7;
    platform.ExpectBox("GET HELP PAGE");
    EXPECT_EQ(model.GetPage(-1, count), -1);
    EXPECT_EQ(count, 7) << "a page not found leaves the count";
    ExpectMarkerPage();
    EXPECT_EQ(platform.Beeps(), 1);
}

TEST_F(HelpFileTest, BytesAfterTheLastWholeRecordAreNoPage) {
    const std::string tail = Page(4, 1, "partial").ToRecord().Bytes().substr(0, 100);
    WriteManual({Page(1, 1, "one"), Page(2, 1, "two"), Page(3, 1, "three")}, tail);
    HelpManualContents contents;
    ASSERT_FALSE(ReadHelpManual(model.HelpFileName, contents));
    EXPECT_EQ(contents.pages.size(), 3u);
    EXPECT_EQ(contents.trailingBytes, 100u);

    int16_t count = 0;
    ASSERT_EQ(model.GetPage(3, count), 0);
    EXPECT_EQ(model.PageArr[0].text, "three");
    EXPECT_EQ(count, 3);
    ExpectNotFound(4);
}

TEST_F(HelpFileTest, PageZeroIsRefusedOnlyWhileTheWholeManualIsPaged) {
    WriteManual({Page(1, 1, "one"), Page(0, 1, "zero")});
    ShowMarkerPage();
    int16_t count = 5;
    platform.ExpectBox("GET  HELP  PAGE");
    EXPECT_EQ(model.GetPage(0, count), -1);
    EXPECT_EQ(platform.Boxes().back().text, "ERROR: PAGE ZERO(0) DOESN'T EXIST!");
    EXPECT_EQ(platform.Boxes().back().flags, Exclamation);
    EXPECT_EQ(platform.Beeps(), 1);
    EXPECT_EQ(count, 0);
    ExpectMarkerPage();

    HelpPageSpan = 3;
    ASSERT_EQ(model.GetPage(0, count), 0);
    EXPECT_EQ(model.PageArr[0].text, "zero");
    EXPECT_EQ(count, 2);
    WriteManual({Page(1, 1, "one")});
    ExpectNotFound(0);
}

TEST_F(HelpFileTest, EveryLineTakesItsOwnAttributes) {
    PageTable lines{};
    for (size_t k = 0; k < lines.size(); ++k) {
        lines[k] = {static_cast<int32_t>(0x100 * k),
                    k % 2 ? "Serif" : "Sans Serif",
                    static_cast<int16_t>(8 + k),
                    "line " + std::to_string(k + 1),
                    k % 3 ? False : True,
                    k % 2 ? False : True,
                    static_cast<int32_t>(0x10000 * k + 7)};
    }
    WriteManual({MakeHelpPageRecord(1, 1, lines)});
    ShowMarkerPage();
    ASSERT_EQ(model.GetPage(1), 0);
    for (size_t k = 0; k < lines.size(); ++k) {
        const PageLine& got = model.PageArr[k];
        EXPECT_EQ(got.text, lines[k].text);
        EXPECT_EQ(got.backColor, lines[k].backColor) << got.text;
        EXPECT_EQ(got.foreColor, lines[k].foreColor) << got.text;
        EXPECT_EQ(got.fontName, lines[k].fontName) << got.text;
        EXPECT_EQ(got.fontSize, lines[k].fontSize) << got.text;
        EXPECT_EQ(got.fontBold, lines[k].fontBold) << got.text;
        EXPECT_EQ(got.fontItalic, lines[k].fontItalic) << got.text;
    }
}

TEST_F(HelpFileTest, AMissingOrEmptyManualHasNoPagesAndIsNotCreated) {
    ShowMarkerPage();
    ExpectNotFound(1);
    ExpectMarkerPage();
    EXPECT_FALSE(platform::IsFile(model.HelpFileName));
    WriteManual({});
    ExpectNotFound(1);
}

TEST_F(HelpFileTest, AFileThatCannotBeReadIsReportedWithItsError) {
    ASSERT_FALSE(platform::CreateFolder(model.HelpFileName));
    ShowMarkerPage();
    int16_t count = 3;
    platform.ExpectBox("GET HELP PAGE ERROR");
    EXPECT_EQ(model.GetPage(1, count), -1);
    EXPECT_EQ(platform.Boxes().back().text, "ERROR 75\rPath/File access error");
    EXPECT_EQ(platform.Boxes().back().flags, Exclamation);
    EXPECT_EQ(platform.Beeps(), 1);
    EXPECT_EQ(count, 3);
    ExpectMarkerPage();

    // Nothing stays open: once the folder has made way, the next look-up works.
    std::filesystem::remove(model.HelpFileName);
    WriteManual({Page(1, 1, "back")});
    ASSERT_EQ(model.GetPage(1), 0);

    // A sparse file: its size alone must refuse it, or the look-up would read it all.
    std::filesystem::resize_file(model.HelpFileName, (MaxHelpPages + 1) * HelpPageRecordLength);
    platform.ExpectBox("GET HELP PAGE ERROR");
    EXPECT_EQ(model.GetPage(1), -1);
    EXPECT_EQ(platform.Boxes().back().text, "ERROR 6\rOverflow");
}

TEST_F(HelpFileTest, AWholeManualIsReplacedInTheOrderGivenOrNotAtAll) {
    const std::string old = Bytes({Page(9, 9, "old manual")}) + "old tail";
    folder.Write(HelpManualName, old);
    EXPECT_TRUE(WriteHelpManual(folder.Path() + "MISSING/" + HelpManualName, {Page(1, 1, "x")}));
    EXPECT_TRUE(WriteHelpManual(folder.Path(), {Page(1, 1, "x")}));
    EXPECT_EQ(folder.Read(HelpManualName), old);

    const std::vector<HelpPageRecord> pages{Page(1, 1, "one"), Page(3, 2, "three"),
                                            Page(2, 1, "two")};
    ASSERT_FALSE(WriteHelpManual(model.HelpFileName, pages));
    EXPECT_EQ(folder.Read(HelpManualName), Bytes(pages));
}

TEST_F(HelpFileTest, EveryLookUpSeesTheManualAsItIsNow) {
    WriteManual({Page(1, 1, "one"), Page(2, 1, "two")});
    int16_t count = 0;
    ASSERT_EQ(model.GetPage(2, count), 0);
    EXPECT_EQ(count, 2);

    // Rewritten by the help writer at the same size: the page moved and changed topic.
    ASSERT_FALSE(WriteHelpManual(model.HelpFileName, {Page(2, 3, "new two"), Page(1, 1, "one")}));
    ASSERT_EQ(model.GetPage(2, count), 0);
    EXPECT_EQ(model.PageArr[0].text, "new two");
    EXPECT_EQ(model.CurTopic, 3);
    EXPECT_EQ(count, 1);

    // Rewritten by someone else, perhaps within the same tick of the file clock.
    WriteManual({Page(1, 1, "one"), Page(2, 1, "raw two")});
    ASSERT_EQ(model.GetPage(2, count), 0);
    EXPECT_EQ(model.PageArr[0].text, "raw two");
    EXPECT_EQ(count, 2);

    // Grown, then gone.
    WriteManual({Page(1, 1, "one"), Page(2, 1, "raw two"), Page(3, 1, "three")});
    ASSERT_EQ(model.GetPage(3, count), 0);
    EXPECT_EQ(count, 3);
    std::filesystem::remove(model.HelpFileName);
    ShowMarkerPage();
    ExpectNotFound(3);
    ExpectMarkerPage();
}

TEST_F(HelpFileTest, TheLargestManualTurnsItsPages) {
    // 32,767 records: all page 0 of topic 0 but the first and the last two.
    std::filesystem::resize_file(WriteManual({Page(9, 4, "first")}),
                                 MaxHelpPages * HelpPageRecordLength);
    {
        std::fstream file(model.HelpFileName, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(static_cast<std::streamoff>((MaxHelpPages - 2) * HelpPageRecordLength));
        const std::string tail = Bytes({Page(32767, 4, "last but one"), Page(-5, 4, "last")});
        file.write(tail.data(), static_cast<std::streamsize>(tail.size()));
        ASSERT_TRUE(file.good());
    }
    int16_t count = 0;
    for (int16_t page : {-5, 32767, 9}) {
        ASSERT_EQ(model.GetPage(page, count), 0) << page;
        EXPECT_EQ(count, 3) << page;
    }
    EXPECT_EQ(model.PageArr[0].text, "first");
    ASSERT_EQ(model.GetPage(-5), 0);
    EXPECT_EQ(model.PageArr[0].text, "last");
    HelpPageSpan = 1;
    ASSERT_EQ(model.GetPage(0, count), 0);
    EXPECT_EQ(count, MaxHelpPages - 3);
    EXPECT_TRUE(platform.Boxes().empty());
}

}  // namespace
}  // namespace quarvelt

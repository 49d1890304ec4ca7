// The help reader without a screen: opening, paging, the contents, jumps by
// page number and the manuals it cannot show.
#include "help/help_reader_logic.h"

#include <optional>

#include "help_fixture.h"

namespace helptest {
namespace {

class HelpReaderTest : public HelpManualTest {
  protected:
    // A fresh reader, as the Help menu opens each one.
    HelpReaderLogic& Open() {
        reader.emplace();
        reader->caption = "QUARVELT.HLP";
        reader->Activate();
        return *reader;
    }
    std::string Shown() const { return reader->Lines()[0].text; }
    // "page n", Next and Previous as on and off, and the pages left.
    std::string State() const {
        return Shown() + (reader->NextEnabled() ? " N" : " -") +
               (reader->PrevEnabled() ? "P" : "-") + " " + std::to_string(HelpPagesLeft);
    }
    void Jump(const std::string& typed) {
        reader->pagNum = typed;
        reader->PagNumEnter();
    }

    std::optional<HelpReaderLogic> reader;
};

TEST_F(HelpReaderTest, AOnePageManualShowsItsPageWithPageEntryAndNoPaging) {
    WriteManual({{1, 1}});
    Open();
    ASSERT_TRUE(reader->Visible());
    EXPECT_EQ(State(), "page 1 -- 1");
    EXPECT_EQ(reader->NumPages(), 1);
    EXPECT_EQ(reader->FrameCaption(), "Page 1");
    EXPECT_TRUE(reader->PagNumShown());
    EXPECT_TRUE(reader->PagMsgShown());
    EXPECT_EQ(reader->pagNum, "");
}

TEST_F(HelpReaderTest, FourPagesArePagedForwardAndBackWithinTheRange) {
    WriteManual({{1, 1}, {2, 2}, {3, 2}, {4, 3}});
    Open();
    EXPECT_EQ(State(), "page 1 N- 4");
    const std::pair<void (HelpReaderLogic::*)(), const char*> steps[] = {
        {&HelpReaderLogic::NextPgClick, "page 2 NP 3"},
        {&HelpReaderLogic::NextPgClick, "page 3 NP 2"},
        {&HelpReaderLogic::NextPgClick, "page 4 -P 1"},
        {&HelpReaderLogic::PrevPgClick, "page 3 NP 2"},
        {&HelpReaderLogic::PrevPgClick, "page 2 NP 3"},
        {&HelpReaderLogic::PrevPgClick, "page 1 N- 4"},
    };
    for (const auto& [click, state] : steps) {
        ((*reader).*click)();
        EXPECT_EQ(State(), state);
        EXPECT_EQ(reader->FrameCaption(), "Page " + std::to_string(reader->CurPage()));
        // Page-number entry is offered on the contents' two pages only.
        EXPECT_EQ(reader->PagNumShown(), reader->CurPage() <= 2) << state;
    }
    EXPECT_TRUE(platform.Boxes().empty());
}

TEST_F(HelpReaderTest, ASpanOfTwoStopsAfterTheSecondPage) {
    std::vector<std::pair<int16_t, int16_t>> pages;
    for (int16_t page = 1; page <= 10; ++page)
        pages.push_back({page, 1});
    WriteManual(pages);
    HelpPageSpan = 2;
    Open();
    EXPECT_EQ(State(), "page 1 N- 2");
    reader->NextPgClick();
    EXPECT_EQ(State(), "page 2 -P 1");
}

TEST_F(HelpReaderTest, AMissingPageKeepsThePageOnScreenAndTheButtonsTheClickGave) {
    WriteManual({{1, 1}, {2, 1}, {4, 1}});
    Open();
    reader->NextPgClick();
    const LineLook before = reader->Lines()[0];
    platform.ExpectBox("GET HELP PAGE");
    reader->NextPgClick();
    EXPECT_EQ(platform.Boxes().back().text, "ERROR: PAGE NOT FOUND!");
    EXPECT_EQ(reader->CurPage(), 2);
    EXPECT_EQ(reader->Lines()[0], before);
    EXPECT_EQ(State(), "page 2 -P 2");
}

TEST_F(HelpReaderTest, AJumpPagesThroughTheTopicFromThePageJumpedTo) {
    WriteManual({{1, 1}, {2, 1}, {7, 4}, {3, 2}, {8, 4}, {9, 4}, {10, 5}});
    Open();
    Jump("7");
    EXPECT_EQ(State(), "page 7 N- 3");
    EXPECT_EQ(reader->NumPages(), 3);
    EXPECT_FALSE(reader->PagNumShown());
    reader->NextPgClick();
    reader->NextPgClick();
    EXPECT_EQ(State(), "page 9 -P 1");

    // A topic of one page offers no paging; half a page rounds to the even number.
    reader->ContentClick();
    Jump(" 10.5");
    EXPECT_EQ(State(), "page 10 -- 1");
    EXPECT_TRUE(platform.Boxes().empty());
}

TEST_F(HelpReaderTest, AFailedJumpPutsTheCurrentPageBackIntoTheBox) {
    WriteManual({{1, 1}, {2, 1}, {3, 1}});
    Open();
    reader->NextPgClick();
    const std::string state = State();
    platform.ExpectBox("GET HELP PAGE");
    Jump("12");
    EXPECT_EQ(reader->pagNum, "2");
    EXPECT_EQ(State(), state);

    // Letters read as page 0, which the whole manual's range refuses.
    platform.ExpectBox("GET  HELP  PAGE");
    Jump("ab");
    EXPECT_EQ(platform.Boxes().back().text, "ERROR: PAGE ZERO(0) DOESN'T EXIST!");
    EXPECT_EQ(reader->pagNum, "2");
    EXPECT_EQ(reader->CurPage(), 2);
}

TEST_F(HelpReaderTest, ContentsShowsPageOneAndLeavesTheRangeAlone) {
    WriteManual({{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}});
    Open();
    for (int i = 0; i < 4; ++i)
        reader->NextPgClick();
    EXPECT_EQ(State(), "page 5 NP 2");
    reader->ContentClick();
    EXPECT_EQ(State(), "page 1 NP 2");
    EXPECT_TRUE(reader->PagNumShown());
}

TEST_F(HelpReaderTest, MissingContentsKeepTheShownPage) {
    WriteManual({{2, 1}, {3, 1}});
    HelpStartPage = 3;
    Open();
    platform.ExpectBox("GET HELP PAGE");
    reader->ContentClick();
    EXPECT_EQ(reader->CurPage(), 1);
    EXPECT_EQ(Shown(), "page 3");
    EXPECT_EQ(reader->FrameCaption(), "Page 3");
}

TEST_F(HelpReaderTest, AnEmptyOrMissingManualIsNotCreatedAndTheReaderCloses) {
    for (bool exists : {false, true}) {
        if (exists)
            folder.Write(HelpManualName, std::string(100, 'x'));  // less than one page
        platform.ExpectBox("HELP MANUAL");
        Open();
        EXPECT_FALSE(reader->Visible());
        EXPECT_EQ(platform.Boxes().back().text, "NO HELP AVAILABLE!");
        EXPECT_EQ(platform.Boxes().back().flags, Exclamation);
        EXPECT_EQ(platform::IsFile(ManualPath()), exists);
    }
    EXPECT_EQ(platform.Beeps(), 2);
}

TEST_F(HelpReaderTest, AManualThatCannotBeReadIsReportedAndTheReaderCloses) {
    FolderInPlaceOfManual();
    platform.ExpectBox("HELP MANUAL");
    Open();
    EXPECT_FALSE(reader->Visible());
    EXPECT_EQ(platform.Boxes().back().text.rfind("ERROR 75\r", 0), 0u)
        << testsupport::Readable(platform.Boxes().back().text);
}

TEST_F(HelpReaderTest, AMissingStartPageClosesTheReader) {
    WriteManual({{2, 1}});
    platform.ExpectBox("GET HELP PAGE");
    Open();
    EXPECT_FALSE(reader->Visible());
}

TEST_F(HelpReaderTest, OnlyTheHelpTitlesNameTheManual) {
    WriteManual({{1, 1}});
    for (const char* title : {"Help", "RULE", "rule"}) {
        HelpReaderLogic named;
        named.caption = title;
        named.FormLoad();
        named.caption = "QUARVELT.HLP";
        named.Activate();
        EXPECT_TRUE(named.Visible()) << title;
    }
    HelpReaderLogic other;
    other.caption = "Manual";
    other.FormLoad();
    platform.ExpectBox("HELP MANUAL");
    other.Activate();
    EXPECT_FALSE(other.Visible());
}

TEST_F(HelpReaderTest, EveryLineShowsItsOwnLookWhateverPageCameBefore) {
    PageTable first{};
    for (auto& line : first) {
        line.backColor = 0x0000FF;
        line.fontItalic = True;
    }
    PageTable second{};
    for (size_t k = 0; k < second.size(); ++k) {
        second[k].backColor = static_cast<int32_t>(0x010101 * k);
        second[k].text = "  line " + std::to_string(k) + "   ";
        second[k].fontName = k % 2 ? "Times New Roman" : "Serif          ";
        second[k].fontSize = static_cast<int16_t>(8 + k);
    }
    WriteRecords({MakeHelpPageRecord(1, 1, first), MakeHelpPageRecord(2, 1, second)});
    Open();
    EXPECT_TRUE(reader->Lines()[24].italic);
    reader->NextPgClick();
    for (size_t k = 0; k < HelpPageLines; ++k) {
        const LineLook& line = reader->Lines()[k];
        EXPECT_EQ(line.backColor, static_cast<int32_t>(0x010101 * k)) << k;
        EXPECT_EQ(line.text, "  line " + std::to_string(k)) << k;
        EXPECT_EQ(line.fontName, k % 2 ? "Times New Roman" : "Serif") << k;
        EXPECT_EQ(line.fontSize, 8 + static_cast<double>(k)) << k;
        EXPECT_FALSE(line.italic) << k;
    }
}

}  // namespace
}  // namespace helptest

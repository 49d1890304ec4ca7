// How a stored line is put on screen, and the paging rule both help windows share.
#include "help/help_page.h"

#include <cmath>
#include <limits>

#include "help_fixture.h"

namespace helptest {
namespace {

TEST(HelpLineLook, AttributesThatCannotBeShownAreReplacedAndTheRestKept) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double size;
        int32_t fore, back;
        double shownSize;
        int32_t shownFore, shownBack;
    } cases[] = {
        {11, 0x000080, 0xC0C0C0, 11, 0x000080, 0xC0C0C0},
        {72, 0, HelpWhite, 72, 0, HelpWhite},
        {0.5, 0, 0, 0.5, 0, 0},
        {0, -1, -1, 11, HelpBlack, HelpWhite},
        {-4, -2147483647 - 1, -16, 11, HelpBlack, HelpWhite},
        {72.5, 0x01FF0000, 0x7F00FF00, 11, 0xFF0000, 0x00FF00},
        {nan, 5, 6, 11, 5, 6},
    };
    for (const Case& c : cases) {
        const LineLook look = LookOfLine("x", "Serif", c.size, false, true, c.fore, c.back);
        EXPECT_EQ(look.fontSize, c.shownSize) << c.size;
        EXPECT_EQ(look.foreColor, c.shownFore) << c.fore;
        EXPECT_EQ(look.backColor, c.shownBack) << c.back;
        EXPECT_TRUE(look.italic);
        EXPECT_FALSE(look.bold);
    }
}

TEST(HelpLineLook, TextKeepsLeadingBlanksAndTheFontNameLosesBoth) {
    PageLine line;
    line.text = "   indented words   ";
    line.fontName = " Times New Roman ";
    line.fontBold = 1;  // any non-zero flag is on
    line.fontItalic = False;
    const LineLook look = LookOfLine(line);
    EXPECT_EQ(look.text, "   indented words");
    EXPECT_EQ(look.fontName, "Times New Roman");
    EXPECT_EQ(look.fontKind, HelpFontKind::Serif);
    EXPECT_TRUE(look.bold);
    EXPECT_FALSE(look.italic);

    // The default line, as a cleared page shows it.
    EXPECT_EQ(LookOfLine(PageLine{}), LineLook{});
}

TEST(HelpLineLook, FontNamesFallBackByTheirKind) {
    const std::pair<const char*, HelpFontKind> names[] = {
        {"Courier New", HelpFontKind::Monospace},
        {"Monospace", HelpFontKind::Monospace},
        {"DejaVu Sans Mono", HelpFontKind::Monospace},
        {"Lucida Console", HelpFontKind::Monospace},
        {"", HelpFontKind::Monospace},
        {"Sans Serif", HelpFontKind::Sans},
        {"MS Sans Serif", HelpFontKind::Sans},
        {"Arial", HelpFontKind::Sans},
        {"Serif", HelpFontKind::Serif},
        {"Times New Roman", HelpFontKind::Serif},
        {"Georgia", HelpFontKind::Serif},
        {"Wingdings", HelpFontKind::Sans},
    };
    for (const auto& [name, kind] : names)
        EXPECT_EQ(KindOfFont(name), kind) << name;
}

TEST(HelpLineLook, SizesAreStoredRoundedHalvesToEven) {
    const std::pair<double, int16_t> sizes[] = {{11.25, 11}, {10.5, 10}, {11.5, 12},  {12.5, 12},
                                                {13.75, 14}, {-0.5, 0},  {1e9, 32767}};
    for (const auto& [size, stored] : sizes)
        EXPECT_EQ(StoredFontSize(size), stored) << size;
    EXPECT_EQ(StoredFontSize(std::numeric_limits<double>::quiet_NaN()), 11);
}

TEST(HelpLineLook, FrameCaptionAndPageEntryFollowThePageNumber) {
    EXPECT_EQ(PageCaption(1), "Page 1");
    EXPECT_EQ(PageCaption(120), "Page 120");
    EXPECT_EQ(PageCaption(-3), "Page -3");
    for (int16_t page : {-1, 0, 1, 2, 3, 12})
        EXPECT_EQ(OffersPageEntry(page), page == 1 || page == 2) << page;
}

class PagingRule : public HelpManualTest {
  protected:
    void SetUp() override {
        HelpManualTest::SetUp();
        std::vector<std::pair<int16_t, int16_t>> pages;
        for (int16_t page = 1; page <= 10; ++page)
            pages.push_back({page, 1});
        pages.push_back({32767, 2});
        WriteManual(pages);
        model.HelpFileName = ManualPath();
    }
    HelpPageModel model;
};

TEST_F(PagingRule, EveryRowOfTheRuleSetsTheRangeAndTheButtons) {
    struct Row {
        PageTurn turn;
        int16_t page, left, numPages;
        int16_t shownPage, leftAfter;
        bool next, prev;
    } rows[] = {
        // Next: inside the range, past its start, onto its last page.
        {PageTurn::Next, 1, 4, 4, 2, 3, true, true},
        {PageTurn::Next, 1, 6, 4, 2, 4, true, false},
        {PageTurn::Next, 3, 2, 4, 4, 1, false, true},
        // Previous: back onto the first page, inside the range, from beyond its end.
        {PageTurn::Previous, 2, 3, 4, 1, 4, true, false},
        {PageTurn::Previous, 3, 2, 4, 2, 3, true, true},
        {PageTurn::Previous, 5, 0, 4, 4, 1, false, true},
    };
    for (const Row& row : rows) {
        model.CurPage = row.page;
        HelpPagesLeft = row.left;
        PagingButtons buttons{true, true};
        ASSERT_TRUE(TurnPage(row.turn, model, row.numPages, buttons));
        EXPECT_EQ(model.CurPage, row.shownPage);
        EXPECT_EQ(model.PageArr[0].text, "page " + std::to_string(row.shownPage));
        EXPECT_EQ(HelpPagesLeft, row.leftAfter) << "from page " << row.page;
        EXPECT_EQ(buttons.next, row.next) << "from page " << row.page;
        EXPECT_EQ(buttons.prev, row.prev) << "from page " << row.page;
    }
    EXPECT_TRUE(platform.Boxes().empty());
}

TEST_F(PagingRule, AMissingPageRestoresTheNumberTheRangeAndThePageButKeepsTheButtons) {
    // Page 11 is not stored.
    model.CurPage = 10;
    ASSERT_EQ(model.GetPage(10), 0);
    model.PageArr[5].backColor = 0x123456;
    HelpPagesLeft = 2;
    PagingButtons buttons{true, true};
    platform.ExpectBox("GET HELP PAGE");
    EXPECT_FALSE(TurnPage(PageTurn::Next, model, 4, buttons));
    EXPECT_EQ(model.CurPage, 10);
    EXPECT_EQ(HelpPagesLeft, 2);
    EXPECT_EQ(model.PageArr[0].text, "page 10");
    EXPECT_EQ(model.PageArr[5].backColor, 0x123456);
    EXPECT_FALSE(buttons.next);
    EXPECT_TRUE(buttons.prev);

    // Page 0 is refused while the whole manual is the range.
    model.CurPage = 1;
    HelpPagesLeft = 3;
    platform.ExpectBox("GET  HELP  PAGE");
    EXPECT_FALSE(TurnPage(PageTurn::Previous, model, 4, buttons));
    EXPECT_EQ(platform.Boxes().back().text, "ERROR: PAGE ZERO(0) DOESN'T EXIST!");
    EXPECT_EQ(model.CurPage, 1);
    EXPECT_EQ(HelpPagesLeft, 3);
    EXPECT_TRUE(buttons.next);
    EXPECT_FALSE(buttons.prev);
}

TEST_F(PagingRule, NoPageBeyondTheLastNumberIsLookedFor) {
    model.CurPage = 32767;
    HelpPagesLeft = 3;
    PagingButtons buttons;
    EXPECT_FALSE(TurnPage(PageTurn::Next, model, 4, buttons));
    EXPECT_EQ(model.CurPage, 32767);
    EXPECT_EQ(HelpPagesLeft, 3);
    EXPECT_EQ(platform.Beeps(), 1);
    EXPECT_TRUE(platform.Boxes().empty());
}

}  // namespace
}  // namespace helptest

// The help reader on screen, offscreen: the shipped manual read from its
// contents through a topic and back, a page number typed into the box, and
// lines of every face and colour drawn as the page sets them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFontInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdlib>

#include "common/globals.h"
#include "help/help_file.h"
#include "help/help_page_view.h"
#include "help/help_reader.h"
#include "modal.h"
#include "platform/files.h"
#include "platform/qt/ansi.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

using namespace quarvelt;

namespace {

void SaveShot(const QPixmap& picture, const char* name) {
    QDir().mkpath(QUARVELT_SCREENSHOT_DIR);
    EXPECT_TRUE(picture.save(QString::fromLatin1(QUARVELT_SCREENSHOT_DIR) + name));
}

// Antialiased strokes come near a colour rather than on it.
bool Near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) <= 48 && std::abs(a.green() - b.green()) <= 48 &&
           std::abs(a.blue() - b.blue()) <= 48;
}

std::string Text(const QLabel* label) {
    return platform::qt::ToAnsi(label->text());
}

class ReaderWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetGlobals();
        HelpStartPage = 1;
        HelpPageSpan = 0;
    }
    void TearDown() override { ResetGlobals(); }

    // Opens a fresh reader as the Help menu does and runs `act` while it is up.
    void Read(std::function<void(HelpReader*)> act) {
        HelpReaderLogic logic;
        logic.caption = "QUARVELT.HLP";
        HelpReader reader(logic, nullptr);
        guitest::WhenModalShown<QDialog>([act](QDialog* shown) {
            auto* dialog = dynamic_cast<HelpReader*>(shown);
            ASSERT_NE(dialog, nullptr);
            act(dialog);
        });
        reader.Run();
        EXPECT_FALSE(reader.isVisible());
        EXPECT_FALSE(logic.Visible());
    }
    static void ExpectPage(HelpReader* reader, const HelpPageRecord& page) {
        EXPECT_EQ(guitest::Utf8(reader->PageFrame()->title()),
                  "Page " + std::to_string(page.pageNo));
        for (int k = 0; k < HelpPageLines; ++k)
            EXPECT_EQ(Text(reader->PgLine(k)), page.lines[static_cast<size_t>(k)].text)
                << "page " << page.pageNo << " line " << k + 1;
    }

    testsupport::ScriptedPlatform platform;
};

TEST_F(ReaderWindow, TheShippedManualReadsFromTheContentsThroughATopicAndBack) {
    AppPath = QUARVELT_GAME_DIR;  // read only
    HelpManualContents manual;
    ASSERT_FALSE(ReadHelpManual(AppPath + HelpManualName, manual));
    ASSERT_GE(manual.pages.size(), 4u);
    // A topic of several pages past the contents' two pages, and how many pages it has.
    size_t first = 2;
    size_t count = 0;
    for (; first < manual.pages.size(); ++first) {
        if (manual.pages[first].topicNo == manual.pages[first - 1].topicNo)
            continue;
        count = 0;
        for (const HelpPageRecord& page : manual.pages)
            count += page.topicNo == manual.pages[first].topicNo ? 1 : 0;
        if (count >= 2)
            break;
    }
    ASSERT_LT(first, manual.pages.size()) << "a topic of several pages to turn";

    Read([&](HelpReader* reader) {
        EXPECT_EQ(guitest::Utf8(reader->windowTitle()), "QUARVELT.HLP");
        EXPECT_EQ(guitest::TextsOf(guitest::ButtonsLeftToRight(reader)),
                  (std::vector<std::string>{" Contents", "< Page", "Page >", "Exit"}));
        ExpectPage(reader, manual.pages[0]);
        EXPECT_TRUE(reader->PagNum()->isVisible());
        EXPECT_TRUE(reader->PagNum()->isEnabled());
        EXPECT_EQ(guitest::Utf8(reader->PagMsg()->text()),
                  "Enter Page Number to View   and push Enter.");
        EXPECT_TRUE(reader->NextPg()->isEnabled());
        EXPECT_FALSE(reader->PrevPg()->isEnabled());
        SaveShot(reader->grab(), "help-reader-contents.png");

        QTest::keyClicks(reader->PagNum(), QString::number(manual.pages[first].pageNo));
        QTest::keyClick(reader->PagNum(), Qt::Key_Return);
        ASSERT_TRUE(reader->isVisible()) << "Enter belongs to the box, not to a button";
        ExpectPage(reader, manual.pages[first]);
        EXPECT_FALSE(reader->PagNum()->isVisible());
        EXPECT_FALSE(reader->PagMsg()->isVisible());
        EXPECT_TRUE(reader->NextPg()->isEnabled());
        EXPECT_FALSE(reader->PrevPg()->isEnabled());
        SaveShot(reader->grab(), "help-reader-topic.png");

        for (size_t turned = 1; turned < count; ++turned)
            QTest::mouseClick(reader->NextPg(), Qt::LeftButton);
        ExpectPage(reader, manual.pages[first + count - 1]);
        EXPECT_FALSE(reader->NextPg()->isEnabled()) << "the topic's last page";
        QTest::mouseClick(reader->PrevPg(), Qt::LeftButton);
        ExpectPage(reader, manual.pages[first + count - 2]);

        QTest::mouseClick(reader->Content(), Qt::LeftButton);
        ExpectPage(reader, manual.pages[0]);
        EXPECT_TRUE(reader->PagNum()->isVisible());
        QTest::mouseClick(reader->ExitHlp(), Qt::LeftButton);
    });
    EXPECT_TRUE(platform.Boxes().empty());
}

class ReaderOnOwnManual : public ReaderWindow {
  protected:
    void SetUp() override {
        ReaderWindow::SetUp();
        AppPath = folder.Path();
    }
    void Write(const std::vector<HelpPageRecord>& pages) {
        ASSERT_FALSE(WriteHelpManual(AppPath + HelpManualName, pages));
    }
    testsupport::TempFolder folder;
};

TEST_F(ReaderOnOwnManual, EnterInThePageNumberBoxJumpsOrPutsThePageBack) {
    std::vector<HelpPageRecord> pages;
    for (int16_t page = 1; page <= 3; ++page) {
        PageTable lines{};
        lines[0].text = "page " + std::to_string(page);
        pages.push_back(MakeHelpPageRecord(page, page, lines));
    }
    Write(pages);
    Read([&](HelpReader* reader) {
        platform.ExpectBox("GET HELP PAGE");
        QTest::keyClicks(reader->PagNum(), "12");
        QTest::keyClick(reader->PagNum(), Qt::Key_Enter);
        EXPECT_EQ(platform.Boxes().back().text, "ERROR: PAGE NOT FOUND!");
        EXPECT_EQ(reader->PagNum()->text(), "1");
        ExpectPage(reader, pages[0]);

        reader->PagNum()->selectAll();
        QTest::keyClicks(reader->PagNum(), "2");
        QTest::keyClick(reader->PagNum(), Qt::Key_Return);
        ExpectPage(reader, pages[1]);
        EXPECT_TRUE(reader->PagNum()->isVisible()) << "page 2 still offers the box";
        EXPECT_FALSE(reader->NextPg()->isEnabled()) << "a topic of one page";
        // Escape leaves as Exit does.
        QTest::keyClick(reader, Qt::Key_Escape);
    });
}

TEST_F(ReaderOnOwnManual, EveryFaceAndColourIsDrawnAsThePageSetsIt) {
    struct Line {
        const char* text;
        const char* font;
        int16_t size;
        bool bold, italic;
        int32_t fore, back;
        int32_t shownFore, shownBack;
        double shownSize;
        bool fixedPitch;
    } set[] = {
        {"Courier New, the game's own face", "Courier New", 11, true, false, 0, HelpWhite, 0,
         HelpWhite, 11, true},
        {"SANS SERIF HEADING", "Sans Serif", 14, true, false, HelpWhite, 0x800000, HelpWhite,
         0x800000, 14, false},
        {"Serif in italics", "Serif", 12, false, true, 0x0000FF, 0x00FFFF, 0x0000FF, 0x00FFFF, 12,
         false},
        {"Monospace, small", "Monospace", 8, false, false, 0x008000, 0xF0F0F0, 0x008000, 0xF0F0F0,
         8, true},
        {"A face nobody has", "No Such Face", 10, false, false, 0x808000, HelpWhite, 0x808000,
         HelpWhite, 10, false},
        {"A size of nothing", "Courier New", 0, false, false, 0, 0xC0C0C0, 0, 0xC0C0C0, 11, true},
        {"A size too large", "Courier New", 200, false, false, 0, 0xC0C0C0, 0, 0xC0C0C0, 11, true},
        {"System colours", "Courier New", 11, false, false, -2147483643, -2147483633, HelpBlack,
         HelpWhite, 11, true},
    };
    PageTable lines{};
    for (size_t k = 0; k < std::size(set); ++k) {
        PageLine& line = lines[k];
        line.text = set[k].text;
        line.fontName = set[k].font;
        line.fontSize = set[k].size;
        line.fontBold = set[k].bold ? True : False;
        line.fontItalic = set[k].italic ? True : False;
        line.foreColor = set[k].fore;
        line.backColor = set[k].back;
    }
    Write({MakeHelpPageRecord(1, 1, lines)});
    Read([&](HelpReader* reader) {
        SaveShot(reader->grab(), "help-reader-faces.png");
        for (size_t k = 0; k < std::size(set); ++k) {
            const Line& want = set[k];
            QLabel* label = reader->PgLine(static_cast<int>(k));
            const QFontInfo shown(label->font());
            EXPECT_EQ(Text(label), want.text);
            EXPECT_DOUBLE_EQ(label->font().pointSizeF(), want.shownSize) << want.text;
            EXPECT_EQ(shown.bold(), want.bold) << want.text;
            EXPECT_EQ(shown.italic(), want.italic) << want.text;
            const QFontMetrics metrics(label->font());
            const bool fixedPitch = metrics.horizontalAdvance(QStringLiteral("iiiiiiii")) ==
                                    metrics.horizontalAdvance(QStringLiteral("MMMMMMMM"));
            EXPECT_EQ(fixedPitch, want.fixedPitch)
                << want.text << " drawn in " << guitest::Utf8(shown.family());

            // The line's own picture: its background at the far right, its text colour in the
            // words.
            const QImage picture = label->grab().toImage();
            EXPECT_EQ(picture.pixelColor(picture.width() - 2, picture.height() / 2),
                      ColorOf(want.shownBack))
                << want.text;
            bool inked = false;
            for (int x = 0; x < picture.width() / 2 && !inked; ++x)
                for (int y = 0; y < picture.height() && !inked; ++y)
                    inked = Near(picture.pixelColor(x, y), ColorOf(want.shownFore));
            EXPECT_TRUE(inked) << want.text << " shows no text in its colour";
            EXPECT_GE(label->height(), QFontMetrics(label->font()).height()) << want.text;
        }
        // Lines the page leaves at their default are empty black on white.
        const QImage blank = reader->PgLine(24)->grab().toImage();
        EXPECT_EQ(blank.pixelColor(blank.width() / 2, blank.height() / 2), QColor(Qt::white));
        QTest::mouseClick(reader->ExitHlp(), Qt::LeftButton);
    });
}

TEST_F(ReaderOnOwnManual, AMissingManualSaysSoAndNeverShowsTheWindow) {
    platform.ExpectBox("HELP MANUAL");
    HelpReaderLogic logic;
    logic.caption = "QUARVELT.HLP";
    HelpReader reader(logic, nullptr);
    reader.Run();
    EXPECT_EQ(platform.Boxes().back().text, "NO HELP AVAILABLE!");
    EXPECT_FALSE(reader.isVisible());
    EXPECT_FALSE(platform::IsFile(AppPath + HelpManualName));
}

}  // namespace

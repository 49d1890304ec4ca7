// The help writer on screen, offscreen: typing with the line editor's keys,
// the font and colour choosers, and a new page saved into a temporary manual.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "common/globals.h"
#include "help/help_file.h"
#include "help/help_page_view.h"
#include "help/help_writer.h"
#include "modal.h"
#include "platform/qt/ansi.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

using namespace quarvelt;

namespace {

void SaveShot(const QPixmap& picture, const char* name) {
    QDir().mkpath(QUARVELT_SCREENSHOT_DIR);
    EXPECT_TRUE(picture.save(QString::fromLatin1(QUARVELT_SCREENSHOT_DIR) + name));
}

// Runs `act` on the next modal window of class `Window` (found by its C++ type, as
// the game's dialogs carry no meta-object of their own).
template <class Window>
void WhenShown(std::function<void(Window*)> act) {
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, act] {
        auto* window = dynamic_cast<Window*>(QApplication::activeModalWidget());
        if (window == nullptr || !window->isVisible()) {
            if (++*tries > 2000) {
                poll->stop();
                poll->deleteLater();
                ADD_FAILURE() << "the window never came up";
            }
            return;
        }
        poll->stop();
        poll->deleteLater();
        act(window);
    });
    poll->start(5);
}

// Accepts the next colour chooser with `color`, or cancels it.
void AnswerColor(const QColor& color, bool accept = true) {
    WhenShown<QColorDialog>([color, accept](QColorDialog* chooser) {
        chooser->setCurrentColor(color);
        if (accept)
            chooser->accept();
        else
            chooser->reject();
    });
}

class WriterWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetGlobals();
        AppPath = folder.Path();
        HelpStartPage = 1;
        HelpPageSpan = 0;
        std::vector<HelpPageRecord> pages;
        for (int16_t page = 1; page <= 3; ++page) {
            PageTable lines{};
            lines[0].text = "page " + std::to_string(page);
            pages.push_back(MakeHelpPageRecord(page, 1, lines));
        }
        ASSERT_FALSE(WriteHelpManual(AppPath + HelpManualName, pages));
    }
    void TearDown() override { ResetGlobals(); }

    void Write(std::function<void(HelpWriter*)> act) {
        HelpWriterLogic logic;
        HelpWriter writer(logic, nullptr);
        WhenShown<HelpWriter>([act](HelpWriter* shown) {
            // Offscreen, a window without a parent is not made active by itself.
            shown->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(shown));
            act(shown);
        });
        writer.Run();
        EXPECT_FALSE(writer.isVisible());
    }
    static std::string Text(QLineEdit* line) { return platform::qt::ToAnsi(line->text()); }

    testsupport::TempFolder folder;
    testsupport::ScriptedPlatform platform;
};

TEST_F(WriterWindow, TheLineEditorsKeysMoveTheCaretAndShapeTheLine) {
    Write([](HelpWriter* writer) {
        EXPECT_EQ(guitest::Utf8(writer->windowTitle()), "Help Writer");
        EXPECT_EQ(Text(writer->PgLine(0)), "page 1");
        EXPECT_EQ(guitest::Utf8(writer->PageFrame()->title()), "Page 1");
        EXPECT_EQ(writer->PagNum()->text(), "1");
        EXPECT_EQ(writer->TopicNum()->text(), "1");
        const std::vector<std::pair<QPushButton*, const char*>> captions{
            {writer->PrevPg(), "< Page"},
            {writer->NextPg(), "Page >"},
            {writer->SavePg(), "  &Save New  Page"},
            {writer->UpDatePg(), " UpDate Page"},
            {writer->ClearPg(), "Clear"},
            {writer->PagColor(), "Page Color"},
            {writer->SelFont(), "Front Style"},
            {writer->ExitHlp(), "Exit"}};
        for (const auto& [button, caption] : captions)
            EXPECT_EQ(guitest::Utf8(button->text()), caption);
        EXPECT_TRUE(writer->NextPg()->isEnabled());
        EXPECT_FALSE(writer->PrevPg()->isEnabled());
        EXPECT_TRUE(writer->UpDatePg()->isEnabled());

        QLineEdit* third = writer->PgLine(2);
        QTest::mouseClick(third, Qt::LeftButton);
        QTest::keyClicks(third, "ab");
        QTest::keyClick(third, Qt::Key_Left);
        QTest::keyClick(third, Qt::Key_Tab);
        EXPECT_EQ(Text(third), "ab        ");
        EXPECT_EQ(third->cursorPosition(), 10);
        EXPECT_EQ(writer->focusWidget(), third) << "Tab stays in its line";

        QTest::keyClick(third, Qt::Key_Return);
        EXPECT_EQ(writer->focusWidget(), writer->PgLine(3));
        QTest::keyClick(writer->PgLine(3), Qt::Key_PageDown);
        QTest::keyClick(writer->PgLine(24), Qt::Key_Up);
        EXPECT_EQ(writer->focusWidget(), writer->PgLine(23));
        QTest::keyClick(writer->PgLine(23), Qt::Key_PageUp);
        EXPECT_EQ(writer->focusWidget(), writer->PgLine(0));

        // The eightieth character stays; the next key is swallowed and moves on.
        QLineEdit* fifth = writer->PgLine(4);
        fifth->setFocus();
        QTest::keyClicks(fifth, QString(80, QLatin1Char('w')));
        EXPECT_EQ(writer->focusWidget(), fifth);
        QTest::keyClick(fifth, Qt::Key_Backspace);
        EXPECT_EQ(Text(fifth), std::string(80, 'w'));
        EXPECT_EQ(writer->focusWidget(), writer->PgLine(5));
        QTest::mouseClick(writer->ExitHlp(), Qt::LeftButton);
    });
    EXPECT_TRUE(platform.Boxes().empty());
}

TEST_F(WriterWindow, FontsAndColoursAreChosenForTheCaretsLineAndSavedWithANewPage) {
    QString face;
    Write([&](HelpWriter* writer) {
        // To the last page, and a new page after it.
        for (const char* page : {"3", "4"}) {
            writer->PagNum()->selectAll();
            QTest::keyClicks(writer->PagNum(), page);
            if (*page == '4')
                break;
            QTest::keyClick(writer->PagNum(), Qt::Key_Return);
            EXPECT_EQ(guitest::Utf8(writer->PageFrame()->title()), "Page 3");
        }
        platform.ExpectBox("GET HELP PAGE");
        platform.ExpectBox("ASSIGN HELP PAGE", platform::AnswerYes);
        platform.ExpectBox("ASSIGN HELP PAGE", platform::AnswerYes);
        QTest::keyClick(writer->PagNum(), Qt::Key_Return);
        ASSERT_TRUE(writer->isVisible());
        EXPECT_EQ(guitest::Utf8(writer->PageFrame()->title()), "Page 4");
        EXPECT_EQ(writer->TopicNum()->text(), "2");

        QLineEdit* title = writer->PgLine(0);
        QTest::mouseClick(title, Qt::LeftButton);
        QTest::keyClicks(title, "  A NEW TOPIC");
        WhenShown<FontDialog>([&](FontDialog* chooser) {
            EXPECT_EQ(guitest::Utf8(chooser->windowTitle()), "Select Font");
            EXPECT_EQ(guitest::Utf8(chooser->Family()->currentText()), "Courier New");
            EXPECT_EQ(chooser->Size()->value(), 11);
            // An installed face other than the preset.
            QComboBox* families = chooser->Family();
            face = families->itemText(families->count() - 1);
            for (int i = 0; i < families->count(); ++i)
                if (families->itemText(i).endsWith(QStringLiteral(" Serif")))
                    face = families->itemText(i);
            ASSERT_NE(face, "Courier New");
            EXPECT_FALSE(face.contains('[')) << "families by their plain names";
            chooser->Family()->setCurrentText(face);
            chooser->Size()->setValue(14.5);
            chooser->Bold()->setChecked(true);
            chooser->Italic()->setChecked(true);
            AnswerColor(QColor(0, 0, 128));
            QTest::mouseClick(chooser->ColorButton(), Qt::LeftButton);
            EXPECT_EQ(chooser->Color(), 0x800000);
            SaveShot(chooser->grab(), "help-font-chooser.png");
            QTest::mouseClick(chooser->OKButton(), Qt::LeftButton);
        });
        QTest::mouseClick(writer->SelFont(), Qt::LeftButton);
        EXPECT_EQ(title->font().family(), face);
        EXPECT_DOUBLE_EQ(title->font().pointSizeF(), 14.5);
        EXPECT_TRUE(title->font().bold() && title->font().italic());
        EXPECT_EQ(title->palette().color(QPalette::Text), QColor(0, 0, 128));
        EXPECT_EQ(writer->focusWidget(), title) << "the caret returns to its line";

        // A cancelled chooser changes nothing, and the next one starts from the last style.
        WhenShown<FontDialog>([](FontDialog* chooser) {
            EXPECT_TRUE(chooser->Bold()->isChecked() && chooser->Italic()->isChecked());
            EXPECT_EQ(chooser->Color(), 0x800000);
            chooser->Size()->setValue(30);
            QTest::mouseClick(chooser->CancelButton(), Qt::LeftButton);
        });
        QTest::mouseClick(writer->SelFont(), Qt::LeftButton);
        EXPECT_DOUBLE_EQ(title->font().pointSizeF(), 14.5);

        // The whole page in light yellow, then the title line in grey.
        AnswerColor(QColor(255, 255, 224));
        platform.ExpectBox("HELP PAGE COLOR", platform::AnswerYes);
        QTest::mouseClick(writer->PagColor(), Qt::LeftButton);
        AnswerColor(QColor(192, 192, 192));
        platform.ExpectBox("HELP PAGE COLOR", platform::AnswerNo);
        QTest::mouseClick(writer->PagColor(), Qt::LeftButton);
        AnswerColor(QColor(255, 0, 0), false);
        QTest::mouseClick(writer->PagColor(), Qt::LeftButton);
        EXPECT_EQ(title->palette().color(QPalette::Base), QColor(192, 192, 192));
        for (int k = 1; k < HelpPageLines; ++k)
            EXPECT_EQ(writer->PgLine(k)->palette().color(QPalette::Base), QColor(255, 255, 224))
                << k;

        QTest::mouseClick(writer->PgLine(2), Qt::LeftButton);
        QTest::keyClicks(writer->PgLine(2), "Written on screen, saved as a page.");
        SaveShot(writer->grab(), "help-writer.png");
        platform.ExpectBox("SAVE PAGE TO FILE");
        QTest::mouseClick(writer->SavePg(), Qt::LeftButton);
        EXPECT_EQ(platform.Boxes().back().text, "NEW PAGE ADDED.");
        EXPECT_TRUE(writer->PrevPg()->isEnabled());
        QTest::mouseClick(writer->ExitHlp(), Qt::LeftButton);
    });

    HelpManualContents manual;
    ASSERT_FALSE(ReadHelpManual(AppPath + HelpManualName, manual));
    ASSERT_EQ(manual.pages.size(), 4u);
    const HelpPageRecord& page = manual.pages[3];
    EXPECT_EQ(page.pageNo, 4);
    EXPECT_EQ(page.topicNo, 2);
    EXPECT_EQ(page.lines[0].text, "  A NEW TOPIC");
    EXPECT_EQ(page.lines[0].fontName, platform::qt::ToAnsi(face).substr(0, 15));
    EXPECT_EQ(page.lines[0].fontSize, 14);  // 14.5, halves to the even neighbour
    EXPECT_EQ(page.lines[0].fontBold, True);
    EXPECT_EQ(page.lines[0].fontItalic, True);
    EXPECT_EQ(page.lines[0].foreColor, 0x800000);
    EXPECT_EQ(page.lines[0].backColor, 0xC0C0C0);
    EXPECT_EQ(page.lines[1].backColor, 0xE0FFFF);
    EXPECT_EQ(page.lines[2].text, "Written on screen, saved as a page.");
    EXPECT_EQ(page.lines[2].fontName, "Courier New");
}

TEST_F(WriterWindow, EscapeLeavesWithoutSaving) {
    const std::string before = folder.Read(HelpManualName);
    Write([](HelpWriter* writer) {
        QTest::keyClicks(writer->PgLine(0), " more");
        QTest::keyClick(writer->PgLine(0), Qt::Key_Escape);
    });
    EXPECT_EQ(folder.Read(HelpManualName), before);
    EXPECT_TRUE(platform.Boxes().empty());
}

}  // namespace

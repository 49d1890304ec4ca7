#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

#include "modal.h"
#include "platform/qt/qt_services.h"

namespace {

using namespace platform;
using guitest::ButtonsLeftToRight;
using guitest::TextsOf;
using guitest::Utf8;
using guitest::WhenModalShown;

QAbstractButton* ButtonWithText(QMessageBox* box, const char* text) {
    for (QAbstractButton* button : box->buttons())
        if (button->text() == QLatin1String(text))
            return button;
    ADD_FAILURE() << "no button " << text;
    return nullptr;
}

void PressEscape(QWidget* widget) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

TEST(MessageBox, ShowsLinesIconButtonsAndTitle) {
    bool seen = false;
    WhenModalShown<QMessageBox>([&seen](QMessageBox* box) {
        seen = true;
        EXPECT_EQ(Utf8(box->windowTitle()), "Puzzles \u2013 Save");
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(Utf8(box->text()), "The puzzle \u201CA\u201D changed.\nSave it now?");
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        auto buttons = ButtonsLeftToRight(box);
        EXPECT_EQ(TextsOf(buttons), (std::vector<std::string>{"&Yes", "&No", "Cancel"}));
        ASSERT_NE(box->defaultButton(), nullptr);
        EXPECT_EQ(Utf8(box->defaultButton()->text()), "&No");
        if (auto* no = ButtonWithText(box, "&No"))
            no->click();
    });
    qt::QtMessageBoxes boxes;
    int answer = boxes.Show(
        "The puzzle \x93"
        "A\x94 changed.\rSave it now?",
        MsgYesNoCancel + MsgQuestion + MsgDefaultButton2, "Puzzles \x96 Save");
    EXPECT_TRUE(seen);
    EXPECT_EQ(answer, AnswerNo);
}

TEST(MessageBox, EscapeClosesOnlyBoxesThatHaveACancelOrLoneOk) {
    qt::QtMessageBoxes boxes;

    WhenModalShown<QMessageBox>([](QMessageBox* box) { PressEscape(box); });
    EXPECT_EQ(boxes.Show("Try again?", MsgRetryCancel, "Drive"), AnswerCancel);

    WhenModalShown<QMessageBox>([](QMessageBox* box) { PressEscape(box); });
    EXPECT_EQ(boxes.Show("Done.", MsgOkOnly, "Drive"), AnswerOk);

    // Yes/No has no way out but its buttons.
    WhenModalShown<QMessageBox>([](QMessageBox* box) {
        PressEscape(box);
        QApplication::processEvents();
        EXPECT_TRUE(box->isVisible());
        if (auto* yes = ButtonWithText(box, "&Yes"))
            yes->click();
    });
    EXPECT_EQ(boxes.Show("Replace it?", MsgYesNo + MsgExclamation, "Drive"), AnswerYes);
}

struct ButtonSetCase {
    int flags;
    std::vector<std::string> texts;
    std::vector<int> answers;
    std::string defaultText;
};

TEST(MessageBox, EveryButtonSetInOrderWithItsDefault) {
    const std::vector<ButtonSetCase> cases = {
        {MsgOkOnly, {"OK"}, {AnswerOk}, "OK"},
        {MsgOkCancel + MsgDefaultButton2, {"OK", "Cancel"}, {AnswerOk, AnswerCancel}, "Cancel"},
        // A default beyond the last button falls back to the first.
        {MsgOkCancel + MsgDefaultButton3, {"OK", "Cancel"}, {AnswerOk, AnswerCancel}, "OK"},
        {MsgAbortRetryIgnore + MsgDefaultButton3,
         {"&Abort", "&Retry", "&Ignore"},
         {AnswerAbort, AnswerRetry, AnswerIgnore},
         "&Ignore"},
        {MsgYesNoCancel, {"&Yes", "&No", "Cancel"}, {AnswerYes, AnswerNo, AnswerCancel}, "&Yes"},
        {MsgYesNo + MsgDefaultButton2, {"&Yes", "&No"}, {AnswerYes, AnswerNo}, "&No"},
        {MsgRetryCancel, {"&Retry", "Cancel"}, {AnswerRetry, AnswerCancel}, "&Retry"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        auto box = qt::BuildMessageBox("Text", c.flags, "Title", nullptr);
        box->show();
        auto buttons = ButtonsLeftToRight(box.get());
        EXPECT_EQ(TextsOf(buttons), c.texts);
        std::vector<int> answers;
        for (QAbstractButton* button : buttons)
            answers.push_back(qt::AnswerOfButton(*box, button));
        EXPECT_EQ(answers, c.answers);
        ASSERT_NE(box->defaultButton(), nullptr);
        EXPECT_EQ(Utf8(box->defaultButton()->text()), c.defaultText);
        box->hide();
    }
}

TEST(MessageBox, IconFromFlags) {
    const std::pair<int, QMessageBox::Icon> cases[] = {
        {0, QMessageBox::NoIcon},
        {MsgCritical, QMessageBox::Critical},
        {MsgQuestion + MsgYesNo, QMessageBox::Question},
        {MsgExclamation + MsgDefaultButton2, QMessageBox::Warning},
        {MsgInformation + MsgOkCancel, QMessageBox::Information},
        {MsgInformation + MsgCritical, QMessageBox::NoIcon},
    };
    for (const auto& [flags, icon] : cases) {
        EXPECT_EQ(qt::BuildMessageBox("Text", flags, "Title", nullptr)->icon(), icon)
            << "flags " << flags;
    }
}

TEST(MessageBox, ClosedWithoutAButtonAnswersLikeEscape) {
    auto okCancel = qt::BuildMessageBox("Text", MsgOkCancel, "Title", nullptr);
    EXPECT_EQ(qt::AnswerOfButton(*okCancel, nullptr), AnswerCancel);
    auto yesNo = qt::BuildMessageBox("Text", MsgYesNo, "Title", nullptr);
    EXPECT_EQ(qt::AnswerOfButton(*yesNo, nullptr), 0);
}

TEST(MessageBox, InstalledServicesShowTheBoxOverTheActiveWindow) {
    QWidget window;
    window.show();
    QApplication::setActiveWindow(&window);
    if (QApplication::activeWindow() != &window)
        GTEST_SKIP() << "no window activation here";

    qt::InstallQtServices();
    QWidget* parent = nullptr;
    WhenModalShown<QMessageBox>([&parent](QMessageBox* box) {
        parent = box->parentWidget();
        if (auto* ok = ButtonWithText(box, "OK"))
            ok->click();
    });
    int answer = MsgBox("Saved.", MsgOkCancel + MsgInformation, "Quarvelt");
    InstallHeadless();
    EXPECT_EQ(answer, AnswerOk);
    EXPECT_EQ(parent, &window);
}

}  // namespace

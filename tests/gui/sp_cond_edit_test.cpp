// The special-condition editor on screen, offscreen: its lists, frames and
// buttons follow the commands, and the puzzle's condition is set through it.
#include "puzzles/sp_cond_edit.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "common/globals.h"
#include "common/tables.h"
#include "modal.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

using namespace quarvelt;

namespace {

using Kind = SpCondChoiceKind;
const Kind Kinds[] = {Kind::Color, Kind::Size, Kind::Det, Kind::Delay};

class SpCondEditWindow : public ::testing::Test {
  protected:
    testsupport::TempFolder dir;
    testsupport::ScriptedPlatform platform;

    void SetUp() override {
        ResetGlobals();
        AppPath = dir.Path();
        ASSERT_FALSE(WriteSpecialCondFile(SpecialCondPath(), DefaultSpecialCondRecords()));
    }
    void TearDown() override { ResetGlobals(); }

    // Shows a fresh editor modally, as the Puzzle menu does, and plays `act` in it.
    void Run(std::function<void(SpCondEdit*)> act) {
        guitest::WhenModalShown<QDialog>([act](QDialog* shown) {
            auto* dialog = dynamic_cast<SpCondEdit*>(shown);
            ASSERT_NE(dialog, nullptr);
            act(dialog);
        });
        SpCondEditLogic logic;
        SpCondEdit dialog(logic, nullptr);
        dialog.Run();
        EXPECT_FALSE(dialog.isVisible());
    }
    static void SaveShot(const QPixmap& picture, const char* name) {
        QDir().mkpath(QUARVELT_SCREENSHOT_DIR);
        EXPECT_TRUE(picture.save(QString::fromLatin1(QUARVELT_SCREENSHOT_DIR) + name));
    }
    static std::vector<bool> Buttons(SpCondEdit* d) {
        return {d->AccButton()->isEnabled(),    d->AddButton()->isEnabled(),
                d->UpDateButton()->isEnabled(), d->RemButton()->isEnabled(),
                d->ClrButton()->isEnabled(),    d->ExitButton()->isEnabled()};
    }
    static void ExpectFrames(SpCondEdit* d, bool on) {
        for (int i = 0; i < CondPhotonCount; ++i)
            EXPECT_EQ(d->Combo(i, Kind::Color)->isEnabled(), on) << i;
        EXPECT_EQ(d->CondText()->isEnabled() && d->TallyAmt()->isEnabled(), on);
    }
    static void Pick(SpCondEdit* d, const QString& desc) {
        const auto found = d->CondList()->findItems(" " + desc, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << desc.toStdString();
        d->CondList()->setCurrentItem(found.front());
    }
};

}  // namespace

TEST_F(SpCondEditWindow, CombosAndFramesFollowTheCommands) {
    Run([this](SpCondEdit* d) {
        EXPECT_EQ(d->windowTitle(), "SPECIAL CONDITIONS");
        EXPECT_EQ(d->CondList()->count(), 10);
        EXPECT_EQ(guitest::TextsOf({d->AccButton(), d->AddButton(), d->UpDateButton(),
                                    d->RemButton(), d->ClrButton(), d->ExitButton()}),
                  (std::vector<std::string>{"ACCEPT", " ADD Condition.", " UPDATE Condition.",
                                            "  REMOVE  Condition.", "CLEAR", "EXIT"}));
        EXPECT_EQ(Buttons(d), (std::vector<bool>{true, false, false, false, true, true}));
        ExpectFrames(d, true);
        for (int i = 0; i < CondPhotonCount; ++i) {
            EXPECT_EQ(d->Frame(i)->title(), QString("Photon ") + QChar('A' + i));
            EXPECT_EQ(d->Combo(i, Kind::Color)->count(), i == 0 ? 8 : 9);
            for (Kind kind : Kinds)
                EXPECT_EQ(d->Combo(i, kind)->currentIndex(), -1);
            // The time requirement is shown but never offered.
            EXPECT_FALSE(d->Combo(i, Kind::Delay)->isEnabled());
            EXPECT_FALSE(d->TimeLabel(i)->isEnabled());
            EXPECT_EQ(d->PhotonNum(i)->isChecked(), i == 0);
        }
        EXPECT_FALSE(d->PhotonNum(0)->isEnabled());
        EXPECT_TRUE(d->PhotonNum(1)->isEnabled());

        // A fixed condition fills the lists and locks the frames.
        Pick(d, "Photon A MUST be WHITE, Photon B MUST be GREEN, Photon C MUST be CYAN.");
        EXPECT_EQ(d->CondNum()->text(), "06");
        ExpectFrames(d, false);
        EXPECT_EQ(d->Combo(0, Kind::Color)->currentText(), "White");
        EXPECT_EQ(d->Combo(1, Kind::Color)->currentText(), "Green");
        EXPECT_TRUE(d->PhotonNum(1)->isChecked() && d->PhotonNum(2)->isChecked());

        QTest::mouseClick(d->ClrButton(), Qt::LeftButton);
        ExpectFrames(d, true);
        EXPECT_EQ(d->Combo(1, Kind::Color)->currentIndex(), -1);

        // Composed by keyboard and mouse, accepted and added.
        QTest::keyClicks(d->CondText(), "Blue and big.");
        QTest::keyClick(d->CondText(), Qt::Key_Return);
        QTest::keyClick(d->Combo(0, Kind::Color), Qt::Key_Down);
        QTest::keyClick(d->Combo(0, Kind::Color), Qt::Key_Down);
        QTest::keyClick(d->Combo(0, Kind::Color), Qt::Key_Down);
        EXPECT_EQ(d->Combo(0, Kind::Color)->currentText(), "Blue");
        QTest::keyClick(d->Combo(0, Kind::Size), Qt::Key_Down);
        d->TallyAmt()->selectAll();
        QTest::keyClicks(d->TallyAmt(), "75");
        platform.ExpectBox("SETUP   SPECIAL   CONDITIONS");
        QTest::mouseClick(d->AccButton(), Qt::LeftButton);
        EXPECT_EQ(SpecialCond, "00P1BL__Tn________________Ta0075~");
        EXPECT_EQ(Buttons(d), (std::vector<bool>{true, true, false, false, true, true}));
        platform.ExpectBox("ADD  NEW  SPECIAL  CONDITION");
        QTest::mouseClick(d->AddButton(), Qt::LeftButton);
        EXPECT_EQ(d->CondNum()->text(), "11");
        EXPECT_EQ(Buttons(d), (std::vector<bool>{false, false, false, false, true, true}));

        // The new custom condition opens for editing.
        Pick(d, "Blue and big.");
        ExpectFrames(d, true);
        EXPECT_EQ(Buttons(d), (std::vector<bool>{true, false, false, true, true, true}));
        QTest::mouseClick(d->PhotonNum(1), Qt::LeftButton, {},
                          QPoint(8, d->PhotonNum(1)->height() / 2));
        EXPECT_TRUE(d->PhotonNum(1)->isChecked());
        QTest::keyClick(d->Combo(1, Kind::Det), Qt::Key_Down);
        QTest::keyClick(d->Combo(1, Kind::Det), Qt::Key_Down);
        EXPECT_EQ(d->Combo(1, Kind::Det)->currentText(), "Any Det.");
        platform.ExpectBox("SETUP   SPECIAL   CONDITIONS");
        QTest::mouseClick(d->AccButton(), Qt::LeftButton);
        EXPECT_EQ(SpecialCond, "11P1BL__TnP2__DaTn________Ta0075~");
        EXPECT_EQ(Buttons(d), (std::vector<bool>{true, false, true, true, true, true}));
        SaveShot(d->grab(), "special-conditions.png");
        QTest::mouseClick(d->ExitButton(), Qt::LeftButton);
    });
    EXPECT_EQ(SpecialCond, "11P1BL__TnP2__DaTn________Ta0075~");
}

TEST_F(SpCondEditWindow, ARefusedTallyTakesTheFocusAndEscapeEndsAsExitDoes) {
    SpecialCond = "04P1Y___TnP2Y___TnP3Y___TnTa0000~";
    Run([this](SpCondEdit* d) {
        d->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(d));
        QTest::keyClicks(d->CondText(), "Rich");
        d->TallyAmt()->selectAll();
        QTest::keyClicks(d->TallyAmt(), "-5");
        platform.ExpectBox("SETUP   SPECIAL   CONDITIONS");
        QTest::mouseClick(d->AccButton(), Qt::LeftButton);
        EXPECT_EQ(platform.Boxes().back().text,
                  "ERROR:  INVALID POINTS TALLY!\r\rEnter a number between 0 and 9999.");
        EXPECT_EQ(d->focusWidget(), d->TallyAmt());
        EXPECT_EQ(platform.Beeps(), 1);
        QTest::keyClick(d, Qt::Key_Escape);
    });
    EXPECT_EQ(SpecialCond, "04P1Y___TnP2Y___TnP3Y___TnTa0000~");
}

// The tool-box set-up on screen, offscreen: it opens on the Miscellaneous
// group, a typed count is accepted and copied into the tool box, a refused one
// comes back with the focus, and EXIT closes it. A picture is saved.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "common/tables.h"
#include "common/toolbox_catalogue.h"
#include "game_window.h"
#include "modal.h"
#include "toolbox/tb_setup.h"

using namespace quarvelt;

namespace {

class SetupWindow : public guitest::GameWindowTest {
  protected:
    static int16_t Row(const std::string& stem) {
        for (int16_t row = 0; row < ToolboxRowCount; ++row)
            if (ToolboxObjectTable[static_cast<size_t>(row)].stem == stem)
                return row;
        ADD_FAILURE() << "no catalogue row " << stem;
        return 0;
    }
    // Runs the set-up modally with `act` playing the author.
    void RunSetup(TBSetupLogic& logic, std::function<void(TBSetup*)> act) {
        guitest::WhenModalShown<QDialog>([act](QDialog* shown) {
            auto* dialog = dynamic_cast<TBSetup*>(shown);
            ASSERT_NE(dialog, nullptr);
            act(dialog);
        });
        TBSetup dialog(logic, window.get());
        dialog.Run();
        EXPECT_FALSE(dialog.isVisible());
    }
};

}  // namespace

TEST_F(SetupWindow, TheAuthorSetsAGroupAndUpdatesTheToolBox) {
    TBSetupLogic logic;
    int homeMoves = 0;
    logic.moveToolBoxHome = [&homeMoves] { ++homeMoves; };
    int p = -1;
    RunSetup(logic, [this, &logic, &p](TBSetup* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "TOOL BOX  SETUP");
        EXPECT_TRUE(dialog->TBoxType(5)->isChecked());
        EXPECT_FALSE(dialog->Tool(0)->isVisible());
        EXPECT_TRUE(dialog->Tool(8)->isVisible());
        EXPECT_FALSE(dialog->Tool(8)->pixmap().isNull());
        EXPECT_FALSE(dialog->ToolNumAval(8)->isEnabled());
        EXPECT_FALSE(dialog->ToolItemDisable(8)->isVisible());
        EXPECT_TRUE(dialog->DisableTools(1)->isVisible());
        EXPECT_FALSE(dialog->DisableTools(2)->isVisible());
        EXPECT_EQ(dialog->DisableTools(0)->text(), "Disable Tool Check Box.");
        SaveShot(dialog->grab(), "tool-box-setup-miscellaneous.png");

        dialog->TBoxType(1)->click();
        EXPECT_EQ(logic.SetupGroup(), 1);
        p = logic.WorkTable()[static_cast<size_t>(Row("REFLU_U"))].button;
        QLineEdit* count = dialog->ToolNumAval(p);
        ASSERT_TRUE(count->isVisible() && count->isEnabled());
        EXPECT_EQ(count->text(), "20");
        count->setFocus();
        count->selectAll();
        QTest::keyClicks(count, "345");
        EXPECT_EQ(count->text(), "34");
        EXPECT_EQ(logic.Position(p).count, "34");

        // Too many: refused, the box reset to the limit and focused.
        platform.ExpectBox("TOOLBOX   ITEMS");
        QTest::mouseClick(dialog->GroupAcc(), Qt::LeftButton);
        EXPECT_EQ(platform.Boxes().back().text,
                  "INVALID NUMBER OF OBJECTS!\r\rOnly 20 of this Reflector are allowed.");
        EXPECT_EQ(count->text(), "20");
        EXPECT_EQ(dialog->focusWidget(), count);
        count->selectAll();
        QTest::keyClicks(count, "3");
        // The reflector below is no longer offered.
        QCheckBox* other = dialog->ToolItemDisable(p + 1);
        QTest::mouseClick(other, Qt::LeftButton);
        EXPECT_EQ(other->checkState(), Qt::Unchecked);
        QTest::mouseClick(other, Qt::LeftButton);
        EXPECT_EQ(other->checkState(), Qt::Checked);
        QTest::mouseClick(other, Qt::LeftButton);
        platform.ExpectBox("TOOLBOX   ITEMS");
        QTest::mouseClick(dialog->GroupAcc(), Qt::LeftButton);
        EXPECT_EQ(platform.Boxes().back().text, "Reflectors Updated.");
        EXPECT_FALSE(dialog->ToolNumAval(p + 1)->isEnabled());
        SaveShot(dialog->grab(), "tool-box-setup-reflectors.png");
        platform.ExpectBox("TOOLBOX   ITEMS");
        QTest::mouseClick(dialog->UpDateTools(), Qt::LeftButton);
        EXPECT_EQ(platform.Boxes().back().text, "TOOLBOX UPDATED");
        QTest::mouseClick(dialog->ExitButton(), Qt::LeftButton);
    });
    EXPECT_EQ(homeMoves, 1);
    EXPECT_FALSE(logic.Visible());
    EXPECT_EQ(ToolboxObjectTable[static_cast<size_t>(Row("REFLU_U"))].allowed, 3);
    for (size_t row = 0; row < ToolboxObjectTable.size(); ++row)
        if (logic.WorkTable()[row].group == 1 && logic.WorkTable()[row].button == p + 1) {
            EXPECT_EQ(ToolboxObjectTable[row].enabled, False) << ToolboxObjectTable[row].stem;
        }
}

TEST_F(SetupWindow, EscapeLeavesWithoutCopyingAnything) {
    TBSetupLogic logic;
    RunSetup(logic, [](TBSetup* dialog) {
        dialog->TBoxType(0)->click();
        for (int row = 0; row < SetupRowCount; ++row)
            EXPECT_TRUE(dialog->DisableTools(row)->isVisible()) << row;
        EXPECT_TRUE(dialog->Tool(55)->isVisible());
        EXPECT_FALSE(dialog->Tool(56)->isVisible());
        SaveShot(dialog->grab(), "tool-box-setup-barriers.png");
        dialog->TBoxType(4)->click();
        QTest::mouseClick(dialog->ItemDisable(), Qt::LeftButton);
        EXPECT_EQ(dialog->ToolItemDisable(0)->checkState(), Qt::Unchecked);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_FALSE(logic.Visible());
    for (const ToolboxObjectRow& row : ToolboxObjectTable)
        if (row.group == 4) {
            EXPECT_EQ(row.enabled, True) << row.stem;
        }
}

// The tool box and its dialogs on screen, offscreen: a pick, a click on the
// board, the dialogs a bonus object and a key bring up, and the information
// window of a right click. Pictures of each are saved for people to look at.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "common/globals.h"
#include "common/image_index.h"
#include "common/tables.h"
#include "common/toolbox_catalogue.h"
#include "game_window.h"
#include "modal.h"
#include "platform/files.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"
#include "toolbox/obj_infro_dialog.h"
#include "toolbox/set_trigg.h"
#include "toolbox/shutter_dialog.h"
#include "toolbox/tool_box.h"

using namespace quarvelt;

namespace {

class ToolBoxWindow : public guitest::GameWindowTest {
  protected:
    void SetUp() override {
        GameWindowTest::SetUp();
        // A new puzzle being designed: the Tools menu is there.
        PuzzleMode = "NEW";
        window->Logic().Menus().Show(MenuItem::Tools, true);
        window->Logic().Menus().Enable(MenuItem::DesignToolBox, true);
    }

    ToolBox& Box() { return window->ToolBoxWindow(); }
    // The button that shows the tool with this stem in the current group.
    QToolButton* ButtonOf(const std::string& stem) {
        for (const ToolboxObjectRow& row : ToolboxObjectTable)
            if (row.stem == stem && row.button >= 0)
                return Box().Tool(row.button);
        return nullptr;
    }
    void Choose(int group) { Box().TBoxType(group)->click(); }
    void Click(int row, int col, Qt::MouseButton button = Qt::LeftButton) {
        auto& grid = window->Grid();
        QTest::mouseClick(grid.viewport(), button, {}, grid.CellRect(row, col).center());
    }
};

}  // namespace

TEST_F(ToolBoxWindow, APickedToolLandsOnTheClickedCellAndTheCountDrops) {
    Item("Design Tool Box")->trigger();
    ASSERT_TRUE(Box().isVisible());
    EXPECT_TRUE(Box().TBoxType(0)->isVisible());  // "Barrers" only in the design tool box
    Choose(1);
    QToolButton* reflector = ButtonOf("REFLU_U");
    ASSERT_NE(reflector, nullptr);
    EXPECT_FALSE(reflector->icon().isNull());
    EXPECT_EQ(reflector->toolTip(), "Items Remaining = 20");

    QTest::mouseClick(reflector, Qt::LeftButton);
    Click(5, 6);
    const int16_t cell = 5 * BoardCols + 6;
    EXPECT_EQ(BoardTable[cell].pictureName, "REFLU_______________00.BMP");
    EXPECT_EQ(SelectedTool, -1);
    EXPECT_EQ(ButtonOf("REFLU_U")->toolTip(), "Items Remaining = 19");

    // The blank tool takes it off again and the count comes back.
    Choose(5);
    QTest::mouseClick(ButtonOf("BLANK_U"), Qt::LeftButton);
    Click(5, 6);
    EXPECT_EQ(BoardTable[cell].pictureName.substr(0, 5), "BLANK");
    Choose(1);
    EXPECT_EQ(ButtonOf("REFLU_U")->toolTip(), "Items Remaining = 20");

    // The game tool box has no barriers.
    window->Logic().Menus().Enable(MenuItem::GameToolBox, true);
    Item("Game Tool Box")->trigger();
    EXPECT_FALSE(Box().TBoxType(0)->isVisible());
    for (QPushButton* button : Box().findChildren<QPushButton*>())
        if (button->text() == "Exit")
            QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(Box().isVisible());
}

TEST_F(ToolBoxWindow, ABonusObjectAndAKeyAskThroughTheirDialogsAndARightClickTells) {
    Item("Design Tool Box")->trigger();
    // A brown shutter first, so that a key has something to open.
    Choose(4);
    QTest::mouseClick(ButtonOf("SHHBN_U"), Qt::LeftButton);
    Click(4, 4);
    Choose(5);
    QTest::mouseClick(ButtonOf("LAMP__U"), Qt::LeftButton);
    Click(6, 1);
    Choose(1);
    QTest::mouseClick(ButtonOf("REFLU_U"), Qt::LeftButton);
    Click(6, 7);

    Choose(3);
    QTest::mouseClick(ButtonOf("DIAY__U"), Qt::LeftButton);
    guitest::WhenModalShown<QDialog>([this](QDialog* shown) {
        auto* dialog = dynamic_cast<SetTrigg*>(shown);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Set Trigger for Diamond");
        EXPECT_EQ(dialog->TriggerList()->count(), 16);
        dialog->TriggerList()->setCurrentRow(2);
        QTest::keyClicks(dialog->TrValue(), "250");
        SaveShot(dialog->grab(), "trigger-dialog.png");
        dialog->OKButton()->click();
    });
    Click(6, 4);
    EXPECT_EQ(BonusObjTable[1][3].points, 250);
    EXPECT_EQ(BonusObjTable[1][3].cell, 6 * BoardCols + 4);

    QTest::mouseClick(ButtonOf("KEYBN_U"), Qt::LeftButton);
    guitest::WhenModalShown<QDialog>([this](QDialog* shown) {
        auto* dialog = dynamic_cast<ShutterDialog*>(shown);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Shutter Trigger for Brown Key");
        EXPECT_FALSE(dialog->OKButton()->isEnabled());
        ASSERT_EQ(dialog->AvailShutList()->count(), 1);
        dialog->AvailShutList()->setCurrentRow(0);
        EXPECT_TRUE(dialog->OKButton()->isEnabled());
        SaveShot(dialog->grab(), "shutter-link-dialog.png");
        dialog->OKButton()->click();
    });
    Click(3, 8);
    EXPECT_EQ(KeyTable[1][1].cell, 3 * BoardCols + 8);
    EXPECT_EQ(KeyTable[1][1].shutterCell, 4 * BoardCols + 4);

    // The tool box beside the board, as a player sees the two.
    Choose(3);
    const QPixmap board = window->grab();
    const QPixmap box = Box().grab();
    QPixmap both(board.width() + box.width() + 12, std::max(board.height(), box.height()));
    both.fill(QColor(60, 64, 80));
    QPainter painter(&both);
    painter.drawPixmap(0, 0, board);
    painter.drawPixmap(board.width() + 12, 80, box);
    painter.end();
    SaveShot(both, "tool-box-beside-board.png");

    Click(3, 8, Qt::RightButton);
    ObjInfroDialog* info = window->ObjInfroWindow();
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->isVisible());
    EXPECT_EQ(info->windowTitle(), "Key Information.");
    EXPECT_TRUE(info->Frame(InfoFrame::KeySqr)->isVisible());
    EXPECT_EQ(info->Frame(InfoFrame::KeySqr)->title(), "Brown Key");
    EXPECT_EQ(info->LockInd()->text(), "UNLOCKED");
    SaveShot(info->grab(), "object-information.png");
}

TEST_F(ToolBoxWindow, AKeyReEditsTheBonusObjectItWasPressedOnAndOnlyThenMoves) {
    // A diamond with an apple on its right, on a new puzzle: every key counts.
    const int diamond = 2 * BoardCols + 2;
    BoardTable[diamond].pictureName = "DIAM_______________00.BMP";
    BoardTable[diamond + 1].pictureName = "APPLE_______________00.BMP";
    auto& grid = window->Grid();
    grid.setFocus();
    grid.SetRow(2);
    grid.SetCol(2);
    std::vector<std::string> asked;
    const auto press = [&](Qt::Key key) {
        guitest::WhenModalShown<QDialog>([&](QDialog* shown) {
            auto* dialog = dynamic_cast<SetTrigg*>(shown);
            ASSERT_NE(dialog, nullptr);
            asked.push_back(window->Logic().SetTrigg().cellNumber + " " +
                            guitest::Utf8(dialog->windowTitle()));
            dialog->CancelButton()->click();
        });
        QTest::keyClick(&grid, key);
    };
    press(Qt::Key_Right);
    EXPECT_EQ(grid.Col(), 3);
    press(Qt::Key_Shift);
    EXPECT_EQ(grid.Col(), 3);
    EXPECT_EQ(asked,
              (std::vector<std::string>{"32 Set Trigger for Diamond", "33 Set Trigger for Apple"}));
}

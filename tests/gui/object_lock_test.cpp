// The object lock window on screen, offscreen: the list of the board's
// objects, a click that previews and selects, LOCK, and a list rebuilt when
// the window is activated again. A picture is saved.
#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "common/tables.h"
#include "game_window.h"
#include "platform/qt/ansi.h"
#include "toolbox/object_lock.h"

using namespace quarvelt;

namespace {

class LockWindow : public guitest::GameWindowTest {
  protected:
    ObjectLockLogic logic;

    static void Place(int16_t cell, const std::string& code) {
        BoardTable[static_cast<size_t>(cell)].pictureName = code + "_______________00.BMP";
    }
    static void Click(QListWidget* list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    static std::string Text(QListWidget* list, int row) {
        return platform::qt::ToAnsi(list->item(row)->text());
    }
};

}  // namespace

TEST_F(LockWindow, TheAuthorLocksTheClickedObjects) {
    Place(16, "LAMP_");
    Place(48, "REFLU");
    Place(50, "DETWH");
    Place(112, "SHHBN");
    ObjectLock window(logic, this->window.get());
    window.ShowAndActivate();
    EXPECT_EQ(window.windowTitle(), "Game Object Lock / UnLock.");
    QListWidget* list = window.GBObjectList();
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(Text(list, 0).substr(0, 6), " Lamp ");
    EXPECT_EQ(Text(list, 3).substr(37, 14), " 112  UNLOCKED");

    Click(list, 1);
    EXPECT_TRUE(list->item(1)->isSelected());
    EXPECT_TRUE(logic.Selected(1));
    EXPECT_FALSE(window.ObjImage()->pixmap().isNull());
    EXPECT_EQ(logic.Preview(), ImagePath + "REFLU_______________00.BMP");
    Click(list, 3);
    EXPECT_TRUE(list->item(1)->isSelected() && list->item(3)->isSelected());
    SaveShot(window.grab(), "object-lock.png");

    QTest::mouseClick(window.LockButton(), Qt::LeftButton);
    EXPECT_EQ(BoardTable[48].lockFlag, True);
    EXPECT_EQ(BoardTable[112].lockFlag, True);
    EXPECT_EQ(BoardTable[16].lockFlag, False);
    EXPECT_EQ(Text(list, 1).substr(43, 8), "LOCKED  ");
    EXPECT_TRUE(list->selectedItems().isEmpty());

    QTest::mouseClick(window.SelAllButton(), Qt::LeftButton);
    EXPECT_EQ(list->selectedItems().size(), 4);
    QTest::mouseClick(window.UnLockButton(), Qt::LeftButton);
    EXPECT_EQ(BoardTable[48].lockFlag, False);

    // Back from the board, the list shows the board as it is now.
    Place(17, "REFHT");
    window.ShowAndActivate();
    EXPECT_EQ(list->count(), 5);
    EXPECT_EQ(Text(list, 1).substr(0, 21), " Horiz Top Reflector ");

    QTest::mouseClick(window.ExitButton(), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(logic.Visible());
}

// The puzzle library on screen, offscreen: a new puzzle is made, built, saved
// under a key, loaded for play without the key and for design with it, and
// deleted, each step through the real dialog and the real menus.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "common/globals.h"
#include "common/image_index.h"
#include "common/tables.h"
#include "common/toolbox_catalogue.h"
#include "game_window.h"
#include "modal.h"
#include "platform/files.h"
#include "puzzles/creator.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

using namespace quarvelt;

namespace {

class LibraryWindow : public guitest::GameWindowTest {
  protected:
    // Runs `act` in the library dialog that `caption` opens.
    void InLibrary(const QString& caption, std::function<void(Creator*)> act) {
        guitest::WhenModalShown<QDialog>([act](QDialog* shown) {
            auto* dialog = dynamic_cast<Creator*>(shown);
            ASSERT_NE(dialog, nullptr);
            act(dialog);
        });
        ASSERT_TRUE(Item(caption)->isEnabled()) << caption.toStdString();
        Item(caption)->trigger();
    }
    static void Choose(Creator* dialog, const QString& name) {
        const auto found = dialog->PzlList()->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        dialog->PzlList()->setCurrentItem(found.front());
    }
};

}  // namespace

TEST_F(LibraryWindow, ANewPuzzleIsSavedUnderAKeyLoadedForPlayAndDesignAndDeleted) {
    InLibrary("New", [](Creator* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "N E W   P U Z Z L E");
        QTest::keyClicks(dialog->PzlName(), "Tiny Prism");
        QTest::keyClick(dialog->PzlName(), Qt::Key_Return);
        EXPECT_EQ(dialog->focusWidget(), dialog->PzlSize());
        QTest::keyClicks(dialog->PzlSize(), "12,11");
        QTest::keyClick(dialog->PzlSize(), Qt::Key_Return);
    });
    EXPECT_EQ(BoardCols, 12);
    EXPECT_EQ(BoardRows, 11);
    EXPECT_EQ(window->Grid().Cols(), 12);

    // A lamp, so the puzzle may be saved.
    for (int16_t row = 0; row < ToolboxRowCount; ++row)
        if (ToolboxObjectTable[row].stem == "LAMP__U")
            SelectedTool = row;
    auto& grid = window->Grid();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(5, 1).center());
    ASSERT_TRUE(IsTrue(BoardTable[5 * 12 + 1].lampFlag));

    platform.ExpectInput("Lantern");
    platform.ExpectBox("SAVE  CUSTOM  PUZZLE");
    InLibrary("Save", [](Creator* dialog) {
        EXPECT_EQ(dialog->PzlName()->text(), "Tiny Prism");
        EXPECT_EQ(dialog->PzlSize()->text(), "11,12");
        QTest::keyClicks(dialog->PzlFilename(), "tiny");
        SaveShot(dialog->grab(), "library-save.png");
        dialog->PzlEdKey()->click();
        dialog->PzlCmd()->click();
    });
    ASSERT_TRUE(platform::IsFile(PuzzlePath + "TINY.INF"));
    EXPECT_TRUE(Item("ExPort")->isVisible());

    window->Logic().MainMenuClick(4);  // Clear
    platform.ExpectBox("S P E C I A L   C O N D I T I O N S");
    InLibrary("Load", [](Creator* dialog) {
        EXPECT_EQ(dialog->PzlCmd()->text(), "LOAD");
        Choose(dialog, "Tiny Prism");
        EXPECT_EQ(dialog->PzlFilename()->text(), "TINY");
        SaveShot(dialog->grab(), "library-load.png");
        dialog->PzlCmd()->click();
    });
    EXPECT_EQ(window->Logic().ToolBox().mode, "GM");
    EXPECT_FALSE(Item("Edit")->isVisible());
    EXPECT_EQ(BoardRows, 11);

    window->Logic().MainMenuClick(4);
    platform.ExpectInput("Lantern");
    platform.ExpectBox("S P E C I A L   C O N D I T I O N S");
    InLibrary("Load", [](Creator* dialog) {
        Choose(dialog, "Tiny Prism");
        dialog->PzlEdKey()->click();
        dialog->PzlCmd()->click();
    });
    EXPECT_EQ(window->Logic().ToolBox().mode, "DM");
    EXPECT_TRUE(Item("Delete")->isVisible() && Item("Delete")->isEnabled());

    platform.ExpectInput("Lantern");
    platform.ExpectBox("DELETE  CUSTOM  PUZZLE");
    InLibrary("Delete", [](Creator* dialog) {
        EXPECT_EQ(dialog->PzlFilename()->text(), "TINY");
        dialog->PzlEdKey()->click();
        dialog->PzlCmd()->click();
    });
    EXPECT_FALSE(platform::IsFile(PuzzlePath + "TINY.INF"));
    EXPECT_EQ(BoardRows, 15);
    EXPECT_EQ(PuzzleMode, "NONE");
}

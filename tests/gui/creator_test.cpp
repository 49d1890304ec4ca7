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
#include "mainwindow/game_bd.h"
#include "modal.h"
#include "platform/files.h"
#include "puzzles/creator.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

using namespace quarvelt;

namespace {

class LibraryWindow : public ::testing::Test {
  protected:
    testsupport::TempFolder dir;
    testsupport::ScriptedPlatform platform;
    std::unique_ptr<GameBd> window;

    void SetUp() override {
        ResetGlobals();
        ImageIndex::Forget();
        AppPath = QUARVELT_GAME_DIR;
        ImagePath = dir.Path() + "DATA/";
        PuzzlePath = dir.Path() + "PUZZLE/";
        CurrentDate = "12/07/2026";
        PuzzleLoadPause = 0;
        ASSERT_FALSE(platform::CreateFolder(ImagePath));
        ASSERT_FALSE(platform::CreateFolder(PuzzlePath));
        window = std::make_unique<GameBd>();
        window->Logic().FormLoad();
        window->Logic().InitMenus();
        window->resize(1000, 760);
        window->show();
    }
    void TearDown() override {
        window.reset();
        ImageIndex::Forget();
        ResetGlobals();
    }

    QAction* Item(const QString& caption) {
        for (QAction* top : window->menuBar()->actions())
            if (top->menu())
                for (QAction* action : top->menu()->actions())
                    if (action->text() == caption)
                        return action;
        return nullptr;
    }
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
    static void Save(QWidget* widget, const char* name) {
        QDir().mkpath(QUARVELT_SCREENSHOT_DIR);
        EXPECT_TRUE(widget->grab().save(QString::fromLatin1(QUARVELT_SCREENSHOT_DIR) + name));
    }
};

}  // namespace

TEST_F(LibraryWindow, ANewPuzzleIsSavedUnderAKeyLoadedForPlayAndDesignAndDeleted) {
    InLibrary("New", [](Creator* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "N E W   P U Z Z L E");
        QTest::keyClicks(dialog->PzlName(), "Tiny Prism");
        QTest::keyClick(dialog->PzlName(), Qt::Key_Return);
        EXPECT_TRUE(dialog->PzlSize()->hasFocus());
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
        Save(dialog, "library-save.png");
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
        Save(dialog, "library-load.png");
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

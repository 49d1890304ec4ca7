// A test that starts from the main window on the shipped picture set, shown
// offscreen, with the boxes scripted and the image and puzzle folders its own.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QMenuBar>
#include <memory>

#include "common/globals.h"
#include "common/image_index.h"
#include "common/tables.h"
#include "mainwindow/game_bd.h"
#include "platform/files.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace guitest {

class GameWindowTest : public ::testing::Test {
  protected:
    testsupport::TempFolder dir;
    testsupport::ScriptedPlatform platform;
    std::unique_ptr<quarvelt::GameBd> window;

    void SetUp() override {
        quarvelt::ResetGlobals();
        quarvelt::ImageIndex::Forget();
        quarvelt::AppPath = QUARVELT_GAME_DIR;  // read only
        quarvelt::ImagePath = dir.Path() + "DATA/";
        quarvelt::PuzzlePath = dir.Path() + "PUZZLE/";
        quarvelt::CurrentDate = "12/07/2026";
        quarvelt::PuzzleLoadPause = 0;
        ASSERT_FALSE(platform::CreateFolder(quarvelt::ImagePath));
        ASSERT_FALSE(platform::CreateFolder(quarvelt::PuzzlePath));
        window = std::make_unique<quarvelt::GameBd>();
        window->Logic().FormLoad();
        window->Logic().InitMenus();
        window->resize(1100, 800);
        window->show();
    }
    void TearDown() override {
        window.reset();
        quarvelt::ImageIndex::Forget();
        quarvelt::ResetGlobals();
    }

    // A menu item by its caption, in the menu bar or one of its menus.
    QAction* Item(const QString& caption) {
        for (QAction* top : window->menuBar()->actions()) {
            if (top->text() == caption)
                return top;
            if (top->menu())
                for (QAction* action : top->menu()->actions())
                    if (action->text() == caption)
                        return action;
        }
        return nullptr;
    }
    // A picture for people to look at.
    static void SaveShot(const QPixmap& picture, const char* name) {
        QDir().mkpath(QUARVELT_SCREENSHOT_DIR);
        EXPECT_TRUE(picture.save(QString::fromLatin1(QUARVELT_SCREENSHOT_DIR) + name));
    }
};

}  // namespace guitest

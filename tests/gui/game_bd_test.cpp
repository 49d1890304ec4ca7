#include "game_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

#include "board/board_model.h"
#include "common/globals.h"
#include "common/image_index.h"
#include "common/tables.h"
#include "engine/board_trace.h"
#include "platform/files.h"
#include "startup/about_app.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

using namespace quarvelt;

namespace {

using GameBdWindow = guitest::GameWindowTest;

}  // namespace

TEST_F(GameBdWindow, MenusFollowTheirModel) {
    ASSERT_NE(Item("&Run"), nullptr);
    EXPECT_FALSE(Item("&Run")->isVisible());
    EXPECT_TRUE(Item("&Puzzle")->isVisible());
    EXPECT_TRUE(Item("About QUARVELT")->isEnabled());
    EXPECT_FALSE(Item("Save")->isVisible());
    window->Logic().Menus().Show(MenuItem::Run, true);
    EXPECT_TRUE(Item("&Run")->isVisible() && Item("&Run")->isEnabled());
    EXPECT_EQ(window->windowTitle(), "Q U A R V E L T");
}

TEST_F(GameBdWindow, RunFromTheMenuPlaysOnTheGridAndShowsTheVerdict) {
    BoardRows = 10;
    BoardCols = 10;
    ClearPuzzleBoard(window->Grid(), window->Tally(), False);
    BoardFile board;
    std::string error;
    std::string text = "size 10 10\n";
    for (int r = 0; r < 10; ++r) {
        if (r == 2)
            text += "row BLANK BLANK BLANK BLANK BLANK BLANK BLANK DETWH BLANK BLANK\n";
        else if (r == 6)
            text += "row BLANK LAMP_ LENCC DIAM_ BLANK BLANK BLANK REFLU BLANK BLANK\n";
        else
            text += "row BLANK BLANK BLANK BLANK BLANK BLANK BLANK BLANK BLANK BLANK\n";
    }
    text += "trigger 63 250\ncondition 10P1____Tn________________Ta0250~\n";
    ASSERT_TRUE(ParseBoardFile(text, board, error)) << error;
    LoadBoardFile(board);
    ResetPuzzle(window->Grid(), window->Tally());
    window->Logic().Menus().Show(MenuItem::Run, true);

    platform.ExpectBox("SUCCESSFUL  PUZZLE  COMPLETION");
    Item("&Run")->trigger();
    EXPECT_EQ(window->Tally().Caption(), "250");
    EXPECT_TRUE(Item("Re&Set")->isVisible());
    EXPECT_FALSE(Item("&Puzzle")->isEnabled());

    // A picture of the finished run, for people to look at.
    SaveShot(window->grab(), "board-after-run.png");
}

TEST_F(GameBdWindow, TheCloseBoxAsksFirst) {
    platform.ExpectBox("EXIT  QUARVELT", platform::AnswerCancel);
    window->close();
    EXPECT_TRUE(window->isVisible());
}

TEST(AboutBox, ShowsTheVersionAndFallsBackWhenNoSystemInformationStarts) {
    testsupport::ScriptedPlatform platform;
    AboutApp about;
    EXPECT_EQ(about.windowTitle(), "About QUARVELT");
    QStringList texts;
    for (QLabel* label : about.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains("Version: 2.00.01.2019"));
    EXPECT_TRUE(texts.contains("A Discription of the App."));

    QPushButton* sysInfo = nullptr;
    for (QPushButton* button : about.findChildren<QPushButton*>())
        if (button->text() == "&System Info...")
            sysInfo = button;
    ASSERT_NE(sysInfo, nullptr);
    platform.ExpectBox("QUARVELT");
    sysInfo->click();
    EXPECT_EQ(platform.systemInfoStarted, 1);
    EXPECT_EQ(platform.Boxes().back().text, "System Information Is Unavailable At This Time");
    EXPECT_EQ(platform.Boxes().back().flags, platform::MsgOkOnly);

    platform.systemInfoStarts = true;
    sysInfo->click();
    EXPECT_EQ(platform.Boxes().size(), 1u);

    QDir().mkpath(QUARVELT_SCREENSHOT_DIR);
    about.show();
    about.grab().save(QStringLiteral(QUARVELT_SCREENSHOT_DIR "about.png"));
}

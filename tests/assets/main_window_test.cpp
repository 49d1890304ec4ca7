// The main window's commands on the shipped picture set, driven without a
// screen: the grid and labels are recording doubles, the boxes scripted.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/globals.h"
#include "common/image_index.h"
#include "common/library.h"
#include "common/settings.h"
#include "common/tables.h"
#include "engine/board_trace.h"
#include "mainwindow/game_bd_logic.h"
#include "platform/files.h"
#include "support/main_window_fixture.h"
#include "support/recording_grid.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

using namespace quarvelt;

namespace {

// Ten by ten: the lamp on row 6 sends its photon right; `row6` and `column7`
// (rows 0 to 5 of column 7) place the objects on its way.
std::string Board(const std::vector<std::string>& row6,
                  const std::vector<std::pair<int, std::string>>& column7,
                  const std::string& extra) {
    std::string text = "size 10 10\n";
    for (int r = 0; r < 10; ++r) {
        std::vector<std::string> row(10, "BLANK");
        if (r == 6)
            std::copy(row6.begin(), row6.end(), row.begin());
        for (const auto& [at, code] : column7)
            if (at == r)
                row[7] = code;
        text += "row";
        for (const auto& code : row)
            text += " " + code;
        text += "\n";
    }
    return text + extra;
}

const std::vector<std::string> LampLensMirror = {"BLANK", "LAMP_", "LENCC", "BLANK",
                                                 "BLANK", "BLANK", "BLANK", "REFLU"};

bool Contains(const std::vector<std::string>& log, const std::string& part) {
    return std::any_of(log.begin(), log.end(), [&](const std::string& line) {
        return line.find(part) != std::string::npos;
    });
}

class MainWindow : public testsupport::MainWindowTest {
  protected:
    void Load(const std::string& text) {
        BoardFile board;
        std::string error;
        ASSERT_TRUE(ParseBoardFile(text, board, error)) << error;
        LoadBoardFile(board);
        ResetPhotonTables();
        ResetMixerInputTable();
        ReadyToRun = True;
        logic.Menus().Show(MenuItem::Run, true);
        logic.Menus().Show(MenuItem::Clear, true);
    }
    const MenuItemState& Item(MenuItem item) { return logic.Menus().State(item); }
};

}  // namespace

TEST_F(MainWindow, LoadClearsTheBoardAndSetsTheFirstMenus) {
    EXPECT_EQ(grid.Rows(), 15);
    EXPECT_EQ(grid.Cols(), 15);
    EXPECT_NE(grid.PictureAt(14, 14).find("BLANK_______________00.BMP"), std::string::npos);
    EXPECT_EQ(tally.Caption(), "0000");
    EXPECT_EQ(PuzzleMode, "NONE");
    EXPECT_TRUE(Item(MenuItem::Puzzle).enabled && Item(MenuItem::New).enabled &&
                Item(MenuItem::Load).enabled);
    for (MenuItem hidden :
         {MenuItem::Save, MenuItem::Edit, MenuItem::Delete, MenuItem::Conditions, MenuItem::Tools,
          MenuItem::Run, MenuItem::ReSet, MenuItem::Clear, MenuItem::HelpWriter, MenuItem::ExPort})
        EXPECT_FALSE(Item(hidden).visible || Item(hidden).enabled) << Item(hidden).caption;
    EXPECT_TRUE(Item(MenuItem::ImPort).visible && Item(MenuItem::ImPort).enabled);
    EXPECT_TRUE(Item(MenuItem::About).enabled && Item(MenuItem::Exit).enabled &&
                Item(MenuItem::HelpPages).enabled);

    // With a puzzle in the puzzle folder, ExPort is offered.
    dir.Write("PUZZLE/ONE.INF", "x");
    logic.FormLoad();
    EXPECT_TRUE(Item(MenuItem::ExPort).visible && Item(MenuItem::ExPort).enabled);
}

TEST_F(MainWindow, OnlyTheFirstFocusUnloadsTheSplash) {
    logic.FormGotFocus();
    logic.FormGotFocus();
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "unload splash"), 1);
}

TEST_F(MainWindow, ClosingAsksAndEndsInOrder) {
    testsupport::TempFolder program;
    AppPath = program.Path();
    CurrentDate = "12/07/2026";
    dir.Write("DATA/BLANK_______________00.BMP", "x");
    dir.Write("DATA/ICON.ICO", "x");
    dir.Write("DATA/KEEP.TXT", "x");

    platform.ExpectBox("EXIT  QUARVELT", platform::AnswerCancel);
    EXPECT_TRUE(logic.QueryUnload(CloseReason::User));
    EXPECT_EQ(platform.Boxes().back().text, "QUIT QUARVELT?");
    EXPECT_EQ(platform.Boxes().back().flags, platform::MsgOkCancel + platform::MsgQuestion);
    EXPECT_EQ(view.endStatus, -1);
    EXPECT_TRUE(FileExists(ImagePath + "ICON.ICO"));

    platform.ExpectBox("EXIT  QUARVELT", platform::AnswerOk);
    EXPECT_FALSE(logic.QueryUnload(CloseReason::Program));
    EXPECT_EQ(view.endStatus, 0);
    std::string date;
    ReadWriteIni(ProgramIni(), "STARTUPINFO", "CurrentDate", date, False);
    EXPECT_EQ(date, "12/07/2026");
    EXPECT_FALSE(FileExists(ImagePath + "BLANK_______________00.BMP"));
    EXPECT_FALSE(FileExists(ImagePath + "ICON.ICO"));
    EXPECT_TRUE(FileExists(ImagePath + "KEEP.TXT"));
}

TEST_F(MainWindow, TheDesktopEndsTheGameWithoutAsking) {
    testsupport::TempFolder program;
    AppPath = program.Path();
    EXPECT_TRUE(logic.QueryUnload(CloseReason::TaskManager));  // ends in order but keeps the window
    EXPECT_TRUE(FileExists(ProgramIni()));
    EXPECT_FALSE(logic.QueryUnload(CloseReason::Session));
    EXPECT_EQ(view.endStatus, 0);
    EXPECT_TRUE(platform.Boxes().empty());
}

TEST_F(MainWindow, RunCompilesPlaysAndJudgesThenReplaysResetsAndClears) {
    Load(Board(LampLensMirror, {{2, "DETWH"}}, "condition 11P1__DwTn________________Ta0000~\n"));
    CellOverlayOn = True;
    grid.SetRow(0);
    grid.SetCol(0);
    grid.SetCellText("0");
    platform.ExpectBox("SUCCESSFUL  PUZZLE  COMPLETION");
    logic.MainMenuClick(2);
    EXPECT_EQ(grid.TextAt(0, 0), "");
    EXPECT_FALSE(IsTrue(CellOverlayOn));
    EXPECT_EQ(grid.Display(platform::GridDisplay::FocusRect), 0);
    EXPECT_TRUE(Contains(grid.log, "picture 2 7 " + ImagePath + "DETWHLWB____________03.BMP"));
    EXPECT_FALSE(IsTrue(ReadyToRun));
    EXPECT_EQ(PuzzleMode, "RUN");
    EXPECT_GT(logic.FrameCount(), 0);
    EXPECT_FALSE(Item(MenuItem::Puzzle).enabled);
    EXPECT_TRUE(Item(MenuItem::ReSet).visible && Item(MenuItem::ReSet).enabled);
    EXPECT_TRUE(Item(MenuItem::Run).enabled);
    EXPECT_EQ(view.calls.front(), "hide toolbox");

    // A second Run replays without compiling or judging: no box.
    grid.log.clear();
    logic.MainMenuClick(2);
    EXPECT_TRUE(Contains(grid.log, "DETWHLWB____________03.BMP"));
    EXPECT_EQ(platform.Boxes().size(), 1u);

    logic.MainMenuClick(3);
    EXPECT_TRUE(IsTrue(ReadyToRun));
    EXPECT_FALSE(Item(MenuItem::ReSet).enabled);
    EXPECT_TRUE(Item(MenuItem::Run).enabled && Item(MenuItem::Puzzle).enabled);
    EXPECT_EQ(grid.Display(platform::GridDisplay::FocusRect), 1);
    EXPECT_EQ(tally.Caption(), "0");

    logic.MainMenuClick(4);
    EXPECT_EQ(BoardRows, 15);
    EXPECT_EQ(PuzzleMode, "NONE");
    EXPECT_FALSE(Item(MenuItem::Run).visible || Item(MenuItem::Clear).visible ||
                 Item(MenuItem::Tools).visible);
    EXPECT_TRUE(Item(MenuItem::New).enabled && Item(MenuItem::ImPort).visible);
}

TEST_F(MainWindow, BonusPointsReachTheTallyAndTheVerdict) {
    Load(Board({"BLANK", "LAMP_", "LENCC", "DIAM_", "BLANK", "BLANK", "BLANK", "REFLU"},
               {{2, "DETWH"}}, "trigger 63 1234\ncondition 10P1____Tn________________Ta1234~\n"));
    platform.ExpectBox("SUCCESSFUL  PUZZLE  COMPLETION");
    logic.MainMenuClick(2);
    EXPECT_EQ(tally.Caption(), "1234");
}

TEST_F(MainWindow, AKeyOpensItsShutterAndAClosedShutterEndsTheRunWithoutAVerdict) {
    Load(Board({"BLANK", "LAMP_", "LENCC", "KEYBN", "BLANK", "BLANK", "BLANK", "REFLU"},
               {{4, "SHHBN"}, {2, "DETWH"}},
               "link 63 47\ncondition 11P1__DwTn________________Ta0000~\n"));
    platform.ExpectBox("SUCCESSFUL  PUZZLE  COMPLETION");
    logic.MainMenuClick(2);
    EXPECT_TRUE(Contains(grid.log, "picture 4 7"));

    // The shutter now stands before its key: the photon finds it closed.
    logic.MainMenuClick(4);
    Load(Board(LampLensMirror, {{5, "SHHBN"}, {3, "KEYBN"}, {2, "DETWH"}},
               "link 37 57\ncondition 11P1__DwTn________________Ta0000~\n"));
    platform.ExpectBox("BAD GAME SOLUTION");
    logic.MainMenuClick(2);
    EXPECT_EQ(platform.Boxes().back().title, "BAD GAME SOLUTION");
}

TEST_F(MainWindow, CommandsWaitWhileARunPlays) {
    Load(Board(LampLensMirror, {{2, "DETWH"}}, "condition 11P1__DwTn________________Ta0000~\n"));
    bool tried = false;
    platform.onYield = [&] {
        if (logic.Busy() && !tried) {
            tried = true;
            logic.MainMenuClick(4);  // Clear in the middle of the playback
            logic.MainMenuClick(2);
        }
    };
    platform.ExpectBox("SUCCESSFUL  PUZZLE  COMPLETION");
    logic.MainMenuClick(2);
    EXPECT_TRUE(tried) << "the playback yields while it waits";
    EXPECT_EQ(BoardRows, 10) << "the clear was ignored";
    EXPECT_FALSE(logic.Busy());

    // Closing during a run asks; on yes the playback stops and the program ends in order.
    logic.MainMenuClick(3);
    testsupport::TempFolder program;
    tried = false;
    platform.onYield = [&] {
        if (logic.Busy() && !tried) {
            tried = true;
            AppPath = program.Path();
            logic.QueryUnload(CloseReason::User);
        }
    };
    platform.ExpectBox("EXIT  QUARVELT", platform::AnswerOk);
    logic.MainMenuClick(2);
    EXPECT_EQ(view.endStatus, 0);
    EXPECT_TRUE(FileExists(ProgramIni()));
}

TEST_F(MainWindow, ConditionsShowsTheEditorThenTheDescriptionItLeaves) {
    view.conditions.push_back([](SpCondEditLogic& editor) {
        SpecialCondText = "Light the white detector.";
        editor.ExitClick();
    });
    logic.PuzzleMenuClick(5);
    EXPECT_EQ(view.calls.back(), "conditions");
    EXPECT_EQ(condition.Caption(), "Light the white detector.");
}

TEST_F(MainWindow, TheHelpAndToolsItemsOpenTheirWindows) {
    HelpStartPage = 7;
    view.reader.push_back([](HelpReaderLogic& reader) {
        // The manual opens on its contents page.
        EXPECT_EQ(reader.CurPage(), 1);
        reader.ExitHlpClick();
    });
    logic.HelpMenuClick(0);
    EXPECT_EQ(view.calls.back(), "help QUARVELT.HLP");
    EXPECT_EQ(HelpPageSpan, 0);

    // The set-up and the lock window work on the board as it stands.
    Load(Board(LampLensMirror, {{2, "DETWH"}}, ""));
    ReadyToRun = False;
    view.setup.push_back([](TBSetupLogic& setup) { setup.ExitClick(); });
    logic.ToolMenuClick(2);
    EXPECT_EQ(view.calls.back(), "tool box setup");
    EXPECT_TRUE(IsTrue(ReadyToRun));
    logic.ToolMenuClick(3);
    EXPECT_EQ(view.calls.back(), "show lock");
    EXPECT_EQ(logic.ObjectLock().Rows().size(),
              4u);  // the lamp, the lens, the mirror and the detector
}

#include "mainwindow/game_bd_logic.h"

#include <vector>

#include "animation/animation_builder.h"
#include "board/board_model.h"
#include "board/playback.h"
#include "board/solution_check.h"
#include "common/busy_scope.h"
#include "common/globals.h"
#include "common/library.h"
#include "common/settings.h"
#include "common/tables.h"
#include "common/toolbox_catalogue.h"
#include "engine/compiler.h"
#include "platform/files.h"
#include "platform/services.h"

namespace quarvelt {
namespace {

using platform::GridDisplay;

void DeleteMatching(const char* pattern) {
    std::vector<std::string> names;
    const int16_t count = GetFileList(ImagePath, pattern, names);
    for (int16_t i = 1; i <= count; ++i)
        platform::DeleteFile(ImagePath + names[static_cast<size_t>(i)]);
}

}  // namespace

GameBdLogic::GameBdLogic(GameBdControls controls, GameBdView& view)
    : controls_(controls), view_(view), toolBox_(controls.grid) {
    controls_.grid.SetEvents(this);
}

void GameBdLogic::FormLoad() {
    platform::HourglassScope hourglass;
    firstFocus_ = true;
    controls_.puzzleName.SetCaption("");
    controls_.condition.SetCaption("");
    ClearPuzzleBoard(controls_.grid, controls_.tally, True);
    LoadToolboxObjects();
    // The two dialogs and the tool box stay loaded, hidden, for the whole run.
    setTrigg_.FormLoad();
    setTrigg_.SetCaption("");
    shutterDialog_.FormLoad();
    toolBox_.FormLoad();
    shutterDialog_.SetCaption("");
    std::vector<std::string> names(257);
    const bool puzzlesThere = GetFileList(PuzzlePath, "*.INF", names) > 0;
    menus_.Show(MenuItem::ExPort, puzzlesThere);
    menus_.Show(MenuItem::ImPort, true);
    PuzzleMode = "NONE";
}

void GameBdLogic::FormGotFocus() {
    if (!firstFocus_)
        return;
    firstFocus_ = false;
    view_.UnloadSplash();
}

void GameBdLogic::InitMenus() {
    menus_.Show(MenuItem::Puzzle, true);
    menus_.Show(MenuItem::Tools, false);
    menus_.Show(MenuItem::Run, false);
    menus_.Show(MenuItem::ReSet, false);
    menus_.Show(MenuItem::New, true);
    menus_.Show(MenuItem::Load, true);
    for (MenuItem item : {MenuItem::Save, MenuItem::Edit, MenuItem::Delete, MenuItem::Conditions,
                          MenuItem::HelpWriter})
        menus_.Show(item, false);
}

bool GameBdLogic::QueryUnload(CloseReason reason) {
    switch (reason) {
        case CloseReason::User:
        case CloseReason::Program: {
            platform::Beep();
            const int answer = platform::MsgBox(
                "QUIT QUARVELT?", platform::MsgOkCancel + platform::MsgQuestion, "EXIT  QUARVELT");
            if (answer != platform::AnswerOk)
                return true;
            if (busy_) {
                // The playback stops at its next row; the run command then ends the program.
                stopRequest_ = true;
                endRequested_ = true;
                return true;
            }
            EndBlock();
            view_.EndProgram(0);
            return false;
        }
        case CloseReason::Session:
            stopRequest_ = true;
            EndBlock();
            view_.EndProgram(0);
            return false;
        case CloseReason::TaskManager:
            stopRequest_ = true;
            EndBlock();
            return true;
    }
    return true;
}

void GameBdLogic::EndBlock() {
    if (ended_)
        return;
    ended_ = true;
    WriteCurrentDate();
    DeleteMatching("*.BMP");
    DeleteMatching("*.ICO");
}

void GameBdLogic::MainMenuClick(int16_t index) {
    if (busy_)
        return;
    switch (index) {
        case 2:
            Run();
            break;
        case 3:
            ReSet();
            break;
        case 4:
            Clear();
            break;
        case 6:
            QueryUnload(CloseReason::Program);
            break;
        default:
            break;
    }
}

void GameBdLogic::HelpMenuClick(int16_t index) {
    if (busy_)
        return;
    switch (index) {
        case 0: {
            HelpStartPage = 1;
            HelpPageSpan = 0;
            HelpReaderLogic reader;
            reader.caption = "QUARVELT.HLP";
            view_.ShowHelpReader(reader);
            break;
        }
        case 1: {
            HelpStartPage = 1;
            HelpPageSpan = 0;
            HelpWriterLogic writer;
            view_.ShowHelpWriter(writer);
            break;
        }
        case 3:
            view_.ShowAbout();
            break;
        default:
            break;
    }
}

void GameBdLogic::ShowCreator(const char* mode, const char* caption) {
    // Every opening starts from a fresh dialog.
    CreatorLogic creator(*this);
    creator.caption = caption;
    PuzzleMode = mode;
    CreatorCancelled = 0;
    view_.ShowCreator(creator);
}

// The items a puzzle being designed offers (a new one, or one opened for editing).
void GameBdLogic::DesignMenus() {
    menus_.Enable(MenuItem::New, false);
    menus_.Enable(MenuItem::Load, false);
    menus_.Show(MenuItem::Save, true);
    menus_.Show(MenuItem::Conditions, true);
    menus_.Show(MenuItem::ImPort, false);
    menus_.Show(MenuItem::Tools, true);
    menus_.Enable(MenuItem::GameToolBox, false);
    menus_.Enable(MenuItem::DesignToolBox, true);
    menus_.Show(MenuItem::ToolBoxSetup, true);
    menus_.Show(MenuItem::LockUnlock, true);
    menus_.Show(MenuItem::Clear, true);
}

void GameBdLogic::PutAwayPuzzleWindows() {
    if (toolBox_.Visible())
        toolBox_.ExitClick();
    if (objectLock_.Visible())
        objectLock_.ExitClick();
}

void GameBdLogic::ToolBoxFollowsPuzzle() {
    if (toolBox_.Visible())
        toolBox_.LayOutAgain();
}

void GameBdLogic::PuzzleMenuClick(int16_t index) {
    if (busy_)
        return;
    switch (index) {
        case 0:  // New
            controls_.puzzleName.SetCaption("NEW PUZZLE");
            controls_.condition.SetCaption("");
            ShowCreator("NEW", "N E W   P U Z Z L E");
            if (CreatorCancelled == 1) {
                controls_.puzzleName.SetCaption("");
                controls_.condition.SetCaption("");
                SpecialCondText.clear();
                SpecialCond = EmptyCondCode;
                PuzzleMode.clear();
                PutAwayPuzzleWindows();
                return;
            }
            ClearPuzzleBoard(controls_.grid, controls_.tally, False);
            LoadToolboxObjects();
            ToolBoxFollowsPuzzle();
            DesignMenus();
            menus_.Show(MenuItem::Edit, true);
            menus_.Enable(MenuItem::Delete, false);
            menus_.Show(MenuItem::Run, true);
            menus_.Show(MenuItem::ReSet, false);
            platform::SetPointer(platform::Pointer::Default);
            break;
        case 1:  // Load
            controls_.puzzleName.SetCaption("");
            controls_.condition.SetCaption("");
            ClearPuzzleBoard(controls_.grid, controls_.tally, False);
            ShowCreator("LOAD", "L O A D   P U Z Z L E");
            if (CreatorCancelled != 0) {
                PutAwayPuzzleWindows();
                return;
            }
            menus_.Enable(MenuItem::New, false);
            menus_.Enable(MenuItem::Load, false);
            menus_.Show(MenuItem::Save, false);
            menus_.Enable(MenuItem::ImPort, false);
            menus_.Show(MenuItem::Tools, true);
            menus_.Show(MenuItem::Run, true);
            menus_.Show(MenuItem::Clear, true);
            break;
        case 2:  // Save
            ShowCreator("SAVE", "S A V E   P U Z Z L E");
            break;
        case 3:  // Edit
            PuzzleMode = "EDIT";
            LoadToolboxObjects();
            // The objects on the board stay counted out of the fresh tool box.
            RecountUsedFromBoard();
            ToolBoxFollowsPuzzle();
            DesignMenus();
            menus_.Show(MenuItem::ExPort, true);
            ReadyToRun = True;
            break;
        case 4:  // Delete
            ShowCreator("DELE", "D E L E T E   P U Z Z L E");
            if (CreatorCancelled == 0) {
                platform::HourglassScope hourglass;
                ClearPuzzleBoard(controls_.grid, controls_.tally, True);
                LoadToolboxObjects();
                menus_.Enable(MenuItem::Puzzle, true);
                menus_.Enable(MenuItem::New, true);
                menus_.Enable(MenuItem::Load, true);
                menus_.Show(MenuItem::Save, false);
                menus_.Enable(MenuItem::Edit, false);
                menus_.Enable(MenuItem::Delete, false);
                menus_.Enable(MenuItem::Conditions, false);
                menus_.Show(MenuItem::ImPort, true);
                menus_.Show(MenuItem::Tools, false);
                menus_.Show(MenuItem::Run, false);
                menus_.Show(MenuItem::ReSet, false);
                menus_.Show(MenuItem::Clear, true);
                controls_.condition.SetCaption("");
                PuzzleMode = "NONE";
                PutAwayPuzzleWindows();
            }
            platform::SetPointer(platform::Pointer::Default);
            break;
        case 5: {  // Conditions
            SpCondEditLogic editor;
            view_.ShowSpCondEdit(editor);
            // Closed with or without a new condition, the label shows the puzzle's.
            controls_.condition.SetCaption(SpecialCondText);
            break;
        }
        case 6:    // ExPort
        case 7: {  // ImPort
            IXPorterLogic transfer;
            transfer.caption =
                index == 6 ? "E X P O R T   P U Z Z L E" : "E M P O R T   P U Z Z L E";
            transfer.pzlMode = index == 6 ? ExportMode : ImportMode;
            view_.ShowIXPorter(transfer);
            // An import into an empty puzzle folder gives something to export.
            std::vector<std::string> names;
            menus_.Show(MenuItem::ExPort, GetFileList(PuzzlePath, "*.INF", names) > 0);
            break;
        }
        default:
            break;
    }
}

void GameBdLogic::PuzzleOpened(bool design) {
    menus_.Show(MenuItem::Run, true);
    menus_.Show(MenuItem::Edit, design);
    menus_.Show(MenuItem::Delete, design);
    menus_.Enable(MenuItem::Conditions, design);
    menus_.Enable(MenuItem::GameToolBox, !design);
    for (MenuItem item : {MenuItem::DesignToolBox, MenuItem::ToolBoxSetup, MenuItem::LockUnlock})
        menus_.Enable(item, design);
    toolBox_.mode = design ? "DM" : "GM";
    ToolBoxFollowsPuzzle();
}

void GameBdLogic::ShowExPort(bool on) {
    menus_.Show(MenuItem::ExPort, on);
}

void GameBdLogic::ToolMenuClick(int16_t index) {
    if (busy_)
        return;
    switch (index) {
        case 0:
        case 1:
            ResetPathTables();
            toolBox_.mode = index == 0 ? "GM" : "DM";
            toolBox_.SetVisible(true);
            view_.ShowToolBox();
            break;
        case 2: {
            // A fresh set-up every time, from the catalogue as it stands.
            TBSetupLogic setup;
            view_.ShowTBSetup(setup);
            // The set-up renumbers the catalogue's buttons; an open tool box lays itself out again.
            if (toolBox_.Visible())
                view_.ShowToolBox();
            break;
        }
        case 3:
            view_.ShowObjectLock();
            break;
        case 4:
            ToggleCellOverlay(controls_.grid);
            break;
        default:
            break;
    }
    ReadyToRun = True;
}

void GameBdLogic::RunStartedMenus() {
    menus_.Enable(MenuItem::Puzzle, false);
    menus_.Enable(MenuItem::Tools, false);
    menus_.Enable(MenuItem::Run, true);
    menus_.Show(MenuItem::ReSet, true);
    menus_.Enable(MenuItem::Clear, true);
}

void GameBdLogic::EditingDisplay() {
    controls_.grid.SetDisplay(GridDisplay::FocusRect, 1);
    controls_.grid.SetDisplay(GridDisplay::SelectionMode, 0);
    controls_.grid.SetDisplay(GridDisplay::HighLight, 0);
}

void GameBdLogic::Run() {
    BusyScope busy(busy_);
    stopRequest_ = false;
    controls_.grid.SetDisplay(GridDisplay::FocusRect, 0);
    controls_.grid.SetDisplay(GridDisplay::SelectionMode, 0);
    controls_.grid.SetDisplay(GridDisplay::HighLight, 0);
    toolBox_.SetVisible(false);
    view_.HideToolBox();
    SelectedTool = -1;
    if (CellOverlayOn != False)
        ToggleCellOverlay(controls_.grid);

    if (IsTrue(ReadyToRun)) {
        platform::HourglassScope hourglass;
        PuzzleMode = "RUN";
        RunStartedMenus();
        // The compile expects the photon tables at their reset values.
        ResetPhotonTables();
        ResetMixerInputTable();
        Flag ok = False;
        CompilePuzzle(ok);
        if (!IsTrue(ok)) {
            EditingDisplay();
            menus_.Enable(MenuItem::Puzzle, true);
            menus_.Enable(MenuItem::Tools, true);
            menus_.Enable(MenuItem::Run, true);
            menus_.Show(MenuItem::ReSet, true);
            menus_.Enable(MenuItem::Clear, true);
            return;
        }
        frameCount_ = BuildPuzzleAnimation();
        if (frameCount_ == -1) {
            EditingDisplay();
            menus_.Enable(MenuItem::Puzzle, true);
            menus_.Enable(MenuItem::Tools, true);
            menus_.Enable(MenuItem::Run, false);
            menus_.Show(MenuItem::ReSet, true);
            menus_.Enable(MenuItem::Clear, true);
            return;
        }
        ReadyToRun = False;
        const bool played =
            ApplySpecialObjHits(controls_.grid, controls_.tally, frameCount_, stopRequest_);
        // A playback that stopped early has given its own verdict.
        if (played && !endRequested_)
            CheckForSpecialCond(controls_.tally.Caption());
    } else {
        platform::HourglassScope hourglass;
        ResetPuzzle(controls_.grid, controls_.tally);
        view_.Repaint();
        ApplySpecialObjHits(controls_.grid, controls_.tally, frameCount_, stopRequest_);
        RunStartedMenus();
    }
    if (endRequested_) {
        EndBlock();
        view_.EndProgram(0);
    }
}

void GameBdLogic::ReSet() {
    platform::HourglassScope hourglass;
    ResetPuzzle(controls_.grid, controls_.tally);
    EditingDisplay();
    view_.Repaint();
    menus_.Enable(MenuItem::Puzzle, true);
    menus_.Enable(MenuItem::Tools, true);
    menus_.Enable(MenuItem::Run, true);
    menus_.Enable(MenuItem::ReSet, false);
    menus_.Enable(MenuItem::Clear, true);
    ReadyToRun = True;
}

void GameBdLogic::Clear() {
    platform::HourglassScope hourglass;
    ClearPuzzleBoard(controls_.grid, controls_.tally, True);
    LoadToolboxObjects();
    menus_.Enable(MenuItem::Puzzle, true);
    for (MenuItem item :
         {MenuItem::Tools, MenuItem::Run, MenuItem::ReSet, MenuItem::Clear, MenuItem::Save,
          MenuItem::Edit, MenuItem::Delete, MenuItem::Conditions, MenuItem::ToolBoxSetup})
        menus_.Show(item, false);
    menus_.Enable(MenuItem::New, true);
    menus_.Enable(MenuItem::Load, true);
    menus_.Show(MenuItem::ImPort, true);
    menus_.Enable(MenuItem::GameToolBox, false);
    menus_.Enable(MenuItem::DesignToolBox, false);
    menus_.Enable(MenuItem::LockUnlock, false);
    controls_.puzzleName.SetCaption("");
    controls_.condition.SetCaption("");
    PuzzleMode = "NONE";
    PutAwayPuzzleWindows();
}

}  // namespace quarvelt

// What the main window does, apart from drawing itself: its load, first focus
// and close, its menu states, the Run, ReSet, Clear and Exit commands, the
// Tools menu, and editing the board with the tool box's objects. The
// window on screen forwards its events here; tests drive it with recording
// doubles of the grid and the labels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "help/help_reader_logic.h"
#include "help/help_writer_logic.h"
#include "mainwindow/menu_model.h"
#include "platform/board_grid.h"
#include "platform/label.h"
#include "puzzles/creator_logic.h"
#include "puzzles/ix_porter_logic.h"
#include "puzzles/sp_cond_edit_logic.h"
#include "toolbox/obj_infro_logic.h"
#include "toolbox/object_lock_logic.h"
#include "toolbox/set_trigg_logic.h"
#include "toolbox/shutter_dialog_logic.h"
#include "toolbox/tb_setup_logic.h"
#include "toolbox/tool_box_logic.h"

namespace quarvelt {

// What the logic asks of the window on screen.
class GameBdView {
  public:
    virtual ~GameBdView() = default;
    virtual void HideToolBox() = 0;
    // Shows the tool box modeless and activates it.
    virtual void ShowToolBox() = 0;
    // Show the dialog modally; they return when it has hidden itself.
    virtual void ShowSetTrigg() = 0;
    virtual void ShowShutterDialog() = 0;
    // Shows the object-information window modeless and activates it.
    virtual void ShowObjInfro() = 0;
    // Show these dialogs modally; they return when it has hidden itself.
    virtual void ShowCreator(CreatorLogic& creator) = 0;
    virtual void ShowIXPorter(IXPorterLogic& transfer) = 0;
    virtual void ShowSpCondEdit(SpCondEditLogic& editor) = 0;
    virtual void ShowTBSetup(TBSetupLogic& setup) = 0;
    virtual void ShowHelpReader(HelpReaderLogic& reader) = 0;
    virtual void ShowHelpWriter(HelpWriterLogic& writer) = 0;
    // Shows the object lock window modeless and activates it.
    virtual void ShowObjectLock() = 0;
    virtual void Repaint() = 0;
    virtual void UnloadSplash() = 0;
    virtual void ShowAbout() = 0;
    // Closes every window and ends the program with `status`.
    virtual void EndProgram(int status) = 0;
};

// How the window is being closed, numbered as the runtime numbers them.
enum class CloseReason : int16_t {
    User = 0,         // the close box or the window menu
    Program = 1,      // "E&xit"
    Session = 2,      // the desktop session ends
    TaskManager = 3,  // another program ends this one
};

struct GameBdControls {
    platform::BoardGrid& grid;    // MainGameBd
    platform::Label& tally;       // GamTally
    platform::Label& puzzleName;  // PzlName
    platform::Label& condition;   // SpCondDisc
};

class GameBdLogic : public platform::BoardGridEvents, private CreatorHost {
  public:
    GameBdLogic(GameBdControls controls, GameBdView& view);

    MenuModel& Menus() { return menus_; }
    // The logic of the windows the main window loads and shows.
    ToolBoxLogic& ToolBox() { return toolBox_; }
    SetTriggLogic& SetTrigg() { return setTrigg_; }
    ShutterDialogLogic& ShutterDialog() { return shutterDialog_; }
    ObjInfroLogic& ObjInfro() { return objInfro_; }
    ObjectLockLogic& ObjectLock() { return objectLock_; }
    int32_t FrameCount() const { return frameCount_; }
    // True while a compile, an animation build or a playback runs.
    bool Busy() const { return busy_; }

    void FormLoad();
    void FormGotFocus();
    // The start-up's first menu state.
    void InitMenus();
    // True when the window is to stay open.
    bool QueryUnload(CloseReason reason);
    // Writes the date and deletes the extracted pictures; runs once.
    void EndBlock();

    void MainMenuClick(int16_t index);
    void HelpMenuClick(int16_t index);
    void PuzzleMenuClick(int16_t index);
    void ToolMenuClick(int16_t index);

    // The board grid's presses: the left button places or removes the picked
    // tool, the right one tells what stands on the cell, a key re-edits a trigger.
    void GridMouseDown(int button, int shift, int row, int col) override;
    void GridKeyDown(int key, int shift) override;

  private:
    void Run();
    void ReSet();
    void Clear();
    void RunStartedMenus();
    // Opens the puzzle library dialog for `mode` with its caption; destroyed again after it hides.
    void ShowCreator(const char* mode, const char* caption);
    void DesignMenus();
    // Menus set for no puzzle put away the windows that work on one.
    void PutAwayPuzzleWindows();
    // A shown tool box follows a catalogue or mode the command changed.
    void ToolBoxFollowsPuzzle();

    // What the puzzle library dialog reaches of the window.
    platform::BoardGrid& Grid() override { return controls_.grid; }
    platform::Label& Tally() override { return controls_.tally; }
    platform::Label& PuzzleName() override { return controls_.puzzleName; }
    platform::Label& Condition() override { return controls_.condition; }
    void PuzzleOpened(bool design) override;
    void ShowExPort(bool on) override;
    void Repaint() override { view_.Repaint(); }
    void EditingDisplay();

    // Board editing, one press at a time.
    void PlaceObject(int16_t cell);
    void UndoPlacement(int16_t cell);
    void RemoveObject(int16_t cell, int row, int col);
    void RemoveShutterLinks(int16_t shutterCell, const std::string& name, int16_t group,
                            std::vector<int16_t>& cleared);
    void InspectObject();
    // The end of a refused left press.
    void RefusedEnd();
    // The end of a press that brings the tool box back for the next pick.
    void BackToToolBox();
    // Draws the picture into the grid's current cell, extracting it first when
    // it is missing; false after its message, which ends the press.
    bool DrawCellPicture(const std::string& name);
    void MoveGridToCell(int16_t cell);

    GameBdControls controls_;
    GameBdView& view_;
    MenuModel menus_;
    ToolBoxLogic toolBox_;
    SetTriggLogic setTrigg_;
    ShutterDialogLogic shutterDialog_;
    ObjInfroLogic objInfro_;
    ObjectLockLogic objectLock_;
    bool objInfroLoaded_ = false;
    int32_t frameCount_ = -1;
    bool firstFocus_ = false;
    bool busy_ = false;
    bool stopRequest_ = false;
    bool endRequested_ = false;
    bool ended_ = false;
};

// Books the object that `tool` puts on `cell` out of the tool box (the blank
// tool gives the cell's object back) and writes the cell's group, button and
// lamp flag. False, with nothing changed, for no tool, a used-up object or a
// locked cell; the last two after their message.
bool UpdateToolboxInventory(int16_t tool, int16_t cell);

}  // namespace quarvelt

// What the main window does, apart from drawing itself: its load, first focus
// and close, its menu states, and the Run, ReSet, Clear and Exit commands. The
// window on screen forwards its events here; tests drive it with recording
// doubles of the grid and the labels.
#pragma once

#include <cstdint>
#include <string>

#include "mainwindow/menu_model.h"
#include "platform/board_grid.h"
#include "platform/label.h"

namespace quarvelt {

// What the logic asks of the window on screen.
class GameBdView {
  public:
    virtual ~GameBdView() = default;
    virtual void HideToolBox() = 0;
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

class GameBdLogic : public platform::BoardGridEvents {
  public:
    GameBdLogic(GameBdControls controls, GameBdView& view);

    MenuModel& Menus() { return menus_; }
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

    // Grid events; editing the board comes with the tool box.
    void GridMouseDown(int button, int shift, int row, int col) override;
    void GridKeyDown(int key, int shift) override;

  private:
    void Run();
    void ReSet();
    void Clear();
    void RunStartedMenus();
    void EditingDisplay();

    GameBdControls controls_;
    GameBdView& view_;
    MenuModel menus_;
    int32_t frameCount_ = -1;
    bool firstFocus_ = false;
    bool busy_ = false;
    bool stopRequest_ = false;
    bool endRequested_ = false;
    bool ended_ = false;
};

}  // namespace quarvelt

// The main window on screen: the menu bar, the band with the tally, the puzzle
// name and the condition, and the board grid. Its events go to GameBdLogic.
#pragma once

#include <QMainWindow>
#include <functional>
#include <map>

#include "mainwindow/game_bd_logic.h"
#include "platform/qt/board_grid.h"
#include "platform/qt/label.h"

class QAction;

namespace quarvelt {

class ObjInfroDialog;
class ObjectLock;
class SetTrigg;
class ShutterDialog;
class ToolBox;

class GameBd : public QMainWindow, public GameBdView {
  public:
    GameBd();

    GameBdLogic& Logic() { return logic_; }
    platform::qt::QtBoardGrid& Grid() { return *grid_; }
    platform::qt::QtLabel& Tally() { return *tally_; }
    // Places the window in the desktop's work area.
    void LayOut();
    // Run when the window first gets the focus (the splash goes then).
    std::function<void()> unloadSplash;

    // The windows the main window loads.
    quarvelt::ToolBox& ToolBoxWindow() { return *toolBox_; }
    quarvelt::SetTrigg& SetTriggDialog() { return *setTrigg_; }
    quarvelt::ShutterDialog& ShutterLinkDialog() { return *shutterDialog_; }
    // Null until the first right press on an object.
    ObjInfroDialog* ObjInfroWindow() { return objInfro_; }
    // Null until "Lock/UnLock Puzzle Object" is first chosen.
    quarvelt::ObjectLock* ObjectLockWindow() { return objectLock_; }

    void HideToolBox() override;
    void ShowToolBox() override;
    void ShowSetTrigg() override;
    void ShowShutterDialog() override;
    void ShowObjInfro() override;
    void ShowCreator(CreatorLogic& creator) override;
    void ShowIXPorter(IXPorterLogic& transfer) override;
    void ShowSpCondEdit(SpCondEditLogic& editor) override;
    void ShowTBSetup(TBSetupLogic& setup) override;
    void ShowHelpReader(HelpReaderLogic& reader) override;
    void ShowHelpWriter(HelpWriterLogic& writer) override;
    void ShowObjectLock() override;
    void Repaint() override;
    void UnloadSplash() override;
    void ShowAbout() override;
    void EndProgram(int status) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // The tool box's home: beside the board.
    void PlaceToolBox();
    QAction* AddItem(QWidget* menu, MenuItem item, std::function<void()> command);
    void SyncMenus();

    platform::qt::QtBoardGrid* grid_;
    platform::qt::QtLabel* tally_;
    platform::qt::QtLabel* puzzleName_;
    platform::qt::QtLabel* condition_;
    GameBdLogic logic_;
    quarvelt::ToolBox* toolBox_;
    quarvelt::SetTrigg* setTrigg_;
    quarvelt::ShutterDialog* shutterDialog_;
    ObjInfroDialog* objInfro_ = nullptr;
    quarvelt::ObjectLock* objectLock_ = nullptr;
    std::map<MenuItem, QAction*> actions_;
    bool ending_ = false;
};

}  // namespace quarvelt

// A stand-in for the main window on screen. It records what the logic asks of
// it and plays the player's part in the modal dialogs from scripts a test
// queued; a dialog nobody scripted fails the test and is cancelled, and so
// does a script that leaves its dialog open.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "mainwindow/game_bd_logic.h"

namespace testsupport {

class ScriptedView : public quarvelt::GameBdView {
  public:
    // Set once the logic exists; the dialogs' logic lives in it.
    quarvelt::GameBdLogic* logic = nullptr;
    std::vector<std::string> calls;
    int endStatus = -1;
    std::deque<std::function<void(quarvelt::SetTriggLogic&)>> trigger;
    std::deque<std::function<void(quarvelt::ShutterDialogLogic&)>> shutter;
    std::deque<std::function<void(quarvelt::CreatorLogic&)>> creator;
    std::deque<std::function<void(quarvelt::IXPorterLogic&)>> transfer;
    std::deque<std::function<void(quarvelt::SpCondEditLogic&)>> conditions;
    std::deque<std::function<void(quarvelt::TBSetupLogic&)>> setup;
    std::deque<std::function<void(quarvelt::HelpReaderLogic&)>> reader;
    std::deque<std::function<void(quarvelt::HelpWriterLogic&)>> writer;

    void HideToolBox() override { calls.push_back("hide toolbox"); }
    void Repaint() override { calls.push_back("repaint"); }
    void UnloadSplash() override { calls.push_back("unload splash"); }
    void ShowAbout() override { calls.push_back("about"); }
    void EndProgram(int status) override { endStatus = status; }
    void ShowToolBox() override {
        calls.push_back("show toolbox");
        logic->ToolBox().Activate();
    }
    void ShowObjInfro() override {
        calls.push_back("show info");
        logic->ObjInfro().Activate();
    }
    void ShowSetTrigg() override {
        calls.push_back("set trigger");
        Play(logic->SetTrigg(), trigger);
    }
    void ShowShutterDialog() override {
        calls.push_back("link shutter");
        Play(logic->ShutterDialog(), shutter);
    }

    void ShowCreator(quarvelt::CreatorLogic& dialog) override {
        calls.push_back("creator " + quarvelt::PuzzleMode);
        Play(dialog, creator);
    }

    void ShowIXPorter(quarvelt::IXPorterLogic& dialog) override {
        calls.push_back("transfer " + dialog.pzlMode);
        Play(dialog, transfer);
    }

    void ShowSpCondEdit(quarvelt::SpCondEditLogic& dialog) override {
        calls.push_back("conditions");
        Play(dialog, conditions);
    }

    void ShowTBSetup(quarvelt::TBSetupLogic& dialog) override {
        calls.push_back("tool box setup");
        Play(dialog, setup);
    }
    void ShowObjectLock() override {
        calls.push_back("show lock");
        logic->ObjectLock().Activate();
    }

    void ShowHelpReader(quarvelt::HelpReaderLogic& dialog) override {
        calls.push_back("help " + dialog.caption);
        Play(dialog, reader);
    }
    void ShowHelpWriter(quarvelt::HelpWriterLogic& dialog) override {
        calls.push_back("help writer");
        Play(dialog, writer);
    }

  private:
    static void Cancel(quarvelt::CreatorLogic& dialog) { dialog.CanClick(); }
    static void Cancel(quarvelt::HelpReaderLogic& dialog) { dialog.ExitHlpClick(); }
    static void Cancel(quarvelt::HelpWriterLogic& dialog) { dialog.ExitHlpClick(); }
    static void Cancel(quarvelt::TBSetupLogic& dialog) { dialog.ExitClick(); }
    static void Cancel(quarvelt::SpCondEditLogic& dialog) { dialog.ExitClick(); }
    static void Cancel(quarvelt::IXPorterLogic& dialog) { dialog.ExitClick(); }
    template <class Dialog>
    static void Cancel(Dialog& dialog) {
        dialog.CancelClick();
    }

    // The set-up lays itself out when it is created, the others when they are shown.
    static void Open(quarvelt::TBSetupLogic& dialog) { dialog.FormLoad(); }
    template <class Dialog>
    static void Open(Dialog& dialog) {
        dialog.Activate();
    }

    template <class Dialog>
    static void Play(Dialog& dialog, std::deque<std::function<void(Dialog&)>>& scripts) {
        Open(dialog);
        if (!dialog.Visible())
            return;
        if (scripts.empty()) {
            ADD_FAILURE() << "a dialog came up that no script answers";
            Cancel(dialog);
            return;
        }
        auto script = std::move(scripts.front());
        scripts.pop_front();
        script(dialog);
        if (dialog.Visible()) {
            ADD_FAILURE() << "the script left its dialog open";
            Cancel(dialog);
        }
    }
};

}  // namespace testsupport

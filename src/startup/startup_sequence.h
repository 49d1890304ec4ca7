// The road from the program's start to a main window that is ready: the date
// and time checks, the folders, the settings files, the puzzle sets a killed
// program left half replaced, the first-run check that moves the shipped
// puzzles into the puzzle folder, and the default catalogue of special
// conditions. The windows take part through StartupWindows.
#pragma once

#include <string>

namespace quarvelt {

// What the sequence asks of the windows, in its order.
class StartupWindows {
  public:
    virtual ~StartupWindows() = default;
    // Loads the main window without showing it (its load handler runs now).
    virtual void LoadMainWindow() = 0;
    // The splash's status line after the first-run check: emptied and hidden.
    virtual void ClearStatusLine() = 0;
    // The main window's first menu state.
    virtual void InitMenus() = 0;
};

// Takes the clock's date and time text into CurrentDate (first 10 characters)
// and CurrentTime (last 8); false, after its box, when either is too short.
bool CheckDateAndTime(const std::string& dateTime);

// AppPath := the program folder with its '/', PuzzlePath and ImagePath below it,
// SuiteRoot in the user's configuration folder, CustomPuzzleFlag := 0.
void SetFolderPaths(const std::string& programFolder);

// Runs the start-up sequence. 0 when the main window may be shown; otherwise the
// status to end the program with (its box has been shown).
int RunStartupSequence(StartupWindows& windows);

// The parts of the sequence, for the tests.
bool FirstRunDone();
int FirstRunCheck(StartupWindows& windows);
int DefaultSpConds();
// Finishes or removes the puzzle sets a killed program left half replaced,
// before anything reads the puzzle folder; reports a set it cannot finish.
void FinishPuzzleSets();

}  // namespace quarvelt

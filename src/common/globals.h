// Program-wide values shared by every part of the game. Tables join them as
// their parts are built; ResetGlobals() puts everything back to its start.
#pragma once

#include <cstdint>
#include <string>

namespace quarvelt {

// Flags are 16-bit values; only -1 counts as true.
using Flag = int16_t;
constexpr Flag True = -1;
constexpr Flag False = 0;
inline bool IsTrue(Flag flag) {
    return flag == True;
}

// Folders, each with a trailing '/'.
extern std::string AppPath;     // the program's folder
extern std::string ImagePath;   // AppPath + "DATA/": extracted pictures
extern std::string PuzzlePath;  // AppPath + "PUZZLE/"
extern std::string SuiteRoot;   // the suite settings folder

// The date and time the program started with ("MM/DD/YYYY", "HH:MM:SS").
extern std::string CurrentDate;
extern std::string CurrentTime;

// The board's size; CellCount is BoardRows * BoardCols.
extern int16_t BoardRows;
extern int16_t BoardCols;
extern int16_t CellCount;

// Set by the main window before it opens either help window: the first page
// to show, and how many pages the reader pages through (0 for the whole manual).
extern int16_t HelpStartPage;
extern int16_t HelpPageSpan;
// Pages from the one on screen to the end of the paging range; shared by both windows.
extern int16_t HelpPagesLeft;

// Back to a fresh program's values, tables included.
void ResetGlobals();

}  // namespace quarvelt

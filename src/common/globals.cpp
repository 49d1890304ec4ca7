#include "common/globals.h"

#include "common/tables.h"

namespace quarvelt {

std::string AppPath;
std::string ImagePath;
std::string PuzzlePath;
std::string SuiteRoot;
std::string CurrentDate;
std::string CurrentTime;

int16_t BoardRows = 15;
int16_t BoardCols = 15;
int16_t CellCount = 225;

int16_t HelpStartPage = 0;
int16_t HelpPageSpan = 0;
int16_t HelpPagesLeft = 0;

void ResetGlobals() {
    AppPath.clear();
    ImagePath.clear();
    PuzzlePath.clear();
    SuiteRoot.clear();
    CurrentDate.clear();
    CurrentTime.clear();
    BoardRows = 15;
    BoardCols = 15;
    CellCount = 225;
    HelpStartPage = 0;
    HelpPageSpan = 0;
    HelpPagesLeft = 0;
    ResetTables();
}

}  // namespace quarvelt

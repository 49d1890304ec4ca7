// Boards written as text, for tracing what a compile does outside the game:
// the trace tool, the benchmark and the tests read them. One statement a line,
// "#" starts a comment:
//
//   size ROWS COLS             10 to 60 each, before the rows
//   row CODE CODE ...          ROWS lines of COLS five-character board codes
//                              ("BLANK" empty); "LAMP_" is the lamp; a code
//                              followed by "*" is locked
//   trigger CELL POINTS        the bonus object at CELL, in its kind's next free slot
//   link CELL SHUTTER_CELL     the key or closing square at CELL, linked to that shutter
//   condition CODE             the 33-character special condition
//
// Shutters standing on the board take their kind's next free slot in cell order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quarvelt {

struct BoardFile {
    struct Cell {
        std::string code;
        bool locked = false;
    };
    struct Trigger {
        int16_t cell = 0;
        int16_t points = 0;
    };
    struct Link {
        int16_t cell = 0;
        int16_t shutterCell = 0;
    };

    int16_t rows = 0;
    int16_t cols = 0;
    std::vector<Cell> cells;  // row by row
    std::vector<Trigger> triggers;
    std::vector<Link> links;
    std::string condition;
};

// False with a message naming the line when the text is not a whole, sound board.
bool ParseBoardFile(const std::string& text, BoardFile& board, std::string& error);

// Fills the tables as a puzzle load does: the board's size, BoardTable, every
// link table, and the photon and mixer tables at their reset values.
void LoadBoardFile(const BoardFile& board);

// "message TITLE | TEXT", line breaks written as "\r".
std::string TraceMessageLine(const std::string& title, const std::string& text);
// "photon P size S colour C detector D steps N cells C0 C1 ...": the photon's
// end state and the cells of its recorded steps.
std::string TracePhotonLine(int photon);

}  // namespace quarvelt

// The program-wide tables of the board and of a run. Every dimension counts
// from 0; index 0 of the kind, colour, number, photon and field dimensions is
// never used, so that tables and puzzle files line up slot for slot. The board
// model sizes and resets them; the engine, the animation, the editing windows
// and the puzzle files read and write them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/globals.h"

namespace quarvelt {

inline constexpr int BonusKinds = 6;    // special objects 1 to 6
inline constexpr int BonusSlots = 16;   // trigger numbers per kind
inline constexpr int ShutterKinds = 6;  // special objects 13 to 18
inline constexpr int LinkColours = 3;   // brown, gray, orange
inline constexpr int LinkSlots = 32;    // shutters, keys and closing squares per kind
inline constexpr int PhotonCount = 3;
inline constexpr int MixerKinds = 3;     // cyan/red, magenta/green, yellow/blue
inline constexpr int FrameColumns = 16;  // frames a step may have

// One cell of the board.
struct BoardCell {
    std::string pictureName;  // the object's picture; an empty cell holds the blank's
    int16_t group = 0;        // tool-box group 0 to 5; 5 for an empty cell
    int16_t button = 0;       // tool button when placed; 0 for an empty cell
    Flag lockFlag = False;    // the designer locked the object in its cell
    Flag lampFlag = False;    // the cell holds the lamp
};

struct BonusObjSlot {
    int16_t points = 0;  // added to the tally when a photon meets the object
    int16_t cell = 0;    // -1 marks a free slot
    int16_t state = 0;   // 0 armed, -1 met during the last run
};

struct ShutterSlot {
    int16_t cell = 0;          // -1 marks a free slot
    int16_t open = 0;          // 0 closed, 1 open
    int16_t objectNumber = 0;  // kind + 12, in every slot
};

struct ClosingSquareSlot {
    int16_t objectNumber = 0;  // colour + 6, in every slot
    int16_t shutterCell = 0;   // the shutter it closes, -1 none
    int16_t cell = 0;          // -1 marks a free slot
};

struct KeySlot {
    int16_t shutterCell = 0;   // the shutter it opens, -1 none
    int16_t cell = 0;          // -1 marks a free slot
    int16_t objectNumber = 0;  // colour + 9, in every slot
    int16_t state = 0;         // 0 armed, -1 used during the last run
};

// One step of a photon's walk.
struct PhotonPathRow {
    Flag walkEnds = False;       // the walk ends at this step
    int16_t nextCell = 0;        // the cell the photon moves to, -1 none
    std::string firstFrame;      // the step's frame "01"
    std::string lastFrame;       // the step's last frame
    int16_t lampStep = 0;        // 1 on the lamp's step
    int16_t frameRow = 0;        // row of the frame table with this step's frames
    int16_t frameCount = 0;      // frames of the step
    int16_t cell = 0;            // the cell of the step, -1 none
    int16_t splitCell = 0;       // first cell of a photon split off here, -1 none
    std::string restingPicture;  // the cell's picture with no photon
    int16_t specialObject = 0;   // special-object number of the cell's object, 0 none
    int16_t specialSlot = 0;     // its slot in its link table, 0 none
    // On the first step of a white photon a mixer relaunched: the photon that met
    // it there, and the row of that photon's mixer step, which the animation waits for.
    int16_t waitPhoton = 0;
    int16_t waitRow = -1;

    bool operator==(const PhotonPathRow&) const = default;
};

// Frame names of one step, columns 1 to 16.
using PhotonFrameRow = std::array<std::string, FrameColumns + 1>;

// What has arrived at one mixer cell for one mixer kind.
struct MixerInput {
    std::string firstArrived;      // "T" once the kind's first colour (R, G, B) arrived, else "F"
    std::string secondArrived;     // "T" once its second colour (C, M, Y) arrived, else "F"
    int16_t continuingPhoton = 0;  // the photon that goes on as the white one
    int16_t nextCell = 0;          // the neighbour in the latest arrival's travel, -1 off the board
    std::string size;              // of the leaving photon, "_" none
    std::string direction;         // of the leaving photon, "_" none
};

// One frame of the animation.
struct AnimRow {
    std::string pictureName;  // a picture in the image folder
    bool pause = false;       // wait a moment after drawing this row
    int16_t cell = 0;
    int16_t specialObject = 0;  // 1 to 18, 0 none
    int16_t slot = 0;           // the object's number in its link table
};

extern std::vector<BoardCell> BoardTable;  // one row per cell index
extern std::array<std::array<BonusObjSlot, BonusSlots + 1>, BonusKinds + 1> BonusObjTable;
extern std::array<std::array<ShutterSlot, LinkSlots + 1>, ShutterKinds + 1> ShutterTable;
extern std::array<std::array<ClosingSquareSlot, LinkSlots + 1>, LinkColours + 1> ClosingSquareTable;
extern std::array<std::array<KeySlot, LinkSlots + 1>, LinkColours + 1> KeyTable;

// Per photon 1 to 3, fields 1 to 4: size, colour, detector colour, "__".
extern std::array<std::array<std::string, 5>, PhotonCount + 1> PhotonState;
extern std::vector<PhotonPathRow> PhotonPathTable1, PhotonPathTable2, PhotonPathTable3;
extern std::vector<PhotonFrameRow> PhotonFrameTable1, PhotonFrameTable2, PhotonFrameTable3;
// The path and frame tables of photon 1 or 2; any other number gets photon 3's.
std::vector<PhotonPathRow>& PhotonPath(int photon);
std::vector<PhotonFrameRow>& PhotonFrames(int photon);
extern std::vector<std::array<MixerInput, MixerKinds>> MixerInputTable;  // per cell
extern std::vector<AnimRow> AnimTable;

// Run, selection and display values.
extern int16_t SelectedTool;      // the catalogue row picked in the tool box, -1 none
extern Flag ReadyToRun;           // a full run (compile, animate, check) is due
extern Flag CellOverlayOn;        // cell numbers are shown on the grid
extern int16_t CustomPuzzleFlag;  // the loaded puzzle's custom flag, 0 or 1
// The current puzzle's 33-character special condition; one numbered "00" asks for nothing.
extern std::string SpecialCond;
extern std::string SpecialCondText;   // its description
extern std::string CurrentPuzzleKey;  // the loaded puzzle's key
// The main window's mode: "NONE", "NEW", "LOAD", "SAVE", "EDIT", "DELE" or "RUN".
extern std::string PuzzleMode;
// 1 when the puzzle library dialog ended without a result.
extern int16_t CreatorCancelled;
// The ".INF" of the puzzle loaded last, set even when it was missing.
extern std::string CurrentInfPath;
// Seconds a load pauses after reading the information file (tests make it 0).
extern float PuzzleLoadPause;

// Empties every table as a fresh program has them.
void ResetTables();

using BonusObjGrid = decltype(BonusObjTable);
using ShutterGrid = decltype(ShutterTable);
using ClosingSquareGrid = decltype(ClosingSquareTable);
using KeyGrid = decltype(KeyTable);

// Object numbers of the link tables' rows are the row plus these.
inline constexpr int16_t ShutterNumberBase = 12;
inline constexpr int16_t KeyNumberBase = 9;
inline constexpr int16_t SquareNumberBase = 6;

// Frees every slot of the link tables and the bonus table: no cell (-1), no
// shutter linked (-1), closed shutters, used keys and bonus objects (-1), no
// points; each slot keeps its object number (kind + ShutterNumberBase, colour
// + SquareNumberBase, colour + KeyNumberBase). Slot 0 of every row is cleared.
void ResetLinkTables(BonusObjGrid& bonus, ShutterGrid& shutters, ClosingSquareGrid& squares,
                     KeyGrid& keys);
// The same for the program-wide tables.
void ResetLinkTables();

// A path row before any photon has walked over it.
PhotonPathRow ResetPhotonPathRow();
// A mixer entry at which nothing has arrived.
MixerInput ResetMixerInput();

// Re-creates PhotonState and the path and frame tables for CellCount cells:
// photons 1 to 3 at "_", "_", "_", "__", every path row at ResetPhotonPathRow(),
// every frame name empty. Index 0 of PhotonState holds empty texts.
void ResetPhotonTables();
// Re-creates MixerInputTable for CellCount cells, every entry at ResetMixerInput().
void ResetMixerInputTable();
// Puts the first CellCount rows of the three path tables back to
// ResetPhotonPathRow() and re-creates the frame tables empty; PhotonState and
// the path tables' sizes stay (a table shorter than CellCount grows to it).
void ResetPathTables();

}  // namespace quarvelt

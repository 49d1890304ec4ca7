// The tool-box catalogue: one row per tool-box picture of the image index,
// filled in index order into the lowest free row.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/globals.h"

namespace quarvelt {

inline constexpr int ToolboxRowCount = 270;

struct ToolboxObjectRow {
    Flag shown = False;         // offered in the tool box
    std::string stem;           // the picture's name without ".BMP", e.g. "REFHT_U"
    int16_t group = -1;         // tool-box group 0 to 5, -1 while free
    int32_t archiveOffset = 0;  // of the picture; 0 marks a free row
    int16_t button = -1;        // tool button 0 to 65 the row is shown on, -1 none
    Flag enabled = False;
    int16_t allowed = 0;    // how many the tool box offers
    int16_t used = 0;       // how many are on the board
    std::string archiveId;  // of the picture
    int32_t imageSize = 0;  // of the picture, as the index gives it

    bool Free() const { return archiveOffset == 0; }
    // The up picture of an object: its row carries the object's flags and counts.
    bool IsUp() const;
    // The object's tool code: the first five characters of the stem, upper case.
    std::string Code() const;
    // Whether the objects of this row on the board are counted in `used`: a
    // limited object's, and the lamp's whatever its allowed count.
    bool CountedOnBoard() const;
};

extern std::array<ToolboxObjectRow, ToolboxRowCount> ToolboxObjectTable;

// Rebuilds the table from the image index.
void LoadToolboxObjects();

// The first up row whose tool code is `toolCode`, or -1.
int16_t FindToolRow(const std::string& toolCode);

}  // namespace quarvelt

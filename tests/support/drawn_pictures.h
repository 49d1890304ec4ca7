// What a recording grid was asked to draw, in order, as the run promises read
// it. For the tests that have the fuzz entries at hand.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "common/globals.h"
#include "run_promises.h"
#include "support/recording_grid.h"

namespace testsupport {

// Every picture put on a cell and every cell cleared, by cell and file name.
inline std::vector<quarvelt::fuzz::Drawing> DrawnPictures(const RecordingGrid& grid) {
    std::vector<quarvelt::fuzz::Drawing> drawings;
    for (const std::string& line : grid.log) {
        std::istringstream words(line);
        std::string call, path;
        int row = 0, col = 0;
        if (words >> call >> row >> col && (call == "picture" || call == "nopicture")) {
            words >> path;
            drawings.push_back({row * quarvelt::BoardCols + col, path.substr(path.rfind('/') + 1)});
        }
    }
    return drawings;
}

}  // namespace testsupport

// What every run that played to its end must leave true, checked on the
// tables the compile and the build left and on what the playback drew.
#pragma once

#include <string>
#include <vector>

namespace quarvelt::fuzz {

// One picture the playback put on the board: the cell and the picture's file
// name (empty for a cell it cleared).
struct Drawing {
    int cell = -1;
    std::string picture;
};

// The first promise the run broke, or "" when it kept them all: every cell of
// every recorded photon path was drawn; the tally grew by the points of the
// bonus objects on the paths, each counted once; and at the end no cell shows
// a photon, but for the detectors at which walks ended and the lamp, lit.
std::string BrokenRunPromise(const std::vector<Drawing>& drawings, double tallyBefore,
                             double tallyAfter);

}  // namespace quarvelt::fuzz

// The animation of a run: the compiled paths of up to three photons merged,
// frame by frame, into AnimTable, the list of pictures the board then plays.
// Photons that travel at the same time advance one frame each per pass, so
// they are drawn side by side.
#pragma once

#include <cstdint>

namespace quarvelt {

inline constexpr const char* BuildAnimationTitle = "BUILD  ANIMATION  OF  PUZZLE";
// The build's stop for paths that do not fit together: a step without frames,
// a path running past its records, or photons left waiting for each other.
inline constexpr const char* IncompletePathText = "ERROR: PHOTON PATH IS INCOMPLETE!";

// Rebuilds AnimTable from the path and frame tables of the last successful
// compile and returns its last row: rows 1 to the result are the animation,
// the rows behind it are empty, and the table grows as a long run needs. While
// it runs it marks the bonus objects and keys the photons take, closes the
// shutters they reach and makes each such shutter's five frames present in
// ImagePath. After an error it shows one message and returns -1; what it
// wrote and marked by then stays.
int32_t BuildPuzzleAnimation();

}  // namespace quarvelt

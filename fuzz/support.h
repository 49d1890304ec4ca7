// What the fuzz entries share: splitting an input into files, a private work
// folder, quiet message boxes, and the check that aborts on a broken promise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "platform/services.h"
#include "puzzles/puzzle_files.h"

namespace quarvelt::fuzz {

// The input cut at PartSeparator into at most `count` parts; the last takes the rest.
std::vector<std::string> Split(const uint8_t* data, size_t size, size_t count);

// An empty folder `name` in this process's work folder, with a trailing '/'.
std::string FreshFolder(const std::string& name);
// A folder that keeps its contents from input to input (extracted pictures).
std::string KeptFolder(const std::string& name);

// Where two sets of puzzle tables differ ("cell 12", "key 1,3"), or empty. The
// files keep the shutters' open states as flags, so those are compared as flags.
std::string TablesDifference(const PuzzleTables& a, const PuzzleTables& b);

// Prints the broken promise and aborts.
[[noreturn]] void Broken(const char* target, const std::string& what);
inline void Require(bool kept, const char* target, const std::string& what) {
    if (!kept)
        Broken(target, what);
}

// Boxes take their default answer and are counted; the program-wide values
// start fresh. Everything installed before comes back at the end of the scope.
class Session {
  public:
    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    int Boxes() const { return boxes_.shown; }

  private:
    platform::Services saved_;
    platform::SilentBoxes boxes_;
};

}  // namespace quarvelt::fuzz

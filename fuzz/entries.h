// The fuzz targets' entry points. Each takes one input as a fuzzer hands it
// over, feeds it to the readers of one kind of file the game meets, and checks
// the promises those readers make. A broken promise prints what broke and
// aborts, so the fuzzer and the corpus replay in the test suite report it alike.
// Inputs that hold several files join them with PartSeparator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quarvelt::fuzz {

inline constexpr std::string_view PartSeparator = "\n#=#=#\n";

using Entry = int (*)(const uint8_t* data, size_t size);

struct Target {
    const char* name;  // also the name of its corpus folder
    Entry entry;
};

// Every target, in a fixed order.
const std::vector<Target>& Targets();

// The game folder whose image index and archives the board runs use; without
// one the board target only parses.
void SetGameFolder(const std::string& folder);

// The seven puzzle files: loaded over another puzzle, then saved and loaded back.
int PuzzleSet(const uint8_t* data, size_t size);
// The help manual and a list of 16-bit page numbers to turn to.
int HelpManual(const uint8_t* data, size_t size);
// The image index, archive "000001" and names to look up and extract.
int ImageIndexFile(const uint8_t* data, size_t size);
// A settings file, a section, a key and a value: read, write, read back.
int SettingsFile(const uint8_t* data, size_t size);
// The condition catalogue and a record to read and write.
int ConditionCatalogue(const uint8_t* data, size_t size);
// A board file: read, compiled, animated and played.
int BoardRun(const uint8_t* data, size_t size);

}  // namespace quarvelt::fuzz

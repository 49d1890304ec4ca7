// One fuzz target for libFuzzer: QUARVELT_FUZZ_ENTRY names its entry point.
#include <cstddef>
#include <cstdint>

#include "entries.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    quarvelt::fuzz::SetGameFolder(QUARVELT_FUZZ_GAME_DIR);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return quarvelt::fuzz::QUARVELT_FUZZ_ENTRY(data, size);
}

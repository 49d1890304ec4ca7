// Mixers join a red, green or blue photon with its complement (cyan, magenta,
// yellow) into one white photon. A photon stepping into a mixer is parked
// there; once both colours of a mixer kind have arrived at a cell, the compile
// re-launches one of the two photons as the white one.
#pragma once

#include <cstdint>
#include <string>

namespace quarvelt {

// The photon stepping into a mixer, filled by the compiler before each call.
struct MixerRecord {
    std::string pictureName;  // the step's picture; its out-photon 1 is the white one
    int16_t photon = 0;       // 1 to 3
    int16_t cell = 0;
    std::string size;       // of the arriving photon
    std::string colour;     // of the arriving photon; picks the mixer kind
    std::string direction;  // of the arriving photon's travel
    int16_t frameRow = 0;   // the row of the photon's frame table for this step
};

extern MixerRecord CurrentMixerRec;

// What the latest processing call wrote: the first and last frame names, the
// number of frames (-1 for none), and the neighbour it recorded (-1 off the board).
extern std::string MixerFirstFrame;
extern std::string MixerLastFrame;
extern int16_t MixerFrameCount;
extern int16_t MixerNextCell;

// The message of the latest failed step of a compile.
extern std::string CompileErrorText;

// Mode -1 starts a compile: no photon has entered a mixer yet; answers "I".
// Any other mode records CurrentMixerRec's photon in MixerInputTable, writes
// its frames into its frame table, and when both inputs of the entry have
// arrived names the one of those two photons that goes on: the one that
// entered at the later frame row, on equal rows the higher number. Answers "_",
// or "E" with CompileErrorText.
std::string ProcessMixerPhoton(int16_t mode);

// The photon of a met pair that does not go on, and the row of its mixer step.
struct MixerArrival {
    int16_t photon = 0;  // 0 when the entry holds no such photon
    int16_t row = 0;
};
MixerArrival MixerPartner(int16_t cell, int kind);

}  // namespace quarvelt

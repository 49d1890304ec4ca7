// A photon's colour and size as the run records them: not the last ones it
// had but the ones it left most of its counted steps with. Only the lamp, empty
// cells, barriers, filters and splitters are counted.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quarvelt {

inline constexpr int TallyPhotons = 4;  // photons 0 to 4 have a row; 1 to 3 are counted
inline constexpr int TallyColours = 7;  // R, B, G, C, Y, M, W
inline constexpr int TallySizes = 3;    // S, M, L
// A MixerRow entry of a photon that has not entered a mixer in this compile.
inline constexpr int16_t NoMixerRow = -1;

struct PhotonTallyRecord {
    // Per photon 1 to 3: the frame row at which it last entered a mixer.
    std::array<int16_t, 4> MixerRow{NoMixerRow, NoMixerRow, NoMixerRow, NoMixerRow};
    // Per photon, counts of the letters in tie order; index 0 unused.
    std::array<std::array<int16_t, TallyColours + 1>, TallyPhotons + 1> ColorCounts{};
    std::array<std::array<int16_t, TallySizes + 1>, TallyPhotons + 1> SizeCounts{};
};

extern PhotonTallyRecord PhotonTally;

// Mode 1 starts the counts afresh and answers "N". Mode 2 counts the letter of
// out-photon `which` (1 or 2) of a 26-character picture for `photon` and
// answers "Ok" ("Er" for another `which`, "" after the message about a name of
// another length). Mode 3 answers the photon's majority letter, a tie going to
// the later letter, so a photon with no counted step is white and large. Any
// other mode, or a photon outside 0 to 4, answers "Er".
std::string TallyPhotonColor(const std::string& name, int16_t photon, int16_t which, int16_t mode);
std::string TallyPhotonSize(const std::string& name, int16_t photon, int16_t which, int16_t mode);

}  // namespace quarvelt

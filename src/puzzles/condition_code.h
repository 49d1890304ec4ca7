// The words of a special condition: what the editor shows for each letter of
// a code, its choice lists in their order, and the way back from a chosen word
// to the letters a code carries. Positions in a code count from 1.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quarvelt {

inline constexpr int CondPhotonCount = 3;
// Where the blocks of photons A, B and C start; each is eight characters.
inline constexpr size_t CondBlockStart[CondPhotonCount] = {3, 11, 19};
inline constexpr size_t CondBlockLength = 8;
// "Ta" and then the four digits of the required game points.
inline constexpr size_t CondTallyAt = 27;
inline constexpr size_t CondPointsAt = 29;
inline constexpr size_t CondPointsWidth = 4;
inline constexpr int16_t MaxCondPoints = 9999;
// The block of a photon that is not constrained.
inline constexpr const char* BlankPhotonBlock = "________";
// The entry that asks nothing of photons B and C.
inline constexpr const char* NoneEntry = "NONE";

// Code letters to the words shown; a letter not in the table (and a
// no-demand letter) gives an empty text. Letters compare case-sensitively.
std::string GetPhotonColor(const std::string& letter);
std::string GetPhotonSize(const std::string& letter);
std::string GetDetColor(const std::string& pair);
std::string GetTimeRequirement(const std::string& pair);

// The editor's choice lists in their order; photons B and C have "NONE" first.
std::vector<std::string> ColorEntries(bool withNone);
std::vector<std::string> SizeEntries(bool withNone);
std::vector<std::string> DetEntries(bool withNone);

// A chosen word back to its code letters; "NONE", an empty text and anything
// else not in the list demand nothing ("_", or "__" for a detector).
char PhotonColorCode(const std::string& entry);
char PhotonSizeCode(const std::string& entry);
std::string DetectorCode(const std::string& entry);

// The block of photon 0, 1 or 2 (tag "P1" to "P3") from its chosen words; the
// time pair is always "Tn".
std::string PhotonBlock(int photon, const std::string& color, const std::string& size,
                        const std::string& detector);

// A points tally as typed: the whole text a number that rounds (halves to the
// even neighbour) to 0 to 9999. False, with `points` untouched, for anything else.
bool ReadPointsTally(const std::string& text, int16_t& points);
// "Ta" and the points as four digits.
std::string TallyField(int16_t points);

// A catalogue record number as the two digits a code starts with.
std::string CondNumberText(int number);

}  // namespace quarvelt

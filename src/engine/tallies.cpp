#include "engine/tallies.h"

#include <string_view>

#include "common/vocabulary.h"
#include "engine/picture_names.h"
#include "platform/services.h"

namespace quarvelt {

PhotonTallyRecord PhotonTally;

namespace {

constexpr std::string_view ColourLetters = "RBGCYMW";
constexpr std::string_view SizeLetters = "SML";

bool IsCounted(const std::string& name) {
    return name.starts_with("LAMP") || name.starts_with("BLANK") || name.starts_with("BA") ||
           IsFilterCode(name) || IsSplitterCode(name);
}

// `counts` is the tally's table, one row per photon 0 to 4; `letters` its
// letters in tie order; `positions` the 1-based places of out-photon 1 and 2.
template <size_t Width>
std::string Tally(const std::string& name, int16_t photon, int16_t which, int16_t mode,
                  std::array<std::array<int16_t, Width>, TallyPhotons + 1>& counts,
                  std::string_view letters, std::array<size_t, 2> positions) {
    const bool photonInTable = photon >= 0 && photon <= TallyPhotons;
    switch (mode) {
        case 1:
            counts = {};
            return "N";
        case 2: {
            if (name.size() != ObjectImageNameLength) {
                platform::MsgBox("ERROR: INVALIED OBJECT VALUE!\r\rThe object: " + name +
                                     "\ris invalied! Its Name MUST be\r twenty characters in "
                                     "length.",
                                 platform::MsgOkOnly + platform::MsgExclamation,
                                 "EXECUTE    PUZZLE");
                return "";
            }
            if (which != 1 && which != 2)
                return "Er";
            if (!photonInTable)
                return "Er";
            const char letter = name[positions[static_cast<size_t>(which - 1)] - 1];
            const size_t index = letters.find(letter);
            if (IsCounted(name) && index != std::string_view::npos)
                ++counts[static_cast<size_t>(photon)][index + 1];
            return "Ok";
        }
        case 3: {
            if (!photonInTable)
                return "Er";
            const auto& row = counts[static_cast<size_t>(photon)];
            size_t best = 1;
            for (size_t index = 2; index <= letters.size(); ++index)
                if (row[index] >= row[best])
                    best = index;
            return std::string(1, letters[best - 1]);
        }
        default:
            return "Er";
    }
}

}  // namespace

std::string TallyPhotonColor(const std::string& name, int16_t photon, int16_t which, int16_t mode) {
    return Tally(name, photon, which, mode, PhotonTally.ColorCounts, ColourLetters, {16, 19});
}

std::string TallyPhotonSize(const std::string& name, int16_t photon, int16_t which, int16_t mode) {
    return Tally(name, photon, which, mode, PhotonTally.SizeCounts, SizeLetters, {15, 18});
}

}  // namespace quarvelt

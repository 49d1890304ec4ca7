#include "board/solution_check.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

#include "common/tables.h"
#include "common/text.h"
#include "platform/services.h"

namespace quarvelt {

namespace {

constexpr const char* NoTerminatorTitle = "INVALIED SPECIAL CONDITION";
constexpr const char* NoTerminatorText =
    "ERROR:  NO TERMINATOR!\r\rThere MUST be a ~ terminator\rat the end of the Special "
    "Condition.";
constexpr const char* NoPhotonATitle = "ERROR  INVALIED  PUZZLE";
constexpr const char* NoPhotonAText =
    "ERROR:  NO PHOTON A!\r\rThere MUST be at least one Photon.\rPhoton 1 MUST be present for a "
    "valied game.";
constexpr const char* SolvedTitle = "SUCCESSFUL  PUZZLE  COMPLETION";
constexpr const char* SolvedText = "CONGRATULATIONS YOU SOLVED THE PUZZLE.";
constexpr const char* FailedTitle = "YOU  FAILED  TO  SOLVE  THE  PUZZLE";
constexpr const char* FailedText = "SORRY, YOU FAILED TO SOLVE THE PUZZLE.";
constexpr const char* PointsMissedText =
    "\r\rYou failed to collect the required\ramount of game points of ";

// Positions of the code, counted from 1.
constexpr size_t BlockStart[PhotonCount + 1] = {0, 3, 11, 19};
constexpr size_t PointsAt = 29;
constexpr size_t PointsWidth = 4;

// Characters of the code from a 1-based position; empty past its end.
std::string Mid(const std::string& code, size_t position, size_t length) {
    if (position < 1 || position > code.size())
        return {};
    return code.substr(position - 1, length);
}

// What a photon block demands, one letter each; "_" demands nothing.
struct Conditions {
    std::string colour = "_";
    std::string size = "_";
    std::string detector = "_";
};

// 0 no condition, 1 met, -1 failed. An empty condition (a short code) never holds.
int LetterVerdict(const std::string& condition, const std::string& actual) {
    if (condition == "_")
        return 0;
    if (condition == "A")
        return 1;
    return !condition.empty() && condition == actual ? 1 : -1;
}

int SizeRank(const std::string& size) {
    return size == "S" ? 1 : size == "M" ? 2 : size == "L" ? 3 : 0;
}

bool Holds(const std::string& relation, const std::string& size, const std::string& reference) {
    if (relation == "=")
        return size == reference;
    const int mine = SizeRank(size);
    const int theirs = SizeRank(reference);
    if (mine == 0 || theirs == 0)
        return false;
    return relation == "<" ? mine < theirs : mine > theirs;
}

// Photon i's size against the photons whose size condition is "A".
int RelativeSizeVerdict(int i, const std::string& relation,
                        const std::array<Conditions, PhotonCount + 1>& conditions) {
    const int j = i == 1 ? 2 : 1;
    const int k = i == 3 ? 2 : 3;
    const bool jAny = conditions[j].size == "A";
    const bool kAny = conditions[k].size == "A";
    // Photon 1's "<" takes either other photon with "A" as its reference, whatever
    // the other one demands.
    const bool wide = i == 1 && relation == "<";
    std::vector<int> references;
    if (jAny && kAny)
        references = {j, k};
    else if (jAny && (conditions[k].size == "_" || wide))
        references = {j};
    else if (kAny && (conditions[j].size == "_" || wide))
        references = {k};
    else
        return -1;
    for (int reference : references)
        if (!Holds(relation, PhotonState[i][1], PhotonState[reference][1]))
            return -1;
    return 1;
}

int SizeVerdict(int i, const std::array<Conditions, PhotonCount + 1>& conditions) {
    const std::string& condition = conditions[i].size;
    if (condition == "<" || condition == ">" || condition == "=")
        return RelativeSizeVerdict(i, condition, conditions);
    return LetterVerdict(condition, PhotonState[i][1]);
}

// The tally as the requirement is written: at least four digits, zero-filled.
std::string PointsText(const std::string& tallyCaption) {
    constexpr double Low = std::numeric_limits<int32_t>::min();
    constexpr double High = std::numeric_limits<int32_t>::max();
    const auto value =
        static_cast<int64_t>(std::llround(std::clamp(LeadingNumber(tallyCaption), Low, High)));
    std::string digits = std::to_string(std::llabs(value));
    if (digits.size() < PointsWidth)
        digits.insert(0, PointsWidth - digits.size(), '0');
    return value < 0 ? "-" + digits : digits;
}

void ShowVerdict(const std::string& text, const char* title) {
    platform::Beep();
    platform::MsgBox(text, platform::MsgOkOnly | platform::MsgInformation, title);
}

}  // namespace

void CheckForSpecialCond(const std::string& tallyCaption) {
    const std::string& code = SpecialCond;
    if (Mid(code, 1, 2) == "00")
        return;
    if (code.empty() || code.back() != '~') {
        platform::MsgBox(NoTerminatorText, platform::MsgOkOnly | platform::MsgExclamation,
                         NoTerminatorTitle);
        return;
    }
    if (Mid(code, 3, 2) == "__") {
        platform::MsgBox(NoPhotonAText, platform::MsgOkOnly | platform::MsgExclamation,
                         NoPhotonATitle);
        return;
    }

    std::array<Conditions, PhotonCount + 1> conditions;
    for (int photon = 1; photon <= PhotonCount; ++photon) {
        const size_t start = BlockStart[photon];
        // A block without its own marker demands nothing of its photon.
        if (Mid(code, start, 2) != "P" + std::to_string(photon))
            continue;
        conditions[photon].colour = Mid(code, start + 2, 1);
        conditions[photon].size = Mid(code, start + 3, 1);
        conditions[photon].detector = UpperCase(Mid(code, start + 5, 1));
    }

    bool allPassed = true;
    for (int photon = 1; photon <= PhotonCount; ++photon) {
        const int verdicts[] = {
            LetterVerdict(conditions[photon].colour, PhotonState[photon][2]),
            SizeVerdict(photon, conditions),
            LetterVerdict(conditions[photon].detector, PhotonState[photon][3]),
        };
        if (std::find(std::begin(verdicts), std::end(verdicts), -1) != std::end(verdicts))
            allPassed = false;
    }
    if (!allPassed) {
        ShowVerdict(FailedText, FailedTitle);
        return;
    }

    const std::string required = Mid(code, PointsAt, PointsWidth);
    if (required == "0000" || PointsText(tallyCaption) == required)
        ShowVerdict(SolvedText, SolvedTitle);
    else
        ShowVerdict(std::string(FailedText) + PointsMissedText + required, FailedTitle);
}

}  // namespace quarvelt

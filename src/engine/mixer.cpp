#include "engine/mixer.h"

#include <vector>

#include "common/globals.h"
#include "common/tables.h"
#include "engine/frame_pictures.h"
#include "engine/picture_names.h"
#include "engine/stepping.h"
#include "engine/tallies.h"

namespace quarvelt {

MixerRecord CurrentMixerRec;
std::string MixerFirstFrame;
std::string MixerLastFrame;
int16_t MixerFrameCount = 0;
int16_t MixerNextCell = -1;
std::string CompileErrorText;

namespace {

// Who brought each input of a mixer entry, so that the photon going on is one
// of the two that met there, never one parked at another mixer.
struct Arrival {
    int16_t photon = 0;
    int16_t row = NoMixerRow;
};
using EntryArrivals = std::array<Arrival, 2>;
std::vector<std::array<EntryArrivals, MixerKinds>> Arrivals;

const std::string LockedUpText =
    "ERROR:  GAME LOCKED UP!\r\rCheck your puzzle for an endless loop.";

std::vector<PhotonFrameRow>* FrameTableOf(int16_t photon) {
    switch (photon) {
        case 1:
            return &PhotonFrameTable1;
        case 2:
            return &PhotonFrameTable2;
        case 3:
            return &PhotonFrameTable3;
        default:
            return nullptr;
    }
}

// Kind 0 cyan/red, 1 magenta/green, 2 yellow/blue; input 0 the red, green or
// blue photon, input 1 its complement.
bool KindOf(const std::string& colour, int& kind, int& input) {
    static const std::string First = "RGB", Second = "CMY";
    if (colour.size() != 1)
        return false;
    if (const auto at = First.find(colour[0]); at != std::string::npos) {
        kind = static_cast<int>(at);
        input = 0;
        return true;
    }
    if (const auto at = Second.find(colour[0]); at != std::string::npos) {
        kind = static_cast<int>(at);
        input = 1;
        return true;
    }
    return false;
}

std::string LetterAt(const std::string& name, size_t position) {
    return name.size() >= position ? name.substr(position - 1, 1) : std::string();
}

}  // namespace

std::string ProcessMixerPhoton(int16_t mode) {
    if (mode == -1) {
        PhotonTally.MixerRow.fill(NoMixerRow);
        Arrivals.assign(MixerInputTable.size(), {});
        return "I";
    }

    const MixerRecord& rec = CurrentMixerRec;
    MixerFirstFrame.clear();
    std::vector<PhotonFrameRow>* frames = FrameTableOf(rec.photon);
    const auto cell = static_cast<size_t>(rec.cell);
    if (rec.cell < 0 || cell >= MixerInputTable.size() ||
        (frames && (rec.frameRow < 0 || static_cast<size_t>(rec.frameRow) >= frames->size()))) {
        CompileErrorText = LockedUpText;
        return "E";
    }
    if (rec.photon >= 1 && rec.photon <= PhotonCount)
        PhotonTally.MixerRow[static_cast<size_t>(rec.photon)] = rec.frameRow;

    int kind = 0, input = 0;
    if (!KindOf(rec.colour, kind, input)) {
        CompileErrorText = "ERROR: INVALIED PHOTON COLOR!";
        return "E";
    }
    MixerInput& entry = MixerInputTable[cell][static_cast<size_t>(kind)];
    // Only a white photon leaving the board is a fault; the compile says so when
    // it relaunches one toward the edge.
    MixerNextCell = NeighbourCell(rec.cell, rec.direction);
    entry.nextCell = MixerNextCell;
    if (input == 0) {
        entry.firstArrived = "T";
        entry.size = LetterAt(rec.pictureName, 15);
        entry.direction = LetterAt(rec.pictureName, 17);
    } else {
        entry.secondArrived = "T";
    }
    if (Arrivals.size() < MixerInputTable.size())
        Arrivals.resize(MixerInputTable.size());
    EntryArrivals& arrivals = Arrivals[cell][static_cast<size_t>(kind)];
    arrivals[static_cast<size_t>(input)] = {rec.photon, rec.frameRow};

    const int frameTotal = rec.size == "S" ? 3 : (rec.size == "M" || rec.size == "L") ? 2 : 0;
    std::string frameName;
    for (int n = 1; n <= frameTotal; ++n) {
        frameName = FrameImageName(rec.pictureName, n);
        if (n == 1)
            MixerFirstFrame = frameName;
        if (frames)
            (*frames)[static_cast<size_t>(rec.frameRow)][static_cast<size_t>(n)] = frameName;
        if (!MakeFramePresent(frameName, CompileErrorText))
            return "E";
    }

    if (entry.firstArrived == "T" && entry.secondArrived == "T") {
        const Arrival& a = arrivals[0];
        const Arrival& b = arrivals[1];
        if (a.photon >= 1 && b.photon >= 1) {
            const bool aWins = a.row > b.row || (a.row == b.row && a.photon > b.photon);
            entry.continuingPhoton = aWins ? a.photon : b.photon;
        }
    }

    MixerLastFrame = frameName;
    MixerFrameCount = static_cast<int16_t>(frameTotal > 0 ? frameTotal : -1);
    return "_";
}

MixerArrival MixerPartner(int16_t cell, int kind) {
    if (cell < 0 || static_cast<size_t>(cell) >= Arrivals.size() || kind < 0 ||
        kind >= MixerKinds || static_cast<size_t>(cell) >= MixerInputTable.size())
        return {};
    const int16_t goesOn =
        MixerInputTable[static_cast<size_t>(cell)][static_cast<size_t>(kind)].continuingPhoton;
    for (const Arrival& arrival : Arrivals[static_cast<size_t>(cell)][static_cast<size_t>(kind)])
        if (arrival.photon >= 1 && arrival.photon <= PhotonCount && arrival.photon != goesOn)
            return {arrival.photon, arrival.row};
    return {};
}

}  // namespace quarvelt

#include "run_promises.h"

#include <map>
#include <optional>
#include <set>
#include <utility>

#include "common/globals.h"
#include "common/tables.h"
#include "engine/picture_names.h"

namespace quarvelt::fuzz {

namespace {

bool ShowsNoPhoton(const std::string& picture) {
    if (picture.empty() || picture == LitLampPicture)
        return true;
    const std::optional<ObjectImageParts> parts = ParseObjectImageName(picture);
    return parts && parts->ShowsNoPhoton();
}

}  // namespace

std::string BrokenRunPromise(const std::vector<Drawing>& drawings, double tallyBefore,
                             double tallyAfter) {
    std::set<int> drawn;
    std::map<int, std::string> shown;
    for (const Drawing& drawing : drawings) {
        drawn.insert(drawing.cell);
        shown[drawing.cell] = drawing.picture;
    }

    std::set<int> detectorEnds;
    std::set<std::pair<int, int>> bonuses;
    double points = 0;
    for (int p = 1; p <= PhotonCount; ++p) {
        for (const PhotonPathRow& row : PhotonPath(p)) {
            if (row.cell < 0 || row.frameCount < 1)
                continue;
            if (!drawn.count(row.cell))
                return "photon " + std::to_string(p) + "'s cell " + std::to_string(row.cell) +
                       " was never drawn";
            if (IsTrue(row.walkEnds) && row.firstFrame.starts_with("DET"))
                detectorEnds.insert(row.cell);
            const int kind = row.specialObject;
            const int slot = row.specialSlot;
            if (kind >= 1 && kind <= BonusKinds && slot >= 1 && slot <= BonusSlots &&
                BonusObjTable[kind][slot].cell == row.cell && bonuses.insert({kind, slot}).second)
                points += BonusObjTable[kind][slot].points;
        }
    }
    if (tallyAfter != tallyBefore + points)
        return "the tally went from " + std::to_string(tallyBefore) + " to " +
               std::to_string(tallyAfter) + ", not by the " + std::to_string(points) +
               " points on the paths";
    for (const auto& [cell, picture] : shown)
        if (!ShowsNoPhoton(picture) && !(detectorEnds.count(cell) && picture.starts_with("DET")))
            return "cell " + std::to_string(cell) + " still shows " + picture;
    return {};
}

}  // namespace quarvelt::fuzz

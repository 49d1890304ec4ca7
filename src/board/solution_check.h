// The verdict of a full run: the photons' end states and the collected game
// points against the current puzzle's special condition.
#pragma once

#include <string>

namespace quarvelt {

// Judges PhotonState and the tally text (the caption of GamTally) against
// SpecialCond and shows the verdict in one box. A condition numbered "00"
// shows nothing; a code without its "~" terminator or without a photon-1 block
// shows its error instead of a verdict. Codes shorter than 33 characters read
// as empty text past their end.
void CheckForSpecialCond(const std::string& tallyCaption);

}  // namespace quarvelt

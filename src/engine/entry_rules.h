// Which photons each board object lets into its cell, and the detectors'
// colours and sizes. Objects are named by the first five characters of their
// picture name; every comparison is exact and case-sensitive unless noted.
#pragma once

#include <string>

#include "common/globals.h"

namespace quarvelt {

// "" when a photon of this colour and size, travelling "L", "R", "T" or "B",
// may step into a cell holding the object; else the whole message the compiler
// shows, its lines separated by "\r". Any other travel text enters from no side.
std::string CheckPhotonEntry(const std::string& name, const std::string& colour,
                             const std::string& size, const std::string& travel);

// True when the code, upper-cased, is a detector and colour and size are its own.
Flag DetectorAccepts(const std::string& code, const std::string& colour, const std::string& size);

// The detector's colour letter; empty for anything but a detector's exact code.
std::string GetDetectorColor(const std::string& code);

}  // namespace quarvelt

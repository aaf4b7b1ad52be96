#pragma once

#include <string>
#include <vector>

#include "Papy/Files/FileFactory.h"
#include "Papy/Lp/LpFile.h"
#include "Papy/Track/Track.h"
#include "Velmar/Generators/VehicleModel.h"

namespace Ostra::Velmar {

// The grip offered for a new line: the race-line curves ("minrace", "maxrace", any
// letter case) drive far more cautiously than a racing line.
constexpr double DefaultLpGrip = 1.0;
constexpr double RaceLineLpGrip = 0.25;
double LpGripFor(const std::string& baseName);

// The flags words of the folder's LP of that base name, one per record: what the
// factory's LP cache holds (unsaved edits included) or reads. Empty when the folder
// has no such LP, its format has no flags, or anything about it fails: a new line
// then simply keeps its format's default flags, so failures are dropped here.
std::vector<unsigned> GatherLpFlags(const Papy::FileFactory& factory, const std::string& baseName);

// Turns the new, empty LP into the lap curve's line: every record gets the curve's
// latitude and speed shape, the flags when there is exactly one word per record,
// then the speeds the built-in car reaches with the grip. Returns the speed passes'
// record of the grip used at each record.
//
// Throws Util::XAssertion, changing nothing, when the curve has fewer records than
// the LP (a curve fitted in another folder), and passes on ComputeSpeeds' errors.
std::vector<GripRecord> GenerateLp(const Papy::LpFile& curve, Papy::LpFile& lp,
                                   const std::vector<unsigned>& flags, const Papy::Track& track,
                                   double grip);

} // namespace Ostra::Velmar

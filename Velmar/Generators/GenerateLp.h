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

// Throws Util::XUsage, naming both counts and spacings, unless the curve has at least
// as many records as the LP and the same spacing: record i of the LP is read from
// record i of the curve, so anything else would read past the curve or put the
// latitudes at the wrong longitudes (a curve fitted in another game's folder).
void CheckCurveFitsLp(const Papy::LpFile& curve, const Papy::LpFile& lp);

// Throws Util::XUsage, naming the LP as given ("the new LP"), when a latitude or
// speed of one of its records is not a finite number.
void CheckLpIsFinite(const Papy::LpFile& lp, const std::string& name);

// Turns the new, empty LP into the lap curve's line: every record gets the curve's
// latitude and speed shape (the yaw speed only where the format keeps one), the flags
// when there is exactly one word per record, then the speeds the built-in car reaches
// with the grip. Returns the speed passes' record of the grip used at each record.
//
// Throws the XUsage of CheckCurveFitsLp, or CheckLpIsFinite's for the curve, changing
// nothing; passes on ComputeSpeeds' errors; and throws the XUsage of
// CheckLpIsFinite should the speeds come out otherwise, so that such a line is never
// written.
std::vector<GripRecord> GenerateLp(const Papy::LpFile& curve, Papy::LpFile& lp,
                                   const std::vector<unsigned>& flags, const Papy::Track& track,
                                   double grip);

} // namespace Ostra::Velmar

#pragma once

#include <string>
#include <vector>

#include "Papy/Curve/LpFileCurve.h"
#include "Papy/Lp/LpFile.h"
#include "Papy/Track/Track.h"
#include "Physics/Curve.h"
#include "Util/CountedPtr.h"

namespace Ostra::Velmar {

// The largest distance (metres) a fitted lap curve may stray from the racing line it
// replaces, measured along each record's cross line.
constexpr double DefaultCurveTolerance = 0.5;
// The min/max race lines hug the corridor edges and need a tighter fit.
constexpr double RaceLineCurveTolerance = 0.1;

// The tolerance to offer when fitting the LP of this base name: the race-line LPs
// ("minrace", "maxrace", any letter case) get the tighter one.
double CurveToleranceFor(const std::string& baseName);

// The records of the LP a path runs through: those less than one spacing beyond the
// end of a lap of the given plan length.
std::vector<unsigned> LapRecords(const Papy::LpFile& lp, double lapLength);
// A closed path needs two of them.
inline constexpr std::size_t MinimumLapRecords = 2;

// Two closed plan curves x(s), y(s) through the plan positions of the LP's records,
// periodic over the track's plan length. Only records less than one spacing beyond
// the lap end take part.
//
// Throws Util::XAssertion for a track whose plan length is not a positive number, a
// spacing that is not, and an LP with fewer than two such records.
void MakePathCurves(const CountedPtr<Papy::LpFile>& lp, const CountedPtr<Papy::Track>& track,
                    CountedPtr<Physics::Curve>& x, CountedPtr<Physics::Curve>& y);

// As MakePathCurves over the given records (indices in increasing order).
void MakePathSplines(const CountedPtr<Papy::LpFile>& lp, const std::vector<unsigned>& records,
                     const CountedPtr<Papy::Track>& track, CountedPtr<Physics::Curve>& x,
                     CountedPtr<Physics::Curve>& y);

// Replaces the path curves x, y by a closed chain of cubic Hermite pieces between
// record longitudes (multiples of spacing), each as long as it can be while every
// record it spans lies within tolerance of the path along its cross line. A piece of
// one record step is always accepted, so a negative tolerance gives one piece per
// spacing. The results are periodic over the plan length, starting at the end of the
// first piece; they are C1 wherever the path curves are.
//
// Throws Util::XAssertion for a spacing or plan length that is not a positive
// number, a lap of more record steps than any LP holds, a NaN tolerance, and the
// curve classes' own assertions (no intersection found).
void FitLapCurve(const CountedPtr<Physics::Curve>& x, const CountedPtr<Physics::Curve>& y,
                 const CountedPtr<Papy::Track>& track, double spacing, double tolerance,
                 CountedPtr<Physics::Curve>& fittedX, CountedPtr<Physics::Curve>& fittedY);

// The lap curve of the LP's racing line over the track: the path curves fitted to the
// tolerance, with the LP's spacing and record count.
CountedPtr<Papy::LpFileCurve> GenerateCurve(const CountedPtr<Papy::LpFile>& lp,
                                            const CountedPtr<Papy::Track>& track, double tolerance);

} // namespace Ostra::Velmar

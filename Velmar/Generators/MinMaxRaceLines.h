#pragma once

#include <vector>

#include "Util/CountedPtr.h"
#include "Velmar/Generators/RaceCorridor.h"

namespace Ostra::Papy {
class CreateLp;
class IniFile;
class LpFile;
class LpFileCurve;
class Track;
} // namespace Ostra::Papy

namespace Ostra::Velmar {

// The track document's settings for the min/max race lines; distances in metres.
struct RaceLineSettings {
  double FitTolerance = 0.1;
  double MinimumRangeWidth = 3.0;
  // Clearance kept from a corridor edge of each side type.
  double VergeMargin = 1.5;
  double BarrierMargin = 1.5;
  double OtherMargin = 1.5;
  // How far ahead along the lap each record looks for the edge that constrains it.
  double LookAhead = 50.0;
};

// The clearance for an edge of this side type; every type but Barrier and Verge (Outer
// included) gets OtherMargin.
double GetSideMargin(const RaceLineSettings& settings, int side_type);

enum class CorridorEdge { Right, Left };

// Draws the line that hugs one edge of the corridor into every record of lp, by string
// pulling: from each record the line heads straight for the most constraining bound
// (edge latitude plus the margin inside) within the look-ahead window, extended to the
// end of the segment that holds the window's end. The records are visited twice so the
// line joins up across the start line. Record longitudes are taken as plan distances
// along the corridor; a record at or beyond the lap end copies the one before it.
//
// Throws Util::XAssertion for an empty corridor or one that does not start at 0 and
// run on without gaps, a record spacing that is not above 0 or longer than the lap, and
// a look-ahead that is not in [0, lap length).
void PullRaceLine(Papy::LpFile& lp, const std::vector<CorridorSegment>& corridor, CorridorEdge edge,
                  const RaceLineSettings& settings);

struct MinMaxRaceCurves {
  // Along the right edge of the corridor (smaller latitudes).
  CountedPtr<Papy::LpFileCurve> Min;
  // Along the left edge.
  CountedPtr<Papy::LpFileCurve> Max;
};

// The two race lines of the track as lap curves: the corridor of track and track.ini
// (a missing file reads as empty), each edge pulled into a new LP of the game made by
// lps ("velmar_minrace" and "velmar_maxrace", the game's default spacing) and fitted to
// the settings' tolerance. Nothing is written.
//
// Throws what BuildRaceCorridor, PullRaceLine and the lap-curve fitting throw; a
// corridor failure comes before any LP is made.
MinMaxRaceCurves CreateMinMaxRaceCurves(const CountedPtr<Papy::Track>& track,
                                        const Papy::IniFile& track_ini, Papy::CreateLp& lps,
                                        const RaceLineSettings& settings = {});

} // namespace Ostra::Velmar

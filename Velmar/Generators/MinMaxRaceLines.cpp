#include "Velmar/Generators/MinMaxRaceLines.h"

#include <cmath>
#include <cstddef>

#include "Papy/Curve/LpFileCurve.h"
#include "Papy/Files/Facets.h"
#include "Papy/Lp/IniFile.h"
#include "Papy/Lp/LpFile.h"
#include "Papy/Track/Track.h"
#include "Physics/Curve.h"
#include "Util/Exception.h"
#include "Velmar/Generators/LapCurveFitting.h"

namespace Ostra::Velmar {

namespace {

using Util::U32;

// Where a pull starts looking: far enough beyond any edge that the first bound tested
// always becomes the target.
constexpr double FarRight = -1000000.0;
constexpr double FarLeft = 1000000.0;

// The segment at or after cursor (cyclically) whose span holds position. Bounded, so a
// corridor with a gap fails instead of spinning.
std::size_t Locate(const std::vector<CorridorSegment>& corridor, std::size_t cursor,
                   double position) {
  const std::size_t n = corridor.size();
  for (std::size_t tries = 0; tries < n; ++tries) {
    const CorridorSegment& segment = corridor[cursor];
    if (segment.Start <= position && position <= segment.End)
      return cursor;
    cursor = (cursor + 1) % n;
  }
  Util::FailAssertion("a corridor segment holds every position of the lap", __FILE__, __LINE__);
}

class EdgePuller {
public:
  EdgePuller(const std::vector<CorridorSegment>& corridor, CorridorEdge edge,
             const RaceLineSettings& settings)
      : Corridor(corridor), Right(edge == CorridorEdge::Right), Settings(settings),
        Lap(corridor.back().End) {}

  // The latitude the line must not cross at a segment's start or end.
  double Bound(const CorridorSegment& segment, bool at_end) const {
    if (Right)
      return (at_end ? segment.RightEndLatitude : segment.RightStartLatitude) +
             GetSideMargin(Settings, segment.RightSideType);
    return (at_end ? segment.LeftEndLatitude : segment.LeftStartLatitude) -
           GetSideMargin(Settings, segment.LeftSideType);
  }

  double Forward(double from, double to) const {
    const double distance = to - from;
    return distance < 0.0 ? distance + Lap : distance;
  }

  void Pull(Papy::LpFile& lp) {
    const std::size_t n = Corridor.size();
    const double spacing = lp.GetRecordSpacing();
    const double look_ahead = Settings.LookAhead;
    UTIL_ASSERT(Lap > 0.0 && std::isfinite(Lap));
    UTIL_ASSERT(spacing > 0.0 && spacing <= Lap);
    UTIL_ASSERT(look_ahead >= 0.0 && look_ahead < Lap);
    CurrentLatitude = Bound(Corridor.front(), false);
    CurrentLongitude = Lap - spacing;
    std::size_t a = 0;
    std::size_t b = 0;
    const U32 count = lp.GetRecordCount();
    // The second pass starts where the first left off, so the line joins up across
    // the start line.
    for (int pass = 0; pass < 2; ++pass) {
      for (U32 i = 0; i < count; ++i) {
        a = Locate(Corridor, a, CurrentLongitude);
        double ahead = CurrentLongitude + look_ahead;
        if (ahead > Lap)
          ahead -= Lap;
        b = Locate(Corridor, b, ahead);
        TargetLongitude = Corridor[b].End;
        TargetLatitude = Right ? FarRight : FarLeft;
        // From the far end of the window back to the current segment, each bound the
        // line to the target would cross becomes the target. Segment a is always
        // walked, so a corridor of one segment, or a window reaching round to the
        // segment before a, still meets its bounds.
        for (std::size_t j = b;; j = (j + n - 1) % n) {
          Constrain(Corridor[j].End, Bound(Corridor[j], true));
          if (j == a)
            break;
          Constrain(Corridor[j].Start, Bound(Corridor[j], false));
        }
        const double longitude = lp.GetRecordLongitude(i);
        if (longitude >= Lap) {
          lp.SetRecordLatitude(i, i > 0 ? lp.GetRecordLatitude(i - 1) : CurrentLatitude);
          continue;
        }
        const double latitude = LineAt(longitude);
        lp.SetRecordLatitude(i, latitude);
        CurrentLatitude = latitude;
        CurrentLongitude = longitude;
      }
    }
  }

private:
  // The straight line from the current point to the target. A target at the current
  // point itself has no slope: the line jumps to it.
  double LineAt(double longitude) const {
    const double to_target = Forward(CurrentLongitude, TargetLongitude);
    if (to_target <= 0.0)
      return TargetLatitude;
    return CurrentLatitude + (TargetLatitude - CurrentLatitude) *
                                 Forward(CurrentLongitude, longitude) / to_target;
  }

  // Ties keep the farther target.
  void Constrain(double longitude, double bound) {
    const double line = LineAt(longitude);
    if (Right ? line < bound : line > bound) {
      TargetLongitude = longitude;
      TargetLatitude = bound;
    }
  }

  const std::vector<CorridorSegment>& Corridor;
  const bool Right;
  const RaceLineSettings& Settings;
  const double Lap;
  double CurrentLatitude = 0.0;
  double CurrentLongitude = 0.0;
  double TargetLongitude = 0.0;
  double TargetLatitude = 0.0;
};

CountedPtr<Papy::LpFileCurve> FitRaceLine(const CountedPtr<Papy::LpFile>& lp,
                                          const CountedPtr<Papy::Track>& track,
                                          double tolerance) {
  CountedPtr<Physics::Curve> x, y, fitted_x, fitted_y;
  MakePathCurves(lp, track, x, y);
  const double spacing = lp->GetRecordSpacing();
  FitLapCurve(x, y, track, spacing, tolerance, fitted_x, fitted_y);
  return CountedPtr<Papy::LpFileCurve>(
      new Papy::LpFileCurve(spacing, lp->GetRecordCount(), fitted_x, fitted_y, track));
}

} // namespace

double GetSideMargin(const RaceLineSettings& settings, int side_type) {
  if (side_type == SideType::Barrier)
    return settings.BarrierMargin;
  if (side_type == SideType::Verge)
    return settings.VergeMargin;
  return settings.OtherMargin;
}

void PullRaceLine(Papy::LpFile& lp, const std::vector<CorridorSegment>& corridor, CorridorEdge edge,
                  const RaceLineSettings& settings) {
  UTIL_ASSERT(!corridor.empty());
  EdgePuller(corridor, edge, settings).Pull(lp);
}

MinMaxRaceCurves CreateMinMaxRaceCurves(const CountedPtr<Papy::Track>& track,
                                        const Papy::IniFile& track_ini, Papy::CreateLp& lps,
                                        const RaceLineSettings& settings) {
  CorridorSettings corridor_settings;
  corridor_settings.MinimumRangeWidth = settings.MinimumRangeWidth;
  const std::vector<CorridorSegment> corridor =
      BuildRaceCorridor(*track, track_ini, corridor_settings);
  MinMaxRaceCurves curves;
  const CountedPtr<Papy::LpFile> min_lp = lps.Create("velmar_minrace", 0.0);
  PullRaceLine(*min_lp, corridor, CorridorEdge::Right, settings);
  curves.Min = FitRaceLine(min_lp, track, settings.FitTolerance);
  const CountedPtr<Papy::LpFile> max_lp = lps.Create("velmar_maxrace", 0.0);
  PullRaceLine(*max_lp, corridor, CorridorEdge::Left, settings);
  curves.Max = FitRaceLine(max_lp, track, settings.FitTolerance);
  return curves;
}

} // namespace Ostra::Velmar

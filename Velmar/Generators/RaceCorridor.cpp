#include "Velmar/Generators/RaceCorridor.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <locale>
#include <sstream>
#include <string>

#include "Papy/Lp/IniFile.h"
#include "Papy/Track/Track.h"
#include "Papy/Types/SurfaceType.h"
#include "Util/Exception.h"

namespace Ostra::Velmar {

namespace {

using Util::U32;

// The value every pit-lane number keeps when track.ini does not supply it.
constexpr double Absent = -1000.0;
constexpr const char* IniName = "track.ini";
// Real segments have a handful of bands. Crossing cross-section lines count as steps
// and can double the bands at every pair, so damaged tracks are stopped here.
constexpr std::size_t MaxRangesPerSegment = 64;

enum class StripKind { Drivable, Bounding, Other };

StripKind ClassifyStrip(int surface, S32& side_type) {
  switch (surface) {
  case Papy::SurfaceAsphalt:
  case Papy::SurfaceConcrete:
  case Papy::SurfacePaint:
    return StripKind::Drivable;
  case Papy::SurfaceDirt:
  case Papy::SurfaceGrass:
  case Papy::SurfaceGravel:
  case Papy::SurfaceRumbleStrip:
  case Papy::SurfaceSand:
    side_type = SideType::Verge;
    return StripKind::Bounding;
  case Papy::SurfaceInvisible:
  case Papy::SurfaceTrainTrack:
  case Papy::SurfaceUnknown:
  case Papy::SurfaceUnreachable:
  case Papy::SurfaceWater:
    side_type = SideType::Barrier;
    return StripKind::Bounding;
  default:
    return StripKind::Other;
  }
}

std::vector<Range> RangesFromSurfaces(const Papy::TrackSegment& segment) {
  std::vector<Range> ranges;
  bool open = false;
  S32 pending_side = SideType::Outer;
  Range range;
  const U32 strips = segment.GetFSectionCount();
  for (U32 k = 0; k < strips; ++k) {
    const CountedPtr<Papy::TrackFSection> strip = segment.GetFSection(k);
    S32 side = SideType::Outer;
    switch (ClassifyStrip(strip->GetSurfaceType(), side)) {
    case StripKind::Drivable:
      if (!open) {
        range = Range{};
        range.RightStartLatitude = strip->GetRightStartLatitude();
        range.RightEndLatitude = strip->GetRightEndLatitude();
        range.RightSideType = pending_side;
        open = true;
      }
      range.LeftStartLatitude = strip->GetLeftStartLatitude();
      range.LeftEndLatitude = strip->GetLeftEndLatitude();
      break;
    case StripKind::Bounding:
      if (open) {
        range.LeftSideType = side;
        ranges.push_back(range);
        open = false;
      }
      pending_side = side;
      break;
    case StripKind::Other:
      break;
    }
  }
  if (open) {
    range.LeftSideType = SideType::Outer;
    ranges.push_back(range);
  }
  return ranges;
}

bool StrictlyInside(double latitude, double right, double left) {
  return right < latitude && latitude < left;
}

void SplitAtWalls(const Papy::TrackSegment& segment, std::vector<Range>& ranges) {
  const U32 walls = segment.GetWSectionCount();
  for (U32 w = 0; w < walls; ++w) {
    const CountedPtr<Papy::TrackWSection> w_section = segment.GetWSection(w);
    const double start = w_section->GetStartLatitude();
    const double end = w_section->GetEndLatitude();
    for (std::size_t r = 0; r < ranges.size(); ++r) {
      Range& range = ranges[r];
      if (!StrictlyInside(start, range.RightStartLatitude, range.LeftStartLatitude) &&
          !StrictlyInside(end, range.RightEndLatitude, range.LeftEndLatitude))
        continue;
      UTIL_ASSERT_TEXT(start >= range.RightStartLatitude,
                       "w_section->GetStartLatitude() >= range.RightStartLatitude");
      UTIL_ASSERT_TEXT(start <= range.LeftStartLatitude,
                       "w_section->GetStartLatitude() <= range.LeftStartLatitude");
      UTIL_ASSERT_TEXT(end >= range.RightEndLatitude,
                       "w_section->GetEndLatitude() >= range.RightEndLatitude");
      UTIL_ASSERT_TEXT(end <= range.LeftEndLatitude,
                       "w_section->GetEndLatitude() <= range.LeftEndLatitude");
      Range beyond = range;
      beyond.RightStartLatitude = start;
      beyond.RightEndLatitude = end;
      beyond.RightSideType = SideType::Outer;
      range.LeftStartLatitude = start;
      range.LeftEndLatitude = end;
      range.LeftSideType = SideType::Outer;
      ranges.insert(ranges.begin() + static_cast<std::ptrdiff_t>(r) + 1, beyond);
      break;
    }
  }
}

bool Inverted(const Range& range) {
  return range.RightStartLatitude > range.LeftStartLatitude ||
         range.RightEndLatitude > range.LeftEndLatitude;
}

void SplitAtSteps(const Papy::TrackSegment& segment, const CorridorSettings& settings,
                  std::vector<Range>& ranges) {
  const U32 lines = segment.GetXSectionCount();
  for (U32 i = 1; i < lines; ++i) {
    const CountedPtr<Papy::TrackXSection> lower = segment.GetXSection(i - 1);
    const CountedPtr<Papy::TrackXSection> upper = segment.GetXSection(i);
    const double lower_start = lower->GetStartLatitude();
    const double lower_end = lower->GetEndLatitude();
    const double upper_start = upper->GetStartLatitude();
    const double upper_end = upper->GetEndLatitude();
    const double gap_start = upper_start - lower_start;
    const double gap_end = upper_end - lower_end;
    const double factor = gap_start >= settings.StepGap && gap_end >= settings.StepGap
                              ? settings.WideStepFactor
                              : settings.NarrowStepFactor;
    const bool step =
        gap_start < factor * std::fabs(upper->GetStartAltitude() - lower->GetStartAltitude()) ||
        gap_end < factor * std::fabs(upper->GetEndAltitude() - lower->GetEndAltitude());
    if (!step)
      continue;
    std::size_t r = 0;
    while (r < ranges.size()) {
      Range& range = ranges[r];
      const bool cut =
          (upper_start > range.RightStartLatitude && lower_start < range.LeftStartLatitude) ||
          (upper_end > range.RightEndLatitude && lower_end < range.LeftEndLatitude);
      if (!cut) {
        ++r;
        continue;
      }
      Range upper_piece = range;
      upper_piece.RightStartLatitude = upper_start;
      upper_piece.RightEndLatitude = upper_end;
      upper_piece.RightSideType = SideType::Barrier;
      range.LeftStartLatitude = lower_start;
      range.LeftEndLatitude = lower_end;
      range.LeftSideType = SideType::Barrier;
      // The reference dies with the insertion.
      std::size_t next = r + 1;
      if (!Inverted(upper_piece)) {
        UTIL_ASSERT(ranges.size() < MaxRangesPerSegment);
        ranges.insert(ranges.begin() + static_cast<std::ptrdiff_t>(r) + 1, upper_piece);
        next = r + 2;
      }
      if (Inverted(ranges[r])) {
        ranges.erase(ranges.begin() + static_cast<std::ptrdiff_t>(r));
        --next;
      }
      r = next;
    }
  }
}

bool Narrower(const Range& range, double minimum) {
  return range.LeftStartLatitude - range.RightStartLatitude < minimum ||
         range.LeftEndLatitude - range.RightEndLatitude < minimum;
}

void RemoveNarrow(std::vector<Range>& ranges, double minimum) {
  std::erase_if(ranges, [minimum](const Range& range) { return Narrower(range, minimum); });
}

// Two numbers of a track.ini value; each keeps its old value when the text does not
// supply it. Stream extraction in the classic locale decides what a number is.
void ReadNumbers(const std::string& text, double& first, double& second) {
  std::istringstream in(text);
  in.imbue(std::locale::classic());
  double value = 0.0;
  if (in >> value)
    first = value;
  if (in >> value)
    second = value;
}

} // namespace

std::vector<Range> FindSegmentRanges(const Papy::TrackSegment& segment,
                                     const CorridorSettings& settings) {
  std::vector<Range> ranges = RangesFromSurfaces(segment);
  SplitAtWalls(segment, ranges);
  SplitAtSteps(segment, settings, ranges);
  RemoveNarrow(ranges, settings.MinimumRangeWidth);
  return ranges;
}

std::vector<PitLane> ReadPitLanes(const Papy::IniFile& track_ini) {
  std::vector<PitLane> lanes;
  for (std::size_t n = 0;; ++n) {
    const std::string section = "pit_lane_" + std::to_string(n);
    double from = Absent, to = Absent, right = Absent, left = Absent;
    ReadNumbers(track_ini.GetValue(section, "lane_bounds_dlong", "-1000.0 -1000.0"), from, to);
    ReadNumbers(track_ini.GetValue(section, "lane_bounds_dlat", "-1000.0 -1000.0"), right, left);
    const bool others_absent = from == Absent && to == Absent && left == Absent;
    const bool any_other_absent = from == Absent || to == Absent || left == Absent;
    if (right == Absent) {
      if (!others_absent)
        throw Util::XFileFormat(IniName, "Pit lane bounds not completely present");
      if (lanes.empty())
        throw Util::XFileFormat(IniName, "Pit lane bounds not present");
      return lanes;
    }
    if (any_other_absent)
      throw Util::XFileFormat(IniName, "Pit lane bounds not completely present");
    std::istringstream side(track_ini.GetValue(section, "lane_on_right", "0"));
    side.imbue(std::locale::classic());
    int on_right = 0;
    side >> on_right;
    lanes.push_back({from, to, right, left, on_right == 1});
  }
}

namespace {

struct SegmentRanges {
  double Start = 0.0;
  double End = 0.0;
  // Candidates, right to left.
  std::vector<Range> Track;
};

struct RoutePart {
  U32 SegmentIndex = 0;
  U32 RangeIndex = 0;
};

using Route = std::vector<RoutePart>;

bool TouchesSegment(const PitLane& lane, const SegmentRanges& segment) {
  // A lane that ends where it begins has no length; read as crossing the start line it
  // would cut the whole lap.
  if (lane.From == lane.To)
    return false;
  if (lane.From < lane.To)
    return segment.Start < lane.To && lane.From < segment.End;
  return segment.Start < lane.To || lane.From < segment.End;
}

// Cuts the range down to its part on the track side of the lane.
void CutToTrackSide(const PitLane& lane, Range& range) {
  const double a = lane.RightLatitude;
  const double b = lane.LeftLatitude;
  if (lane.OnRight) {
    range.RightStartLatitude = std::max(range.RightStartLatitude, a);
    range.RightEndLatitude = std::max(range.RightEndLatitude, a);
    for (double* edge : {&range.RightStartLatitude, &range.RightEndLatitude,
                         &range.LeftStartLatitude, &range.LeftEndLatitude})
      *edge = std::max(*edge, b);
  } else {
    range.LeftStartLatitude = std::min(range.LeftStartLatitude, b);
    range.LeftEndLatitude = std::min(range.LeftEndLatitude, b);
    for (double* edge : {&range.RightStartLatitude, &range.RightEndLatitude,
                         &range.LeftStartLatitude, &range.LeftEndLatitude})
      *edge = std::min(*edge, a);
  }
}

void ApplyPitLane(const PitLane& lane, double minimum, std::vector<SegmentRanges>& ranges) {
  const double a = lane.RightLatitude;
  const double b = lane.LeftLatitude;
  for (SegmentRanges& seg_ranges : ranges) {
    if (!TouchesSegment(lane, seg_ranges))
      continue;
    std::vector<Range>& track = seg_ranges.Track;
    std::size_t r = 0;
    while (r < track.size()) {
      Range& range = track[r];
      const bool covered = a <= range.RightStartLatitude && b >= range.LeftStartLatitude &&
                           a <= range.RightEndLatitude && b >= range.LeftEndLatitude;
      const bool overlaps = (range.RightStartLatitude < b && a < range.LeftStartLatitude) ||
                            (range.RightEndLatitude < b && a < range.LeftEndLatitude);
      bool remove = covered;
      if (!covered && overlaps) {
        CutToTrackSide(lane, range);
        remove = Narrower(range, minimum);
      }
      if (remove)
        track.erase(track.begin() + static_cast<std::ptrdiff_t>(r));
      else
        ++r;
    }
    UTIL_ASSERT_TEXT(seg_ranges.Track.size() > 0, "seg_ranges.Track.size() > 0");
  }
}

double MeanLatitude(const Range& range) {
  return (range.RightStartLatitude + range.RightEndLatitude + range.LeftStartLatitude +
          range.LeftEndLatitude) *
         0.25;
}

// How far a route strays from the centre line where it differs from the other one.
double Cost(const std::vector<SegmentRanges>& ranges, const Route& route, const Route& other) {
  double cost = 0.0;
  for (std::size_t k = 0; k < route.size() && k < other.size(); ++k) {
    if (route[k].RangeIndex == other[k].RangeIndex)
      continue;
    const double mean = MeanLatitude(ranges[route[k].SegmentIndex].Track[route[k].RangeIndex]);
    cost += mean * mean;
  }
  return cost;
}

// Keeps one route per end range: of two that meet, the one nearer the centre line
// survives, the later one on a tie. Routes that meet share their future, so the
// number of routes never exceeds the ranges of one segment.
void MergeRoutes(const std::vector<SegmentRanges>& ranges, std::vector<Route>& routes) {
  for (;;) {
    bool found = false;
    std::size_t p = 0, q = 0;
    for (std::size_t i = 0; i < routes.size() && !found; ++i) {
      for (std::size_t j = i + 1; j < routes.size() && !found; ++j) {
        if (routes[i].back().RangeIndex == routes[j].back().RangeIndex) {
          found = true;
          p = i;
          q = j;
        }
      }
    }
    if (!found)
      return;
    const bool drop_p = Cost(ranges, routes[q], routes[p]) <= Cost(ranges, routes[p], routes[q]);
    routes.erase(routes.begin() + static_cast<std::ptrdiff_t>(drop_p ? p : q));
  }
}

bool Holds(const Range& range, double latitude) {
  return range.RightStartLatitude <= latitude && latitude <= range.LeftStartLatitude &&
         range.RightEndLatitude <= latitude && latitude <= range.LeftEndLatitude;
}

std::vector<Route> StartRoute(const Papy::IniFile& track_ini,
                              const std::vector<SegmentRanges>& ranges) {
  double distance = 0.0, latitude = 0.0;
  ReadNumbers(track_ini.GetValue("starting_grid_0", "stall_0", "0.0 0.0"), distance, latitude);
  std::vector<Route> routes;
  for (std::size_t s = 0; s < ranges.size(); ++s) {
    if (!(ranges[s].Start <= distance && distance <= ranges[s].End))
      continue;
    const std::vector<Range>& track = ranges[s].Track;
    for (std::size_t r = 0; r < track.size(); ++r) {
      if (Holds(track[r], latitude)) {
        routes.push_back({{static_cast<U32>(s), static_cast<U32>(r)}});
        break;
      }
    }
    break;
  }
  UTIL_ASSERT_TEXT(!routes.empty(), "!route_alternatives.empty()");
  return routes;
}

bool Overlap(const Range& previous, const Range& candidate, double minimum) {
  const double low = std::max(previous.RightEndLatitude, candidate.RightStartLatitude);
  const double high = std::min(previous.LeftEndLatitude, candidate.LeftStartLatitude);
  return high - low >= minimum;
}

void ExtendRoutes(const std::vector<SegmentRanges>& ranges, double minimum, bool last_step,
                  std::vector<Route>& routes) {
  const std::size_t n = ranges.size();
  const U32 segment_index = static_cast<U32>((routes.front().back().SegmentIndex + 1) % n);
  const std::vector<Range>& track = ranges[segment_index].Track;
  const std::size_t visiting = routes.size();
  std::size_t r = 0;
  for (std::size_t visited = 0; visited < visiting; ++visited) {
    const RoutePart prev_route_part = routes[r].back();
    UTIL_ASSERT_TEXT((prev_route_part.SegmentIndex + 1) % n == segment_index,
                     "(prev_route_part.SegmentIndex + 1) % ranges.size() == segment_index");
    const Range& previous = ranges[prev_route_part.SegmentIndex].Track[prev_route_part.RangeIndex];
    std::vector<U32> candidates;
    for (U32 c = 0; c < track.size(); ++c) {
      if (last_step && c != routes[r].front().RangeIndex)
        continue;
      if (Overlap(previous, track[c], minimum))
        candidates.push_back(c);
    }
    if (candidates.empty()) {
      routes.erase(routes.begin() + static_cast<std::ptrdiff_t>(r));
      continue;
    }
    routes[r].push_back({segment_index, candidates.front()});
    for (std::size_t k = 1; k < candidates.size(); ++k) {
      Route branch = routes[r];
      branch.back().RangeIndex = candidates[k];
      routes.push_back(std::move(branch));
    }
    ++r;
  }
}

} // namespace

std::vector<CorridorSegment> BuildRaceCorridor(const Papy::Track& track,
                                               const Papy::IniFile& track_ini,
                                               const CorridorSettings& settings) {
  const double minimum = settings.MinimumRangeWidth;
  const U32 n = track.GetSegmentCount();
  std::vector<SegmentRanges> ranges;
  ranges.reserve(n);
  double start = 0.0;
  for (U32 s = 0; s < n; ++s) {
    const CountedPtr<Papy::TrackSegment> segment = track.GetSegment(s);
    SegmentRanges segment_ranges;
    segment_ranges.Start = start;
    segment_ranges.End = start + segment->GetLength2D();
    segment_ranges.Track = FindSegmentRanges(*segment, settings);
    UTIL_ASSERT_TEXT(segment_ranges.Track.size() > 0, "segment_ranges.Track.size() > 0");
    start = segment_ranges.End;
    ranges.push_back(std::move(segment_ranges));
  }

  for (const PitLane& lane : ReadPitLanes(track_ini))
    ApplyPitLane(lane, minimum, ranges);

  std::vector<Route> route_alternatives = StartRoute(track_ini, ranges);
  for (U32 t = 0; t < n; ++t) {
    ExtendRoutes(ranges, minimum, t + 1 == n, route_alternatives);
    UTIL_ASSERT_TEXT(route_alternatives.size() > 0, "route_alternatives.size() > 0");
    MergeRoutes(ranges, route_alternatives);
  }

  UTIL_ASSERT_TEXT(route_alternatives.size() == 1, "route_alternatives.size() == 1");
  const Route& route = route_alternatives.front();
  UTIL_ASSERT_TEXT(route.size() == ranges.size() + 1,
                   "route_alternatives[0].size() == ranges.size() + 1");
  std::vector<const Range*> chosen(n, nullptr);
  for (std::size_t k = 0; k + 1 < route.size(); ++k)
    chosen[route[k].SegmentIndex] = &ranges[route[k].SegmentIndex].Track[route[k].RangeIndex];

  std::vector<CorridorSegment> corridor;
  corridor.reserve(n);
  for (U32 s = 0; s < n; ++s) {
    const Range& range = *chosen[s];
    corridor.push_back({ranges[s].Start, ranges[s].End, range.RightStartLatitude,
                        range.RightEndLatitude, range.RightSideType, range.LeftStartLatitude,
                        range.LeftEndLatitude, range.LeftSideType});
  }
  return corridor;
}

} // namespace Ostra::Velmar

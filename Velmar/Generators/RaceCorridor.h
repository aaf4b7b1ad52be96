#pragma once

#include <vector>

#include "Util/Types.h"

namespace Ostra::Papy {
class IniFile;
class Track;
class TrackSegment;
} // namespace Ostra::Papy

namespace Ostra::Velmar {

using Util::S32;

// What bounds one edge of a corridor range. The race lines keep a different clearance
// from each kind.
namespace SideType {
// The outermost edge of a segment's surfaces, or a wall.
constexpr S32 Outer = 0;
// A steep step between cross-section lines, or ground no car may enter (invisible,
// train track, unknown, unreachable, water).
constexpr S32 Barrier = 1;
// Ground a car may run onto but should not race on (dirt, grass, gravel, rumble
// strip, sand).
constexpr S32 Verge = 2;
} // namespace SideType

// One lateral band of a segment. Latitudes in metres grow to the left, so the right
// edge has the smaller latitude; each edge is straight between its latitude at the
// segment's start and at its end.
struct Range {
  double RightStartLatitude = 0.0;
  double RightEndLatitude = 0.0;
  S32 RightSideType = SideType::Outer;
  double LeftStartLatitude = 0.0;
  double LeftEndLatitude = 0.0;
  S32 LeftSideType = SideType::Outer;
};

// The band of one segment that the race lines must keep to. Start and End are plan
// distances along the lap: segment 0 starts at 0 and each segment is as long as its
// plan length.
struct CorridorSegment {
  double Start = 0.0;
  double End = 0.0;
  double RightStartLatitude = 0.0;
  double RightEndLatitude = 0.0;
  S32 RightSideType = SideType::Outer;
  double LeftStartLatitude = 0.0;
  double LeftEndLatitude = 0.0;
  S32 LeftSideType = SideType::Outer;
};

struct CorridorSettings {
  // Metres. A band narrower than this at either end is no band, and consecutive
  // segments' bands must share at least this much across their common edge.
  double MinimumRangeWidth = 3.0;
  // Two neighbouring cross-section lines form a step where, at either end, their
  // lateral gap is less than the factor times their altitude difference: the wide
  // factor when they lie at least StepGap apart at both ends, else the narrow one.
  double StepGap = 3.0;
  double NarrowStepFactor = 6.0;
  double WideStepFactor = 1.0;
};

// The candidate bands of one segment, right to left: the runs of drivable surface
// (asphalt, concrete, paint), split at every wall that stands inside one and at every
// steep step between cross-section lines, without the bands narrower than the minimum
// width. Throws Util::XAssertion for a wall whose centre line enters a band at one end
// and leaves it at the other, and for cross-section lines that cross each other so
// often that the bands multiply beyond any real segment's.
std::vector<Range> FindSegmentRanges(const Papy::TrackSegment& segment,
                                     const CorridorSettings& settings);

// One pit lane of track.ini: the plan distances where it begins and ends (it crosses
// the start line when From is above To; one that ends where it begins cuts nothing)
// and its lateral band.
struct PitLane {
  double From = 0.0;
  double To = 0.0;
  double RightLatitude = 0.0;
  double LeftLatitude = 0.0;
  bool OnRight = false;
};

// The pit lanes of track.ini: sections "pit_lane_0", "pit_lane_1" and so on, up to
// the first without a lateral band. Throws Util::XFileFormat (file "track.ini") with
// "Pit lane bounds not completely present" when a lane lacks one of its four bounds,
// and "Pit lane bounds not present" when there is no lane at all.
std::vector<PitLane> ReadPitLanes(const Papy::IniFile& track_ini);

// The corridor of the whole lap, one band per track segment in segment order: the
// bands of consecutive segments overlap by at least the minimum width, the chain
// starts at the band holding the first grid stall of track.ini ("starting_grid_0",
// "stall_0"; plan distance 0, latitude 0 without one) and closes on it after one lap,
// and no band enters a pit lane. Where several chains are possible, the one that
// keeps nearer the centre line wins.
//
// Throws the XFileFormat of ReadPitLanes, and Util::XAssertion for the damaged
// segments of FindSegmentRanges, a segment without a drivable band
// ("segment_ranges.Track.size() > 0"), a pit lane that leaves a segment without one
// ("seg_ranges.Track.size() > 0"), a grid stall outside every band
// ("!route_alternatives.empty()") and a lap with no closed chain
// ("route_alternatives.size() > 0").
std::vector<CorridorSegment> BuildRaceCorridor(const Papy::Track& track,
                                               const Papy::IniFile& track_ini,
                                               const CorridorSettings& settings = {});

} // namespace Ostra::Velmar

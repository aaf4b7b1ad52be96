#pragma once

#include "Util/Types.h"

namespace Ostra::Papy {

// The plan of an N4 track segment as its file gives it: the centre line's two end points
// (metres) and headings (radians, a heading h pointing along (cos h, sin h)), and whether
// the centre line between them is a circular arc or a straight.
struct SegmentPlan {
  bool IsCurve = false;
  double StartX = 0.0;
  double StartY = 0.0;
  double EndX = 0.0;
  double EndY = 0.0;
  double StartOrientation = 0.0;
  double EndOrientation = 0.0;
};

// Centre (metres), radius of the centre line (metres, never negative) and sweep
// (radians, positive for a left-hand, counter-clockwise turn).
struct SegmentArc {
  double CentreX = 0.0;
  double CentreY = 0.0;
  double Radius = 0.0;
  double Sweep = 0.0;
};

// The circle through both ends that is tangent to both headings, and the arc on it
// that leaves the start along its heading. End normals that point in opposite
// directions (up to rounding) make a half circle around the chord's midpoint; past
// half a turn the sweep turns towards the side on which the centre lies. Throws
// XAssertion "denominator1 != 0.0" for end normals that point the same way, and
// "fabs(centre_x1 - centre_x2) < 0.001" or its y twin when the ends do not lie on one
// such circle. Meaningful for arcs only.
SegmentArc ComputeSegmentArc(const SegmentPlan& plan);

// Plan length of the centre line: |radius * sweep| of an arc, the chord of a straight.
// Throws what ComputeSegmentArc throws for an arc.
double ComputeSegmentLength2D(const SegmentPlan& plan);

// The heading at segment fraction t (0 at the start, 1 at the end), interpolated the
// short way round the 2 Pi wrap.
double InterpolateSegmentHeading(const SegmentPlan& plan, double t);

// The heading at fraction t along the arc: as InterpolateSegmentHeading where the
// short way round turns the arc's way, otherwise the start heading turned by t times
// the sweep, within [0, 2 Pi). The ends are returned as stored.
double InterpolateArcHeading(const SegmentPlan& plan, const SegmentArc& arc, double t);

struct PlanPoint {
  double X = 0.0;
  double Y = 0.0;
  double Orientation = 0.0;
};

// The plan point at fraction t and latitude (metres, growing to the left). With a null
// arc the point lies on the chord between the ends, offset along the interpolated normal,
// which is how straights are laid out; otherwise it lies on the arc's concentric circle.
PlanPoint ComputePlanPoint(const SegmentPlan& plan, const SegmentArc* arc, double t,
                           double latitude);

// A cross line's latitude, altitude (both metres) and slope (altitude change per whole
// segment) at the segment's two ends; the altitude along the segment is their Hermite cubic.
struct CrossLine {
  double StartLatitude = 0.0;
  double EndLatitude = 0.0;
  double StartAltitude = 0.0;
  double EndAltitude = 0.0;
  double StartSlope = 0.0;
  double EndSlope = 0.0;
};

struct CrossSample {
  double Latitude = 0.0;
  double Altitude = 0.0;
  double Slope = 0.0;
};

CrossSample SampleCrossLine(const CrossLine& line, double t);

// Height, pitch and bank (radians) of the surface at one place.
struct Elevation {
  double Z = 0.0;
  double Pitch = 0.0;
  double Bank = 0.0;
};

// Between the two consecutive lines that bracket the latitude (the lower one's latitude
// at or below it, the upper one's above it), the altitude and slope are interpolated
// linearly and the bank follows the rise between them. Outside every pair the nearest
// end line gives the altitude and slope and the bank is 0: the first line below the
// first latitude, the last line otherwise. The pitch is the arcsine of the slope, which
// is held to [-1, 1] so that steep profiles give a vertical pitch rather than NaN. No
// lines at all give a flat surface at altitude 0.
// line_at(i) returns the CrossLine of line i, for i below count.
template <class LineAt>
Elevation ComputeElevation(U32 count, const LineAt& line_at, double t, double latitude);

// Which of count surface lines gives the surface at a latitude. Line k is the right
// edge of strip k and carries that strip's surface, so a latitude inside a strip takes
// the strip's right line: the line before the first one whose latitude at the place,
// latitude_at(i), is above it. Below every line this is the first line, at or above the
// last line the last one. count must not be 0.
template <class LatitudeAt>
U32 FindSurfaceLine(U32 count, const LatitudeAt& latitude_at, double latitude);

// Details follow.

Elevation ElevationBetween(const CrossSample& a, const CrossSample& b, double latitude);
Elevation ElevationOn(const CrossSample& a);

template <class LineAt>
Elevation ComputeElevation(U32 count, const LineAt& line_at, double t, double latitude) {
  if (count == 0)
    return Elevation{};
  CrossSample a = SampleCrossLine(line_at(0), t);
  if (latitude < a.Latitude)
    return ElevationOn(a);
  for (U32 i = 0; i + 1 < count; ++i) {
    const CrossSample b = SampleCrossLine(line_at(i + 1), t);
    if (a.Latitude <= latitude && latitude < b.Latitude)
      return ElevationBetween(a, b, latitude);
    a = b;
  }
  return ElevationOn(a);
}

template <class LatitudeAt>
U32 FindSurfaceLine(U32 count, const LatitudeAt& latitude_at, double latitude) {
  for (U32 i = 0; i < count; ++i)
    if (latitude_at(i) > latitude)
      return i == 0 ? 0 : i - 1;
  return count - 1;
}

} // namespace Ostra::Papy

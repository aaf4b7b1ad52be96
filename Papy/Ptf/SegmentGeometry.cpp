#include "Papy/Ptf/SegmentGeometry.h"

#include <algorithm>
#include <cmath>

#include "Util/Exception.h"
#include "Util/StringUtil.h"

namespace Ostra::Papy {

namespace {

constexpr double TwoPi = 2.0 * Util::Pi;
// How far apart the two centre estimates of an arc may lie, metres.
constexpr double CentreTolerance = 0.001;

} // namespace

SegmentArc ComputeSegmentArc(const SegmentPlan& plan) {
  const double x1 = plan.StartX;
  const double y1 = plan.StartY;
  const double x2 = plan.EndX;
  const double y2 = plan.EndY;
  // The centre lies on both end normals, which point to the left of the headings.
  double a1 = plan.StartOrientation + Util::Pi / 2.0;
  double a2 = plan.EndOrientation + Util::Pi / 2.0;
  const double c1 = std::cos(a1);
  const double s1 = std::sin(a1);
  const double c2 = std::cos(a2);
  const double s2 = std::sin(a2);
  const double denominator1 = s1 * c2 - c1 * s2;
  UTIL_ASSERT(denominator1 != 0.0);
  const double denominator2 = -denominator1;
  const double t1 = ((y2 - y1) * c2 + (x1 - x2) * s2) / denominator1;
  const double t2 = ((y1 - y2) * c1 + (x2 - x1) * s1) / denominator2;
  const double centre_x1 = x1 + t1 * c1;
  const double centre_y1 = y1 + t1 * s1;
  const double centre_x2 = x2 + t2 * c2;
  const double centre_y2 = y2 + t2 * s2;
  UTIL_ASSERT_TEXT(std::fabs(centre_x1 - centre_x2) < CentreTolerance,
                   "fabs(centre_x1 - centre_x2) < 0.001");
  UTIL_ASSERT_TEXT(std::fabs(centre_y1 - centre_y2) < CentreTolerance,
                   "fabs(centre_y1 - centre_y2) < 0.001");

  SegmentArc arc;
  arc.CentreX = centre_x1;
  arc.CentreY = centre_y1;
  arc.Radius = std::sqrt((t1 * c1) * (t1 * c1) + (t1 * s1) * (t1 * s1));
  // Headings either side of the wrap (6.2 and 0.1) turn the short way.
  if (std::fabs(a2 - a1) > Util::Pi) {
    if (a1 < a2)
      a1 += TwoPi;
    else
      a2 += TwoPi;
  }
  arc.Sweep = a2 - a1;
  return arc;
}

double ComputeSegmentLength2D(const SegmentPlan& plan) {
  if (plan.IsCurve) {
    const SegmentArc arc = ComputeSegmentArc(plan);
    return std::fabs(arc.Radius * arc.Sweep);
  }
  const double dx = plan.EndX - plan.StartX;
  const double dy = plan.EndY - plan.StartY;
  return std::sqrt(dx * dx + dy * dy);
}

double InterpolateSegmentHeading(const SegmentPlan& plan, double t) {
  if (t == 0.0)
    return plan.StartOrientation;
  if (t == 1.0)
    return plan.EndOrientation;
  double h1 = plan.StartOrientation;
  double h2 = plan.EndOrientation;
  if (std::fabs(h1 - h2) > Util::Pi) {
    if (h1 < h2)
      h1 += TwoPi;
    else
      h2 += TwoPi;
  }
  double h = (1.0 - t) * h1 + t * h2;
  if (h > TwoPi)
    h -= TwoPi;
  return h;
}

PlanPoint ComputePlanPoint(const SegmentPlan& plan, const SegmentArc* arc, double t,
                           double latitude) {
  PlanPoint point;
  point.Orientation = InterpolateSegmentHeading(plan, t);
  const double h = point.Orientation;
  if (arc == nullptr) {
    point.X = (1.0 - t) * plan.StartX + t * plan.EndX + std::cos(h + Util::Pi / 2.0) * latitude;
    point.Y = (1.0 - t) * plan.StartY + t * plan.EndY + std::sin(h + Util::Pi / 2.0) * latitude;
    return point;
  }
  // Right-hand arcs have their centre on the right, so a positive latitude leads away
  // from it; left-hand arcs have it on the left.
  double r = 0.0;
  double angle = 0.0;
  if (arc->Sweep <= 0.0) {
    r = arc->Radius + latitude;
    angle = h + Util::Pi / 2.0;
  } else {
    r = arc->Radius - latitude;
    angle = h - Util::Pi / 2.0;
  }
  point.X = arc->CentreX + std::cos(angle) * r;
  point.Y = arc->CentreY + std::sin(angle) * r;
  return point;
}

CrossSample SampleCrossLine(const CrossLine& line, double t) {
  const double p0 = line.StartAltitude;
  const double p1 = line.EndAltitude;
  const double m0 = line.StartSlope;
  const double m1 = line.EndSlope;
  const double b = m0;
  const double c = 3.0 * (p1 - p0) - 2.0 * m0 - m1;
  const double d = m0 + m1 - 2.0 * (p1 - p0);
  CrossSample sample;
  sample.Latitude = (1.0 - t) * line.StartLatitude + t * line.EndLatitude;
  sample.Altitude = p0 + t * (b + t * (c + t * d));
  sample.Slope = b + t * (2.0 * c + t * 3.0 * d);
  return sample;
}

namespace {

double PitchOf(double slope) { return std::asin(std::clamp(slope, -1.0, 1.0)); }

} // namespace

Elevation ElevationBetween(const CrossSample& a, const CrossSample& b, double latitude) {
  const double width = b.Latitude - a.Latitude;
  const double rise = b.Altitude - a.Altitude;
  const double f = (latitude - a.Latitude) / width;
  Elevation elevation;
  elevation.Z = a.Altitude + f * rise;
  elevation.Pitch = PitchOf(a.Slope + f * (b.Slope - a.Slope));
  elevation.Bank = std::atan2(rise, width);
  return elevation;
}

Elevation ElevationOn(const CrossSample& a) {
  Elevation elevation;
  elevation.Z = a.Altitude;
  elevation.Pitch = PitchOf(a.Slope);
  elevation.Bank = 0.0;
  return elevation;
}

} // namespace Ostra::Papy

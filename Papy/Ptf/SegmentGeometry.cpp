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
// End normals this close to opposite (the sine of the angle between them) belong to a
// half circle. There the normals' crossing is lost in rounding, while the chord's
// midpoint lies within radius * HalfTurnTolerance / 2 of the true centre.
constexpr double HalfTurnTolerance = 1e-7;

void CheckCentres(double centre_x1, double centre_y1, double centre_x2, double centre_y2) {
  UTIL_ASSERT_TEXT(std::fabs(centre_x1 - centre_x2) < CentreTolerance,
                   "fabs(centre_x1 - centre_x2) < 0.001");
  UTIL_ASSERT_TEXT(std::fabs(centre_y1 - centre_y2) < CentreTolerance,
                   "fabs(centre_y1 - centre_y2) < 0.001");
}

// The turn from normal angle a1 to a2 in the given direction: within (0, 2 Pi] to
// the left, within [-2 Pi, 0) to the right.
double TurnBetween(double a1, double a2, bool left) {
  double turn = std::remainder(a2 - a1, TwoPi);
  if (left && turn <= 0.0)
    turn += TwoPi;
  else if (!left && turn >= 0.0)
    turn -= TwoPi;
  return turn;
}

// Ends whose normals point in opposite directions lie on a half circle around the
// chord's midpoint, on the side of the start that the start normal faces.
SegmentArc HalfCircle(const SegmentPlan& plan, double c1, double s1, double c2, double s2,
                      double a1, double a2) {
  const double dx = plan.EndX - plan.StartX;
  const double dy = plan.EndY - plan.StartY;
  // Signed distances from each end along its normal to the centre, if the chord lies
  // along the normals; when it does not, the two estimates part and the check fails.
  const double t1 = (dx * c1 + dy * s1) / 2.0;
  const double t2 = -(dx * c2 + dy * s2) / 2.0;
  CheckCentres(plan.StartX + t1 * c1, plan.StartY + t1 * s1, plan.EndX + t2 * c2,
               plan.EndY + t2 * s2);
  SegmentArc arc;
  arc.CentreX = plan.StartX + dx / 2.0;
  arc.CentreY = plan.StartY + dy / 2.0;
  arc.Radius = std::sqrt(dx * dx + dy * dy) / 2.0;
  arc.Sweep = TurnBetween(a1, a2, t1 >= 0.0);
  return arc;
}

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
  if (c1 * c2 + s1 * s2 < 0.0 && std::fabs(denominator1) <= HalfTurnTolerance)
    return HalfCircle(plan, c1, s1, c2, s2, a1, a2);
  UTIL_ASSERT(denominator1 != 0.0);
  const double denominator2 = -denominator1;
  const double t1 = ((y2 - y1) * c2 + (x1 - x2) * s2) / denominator1;
  const double t2 = ((y1 - y2) * c1 + (x2 - x1) * s1) / denominator2;
  const double centre_x1 = x1 + t1 * c1;
  const double centre_y1 = y1 + t1 * s1;
  const double centre_x2 = x2 + t2 * c2;
  const double centre_y2 = y2 + t2 * s2;
  CheckCentres(centre_x1, centre_y1, centre_x2, centre_y2);

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
  // The short way round is the arc's way for less than half a turn. Past that it turns
  // against the centre, which lies to the left of both ends of a left-hand arc and to
  // the right of both ends of a right-hand one.
  if (t1 > 0.0 && t2 > 0.0 && arc.Sweep < 0.0)
    arc.Sweep += TwoPi;
  else if (t1 < 0.0 && t2 < 0.0 && arc.Sweep > 0.0)
    arc.Sweep -= TwoPi;
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

double InterpolateArcHeading(const SegmentPlan& plan, const SegmentArc& arc, double t) {
  const double heading = InterpolateSegmentHeading(plan, t);
  if (t == 0.0 || t == 1.0)
    return heading;
  // The short way round turns the arc's way for less than half a turn, and may at half
  // a turn; otherwise the heading follows the sweep from the start.
  double turn = plan.EndOrientation - plan.StartOrientation;
  if (std::fabs(turn) > Util::Pi)
    turn += turn < 0.0 ? TwoPi : -TwoPi;
  const bool same_way = (turn > 0.0 && arc.Sweep > 0.0) || (turn < 0.0 && arc.Sweep < 0.0);
  if (same_way || arc.Sweep == 0.0)
    return heading;
  double turned = std::fmod(plan.StartOrientation + t * arc.Sweep, TwoPi);
  if (turned < 0.0)
    turned += TwoPi;
  return turned;
}

PlanPoint ComputePlanPoint(const SegmentPlan& plan, const SegmentArc* arc, double t,
                           double latitude) {
  PlanPoint point;
  point.Orientation =
      arc == nullptr ? InterpolateSegmentHeading(plan, t) : InterpolateArcHeading(plan, *arc, t);
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

#include "Papy/Ptf/SegmentGeometry.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Util/Exception.h"

namespace Ostra::Papy {
namespace {

const double Pi = std::acos(-1.0);
constexpr double Tolerance = 1e-9;

SegmentPlan Arc(double x1, double y1, double h1, double x2, double y2, double h2) {
  return SegmentPlan{true, x1, y1, x2, y2, h1, h2};
}

SegmentPlan Straight(double x1, double y1, double x2, double y2, double h) {
  return SegmentPlan{false, x1, y1, x2, y2, h, h};
}

// A left-hand arc of the radius turning through angle from the origin, heading along +x.
SegmentPlan LeftTurn(double radius, double angle) {
  return Arc(0, 0, 0, radius * std::sin(angle), radius - radius * std::cos(angle), angle);
}

// Its mirror image in the x axis, with the end heading stored within [0, 2 Pi).
SegmentPlan RightTurn(double radius, double angle) {
  return Arc(0, 0, 0, radius * std::sin(angle), radius * std::cos(angle) - radius,
             std::fmod(2 * Pi - angle, 2 * Pi));
}

std::string AssertionText(const SegmentPlan& plan) {
  try {
    ComputeSegmentArc(plan);
  } catch (const Util::XAssertion& e) {
    return e.What();
  }
  return "no assertion";
}

TEST(SegmentGeometryTest, ArcsFromEndsAndHeadings) {
  struct Case {
    const char* Name;
    SegmentPlan Plan;
    double CentreX, CentreY, Radius, Sweep;
  };
  const double r = 20.0;
  const std::vector<Case> cases = {
      {"left quarter", Arc(0, 0, 0, 10, 10, Pi / 2), 0, 10, 10, Pi / 2},
      {"right quarter", Arc(0, 0, 0, 10, -10, -Pi / 2), 0, -10, 10, -Pi / 2},
      // 6.2 and 0.1 lie either side of the wrap: a short left turn, not nearly a whole turn.
      {"left across the wrap", Arc(r * std::sin(6.2), -r * std::cos(6.2), 6.2, r * std::sin(0.1),
                                   -r * std::cos(0.1), 0.1),
       0, 0, r, 0.1 + 2 * Pi - 6.2},
      {"right across the wrap", Arc(-r * std::sin(0.1), r * std::cos(0.1), 0.1,
                                    -r * std::sin(6.2), r * std::cos(6.2), 6.2),
       0, 0, r, -(0.1 + 2 * Pi - 6.2)},
      // Half circles: the end normals are opposite, so only the chord places the centre.
      {"left half", Arc(0, 0, 0, 0, 100, Pi), 0, 50, 50, Pi},
      {"left half from heading Pi", Arc(0, 100, Pi, 0, 0, 0), 0, 50, 50, Pi},
      {"right half", Arc(0, 0, 0, 0, -100, Pi), 0, -50, 50, -Pi},
      {"right half up to 3 Pi / 2", Arc(0, 0, Pi / 2, 100, 0, 3 * Pi / 2), 50, 0, 50, -Pi},
      {"left half, end heading a rounding step past Pi",
       Arc(0, 0, 0, 0, 100, std::nextafter(Pi, 4.0)), 0, 50, 50, Pi},
      {"left half, turned and moved", Arc(10, 20, 1.0, 10 - 60 * std::sin(1.0), 20 + 60 * std::cos(1.0), 1.0 + Pi),
       10 - 30 * std::sin(1.0), 20 + 30 * std::cos(1.0), 30, Pi},
      // Past half a turn the sweep turns towards the centre's side, not the short way.
      {"left 200", LeftTurn(50, 200 * Pi / 180), 0, 50, 50, 200 * Pi / 180},
      {"right 200", RightTurn(50, 200 * Pi / 180), 0, -50, 50, -200 * Pi / 180},
      {"left 270", LeftTurn(50, 1.5 * Pi), 0, 50, 50, 1.5 * Pi},
      {"right 270", RightTurn(50, 1.5 * Pi), 0, -50, 50, -1.5 * Pi},
  };
  for (const Case& c : cases) {
    const SegmentArc arc = ComputeSegmentArc(c.Plan);
    EXPECT_NEAR(arc.CentreX, c.CentreX, Tolerance) << c.Name;
    EXPECT_NEAR(arc.CentreY, c.CentreY, Tolerance) << c.Name;
    EXPECT_NEAR(arc.Radius, c.Radius, Tolerance) << c.Name;
    EXPECT_NEAR(arc.Sweep, c.Sweep, Tolerance) << c.Name;
    EXPECT_NEAR(ComputeSegmentLength2D(c.Plan), std::fabs(c.Radius * c.Sweep), Tolerance) << c.Name;
  }
  EXPECT_NEAR(ComputeSegmentLength2D(Arc(0, 0, 0, 10, 10, Pi / 2)), 5 * Pi, Tolerance);
  EXPECT_DOUBLE_EQ(ComputeSegmentLength2D(Straight(1, 2, 4, 6, 0.9)), 5.0);
}

TEST(SegmentGeometryTest, EndsThatAreNoArcFailTheirAssertion) {
  // Same heading at both ends: the normals never meet.
  EXPECT_NE(AssertionText(Arc(0, 0, 0, 10, 0, 0)).find("denominator1 != 0.0"), std::string::npos);
  // Nearly parallel normals meet so far away that the estimates from the two ends drift apart.
  EXPECT_NE(AssertionText(Arc(0, 0, 0, 10, 100, 1e-14)).find("fabs(centre_y1 - centre_y2) < 0.001"),
            std::string::npos);
  EXPECT_THROW(ComputeSegmentLength2D(Arc(0, 0, 0, 10, 0, 0)), Util::XAssertion);
  // Opposite headings at ends that are not across a diameter: no circle is tangent to both.
  EXPECT_NE(AssertionText(Arc(0, 0, 0, 10, 100, Pi)).find("fabs(centre_x1 - centre_x2) < 0.001"),
            std::string::npos);
  EXPECT_NE(AssertionText(Arc(0, 0, Pi / 2, 100, 10, 3 * Pi / 2)).find("fabs(centre_y1 - centre_y2) < 0.001"),
            std::string::npos);
}

TEST(SegmentGeometryTest, HeadingsInterpolateTheShortWayRound) {
  struct Case {
    double H1, H2, T, Expected;
  };
  const std::vector<Case> cases = {
      {0.5, 1.5, 0.0, 0.5},
      {0.5, 1.5, 1.0, 1.5},
      {0.5, 1.5, 0.25, 0.75},
      {6.2, 0.1, 0.5, std::fmod((6.2 + 0.1 + 2 * Pi) / 2, 2 * Pi)},
      {0.1, 6.2, 0.5, (0.1 + 2 * Pi + 6.2) / 2 - 2 * Pi},
      // The ends are returned as stored, whatever their range.
      {6.2, 0.1, 1.0, 0.1},
      {-1.0, 7.0, 0.0, -1.0},
  };
  for (const Case& c : cases) {
    const SegmentPlan plan = Arc(0, 0, c.H1, 0, 0, c.H2);
    EXPECT_NEAR(InterpolateSegmentHeading(plan, c.T), c.Expected, Tolerance)
        << c.H1 << " " << c.H2 << " " << c.T;
  }
}

TEST(SegmentGeometryTest, PlanPointsOffsetAlongTheNormal) {
  const SegmentPlan left = Arc(0, 0, 0, 10, 10, Pi / 2);
  const SegmentArc left_arc = ComputeSegmentArc(left);
  const SegmentPlan right = Arc(0, 0, 0, 10, -10, -Pi / 2);
  const SegmentArc right_arc = ComputeSegmentArc(right);
  const double half = std::sqrt(0.5);
  struct Case {
    const char* Name;
    const SegmentPlan* Plan;
    const SegmentArc* Arc;
    double T, Latitude, X, Y, Orientation;
  };
  const SegmentPlan straight = Straight(0, 0, 10, 0, 0);
  const SegmentPlan left_half = Arc(0, 100, Pi, 0, 0, 0);
  const SegmentArc left_half_arc = ComputeSegmentArc(left_half);
  const SegmentPlan left_270 = LeftTurn(50, 1.5 * Pi);
  const SegmentArc left_270_arc = ComputeSegmentArc(left_270);
  const SegmentPlan right_270 = RightTurn(50, 1.5 * Pi);
  const SegmentArc right_270_arc = ComputeSegmentArc(right_270);
  const std::vector<Case> cases = {
      {"straight middle, left", &straight, nullptr, 0.5, 2, 5, 2, 0},
      {"straight end, right", &straight, nullptr, 1.0, -3, 10, -3, 0},
      {"left arc start", &left, &left_arc, 0.0, 0, 0, 0, 0},
      {"left arc end", &left, &left_arc, 1.0, 0, 10, 10, Pi / 2},
      // A positive latitude on a left-hand arc moves towards the centre (0, 10).
      {"left arc middle, inside", &left, &left_arc, 0.5, 4, 6 * half, 10 - 6 * half, Pi / 4},
      // On a right-hand arc it moves away from the centre (0, -10).
      {"right arc middle, outside", &right, &right_arc, 0.5, 4, 14 * half, -10 + 14 * half, -Pi / 4},
      // Laid out as a straight, an arc's point lies on the chord, offset along the normal.
      {"left arc as chord", &left, nullptr, 0.5, 1, 5 - half, 5 + half, Pi / 4},
      // Half a turn and more: the heading follows the sweep, not the short way round.
      {"left half from Pi, middle", &left_half, &left_half_arc, 0.5, 2, -48, 50, 3 * Pi / 2},
      {"left 270, middle", &left_270, &left_270_arc, 0.5, 0, 50 * half, 50 + 50 * half, 3 * Pi / 4},
      {"left 270, two thirds", &left_270, &left_270_arc, 2.0 / 3, 0, 0, 100, Pi},
      {"right 270, middle", &right_270, &right_270_arc, 0.5, 0, 50 * half, -50 - 50 * half, 5 * Pi / 4},
      {"right 270, two thirds", &right_270, &right_270_arc, 2.0 / 3, 2, 0, -102, Pi},
  };
  for (const Case& c : cases) {
    const PlanPoint p = ComputePlanPoint(*c.Plan, c.Arc, c.T, c.Latitude);
    EXPECT_NEAR(p.X, c.X, Tolerance) << c.Name;
    EXPECT_NEAR(p.Y, c.Y, Tolerance) << c.Name;
    EXPECT_NEAR(p.Orientation, c.Orientation, Tolerance) << c.Name;
  }
}

TEST(SegmentGeometryTest, CrossLinesFollowTheirHermiteCubic) {
  const CrossLine line{-2, 4, 0, 1, 0, 0};
  struct Case {
    double T, Latitude, Altitude, Slope;
  };
  for (const Case& c : std::vector<Case>{{0, -2, 0, 0}, {0.5, 1, 0.5, 1.5}, {1, 4, 1, 0}}) {
    const CrossSample s = SampleCrossLine(line, c.T);
    EXPECT_NEAR(s.Latitude, c.Latitude, Tolerance) << c.T;
    EXPECT_NEAR(s.Altitude, c.Altitude, Tolerance) << c.T;
    EXPECT_NEAR(s.Slope, c.Slope, Tolerance) << c.T;
  }
  const CrossLine sloped{0, 0, 3, 5, 0.25, -0.5};
  EXPECT_NEAR(SampleCrossLine(sloped, 0).Slope, 0.25, Tolerance);
  EXPECT_NEAR(SampleCrossLine(sloped, 1).Slope, -0.5, Tolerance);
  EXPECT_NEAR(SampleCrossLine(sloped, 1).Altitude, 5, Tolerance);
}

TEST(SegmentGeometryTest, ElevationBetweenTheBracketingLines) {
  // Flat lines at latitudes -5, 0 and 5 with altitudes 1, 2 and 4 and slopes 0.1, 0.2, 0.4.
  const std::vector<CrossLine> lines = {
      {-5, -5, 1, 1, 0.1, 0.1}, {0, 0, 2, 2, 0.2, 0.2}, {5, 5, 4, 4, 0.4, 0.4}};
  const auto line_at = [&](U32 i) { return lines[i]; };
  struct Case {
    const char* Name;
    double Latitude, Z, Slope, Bank;
  };
  const std::vector<Case> cases = {
      {"on the first line", -5, 1, 0.1, std::atan2(1, 5)},
      {"between the first two", -2.5, 1.5, 0.15, std::atan2(1, 5)},
      {"exactly on the middle line", 0, 2, 0.2, std::atan2(2, 5)},
      {"between the last two", 2.5, 3, 0.3, std::atan2(2, 5)},
      {"on the last line", 5, 4, 0.4, 0},
      {"below the first", -9, 1, 0.1, 0},
      {"above the last", 9, 4, 0.4, 0},
  };
  for (const Case& c : cases) {
    const Elevation e = ComputeElevation(3, line_at, 0.0, c.Latitude);
    EXPECT_NEAR(e.Z, c.Z, Tolerance) << c.Name;
    EXPECT_NEAR(e.Pitch, std::asin(c.Slope), Tolerance) << c.Name;
    EXPECT_NEAR(e.Bank, c.Bank, Tolerance) << c.Name;
  }
}

TEST(SegmentGeometryTest, ElevationKeepsToFiniteValues) {
  // Slopes beyond one give a vertical pitch instead of NaN.
  const std::vector<CrossLine> steep = {{0, 0, 0, 30, 12, 12}, {0, 0, 0, 30, -12, -12}};
  EXPECT_DOUBLE_EQ(ComputeElevation(1, [&](U32 i) { return steep[i]; }, 0, 0).Pitch, Pi / 2);
  EXPECT_DOUBLE_EQ(ComputeElevation(1, [&](U32 i) { return steep[1 + i]; }, 0, 0).Pitch, -Pi / 2);
  // Two lines on one latitude never form a pair, so nothing divides by their zero width.
  const std::vector<CrossLine> same = {{1, 1, 2, 2, 0, 0}, {1, 1, 3, 3, 0, 0}};
  const Elevation e = ComputeElevation(2, [&](U32 i) { return same[i]; }, 0.5, 1);
  EXPECT_EQ(e.Z, 3.0);
  EXPECT_EQ(e.Bank, 0.0);
  // A segment without lines is flat at 0.
  const Elevation none = ComputeElevation(0, [&](U32 i) { return same[i]; }, 0.5, 1);
  EXPECT_EQ(none.Z, 0.0);
  EXPECT_EQ(none.Pitch, 0.0);
}

// The strip between two lines takes the surface of its right line, as the strips the
// track model lists do.
TEST(SegmentGeometryTest, SurfaceLineIsTheRightEdgeOfTheStripUnderTheLatitude) {
  const std::vector<double> latitudes = {-4, 0, 4};
  const auto at = [&](U32 i) { return latitudes[i]; };
  struct Case {
    double Latitude;
    U32 Line;
  };
  for (const Case& c : std::vector<Case>{{-9, 0}, {-4, 0}, {-1, 0}, {0, 1}, {3.9, 1}, {4, 2}, {9, 2}})
    EXPECT_EQ(FindSurfaceLine(3, at, c.Latitude), c.Line) << c.Latitude;
}

} // namespace
} // namespace Ostra::Papy

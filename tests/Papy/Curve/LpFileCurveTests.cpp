#include "Papy/Curve/LpFileCurve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "Physics/CurveCubic.h"
#include "Physics/CurvePeriodic.h"
#include "Physics/CurvePiecewise.h"
#include "Physics/CurveShim.h"
#include "Util/Exception.h"
#include "tests/Papy/Curve/LapCurveFixtures.h"

namespace Ostra::Test {
namespace {

using Papy::LpFileCurve;
using PointRecord = LpFileCurve::PointRecord;

constexpr double Spacing = 3.0;
// A curve through a control point passes the cross-section there to within the
// intersection tolerance.
constexpr double AtControlPoint = 1e-5;

CountedPtr<Papy::Track> Circle() { return CountedPtr<Papy::Track>(new OvalTrack(100.0, 0.0)); }
const OvalTrack& Oval(const CountedPtr<Papy::Track>& t) { return dynamic_cast<OvalTrack&>(*t); }

// A lap curve at constant latitude with a control point every `every` records.
LpFileCurve LineCurve(const CountedPtr<Papy::Track>& track, double latitude, unsigned every) {
  const auto points = LinePoints(Oval(track), latitude, Spacing, every);
  return LpFileCurve(
      StreamOver(LcvImage(3, Spacing, LapRecordCount(Oval(track), Spacing), points).U32(0).Data()),
      track);
}

std::string AssertionText(const Util::XAssertion& e) { return e.Expression; }

template <class F>
std::string AssertionOf(F&& f) {
  try {
    f();
  } catch (const Util::XAssertion& e) {
    return AssertionText(e);
  }
  return "no assertion";
}

// --- Sampling against analytic tracks -------------------------------------------

struct LineCase {
  const char* Name;
  double Radius;
  double Straight;
  double Latitude;
  unsigned Every; // records between control points
};

// Cubic Hermite interpolation with exact end slopes over pieces of length h errs by
// at most h^4 M / 384 in value, h^3 M / (72 sqrt 3) in slope and about h^2 M / 12 in
// second derivative, M bounding the fourth derivative. On a circle of radius
// r = R - c run at plan speed r / R, M = r / R^4 and the curvature is 1 / r.
constexpr double Margin = 1.25;
// At the joins of straights and turns the curvature jumps and the bounds do not hold.
constexpr double OvalLatitudeTolerance = 0.05;
constexpr double OvalLateralTolerance = 0.02;

class SamplesTheLine : public testing::TestWithParam<LineCase> {};

TEST_P(SamplesTheLine, WithItsLatitudeHeadingAndCurvature) {
  const LineCase& c = GetParam();
  const CountedPtr<Papy::Track> track(new OvalTrack(c.Radius, c.Straight));
  const LpFileCurve curve = LineCurve(track, c.Latitude, c.Every);
  ASSERT_EQ(curve.GetRecordCount(), LapRecordCount(Oval(track), Spacing));
  // The last record lies past the lap end and is sampled through the wrap.
  EXPECT_GT(curve.GetRecordLongitude(curve.GetRecordCount() - 1), Oval(track).Length);

  const bool circle = c.Straight == 0.0;
  const double h = c.Every * Spacing;
  const double r = c.Radius - c.Latitude;
  const double m = r / std::pow(c.Radius, 4.0);
  // Slopes and curvature are per metre of the line, which runs at r / R per metre.
  const double speed = r / c.Radius;
  const double latitude_tolerance =
      circle ? Margin * std::pow(h, 4.0) * m / 384.0 : OvalLatitudeTolerance;
  const double lateral_tolerance =
      circle ? Margin * std::pow(h, 3.0) * m / (72.0 * std::sqrt(3.0)) / speed
             : OvalLateralTolerance;
  const double curvature_tolerance = Margin * h * h * m / 12.0 / (speed * speed);
  for (U32 i = 0; i < curve.GetRecordCount(); ++i) {
    SCOPED_TRACE("record " + std::to_string(i));
    EXPECT_NEAR(curve.GetRecordLatitude(i), c.Latitude, latitude_tolerance);
    EXPECT_NEAR(curve.GetRecordLateralSpeed(i), 0.0, lateral_tolerance);
    if (circle) {
      EXPECT_NEAR(curve.GetRecordYawSpeed(i), 1.0 / r, curvature_tolerance);
    }
    EXPECT_EQ(curve.GetRecordLongitudinalSpeed(i), 1.0);
    const double lateral = curve.GetRecordLateralSpeed(i);
    EXPECT_DOUBLE_EQ(curve.GetRecordSpeed(i), std::sqrt(1.0 + lateral * lateral));
  }
}

INSTANTIATE_TEST_SUITE_P(LpFileCurve, SamplesTheLine,
                         testing::Values(LineCase{"CentreOfCircle", 100.0, 0.0, 0.0, 4},
                                         LineCase{"InsideOfCircle", 100.0, 0.0, 6.5, 4},
                                         LineCase{"OutsideOfCircle", 100.0, 0.0, -8.0, 4},
                                         LineCase{"SparseCircle", 100.0, 0.0, 2.0, 16},
                                         LineCase{"Oval", 80.0, 150.0, 3.0, 4}),
                         [](const testing::TestParamInfo<LineCase>& test) {
                           return std::string(test.param.Name);
                         });

TEST(LpFileCurve, TwoControlPointsMakeTwoPiecesTheSecondClosingOntoTheFirstALapLater) {
  const auto track = Circle();
  const double lap = Oval(track).Length;
  const std::vector<PointRecord> points{LinePoint(Oval(track), 0.0, 30.0),
                                        LinePoint(Oval(track), 0.0, 330.0)};
  const LpFileCurve curve(
      StreamOver(LcvImage(3, Spacing, LapRecordCount(Oval(track), Spacing), points).U32(0).Data()),
      track);
  for (const auto& c : {curve.GetFirstCurve(), curve.GetSecondCurve()}) {
    const auto& periodic = dynamic_cast<const Physics::CurvePeriodic&>(*c);
    EXPECT_EQ(periodic.GetBegin(), 30.0);
    EXPECT_EQ(periodic.GetEnd(), 30.0 + lap);
    const auto& pieces = dynamic_cast<const Physics::CurvePiecewise&>(*periodic.GetInner());
    ASSERT_EQ(pieces.GetSegments().size(), 2u);
    EXPECT_EQ(pieces.GetSegments()[1].Begin, 330.0);
    EXPECT_EQ(pieces.GetSegments()[1].End, 30.0 + lap);
  }
  // Both curves pass through the first point again one lap on.
  EXPECT_NEAR(curve.GetFirstCurve()->Evaluate(30.0 + lap), points[0].X, 1e-9);
  EXPECT_NEAR(curve.GetSecondCurve()->Evaluate(30.0 + lap), points[0].Y, 1e-9);
  // Handing out a curve shares it.
  EXPECT_EQ(curve.GetFirstCurve().UseCount(), 2);
}

// --- Control points ---------------------------------------------------------------

TEST(LpFileCurve, FindsControlPointsOnlyAtTheirExactRecordLongitudes) {
  const auto track = Circle();
  const LpFileCurve curve = LineCurve(track, 0.0, 4); // records 0, 4, 8, ...
  const U32 count = static_cast<U32>(curve.GetControlPoints().size());
  EXPECT_EQ(curve.FindControlPoint(0), 0u);
  EXPECT_EQ(curve.FindControlPoint(8), 2u);
  EXPECT_TRUE(curve.IsControlPoint(8));
  for (const U32 between : {1u, 7u, curve.GetRecordCount() - 1}) {
    EXPECT_EQ(curve.FindControlPoint(between), count);
    EXPECT_FALSE(curve.IsControlPoint(between));
  }
  const PointRecord p = curve.GetControlPoint(8);
  EXPECT_EQ(p, curve.GetControlPoints()[2]);
  EXPECT_EQ(p.Longitude, 27.0);
}

TEST(LpFileCurve, MakingARecordAControlPointAndClearingItGivesTheRecordsBackExactly) {
  const auto track = Circle();
  LpFileCurve curve = LineCurve(track, 1.5, 8);
  const LpFileCurve before = curve;
  curve.SetControlPoint(5, true);
  EXPECT_TRUE(curve.IsControlPoint(5));
  EXPECT_EQ(curve.GetControlPoints().size(), before.GetControlPoints().size() + 1);
  // The new point takes what the record sampled, so the line barely moves.
  EXPECT_NEAR(curve.GetRecordLatitude(5), before.GetRecordLatitude(5), 1e-6);
  curve.SetControlPoint(5, true); // already one: nothing happens
  curve.SetControlPoint(5, false);
  EXPECT_EQ(curve.GetControlPoints(), before.GetControlPoints());
  EXPECT_EQ(curve.GetRecords(), before.GetRecords());
  curve.SetControlPoint(6, false); // not one: nothing happens
  EXPECT_EQ(curve.GetRecords(), before.GetRecords());
}

TEST(LpFileCurve, PutControlPointReplacesThePointAtItsLongitudeOrAddsItInOrder) {
  const auto track = Circle();
  LpFileCurve curve = LineCurve(track, 0.0, 8);
  const std::size_t count = curve.GetControlPoints().size();

  PointRecord moved = LinePoint(Oval(track), 2.0, 27.0); // record 8's point, moved in
  curve.PutControlPoint(moved);
  EXPECT_EQ(curve.GetControlPoints().size(), count);
  EXPECT_EQ(curve.GetControlPoint(8), moved);
  EXPECT_NEAR(curve.GetRecordLatitude(8), 2.0, AtControlPoint);

  const PointRecord added = LinePoint(Oval(track), 1.0, 30.0); // record 9
  curve.PutControlPoint(added);
  ASSERT_EQ(curve.GetControlPoints().size(), count + 1);
  EXPECT_EQ(curve.GetControlPoints()[2], added);
  EXPECT_NEAR(curve.GetRecordLatitude(9), 1.0, AtControlPoint);

  // A longitude between records is kept although no record selects it.
  curve.PutControlPoint(LinePoint(Oval(track), 0.0, 106.5));
  EXPECT_EQ(curve.GetControlPoints().size(), count + 2);
  EXPECT_FALSE(curve.IsControlPoint(34));
  EXPECT_FALSE(curve.IsControlPoint(35));
}

// The first and the last control point take their neighbour across the lap's seam.
class SetsAControlPointsLatitude : public testing::TestWithParam<int> {};

TEST_P(SetsAControlPointsLatitude, LeavingItsNeighboursWhereTheyWere) {
  const auto track = Circle();
  LpFileCurve curve = LineCurve(track, 0.0, 8);
  const auto before = curve.GetControlPoints();
  const U32 k = GetParam() >= 0 ? static_cast<U32>(GetParam())
                                : static_cast<U32>(before.size() - 1);
  const U32 record = static_cast<U32>(std::lround(before[k].Longitude / Spacing)) - 1;
  curve.SetRecordLatitude(record, 4.0);
  EXPECT_NEAR(curve.GetRecordLatitude(record), 4.0, AtControlPoint);
  const auto after = curve.GetControlPoints();
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t j = 0; j < after.size(); ++j)
    if (j != k) {
      EXPECT_EQ(after[j], before[j]) << "control point " << j;
    }
  EXPECT_EQ(after[k].Longitude, before[k].Longitude);
}

INSTANTIATE_TEST_SUITE_P(LpFileCurve, SetsAControlPointsLatitude, testing::Values(0, 3, -1));

TEST(LpFileCurve, AFailedRemovalLeavesTheCurveAndItsFileUnchanged) {
  const auto track = Circle();
  const std::vector<PointRecord> points{LinePoint(Oval(track), 0.0, 30.0),
                                        LinePoint(Oval(track), 0.0, 330.0)};
  LpFileCurve curve(
      StreamOver(LcvImage(3, Spacing, LapRecordCount(Oval(track), Spacing), points).U32(0).Data()),
      track);
  curve.SetRecordSpeedLimit(20, 40.0);
  const LpFileCurve before = curve;
  const auto bytes = WrittenBytes(curve);

  EXPECT_EQ(AssertionOf([&] { curve.RemoveControlPoint(0); }), "end > begin");
  EXPECT_EQ(AssertionOf([&] { curve.SetControlPoint(109, false); }), "end > begin");
  EXPECT_EQ(curve.GetControlPoints(), before.GetControlPoints());
  EXPECT_EQ(curve.GetRecords(), before.GetRecords());
  EXPECT_EQ(curve.GetFirstCurve(), before.GetFirstCurve());
  EXPECT_EQ(WrittenBytes(curve), bytes);
}

TEST(LpFileCurve, RefusesWhatTheCurveCannotTake) {
  const auto track = Circle();
  LpFileCurve curve = LineCurve(track, 0.0, 8);
  const LpFileCurve before = curve;
  const struct {
    const char* What;
    std::function<void()> Call;
    const char* Assertion;
  } cases[] = {
      {"longitudinal speed", [&] { curve.SetRecordLongitudinalSpeed(0, 1.0); }, "false"},
      {"lateral speed", [&] { curve.SetRecordLateralSpeed(0, 1.0); }, "false"},
      {"yaw speed", [&] { curve.SetRecordYawSpeed(0, 1.0); }, "false"},
      {"latitude off a control point", [&] { curve.SetRecordLatitude(1, 1.0); },
       "IsControlPoint(record_index)"},
      {"control point of a plain record", [&] { curve.GetControlPoint(1); },
       "IsControlPoint(record_index)"},
      {"removal past the last point", [&] { curve.RemoveControlPoint(1000); },
       "k < ControlPoints.size()"},
      {"point at an existing longitude", [&] { curve.AddControlPoint(0); }, "end > begin"},
      {"point a lap away", [&] { curve.PutControlPoint(LinePoint(Oval(track), 0.0, 700.0)); },
       "end > begin"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AssertionOf(c.Call), c.Assertion) << c.What;
    EXPECT_EQ(curve.GetRecords(), before.GetRecords()) << c.What;
    EXPECT_EQ(curve.GetControlPoints(), before.GetControlPoints()) << c.What;
  }
}

// --- Speed limits -----------------------------------------------------------------

TEST(LpFileCurve, SpeedLimitsBelongToRecordsAndOutliveRefits) {
  const auto track = Circle();
  LpFileCurve curve = LineCurve(track, 0.0, 8);
  curve.SetRecordSpeedLimit(10, 0.0);
  EXPECT_TRUE(curve.GetSpeedLimits().empty());
  EXPECT_FALSE(curve.HasRecordSpeedLimit(10));

  curve.SetRecordSpeedLimit(10, 30.0);
  curve.SetRecordSpeedLimit(10, 35.0);
  EXPECT_EQ(curve.GetSpeedLimits(),
            (std::vector<LpFileCurve::SpeedLimitPoint>{{curve.GetRecordLongitude(10), 35.0}}));
  curve.SetControlPoint(3, true);
  EXPECT_TRUE(curve.HasRecordSpeedLimit(10));
  EXPECT_EQ(curve.GetRecordSpeedLimit(10), 35.0);

  curve.SetRecordSpeedLimit(10, -1.0);
  EXPECT_FALSE(curve.HasRecordSpeedLimit(10));
  EXPECT_TRUE(curve.GetSpeedLimits().empty());
  curve.SetControlPoint(3, false);
  EXPECT_FALSE(curve.HasRecordSpeedLimit(10));
}

// --- Control points taken from two curves ---------------------------------------

// The line at constant latitude as Hermite pieces that start at the given distances.
CountedPtr<Physics::Curve> LinePieces(const OvalTrack& track, double latitude,
                                      const std::vector<double>& starts, bool x) {
  CountedPtr<Physics::CurvePiecewise> pieces(new Physics::CurvePiecewise(starts.front()));
  for (std::size_t j = 0; j + 1 < starts.size(); ++j) {
    const PointRecord a = LinePoint(track, latitude, starts[j]);
    const PointRecord b = LinePoint(track, latitude, starts[j + 1]);
    const double h = b.Longitude - a.Longitude;
    const CountedPtr<Physics::Curve> cubic(new Physics::CurveCubic(
        x ? Physics::CurveCubic::FromHermite(a.X, b.X, a.XSlope * h, b.XSlope * h)
          : Physics::CurveCubic::FromHermite(a.Y, b.Y, a.YSlope * h, b.YSlope * h)));
    pieces->Add(CountedPtr<Physics::Curve>(
                    new Physics::CurveShim(cubic, a.Longitude, b.Longitude, 1.0)),
                b.Longitude);
  }
  return pieces;
}

TEST(LpFileCurve, TakesControlPointsWhereTheInputCurvesStartNewPiecesSnappedToRecords) {
  const auto track = Circle();
  const OvalTrack& oval = Oval(track);
  // Piece starts off the record grid, on it (99 = 33 x 3) and just before it.
  const std::vector<double> starts{0.0,   40.5,  99.0,  130.0, 160.2, 200.0,
                                   239.999, 270.0, 300.0, 345.0, 390.0, 420.0,
                                   450.7, 495.0, 540.0, 570.0, 600.0, 620.0, oval.Length + 20.0};
  const LpFileCurve curve(Spacing, LapRecordCount(oval, Spacing),
                          LinePieces(oval, 2.0, starts, true),
                          LinePieces(oval, 2.0, starts, false), track);
  std::vector<double> longitudes;
  for (const auto& p : curve.GetControlPoints())
    longitudes.push_back(p.Longitude);
  EXPECT_EQ(longitudes,
            (std::vector<double>{42.0, 99.0, 132.0, 162.0, 201.0, 240.0, 270.0, 300.0, 345.0,
                                 390.0, 420.0, 453.0, 495.0, 540.0, 570.0, 600.0, 621.0}));
  for (const double lon : longitudes)
    EXPECT_TRUE(curve.IsControlPoint(static_cast<U32>(lon / Spacing) - 1)) << lon;
  for (U32 i = 0; i < curve.GetRecordCount(); ++i)
    EXPECT_NEAR(curve.GetRecordLatitude(i), 2.0, 0.05) << i;
}

TEST(LpFileCurve, CurvesOfOneOrTwoPiecesGiveTooFewControlPoints) {
  const auto track = Circle();
  const OvalTrack& oval = Oval(track);
  const CountedPtr<Physics::Curve> line(new Physics::CurveCubic(0.0, 0.0, 1.0, 0.0));
  EXPECT_EQ(AssertionOf([&] { LpFileCurve(Spacing, 10, line, line, track); }),
            "!ControlPoints.empty()");
  const std::vector<double> starts{0.0, 300.0, oval.Length + 1.0};
  EXPECT_EQ(AssertionOf([&] {
              LpFileCurve(Spacing, 10, LinePieces(oval, 0.0, starts, true),
                          LinePieces(oval, 0.0, starts, false), track);
            }),
            "end > begin");
  EXPECT_EQ(AssertionOf([&] { LpFileCurve(0.0, 10, line, line, track); }),
            "std::isfinite(spacing) && spacing > 0.0");
}

TEST(LpFileCurve, FindsRecordIndexesByLongitude) {
  const LpFileCurve curve = LineCurve(Circle(), 0.0, 8);
  EXPECT_EQ(curve.GetRecordIndex(3.0), 0u);
  EXPECT_EQ(curve.GetRecordIndex(4.5), 0u);
  EXPECT_EQ(curve.GetRecordIndex(6.0), 1u);
  EXPECT_EQ(AssertionOf([&] { curve.GetRecordIndex(2.9); }),
            "longitude >= GetRecordLongitude(0)");
  EXPECT_TRUE(curve.HasYawSpeed() && curve.HasSpeedLimit() && curve.HasControlPoints());
}

} // namespace
} // namespace Ostra::Test

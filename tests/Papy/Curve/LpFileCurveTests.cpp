#include "Papy/Curve/LpFileCurve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "Papy/Track/GPLTrkFile.h"
#include "Papy/Track/TrkTrack.h"
#include "Physics/CurveCubic.h"
#include "Physics/CurvePeriodic.h"
#include "Physics/CurvePiecewise.h"
#include "Physics/CurveShim.h"
#include "TestSupport/GplTrkBuilder.h"
#include "tests/Papy/Curve/LapCurveFixtures.h"

namespace Ostra::Test {
namespace {

// The line passes a control point's cross-section within the intersection tolerance.
constexpr double AtControlPoint = 1e-5;

// A circle of radius 100 m: a lap of 628.3 m, 210 records, the last 1.68 m past the end.
const CountedPtr<Papy::Track>& Circle() {
  static const CountedPtr<Papy::Track> track(new OvalTrack(100.0, 0.0));
  return track;
}
const OvalTrack& Oval() { return dynamic_cast<const OvalTrack&>(*Circle()); }
// Control points at records 0, 8, 16, ... (3 m, 27 m, 51 m, ...).
LpFileCurve Line(double latitude = 0.0) {
  return LapCurve(Circle(), LinePoints(Oval(), latitude, 8));
}

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
  const auto& oval = dynamic_cast<const OvalTrack&>(*track);
  const LpFileCurve curve = LapCurve(track, LinePoints(oval, c.Latitude, c.Every));
  ASSERT_EQ(curve.GetRecordCount(), LapRecordCount(oval));
  EXPECT_GT(curve.GetRecordLongitude(curve.GetRecordCount() - 1), oval.Length);

  const bool circle = c.Straight == 0.0;
  const double h = c.Every * Spacing;
  const double r = c.Radius - c.Latitude;
  const double m = r / std::pow(c.Radius, 4.0);
  const double speed = r / c.Radius; // slopes and curvature are per metre of line
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

// Over a track read from a TRK file the last record lies past the lap end, where
// only the track's own wrapping keeps its cross-section on the lap.
TEST(LpFileCurve, SamplesATrkTrackRightRoundTheLapEnd) {
  const CountedPtr<Papy::Track> track(new Papy::TrkTrack(
      CountedPtr<Papy::TrkFile>(new Papy::GPLTrkFile(CountedPtr<Util::BinaryStream>(
          new Util::MemoryStream("oval.trk", GplTrkBuilder::Oval().Bytes()))))));
  const double lap = track->GetLength2D();
  std::vector<PointRecord> points;
  for (unsigned k = 1; k * Spacing < lap; k += 2) {
    const double s = k * Spacing;
    const Papy::TrackFrame frame = track->GetFrame(s, 0.0);
    points.push_back(
        {s, frame.X, frame.Y, std::cos(frame.Orientation), std::sin(frame.Orientation)});
  }
  const U32 records = static_cast<U32>(std::lround(lap / Spacing)) + 1;
  const LpFileCurve curve = Read(LcvImage(3, records, points).U32(0), track);
  ASSERT_EQ(curve.GetRecordCount(), records);
  ASSERT_GT(curve.GetRecordLongitude(records - 1), lap);
  for (U32 i = 0; i < records; ++i) {
    EXPECT_NEAR(curve.GetRecordLatitude(i), 0.0, OvalLatitudeTolerance) << i;
    EXPECT_NEAR(curve.GetRecordLateralSpeed(i), 0.0, OvalLateralTolerance) << i;
  }
}

TEST(LpFileCurve, FindsTheRecordAtOrBeforeALongitudeWithinTheRecords) {
  const LpFileCurve curve = Line();
  const U32 last = curve.GetRecordCount() - 1;
  const double end = curve.GetRecordLongitude(last);
  const struct {
    double Longitude;
    U32 Index;
  } found[] = {{3.0, 0}, {5.999, 0}, {6.0, 1}, {301.5, 99}, {end - 0.001, last - 1}, {end, last}};
  for (const auto& c : found)
    EXPECT_EQ(curve.GetRecordIndex(c.Longitude), c.Index) << c.Longitude;
  for (const double outside : {2.999, end + 0.001, std::nan("")})
    EXPECT_NE(AssertionOf([&] { curve.GetRecordIndex(outside); }), "no assertion") << outside;
}

TEST(LpFileCurve, TwoControlPointsMakeTwoPiecesTheSecondClosingOntoTheFirstALapLater) {
  const LpFileCurve curve =
      LapCurve(Circle(), {LinePoint(Oval(), 0.0, 30.0), LinePoint(Oval(), 0.0, 330.0)});
  const double lap_end = 30.0 + Oval().Length;
  for (const auto& c : {curve.GetFirstCurve(), curve.GetSecondCurve()}) {
    const auto& periodic = dynamic_cast<const Physics::CurvePeriodic&>(*c);
    EXPECT_EQ(periodic.GetBegin(), 30.0);
    EXPECT_EQ(periodic.GetEnd(), lap_end);
    const auto& pieces = dynamic_cast<const Physics::CurvePiecewise&>(*periodic.GetInner());
    ASSERT_EQ(pieces.GetSegments().size(), 2u);
    EXPECT_EQ(pieces.GetSegments()[1].Begin, 330.0);
    EXPECT_EQ(pieces.GetSegments()[1].End, lap_end);
    EXPECT_NEAR(c->Evaluate(lap_end), c->Evaluate(30.0), 1e-9);
  }
  EXPECT_EQ(curve.GetFirstCurve().UseCount(), 2); // handed out shared
}

TEST(LpFileCurve, FindsControlPointsOnlyAtTheirExactRecordLongitudes) {
  const LpFileCurve curve = Line();
  const U32 count = static_cast<U32>(curve.GetControlPoints().size());
  EXPECT_EQ(curve.FindControlPoint(8), 1u);
  EXPECT_EQ(curve.GetControlPoint(8), curve.GetControlPoints()[1]);
  for (const U32 between : {1u, 7u, curve.GetRecordCount() - 1}) {
    EXPECT_EQ(curve.FindControlPoint(between), count);
    EXPECT_FALSE(curve.IsControlPoint(between));
  }
}

TEST(LpFileCurve, MakingARecordAControlPointAndClearingItGivesTheRecordsBackExactly) {
  LpFileCurve curve = Line(1.5);
  const LpFileCurve before = curve;
  curve.SetControlPoint(5, true);
  EXPECT_EQ(curve.GetControlPoints().size(), before.GetControlPoints().size() + 1);
  EXPECT_NEAR(curve.GetRecordLatitude(5), before.GetRecordLatitude(5), 1e-6);
  curve.SetControlPoint(5, true); // already one: nothing happens
  curve.SetControlPoint(5, false);
  EXPECT_EQ(curve.GetControlPoints(), before.GetControlPoints());
  EXPECT_EQ(curve.GetRecords(), before.GetRecords());
}

TEST(LpFileCurve, PutControlPointReplacesThePointAtItsLongitudeOrAddsItInOrder) {
  LpFileCurve curve = Line();
  const std::size_t count = curve.GetControlPoints().size();
  const PointRecord moved = LinePoint(Oval(), 2.0, 27.0); // record 8's point
  curve.PutControlPoint(moved);
  EXPECT_EQ(curve.GetControlPoints().size(), count);
  EXPECT_EQ(curve.GetControlPoint(8), moved);
  EXPECT_NEAR(curve.GetRecordLatitude(8), 2.0, AtControlPoint);

  const PointRecord added = LinePoint(Oval(), 1.0, 30.0); // record 9
  curve.PutControlPoint(added);
  EXPECT_EQ(curve.GetControlPoints()[2], added);
  EXPECT_NEAR(curve.GetRecordLatitude(9), 1.0, AtControlPoint);
}

// The first and the last control point take their neighbour across the lap's seam.
class SetsAControlPointsLatitude : public testing::TestWithParam<int> {};

TEST_P(SetsAControlPointsLatitude, LeavingItsNeighboursWhereTheyWere) {
  LpFileCurve curve = Line();
  const auto before = curve.GetControlPoints();
  const std::size_t k = GetParam() >= 0 ? GetParam() : before.size() - 1;
  const U32 record = static_cast<U32>(std::lround(before[k].Longitude / Spacing)) - 1;
  curve.SetRecordLatitude(record, 4.0);
  EXPECT_NEAR(curve.GetRecordLatitude(record), 4.0, AtControlPoint);
  auto after = curve.GetControlPoints();
  EXPECT_EQ(after[k].Longitude, before[k].Longitude);
  after[k] = before[k];
  EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(LpFileCurve, SetsAControlPointsLatitude, testing::Values(0, 3, -1));

TEST(LpFileCurve, AnEditTheCurveCannotTakeIsRefusedInTheUsersTermsChangingNothing) {
  LpFileCurve curve =
      LapCurve(Circle(), {LinePoint(Oval(), 0.0, 30.0), LinePoint(Oval(), 0.0, 330.0)});
  curve.SetRecordSpeedLimit(20, 40.0);
  const LpFileCurve before = curve;
  const auto bytes = WrittenBytes(curve);
  // Down to one control point, a latitude off the track, points pasted past the lap.
  const std::vector<PointRecord> past{LinePoint(Oval(), 0.0, 90.0), LinePoint(Oval(), 0.0, 700.0)};
  for (const std::function<void()>& edit : std::vector<std::function<void()>>{
           [&] { curve.RemoveControlPoint(0); }, [&] { curve.SetControlPoint(109, false); },
           [&] { curve.SetRecordLatitude(9, 1e6); }, [&] { curve.PutControlPoints(past); }}) {
    EXPECT_THROW(edit(), Util::XUsage);
    EXPECT_EQ(curve.GetControlPoints(), before.GetControlPoints());
    EXPECT_EQ(curve.GetRecords(), before.GetRecords());
    EXPECT_EQ(WrittenBytes(curve), bytes);
  }
}

TEST(LpFileCurve, RefusesWhatTheCurveCannotTakeChangingNothing) {
  LpFileCurve curve = Line();
  const LpFileCurve before = curve;
  const struct {
    std::function<void()> Call;
    const char* Assertion;
  } cases[] = {
      {[&] { curve.SetRecordLongitudinalSpeed(0, 1.0); }, "false"},
      {[&] { curve.SetRecordLateralSpeed(0, 1.0); }, "false"},
      {[&] { curve.SetRecordYawSpeed(0, 1.0); }, "false"},
      {[&] { curve.SetRecordLatitude(1, 1.0); }, "IsControlPoint(record_index)"},
      {[&] { curve.GetControlPoint(1); }, "IsControlPoint(record_index)"},
      {[&] { curve.RemoveControlPoint(1000); }, "k < ControlPoints.size()"},
      {[&] { curve.AddControlPoint(0); }, "!IsControlPoint(i)"},
      {[&] {
         curve.PutControlPoint({std::nan(""), 0.0, 0.0, 0.0, 0.0});
       },
       "std::isfinite(p.Longitude)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AssertionOf(c.Call), c.Assertion);
    EXPECT_EQ(curve.GetRecords(), before.GetRecords()) << c.Assertion;
    EXPECT_EQ(curve.GetControlPoints(), before.GetControlPoints()) << c.Assertion;
  }
}

TEST(LpFileCurve, SpeedLimitsBelongToRecordsAndOutliveRefits) {
  LpFileCurve curve = Line();
  curve.SetRecordSpeedLimit(10, 0.0);
  EXPECT_TRUE(curve.GetSpeedLimits().empty());
  curve.SetRecordSpeedLimit(10, 30.0);
  curve.SetRecordSpeedLimit(10, 35.0);
  EXPECT_EQ(curve.GetSpeedLimits(),
            (std::vector<LpFileCurve::SpeedLimitPoint>{{curve.GetRecordLongitude(10), 35.0}}));
  curve.SetControlPoint(3, true);
  EXPECT_EQ(curve.GetRecordSpeedLimit(10), 35.0);
  curve.SetRecordSpeedLimit(10, -1.0);
  EXPECT_FALSE(curve.HasRecordSpeedLimit(10));
  EXPECT_TRUE(curve.GetSpeedLimits().empty());
}

// The line at constant latitude as Hermite pieces that start at the given distances.
CountedPtr<Physics::Curve> LinePieces(double latitude, const std::vector<double>& starts, bool x) {
  CountedPtr<Physics::CurvePiecewise> pieces(new Physics::CurvePiecewise(starts.front()));
  for (std::size_t j = 0; j + 1 < starts.size(); ++j) {
    const PointRecord a = LinePoint(Oval(), latitude, starts[j]);
    const PointRecord b = LinePoint(Oval(), latitude, starts[j + 1]);
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
  // Piece starts off the record grid, on it (99 = 33 x 3) and just before it.
  const std::vector<double> starts{0.0,   40.5,  99.0,  130.0, 160.2, 200.0, 239.999,
                                   270.0, 300.0, 345.0, 390.0, 420.0, 450.7, 495.0,
                                   540.0, 570.0, 600.0, 620.0, Oval().Length + 20.0};
  const LpFileCurve curve(Spacing, LapRecordCount(Oval()), LinePieces(2.0, starts, true),
                          LinePieces(2.0, starts, false), Circle());
  std::vector<double> longitudes;
  for (const auto& p : curve.GetControlPoints())
    longitudes.push_back(p.Longitude);
  EXPECT_EQ(longitudes, (std::vector<double>{42.0, 99.0, 132.0, 162.0, 201.0, 240.0, 270.0,
                                             300.0, 345.0, 390.0, 420.0, 453.0, 495.0, 540.0,
                                             570.0, 600.0, 621.0}));
  for (const double lon : longitudes)
    EXPECT_TRUE(curve.IsControlPoint(static_cast<U32>(lon / Spacing) - 1)) << lon;
  for (U32 i = 0; i < curve.GetRecordCount(); ++i)
    EXPECT_NEAR(curve.GetRecordLatitude(i), 2.0, 0.05) << i;
}

TEST(LpFileCurve, CurvesOfOneOrTwoPiecesGiveTooFewControlPoints) {
  const CountedPtr<Physics::Curve> line(new Physics::CurveCubic(0.0, 0.0, 1.0, 0.0));
  EXPECT_EQ(AssertionOf([&] { LpFileCurve(Spacing, 10, line, line, Circle()); }),
            "!ControlPoints.empty()");
  const std::vector<double> starts{0.0, 300.0, Oval().Length + 1.0};
  EXPECT_EQ(AssertionOf([&] {
              LpFileCurve(Spacing, 10, LinePieces(0.0, starts, true),
                          LinePieces(0.0, starts, false), Circle());
            }),
            "end > begin");
  EXPECT_EQ(AssertionOf([&] { LpFileCurve(0.0, 10, line, line, Circle()); }),
            "std::isfinite(spacing) && spacing > 0.0");
}

} // namespace
} // namespace Ostra::Test

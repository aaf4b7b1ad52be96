#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "Physics/CurvePeriodic.h"
#include "Physics/CurvePiecewise.h"
#include "Physics/Intersections.h"
#include "TestSupport/TempDir.h"
#include "Util/BinaryFile.h"
#include "Util/Exception.h"
#include "Velmar/Generators/LapCurveFitting.h"
#include "WavyLine.h"

namespace Ostra::Velmar {
namespace {

using Physics::Curve;
using TestLines::MakeOval;
using TestLines::MakeWavyLine;

// The root finder stops within about 6e-8 of the distance: this much noise in a gap.
constexpr double Noise = 5e-4;

// How far the curves pass from the point at (distance, latitude), along its cross line.
double Gap(const Papy::Track& track, const CountedPtr<Curve>& x, const CountedPtr<Curve>& y,
           double distance, double latitude) {
  const Papy::TrackFrame a = track.GetFrame(distance, -10000.0);
  const Papy::TrackFrame b = track.GetFrame(distance, 10000.0);
  const Papy::TrackFrame p = track.GetFrame(distance, latitude);
  const double dx = b.X - a.X;
  const double dy = b.Y - a.Y;
  const double t =
      std::fabs(dy) < std::fabs(dx)
          ? Physics::FindIntersection(x, y, dy / dx, a.Y - a.X * dy / dx, distance, 1e-10)
          : Physics::FindIntersection(y, x, dx / dy, a.X - a.Y * dx / dy, distance, 1e-10);
  return std::hypot(x->Evaluate(t) - p.X, y->Evaluate(t) - p.Y);
}

struct Fit {
  CountedPtr<Curve> PathX, PathY, X, Y;
};

Fit FitLine(const CountedPtr<Papy::LpFile>& lp, const CountedPtr<Papy::Track>& track,
            double tolerance) {
  Fit fit;
  MakePathCurves(lp, track, fit.PathX, fit.PathY);
  FitLapCurve(fit.PathX, fit.PathY, track, lp->GetRecordSpacing(), tolerance, fit.X, fit.Y);
  return fit;
}

const Physics::CurvePiecewise& Pieces(const CountedPtr<Curve>& fitted) {
  const auto& periodic = dynamic_cast<const Physics::CurvePeriodic&>(*fitted.Get());
  return dynamic_cast<const Physics::CurvePiecewise&>(*periodic.GetInner().Get());
}

// Records from one spacing past the lap end on lie where the lap's first ones do, and
// take no part in the fit.
void ExpectWithin(const Papy::LpFile& lp, const Papy::Track& track, const Fit& fit,
                  double tolerance) {
  const double end = track.GetLength2D() + lp.GetRecordSpacing();
  for (U32 i = 0; i < lp.GetRecordCount() && lp.GetRecordLongitude(i) < end; ++i) {
    const double s = lp.GetRecordLongitude(i);
    const double lat = lp.GetRecordLatitude(i);
    // The path splines run through every record.
    ASSERT_NEAR(Gap(track, fit.PathX, fit.PathY, s, lat), 0.0, Noise) << i;
    ASSERT_LE(Gap(track, fit.X, fit.Y, s, lat), tolerance + Noise) << i;
  }
}

TEST(LapCurveFitting, FitKeepsEveryRecordWithinTheTolerance) {
  const CountedPtr<Papy::Track> track = MakeOval(100.0, 200.0);
  const struct {
    double Amplitude, Waves, Tolerance;
  } cases[] = {{0.0, 0.0, 0.5}, {2.5, 0.0, 0.1}, {3.0, 5.0, 0.5}, {3.0, 5.0, 0.02}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Amplitude << " x " << c.Waves << " @ " << c.Tolerance);
    const CountedPtr<Papy::LpFile> lp = MakeWavyLine(track, c.Amplitude, c.Waves);
    ExpectWithin(*lp, *track, FitLine(lp, track, c.Tolerance), c.Tolerance);
  }
}

TEST(LapCurveFitting, LargerToleranceGivesFewerControlPoints) {
  const CountedPtr<Papy::Track> track = MakeOval(100.0, 200.0);
  const CountedPtr<Papy::LpFile> lp = MakeWavyLine(track, 3.0, 5.0);
  std::size_t previous = 0;
  // A negative tolerance gives a piece per record step, the last one short.
  const double steps = std::ceil(track->GetLength2D() / 3.0);
  for (const double tolerance : {1.0, 0.2, 0.05, -1.0}) {
    SCOPED_TRACE(tolerance);
    const std::size_t pieces = Pieces(FitLine(lp, track, tolerance).X).GetSegments().size();
    const std::size_t points = GenerateCurve(lp, track, tolerance)->GetControlPoints().size();
    EXPECT_GT(pieces, previous);
    // Every piece starts at a control point, but for a piece that ends between
    // records past the lap end: the lap curve moves its end onto the next record,
    // which may be the first piece's start.
    EXPECT_TRUE(points == pieces || points + 1 == pieces) << points << " " << pieces;
    previous = pieces;
  }
  EXPECT_EQ(previous, static_cast<std::size_t>(steps));
}

TEST(LapCurveFitting, FittedCurvesAreClosedAndSmooth) {
  // 1028.3 m is no multiple of the spacing: the last piece ends between records.
  const CountedPtr<Papy::Track> track = MakeOval(100.0, 200.0);
  const double length = track->GetLength2D();
  const Fit fit = FitLine(MakeWavyLine(track, 3.0, 5.0), track, 0.2);
  for (const CountedPtr<Curve>& fitted : {fit.X, fit.Y}) {
    const Physics::CurvePiecewise& pieces = Pieces(fitted);
    const auto& segments = pieces.GetSegments();
    ASSERT_GE(segments.size(), 2u);
    EXPECT_EQ(std::fmod(pieces.GetBegin(), 3.0), 0.0);
    EXPECT_EQ(pieces.GetEnd(), length + pieces.GetBegin());
    for (const double t : {0.0, 17.0, 500.5})
      EXPECT_NEAR(fitted->Evaluate(t), fitted->Evaluate(t + length), 1e-9) << t;
    // Value and slope agree where each piece meets the next, the last the first.
    for (std::size_t k = 0; k < segments.size(); ++k) {
      const auto& left = segments[k];
      const auto& right = segments[(k + 1) % segments.size()];
      EXPECT_NEAR(left.Curve->Evaluate(left.End), right.Curve->Evaluate(right.Begin), 1e-6);
      EXPECT_NEAR(left.Curve->Derivative()->Evaluate(left.End),
                  right.Curve->Derivative()->Evaluate(right.Begin), 1e-6);
      if (k + 1 < segments.size()) {
        EXPECT_EQ(std::fmod(left.End, 3.0), 0.0) << k;
      }
    }
  }
}

TEST(LapCurveFitting, RealRaceLineFitsWithinHalfAMetre) {
  VELMAR_REQUIRE_SHARED_DATA();
  CountedPtr<Util::BinaryStream> stream(
      Util::BinaryFile::OpenRead(::Ostra::Test::SharedData("n4/atlanta/race.lp")));
  const CountedPtr<Papy::LpFile> lp(new Papy::N4LpFile(stream));
  const double spacing = lp->GetRecordSpacing();
  const double records = lp->GetRecordCount();
  // Laps of both lengths give a new N4 LP of this many records.
  const struct {
    double Length;
    double CurveTolerance;
  } cases[] = {
      {(records - 1.0) * spacing, 0.5 + Noise},
      // Piece ends past the lap end fall between records; the lap curve moves them
      // onto the record grid, so its line may stray a little further than the fit.
      {(records - 0.5) * spacing, 1.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Length);
    const CountedPtr<Papy::Track> track =
        MakeOval(150.0, (c.Length - 2.0 * std::numbers::pi * 150.0) / 2.0);
    ExpectWithin(*lp, *track, FitLine(lp, track, DefaultCurveTolerance), 0.5);

    const CountedPtr<Papy::LpFileCurve> curve = GenerateCurve(lp, track, DefaultCurveTolerance);
    ASSERT_EQ(curve->GetRecordCount(), lp->GetRecordCount());
    for (U32 i = 0; i < lp->GetRecordCount(); ++i)
      ASSERT_NEAR(curve->GetRecordLatitude(i), lp->GetRecordLatitude(i), c.CurveTolerance) << i;
  }
}

TEST(LapCurveFitting, DegenerateInputIsRefused) {
  const CountedPtr<Papy::Track> track = MakeOval(100.0, 200.0);
  const CountedPtr<Papy::LpFile> lp = MakeWavyLine(track, 3.0, 5.0);
  CountedPtr<Curve> x, y, fx, fy;
  MakePathCurves(lp, track, x, y);
  EXPECT_THROW(MakePathSplines(lp, {0}, track, fx, fy), Util::XAssertion);
  EXPECT_THROW(MakePathCurves(lp, MakeOval(0.0, 0.0), fx, fy), Util::XAssertion);
  for (const double spacing : {0.0, std::nan(""), 1e-9})
    EXPECT_THROW(FitLapCurve(x, y, track, spacing, 0.5, fx, fy), Util::XAssertion) << spacing;
  EXPECT_THROW(FitLapCurve(x, y, track, 3.0, std::nan(""), fx, fy), Util::XAssertion);
  EXPECT_TRUE(fx.IsNull());
}

} // namespace
} // namespace Ostra::Velmar

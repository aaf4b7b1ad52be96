#include <cmath>
#include <functional>
#include <numbers>
#include <string>

#include <gtest/gtest.h>

#include "Papy/Lp/N4LpFile.h"
#include "Physics/CurvePeriodic.h"
#include "Physics/CurvePiecewise.h"
#include "Physics/Intersections.h"
#include "TestSupport/OvalTrack.h"
#include "TestSupport/TempDir.h"
#include "Util/BinaryFile.h"
#include "Util/Exception.h"
#include "Velmar/Generators/LapCurveFitting.h"

namespace Ostra::Velmar {
namespace {

using Physics::Curve;

CountedPtr<Papy::Track> MakeOval(double radius, double straight) {
  return CountedPtr<Papy::Track>(new ::Ostra::Test::OvalTrack(radius, straight));
}

// A new LP of the track at 3 m whose latitude follows shape(longitude).
CountedPtr<Papy::LpFile> MakeLine(const CountedPtr<Papy::Track>& track,
                                  const std::function<double(double)>& shape) {
  CountedPtr<Papy::LpFile> lp(new Papy::N4LpFile(track, 3.0));
  for (U32 i = 0; i < lp->GetRecordCount(); ++i)
    lp->SetRecordLatitude(i, shape(lp->GetRecordLongitude(i)));
  return lp;
}

// How far the curves pass from the point at (distance, latitude), along that point's
// cross line. The root finder stops within about 6e-8 of the distance, so the answer
// carries that much noise.
double GapAlongCrossLine(const Papy::Track& track, const CountedPtr<Curve>& x,
                         const CountedPtr<Curve>& y, double distance, double latitude) {
  const Papy::TrackFrame a = track.GetFrame(distance, -10000.0);
  const Papy::TrackFrame b = track.GetFrame(distance, 10000.0);
  const Papy::TrackFrame p = track.GetFrame(distance, latitude);
  const double dx = b.X - a.X;
  const double dy = b.Y - a.Y;
  double t;
  if (std::fabs(dy) < std::fabs(dx))
    t = Physics::FindIntersection(x, y, dy / dx, a.Y - a.X * dy / dx, distance, 1e-10);
  else
    t = Physics::FindIntersection(y, x, dx / dy, a.X - a.Y * dx / dy, distance, 1e-10);
  return std::hypot(x->Evaluate(t) - p.X, y->Evaluate(t) - p.Y);
}

constexpr double Noise = 5e-4;

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
  const auto* periodic = dynamic_cast<const Physics::CurvePeriodic*>(fitted.Get());
  EXPECT_NE(periodic, nullptr);
  const auto* pieces = dynamic_cast<const Physics::CurvePiecewise*>(periodic->GetInner().Get());
  EXPECT_NE(pieces, nullptr);
  return *pieces;
}

double Waves(double s) { return 3.0 * std::sin(2.0 * std::numbers::pi * 5.0 * s / 1028.3185307); }

struct ShapeCase {
  const char* Name;
  std::function<double(double)> Shape;
  double Tolerance;
};

TEST(LapCurveFitting, FitKeepsEveryRecordWithinTheTolerance) {
  const CountedPtr<Papy::Track> track = MakeOval(100.0, 200.0);
  const ShapeCase cases[] = {
      {"centre line", [](double) { return 0.0; }, 0.5},
      {"offset line", [](double) { return 2.5; }, 0.1},
      {"waves loose", Waves, 0.5},
      {"waves tight", Waves, 0.02},
  };
  for (const ShapeCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const CountedPtr<Papy::LpFile> lp = MakeLine(track, c.Shape);
    const Fit fit = FitLine(lp, track, c.Tolerance);
    for (U32 i = 0; i < lp->GetRecordCount(); ++i) {
      const double s = lp->GetRecordLongitude(i);
      const double lat = lp->GetRecordLatitude(i);
      // The path splines run through every record.
      ASSERT_NEAR(GapAlongCrossLine(*track, fit.PathX, fit.PathY, s, lat), 0.0, Noise) << i;
      ASSERT_LE(GapAlongCrossLine(*track, fit.X, fit.Y, s, lat), c.Tolerance + Noise) << i;
    }
  }
}

TEST(LapCurveFitting, LargerToleranceGivesFewerPiecesAndControlPoints) {
  const CountedPtr<Papy::Track> track = MakeOval(100.0, 200.0);
  const CountedPtr<Papy::LpFile> lp = MakeLine(track, Waves);
  std::size_t previous_pieces = 0;
  std::size_t previous_points = 0;
  for (const double tolerance : {1.0, 0.2, 0.05, 0.01}) {
    SCOPED_TRACE(tolerance);
    const Fit fit = FitLine(lp, track, tolerance);
    const std::size_t pieces = Pieces(fit.X).GetSegments().size();
    EXPECT_EQ(Pieces(fit.Y).GetSegments().size(), pieces);
    const CountedPtr<Papy::LpFileCurve> curve = GenerateCurve(lp, track, tolerance);
    const std::size_t points = curve->GetControlPoints().size();
    EXPECT_GT(pieces, previous_pieces);
    EXPECT_GT(points, previous_points);
    // Every piece boundary is a record longitude, hence a control point.
    EXPECT_EQ(points, pieces);
    previous_pieces = pieces;
    previous_points = points;
  }
}

TEST(LapCurveFitting, FittedCurvesAreClosedAndSmooth) {
  // 1028.3 m is no multiple of the spacing: the last piece ends off the record grid.
  const CountedPtr<Papy::Track> track = MakeOval(100.0, 200.0);
  const double length = track->GetLength2D();
  const CountedPtr<Papy::LpFile> lp = MakeLine(track, Waves);
  const Fit fit = FitLine(lp, track, 0.2);
  for (const CountedPtr<Curve>& fitted : {fit.X, fit.Y}) {
    const Physics::CurvePiecewise& pieces = Pieces(fitted);
    const auto& segments = pieces.GetSegments();
    ASSERT_GE(segments.size(), 2u);
    const double start = pieces.GetBegin();
    EXPECT_EQ(std::fmod(start, 3.0), 0.0);
    EXPECT_EQ(pieces.GetEnd(), length + start);
    for (const double t : {0.0, 17.0, 500.5, start}) {
      EXPECT_NEAR(fitted->Evaluate(t), fitted->Evaluate(t + length), 1e-9) << t;
    }
    // Value and slope agree where each piece meets the next, the last meeting the
    // first one lap on.
    for (std::size_t k = 0; k < segments.size(); ++k) {
      const auto& left = segments[k];
      const auto& right = segments[(k + 1) % segments.size()];
      const double joint = left.End;
      const double right_begin = right.Begin;
      EXPECT_NEAR(left.Curve->Evaluate(joint), right.Curve->Evaluate(right_begin), 1e-6) << k;
      EXPECT_NEAR(left.Curve->Derivative()->Evaluate(joint),
                  right.Curve->Derivative()->Evaluate(right_begin), 1e-6)
          << k;
      if (k + 1 < segments.size()) {
        EXPECT_EQ(joint, right_begin);
        EXPECT_EQ(std::fmod(joint, 3.0), 0.0) << k;
      }
    }
  }
}

TEST(LapCurveFitting, NegativeToleranceGivesOnePiecePerRecordStep) {
  const CountedPtr<Papy::Track> track = MakeOval(50.0, 60.0); // 434.2 m
  const CountedPtr<Papy::LpFile> lp = MakeLine(track, Waves);
  const Fit fit = FitLine(lp, track, -1.0);
  const auto& segments = Pieces(fit.X).GetSegments();
  // Steps of 3 m over one lap, the last one short.
  EXPECT_EQ(segments.size(), static_cast<std::size_t>(std::ceil(track->GetLength2D() / 3.0)));
  for (std::size_t k = 0; k + 1 < segments.size(); ++k)
    EXPECT_DOUBLE_EQ(segments[k].End - segments[k].Begin, 3.0);
}

TEST(LapCurveFitting, RealRaceLineFitsWithinHalfAMetre) {
  CountedPtr<Util::BinaryStream> stream(
      Util::BinaryFile::OpenRead(::Ostra::Test::SharedData("n4/atlanta/race.lp")));
  const CountedPtr<Papy::LpFile> lp(new Papy::N4LpFile(stream));
  const double spacing = lp->GetRecordSpacing();
  const double records = static_cast<double>(lp->GetRecordCount());
  // A new LP of a lap of length L holds trunc(L / spacing) + 1 records; both laps give
  // this LP's count.
  const struct {
    const char* Name;
    double Length;
    double CurveTolerance;
  } cases[] = {
      {"lap of whole records", (records - 1.0) * spacing, 0.5 + Noise},
      // Piece ends past the lap end fall between records; the lap curve moves them
      // onto the record grid, so its line may stray a little further than the fit.
      {"lap ending between records", (records - 0.5) * spacing, 1.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const double radius = 150.0;
    const CountedPtr<Papy::Track> track =
        MakeOval(radius, (c.Length - 2.0 * std::numbers::pi * radius) / 2.0);
    ASSERT_NEAR(track->GetLength2D(), c.Length, 1e-9);

    const Fit fit = FitLine(lp, track, DefaultCurveTolerance);
    for (U32 i = 0; i < lp->GetRecordCount(); ++i) {
      const double s = lp->GetRecordLongitude(i);
      const double lat = lp->GetRecordLatitude(i);
      ASSERT_LE(GapAlongCrossLine(*track, fit.X, fit.Y, s, lat), 0.5 + Noise) << i;
    }

    const CountedPtr<Papy::LpFileCurve> curve = GenerateCurve(lp, track, DefaultCurveTolerance);
    EXPECT_EQ(curve->GetRecordCount(), lp->GetRecordCount());
    EXPECT_EQ(curve->GetRecordSpacing(), spacing);
    for (U32 i = 0; i < lp->GetRecordCount(); ++i)
      ASSERT_NEAR(curve->GetRecordLatitude(i), lp->GetRecordLatitude(i), c.CurveTolerance) << i;
  }
}

TEST(LapCurveFitting, RaceLineNamesGetTheTighterTolerance) {
  const struct {
    const char* Name;
    double Tolerance;
  } cases[] = {{"minrace", 0.1}, {"MAXRACE", 0.1}, {"MinRace", 0.1},
               {"race", 0.5},    {"minrace2", 0.5}, {"", 0.5}};
  for (const auto& c : cases)
    EXPECT_EQ(CurveToleranceFor(c.Name), c.Tolerance) << c.Name;
}

TEST(LapCurveFitting, DegenerateInputIsRefused) {
  const CountedPtr<Papy::Track> track = MakeOval(100.0, 200.0);
  const CountedPtr<Papy::LpFile> lp = MakeLine(track, Waves);
  CountedPtr<Curve> x, y, fx, fy;
  MakePathCurves(lp, track, x, y);
  const struct {
    const char* Name;
    std::function<void()> Call;
  } cases[] = {
      {"one record", [&] { MakePathSplines(lp, {0}, track, fx, fy); }},
      {"zero spacing", [&] { FitLapCurve(x, y, track, 0.0, 0.5, fx, fy); }},
      {"NaN spacing", [&] { FitLapCurve(x, y, track, std::nan(""), 0.5, fx, fy); }},
      {"tiny spacing", [&] { FitLapCurve(x, y, track, 1e-9, 0.5, fx, fy); }},
      {"NaN tolerance", [&] { FitLapCurve(x, y, track, 3.0, std::nan(""), fx, fy); }},
      {"empty track", [&] { MakePathCurves(lp, MakeOval(0.0, 0.0), fx, fy); }},
  };
  for (const auto& c : cases)
    EXPECT_THROW(c.Call(), Util::XAssertion) << c.Name;
  EXPECT_TRUE(fx.IsNull());
}

} // namespace
} // namespace Ostra::Velmar

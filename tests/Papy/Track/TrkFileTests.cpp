#include "Papy/Track/TrkFile.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "TestSupport/GplTrkBuilder.h"
#include "Papy/Track/GPLTrkFile.h"
#include "Papy/Types/SurfaceType.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

namespace Ostra::Papy {
namespace {

using Test::GplTrkBuilder;

// Plan lengths are floats: a few hundredths of a millimetre per section.
constexpr double PlanTolerance = 1e-3;

GPLTrkFile Read(const GplTrkBuilder& b) {
  return GPLTrkFile(
      CountedPtr<Util::BinaryStream>(new Util::MemoryStream("built.trk", b.Bytes())));
}

struct Point {
  S32 X, Y, Z, Orientation, Pitch, Bank, Surface;
};

Point TrackPoint(const TrkFile& file, S32 longitude, S32 latitude) {
  Point p{};
  file.GetTrackPoint(longitude, latitude, p.X, p.Y, p.Z, p.Orientation, p.Pitch, p.Bank, p.Surface);
  return p;
}

class TrkFileGeometry : public ::testing::Test {
protected:
  GplTrkBuilder Built = GplTrkBuilder::Circuit();
  GPLTrkFile File = Read(Built);
  U32 Last = File.GetSectionCount() - 1;
};

TEST_F(TrkFileGeometry, LongitudesAtLapAndSectionBoundariesGoToTheNextSection) {
  struct Case {
    S32 Longitude;
    U32 Section;
    S32 Offset;
  };
  const S32 length = File.GetLength();
  const Case cases[] = {
      {0, 0, 0},
      {length, 0, 0},
      {-1, Last, File.GetSectionLength(Last) - 1},
      {File.GetSectionStart(3), 3, 0},
      {File.GetSectionStart(3) - 1, 2, File.GetSectionLength(2) - 1},
      {length * 3 + 5, 0, 5},
      {std::numeric_limits<S32>::min(),
       static_cast<U32>(-1), 0}, // checked below: any section, quickly
  };
  for (const Case& c : cases) {
    S32 offset = -1;
    const U32 s = File.FindSection3D(c.Longitude, offset);
    if (c.Section == static_cast<U32>(-1)) {
      EXPECT_LT(s, File.GetSectionCount());
      continue;
    }
    EXPECT_EQ(s, c.Section) << c.Longitude;
    EXPECT_EQ(offset, c.Offset) << c.Longitude;
  }
}

TEST_F(TrkFileGeometry, EmptySectionsAreNeverFound) {
  auto shapes = GplTrkBuilder::CircuitShapes();
  shapes.insert(shapes.begin() + 5, GplTrkBuilder::Shape{false, 0, 0});
  auto altitudes = GplTrkBuilder::CircuitAltitudes;
  altitudes.insert(altitudes.begin() + 5, altitudes[5]);
  const GPLTrkFile file = Read(GplTrkBuilder::Loop(shapes, GplTrkBuilder::CircuitLaterals, altitudes));
  ASSERT_EQ(file.GetSectionLength(5), 0);
  EXPECT_EQ(file.GetSectionLength2D(5), 0.0f);
  S32 offset = -1;
  EXPECT_EQ(file.FindSection3D(file.GetSectionStart(5), offset), 6u);
  EXPECT_EQ(offset, 0);
  double plan_offset = -1.0;
  EXPECT_EQ(file.FindSection2D(file.GetSectionStart2D(5), plan_offset), 6u);
  EXPECT_EQ(plan_offset, 0.0);
}

TEST_F(TrkFileGeometry, LateralLookupTakesTheLateralAtOrRightOfTheLatitude) {
  struct Case {
    S32 Latitude;
    U32 Lateral;
    S32 Offset;
  };
  const Case cases[] = {{-300000, 0, -100000}, {-200000, 0, 0},   {-1, 0, 199999},
                        {0, 1, 0},             {199999, 1, 199999}, {200000, 2, 0},
                        {500000, 2, 300000}};
  for (const Case& c : cases) {
    S32 offset = 0;
    EXPECT_EQ(File.FindLateral(c.Latitude, offset), c.Lateral) << c.Latitude;
    EXPECT_EQ(offset, c.Offset) << c.Latitude;
  }
}

TEST_F(TrkFileGeometry, SurfaceLookupFollowsTheInterpolatedLeftEdges) {
  struct Case {
    S32 Offset;
    S32 Latitude;
    U32 Strip;
  };
  // Strip 0 (grass) ends at -300000 at the start and -250000 at the end.
  const S32 half = File.GetSectionLength(0) / 2;
  const Case cases[] = {{0, -700000, 0}, {0, -400000, 0}, {0, -300000, 1}, {0, 0, 1},
                        {0, 310000, 2},  {0, 900000, 2},  {half, -280000, 0},
                        {half, -275000, 1}, {half, -270000, 1}};
  for (const Case& c : cases)
    EXPECT_EQ(File.FindSurface(0, c.Offset, c.Latitude), c.Strip) << c.Offset << " " << c.Latitude;
}

TEST_F(TrkFileGeometry, AltitudeAndBankInterpolateBetweenLaterals) {
  // Section 1, lateral 0: a = 10000, b = 0, c = 120000, d = -80000.
  const S32 start = File.GetSectionStart(1);
  const S32 half = File.GetSectionLength(1) / 2;
  EXPECT_EQ(File.EvaluateAltitude(1, 0, 0), 10000);
  EXPECT_EQ(File.EvaluateAltitude(1, 0, 1 << 29), 10000 + 0 / 2 + 120000 / 4 - 80000 / 8);

  struct Case {
    const char* Name;
    S32 Longitude;
    S32 Latitude;
    S32 Z;
    bool Banked;
  };
  const Case cases[] = {
      {"on lateral 0 at the start", start, -200000, 10000, true},
      {"on lateral 0 halfway", start + half, -200000, 30000, true},
      {"between laterals 0 and 1", start, -100000, 15000, true},
      {"on the last lateral", start, 200000, 30000, false},
      {"left of the last lateral", start, 400000, 30000, false},
      {"right of lateral 0", start, -300000, 10000, false},
  };
  for (const Case& c : cases) {
    const Point p = TrackPoint(File, c.Longitude, c.Latitude);
    EXPECT_EQ(p.Z, c.Z) << c.Name;
    if (c.Banked)
      EXPECT_EQ(p.Bank, Atan2ToTrkAngle(10000, 200000)) << c.Name;
    else
      EXPECT_EQ(p.Bank, 0) << c.Name;
  }
}

TEST_F(TrkFileGeometry, PitchFollowsTheSlopeOfTheCubic) {
  // Flat at both ends of a section, steepest in the middle: 1.5 * rise over the length.
  const S32 start = File.GetSectionStart(1);
  const S32 length = File.GetSectionLength(1);
  EXPECT_EQ(TrackPoint(File, start, 0).Pitch, 0);
  const S32 mid_slope = DivFixed13(3 * 40000 / 2, length);
  EXPECT_NEAR(TrackPoint(File, start + length / 2, 0).Pitch, SlopeToTrkAngle(mid_slope), 2);
}

TEST_F(TrkFileGeometry, CurveHeadingTurnsByTheSweep) {
  for (U32 s : {1u, 2u}) {
    const S32 start = File.GetSectionStart(s);
    const S32 length = File.GetSectionLength(s);
    const S32 sweep = 2 * File.GetCurveHalfAngle(s);
    EXPECT_EQ(TrackPoint(File, start, 0).Orientation, File.GetSectionOrientation(s));
    const S32 end = TrackPoint(File, start + length - 1, 0).Orientation;
    const double step = std::abs(static_cast<double>(sweep)) / length + 2.0;
    EXPECT_NEAR(end, WrapAdd(File.GetSectionOrientation(s), sweep), step) << s;
  }
}

TEST_F(TrkFileGeometry, PointsLieOnTheBuiltCentreLine) {
  // Section 0 starts at the origin heading +x; 1 starts at (straight, 0).
  const Point origin = TrackPoint(File, 0, 0);
  EXPECT_EQ(origin.X, 0);
  EXPECT_EQ(origin.Y, 0);
  const Point left = TrackPoint(File, 1000, 100000);
  EXPECT_EQ(left.X, 1000);
  EXPECT_EQ(left.Y, 100000);
  const Point corner = TrackPoint(File, File.GetSectionStart(1), 0);
  EXPECT_NEAR(corner.X, 2000000, 2);
  EXPECT_NEAR(corner.Y, 0, 2);
  // Every section starts where the previous one ends.
  for (U32 s = 0; s < File.GetSectionCount(); ++s) {
    const U32 next = (s + 1) % File.GetSectionCount();
    const Point end = TrackPoint(File, WrapAdd(File.GetSectionStart(next), -1), 0);
    const Point start = TrackPoint(File, File.GetSectionStart(next), 0);
    EXPECT_NEAR(end.X, start.X, 3) << s;
    EXPECT_NEAR(end.Y, start.Y, 3) << s;
  }
}

TEST_F(TrkFileGeometry, PlanLengthsMatchTheBuiltSections) {
  float total = 0.0f;
  for (U32 s = 0; s < File.GetSectionCount(); ++s) {
    EXPECT_EQ(File.GetSectionStart2D(s), total) << s;
    EXPECT_NEAR(File.GetSectionLength2D(s), TrkUnitsToMetres(File.GetSectionLength(s)),
                PlanTolerance * 10)
        << s;
    total += File.GetSectionLength2D(s);
  }
  EXPECT_EQ(File.GetLength2D(), total);
}

TEST_F(TrkFileGeometry, PlanDistancesMapBackToLongitudesInTheLap) {
  EXPECT_EQ(File.Length2DToLongitude(0.0), 0);
  EXPECT_EQ(File.Length2DToLongitude(File.GetLength2D()), 0);
  for (U32 s = 0; s < File.GetSectionCount(); ++s)
    EXPECT_NEAR(File.Length2DToLongitude(File.GetSectionStart2D(s)), File.GetSectionStart(s), 1)
        << s;
  double offset = 0.0;
  EXPECT_EQ(File.FindSection2D(-0.5, offset), Last);
  EXPECT_NEAR(offset, File.GetSectionLength2D(Last) - 0.5, PlanTolerance);
  // Far outside the lap: reduced first instead of looping (almost) forever.
  for (double far : {1e12, -1e12, 3.4e38}) {
    const S32 longitude = File.Length2DToLongitude(far);
    EXPECT_GE(longitude, 0) << far;
    EXPECT_LT(longitude, File.GetLength()) << far;
  }
  for (double bad : {std::numeric_limits<double>::infinity(), std::nan(""), 1e300})
    EXPECT_THROW(File.Length2DToLongitude(bad), Util::XAssertion) << bad;
}

TEST(TrkFileSweep, CurvesBeyondAHalfTurnKeepTheirPlanLength) {
  // A circle in two curves: 270 degrees left, then 90.
  constexpr S32 quarter_half = 1 << 29;
  const double radius = 2000000.0;
  const S32 long_arc = static_cast<S32>(std::llround(radius * 1.5 * std::acos(-1.0)));
  const S32 short_arc = static_cast<S32>(std::llround(radius * 0.5 * std::acos(-1.0)));
  const GPLTrkFile file = Read(GplTrkBuilder::Loop(
      {{true, long_arc, 3 * quarter_half}, {true, short_arc, quarter_half}}, {-100000, 100000},
      {0, 0}));
  EXPECT_NEAR(file.GetSectionLength2D(0), TrkUnitsToMetres(long_arc), 0.01);
  EXPECT_NEAR(file.GetSectionLength2D(1), TrkUnitsToMetres(short_arc), 0.01);
}

} // namespace
} // namespace Ostra::Papy

#include "Papy/Track/TrkTrack.h"

#include <cmath>
#include <functional>
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

// One TRK unit, and the float rounding of plan distances of a few hundred metres.
constexpr double Unit = 5.08e-05;
constexpr double PlanTolerance = 1e-3;
const double Pi = std::acos(-1.0);

CountedPtr<TrkFile> ReadFile(const GplTrkBuilder& b) {
  return CountedPtr<TrkFile>(new GPLTrkFile(
      CountedPtr<Util::BinaryStream>(new Util::MemoryStream("built.trk", b.Bytes()))));
}

class TrkTrackTest : public ::testing::Test {
protected:
  CountedPtr<TrkFile> File = ReadFile(GplTrkBuilder::Circuit());
  TrkTrack Circuit{File};
  U32 Count = Circuit.GetSegmentCount();
};

TEST_F(TrkTrackTest, SegmentsFollowTheFileSections) {
  ASSERT_EQ(Count, File->GetSectionCount());
  for (U32 s = 0; s < Count; ++s) {
    const auto segment = Circuit.GetSegment(s);
    EXPECT_EQ(segment->IsCurve(), File->IsSectionCurve(s)) << s;
    EXPECT_EQ(Circuit.GetSegmentStart3D(s), TrkUnitsToMetres(File->GetSectionStart(s))) << s;
    EXPECT_EQ(Circuit.GetSegmentStart2D(s), File->GetSectionStart2D(s)) << s;
    EXPECT_EQ(segment->GetLength3D(), TrkUnitsToMetres(File->GetSectionLength(s))) << s;
    EXPECT_EQ(segment->GetLength2D(), File->GetSectionLength2D(s)) << s;
    EXPECT_EQ(segment->GetXSectionCount(), 3u);
    EXPECT_EQ(segment->GetFSectionCount(), 3u);
    EXPECT_EQ(segment->GetWSectionCount(), 1u);
  }
  EXPECT_EQ(Circuit.GetSegmentStart3D(0), 0.0);
  EXPECT_EQ(Circuit.GetLength3D(), File->GetLength() * Unit);
  EXPECT_NEAR(Circuit.GetLength2D(),
              Circuit.GetSegmentStart2D(Count - 1) + Circuit.GetSegment(Count - 1)->GetLength2D(),
              PlanTolerance);
  EXPECT_THROW(Circuit.GetSegment(Count), Util::XAssertion);
}

TEST_F(TrkTrackTest, EachSegmentEndsWhereTheNextStarts) {
  for (U32 s = 0; s < Count; ++s) {
    const auto segment = Circuit.GetSegment(s);
    const auto next = Circuit.GetSegment((s + 1) % Count);
    EXPECT_EQ(segment->GetCentrelineEndX(), next->GetCentrelineStartX()) << s;
    EXPECT_EQ(segment->GetCentrelineEndY(), next->GetCentrelineStartY()) << s;
    EXPECT_EQ(segment->GetEndOrientation(), next->GetStartOrientation()) << s;
    // And the geometry itself closes: the frame just before the end is at the next start.
    const TrackFrame end = segment->GetFrame(segment->GetLength2D() - 0.001, 0.0);
    EXPECT_NEAR(end.X, next->GetCentrelineStartX(), 0.01) << s;
    EXPECT_NEAR(end.Y, next->GetCentrelineStartY(), 0.01) << s;
  }
}

TEST_F(TrkTrackTest, FramesAtSegmentStartsAgreeWithTheFilePoints) {
  for (U32 s = 0; s < Count; ++s) {
    const auto segment = Circuit.GetSegment(s);
    const TrackFrame frame = Circuit.GetFrame(Circuit.GetSegmentStart2D(s), 0.0);
    EXPECT_NEAR(frame.X, segment->GetCentrelineStartX(), 2 * Unit) << s;
    EXPECT_NEAR(frame.Y, segment->GetCentrelineStartY(), 2 * Unit) << s;
    EXPECT_NEAR(frame.Orientation, segment->GetStartOrientation(), 1e-5) << s;
    const TrackFrame own = segment->GetFrame(0.0, 0.0);
    EXPECT_EQ(own.X, frame.X) << s;
    EXPECT_EQ(own.Y, frame.Y) << s;
  }
}

TEST_F(TrkTrackTest, PlanDistancesWrapIntoTheLap) {
  double offset = -1.0;
  EXPECT_EQ(Circuit.GetSegmentAt(Circuit.GetLength2D(), offset), Circuit.GetSegment(0));
  EXPECT_EQ(offset, 0.0);
  EXPECT_EQ(Circuit.GetSegmentAt(-0.5, offset), Circuit.GetSegment(Count - 1));
  EXPECT_NEAR(offset, Circuit.GetSegment(Count - 1)->GetLength2D() - 0.5, PlanTolerance);
  EXPECT_EQ(Circuit.Length2DToLength3D(0.0), 0.0);
  EXPECT_NEAR(Circuit.Length2DToLength3D(Circuit.GetSegmentStart2D(4)), Circuit.GetSegmentStart3D(4),
              Unit);
  const TrackFrame past = Circuit.GetFrame(Circuit.GetLength2D() + 10.0, 1.0);
  const TrackFrame inside = Circuit.GetFrame(10.0, 1.0);
  EXPECT_NEAR(past.X, inside.X, PlanTolerance);
  EXPECT_NEAR(past.Y, inside.Y, PlanTolerance);
}

TEST_F(TrkTrackTest, FramesLieOnTheIntegerGrid) {
  for (double d : {0.0, 50.0, 123.4, 400.0}) {
    const TrackFrame a = Circuit.GetFrame(d, 0.0);
    const TrackFrame b = Circuit.GetFrame(d, 0.00004);
    EXPECT_EQ(a.X, b.X) << d;
    EXPECT_EQ(a.Y, b.Y) << d;
    EXPECT_EQ(a.Z, b.Z) << d;
    const Point3D p = Circuit.GetPosition(d, 3.0);
    const TrackFrame f = Circuit.GetFrame(d, 3.0);
    EXPECT_EQ(p, Point3D(f.X, f.Y, f.Z)) << d;
    EXPECT_EQ(Circuit.GetOrientation(d), Circuit.GetFrame(d, 0.0).Orientation) << d;
    const auto segment = Circuit.GetSegment(2);
    EXPECT_EQ(segment->GetPosition(d / 10, -2.0), Point3D(segment->GetFrame(d / 10, -2.0).X,
                                                         segment->GetFrame(d / 10, -2.0).Y,
                                                         segment->GetFrame(d / 10, -2.0).Z));
  }
}

TEST_F(TrkTrackTest, FrameSurfaceIsTheStripUnderThePoint) {
  struct Case {
    double Latitude;
    int Surface;
  };
  const Case cases[] = {{0.0, SurfaceAsphalt}, {-20.0, SurfaceGrass}, {-40.0, SurfaceGrass},
                        {15.5, SurfaceAsphalt}, {30.0, SurfaceAsphalt}};
  for (const Case& c : cases)
    EXPECT_EQ(Circuit.GetFrame(20.0, c.Latitude).SurfaceType, c.Surface) << c.Latitude;
}

TEST_F(TrkTrackTest, ArcsHavePositiveRadiusAndSignedSweep) {
  // Segment 1 turns left, segment 2 right, both by 90 degrees on the same radius.
  const double radius = 3000000 / (Pi / 2) * Unit;
  double cx, cy, r, sweep;
  Circuit.GetSegment(1)->GetArc(cx, cy, r, sweep);
  EXPECT_NEAR(r, radius, 2 * Unit);
  EXPECT_NEAR(sweep, Pi / 2, 1e-6);
  EXPECT_NEAR(cx, 2000000 * Unit, Unit);
  EXPECT_NEAR(cy, radius, Unit);
  double cx2, cy2, r2, sweep2;
  Circuit.GetSegment(2)->GetArc(cx2, cy2, r2, sweep2);
  EXPECT_NEAR(r2, r, 2 * Unit);
  EXPECT_NEAR(sweep2, -Pi / 2, 1e-6);
  EXPECT_NEAR(cx2, 2000000 * Unit + 2 * radius, 2 * Unit);
  EXPECT_NEAR(cy2, radius, Unit);
}

TEST(TrkTrackArc, SweepsPastAHalfTurnKeepSizeAndSign) {
  const double radius = 2000000.0;
  const auto arc = [&](double turns) {
    return static_cast<S32>(std::llround(radius * turns * 2 * std::acos(-1.0)));
  };
  // 270 degrees left, then 90: a circle.
  const TrkTrack track(ReadFile(GplTrkBuilder::Loop(
      {{true, arc(0.75), 3 << 29}, {true, arc(0.25), 1 << 29}}, {-100000, 100000}, {0, 0})));
  double cx, cy, r, sweep;
  track.GetSegment(0)->GetArc(cx, cy, r, sweep);
  EXPECT_NEAR(sweep, 1.5 * Pi, 1e-6);
  EXPECT_NEAR(r, radius * Unit, 2 * Unit);
}

TEST_F(TrkTrackTest, CrossSectionsReadTheCubicsInMetres) {
  const auto x = Circuit.GetSegment(1)->GetXSection(0);
  // Section 1, lateral 0: a = 10000, b = 0, c = 120000, d = -80000.
  EXPECT_EQ(x->GetStartLatitude(), -200000 * Unit);
  EXPECT_EQ(x->GetEndLatitude(), -200000 * Unit);
  EXPECT_EQ(x->GetStartAltitude(), 10000 * Unit);
  EXPECT_EQ(x->GetEndAltitude(), TrkUnitsToMetres(10000 + 0 + 120000 - 80000));
  EXPECT_EQ(x->GetStartSlope(), 0.0);
  EXPECT_EQ(x->GetEndSlope(), TrkUnitsToMetres(0 + 2 * 120000 - 3 * 80000));
  EXPECT_EQ(x->GetSquareCoefficient(), 120000 * Unit);
  EXPECT_EQ(x->GetCubeCoefficient(), -80000 * Unit);
  EXPECT_EQ(x->GetAltitudeAt(0.0), x->GetStartAltitude());
  const double half = Circuit.GetSegment(1)->GetLength2D() / 2;
  EXPECT_NEAR(x->GetAltitudeAt(half), 30000 * Unit, 10 * Unit);
  // The end altitude is the next section's start.
  EXPECT_EQ(x->GetEndAltitude(), Circuit.GetSegment(2)->GetXSection(0)->GetStartAltitude());
  EXPECT_THROW(Circuit.GetSegment(1)->GetXSection(3), Util::XAssertion);
}

TEST_F(TrkTrackTest, SetLatitudeMovesTheLateralInEverySegment) {
  struct Case {
    double Start, End;
    S32 Expected;
  };
  const Case cases[] = {{1.0, 2.0, 0},      {1.0, 1.0, 19685},   {-5.0, -5.0, -98425},
                        {10.16, 10.16, 0},  {-10.16, -10.16, 0}, {50.0, 50.0, 0}};
  for (const Case& c : cases) {
    CountedPtr<TrkFile> file = ReadFile(GplTrkBuilder::Circuit());
    TrkTrack track(file);
    track.GetSegment(3)->GetXSection(1)->SetLatitude(c.Start, c.End);
    EXPECT_EQ(file->GetLateral(1), c.Expected) << c.Start << " " << c.End;
    EXPECT_EQ(track.GetSegment(7)->GetXSection(1)->GetStartLatitude(), c.Expected * Unit);
  }
}

TEST_F(TrkTrackTest, SetAltitudesRoundTripsWithinUnitRounding) {
  struct Case {
    double P0, P1, M0, M1;
  };
  const Case cases[] = {{5.0, 5.0, 0.0, 0.0}, {1.0, 2.5, 0.3, -0.2}, {-3.0, 4.0, 1.5, 2.5},
                        {0.0, -1.0, -0.75, 0.0}};
  const auto x = Circuit.GetSegment(4)->GetXSection(2);
  for (const Case& c : cases) {
    x->SetAltitudes(c.P0, c.P1, c.M0, c.M1);
    EXPECT_NEAR(x->GetStartAltitude(), c.P0, Unit);
    EXPECT_NEAR(x->GetEndAltitude(), c.P1, 4 * Unit);
    EXPECT_NEAR(x->GetStartSlope(), c.M0, Unit);
    EXPECT_NEAR(x->GetEndSlope(), c.M1, 6 * Unit);
    EXPECT_EQ(File->GetSquareCoefficientTimes2(4, 2), 2 * File->GetSquareCoefficient(4, 2));
    EXPECT_EQ(File->GetCubeCoefficientTimes3(4, 2), 3 * File->GetCubeCoefficient(4, 2));
  }
  x->SetAltitudes(5.0, 5.0, 0.0, 0.0);
  EXPECT_EQ(x->GetLinearCoefficient(), 0.0);
  EXPECT_EQ(x->GetSquareCoefficient(), 0.0);
  EXPECT_EQ(x->GetCubeCoefficient(), 0.0);
  // Other sections keep their cubics.
  EXPECT_EQ(File->GetStartAltitude(5, 2), 10000);
}

TEST_F(TrkTrackTest, WallsAndStripsReadTheirEdges) {
  const auto segment = Circuit.GetSegment(0);
  const auto wall = segment->GetWSection(0);
  EXPECT_DOUBLE_EQ(wall->GetStartLatitude(), 310000 * Unit);
  EXPECT_DOUBLE_EQ(wall->GetEndLatitude(), 310000 * Unit);
  EXPECT_DOUBLE_EQ(wall->GetStartWidth(), 20000 * Unit);
  EXPECT_DOUBLE_EQ(wall->GetEndWidth(), 20000 * Unit);
  EXPECT_EQ(wall->GetStartHeight(), GplTrkBuilder::WallHeight * Unit);
  EXPECT_EQ(wall->GetEndHeight(), GplTrkBuilder::WallHeight * Unit);
  EXPECT_EQ(wall->GetWallType(), WallArmco);
  const auto strip = segment->GetFSection(1);
  EXPECT_EQ(strip->GetRightStartLatitude(), -300000 * Unit);
  EXPECT_EQ(strip->GetRightEndLatitude(), -250000 * Unit);
  EXPECT_EQ(strip->GetLeftStartLatitude(), 300000 * Unit);
  EXPECT_EQ(strip->GetLeftEndLatitude(), 300000 * Unit);
  EXPECT_EQ(strip->GetSurfaceType(), SurfaceAsphalt);
  EXPECT_EQ(strip->GetGripModifier(), 0);
  EXPECT_EQ(segment->GetFSection(0)->GetSurfaceType(), SurfaceGrass);
}

TEST(TrkTrackWall, ZeroWidthAndOddEdgeSums) {
  struct Case {
    S32 Right, Left;
    double Latitude, Width;
  };
  const Case cases[] = {{300000, 300000, 300000 * Unit, 0.0},
                        {300001, 320000, 620001 * Unit / 2.0, 19999 * Unit}};
  for (const Case& c : cases) {
    GplTrkBuilder b = GplTrkBuilder::Circuit();
    b.Surfaces[2].From = c.Right;
    b.Surfaces[3].From = c.Left;
    const TrkTrack track(ReadFile(b));
    const auto wall = track.GetSegment(0)->GetWSection(0);
    EXPECT_EQ(wall->GetStartLatitude(), c.Latitude);
    EXPECT_EQ(wall->GetStartWidth(), c.Width);
  }
}

TEST_F(TrkTrackTest, WriteWritesTheFileWithItsEdits) {
  Circuit.GetSegment(0)->GetXSection(1)->SetLatitude(2.0, 2.0);
  auto out = CountedPtr<Util::BinaryStream>(new Util::MemoryStream("out.trk"));
  Circuit.Write(out);
  const GPLTrkFile again(CountedPtr<Util::BinaryStream>(
      new Util::MemoryStream("again.trk", dynamic_cast<Util::MemoryStream&>(*out).Bytes())));
  EXPECT_EQ(again.GetLateral(1), MetresToTrkUnits(2.0));
}

TEST(Point3DTest, EqualityIsExactAndDistanceEuclidean) {
  EXPECT_EQ(Point3D(), Point3D(0.0, 0.0, 0.0));
  EXPECT_TRUE(Point3D(1.0, 2.0, 3.0) == Point3D(1.0, 2.0, 3.0));
  EXPECT_FALSE(Point3D(1.0, 2.0, 3.0) == Point3D(1.5, 2.0, 3.0));
  EXPECT_FALSE(Point3D(1.0, 2.0, 3.0) == Point3D(1.0, 2.5, 3.0));
  EXPECT_FALSE(Point3D(1.0, 2.0, 3.0) == Point3D(1.0, 2.0, 3.5));
  EXPECT_EQ(Point3D::Distance(Point3D(0, 0, 0), Point3D(3, 4, 12)), 13.0);
}

} // namespace
} // namespace Ostra::Papy

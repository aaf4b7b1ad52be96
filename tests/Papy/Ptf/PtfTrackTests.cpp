#include "Papy/Ptf/PtfTrack.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestSupport/N4PtfBuilder.h"
#include "Papy/N4/N4ArchiverRegistry.h"
#include "Papy/N4/N4TdoFile.h"
#include "Papy/Ptf/PtfTrackSegment.h"
#include "Papy/Types/SurfaceType.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

namespace Ostra::Papy {
namespace {

using Test::Make;
using Test::N4PtfBuilder;

const double Pi = std::acos(-1.0);
constexpr double Tolerance = 1e-9;
constexpr double Straight = N4PtfBuilder::SmallTrackStraight;
constexpr double Radius = N4PtfBuilder::SmallTrackRadius;
const double QuarterArc = Radius * Pi / 2;
const double Lap = 4 * Straight + 4 * QuarterArc;

CountedPtr<TdoFile> ReadArchive(const std::vector<unsigned char>& bytes) {
  return CountedPtr<TdoFile>(
      new N4TdoFile(CountedPtr<Util::BinaryStream>(new Util::MemoryStream("built.ptf", bytes)),
                    N4ArchiverRegistry::Instance().GetReadable(), nullptr));
}

CountedPtr<Track> ReadTrack(const std::vector<unsigned char>& bytes) {
  return CountedPtr<Track>(new PtfTrack(ReadArchive(bytes), "built.ptf"));
}

// A track of one segment with the given sections, around nothing in particular.
std::vector<unsigned char> OneSegment(N4PtfBuilder::TrackSegment segment) {
  N4PtfBuilder::Track track;
  track.Segments = {Make(std::move(segment))};
  N4PtfBuilder builder;
  builder.Write(track);
  return builder.Data();
}

std::string FormatErrorOf(const std::vector<unsigned char>& bytes) {
  try {
    ReadTrack(bytes);
  } catch (const Util::XFileFormat& e) {
    return e.What();
  }
  return "no format error";
}

class PtfTrackTest : public ::testing::Test {
protected:
  CountedPtr<Track> Small = ReadTrack(N4PtfBuilder::SmallTrack().Data());
};

TEST_F(PtfTrackTest, SegmentsAreTheTrackObjectsSegmentsInOrder) {
  ASSERT_EQ(Small->GetSegmentCount(), 8u);
  double start = 0.0;
  for (U32 s = 0; s < 8; ++s) {
    const auto segment = Small->GetSegment(s);
    const bool arc = s % 2 == 1;
    EXPECT_EQ(segment->IsCurve(), arc) << s;
    EXPECT_NEAR(segment->GetLength2D(), arc ? QuarterArc : Straight, Tolerance) << s;
    EXPECT_EQ(segment->GetLength3D(), segment->GetLength2D()) << s;
    EXPECT_NEAR(Small->GetSegmentStart2D(s), start, Tolerance) << s;
    EXPECT_EQ(Small->GetSegmentStart3D(s), Small->GetSegmentStart2D(s)) << s;
    start += segment->GetLength2D();
  }
  EXPECT_EQ(Small->GetSegmentStart2D(0), 0.0);
  EXPECT_NEAR(Small->GetLength2D(), Lap, Tolerance);
  EXPECT_EQ(Small->GetLength3D(), Small->GetLength2D());
  EXPECT_EQ(Small->Length2DToLength3D(123.25), 123.25);
  EXPECT_THROW(Small->GetSegment(8), Util::XAssertion);

  EXPECT_EQ(Small->GetSegment(1)->GetStartOrientation(), 0.0);
  EXPECT_NEAR(Small->GetSegment(1)->GetEndOrientation(), Pi / 2, Tolerance);

  double cx = 0, cy = 0, r = 0, sweep = 0;
  Small->GetSegment(1)->GetArc(cx, cy, r, sweep);
  EXPECT_NEAR(cx, Straight, Tolerance);
  EXPECT_NEAR(cy, Radius, Tolerance);
  EXPECT_NEAR(r, Radius, Tolerance);
  EXPECT_NEAR(sweep, Pi / 2, Tolerance);
}

TEST_F(PtfTrackTest, EachSegmentEndsWhereTheNextStarts) {
  for (U32 s = 0; s < 8; ++s) {
    const auto segment = Small->GetSegment(s);
    const auto next = Small->GetSegment((s + 1) % 8);
    for (const double latitude : {-8.0, 0.0, 8.0}) {
      const TrackFrame end = segment->GetFrame(segment->GetLength2D(), latitude);
      const TrackFrame start = next->GetFrame(0.0, latitude);
      EXPECT_NEAR(end.X, start.X, 1e-6) << s << " " << latitude;
      EXPECT_NEAR(end.Y, start.Y, 1e-6) << s << " " << latitude;
      EXPECT_NEAR(std::remainder(end.Orientation - start.Orientation, 2 * Pi), 0.0, Tolerance) << s;
    }
    EXPECT_NEAR(segment->GetCentrelineEndX(), next->GetCentrelineStartX(), Tolerance) << s;
    EXPECT_NEAR(segment->GetCentrelineEndY(), next->GetCentrelineStartY(), Tolerance) << s;
  }
}

TEST_F(PtfTrackTest, DistancesAreWrappedIntoTheLap) {
  struct Case {
    const char* Name;
    double Distance;
    U32 Segment;
    double Offset;
  };
  const std::vector<Case> cases = {
      {"lap start", 0.0, 0, 0.0},
      {"inside segment 0", 40.0, 0, 40.0},
      {"exactly at the end of segment 0", Straight, 1, 0.0},
      {"exactly at the lap length", Small->GetLength2D(), 0, 0.0},
      {"a little past the lap", Small->GetLength2D() + 5.0, 0, 5.0},
      {"a little before the lap", -5.0, 7, QuarterArc - 5.0},
      // Wrapped, it rounds to the lap length itself, which is the lap's start.
      {"a hair before the lap", -1e-300, 0, 0.0},
      {"three laps on", 3 * Small->GetLength2D() + Straight + 1.0, 1, 1.0},
  };
  for (const Case& c : cases) {
    double offset = -1.0;
    const auto segment = Small->GetSegmentAt(c.Distance, offset);
    EXPECT_EQ(segment.Get(), Small->GetSegment(c.Segment).Get()) << c.Name;
    EXPECT_NEAR(offset, c.Offset, 1e-9) << c.Name;
    const TrackFrame frame = Small->GetFrame(c.Distance, 2.0);
    const TrackFrame expected = Small->GetSegment(c.Segment)->GetFrame(c.Offset, 2.0);
    EXPECT_NEAR(frame.X, expected.X, 1e-6) << c.Name;
    EXPECT_NEAR(frame.Y, expected.Y, 1e-6) << c.Name;
  }
  double offset = 0.0;
  EXPECT_THROW(Small->GetSegmentAt(std::nan(""), offset), Util::XAssertion);
}

TEST_F(PtfTrackTest, FramesOnStraightsAndArcs) {
  const double half = std::sqrt(0.5);
  struct Case {
    const char* Name;
    double Distance, Latitude;
    double X, Y, Z, Orientation, Bank;
    int Surface;
  };
  // Cross lines at -10 (0.2 m low) and +10; surface lines -12, -6, +6, +12 give strips
  // of grass, asphalt and grass.
  const double bank = std::atan2(0.2, 20.0);
  const std::vector<Case> cases = {
      {"straight, centre", 50, 0, 50, 0, -0.1, 0, bank, SurfaceAsphalt},
      {"straight, left verge", 50, 9, 50, 9, -0.01, 0, bank, SurfaceGrass},
      {"straight, right verge", 50, -9, 50, -9, -0.19, 0, bank, SurfaceGrass},
      {"straight, beyond the right cross line", 50, -11, 50, -11, -0.2, 0, 0.0, SurfaceGrass},
      {"straight, beyond the left cross line", 50, 11, 50, 11, 0.0, 0, 0.0, SurfaceGrass},
      {"arc middle, centre", Straight + QuarterArc / 2, 0, Straight + Radius * half,
       Radius - Radius * half, -0.1, Pi / 4, bank, SurfaceAsphalt},
      // Inside a left-hand arc lies towards its centre.
      {"arc middle, inside", Straight + QuarterArc / 2, 5, Straight + (Radius - 5) * half,
       Radius - (Radius - 5) * half, -0.05, Pi / 4, bank, SurfaceAsphalt},
  };
  for (const Case& c : cases) {
    const TrackFrame f = Small->GetFrame(c.Distance, c.Latitude);
    EXPECT_NEAR(f.X, c.X, 1e-9) << c.Name;
    EXPECT_NEAR(f.Y, c.Y, 1e-9) << c.Name;
    EXPECT_NEAR(f.Z, c.Z, 1e-9) << c.Name;
    EXPECT_NEAR(f.Orientation, c.Orientation, 1e-9) << c.Name;
    EXPECT_NEAR(f.Pitch, 0.0, 1e-9) << c.Name;
    EXPECT_NEAR(f.Bank, c.Bank, 1e-9) << c.Name;
    EXPECT_EQ(f.SurfaceType, c.Surface) << c.Name;
  }
  const Point3D p = Small->GetPosition(50, 0);
  EXPECT_EQ(p, Point3D(50, 0, Small->GetFrame(50, 0).Z));
  EXPECT_NEAR(Small->GetOrientation(Straight + QuarterArc / 2), Pi / 4, 1e-9);
}

TEST_F(PtfTrackTest, StripsLieBetweenConsecutiveSurfaceLines) {
  const auto segment = Small->GetSegment(2);
  ASSERT_EQ(segment->GetFSectionCount(), 3u);
  struct Strip {
    double Right, Left;
    int Surface;
  };
  const std::vector<Strip> strips = {
      {-12, -6, SurfaceGrass}, {-6, 6, SurfaceAsphalt}, {6, 12, SurfaceGrass}};
  for (U32 k = 0; k < 3; ++k) {
    const auto strip = segment->GetFSection(k);
    EXPECT_EQ(strip->GetRightStartLatitude(), strips[k].Right) << k;
    EXPECT_EQ(strip->GetRightEndLatitude(), strips[k].Right) << k;
    EXPECT_EQ(strip->GetLeftStartLatitude(), strips[k].Left) << k;
    EXPECT_EQ(strip->GetLeftEndLatitude(), strips[k].Left) << k;
    EXPECT_EQ(strip->GetSurfaceType(), strips[k].Surface) << k;
    EXPECT_EQ(strip->GetGripModifier(), 0) << k;
  }
  EXPECT_THROW(segment->GetFSection(3), Util::XAssertion);

  ASSERT_EQ(segment->GetWSectionCount(), 2u);
  const auto right = segment->GetWSection(0);
  const auto left = segment->GetWSection(1);
  EXPECT_EQ(right->GetStartLatitude(), -13.0);
  EXPECT_EQ(left->GetEndLatitude(), 13.0);
  EXPECT_EQ(right->GetWallType(), WallConcrete);
  EXPECT_EQ(left->GetWallType(), WallTyres);
  EXPECT_EQ(right->GetStartHeight(), 1.0);
  EXPECT_EQ(right->GetEndWidth(), 0.5);
}

TEST(PtfTrackSegmentTest, WallsAnswerForTheirN4Walls) {
  N4PtfBuilder::TrackSegment segment{.EndX = 10};
  segment.WSections = {Make(N4PtfBuilder::WSection{.StartLatitude = -3,
                                                   .EndLatitude = -4,
                                                   .StartHeight = 1.5,
                                                   .EndHeight = 2.5,
                                                   .StartWidth = 0.25,
                                                   .EndWidth = 0.75})};
  const auto wall = ReadTrack(OneSegment(segment))->GetSegment(0)->GetWSection(0);
  EXPECT_EQ(wall->GetStartLatitude(), -3.0);
  EXPECT_EQ(wall->GetEndLatitude(), -4.0);
  EXPECT_EQ(wall->GetStartHeight(), 1.5);
  EXPECT_EQ(wall->GetEndHeight(), 2.5);
  EXPECT_EQ(wall->GetStartWidth(), 0.25);
  EXPECT_EQ(wall->GetEndWidth(), 0.75);
}

TEST(PtfTrackSegmentTest, StripsNeedTwoLines) {
  struct Case {
    std::vector<double> Lines;
    U32 Strips;
  };
  for (const Case& c : std::vector<Case>{{{}, 0}, {{-5}, 0}, {{-5, 5}, 1}, {{-5, 0, 5}, 2}}) {
    N4PtfBuilder::TrackSegment segment{.EndX = 10};
    for (const double latitude : c.Lines)
      segment.FSections.push_back(
          Make(N4PtfBuilder::FSection{.StartLatitude = latitude, .EndLatitude = latitude}));
    const auto track = ReadTrack(OneSegment(segment));
    EXPECT_EQ(track->GetSegment(0)->GetFSectionCount(), c.Strips) << c.Lines.size();
  }
}

TEST_F(PtfTrackTest, CrossSectionsAnswerForTheN4LinesAndWriteThrough) {
  const auto segment = Small->GetSegment(0);
  ASSERT_EQ(segment->GetXSectionCount(), 2u);
  const auto right = segment->GetXSection(0);
  EXPECT_EQ(right->GetStartLatitude(), -10.0);
  EXPECT_EQ(right->GetStartAltitude(), -0.2);

  right->SetAltitudes(1.0, 2.0, 0.5, -0.25);
  EXPECT_EQ(right->GetStartAltitude(), 1.0);
  EXPECT_EQ(right->GetEndAltitude(), 2.0);
  EXPECT_EQ(right->GetStartSlope(), 0.5);
  EXPECT_EQ(right->GetEndSlope(), -0.25);
  EXPECT_EQ(right->GetLinearCoefficient(), 0.5);
  EXPECT_EQ(right->GetSquareCoefficient(), 3.0 - 1.0 + 0.25);
  EXPECT_EQ(right->GetCubeCoefficient(), 0.5 - 0.25 - 2.0);
  // The track model measures along the segment in metres.
  EXPECT_NEAR(right->GetAltitudeAt(0.0), 1.0, Tolerance);
  EXPECT_NEAR(right->GetAltitudeAt(segment->GetLength2D()), 2.0, Tolerance);
  // Frames read the changed line.
  EXPECT_NEAR(Small->GetFrame(0.0, -10.0).Z, 1.0, Tolerance);
  EXPECT_NEAR(Small->GetFrame(0.0, -10.0).Pitch, std::asin(0.5), Tolerance);

  right->SetLatitude(-9.0, -8.0);
  EXPECT_EQ(right->GetStartLatitude(), -9.0);
  EXPECT_EQ(right->GetEndLatitude(), -8.0);

  // And so does the archive written from the track.
  const CountedPtr<Util::BinaryStream> out(new Util::MemoryStream("written.ptf"));
  Small->Write(out);
  const auto reread =
      ReadTrack(dynamic_cast<Util::MemoryStream&>(*out).Bytes());
  const auto line = reread->GetSegment(0)->GetXSection(0);
  EXPECT_EQ(line->GetStartAltitude(), 1.0);
  EXPECT_EQ(line->GetEndSlope(), -0.25);
  EXPECT_EQ(line->GetEndLatitude(), -8.0);
  EXPECT_NEAR(reread->GetLength2D(), Lap, Tolerance);
}

TEST(PtfTrackSegmentTest, DegenerateSegmentsGiveFiniteFrames) {
  // A straight without length and without any section.
  const auto track = ReadTrack(OneSegment(N4PtfBuilder::TrackSegment{.StartX = 3, .EndX = 3}));
  const auto segment = track->GetSegment(0);
  EXPECT_EQ(segment->GetLength2D(), 0.0);
  const TrackFrame f = segment->GetFrame(0.0, 2.0);
  EXPECT_EQ(f.X, 3.0);
  EXPECT_EQ(f.Y, 2.0);
  EXPECT_EQ(f.Z, 0.0);
  EXPECT_EQ(f.SurfaceType, SurfaceUnknown);
  EXPECT_EQ(track->GetLength2D(), 0.0);
  // A track without length has no place to find.
  double offset = 0.0;
  EXPECT_THROW(track->GetSegmentAt(0.0, offset), Util::XAssertion);
}

TEST(PtfTrackSegmentTest, SegmentsWithoutLengthAreNeverFound) {
  N4PtfBuilder::Track track;
  track.Segments = {Make(N4PtfBuilder::TrackSegment{.EndX = 10}),
                    Make(N4PtfBuilder::TrackSegment{.StartX = 10, .EndX = 10}),
                    Make(N4PtfBuilder::TrackSegment{.StartX = 10, .EndX = 30})};
  N4PtfBuilder builder;
  builder.Write(track);
  const auto ptf = ReadTrack(builder.Data());
  double offset = -1.0;
  EXPECT_EQ(ptf->GetSegmentAt(10.0, offset).Get(), ptf->GetSegment(2).Get());
  EXPECT_EQ(offset, 0.0);
  EXPECT_EQ(ptf->GetSegmentStart2D(2), 10.0);
}

TEST(PtfTrackSegmentTest, ArchivesThatAreNoTrackFailClearly) {
  struct Case {
    const char* Name;
    std::vector<unsigned char> Bytes;
    const char* Message;
  };
  N4PtfBuilder texture;
  texture.Write(N4PtfBuilder::Texture{});
  N4PtfBuilder not_a_segment;
  not_a_segment.Write(N4PtfBuilder::Track{.Segments = {Make(N4PtfBuilder::XSection{})}});
  const std::vector<Case> cases = {
      {"top object of another kind", texture.Data(), "N4 ptf file has no track"},
      {"segment of another kind", not_a_segment.Data(), "N4 ptf Track segment of another kind"},
      {"cross section of another kind",
       OneSegment(N4PtfBuilder::TrackSegment{.XSections = {Make(N4PtfBuilder::FSection{})},
                                             .EndX = 10}),
       "N4 ptf TrackSegment section of another kind"},
  };
  for (const Case& c : cases) {
    const std::string text = FormatErrorOf(c.Bytes);
    EXPECT_NE(text.find(c.Message), std::string::npos) << c.Name << ": " << text;
    EXPECT_NE(text.find("built.ptf"), std::string::npos) << c.Name;
  }
}

// Two straights of 200 m joined by half circles of radius 50, from (0, 0) along +x;
// the second half circle turns from heading Pi back to heading 0.
std::vector<unsigned char> Stadium(bool left) {
  const double w = left ? 100 : -100;
  const std::vector<N4PtfBuilder::SegmentEnds> ends = {
      {0, 0, 0, 200, 0, 0, false},
      {200, 0, 0, 200, w, Pi, true},
      {200, w, Pi, 0, w, Pi, false},
      {0, w, Pi, 0, 0, 0, true},
  };
  return N4PtfBuilder::PlainTrack(ends).Data();
}

TEST(PtfTrackSegmentTest, HalfCircleHairpinsCloseTheLap) {
  for (const bool left : {true, false}) {
    SCOPED_TRACE(left ? "anticlockwise" : "clockwise");
    const auto track = ReadTrack(Stadium(left));
    const double side = left ? 1.0 : -1.0;
    ASSERT_EQ(track->GetSegmentCount(), 4u);
    EXPECT_NEAR(track->GetLength2D(), 400 + 100 * Pi, Tolerance);
    // The far point of the second hairpin.
    const TrackFrame west = track->GetFrame(400 + 75 * Pi, 0);
    EXPECT_NEAR(west.X, -50, 1e-9);
    EXPECT_NEAR(west.Y, 50 * side, 1e-9);

    // Walked in small steps at the centre and beside it, the lap is one unbroken line
    // that heads where it goes and ends where it began.
    for (const double latitude : {-8.0, 0.0, 8.0}) {
      const int steps = 2000;
      const double step = track->GetLength2D() / steps;
      const double stretch = (50 + 8) / 50.0;
      TrackFrame previous = track->GetFrame(0, latitude);
      const TrackFrame first = previous;
      for (int i = 1; i < steps; ++i) {
        const double d = track->GetLength2D() * i / steps;
        const TrackFrame f = track->GetFrame(d, latitude);
        const double dx = f.X - previous.X;
        const double dy = f.Y - previous.Y;
        ASSERT_LE(std::hypot(dx, dy), step * stretch + 1e-9) << latitude << " at " << d;
        ASSERT_NEAR(std::remainder(std::atan2(dy, dx) - previous.Orientation, 2 * Pi), 0,
                    step / 50)
            << latitude << " at " << d;
        ASSERT_EQ(f.SurfaceType, std::fabs(latitude) < 6 ? SurfaceAsphalt : SurfaceGrass);
        previous = f;
      }
      EXPECT_LE(std::hypot(first.X - previous.X, first.Y - previous.Y), step * stretch + 1e-9);
      const TrackFrame end = track->GetSegment(3)->GetFrame(50 * Pi, latitude);
      EXPECT_NEAR(end.X, first.X, 1e-9) << latitude;
      EXPECT_NEAR(end.Y, first.Y, 1e-9) << latitude;
    }
  }
}

TEST(PtfTrackSegmentTest, ArcsWhoseEndsAreNoCircleFailAtConstruction) {
  // Parallel end headings: no centre.
  const auto bytes = OneSegment(N4PtfBuilder::TrackSegment{.Type = 1, .EndX = 10, .EndY = 5});
  try {
    ReadTrack(bytes);
    FAIL() << "no assertion";
  } catch (const Util::XAssertion& e) {
    EXPECT_NE(e.What().find("denominator1 != 0.0"), std::string::npos) << e.What();
  }
}

} // namespace
} // namespace Ostra::Papy

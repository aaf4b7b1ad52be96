#include "Velmar/Generators/RaceCorridor.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Papy/Lp/IniFile.h"
#include "Papy/Track/GPLTrkFile.h"
#include "Papy/Track/TrkTrack.h"
#include "Papy/Track/TrkUnits.h"
#include "TestSupport/GplTrkBuilder.h"
#include "TestSupport/TempDir.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

namespace Ostra::Velmar {
namespace {

using ::testing::HasSubstr;
using Util::U32;
namespace Support = Ostra::Test;

// TRK files hold latitudes in truncated units of 5.08e-5 m.
constexpr double TrkTolerance = 1e-4;

// Where a strip (or wall) of a built GPL section begins, at the section's start and
// end in metres, and its GPL code; the last mark of a section closes it.
struct Mark {
  double Start, End;
  U32 Code;
};
Mark At(double latitude, U32 code) { return {latitude, latitude, code}; }
constexpr U32 Asphalt = 1, Paint = 3, Grass = 4, Sand = 6, Water = 8, Wall = 0x802, Close = 10;

struct Raise {
  std::size_t Section, Lateral;
  double Metres;
};

// The built nine-section GPL circuit with the marks of each section (the last list
// serves the remaining sections), cross-section lines at the laterals, and lines raised
// in single sections.
CountedPtr<Papy::Track> BuildCircuit(const std::vector<std::vector<Mark>>& marks,
                                     const std::vector<double>& laterals = {-10.16, 0, 10.16},
                                     const std::vector<Raise>& raises = {}) {
  std::vector<Util::S32> lateral_units;
  for (double lateral : laterals)
    lateral_units.push_back(Papy::MetresToTrkUnits(lateral));
  Support::GplTrkBuilder b = Support::GplTrkBuilder::Loop(
      Support::GplTrkBuilder::CircuitShapes(), lateral_units, Support::GplTrkBuilder::CircuitAltitudes);
  b.Surfaces.clear();
  for (std::size_t s = 0; s < b.Sections.size(); ++s) {
    b.Sections[s].SurfaceStart = static_cast<U32>(b.Surfaces.size());
    for (const Mark& m : marks[std::min(s, marks.size() - 1)])
      b.Surfaces.push_back({Papy::MetresToTrkUnits(m.Start), Papy::MetresToTrkUnits(m.End), m.Code,
                            0, m.Code == Wall ? 20000 : 0, 0, 0, 0});
    b.Sections[s].SurfaceCount = static_cast<U32>(b.Surfaces.size()) - b.Sections[s].SurfaceStart;
  }
  for (const Raise& r : raises)
    b.Pieces[r.Section * laterals.size() + r.Lateral].A += Papy::MetresToTrkUnits(r.Metres);
  const CountedPtr<Papy::TrkFile> file(new Papy::GPLTrkFile(
      CountedPtr<Util::BinaryStream>(new Util::MemoryStream("circuit.trk", b.Bytes()))));
  return CountedPtr<Papy::Track>(new Papy::TrkTrack(file));
}

// Right start, right end, left start, left end, right side, left side.
struct Expected {
  double RightStart, RightEnd, LeftStart, LeftEnd;
  S32 RightSide, LeftSide;
};

void ExpectRanges(const Papy::Track& track, U32 section, const std::vector<Expected>& expected) {
  SCOPED_TRACE(section);
  const std::vector<Range> ranges = FindSegmentRanges(*track.GetSegment(section), {});
  ASSERT_EQ(ranges.size(), expected.size());
  for (std::size_t r = 0; r < ranges.size(); ++r) {
    EXPECT_NEAR(ranges[r].RightStartLatitude, expected[r].RightStart, TrkTolerance) << r;
    EXPECT_NEAR(ranges[r].RightEndLatitude, expected[r].RightEnd, TrkTolerance) << r;
    EXPECT_NEAR(ranges[r].LeftStartLatitude, expected[r].LeftStart, TrkTolerance) << r;
    EXPECT_NEAR(ranges[r].LeftEndLatitude, expected[r].LeftEnd, TrkTolerance) << r;
    EXPECT_EQ(ranges[r].RightSideType, expected[r].RightSide) << r;
    EXPECT_EQ(ranges[r].LeftSideType, expected[r].LeftSide) << r;
  }
}

constexpr S32 O = SideType::Outer, B = SideType::Barrier, V = SideType::Verge;

TEST(FindSegmentRangesTest, SplitsTheDrivableSurfaceAtBoundingStripsAndWalls) {
  const CountedPtr<Papy::Track> track = BuildCircuit({
      {At(-6, Asphalt), At(0, Paint), {5, 7, Close}},
      {At(-12, Grass), At(-8, Asphalt), At(-2, Grass), {2, 3, Asphalt}, {8, 9, Close}},
      {At(-8, Asphalt), At(-2, Water), At(2, Asphalt), At(8, Sand), At(9, Close)},
      {At(-8, Asphalt), {-0.2, 0.8, Wall}, {0.2, 1.2, Asphalt}, At(8, Close)},
      {At(-8, Asphalt), At(5.8, Wall), At(6.2, Asphalt), At(8, Close)},
      {At(0, Asphalt), At(4, Grass), At(10, Asphalt), {13, 12.9, Close}},
  });
  ExpectRanges(*track, 0, {{-6, -6, 5, 7, O, O}});
  ExpectRanges(*track, 1, {{-8, -8, -2, -2, V, V}, {2, 3, 8, 9, V, O}});
  ExpectRanges(*track, 2, {{-8, -8, -2, -2, O, B}, {2, 2, 8, 8, B, V}});
  ExpectRanges(*track, 3, {{-8, -8, 0, 1, O, O}, {0, 1, 8, 8, O, O}});
  // The pieces beyond the wall, and the far band at its end, are too narrow.
  ExpectRanges(*track, 4, {{-8, -8, 6, 6, O, O}});
  ExpectRanges(*track, 5, {{0, 0, 4, 4, O, V}});
}

TEST(FindSegmentRangesTest, CutsAtStepsBetweenCrossSectionLines) {
  // Lines at -10.16 m, 0 and 2 m, each 1/20 of its latitude higher. Lines 2 m apart
  // step where they differ by more than a sixth of that; 10.16 m apart, by more than
  // the whole gap.
  const CountedPtr<Papy::Track> track =
      BuildCircuit({{At(-12, Asphalt), At(12, Close)}}, {-10.16, 0, 2},
                   {{0, 2, 0.5}, {1, 2, 0.2}, {2, 1, 12}, {2, 2, 12}, {3, 1, 9}, {3, 2, 9}});
  ExpectRanges(*track, 0, {{-12, -12, 0, 0, O, B}, {2, 2, 12, 12, B, O}});
  ExpectRanges(*track, 1, {{-12, -12, 12, 12, O, O}});
  ExpectRanges(*track, 2, {{0, 0, 12, 12, B, O}});
  ExpectRanges(*track, 3, {{-12, -12, 12, 12, O, O}});
  // Crossing lines, as on a damaged track, are steps that double the bands at every
  // pair: that stops before it runs away.
  std::vector<double> crossing;
  for (int k = 0; k < 8; ++k) {
    crossing.push_back(11 - 0.5 * k);
    crossing.push_back(-11 + 0.5 * k);
  }
  const CountedPtr<Papy::Track> damaged = BuildCircuit({{At(-12, Asphalt), At(12, Close)}}, crossing);
  EXPECT_THROW(FindSegmentRanges(*damaged->GetSegment(0), {}), Util::XAssertion);
}

std::string FileFormatError(const std::string& path) {
  try {
    ReadPitLanes(Papy::IniFile(path, true));
  } catch (const Util::XFileFormat& e) {
    return e.What();
  }
  return "no error";
}

TEST(ReadPitLanesTest, RefusesMissingOrIncompleteBounds) {
  const std::string none = "track.ini\nPit lane bounds not present";
  const std::string part = "track.ini\nPit lane bounds not completely present";
  const std::string lane0 = "[pit_lane_0]\nlane_bounds_dlat = 1 2\nlane_bounds_dlong = 5 6\n";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", none},
      {"[ pit_lane_0 ]\nlane_on_right = 1\n", none},
      {"[ pit_lane_0 ]\nlane_bounds_dlong = 10 20\n", part},
      {"[pit_lane_0]\nlane_bounds_dlat = 10 20\n", part},
      {"[pit_lane_0]\nlane_bounds_dlat = 10 20\nlane_bounds_dlong = 5\n", part},
      {"[pit_lane_0]\nlane_bounds_dlat = 10\nlane_bounds_dlong = 5 6\n", part},
      // A number that does not read keeps the value that marks it missing.
      {"[pit_lane_0]\nlane_bounds_dlat = 10 abc\nlane_bounds_dlong = 5 6\n", part},
      {lane0 + "[pit_lane_1]\nlane_bounds_dlong = 5 6\n", part},
  };
  Support::TempDir dir;
  for (const auto& [text, message] : cases)
    EXPECT_THAT(FileFormatError(dir.WriteFile("track.ini", text)), HasSubstr(message)) << text;
  EXPECT_THAT(FileFormatError(dir / "missing.ini"), HasSubstr(none));
  VELMAR_REQUIRE_SHARED_DATA();
  // The shipped files have pit lanes but no lane bounds.
  EXPECT_THAT(FileFormatError(Support::SharedData("n4/atlanta/track.ini")), HasSubstr(none));
}

// Grass, the main asphalt from -12 m to 12 m, grass, a second asphalt band from 16 m to
// 24 m, grass; a section listed in walls has a wall standing in the main asphalt.
CountedPtr<Papy::Track> TwoBandCircuit(const std::vector<std::pair<std::size_t, double>>& walls) {
  std::vector<std::vector<Mark>> marks;
  for (std::size_t s = 0; s < 9; ++s) {
    std::vector<Mark> section = {At(-25, Grass), At(-12, Asphalt)};
    for (const auto& [wall_section, latitude] : walls) {
      if (wall_section == s) {
        section.push_back(At(latitude - 0.2, Wall));
        section.push_back(At(latitude + 0.2, Asphalt));
      }
    }
    section.insert(section.end(), {At(12, Grass), At(16, Asphalt), At(24, Grass), At(30, Close)});
    marks.push_back(section);
  }
  return BuildCircuit(marks);
}

std::string Number(double value) { return std::to_string(value); }

double Mid(const Papy::Track& track, U32 s) {
  return track.GetSegmentStart2D(s) + track.GetSegment(s)->GetLength2D() / 2;
}

std::string Lane(double from, double to, const std::string& band, bool on_right) {
  return "[ pit_lane_0 ]\nlane_bounds_dlong = " + Number(from) + " " + Number(to) +
         "\nlane_bounds_dlat = " + band + "\nlane_on_right = " + (on_right ? "1" : "0") + "\n";
}

class RaceCorridorTest : public ::testing::Test {
protected:
  // The corridor, after checking what every corridor must satisfy: one band per
  // segment, end to end, each wide enough and sharing enough with the next, round
  // the lap too.
  std::vector<CorridorSegment> Corridor(const Papy::Track& track, const std::string& ini) const {
    std::vector<CorridorSegment> corridor =
        BuildRaceCorridor(track, Papy::IniFile(Dir.WriteFile("track.ini", ini), true));
    EXPECT_EQ(corridor.size(), track.GetSegmentCount());
    double start = 0.0;
    for (std::size_t s = 0; s < corridor.size(); ++s) {
      const CorridorSegment& c = corridor[s];
      const CorridorSegment& next = corridor[(s + 1) % corridor.size()];
      EXPECT_EQ(c.Start, start) << s;
      start = c.End;
      EXPECT_GE(c.LeftStartLatitude - c.RightStartLatitude, 3.0) << s;
      EXPECT_GE(c.LeftEndLatitude - c.RightEndLatitude, 3.0) << s;
      EXPECT_GE(std::min(c.LeftEndLatitude, next.LeftStartLatitude) -
                    std::max(c.RightEndLatitude, next.RightStartLatitude),
                3.0)
          << s;
    }
    EXPECT_NEAR(start, track.GetLength2D(), 1e-3);
    return corridor;
  }

  // Failures are assertions here; returns the text.
  std::string Assertion(const Papy::Track& track, const std::string& ini) const {
    try {
      BuildRaceCorridor(track, Papy::IniFile(Dir.WriteFile("track.ini", ini), true));
    } catch (const Util::XAssertion& e) {
      return e.What();
    }
    return "no assertion";
  }

  Support::TempDir Dir;
};

void ExpectBand(const CorridorSegment& segment, double right, double left) {
  EXPECT_NEAR(segment.RightStartLatitude, right, TrkTolerance);
  EXPECT_NEAR(segment.RightEndLatitude, right, TrkTolerance);
  EXPECT_NEAR(segment.LeftStartLatitude, left, TrkTolerance);
  EXPECT_NEAR(segment.LeftEndLatitude, left, TrkTolerance);
}

TEST_F(RaceCorridorTest, ChoosesTheChainNearerTheCentreLineAndOnATieTheLaterOne) {
  const CountedPtr<Papy::Track> track = TwoBandCircuit({{2, 0.0}, {4, 4.0}});
  const auto corridor = Corridor(*track, Lane(Mid(*track, 0), Mid(*track, 1), "16 24", false));
  ASSERT_EQ(corridor.size(), 9u);
  const std::vector<std::pair<double, double>> bands = {
      {-12, 12}, {-12, 12}, {0, 12}, {-12, 12}, {-12, 4}, {-12, 12}, {-12, 12}, {-12, 12}, {-12, 12}};
  for (std::size_t s = 0; s < 9; ++s) {
    SCOPED_TRACE(s);
    ExpectBand(corridor[s], bands[s].first, bands[s].second);
  }
  EXPECT_EQ(corridor[0].RightSideType, SideType::Verge);
  EXPECT_EQ(corridor[2].RightSideType, SideType::Outer);
}

TEST_F(RaceCorridorTest, StartsAndClosesOnTheBandOfTheFirstGridStall) {
  const CountedPtr<Papy::Track> track = TwoBandCircuit({{2, 0.0}});
  const std::string lane = Lane(Mid(*track, 0), Mid(*track, 1), "16 24", false);
  const std::string grid = "[starting_grid_0]\nstall_0 = ";
  const std::string at2 = grid + Number(Mid(*track, 2));
  // Stall -> band chosen in section 2.
  const std::vector<std::pair<std::string, std::pair<double, double>>> cases = {
      {at2 + " -6 0.02\n", {-12, 0}}, {at2 + " 6\n", {0, 12}}, {"", {0, 12}}};
  for (const auto& [stall, band] : cases) {
    SCOPED_TRACE(stall);
    const auto corridor = Corridor(*track, lane + stall);
    ASSERT_EQ(corridor.size(), 9u);
    ExpectBand(corridor[2], band.first, band.second);
  }
  // Outside every band, before the lap and past its end.
  for (const std::string& stall : {at2 + " 14\n", grid + "-1 0\n", grid + "1e6 0\n"})
    EXPECT_THAT(Assertion(*track, lane + stall), HasSubstr("!route_alternatives.empty()"));
}

TEST_F(RaceCorridorTest, KeepsOutOfThePitLaneAlongsideItsSegments) {
  const CountedPtr<Papy::Track> track = TwoBandCircuit({});
  const Papy::Track& t = *track;
  struct LaneCase {
    const char* Name;
    std::string Ini;
    std::vector<U32> Touched;
    // The main band's edge on the lane's side there; elsewhere it stays at 12 m.
    double Edge;
    bool OnRight;
  };
  const std::vector<LaneCase> cases = {
      {"within the lap", Lane(Mid(t, 2), Mid(t, 4), "8 30", false), {2, 3, 4}, 8.0, false},
      {"across the start line", Lane(Mid(t, 7), Mid(t, 1), "8 30", false), {7, 8, 0, 1}, 8.0, false},
      {"on the right", Lane(Mid(t, 3), Mid(t, 3) + 10, "-30 -7", true), {3}, -7.0, true},
      {"beside the band", Lane(Mid(t, 5), Mid(t, 6), "13 15", false), {}, 0.0, false},
      // Not a lane across the start line round the whole lap: no lane at all.
      {"ending where it begins", Lane(Mid(t, 2), Mid(t, 2), "8 30", false), {}, 0.0, false},
  };
  for (const LaneCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto corridor = Corridor(t, c.Ini);
    ASSERT_EQ(corridor.size(), 9u);
    for (U32 s = 0; s < 9; ++s) {
      const bool touched = std::count(c.Touched.begin(), c.Touched.end(), s) > 0;
      const double edge = touched ? c.Edge : (c.OnRight ? -12.0 : 12.0);
      const CorridorSegment& g = corridor[s];
      EXPECT_NEAR(c.OnRight ? g.RightStartLatitude : g.LeftStartLatitude, edge, TrkTolerance) << s;
      EXPECT_NEAR(c.OnRight ? g.RightEndLatitude : g.LeftEndLatitude, edge, TrkTolerance) << s;
    }
  }
  // A lane over all of a segment's bands leaves it none; one that leaves only the
  // second band breaks the chain.
  EXPECT_THAT(Assertion(t, Lane(Mid(t, 3), Mid(t, 4), "-30 30", true)),
              HasSubstr("seg_ranges.Track.size() > 0"));
  EXPECT_THAT(Assertion(t, Lane(Mid(t, 3), Mid(t, 4), "-30 10", true)),
              HasSubstr("route_alternatives.size() > 0"));
}

} // namespace
} // namespace Ostra::Velmar

#include "Velmar/Generators/RaceCorridor.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Papy/Lp/IniFile.h"
#include "Papy/Track/GPLTrkFile.h"
#include "Papy/Track/TrkTrack.h"
#include "Papy/Track/TrkUnits.h"
#include "Papy/Types/SurfaceType.h"
#include "TestSupport/GplTrkBuilder.h"
#include "TestSupport/TempDir.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

namespace Ostra::Velmar {
namespace {

using ::testing::HasSubstr;
using Ostra::Test::GplTrkBuilder;
using Util::S32;
using Util::U32;

// TRK files hold latitudes in units of 5.08e-5 m.
constexpr double TrkTolerance = 1e-4;

// A segment whose sections are given directly in metres, so that one edge at a time can
// be set apart from the others.
struct Strip {
  int Type;
  double RightStart, RightEnd, LeftStart, LeftEnd;
};
struct Line {
  double Start, End, StartAltitude, EndAltitude;
};

class FakeFSection : public Papy::TrackFSection {
public:
  explicit FakeFSection(const Strip& strip) : S(strip) {}
  double GetRightStartLatitude() const override { return S.RightStart; }
  double GetRightEndLatitude() const override { return S.RightEnd; }
  double GetLeftStartLatitude() const override { return S.LeftStart; }
  double GetLeftEndLatitude() const override { return S.LeftEnd; }
  int GetSurfaceType() const override { return S.Type; }
  int GetGripModifier() const override { return 0; }
  Strip S;
};

class FakeWSection : public Papy::TrackWSection {
public:
  FakeWSection(double start, double end) : Start(start), End(end) {}
  double GetStartLatitude() const override { return Start; }
  double GetEndLatitude() const override { return End; }
  double GetStartHeight() const override { return 1.0; }
  double GetEndHeight() const override { return 1.0; }
  double GetStartWidth() const override { return 0.5; }
  double GetEndWidth() const override { return 0.5; }
  int GetWallType() const override { return Papy::WallArmco; }
  double Start, End;
};

class FakeXSection : public Papy::TrackXSection {
public:
  explicit FakeXSection(const Line& line) : L(line) {}
  double GetStartLatitude() const override { return L.Start; }
  double GetEndLatitude() const override { return L.End; }
  void SetLatitude(double, double) override {}
  double GetStartAltitude() const override { return L.StartAltitude; }
  double GetEndAltitude() const override { return L.EndAltitude; }
  double GetStartSlope() const override { return 0.0; }
  double GetEndSlope() const override { return 0.0; }
  void SetAltitudes(double, double, double, double) override {}
  double GetLinearCoefficient() const override { return 0.0; }
  double GetSquareCoefficient() const override { return 0.0; }
  double GetCubeCoefficient() const override { return 0.0; }
  double GetAltitudeAt(double) const override { return 0.0; }
  Line L;
};

class FakeSegment : public Papy::TrackSegment {
public:
  FakeSegment(const std::vector<Strip>& strips, const std::vector<std::pair<double, double>>& walls,
              const std::vector<Line>& lines) {
    for (const Strip& strip : strips)
      F.emplace_back(new FakeFSection(strip));
    for (const auto& [start, end] : walls)
      W.emplace_back(new FakeWSection(start, end));
    for (const Line& line : lines)
      X.emplace_back(new FakeXSection(line));
  }
  bool IsCurve() const override { return false; }
  double GetCentrelineStartX() const override { return 0.0; }
  double GetCentrelineStartY() const override { return 0.0; }
  double GetCentrelineEndX() const override { return 100.0; }
  double GetCentrelineEndY() const override { return 0.0; }
  double GetLength3D() const override { return 100.0; }
  double GetLength2D() const override { return 100.0; }
  void GetArc(double&, double&, double&, double&) const override {}
  double GetStartOrientation() const override { return 0.0; }
  double GetEndOrientation() const override { return 0.0; }
  U32 GetXSectionCount() const override { return static_cast<U32>(X.size()); }
  CountedPtr<Papy::TrackXSection> GetXSection(U32 i) const override { return X.at(i); }
  U32 GetFSectionCount() const override { return static_cast<U32>(F.size()); }
  CountedPtr<Papy::TrackFSection> GetFSection(U32 i) const override { return F.at(i); }
  U32 GetWSectionCount() const override { return static_cast<U32>(W.size()); }
  CountedPtr<Papy::TrackWSection> GetWSection(U32 i) const override { return W.at(i); }
  Papy::TrackFrame GetFrame(double, double) const override { return {}; }

  std::vector<CountedPtr<Papy::TrackFSection>> F;
  std::vector<CountedPtr<Papy::TrackWSection>> W;
  std::vector<CountedPtr<Papy::TrackXSection>> X;
};

// The same strip at both ends.
Strip Even(int type, double right, double left) { return {type, right, right, left, left}; }

constexpr int Asphalt = Papy::SurfaceAsphalt, Paint = Papy::SurfacePaint,
              Grass = Papy::SurfaceGrass, Water = Papy::SurfaceWater, Sand = Papy::SurfaceSand;

struct RangesCase {
  const char* Name;
  std::vector<Strip> Strips;
  std::vector<std::pair<double, double>> Walls;
  std::vector<Line> Lines;
  // Right start, right end, left start, left end.
  std::vector<std::array<double, 4>> Edges;
  std::vector<std::pair<S32, S32>> Sides;
};

TEST(FindSegmentRangesTest, SplitsTheDrivableSurfaceAtBoundsWallsAndSteps) {
  const std::vector<RangesCase> cases = {
      {"adjacent drivable strips merge", {Even(Asphalt, -6, 0), {Paint, 0, 0, 5, 7}}, {}, {},
       {{-6, -6, 5, 7}}, {{SideType::Outer, SideType::Outer}}},
      {"grass between asphalt gives verge sides",
       {Even(Grass, -12, -8), Even(Asphalt, -8, -2), Even(Grass, -2, 2), {Asphalt, 2, 3, 8, 9}},
       {}, {}, {{-8, -8, -2, -2}, {2, 3, 8, 9}},
       {{SideType::Verge, SideType::Verge}, {SideType::Verge, SideType::Outer}}},
      {"water between asphalt gives barrier sides",
       {Even(Asphalt, -8, -2), Even(Water, -2, 2), Even(Asphalt, 2, 8), Even(Sand, 8, 9)}, {}, {},
       {{-8, -8, -2, -2}, {2, 2, 8, 8}},
       {{SideType::Outer, SideType::Barrier}, {SideType::Barrier, SideType::Verge}}},
      {"an unknown code neither opens nor closes",
       {Even(99, -9, -6), Even(Asphalt, -6, -1), Even(-1, -1, 1), Even(Asphalt, 1, 6)}, {}, {},
       {{-6, -6, 6, 6}}, {{SideType::Outer, SideType::Outer}}},
      {"a wall splits the range it stands in", {Even(Asphalt, -8, 8)}, {{0, 1}}, {},
       {{-8, -8, 0, 1}, {0, 1, 8, 8}},
       {{SideType::Outer, SideType::Outer}, {SideType::Outer, SideType::Outer}}},
      {"a wall near an edge leaves one wide piece", {Even(Asphalt, -8, 8)}, {{6, 6}, {20, 20}}, {},
       {{-8, -8, 6, 6}}, {{SideType::Outer, SideType::Outer}}},
      {"a range narrow at one end is none",
       {Even(Asphalt, 0, 4), Even(Grass, 4, 10), {Asphalt, 10, 10, 13, 12.9}}, {}, {},
       {{0, 0, 4, 4}}, {{SideType::Outer, SideType::Verge}}},
      {"wide lines with a tall step cut the range",
       {Even(Asphalt, -10, 10)}, {}, {{-2, -2, 0, 0}, {2, 2, 0, 4.5}},
       {{-10, -10, -2, -2}, {2, 2, 10, 10}},
       {{SideType::Outer, SideType::Barrier}, {SideType::Barrier, SideType::Outer}}},
      {"wide lines with a low step do not", {Even(Asphalt, -10, 10)}, {}, {{-2, -2, 0, 0}, {2, 2, 0, 3.9}},
       {{-10, -10, 10, 10}}, {{SideType::Outer, SideType::Outer}}},
      {"narrow lines step at a sixth of their gap",
       {Even(Asphalt, -10, 10)}, {}, {{-1, -1, 0, 0}, {1, 1, 0.34, 0}},
       {{-10, -10, -1, -1}, {1, 1, 10, 10}},
       {{SideType::Outer, SideType::Barrier}, {SideType::Barrier, SideType::Outer}}},
      {"narrow lines below a sixth are no step", {Even(Asphalt, -10, 10)}, {},
       {{-1, -1, 0, 0}, {1, 1, 0.33, 0.33}}, {{-10, -10, 10, 10}},
       {{SideType::Outer, SideType::Outer}}},
      {"a step at the edge keeps only the wide piece",
       {Even(Asphalt, -10, 10)}, {}, {{8, 8, 0, 0}, {12, 12, 9, 9}}, {{-10, -10, 8, 8}},
       {{SideType::Outer, SideType::Barrier}}},
  };
  for (const RangesCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::vector<Range> ranges = FindSegmentRanges(FakeSegment(c.Strips, c.Walls, c.Lines), {});
    ASSERT_EQ(ranges.size(), c.Edges.size());
    for (std::size_t r = 0; r < ranges.size(); ++r) {
      EXPECT_EQ(ranges[r].RightStartLatitude, c.Edges[r][0]) << r;
      EXPECT_EQ(ranges[r].RightEndLatitude, c.Edges[r][1]) << r;
      EXPECT_EQ(ranges[r].LeftStartLatitude, c.Edges[r][2]) << r;
      EXPECT_EQ(ranges[r].LeftEndLatitude, c.Edges[r][3]) << r;
      EXPECT_EQ(ranges[r].RightSideType, c.Sides[r].first) << r;
      EXPECT_EQ(ranges[r].LeftSideType, c.Sides[r].second) << r;
    }
  }
}

TEST(FindSegmentRangesTest, AWallAcrossARangeEdgeIsAnAssertion) {
  const std::vector<std::pair<std::pair<double, double>, const char*>> walls = {
      {{7, 9}, "w_section->GetEndLatitude() <= range.LeftEndLatitude"},
      {{-7, -9}, "w_section->GetEndLatitude() >= range.RightEndLatitude"},
      {{9, 7}, "w_section->GetStartLatitude() <= range.LeftStartLatitude"},
  };
  for (const auto& [wall, text] : walls) {
    try {
      FindSegmentRanges(FakeSegment({Even(Asphalt, -8, 8)}, {wall}, {}), {});
      ADD_FAILURE() << text;
    } catch (const Util::XAssertion& e) {
      EXPECT_THAT(e.What(), HasSubstr(text));
    }
  }
}

std::string FileFormatError(const std::string& ini_text) {
  Ostra::Test::TempDir dir;
  const Papy::IniFile ini(dir.WriteFile("track.ini", ini_text), true);
  try {
    ReadPitLanes(ini);
  } catch (const Util::XFileFormat& e) {
    return e.What();
  }
  return "no error";
}

TEST(ReadPitLanesTest, RefusesMissingOrIncompleteBounds) {
  const std::string not_present = "track.ini\nPit lane bounds not present";
  const std::string incomplete = "track.ini\nPit lane bounds not completely present";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", not_present},
      {"[ pit_lane_0 ]\nlane_bounds_dlong = 10 20\n", incomplete},
      {"[ pit_lane_0 ]\nlane_on_right = 1\n", not_present},
      {"[pit_lane_0]\nlane_bounds_dlat = 10 20\n", incomplete},
      {"[pit_lane_0]\nlane_bounds_dlat = 10 20\nlane_bounds_dlong = 5\n", incomplete},
      {"[pit_lane_0]\nlane_bounds_dlat = 10\nlane_bounds_dlong = 5 6\n", incomplete},
      // A number that does not read keeps the value that marks it missing.
      {"[pit_lane_0]\nlane_bounds_dlat = 10 abc\nlane_bounds_dlong = 5 6\n", incomplete},
      {"[pit_lane_0]\nlane_bounds_dlat = 1 2\nlane_bounds_dlong = 5 6\n"
       "[pit_lane_1]\nlane_bounds_dlong = 5 6\n",
       incomplete},
  };
  for (const auto& [text, message] : cases)
    EXPECT_THAT(FileFormatError(text), HasSubstr(message)) << text;
  const Papy::IniFile atlanta(Ostra::Test::SharedData("n4/atlanta/track.ini"), true);
  try {
    ReadPitLanes(atlanta);
    ADD_FAILURE() << "the shipped track.ini has no lane bounds";
  } catch (const Util::XFileFormat& e) {
    EXPECT_THAT(e.What(), HasSubstr(not_present));
  }
}

TEST(ReadPitLanesTest, ReadsEveryLaneUpToTheFirstWithoutLateralBounds) {
  Ostra::Test::TempDir dir;
  const Papy::IniFile ini(dir.WriteFile("track.ini",
                                        "[ pit_lane_0 ]\r\n"
                                        "lane_bounds_dlong = 700.5 40 ; crosses the line\r\n"
                                        "lane_bounds_dlat = 14.0\t22.5 7\r\n"
                                        "[ pit_lane_1 ]\r\n"
                                        "lane_bounds_dlong = 100 200\r\n"
                                        "lane_bounds_dlat = -30 -20\r\n"
                                        "lane_on_right = 1\r\n"
                                        "[ pit_lane_3 ]\r\n"
                                        "lane_bounds_dlong = 1 2\r\nlane_bounds_dlat = 1 2\r\n"),
                          true);
  const std::vector<PitLane> lanes = ReadPitLanes(ini);
  ASSERT_EQ(lanes.size(), 2u);
  EXPECT_EQ(lanes[0].From, 700.5);
  EXPECT_EQ(lanes[0].To, 40.0);
  EXPECT_EQ(lanes[0].RightLatitude, 14.0);
  EXPECT_EQ(lanes[0].LeftLatitude, 22.5);
  EXPECT_FALSE(lanes[0].OnRight);
  EXPECT_EQ(lanes[1].From, 100.0);
  EXPECT_EQ(lanes[1].LeftLatitude, -20.0);
  EXPECT_TRUE(lanes[1].OnRight);
}

// The built GPL circuit (nine sections) with its surfaces replaced: grass, the main
// asphalt from -12 m to 12 m, grass, a second asphalt band from 16 m to 24 m, grass.
// Sections listed in split_at get a 0.4 m wall centred at that latitude inside the
// main asphalt; sections in stepped get their left cross-section line (10.16 m)
// raised 12 m, a step that cuts the main asphalt at the middle line.
struct CircuitLayout {
  std::vector<std::pair<std::size_t, double>> SplitAt;
  std::vector<std::size_t> Stepped;
};

CountedPtr<Papy::Track> BuildCircuit(const CircuitLayout& layout) {
  GplTrkBuilder b = GplTrkBuilder::Circuit();
  b.Surfaces.clear();
  const auto units = [](double metres) { return Papy::MetresToTrkUnits(metres); };
  const auto strip = [&](double at, Util::U32 type) {
    b.Surfaces.push_back({units(at), units(at), type, 0, type >= 0x800 ? 20000 : 0, 0, 0, 0});
  };
  for (std::size_t s = 0; s < b.Sections.size(); ++s) {
    b.Sections[s].SurfaceStart = static_cast<U32>(b.Surfaces.size());
    strip(-25, 4);
    strip(-12, 1);
    for (const auto& [section, latitude] : layout.SplitAt) {
      if (section == s) {
        strip(latitude - 0.2, 0x800 | 2);
        strip(latitude + 0.2, 1);
      }
    }
    strip(12, 4);
    strip(16, 1);
    strip(24, 4);
    strip(30, 10);
    b.Sections[s].SurfaceCount = static_cast<U32>(b.Surfaces.size()) - b.Sections[s].SurfaceStart;
    if (std::count(layout.Stepped.begin(), layout.Stepped.end(), s) > 0)
      b.Pieces[s * b.Laterals.size() + 2].A += units(12.0);
  }
  const CountedPtr<Papy::TrkFile> file(new Papy::GPLTrkFile(
      CountedPtr<Util::BinaryStream>(new Util::MemoryStream("circuit.trk", b.Bytes()))));
  return CountedPtr<Papy::Track>(new Papy::TrkTrack(file));
}

class RaceCorridorTest : public ::testing::Test {
protected:
  Papy::IniFile Ini(const std::string& text) const {
    return Papy::IniFile(Dir.WriteFile("track.ini", text), true);
  }
  // A lane on the left over the second asphalt band, alongside sections 0 and 1.
  std::string LeftLane(const Papy::Track& track) const {
    return "[ pit_lane_0 ]\nlane_bounds_dlong = " + std::to_string(Mid(track, 0)) + " " +
           std::to_string(Mid(track, 1)) + "\nlane_bounds_dlat = 16 24\n";
  }
  static double Mid(const Papy::Track& track, U32 s) {
    return track.GetSegmentStart2D(s) + track.GetSegment(s)->GetLength2D() / 2;
  }
  static std::string Text(double value) { return std::to_string(value); }

  // Checks what every corridor must satisfy and returns it.
  static std::vector<CorridorSegment> Checked(const Papy::Track& track,
                                              std::vector<CorridorSegment> corridor) {
    const U32 n = track.GetSegmentCount();
    EXPECT_EQ(corridor.size(), n);
    double start = 0.0;
    for (U32 s = 0; s < corridor.size(); ++s) {
      const CorridorSegment& c = corridor[s];
      EXPECT_EQ(c.Start, start) << s;
      EXPECT_EQ(c.End, c.Start + track.GetSegment(s)->GetLength2D()) << s;
      start = c.End;
      EXPECT_GE(c.LeftStartLatitude - c.RightStartLatitude, 3.0) << s;
      EXPECT_GE(c.LeftEndLatitude - c.RightEndLatitude, 3.0) << s;
      // Round the lap too: the last band hands over to the first.
      const CorridorSegment& next = corridor[(s + 1) % corridor.size()];
      const double low = std::max(c.RightEndLatitude, next.RightStartLatitude);
      const double high = std::min(c.LeftEndLatitude, next.LeftStartLatitude);
      EXPECT_GE(high - low, 3.0) << s;
    }
    EXPECT_NEAR(start, track.GetLength2D(), 1e-3);
    return corridor;
  }

  Ostra::Test::TempDir Dir;
};

TEST_F(RaceCorridorTest, FollowsTheMainAsphaltRoundTheLap) {
  const CountedPtr<Papy::Track> track = BuildCircuit({{{2, 0.0}, {4, 4.0}}, {6}});
  const auto corridor = Checked(*track, BuildRaceCorridor(*track, Ini(LeftLane(*track))));
  ASSERT_EQ(corridor.size(), 9u);
  // (right, left) of the main band: equal halves at section 2 keep the later (left)
  // one; at section 4 the half nearer the centre line; at section 6 the lower side of
  // the step.
  const std::vector<std::pair<double, double>> expected = {
      {-12, 12}, {-12, 12}, {0, 12}, {-12, 12}, {-12, 4}, {-12, 12}, {-12, 0}, {-12, 12}, {-12, 12}};
  for (std::size_t s = 0; s < 9; ++s) {
    EXPECT_NEAR(corridor[s].RightStartLatitude, expected[s].first, TrkTolerance) << s;
    EXPECT_NEAR(corridor[s].RightEndLatitude, expected[s].first, TrkTolerance) << s;
    EXPECT_NEAR(corridor[s].LeftStartLatitude, expected[s].second, TrkTolerance) << s;
    EXPECT_NEAR(corridor[s].LeftEndLatitude, expected[s].second, TrkTolerance) << s;
  }
  EXPECT_EQ(corridor[0].RightSideType, SideType::Verge);
  EXPECT_EQ(corridor[2].RightSideType, SideType::Outer);
  EXPECT_EQ(corridor[4].LeftSideType, SideType::Outer);
  EXPECT_EQ(corridor[6].LeftSideType, SideType::Barrier);
  EXPECT_EQ(corridor[6].RightSideType, SideType::Verge);
}

TEST_F(RaceCorridorTest, StartsAndClosesOnTheBandOfTheFirstGridStall) {
  const CountedPtr<Papy::Track> track = BuildCircuit({{{2, 0.0}}, {}});
  const std::string lane = LeftLane(*track);
  const std::string at2 = "[starting_grid_0]\nstall_0 = " + Text(Mid(*track, 2));
  // Stall latitude -> (right, left) of the band chosen in section 2.
  const std::vector<std::pair<std::string, std::pair<double, double>>> cases = {
      {at2 + " -6 0.02\n", {-12, 0}}, {at2 + " 6\n", {0, 12}}, {"", {0, 12}}};
  for (const auto& [stall, band] : cases) {
    SCOPED_TRACE(stall);
    const auto corridor = Checked(*track, BuildRaceCorridor(*track, Ini(lane + stall)));
    ASSERT_EQ(corridor.size(), 9u);
    EXPECT_NEAR(corridor[2].RightStartLatitude, band.first, TrkTolerance);
    EXPECT_NEAR(corridor[2].LeftEndLatitude, band.second, TrkTolerance);
  }
  // Outside every band, before the lap and past its end.
  for (const std::string& stall : std::vector<std::string>{
           at2 + " 14\n", "[starting_grid_0]\nstall_0 = -1 0\n", "[starting_grid_0]\nstall_0 = 1e6 0\n"}) {
    try {
      BuildRaceCorridor(*track, Ini(lane + stall));
      ADD_FAILURE() << stall;
    } catch (const Util::XAssertion& e) {
      EXPECT_THAT(e.What(), HasSubstr("!route_alternatives.empty()"));
    }
  }
}

TEST_F(RaceCorridorTest, KeepsOutOfThePitLanesAlongsideTheirSegments) {
  const CountedPtr<Papy::Track> track = BuildCircuit({});
  const Papy::Track& t = *track;
  struct LaneCase {
    std::string Name;
    double From, To;
    std::string Band;
    bool OnRight;
    std::vector<U32> Touched;
    // Edge of the main band in touched segments (left edge for a lane on the left).
    double CutEdge;
  };
  const std::vector<LaneCase> cases = {
      {"left lane within the lap", Mid(t, 2), Mid(t, 4), "8 30", false, {2, 3, 4}, 8.0},
      {"left lane across the start line", Mid(t, 7), Mid(t, 1), "8 30", false, {7, 8, 0, 1}, 8.0},
      {"right lane", Mid(t, 3), Mid(t, 3) + 10.0, "-30 -7", true, {3}, -7.0},
      {"lane beside the band", Mid(t, 5), Mid(t, 6), "13 15", false, {}, 12.0},
  };
  for (const LaneCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string ini = "[ pit_lane_0 ]\nlane_bounds_dlong = " + Text(c.From) + " " +
                            Text(c.To) + "\nlane_bounds_dlat = " + c.Band +
                            "\nlane_on_right = " + (c.OnRight ? "1" : "0") + "\n";
    const auto corridor = Checked(t, BuildRaceCorridor(t, Ini(ini)));
    ASSERT_EQ(corridor.size(), 9u);
    for (U32 s = 0; s < 9; ++s) {
      const bool touched = std::count(c.Touched.begin(), c.Touched.end(), s) > 0;
      const double edge = touched ? c.CutEdge : (c.OnRight ? -12.0 : 12.0);
      const CorridorSegment& g = corridor[s];
      EXPECT_NEAR(c.OnRight ? g.RightStartLatitude : g.LeftStartLatitude, edge, TrkTolerance) << s;
      EXPECT_NEAR(c.OnRight ? g.RightEndLatitude : g.LeftEndLatitude, edge, TrkTolerance) << s;
    }
  }
  // A lane over all of a segment's bands leaves none; one that leaves only the second
  // band breaks the chain.
  const std::vector<std::pair<std::string, std::string>> failures = {
      {"-30 30", "seg_ranges.Track.size() > 0"}, {"-30 10", "route_alternatives.size() > 0"}};
  for (const auto& [band, text] : failures) {
    const std::string ini = "[ pit_lane_0 ]\nlane_bounds_dlong = " + Text(Mid(t, 3)) + " " +
                            Text(Mid(t, 4)) + "\nlane_bounds_dlat = " + band +
                            "\nlane_on_right = 1\n";
    try {
      BuildRaceCorridor(t, Ini(ini));
      ADD_FAILURE() << band;
    } catch (const Util::XAssertion& e) {
      EXPECT_THAT(e.What(), HasSubstr(text));
    }
  }
}

} // namespace
} // namespace Ostra::Velmar

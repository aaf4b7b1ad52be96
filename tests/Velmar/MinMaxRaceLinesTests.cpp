#include "Velmar/Generators/MinMaxRaceLines.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Papy/Curve/LpFileCurve.h"
#include "Papy/Files/Facets.h"
#include "Papy/Lp/IniFile.h"
#include "Papy/Lp/N4LpFile.h"
#include "Papy/N4/N4ArchiverRegistry.h"
#include "Papy/N4/N4TdoFile.h"
#include "Papy/Ptf/PtfTrack.h"
#include "TestSupport/LpFakes.h"
#include "TestSupport/N4PtfBuilder.h"
#include "TestSupport/TempDir.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

namespace Ostra::Velmar {
namespace {

using ::testing::HasSubstr;
using Util::U32;

// N4 LP files hold latitudes as 32-bit floats.
constexpr double FloatTolerance = 1e-4;

CorridorSegment Band(double start, double end, double right_start, double right_end,
                     double left_start, double left_end) {
  return {start, end, right_start, right_end, SideType::Verge, left_start, left_end,
          SideType::Verge};
}

// A new N4 line with records every 3 m over a lap of the given length: the last record
// lies beyond the lap end.
CountedPtr<Papy::N4LpFile> NewLine(double lap) {
  return CountedPtr<Papy::N4LpFile>(new Papy::N4LpFile(
      CountedPtr<Papy::Track>(new Papy::LpTest::LengthOnlyTrack(lap)), 0.0));
}

// The bound of the edge at a plan distance, the edges being straight in a segment.
double BoundAt(const std::vector<CorridorSegment>& corridor, double longitude, bool right,
               const RaceLineSettings& settings) {
  for (const CorridorSegment& s : corridor) {
    if (longitude < s.Start || longitude > s.End)
      continue;
    const double t = (longitude - s.Start) / (s.End - s.Start);
    if (right)
      return s.RightStartLatitude + t * (s.RightEndLatitude - s.RightStartLatitude) +
             GetSideMargin(settings, s.RightSideType);
    return s.LeftStartLatitude + t * (s.LeftEndLatitude - s.LeftStartLatitude) -
           GetSideMargin(settings, s.LeftSideType);
  }
  ADD_FAILURE() << "no segment at " << longitude;
  return 0.0;
}

TEST(GetSideMarginTest, PicksTheMarginOfTheSideType) {
  RaceLineSettings settings;
  settings.VergeMargin = 2.0;
  settings.BarrierMargin = 1.0;
  settings.OtherMargin = 3.0;
  const std::vector<std::pair<int, double>> cases = {
      {SideType::Barrier, 1.0}, {SideType::Verge, 2.0}, {SideType::Outer, 3.0}, {7, 3.0}, {-1, 3.0}};
  for (const auto& [side, margin] : cases)
    EXPECT_EQ(GetSideMargin(settings, side), margin) << side;
}

struct PullCase {
  const char* Name;
  std::vector<CorridorSegment> Corridor;
  double LookAhead;
};

// A wide band pinched from the right between 200 m and 400 m, a band that drifts
// left and back, and a band whose right edge is raised over the first 100 m, so that
// the line climbs towards the start line at the end of the lap: the record past the
// lap end would lie higher still if it did not copy the one before.
const std::vector<PullCase>& PullCases() {
  static const std::vector<PullCase> cases = {
      {"pinched",
       {Band(0, 200, -10, -10, 10, 10), Band(200, 400, -2, -2, 10, 10),
        Band(400, 1000, -10, -10, 10, 10)},
       50.0},
      {"drifting",
       {Band(0, 150, -5, 5, 5, 15), Band(150, 220, 5, 5, 15, 15), Band(220, 500, 5, -8, 15, 0),
        Band(500, 610, -8, -5, 0, 5)},
       50.0},
      {"raised at the start",
       {Band(0, 100, -2, -2, 10, 10), Band(100, 700, -10, -10, 10, 10),
        Band(700, 703.5, -10, -10, 10, 10)},
       30.0},
      {"one segment", {Band(0, 400, -5, -5, 5, 5)}, 50.0},
  };
  return cases;
}

TEST(PullRaceLineTest, EachLineStaysWithinItsBoundAndJoinsUpAtTheStart) {
  for (const PullCase& c : PullCases()) {
    for (const CorridorEdge edge : {CorridorEdge::Right, CorridorEdge::Left}) {
      const bool right = edge == CorridorEdge::Right;
      SCOPED_TRACE(std::string(c.Name) + (right ? " right" : " left"));
      RaceLineSettings settings;
      settings.LookAhead = c.LookAhead;
      const double lap = c.Corridor.back().End;
      const CountedPtr<Papy::N4LpFile> lp = NewLine(lap);
      PullRaceLine(*lp, c.Corridor, edge, settings);
      const U32 count = lp->GetRecordCount();
      ASSERT_GT(count, 2u);
      for (U32 i = 0; i < count; ++i) {
        const double longitude = lp->GetRecordLongitude(i);
        const double latitude = lp->GetRecordLatitude(i);
        if (longitude >= lap) {
          EXPECT_EQ(latitude, lp->GetRecordLatitude(i - 1)) << i;
          continue;
        }
        const double bound = BoundAt(c.Corridor, longitude, right, settings);
        if (right)
          EXPECT_GE(latitude, bound - FloatTolerance) << i;
        else
          EXPECT_LE(latitude, bound + FloatTolerance) << i;
        // Never further from the edge than the other side of the band.
        EXPECT_LE(std::fabs(latitude), 20.0) << i;
      }
    }
  }
}

TEST(PullRaceLineTest, HugsTheEdgeWhereItRunsStraight) {
  RaceLineSettings settings;
  const std::vector<CorridorSegment>& pinched = PullCases()[0].Corridor;
  for (const CorridorEdge edge : {CorridorEdge::Right, CorridorEdge::Left}) {
    const CountedPtr<Papy::N4LpFile> lp = NewLine(1000.0);
    PullRaceLine(*lp, pinched, edge, settings);
    for (U32 i = 0; i < lp->GetRecordCount(); ++i) {
      const double longitude = lp->GetRecordLongitude(i);
      const double latitude = lp->GetRecordLatitude(i);
      // Along the pinch the right line is pulled tight against it; past it, the window
      // reaches into the long last segment and the line runs straight for its end.
      if (edge == CorridorEdge::Left) {
        EXPECT_NEAR(latitude, 8.5, FloatTolerance) << i;
      } else if (longitude > 410 && longitude < 950) {
        EXPECT_NEAR(latitude, -0.5 - 8.0 * (longitude - 400) / 600, 0.05) << i;
      } else if (longitude >= 200 && longitude <= 400) {
        EXPECT_GE(latitude, -0.5 - FloatTolerance) << i;
        EXPECT_LE(latitude, -0.3) << i;
      }
    }
  }
}

TEST(PullRaceLineTest, AWindowOfNoLengthHeadsForTheEndOfTheCurrentSegment) {
  // The target then lies at the current point whenever that ends a segment.
  const std::vector<CorridorSegment> corridor = {Band(0, 300, -5, 0, 5, 10),
                                                 Band(300, 600, 0, -5, 10, 5)};
  RaceLineSettings settings;
  settings.LookAhead = 0.0;
  for (const CorridorEdge edge : {CorridorEdge::Right, CorridorEdge::Left}) {
    const CountedPtr<Papy::N4LpFile> lp = NewLine(600.0);
    PullRaceLine(*lp, corridor, edge, settings);
    for (U32 i = 0; i < lp->GetRecordCount(); ++i) {
      const double longitude = std::min(lp->GetRecordLongitude(i), 600.0);
      const double centre = longitude <= 300 ? longitude / 60 : (600 - longitude) / 60;
      const double expected = centre + (edge == CorridorEdge::Right ? -3.5 : 3.5);
      EXPECT_NEAR(lp->GetRecordLatitude(i), expected, 0.2) << i;
    }
  }
}

TEST(PullRaceLineTest, RefusesArgumentsThatWouldNeverFinish) {
  const std::vector<CorridorSegment> lap = {Band(0, 300, -5, -5, 5, 5)};
  const std::vector<CorridorSegment> gap = {Band(0, 100, -5, -5, 5, 5), Band(150, 300, -5, -5, 5, 5)};
  // Corridor, look-ahead, spacing.
  const std::vector<std::tuple<std::vector<CorridorSegment>, double, double>> cases = {
      {{}, 50.0, 3.0}, {lap, 300.0, 3.0}, {lap, -1.0, 3.0}, {lap, 50.0, 0.0}, {lap, 50.0, 301.0},
      {gap, 50.0, 3.0}};
  for (const auto& [corridor, look_ahead, spacing] : cases) {
    RaceLineSettings settings;
    settings.LookAhead = look_ahead;
    const CountedPtr<Papy::N4LpFile> lp = NewLine(300.0);
    lp->Spacing = spacing;
    EXPECT_THROW(PullRaceLine(*lp, corridor, CorridorEdge::Right, settings), Util::XAssertion)
        << corridor.size() << " " << look_ahead << " " << spacing;
  }
}

// Makes N4 lines for the track and remembers what it was asked for.
class RecordingCreateLp : public Papy::CreateLp {
public:
  explicit RecordingCreateLp(const CountedPtr<Papy::Track>& track) : Track(track) {}
  CountedPtr<Papy::LpFile> Create(const std::string& name, double spacing) override {
    Requests.push_back(name + " " + std::to_string(spacing));
    return CountedPtr<Papy::LpFile>(new Papy::N4LpFile(Track, spacing));
  }
  CountedPtr<Papy::Track> Track;
  std::vector<std::string> Requests;
};

class CreateMinMaxRaceCurvesTest : public ::testing::Test {
protected:
  // Eight segments of asphalt from -6 m to 6 m between grass strips.
  CountedPtr<Papy::Track> Small = CountedPtr<Papy::Track>(new Papy::PtfTrack(
      CountedPtr<Papy::TdoFile>(new Papy::N4TdoFile(
          CountedPtr<Util::BinaryStream>(new Util::MemoryStream(
              "small.ptf", Ostra::Test::N4PtfBuilder::SmallTrack().Data())),
          Papy::N4ArchiverRegistry::Instance().GetReadable(), nullptr)),
      "small.ptf"));
  Ostra::Test::TempDir Dir;
  RecordingCreateLp Lps{Small};
};

TEST_F(CreateMinMaxRaceCurvesTest, FitsALapCurveAlongEachEdgeOfTheCorridor) {
  const Papy::IniFile ini(Dir.WriteFile("track.ini", "[ pit_lane_0 ]\n"
                                                     "lane_bounds_dlong = 650 50\n"
                                                     "lane_bounds_dlat = 7 11\n"),
                          true);
  const MinMaxRaceCurves curves = CreateMinMaxRaceCurves(Small, ini, Lps);
  EXPECT_EQ(Lps.Requests,
            (std::vector<std::string>{"velmar_minrace 0.000000", "velmar_maxrace 0.000000"}));
  ASSERT_TRUE(curves.Min && curves.Max);
  const U32 count = curves.Min->GetRecordCount();
  EXPECT_EQ(curves.Max->GetRecordCount(), count);
  EXPECT_EQ(curves.Min->GetRecordSpacing(), 3.0);
  // The band's edges less the verge margin, to the fit's tolerance.
  for (U32 i = 0; i < count; ++i) {
    EXPECT_NEAR(curves.Min->GetRecordLatitude(i), -4.5, 0.1) << i;
    EXPECT_NEAR(curves.Max->GetRecordLatitude(i), 4.5, 0.1) << i;
  }
}

TEST_F(CreateMinMaxRaceCurvesTest, ACorridorFailureComesBeforeAnyLine) {
  const Papy::IniFile missing(Dir / "track.ini", true);
  try {
    CreateMinMaxRaceCurves(Small, missing, Lps);
    ADD_FAILURE() << "no pit lane";
  } catch (const Util::XFileFormat& e) {
    EXPECT_THAT(e.What(), HasSubstr("Pit lane bounds not present"));
  }
  EXPECT_TRUE(Lps.Requests.empty());
}

} // namespace
} // namespace Ostra::Velmar

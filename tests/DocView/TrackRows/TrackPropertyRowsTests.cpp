#include "DocView/Core/TrackPropertyRows.h"

#include <locale>
#include <map>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "BuiltTracks.h"
#include "DocView/Core/TrackTreeRows.h"
#include "FakeTrack.h"
#include "Papy/Types/SurfaceType.h"
#include "Util/Exception.h"

namespace Ostra::DocView {
namespace {

using Ostra::Test::FakeFSection;
using Ostra::Test::FakeTrack;
using Ostra::Test::FakeWSection;
using Ostra::Test::FakeXSection;
using Rows = std::vector<PropertyRow>;

const std::string Deg = "\xC2\xB0";
constexpr double Pi = std::numbers::pi;

// A user locale that groups digits and writes a decimal comma, as many do.
struct CommaPunct : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

class GlobalLocale {
public:
  explicit GlobalLocale(const std::locale& locale) : Previous(std::locale::global(locale)) {}
  ~GlobalLocale() { std::locale::global(Previous); }

private:
  std::locale Previous;
};

TEST(PropertyFormats, WriteFixedSixDecimalsDegreesAndIntegersWhateverTheUserLocale) {
  const GlobalLocale comma(std::locale(std::locale::classic(), new CommaPunct));
  const std::vector<std::pair<double, std::string>> doubles = {
      {12.5, "12.500000"},           {0.0, "0.000000"},          {-3.25, "-3.250000"},
      {1234567.0, "1234567.000000"}, {0.0000004, "0.000000"},    {0.0000005, "0.000000"},
      {0.0000015, "0.000002"},       {-101.6, "-101.600000"},    {1e20, "100000000000000000000.000000"}};
  for (const auto& [value, text] : doubles)
    EXPECT_EQ(FormatDouble(value), text) << value;

  const std::vector<std::pair<double, std::string>> angles = {
      {Pi / 2, "90.000000" + Deg}, {0.0, "0.000000" + Deg}, {-Pi, "-180.000000" + Deg},
      {3 * Pi / 2, "270.000000" + Deg}, {1.0, "57.295780" + Deg}};
  for (const auto& [value, text] : angles)
    EXPECT_EQ(FormatAngle(value), text) << value;

  const std::vector<std::pair<std::int64_t, std::string>> integers = {
      {0, "0"}, {-3, "-3"}, {1234567, "1234567"}, {4294967295, "4294967295"}};
  for (const auto& [value, text] : integers)
    EXPECT_EQ(FormatInteger(value), text) << value;
}

// Field names per kind, in order.
const std::vector<std::string> TrackFields = {"Length (3d)", "Length (2d)", "Segments"};
const std::vector<std::string> StraightFields = {
    "Type",               "Length (3d)",        "Length (2d)",      "Start (3d)",
    "Start (2d)",         "Start Orientation",  "End Orientation",  "Centreline Start X",
    "Centreline Start Y", "Centreline End X",   "Centreline End Y"};
const std::vector<std::string> CurveFields = [] {
  auto fields = StraightFields;
  fields.insert(fields.end(), {"Radius", "Curvature", "CentreX", "CentreY"});
  return fields;
}();
const std::vector<std::string> TraceFields = {"Start Latitude",     "End Latitude",
                                              "Start Altitude",     "End Altitude",
                                              "Linear Coefficient", "Square Coefficient",
                                              "Cube Coefficient"};
const std::vector<std::string> SurfaceFields = {"Right Start", "Left Start", "Right End",
                                                "Left End",    "Type",       "Grip Modifier"};
const std::vector<std::string> WallFields = {"Start Latitude", "End Latitude", "Start Width", "End Width",
                                             "Start Height",   "End Height",   "Type"};

std::vector<std::string> Fields(const Rows& rows) {
  std::vector<std::string> fields;
  for (const auto& row : rows)
    fields.push_back(row.first);
  return fields;
}

std::vector<std::string> Values(const Rows& rows) {
  std::vector<std::string> values;
  for (const auto& row : rows)
    values.push_back(row.second);
  return values;
}

// A track whose every field holds a different number, so that a swapped pair shows.
FakeTrack DistinctTrack() {
  FakeTrack track;
  track.Length3D = 1000.25;
  track.Length2D = 999.5;
  auto& straight = track.Add(1, 1, 1);
  straight.Length3D = 100.5;
  straight.Length2D = 100.25;
  straight.StartOrientation = Pi / 2;
  straight.EndOrientation = Pi / 4;
  straight.StartX = 1.5;
  straight.StartY = 2.5;
  straight.EndX = 3.5;
  straight.EndY = 4.5;
  auto& curve = track.Add(0, 0, 0);
  curve.Curve = true;
  curve.Length3D = 20.0;
  curve.Length2D = 19.0;
  curve.StartOrientation = -Pi / 2;
  curve.EndOrientation = Pi;
  curve.StartX = 5.0;
  curve.StartY = 6.0;
  curve.EndX = 7.0;
  curve.EndY = 8.0;
  curve.CentreX = 11.0;
  curve.CentreY = 12.0;
  curve.Radius = 13.0;
  curve.Sweep = -Pi / 6;
  track.Starts3D = {0.0, 100.5};
  track.Starts2D = {0.0, 100.25};
  auto& trace = static_cast<FakeXSection&>(*straight.XSections[0]);
  for (int k = 0; k < 7; ++k)
    trace.Values[k] = k + 0.125;
  auto& surface = static_cast<FakeFSection&>(*straight.FSections[0]);
  surface.RightStart = -1.0;
  surface.RightEnd = -2.0;
  surface.LeftStart = 3.0;
  surface.LeftEnd = 4.0;
  surface.Type = Papy::SurfaceRumbleStrip;
  surface.Grip = -7;
  auto& wall = static_cast<FakeWSection&>(*straight.WSections[0]);
  wall.StartLatitude = 9.0;
  wall.EndLatitude = 9.5;
  wall.StartWidth = 0.25;
  wall.EndWidth = 0.75;
  wall.StartHeight = 1.25;
  wall.EndHeight = 1.75;
  wall.Type = Papy::WallConcreteWithFence;
  return track;
}

TEST(PropertyRows, NameEveryFieldOnceInOrderWithItsOwnValue) {
  const FakeTrack track = DistinctTrack();
  const auto& curve = static_cast<const Ostra::Test::FakeSegment&>(*track.Segments[1]);
  const std::vector<std::pair<TrackItemHint, Rows>> cases = {
      {WholeTrackHint, {{"Length (3d)", "1000.250000"}, {"Length (2d)", "999.500000"}, {"Segments", "2"}}},
      {MakeSegmentHint(0),
       {{"Type", "Straight"}, {"Length (3d)", "100.500000"}, {"Length (2d)", "100.250000"},
        {"Start (3d)", "0.000000"}, {"Start (2d)", "0.000000"}, {"Start Orientation", "90.000000" + Deg},
        {"End Orientation", "45.000000" + Deg}, {"Centreline Start X", "1.500000"},
        {"Centreline Start Y", "2.500000"}, {"Centreline End X", "3.500000"}, {"Centreline End Y", "4.500000"}}},
      // The arc comes out as centre, centre, radius, sweep; the rows read radius first.
      {MakeSegmentHint(1),
       {{"Type", "Corner"}, {"Length (3d)", "20.000000"}, {"Length (2d)", "19.000000"},
        {"Start (3d)", "100.500000"}, {"Start (2d)", "100.250000"}, {"Start Orientation", "-90.000000" + Deg},
        {"End Orientation", "180.000000" + Deg}, {"Centreline Start X", "5.000000"},
        {"Centreline Start Y", "6.000000"}, {"Centreline End X", "7.000000"}, {"Centreline End Y", "8.000000"},
        {"Radius", "13.000000"}, {"Curvature", "-30.000000" + Deg}, {"CentreX", "11.000000"},
        {"CentreY", "12.000000"}}},
      {MakeItemHint(0, TrackItemKind::Trace, 0),
       {{"Start Latitude", "0.125000"}, {"End Latitude", "1.125000"}, {"Start Altitude", "2.125000"},
        {"End Altitude", "3.125000"}, {"Linear Coefficient", "4.125000"}, {"Square Coefficient", "5.125000"},
        {"Cube Coefficient", "6.125000"}}},
      // Right and left interleave.
      {MakeItemHint(0, TrackItemKind::Surface, 0),
       {{"Right Start", "-1.000000"}, {"Left Start", "3.000000"}, {"Right End", "-2.000000"},
        {"Left End", "4.000000"}, {"Type", "Rumble Strip"}, {"Grip Modifier", "-7"}}},
      // Widths before heights.
      {MakeItemHint(0, TrackItemKind::Wall, 0),
       {{"Start Latitude", "9.000000"}, {"End Latitude", "9.500000"}, {"Start Width", "0.250000"},
        {"End Width", "0.750000"}, {"Start Height", "1.250000"}, {"End Height", "1.750000"},
        {"Type", "Concrete With Fence"}}}};
  for (const auto& [hint, rows] : cases)
    EXPECT_EQ(BuildPropertyRows(track, hint), rows) << "hint " << hint;
  EXPECT_EQ(curve.ArcCalls, 1);
}

// Records what a list view would show.
struct RecordingList : PropertyList {
  Rows Shown = {{"Field", "kept"}};
  int Clears = 0;
  void DeleteAllRows() override {
    ++Clears;
    Shown.clear();
  }
  void AppendRow(const std::string& field, const std::string& value) override {
    Shown.emplace_back(field, value);
  }
};

TEST(PropertyListUpdate, KeepsOrReplacesTheRowsByHint) {
  const FakeTrack track = DistinctTrack();
  const Rows kept = {{"Field", "kept"}};
  struct Case {
    const char* Name;
    const Papy::Track* Track;
    TrackItemHint Hint;
    std::size_t Rows; // after the update; kept means unchanged
    bool Kept;
  };
  const std::vector<Case> cases = {
      {"no item (first fill, LP refresh)", &track, NoItemHint, 1, true},
      {"no item without a track", nullptr, NoItemHint, 1, true},
      {"no track", nullptr, WholeTrackHint, 1, true},
      {"no track, a segment", nullptr, MakeSegmentHint(0), 1, true},
      {"whole track", &track, WholeTrackHint, 3, false},
      {"straight", &track, MakeSegmentHint(0), 11, false},
      {"curve", &track, MakeSegmentHint(1), 15, false},
      {"trace", &track, MakeItemHint(0, TrackItemKind::Trace, 0), 7, false},
      {"surface", &track, MakeItemHint(0, TrackItemKind::Surface, 0), 6, false},
      {"wall", &track, MakeItemHint(0, TrackItemKind::Wall, 0), 7, false},
      {"kind 4", &track, MakeSegmentHint(0) | 0x401, 0, false},
      {"kind 255", &track, MakeSegmentHint(0) | 0xFF01, 0, false},
      {"segment past the end", &track, MakeSegmentHint(2), 0, false},
      {"segment field empty", &track, 0x0101, 0, false},
      {"trace past the end", &track, MakeItemHint(0, TrackItemKind::Trace, 1), 0, false},
      {"item field empty", &track, MakeSegmentHint(0) | 0x300, 0, false},
      {"segment with item bits", &track, MakeSegmentHint(1) | 0x05, 15, false},
  };
  for (const Case& c : cases) {
    RecordingList list;
    UpdatePropertyList(c.Track, c.Hint, list);
    EXPECT_EQ(list.Shown.size(), c.Rows) << c.Name;
    EXPECT_EQ(list.Clears, c.Kept ? 0 : 1) << c.Name;
    if (c.Kept) {
      EXPECT_EQ(list.Shown, kept) << c.Name;
    }
  }
}

TEST(PropertyListUpdate, AnUnknownTypeNumberStopsTheRowsAtTheTypeAndKeepsThoseBefore) {
  FakeTrack track = DistinctTrack();
  auto& straight = static_cast<Ostra::Test::FakeSegment&>(*track.Segments[0]);
  static_cast<FakeFSection&>(*straight.FSections[0]).Type = Papy::LastSurfaceType + 1;
  static_cast<FakeWSection&>(*straight.WSections[0]).Type = -1;
  RecordingList surface;
  EXPECT_THROW(UpdatePropertyList(&track, MakeItemHint(0, TrackItemKind::Surface, 0), surface),
               Util::XAssertion);
  EXPECT_EQ(Fields(surface.Shown), (std::vector<std::string>{"Right Start", "Left Start", "Right End", "Left End"}));
  RecordingList wall;
  EXPECT_THROW(UpdatePropertyList(&track, MakeItemHint(0, TrackItemKind::Wall, 0), wall), Util::XAssertion);
  EXPECT_EQ(wall.Shown.size(), 6u);
}

TEST(PropertyListUpdate, AModelThatThrowsLeavesTheListEmptied) {
  FakeTrack track = DistinctTrack();
  track.ThrowAt = 0;
  RecordingList list;
  EXPECT_THROW(UpdatePropertyList(&track, MakeSegmentHint(0), list), std::runtime_error);
  EXPECT_TRUE(list.Shown.empty());
}

// Per game: the values of the whole track and of items of every kind, as read from the
// built files (the field names are checked above and below), and the fields of every
// item in the tree.
struct GameCase {
  const char* Name;
  CountedPtr<Papy::Track> (*Make)();
  std::map<TrackItemHint, std::vector<std::string>> Items;
};

class BuiltTrackProperties : public ::testing::TestWithParam<GameCase> {};

TEST_P(BuiltTrackProperties, ShowTheFilesValuesForEveryKindOfItem) {
  const GameCase& c = GetParam();
  const CountedPtr<Papy::Track> track = c.Make();
  for (const auto& [hint, values] : c.Items)
    EXPECT_EQ(Values(BuildPropertyRows(*track, hint)), values) << "hint " << hint;
}

TEST_P(BuiltTrackProperties, GiveEachKindOfTreeItemItsFields) {
  const CountedPtr<Papy::Track> track = GetParam().Make();
  std::map<std::string, std::size_t> seen;
  for (const TrackTreeRow& row : BuildTrackTreeItems(track.Get())) {
    const Rows rows = BuildPropertyRows(*track, row.Hint);
    const std::string kind = row.Label.substr(0, row.Label.find(' '));
    const std::map<std::string, const std::vector<std::string>*> fields = {
        {"root", &TrackFields},     {"Trace", &TraceFields}, {"Surface", &SurfaceFields},
        {"Wall", &WallFields},      {"Corner", &CurveFields}, {"Straight", &StraightFields}};
    const std::string name = kind == "Segment" ? rows.at(0).second : kind;
    ASSERT_EQ(fields.count(name), 1u) << row.Label;
    EXPECT_EQ(Fields(rows), *fields.at(name)) << row.Label;
    ++seen[name];
  }
  EXPECT_EQ(seen.size(), 6u) << "root, Straight, Corner, Trace, Surface and Wall";
}

const std::string D = Deg;
using Kind = TrackItemKind;

INSTANTIATE_TEST_SUITE_P(
    Games, BuiltTrackProperties,
    ::testing::Values(
        GameCase{"GPL", Ostra::Test::BuiltGplTrack,
                 {{WholeTrackHint, {"1505.683450", "1505.683472", "9"}},
                  {MakeSegmentHint(1),
                   {"Corner", "152.400000", "152.399979", "101.600000", "101.599998", "0.000000" + D,
                    "90.000000" + D, "101.600000", "0.000000", "198.620888", "97.020837", "97.020837",
                    "90.000000" + D, "101.600000", "97.020837"}},
                  {MakeItemHint(0, Kind::Trace, 0),
                   {"-10.160000", "-10.160000", "-0.508000", "0.508000", "0.000000", "3.048000", "-2.032000"}},
                  {MakeItemHint(0, Kind::Surface, 0),
                   {"-30.480000", "-15.240000", "-30.480000", "-12.700000", "Grass", "0"}},
                  {MakeItemHint(1, Kind::Wall, 0),
                   {"15.748000", "15.748000", "1.016000", "1.016000", "1.016000", "1.016000", "Armco"}}}},
        GameCase{"N2", Ostra::Test::BuiltN2Track,
                 {{WholeTrackHint, {"885.178621", "885.178650", "9"}},
                  {MakeSegmentHint(0),
                   {"Straight", "203.200000", "203.199997", "0.000000", "0.000000", "0.000000" + D,
                    "0.000000" + D, "0.000000", "0.000000", "203.200000", "0.000000"}},
                  // The one right-hand corner: a negative sweep.
                  {MakeSegmentHint(6),
                   {"Corner", "79.796437", "79.796455", "645.789310", "645.789307", "-90.000000" + D,
                    "-180.000000" + D, "50.800000", "152.400000", "0.000000", "101.600000", "50.800000",
                    "-90.000000" + D, "0.000000", "152.400000"}},
                  {MakeItemHint(0, Kind::Trace, 2),
                   {"5.080000", "5.080000", "0.254000", "1.270000", "0.000000", "3.048000", "-2.032000"}},
                  {MakeItemHint(0, Kind::Surface, 2), {"3.048000", "7.620000", "3.048000", "7.620000", "Gravel", "-3"}},
                  {MakeItemHint(0, Kind::Wall, 1),
                   {"7.620000", "7.620000", "0.000000", "0.000000", "1.016000", "1.016000", "Concrete"}}}},
        GameCase{"N4", Ostra::Test::BuiltN4Track,
                 {{WholeTrackHint, {"714.159265", "714.159265", "8"}},
                  {MakeSegmentHint(0),
                   {"Straight", "100.000000", "100.000000", "0.000000", "0.000000", "0.000000" + D,
                    "0.000000" + D, "0.000000", "0.000000", "100.000000", "0.000000"}},
                  {MakeSegmentHint(7),
                   {"Corner", "78.539816", "78.539816", "635.619449", "635.619449", "270.000000" + D,
                    "0.000000" + D, "-50.000000", "50.000000", "0.000000", "0.000000", "50.000000",
                    "90.000000" + D, "0.000000", "50.000000"}},
                  {MakeItemHint(1, Kind::Trace, 0),
                   {"-10.000000", "-10.000000", "-0.200000", "-0.200000", "0.000000", "0.000000", "0.000000"}},
                  {MakeItemHint(1, Kind::Surface, 1), {"-6.000000", "6.000000", "-6.000000", "6.000000", "Asphalt", "0"}},
                  {MakeItemHint(1, Kind::Wall, 1),
                   {"13.000000", "13.000000", "0.500000", "0.500000", "1.000000", "1.000000", "Tyres"}}}}),
    [](const auto& test_info) { return std::string(test_info.param.Name); });

} // namespace
} // namespace Ostra::DocView

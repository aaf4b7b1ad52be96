#include "DocView/Core/TrackTreeRows.h"

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "BuiltTracks.h"
#include "FakeTrack.h"
#include "TestSupport/OvalTrack.h"

namespace Ostra::DocView {
namespace {

using Row = TrackTreeRow;
using Ostra::Test::FakeTrack;
using Ostra::Test::OvalTrack;

TEST(TrackTreeRows, ATrackWithoutSegmentsOrWithoutATrackListsOnlyTheRoot) {
  const std::vector<Row> root_only = {{0, "root", -1}};
  EXPECT_EQ(BuildTrackTreeItems(nullptr), root_only);
  const OvalTrack oval(50.0, 100.0);
  EXPECT_EQ(BuildTrackTreeItems(&oval), root_only);
}

TEST(TrackTreeRows, ListTracesThenSurfacesThenWallsUnderEachSegmentCountingLabelsFromZero) {
  FakeTrack track;
  track.Add(2, 1, 1);
  track.Add(0, 0, 0);
  track.Add(1, 0, 2);
  const std::vector<Row> expected = {
      {0, "root", -1},
      {1, "Segment 0", 0x10000},
      {2, "Trace 0", 0x10101},
      {2, "Trace 1", 0x10102},
      {2, "Surface 0", 0x10201},
      {2, "Wall 0", 0x10301},
      {1, "Segment 1", 0x20000},
      {1, "Segment 2", 0x30000},
      {2, "Trace 0", 0x30101},
      {2, "Wall 0", 0x30301},
      {2, "Wall 1", 0x30302},
  };
  EXPECT_EQ(BuildTrackTreeItems(&track), expected);
}

TEST(TrackTreeRows, WallTwoOfSegmentFiveCarriesTheDocumentedHint) {
  FakeTrack track;
  for (int s = 0; s < 6; ++s)
    track.Add(0, 0, 3);
  const auto rows = BuildTrackTreeItems(&track);
  ASSERT_EQ(rows.size(), 1u + 6 * 4);
  const Row& wall = rows[1 + 5 * 4 + 3];
  EXPECT_EQ(wall, (Row{2, "Wall 2", 393987}));
  EXPECT_EQ(rows[1 + 5 * 4], (Row{1, "Segment 5", 6 << 16}));
}

TEST(TrackTreeRows, ItemsBeyondWhatAHintAddressesCarryTheirSegmentsHint) {
  FakeTrack track;
  track.Add(0, 0, 257);
  const auto rows = BuildTrackTreeItems(&track);
  ASSERT_EQ(rows.size(), 2u + 257);
  EXPECT_EQ(rows[2 + 254], (Row{2, "Wall 254", 0x103FF}));
  EXPECT_EQ(rows[2 + 255], (Row{2, "Wall 255", 0x10000}));
  EXPECT_EQ(rows[2 + 256], (Row{2, "Wall 256", 0x10000}));
}

TEST(TrackTreeRows, RowsHandedOverBeforeTheModelThrowsAreKept) {
  FakeTrack track;
  track.Add(1, 0, 0);
  track.Add(1, 0, 0);
  track.ThrowAt = 1;
  std::vector<Row> shown;
  EXPECT_THROW(EmitTrackTreeItems(&track, [&shown](const Row& row) { shown.push_back(row); }),
               std::runtime_error);
  const std::vector<Row> expected = {{0, "root", -1}, {1, "Segment 0", 0x10000}, {2, "Trace 0", 0x10101}};
  EXPECT_EQ(shown, expected);
}

// Per game: how many segments, and the traces, surfaces and walls of every segment.
struct BuiltCase {
  const char* Name;
  CountedPtr<Papy::Track> (*Make)();
  std::size_t Segments, Traces, Surfaces, Walls;
};

class BuiltTrackTree : public ::testing::TestWithParam<BuiltCase> {};

TEST_P(BuiltTrackTree, ListsEverySegmentWithItsItemsAndHintsThatDecodeToTheirLabels) {
  const BuiltCase& c = GetParam();
  const CountedPtr<Papy::Track> track = c.Make();
  const auto rows = BuildTrackTreeItems(track.Get());
  const std::size_t per_segment = 1 + c.Traces + c.Surfaces + c.Walls;
  ASSERT_EQ(rows.size(), 1 + c.Segments * per_segment);
  EXPECT_EQ(rows[0], (Row{0, "root", -1}));

  std::map<std::string, std::size_t> kinds;
  int segment = -1;
  for (std::size_t r = 1; r < rows.size(); ++r) {
    const Row& row = rows[r];
    const std::string kind = row.Label.substr(0, row.Label.find(' '));
    const int number = std::stoi(row.Label.substr(row.Label.find(' ') + 1));
    ++kinds[kind];
    const DecodedTrackItemHint decoded = DecodeTrackItemHint(row.Hint);
    if (kind == "Segment") {
      EXPECT_EQ(row.Depth, 1);
      EXPECT_EQ(number, ++segment);
      EXPECT_EQ(decoded.Kind, 0) << row.Label;
    } else {
      EXPECT_EQ(row.Depth, 2);
      const std::map<std::string, int> codes = {{"Trace", 1}, {"Surface", 2}, {"Wall", 3}};
      ASSERT_EQ(codes.count(kind), 1u) << row.Label;
      EXPECT_EQ(decoded.Kind, codes.at(kind)) << row.Label;
      EXPECT_EQ(decoded.Item, number) << row.Label;
    }
    EXPECT_EQ(decoded.Segment, segment) << row.Label;
  }
  EXPECT_EQ(kinds["Segment"], c.Segments);
  EXPECT_EQ(kinds["Trace"], c.Segments * c.Traces);
  EXPECT_EQ(kinds["Surface"], c.Segments * c.Surfaces);
  EXPECT_EQ(kinds["Wall"], c.Segments * c.Walls);

  // The first segment in full, in order.
  std::vector<std::string> labels;
  for (std::size_t r = 1; r <= per_segment; ++r)
    labels.push_back(rows[r].Label);
  std::vector<std::string> expected = {"Segment 0"};
  for (std::size_t i = 0; i < c.Traces; ++i)
    expected.push_back("Trace " + std::to_string(i));
  for (std::size_t i = 0; i < c.Surfaces; ++i)
    expected.push_back("Surface " + std::to_string(i));
  for (std::size_t i = 0; i < c.Walls; ++i)
    expected.push_back("Wall " + std::to_string(i));
  EXPECT_EQ(labels, expected);
}

INSTANTIATE_TEST_SUITE_P(Games, BuiltTrackTree,
                         ::testing::Values(BuiltCase{"GPL", Ostra::Test::BuiltGplTrack, 9, 3, 3, 1},
                                           BuiltCase{"N2", Ostra::Test::BuiltN2Track, 9, 3, 3, 2},
                                           BuiltCase{"N4", Ostra::Test::BuiltN4Track, 8, 2, 3, 2}),
                         [](const auto& test_info) { return std::string(test_info.param.Name); });

} // namespace
} // namespace Ostra::DocView

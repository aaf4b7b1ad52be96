#include "DocView/Core/LpGridRules.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "DocView/Core/LpCells.h"
#include "LpGridFixtures.h"
#include "Util/Exception.h"
#include "Util/StringUtil.h"

namespace Ostra::DocView {
namespace {

using namespace LpGridTest;

LpColumnMap MapOf(const LpFile& lp) { return LayoutColumns(LpCapabilities::Of(lp)); }

TEST(LpGridRules, CellsShowTheLpInGridUnits) {
  const CountedPtr<LpFile> lp = GplLp();
  lp->SetRecordLatitude(4, -2.5);
  lp->SetRecordYawSpeed(4, Util::DegreesToRadians(10.0));
  lp->SetAbandonPass(4, true);
  const LpColumnMap map = MapOf(*lp);
  EXPECT_EQ(FormatCell(*lp, map, 4, map.Latitude), "-2.500000");
  EXPECT_EQ(FormatCell(*lp, map, 4, map.YawSpeed), FormatCellAngle(lp->GetRecordYawSpeed(4)));
  EXPECT_EQ(FormatCell(*lp, map, 4, map.Flag[3]), "1");
  EXPECT_EQ(FormatCell(*lp, map, 4, map.Flag[4]), "");
  EXPECT_EQ(FormatCell(*lp, map, 4, map.Flags), FormatCellHex(lp->GetRecordFlags(4)));
  for (const auto& [record, column] : {std::pair{4, map.Count()}, {-1, map.Latitude},
                                       {static_cast<int>(lp->GetRecordCount()), map.Latitude}})
    EXPECT_EQ(FormatCell(*lp, map, record, column), "");
}

TEST(LpGridRules, ALapCurveShowsControlPointsAndEmptySpeedLimits) {
  const CountedPtr<Papy::LpFileCurve> curve = LapCurve();
  curve->SetRecordSpeedLimit(3, 50.0 / 3.6);
  const LpColumnMap map = MapOf(*curve);
  EXPECT_EQ(FormatCell(*curve, map, 0, map.Control), "1");
  EXPECT_EQ(FormatCell(*curve, map, 1, map.Control), "");
  EXPECT_EQ(FormatCell(*curve, map, 1, map.SpeedLimit), "");
  EXPECT_EQ(FormatCell(*curve, map, 3, map.SpeedLimit), "50.000000");
}

TEST(LpGridRules, TheFillGivesTheHeadersThenOneRowPerRecord) {
  const CountedPtr<LpFile> n4 = N4Lp();
  n4->SetRecordLatitude(100, -4.0);
  const LpColumnMap map = MapOf(*n4);
  std::vector<std::vector<std::string>> cells(n4->GetRecordCount() + 1, std::vector<std::string>(7));
  int calls = 0;
  FillLpCells(*n4, map, [&](int row, int column, const std::string& text) {
    cells.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column)) = text;
    ++calls;
  });
  EXPECT_EQ(calls, 7 * static_cast<int>(n4->GetRecordCount() + 1));
  EXPECT_EQ(cells[0][2], "Path Length");
  EXPECT_EQ(cells[101][map.Latitude], "-4.000000");
  EXPECT_EQ(cells[1][map.Longitude], FormatCellDouble(n4->GetRecordLongitude(0)));
}

TEST(LpGridRules, EditableCellsFollowTheColumnAndTheLpKind) {
  const CountedPtr<LpFile> gpl = GplLp();
  const CountedPtr<LpFile> n4 = N4Lp();
  const CountedPtr<Papy::LpFileCurve> curve = LapCurve();
  const LpColumnMap g = MapOf(*gpl);
  const LpColumnMap n = MapOf(*n4);
  const LpColumnMap c = MapOf(*curve);
  const int lastGplRow = static_cast<int>(gpl->GetRecordCount());
  const struct {
    const char* Name;
    const LpFile& Lp;
    const LpColumnMap& Map;
    int Row;
    int Column;
    bool Expected;
  } cases[] = {
      {"header row", *gpl, g, 0, g.Latitude, false},
      {"longitude", *gpl, g, 1, g.Longitude, false},
      {"latitude", *gpl, g, 1, g.Latitude, true},
      {"last record", *gpl, g, lastGplRow, g.Latitude, true},
      {"past the records", *gpl, g, lastGplRow + 1, g.Latitude, false},
      {"outside the columns", *gpl, g, 1, g.Count(), false},
      {"speed", *gpl, g, 1, g.LongitudinalSpeed, true},
      {"yaw", *gpl, g, 1, g.YawSpeed, true},
      {"modifier", *gpl, g, 1, g.SpeedModifier, true},
      {"flag", *gpl, g, 1, g.Flag[14], true},
      {"flags word", *gpl, g, 1, g.Flags, true},
      {"path length", *n4, n, 1, n.PathLength, false},
      {"curve latitude at a control point", *curve, c, 1, c.Latitude, true},
      {"curve latitude between control points", *curve, c, 2, c.Latitude, false},
      {"curve control", *curve, c, 2, c.Control, true},
      {"curve speed limit", *curve, c, 2, c.SpeedLimit, true},
      {"curve longitudinal speed", *curve, c, 1, c.LongitudinalSpeed, false},
      {"curve lateral speed", *curve, c, 1, c.LateralSpeed, false},
      {"curve yaw speed", *curve, c, 1, c.YawSpeed, false},
  };
  for (const auto& t : cases)
    EXPECT_EQ(IsCellEditable(t.Lp, t.Map, t.Row, t.Column), t.Expected) << t.Name;
}

TEST(LpGridRules, AnEditGoesThroughTheColumnsSetterAndNamesItsRefresh) {
  const CountedPtr<LpFile> lp = GplLp();
  const LpColumnMap map = MapOf(*lp);
  const struct {
    int Column;
    const char* Text;
    const char* Setter;
    LpCellRefresh Refresh;
  } cases[] = {
      {map.Latitude, "3.5", "SetRecordLatitude(6)", LpCellRefresh::None},
      {map.LongitudinalSpeed, "100", "SetRecordLongitudinalSpeed(6)", LpCellRefresh::None},
      {map.LateralSpeed, "-3.6", "SetRecordLateralSpeed(6)", LpCellRefresh::None},
      {map.YawSpeed, "90", "SetRecordYawSpeed(6)", LpCellRefresh::None},
      {map.SpeedModifier, "0.5", "SetRecordSpeedModifier(6)", LpCellRefresh::FlagsCell},
      {map.Flag[0], "1", "SetStartSpeedCheckpoint(6)", LpCellRefresh::FlagsCell},
      {map.Flag[7], "1", "SetSetSpeedCoeffTo1(6)", LpCellRefresh::FlagsCell},
      {map.Flag[14], "1", "SetTireWarmup(6)", LpCellRefresh::FlagsCell},
      {map.Flags, "0x10", "SetRecordFlags(6)", LpCellRefresh::FlagCells},
      {map.Flag[8], "1x", "SetStartNoPassZone(6)", LpCellRefresh::FlagsCell},
      {map.Flag[9], "yes", "SetEndNoPassZone(6)", LpCellRefresh::FlagsCell},
      {map.Latitude, "abc", "SetRecordLatitude(6)", LpCellRefresh::None},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Setter);
    RecordingSetter setter(lp);
    const LpCellEdit edit = ApplyCellText(setter, *lp, map, c.Column, 6, c.Text);
    EXPECT_TRUE(edit.Accepted);
    EXPECT_EQ(edit.Refresh, c.Refresh);
    EXPECT_EQ(setter.Calls, std::vector<std::string>{c.Setter});
  }
  // The values landed in the LP in its own units; letters store 0.0, and only a text
  // starting with 1 sets a flag.
  EXPECT_EQ(lp->GetRecordLatitude(6), 0.0);
  EXPECT_TRUE(lp->IsStartNoPassZone(6));
  EXPECT_FALSE(lp->IsEndNoPassZone(6));
  EXPECT_NEAR(lp->GetRecordLongitudinalSpeed(6), 100.0 / 3.6, 1e-3);
  EXPECT_EQ(lp->GetRecordFlags(6) & 0x10u, 0x10u);
}

TEST(LpGridRules, RefusedTextsAndColumnsWithoutASetterLeaveTheLpAlone) {
  const CountedPtr<LpFile> n4 = N4Lp();
  const LpColumnMap map = MapOf(*n4);
  n4->SetRecordLatitude(2, 1.25);
  const struct {
    int Column;
    int Record;
    const char* Text;
  } cases[] = {
      {map.Latitude, 2, "nan"},     {map.Latitude, 2, "inf"},     {map.Latitude, 2, "1e999"},
      {map.LongitudinalSpeed, 2, "-inf"}, {map.YawSpeed, 2, "1.7e308"}, {map.Flags, 2, "1FFFFFFFF"},
      {map.Latitude, 2, "1e39"},    {map.LongitudinalSpeed, 2, "-2e39"}, // a float's range: stored as inf
      {map.Longitude, 2, "5"},      {map.PathLength, 2, "5"},     {map.Count(), 2, "5"},
      {map.Latitude, -1, "5"},      {map.Latitude, static_cast<int>(n4->GetRecordCount()), "5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    RecordingSetter setter(n4);
    EXPECT_FALSE(ApplyCellText(setter, *n4, map, c.Column, c.Record, c.Text).Accepted);
    EXPECT_TRUE(setter.Calls.empty());
  }
  // Typed text must be one whole number, or is refused with a message naming it; pasted
  // text keeps the C library's reading (above: "abc" stores 0.0).
  for (const std::string typed : {"abc", "3x7", "1e-", "0,25", "1e999", "", "1e39"}) {
    SCOPED_TRACE(typed);
    RecordingSetter setter(n4);
    const LpCellEdit edit = ApplyCellText(setter, *n4, map, map.Latitude, 2, typed, LpCellInput::Typed);
    EXPECT_FALSE(edit.Accepted);
    EXPECT_EQ(edit.Refusal.rfind("\"" + typed + "\" is ", 0), 0u) << edit.Refusal;
    EXPECT_TRUE(setter.Calls.empty());
  }
  RecordingSetter setter(n4);
  EXPECT_FALSE(ApplyCellText(setter, *n4, map, map.Flags, 2, "a0z", LpCellInput::Typed).Refusal.empty());
  EXPECT_TRUE(ApplyCellText(setter, *n4, map, map.Latitude, 3, " -1e1 ", LpCellInput::Typed).Accepted);
  EXPECT_EQ(n4->GetRecordLatitude(2), 1.25);
}

TEST(LpGridRules, ALapCurveEditRefitsBetweenControlPointsOrIsRefused) {
  const CountedPtr<Papy::LpFileCurve> curve = LapCurve();
  const CountedPtr<LpFile> lp = curve;
  const LpColumnMap map = MapOf(*curve);
  RecordingSetter setter(lp);

  const LpCellEdit moved = ApplyCellText(setter, *lp, map, map.Latitude, 8, "2");
  EXPECT_TRUE(moved.Accepted);
  EXPECT_EQ(moved.Refresh, LpCellRefresh::ControlSpan);
  EXPECT_NEAR(curve->GetRecordLatitude(8), 2.0, 1e-4);

  // Off a control point the latitude has no setter to reach; the speeds never do.
  EXPECT_FALSE(ApplyCellText(setter, *lp, map, map.Latitude, 9, "2").Accepted);
  EXPECT_FALSE(ApplyCellText(setter, *lp, map, map.LongitudinalSpeed, 8, "2").Accepted);

  const LpCellEdit added = ApplyCellText(setter, *lp, map, map.Control, 12, "1");
  EXPECT_EQ(added.Refresh, LpCellRefresh::ControlSpan);
  EXPECT_TRUE(curve->IsControlPoint(12));
  const LpCellEdit limit = ApplyCellText(setter, *lp, map, map.SpeedLimit, 5, "72");
  EXPECT_EQ(limit.Refresh, LpCellRefresh::None);
  EXPECT_DOUBLE_EQ(curve->GetRecordSpeedLimit(5), 20.0);
  EXPECT_EQ(setter.Calls, (std::vector<std::string>{"SetRecordLatitude(8)", "SetControlPoint(12)",
                                                    "SetRecordSpeedLimit(5)"}));
}

TEST(LpGridRules, ASetterThatThrowsPassesItsExceptionOn) {
  // Two control points on a circle leave no curve to fit.
  const CountedPtr<Papy::LpFileCurve> curve = LapCurve(100); // control points at records 0, 100, 200
  const CountedPtr<LpFile> lp = curve;
  const LpColumnMap map = MapOf(*curve);
  RecordingSetter setter(lp);
  EXPECT_THROW(ApplyCellText(setter, *lp, map, map.Control, 100, ""), Util::XUsage);
  EXPECT_TRUE(curve->IsControlPoint(100));
}

TEST(LpGridRules, TheControlSpanRunsToTheNeighbouringControlPointsAcrossTheLapEnd) {
  const CountedPtr<Papy::LpFileCurve> curve = LapCurve(8); // 0, 8, ..., 208 of 210 records
  ASSERT_EQ(curve->GetRecordCount(), 210u);
  const auto range = [](int from, int to) {
    std::vector<int> out;
    for (int r = from; r != to; r = (r + 1) % 210)
      out.push_back(r);
    out.push_back(to);
    return out;
  };
  const auto reversed = [&](int from, int to) { // from down to to, wrapping
    std::vector<int> out;
    for (int r = from; r != to; r = (r + 209) % 210)
      out.push_back(r);
    out.push_back(to);
    return out;
  };
  const auto join = [](std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  EXPECT_EQ(ControlSpanRecords(*curve, 8), join(range(8, 16), reversed(7, 0)));
  EXPECT_EQ(ControlSpanRecords(*curve, 12), join(range(12, 16), reversed(11, 8)));
  // Across the lap end in both directions.
  EXPECT_EQ(ControlSpanRecords(*curve, 0), join(range(0, 8), reversed(209, 208)));
  EXPECT_EQ(ControlSpanRecords(*curve, 209), join(range(209, 0), reversed(208, 208)));
  EXPECT_EQ(ControlSpanRecords(*curve, 205), join(range(205, 208), reversed(204, 200)));
  EXPECT_TRUE(ControlSpanRecords(*curve, -1).empty());
  EXPECT_TRUE(ControlSpanRecords(*curve, 210).empty());
}

} // namespace
} // namespace Ostra::DocView

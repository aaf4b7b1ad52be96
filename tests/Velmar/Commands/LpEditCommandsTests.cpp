#include "Velmar/Core/LpEditCommands.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DocView/Core/LpCells.h"
#include "DocView/LpGrid/LpGridFixtures.h"
#include "MemoryGrid.h"
#include "Util/StringUtil.h"

namespace Ostra::Velmar {
namespace {

using CommandsTest::MemoryGrid;
using DocView::LpGridTest::RecordingSetter;
using Papy::LpFile;

// A fresh grid of an LP, with a setter that records its calls.
struct Fixture {
  explicit Fixture(CountedPtr<LpFile> lp) : Lp(std::move(lp)), Grid(*Lp), Setter(Lp) {}
  // After a change the caller made to the LP behind the grid's back.
  void Refill() { Grid = MemoryGrid(*Lp); }
  std::string Text(int row, int col) const { return Grid.GetItemText(row, col); }

  CountedPtr<LpFile> Lp;
  MemoryGrid Grid;
  RecordingSetter Setter;
};

TEST(LpEditCommands, SetValueWritesTheSelectedValueCellsInRowMajorOrder) {
  Fixture f(DocView::LpGridTest::GplLp());
  const auto& map = f.Grid.Map;
  f.Grid.Select(3, map.LongitudinalSpeed);
  f.Grid.Select(3, map.Latitude);
  f.Grid.Select(2, map.YawSpeed);
  f.Grid.Select(3, map.Flag[0]);
  f.Grid.Select(4, map.Flags);
  f.Grid.Select(0, map.Latitude);  // the header
  f.Grid.Select(5, map.Longitude); // the fixed column
  const LpEditOutcome outcome = SetValue(f.Grid, f.Setter, *f.Lp, 100.0);
  EXPECT_EQ(outcome.Written, 3);
  EXPECT_EQ(outcome.Unstorable, 0);
  EXPECT_EQ(f.Setter.Calls, (std::vector<std::string>{"SetRecordYawSpeed(1)", "SetRecordLatitude(2)",
                                                     "SetRecordLongitudinalSpeed(2)"}));
  EXPECT_NEAR(f.Lp->GetRecordYawSpeed(1), Util::DegreesToRadians(100.0), 1e-6);
  EXPECT_NEAR(f.Lp->GetRecordLatitude(2), 100.0, 1e-5);
  EXPECT_NEAR(f.Lp->GetRecordLongitudinalSpeed(2), 100.0 / 3.6, 1e-5);
  EXPECT_EQ(f.Text(3, map.Latitude), "100.000000");
  EXPECT_EQ(f.Text(3, map.Flag[0]), "");
}

TEST(LpEditCommands, AWrittenCellShowsWhatItsFormatStored) {
  const struct {
    const char* Name;
    CountedPtr<LpFile> Lp;
    const char* Shown; // where the format rounds what was typed
  } cases[] = {
      {"GPL", DocView::LpGridTest::GplLp(), nullptr},
      // ICR2 keeps whole units of 0.000762 m/s.
      {"ICR2", DocView::LpGridTest::Icr2Lp(), "100.000613"},
      {"N4", DocView::LpGridTest::N4Lp(), nullptr},
  };
  for (const auto& c : cases) {
    Fixture f(c.Lp);
    const int col = f.Grid.Map.LongitudinalSpeed;
    f.Grid.Select(5, col);
    ASSERT_EQ(SetValue(f.Grid, f.Setter, *f.Lp, 100.0).Written, 1) << c.Name;
    const double stored = f.Lp->GetRecordLongitudinalSpeed(4);
    EXPECT_NEAR(stored * 3.6, 100.0, 0.01) << c.Name;
    EXPECT_EQ(f.Text(5, col), DocView::FormatCellSpeed(stored)) << c.Name;
    if (c.Shown != nullptr) {
      EXPECT_EQ(f.Text(5, col), c.Shown) << c.Name;
    }
  }
}

TEST(LpEditCommands, AdjustAddsToTheValuesTheLpHolds) {
  Fixture f(DocView::LpGridTest::N4Lp());
  f.Lp->SetRecordLatitude(6, 2.5);
  f.Lp->SetRecordLateralSpeed(6, 30.0 / 3.6);
  f.Lp->SetRecordYawSpeed(6, Util::DegreesToRadians(15.0));
  f.Refill();
  const auto& map = f.Grid.Map;
  f.Grid.SelectBlock(7, map.Latitude, 7, map.YawSpeed);
  // The cell's text is not what Adjust reads.
  f.Grid.SetItemText(7, map.Latitude, "99");
  const LpEditOutcome outcome = Adjust(f.Grid, f.Setter, *f.Lp, -10.0);
  EXPECT_EQ(outcome.Written, 4); // latitude and the three speeds; the path length is fixed
  EXPECT_NEAR(f.Lp->GetRecordLatitude(6), -7.5, 1e-5);
  EXPECT_NEAR(f.Lp->GetRecordLateralSpeed(6) * 3.6, 20.0, 1e-4);
  EXPECT_NEAR(f.Lp->GetRecordLongitudinalSpeed(6) * 3.6, -10.0, 1e-4);
  EXPECT_NEAR(Util::RadiansToDegrees(f.Lp->GetRecordYawSpeed(6)), 5.0, 1e-4);
  EXPECT_EQ(f.Text(7, map.Latitude), "-7.500000");
}

TEST(LpEditCommands, AdjustLeavesRecordsWithoutASpeedLimitWithoutOne) {
  const CountedPtr<Papy::LpFileCurve> curve = DocView::LpGridTest::LapCurve();
  curve->SetRecordSpeedLimit(3, 50.0 / 3.6);
  Fixture f(curve);
  const int col = f.Grid.Map.SpeedLimit;
  f.Grid.SelectBlock(2, col, 6, col);
  EXPECT_EQ(Adjust(f.Grid, f.Setter, *f.Lp, 10.0).Written, 1);
  EXPECT_NEAR(curve->GetRecordSpeedLimit(3) * 3.6, 60.0, 1e-9);
  for (int row = 2; row <= 6; ++row)
    EXPECT_EQ(f.Text(row, col), row == 4 ? "60.000000" : "") << row;
  for (const U32 record : {1u, 2u, 4u, 5u})
    EXPECT_FALSE(curve->HasRecordSpeedLimit(record)) << record;
  // Set Value does give every selected record a limit.
  EXPECT_EQ(SetValue(f.Grid, f.Setter, *f.Lp, 80.0).Written, 5);
  EXPECT_EQ(f.Text(2, col), "80.000000");
}

TEST(LpEditCommands, FlagAndControlCellsEnableTheCommandsButNeverChange) {
  Fixture gpl(DocView::LpGridTest::GplLp());
  gpl.Grid.SelectBlock(3, gpl.Grid.Map.Flag[0], 6, gpl.Grid.Map.Flags);
  Fixture curve(DocView::LpGridTest::LapCurve());
  curve.Grid.SelectBlock(3, curve.Grid.Map.Control, 6, curve.Grid.Map.Control);
  for (Fixture* f : {&gpl, &curve}) {
    const auto texts = f->Grid.Texts;
    EXPECT_TRUE(CanEditSelection(f->Grid));
    EXPECT_EQ(SetValue(f->Grid, f->Setter, *f->Lp, 1.0).Written, 0);
    EXPECT_EQ(Adjust(f->Grid, f->Setter, *f->Lp, 1.0).Written, 0);
    EXPECT_EQ(Scale(f->Grid, f->Setter, *f->Lp, 2.0, 3.0).Written, 0);
    EXPECT_EQ(Ramp(f->Grid, f->Setter, *f->Lp).Written, 0);
    EXPECT_TRUE(f->Setter.Calls.empty());
    EXPECT_EQ(f->Grid.Texts, texts);
  }
}

TEST(LpEditCommands, ScaleRunsTheFactorLinearlyOverTheSelectionsRows) {
  Fixture f(DocView::LpGridTest::GplLp());
  const int col = f.Grid.Map.Latitude;
  for (U32 r = 0; r < 30; ++r)
    f.Lp->SetRecordLatitude(r, 2.0);
  f.Refill();
  // Rows 11 to 21 bound the selection; only three of them are selected.
  for (const int row : {11, 16, 21})
    f.Grid.Select(row, col);
  // Scale reads the text shown, whatever the LP holds.
  f.Grid.SetItemText(21, col, "3");
  EXPECT_EQ(Scale(f.Grid, f.Setter, *f.Lp, 1.0, 2.0).Written, 3);
  EXPECT_EQ(f.Text(11, col), "2.000000");
  EXPECT_EQ(f.Text(16, col), "3.000000");
  EXPECT_EQ(f.Text(21, col), "6.000000");
  EXPECT_EQ(f.Text(15, col), "2.000000");
  // The ends take the factors given however far apart they are: from 1e308 to 1 the
  // last row keeps its value.
  f.Grid.Selected.clear();
  f.Grid.SelectBlock(1, col, 4, col);
  Scale(f.Grid, f.Setter, *f.Lp, 1e308, 1.0);
  EXPECT_EQ(f.Lp->GetRecordLatitude(3), 2.0);
}

TEST(LpEditCommands, RampWritesTheStraightLineColumnByColumnOverTheWholeRange) {
  Fixture f(DocView::LpGridTest::GplLp());
  const auto& map = f.Grid.Map;
  f.Lp->SetRecordLatitude(4, 1.0);
  f.Lp->SetRecordLatitude(8, 5.0);
  f.Lp->SetRecordLatitude(6, 40.0);
  f.Lp->SetRecordLongitudinalSpeed(4, 100.0 / 3.6);
  f.Lp->SetRecordLongitudinalSpeed(8, 200.0 / 3.6);
  f.Refill();
  // Two corner cells select the block of rows 5 to 9, latitude to longitudinal speed.
  f.Grid.Select(5, map.Latitude);
  f.Grid.Select(9, map.LongitudinalSpeed);
  EXPECT_EQ(Ramp(f.Grid, f.Setter, *f.Lp).Written, 10);
  const char* latitudes[] = {"1.000000", "2.000000", "3.000000", "4.000000", "5.000000"};
  for (int row = 5; row <= 9; ++row) {
    EXPECT_EQ(f.Text(row, map.Latitude), latitudes[row - 5]) << row;
    EXPECT_NEAR(f.Lp->GetRecordLongitudinalSpeed(static_cast<U32>(row - 1)) * 3.6,
                100.0 + 25.0 * (row - 5), 1e-3)
        << row;
  }
  EXPECT_EQ(f.Setter.Calls.front(), "SetRecordLatitude(4)");
  EXPECT_EQ(f.Setter.Calls.back(), "SetRecordLongitudinalSpeed(8)");
}

TEST(LpEditCommands, ARangeFromTheHeaderToTheFirstRecordRowStaysFinite) {
  Fixture f(DocView::LpGridTest::GplLp());
  const int col = f.Grid.Map.Latitude;
  f.Lp->SetRecordLatitude(0, 3.0);
  f.Refill();
  f.Grid.Select(0, col);
  f.Grid.Select(1, col);
  ASSERT_TRUE(CanInterpolateSelection(f.Grid));
  EXPECT_EQ(Scale(f.Grid, f.Setter, *f.Lp, 2.0, 7.0).Written, 1);
  EXPECT_EQ(f.Lp->GetRecordLatitude(0), 6.0);
  EXPECT_EQ(Ramp(f.Grid, f.Setter, *f.Lp).Written, 1);
  EXPECT_EQ(f.Lp->GetRecordLatitude(0), 6.0);
}

TEST(LpEditCommands, ValuesAnLpCannotHoldNeverReachIt) {
  Fixture f(DocView::LpGridTest::GplLp());
  const auto& map = f.Grid.Map;
  f.Grid.SelectBlock(2, map.Latitude, 3, map.Latitude);
  // 1e300 x 1e10 overflows; "nan" reads as no number.
  f.Grid.SetItemText(2, map.Latitude, "1e300");
  f.Grid.SetItemText(3, map.Latitude, "nan");
  const LpEditOutcome scaled = Scale(f.Grid, f.Setter, *f.Lp, 1e10, 1e10);
  EXPECT_EQ(scaled.Written, 0);
  EXPECT_EQ(scaled.Unstorable, 2);
  EXPECT_EQ(DescribeSkippedCells(scaled),
            "2 cells were left unchanged because the new value would not be a number the LP can hold.");
  EXPECT_EQ(DescribeSkippedCells({1, 0}), "");
  EXPECT_TRUE(f.Setter.Calls.empty());
  // Degrees of 1e308 are more radians than a double holds.
  Fixture yaw(DocView::LpGridTest::GplLp());
  yaw.Grid.Select(4, yaw.Grid.Map.YawSpeed);
  const LpEditOutcome set = SetValue(yaw.Grid, yaw.Setter, *yaw.Lp, 1e308);
  EXPECT_EQ(set.Unstorable, 1);
  EXPECT_EQ(set.Written, 0);
  EXPECT_EQ(yaw.Lp->GetRecordYawSpeed(3), 0.0);
  // Finite, but more than the format's single-precision floats hold: stored, it would
  // read back as infinity.
  Fixture big(DocView::LpGridTest::GplLp());
  big.Grid.Select(4, big.Grid.Map.Latitude);
  EXPECT_EQ(SetValue(big.Grid, big.Setter, *big.Lp, 1e39).Unstorable, 1);
  EXPECT_EQ(big.Lp->GetRecordLatitude(3), 0.0);
  EXPECT_EQ(SetValue(big.Grid, big.Setter, *big.Lp, 3e38).Written, 1);
  EXPECT_TRUE(std::isfinite(big.Lp->GetRecordLatitude(3)));
  // A ramp towards "nan" writes nothing in that column.
  Fixture ramp(DocView::LpGridTest::GplLp());
  ramp.Grid.SelectBlock(2, ramp.Grid.Map.Latitude, 5, ramp.Grid.Map.Latitude);
  ramp.Grid.SetItemText(5, ramp.Grid.Map.Latitude, "inf");
  EXPECT_EQ(Ramp(ramp.Grid, ramp.Setter, *ramp.Lp).Unstorable, 4);
  EXPECT_TRUE(ramp.Setter.Calls.empty());
}

TEST(LpEditCommands, OnALapCurveOnlyControlPointsMoveAndTheirSpansAreRefreshed) {
  const CountedPtr<Papy::LpFileCurve> curve = DocView::LpGridTest::LapCurve(8);
  Fixture f(curve);
  const int col = f.Grid.Map.Latitude;
  f.Grid.SelectBlock(1, col, 20, col);
  const auto texts = f.Grid.Texts;
  // Control points every 8 records: records 0, 8 and 16 in rows 1 to 20.
  EXPECT_EQ(SetValue(f.Grid, f.Setter, *f.Lp, 1.5).Written, 3);
  EXPECT_EQ(f.Grid.SpanRefreshes, (std::vector<int>{0, 8, 16}));
  for (const U32 record : {0u, 8u, 16u})
    EXPECT_NEAR(curve->GetRecordLatitude(record), 1.5, 1e-6) << record;
  // Rows between control points keep their text until the span refresh.
  EXPECT_EQ(f.Text(5, col), texts[5][static_cast<std::size_t>(col)]);
  // The speeds follow from the curve and are never written.
  Fixture speeds(curve);
  speeds.Grid.SelectBlock(1, speeds.Grid.Map.LongitudinalSpeed, 9, speeds.Grid.Map.YawSpeed);
  EXPECT_FALSE(CanEditSelection(speeds.Grid));
  EXPECT_EQ(SetValue(speeds.Grid, speeds.Setter, *speeds.Lp, 1.0).Written, 0);
}

TEST(LpEditCommands, TheCommandsAreEnabledByAnEditableCellInTheBoundingRange) {
  const CountedPtr<LpFile> n4 = DocView::LpGridTest::N4Lp();
  const DocView::LpColumnMap map = DocView::LayoutColumns(DocView::LpCapabilities::Of(*n4));
  const struct {
    const char* Name;
    std::vector<std::pair<int, int>> Cells;
    bool Edit, Interpolate;
  } cases[] = {
      {"nothing selected", {}, false, false},
      {"the header row", {{0, map.Latitude}, {0, map.LateralSpeed}}, false, false},
      {"path lengths", {{3, map.PathLength}, {9, map.PathLength}}, false, false},
      {"one row", {{3, map.Latitude}, {3, map.Flags}}, true, false},
      // Neither selected cell is editable; a cell between them is.
      {"longitude to path length", {{3, map.Longitude}, {5, map.PathLength}}, true, true},
      {"header to first row", {{0, map.Latitude}, {1, map.Latitude}}, true, true},
      {"past the records", {{500, map.Latitude}, {501, map.Latitude}}, false, false},
  };
  for (const auto& c : cases) {
    MemoryGrid grid(*n4);
    for (const auto& [row, col] : c.Cells)
      grid.Select(row, col);
    EXPECT_EQ(CanEditSelection(grid), c.Edit) << c.Name;
    EXPECT_EQ(CanInterpolateSelection(grid), c.Interpolate) << c.Name;
  }
}

} // namespace
} // namespace Ostra::Velmar

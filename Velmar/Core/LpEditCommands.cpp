#include "Velmar/Core/LpEditCommands.h"

#include <limits>
#include <optional>

#include "DocView/Core/LpCells.h"
#include "DocView/Core/LpGridRules.h"
#include "Papy/Lp/LpFile.h"
#include "Util/StringUtil.h"

namespace Ostra::Velmar {

namespace {

using DocView::LpColumnKind;

constexpr double KilometresPerHourPerMetrePerSecond = 3.6;

bool IsValueColumn(LpColumnKind kind) {
  switch (kind) {
  case LpColumnKind::Latitude:
  case LpColumnKind::SpeedLimit:
  case LpColumnKind::LongitudinalSpeed:
  case LpColumnKind::LateralSpeed:
  case LpColumnKind::YawSpeed:
    return true;
  case LpColumnKind::None:
  case LpColumnKind::Longitude:
  case LpColumnKind::Control:
  case LpColumnKind::PathLength:
  case LpColumnKind::SpeedModifier:
  case LpColumnKind::Flag:
  case LpColumnKind::Flags:
    return false;
  }
  return false;
}

// A value as the grid shows it, in the LP's units.
double ToModel(LpColumnKind kind, double shown) {
  switch (kind) {
  case LpColumnKind::SpeedLimit:
  case LpColumnKind::LongitudinalSpeed:
  case LpColumnKind::LateralSpeed:
    return shown / KilometresPerHourPerMetrePerSecond;
  case LpColumnKind::YawSpeed:
    return Util::DegreesToRadians(shown);
  default:
    return shown;
  }
}

// The field's current value in the LP's units.
double CurrentValue(const Papy::LpFile& lp, LpColumnKind kind, Util::U32 record) {
  switch (kind) {
  case LpColumnKind::Latitude:
    return lp.GetRecordLatitude(record);
  case LpColumnKind::SpeedLimit:
    return lp.GetRecordSpeedLimit(record);
  case LpColumnKind::LongitudinalSpeed:
    return lp.GetRecordLongitudinalSpeed(record);
  case LpColumnKind::LateralSpeed:
    return lp.GetRecordLateralSpeed(record);
  case LpColumnKind::YawSpeed:
    return lp.GetRecordYawSpeed(record);
  default:
    return 0.0;
  }
}

class CellWriter {
public:
  CellWriter(ILpGridAccess& grid, DocView::ILpRecordSetter& setter, const Papy::LpFile& lp)
      : Grid(grid), Setter(setter), Lp(lp) {}

  // Stores a value in the LP's units into the cell's field and shows what the LP kept.
  void Write(int row, int col, LpColumnKind kind, double value) {
    if (!DocView::IsStorableLpValue(value)) {
      ++Outcome.Unstorable;
      return;
    }
    const int record = row - 1;
    if (!DocView::WriteCellValue(Setter, kind, record, value))
      return;
    ++Outcome.Written;
    Grid.SetItemText(row, col, DocView::FormatCell(Lp, DocView::LpColumn{kind}, record));
    if (kind == LpColumnKind::Latitude && Lp.HasControlPoints())
      Grid.RefreshControlSpan(record);
  }

  LpEditOutcome Outcome;

private:
  ILpGridAccess& Grid;
  DocView::ILpRecordSetter& Setter;
  const Papy::LpFile& Lp;
};

bool IsRecordRow(const Papy::LpFile& lp, int row) {
  return row >= 1 && static_cast<long long>(row) <= static_cast<long long>(lp.GetRecordCount());
}

// Calls visit(row, col, kind) for every selected cell, in row-major order, that the
// commands may change.
template <class Visit>
void ForEachSelectedValueCell(const ILpGridAccess& grid, const Papy::LpFile& lp, Visit&& visit) {
  GridCell cell = grid.GetNextSelectedCell({});
  while (cell.IsValid()) {
    const LpColumnKind kind = grid.GetColumnKind(cell.Col);
    if (IsValueColumn(kind) && IsRecordRow(lp, cell.Row) && grid.IsCellEditable(cell.Row, cell.Col))
      visit(cell.Row, cell.Col, kind);
    const GridCell next = grid.GetNextSelectedCell(cell);
    // A walk that does not move forward would never end.
    if (next.IsValid() && (next.Row < cell.Row || (next.Row == cell.Row && next.Col <= cell.Col)))
      break;
    cell = next;
  }
}

// The rows Scale and Ramp interpolate between: the header row counts as the first
// record row.
struct RowSpan {
  int First;
  int Last;
  // 0 at First, 1 at Last; 0 throughout a span of one row.
  double At(int row) const {
    if (Last == First)
      return 0.0;
    return static_cast<double>(row - First) / static_cast<double>(Last - First);
  }
  // From a at First to b at Last. Weighting both ends, rather than adding a fraction of
  // b - a to a, gives each end exactly however far apart they are: (1 - 1e308) + 1e308
  // is 0, not 1.
  double Between(double a, double b, int row) const {
    const double t = At(row);
    return a * (1.0 - t) + b * t;
  }
};

RowSpan InterpolationRows(const GridRange& range) {
  return {range.MinRow == 0 ? 1 : range.MinRow, range.MaxRow};
}

double ParseShown(const std::string& text) {
  return DocView::ParseCellDouble(text).value_or(std::numeric_limits<double>::quiet_NaN());
}

} // namespace

std::string DescribeSkippedCells(const LpEditOutcome& outcome) {
  if (outcome.Unstorable == 0)
    return {};
  const std::string cells =
      outcome.Unstorable == 1 ? "1 cell was" : std::to_string(outcome.Unstorable) + " cells were";
  return cells + " left unchanged because the new value would not be a number the LP can hold.";
}

bool CanEditSelection(const ILpGridAccess& grid) {
  const GridRange range = grid.GetSelectedCellRange();
  if (range.IsEmpty())
    return false;
  for (int row = range.MinRow; row <= range.MaxRow; ++row)
    for (int col = range.MinCol; col <= range.MaxCol; ++col)
      if (grid.IsCellEditable(row, col))
        return true;
  return false;
}

bool CanInterpolateSelection(const ILpGridAccess& grid) {
  const GridRange range = grid.GetSelectedCellRange();
  return range.MaxRow > range.MinRow && CanEditSelection(grid);
}

LpEditOutcome SetValue(ILpGridAccess& grid, DocView::ILpRecordSetter& setter,
                       const Papy::LpFile& lp, double value) {
  CellWriter writer(grid, setter, lp);
  ForEachSelectedValueCell(grid, lp, [&](int row, int col, LpColumnKind kind) {
    writer.Write(row, col, kind, ToModel(kind, value));
  });
  return writer.Outcome;
}

LpEditOutcome Adjust(ILpGridAccess& grid, DocView::ILpRecordSetter& setter,
                     const Papy::LpFile& lp, double amount) {
  CellWriter writer(grid, setter, lp);
  ForEachSelectedValueCell(grid, lp, [&](int row, int col, LpColumnKind kind) {
    const auto record = static_cast<Util::U32>(row - 1);
    if (kind == LpColumnKind::SpeedLimit && !lp.HasRecordSpeedLimit(record))
      return;
    writer.Write(row, col, kind, CurrentValue(lp, kind, record) + ToModel(kind, amount));
  });
  return writer.Outcome;
}

LpEditOutcome Scale(ILpGridAccess& grid, DocView::ILpRecordSetter& setter,
                    const Papy::LpFile& lp, double beginning, double ending) {
  const RowSpan rows = InterpolationRows(grid.GetSelectedCellRange());
  CellWriter writer(grid, setter, lp);
  ForEachSelectedValueCell(grid, lp, [&](int row, int col, LpColumnKind kind) {
    const double shown = ParseShown(grid.GetItemText(row, col));
    writer.Write(row, col, kind, ToModel(kind, shown * rows.Between(beginning, ending, row)));
  });
  return writer.Outcome;
}

LpEditOutcome Ramp(ILpGridAccess& grid, DocView::ILpRecordSetter& setter, const Papy::LpFile& lp) {
  const GridRange range = grid.GetSelectedCellRange();
  CellWriter writer(grid, setter, lp);
  if (range.IsEmpty())
    return writer.Outcome;
  const RowSpan rows = InterpolationRows(range);
  for (int col = range.MinCol; col <= range.MaxCol; ++col) {
    const LpColumnKind kind = grid.GetColumnKind(col);
    if (!IsValueColumn(kind))
      continue;
    const double a = ParseShown(grid.GetItemText(rows.First, col));
    const double b = ParseShown(grid.GetItemText(rows.Last, col));
    for (int row = rows.First; row <= rows.Last; ++row)
      if (IsRecordRow(lp, row) && grid.IsCellEditable(row, col))
        writer.Write(row, col, kind, ToModel(kind, rows.Between(a, b, row)));
  }
  return writer.Outcome;
}

} // namespace Ostra::Velmar

#pragma once

#include <string>

#include "DocView/Core/LpColumns.h"
#include "DocView/Core/LpRecordSetter.h"

namespace Ostra::Papy {
class LpFile;
}

// Set Value, Adjust, Scale and Ramp: many cells of the LP grid changed at once, in the
// units the grid shows (km/h, degrees, metres). The grid is reached through a small
// interface so that the commands run headless; the document's setters write the LP.
namespace Ostra::Velmar {

struct GridCell {
  int Row = -1;
  int Col = -1;
  bool IsValid() const { return Row >= 0 && Col >= 0; }
};

// Inclusive; empty when a minimum exceeds its maximum (nothing selected).
struct GridRange {
  int MinRow = 0;
  int MinCol = 0;
  int MaxRow = -1;
  int MaxCol = -1;
  bool IsEmpty() const { return MinRow > MaxRow || MinCol > MaxCol; }
};

// What the commands need of the LP grid. Row 0 is the header; row r shows record r - 1.
class ILpGridAccess {
public:
  virtual ~ILpGridAccess() = default;

  // The bounding range of every selected cell.
  virtual GridRange GetSelectedCellRange() const = 0;
  // The selected cell after cell in row-major order, the header row and the fixed
  // column left out; from (-1, -1) the first; (-1, -1) after the last.
  virtual GridCell GetNextSelectedCell(GridCell cell) const = 0;
  virtual std::string GetItemText(int row, int col) const = 0;
  virtual void SetItemText(int row, int col, const std::string& text) = 0;
  virtual bool IsCellEditable(int row, int col) const = 0;
  virtual DocView::LpColumnKind GetColumnKind(int col) const = 0;
  // After a lap curve's control point moved, the rows up to its neighbouring control
  // points show a refitted line.
  virtual void RefreshControlSpan(int record) = 0;
};

// How a command went: cells written, and cells passed over because their value was
// not a number an LP can hold (a text such as "nan", or a product that overflowed;
// DocView::IsStorableLpValue), which never reaches an LP.
struct LpEditOutcome {
  int Written = 0;
  int Unstorable = 0;
};

// The message for the cells an edit passed over; empty when there were none.
std::string DescribeSkippedCells(const LpEditOutcome& outcome);

// Set Value and Adjust: some cell inside the selection's bounding range (selected or
// not) is editable.
bool CanEditSelection(const ILpGridAccess& grid);
// Scale and Ramp: as CanEditSelection, over more than one row.
bool CanInterpolateSelection(const ILpGridAccess& grid);

// Each of them writes through the setter and re-formats every cell it wrote from the
// LP, so a format that rounds shows what it stored. Only latitude, speed-limit and the
// three speed columns change; other selected cells are left as they are. The setter's
// exceptions propagate, the cells written before staying written.

// Every selected editable cell, in row-major order, gets the value.
LpEditOutcome SetValue(ILpGridAccess& grid, DocView::ILpRecordSetter& setter,
                       const Papy::LpFile& lp, double value);

// Every selected editable cell's current value (read from the LP) grows by the amount.
// A record without a speed limit keeps none: adding to its empty cell would invent a
// limit.
LpEditOutcome Adjust(ILpGridAccess& grid, DocView::ILpRecordSetter& setter,
                     const Papy::LpFile& lp, double amount);

// Every selected editable cell's shown value is multiplied by a factor running
// linearly from the beginning factor at the first row of the selection's bounding
// range to the ending factor at its last row. The first row is 1 when the range starts
// at the header; a range of one record row uses the beginning factor.
LpEditOutcome Scale(ILpGridAccess& grid, DocView::ILpRecordSetter& setter,
                    const Papy::LpFile& lp, double beginning, double ending);

// Column by column over the whole bounding range, selected or not, every editable cell
// gets the value on the straight line between the values shown in the range's first
// and last rows of its column (both rewritten too). A range of one record row writes
// the first row's value.
LpEditOutcome Ramp(ILpGridAccess& grid, DocView::ILpRecordSetter& setter, const Papy::LpFile& lp);

} // namespace Ostra::Velmar

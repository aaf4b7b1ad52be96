#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "DocView/Core/LpColumns.h"
#include "DocView/Core/LpRecordSetter.h"

namespace Ostra::Papy {
class LpFile;
}

// What the LP grid shows in a cell, which cells the user may edit, and where an
// edited text goes. The LP is the only model; the grid holds formatted copies.
namespace Ostra::DocView {

// The text of a record's cell in a column of the map ("" for a column outside it, and
// for a speed-limit cell of a record without a limit).
std::string FormatCell(const Papy::LpFile& lp, const LpColumnMap& map, int record, int column);
std::string FormatCell(const Papy::LpFile& lp, LpColumn column, int record);

// Hands out every cell text of the grid that shows the LP: the headers in row 0, then
// record r - 1 in row r, column by column.
using LpCellSink = std::function<void(int row, int column, const std::string& text)>;
void FillLpCells(const Papy::LpFile& lp, const LpColumnMap& map, const LpCellSink& put);

// Grid rows and columns. The header row, the longitude and the path length are never
// editable, nor a row past the records. A lap curve's latitude is editable only at a
// control point and its speeds never (they follow from the curve).
bool IsCellEditable(const Papy::LpFile& lp, const LpColumnMap& map, int row, int column);

// The cells to re-format from the LP after an edit was written.
enum class LpCellRefresh {
  None,        // the edited cell keeps the text as typed
  ControlSpan, // the records between the neighbouring control points (a lap curve refit)
  FlagsCell,   // the flags word, which packs this field in some formats
  FlagCells    // the speed modifier and the flag cells, unpacked from a new flags word
};

struct LpCellEdit {
  // False leaves the LP untouched and the grid puts the old text back: the column has
  // no setter, or the text holds a number that must not reach an LP (not finite, or
  // beyond what the formats store: IsStorableLpValue).
  bool Accepted = false;
  LpCellRefresh Refresh = LpCellRefresh::None;
  // Why typed text was refused, for the user; empty when nothing needs saying.
  std::string Refusal;
};

// Where a cell's new text comes from. Typed text must be a whole number to be written;
// pasted text is read the way the C library reads numbers, as much as makes one.
enum class LpCellInput { Typed, Pasted };

// Writes a number, in the LP's own units (metres, metres per second, radians), through
// the setter of a column that holds one: latitude, speed limit, the three speeds and
// the speed modifier. False, writing nothing, for any other column. The value is not
// checked here (see IsStorableLpValue).
bool WriteCellValue(ILpRecordSetter& setter, LpColumnKind kind, int record, double value);

// Writes a cell's new text through the column's setter (record = row - 1). The
// setter's exceptions propagate: the caller restores the cell.
LpCellEdit ApplyCellText(ILpRecordSetter& setter, const Papy::LpFile& lp, const LpColumnMap& map,
                         int column, int record, std::string_view text,
                         LpCellInput input = LpCellInput::Pasted);

// The records whose rows change when the lap curve is refitted around record: forward
// from record itself up to and including the next other control point, then backward
// from the record before it up to and including the previous control point, each
// direction wrapping round the lap and visiting a record at most once.
std::vector<int> ControlSpanRecords(const Papy::LpFile& lp, int record);

} // namespace Ostra::DocView

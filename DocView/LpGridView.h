#pragma once

#include <string>

#include "DocView/Core/LpColumns.h"
#include "DocView/GridView.h"

class GridCtrlEvent;

namespace Ostra::Papy {
class LpFile;
}

namespace Ostra::DocView {

class CLpDoc;

// Shows an LP document as a grid: row 0 holds the headers, row r record r - 1, column 0
// the longitude; the other columns are those the LP's format has. Cells are edited in
// place (and cut, copied and pasted) cell by cell through the document's setters.
class CLpGridView : public CGridView {
public:
  CLpGridView();

  // Rebuilds the columns and every cell from the LP; a document without an LP (made
  // by New) leaves the grid empty.
  void OnUpdate(wxView* sender, wxObject* hint) override;

  CLpDoc* GetLpDocument() const;
  // Null without a document or an LP.
  Papy::LpFile* GetLp() const;

  // Grid coordinates. The header row, the longitude and the path length never are; a
  // lap curve's latitude only at a control point and its speeds never.
  bool IsCellEditable(int row, int col) const;

  // The grid's own Cut, Copy and Paste (reached when the grid did not take the command).
  void OnEditCut(wxCommandEvent& event);
  void OnEditCopy(wxCommandEvent& event);
  void OnEditPaste(wxCommandEvent& event);

  // Re-format cells of a record from the LP and repaint them. A record outside the LP
  // or a view without a grid does nothing.
  // Longitude, control, latitude, path length, speed limit and the speeds.
  void RefreshRecordRow(int record);
  // The rows a lap-curve refit around the record changed (ControlSpanRecords).
  void RefreshControlSpan(int record);
  // The flags-word cell, when the LP has one.
  void RefreshFlagsCell(int record);
  // The speed-modifier cell and every flag cell.
  void RefreshFlagCells(int record);
  // Every cell of the record's row.
  void RefreshWholeRow(int record);

  // The column map of the last fill.
  const LpColumnMap& GetColumnMap() const { return Columns; }

  // The grid column of each field, -1 when the LP has none; recomputed by every fill.
  int ControlColumn = -1;
  int LongitudeColumn = 0;
  int PathLengthColumn = -1;
  int LatitudeColumn = -1;
  int LongitudinalSpeedColumn = -1;
  int LateralSpeedColumn = -1;
  int YawSpeedColumn = -1;
  int SpeedLimitColumn = -1;
  int SpeedModifierColumn = -1;
  int FlagColumns[LpFlagCount] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  int FlagsColumn = -1;

protected:
  void OnGridNotify(GridCtrlEvent& event);
  // Answers 0 for an editable cell, -1 to refuse the edit.
  void OnBeginLabelEdit(GridCtrlEvent& event);
  // Writes the new text through the column's setter. Answers -1 (the grid puts the old
  // text back) for a column without a setter, a refused number, or a setter that threw,
  // whose message is then shown.
  void OnEndLabelEdit(GridCtrlEvent& event);

private:
  void Fill(Papy::LpFile& lp);
  void SetColumnMembers();
  void RefreshCells(int record, std::initializer_list<int> columns);
  void RefreshCell(const Papy::LpFile& lp, int record, int column);

  LpColumnMap Columns;

  wxDECLARE_DYNAMIC_CLASS(CLpGridView);
};

} // namespace Ostra::DocView

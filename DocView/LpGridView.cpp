#include "DocView/LpGridView.h"

#include <algorithm>
#include <climits>

#include "DocView/Core/LpGridRules.h"
#include "DocView/Core/UserMessages.h"
#include "DocView/LpDoc.h"
#include "GridCtrl/GridCtrl.h"
#include "Papy/Lp/LpFile.h"
#include "Util/Exception.h"

namespace Ostra::DocView {

wxIMPLEMENT_DYNAMIC_CLASS(CLpGridView, CGridView);

namespace {

// Turns the grid's repainting off for a bulk change and back on (with the scroll bars
// redone once) however the change ends.
class RedrawPause {
public:
  explicit RedrawPause(CGridCtrl& grid) : Grid(grid) { Grid.SetRedraw(false); }
  ~RedrawPause() { Grid.SetRedraw(true, true); }
  RedrawPause(const RedrawPause&) = delete;
  RedrawPause& operator=(const RedrawPause&) = delete;

private:
  CGridCtrl& Grid;
};

} // namespace

CLpGridView::CLpGridView() { Bind(EVT_GRID_NOTIFY, &CLpGridView::OnGridNotify, this); }

CLpDoc* CLpGridView::GetLpDocument() const { return dynamic_cast<CLpDoc*>(GetDocument()); }

Papy::LpFile* CLpGridView::GetLp() const {
  const CLpDoc* doc = GetLpDocument();
  return doc != nullptr ? doc->GetLpFile().Get() : nullptr;
}

void CLpGridView::OnUpdate(wxView*, wxObject*) {
  if (Grid == nullptr)
    return;
  RunGuarded(
      [this] {
        if (Papy::LpFile* lp = GetLp())
          Fill(*lp);
      },
      MessageParent::View);
}

void CLpGridView::Fill(Papy::LpFile& lp) {
  const Util::U32 count = lp.GetRecordCount();
  if (count >= static_cast<Util::U32>(INT_MAX))
    throw Util::XUsage("The LP has too many records to show");
  Columns = LayoutColumns(LpCapabilities::Of(lp));
  SetColumnMembers();
  const int rows = static_cast<int>(count) + 1;
  const int columns = Columns.Count();

  RedrawPause pause(*Grid);
  Grid->SetColumnCount(columns);
  Grid->SetRowCount(rows);
  Grid->SetFixedColumnCount(1);
  Grid->SetFixedRowCount(1);
  Grid->SetRowResize(false);
  Grid->EnableTitleTips(false);
  FillLpCells(lp, Columns, [this](int row, int column, const std::string& text) { Grid->SetItemText(row, column, text); });

  // Wide enough for the header and for the first and last records' texts; measuring
  // every cell of a long LP would cost more than the fill.
  for (int column = 0; column < columns; ++column) {
    Grid->AutoSizeColumn(column, 1, false);
    int width = Grid->GetColumnWidth(column);
    for (const int row : {1, rows - 1})
      if (row > 0)
        if (CGridCellBase* cell = Grid->GetCell(row, column))
          width = std::max(width, cell->GetCellExtent(nullptr).Width);
    Grid->SetColumnWidth(column, width);
  }
}

void CLpGridView::SetColumnMembers() {
  ControlColumn = Columns.Control;
  LongitudeColumn = Columns.Longitude;
  PathLengthColumn = Columns.PathLength;
  LatitudeColumn = Columns.Latitude;
  LongitudinalSpeedColumn = Columns.LongitudinalSpeed;
  LateralSpeedColumn = Columns.LateralSpeed;
  YawSpeedColumn = Columns.YawSpeed;
  SpeedLimitColumn = Columns.SpeedLimit;
  SpeedModifierColumn = Columns.SpeedModifier;
  std::copy(Columns.Flag.begin(), Columns.Flag.end(), FlagColumns);
  FlagsColumn = Columns.Flags;
}

bool CLpGridView::IsCellEditable(int row, int col) const {
  const Papy::LpFile* lp = GetLp();
  return lp != nullptr && DocView::IsCellEditable(*lp, Columns, row, col);
}

void CLpGridView::OnEditCut(wxCommandEvent&) {
  if (Grid != nullptr)
    Grid->OnEditCut();
}

void CLpGridView::OnEditCopy(wxCommandEvent&) {
  if (Grid != nullptr)
    Grid->OnEditCopy();
}

void CLpGridView::OnEditPaste(wxCommandEvent&) {
  if (Grid != nullptr)
    Grid->OnEditPaste();
}

void CLpGridView::OnGridNotify(GridCtrlEvent& event) {
  if (event.GetNotify() == nullptr || event.GetNotify()->IdFrom != GridControlId) {
    event.Skip();
    return;
  }
  switch (event.GetCode()) {
  case LVN_BEGINLABELEDITA:
    OnBeginLabelEdit(event);
    break;
  case LVN_ENDLABELEDITA:
    OnEndLabelEdit(event);
    break;
  default:
    event.Skip();
    break;
  }
}

void CLpGridView::OnBeginLabelEdit(GridCtrlEvent& event) {
  event.SetResult(IsCellEditable(event.GetRow(), event.GetCol()) ? 0 : -1);
}

void CLpGridView::OnEndLabelEdit(GridCtrlEvent& event) {
  event.SetResult(-1);
  CLpDoc* doc = GetLpDocument();
  const Papy::LpFile* lp = GetLp();
  const int row = event.GetRow();
  const int column = event.GetCol();
  if (doc == nullptr || lp == nullptr || Grid == nullptr || row < 1)
    return;
  const int record = row - 1;
  const std::string text = Grid->GetItemText(row, column);
  try {
    const LpCellEdit edit =
        ApplyCellText(*doc, *lp, Columns, column, record, text,
                      Grid->IsTakingTypedText() ? LpCellInput::Typed : LpCellInput::Pasted);
    if (!edit.Accepted) {
      // The grid puts the old text back, which may be text typed earlier: the cell
      // shows the value the LP holds once the grid has finished.
      if (!edit.Refusal.empty()) {
        CallAfter([this, record, column] {
          RefreshCells(record, {column});
          if (Grid != nullptr)
            Grid->RedrawCell(record + 1, column);
        });
        CallAfter(
            [message = edit.Refusal] { GetUserMessages().Show(message, MessageParent::View); });
      }
      return;
    }
    switch (edit.Refresh) {
    case LpCellRefresh::ControlSpan:
      RefreshControlSpan(record);
      break;
    case LpCellRefresh::FlagsCell:
      RefreshFlagsCell(record);
      break;
    case LpCellRefresh::FlagCells:
      RefreshFlagCells(record);
      break;
    case LpCellRefresh::None:
      break;
    }
    event.SetResult(0);
  } catch (...) {
    // The program carries on with the LP as the setter left it. The grid puts the old
    // text back once this returns; the row is then re-read, in case the setter got
    // part of the way. The message waits until the grid has finished the edit.
    const std::string message = CurrentExceptionText();
    CallAfter([this, record] { RefreshWholeRow(record); });
    CallAfter([message] { GetUserMessages().Show(message, MessageParent::View); });
  }
}

void CLpGridView::RefreshCell(const Papy::LpFile& lp, int record, int column) {
  if (column >= 0)
    Grid->SetItemText(record + 1, column, FormatCell(lp, Columns, record, column));
}

void CLpGridView::RefreshCells(int record, std::initializer_list<int> columns) {
  const Papy::LpFile* lp = GetLp();
  if (Grid == nullptr || lp == nullptr || record < 0 || static_cast<Util::U32>(record) >= lp->GetRecordCount())
    return;
  for (const int column : columns)
    RefreshCell(*lp, record, column);
}

void CLpGridView::RefreshRecordRow(int record) {
  RefreshCells(record, {LongitudeColumn, LatitudeColumn, LongitudinalSpeedColumn, LateralSpeedColumn, ControlColumn,
                        PathLengthColumn, YawSpeedColumn, SpeedLimitColumn});
  if (Grid != nullptr)
    Grid->RedrawRow(record + 1);
}

void CLpGridView::RefreshControlSpan(int record) {
  const Papy::LpFile* lp = GetLp();
  if (lp == nullptr)
    return;
  for (const int r : ControlSpanRecords(*lp, record))
    RefreshRecordRow(r);
}

void CLpGridView::RefreshFlagsCell(int record) {
  if (FlagsColumn < 0)
    return;
  RefreshCells(record, {FlagsColumn});
  if (Grid != nullptr)
    Grid->RedrawCell(record + 1, FlagsColumn);
}

void CLpGridView::RefreshFlagCells(int record) {
  RefreshCells(record, {SpeedModifierColumn});
  for (const int column : FlagColumns)
    RefreshCells(record, {column});
  if (Grid != nullptr)
    Grid->RedrawRow(record + 1);
}

void CLpGridView::RefreshWholeRow(int record) {
  const Papy::LpFile* lp = GetLp();
  if (Grid == nullptr || lp == nullptr || record < 0 || static_cast<Util::U32>(record) >= lp->GetRecordCount())
    return;
  for (int column = 0; column < Columns.Count(); ++column)
    RefreshCell(*lp, record, column);
  Grid->RedrawRow(record + 1);
}

} // namespace Ostra::DocView

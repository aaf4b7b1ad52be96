#include "GridCtrl/Core/GridCore.h"

#include <algorithm>
#include <cstdlib>

using Ostra::U32;

namespace {

// The id the in-place editor reports back with.
constexpr int InPlaceEditId = 8;
constexpr int AutoScrollMilliseconds = 25;

GridPoint Relative(GridPoint point, GridPoint origin) { return {point.X - origin.X, point.Y - origin.Y}; }

// No button is held: the pointer at most rests over a divider. Keys then select and
// typing edits as with the pointer anywhere else.
bool ButtonIsUp(GridMouseMode mode) {
  return mode == GridMouseMode::Nothing || mode == GridMouseMode::OverColDivide ||
         mode == GridMouseMode::OverRowDivide;
}

} // namespace

// ---- Focus and selection ----

CCellID GridCore::SetFocusCell(int row, int col) {
  if (CCellID(row, col) == FocusCell)
    return FocusCell;
  const CCellID previous = FocusCell;
  if (row != -1 && row < FixedRows)
    row = FixedRows;
  if (col != -1 && col < FixedCols)
    col = FixedCols;
  FocusCell = {row, col};

  if (IsValid(previous)) {
    SetItemState(previous.Row, previous.Col, GetItemState(previous.Row, previous.Col) & ~GridItemState::Focused);
    RedrawCell(previous);
    if (TrackFocusCell) {
      if (previous.Col != col)
        for (int r = 0; r < FixedRows; ++r)
          RedrawCell(r, previous.Col);
      if (previous.Row != row)
        for (int c = 0; c < FixedCols; ++c)
          RedrawCell(previous.Row, c);
    }
  }
  if (IsValid(FocusCell)) {
    SetItemState(row, col, GetItemState(row, col) | GridItemState::Focused);
    RedrawCell(FocusCell);
    if (TrackFocusCell) {
      if (previous.Col != col)
        for (int r = 0; r < FixedRows; ++r)
          RedrawCell(r, col);
      if (previous.Row != row)
        for (int c = 0; c < FixedCols; ++c)
          RedrawCell(row, c);
    }
  }
  return previous;
}

bool GridCore::IsCellSelected(int row, int col) const {
  if (!EnableSelectionFlag)
    return false;
  if (VirtualMode)
    return SelectedCells.count(CellKey(row, col)) != 0;
  return (GetItemState(row, col) & GridItemState::Selected) != 0;
}

void GridCore::SetSelectedRange(int min_row, int min_col, int max_row, int max_col, bool /*force_repaint*/,
                                bool select_cells) {
  if (!EnableSelectionFlag)
    return;
  const CCellRange visible = GetVisibleNonFixedCellRange();
  const auto repaint = [&](const CCellID& cell) {
    if (visible.InRange(cell))
      RedrawCell(cell);
  };
  if (min_row >= 0 && min_row < FixedRows)
    min_row = FixedRows;
  if (max_row >= 0 && max_row < FixedRows)
    max_row = FixedRows;
  if (min_col >= 0 && min_col < FixedCols)
    min_col = FixedCols;
  if (max_col >= 0 && max_col < FixedCols)
    max_col = FixedCols;
  const CCellRange range(min_row, min_col, max_row, max_col);

  if (select_cells) {
    // SetItemState erases from the map, so walk a copy.
    std::vector<CCellID> selected;
    selected.reserve(SelectedCells.size());
    for (const auto& [key, cell] : SelectedCells)
      selected.push_back(cell);
    for (const CCellID& cell : selected) {
      if (!IsValid(cell)) {
        SelectedCells.erase(CellKey(cell.Row, cell.Col));
        continue;
      }
      SetItemState(cell.Row, cell.Col, GetItemState(cell.Row, cell.Col) & ~GridItemState::Selected);
      if (!range.InRange(cell))
        repaint(cell);
    }
  }

  if (!(ListMode && SingleRowSelection) && min_row >= 0 && min_col >= 0 && max_row >= 0 && max_col >= 0) {
    std::vector<CCellID> previous;
    previous.reserve(PrevSelectedCells.size());
    for (const auto& [key, cell] : PrevSelectedCells)
      previous.push_back(cell);
    for (const CCellID& cell : previous) {
      if (!IsValid(cell))
        continue;
      SetItemState(cell.Row, cell.Col, GetItemState(cell.Row, cell.Col) | GridItemState::Selected);
      repaint(cell);
    }
  }

  if (IsValid(range)) {
    for (int row = min_row; row <= max_row; ++row) {
      for (int col = min_col; col <= max_col; ++col) {
        if (IsCellSelected(row, col) == select_cells)
          continue;
        const U32 state = GetItemState(row, col);
        SetItemState(row, col, select_cells ? (state | GridItemState::Selected) : (state & ~GridItemState::Selected));
        repaint({row, col});
      }
    }
  }
}

void GridCore::SelectAllCells() {
  if (!EnableSelectionFlag)
    return;
  SetSelectedRange(FixedRows, FixedCols, RowCount - 1, ColCount - 1, false, true);
}

void GridCore::SelectColumns(CCellID current, bool force_repaint, bool select) {
  if (!EnableSelectionFlag || !IsValid(current) || current.Col < FixedCols)
    return;
  if (SingleColSelection)
    SetSelectedRange(FixedRows, current.Col, RowCount - 1, current.Col, force_repaint, select);
  else
    SetSelectedRange(FixedRows, std::min(SelectionStartCell.Col, current.Col), RowCount - 1,
                     std::max(SelectionStartCell.Col, current.Col), force_repaint, select);
}

void GridCore::SelectRows(CCellID current, bool force_repaint, bool select) {
  if (!EnableSelectionFlag || !IsValid(current) || current.Row < FixedRows)
    return;
  if (ListMode && SingleRowSelection)
    SetSelectedRange(current.Row, FixedCols, current.Row, ColCount - 1, force_repaint, select);
  else
    SetSelectedRange(std::min(SelectionStartCell.Row, current.Row), FixedCols,
                     std::max(SelectionStartCell.Row, current.Row), ColCount - 1, force_repaint, select);
}

void GridCore::SelectCells(CCellID current, bool force_repaint, bool select) {
  if (!EnableSelectionFlag || !IsValid(current) || current.Row < FixedRows || current.Col < FixedCols)
    return;
  SetSelectedRange(std::min(SelectionStartCell.Row, current.Row), std::min(SelectionStartCell.Col, current.Col),
                   std::max(SelectionStartCell.Row, current.Row), std::max(SelectionStartCell.Col, current.Col),
                   force_repaint, select);
}

void GridCore::OnSelecting(const CCellID& current) {
  switch (MouseMode) {
  case GridMouseMode::SelectAll:
    SelectAllCells();
    break;
  case GridMouseMode::SelectCol:
    SelectColumns(current, false, true);
    break;
  case GridMouseMode::SelectRow:
    SelectRows(current, false, true);
    break;
  case GridMouseMode::SelectCells:
    SelectCells(current, false, true);
    break;
  case GridMouseMode::Nothing:
  case GridMouseMode::OverRowDivide:
  case GridMouseMode::SizingRow:
  case GridMouseMode::OverColDivide:
  case GridMouseMode::SizingCol:
  case GridMouseMode::PrepareEdit:
  case GridMouseMode::PrepareDrag:
  case GridMouseMode::Dragging:
    break;
  }
}

void GridCore::ResetSelectedRange() {
  PrevSelectedCells.clear();
  SetSelectedRange(-1, -1, -1, -1, false, true);
  SetFocusCell(-1, -1);
}

void GridCore::OnEditSelectAll() {
  SendMessageToParent(LeftClickDownCell.Row, LeftClickDownCell.Col, LVN_ITEMCHANGING);
  SelectAllCells();
  SendMessageToParent(FocusCell.Row, FocusCell.Col, LVN_ITEMCHANGED);
}

void GridCore::OnFixedRowClick(CCellID& cell) {
  if (!IsValid(cell))
    return;
  if (SortOnClick) {
    // The same column again reverses the order.
    SortTextItems(cell.Col, cell.Col == SortColumn ? !SortAscending : true);
    Refresh();
  }
  if (!FixedRowSelection)
    return;
  MouseMode = cell.Col < FixedCols ? GridMouseMode::SelectAll : GridMouseMode::SelectCol;
  OnSelecting(cell);
}

void GridCore::OnFixedColumnClick(CCellID& cell) {
  if (!IsValid(cell) || !FixedColSelection)
    return;
  MouseMode = cell.Row < FixedRows ? GridMouseMode::SelectAll : GridMouseMode::SelectRow;
  OnSelecting(cell);
}

// ---- Dividers ----

bool GridCore::IsOverColumnDivider(GridPoint point) const {
  if (point.Y < 0 || point.Y >= GetFixedRowHeight())
    return false;
  const CCellID cell = GetCellFromPt(point);
  GridPoint origin;
  if (!GetCellOrigin(cell.Row, cell.Col, &origin))
    return false;
  const int end = origin.X + GetColumnWidth(cell.Col);
  return (point.X - origin.X < ResizeCaptureRange && cell.Col != 0) || end - point.X < ResizeCaptureRange;
}

bool GridCore::IsOverRowDivider(GridPoint point) const {
  if (point.X < 0 || point.X >= GetFixedColumnWidth())
    return false;
  const CCellID cell = GetCellFromPt(point);
  GridPoint origin;
  if (!GetCellOrigin(cell.Row, cell.Col, &origin))
    return false;
  const int end = origin.Y + GetRowHeight(cell.Row);
  return (point.Y - origin.Y < ResizeCaptureRange && cell.Row != 0) || end - point.Y < ResizeCaptureRange;
}

int GridCore::ColumnToResize(GridPoint point) const {
  const int last = ColCount - 1;
  GridRect extent;
  GetVisibleNonFixedCellRange(&extent);
  if (last >= 0 && GetColumnWidth(last) < ResizeCaptureRange && std::abs(point.X - extent.Right) < ResizeCaptureRange)
    return last;
  const CCellID cell = GetCellFromPt(point);
  GridPoint origin;
  if (!GetCellOrigin(cell.Row, cell.Col, &origin))
    return -1;
  const bool near_left = point.X - origin.X < ResizeCaptureRange;
  int col = cell.Col;
  if (!HiddenColUnhide && (near_left || col != last))
    while (col > 0 && GetColumnWidth(col) == 0)
      --col;
  if (near_left && col > 0 && !(col == last && GetColumnWidth(last) < ResizeCaptureRange))
    --col;
  return col;
}

int GridCore::RowToResize(GridPoint point) const {
  const int last = RowCount - 1;
  GridRect extent;
  GetVisibleNonFixedCellRange(&extent);
  if (last >= 0 && GetRowHeight(last) < ResizeCaptureRange && std::abs(point.Y - extent.Bottom) < ResizeCaptureRange)
    return last;
  const CCellID cell = GetCellFromPt(point);
  GridPoint origin;
  if (!GetCellOrigin(cell.Row, cell.Col, &origin))
    return -1;
  const bool near_top = point.Y - origin.Y < ResizeCaptureRange;
  int row = cell.Row;
  if (!HiddenRowUnhide && (near_top || row != last))
    while (row > 0 && GetRowHeight(row) == 0)
      --row;
  if (near_top && row > 0 && !(row == last && GetRowHeight(last) < ResizeCaptureRange))
    --row;
  return row;
}

// ---- Mouse ----

void GridCore::ClearMouseDrag() {
  if (!TrackingBandRect().IsEmpty())
    Invalidate(TrackingBandRect());
  TrackIndex = -1;
  TrackPos = -1;
}

void GridCore::OnLButtonDown(GridPoint point, U32 flags) {
  if (Host != nullptr)
    Host->TakeKeyboardFocus();
  LeftClickDownPoint = point;
  LMouseButtonDown = true;
  LeftClickDownCell = GetCellFromPt(point);
  if (!IsValid(LeftClickDownCell))
    return;
  const CCellID click = LeftClickDownCell;

  // With Shift and no anchor yet, the focus anchors the block; without a focus either,
  // the click itself does, so that the press still selects something.
  if ((flags & GridKeyFlags::Shift) == 0)
    SelectionStartCell = click;
  else if (!IsValid(SelectionStartCell))
    SelectionStartCell = IsValid(FocusCell) ? FocusCell : click;

  EndEditing();
  GridPoint origin;
  GetCellOrigin(click.Row, click.Col, &origin);
  if (CGridCellBase* cell = GetCell(click.Row, click.Col))
    cell->OnClickDown(Relative(point, origin));
  GridRect text_rect;
  const bool in_text = GetTextRect(click.Row, click.Col, &text_rect) && text_rect.Widened().Contains(point);

  if (click == FocusCell && (flags & GridKeyFlags::Control) == 0 && in_text && IsCellEditable(click)) {
    MouseMode = GridMouseMode::PrepareEdit;
    return;
  }
  if (IsCellSelected(click)) {
    SetFocusCell(click);
    if ((flags & GridKeyFlags::Control) != 0) {
      // The kept selection of an earlier Ctrl press may hold cells deselected since;
      // re-adding it here would bring them back.
      PrevSelectedCells.clear();
      if (ListMode)
        SelectRows(click, true, false);
      else
        SelectCells(click, true, false);
      return;
    }
    if (AllowDragAndDrop)
      MouseMode = GridMouseMode::PrepareDrag;
  }
  if (MouseMode != GridMouseMode::OverColDivide && MouseMode != GridMouseMode::OverRowDivide) {
    if (click.Row >= FixedRows && click.Col >= FixedCols)
      SetFocusCell(click);
    else
      SetFocusCell(-1, -1);
  }

  if (Host != nullptr)
    Host->CaptureMouse();
  if (MouseMode == GridMouseMode::Nothing) {
    if (AllowColumnResize && IsOverColumnDivider(point)) {
      if (Host != nullptr)
        Host->SetCursor(GridCursor::SizeWE);
      MouseMode = GridMouseMode::OverColDivide;
    } else if (AllowRowResize && IsOverRowDivider(point)) {
      if (Host != nullptr)
        Host->SetCursor(GridCursor::SizeNS);
      MouseMode = GridMouseMode::OverRowDivide;
    }
  }

  if (MouseMode == GridMouseMode::OverColDivide) {
    TrackIndex = ColumnToResize(point);
    GridPoint start;
    if (TrackIndex < 0 || !GetCellOrigin(click.Row, TrackIndex, &start)) {
      MouseMode = GridMouseMode::Nothing;
      TrackIndex = -1;
      return;
    }
    MouseMode = GridMouseMode::SizingCol;
    TrackStart = start.X;
    TrackPos = std::max(point.X, TrackStart + 1);
    Invalidate(TrackingBandRect());
    return;
  }
  if (MouseMode == GridMouseMode::OverRowDivide) {
    TrackIndex = RowToResize(point);
    GridPoint start;
    if (TrackIndex < 0 || !GetCellOrigin(TrackIndex, click.Col, &start)) {
      MouseMode = GridMouseMode::Nothing;
      TrackIndex = -1;
      return;
    }
    MouseMode = GridMouseMode::SizingRow;
    TrackStart = start.Y;
    TrackPos = std::max(point.Y, TrackStart + 1);
    Invalidate(TrackingBandRect());
    return;
  }
  if (MouseMode == GridMouseMode::PrepareDrag)
    return;

  SendMessageToParent(click.Row, click.Col, LVN_ITEMCHANGING);
  PrevSelectedCells.clear();
  if ((flags & GridKeyFlags::Control) != 0)
    PrevSelectedCells = SelectedCells;
  CCellID cell = click;
  if (click.Row >= FixedRows && click.Col >= FixedCols) {
    MouseMode = ListMode ? GridMouseMode::SelectRow : GridMouseMode::SelectCells;
    OnSelecting(click);
    if (Host != nullptr) {
      Host->StartTimer(AutoScrollMilliseconds);
      TimerRunning = true;
    }
  } else if (click.Col < FixedCols && click.Row >= FixedRows) {
    OnFixedColumnClick(cell);
  } else if (click.Row < FixedRows) {
    OnFixedRowClick(cell);
  }
}

void GridCore::OnMouseMove(GridPoint point, U32 /*flags*/) {
  const GridSize client = ClientSize();
  if (MouseMode != GridMouseMode::Dragging &&
      (point.X < 0 || point.Y < 0 || point.X >= client.Width || point.Y >= client.Height)) {
    // Outside the window only a selection drag goes on; the timer scrolls for it.
    if (!(LMouseButtonDown && (MouseMode == GridMouseMode::SizingCol || MouseMode == GridMouseMode::SizingRow)))
      return;
  }

  if (LMouseButtonDown && MouseMode != GridMouseMode::Nothing) {
    switch (MouseMode) {
    case GridMouseMode::SelectCol:
    case GridMouseMode::SelectRow:
    case GridMouseMode::SelectCells: {
      if (!IsValid(LeftClickDownCell))
        break;
      const CCellID cell = GetCellFromPt(point);
      if (!IsValid(cell) || cell == FocusCell)
        break;
      OnSelecting(cell);
      if ((cell.Row >= FixedRows && cell.Col >= FixedCols) || MouseMode != GridMouseMode::SelectCells)
        SetFocusCell(cell);
      break;
    }
    case GridMouseMode::SizingCol:
    case GridMouseMode::SizingRow: {
      Invalidate(TrackingBandRect());
      const int along = MouseMode == GridMouseMode::SizingCol ? point.X : point.Y;
      TrackPos = std::max(along, TrackStart + 1);
      Invalidate(TrackingBandRect());
      break;
    }
    case GridMouseMode::PrepareEdit:
    case GridMouseMode::PrepareDrag: {
      // A press turns into a drag only when dragging is on and the pointer really moved;
      // otherwise a tremor between press and release would lose the edit or the selection.
      if (!AllowDragAndDrop)
        break;
      const GridSize threshold = Host != nullptr ? Host->GetDragThreshold() : GridSize{4, 4};
      if (std::abs(point.X - LeftClickDownPoint.X) > threshold.Width ||
          std::abs(point.Y - LeftClickDownPoint.Y) > threshold.Height) {
        MouseMode = GridMouseMode::PrepareDrag;
        OnBeginDrag();
      }
      break;
    }
    case GridMouseMode::Nothing:
    case GridMouseMode::SelectAll:
    case GridMouseMode::OverRowDivide:
    case GridMouseMode::OverColDivide:
    case GridMouseMode::Dragging:
      break;
    }
  } else if (!LMouseButtonDown) {
    if (AllowColumnResize && IsOverColumnDivider(point)) {
      if (MouseMode != GridMouseMode::OverColDivide && Host != nullptr)
        Host->SetCursor(GridCursor::SizeWE);
      MouseMode = GridMouseMode::OverColDivide;
    } else if (AllowRowResize && IsOverRowDivider(point)) {
      if (MouseMode != GridMouseMode::OverRowDivide && Host != nullptr)
        Host->SetCursor(GridCursor::SizeNS);
      MouseMode = GridMouseMode::OverRowDivide;
    } else if (MouseMode != GridMouseMode::Nothing) {
      if (Host != nullptr)
        Host->SetCursor(GridCursor::Arrow);
      MouseMode = GridMouseMode::Nothing;
    }
    if (MouseMode == GridMouseMode::Nothing && !(VirtualMode && !TitleTips)) {
      const CCellID cell = GetCellFromPt(point);
      if (CGridCellBase* over = GetCell(cell.Row, cell.Col)) {
        over->OnMouseOver();
        GridRect cell_rect;
        if (TitleTips && !over->GetText().empty() && !over->IsEditing() &&
            GetCellRect(cell.Row, cell.Col, &cell_rect)) {
          GridRect text_rect = cell_rect;
          if (over->GetTipTextRect(&text_rect))
            ShowTitleTip(text_rect, over->GetTipText(), cell_rect, over->GetFont());
        }
      }
    }
  }
  LastMousePoint = point;
}

void GridCore::OnLButtonUp(GridPoint point, U32 /*flags*/) {
  LMouseButtonDown = false;
  // What a Ctrl press kept serves only its own drag; a later range set by the program
  // must not bring it back.
  PrevSelectedCells.clear();
  if (Host != nullptr && Host->HasCapture())
    Host->ReleaseMouse();
  if (TimerRunning) {
    if (Host != nullptr)
      Host->StopTimer();
    TimerRunning = false;
  }

  const CCellID focus = FocusCell;
  GridPoint focus_origin;
  GetCellOrigin(focus.Row, focus.Col, &focus_origin);
  switch (MouseMode) {
  case GridMouseMode::PrepareEdit:
    OnEditCell(focus.Row, focus.Col, Relative(point, focus_origin), 1);
    break;
  case GridMouseMode::PrepareDrag:
    if (CGridCellBase* cell = GetCell(focus.Row, focus.Col))
      cell->OnClick(Relative(point, focus_origin));
    SendMessageToParent(LeftClickDownCell.Row, LeftClickDownCell.Col, NM_CLICK);
    SendMessageToParent(LeftClickDownCell.Row, LeftClickDownCell.Col, LVN_ITEMCHANGING);
    ResetSelectedRange();
    SendMessageToParent(FocusCell.Row, FocusCell.Col, LVN_ITEMCHANGED);
    break;
  case GridMouseMode::SizingCol:
  case GridMouseMode::SizingRow: {
    const bool columns = MouseMode == GridMouseMode::SizingCol;
    const int index = TrackIndex;
    const int start = TrackStart;
    ClearMouseDrag();
    if (!(point == LeftClickDownPoint) && !(point == GridPoint{0, 0}) && index >= 0) {
      const int along = columns ? point.X : point.Y;
      const int minimum = (columns ? AllowColHide : AllowRowHide) ? 0 : 1;
      const int size = std::max(along - start, minimum);
      if (columns)
        SetColumnWidth(index, size);
      else
        SetRowHeight(index, size);
      ResetScrollBars();
      Refresh();
    }
    break;
  }
  case GridMouseMode::Nothing:
  case GridMouseMode::SelectAll:
  case GridMouseMode::SelectCol:
  case GridMouseMode::SelectRow:
  case GridMouseMode::SelectCells:
  case GridMouseMode::OverRowDivide:
  case GridMouseMode::OverColDivide:
  case GridMouseMode::Dragging:
    SendMessageToParent(focus.Row, focus.Col, LVN_ITEMCHANGED);
    if (CGridCellBase* cell = GetCell(focus.Row, focus.Col))
      cell->OnClick(Relative(point, focus_origin));
    SendMessageToParent(LeftClickDownCell.Row, LeftClickDownCell.Col, NM_CLICK);
    break;
  }

  MouseMode = GridMouseMode::Nothing;
  TrackIndex = -1;
  TrackPos = -1;
  if (Host != nullptr) {
    Host->SetCursor(GridCursor::Arrow);
    if (IsValid(LeftClickDownCell))
      Host->PostClickCommand();
  }
}

void GridCore::OnLButtonDblClk(GridPoint point, U32 /*flags*/) {
  const CCellID cell = GetCellFromPt(point);
  GridPoint origin;
  // The second press of a double click on a divider has already started a drag (GTK
  // delivers press, release, press, double click); the double click takes it over.
  if (MouseMode == GridMouseMode::SizingCol || MouseMode == GridMouseMode::SizingRow) {
    ClearMouseDrag();
    MouseMode = MouseMode == GridMouseMode::SizingCol ? GridMouseMode::OverColDivide : GridMouseMode::OverRowDivide;
  }
  if (MouseMode == GridMouseMode::OverColDivide || MouseMode == GridMouseMode::OverRowDivide) {
    if (!GetCellOrigin(cell.Row, cell.Col, &origin))
      return;
    if (MouseMode == GridMouseMode::OverColDivide) {
      int col = cell.Col;
      if (point.X - origin.X < ResizeCaptureRange) {
        --col;
        while (col > 0 && GetColumnWidth(col) == 0)
          --col;
      }
      AutoSizeColumn(col, AutoSizeStyle);
    } else {
      int row = cell.Row;
      if (point.Y - origin.Y < ResizeCaptureRange) {
        --row;
        while (row > 0 && GetRowHeight(row) == 0)
          --row;
      }
      AutoSizeRow(row);
    }
    Refresh();
    return;
  }
  if (MouseMode != GridMouseMode::Nothing || !IsValid(cell))
    return;
  GetCellOrigin(cell.Row, cell.Col, &origin);
  if (cell.Row >= FixedRows && cell.Col >= FixedCols && (ListMode || IsValid(LeftClickDownCell))) {
    GridRect text_rect;
    if (GetTextRect(cell.Row, cell.Col, &text_rect) && text_rect.Widened().Contains(point))
      OnEditCell(cell.Row, cell.Col, Relative(point, origin), 1);
  }
  if (CGridCellBase* cell_object = GetCell(cell.Row, cell.Col))
    cell_object->OnDblClick(Relative(point, origin));
  SendMessageToParent(cell.Row, cell.Col, NM_DBLCLK);
}

void GridCore::OnRButtonUp(GridPoint point, U32 /*flags*/) {
  EndEditing();
  const CCellID cell = GetCellFromPt(point);
  if (!IsValid(cell)) {
    SendMessageToParent(-1, -1, NM_RCLICK);
    return;
  }
  SetFocusCell(-1, -1);
  // A grid of headers only has no cell below or beside them to take the focus.
  const CCellID focus(std::max(cell.Row, FixedRows), std::max(cell.Col, FixedCols));
  if (IsValid(focus))
    SetFocusCell(focus);
  GridPoint origin;
  GetCellOrigin(cell.Row, cell.Col, &origin);
  if (CGridCellBase* cell_object = GetCell(cell.Row, cell.Col))
    cell_object->OnRClick(Relative(point, origin));
  SendMessageToParent(cell.Row, cell.Col, NM_RCLICK);
}

void GridCore::OnTimer() {
  if (Host == nullptr)
    return;
  const GridPoint point = Host->GetCursorPos();
  const GridSize client = ClientSize();
  const int fixed_height = GetFixedRowHeight();
  const int fixed_width = GetFixedColumnWidth();
  const auto select_to = [&](GridPoint at) {
    const CCellID cell = GetCellFromPt(at);
    if (IsValid(cell))
      OnSelecting(cell);
  };
  const int clamped_x = std::clamp(point.X, 0, std::max(0, client.Width - 1));
  const int clamped_y = std::clamp(point.Y, 0, std::max(0, client.Height - 1));
  if (point.Y >= client.Height) {
    OnKeyDown(GridKey::Down, 0);
    select_to({clamped_x, client.Height});
  } else if (point.Y < fixed_height) {
    OnKeyDown(GridKey::Up, 0);
    select_to({clamped_x, fixed_height + 1});
  }
  if (point.X >= client.Width) {
    OnKeyDown(GridKey::Right, 0);
    select_to({client.Width, clamped_y});
  } else if (point.X < fixed_width) {
    OnKeyDown(GridKey::Left, 0);
    select_to({fixed_width + 1, clamped_y});
  }
}

void GridCore::OnCaptureChanged() {
  if (TimerRunning) {
    if (Host != nullptr)
      Host->StopTimer();
    TimerRunning = false;
  }
  // A divider drag cannot finish without the capture; drop its band.
  if (MouseMode == GridMouseMode::SizingCol || MouseMode == GridMouseMode::SizingRow) {
    ClearMouseDrag();
    MouseMode = GridMouseMode::Nothing;
    LMouseButtonDown = false;
  }
  if (MouseMode == GridMouseMode::Dragging)
    MouseMode = GridMouseMode::Nothing;
  // The release may go to whoever took the capture; a selection drag must not go on
  // following a pointer whose button is up.
  if (MouseMode == GridMouseMode::SelectAll || MouseMode == GridMouseMode::SelectCol ||
      MouseMode == GridMouseMode::SelectRow || MouseMode == GridMouseMode::SelectCells) {
    MouseMode = GridMouseMode::Nothing;
    LMouseButtonDown = false;
  }
}

GridCursor GridCore::GetCursorFor(GridPoint point) const {
  switch (MouseMode) {
  case GridMouseMode::OverRowDivide:
  case GridMouseMode::SizingRow:
    return GridCursor::SizeNS;
  case GridMouseMode::OverColDivide:
  case GridMouseMode::SizingCol:
    return GridCursor::SizeWE;
  case GridMouseMode::Nothing:
  case GridMouseMode::SelectAll:
  case GridMouseMode::SelectCol:
  case GridMouseMode::SelectRow:
  case GridMouseMode::SelectCells:
  case GridMouseMode::PrepareEdit:
  case GridMouseMode::PrepareDrag:
  case GridMouseMode::Dragging:
    break;
  }
  GridCursor cursor = GridCursor::Arrow;
  if (!VirtualMode) {
    const CCellID cell = GetCellFromPt(point);
    if (CGridCellBase* over = GetCell(cell.Row, cell.Col))
      over->OnSetCursor(&cursor);
  }
  return cursor;
}

// ---- Keyboard ----

bool GridCore::OnKeyDown(int key, U32 flags) {
  if (!IsValid(FocusCell))
    return false;
  const bool ctrl = (flags & GridKeyFlags::Control) != 0;
  const bool shift = (flags & GridKeyFlags::Shift) != 0;

  if (ctrl) {
    switch (key) {
    case GridKey::Insert:
    case GridKey::C:
      OnEditCopy();
      return true;
    case GridKey::A:
      OnEditSelectAll();
      return true;
    case GridKey::V:
      OnEditPaste();
      return true;
    case GridKey::X:
      OnEditCut();
      return true;
    default:
      break;
    }
  }
  if (shift && key == GridKey::Insert) {
    OnEditPaste();
    return true;
  }

  const auto first_visible_col = [&]() {
    int col = FixedCols;
    while (col < ColCount - 1 && GetColumnWidth(col) == 0)
      ++col;
    return col;
  };
  const auto last_visible_col = [&]() {
    int col = ColCount - 1;
    while (col > FixedCols && GetColumnWidth(col) == 0)
      --col;
    return col;
  };

  CCellID next = FocusCell;
  int scroll_bar = -1;
  int scroll_code = SB_ENDSCROLL;
  bool wrapped_down = false;
  bool wrapped_up = false;
  switch (key) {
  case GridKey::Delete:
    CutSelectedText();
    return true;
  case GridKey::Down: {
    int row = next.Row + 1;
    while (row < RowCount && GetRowHeight(row) == 0)
      ++row;
    if (row < RowCount)
      next.Row = row;
    scroll_bar = 1;
    scroll_code = SB_LINEDOWN;
    break;
  }
  case GridKey::Up: {
    int row = next.Row - 1;
    while (row >= FixedRows && GetRowHeight(row) == 0)
      --row;
    if (row >= FixedRows)
      next.Row = row;
    scroll_bar = 1;
    scroll_code = SB_LINEUP;
    break;
  }
  case GridKey::Tab:
  case GridKey::Right:
  case GridKey::Left: {
    if (key == GridKey::Tab && (!HandleTabKey || ctrl))
      return false;
    const bool forward = key == GridKey::Right || (key == GridKey::Tab && !shift);
    scroll_bar = 0;
    if (forward) {
      scroll_code = SB_LINERIGHT;
      int col = next.Col + 1;
      while (col < ColCount && GetColumnWidth(col) == 0)
        ++col;
      if (col < ColCount) {
        next.Col = col;
      } else if (key == GridKey::Tab) {
        int row = next.Row + 1;
        while (row < RowCount && GetRowHeight(row) == 0)
          ++row;
        if (row >= RowCount)
          return false;
        next = {row, first_visible_col()};
        wrapped_down = true;
      }
    } else {
      scroll_code = SB_LINELEFT;
      int col = next.Col - 1;
      while (col >= FixedCols && GetColumnWidth(col) == 0)
        --col;
      if (col >= FixedCols) {
        next.Col = col;
      } else if (key == GridKey::Tab) {
        int row = next.Row - 1;
        while (row >= FixedRows && GetRowHeight(row) == 0)
          --row;
        if (row < FixedRows)
          return false;
        next = {row, last_visible_col()};
        wrapped_up = true;
      }
    }
    break;
  }
  case GridKey::Next:
  case GridKey::Prior: {
    const bool down = key == GridKey::Next;
    const CCellID old_top_left = GetTopleftNonFixedCell();
    OnScroll(GridBar::Vert, down ? SB_PAGEDOWN : SB_PAGEUP);
    const int moved = GetTopleftNonFixedCell().Row - old_top_left.Row;
    if (moved == 0)
      next.Row = down ? RowCount - 1 : FixedRows;
    else
      next.Row = std::clamp(next.Row + moved, FixedRows, RowCount - 1);
    scroll_bar = 1;
    scroll_code = down ? SB_LINEDOWN : SB_LINEUP;
    break;
  }
  case GridKey::Home:
    if (ctrl) {
      OnScroll(GridBar::Vert, SB_TOP);
      next.Row = FixedRows;
    }
    OnScroll(GridBar::Horz, SB_LEFT);
    next.Col = first_visible_col();
    scroll_bar = 0;
    scroll_code = SB_LINELEFT;
    break;
  case GridKey::End:
    if (ctrl) {
      OnScroll(GridBar::Vert, SB_BOTTOM);
      next.Row = RowCount - 1;
    }
    OnScroll(GridBar::Horz, SB_RIGHT);
    next.Col = last_visible_col();
    scroll_bar = 0;
    scroll_code = SB_LINERIGHT;
    break;
  case GridKey::F2:
    OnEditCell(FocusCell.Row, FocusCell.Col, {-1, -1}, 1);
    return true;
  default:
    return false;
  }

  if (next == FocusCell)
    return true;
  if (ButtonIsUp(MouseMode)) {
    const GridMouseMode hover = MouseMode;
    PrevSelectedCells.clear();
    MouseMode = ListMode ? GridMouseMode::SelectRow : GridMouseMode::SelectCells;
    if (!shift || key == GridKey::Tab)
      SelectionStartCell = next;
    else if (!IsValid(SelectionStartCell))
      SelectionStartCell = FocusCell;
    SendMessageToParent(next.Row, next.Col, LVN_ITEMCHANGING);
    OnSelecting(next);
    SendMessageToParent(next.Row, next.Col, LVN_ITEMCHANGED);
    MouseMode = hover;
  }
  SetFocusCell(next);

  GridRect rect;
  const GridSize client = ClientSize();
  const bool fully_visible = IsCellVisible(next) && GetCellRect(next.Row, next.Col, &rect) &&
                             rect.Right < client.Width && rect.Bottom < client.Height;
  if (!fully_visible) {
    if (wrapped_down) {
      OnScroll(GridBar::Vert, SB_LINEDOWN);
      SetScrollPos32(GridBar::Horz, 0);
    } else if (wrapped_up) {
      OnScroll(GridBar::Vert, SB_LINEUP);
      SetScrollPos32(GridBar::Horz, GetScrollLimit(GridBar::Horz));
    } else if (scroll_bar >= 0) {
      OnScroll(scroll_bar == 0 ? GridBar::Horz : GridBar::Vert, scroll_code);
    }
    EnsureVisible(next);
    Refresh();
  }
  EnsureVisible(next);
  return true;
}

void GridCore::OnChar(unsigned ch, U32 flags) {
  if ((flags & GridKeyFlags::Control) != 0 || !ButtonIsUp(MouseMode) || ch == GridKey::Escape)
    return;
  if (ch == GridKey::Tab && HandleTabKey)
    return;
  OnEditCell(FocusCell.Row, FocusCell.Col, {-1, -1}, ch);
}

// ---- Editing ----

void GridCore::OnEditCell(int row, int col, GridPoint point, unsigned first_char) {
  HideTitleTip();
  if (!IsValid(row, col) || !IsCellEditable(row, col))
    return;
  EnsureVisible(row, col);
  if (!IsCellVisible(row, col))
    return;
  GridRect rect;
  if (!GetCellRect(row, col, &rect))
    return;
  if (SendMessageToParent(row, col, LVN_BEGINLABELEDITA) < 0)
    return;
  if (CGridCellBase* cell = GetCell(row, col))
    cell->Edit(row, col, rect, point, InPlaceEditId, first_char);
}

void GridCore::EndEditing() {
  if (!IsValid(FocusCell))
    return;
  if (CGridCellBase* cell = GetCell(FocusCell.Row, FocusCell.Col))
    cell->EndEdit();
}

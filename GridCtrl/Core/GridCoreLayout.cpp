#include "GridCtrl/Core/GridCore.h"

#include <algorithm>
#include <cstdlib>

// ---- Sizes ----

int GridCore::GetRowHeight(int row) const {
  if (row < 0 || row >= RowCount)
    return -1;
  return RowHeights[static_cast<std::size_t>(row)];
}

int GridCore::GetColumnWidth(int col) const {
  if (col < 0 || col >= ColCount)
    return -1;
  return ColWidths[static_cast<std::size_t>(col)];
}

bool GridCore::SetRowHeight(int row, int height) {
  if (row < 0 || row >= RowCount || height < 0)
    return false;
  RowHeights[static_cast<std::size_t>(row)] = height;
  TopLeftCell = {};
  ResetScrollBars();
  return true;
}

bool GridCore::SetColumnWidth(int col, int width) {
  if (col < 0 || col >= ColCount || width < 0)
    return false;
  ColWidths[static_cast<std::size_t>(col)] = width;
  TopLeftCell = {};
  ResetScrollBars();
  return true;
}

int GridCore::GetFixedRowHeight() const {
  int height = 0;
  for (int row = 0; row < FixedRows; ++row)
    height += RowHeights[static_cast<std::size_t>(row)];
  return height;
}

int GridCore::GetFixedColumnWidth() const {
  int width = 0;
  for (int col = 0; col < FixedCols; ++col)
    width += ColWidths[static_cast<std::size_t>(col)];
  return width;
}

int GridCore::GetVirtualHeight() const {
  int height = 0;
  for (int h : RowHeights)
    height += h;
  return height;
}

int GridCore::GetVirtualWidth() const {
  int width = 0;
  for (int w : ColWidths)
    width += w;
  return width;
}

GridSize GridCore::ClientSize() const { return Host != nullptr ? Host->GetClientSize() : GridSize{}; }

// ---- Where cells lie ----

CCellID GridCore::GetTopleftNonFixedCell(bool force_recalc) const {
  if (TopLeftCell.IsValid() && !force_recalc)
    return TopLeftCell;
  // The display snaps to whole cells: the top-left column is the first one starting at
  // or after the scroll position.
  const int h_pos = ScrollPos[0];
  const int v_pos = ScrollPos[1];
  int col = FixedCols;
  for (int right = 0; right < h_pos && col < ColCount - 1;)
    right += ColWidths[static_cast<std::size_t>(col++)];
  int row = FixedRows;
  for (int bottom = 0; bottom < v_pos && row < RowCount - 1;)
    bottom += RowHeights[static_cast<std::size_t>(row++)];
  TopLeftCell = {row, col};
  return TopLeftCell;
}

CCellRange GridCore::GetVisibleNonFixedCellRange(GridRect* rect, bool force_recalc) const {
  const GridSize client = ClientSize();
  const CCellID top_left = GetTopleftNonFixedCell(force_recalc);

  int bottom = GetFixedRowHeight();
  int row = top_left.Row;
  for (; row < RowCount; ++row) {
    bottom += RowHeights[static_cast<std::size_t>(row)];
    if (bottom >= client.Height) {
      bottom = client.Height;
      break;
    }
  }
  const int max_row = std::min(row, RowCount - 1);

  int right = GetFixedColumnWidth();
  int col = top_left.Col;
  for (; col < ColCount; ++col) {
    right += ColWidths[static_cast<std::size_t>(col)];
    if (right >= client.Width) {
      right = client.Width;
      break;
    }
  }
  const int max_col = std::min(col, ColCount - 1);
  if (rect != nullptr)
    *rect = {0, 0, right, bottom};
  return {top_left.Row, top_left.Col, max_row, max_col};
}

CCellRange GridCore::GetUnobstructedNonFixedCellRange(bool force_recalc) const {
  const GridSize client = ClientSize();
  const CCellID top_left = GetTopleftNonFixedCell(force_recalc);

  int bottom = GetFixedRowHeight();
  int row = top_left.Row;
  for (; row < RowCount; ++row) {
    bottom += RowHeights[static_cast<std::size_t>(row)];
    if (bottom >= client.Height)
      break;
  }
  int max_row = std::min(row, RowCount - 1);
  if (max_row > 0 && bottom > client.Height)
    --max_row;

  int right = GetFixedColumnWidth();
  int col = top_left.Col;
  for (; col < ColCount; ++col) {
    right += ColWidths[static_cast<std::size_t>(col)];
    if (right >= client.Width)
      break;
  }
  int max_col = std::min(col, ColCount - 1);
  if (max_col > 0 && right > client.Width)
    --max_col;
  return {top_left.Row, top_left.Col, max_row, max_col};
}

bool GridCore::GetCellOrigin(int row, int col, GridPoint* point) const {
  if (!IsValid(row, col))
    return false;
  const CCellID top_left = GetTopleftNonFixedCell();
  int x = 0;
  if (col < FixedCols) {
    for (int i = 0; i < col; ++i)
      x += ColWidths[static_cast<std::size_t>(i)];
  } else {
    if (col < top_left.Col)
      return false;
    x = GetFixedColumnWidth();
    for (int i = top_left.Col; i < col; ++i)
      x += ColWidths[static_cast<std::size_t>(i)];
  }
  int y = 0;
  if (row < FixedRows) {
    for (int i = 0; i < row; ++i)
      y += RowHeights[static_cast<std::size_t>(i)];
  } else {
    if (row < top_left.Row)
      return false;
    y = GetFixedRowHeight();
    for (int i = top_left.Row; i < row; ++i)
      y += RowHeights[static_cast<std::size_t>(i)];
  }
  *point = {x, y};
  return true;
}

bool GridCore::GetCellRect(int row, int col, GridRect* rect) const {
  GridPoint origin;
  if (!GetCellOrigin(row, col, &origin))
    return false;
  *rect = {origin.X, origin.Y, origin.X + GetColumnWidth(col) - 1, origin.Y + GetRowHeight(row) - 1};
  return true;
}

bool GridCore::GetCellRangeRect(const CCellRange& range, GridRect* rect) const {
  GridPoint origin;
  if (!range.IsValid() || !GetCellOrigin(range.MinRow, range.MinCol, &origin))
    return false;
  int width = 0;
  for (int col = range.MinCol; col <= range.MaxCol && col < ColCount; ++col)
    width += ColWidths[static_cast<std::size_t>(col)];
  int height = 0;
  for (int row = range.MinRow; row <= range.MaxRow && row < RowCount; ++row)
    height += RowHeights[static_cast<std::size_t>(row)];
  *rect = {origin.X, origin.Y, origin.X + width - 1, origin.Y + height - 1};
  return true;
}

bool GridCore::GetTextRect(int row, int col, GridRect* rect) const {
  CGridCellBase* cell = GetCell(row, col);
  if (cell == nullptr || !GetCellRect(row, col, rect))
    return false;
  return cell->GetTextRect(rect);
}

GridSize GridCore::GetTextExtent(int row, int col, const std::string& text) const {
  CGridCellBase* cell = GetCell(row, col);
  return cell != nullptr ? cell->GetTextExtent(text) : GridSize{};
}

namespace {

// The cell index along one axis (columns or rows) under a co-ordinate: fixed cells from
// 0, scrollable ones from the first shown; -1 before the axis or past its last cell.
int CellAlongAxis(int pos, bool allow_outside, int fixed_extent, int fixed_count, int first_shown,
                  int count, const std::vector<int>& sizes) {
  if (pos < 0 || (!allow_outside && pos < fixed_extent))
    return -1;
  const bool in_fixed = pos < fixed_extent;
  int edge = in_fixed ? 0 : fixed_extent;
  int index = in_fixed ? 0 : first_shown;
  const int end = in_fixed ? fixed_count : count;
  for (; index < end; ++index) {
    edge += sizes[static_cast<std::size_t>(index)];
    if (edge > pos)
      break;
  }
  return !in_fixed && index >= count ? -1 : index;
}

} // namespace

CCellID GridCore::GetCellFromPt(GridPoint point, bool allow_outside) const {
  const CCellID top_left = GetTopleftNonFixedCell();
  if (!allow_outside && !IsValid(top_left))
    return {-1, -1};
  CCellID cell;
  cell.Col = CellAlongAxis(point.X, allow_outside, GetFixedColumnWidth(), FixedCols, top_left.Col,
                           ColCount, ColWidths);
  cell.Row = CellAlongAxis(point.Y, allow_outside, GetFixedRowHeight(), FixedRows, top_left.Row,
                           RowCount, RowHeights);
  return cell;
}

bool GridCore::IsCellVisible(int row, int col) const {
  if (!WindowExists() || !IsValid(row, col))
    return false;
  const CCellID top_left = GetTopleftNonFixedCell();
  const GridSize client = ClientSize();
  int x = 0;
  if (col >= FixedCols) {
    if (col < top_left.Col)
      return false;
    x = GetFixedColumnWidth();
    for (int i = top_left.Col; i < col; ++i)
      x += ColWidths[static_cast<std::size_t>(i)];
  } else {
    for (int i = 0; i < col; ++i)
      x += ColWidths[static_cast<std::size_t>(i)];
  }
  if (x >= client.Width)
    return false;
  int y = 0;
  if (row >= FixedRows) {
    if (row < top_left.Row)
      return false;
    y = GetFixedRowHeight();
    for (int i = top_left.Row; i < row; ++i)
      y += RowHeights[static_cast<std::size_t>(i)];
  } else {
    for (int i = 0; i < row; ++i)
      y += RowHeights[static_cast<std::size_t>(i)];
  }
  return y < client.Height;
}

void GridCore::EnsureVisible(int row, int col) {
  if (!AllowDraw || !IsValid(row, col))
    return;
  const CCellRange visible = GetVisibleNonFixedCellRange();

  int right = col - visible.MaxCol;
  int left = visible.MinCol - col;
  int down = row - visible.MaxRow;
  int up = visible.MinRow - row;

  for (int c = visible.MaxCol + 1; right > 0; ++c, --right)
    if (GetColumnWidth(c) > 0)
      OnScroll(GridBar::Horz, SB_LINERIGHT);
  for (int c = visible.MinCol - 1; left > 0; --c, --left)
    if (GetColumnWidth(c) > 0)
      OnScroll(GridBar::Horz, SB_LINELEFT);
  for (int r = visible.MaxRow + 1; down > 0; ++r, --down)
    if (GetRowHeight(r) > 0)
      OnScroll(GridBar::Vert, SB_LINEDOWN);
  for (int r = visible.MinRow - 1; up > 0; --r, --up)
    if (GetRowHeight(r) > 0)
      OnScroll(GridBar::Vert, SB_LINEUP);

  // A cell wider or taller than the window can never fit: stop once it is the top-left
  // cell or a line scroll no longer moves.
  const GridSize client = ClientSize();
  GridRect rect;
  if (!GetCellRect(row, col, &rect))
    return;
  while (rect.Right > client.Width && client.Width > GetFixedColumnWidth() &&
         IsScrollBarShown(GridBar::Horz) && col >= FixedCols && GetTopleftNonFixedCell().Col < col) {
    const int before = GetScrollPos32(GridBar::Horz);
    OnScroll(GridBar::Horz, SB_LINERIGHT);
    if (GetScrollPos32(GridBar::Horz) == before || !GetCellRect(row, col, &rect))
      break;
  }
  if (!GetCellRect(row, col, &rect))
    return;
  while (rect.Bottom > client.Height && client.Height > GetFixedRowHeight() &&
         IsScrollBarShown(GridBar::Vert) && row >= FixedRows && GetTopleftNonFixedCell().Row < row) {
    const int before = GetScrollPos32(GridBar::Vert);
    OnScroll(GridBar::Vert, SB_LINEDOWN);
    if (GetScrollPos32(GridBar::Vert) == before || !GetCellRect(row, col, &rect))
      break;
  }
}

// ---- Invalidation and drawing ----

void GridCore::Invalidate(const GridRect& rect) {
  if (WindowExists() && AllowDraw && !rect.IsEmpty())
    Host->InvalidateRect(rect);
}

void GridCore::Refresh() {
  if (WindowExists() && AllowDraw)
    Host->InvalidateAll();
}

void GridCore::InvalidateCellRect(int row, int col) {
  if (!WindowExists() || !AllowDraw || !IsCellVisible(row, col))
    return;
  GridRect rect;
  if (GetCellRect(row, col, &rect))
    Invalidate(rect.Widened());
}

void GridCore::InvalidateCellRange(const CCellRange& range) {
  if (!WindowExists() || !AllowDraw)
    return;
  const CCellRange visible = range.Intersect(GetVisibleNonFixedCellRange());
  GridRect rect;
  if (GetCellRangeRect(visible, &rect))
    Invalidate(rect.Widened());
}

bool GridCore::RedrawCell(int row, int col, GridDC* dc) {
  if (!AllowDraw || !IsCellVisible(row, col))
    return false;
  GridRect rect;
  if (!GetCellRect(row, col, &rect))
    return false;
  if (dc == nullptr) {
    Invalidate(rect.Widened());
    return true;
  }
  CGridCellBase* cell = GetCell(row, col);
  if (cell == nullptr)
    return false;
  cell->SetCoords(row, col);
  const bool drawn = cell->Draw(dc, row, col, rect, true);
  if (!IsCellFixed(row, col)) {
    if ((GridLines & 1) != 0)
      dc->Line({rect.Left, rect.Bottom}, {rect.Right + 1, rect.Bottom}, GridLineColour);
    if ((GridLines & 2) != 0)
      dc->Line({rect.Right, rect.Top}, {rect.Right, rect.Bottom + 1}, GridLineColour);
  }
  return drawn;
}

bool GridCore::RedrawRow(int row) {
  bool all = true;
  for (int col = 0; col < ColCount; ++col)
    all = RedrawCell(row, col) && all;
  return all;
}

bool GridCore::RedrawColumn(int col) {
  bool all = true;
  for (int row = 0; row < RowCount; ++row)
    all = RedrawCell(row, col) && all;
  return all;
}

void GridCore::DrawCellAt(GridDC& dc, int row, int col, const GridRect& rect, bool erase) {
  CGridCellBase* cell = GetCell(row, col);
  if (cell == nullptr)
    return;
  cell->SetCoords(row, col);
  cell->Draw(&dc, row, col, rect, erase);
}

void GridCore::OnDraw(GridDC& dc, const GridRect& clip) {
  if (!AllowDraw || clip.IsEmpty())
    return;
  const int fixed_height = GetFixedRowHeight();
  const int fixed_width = GetFixedColumnWidth();
  GridRect extent;
  const CCellRange visible = GetVisibleNonFixedCellRange(&extent);

  const auto fill = [&](GridRect area, GridColour colour) {
    area.Left = std::max(area.Left, clip.Left);
    area.Top = std::max(area.Top, clip.Top);
    area.Right = std::min(area.Right, clip.Right);
    area.Bottom = std::min(area.Bottom, clip.Bottom);
    if (!area.IsEmpty())
      dc.FillSolidRect(area, colour);
  };
  // Beyond the last cells.
  fill({extent.Right, 0, clip.Right, clip.Bottom}, GridBkColour);
  fill({0, extent.Bottom, extent.Right, clip.Bottom}, GridBkColour);
  fill({0, 0, fixed_width, fixed_height}, GetDefaultCell(true, true)->GetBackClr());
  fill({fixed_width, 0, extent.Right, fixed_height}, GetDefaultCell(true, false)->GetBackClr());
  fill({0, fixed_height, fixed_width, extent.Bottom}, GetDefaultCell(false, true)->GetBackClr());
  fill({fixed_width, fixed_height, extent.Right, extent.Bottom}, GetDefaultCell(false, false)->GetBackClr());

  if (VirtualMode)
    SendCacheHintToParent(visible);

  const auto draw_block = [&](int row_begin, int row_end, int y0, int col_begin, int col_end, int x0) {
    int y = y0;
    for (int row = row_begin; row <= row_end; ++row) {
      const int height = RowHeights[static_cast<std::size_t>(row)];
      if (height <= 0)
        continue;
      if (y >= clip.Bottom)
        break;
      const int next_y = y + height;
      if (next_y > clip.Top) {
        int x = x0;
        for (int col = col_begin; col <= col_end; ++col) {
          const int width = ColWidths[static_cast<std::size_t>(col)];
          if (width <= 0)
            continue;
          if (x >= clip.Right)
            break;
          const int next_x = x + width;
          if (next_x > clip.Left)
            DrawCellAt(dc, row, col, {x, y, next_x - 1, next_y - 1}, false);
          x = next_x;
        }
      }
      y = next_y;
    }
  };
  draw_block(0, FixedRows - 1, 0, 0, FixedCols - 1, 0);
  draw_block(visible.MinRow, visible.MaxRow, fixed_height, 0, FixedCols - 1, 0);
  draw_block(0, FixedRows - 1, 0, visible.MinCol, visible.MaxCol, fixed_width);
  draw_block(visible.MinRow, visible.MaxRow, fixed_height, visible.MinCol, visible.MaxCol, fixed_width);

  if ((GridLines & 2) != 0) {
    int x = fixed_width;
    for (int col = visible.MinCol; col <= visible.MaxCol && col >= 0; ++col) {
      const int width = ColWidths[static_cast<std::size_t>(col)];
      if (width <= 0)
        continue;
      x += width;
      if (x - 1 >= clip.Left && x - 1 < clip.Right)
        dc.Line({x - 1, fixed_height}, {x - 1, extent.Bottom}, GridLineColour);
      if (x >= clip.Right)
        break;
    }
  }
  if ((GridLines & 1) != 0) {
    int y = fixed_height;
    for (int row = visible.MinRow; row <= visible.MaxRow && row >= 0; ++row) {
      const int height = RowHeights[static_cast<std::size_t>(row)];
      if (height <= 0)
        continue;
      y += height;
      if (y - 1 >= clip.Top && y - 1 < clip.Bottom)
        dc.Line({fixed_width, y - 1}, {extent.Right, y - 1}, GridLineColour);
      if (y >= clip.Bottom)
        break;
    }
  }

  if (VirtualMode)
    SendCacheHintToParent({-1, -1, -1, -1});

  // The divider being dragged shows as a dark band; drawn here because inverting pixels
  // on screen is not dependable on composited displays.
  const GridRect band = TrackingBandRect();
  if (!band.IsEmpty())
    fill(band, GetSysColour(GridSysColour::ThreeDDarkShadow));
}

GridRect GridCore::TrackingBandRect() const {
  if (TrackPos < 0)
    return {};
  const GridSize client = ClientSize();
  if (MouseMode == GridMouseMode::SizingCol)
    return {TrackPos - 1, 0, TrackPos + 1, client.Height};
  if (MouseMode == GridMouseMode::SizingRow)
    return {0, TrackPos - 1, client.Width, TrackPos + 1};
  return {};
}

void GridCore::SetRedraw(bool allow, bool reset_scroll_bars) {
  if (allow && !AllowDraw) {
    AllowDraw = true;
    Refresh();
  }
  AllowDraw = allow;
  if (reset_scroll_bars)
    ResetScrollBars();
}

// ---- Automatic sizing ----

bool GridCore::AutoSizeColumn(int col, int style, bool reset_scroll) {
  if (col < 0 || col >= ColCount || ColWidths[static_cast<std::size_t>(col)] == 0)
    return false;
  if (style == 0)
    style = AutoSizeStyle;
  const int first = (style & 1) != 0 ? 0 : FixedRows;
  const int last = (style & 2) != 0 ? RowCount - 1 : FixedRows - 1;
  if (VirtualMode)
    SendCacheHintToParent({first, col, last, col});
  int width = 0;
  for (int row = first; row <= last; ++row)
    if (CGridCellBase* cell = GetCell(row, col))
      width = std::max(width, cell->GetCellExtent(nullptr).Width);
  if (VirtualMode)
    SendCacheHintToParent({-1, -1, -1, -1});
  ColWidths[static_cast<std::size_t>(col)] = width;
  if (reset_scroll)
    ResetScrollBars();
  return true;
}

bool GridCore::AutoSizeRow(int row, bool reset_scroll) {
  if (row < 0 || row >= RowCount || RowHeights[static_cast<std::size_t>(row)] == 0)
    return false;
  if (VirtualMode)
    SendCacheHintToParent({row, 0, row, ColCount - 1});
  int height = 0;
  for (int col = 0; col < ColCount; ++col)
    if (CGridCellBase* cell = GetCell(row, col))
      height = std::max(height, cell->GetCellExtent(nullptr).Height);
  if (VirtualMode)
    SendCacheHintToParent({-1, -1, -1, -1});
  RowHeights[static_cast<std::size_t>(row)] = height;
  if (reset_scroll)
    ResetScrollBars();
  return true;
}

void GridCore::AutoSize(int style) {
  if (style == 0)
    style = AutoSizeStyle;
  const int first = (style & 1) != 0 ? 0 : FixedRows;
  const int last = (style & 2) != 0 ? RowCount - 1 : FixedRows - 1;
  for (int row = first; row <= last; ++row)
    if (RowHeights[static_cast<std::size_t>(row)] > 0)
      RowHeights[static_cast<std::size_t>(row)] = 1;
  for (int& width : ColWidths)
    if (width > 0)
      width = 0;
  if (VirtualMode)
    SendCacheHintToParent({first, 0, last, ColCount - 1});
  for (int row = first; row <= last; ++row) {
    if (RowHeights[static_cast<std::size_t>(row)] == 0)
      continue;
    for (int col = 0; col < ColCount; ++col) {
      CGridCellBase* cell = GetCell(row, col);
      if (cell == nullptr)
        continue;
      const GridSize size = cell->GetCellExtent(nullptr);
      int& width = ColWidths[static_cast<std::size_t>(col)];
      width = std::max(width, size.Width);
      int& height = RowHeights[static_cast<std::size_t>(row)];
      height = std::max(height, size.Height);
    }
  }
  if (VirtualMode)
    SendCacheHintToParent({-1, -1, -1, -1});
  ResetScrollBars();
  Refresh();
}

namespace {

// Spreads difference over the non-hidden sizes from first on; a size never drops below 0.
void SpreadDifference(std::vector<int>& sizes, int first, int difference) {
  int affected = 0;
  for (std::size_t i = static_cast<std::size_t>(first); i < sizes.size(); ++i)
    if (sizes[i] > 0)
      ++affected;
  if (affected == 0)
    return;
  const int share = difference / affected;
  for (std::size_t i = static_cast<std::size_t>(first); i < sizes.size(); ++i)
    if (sizes[i] > 0)
      sizes[i] = std::max(0, sizes[i] + share);
  const int remainder = std::abs(difference) % affected;
  const int step = difference < 0 ? -1 : 1;
  for (int i = first; i < first + remainder && i < static_cast<int>(sizes.size()); ++i)
    if (sizes[static_cast<std::size_t>(i)] > 0)
      sizes[static_cast<std::size_t>(i)] = std::max(0, sizes[static_cast<std::size_t>(i)] + step);
}

} // namespace

void GridCore::ExpandColumnsToFit(bool expand_fixed) {
  if (expand_fixed ? ColCount <= 0 : ColCount <= FixedCols)
    return;
  EnableScrollBars(static_cast<int>(GridBar::Horz), false);
  const GridSize client = ClientSize();
  SpreadDifference(ColWidths, expand_fixed ? 0 : FixedCols, client.Width - GetVirtualWidth());
  TopLeftCell = {};
  Refresh();
  ResetScrollBars();
}

void GridCore::ExpandRowsToFit(bool expand_fixed) {
  if (expand_fixed ? RowCount <= 0 : RowCount <= FixedRows)
    return;
  EnableScrollBars(static_cast<int>(GridBar::Vert), false);
  const GridSize client = ClientSize();
  SpreadDifference(RowHeights, expand_fixed ? 0 : FixedRows, client.Height - GetVirtualHeight());
  TopLeftCell = {};
  Refresh();
  ResetScrollBars();
}

void GridCore::ExpandToFit(bool expand_fixed) {
  ExpandColumnsToFit(expand_fixed);
  ExpandRowsToFit(expand_fixed);
  ExpandColumnsToFit(expand_fixed);
  Refresh();
}

void GridCore::ExpandLastColumn() {
  int col = ColCount - 1;
  while (col > 0 && ColWidths[static_cast<std::size_t>(col)] <= 0)
    --col;
  if (col <= 0)
    return;
  const int left_over = ClientSize().Width - GetVirtualWidth();
  if (left_over > 0) {
    ColWidths[static_cast<std::size_t>(col)] += left_over;
    Refresh();
  }
}

// ---- Scroll bars ----

int GridCore::GetScrollLimit(GridBar bar) const {
  const int index = static_cast<int>(bar);
  if (ScrollMax[index] <= 0)
    return 0;
  return std::max(0, ScrollMax[index] + 1 - ScrollPage[index]);
}

bool GridCore::SetScrollPos32(GridBar bar, int pos, bool /*redraw*/) {
  const int index = static_cast<int>(bar);
  pos = std::clamp(pos, 0, GetScrollLimit(bar));
  ScrollPos[index] = pos;
  TopLeftCell = {};
  if (Host != nullptr)
    Host->SetScrollPos(bar, pos);
  return true;
}

void GridCore::ClampScrollPositions() {
  for (GridBar bar : {GridBar::Horz, GridBar::Vert}) {
    const int index = static_cast<int>(bar);
    ScrollPos[index] = std::clamp(ScrollPos[index], 0, GetScrollLimit(bar));
  }
  TopLeftCell = {};
}

void GridCore::EnableScrollBars(int bar, bool enable) {
  for (GridBar which : {GridBar::Horz, GridBar::Vert}) {
    const bool applies = bar == 3 || bar == static_cast<int>(which);
    if (!applies)
      continue;
    const int index = static_cast<int>(which);
    if (!enable) {
      ScrollMax[index] = 0;
      ScrollPage[index] = 0;
      ScrollPos[index] = 0;
    }
    if (enable)
      ScrollBarsShown |= BarBit(which);
    else
      ScrollBarsShown &= ~BarBit(which);
    if (WindowExists())
      Host->SetScrollBar(which, enable, ScrollPos[index], ScrollPage[index], ScrollMax[index]);
  }
  TopLeftCell = {};
}

void GridCore::ResetScrollBars() {
  if (!AllowDraw || !WindowExists())
    return;
  const GridSize client = ClientSize();
  if (client.Width <= 0 || client.Height <= 0)
    return;
  TopLeftCell = {};
  const int v_thick = Host->GetScrollBarThickness(GridBar::Vert);
  const int h_thick = Host->GetScrollBarThickness(GridBar::Horz);
  int width = client.Width + (IsScrollBarShown(GridBar::Vert) ? v_thick : 0);
  int height = client.Height + (IsScrollBarShown(GridBar::Horz) ? h_thick : 0);
  width -= GetFixedColumnWidth();
  height -= GetFixedRowHeight();
  if (width <= 0 || height <= 0) {
    EnableScrollBars(3, false);
    return;
  }
  const int virtual_height = GetVirtualHeight() - GetFixedRowHeight();
  const int virtual_width = GetVirtualWidth() - GetFixedColumnWidth();
  bool need_v = height < virtual_height;
  if (need_v)
    width -= v_thick;
  const bool need_h = width < virtual_width;
  if (need_h) {
    height -= h_thick;
    if (!need_v) {
      need_v = height < virtual_height;
      if (need_v)
        width -= v_thick;
    }
  }
  ScrollMax[1] = need_v ? virtual_height - 1 : 0;
  ScrollPage[1] = need_v ? std::max(height, 1) : 0;
  ScrollMax[0] = need_h ? virtual_width - 1 : 0;
  ScrollPage[0] = need_h ? std::max(width, 1) : 0;
  ScrollBarsShown = (need_h ? 1 : 0) | (need_v ? 2 : 0);
  ClampScrollPositions();
  Host->SetScrollBar(GridBar::Horz, need_h, ScrollPos[0], ScrollPage[0], ScrollMax[0]);
  Host->SetScrollBar(GridBar::Vert, need_v, ScrollPos[1], ScrollPage[1], ScrollMax[1]);
}

void GridCore::OnScroll(GridBar bar, int code, int track_pos) {
  EndEditing();
  HideTitleTip();
  const bool horz = bar == GridBar::Horz;
  const int pos = GetScrollPos32(bar);
  const CCellID top_left = GetTopleftNonFixedCell();
  const GridSize client = ClientSize();
  const int fixed_extent = horz ? GetFixedColumnWidth() : GetFixedRowHeight();
  const GridRect area = horz ? GridRect{fixed_extent, 0, client.Width, client.Height}
                             : GridRect{0, fixed_extent, client.Width, client.Height};
  const std::vector<int>& sizes = horz ? ColWidths : RowHeights;
  const int count = horz ? ColCount : RowCount;
  const int fixed = horz ? FixedCols : FixedRows;
  const int first = horz ? top_left.Col : top_left.Row;

  switch (code) {
  case SB_LINEDOWN: {
    if (pos >= GetScrollLimit(bar))
      break;
    int index = first;
    while (index < count && sizes[static_cast<std::size_t>(index)] == 0)
      ++index;
    if (index >= count)
      break;
    SetScrollPos32(bar, pos + sizes[static_cast<std::size_t>(index)]);
    if (GetScrollPos32(bar) == pos)
      break;
    Invalidate(area);
    break;
  }
  case SB_LINEUP: {
    if (pos <= 0)
      break;
    int index = first - 1;
    while (index >= fixed && sizes[static_cast<std::size_t>(index)] == 0)
      --index;
    const int step = index >= fixed ? sizes[static_cast<std::size_t>(index)] : pos;
    SetScrollPos32(bar, std::max(0, pos - step));
    Invalidate(area);
    break;
  }
  case SB_PAGEDOWN:
  case SB_PAGEUP: {
    const int page = (horz ? client.Width : client.Height) - fixed_extent;
    const int target = code == SB_PAGEDOWN ? pos + page : pos - page;
    SetScrollPos32(bar, std::clamp(target, 0, GetScrollLimit(bar)));
    if (GetScrollPos32(bar) != pos)
      Invalidate(area);
    break;
  }
  case SB_THUMBPOSITION:
  case SB_THUMBTRACK:
    SetScrollPos32(bar, track_pos);
    if (!(GetTopleftNonFixedCell() == top_left))
      Invalidate(area);
    break;
  case SB_TOP:
    if (pos > 0) {
      SetScrollPos32(bar, 0);
      Refresh();
    }
    break;
  case SB_BOTTOM:
    if (pos < GetScrollLimit(bar)) {
      SetScrollPos32(bar, GetScrollLimit(bar));
      Refresh();
    }
    break;
  default:
    break;
  }
}

void GridCore::OnMouseWheel(int delta, int lines_per_notch, int wheel_delta) {
  if (wheel_delta <= 0)
    wheel_delta = 120;
  // Small deltas from smooth wheels add up until they make a whole line.
  if ((delta > 0 && WheelRemainder < 0) || (delta < 0 && WheelRemainder > 0))
    WheelRemainder = 0;
  const bool by_page = lines_per_notch <= 0;
  WheelRemainder += by_page ? delta : delta * lines_per_notch;
  const int steps = WheelRemainder / wheel_delta;
  WheelRemainder -= steps * wheel_delta;
  for (int i = 0; i < std::abs(steps); ++i) {
    if (by_page)
      OnScroll(GridBar::Vert, steps > 0 ? SB_PAGEUP : SB_PAGEDOWN);
    else
      OnScroll(GridBar::Vert, steps > 0 ? SB_LINEUP : SB_LINEDOWN);
  }
}

void GridCore::OnSize() {
  if (InOnSize)
    return;
  InOnSize = true;
  EndEditing();
  ResetScrollBars();
  InOnSize = false;
}

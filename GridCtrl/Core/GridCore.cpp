#include "GridCtrl/Core/GridCore.h"

#include <algorithm>
#include <new>

using Ostra::U32;

namespace {

// What a screen without a host reports: the classic desktop scheme.
GridColour FallbackSysColour(GridSysColour which) {
  switch (which) {
  case GridSysColour::WindowText:
    return GridRGB(0, 0, 0);
  case GridSysColour::Window:
    return GridRGB(255, 255, 255);
  case GridSysColour::ThreeDFace:
    return GridRGB(240, 240, 240);
  case GridSysColour::ThreeDShadow:
    return GridRGB(160, 160, 160);
  case GridSysColour::Highlight:
    return GridRGB(51, 153, 255);
  case GridSysColour::HighlightText:
    return GridRGB(255, 255, 255);
  case GridSysColour::ThreeDHighlight:
    return GridRGB(255, 255, 255);
  case GridSysColour::ThreeDDarkShadow:
    return GridRGB(105, 105, 105);
  case GridSysColour::InfoBackground:
    return GridRGB(255, 255, 225);
  }
  return 0;
}

int DefaultIndex(bool fixed_row, bool fixed_col) { return (fixed_row ? 2 : 0) + (fixed_col ? 1 : 0); }

} // namespace

GridCore::GridCore(int rows, int cols, int fixed_rows, int fixed_cols) {
  SysWindowText = GetSysColour(GridSysColour::WindowText);
  SysWindow = GetSysColour(GridSysColour::Window);
  Sys3DFace = GetSysColour(GridSysColour::ThreeDFace);
  Sys3DShadow = GetSysColour(GridSysColour::ThreeDShadow);
  GridBkColour = Sys3DShadow;
  for (int i = 0; i < 4; ++i) {
    DefaultCells[i] = std::make_unique<CGridDefaultCell>();
    DefaultCells[i]->SetGrid(this);
    DefaultCells[i]->SetTextClr(SysWindowText);
    DefaultCells[i]->SetBackClr(i == 0 ? SysWindow : Sys3DFace);
    const GridFontDesc font;
    DefaultCells[i]->SetFont(&font);
  }
  SetRowCount(rows);
  SetColumnCount(cols);
  SetFixedRowCount(fixed_rows);
  SetFixedColumnCount(fixed_cols);
}

GridCore::~GridCore() = default;

void GridCore::AttachHost(GridHost* host) {
  Host = host;
  OnSysColourChange();
}

bool GridCore::OnWindowCreated() {
  try {
    RowHeights.assign(static_cast<std::size_t>(RowCount), GetDefaultCell(false, false)->GetHeight());
    ColWidths.assign(static_cast<std::size_t>(ColCount), GetDefaultCell(false, false)->GetWidth());
  } catch (const std::bad_alloc&) {
    return false;
  }
  TopLeftCell = {};
  ResetScrollBars();
  return true;
}

GridColour GridCore::GetSysColour(GridSysColour which) const {
  return Host != nullptr ? Host->GetSysColour(which) : FallbackSysColour(which);
}

void GridCore::OnSysColourChange() {
  const GridColour text = GetSysColour(GridSysColour::WindowText);
  const GridColour window = GetSysColour(GridSysColour::Window);
  const GridColour face = GetSysColour(GridSysColour::ThreeDFace);
  const GridColour shadow = GetSysColour(GridSysColour::ThreeDShadow);
  for (auto& cell : DefaultCells) {
    if (cell->GetTextClr() == SysWindowText)
      cell->SetTextClr(text);
    if (cell->GetBackClr() == SysWindow)
      cell->SetBackClr(window);
    else if (cell->GetBackClr() == Sys3DFace)
      cell->SetBackClr(face);
  }
  if (GridBkColour == Sys3DShadow)
    GridBkColour = shadow;
  SysWindowText = text;
  SysWindow = window;
  Sys3DFace = face;
  Sys3DShadow = shadow;
  Refresh();
}

void GridCore::SetGridFont(const GridFontDesc& font) {
  for (auto& cell : DefaultCells)
    cell->SetFont(&font);
  Refresh();
}

CGridDefaultCell* GridCore::GetDefaultCell(bool fixed_row, bool fixed_col) const {
  return DefaultCells[DefaultIndex(fixed_row, fixed_col)].get();
}

// ---- Counts ----

bool GridCore::SetRowCount(int rows) {
  if (rows == RowCount)
    return true;
  if (rows < 0)
    return false;
  TopLeftCell = {};
  if (FixedRows > rows)
    FixedRows = rows;
  if (FocusCell.Row >= rows)
    SetFocusCell(-1, -1);
  try {
    if (rows < RowCount) {
      if (!VirtualMode) {
        for (int row = rows; row < RowCount; ++row)
          for (int col = 0; col < ColCount; ++col)
            DestroyCell(row, col);
        Rows.resize(static_cast<std::size_t>(rows));
      }
      RowHeights.resize(static_cast<std::size_t>(rows));
      RowCount = rows;
    } else {
      const int height = GetDefaultCell(false, false)->GetHeight();
      while (RowCount < rows) {
        const int row = RowCount;
        if (!VirtualMode) {
          std::vector<std::unique_ptr<CGridCellBase>> cells;
          cells.reserve(static_cast<std::size_t>(ColCount));
          for (int col = 0; col < ColCount; ++col)
            cells.push_back(CreateCell(row, col));
          Rows.push_back(std::move(cells));
        }
        RowHeights.push_back(height);
        ++RowCount;
      }
    }
  } catch (const std::bad_alloc&) {
    Rows.resize(static_cast<std::size_t>(VirtualMode ? 0 : RowCount));
    RowHeights.resize(static_cast<std::size_t>(RowCount));
    return false;
  }
  // Selection keys can outlive their cells in virtual mode, where no cell clears them.
  std::erase_if(SelectedCells, [&](const auto& entry) { return entry.second.Row >= RowCount; });
  std::erase_if(PrevSelectedCells, [&](const auto& entry) { return entry.second.Row >= RowCount; });
  SetModified(true);
  ResetScrollBars();
  Refresh();
  return true;
}

bool GridCore::SetColumnCount(int cols) {
  if (cols == ColCount)
    return true;
  if (cols < 0)
    return false;
  TopLeftCell = {};
  if (FixedCols > cols)
    FixedCols = cols;
  if (FocusCell.Col >= cols)
    SetFocusCell(-1, -1);
  try {
    if (cols < ColCount) {
      if (!VirtualMode) {
        for (int row = 0; row < RowCount; ++row) {
          for (int col = cols; col < ColCount; ++col)
            DestroyCell(row, col);
        }
        for (auto& row : Rows)
          row.resize(static_cast<std::size_t>(cols));
      }
      ColWidths.resize(static_cast<std::size_t>(cols));
      ColCount = cols;
    } else {
      const int width = GetDefaultCell(false, true)->GetWidth();
      while (ColCount < cols) {
        const int col = ColCount;
        if (!VirtualMode) {
          for (int row = 0; row < RowCount; ++row)
            Rows[static_cast<std::size_t>(row)].push_back(CreateCell(row, col));
        }
        ColWidths.push_back(width);
        ++ColCount;
      }
    }
  } catch (const std::bad_alloc&) {
    for (auto& row : Rows)
      row.resize(static_cast<std::size_t>(ColCount));
    ColWidths.resize(static_cast<std::size_t>(ColCount));
    return false;
  }
  std::erase_if(SelectedCells, [&](const auto& entry) { return entry.second.Col >= ColCount; });
  std::erase_if(PrevSelectedCells, [&](const auto& entry) { return entry.second.Col >= ColCount; });
  SetModified(true);
  ResetScrollBars();
  Refresh();
  return true;
}

bool GridCore::SetFixedRowCount(int fixed_rows) {
  if (fixed_rows == FixedRows)
    return true;
  if (fixed_rows < 0)
    return false;
  ResetSelectedRange();
  TopLeftCell = {};
  if (fixed_rows > RowCount && !SetRowCount(fixed_rows))
    return false;
  if (!VirtualMode) {
    for (int row = fixed_rows; row < FixedRows; ++row) {
      for (int col = 0; col < ColCount; ++col) {
        CGridCellBase* cell = GetCell(row, col);
        if (col < FixedCols) {
          cell->SetState(cell->GetState() & ~GridItemState::FixedRow);
        } else {
          cell->SetState(cell->GetState() & ~(GridItemState::Fixed | GridItemState::FixedRow));
          cell->SetTextClr(GridClrDefault);
          cell->SetBackClr(GridClrDefault);
        }
      }
    }
    for (int row = FixedRows; row < fixed_rows; ++row) {
      for (int col = 0; col < ColCount; ++col) {
        CGridCellBase* cell = GetCell(row, col);
        cell->SetState(cell->GetState() | GridItemState::Fixed | GridItemState::FixedRow);
        cell->SetTextClr(GridClrDefault);
        cell->SetBackClr(GridClrDefault);
      }
    }
  }
  FixedRows = fixed_rows;
  // The fixed height changed, and with it the scrollable extent.
  ResetScrollBars();
  Refresh();
  return true;
}

bool GridCore::SetFixedColumnCount(int fixed_cols) {
  if (fixed_cols == FixedCols)
    return true;
  if (fixed_cols < 0)
    return false;
  ResetSelectedRange();
  TopLeftCell = {};
  if (fixed_cols > ColCount && !SetColumnCount(fixed_cols))
    return false;
  if (!VirtualMode) {
    for (int col = fixed_cols; col < FixedCols; ++col) {
      for (int row = 0; row < RowCount; ++row) {
        CGridCellBase* cell = GetCell(row, col);
        if (row < FixedRows) {
          cell->SetState(cell->GetState() & ~GridItemState::FixedCol);
        } else {
          cell->SetState(cell->GetState() & ~(GridItemState::Fixed | GridItemState::FixedCol));
          cell->SetTextClr(GridClrDefault);
          cell->SetBackClr(GridClrDefault);
        }
      }
    }
    for (int col = FixedCols; col < fixed_cols; ++col) {
      for (int row = 0; row < RowCount; ++row) {
        CGridCellBase* cell = GetCell(row, col);
        cell->SetState(cell->GetState() | GridItemState::Fixed | GridItemState::FixedCol);
        cell->SetTextClr(GridClrDefault);
        cell->SetBackClr(GridClrDefault);
      }
    }
  }
  FixedCols = fixed_cols;
  ResetScrollBars();
  Refresh();
  return true;
}

// ---- Cells ----

std::unique_ptr<CGridCellBase> GridCore::CreateCell(int row, int col) {
  std::unique_ptr<CGridCellBase> cell = MakeCell ? MakeCell() : std::make_unique<CGridCell>();
  if (!cell)
    return nullptr;
  cell->SetGrid(this);
  cell->SetCoords(row, col);
  U32 state = 0;
  if (row < FixedRows)
    state |= GridItemState::Fixed | GridItemState::FixedRow;
  if (col < FixedCols)
    state |= GridItemState::Fixed | GridItemState::FixedCol;
  cell->SetState(state);
  cell->SetFormat(GetDefaultCell(row < FixedRows, col < FixedCols)->GetFormat());
  return cell;
}

void GridCore::DestroyCell(int row, int col) {
  SetItemState(row, col, 0);
  Rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)].reset();
}

CGridCellBase* GridCore::GetCell(int row, int col) const {
  if (!IsValid(row, col))
    return nullptr;
  if (!VirtualMode)
    return Rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)].get();

  const bool fixed_row = row < FixedRows;
  const bool fixed_col = col < FixedCols;
  const CGridDefaultCell* def = GetDefaultCell(fixed_row, fixed_col);
  GridDisplayInfo info;
  info.Item.Row = row;
  info.Item.Col = col;
  info.Item.Mask = GridItemMask::All;
  info.Item.TextClr = def->GetTextClr();
  info.Item.BackClr = def->GetBackClr();
  info.Item.Format = def->GetFormat();
  info.Item.Image = def->GetImage();
  if (def->GetFont() != nullptr)
    info.Item.Font = *def->GetFont();
  info.Item.Margin = def->GetMargin();
  U32 state = 0;
  if (SelectedCells.count(CellKey(row, col)) != 0)
    state |= GridItemState::Selected;
  if (fixed_row)
    state |= GridItemState::Fixed | GridItemState::FixedRow;
  if (fixed_col)
    state |= GridItemState::Fixed | GridItemState::FixedCol;
  if (FocusCell == CCellID(row, col))
    state |= GridItemState::Focused;
  info.Item.State = state;

  auto* self = const_cast<GridCore*>(this);
  if (Callback) {
    Callback(&info, CallbackParam);
  } else if (self->WindowExists() && Owner != nullptr) {
    GridNotify notify;
    notify.Code = LVN_GETDISPINFOA;
    notify.IdFrom = ControlId;
    notify.Row = row;
    notify.Col = col;
    notify.DisplayInfo = &info;
    Owner->OnGridNotify(notify);
  }

  if (!VirtualCell)
    VirtualCell = std::make_unique<CGridCell>();
  CGridCell& cell = *VirtualCell;
  cell.State = info.Item.State;
  cell.SetFormat(info.Item.Format);
  cell.SetTextClr(info.Item.TextClr);
  cell.SetBackClr(info.Item.BackClr);
  cell.SetImage(info.Item.Image);
  cell.SetFont(&info.Item.Font);
  cell.SetMargin(info.Item.Margin);
  cell.SetText(info.Item.Text);
  cell.SetGrid(self);
  return &cell;
}

bool GridCore::SetItemText(int row, int col, const std::string& text) {
  if (VirtualMode)
    return false;
  CGridCellBase* cell = GetCell(row, col);
  if (cell == nullptr)
    return false;
  cell->SetText(text);
  SetModified(true, row, col);
  return true;
}

std::string GridCore::GetItemText(int row, int col) const {
  const CGridCellBase* cell = GetCell(row, col);
  return cell != nullptr ? cell->GetText() : std::string();
}

bool GridCore::SetItemState(int row, int col, U32 state) {
  // An address outside the grid must not reach the selection map, where it would widen
  // GetSelectedCellRange past the grid.
  if (!IsValid(row, col))
    return false;
  const std::uint64_t key = CellKey(row, col);
  if ((state & GridItemState::Selected) != 0)
    SelectedCells[key] = CCellID(row, col);
  else
    SelectedCells.erase(key);
  if (VirtualMode)
    return false;
  GetCell(row, col)->SetState(state);
  return true;
}

U32 GridCore::GetItemState(int row, int col) const {
  const CGridCellBase* cell = GetCell(row, col);
  return cell != nullptr ? cell->GetState() : 0;
}

bool GridCore::SetItemData(int row, int col, std::intptr_t data) {
  CGridCellBase* cell = VirtualMode ? nullptr : GetCell(row, col);
  if (cell == nullptr)
    return false;
  cell->SetData(data);
  SetModified(true, row, col);
  return true;
}

std::intptr_t GridCore::GetItemData(int row, int col) const {
  const CGridCellBase* cell = GetCell(row, col);
  return cell != nullptr ? cell->GetData() : 0;
}

bool GridCore::SetItemImage(int row, int col, int image) {
  CGridCellBase* cell = VirtualMode ? nullptr : GetCell(row, col);
  if (cell == nullptr)
    return false;
  cell->SetImage(image);
  SetModified(true, row, col);
  return true;
}

int GridCore::GetItemImage(int row, int col) const {
  const CGridCellBase* cell = GetCell(row, col);
  return cell != nullptr ? cell->GetImage() : -1;
}

bool GridCore::SetItemFormat(int row, int col, U32 format) {
  CGridCellBase* cell = VirtualMode ? nullptr : GetCell(row, col);
  if (cell == nullptr)
    return false;
  cell->SetFormat(format);
  return true;
}

U32 GridCore::GetItemFormat(int row, int col) const {
  const CGridCellBase* cell = GetCell(row, col);
  return cell != nullptr ? cell->GetFormat() : 0;
}

bool GridCore::SetItemBkColour(int row, int col, GridColour colour) {
  CGridCellBase* cell = VirtualMode ? nullptr : GetCell(row, col);
  if (cell == nullptr)
    return false;
  cell->SetBackClr(colour);
  return true;
}

GridColour GridCore::GetItemBkColour(int row, int col) const {
  const CGridCellBase* cell = GetCell(row, col);
  return cell != nullptr ? cell->GetBackClr() : 0;
}

bool GridCore::SetItemFgColour(int row, int col, GridColour colour) {
  CGridCellBase* cell = VirtualMode ? nullptr : GetCell(row, col);
  if (cell == nullptr)
    return false;
  cell->SetTextClr(colour);
  return true;
}

GridColour GridCore::GetItemFgColour(int row, int col) const {
  const CGridCellBase* cell = GetCell(row, col);
  return cell != nullptr ? cell->GetTextClr() : 0;
}

bool GridCore::SetItemFont(int row, int col, const GridFontDesc* font) {
  CGridCellBase* cell = VirtualMode ? nullptr : GetCell(row, col);
  if (cell == nullptr)
    return false;
  cell->SetFont(font);
  return true;
}

const GridFontDesc* GridCore::GetItemFont(int row, int col) const {
  const CGridCellBase* cell = GetCell(row, col);
  return cell != nullptr ? cell->GetFont() : nullptr;
}

bool GridCore::IsCellEditable(int row, int col) const {
  return Editable && (GetItemState(row, col) & GridItemState::ReadOnly) == 0;
}

bool GridCore::SetCellType(int row, int col, const CellFactory& factory) {
  if (VirtualMode || !IsValid(row, col) || !factory)
    return false;
  std::unique_ptr<CGridCellBase> cell = factory();
  if (!cell)
    return false;
  auto& slot = Rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
  cell->CopyFrom(*slot);
  cell->SetCoords(row, col);
  slot = std::move(cell);
  return true;
}

void GridCore::SetModified(bool modified, int row, int col) {
  if (col < 0 || col == SortColumn)
    SetSortColumn(-1);
  if (row >= 0 && col >= 0) {
    if (IsValid(row, col)) {
      U32 state = GetItemState(row, col);
      state = modified ? (state | GridItemState::Modified) : (state & ~GridItemState::Modified);
      SetItemState(row, col, state);
      if (modified)
        Modified = true;
    }
  } else {
    Modified = modified;
  }
  if (!Modified && !VirtualMode) {
    for (auto& cells : Rows)
      for (auto& cell : cells)
        if (cell)
          cell->SetState(cell->GetState() & ~GridItemState::Modified);
  }
}

void GridCore::SetSortColumn(int col) {
  const int old = SortColumn;
  SortColumn = col;
  if (old == col)
    return;
  for (int row = 0; row < FixedRows; ++row) {
    if (old >= 0)
      RedrawCell(row, old);
    if (col >= 0)
      RedrawCell(row, col);
  }
}

long GridCore::SendMessageToParent(int row, int col, int code) {
  if (!WindowExists() || Owner == nullptr)
    return 0;
  GridNotify notify;
  notify.Code = code;
  notify.IdFrom = ControlId;
  notify.Row = row;
  notify.Col = col;
  return Owner->OnGridNotify(notify);
}

long GridCore::SendCacheHintToParent(const CCellRange& range) {
  if (!WindowExists() || Owner == nullptr)
    return 0;
  GridNotify notify;
  notify.Code = LVN_ODCACHEHINT;
  notify.IdFrom = ControlId;
  notify.CacheHint = range;
  return Owner->OnGridNotify(notify);
}

void GridCore::SetVirtualMode(bool virtual_mode) {
  DeleteAllItems();
  VirtualMode = virtual_mode;
  if (virtual_mode) {
    Editable = false;
    SortOnClick = false;
    FixedColSelection = false;
    FixedRowSelection = false;
    AutoSizeStyle = 1;
  }
}

void GridCore::DeleteAllItems() {
  ResetSelectedRange();
  SelectedCells.clear();
  Rows.clear();
  RowHeights.clear();
  ColWidths.clear();
  RowCount = ColCount = FixedRows = FixedCols = 0;
  TopLeftCell = {};
  ResetScrollBars();
  SetModified(true);
}

CCellID GridCore::GetNextItem(const CCellID& start, int flags) const {
  const auto matches = [&](int row, int col) {
    const U32 state = GetItemState(row, col);
    return ((flags & GridNextItemFlags::DropHighlighted) && (state & GridItemState::DropHighlighted)) ||
           ((flags & GridNextItemFlags::Focused) && (state & GridItemState::Focused)) ||
           ((flags & GridNextItemFlags::Selected) && (state & GridItemState::Selected)) ||
           ((flags & GridNextItemFlags::ReadOnly) && (state & GridItemState::ReadOnly)) ||
           ((flags & GridNextItemFlags::Fixed) && (state & GridItemState::Fixed)) ||
           ((flags & GridNextItemFlags::Modified) && (state & GridItemState::Modified));
  };
  const int direction = flags & 0xF00;
  using namespace GridNextItemFlags;
  if (direction == All || direction == (Below | ToRight)) {
    const int first_row = start.Row <= 0 ? FixedRows : start.Row;
    const int first_col = std::max(start.Col + 1, FixedCols);
    for (int row = first_row; row < RowCount; ++row) {
      const int begin = (row == first_row || direction != All) ? first_col : FixedCols;
      for (int col = begin; col < ColCount; ++col)
        if (matches(row, col))
          return {row, col};
    }
  } else if (direction == Above) {
    for (int row = start.Row - 1; row >= FixedRows; --row)
      if (matches(row, start.Col))
        return {row, start.Col};
  } else if (direction == Below) {
    for (int row = start.Row + 1; row < RowCount; ++row)
      if (matches(row, start.Col))
        return {row, start.Col};
  } else if (direction == ToLeft) {
    for (int col = start.Col - 1; col >= FixedCols; --col)
      if (matches(start.Row, col))
        return {start.Row, col};
  } else if (direction == ToRight) {
    for (int col = start.Col + 1; col < ColCount; ++col)
      if (matches(start.Row, col))
        return {start.Row, col};
  }
  return {-1, -1};
}

CCellRange GridCore::GetSelectedCellRange() const {
  CCellRange range(RowCount, ColCount, -1, -1);
  for (const auto& [key, cell] : SelectedCells) {
    range.MinRow = std::min(range.MinRow, cell.Row);
    range.MinCol = std::min(range.MinCol, cell.Col);
    range.MaxRow = std::max(range.MaxRow, cell.Row);
    range.MaxCol = std::max(range.MaxCol, cell.Col);
  }
  return range;
}

// ---- Flags with side effects ----

void GridCore::SetListMode(bool list_mode) {
  ResetSelectedRange();
  SetSortColumn(-1);
  FixedColSelection = false;
  ListMode = list_mode;
  Refresh();
}

void GridCore::EnableSelection(bool enable) {
  ResetSelectedRange();
  EnableSelectionFlag = enable;
  Refresh();
}

void GridCore::SetGridLines(int lines) {
  GridLines = lines;
  Refresh();
}

void GridCore::SetGridBkColor(GridColour colour) {
  GridBkColour = colour;
  Refresh();
}

void GridCore::SetGridLineColor(GridColour colour) {
  GridLineColour = colour;
  Refresh();
}

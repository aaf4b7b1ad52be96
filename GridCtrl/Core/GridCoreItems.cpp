#include "GridCtrl/Core/GridCore.h"

#include <algorithm>
#include <new>
#include <vector>

using Ostra::U32;

namespace {

// Room for one more element, so that the insert after it cannot throw. Growing by one
// element at a time would copy the whole vector on every insert, which makes loading a
// long file quadratic; the usual doubling keeps it linear.
template <typename T>
void ReserveOneMore(std::vector<T>& items) {
  if (items.size() == items.capacity())
    items.reserve(std::max<std::size_t>(1, items.capacity() * 2));
}

} // namespace

int GridCore::InsertColumn(const std::string& heading, U32 format, int column) {
  if (column >= 0 && (column < FixedCols || column > ColCount))
    return -1;
  TopLeftCell = {};
  ResetSelectedRange();
  if (RowCount == 0 && !SetRowCount(1))
    return -1;
  const int at = column < 0 ? ColCount : column;
  try {
    // Make everything first, so that running out of memory leaves the grid as it was.
    std::vector<std::unique_ptr<CGridCellBase>> cells;
    if (!VirtualMode) {
      cells.reserve(static_cast<std::size_t>(RowCount));
      for (int row = 0; row < RowCount; ++row)
        cells.push_back(CreateCell(row, at));
      for (auto& cells_of_row : Rows)
        ReserveOneMore(cells_of_row);
    }
    ReserveOneMore(ColWidths);
    for (std::size_t row = 0; row < cells.size(); ++row)
      Rows[row].insert(Rows[row].begin() + at, std::move(cells[row]));
    ColWidths.insert(ColWidths.begin() + at, GetDefaultCell(false, false)->GetWidth());
    ++ColCount;
  } catch (const std::bad_alloc&) {
    return -1;
  }
  SetItemText(0, at, heading);
  for (int row = 0; row < RowCount; ++row)
    SetItemFormat(row, at, format);
  SetColumnWidth(at, GetTextExtent(0, at, heading).Width);
  ResetScrollBars();
  SetModified(true);
  return at;
}

int GridCore::InsertRow(const std::string& heading, int row) {
  if (row >= 0 && (row < FixedRows || row >= RowCount))
    return -1;
  TopLeftCell = {};
  ResetSelectedRange();
  if (ColCount == 0 && !SetColumnCount(1))
    return -1;
  const int at = row < 0 ? RowCount : row;
  try {
    std::vector<std::unique_ptr<CGridCellBase>> cells;
    if (!VirtualMode) {
      cells.reserve(static_cast<std::size_t>(ColCount));
      for (int col = 0; col < ColCount; ++col)
        cells.push_back(CreateCell(at, col));
      ReserveOneMore(Rows);
    }
    ReserveOneMore(RowHeights);
    if (!VirtualMode)
      Rows.insert(Rows.begin() + at, std::move(cells));
    RowHeights.insert(RowHeights.begin() + at, GetDefaultCell(false, false)->GetHeight());
    ++RowCount;
  } catch (const std::bad_alloc&) {
    return -1;
  }
  SetItemText(at, 0, heading);
  SetRowHeight(at, heading.empty() ? GetDefaultCell(true, false)->GetHeight() : GetTextExtent(at, 0, heading).Height);
  ResetScrollBars();
  SetModified(true);
  return at;
}

bool GridCore::DeleteRow(int row) {
  if (row < 0 || row >= RowCount)
    return false;
  ResetSelectedRange();
  TopLeftCell = {};
  if (!VirtualMode) {
    for (int col = 0; col < ColCount; ++col)
      DestroyCell(row, col);
    Rows.erase(Rows.begin() + row);
  }
  RowHeights.erase(RowHeights.begin() + row);
  --RowCount;
  if (row < FixedRows)
    --FixedRows;
  ResetScrollBars();
  SetModified(true);
  return true;
}

bool GridCore::SetItem(const GridItem* item) {
  if (item == nullptr || VirtualMode)
    return false;
  CGridCellBase* cell = GetCell(item->Row, item->Col);
  if (cell == nullptr)
    return false;
  SetModified(true, item->Row, item->Col);
  const U32 mask = item->Mask;
  if ((mask & GridItemMask::Text) != 0)
    cell->SetText(item->Text);
  if ((mask & GridItemMask::Param) != 0)
    cell->SetData(item->Param);
  if ((mask & GridItemMask::Image) != 0)
    cell->SetImage(item->Image);
  if ((mask & GridItemMask::State) != 0)
    SetItemState(item->Row, item->Col, item->State);
  if ((mask & GridItemMask::Format) != 0)
    cell->SetFormat(item->Format);
  if ((mask & GridItemMask::BackClr) != 0)
    cell->SetBackClr(item->BackClr);
  if ((mask & GridItemMask::TextClr) != 0)
    cell->SetTextClr(item->TextClr);
  if ((mask & GridItemMask::Font) != 0)
    cell->SetFont(&item->Font);
  if ((mask & GridItemMask::Margin) != 0)
    cell->SetMargin(item->Margin);
  return true;
}

bool GridCore::GetItem(GridItem* item) const {
  if (item == nullptr)
    return false;
  const CGridCellBase* cell = GetCell(item->Row, item->Col);
  if (cell == nullptr)
    return false;
  const U32 mask = item->Mask;
  if ((mask & GridItemMask::Text) != 0)
    item->Text = GetItemText(item->Row, item->Col);
  if ((mask & GridItemMask::Param) != 0)
    item->Param = cell->GetData();
  if ((mask & GridItemMask::Image) != 0)
    item->Image = cell->GetImage();
  if ((mask & GridItemMask::State) != 0)
    item->State = cell->GetState();
  if ((mask & GridItemMask::Format) != 0)
    item->Format = cell->GetFormat();
  if ((mask & GridItemMask::BackClr) != 0)
    item->BackClr = cell->GetBackClr();
  if ((mask & GridItemMask::TextClr) != 0)
    item->TextClr = cell->GetTextClr();
  if ((mask & GridItemMask::Font) != 0 && cell->GetFont() != nullptr)
    item->Font = *cell->GetFont();
  if ((mask & GridItemMask::Margin) != 0)
    item->Margin = cell->GetMargin();
  return true;
}

void GridCore::AutoSizeColumns(int style) {
  for (int col = 0; col < ColCount; ++col)
    if (GetColumnWidth(col) > 0)
      AutoSizeColumn(col, style, false);
  ResetScrollBars();
}

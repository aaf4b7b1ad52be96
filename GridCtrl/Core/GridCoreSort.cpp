#include "GridCtrl/Core/GridCore.h"

#include <utility>

namespace {

// Sorts rows [low, high] by the cells of one column. The pivot is the middle row's
// cell object, compared by content, so it keeps its value while rows move. Rows that
// compare equal are not exchanged.
class RowSorter {
public:
  RowSorter(std::vector<std::vector<std::unique_ptr<CGridCellBase>>>& rows, std::vector<int>& heights, int col,
            bool ascending, const GridCore::CompareFunction& compare, std::intptr_t data)
      : Rows(rows), Heights(heights), Col(static_cast<std::size_t>(col)), Ascending(ascending), Compare(compare),
        Data(data) {}

  void Sort(int low, int high) {
    // Recurse into the smaller part and loop over the larger, so crafted orders cannot
    // run the stack out; the parts are disjoint, so the result is the same.
    while (low < high) {
      const auto [lo, hi] = Partition(low, high);
      if (hi - low < high - lo) {
        if (low < hi)
          Sort(low, hi);
        low = lo;
      } else {
        if (lo < high)
          Sort(lo, high);
        high = hi;
      }
    }
  }

private:
  const CGridCellBase* Cell(int row) const { return Rows[static_cast<std::size_t>(row)][Col].get(); }
  int Order(const CGridCellBase* first, const CGridCellBase* second) const {
    const int result = Compare(first, second, Data);
    return Ascending ? result : -result;
  }

  std::pair<int, int> Partition(int low, int high) {
    const CGridCellBase* pivot = Cell(low + (high - low) / 2);
    int lo = low;
    int hi = high;
    while (lo <= hi) {
      while (lo < high && Order(Cell(lo), pivot) < 0)
        ++lo;
      while (hi > low && Order(Cell(hi), pivot) > 0)
        --hi;
      if (lo <= hi) {
        if (Compare(Cell(lo), Cell(hi), Data) != 0) {
          std::swap(Rows[static_cast<std::size_t>(lo)], Rows[static_cast<std::size_t>(hi)]);
          std::swap(Heights[static_cast<std::size_t>(lo)], Heights[static_cast<std::size_t>(hi)]);
        }
        ++lo;
        --hi;
      }
    }
    return {lo, hi};
  }

  std::vector<std::vector<std::unique_ptr<CGridCellBase>>>& Rows;
  std::vector<int>& Heights;
  std::size_t Col;
  bool Ascending;
  const GridCore::CompareFunction& Compare;
  std::intptr_t Data;
};

} // namespace

int GridCore::CompareCellText(const CGridCellBase* first, const CGridCellBase* second, std::intptr_t /*data*/) {
  if (first == nullptr || second == nullptr)
    return 0;
  // std::string compares bytes as unsigned characters.
  const int result = first->GetText().compare(second->GetText());
  return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

bool GridCore::SortTextItems(int col, bool ascending, std::intptr_t data) {
  if (Compare)
    return SortItems(Compare, col, ascending, data);
  return SortItems(&GridCore::CompareCellText, col, ascending, data);
}

bool GridCore::SortItems(const CompareFunction& compare, int col, bool ascending, std::intptr_t data) {
  // A virtual grid keeps no rows to move; its owner holds the data.
  if (VirtualMode || !compare)
    return false;
  SetSortColumn(col);
  SortAscending = ascending;
  ResetSelectedRange();
  SetFocusCell(-1, -1);
  if (col < 0 || col >= ColCount || RowCount - FixedRows <= 1)
    return false;
  RowSorter(Rows, RowHeights, col, ascending, compare, data).Sort(FixedRows, RowCount - 1);
  return true;
}

// Pastes arbitrary text into a small grid whose owner refuses some cells and may shrink
// the grid while it is told, then checks that every cell holds either its old text or one
// clean pasted field.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/GridCtrl/GridFakes.h"

namespace {

constexpr int Rows = 8;
constexpr int Cols = 6;

class FuzzOwner : public GridOwner {
public:
  FuzzOwner(GridCore& grid, std::uint8_t script) : Grid(grid), Script(script) {}
  long OnGridNotify(GridNotify& notify) override {
    ++Count;
    if ((Script & 0x01) != 0 && notify.Code == LVN_BEGINLABELEDITA && (notify.Row + notify.Col) % 3 == 0)
      return -1;
    if ((Script & 0x02) != 0 && notify.Code == LVN_ENDLABELEDITA && notify.Col % 2 == 0)
      return -1;
    if ((Script & 0x04) != 0 && Count == 5)
      Grid.SetRowCount(Rows / 2);
    return 0;
  }

private:
  GridCore& Grid;
  std::uint8_t Script;
  int Count = 0;
};

bool IsCleanField(const std::string& text) {
  if (text.find_first_of("\t,\n\0", 0, 4) != std::string::npos)
    return false;
  const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  return text.empty() || (!blank(text.front()) && !blank(text.back()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3)
    return 0;
  Ostra::Test::BasicTestGrid<> t(Rows, Cols);
  FuzzOwner owner(t.Grid, data[0]);
  t.Grid.SetGridOwner(&owner);
  // Hide a row and a column, lock a cell, and pick the paste target.
  t.Grid.SetRowHeight(1 + data[1] % (Rows - 1), 0);
  t.Grid.SetColumnWidth(1 + (data[1] >> 4) % (Cols - 1), 0);
  t.Grid.SetItemState(2, 2, t.Grid.GetItemState(2, 2) | GridItemState::ReadOnly);
  const CCellID top_left(1 + data[2] % (Rows - 1), 1 + (data[2] >> 4) % (Cols - 1));
  const std::string text(reinterpret_cast<const char*>(data) + 3, size - 3);

  t.Grid.PasteTextToGrid(top_left, text, (data[0] & 0x08) != 0);

  for (int row = 0; row < t.Grid.GetRowCount(); ++row)
    for (int col = 0; col < t.Grid.GetColumnCount(); ++col) {
      const std::string cell = t.Grid.GetItemText(row, col);
      if (cell != "r" + std::to_string(row) + "c" + std::to_string(col) && !IsCleanField(cell))
        std::abort();
    }
  const CCellRange selected = t.Grid.GetSelectedCellRange();
  if (selected.IsValid() && !t.Grid.IsValid(selected))
    std::abort();
  return 0;
}

// Loads arbitrary delimited text into a grid (the first byte is the delimiter), checks
// that the grid stays within its cell budget, and that saving and loading again gives
// the same cells when no carriage return can be taken for a line end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "GridCtrl/Core/GridCore.h"
#include "GridCtrl/Core/GridTextFile.h"

namespace {

constexpr std::size_t MaxCells = 20000;

std::vector<std::string> Cells(const GridCore& grid) {
  std::vector<std::string> cells;
  for (int row = 0; row < grid.GetRowCount(); ++row)
    for (int col = 0; col < grid.GetColumnCount(); ++col)
      cells.push_back(grid.GetItemText(row, col));
  return cells;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0)
    return 0;
  const char delimiter = static_cast<char>(data[0]);
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  GridCore grid;
  std::istringstream in(text);
  const bool loaded = grid.LoadText(in, delimiter, MaxCells);
  const std::size_t cells =
      static_cast<std::size_t>(grid.GetRowCount()) * static_cast<std::size_t>(grid.GetColumnCount());
  if (cells > MaxCells)
    std::abort();
  if (!loaded || delimiter == '\n' || delimiter == '\r' || text.find('\r') != std::string::npos)
    return 0;

  GridCore again;
  std::istringstream saved(FormatGridText(grid, delimiter));
  if (!again.LoadText(saved, delimiter, MaxCells) || Cells(again) != Cells(grid))
    std::abort();
  return 0;
}

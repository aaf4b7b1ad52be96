#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "DocView/Core/LpGridRules.h"
#include "Papy/Lp/LpFile.h"
#include "Velmar/Core/LpEditCommands.h"

namespace Ostra::Velmar::CommandsTest {

// The LP grid as the commands see it, in memory: the texts a fill gives, a selection,
// and the fixed header row and longitude column that the grid's walk leaves out.
class MemoryGrid : public ILpGridAccess {
public:
  explicit MemoryGrid(const Papy::LpFile& lp)
      : Lp(&lp), Map(DocView::LayoutColumns(DocView::LpCapabilities::Of(lp))),
        Texts(lp.GetRecordCount() + 1, std::vector<std::string>(static_cast<std::size_t>(Map.Count()))) {
    for (int row = 1; row < static_cast<int>(Texts.size()); ++row)
      for (int col = 0; col < Map.Count(); ++col)
        Texts[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] =
            DocView::FormatCell(lp, Map, row - 1, col);
  }

  void Select(int row, int col) { Selected.insert({row, col}); }
  void SelectBlock(int minRow, int minCol, int maxRow, int maxCol) {
    for (int row = minRow; row <= maxRow; ++row)
      for (int col = minCol; col <= maxCol; ++col)
        Select(row, col);
  }

  GridRange GetSelectedCellRange() const override {
    GridRange range{static_cast<int>(Texts.size()), Map.Count(), -1, -1};
    for (const auto& [row, col] : Selected) {
      range.MinRow = std::min(range.MinRow, row);
      range.MinCol = std::min(range.MinCol, col);
      range.MaxRow = std::max(range.MaxRow, row);
      range.MaxCol = std::max(range.MaxCol, col);
    }
    return range;
  }
  GridCell GetNextSelectedCell(GridCell cell) const override {
    for (auto it = Selected.upper_bound({cell.Row, cell.Col}); it != Selected.end(); ++it)
      if (it->first >= 1 && it->second >= 1)
        return {it->first, it->second};
    return {};
  }
  std::string GetItemText(int row, int col) const override {
    return Texts.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(col));
  }
  void SetItemText(int row, int col, const std::string& text) override {
    Texts.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(col)) = text;
  }
  bool IsCellEditable(int row, int col) const override {
    return DocView::IsCellEditable(*Lp, Map, row, col);
  }
  DocView::LpColumnKind GetColumnKind(int col) const override { return Map.At(col).Kind; }
  void RefreshControlSpan(int record) override { SpanRefreshes.push_back(record); }

  const Papy::LpFile* Lp;
  DocView::LpColumnMap Map;
  std::vector<std::vector<std::string>> Texts;
  std::set<std::pair<int, int>> Selected;
  std::vector<int> SpanRefreshes;
};

} // namespace Ostra::Velmar::CommandsTest

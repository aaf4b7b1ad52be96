#include "GridFakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace Ostra::Test;
using Ostra::U32;

namespace {

// Column 1 holds the given keys in rows 1.., each row i (from 1) 20 + i high, with
// "h<i>" in its header cell so that one can see which row went where.
struct KeyedGrid : TestGrid {
  explicit KeyedGrid(const std::vector<std::string>& keys) : TestGrid(static_cast<int>(keys.size()) + 1, 3) {
    for (std::size_t i = 0; i < keys.size(); ++i) {
      const int row = static_cast<int>(i) + 1;
      Grid.SetItemText(row, 0, "h" + std::to_string(row));
      Grid.SetItemText(row, 1, keys[i]);
      Grid.SetRowHeight(row, 20 + row);
    }
  }
};

std::vector<std::string> Column(const GridCore& grid, int col) {
  std::vector<std::string> texts;
  for (int row = grid.GetFixedRowCount(); row < grid.GetRowCount(); ++row)
    texts.push_back(grid.GetItemText(row, col));
  return texts;
}

TEST(GridSort, RowsMoveWholeWithTheirHeightsAndTheFixedRowsStay) {
  struct Case {
    bool Ascending;
    std::vector<std::string> Keys, Headers;
  };
  for (const Case& c : {Case{true, {"a", "b", "c"}, {"h2", "h1", "h3"}},
                        Case{false, {"c", "b", "a"}, {"h3", "h1", "h2"}}}) {
    SCOPED_TRACE(c.Ascending);
    KeyedGrid t({"b", "a", "c"});
    ASSERT_TRUE(t.Grid.SortTextItems(1, c.Ascending));
    EXPECT_EQ(Column(t.Grid, 1), c.Keys);
    EXPECT_EQ(Column(t.Grid, 0), c.Headers);
    for (int row = 1; row <= 3; ++row)
      EXPECT_EQ(t.Grid.GetRowHeight(row), 20 + std::stoi(t.Grid.GetItemText(row, 0).substr(1)));
    EXPECT_EQ(t.Grid.GetItemText(0, 1), "r0c1");
    EXPECT_EQ(t.Grid.GetSortColumn(), 1);
    EXPECT_EQ(t.Grid.GetSortAscending(), c.Ascending);
  }
}

TEST(GridSort, AgreesWithAStableReferenceOnManyKeysWithRepeats) {
  std::mt19937 random(7);
  std::vector<std::string> keys;
  for (int i = 0; i < 1500; ++i)
    keys.push_back(std::string(1, static_cast<char>('a' + random() % 20)) + static_cast<char>('A' + random() % 3));
  // Bytes compare unsigned: a UTF-8 lead byte sorts after ASCII.
  keys.push_back("\xc3\xa9");
  keys.push_back("Z");
  KeyedGrid t(keys);
  for (const bool ascending : {true, false}) {
    ASSERT_TRUE(t.Grid.SortTextItems(1, ascending));
    std::vector<std::string> expected = keys;
    std::sort(expected.begin(), expected.end());
    if (!ascending)
      std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(Column(t.Grid, 1), expected);
  }
}

TEST(GridSort, TheGridsCompareFunctionReplacesTheTextOrder) {
  KeyedGrid t({"10", "9", "100"});
  t.Grid.SetCompareFunction([](const CGridCellBase* a, const CGridCellBase* b, std::intptr_t data) {
    EXPECT_EQ(data, 42);
    return std::stoi(a->GetText()) - std::stoi(b->GetText());
  });
  ASSERT_TRUE(t.Grid.SortTextItems(1, true, 42));
  EXPECT_EQ(Column(t.Grid, 1), (std::vector<std::string>{"9", "10", "100"}));
}

TEST(GridSort, RefusesWhatCannotBeSortedAfterClearingSelectionAndFocus) {
  struct Case {
    const char* Name;
    int Rows, Col;
  };
  for (const Case& c : {Case{"column past the end", 5, 3}, {"negative column", 5, -1}, {"one row", 2, 1}}) {
    SCOPED_TRACE(c.Name);
    TestGrid t(c.Rows, 3);
    t.Grid.SetFocusCell(1, 1);
    t.Grid.SetSelectedRange(1, 1, 1, 2);
    EXPECT_FALSE(t.Grid.SortTextItems(c.Col, true));
    EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(-1, -1));
    EXPECT_EQ(t.Grid.GetSelectedCount(), 0u);
  }
}

TEST(GridSort, AVirtualGridIsNotSorted) {
  TestGrid t(5, 3);
  t.Grid.SetVirtualMode(true);
  t.Grid.SetRowCount(5);
  t.Grid.SetColumnCount(3);
  t.Grid.SetFixedRowCount(1);
  EXPECT_FALSE(t.Grid.SortTextItems(1, true));
  EXPECT_FALSE(t.Grid.SortItems(&GridCore::CompareCellText, 1, true));
  EXPECT_EQ(t.Grid.GetSortColumn(), -1);
  EXPECT_EQ(t.Grid.GetItemText(1, 1), "r1c1");
}

TEST(GridSort, HeaderClicksSortAndASecondClickReverses) {
  KeyedGrid t({"b", "a", "c"});
  t.Grid.SetHeaderSort(true);
  t.Click(0, 1);
  EXPECT_EQ(Column(t.Grid, 1), (std::vector<std::string>{"a", "b", "c"}));
  // The header click still selects the column afterwards.
  EXPECT_TRUE(t.Grid.IsCellSelected(2, 1));
  t.Click(0, 1);
  EXPECT_EQ(Column(t.Grid, 1), (std::vector<std::string>{"c", "b", "a"}));
  EXPECT_FALSE(t.Grid.GetSortAscending());
  // Another column starts ascending again.
  t.Click(0, 2);
  EXPECT_TRUE(t.Grid.GetSortAscending());
  EXPECT_EQ(t.Grid.GetSortColumn(), 2);

  KeyedGrid off({"b", "a"});
  off.Click(0, 1);
  EXPECT_EQ(Column(off.Grid, 1), (std::vector<std::string>{"b", "a"}));
}

// ---- Inserting and deleting ----

TEST(GridInsert, ColumnsGoOnlyIntoTheNonFixedAreaOrAtTheEnd) {
  struct Case {
    int At, Expected;
  };
  for (const Case& c : {Case{-1, 4}, {0, -1}, {1, 1}, {3, 3}, {4, 4}, {5, -1}}) {
    SCOPED_TRACE(c.At);
    TestGrid t(3, 4, 1, 1);
    EXPECT_EQ(t.Grid.InsertColumn("New", GridFormat::Right, c.At), c.Expected);
    if (c.Expected < 0) {
      EXPECT_EQ(t.Grid.GetColumnCount(), 4);
      continue;
    }
    ASSERT_EQ(t.Grid.GetColumnCount(), 5);
    EXPECT_EQ(t.Grid.GetItemText(0, c.Expected), "New");
    EXPECT_EQ(t.Grid.GetItemText(1, c.Expected), "");
    for (int row = 0; row < 3; ++row)
      EXPECT_EQ(t.Grid.GetItemFormat(row, c.Expected), GridFormat::Right);
    // Eight pixels a character plus a margin of one space each side.
    EXPECT_EQ(t.Grid.GetColumnWidth(c.Expected), 3 * 8 + 2 * 8);
    // The old cells and widths moved right with their column.
    const int moved = c.Expected + 1;
    if (moved < 5) {
      EXPECT_EQ(t.Grid.GetItemText(2, moved), "r2c" + std::to_string(c.Expected));
      EXPECT_EQ(t.Grid.GetColumnWidth(moved), 50);
    }
    EXPECT_EQ(t.Grid.GetItemState(1, c.Expected) & GridItemState::FixedCol, 0u);
  }
}

TEST(GridInsert, RowsGoOnlyIntoTheNonFixedArea) {
  struct Case {
    int At, Expected;
  };
  for (const Case& c : {Case{-1, 4}, {0, -1}, {1, 1}, {3, 3}, {4, -1}}) {
    SCOPED_TRACE(c.At);
    TestGrid t(4, 3, 1, 1);
    EXPECT_EQ(t.Grid.InsertRow("Row", c.At), c.Expected);
    if (c.Expected < 0) {
      EXPECT_EQ(t.Grid.GetRowCount(), 4);
      continue;
    }
    ASSERT_EQ(t.Grid.GetRowCount(), 5);
    EXPECT_EQ(t.Grid.GetItemText(c.Expected, 0), "Row");
    EXPECT_EQ(t.Grid.GetItemState(c.Expected, 0) & 0x70u, GridItemState::Fixed | GridItemState::FixedCol);
    EXPECT_EQ(t.Grid.GetRowHeight(c.Expected), 16 + 2 * 8);
    if (c.Expected + 1 < 5) {
      EXPECT_EQ(t.Grid.GetItemText(c.Expected + 1, 2), "r" + std::to_string(c.Expected) + "c2");
    }
  }
}

TEST(GridInsert, AnEmptyHeadingTakesTheFixedRowHeightAndAnEmptyGridGetsACell) {
  TestGrid t(3, 3, 1, 1);
  t.Grid.GetDefaultCell(true, false)->SetHeight(27);
  EXPECT_EQ(t.Grid.GetRowHeight(t.Grid.InsertRow("")), 27);

  GridCore empty;
  EXPECT_EQ(empty.InsertColumn("A"), 0);
  EXPECT_EQ(empty.GetRowCount(), 1);
  EXPECT_EQ(empty.GetItemText(0, 0), "A");
  GridCore no_columns;
  EXPECT_EQ(no_columns.InsertRow("R"), 0);
  EXPECT_EQ(no_columns.GetColumnCount(), 1);
  EXPECT_EQ(no_columns.GetItemText(0, 0), "R");
}

TEST(GridDelete, DeletingARowShiftsTheRestAndClearsTheFocus) {
  TestGrid t(5, 3, 2, 1);
  t.Grid.SetFocusCell(3, 1);
  t.Grid.SetRowHeight(4, 33);
  EXPECT_TRUE(t.Grid.DeleteRow(3));
  EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(-1, -1));
  EXPECT_EQ(t.Grid.GetRowCount(), 4);
  EXPECT_EQ(t.Grid.GetItemText(3, 1), "r4c1");
  EXPECT_EQ(t.Grid.GetRowHeight(3), 33);
  EXPECT_EQ(t.Grid.GetFixedRowCount(), 2);

  // A fixed row takes the fixed count down with it.
  EXPECT_TRUE(t.Grid.DeleteRow(0));
  EXPECT_EQ(t.Grid.GetFixedRowCount(), 1);
  EXPECT_EQ(t.Grid.GetItemText(0, 1), "r1c1");
  EXPECT_EQ(t.Grid.GetItemText(1, 1), "r2c1");

  for (const int row : {-1, 3, 99})
    EXPECT_FALSE(t.Grid.DeleteRow(row)) << row;
  EXPECT_EQ(t.Grid.GetRowCount(), 3);
}

// ---- Item records ----

TEST(GridItems, AFullRecordComesBackAsItWasSet) {
  TestGrid t(3, 3);
  GridItem in;
  in.Row = 1;
  in.Col = 2;
  in.Mask = GridItemMask::All;
  in.Text = "text";
  in.Param = 77;
  in.Image = 3;
  in.State = GridItemState::ReadOnly;
  in.Format = GridFormat::Right;
  in.BackClr = GridRGB(1, 2, 3);
  in.TextClr = GridRGB(4, 5, 6);
  in.Font = GridFontDesc{"Serif", 20, 700, true};
  in.Margin = 5;
  t.Grid.SetModified(false);
  ASSERT_TRUE(t.Grid.SetItem(&in));
  EXPECT_TRUE(t.Grid.GetModified());

  GridItem out;
  out.Row = 1;
  out.Col = 2;
  out.Mask = GridItemMask::All;
  ASSERT_TRUE(t.Grid.GetItem(&out));
  EXPECT_EQ(out.Text, in.Text);
  EXPECT_EQ(out.Param, in.Param);
  EXPECT_EQ(out.Image, in.Image);
  // The state is set after the modified mark, so the record's state wins.
  EXPECT_EQ(out.State, in.State);
  EXPECT_EQ(out.Format, in.Format);
  EXPECT_EQ(out.BackClr, in.BackClr);
  EXPECT_EQ(out.TextClr, in.TextClr);
  EXPECT_EQ(out.Font, in.Font);
  EXPECT_EQ(out.Margin, in.Margin);
}

TEST(GridItems, OnlyTheMaskedFieldsTravel) {
  TestGrid t(3, 3);
  GridItem in;
  in.Row = 1;
  in.Col = 1;
  in.Mask = GridItemMask::Text | GridItemMask::TextClr;
  in.Text = "new";
  in.TextClr = 5;
  in.BackClr = 9;
  ASSERT_TRUE(t.Grid.SetItem(&in));
  EXPECT_EQ(t.Grid.GetItemBkColour(1, 1), GridClrDefault);

  GridItem out;
  out.Row = 1;
  out.Col = 1;
  out.Mask = GridItemMask::Text | GridItemMask::Format;
  ASSERT_TRUE(t.Grid.GetItem(&out));
  EXPECT_EQ(out.Text, "new");
  // Resolved through the default cell.
  EXPECT_EQ(out.Format, GridFormat::Default);
  EXPECT_EQ(out.TextClr, GridClrDefault);
  EXPECT_EQ(out.Param, 0);
}

TEST(GridItems, RecordsForMissingCellsAreRefused) {
  TestGrid t(3, 3);
  GridItem item;
  item.Mask = GridItemMask::Text;
  item.Text = "x";
  for (const auto& [row, col] : {std::pair{-1, 0}, {3, 0}, {0, 3}}) {
    item.Row = row;
    item.Col = col;
    EXPECT_FALSE(t.Grid.SetItem(&item));
    EXPECT_FALSE(t.Grid.GetItem(&item));
  }
  EXPECT_FALSE(t.Grid.SetItem(nullptr));
  EXPECT_FALSE(t.Grid.GetItem(nullptr));
  item.Row = item.Col = 1;
  t.Grid.SetVirtualMode(true);
  t.Grid.SetRowCount(3);
  t.Grid.SetColumnCount(3);
  EXPECT_FALSE(t.Grid.SetItem(&item));
}

} // namespace

#include "GridFakes.h"

#include <gtest/gtest.h>

#include <functional>

using namespace Ostra::Test;
using Ostra::U32;

namespace {

TEST(GridModel, AnEmptyGridHasNoCells) {
  GridCore grid(0, 0, 0, 0);
  EXPECT_EQ(grid.GetItemText(0, 0), "");
  EXPECT_FALSE(grid.SetItemText(0, 0, "x"));
  EXPECT_EQ(grid.GetCell(0, 0), nullptr);
}

TEST(GridModel, CellAccessOutsideTheGridGivesEmptyResults) {
  GridCore grid(3, 3, 1, 1);
  for (const auto& [row, col] : {std::pair{-1, 0}, {0, -1}, {3, 0}, {0, 3}, {-1, -1}}) {
    SCOPED_TRACE(testing::Message() << row << ", " << col);
    EXPECT_EQ(grid.GetItemText(row, col), "");
    EXPECT_FALSE(grid.SetItemText(row, col, "x"));
    EXPECT_EQ(grid.GetItemState(row, col), 0u);
    EXPECT_FALSE(grid.SetItemBkColour(row, col, 1));
  }
}

TEST(GridModel, NewCellsCarryTheFixedBitsOfTheirArea) {
  GridCore grid(3, 3, 1, 1);
  struct Case {
    int Row, Col;
    U32 State;
  };
  for (const Case& c : {Case{0, 0, 0x70}, {0, 2, 0x30}, {2, 0, 0x50}, {2, 2, 0x00}}) {
    SCOPED_TRACE(testing::Message() << c.Row << ", " << c.Col);
    EXPECT_EQ(grid.GetItemState(c.Row, c.Col), c.State);
    EXPECT_EQ(grid.GetCell(c.Row, c.Col)->GetFormat(), GridFormat::Default);
  }
}

TEST(GridModel, SettingTheSameRowCountChangesNothing) {
  GridCore grid(5, 3, 1, 1);
  grid.SetModified(false);
  EXPECT_TRUE(grid.SetRowCount(5));
  EXPECT_FALSE(grid.GetModified());
  EXPECT_TRUE(grid.SetRowCount(6));
  EXPECT_TRUE(grid.GetModified());
}

TEST(GridModel, ShrinkingClearsAFocusOutsideAndLowersTheFixedCount) {
  TestGrid t(10, 5, 3, 1);
  t.Grid.SetFocusCell(6, 2);
  ASSERT_EQ(t.Grid.GetFocusCell(), CCellID(6, 2));
  EXPECT_TRUE(t.Grid.SetRowCount(6));
  EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(-1, -1));
  EXPECT_TRUE(t.Grid.SetRowCount(2));
  EXPECT_EQ(t.Grid.GetFixedRowCount(), 2);
  EXPECT_EQ(t.Grid.GetItemText(1, 1), "r1c1");
  EXPECT_EQ(t.Grid.GetItemText(2, 1), "");
}

TEST(GridModel, AFixedRowCountAboveTheRowCountGrowsTheGrid) {
  GridCore grid(1, 2, 0, 0);
  EXPECT_TRUE(grid.SetFixedRowCount(2));
  EXPECT_EQ(grid.GetRowCount(), 2);
  EXPECT_EQ(grid.GetItemState(1, 1), 0x30u);
}

TEST(GridModel, FixedRowCountChangesMoveTheBitsAndResetColours) {
  GridCore grid(4, 3, 1, 1);
  grid.SetItemBkColour(1, 1, 0x123456);
  grid.SetItemBkColour(0, 1, 0x654321);
  grid.SetFocusCell(2, 2);
  ASSERT_TRUE(grid.SetFixedRowCount(2));
  // Row 1 entered the fixed area: its own colours are gone.
  EXPECT_EQ(grid.GetItemState(1, 1), 0x30u);
  EXPECT_EQ(grid.GetItemBkColour(1, 1), GridClrDefault);
  EXPECT_EQ(grid.GetItemState(1, 0), 0x70u);
  EXPECT_EQ(grid.GetFocusCell(), CCellID(-1, -1));

  ASSERT_TRUE(grid.SetFixedRowCount(0));
  EXPECT_EQ(grid.GetItemState(0, 1), 0x00u);
  EXPECT_EQ(grid.GetItemBkColour(0, 1), GridClrDefault);
  // In a fixed column only the fixed-row bit goes.
  EXPECT_EQ(grid.GetItemState(0, 0), 0x50u);
}

TEST(GridModel, ARefillWithUnchangedCountsKeepsSelectionAndFocus) {
  TestGrid t(10, 5);
  t.Grid.SetSelectedRange(2, 2, 3, 3);
  t.Grid.SetFocusCell(3, 3);
  for (const auto& set_counts : std::vector<std::function<bool(GridCore&)>>{
           [](GridCore& g) { return g.SetColumnCount(5); }, [](GridCore& g) { return g.SetRowCount(10); },
           [](GridCore& g) { return g.SetFixedColumnCount(1); }, [](GridCore& g) { return g.SetFixedRowCount(1); }})
    EXPECT_TRUE(set_counts(t.Grid));
  EXPECT_EQ(t.Grid.GetSelectedCellRange(), CCellRange(2, 2, 3, 3));
  EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(3, 3));
  // A changed fixed count starts over.
  EXPECT_TRUE(t.Grid.SetFixedColumnCount(2));
  EXPECT_EQ(t.Grid.GetSelectedCount(), 0u);
  EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(-1, -1));
}

TEST(GridModel, SetItemTextMarksTheCellAndTheGridModified) {
  GridCore grid(3, 3, 1, 1);
  grid.SetModified(false);
  EXPECT_TRUE(grid.SetItemText(1, 1, "x"));
  EXPECT_EQ(grid.GetItemText(1, 1), "x");
  EXPECT_TRUE(grid.GetModified());
  EXPECT_EQ(grid.GetItemState(1, 1) & GridItemState::Modified, GridItemState::Modified);
  EXPECT_EQ(grid.GetNextItem({-1, -1}, GridNextItemFlags::All | GridNextItemFlags::Modified), CCellID(1, 1));

  grid.SetModified(false);
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col)
      EXPECT_EQ(grid.GetItemState(row, col) & GridItemState::Modified, 0u);
}

TEST(GridModel, GetNextItemWalksTheSelectionInRowMajorOrder) {
  GridCore grid(5, 5, 1, 1);
  EXPECT_EQ(grid.GetNextItem({-1, -1}, 0xE02), CCellID(-1, -1));
  grid.SetItemState(1, 1, GridItemState::Selected);
  grid.SetItemState(2, 3, GridItemState::Selected);
  EXPECT_EQ(grid.GetNextItem({-1, -1}, 0xE02), CCellID(1, 1));
  EXPECT_EQ(grid.GetNextItem({1, 1}, 0xE02), CCellID(2, 3));
  EXPECT_EQ(grid.GetNextItem({2, 3}, 0xE02), CCellID(-1, -1));
}

TEST(GridModel, GetNextItemFollowsEachDirection) {
  GridCore grid(6, 6, 1, 1);
  for (const auto& [row, col] : {std::pair{1, 1}, {1, 4}, {3, 2}, {4, 4}, {5, 1}})
    grid.SetItemState(row, col, GridItemState::Selected);
  struct Case {
    CCellID Start;
    int Flags;
    CCellID Expected;
  };
  const Case cases[] = {
      {{3, 4}, 0x100 | 0x02, {1, 4}},  // up the column
      {{1, 4}, 0x100 | 0x02, {-1, -1}},
      {{1, 4}, 0x200 | 0x02, {4, 4}},  // down the column
      {{4, 4}, 0x400 | 0x02, {-1, -1}}, // left along the row
      {{1, 5}, 0x400 | 0x02, {1, 4}},
      {{1, 1}, 0x800 | 0x02, {1, 4}},  // right along the row
      {{1, 2}, 0xA00 | 0x02, {1, 4}},  // below and right only
      {{1, 2}, 0xA00 | 0x02, {1, 4}},
      {{1, 4}, 0xA00 | 0x02, {-1, -1}},
      {{1, 4}, 0xE00 | 0x02, {3, 2}},  // later rows start at the first non-fixed column
      {{2, 2}, 0x300 | 0x02, {-1, -1}}, // no such direction
      {{-1, -1}, 0xE00 | 0x10, {-1, -1}}, // fixed cells are never walked
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Start << " flags " << std::hex << c.Flags);
    EXPECT_EQ(grid.GetNextItem(c.Start, c.Flags), c.Expected);
  }
}

TEST(GridModel, SelectedCellRangeHasASentinelWhenNothingIsSelected) {
  GridCore grid(7, 4, 1, 1);
  EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(7, 4, -1, -1));
  EXPECT_FALSE(grid.GetSelectedCellRange().IsValid());
  grid.SetItemState(5, 1, GridItemState::Selected);
  grid.SetItemState(2, 3, GridItemState::Selected);
  EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(2, 1, 5, 3));
}

TEST(GridModel, SetItemStateOnACellOutsideTheGridLeavesTheSelectionAlone) {
  for (const bool virtual_mode : {false, true}) {
    SCOPED_TRACE(virtual_mode ? "virtual" : "stored");
    GridCore grid;
    grid.SetVirtualMode(virtual_mode);
    grid.SetRowCount(5);
    grid.SetColumnCount(3);
    EXPECT_FALSE(grid.SetItemState(-1, 0, GridItemState::Selected));
    EXPECT_FALSE(grid.SetItemState(5, 1, GridItemState::Selected));
    EXPECT_FALSE(grid.SetItemState(1, 70000, GridItemState::Selected));
    EXPECT_EQ(grid.GetSelectedCount(), 0u);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(5, 3, -1, -1));
  }
}

TEST(GridModel, RowsSixtyFiveThousandApartAreSelectedApart) {
  GridCore grid;
  grid.SetVirtualMode(true);
  grid.SetColumnCount(2);
  grid.SetRowCount(70000);
  grid.SetItemState(1, 1, GridItemState::Selected);
  grid.SetItemState(65537, 1, GridItemState::Selected);
  EXPECT_EQ(grid.GetSelectedCount(), 2u);
  EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(1, 1, 65537, 1));
  grid.SetItemState(65537, 1, 0);
  EXPECT_TRUE(grid.IsCellSelected(1, 1));
  EXPECT_FALSE(grid.IsCellSelected(65537, 1));
}

TEST(GridModel, ShrinkingAVirtualGridDropsSelectionOutsideIt) {
  GridCore grid;
  grid.SetVirtualMode(true);
  grid.SetColumnCount(4);
  grid.SetRowCount(10);
  grid.SetItemState(8, 1, GridItemState::Selected);
  grid.SetItemState(1, 3, GridItemState::Selected);
  grid.SetRowCount(5);
  EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(1, 3, 1, 3));
  grid.SetColumnCount(2);
  EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(5, 2, -1, -1));
}

TEST(GridModel, VirtualCellsComeFromTheOwnerWithSynthesisedState) {
  TestGrid t(0, 0, 0, 0, false);
  t.Grid.SetVirtualMode(true);
  t.Grid.SetColumnCount(4);
  t.Grid.SetRowCount(6);
  t.Grid.SetFixedRowCount(1);
  t.Grid.SetFixedColumnCount(1);
  t.Grid.SetItemState(2, 2, GridItemState::Selected);
  t.Grid.SetFocusCell(3, 3);
  t.Owner.Records.clear();
  struct Case {
    int Row, Col;
    U32 State;
  };
  for (const Case& c : {Case{0, 0, 0x70}, {0, 2, 0x30}, {2, 0, 0x50}, {2, 2, 0x02}, {3, 3, 0x01}, {4, 1, 0}}) {
    SCOPED_TRACE(testing::Message() << c.Row << ", " << c.Col);
    const CGridCellBase* cell = t.Grid.GetCell(c.Row, c.Col);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->GetState(), c.State);
    EXPECT_EQ(cell->GetText(), "r" + std::to_string(c.Row) + "c" + std::to_string(c.Col));
  }
  EXPECT_EQ(t.Owner.Records.size(), 6u);
  EXPECT_EQ(t.Owner.Records[0].Code, LVN_GETDISPINFOA);
}

TEST(GridModel, VirtualModeRefusesSettersAndSendsNothing) {
  TestGrid t(0, 0, 0, 0, false);
  t.Grid.SetVirtualMode(true);
  t.Grid.SetColumnCount(3);
  t.Grid.SetRowCount(3);
  t.Owner.Records.clear();
  EXPECT_FALSE(t.Grid.SetItemText(1, 1, "x"));
  EXPECT_FALSE(t.Grid.SetItemBkColour(1, 1, 5));
  EXPECT_TRUE(t.Owner.Records.empty());
  EXPECT_FALSE(t.Grid.IsEditable());
}

TEST(GridModel, ADisplayCallbackTakesPrecedenceOverTheOwner) {
  TestGrid t(0, 0, 0, 0, false);
  t.Grid.SetVirtualMode(true);
  t.Grid.SetColumnCount(2);
  t.Grid.SetRowCount(2);
  t.Grid.SetCallbackFunc(
      [](GridDisplayInfo* info, std::intptr_t param) {
        info->Item.Text = std::to_string(param + info->Item.Row);
        return true;
      },
      40);
  t.Owner.Records.clear();
  EXPECT_EQ(t.Grid.GetItemText(1, 0), "41");
  EXPECT_TRUE(t.Owner.Records.empty());
}

TEST(GridModel, NothingIsSentBeforeTheWindowExists) {
  RecordingOwner owner;
  GridCore grid(3, 3, 1, 1);
  grid.SetGridOwner(&owner);
  EXPECT_EQ(grid.SendMessageToParent(1, 1, LVN_BEGINLABELEDITA), 0);
  FakeHost host;
  host.Exists = false;
  grid.AttachHost(&host);
  EXPECT_EQ(grid.SendMessageToParent(1, 1, LVN_BEGINLABELEDITA), 0);
  EXPECT_TRUE(owner.Records.empty());
}

TEST(GridModel, EditableFollowsTheGridFlagAndTheReadOnlyBit) {
  GridCore grid(3, 3, 1, 1);
  EXPECT_TRUE(grid.IsCellEditable(1, 1));
  grid.SetItemState(1, 1, GridItemState::ReadOnly);
  EXPECT_FALSE(grid.IsCellEditable(1, 1));
  EXPECT_TRUE(grid.IsCellEditable(2, 2));
  grid.SetEditable(false);
  EXPECT_FALSE(grid.IsCellEditable(2, 2));
}

TEST(GridModel, ACellTypeChangeKeepsTheCellsContents) {
  struct Marked : CGridCell {};
  GridCore grid(3, 3, 1, 1);
  grid.SetItemText(2, 2, "keep");
  grid.SetItemBkColour(2, 2, 0x112233);
  ASSERT_TRUE(grid.SetCellType(2, 2, [] { return std::make_unique<Marked>(); }));
  EXPECT_NE(dynamic_cast<Marked*>(grid.GetCell(2, 2)), nullptr);
  EXPECT_EQ(grid.GetItemText(2, 2), "keep");
  EXPECT_EQ(grid.GetItemBkColour(2, 2), 0x112233u);
  EXPECT_FALSE(grid.SetCellType(5, 5, [] { return std::make_unique<Marked>(); }));
}

TEST(GridModel, DeleteAllItemsEmptiesTheGrid) {
  GridCore grid(5, 5, 1, 1);
  grid.SetItemState(2, 2, GridItemState::Selected);
  grid.DeleteAllItems();
  EXPECT_EQ(grid.GetRowCount(), 0);
  EXPECT_EQ(grid.GetColumnCount(), 0);
  EXPECT_EQ(grid.GetFixedRowCount(), 0);
  EXPECT_EQ(grid.GetSelectedCount(), 0u);
}


TEST(GridModel, ShrinkingColumnsDropsTheirCellsSelectionAndFocus) {
  TestGrid t(6, 6, 1, 3);
  t.Grid.SetFocusCell(2, 4);
  t.Grid.SetSelectedRange(1, 3, 3, 5);
  ASSERT_EQ(t.Grid.GetSelectedCount(), 9u);
  EXPECT_TRUE(t.Grid.SetColumnCount(5));
  EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(2, 4));
  EXPECT_EQ(t.Grid.GetSelectedCellRange(), CCellRange(1, 3, 3, 4));
  EXPECT_EQ(t.Grid.GetItemText(1, 5), "");
  EXPECT_TRUE(t.Grid.SetColumnCount(4));
  EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(-1, -1));
  EXPECT_EQ(t.Grid.GetSelectedCellRange(), CCellRange(1, 3, 3, 3));
  EXPECT_EQ(t.Grid.GetNextItem({-1, -1}, 0xE02), CCellID(1, 3));
  EXPECT_TRUE(t.Grid.SetColumnCount(2));
  EXPECT_EQ(t.Grid.GetFixedColumnCount(), 2);
  EXPECT_EQ(t.Grid.GetSelectedCellRange(), CCellRange(6, 2, -1, -1));
  EXPECT_EQ(t.Grid.GetItemText(1, 1), "r1c1");
  // A new column takes the fixed-column default width, not the last one's.
  t.Grid.GetDefaultCell(false, true)->SetWidth(77);
  EXPECT_TRUE(t.Grid.SetColumnCount(3));
  EXPECT_EQ(t.Grid.GetColumnWidth(2), 77);
  EXPECT_EQ(t.Grid.GetItemState(1, 2), 0u);
}

TEST(GridModel, FixedColumnCountChangesMoveTheBits) {
  struct Case {
    int Row, Col;
    U32 State;
  };
  GridCore grid(3, 4, 1, 2);
  grid.SetItemBkColour(1, 2, 0x123456);
  ASSERT_TRUE(grid.SetFixedColumnCount(3));
  for (const Case& c : {Case{0, 2, 0x70}, {1, 2, 0x50}, {1, 3, 0x00}}) {
    SCOPED_TRACE(testing::Message() << c.Row << ", " << c.Col);
    EXPECT_EQ(grid.GetItemState(c.Row, c.Col), c.State);
  }
  EXPECT_EQ(grid.GetItemBkColour(1, 2), GridClrDefault);
  ASSERT_TRUE(grid.SetFixedColumnCount(1));
  for (const Case& c : {Case{0, 0, 0x70}, {0, 1, 0x30}, {0, 2, 0x30}, {1, 1, 0x00}, {2, 2, 0x00}}) {
    SCOPED_TRACE(testing::Message() << c.Row << ", " << c.Col);
    EXPECT_EQ(grid.GetItemState(c.Row, c.Col), c.State);
  }
}

} // namespace

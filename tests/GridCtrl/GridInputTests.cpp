#include "GridFakes.h"

#include <gtest/gtest.h>

#include <functional>

using namespace Ostra::Test;

namespace {

constexpr Ostra::U32 Shift = GridKeyFlags::Shift;
constexpr Ostra::U32 Ctrl = GridKeyFlags::Control;

class DragRecordingGrid : public GridCore {
public:
  void OnBeginDrag() override { ++Drags; }
  void ShowTitleTip(const GridRect& text_rect, const std::string& text, const GridRect& hover_rect,
                    const GridFontDesc* /*font*/) override {
    Tips.push_back(text);
    TipRects.push_back(text_rect);
    HoverRects.push_back(hover_rect);
  }
  std::vector<std::string> Tips;
  std::vector<GridRect> TipRects;
  std::vector<GridRect> HoverRects;
  void CutSelectedText() override { ++Cuts; }
  int Drags = 0;
  int Cuts = 0;
};

TEST(GridMouse, AClickSelectsExactlyTheCellAndNotifiesInOrder) {
  TestGrid t(100, 10);
  t.Click(2, 3);
  EXPECT_EQ(t.Selected(), (std::vector<CCellID>{{2, 3}}));
  EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(2, 3));
  EXPECT_EQ(t.Owner.Plain(), (std::vector<NotifyRecord>{
                                 {LVN_ITEMCHANGING, 2, 3}, {LVN_ITEMCHANGED, 2, 3}, {NM_CLICK, 2, 3}}));
  EXPECT_EQ(t.Host.ClickCommands, 1);
  EXPECT_FALSE(t.Host.Captured);
  EXPECT_EQ(t.Host.TimerMilliseconds, 0);
}

TEST(GridMouse, ShiftExtendsFromTheAnchorAndCtrlAddsOrRemovesOneCell) {
  TestGrid t(100, 10);
  t.Click(2, 2);
  t.Click(4, 4, Shift);
  EXPECT_EQ(t.Grid.GetSelectedCellRange(), CCellRange(2, 2, 4, 4));
  EXPECT_EQ(t.Selected().size(), 9u);

  t.Click(6, 1);
  t.Click(8, 3, Ctrl);
  EXPECT_EQ(t.Selected(), (std::vector<CCellID>{{6, 1}, {8, 3}}));
  t.Click(6, 1, Ctrl);
  EXPECT_EQ(t.Selected(), (std::vector<CCellID>{{8, 3}}));
}

TEST(GridMouse, HeaderClicksSelectWholeColumnsRowsOrEverything) {
  struct Case {
    const char* Name;
    CCellID Click;
    CCellRange Range;
  };
  for (const Case& c : {Case{"column header", {0, 3}, {1, 3, 99, 3}}, Case{"row header", {5, 0}, {5, 1, 5, 9}},
                        Case{"corner", {0, 0}, {1, 1, 99, 9}}}) {
    SCOPED_TRACE(c.Name);
    TestGrid t(100, 10);
    t.Click(c.Click.Row, c.Click.Col);
    EXPECT_EQ(t.Grid.GetSelectedCellRange(), c.Range);
    EXPECT_EQ(t.Selected().size(), static_cast<std::size_t>(c.Range.Count()));
  }
}

TEST(GridMouse, DraggingOverCellsExtendsTheBlock) {
  TestGrid t(100, 10);
  t.Grid.OnLButtonDown(t.Centre(2, 2), 0);
  t.Grid.OnMouseMove(t.Centre(5, 4), 0);
  EXPECT_EQ(t.Grid.GetSelectedCellRange(), CCellRange(2, 2, 5, 4));
  EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(5, 4));
  t.Grid.OnLButtonUp(t.Centre(5, 4), 0);
  EXPECT_EQ(t.Grid.GetSelectedCellRange(), CCellRange(2, 2, 5, 4));
}

TEST(GridMouse, HoldingTheButtonBelowTheWindowScrollsAndExtends) {
  TestGrid t(100, 10);
  t.Grid.OnLButtonDown(t.Centre(2, 2), 0);
  EXPECT_EQ(t.Host.TimerMilliseconds, 25);
  t.Grid.OnMouseMove({120, 283}, 0);
  t.Host.CursorPos = {120, 400};
  int last_pos = t.Grid.GetScrollPos32(GridBar::Vert);
  int last_row = t.Grid.GetSelectedCellRange().MaxRow;
  for (int tick = 0; tick < 4; ++tick) {
    t.Grid.OnTimer();
    EXPECT_GT(t.Grid.GetScrollPos32(GridBar::Vert), last_pos);
    EXPECT_GT(t.Grid.GetSelectedCellRange().MaxRow, last_row);
    last_pos = t.Grid.GetScrollPos32(GridBar::Vert);
    last_row = t.Grid.GetSelectedCellRange().MaxRow;
  }
  const CCellRange range = t.Grid.GetSelectedCellRange();
  EXPECT_EQ(range.MinRow, 2);
  EXPECT_EQ(range.MinCol, 2);
  EXPECT_EQ(t.Selected().size(), static_cast<std::size_t>(range.Count()));
  t.Grid.OnLButtonUp({120, 400}, 0);
  EXPECT_EQ(t.Host.TimerMilliseconds, 0);
}

TEST(GridMouse, DraggingAColumnDividerResizesTheColumnUnderCapture) {
  struct Case {
    const char* Name;
    bool AllowHiding;
    int ReleaseX;
    int Width;
  };
  for (const Case& c : {Case{"wider", true, 150, 100}, Case{"hidden past its left edge", true, 30, 0},
                        Case{"at least one pixel without hiding", false, 30, 1}}) {
    SCOPED_TRACE(c.Name);
    TestGrid t(100, 10);
    t.Grid.SetColumnHiding(c.AllowHiding);
    t.Grid.OnMouseMove({98, 10}, 0);
    EXPECT_EQ(t.Grid.GetMouseMode(), GridMouseMode::OverColDivide);
    EXPECT_EQ(t.Host.Cursor, GridCursor::SizeWE);
    t.Grid.OnLButtonDown({98, 10}, 0);
    EXPECT_EQ(t.Grid.GetMouseMode(), GridMouseMode::SizingCol);
    EXPECT_EQ(t.Grid.GetTrackingIndex(), 1);
    EXPECT_TRUE(t.Host.Captured);
    t.Grid.OnMouseMove({c.ReleaseX, 10}, 0);
    t.Grid.OnLButtonUp({c.ReleaseX, 10}, 0);
    EXPECT_FALSE(t.Host.Captured);
    EXPECT_EQ(t.Grid.GetColumnWidth(1), c.Width);
    EXPECT_EQ(t.Grid.GetMouseMode(), GridMouseMode::Nothing);
  }
}

TEST(GridMouse, NearAColumnsLeftEdgeTheColumnBeforeItIsResized) {
  TestGrid t(100, 10);
  t.Grid.OnMouseMove({101, 10}, 0);
  t.Grid.OnLButtonDown({101, 10}, 0);
  EXPECT_EQ(t.Grid.GetTrackingIndex(), 1);
  t.Grid.OnLButtonUp({101, 10}, 0);
  EXPECT_EQ(t.Grid.GetColumnWidth(1), 50);
  // Column 0 has no left divider.
  t.Grid.OnMouseMove({1, 10}, 0);
  EXPECT_EQ(t.Grid.GetMouseMode(), GridMouseMode::Nothing);
}

TEST(GridMouse, LosingTheCaptureEndsADividerDrag) {
  TestGrid t(100, 10);
  t.Grid.OnMouseMove({98, 10}, 0);
  t.Grid.OnLButtonDown({98, 10}, 0);
  t.Grid.OnCaptureChanged();
  EXPECT_EQ(t.Grid.GetMouseMode(), GridMouseMode::Nothing);
  EXPECT_EQ(t.Grid.GetTrackingIndex(), -1);
  EXPECT_EQ(t.Grid.GetColumnWidth(1), 50);
}

TEST(GridMouse, RowResizingCanBeTurnedOff) {
  TestGrid t(100, 10);
  t.Grid.OnMouseMove({10, 38}, 0);
  EXPECT_EQ(t.Grid.GetMouseMode(), GridMouseMode::OverRowDivide);
  t.Grid.SetRowResize(false);
  t.Grid.OnMouseMove({10, 20}, 0);
  t.Grid.OnMouseMove({10, 38}, 0);
  EXPECT_EQ(t.Grid.GetMouseMode(), GridMouseMode::Nothing);
}

TEST(GridMouse, APressOnTheFocusCellThatWobblesStillEditsOnRelease) {
  TestGrid t(100, 10);
  t.Click(3, 3);
  t.Owner.Records.clear();
  const GridPoint press = t.Centre(3, 3);
  t.Grid.OnLButtonDown(press, 0);
  EXPECT_EQ(t.Grid.GetMouseMode(), GridMouseMode::PrepareEdit);
  t.Grid.OnMouseMove({press.X + 1, press.Y}, 0);
  t.Grid.OnLButtonUp({press.X + 1, press.Y}, 0);
  EXPECT_EQ(t.Selected(), (std::vector<CCellID>{{3, 3}}));
  EXPECT_EQ(t.Owner.Plain(), (std::vector<NotifyRecord>{{LVN_BEGINLABELEDITA, 3, 3}}));
  ASSERT_EQ(t.Host.EditRequests.size(), 1u);
  EXPECT_EQ(t.Host.EditRequests[0].Row, 3);
  EXPECT_EQ(t.Host.EditRequests[0].FirstChar, 1u);
  EXPECT_EQ(t.Host.EditRequests[0].Rect, (GridRect{150, 60, 199, 79}));
}

TEST(GridMouse, ADragStartsOnlyWhenEnabledAndPastTheThreshold) {
  struct Case {
    bool DragAndDrop;
    int Move;
    int Drags;
    std::size_t Edits;
  };
  for (const Case& c : {Case{false, 20, 0, 1}, Case{true, 2, 0, 1}, Case{true, 20, 1, 0}}) {
    SCOPED_TRACE(testing::Message() << c.DragAndDrop << " " << c.Move);
    BasicTestGrid<DragRecordingGrid> t(100, 10);
    t.Grid.EnableDragAndDrop(c.DragAndDrop);
    t.Click(3, 3);
    const GridPoint press = t.Centre(3, 3);
    t.Grid.OnLButtonDown(press, 0);
    t.Grid.OnMouseMove({press.X, press.Y + c.Move}, 0);
    t.Grid.OnLButtonUp({press.X, press.Y + c.Move}, 0);
    EXPECT_EQ(t.Grid.Drags, c.Drags);
    EXPECT_EQ(t.Host.EditRequests.size(), c.Edits);
  }
}

TEST(GridMouse, ARefusedBeginEditOpensNoEditor) {
  TestGrid t(100, 10);
  t.Owner.Answers[LVN_BEGINLABELEDITA] = -1;
  t.Click(3, 3);
  t.Click(3, 3);
  EXPECT_TRUE(t.Host.EditRequests.empty());
  t.Owner.Answers.clear();
  t.Grid.SetItemState(3, 3, t.Grid.GetItemState(3, 3) | GridItemState::ReadOnly);
  t.Owner.Records.clear();
  t.Click(3, 3);
  EXPECT_TRUE(t.Host.EditRequests.empty());
}

TEST(GridMouse, ADoubleClickOnTextEditsAndNotifies) {
  TestGrid t(100, 10);
  t.Click(2, 2);
  t.Owner.Records.clear();
  t.Grid.OnLButtonDblClk(t.Centre(4, 4), 0);
  EXPECT_EQ(t.Owner.Plain(), (std::vector<NotifyRecord>{{LVN_BEGINLABELEDITA, 4, 4}, {NM_DBLCLK, 4, 4}}));
  EXPECT_EQ(t.Host.EditRequests.size(), 1u);
}

TEST(GridMouse, ARightClickMovesTheFocusOutOfTheHeaders) {
  TestGrid t(100, 10);
  t.Grid.OnRButtonUp(t.Centre(0, 3), 0);
  EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(1, 3));
  EXPECT_EQ(t.Owner.Plain(), (std::vector<NotifyRecord>{{NM_RCLICK, 0, 3}}));
  TestGrid narrow(3, 3);
  narrow.Grid.OnRButtonUp({300, 30}, 0);
  EXPECT_EQ(narrow.Owner.Plain(), (std::vector<NotifyRecord>{{NM_RCLICK, -1, -1}}));
  // Headers only: nothing can take the focus, and a later refill finds none.
  TestGrid headers(1, 4);
  headers.Grid.OnRButtonUp(headers.Centre(0, 2), 0);
  EXPECT_EQ(headers.Grid.GetFocusCell(), CCellID(-1, -1));
  headers.Grid.SetRowCount(5);
  EXPECT_FALSE(headers.Grid.OnKeyDown(GridKey::Down, 0));
}

TEST(GridMouse, RestingOverTextOffersATitleTipUnlessTurnedOff) {
  BasicTestGrid<DragRecordingGrid> t(10, 4);
  t.Grid.SetItemText(2, 3, "");
  t.Grid.OnMouseMove(t.Centre(2, 2), 0);
  t.Grid.OnMouseMove(t.Centre(2, 3), 0);
  ASSERT_EQ(t.Grid.Tips, (std::vector<std::string>{"r2c2"}));
  EXPECT_EQ(t.Grid.HoverRects[0], (GridRect{100, 40, 149, 59}));
  t.Grid.OnLButtonDown(t.Centre(3, 3), 0);
  t.Grid.OnMouseMove(t.Centre(3, 2), 0);
  t.Grid.OnLButtonUp(t.Centre(3, 2), 0);
  t.Grid.EnableTitleTips(false);
  t.Grid.OnMouseMove(t.Centre(1, 1), 0);
  EXPECT_EQ(t.Grid.Tips.size(), 1u);
}

TEST(GridKeys, ArrowsMoveSelectAndNotify) {
  TestGrid t(100, 10);
  t.Click(2, 2);
  t.Owner.Records.clear();
  EXPECT_TRUE(t.Grid.OnKeyDown(GridKey::Right, 0));
  EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(2, 3));
  EXPECT_EQ(t.Selected(), (std::vector<CCellID>{{2, 3}}));
  EXPECT_EQ(t.Owner.Plain(),
            (std::vector<NotifyRecord>{{LVN_ITEMCHANGING, 2, 3}, {LVN_ITEMCHANGED, 2, 3}}));
  t.Grid.OnKeyDown(GridKey::Down, Shift);
  t.Grid.OnKeyDown(GridKey::Down, Shift);
  EXPECT_EQ(t.Grid.GetSelectedCellRange(), CCellRange(2, 3, 4, 3));
  EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(4, 3));
}

TEST(GridKeys, NavigationFollowsTheKeyTable) {
  struct Case {
    const char* Name;
    CCellID From;
    int Key;
    Ostra::U32 Flags;
    CCellID To;
    bool Handled;
  };
  const Case cases[] = {
      {"down", {2, 2}, GridKey::Down, 0, {3, 2}, true},
      {"down at the last row stays", {99, 2}, GridKey::Down, 0, {99, 2}, true},
      {"up stops at the header", {1, 2}, GridKey::Up, 0, {1, 2}, true},
      {"left stops at the header", {2, 1}, GridKey::Left, 0, {2, 1}, true},
      {"right at the last column stays", {2, 9}, GridKey::Right, 0, {2, 9}, true},
      {"tab", {2, 2}, GridKey::Tab, 0, {2, 3}, true},
      {"tab wraps to the next row", {3, 9}, GridKey::Tab, 0, {4, 1}, true},
      {"tab at the very end is left alone", {99, 9}, GridKey::Tab, 0, {99, 9}, false},
      {"shift tab wraps to the previous row", {4, 1}, GridKey::Tab, Shift, {3, 9}, true},
      {"shift tab at the very start is left alone", {1, 1}, GridKey::Tab, Shift, {1, 1}, false},
      {"ctrl tab is left alone", {2, 2}, GridKey::Tab, Ctrl, {2, 2}, false},
      {"home", {5, 5}, GridKey::Home, 0, {5, 1}, true},
      {"ctrl home", {50, 5}, GridKey::Home, Ctrl, {1, 1}, true},
      {"end", {5, 5}, GridKey::End, 0, {5, 9}, true},
      {"ctrl end", {5, 5}, GridKey::End, Ctrl, {99, 9}, true},
      {"page down moves by the rows scrolled", {1, 1}, GridKey::Next, 0, {15, 1}, true},
      {"page down at the bottom goes to the last row", {90, 1}, GridKey::Next, 0, {99, 1}, true},
      {"page up at the top goes to the first row", {5, 1}, GridKey::Prior, 0, {1, 1}, true},
      {"an unknown key is left alone", {5, 1}, 200, 0, {5, 1}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TestGrid t(100, 10);
    t.Grid.SetFocusCell(c.From);
    t.Grid.EnsureVisible(c.From);
    if (c.From.Row >= 90)
      t.Grid.OnScroll(GridBar::Vert, SB_BOTTOM);
    EXPECT_EQ(t.Grid.OnKeyDown(c.Key, c.Flags), c.Handled);
    EXPECT_EQ(t.Grid.GetFocusCell(), c.To);
    if (c.Handled && !(c.To == c.From)) {
      EXPECT_TRUE(t.Grid.IsCellVisible(c.To));
      EXPECT_EQ(t.Selected(), (std::vector<CCellID>{c.To}));
    }
  }
}

TEST(GridKeys, CtrlHomeScrollsBackToTheTop) {
  TestGrid t(100, 10);
  t.Grid.SetFocusCell(60, 8);
  t.Grid.EnsureVisible(60, 8);
  ASSERT_GT(t.Grid.GetScrollPos32(GridBar::Vert), 0);
  t.Grid.OnKeyDown(GridKey::Home, Ctrl);
  EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(1, 1));
  EXPECT_EQ(t.Grid.GetScrollPos32(GridBar::Vert), 0);
  EXPECT_EQ(t.Grid.GetScrollPos32(GridBar::Horz), 0);
}

TEST(GridKeys, HiddenRowsAndColumnsAreSkipped) {
  TestGrid t(100, 10);
  t.Grid.SetRowHeight(3, 0);
  t.Grid.SetColumnWidth(3, 0);
  t.Grid.SetFocusCell(2, 2);
  t.Grid.OnKeyDown(GridKey::Down, 0);
  EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(4, 2));
  t.Grid.OnKeyDown(GridKey::Right, 0);
  EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(4, 4));
  t.Grid.OnKeyDown(GridKey::Left, 0);
  EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(4, 2));
}

TEST(GridKeys, KeysNeedAFocusCell) {
  TestGrid t(100, 10);
  EXPECT_FALSE(t.Grid.OnKeyDown(GridKey::Down, 0));
  EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(-1, -1));
  EXPECT_TRUE(t.Owner.Records.empty());
}

TEST(GridKeys, SelectAllAndDeleteReachTheirOperations) {
  BasicTestGrid<DragRecordingGrid> t(10, 4);
  t.Grid.SetFocusCell(2, 2);
  EXPECT_TRUE(t.Grid.OnKeyDown(GridKey::A, Ctrl));
  EXPECT_EQ(t.Grid.GetSelectedCellRange(), CCellRange(1, 1, 9, 3));
  EXPECT_TRUE(t.Grid.OnKeyDown(GridKey::Delete, 0));
  EXPECT_EQ(t.Grid.Cuts, 1);
}

TEST(GridKeys, TypingOrF2StartsAnEditOnTheFocusCell) {
  struct Case {
    const char* Name;
    bool Char;
    unsigned Code;
    Ostra::U32 Flags;
    bool Edits;
    unsigned FirstChar;
  };
  for (const Case& c : {Case{"a letter", true, 'x', 0, true, 'x'}, Case{"f2", false, GridKey::F2, 0, true, 1},
                        Case{"escape", true, 27, 0, false, 0}, Case{"ctrl letter", true, 'x', Ctrl, false, 0},
                        Case{"tab", true, 9, 0, false, 0}}) {
    SCOPED_TRACE(c.Name);
    TestGrid t(10, 4);
    t.Grid.SetFocusCell(2, 2);
    if (c.Char)
      t.Grid.OnChar(c.Code, c.Flags);
    else
      t.Grid.OnKeyDown(static_cast<int>(c.Code), c.Flags);
    ASSERT_EQ(t.Host.EditRequests.size(), c.Edits ? 1u : 0u);
    if (c.Edits) {
      EXPECT_EQ(t.Host.EditRequests[0].FirstChar, c.FirstChar);
      EXPECT_EQ(t.Owner.Plain(), (std::vector<NotifyRecord>{{LVN_BEGINLABELEDITA, 2, 2}}));
    }
  }
}

TEST(GridSelection, RangesNeverReachIntoTheHeaders) {
  TestGrid t(10, 5);
  t.Grid.SetSelectedRange(0, 0, 2, 2);
  EXPECT_EQ(t.Grid.GetSelectedCellRange(), CCellRange(1, 1, 2, 2));
  t.Grid.SetSelectedRange(-1, -1, -1, -1);
  EXPECT_EQ(t.Grid.GetSelectedCount(), 0u);
  t.Grid.EnableSelection(false);
  t.Grid.SetSelectedRange(1, 1, 2, 2);
  EXPECT_EQ(t.Grid.GetSelectedCount(), 0u);
  EXPECT_FALSE(t.Grid.IsCellSelected(1, 1));
}

TEST(GridSelection, FocusChangesRedrawTheTrackedHeaders) {
  TestGrid t(10, 5);
  t.Grid.SetFocusCell(2, 2);
  EXPECT_EQ(t.Grid.GetItemState(2, 2) & GridItemState::Focused, GridItemState::Focused);
  t.Host.ClearRecords();
  t.Grid.SetFocusCell(3, 3);
  EXPECT_EQ(t.Grid.GetItemState(2, 2) & GridItemState::Focused, 0u);
  auto invalidated = [&](GridRect rect) {
    return std::find(t.Host.Invalidated.begin(), t.Host.Invalidated.end(), rect) != t.Host.Invalidated.end();
  };
  EXPECT_TRUE(invalidated({100, 0, 150, 20}));  // old column header
  EXPECT_TRUE(invalidated({150, 0, 200, 20}));  // new column header
  EXPECT_TRUE(invalidated({0, 40, 50, 60}));    // old row header
  EXPECT_TRUE(invalidated({0, 60, 50, 80}));    // new row header
  EXPECT_EQ(t.Grid.SetFocusCell(0, 0), CCellID(3, 3));
  EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(1, 1));
}


TEST(GridKeys, StepsInsideTheGridAndShiftExtendsFromTheAnchor) {
  struct Case {
    const char* Name;
    CCellID From;
    int Key;
    Ostra::U32 Flags;
    CCellID To;
    CCellRange Selection;
  };
  const Case cases[] = {
      {"up", {5, 2}, GridKey::Up, 0, {4, 2}, {4, 2, 4, 2}},
      {"left", {5, 3}, GridKey::Left, 0, {5, 2}, {5, 2, 5, 2}},
      {"shift tab inside a row", {5, 3}, GridKey::Tab, Shift, {5, 2}, {5, 2, 5, 2}},
      {"shift up extends", {5, 3}, GridKey::Up, Shift, {4, 3}, {4, 3, 5, 3}},
      {"shift end extends to the last column", {5, 3}, GridKey::End, Shift, {5, 9}, {5, 3, 5, 9}},
      {"shift home extends to the first column", {5, 3}, GridKey::Home, Shift, {5, 1}, {5, 1, 5, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TestGrid t(100, 10);
    t.Click(c.From.Row, c.From.Col);
    EXPECT_TRUE(t.Grid.OnKeyDown(c.Key, c.Flags));
    EXPECT_EQ(t.Grid.GetFocusCell(), c.To);
    EXPECT_EQ(t.Grid.GetSelectedCellRange(), c.Selection);
  }
}

TEST(GridKeys, AKeyLeavesTheNewFocusCellWhollyInView) {
  struct Case {
    const char* Name;
    CCellID From;
    int Key;
    CCellID To;
  };
  // 384 x 284 client: rows 1-13 and columns 1-6 fit whole at the start.
  for (const Case& c : {Case{"down past the bottom", {13, 2}, GridKey::Down, {14, 2}},
                        Case{"right past the edge", {2, 6}, GridKey::Right, {2, 7}},
                        Case{"tab past the edge", {2, 6}, GridKey::Tab, {2, 7}},
                        Case{"page down", {13, 2}, GridKey::Next, {27, 2}}}) {
    SCOPED_TRACE(c.Name);
    TestGrid t(100, 10);
    t.Click(c.From.Row, c.From.Col);
    ASSERT_EQ(t.Grid.GetTopleftNonFixedCell(), CCellID(1, 1));
    t.Grid.OnKeyDown(c.Key, 0);
    EXPECT_EQ(t.Grid.GetFocusCell(), c.To);
    GridRect rect;
    ASSERT_TRUE(t.Grid.GetCellRect(c.To.Row, c.To.Col, &rect));
    const GridSize client = t.Host.GetClientSize();
    EXPECT_LT(rect.Right, client.Width);
    EXPECT_LT(rect.Bottom, client.Height);
  }
}

TEST(GridKeys, UpAndPageUpFromAScrolledViewMoveWithTheView) {
  TestGrid t(100, 10);
  t.Click(1, 2);
  for (int i = 0; i < 39; ++i)
    t.Grid.OnKeyDown(GridKey::Down, 0);
  ASSERT_EQ(t.Grid.GetFocusCell(), CCellID(40, 2));
  const int top = t.Grid.GetTopleftNonFixedCell().Row;
  ASSERT_GT(top, 1);
  // Up to the top row of the view, then one more scrolls one row.
  for (int row = 39; row >= top - 1; --row)
    t.Grid.OnKeyDown(GridKey::Up, 0);
  EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(top - 1, 2));
  EXPECT_EQ(t.Grid.GetTopleftNonFixedCell().Row, top - 1);
  const int before = t.Grid.GetTopleftNonFixedCell().Row;
  t.Grid.OnKeyDown(GridKey::Prior, 0);
  const int moved = before - t.Grid.GetTopleftNonFixedCell().Row;
  ASSERT_GT(moved, 0);
  EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(top - 1 - moved, 2));
  EXPECT_EQ(t.Selected(), (std::vector<CCellID>{{top - 1 - moved, 2}}));
}

TEST(GridMouse, DraggingARowDividerResizesTheRow) {
  struct Case {
    const char* Name;
    bool AllowHiding;
    int ReleaseY;
    int Height;
  };
  for (const Case& c : {Case{"taller", true, 70, 50}, Case{"hidden above its top", true, 10, 0},
                        Case{"at least one pixel without hiding", false, 10, 1}}) {
    SCOPED_TRACE(c.Name);
    TestGrid t(100, 10);
    t.Grid.SetRowHiding(c.AllowHiding);
    t.Grid.OnMouseMove({10, 38}, 0);
    t.Grid.OnLButtonDown({10, 38}, 0);
    EXPECT_EQ(t.Grid.GetMouseMode(), GridMouseMode::SizingRow);
    EXPECT_EQ(t.Grid.GetTrackingIndex(), 1);
    EXPECT_EQ(t.Grid.GetCursorFor({10, 38}), GridCursor::SizeNS);
    t.Grid.OnMouseMove({10, c.ReleaseY}, 0);
    t.Grid.OnLButtonUp({10, c.ReleaseY}, 0);
    EXPECT_EQ(t.Grid.GetRowHeight(1), c.Height);
    EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(-1, -1));
    EXPECT_TRUE(t.Owner.Plain().empty() || t.Owner.Plain().front().Code != LVN_ITEMCHANGING);
  }
}

TEST(GridMouse, ADoubleClickOnADividerSizesTheColumnToItsText) {
  // A double click arrives as press, release, press, double click, release; the second
  // press already starts a divider drag.
  struct Case {
    const char* Name;
    GridPoint Point;
    int Col;
  };
  for (const Case& c : {Case{"right edge of column 1", {98, 10}, 1}, Case{"left edge of column 2", {101, 10}, 1}}) {
    SCOPED_TRACE(c.Name);
    TestGrid t(4, 3);
    t.Grid.SetItemText(2, 1, "long text here");
    t.Grid.OnMouseMove(c.Point, 0);
    t.Grid.OnLButtonDown(c.Point, 0);
    t.Grid.OnLButtonUp(c.Point, 0);
    t.Grid.OnLButtonDown(c.Point, 0);
    t.Grid.OnLButtonDblClk(c.Point, 0);
    t.Grid.OnLButtonUp(c.Point, 0);
    EXPECT_EQ(t.Grid.GetColumnWidth(c.Col), 14 * 8 + 16 + 1);
    EXPECT_EQ(t.Grid.GetMouseMode(), GridMouseMode::Nothing);
    EXPECT_FALSE(t.Host.Captured);
  }
}


TEST(GridSelection, ShiftWithoutAnAnchorStillSelects) {
  struct Case {
    const char* Name;
    bool Focus;
    bool Key;
    CCellRange Selection;
  };
  for (const Case& c : {Case{"click, nothing focused", false, false, {4, 4, 4, 4}},
                        Case{"click from a focus", true, false, {2, 2, 4, 4}},
                        Case{"key from a focus", true, true, {2, 2, 3, 2}}}) {
    SCOPED_TRACE(c.Name);
    TestGrid t(10, 5);
    if (c.Focus)
      t.Grid.SetFocusCell(2, 2);
    if (c.Key)
      t.Grid.OnKeyDown(GridKey::Down, Shift);
    else
      t.Click(4, 4, Shift);
    EXPECT_EQ(t.Grid.GetSelectedCellRange(), c.Selection);
  }
}


TEST(GridMouse, HoldingTheButtonOutsideScrollsTowardThePointer) {
  struct Case {
    const char* Name;
    GridPoint Cursor;
    GridBar Bar;
    int Direction;
  };
  for (const Case& c : {Case{"below", {120, 400}, GridBar::Vert, 1}, Case{"over the headers", {120, 5}, GridBar::Vert, -1},
                        Case{"right", {500, 100}, GridBar::Horz, 1}, Case{"left", {10, 100}, GridBar::Horz, -1}}) {
    SCOPED_TRACE(c.Name);
    TestGrid t(100, 10);
    t.Grid.SetScrollPos32(GridBar::Vert, 200);
    t.Grid.SetScrollPos32(GridBar::Horz, 50);
    const CCellID top_left = t.Grid.GetTopleftNonFixedCell();
    ASSERT_EQ(top_left, CCellID(11, 2));
    const CCellID press(13, 3);
    t.Grid.OnLButtonDown(t.Centre(press.Row, press.Col), 0);
    const int start = t.Grid.GetScrollPos32(c.Bar);
    t.Host.CursorPos = c.Cursor;
    for (int tick = 0; tick < 20; ++tick)
      t.Grid.OnTimer();
    const int moved = t.Grid.GetScrollPos32(c.Bar) - start;
    EXPECT_EQ(moved > 0 ? 1 : moved < 0 ? -1 : 0, c.Direction);
    const CCellRange range = t.Grid.GetSelectedCellRange();
    if (c.Bar == GridBar::Vert)
      EXPECT_TRUE(c.Direction > 0 ? range.MaxRow > press.Row && range.MinRow == press.Row
                                  : range.MinRow < press.Row && range.MaxRow == press.Row);
    else
      EXPECT_TRUE(c.Direction > 0 ? range.MaxCol > press.Col && range.MinCol == press.Col
                                  : range.MinCol < press.Col && range.MaxCol == press.Col);
    EXPECT_EQ(t.Selected().size(), static_cast<std::size_t>(range.Count()));
    t.Grid.OnCaptureChanged();
    EXPECT_EQ(t.Host.TimerMilliseconds, 0);
    // With the capture gone the selection no longer follows the pointer.
    t.Grid.OnMouseMove({225, 150}, 0);
    EXPECT_EQ(t.Grid.GetSelectedCellRange(), range);
  }
}


TEST(GridMouse, CtrlClicksDeselectOnlyTheCellsClicked) {
  TestGrid t(10, 6);
  t.Click(2, 2);
  t.Click(3, 3, Ctrl);
  t.Click(4, 4, Ctrl);
  t.Click(2, 2, Ctrl);
  EXPECT_EQ(t.Selected(), (std::vector<CCellID>{{3, 3}, {4, 4}}));
  // A second deselection in a row must not bring back the first.
  t.Click(3, 3, Ctrl);
  EXPECT_EQ(t.Selected(), (std::vector<CCellID>{{4, 4}}));
  t.Click(5, 5, Ctrl);
  EXPECT_EQ(t.Selected(), (std::vector<CCellID>{{4, 4}, {5, 5}}));
  // A range the program sets afterwards (a paste selecting what it wrote) stands alone.
  t.Grid.SetSelectedRange(7, 1, 7, 2);
  EXPECT_EQ(t.Selected(), (std::vector<CCellID>{{7, 1}, {7, 2}}));
}

TEST(GridMouse, ACtrlDragKeepsTheEarlierSelection) {
  TestGrid t(10, 6);
  t.Click(2, 2);
  t.Grid.OnLButtonDown(t.Centre(4, 3), Ctrl);
  t.Grid.OnMouseMove(t.Centre(5, 4), Ctrl);
  t.Grid.OnLButtonUp(t.Centre(5, 4), Ctrl);
  EXPECT_EQ(t.Selected(), (std::vector<CCellID>{{2, 2}, {4, 3}, {4, 4}, {5, 3}, {5, 4}}));
}


TEST(GridKeys, KeysSelectAndTypingEditsWithThePointerOverADivider) {
  struct Case {
    const char* Name;
    GridPoint Rest;
    GridMouseMode Mode;
  };
  for (const Case& c : {Case{"column divider", {98, 10}, GridMouseMode::OverColDivide},
                        Case{"row divider", {10, 38}, GridMouseMode::OverRowDivide}}) {
    SCOPED_TRACE(c.Name);
    TestGrid t(10, 6);
    t.Click(2, 2);
    t.Grid.OnMouseMove(c.Rest, 0);
    ASSERT_EQ(t.Grid.GetMouseMode(), c.Mode);
    t.Owner.Records.clear();
    t.Grid.OnKeyDown(GridKey::Down, 0);
    EXPECT_EQ(t.Selected(), (std::vector<CCellID>{{3, 2}}));
    EXPECT_EQ(t.Owner.Plain(), (std::vector<NotifyRecord>{{LVN_ITEMCHANGING, 3, 2}, {LVN_ITEMCHANGED, 3, 2}}));
    EXPECT_EQ(t.Grid.GetMouseMode(), c.Mode);
    t.Grid.OnChar('7', 0);
    EXPECT_EQ(t.Host.EditRequests.size(), 1u);
  }
  // While a button is held, keys move the focus only.
  TestGrid t(10, 6);
  t.Grid.OnLButtonDown(t.Centre(2, 2), 0);
  t.Grid.OnKeyDown(GridKey::Down, 0);
  EXPECT_EQ(t.Selected(), (std::vector<CCellID>{{2, 2}}));
  EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(3, 2));
}


TEST(GridMouse, EachGestureNotifiesInItsOwnOrder) {
  struct Case {
    const char* Name;
    std::function<void(TestGrid&)> Gesture;
    std::vector<NotifyRecord> Expected;
  };
  const Case cases[] = {
      {"shift click", [](TestGrid& t) { t.Click(4, 3, Shift); },
       {{LVN_ITEMCHANGING, 4, 3}, {LVN_ITEMCHANGED, 4, 3}, {NM_CLICK, 4, 3}}},
      {"column header click", [](TestGrid& t) { t.Click(0, 3); },
       {{LVN_ITEMCHANGING, 0, 3}, {LVN_ITEMCHANGED, -1, -1}, {NM_CLICK, 0, 3}}},
      {"select all", [](TestGrid& t) { t.Grid.OnKeyDown(GridKey::A, Ctrl); },
       {{LVN_ITEMCHANGING, 2, 2}, {LVN_ITEMCHANGED, 2, 2}}},
      {"divider drag", [](TestGrid& t) {
         t.Grid.OnMouseMove({98, 10}, 0);
         t.Grid.OnLButtonDown({98, 10}, 0);
         t.Grid.OnMouseMove({120, 10}, 0);
         t.Grid.OnLButtonUp({120, 10}, 0);
       },
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TestGrid t(10, 6);
    t.Click(2, 2);
    t.Owner.Records.clear();
    c.Gesture(t);
    EXPECT_EQ(t.Owner.Plain(), c.Expected);
  }
}


TEST(GridMouse, AHiddenColumnReopensFromItsDivider) {
  TestGrid t(10, 6);
  t.Grid.OnMouseMove({148, 10}, 0);
  t.Grid.OnLButtonDown({148, 10}, 0);
  t.Grid.OnMouseMove({60, 10}, 0);
  t.Grid.OnLButtonUp({60, 10}, 0);
  ASSERT_EQ(t.Grid.GetColumnWidth(2), 0);
  // Column 3 now starts where column 2 did; its left divider belongs to column 2.
  t.Grid.OnMouseMove({101, 10}, 0);
  t.Grid.OnLButtonDown({101, 10}, 0);
  EXPECT_EQ(t.Grid.GetTrackingIndex(), 2);
  t.Grid.OnMouseMove({140, 10}, 0);
  t.Grid.OnLButtonUp({140, 10}, 0);
  EXPECT_EQ(t.Grid.GetColumnWidth(2), 40);
  EXPECT_EQ(t.Grid.GetColumnWidth(3), 50);
}

} // namespace

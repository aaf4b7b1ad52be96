#include "GridFakes.h"

#include <gtest/gtest.h>

using namespace Ostra::Test;

namespace {

// 100 rows and 10 columns in a 400 x 300 window need both bars (16 pixels each), which
// leave a client of 384 x 284: 264 pixels of rows under the header and 334 of columns.
constexpr int VertLimit = 1980 - 264;
constexpr int HorzLimit = 450 - 334;

TEST(GridLayout, ScrollBarsFollowTheVirtualSize) {
  TestGrid t(100, 10);
  EXPECT_TRUE(t.Grid.IsScrollBarShown(GridBar::Vert));
  EXPECT_TRUE(t.Grid.IsScrollBarShown(GridBar::Horz));
  EXPECT_EQ(t.Grid.GetScrollMax(GridBar::Vert), 1979);
  EXPECT_EQ(t.Grid.GetScrollPage(GridBar::Vert), 264);
  EXPECT_EQ(t.Grid.GetScrollMax(GridBar::Horz), 449);
  EXPECT_EQ(t.Grid.GetScrollPage(GridBar::Horz), 334);
  EXPECT_EQ(t.Grid.GetScrollLimit(GridBar::Vert), VertLimit);
  EXPECT_EQ(t.Grid.GetScrollLimit(GridBar::Horz), HorzLimit);
  EXPECT_TRUE(t.Host.VertShown);
  EXPECT_TRUE(t.Host.HorzShown);
}

TEST(GridLayout, AGridThatFitsHidesBothBars) {
  TestGrid t(5, 3);
  EXPECT_FALSE(t.Grid.IsScrollBarShown(GridBar::Vert));
  EXPECT_FALSE(t.Grid.IsScrollBarShown(GridBar::Horz));
  EXPECT_EQ(t.Grid.GetScrollMax(GridBar::Vert), 0);
  EXPECT_EQ(t.Grid.GetScrollMax(GridBar::Horz), 0);

  // Growing the window back over a grid that needed bars hides them again.
  TestGrid wide(15, 10);
  wide.Host.Full = {600, 400};
  wide.Grid.OnSize();
  EXPECT_FALSE(wide.Grid.IsScrollBarShown(GridBar::Vert));
  EXPECT_FALSE(wide.Grid.IsScrollBarShown(GridBar::Horz));
}

TEST(GridLayout, TheHorizontalBarCanMakeTheVerticalOneNecessary) {
  // 14 rows fill the 280 pixels under the header exactly, until the horizontal bar
  // takes 16 of them.
  TestGrid t(15, 10);
  EXPECT_TRUE(t.Grid.IsScrollBarShown(GridBar::Horz));
  EXPECT_TRUE(t.Grid.IsScrollBarShown(GridBar::Vert));
  EXPECT_EQ(t.Grid.GetScrollPage(GridBar::Vert), 264);
}

TEST(GridLayout, CellRectanglesHoldTheirLastPixel) {
  TestGrid t(100, 10);
  struct Case {
    int Row, Col;
    GridRect Rect;
  };
  for (const Case& c : {Case{0, 0, {0, 0, 49, 19}}, {1, 1, {50, 20, 99, 39}}, {3, 2, {100, 60, 149, 79}},
                        {0, 3, {150, 0, 199, 19}}, {5, 0, {0, 100, 49, 119}}}) {
    SCOPED_TRACE(testing::Message() << c.Row << ", " << c.Col);
    GridRect rect;
    ASSERT_TRUE(t.Grid.GetCellRect(c.Row, c.Col, &rect));
    EXPECT_EQ(rect, c.Rect);
  }
  GridRect range;
  ASSERT_TRUE(t.Grid.GetCellRangeRect({1, 1, 2, 3}, &range));
  EXPECT_EQ(range, (GridRect{50, 20, 199, 59}));
  EXPECT_FALSE(t.Grid.GetCellRect(100, 1, &range));
}

TEST(GridLayout, TheTopLeftCellSnapsToWholeCells) {
  TestGrid t(100, 10);
  struct Case {
    int Pos;
    int TopRow;
  };
  for (const Case& c : {Case{0, 1}, {1, 2}, {20, 2}, {25, 3}, {40, 3}, {VertLimit, 87}}) {
    SCOPED_TRACE(c.Pos);
    t.Grid.SetScrollPos32(GridBar::Vert, c.Pos);
    EXPECT_EQ(t.Grid.GetTopleftNonFixedCell().Row, c.TopRow);
    GridRect rect;
    ASSERT_TRUE(t.Grid.GetCellRect(c.TopRow, 1, &rect));
    EXPECT_EQ(rect.Top, 20);
    EXPECT_FALSE(t.Grid.GetCellRect(c.TopRow - 1, 1, &rect) && c.TopRow > 1);
    // The header row stays put.
    ASSERT_TRUE(t.Grid.GetCellRect(0, 1, &rect));
    EXPECT_EQ(rect.Top, 0);
  }
  t.Grid.SetScrollPos32(GridBar::Vert, 100000);
  EXPECT_EQ(t.Grid.GetScrollPos32(GridBar::Vert), VertLimit);
  t.Grid.SetScrollPos32(GridBar::Vert, -5);
  EXPECT_EQ(t.Grid.GetScrollPos32(GridBar::Vert), 0);
}

TEST(GridLayout, VisibleRangesStopAtTheClientEdge) {
  TestGrid t(100, 10);
  GridRect extent;
  EXPECT_EQ(t.Grid.GetVisibleNonFixedCellRange(&extent), CCellRange(1, 1, 14, 7));
  EXPECT_EQ(extent, (GridRect{0, 0, 384, 284}));
  EXPECT_EQ(t.Grid.GetUnobstructedNonFixedCellRange(), CCellRange(1, 1, 13, 6));
  TestGrid small(4, 3);
  EXPECT_EQ(small.Grid.GetVisibleNonFixedCellRange(&extent), CCellRange(1, 1, 3, 2));
  EXPECT_EQ(extent, (GridRect{0, 0, 150, 80}));
}

TEST(GridLayout, HitTestsFindCellsAndMissOutside) {
  TestGrid t(100, 10);
  struct Case {
    GridPoint Point;
    bool Outside;
    CCellID Cell;
  };
  const Case cases[] = {
      {{0, 0}, true, {0, 0}},      {{49, 19}, true, {0, 0}},   {{50, 20}, true, {1, 1}},
      {{99, 39}, true, {1, 1}},    {{100, 40}, true, {2, 2}},  {{-1, 5}, true, {0, -1}},
      {{10, 10}, false, {-1, -1}}, {{60, 10}, false, {-1, 1}}, {{383, 283}, true, {14, 7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Point.X << ", " << c.Point.Y);
    EXPECT_EQ(t.Grid.GetCellFromPt(c.Point, c.Outside), c.Cell);
  }
  TestGrid narrow(3, 3);
  EXPECT_EQ(narrow.Grid.GetCellFromPt({149, 30}).Col, 2);
  EXPECT_EQ(narrow.Grid.GetCellFromPt({150, 30}).Col, -1);
  EXPECT_EQ(narrow.Grid.GetCellFromPt({30, 60}).Row, -1);
}

TEST(GridLayout, AZeroHeightRowTakesNoRoomAndIsNeitherHitNorDrawn) {
  TestGrid t(100, 10);
  t.Grid.SetRowHeight(3, 0);
  EXPECT_EQ(t.Grid.GetVirtualHeight(), 1980);
  EXPECT_EQ(t.Grid.GetCellFromPt({60, 60}).Row, 4);
  EXPECT_EQ(t.Grid.GetCellFromPt({60, 59}).Row, 2);
  RecordingDC dc;
  t.Grid.OnDraw(dc, {0, 0, 400, 300});
  EXPECT_EQ(dc.FindText("r3c1"), nullptr);
  EXPECT_EQ(dc.FindText("r3c0"), nullptr);
  ASSERT_NE(dc.FindText("r4c1"), nullptr);
  EXPECT_EQ(dc.FindText("r4c1")->Rect.Top, 60 + 8);
}

TEST(GridLayout, VisibilityIsPerAxis) {
  TestGrid t(100, 10);
  EXPECT_TRUE(t.Grid.IsCellVisible(14, 1));
  EXPECT_FALSE(t.Grid.IsCellVisible(15, 1));
  EXPECT_FALSE(t.Grid.IsCellVisible(0, 8));
  EXPECT_TRUE(t.Grid.IsCellVisible(0, 7));
  t.Grid.OnScroll(GridBar::Horz, SB_LINERIGHT);
  EXPECT_FALSE(t.Grid.IsCellVisible(0, 1));
  EXPECT_FALSE(t.Grid.IsCellVisible(5, 1));
  EXPECT_TRUE(t.Grid.IsCellVisible(5, 0));
  t.Host.Exists = false;
  EXPECT_FALSE(t.Grid.IsCellVisible(5, 2));
}

TEST(GridLayout, ScrollActionsMoveAndRepaintAsTheyShould) {
  struct Case {
    const char* Name;
    GridBar Bar;
    int Start;
    int Code;
    int Track;
    int Expected;
    bool Repaints;
  };
  const Case cases[] = {
      {"line down", GridBar::Vert, 0, SB_LINEDOWN, 0, 20, true},
      {"line down at the end", GridBar::Vert, VertLimit, SB_LINEDOWN, 0, VertLimit, false},
      {"line up between rows", GridBar::Vert, 25, SB_LINEUP, 0, 5, true},
      {"line up at the top", GridBar::Vert, 0, SB_LINEUP, 0, 0, false},
      {"page down", GridBar::Vert, 0, SB_PAGEDOWN, 0, 264, true},
      {"page down clamps", GridBar::Vert, VertLimit - 10, SB_PAGEDOWN, 0, VertLimit, true},
      {"page up clamps", GridBar::Vert, 100, SB_PAGEUP, 0, 0, true},
      {"thumb", GridBar::Vert, 0, SB_THUMBTRACK, 300, 300, true},
      {"thumb within a row", GridBar::Vert, 301, SB_THUMBTRACK, 305, 305, false},
      {"bottom", GridBar::Vert, 0, SB_BOTTOM, 0, VertLimit, true},
      {"top", GridBar::Vert, 50, SB_TOP, 0, 0, true},
      {"line right", GridBar::Horz, 0, SB_LINERIGHT, 0, 50, true},
      {"line right at the end", GridBar::Horz, HorzLimit, SB_LINERIGHT, 0, HorzLimit, false},
      {"end scroll", GridBar::Horz, 10, SB_ENDSCROLL, 0, 10, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TestGrid t(100, 10);
    t.Grid.SetScrollPos32(c.Bar, c.Start);
    t.Host.ClearRecords();
    t.Grid.OnScroll(c.Bar, c.Code, c.Track);
    EXPECT_EQ(t.Grid.GetScrollPos32(c.Bar), c.Expected);
    EXPECT_EQ(!t.Host.Invalidated.empty() || t.Host.InvalidateAllCount > 0, c.Repaints);
  }
}

TEST(GridLayout, LineScrollsSkipHiddenRows) {
  TestGrid t(100, 10);
  t.Grid.SetRowHeight(1, 0);
  t.Grid.SetRowHeight(2, 0);
  t.Grid.OnScroll(GridBar::Vert, SB_LINEDOWN);
  EXPECT_EQ(t.Grid.GetScrollPos32(GridBar::Vert), 20);
  EXPECT_EQ(t.Grid.GetTopleftNonFixedCell().Row, 4);
}

TEST(GridLayout, TheWheelScrollsLinesAndGathersSmallSteps) {
  struct Case {
    const char* Name;
    std::vector<int> Deltas;
    int Lines;
    int Expected;
  };
  const Case cases[] = {
      {"a notch up scrolls three rows", {120}, 3, 100 - 60},
      {"a notch down", {-120}, 3, 100 + 60},
      {"smooth steps add up", {10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10}, 3, 100 - 60},
      {"a half step does nothing yet", {20}, 3, 100},
      {"a reversal drops what was gathered", {30, -120}, 3, 100 + 60},
      {"page at a time", {120}, 0, 0},
      {"page at a time downwards", {-120}, -1, 100 + 264},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TestGrid t(100, 10);
    t.Grid.SetScrollPos32(GridBar::Vert, 100);
    for (int delta : c.Deltas)
      t.Grid.OnMouseWheel(delta, c.Lines, 120);
    EXPECT_EQ(t.Grid.GetScrollPos32(GridBar::Vert), c.Expected);
  }
}

TEST(GridLayout, EnsureVisibleBringsACellIntoView) {
  TestGrid t(100, 10);
  t.Grid.EnsureVisible(50, 9);
  EXPECT_TRUE(t.Grid.GetUnobstructedNonFixedCellRange().InRange(50, 9));
  t.Grid.EnsureVisible(2, 1);
  EXPECT_TRUE(t.Grid.GetUnobstructedNonFixedCellRange().InRange(2, 1));
}

TEST(GridLayout, EnsureVisibleOfAColumnWiderThanTheWindowEnds) {
  TestGrid t(3, 3);
  t.Grid.SetColumnWidth(2, 1000);
  ASSERT_TRUE(t.Grid.IsScrollBarShown(GridBar::Horz));
  t.Grid.EnsureVisible(1, 2);
  EXPECT_EQ(t.Grid.GetTopleftNonFixedCell().Col, 2);
  t.Grid.EnsureVisible(1, 2);
  EXPECT_EQ(t.Grid.GetTopleftNonFixedCell().Col, 2);
}

TEST(GridLayout, PaintingTouchesOnlyVisibleCells) {
  for (const int rows : {100, 3000}) {
    SCOPED_TRACE(rows);
    TestGrid t(rows, 10);
    RecordingDC dc;
    t.Grid.OnDraw(dc, {0, 0, 400, 300});
    EXPECT_EQ(dc.Texts.size(), 15u * 8u);
    EXPECT_NE(dc.FindText("r14c7"), nullptr);
    EXPECT_EQ(dc.FindText("r15c1"), nullptr);
  }
}

TEST(GridLayout, PaintingAClipDrawsOnlyWhatItTouches) {
  TestGrid t(100, 10);
  RecordingDC dc;
  t.Grid.OnDraw(dc, {50, 20, 100, 40});
  ASSERT_EQ(dc.Texts.size(), 1u);
  EXPECT_EQ(dc.Texts[0].Value, "r1c1");
}

TEST(GridLayout, GridLinesCoverOnlyTheScrollingArea) {
  TestGrid t(100, 10);
  RecordingDC dc;
  t.Grid.OnDraw(dc, {0, 0, 400, 300});
  int vertical = 0;
  int horizontal = 0;
  for (const auto& line : dc.Lines) {
    if (line.Colour != t.Grid.GetGridLineColor())
      continue;
    if (line.From.X == line.To.X) {
      ++vertical;
      EXPECT_EQ(line.From.Y, 20);
      EXPECT_EQ(line.To.Y, 284);
      EXPECT_EQ((line.From.X + 1) % 50, 0);
    } else {
      ++horizontal;
      EXPECT_EQ(line.From.X, 50);
      EXPECT_EQ(line.To.X, 384);
    }
  }
  EXPECT_EQ(vertical, 7);
  EXPECT_EQ(horizontal, 14);
}

TEST(GridLayout, VirtualPaintingAnnouncesTheCellsItReads) {
  TestGrid t(0, 0, 0, 0, false);
  t.Grid.SetVirtualMode(true);
  t.Grid.SetColumnCount(3);
  t.Grid.SetRowCount(50);
  t.Grid.SetFixedRowCount(1);
  t.Grid.SetFixedColumnCount(1);
  t.Owner.Hints.clear();
  RecordingDC dc;
  t.Grid.OnDraw(dc, {0, 0, 400, 300});
  ASSERT_EQ(t.Owner.Hints.size(), 2u);
  EXPECT_EQ(t.Owner.Hints[0].MinRow, 1);
  EXPECT_EQ(t.Owner.Hints[1], CCellRange(-1, -1, -1, -1));
  EXPECT_NE(dc.FindText("r1c1"), nullptr);
}

TEST(GridLayout, RedrawCellInvalidatesOnlyWhenAllowed) {
  TestGrid t(100, 10);
  EXPECT_TRUE(t.Grid.RedrawCell(1, 1));
  ASSERT_EQ(t.Host.Invalidated.size(), 1u);
  EXPECT_EQ(t.Host.Invalidated[0], (GridRect{50, 20, 100, 40}));
  EXPECT_FALSE(t.Grid.RedrawCell(50, 1));

  t.Host.ClearRecords();
  t.Grid.SetRedraw(false);
  EXPECT_FALSE(t.Grid.RedrawCell(1, 1));
  t.Grid.Refresh();
  EXPECT_TRUE(t.Host.Invalidated.empty());
  EXPECT_EQ(t.Host.InvalidateAllCount, 0);
  t.Grid.SetRedraw(true);
  EXPECT_EQ(t.Host.InvalidateAllCount, 1);
}

TEST(GridLayout, SizesRejectBadIndexesAndNegativeValues) {
  TestGrid t(5, 5);
  EXPECT_FALSE(t.Grid.SetColumnWidth(5, 10));
  EXPECT_FALSE(t.Grid.SetColumnWidth(1, -1));
  EXPECT_FALSE(t.Grid.SetRowHeight(-1, 10));
  EXPECT_EQ(t.Grid.GetColumnWidth(-1), -1);
  EXPECT_EQ(t.Grid.GetRowHeight(5), -1);
  EXPECT_EQ(t.Grid.GetFixedColumnWidth(), 50);
  EXPECT_EQ(t.Grid.GetVirtualWidth(), 250);
}

TEST(GridLayout, ExpandingColumnsSharesTheSpaceAndNeverGoesNegative) {
  TestGrid t(3, 3);
  t.Grid.ExpandColumnsToFit();
  EXPECT_EQ(t.Grid.GetColumnWidth(0), 134);
  EXPECT_EQ(t.Grid.GetColumnWidth(1), 133);
  EXPECT_EQ(t.Grid.GetColumnWidth(2), 133);

  t.Grid.SetColumnWidth(0, 300);
  t.Grid.SetColumnWidth(1, 10);
  t.Grid.SetColumnWidth(2, 300);
  t.Grid.ExpandColumnsToFit();
  EXPECT_EQ(t.Grid.GetColumnWidth(0), 230);
  EXPECT_EQ(t.Grid.GetColumnWidth(1), 0);
  EXPECT_EQ(t.Grid.GetColumnWidth(2), 230);
}

TEST(GridLayout, AutoSizeTakesTheWidestCell) {
  TestGrid t(4, 3);
  t.Grid.SetItemText(2, 1, "long text here");
  ASSERT_TRUE(t.Grid.AutoSizeColumn(1));
  EXPECT_EQ(t.Grid.GetColumnWidth(1), 14 * 8 + 16 + 1);
  ASSERT_TRUE(t.Grid.AutoSizeColumn(2, 1));
  EXPECT_EQ(t.Grid.GetColumnWidth(2), 4 * 8 + 16 + 2);
  t.Grid.SetColumnWidth(2, 0);
  EXPECT_FALSE(t.Grid.AutoSizeColumn(2));
  EXPECT_FALSE(t.Grid.AutoSizeColumn(3));
}


TEST(GridLayout, RedrawRowInvalidatesEachVisibleCellOfTheRow) {
  struct Case {
    const char* Name;
    int Row;
    bool Result;
    std::size_t Rects;
  };
  // 384 pixels wide: columns 0-7 start inside the window, 8 and 9 do not.
  for (const Case& c : {Case{"visible row", 2, false, 8}, Case{"header row", 0, false, 8},
                        Case{"row below the window", 50, false, 0}}) {
    SCOPED_TRACE(c.Name);
    TestGrid t(100, 10);
    EXPECT_EQ(t.Grid.RedrawRow(c.Row), c.Result);
    EXPECT_EQ(t.Host.Invalidated.size(), c.Rects);
    for (const GridRect& rect : t.Host.Invalidated) {
      EXPECT_EQ(rect.Top, c.Row * 20);
      EXPECT_EQ(rect.Bottom, c.Row * 20 + 20);
    }
  }
  TestGrid narrow(5, 3);
  EXPECT_TRUE(narrow.Grid.RedrawRow(2));
  EXPECT_EQ(narrow.Host.Invalidated.size(), 3u);
  EXPECT_TRUE(narrow.Grid.RedrawColumn(1));
}


TEST(GridLayout, KeysIntoACellLargerThanTheWindowEnd) {
  struct Case {
    const char* Name;
    bool Wide;
    int Key;
    CCellID To;
  };
  for (const Case& c : {Case{"right into a wide last column", true, GridKey::Right, {1, 2}},
                        Case{"down into a tall last row", false, GridKey::Down, {2, 1}}}) {
    SCOPED_TRACE(c.Name);
    TestGrid t(3, 3);
    if (c.Wide)
      t.Grid.SetColumnWidth(2, 1000);
    else
      t.Grid.SetRowHeight(2, 1000);
    t.Grid.SetFocusCell(1, 1);
    EXPECT_TRUE(t.Grid.OnKeyDown(c.Key, 0));
    EXPECT_EQ(t.Grid.GetFocusCell(), c.To);
    EXPECT_EQ(t.Grid.GetTopleftNonFixedCell(), c.To);
    // Back again scrolls back.
    EXPECT_TRUE(t.Grid.OnKeyDown(c.Wide ? GridKey::Left : GridKey::Up, 0));
    EXPECT_EQ(t.Grid.GetTopleftNonFixedCell(), CCellID(1, 1));
  }
}

} // namespace

#include "GridFakes.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Ostra::Test;

namespace {

// One fixed row of 20 and one fixed column of 50, then the given rows and columns.
GridPrintExtent Extent(const std::vector<int>& rows, const std::vector<int>& cols) {
  GridPrintExtent extent;
  extent.FixedRows = 1;
  extent.FixedCols = 1;
  extent.FixedRowHeight = 20;
  extent.FixedColumnWidth = 50;
  extent.RowHeights = {20};
  extent.RowHeights.insert(extent.RowHeights.end(), rows.begin(), rows.end());
  extent.ColWidths = {50};
  extent.ColWidths.insert(extent.ColWidths.end(), cols.begin(), cols.end());
  for (const int width : extent.ColWidths)
    extent.VirtualWidth += width;
  return extent;
}

// A square page; the printer font 10 wide and 10 high.
constexpr GridPrintDevice SquarePage{1000, 1000, 600, 600, 96, 96, 0};
constexpr GridSize CharExtent{52 * 10, 10};

std::vector<CCellRange> Pages(const GridPrintLayout& layout) {
  std::vector<CCellRange> pages;
  for (int page = 1; page <= layout.GetPageCount(); ++page)
    pages.push_back(layout.GetPageCells(page));
  return pages;
}

TEST(GridPrintLayout, FitsTheWholeWidthOnAPageAndCountsPagesDown) {
  const GridPrintLayout layout(Extent(std::vector<int>(40, 20), {100, 100, 100}), SquarePage, CharExtent, {}, false);
  EXPECT_EQ(layout.GetCharWidth(), 10);
  EXPECT_EQ(layout.GetCharHeight(), 10);
  // Grid width 350 plus four and four characters of margin; square like the page.
  EXPECT_EQ(layout.GetLogicalWidth(), 430);
  EXPECT_EQ(layout.GetLogicalHeight(), 430);
  // Less header, footer and two gaps of ten, and the fixed row.
  EXPECT_EQ(layout.GetPageHeight(), 350);
  EXPECT_EQ(layout.GetPageWidth(), 300);
  EXPECT_EQ(Pages(layout), (std::vector<CCellRange>{{1, 1, 17, 3}, {18, 1, 34, 3}, {35, 1, 40, 3}}));

  EXPECT_EQ(layout.GetHeaderRect(), (GridRect{40, 0, 390, 20}));
  EXPECT_EQ(layout.GetFooterRect(), (GridRect{40, 410, 390, 430}));
  EXPECT_EQ(layout.GetHeadingsTop(), 30);
  EXPECT_EQ(layout.GetBodyTop(), 50);
  EXPECT_EQ(layout.GetBodyLeft(), 90);
  EXPECT_EQ(layout.GetBodyLastY(), 399);

  // However wide, one page across.
  const GridPrintLayout wide(Extent({20}, std::vector<int>(8, 1000)), SquarePage, CharExtent, {}, false);
  EXPECT_EQ(Pages(wide), (std::vector<CCellRange>{{1, 1, 1, 8}}));
}

TEST(GridPrintLayout, RowsTooTallForAPagePrintAloneInsteadOfLeavingBlankPages) {
  struct Case {
    const char* Name;
    std::vector<int> Rows;
    int HeaderMargin;
    std::vector<CCellRange> Pages;
  };
  for (const Case& c : {
           Case{"all fit", {20, 20}, 2, {{1, 1, 2, 1}}},
           Case{"no rows", {}, 2, {{1, 1, 0, 1}}},
           Case{"tall row in the middle", {20, 500, 20}, 2, {{1, 1, 1, 1}, {2, 1, 2, 1}, {3, 1, 3, 1}}},
           Case{"tall first row", {500, 20}, 2, {{1, 1, 1, 1}, {2, 1, 2, 1}}},
           Case{"hidden rows before a tall one", {0, 0, 500, 20}, 2, {{1, 1, 3, 1}, {4, 1, 4, 1}}},
           Case{"no room at all", {20, 20, 20}, 100, {{1, 1, 1, 1}, {2, 1, 2, 1}, {3, 1, 3, 1}}},
       }) {
    SCOPED_TRACE(c.Name);
    GridPrintMargins margins;
    margins.Header = c.HeaderMargin;
    const GridPrintLayout layout(Extent(c.Rows, {100}), SquarePage, CharExtent, margins, false);
    EXPECT_EQ(Pages(layout), c.Pages);
  }
}

TEST(GridPrintLayout, AtScreenScaleWideGridsSplitAcrossThenDown) {
  const GridPrintDevice page{4800, 6400, 600, 600, 96, 96, 0};
  const GridPrintLayout layout(Extent(std::vector<int>(40, 20), {200, 200, 200, 200}), page, CharExtent, {}, true);
  // 4800 printer pixels at 600 per inch are 768 screen pixels, less a quarter.
  EXPECT_EQ(layout.GetLogicalWidth(), 576);
  EXPECT_EQ(layout.GetLogicalHeight(), 768);
  EXPECT_EQ(layout.GetPagesAcross(), 2);
  EXPECT_EQ(layout.GetPagesDown(), 2);
  EXPECT_EQ(Pages(layout),
            (std::vector<CCellRange>{{1, 1, 34, 2}, {1, 3, 34, 4}, {35, 1, 40, 2}, {35, 3, 40, 4}}));
  EXPECT_EQ(layout.GetPageCells(0), CCellRange());
  EXPECT_EQ(layout.GetPageCells(5), CCellRange());
}

TEST(GridPrintLayout, ADegeneratePageNeitherDividesByZeroNorLosesRows) {
  for (const GridPrintDevice& device : {GridPrintDevice{}, GridPrintDevice{0, 500, 0, 0, 0, 0, 0}}) {
    for (const bool screen_scale : {false, true}) {
      const GridPrintLayout layout(Extent({20, 20}, {100}), device, {}, {}, screen_scale);
      ASSERT_GE(layout.GetPageCount(), 1);
      EXPECT_EQ(layout.GetPageCells(1).MinRow, 1);
      EXPECT_EQ(layout.GetPageCells(layout.GetPageCount()).MaxRow, 2);
    }
  }
}

TEST(GridPrintLayout, HugeMarginsAndCharactersStayInRange) {
  const int big = std::numeric_limits<int>::max();
  const GridPrintMargins margins{big, big, big, big, big, big, big};
  const GridPrintLayout layout(Extent({20, 20}, {100}), SquarePage, {big, big}, margins, false);
  EXPECT_GT(layout.GetLogicalWidth(), 0);
  EXPECT_LT(layout.GetPageHeight(), 0);
  // Every row still prints, each on its own page.
  EXPECT_EQ(Pages(layout), (std::vector<CCellRange>{{1, 1, 1, 1}, {2, 1, 2, 1}}));
}

TEST(GridPrintLayout, FooterTexts) {
  EXPECT_EQ(FormatPageOf(1, 1), "Page 1 of 1");
  EXPECT_EQ(FormatPageOf(12, 30), "Page 12 of 30");
  EXPECT_NE(FormatPrintDate(0), "Invalid DateTime");
  EXPECT_FALSE(FormatPrintDate(0).empty());
  EXPECT_EQ(FormatPrintDate(std::numeric_limits<std::time_t>::max()), "Invalid DateTime");
}

// ---- Printing pages through the core ----

struct PrintedGrid : TestGrid {
  PrintedGrid(int rows, int cols) : TestGrid(rows, cols) {
    Info.Device = {1000, 2000, 600, 600, 96, 96, 0};
    Info.WindowTitle = "Window";
    Info.AppTitle = "App";
    Info.DateText = "DATE";
  }
  RecordingDC Print(int page) {
    RecordingDC dc;
    Grid.OnBeginPrinting(&dc, &Info);
    Info.CurPage = page;
    Grid.OnPrint(&dc, &Info);
    Grid.OnEndPrinting(&dc, &Info);
    return dc;
  }
  GridPrintInfo Info;
};

TEST(GridPrint, AGridThatFitsPrintsOnePageOfOne) {
  PrintedGrid t(5, 3);
  const RecordingDC dc = t.Print(1);
  EXPECT_EQ(t.Info.MaxPage, 1);
  const auto* footer = dc.FindText("Page 1 of 1");
  ASSERT_NE(footer, nullptr);
  EXPECT_EQ(footer->Format & GridFormat::Right, 0u);
  ASSERT_NE(dc.FindText("DATE"), nullptr);
  EXPECT_NE(dc.FindText("DATE")->Format & GridFormat::Right, 0u);
  ASSERT_NE(dc.FindText("Window"), nullptr);
  EXPECT_NE(dc.FindText("Window")->Format & GridFormat::Center, 0u);
  ASSERT_NE(dc.FindText("App"), nullptr);
  for (int row = 0; row < 5; ++row)
    for (int col = 0; col < 3; ++col)
      EXPECT_NE(dc.FindText("r" + std::to_string(row) + "c" + std::to_string(col)), nullptr) << row << ", " << col;
}

TEST(GridPrint, EveryPageRepeatsTheFixedRowsAndColumnsBesideItsOwnCells) {
  // Widths 4 x 50 with 8-pixel characters: a 264-wide logical page twice as tall; its
  // 412 pixels for cells hold 20 rows of 20.
  PrintedGrid t(41, 4);
  const RecordingDC dc = t.Print(2);
  EXPECT_EQ(t.Info.MaxPage, 2);
  ASSERT_NE(dc.FindText("Page 2 of 2"), nullptr);
  for (const char* text : {"r0c0", "r0c1", "r0c3", "r21c0", "r21c1", "r40c0", "r40c3"})
    EXPECT_NE(dc.FindText(text), nullptr) << text;
  for (const char* text : {"r20c0", "r20c1", "r1c1"})
    EXPECT_EQ(dc.FindText(text), nullptr) << text;

  // Body cells: below three character heights of header and gap and the fixed row,
  // right of the left margin and the fixed column, inset by the one-space margin.
  const auto* body = dc.FindText("r21c1");
  EXPECT_EQ(body->Rect, (GridRect{32 + 50 + 8, 48 + 20, 32 + 50 + 49 - 8 + 1, 48 + 20 + 20}));
  // Header cells lose one more pixel to their raised border.
  EXPECT_EQ(dc.FindText("r21c0")->Rect.Top, 48 + 20 + 1);
  EXPECT_EQ(dc.FindText("r0c2")->Rect.Left, 32 + 50 + 50 + 1 + 8);
}

TEST(GridPrint, ATallRowPrintsCutOnItsOwnPage) {
  PrintedGrid t(6, 3);
  t.Grid.SetRowHeight(3, 5000);
  RecordingDC dc = t.Print(1);
  EXPECT_EQ(t.Info.MaxPage, 3);
  dc = t.Print(2);
  const auto* tall = dc.FindText("r3c1");
  ASSERT_NE(tall, nullptr);
  EXPECT_EQ(dc.FindText("r2c1"), nullptr);
  EXPECT_EQ(dc.FindText("r4c1"), nullptr);
  // Cut at the end of the room for cells, above the footer.
  EXPECT_LE(tall->Rect.Bottom, t.Grid.GetPrintLayout().GetFooterRect().Top);
  EXPECT_GT(tall->Rect.Bottom, tall->Rect.Top);
}

TEST(GridPrint, ColoursFollowTheShadedPrintoutSwitch) {
  struct Case {
    bool Shaded;
    int Colours;
    GridColour FixedFill, OwnFill, Text;
  };
  const GridColour own_back = GridRGB(10, 200, 30);
  const GridColour own_text = GridRGB(200, 100, 50);
  for (const Case& c : {Case{true, 0, 0xC0C0C1, own_back, own_text}, Case{false, 0, 0, 0, 0}}) {
    SCOPED_TRACE(c.Shaded);
    PrintedGrid t(3, 3);
    t.Grid.SetShadedPrintOut(c.Shaded);
    t.Grid.SetItemBkColour(1, 1, own_back);
    t.Grid.SetItemFgColour(1, 1, own_text);
    t.Grid.SetItemFgColour(1, 2, own_text);
    const RecordingDC dc = t.Print(1);
    const auto filled = [&](GridColour colour) {
      for (const auto& fill : dc.Fills)
        if (fill.Colour == colour)
          return true;
      return false;
    };
    EXPECT_EQ(filled(0xC0C0C1), c.FixedFill != 0);
    EXPECT_EQ(filled(own_back), c.OwnFill != 0);
    EXPECT_EQ(dc.FindText("r1c1")->Colour, c.Text);
    // Without a background of its own a cell prints in the default text colour.
    EXPECT_EQ(dc.FindText("r1c2")->Colour, c.Shaded ? 0x000001u : 0u);
    EXPECT_EQ(dc.Polygons.size(), 0u);
  }
}

TEST(GridPrint, MarginsChangeOnlyWhereGivenANonNegativeValue) {
  GridCore grid;
  EXPECT_EQ(grid.GetPrintMarginInfo(), (GridPrintMargins{2, 2, 4, 4, 1, 1, 1}));
  grid.SetPrintMarginInfo(5, -1, 0, -1, 3, -1, 7);
  EXPECT_EQ(grid.GetPrintMarginInfo(), (GridPrintMargins{5, 2, 0, 4, 3, 1, 7}));
}

} // namespace

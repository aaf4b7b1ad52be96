#include "GridFakes.h"

#include <gtest/gtest.h>

using namespace Ostra::Test;
using Ostra::U32;

namespace {

bool HasFill(const RecordingDC& dc, const GridRect& rect, GridColour colour) {
  for (const auto& fill : dc.Fills)
    if (fill.Rect == rect && fill.Colour == colour)
      return true;
  return false;
}

TEST(GridCell, DefaultCellsAreMeasuredFromTheirFont) {
  TestGrid t(2, 2);
  const CGridDefaultCell* def = t.Grid.GetDefaultCell(false, false);
  // A blank is 8 wide; " XXXXXXXXXXXX " is 14 x 8 by 16, and rows are half as high again.
  EXPECT_EQ(def->GetMargin(), 8u);
  EXPECT_EQ(def->GetWidth(), 112);
  EXPECT_EQ(def->GetHeight(), 24);

  GridCore without_screen(1, 1);
  EXPECT_EQ(without_screen.GetDefaultCell(true, true)->GetMargin(), 3u);
  EXPECT_EQ(without_screen.GetDefaultCell(true, true)->GetWidth(), 40);
  EXPECT_EQ(without_screen.GetDefaultCell(true, true)->GetHeight(), 16);
}

TEST(GridCell, UnsetAttributesResolveToTheDefaultCellOfTheArea) {
  TestGrid t(3, 3);
  CGridCellBase* cell = t.Grid.GetCell(1, 1);
  CGridDefaultCell* def = t.Grid.GetDefaultCell(false, false);
  def->SetMargin(5);
  def->SetFormat(GridFormat::Right);
  EXPECT_EQ(cell->GetMargin(), 5u);
  EXPECT_EQ(cell->GetFont(), def->GetFont());
  EXPECT_TRUE(cell->IsDefaultFont());
  // Colours stay "default" in the cell; only drawing resolves them.
  EXPECT_EQ(cell->GetTextClr(), GridClrDefault);
  EXPECT_EQ(cell->GetDefaultCell(), def);
  EXPECT_EQ(t.Grid.GetCell(0, 1)->GetDefaultCell(), t.Grid.GetDefaultCell(true, false));
  EXPECT_EQ(t.Grid.GetCell(1, 0)->GetDefaultCell(), t.Grid.GetDefaultCell(false, true));
  EXPECT_EQ(t.Grid.GetCell(0, 0)->GetDefaultCell(), t.Grid.GetDefaultCell(true, true));
}

TEST(GridCell, ChangingTheDefaultTextColourChangesCellsWithoutTheirOwn) {
  TestGrid t(3, 3);
  t.Grid.GetDefaultCell(false, false)->SetTextClr(0x0000AA);
  t.Grid.SetItemFgColour(2, 2, 0x00BB00);
  RecordingDC dc;
  t.Grid.OnDraw(dc, {0, 0, 400, 300});
  ASSERT_NE(dc.FindText("r1c1"), nullptr);
  EXPECT_EQ(dc.FindText("r1c1")->Colour, 0x0000AAu);
  EXPECT_EQ(dc.FindText("r2c2")->Colour, 0x00BB00u);
  EXPECT_EQ(dc.FindText("r1c1")->Format, GridFormat::Default | GridFormat::NoPrefix);
}

TEST(GridCell, CopyFromResolvesFormatAndMarginButKeepsDefaultColours) {
  TestGrid t(3, 3);
  CGridCell source;
  source.SetGrid(&t.Grid);
  source.SetText("text");
  source.SetData(7);
  source.SetBackClr(0x123456);
  CGridCell copy;
  copy.CopyFrom(source);
  EXPECT_EQ(copy.GetText(), "text");
  EXPECT_EQ(copy.GetData(), 7);
  EXPECT_EQ(copy.GetBackClr(), 0x123456u);
  EXPECT_EQ(copy.GetTextClr(), GridClrDefault);
  EXPECT_EQ(copy.Format, GridFormat::Default);
  EXPECT_EQ(copy.Margin, 8u);
  EXPECT_TRUE(copy.IsDefaultFont());
}

TEST(GridCell, DefaultCellsAreReadOnlyAndIgnoreStateAndData) {
  CGridDefaultCell def;
  def.SetState(GridItemState::Selected);
  def.SetData(99);
  EXPECT_EQ(def.GetState(), GridItemState::ReadOnly);
  EXPECT_EQ(def.GetData(), 0);
}

TEST(GridCell, TextExtentMeasuresOneLineOrTheWidestLine) {
  TestGrid t(2, 2);
  CGridCellBase* cell = t.Grid.GetCell(1, 1);
  const std::string text = "ab\nabcd";
  struct Case {
    U32 Format;
    GridSize Expected;
  };
  // Margins of 8 on every side.
  for (const Case& c : {Case{GridFormat::Default, {7 * 8 + 16, 16 + 16}},
                        Case{GridFormat::WordBreak, {4 * 8 + 16, 2 * 16 + 16}},
                        Case{GridFormat::WordBreak | GridFormat::SingleLine, {7 * 8 + 16, 16 + 16}}}) {
    SCOPED_TRACE(c.Format);
    cell->SetFormat(c.Format);
    EXPECT_EQ(cell->GetTextExtent(text), c.Expected);
  }
}

TEST(GridCell, AnEmptyCellMeasuresAsItsDefaultCell) {
  TestGrid t(2, 2, 1, 1, false);
  const auto* normal = t.Grid.GetDefaultCell(false, false);
  const auto* fixed = t.Grid.GetDefaultCell(true, false);
  EXPECT_EQ(t.Grid.GetCell(1, 1)->GetCellExtent(nullptr),
            (GridSize{normal->GetWidth() + 1, normal->GetHeight() + 1}));
  EXPECT_EQ(t.Grid.GetCell(0, 1)->GetCellExtent(nullptr),
            (GridSize{fixed->GetWidth() + 2, fixed->GetHeight() + 2}));
}

TEST(GridCell, ASelectedCellIsFilledWithTheHighlightWhateverItsBackground) {
  TestGrid t(3, 3);
  t.Grid.SetItemBkColour(1, 1, 0x00FF00);
  t.Grid.SetItemState(1, 1, GridItemState::Selected);
  RecordingDC dc;
  ASSERT_TRUE(t.Grid.GetCell(1, 1)->Draw(&dc, 1, 1, {50, 20, 99, 39}, true));
  EXPECT_TRUE(HasFill(dc, {50, 20, 100, 40}, t.Host.GetSysColour(GridSysColour::Highlight)));
  EXPECT_FALSE(HasFill(dc, {50, 20, 100, 40}, 0x00FF00));
  EXPECT_EQ(dc.Texts.at(0).Colour, t.Host.GetSysColour(GridSysColour::HighlightText));
}

TEST(GridCell, AFocusedCellIsFramedInItsTextColour) {
  TestGrid t(3, 3);
  t.Grid.SetFocusCell(1, 1);
  RecordingDC dc;
  ASSERT_TRUE(t.Grid.GetCell(1, 1)->Draw(&dc, 1, 1, {50, 20, 99, 39}, true));
  ASSERT_EQ(dc.Frames.size(), 1u);
  EXPECT_EQ(dc.Frames[0].Rect, (GridRect{50, 20, 99, 39}));
  EXPECT_EQ(dc.Frames[0].Colour, t.Host.GetSysColour(GridSysColour::WindowText));

  t.Grid.SetFrameFocusCell(false);
  RecordingDC plain;
  t.Grid.GetCell(1, 1)->Draw(&plain, 1, 1, {50, 20, 99, 39}, true);
  EXPECT_TRUE(plain.Frames.empty());
}

TEST(GridCell, TheFocusCellKeepsTheSelectionColoursInsideItsFrame) {
  constexpr GridColour None = 0x01020304;
  struct Case {
    const char* Name;
    bool Selected;
    bool Lines;
    bool Erase;
    GridColour OwnBack;
    GridColour Fill;
    GridRect Frame;
    GridSysColour Text;
  };
  const GridRect widened{50, 20, 100, 40};
  const GridRect cell{50, 20, 99, 39};
  const Case cases[] = {
      {"selected", true, true, false, GridClrDefault, 0xFF0000, cell, GridSysColour::HighlightText},
      {"selected without grid lines", true, false, false, GridClrDefault, 0xFF0000, widened,
       GridSysColour::HighlightText},
      {"default background not erased", false, true, false, GridClrDefault, None, cell, GridSysColour::WindowText},
      {"own background always painted", false, true, false, 0x00FF00, 0x00FF00, cell, GridSysColour::WindowText},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TestGrid t(3, 3);
    t.Grid.SetGridLines(c.Lines ? 3 : 0);
    t.Grid.SetItemBkColour(1, 1, c.OwnBack);
    t.Grid.SetFocusCell(1, 1);
    if (c.Selected)
      t.Grid.SetSelectedRange(1, 1, 1, 1);
    RecordingDC dc;
    ASSERT_TRUE(t.Grid.GetCell(1, 1)->Draw(&dc, 1, 1, cell, c.Erase));
    if (c.Fill == None) {
      EXPECT_TRUE(dc.Fills.empty());
    } else {
      ASSERT_EQ(dc.Fills.size(), 1u);
      EXPECT_EQ(dc.Fills[0].Rect, widened);
      EXPECT_EQ(dc.Fills[0].Colour, c.Fill);
    }
    ASSERT_EQ(dc.Frames.size(), 1u);
    EXPECT_EQ(dc.Frames[0].Rect, c.Frame);
    EXPECT_EQ(dc.Frames[0].Colour, t.Host.GetSysColour(c.Text));
    EXPECT_EQ(dc.Texts.at(0).Colour, t.Host.GetSysColour(c.Text));
  }
}

TEST(GridCell, FixedCellsGetARaisedBorderOrASunkenOneBesideTheFocus) {
  TestGrid t(3, 3);
  RecordingDC raised;
  t.Grid.GetCell(0, 2)->Draw(&raised, 0, 2, {100, 0, 149, 19}, true);
  ASSERT_EQ(raised.Lines.size(), 4u);
  EXPECT_EQ(raised.Lines[0].Colour, t.Host.GetSysColour(GridSysColour::ThreeDHighlight));
  EXPECT_EQ(raised.Lines[2].Colour, t.Host.GetSysColour(GridSysColour::ThreeDDarkShadow));

  t.Grid.SetFocusCell(1, 2);
  RecordingDC sunken;
  t.Grid.GetCell(0, 2)->Draw(&sunken, 0, 2, {100, 0, 149, 19}, true);
  ASSERT_EQ(sunken.Lines.size(), 4u);
  EXPECT_EQ(sunken.Lines[0].Colour, t.Host.GetSysColour(GridSysColour::ThreeDDarkShadow));
  EXPECT_EQ(sunken.Lines[2].Colour, t.Host.GetSysColour(GridSysColour::ThreeDHighlight));
}

TEST(GridCell, TheSortColumnHeaderShowsAnArrowAndNarrowsItsText) {
  TestGrid t(3, 4);
  t.Grid.SetRowHeight(0, 40);
  t.Grid.SetSortColumn(2);
  t.Grid.SetSortAscending(true);
  RecordingDC dc;
  t.Grid.OnDraw(dc, {0, 0, 400, 300});
  ASSERT_EQ(dc.Polygons.size(), 2u);
  // Inside the border and the margin the header's area is 109..140 by 9..30; the arrow
  // is the height of "M" less 4 = 12, with its flat side on row 29.
  const auto& arrow = dc.Polygons[1].first;
  ASSERT_EQ(arrow.size(), 3u);
  EXPECT_EQ(arrow[0], (GridPoint{129, 29}));
  EXPECT_EQ(arrow[1], (GridPoint{141, 29}));
  EXPECT_EQ(arrow[2], (GridPoint{135, 17}));
  EXPECT_LT(arrow[2].Y, arrow[0].Y); // pointing up for ascending
  const auto* header = dc.FindText("r0c2");
  ASSERT_NE(header, nullptr);
  EXPECT_LE(header->Rect.Right, arrow[0].X + 1);
  EXPECT_EQ(dc.FindText("r0c1")->Rect.Right, 99 - 1 - 8 + 2);
  t.Grid.SetSortAscending(false);
  RecordingDC descending;
  t.Grid.OnDraw(descending, {0, 0, 400, 300});
  EXPECT_EQ(descending.Polygons.at(1).first[2], (GridPoint{135, 29}));
}

TEST(GridCell, DrawingWithoutAGridOrAnAreaDrawsNothing) {
  TestGrid t(2, 2);
  RecordingDC dc;
  CGridCell orphan;
  EXPECT_FALSE(orphan.Draw(&dc, 1, 1, {0, 0, 10, 10}));
  EXPECT_FALSE(t.Grid.GetCell(1, 1)->Draw(&dc, 1, 1, {10, 10, 10, 20}));
  EXPECT_FALSE(t.Grid.GetCell(1, 1)->Draw(nullptr, 1, 1, {0, 0, 10, 10}));
  EXPECT_TRUE(dc.Fills.empty());
  EXPECT_TRUE(dc.Texts.empty());
}

} // namespace

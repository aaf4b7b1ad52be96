#include "GridCtrl/Core/GridCore.h"

#include <algorithm>
#include <ctime>

using Ostra::U32;

namespace {

constexpr GridColour Black = GridRGB(0, 0, 0);
// The printer font: 10 logical units high, normal weight; bold for header and footer.
constexpr int PrinterFontHeight = 10;
constexpr int PrinterFontWeight = 400;
constexpr int PrinterBoldWeight = 700;
constexpr U32 HeaderFormat = GridFormat::VCenter | GridFormat::SingleLine | GridFormat::NoPrefix;

// Cuts an inclusive cell rectangle at the page body's last pixels.
GridRect ClipCell(GridRect rect, int last_x, int last_y) {
  rect.Right = std::min(rect.Right, last_x);
  rect.Bottom = std::min(rect.Bottom, last_y);
  return rect;
}

} // namespace

bool CGridCellBase::PrintCell(GridDC* dc, int /*row*/, int /*col*/, GridRect rect) {
  GridCore* grid = GetGrid();
  if (grid == nullptr || dc == nullptr || rect.Width() <= 0 || rect.Height() <= 0)
    return false;
  GridColour text_clr = Black;
  if (grid->GetShadedPrintOut()) {
    CGridCellBase* def = GetDefaultCell();
    if (def == nullptr)
      return false;
    const bool own_back = GetBackClr() != GridClrDefault;
    bool has_back = false;
    GridColour back_clr = 0;
    if (IsFixed()) {
      back_clr = own_back ? GetBackClr() : def->GetBackClr();
      has_back = true;
    } else if (own_back && GetBackClr() != def->GetBackClr()) {
      back_clr = GetBackClr();
      has_back = true;
    }
    // A cell with its own background and no text colour of its own prints in the
    // default cell's text colour, as it draws on screen.
    text_clr = own_back && GetTextClr() != GridClrDefault ? GetTextClr() : def->GetTextClr();
    if (grid->GetPrintColours() == 2 && !has_back)
      text_clr = GridRGB(GridRed(text_clr) * 30 / 100, GridGreen(text_clr) * 59 / 100, GridBlue(text_clr) * 11 / 100);
    if (has_back)
      dc->FillSolidRect(rect.Widened(), back_clr);
  }

  if (IsFixed() && grid->GetGridLines() != 0) {
    const GridColour light = grid->GetSysColour(GridSysColour::ThreeDHighlight);
    const GridColour dark = grid->GetSysColour(GridSysColour::ThreeDDarkShadow);
    dc->Line({rect.Right, rect.Top}, {rect.Left, rect.Top}, light);
    dc->Line({rect.Left, rect.Top}, {rect.Left, rect.Bottom}, light);
    dc->Line({rect.Right, rect.Top}, {rect.Right, rect.Bottom}, dark);
    dc->Line({rect.Right, rect.Bottom}, {rect.Left, rect.Bottom}, dark);
    rect.Deflate(1, 1);
  }
  const int margin = static_cast<int>(GetMargin());
  rect.Left += margin;
  rect.Right -= margin;
  GridImageList* images = grid->GetImageList();
  if (images != nullptr && GetImage() >= 0 && GetImage() < images->GetImageCount()) {
    dc->DrawImage(*images, GetImage(), rect.TopLeft());
    rect.Left += margin + images->GetImageSize().Width;
  }
  const GridFontDesc* font = GetFontObject();
  dc->DrawText(GetText(), rect.Widened(), GetFormat() | GridFormat::NoPrefix, text_clr,
               font != nullptr ? *font : GridFontDesc{});
  return true;
}

void GridCore::SetPrintMarginInfo(int header, int footer, int left, int right, int top, int bottom, int gap) {
  const auto set = [](int& margin, int value) {
    if (value >= 0)
      margin = value;
  };
  set(PrintMargins.Header, header);
  set(PrintMargins.Footer, footer);
  set(PrintMargins.Left, left);
  set(PrintMargins.Right, right);
  set(PrintMargins.Top, top);
  set(PrintMargins.Bottom, bottom);
  set(PrintMargins.Gap, gap);
}

void GridCore::OnBeginPrinting(GridDC* dc, GridPrintInfo* info) {
  if (dc == nullptr || info == nullptr)
    return;
  PrinterFont = GridFontDesc{"Arial", PrinterFontHeight, PrinterFontWeight};
  const std::string sample(GridPrintMeasureText, GridPrintMeasureLength);
  const GridSize char_extent = dc->TextExtent(PrinterFont, sample);

  GridPrintExtent extent;
  extent.VirtualWidth = GetVirtualWidth();
  extent.FixedRowHeight = GetFixedRowHeight();
  extent.FixedColumnWidth = GetFixedColumnWidth();
  extent.FixedRows = FixedRows;
  extent.FixedCols = FixedCols;
  extent.RowHeights = RowHeights;
  extent.ColWidths = ColWidths;
  PrintLayout = GridPrintLayout(extent, info->Device, char_extent, PrintMargins, PrintAtScreenScale);
  PrintColours = info->Device.Colours;
  info->MinPage = 1;
  info->MaxPage = PrintLayout.GetPageCount();
  info->CurPage = 1;
}

void GridCore::OnPrint(GridDC* dc, GridPrintInfo* info) {
  if (dc == nullptr || info == nullptr)
    return;
  PrintHeader(dc, info);
  PrintCells = PrintLayout.GetPageCells(info->CurPage);
  if (PrintCells.MinRow >= 0) {
    PrintRowHeadings(dc, info);
    PrintColumnHeadings(dc, info);
    const int last_x = PrintLayout.GetBodyLastX();
    const int last_y = PrintLayout.GetBodyLastY();
    int y = PrintLayout.GetBodyTop();
    for (int row = PrintCells.MinRow; row <= PrintCells.MaxRow; ++row) {
      const int height = GetRowHeight(row);
      if (height <= 0)
        continue;
      int x = PrintLayout.GetBodyLeft();
      for (int col = PrintCells.MinCol; col <= PrintCells.MaxCol; ++col) {
        const int width = GetColumnWidth(col);
        if (width <= 0)
          continue;
        PrintCellWithLines(dc, row, col, ClipCell({x, y, x + width - 1, y + height - 1}, last_x, last_y));
        x += width;
      }
      y += height;
    }
  }
  PrintFooter(dc, info);
}

void GridCore::OnEndPrinting(GridDC* dc, GridPrintInfo* info) {
  if (dc == nullptr || info == nullptr)
    return;
  // The layout stays for a look at the last job; only the job's font and device go.
  PrinterFont = {};
  PrintColours = 0;
}

void GridCore::PrintCellWithLines(GridDC* dc, int row, int col, const GridRect& rect) {
  if (rect.Right < rect.Left || rect.Bottom < rect.Top)
    return;
  if (CGridCellBase* cell = GetCell(row, col))
    cell->PrintCell(dc, row, col, rect);
  if ((GridLines & 1) != 0) {
    dc->Line({rect.Left, rect.Bottom}, {rect.Right + 1, rect.Bottom}, Black);
    if (row == 0)
      dc->Line({rect.Left, rect.Top}, {rect.Right + 1, rect.Top}, Black);
  }
  if ((GridLines & 2) != 0) {
    dc->Line({rect.Right, rect.Top}, {rect.Right, rect.Bottom + 1}, Black);
    if (col == 0)
      dc->Line({rect.Left, rect.Top}, {rect.Left, rect.Bottom + 1}, Black);
  }
}

void GridCore::PrintRowHeadings(GridDC* dc, GridPrintInfo* /*info*/) {
  if (dc == nullptr || PrintCells.MinRow < 0)
    return;
  const int last_y = PrintLayout.GetBodyLastY();
  int y = PrintLayout.GetBodyTop();
  for (int row = PrintCells.MinRow; row <= PrintCells.MaxRow; ++row) {
    const int height = GetRowHeight(row);
    if (height <= 0)
      continue;
    int x = PrintLayout.GetLeft();
    for (int col = 0; col < FixedCols; ++col) {
      const int width = GetColumnWidth(col);
      if (width <= 0)
        continue;
      PrintCellWithLines(dc, row, col, ClipCell({x, y, x + width - 1, y + height - 1}, x + width - 1, last_y));
      x += width;
    }
    y += height;
  }
}

void GridCore::PrintColumnHeadings(GridDC* dc, GridPrintInfo* /*info*/) {
  if (dc == nullptr || PrintCells.MinCol < 0)
    return;
  int y = PrintLayout.GetHeadingsTop();
  for (int row = 0; row < FixedRows; ++row) {
    const int height = GetRowHeight(row);
    if (height <= 0)
      continue;
    PrintFixedRowCells(dc, row, 0, FixedCols - 1, PrintLayout.GetLeft(), y);
    PrintFixedRowCells(dc, row, PrintCells.MinCol, PrintCells.MaxCol, PrintLayout.GetBodyLeft(), y);
    y += height;
  }
}

void GridCore::PrintFixedRowCells(GridDC* dc, int row, int first_col, int last_col, int x, int y) {
  if (dc == nullptr)
    return;
  const int height = GetRowHeight(row);
  const int last_x = PrintLayout.GetBodyLastX();
  for (int col = first_col; col <= last_col; ++col) {
    const int width = GetColumnWidth(col);
    if (width <= 0)
      continue;
    const int cell_last_x = col < FixedCols ? x + width - 1 : last_x;
    PrintCellWithLines(dc, row, col, ClipCell({x, y, x + width - 1, y + height - 1}, cell_last_x, y + height - 1));
    x += width;
  }
}

void GridCore::PrintHeader(GridDC* dc, GridPrintInfo* info) {
  if (dc == nullptr || info == nullptr)
    return;
  GridFontDesc bold = PrinterFont;
  bold.Weight = PrinterBoldWeight;
  const GridRect rect = PrintLayout.GetHeaderRect();
  dc->DrawText(info->WindowTitle, rect, HeaderFormat | GridFormat::Center, Black, bold);
  dc->DrawText(info->AppTitle, rect, HeaderFormat | GridFormat::Right, Black, bold);
  dc->Line({rect.Left, rect.Bottom}, {rect.Right, rect.Bottom}, Black);
}

void GridCore::PrintFooter(GridDC* dc, GridPrintInfo* info) {
  if (dc == nullptr || info == nullptr)
    return;
  GridFontDesc bold = PrinterFont;
  bold.Weight = PrinterBoldWeight;
  const GridRect rect = PrintLayout.GetFooterRect();
  dc->Line({rect.Left, rect.Top}, {rect.Right, rect.Top}, Black);
  dc->DrawText(FormatPageOf(info->CurPage, info->MaxPage), rect, HeaderFormat | GridFormat::Left, Black, bold);
  const std::string date = info->DateText.empty() ? FormatPrintDate(std::time(nullptr)) : info->DateText;
  dc->DrawText(date, rect, HeaderFormat | GridFormat::Right, Black, bold);
}

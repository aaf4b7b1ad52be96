#include "GridCtrl/Core/GridPrintLayout.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>

namespace {

// Bounds that keep every product of a margin and a character size well inside an int;
// no page holds more.
constexpr int MaxMargin = 10000;
constexpr int MaxCharSize = 10000;

int ClampToInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

GridPrintMargins Bounded(GridPrintMargins margins) {
  for (int* margin : {&margins.Header, &margins.Footer, &margins.Left, &margins.Right, &margins.Top, &margins.Bottom,
                      &margins.Gap})
    *margin = std::clamp(*margin, 0, MaxMargin);
  return margins;
}

} // namespace

GridPrintLayout::GridPrintLayout(const GridPrintExtent& extent, const GridPrintDevice& device, GridSize char_extent,
                                 const GridPrintMargins& margins, bool screen_scale)
    : Extent(extent), Margins(Bounded(margins)),
      CharWidth(std::clamp(char_extent.Width / GridPrintMeasureLength, 0, MaxCharSize)),
      CharHeight(std::clamp(char_extent.Height, 0, MaxCharSize)) {
  const std::int64_t horz_margins = std::int64_t{CharWidth} * (Margins.Left + Margins.Right);
  if (screen_scale) {
    // Screen pixels, shrunk by a quarter so that a page holds a little more than the
    // window shows. Each step truncates.
    const auto scaled = [](std::int64_t size, int screen_ppi, int printer_ppi) {
      if (printer_ppi <= 0)
        return size * 3 / 4;
      return size * screen_ppi / printer_ppi * 3 / 4;
    };
    LogicalWidth = ClampToInt(scaled(device.PageWidth, device.ScreenPpiX, device.PrinterPpiX));
    LogicalHeight = ClampToInt(scaled(device.PageHeight, device.ScreenPpiY, device.PrinterPpiY));
  } else {
    // The whole width of the grid across one page, the height in the page's proportion.
    const std::int64_t width = std::int64_t{Extent.VirtualWidth} + horz_margins;
    LogicalWidth = ClampToInt(width);
    LogicalHeight = device.PageWidth > 0 ? ClampToInt(width * device.PageHeight / device.PageWidth) : 0;
  }
  PageHeight = ClampToInt(std::int64_t{LogicalHeight} -
                          std::int64_t{CharHeight} * (Margins.Header + Margins.Footer + 2 * Margins.Gap) -
                          Extent.FixedRowHeight);
  PageWidth = ClampToInt(std::int64_t{LogicalWidth} - horz_margins - Extent.FixedColumnWidth);

  RowStarts = PageStarts(Extent.RowHeights, Extent.FixedRows, PageHeight);
  if (screen_scale)
    ColStarts = PageStarts(Extent.ColWidths, Extent.FixedCols, PageWidth);
  else
    ColStarts = {Extent.FixedCols};
}

// A page always takes at least one visible row, however tall: a row larger than the
// room is printed cut on a page of its own instead of leaving blank pages behind.
std::vector<int> GridPrintLayout::PageStarts(const std::vector<int>& sizes, int first, int room) {
  std::vector<int> starts{first};
  std::int64_t sum = 0;
  for (std::size_t i = static_cast<std::size_t>(std::max(first, 0)); i < sizes.size(); ++i) {
    const int size = sizes[i];
    if (size > 0 && sum > 0 && sum + size > room) {
      starts.push_back(static_cast<int>(i));
      sum = 0;
    }
    sum += std::max(size, 0);
  }
  return starts;
}

CCellRange GridPrintLayout::GetPageCells(int page) const {
  if (page < 1 || page > GetPageCount())
    return {};
  const auto down = static_cast<std::size_t>((page - 1) / GetPagesAcross());
  const auto across = static_cast<std::size_t>((page - 1) % GetPagesAcross());
  const int rows = static_cast<int>(Extent.RowHeights.size());
  const int cols = static_cast<int>(Extent.ColWidths.size());
  const int last_row = down + 1 < RowStarts.size() ? RowStarts[down + 1] - 1 : rows - 1;
  const int last_col = across + 1 < ColStarts.size() ? ColStarts[across + 1] - 1 : cols - 1;
  return {RowStarts[down], ColStarts[across], last_row, last_col};
}

GridRect GridPrintLayout::GetHeaderRect() const {
  const int width = LogicalWidth - CharWidth * (Margins.Left + Margins.Right);
  return {GetLeft(), 0, GetLeft() + width, CharHeight * Margins.Header};
}

GridRect GridPrintLayout::GetFooterRect() const {
  const GridRect header = GetHeaderRect();
  return {header.Left, LogicalHeight - CharHeight * Margins.Footer, header.Right, LogicalHeight};
}

int GridPrintLayout::GetBodyLastX() const {
  return PageWidth > 0 ? GetBodyLeft() + PageWidth - 1 : GetHeaderRect().Right - 1;
}

int GridPrintLayout::GetBodyLastY() const {
  return PageHeight > 0 ? GetBodyTop() + PageHeight - 1 : LogicalHeight - 1;
}

std::string FormatPageOf(int page, int pages) {
  char text[64];
  std::snprintf(text, sizeof text, "Page %d of %d", page, pages);
  return text;
}

std::string FormatPrintDate(std::time_t when) {
  std::tm parts{};
  char text[128];
  if (localtime_r(&when, &parts) == nullptr || std::strftime(text, sizeof text, "%c", &parts) == 0)
    return "Invalid DateTime";
  return text;
}

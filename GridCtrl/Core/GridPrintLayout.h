#pragma once

// How a grid falls onto printed pages, as plain arithmetic over its row heights and
// column widths. Logical units are the grid's own pixels; the printing layer maps the
// logical page onto the device page.

#include "GridCtrl/Core/GridTypes.h"

#include <ctime>
#include <string>
#include <vector>

// Margins of a printed page. Header, footer, top, bottom and gap count character
// heights of the printer font; left and right count character widths.
struct GridPrintMargins {
  int Header = 2;
  int Footer = 2;
  int Left = 4;
  int Right = 4;
  int Top = 1;
  int Bottom = 1;
  int Gap = 1;
  bool operator==(const GridPrintMargins&) const = default;
};

// What the printer and the screen report.
struct GridPrintDevice {
  // The printable page in printer pixels.
  int PageWidth = 0;
  int PageHeight = 0;
  int PrinterPpiX = 0;
  int PrinterPpiY = 0;
  int ScreenPpiX = 0;
  int ScreenPpiY = 0;
  // 2 for a black-and-white printer; 0 when unknown.
  int Colours = 0;
};

// The print job as the grid sees it: the device, the pages and the texts of the header
// and footer, which the window layer supplies.
struct GridPrintInfo {
  GridPrintDevice Device;
  int CurPage = 1;
  int MinPage = 1;
  int MaxPage = 0;
  // Centred in the header: the text of the window the grid sits in.
  std::string WindowTitle;
  // Right-aligned in the header: the application's name.
  std::string AppTitle;
  // Right-aligned in the footer; when empty, the current date and time.
  std::string DateText;
};

// The sizes of the grid that pagination needs.
struct GridPrintExtent {
  int VirtualWidth = 0;
  int FixedRowHeight = 0;
  int FixedColumnWidth = 0;
  int FixedRows = 0;
  int FixedCols = 0;
  // Every row's height and every column's width, fixed ones included.
  std::vector<int> RowHeights;
  std::vector<int> ColWidths;
};

// The characters whose mean width is the printer font's character width. The repeated
// "A" and the 52-character cut (which leaves out the "Z") are deliberate: margins
// measured this way match pages printed before.
inline constexpr const char* GridPrintMeasureText = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSATUVWXYZ";
inline constexpr int GridPrintMeasureLength = 52;

class GridPrintLayout {
public:
  GridPrintLayout() = default;
  // char_extent is the extent of the first GridPrintMeasureLength characters of
  // GridPrintMeasureText in the printer font.
  GridPrintLayout(const GridPrintExtent& extent, const GridPrintDevice& device, GridSize char_extent,
                  const GridPrintMargins& margins, bool screen_scale);

  int GetCharWidth() const { return CharWidth; }
  int GetCharHeight() const { return CharHeight; }
  int GetLogicalWidth() const { return LogicalWidth; }
  int GetLogicalHeight() const { return LogicalHeight; }
  // The room for non-fixed cells on a page; may be zero or less with large margins.
  int GetPageWidth() const { return PageWidth; }
  int GetPageHeight() const { return PageHeight; }
  int GetPagesAcross() const { return static_cast<int>(ColStarts.size()); }
  int GetPagesDown() const { return static_cast<int>(RowStarts.size()); }
  int GetPageCount() const { return GetPagesAcross() * GetPagesDown(); }

  // The non-fixed rows and columns printed on page (from 1), inclusive; pages run across
  // first, then down. Empty ranges (max < min) when the grid has none. {-1,-1,-1,-1}
  // for a page that does not exist.
  CCellRange GetPageCells(int page) const;

  // Where things go on the logical page; rectangles exclude their right and bottom edge.
  GridRect GetHeaderRect() const;
  GridRect GetFooterRect() const;
  // Left edge of the fixed columns, and of the page's non-fixed columns.
  int GetLeft() const { return CharWidth * Margins.Left; }
  int GetBodyLeft() const { return GetLeft() + Extent.FixedColumnWidth; }
  // Top edge of the fixed rows, and of the page's non-fixed rows.
  int GetHeadingsTop() const { return CharHeight * (Margins.Header + Margins.Gap); }
  int GetBodyTop() const { return GetHeadingsTop() + Extent.FixedRowHeight; }
  // The last pixel a cell may reach; a row or column too large for any page is cut
  // here rather than left off.
  int GetBodyLastX() const;
  int GetBodyLastY() const;

private:
  static std::vector<int> PageStarts(const std::vector<int>& sizes, int first, int room);

  GridPrintExtent Extent;
  GridPrintMargins Margins;
  int CharWidth = 0;
  int CharHeight = 0;
  int LogicalWidth = 0;
  int LogicalHeight = 0;
  int PageWidth = 0;
  int PageHeight = 0;
  // The first row of each page down and the first column of each page across.
  std::vector<int> RowStarts;
  std::vector<int> ColStarts;
};

// "Page 1 of 3".
std::string FormatPageOf(int page, int pages);
// The date and time in the locale's standard form, or "Invalid DateTime".
std::string FormatPrintDate(std::time_t when);

#include "GridCtrl/GridPrintout.h"

#include "GridCtrl/GridCtrl.h"
#include "GridCtrl/WxGridDC.h"

#include <wx/app.h>
#include <wx/dc.h>
#include <wx/dcscreen.h>
#include <wx/generic/printps.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A font of this many pixels compares the printer's text size with the screen's.
constexpr int ProbeFontHeight = 100;

// The printer's surface with fonts resized so that text takes as many logical units as
// it takes screen pixels: wx sizes printer fonts physically and then applies the user
// scale on top, so without this the text would not fit the cells it is printed in.
class PrintGridDC : public WxGridDC {
public:
  PrintGridDC(wxDC& dc, double font_scale) : WxGridDC(dc), FontScale(font_scale) {}

  bool IsPrinting() const override { return true; }
  GridSize TextExtent(const GridFontDesc& font, const std::string& text) override {
    return WxGridDC::TextExtent(Scaled(font), text);
  }
  void DrawText(const std::string& text, const GridRect& rect, Ostra::U32 format, GridColour colour,
                const GridFontDesc& font) override {
    WxGridDC::DrawText(text, rect, format, colour, Scaled(font));
  }

private:
  GridFontDesc Scaled(const GridFontDesc& font) const {
    GridFontDesc scaled = font;
    if (scaled.Height <= 0)
      scaled = FromWxFont(ToWxFont(font));
    scaled.Height = std::max(1, static_cast<int>(std::lround(scaled.Height * FontScale)));
    return scaled;
  }

  double FontScale;
};

// How much larger the printer draws a font than the screen, at the DC's current scale.
double PrinterFontScale(wxDC& dc) {
  const GridFontDesc probe{"Arial", ProbeFontHeight, 400};
  WxGridDC printer(dc);
  wxScreenDC screen_dc;
  WxGridDC screen(screen_dc);
  const int printed = printer.TextExtent(probe, "M").Height;
  const int wanted = screen.TextExtent(probe, "M").Height;
  return printed > 0 && wanted > 0 ? static_cast<double>(wanted) / printed : 1.0;
}

std::string AppTitle() {
  return wxTheApp != nullptr ? wxTheApp->GetAppDisplayName().ToStdString(wxConvUTF8) : std::string();
}

} // namespace

wxString GetFirstWindowText(const wxWindow* window) {
  for (; window != nullptr; window = window->GetParent())
    if (!window->GetLabel().empty())
      return window->GetLabel();
  return {};
}

GridPrintout::GridPrintout(CGridCtrl& grid, const wxString& title) : wxPrintout(title), Grid(grid) {}

void GridPrintout::OnPreparePrinting() {
  // A preview asks before it has a surface; the page size is known by then.
  wxDC* dc = GetDC();
  GridPrintDevice& device = Info.Device;
  GetPageSizePixels(&device.PageWidth, &device.PageHeight);
  GetPPIPrinter(&device.PrinterPpiX, &device.PrinterPpiY);
  GetPPIScreen(&device.ScreenPpiX, &device.ScreenPpiY);
  device.Colours = dc != nullptr && dc->GetDepth() == 1 ? 2 : 0;
  Info.WindowTitle = GetFirstWindowText(Grid.GetParent()).ToStdString(wxConvUTF8);
  Info.AppTitle = AppTitle();
  // Logical units are screen pixels, so the printer font is measured as the screen
  // shows it; PrintGridDC then prints it at that size.
  wxScreenDC screen_dc;
  WxGridDC grid_dc(screen_dc);
  Grid.OnBeginPrinting(&grid_dc, &Info);
}

void GridPrintout::GetPageInfo(int* min_page, int* max_page, int* page_from, int* page_to) {
  *min_page = Info.MinPage;
  *max_page = Info.MaxPage;
  *page_from = Info.MinPage;
  *page_to = Info.MaxPage;
}

bool GridPrintout::HasPage(int page) { return page >= Info.MinPage && page <= Info.MaxPage; }

bool GridPrintout::OnPrintPage(int page) {
  wxDC* dc = GetDC();
  if (dc == nullptr || !HasPage(page))
    return false;
  const GridPrintLayout& layout = Grid.GetPrintLayout();
  if (layout.GetLogicalWidth() <= 0 || layout.GetLogicalHeight() <= 0)
    return false;
  FitThisSizeToPage(wxSize(layout.GetLogicalWidth(), layout.GetLogicalHeight()));
  Info.CurPage = page;
  PrintGridDC grid_dc(*dc, PrinterFontScale(*dc));
  Grid.OnPrint(&grid_dc, &Info);
  return true;
}

void GridPrintout::OnEndPrinting() {
  if (wxDC* dc = GetDC()) {
    PrintGridDC grid_dc(*dc, 1.0);
    Grid.OnEndPrinting(&grid_dc, &Info);
  }
}

bool CGridCtrl::Print(wxPrintDialogData* dialog_data) {
  wxString title = wxString::FromUTF8(AppTitle());
  if (title.empty())
    title = GetFirstWindowText(GetParent());
  GridPrintout printout(*this, title);
  if (dialog_data != nullptr) {
    // The caller has asked its own questions already. The platform's printer on GTK
    // ignores a file name, so a job for a file goes out as PostScript.
    if (dialog_data->GetPrintData().GetPrintMode() == wxPRINT_MODE_FILE &&
        !dialog_data->GetPrintData().GetFilename().empty()) {
      // Unset page numbers mean every page; the PostScript printer would print none.
      wxPrintDialogData data(*dialog_data);
      if (data.GetAllPages() || data.GetToPage() <= 0) {
        data.SetFromPage(1);
        data.SetToPage(std::numeric_limits<int>::max());
      }
      wxPostScriptPrinter printer(&data);
      return printer.Print(this, &printout, false);
    }
    wxPrinter printer(dialog_data);
    return printer.Print(this, &printout, false);
  }
  wxPrintDialogData data;
  data.SetAllPages(true);
  data.EnablePageNumbers(false);
  data.EnableSelection(false);
  data.EnablePrintToFile(false);
  wxPrinter printer(&data);
  return printer.Print(this, &printout, true);
}

wxPrintPreview* CreateGridPrintPreview(CGridCtrl& grid, wxPrintDialogData* data) {
  wxString title = wxString::FromUTF8(AppTitle());
  if (title.empty())
    title = GetFirstWindowText(grid.GetParent());
  auto* preview = new wxPrintPreview(new GridPrintout(grid, title), new GridPrintout(grid, title), data);
  if (!preview->IsOk()) {
    delete preview;
    return nullptr;
  }
  return preview;
}

bool ShowGridPrintPreview(CGridCtrl& grid, wxWindow* parent) {
  wxPrintPreview* preview = CreateGridPrintPreview(grid);
  if (preview == nullptr)
    return false;
  // The frame owns the preview from here on.
  auto* frame = new wxPreviewFrame(preview, parent, preview->GetPrintout()->GetTitle());
  frame->Initialize();
  frame->Show();
  return true;
}

// Printing a real grid window: to a file through the platform's printing, and one page
// drawn onto a bitmap. They need an X display and skip without one.

#include "GridCtrl/GridCtrl.h"
#include "GridCtrl/GridPrintout.h"
#include "TestSupport/TempDir.h"

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/cmndata.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdlib>
#include <string>

namespace {

// Starts wx once per process, or uses the application another test file started.
bool StartPrintWx() {
  static const bool started = [] {
    if (wxTheApp != nullptr)
      return true;
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0')
      return false;
    setenv("GDK_BACKEND", "x11", 0);
    setenv("NO_AT_BRIDGE", "1", 0);
    static char name[] = "GridPrintGuiTests";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    wxApp::SetInstance(new wxApp());
    return wxEntryStart(argc, argv) && wxTheApp->CallOnInit();
  }();
  return started;
}

// Pages in a PDF or PostScript file, by their page markers.
int CountPages(const std::string& data) {
  int pages = 0;
  if (data.rfind("%PDF", 0) == 0) {
    for (std::size_t at = data.find("/Type /Page"); at != std::string::npos; at = data.find("/Type /Page", at + 1))
      if (data.compare(at, 12, "/Type /Pages") != 0)
        ++pages;
  } else {
    for (std::size_t at = data.find("%%Page:"); at != std::string::npos; at = data.find("%%Page:", at + 1))
      ++pages;
  }
  return pages;
}

class GridPrinting : public testing::Test {
protected:
  void SetUp() override {
    if (!StartPrintWx())
      GTEST_SKIP() << "No X display: the printing tests need one (DISPLAY is not set or cannot be opened).";
    Frame = new wxFrame(nullptr, wxID_ANY, "Lap records", wxDefaultPosition, wxSize(500, 400));
    Grid = new CGridCtrl(0, 0, 0, 0);
    ASSERT_TRUE(Grid->Create(Frame, 100, wxPoint(0, 0), wxSize(400, 300)));
  }
  void TearDown() override {
    if (Frame != nullptr)
      Frame->Destroy();
    if (wxTheApp != nullptr)
      wxTheApp->ProcessPendingEvents();
  }
  // rows non-fixed rows of 20 under one fixed row; four columns of 100.
  void Fill(int rows) {
    Grid->SetColumnCount(4);
    Grid->SetRowCount(rows + 1);
    Grid->SetFixedColumnCount(1);
    Grid->SetFixedRowCount(1);
    for (int row = 0; row <= rows; ++row) {
      Grid->SetRowHeight(row, 20);
      for (int col = 0; col < 4; ++col)
        Grid->SetItemText(row, col, "R" + std::to_string(row) + "C" + std::to_string(col));
    }
    for (int col = 0; col < 4; ++col)
      Grid->SetColumnWidth(col, 100);
  }

  wxFrame* Frame = nullptr;
  CGridCtrl* Grid = nullptr;
};

TEST_F(GridPrinting, PrintingToAFileGivesOnePagePerPageOfRows) {
  // Without margins a 400-wide grid on an upright A4 page has about 545 pixels for
  // rows: 26 to 28 rows of 20 a page, so 60 rows take three pages.
  Fill(60);
  Grid->SetPrintMarginInfo(0, 0, 0, 0, 0, 0, 0);
  Ostra::Test::TempDir dir;
  {
    const std::string path = dir / "grid.ps";
    wxPrintData data;
    data.SetPaperId(wxPAPER_A4);
    data.SetOrientation(wxPORTRAIT);
    data.SetFilename(wxString::FromUTF8(path));
    data.SetPrintMode(wxPRINT_MODE_FILE);
    wxPrintDialogData dialog(data);
    ASSERT_TRUE(Grid->Print(&dialog)) << "error " << wxPrinter::GetLastError();
    const std::vector<unsigned char> bytes = Ostra::Test::ReadWholeFile(path);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(CountPages(std::string(bytes.begin(), bytes.end())), 3);
  }
}

TEST_F(GridPrinting, APageOnABitmapShowsHeaderFooterAndCells) {
  Fill(5);
  // A page of 850 x 1100 pixels at 100 per inch, like letter paper on a coarse printer.
  wxBitmap bitmap(850, 1100, 24);
  wxMemoryDC dc(bitmap);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  GridPrintout printout(*Grid, "grid");
  printout.SetDC(&dc);
  printout.SetPageSizePixels(850, 1100);
  printout.SetPaperRectPixels(wxRect(0, 0, 850, 1100));
  printout.SetPPIPrinter(100, 100);
  printout.SetPPIScreen(100, 100);
  printout.OnPreparePrinting();
  int min_page = 0, max_page = 0, from = 0, to = 0;
  printout.GetPageInfo(&min_page, &max_page, &from, &to);
  EXPECT_EQ(max_page, 1);
  EXPECT_EQ(printout.GetInfo().WindowTitle, "Lap records");
  printout.OnBeginPrinting();
  ASSERT_TRUE(printout.OnPrintPage(1));
  printout.OnEndPrinting();
  dc.SelectObject(wxNullBitmap);
  const wxImage image = bitmap.ConvertToImage();

  // Logical units scale to the page: the grid's width plus margins spans it.
  const GridPrintLayout& layout = Grid->GetPrintLayout();
  const double scale = 850.0 / layout.GetLogicalWidth();
  const auto ink = [&](const GridRect& logical) {
    int dark = 0;
    for (int y = static_cast<int>(logical.Top * scale); y < static_cast<int>(logical.Bottom * scale); ++y)
      for (int x = static_cast<int>(logical.Left * scale); x < static_cast<int>(logical.Right * scale); ++x)
        if (x >= 0 && y >= 0 && x < image.GetWidth() && y < image.GetHeight() && image.GetRed(x, y) < 128 &&
            image.GetGreen(x, y) < 128 && image.GetBlue(x, y) < 128)
          ++dark;
    return dark;
  };
  const GridRect header = layout.GetHeaderRect();
  const GridRect footer = layout.GetFooterRect();
  // The window's title in the middle of the header; "Page 1 of 1" at the footer's left.
  const int mid = (header.Left + header.Right) / 2;
  EXPECT_GT(ink({mid - 40, header.Top, mid + 40, header.Bottom - 1}), 20);
  EXPECT_GT(ink({footer.Left, footer.Top + 2, footer.Left + 60, footer.Bottom}), 20);
  // Text in a body cell (row 2, column 2) and in a header cell (row 0, column 1).
  const int body_x = layout.GetBodyLeft() + 100;
  const int body_y = layout.GetBodyTop() + 20;
  EXPECT_GT(ink({body_x + 2, body_y + 2, body_x + 60, body_y + 18}), 10);
  EXPECT_GT(ink({layout.GetBodyLeft() + 2, layout.GetHeadingsTop() + 2, layout.GetBodyLeft() + 60,
                 layout.GetHeadingsTop() + 18}),
            10);
  // Below the last row and above the footer the page stays blank.
  const int below = layout.GetBodyTop() + 5 * 20 + 5;
  EXPECT_EQ(ink({layout.GetLeft() + 5, below, header.Right - 5, footer.Top - 5}), 0);
}

TEST_F(GridPrinting, APreviewCountsThePagesAndDrawsThem) {
  Fill(60);
  wxPrintPreview* preview = CreateGridPrintPreview(*Grid);
  ASSERT_NE(preview, nullptr);
  // The frame owns the preview; it counts the pages when it renders the first one.
  auto* frame = new wxPreviewFrame(preview, Frame, "preview");
  frame->Initialize();
  frame->Show();
  for (int i = 0; i < 20 && preview->GetMaxPage() < 2; ++i) {
    frame->Update();
    wxYield();
  }
  EXPECT_GE(preview->GetMaxPage(), 2);
  EXPECT_EQ(preview->GetMinPage(), 1);
  EXPECT_TRUE(preview->SetCurrentPage(2));
  frame->Destroy();
}

} // namespace

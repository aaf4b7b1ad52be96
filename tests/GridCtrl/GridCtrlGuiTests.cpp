// Real-window checks of the grid. They need an X display (the test command provides
// Xvfb) and skip without one.

#include "GridCtrl/GridCtrl.h"
#include "GridCtrl/WxGridDC.h"

#include <gtest/gtest.h>

#include "TestSupport/WxTestApp.h"

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/init.h>
#include <wx/settings.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using Ostra::Test::StartWx;

class GridWindow : public testing::Test {
protected:
  void SetUp() override {
    if (!StartWx())
      GTEST_SKIP() << "No X display: the window tests need one (DISPLAY is not set or cannot be opened).";
    Frame = new wxFrame(nullptr, wxID_ANY, "grid", wxDefaultPosition, wxSize(500, 400));
    Grid = new CGridCtrl(0, 0, 0, 0);
    ASSERT_TRUE(Grid->Create(Frame, 100, wxPoint(0, 0), wxSize(400, 300)));
    Frame->Bind(EVT_GRID_NOTIFY, [this](GridCtrlEvent& event) {
      Codes.push_back(event.GetCode());
      if (event.GetCode() == LVN_BEGINLABELEDITA)
        event.SetResult(BeginEditAnswer);
    });
    Frame->Show();
    Ostra::Test::SettleWx();
  }
  void TearDown() override {
    // A skipped test never started wx, and there is nothing to settle.
    if (Frame == nullptr)
      return;
    Frame->Destroy();
    Ostra::Test::SettleWx();
  }
  void Fill(int rows, int cols) {
    Grid->SetColumnCount(cols);
    Grid->SetRowCount(rows + 1);
    Grid->SetFixedColumnCount(1);
    Grid->SetFixedRowCount(1);
    Grid->SetRowResize(false);
    Grid->EnableTitleTips(false);
    for (int row = 0; row <= rows; ++row)
      for (int col = 0; col < cols; ++col)
        Grid->SetItemText(row, col, std::to_string(row * 10 + col));
    Ostra::Test::SettleWx();
  }
  wxImage Paint() {
    const wxSize size = Grid->GetClientSize();
    wxBitmap bitmap(size.GetWidth(), size.GetHeight(), 24);
    {
      wxMemoryDC dc(bitmap);
      WxGridDC grid_dc(dc);
      Grid->OnDraw(grid_dc, {0, 0, size.GetWidth(), size.GetHeight()});
    }
    return bitmap.ConvertToImage();
  }
  static GridColour Pixel(const wxImage& image, int x, int y) {
    return GridRGB(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
  }
  static GridColour Sys(wxSystemColour which) { return FromWxColour(wxSystemSettings::GetColour(which)); }
  wxMouseEvent Mouse(wxEventType type, int x, int y) {
    wxMouseEvent event(type);
    event.SetEventObject(Grid);
    event.SetPosition(wxPoint(x, y));
    return event;
  }

  wxFrame* Frame = nullptr;
  CGridCtrl* Grid = nullptr;
  std::vector<int> Codes;
  long BeginEditAnswer = 0;
};

TEST_F(GridWindow, PaintsSelectionAndHeaderBorders) {
  Fill(3000, 6);
  Grid->SetSelectedRange(2, 2, 2, 2);
  GridRect cell;
  ASSERT_TRUE(Grid->GetCellRect(2, 2, &cell));
  GridRect header;
  ASSERT_TRUE(Grid->GetCellRect(0, 2, &header));
  const wxImage image = Paint();
  // The right end of a cell holds no text.
  EXPECT_EQ(Pixel(image, cell.Right - 2, cell.Top + 2), Sys(wxSYS_COLOUR_HIGHLIGHT));
  GridRect other;
  ASSERT_TRUE(Grid->GetCellRect(3, 2, &other));
  EXPECT_EQ(Pixel(image, other.Right - 2, other.Top + 2), Sys(wxSYS_COLOUR_WINDOW));
  EXPECT_EQ(Pixel(image, header.Left + 4, header.Top), Sys(wxSYS_COLOUR_BTNHIGHLIGHT));
  EXPECT_EQ(Pixel(image, header.Left + 4, header.Bottom), Sys(wxSYS_COLOUR_3DDKSHADOW));
  // Grid lines at each column's last pixel.
  EXPECT_EQ(Pixel(image, other.Right, other.Top + 3), Grid->GetGridLineColor());
}

TEST_F(GridWindow, ScrollBarsComeAndGoWithTheWindowSize) {
  Fill(5, 3);
  EXPECT_FALSE(Grid->IsScrollBarShown(GridBar::Vert));
  EXPECT_FALSE(Grid->IsScrollBarShown(GridBar::Horz));
  Grid->SetSize(150, 120);
  Ostra::Test::SettleWx();
  EXPECT_TRUE(Grid->IsScrollBarShown(GridBar::Vert));
  EXPECT_TRUE(Grid->IsScrollBarShown(GridBar::Horz));
  EXPECT_LT(Grid->GetClientSize().GetWidth(), 150 - 8);
  Grid->SetSize(400, 300);
  Ostra::Test::SettleWx();
  EXPECT_FALSE(Grid->IsScrollBarShown(GridBar::Vert));
  EXPECT_FALSE(Grid->IsScrollBarShown(GridBar::Horz));
}

TEST_F(GridWindow, WheelAndKeysScrollTheRows) {
  Fill(3000, 6);
  wxMouseEvent wheel = Mouse(wxEVT_MOUSEWHEEL, 50, 50);
  wheel.m_wheelRotation = -120;
  wheel.m_wheelDelta = 120;
  wheel.m_linesPerAction = 3;
  Grid->HandleMouseWheel(wheel);
  EXPECT_EQ(Grid->GetTopleftNonFixedCell().Row, 4);
  EXPECT_EQ(Grid->GetScrollPos(wxVERTICAL), Grid->GetScrollPos32(GridBar::Vert));

  Grid->SetFocusCell(4, 1);
  wxKeyEvent key(wxEVT_KEY_DOWN);
  key.m_keyCode = WXK_PAGEDOWN;
  Grid->HandleKeyDown(key);
  EXPECT_GT(Grid->GetTopleftNonFixedCell().Row, 10);
  EXPECT_TRUE(Grid->IsCellVisible(Grid->GetFocusCell()));
  key.m_keyCode = WXK_HOME;
  key.SetControlDown(true);
  Grid->HandleKeyDown(key);
  EXPECT_EQ(Grid->GetTopleftNonFixedCell().Row, 1);
  EXPECT_EQ(Grid->GetFocusCell(), CCellID(1, 1));
}

TEST_F(GridWindow, ADividerDragCapturesTheMouseAndResizesTheColumn) {
  Fill(10, 4);
  GridRect header;
  ASSERT_TRUE(Grid->GetCellRect(0, 1, &header));
  const int y = (header.Top + header.Bottom) / 2;
  wxMouseEvent move = Mouse(wxEVT_MOTION, header.Right, y);
  Grid->HandleMouse(move);
  wxMouseEvent down = Mouse(wxEVT_LEFT_DOWN, header.Right, y);
  down.SetLeftDown(true);
  Grid->HandleMouse(down);
  EXPECT_TRUE(Grid->HasCapture());
  wxMouseEvent drag = Mouse(wxEVT_MOTION, header.Left + 30, y);
  drag.SetLeftDown(true);
  Grid->HandleMouse(drag);
  wxMouseEvent up = Mouse(wxEVT_LEFT_UP, header.Left + 30, y);
  Grid->HandleMouse(up);
  EXPECT_FALSE(Grid->HasCapture());
  EXPECT_EQ(Grid->GetColumnWidth(1), 30);
}

TEST_F(GridWindow, ADoubleClickOnADividerSizesTheColumnToItsText) {
  Fill(10, 4);
  Grid->SetItemText(5, 1, "a much longer text than the column holds");
  GridRect header;
  ASSERT_TRUE(Grid->GetCellRect(0, 1, &header));
  const int x = header.Right;
  const int y = (header.Top + header.Bottom) / 2;
  wxMouseEvent move = Mouse(wxEVT_MOTION, x, y);
  Grid->HandleMouse(move);
  // GTK's order for a double click.
  for (const wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEFT_DOWN, wxEVT_LEFT_DCLICK, wxEVT_LEFT_UP}) {
    wxMouseEvent event = Mouse(type, x, y);
    event.SetLeftDown(type == wxEVT_LEFT_DOWN || type == wxEVT_LEFT_DCLICK);
    Grid->HandleMouse(event);
  }
  EXPECT_FALSE(Grid->HasCapture());
  EXPECT_EQ(Grid->GetColumnWidth(1), Grid->GetCell(5, 1)->GetCellExtent(nullptr).Width);
  EXPECT_GT(Grid->GetColumnWidth(1), header.Right - header.Left + 1);
}

TEST_F(GridWindow, NotificationsReachTheParentWithTheirAnswers) {
  Fill(10, 4);
  GridRect cell;
  ASSERT_TRUE(Grid->GetCellRect(2, 2, &cell));
  wxMouseEvent down = Mouse(wxEVT_LEFT_DOWN, cell.Left + 5, cell.Top + 5);
  Grid->HandleMouse(down);
  wxMouseEvent up = Mouse(wxEVT_LEFT_UP, cell.Left + 5, cell.Top + 5);
  Grid->HandleMouse(up);
  EXPECT_EQ(Codes, (std::vector<int>{LVN_ITEMCHANGING, LVN_ITEMCHANGED, NM_CLICK}));
  Codes.clear();
  BeginEditAnswer = -1;
  wxKeyEvent f2(wxEVT_KEY_DOWN);
  f2.m_keyCode = WXK_F2;
  Grid->HandleKeyDown(f2);
  EXPECT_EQ(Codes, (std::vector<int>{LVN_BEGINLABELEDITA}));
}

} // namespace

namespace {

TEST_F(GridWindow, TheDragImageIsThePictureOfTheFocusCell) {
  Fill(5, 3);
  wxPoint hot_spot(-1, -1);
  EXPECT_EQ(Grid->CreateDragImage(&hot_spot), nullptr) << "no focus cell yet";
  Grid->SetFocusCell(2, 1);
  GridRect rect;
  ASSERT_TRUE(Grid->GetCellRect(2, 1, &rect));
  std::unique_ptr<wxImageList> images(Grid->CreateDragImage(&hot_spot));
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(images->GetImageCount(), 1);
  EXPECT_EQ(hot_spot, wxPoint(rect.Width(), rect.Height()));
  int width = 0;
  int height = 0;
  images->GetSize(0, width, height);
  EXPECT_EQ(wxSize(width, height), wxSize(rect.Width(), rect.Height()));
}

} // namespace

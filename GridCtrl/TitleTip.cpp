#include "GridCtrl/TitleTip.h"

#include "GridCtrl/Core/GridTitleTipLayout.h"
#include "GridCtrl/GridCtrl.h"
#include "GridCtrl/WxGridDC.h"

#include <wx/dcclient.h>
#include <wx/settings.h>
#include <wx/time.h>

CTitleTip::CTitleTip(CGridCtrl* grid) : wxPopupWindow(grid, wxBORDER_SIMPLE), Grid(grid) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &CTitleTip::HandlePaint, this);
  for (const auto type : {wxEVT_MOTION, wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEFT_DCLICK, wxEVT_RIGHT_DOWN,
                          wxEVT_RIGHT_UP, wxEVT_MIDDLE_DOWN, wxEVT_LEAVE_WINDOW})
    Bind(type, &CTitleTip::HandleMouse, this);
  Bind(wxEVT_KEY_DOWN, &CTitleTip::HandleKey, this);
}

void CTitleTip::Show(const GridRect& title_rect, const std::string& text, int x_offset, const GridRect* hover_rect,
                     const GridFontDesc* font, GridColour text_colour, GridColour back_colour) {
  if (title_rect.IsEmpty() || IsShown() || !HasFocusWindow())
    return;
  const wxFont tip_font = font != nullptr ? ToWxFont(*font) : Grid->GetFont();
  SetFont(tip_font);
  Text = " " + wxString::FromUTF8(text) + " ";
  const int text_width = GetTextExtent(Text).GetWidth();
  GridRect tip;
  if (!GridTitleTipRect(title_rect, x_offset, text_width, &tip))
    return;

  const wxPoint origin = Grid->ClientToScreen(wxPoint(tip.Left, tip.Top));
  const GridRect hover = (hover_rect != nullptr ? *hover_rect : title_rect).Widened();
  Hover = wxRect(hover.Left - tip.Left, hover.Top - tip.Top, hover.Width(), hover.Height());
  TextColour = text_colour == GridClrDefault ? wxSystemSettings::GetColour(wxSYS_COLOUR_INFOTEXT)
                                             : ToWxColour(text_colour);
  BackColour = back_colour == GridClrDefault ? wxSystemSettings::GetColour(wxSYS_COLOUR_INFOBK)
                                             : ToWxColour(back_colour);
  SetSize(origin.x, origin.y, tip.Width(), tip.Height());
  wxPopupWindow::Show();
  Refresh();
}

bool (*CTitleTip::HasFocusWindow)() = [] { return wxWindow::FindFocus() != nullptr; };

void CTitleTip::Hide() {
  if (IsShown())
    wxPopupWindow::Hide();
}

void CTitleTip::HandlePaint(wxPaintEvent& /*event*/) {
  wxPaintDC dc(this);
  dc.SetBackground(wxBrush(BackColour));
  dc.Clear();
  dc.SetFont(GetFont());
  dc.SetTextForeground(TextColour);
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  const int y = (GetClientSize().GetHeight() - dc.GetCharHeight()) / 2;
  dc.DrawText(Text, 0, y);
}

void CTitleTip::HandleMouse(wxMouseEvent& event) {
  const wxEventType type = event.GetEventType();
  const bool press = type == wxEVT_LEFT_DOWN || type == wxEVT_RIGHT_DOWN || type == wxEVT_MIDDLE_DOWN;
  if (type != wxEVT_MOTION && !press && !HasFocusWindow()) {
    // The application lost the focus while the tip showed.
    Hide();
    return;
  }
  if (type == wxEVT_MOTION && Hover.Contains(event.GetPosition()))
    return;
  Hide();
  if (type == wxEVT_LEAVE_WINDOW)
    return;
  // The grid takes the event as if the tip had not been there.
  wxMouseEvent forwarded(event);
  forwarded.SetEventObject(Grid);
  forwarded.SetPosition(Grid->ScreenToClient(ClientToScreen(event.GetPosition())));
  if (type == wxEVT_LEFT_DOWN) {
    // The pointer left the tip's window between the two presses, so no double click
    // reaches the grid by itself.
    const wxLongLong now = wxGetLocalTimeMillis();
    const int double_click = wxSystemSettings::GetMetric(wxSYS_DCLICK_MSEC);
    if (LastLeftDown >= 0 && now - LastLeftDown <= (double_click > 0 ? double_click : 500)) {
      forwarded.SetEventType(wxEVT_LEFT_DCLICK);
      LastLeftDown = -1;
    } else {
      LastLeftDown = now;
    }
  }
  Grid->HandleMouse(forwarded);
}

void CTitleTip::HandleKey(wxKeyEvent& event) {
  Hide();
  Grid->HandleKeyDown(event);
}

void CGridCtrl::ShowTitleTip(const GridRect& text_rect, const std::string& text, const GridRect& hover_rect,
                             const GridFontDesc* font) {
  if (!GetTitleTips())
    return;
  if (TitleTip == nullptr)
    TitleTip = new CTitleTip(this);
  TitleTip->Show(text_rect, text, 0, &hover_rect, font, GetTitleTipTextClr(), GetTitleTipBackClr());
}

void CGridCtrl::HideTitleTip() {
  if (TitleTip != nullptr)
    TitleTip->Hide();
}

#include "GridCtrl/GridCtrl.h"

#include "GridCtrl/GridWxKeys.h"

#include "GridCtrl/GridClipboard.h"
#include "GridCtrl/GridDropTarget.h"
#include "GridCtrl/InPlaceEdit.h"
#include "GridCtrl/WxGridDC.h"

#include <wx/dcbuffer.h>
#include <wx/settings.h>
#include <wx/utils.h>

#include <new>

wxDEFINE_EVENT(EVT_GRID_NOTIFY, GridCtrlEvent);
wxDEFINE_EVENT(EVT_GRID_CLICKED, GridCtrlEvent);

namespace {

wxSystemColour ToWxSysColour(GridSysColour which) {
  switch (which) {
  case GridSysColour::WindowText:
    return wxSYS_COLOUR_WINDOWTEXT;
  case GridSysColour::Window:
    return wxSYS_COLOUR_WINDOW;
  case GridSysColour::ThreeDFace:
    return wxSYS_COLOUR_BTNFACE;
  case GridSysColour::ThreeDShadow:
    return wxSYS_COLOUR_BTNSHADOW;
  case GridSysColour::Highlight:
    return wxSYS_COLOUR_HIGHLIGHT;
  case GridSysColour::HighlightText:
    return wxSYS_COLOUR_HIGHLIGHTTEXT;
  case GridSysColour::ThreeDHighlight:
    return wxSYS_COLOUR_BTNHIGHLIGHT;
  case GridSysColour::ThreeDDarkShadow:
    return wxSYS_COLOUR_3DDKSHADOW;
  case GridSysColour::InfoBackground:
    return wxSYS_COLOUR_INFOBK;
  }
  return wxSYS_COLOUR_WINDOW;
}

int ToOrientation(GridBar bar) { return bar == GridBar::Horz ? wxHORIZONTAL : wxVERTICAL; }


} // namespace

// The window services the core asks for, and the delivery of its notifications.
class WxGridHost : public GridHost, public GridOwner {
public:
  explicit WxGridHost(CGridCtrl& grid) : Grid(grid), Measurer(&grid) {}

  bool WindowExists() const override { return Grid.GetHandle() != nullptr && !Grid.IsBeingDeleted(); }
  GridSize GetClientSize() const override {
    const wxSize size = Grid.GetClientSize();
    return {size.GetWidth(), size.GetHeight()};
  }
  int GetScrollBarThickness(GridBar bar) const override {
    const int metric =
        wxSystemSettings::GetMetric(bar == GridBar::Vert ? wxSYS_VSCROLL_X : wxSYS_HSCROLL_Y, &Grid);
    return metric > 0 ? metric : 16;
  }
  void SetScrollBar(GridBar bar, bool shown, int pos, int page, int max) override {
    if (!shown || max <= 0)
      Grid.SetScrollbar(ToOrientation(bar), 0, 0, 0);
    else
      Grid.SetScrollbar(ToOrientation(bar), pos, page, max + 1);
  }
  void SetScrollPos(GridBar bar, int pos) override { Grid.SetScrollPos(ToOrientation(bar), pos); }
  void InvalidateAll() override { Grid.wxWindow::Refresh(false); }
  void InvalidateRect(const GridRect& rect) override {
    Grid.wxWindow::RefreshRect(wxRect(rect.Left, rect.Top, rect.Width(), rect.Height()), false);
  }
  void CaptureMouse() override {
    if (!Grid.HasCapture())
      Grid.CaptureMouse();
  }
  void ReleaseMouse() override {
    if (Grid.HasCapture())
      Grid.ReleaseMouse();
  }
  bool HasCapture() const override { return Grid.HasCapture(); }
  void SetCursor(GridCursor cursor) override {
    switch (cursor) {
    case GridCursor::Arrow:
      Grid.SetCursor(wxCursor(wxCURSOR_ARROW));
      break;
    case GridCursor::SizeWE:
      Grid.SetCursor(wxCursor(wxCURSOR_SIZEWE));
      break;
    case GridCursor::SizeNS:
      Grid.SetCursor(wxCursor(wxCURSOR_SIZENS));
      break;
    }
  }
  void StartTimer(int milliseconds) override { Grid.AutoScrollTimer.Start(milliseconds); }
  void StopTimer() override { Grid.AutoScrollTimer.Stop(); }
  void TakeKeyboardFocus() override { Grid.SetFocus(); }
  GridPoint GetCursorPos() const override {
    const wxPoint point = Grid.ScreenToClient(wxGetMousePosition());
    return {point.x, point.y};
  }
  GridSize GetDragThreshold() const override {
    const int x = wxSystemSettings::GetMetric(wxSYS_DRAG_X, &Grid);
    const int y = wxSystemSettings::GetMetric(wxSYS_DRAG_Y, &Grid);
    return {x > 0 ? x : 4, y > 0 ? y : 4};
  }
  GridColour GetSysColour(GridSysColour which) const override {
    return FromWxColour(wxSystemSettings::GetColour(ToWxSysColour(which)));
  }
  GridTextMeasurer* GetMeasurer() override { return &Measurer; }
  void PostClickCommand() override {
    if (wxEvtHandler* target = Grid.GetOwner()) {
      auto* event = new GridCtrlEvent(EVT_GRID_CLICKED, Grid.GetId());
      event->SetEventObject(&Grid);
      target->QueueEvent(event);
    }
  }
  GridInPlaceEditor* CreateInPlaceEditor(const GridEditRequest& request) override {
    return Grid.CreateInPlaceEditor(request);
  }
  bool SetClipboardText(const std::string& text) override { return PutTextOnClipboard(text); }
  bool GetClipboardText(std::string* text) override { return GetTextFromClipboard(text); }
  bool ClipboardHasText() override { return ClipboardOffersText(); }
  GridDropEffect DoDragDrop(const std::string& text) override { return DragText(&Grid, text); }

  long OnGridNotify(GridNotify& notify) override {
    wxEvtHandler* target = Grid.GetOwner();
    if (target == nullptr)
      return 0;
    GridCtrlEvent event(EVT_GRID_NOTIFY, Grid.GetId());
    event.SetEventObject(&Grid);
    event.SetNotify(&notify);
    target->ProcessEvent(event);
    return event.GetResult();
  }

private:
  CGridCtrl& Grid;
  WxTextMeasurer Measurer;
};

CGridCtrl::CGridCtrl(int rows, int cols, int fixed_rows, int fixed_cols)
    : GridCore(rows, cols, fixed_rows, fixed_cols), HostAdapter(std::make_unique<WxGridHost>(*this)) {
  AttachHost(HostAdapter.get());
  SetGridOwner(HostAdapter.get());
  AutoScrollTimer.SetOwner(this);
}

CGridCtrl::~CGridCtrl() {
  // Marks the window as going before its children go, so that an open editor losing the
  // focus on its way out does not report to a grid that is half destroyed.
  SendDestroyEvent();
  AutoScrollTimer.Stop();
  DetachHost();
}

bool CGridCtrl::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  if (!wxWindow::Create(parent, id, pos, size, style | wxWANTS_CHARS | wxHSCROLL | wxVSCROLL | wxFULL_REPAINT_ON_RESIZE,
                        "CGridCtrl"))
    return false;
  SetControlId(id);
  Bind(wxEVT_PAINT, &CGridCtrl::HandlePaint, this);
  Bind(wxEVT_SIZE, &CGridCtrl::HandleSize, this);
  for (const auto type : {wxEVT_SCROLLWIN_TOP, wxEVT_SCROLLWIN_BOTTOM, wxEVT_SCROLLWIN_LINEUP,
                          wxEVT_SCROLLWIN_LINEDOWN, wxEVT_SCROLLWIN_PAGEUP, wxEVT_SCROLLWIN_PAGEDOWN,
                          wxEVT_SCROLLWIN_THUMBTRACK, wxEVT_SCROLLWIN_THUMBRELEASE})
    Bind(type, &CGridCtrl::HandleScroll, this);
  Bind(wxEVT_MOUSEWHEEL, &CGridCtrl::HandleMouseWheel, this);
  for (const auto type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEFT_DCLICK, wxEVT_RIGHT_UP, wxEVT_MOTION})
    Bind(type, &CGridCtrl::HandleMouse, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &CGridCtrl::HandleCaptureLost, this);
  Bind(wxEVT_TIMER, &CGridCtrl::HandleTimer, this);
  Bind(wxEVT_KEY_DOWN, &CGridCtrl::HandleKeyDown, this);
  Bind(wxEVT_CHAR, &CGridCtrl::HandleChar, this);
  Bind(wxEVT_SET_CURSOR, &CGridCtrl::HandleSetCursor, this);
  Bind(wxEVT_SYS_COLOUR_CHANGED, &CGridCtrl::HandleSysColour, this);

  SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
  SetDropTarget(new CGridDropTarget(this));
  try {
    return OnWindowCreated();
  } catch (const std::bad_alloc&) {
    return false;
  }
}

wxEvtHandler* CGridCtrl::GetOwner() const {
  if (OwnerHandler != nullptr)
    return OwnerHandler;
  wxWindow* parent = GetParent();
  return parent != nullptr ? parent->GetEventHandler() : nullptr;
}

void CGridCtrl::Refresh(bool erase_background, const wxRect* rect) {
  if (GetRedraw())
    wxWindow::Refresh(erase_background, rect);
}

bool CGridCtrl::SetFont(const wxFont& font) {
  const bool changed = wxWindow::SetFont(font);
  SetGridFont(FromWxFont(font));
  return changed;
}

GridInPlaceEditor* CGridCtrl::CreateInPlaceEditor(const GridEditRequest& request) {
  return new CInPlaceEdit(this, request);
}

void CGridCtrl::HandlePaint(wxPaintEvent& /*event*/) {
  wxAutoBufferedPaintDC dc(this);
  const wxRect box = GetUpdateRegion().GetBox();
  WxGridDC grid_dc(dc);
  OnDraw(grid_dc, {box.GetLeft(), box.GetTop(), box.GetRight() + 1, box.GetBottom() + 1});
}

void CGridCtrl::HandleSize(wxSizeEvent& event) {
  // GTK allocates the window again, at the same size, when a child such as the in-place
  // editor appears; only a real change of size may end the edit. The client area can
  // change alone at such a time: overlay scroll bars count as taking room until GTK
  // first lays them out, which a window shown at its size at once has not yet done when
  // the first key opens the editor. That only redoes the scroll bars, so that every
  // typed character still reaches the cell.
  const wxSize client = GetClientSize();
  if (event.GetSize() != LastWindowSize) {
    LastWindowSize = event.GetSize();
    LastClientSize = client;
    OnSize();
  } else if (client != LastClientSize) {
    LastClientSize = client;
    ResetScrollBars();
  }
  event.Skip();
}

void CGridCtrl::HandleScroll(wxScrollWinEvent& event) {
  const GridBar bar = event.GetOrientation() == wxHORIZONTAL ? GridBar::Horz : GridBar::Vert;
  const wxEventType type = event.GetEventType();
  int code = SB_ENDSCROLL;
  if (type == wxEVT_SCROLLWIN_LINEUP)
    code = SB_LINEUP;
  else if (type == wxEVT_SCROLLWIN_LINEDOWN)
    code = SB_LINEDOWN;
  else if (type == wxEVT_SCROLLWIN_PAGEUP)
    code = SB_PAGEUP;
  else if (type == wxEVT_SCROLLWIN_PAGEDOWN)
    code = SB_PAGEDOWN;
  else if (type == wxEVT_SCROLLWIN_THUMBTRACK)
    code = SB_THUMBTRACK;
  else if (type == wxEVT_SCROLLWIN_THUMBRELEASE)
    code = SB_THUMBPOSITION;
  else if (type == wxEVT_SCROLLWIN_TOP)
    code = SB_TOP;
  else if (type == wxEVT_SCROLLWIN_BOTTOM)
    code = SB_BOTTOM;
  OnScroll(bar, code, event.GetPosition());
  // The native bar may have moved on its own; the core's position is the real one.
  wxWindow::SetScrollPos(event.GetOrientation(), GetScrollPos32(bar));
}

void CGridCtrl::HandleMouseWheel(wxMouseEvent& event) {
  if (event.GetWheelAxis() == wxMOUSE_WHEEL_HORIZONTAL) {
    event.Skip();
    return;
  }
  const int lines = event.IsPageScroll() ? 0 : event.GetLinesPerAction();
  OnMouseWheel(event.GetWheelRotation(), lines, event.GetWheelDelta());
}

void CGridCtrl::HandleMouse(wxMouseEvent& event) {
  const GridPoint point{event.GetX(), event.GetY()};
  const Ostra::U32 flags = GridWxKeys::ModifierFlags(event);
  const wxEventType type = event.GetEventType();
  if (type == wxEVT_LEFT_DOWN)
    OnLButtonDown(point, flags);
  else if (type == wxEVT_LEFT_UP)
    OnLButtonUp(point, flags);
  else if (type == wxEVT_LEFT_DCLICK)
    OnLButtonDblClk(point, flags);
  else if (type == wxEVT_RIGHT_UP)
    OnRButtonUp(point, flags);
  else if (type == wxEVT_MOTION)
    OnMouseMove(point, flags);
  event.Skip(type == wxEVT_LEFT_DOWN);
}

void CGridCtrl::HandleCaptureLost(wxMouseCaptureLostEvent& /*event*/) { OnCaptureChanged(); }

void CGridCtrl::HandleTimer(wxTimerEvent& /*event*/) { OnTimer(); }

void CGridCtrl::HandleKeyDown(wxKeyEvent& event) {
  // The tip never has the focus, so keys come here; any key puts it away.
  HideTitleTip();
  const int key = GridWxKeys::ToGridKey(event.GetKeyCode());
  const Ostra::U32 flags = GridWxKeys::ModifierFlags(event);
  if (key != 0 && OnKeyDown(key, flags))
    return;
  if (key == GridKey::Tab && !event.ControlDown()) {
    Navigate(event.ShiftDown() ? wxNavigationKeyEvent::IsBackward : wxNavigationKeyEvent::IsForward);
    return;
  }
  event.Skip();
}

void CGridCtrl::HandleChar(wxKeyEvent& event) {
  const wxChar ch = event.GetUnicodeKey();
  // A character typed with Alt, Ctrl or Meta is a menu's mnemonic or shortcut (Alt+E,
  // Ctrl+W), never text for a cell: passed on, it reaches the menus. GTK reports AltGr,
  // which types '@', '{' or even a minus on some layouts, as Ctrl+Alt together: that is
  // text.
  const bool alt_gr = event.AltDown() && event.ControlDown();
  if (ch == WXK_NONE || event.MetaDown() || (!alt_gr && (event.AltDown() || event.ControlDown()))) {
    event.Skip();
    return;
  }
  Ostra::U32 flags = GridWxKeys::ModifierFlags(event);
  if (alt_gr)
    flags &= ~GridKeyFlags::Control;
  OnChar(static_cast<unsigned>(ch), flags);
}

void CGridCtrl::HandleSetCursor(wxSetCursorEvent& event) {
  switch (GetCursorFor({event.GetX(), event.GetY()})) {
  case GridCursor::Arrow:
    event.SetCursor(wxCursor(wxCURSOR_ARROW));
    break;
  case GridCursor::SizeWE:
    event.SetCursor(wxCursor(wxCURSOR_SIZEWE));
    break;
  case GridCursor::SizeNS:
    event.SetCursor(wxCursor(wxCURSOR_SIZENS));
    break;
  }
}

void CGridCtrl::HandleSysColour(wxSysColourChangedEvent& event) {
  OnSysColourChange();
  event.Skip();
}

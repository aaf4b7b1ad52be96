#pragma once

// CGridCtrl: the grid as a wxWidgets window. All behaviour lives in GridCore; this
// layer turns window events into core calls, paints through WxGridDC and delivers the
// core's notifications to the owner as GridCtrlEvent.

#include "GridCtrl/Core/GridCore.h"

#include <wx/event.h>
#include <wx/imaglist.h>
#include <wx/log.h>
#include <wx/timer.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <memory>
#include <optional>

class CTitleTip;
class WxGridHost;
class wxPrintDialogData;

// A grid notification. The owner's handler answers the result-bearing codes
// (LVN_BEGINLABELEDITA, LVN_ENDLABELEDITA) with SetResult; GetDisplayInfo is set for
// LVN_GETDISPINFOA.
class GridCtrlEvent : public wxNotifyEvent {
public:
  GridCtrlEvent(wxEventType type = wxEVT_NULL, int id = 0) : wxNotifyEvent(type, id) {}

  int GetCode() const { return Notify != nullptr ? Notify->Code : 0; }
  int GetRow() const { return Notify != nullptr ? Notify->Row : -1; }
  int GetCol() const { return Notify != nullptr ? Notify->Col : -1; }
  CCellRange GetCacheHint() const { return Notify != nullptr ? Notify->CacheHint : CCellRange(); }
  GridDisplayInfo* GetDisplayInfo() const { return Notify != nullptr ? Notify->DisplayInfo : nullptr; }
  GridNotify* GetNotify() const { return Notify; }
  void SetNotify(GridNotify* notify) { Notify = notify; }
  void SetResult(long result) { Result = result; }
  long GetResult() const { return Result; }
  wxEvent* Clone() const override { return new GridCtrlEvent(*this); }

private:
  GridNotify* Notify = nullptr;
  long Result = 0;
};

// Sent synchronously for every grid notification.
wxDECLARE_EVENT(EVT_GRID_NOTIFY, GridCtrlEvent);
// Queued after a click that ended on a cell.
wxDECLARE_EVENT(EVT_GRID_CLICKED, GridCtrlEvent);

class CGridCtrl : public wxWindow, public GridCore {
public:
  CGridCtrl(int rows = 0, int cols = 0, int fixed_rows = 0, int fixed_cols = 0);
  ~CGridCtrl() override;

  // False when the window cannot be made or the size arrays cannot be grown.
  bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
              const wxSize& size = wxDefaultSize, long style = wxBORDER_SUNKEN | wxTAB_TRAVERSAL);

  // Notifications go to this handler; by default to the parent window.
  void SetOwner(wxEvtHandler* target) { OwnerHandler = target; }
  wxEvtHandler* GetOwner() const;

  // Honours the grid's redraw switch.
  void Refresh(bool erase_background = true, const wxRect* rect = nullptr) override;
  // Also becomes the font of the four default cells.
  bool SetFont(const wxFont& font) override;

  // Prints every page. Without dialog data the user is asked first (all pages only);
  // with it the job goes straight to the printer it names. GridPrintout.cpp.
  bool Print(wxPrintDialogData* dialog_data = nullptr);
  // File errors of Save and Load go to the user through the log.
  void ReportError(const std::string& message) override { wxLogError("%s", wxString::FromUTF8(message)); }
  // A header click may sort a long grid: the busy cursor shows meanwhile.
  void OnFixedRowClick(CCellID& cell) override {
    std::optional<wxBusyCursor> busy;
    if (GetHeaderSort())
      busy.emplace();
    GridCore::OnFixedRowClick(cell);
  }

  // The picture of the focus cell for dragging, masked with the normal cells' background;
  // hot_spot receives its size. Null without a focus cell. The caller owns the list.
  // GridDragImage.cpp.
  wxImageList* CreateDragImage(wxPoint* hot_spot);

  // Opens an in-place editor on a cell (a CInPlaceEdit, InPlaceEdit.cpp).
  virtual GridInPlaceEditor* CreateInPlaceEditor(const GridEditRequest& request);
  // The title tip (TitleTip.cpp); shown only while title tips are on.
  void ShowTitleTip(const GridRect& text_rect, const std::string& text, const GridRect& hover_rect,
                    const GridFontDesc* font) override;
  void HideTitleTip() override;
  CTitleTip* GetTitleTip() const { return TitleTip; }

  // The event handlers, public so that tests can feed synthetic events.
  void HandlePaint(wxPaintEvent& event);
  void HandleSize(wxSizeEvent& event);
  void HandleScroll(wxScrollWinEvent& event);
  void HandleMouseWheel(wxMouseEvent& event);
  void HandleMouse(wxMouseEvent& event);
  void HandleCaptureLost(wxMouseCaptureLostEvent& event);
  void HandleTimer(wxTimerEvent& event);
  void HandleKeyDown(wxKeyEvent& event);
  void HandleChar(wxKeyEvent& event);
  void HandleSetCursor(wxSetCursorEvent& event);
  void HandleSysColour(wxSysColourChangedEvent& event);

private:
  friend class WxGridHost;

  std::unique_ptr<WxGridHost> HostAdapter;
  wxEvtHandler* OwnerHandler = nullptr;
  wxTimer AutoScrollTimer;
  // A child window, made on first use.
  CTitleTip* TitleTip = nullptr;
  // The sizes the last size event reported, to tell a real resize from a repeat.
  wxSize LastWindowSize;
  wxSize LastClientSize;
};

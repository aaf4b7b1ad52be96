#include "Velmar/App/MainFrame.h"

#include <vector>

#include <wx/dnd.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include "DocView/Core/CommandIds.h"
#include "DocView/DocManagerMultiOpen.h"
#include "Velmar/App/Menus.h"
#include "Velmar/App/Termination.h"

namespace Ostra::Velmar {

namespace {
class FileDropTarget : public wxFileDropTarget {
public:
  explicit FileDropTarget(CMainFrame* frame) : Frame(frame) {}
  bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) override {
    // Opening may show message boxes, which must not run inside the drop.
    Frame->CallAfter([frame = Frame, files] { frame->OpenDroppedFiles(files); });
    return true;
  }

private:
  CMainFrame* Frame;
};

struct Indicator {
  wxKeyCode Key;
  const char* Text;
};
constexpr Indicator IndicatorKeys[3] = {{WXK_CAPITAL, "CAP"}, {WXK_NUMLOCK, "NUM"}, {WXK_SCROLL, "SCRL"}};
} // namespace

CMainFrame::CMainFrame(DocView::CDocManagerMultiOpen* manager, CModalDialogs& dialogs)
    : wxDocMDIParentFrame(manager, nullptr, wxID_ANY, TitleText, wxDefaultPosition, wxSize(1200, 800)),
      Manager(manager), Dialogs(dialogs) {
  const DocView::FrameMenu menu = MakeMenuBar(DocView::MenuKind::Main);
  SetMenuBar(menu.Bar);
  RecentFiles = menu.RecentFiles;
  if (RecentFiles != nullptr) {
    manager->FileHistoryUseMenu(RecentFiles);
    manager->FileHistoryAddFilesToMenu(RecentFiles);
  }

  CreateStatusBar(4);
  const int widths[4] = {-1, 50, 50, 50};
  SetStatusWidths(4, widths);
  SetStatusBarPane(0);
  SetStatusText(ReadyText, 0);
  // Setting the client size makes GTK show the window at once at its size. Its deferred
  // first show, which waits for the window manager's frame sizes, lays the window out a
  // few pixels wide first, and every menu bar, tab bar and scrollbar squeezed into that
  // logs a Gtk-CRITICAL.
  SetClientSize(GetClientSize());

  SetAcceleratorTable(MakeAcceleratorTable());
  SetDropTarget(new FileDropTarget(this));

  // Bound after the base's close handler, so the documents are closed here first.
  Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
  Bind(wxEVT_IDLE, &CMainFrame::OnIdle, this);
  CloseRetry.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { Close(true); });
  Bind(wxEVT_MENU, &CMainFrame::OnToggleStatusBar, this, DocView::ID_VIEW_STATUS_BAR);
  Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateStatusBar, this, DocView::ID_VIEW_STATUS_BAR);
  Bind(wxEVT_MENU, [this](wxCommandEvent&) { ActivateNext(); }, wxID_MDI_WINDOW_NEXT);
  Bind(wxEVT_MENU, [this](wxCommandEvent&) { ActivatePrevious(); }, wxID_MDI_WINDOW_PREV);
  // Pane cycling exists only in a track window, which handles it before this.
  for (const int id : {static_cast<int>(DocView::ID_NEXT_PANE), static_cast<int>(DocView::ID_PREV_PANE)}) {
    Bind(wxEVT_MENU, [](wxCommandEvent&) {}, id);
    Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Enable(false); }, id);
  }
}

CMainFrame::~CMainFrame() {
  // The manager may be gone already when a failed start-up takes the frame down.
  if (wxDocManager* manager = wxDocManager::GetDocumentManager())
    if (RecentFiles != nullptr && manager->GetFileHistory() != nullptr)
      manager->FileHistoryRemoveMenu(RecentFiles);
}

void CMainFrame::OpenDroppedFiles(const wxArrayString& files) {
  Manager->OpenDocuments(std::vector<wxString>(files.begin(), files.end()));
}

void CMainFrame::OnClose(wxCloseEvent& event) {
  // An open dialog runs its loop below this call, and the windows it works on, its
  // parent among them, must outlive it. The user finishes it first; a close that cannot
  // wait ends the dialogs and comes back once they have returned.
  if (Dialogs.AnyOpen()) {
    if (event.CanVeto()) {
      event.Veto();
      return;
    }
    Dialogs.CancelAll();
    // A timer, not a queued call: that would wait for the idle time after the windows
    // the dialogs uncovered have been redrawn.
    CloseRetry.StartOnce(1);
    return;
  }
  // The toolkit's own close-all walks its list with a saved next node, which a track
  // invalidates by closing its LPs; close them here one by one from the end instead.
  if (!Manager->CloseAllDocumentsSafely(!event.CanVeto())) {
    event.Veto();
    return;
  }
  event.Skip();
}

void CMainFrame::OnIdle(wxIdleEvent& event) {
  event.Skip();
  wxMDIChildFrame* active = GetActiveChild();
  const wxString title = active != nullptr && !active->GetTitle().empty()
                             ? wxString(TitleText) + " - " + active->GetTitle()
                             : wxString(TitleText);
  if (GetTitle() != title)
    SetTitle(title);
  // With no document window nothing in the frame holds the focus, and a key would reach
  // no window, so no shortcut of the frame's own (Ctrl+N) would work.
  if (active == nullptr && HadDocumentWindow && GetClientWindow() != nullptr)
    GetClientWindow()->SetFocus();
  HadDocumentWindow = active != nullptr;

  wxStatusBar* bar = GetStatusBar();
  if (bar == nullptr)
    return;
  // The lock states can be read only from an X11 display; elsewhere the panes stay blank.
  const bool readable = wxGetDisplayInfo().type == wxDisplayX11;
  for (int i = 0; i < 3; ++i) {
    const wxString text = readable && wxGetKeyState(IndicatorKeys[i].Key) ? IndicatorKeys[i].Text : "";
    if (text != Indicators[i]) {
      Indicators[i] = text;
      bar->SetStatusText(text, i + 1);
    }
  }
}

void CMainFrame::OnToggleStatusBar(wxCommandEvent&) {
  if (wxStatusBar* bar = GetStatusBar()) {
    bar->Show(!bar->IsShown());
    SendSizeEvent();
  }
}

void CMainFrame::OnUpdateStatusBar(wxUpdateUIEvent& event) {
  event.Check(GetStatusBar() != nullptr && GetStatusBar()->IsShown());
}

} // namespace Ostra::Velmar

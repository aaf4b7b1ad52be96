#pragma once

#include <wx/docmdi.h>
#include <wx/timer.h>

class wxMenu;

namespace Ostra::DocView {
class CDocManagerMultiOpen;
}

namespace Ostra::Velmar {

class CModalDialogs;

// The main window: the menus shown while no document is active, the status bar
// ("Ready" and the CAP, NUM and SCRL indicators), the one accelerator table of the
// editor, and files dropped on it open as documents.
class CMainFrame : public wxDocMDIParentFrame {
public:
  CMainFrame(DocView::CDocManagerMultiOpen* manager, CModalDialogs& dialogs);
  ~CMainFrame() override;

  static constexpr const char* ReadyText = "Ready";
  // The title alone while no document is open; else followed by " - " and the title of
  // the document window in front.
  static constexpr const char* TitleText = "Velmar";

  // Opens dropped files as File > Open does, once the drop itself has finished.
  void OpenDroppedFiles(const wxArrayString& files);

private:
  void OnClose(wxCloseEvent& event);
  void OnIdle(wxIdleEvent& event);
  void OnToggleStatusBar(wxCommandEvent& event);
  void OnUpdateStatusBar(wxUpdateUIEvent& event);

  DocView::CDocManagerMultiOpen* Manager;
  CModalDialogs& Dialogs;
  wxTimer CloseRetry;
  wxMenu* RecentFiles = nullptr;
  bool HadDocumentWindow = true;
  wxString Indicators[3];
};

} // namespace Ostra::Velmar

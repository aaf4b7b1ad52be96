#pragma once

#include <vector>

#include <wx/docmdi.h>

class wxMenu;
class wxMenuBar;

namespace Ostra::DocView {

class CViewBase;

// A child frame's menu bar and its "Recent Files" submenu, which the document
// manager's recent-file list fills while the frame lives.
struct FrameMenu {
  wxMenuBar* Bar = nullptr;
  wxMenu* RecentFiles = nullptr;
};

// Gives frame its menu bar and registers the recent-file submenu.
void InstallFrameMenu(wxFrame* frame, const FrameMenu& menu);
// Unregisters the recent-file submenu; every frame calls it before its menus go.
void ReleaseFrameMenu(wxMenu* recentFiles);

// The close of a document's child frame: the document closes through the document
// manager, with all of its views and frames, or the close is vetoed when the user
// keeps it. Never closes the document once per view.
void CloseFrameDocument(wxWindow* frame, wxDocument* doc, wxCloseEvent& event);

// The frame of LP and lap-curve documents. It opens behind the window that is active
// (a tab that neither comes to the front nor takes the focus), as a window opened
// minimised would, so that a track opened with its race.lp stays in front. With no
// other window it simply shows.
class CMDIChildWndMinimized : public wxDocMDIChildFrame {
public:
  CMDIChildWndMinimized(wxDocument* doc, CViewBase* view, wxMDIParentFrame* parent, const FrameMenu& menu);
  ~CMDIChildWndMinimized() override;

  // Ignored while the frame is still opening behind another.
  void Activate() override;

  // Called by the document manager when an open has finished: frames that opened in
  // the background may be activated from now on. True when doc's frame is one of them.
  static bool EndBackgroundOpening(wxDocument* doc = nullptr);

private:
  void OnCloseWindow(wxCloseEvent& event);

  bool Opening = false;
  wxMenu* RecentFiles = nullptr;

  static std::vector<CMDIChildWndMinimized*>& StillOpening();
};

} // namespace Ostra::DocView

#pragma once

#include <array>

#include <wx/docmdi.h>

#include "DocView/ChildFrames.h"

class wxSplitterWindow;

namespace Ostra::DocView {

class CViewBase;

// The track's child frame: three panes side by side, the segment tree, the property
// list and the 3D view, each a view of the one track document. Commands and their
// update-UI events that the active pane does not handle are offered to the other
// panes, so the 3D view's View menu works whichever pane has the focus.
class CTrkSplitterFrame : public wxDocMDIChildFrame {
public:
  static constexpr int TreeWidth = 200;
  static constexpr int ListWidth = 200;

  // tree is the template's view, which owns the frame.
  CTrkSplitterFrame(wxDocument* doc, CViewBase* tree, wxMDIParentFrame* parent, const FrameMenu& menu);
  ~CTrkSplitterFrame() override;

  // Creates the splitters, the list and 3D views and the three pane windows; false
  // when a pane could not be made (the caller then abandons the frame).
  virtual bool OnCreateClient();

  // The pane views in order tree, list, 3D; null before OnCreateClient.
  CViewBase* GetPaneView(int column) const { return Panes[static_cast<std::size_t>(column)].View; }
  wxWindow* GetPaneWindow(int column) const { return Panes[static_cast<std::size_t>(column)].Window; }
  // The pane whose window holds the focus (or is window), -1 when none.
  int FindPane(const wxWindow* window) const;
  // F6 / Shift+F6: moves the focus to the next or previous pane and makes its view
  // the active one.
  void CyclePane(int step);

protected:
  // The view of the third column.
  virtual CViewBase* CreateThirdView();

private:
  struct Pane {
    CViewBase* View = nullptr;
    wxWindow* Window = nullptr;
  };

  void OnCloseWindow(wxCloseEvent& event);
  void OnChildFocus(wxChildFocusEvent& event);
  void OnRouteCommand(wxCommandEvent& event);
  void OnRouteUpdate(wxUpdateUIEvent& event);
  bool RouteToOtherViews(wxEvent& event);

  CViewBase* Tree;
  std::array<Pane, 3> Panes{};
  wxMenu* RecentFiles = nullptr;
  bool Routing = false;
};

} // namespace Ostra::DocView

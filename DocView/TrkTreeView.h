#pragma once

#include "DocView/DocViewBase.h"

class wxTreeCtrl;
class wxTreeEvent;
class wxTreeItemId;
class wxWindowDestroyEvent;

namespace Ostra::DocView {

// The left pane of the track window: the track, its segments and each segment's traces,
// surfaces and walls, each item carrying its TrackItemHint. Selecting an item tells the
// document's other views about it; the tree itself is built once, at the first update.
class CTrkTreeView : public CViewBase {
public:
  ~CTrkTreeView() override;

  wxWindow* CreatePaneWindow(wxWindow* parent) override;
  wxWindow* GetPaneWindow() const override;
  wxTreeCtrl* GetTreeCtrl() const { return Tree; }
  // The hint an item carries; NoItemHint for an invalid item or without a tree.
  TrackItemHint GetItemHint(const wxTreeItemId& item) const;

  void OnInitialUpdate() override;
  // Hints from the other views need nothing from the tree; it sends them.
  void OnUpdate(wxView* sender, wxObject* hint) override;

private:
  void Fill();
  void OnSelChanged(wxTreeEvent& event);
  void OnTreeDestroyed(wxWindowDestroyEvent& event);

  wxTreeCtrl* Tree = nullptr;

  wxDECLARE_DYNAMIC_CLASS(CTrkTreeView);
};

} // namespace Ostra::DocView

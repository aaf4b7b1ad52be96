#pragma once

#include "DocView/DocViewBase.h"

class wxListCtrl;
class wxWindowDestroyEvent;

namespace Ostra::DocView {

// The middle pane of the track window: a read-only list of the fields ("Field",
// "Value") of the item selected in the tree, refilled from each update hint.
class CTrkListView : public CViewBase {
public:
  ~CTrkListView() override;

  wxWindow* CreatePaneWindow(wxWindow* parent) override;
  wxWindow* GetPaneWindow() const override;
  wxListCtrl* GetListCtrl() const { return List; }

  void OnUpdate(wxView* sender, wxObject* hint) override;

  static constexpr int FieldColumnWidth = 100;
  static constexpr int ValueColumnWidth = 500;

private:
  void OnListDestroyed(wxWindowDestroyEvent& event);

  wxListCtrl* List = nullptr;

  wxDECLARE_DYNAMIC_CLASS(CTrkListView);
};

} // namespace Ostra::DocView

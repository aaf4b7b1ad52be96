#pragma once

#include "DocView/DocViewBase.h"

namespace Ostra::DocView {

class CTrkListView : public CViewBase {
public:
  wxWindow* CreatePaneWindow(wxWindow* parent) override;
  wxWindow* GetPaneWindow() const override { return Window; }
  void OnUpdate(wxView* sender, wxObject* hint) override;

private:
  wxWindow* Window = nullptr;

  wxDECLARE_DYNAMIC_CLASS(CTrkListView);
};

} // namespace Ostra::DocView

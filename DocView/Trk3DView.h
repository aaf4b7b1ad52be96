#pragma once

#include "DocView/DocViewBase.h"

namespace Ostra::DocView {

class CTrk3DView : public CViewBase {
public:
  wxWindow* CreatePaneWindow(wxWindow* parent) override;
  wxWindow* GetPaneWindow() const override { return Window; }
  void OnUpdate(wxView* sender, wxObject* hint) override;

private:
  wxWindow* Window = nullptr;

  wxDECLARE_DYNAMIC_CLASS(CTrk3DView);
};

} // namespace Ostra::DocView

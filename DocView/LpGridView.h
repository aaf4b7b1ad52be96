#pragma once

#include "DocView/DocViewBase.h"

namespace Ostra::DocView {

// Shows an LP document as a grid, one row per record.
class CLpGridView : public CViewBase {
public:
  wxWindow* CreatePaneWindow(wxWindow* parent) override;
  wxWindow* GetPaneWindow() const override { return Window; }
  void OnUpdate(wxView* sender, wxObject* hint) override;

protected:
  wxWindow* Window = nullptr;

  wxDECLARE_DYNAMIC_CLASS(CLpGridView);
};

} // namespace Ostra::DocView

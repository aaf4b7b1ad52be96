#pragma once

#include "DocView/DocViewBase.h"

class CGridCtrl;

namespace Ostra::DocView {

// A view whose window is one grid control filling its pane. Menu commands and their
// enablers reach the grid before the document and the view, so the grid's own Cut,
// Copy, Paste and Select All win over anything the view binds for those ids.
class CGridView : public CViewBase {
public:
  // The grid control's id, which its notifications carry.
  static constexpr int GridControlId = 100;

  CGridView() = default;
  ~CGridView() override;
  // Makes the grid (no rows, no columns) as the pane's window.
  wxWindow* CreatePaneWindow(wxWindow* parent) override;
  wxWindow* GetPaneWindow() const override;
  // Null before the pane exists and once its window is destroyed.
  CGridCtrl* GetGridCtrl() const { return Grid; }

protected:
  bool TryBefore(wxEvent& event) override;

  CGridCtrl* Grid = nullptr;

private:
  // Cut, Copy, Paste and Select All and their enablers, as the grid does them.
  bool OfferToGrid(wxEvent& event);
  void OnGridDestroyed(wxWindowDestroyEvent& event);

  wxDECLARE_DYNAMIC_CLASS(CGridView);
};

} // namespace Ostra::DocView

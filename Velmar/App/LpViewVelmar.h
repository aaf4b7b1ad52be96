#pragma once

#include "DocView/LpGridView.h"

namespace Ostra::Velmar {

class CLpDocVelmar;

// The application's view of LP and lap-curve documents: the grid plus the edit and
// line-generation commands.
class CLpViewVelmar : public DocView::CLpGridView {
public:
  CLpViewVelmar();
  CLpDocVelmar* GetDocument() const;

  // LP edit commands (LpViewCommands.cpp)
  void OnEditSetValue(wxCommandEvent& event);
  void OnUpdateEditSetValue(wxUpdateUIEvent& event);
  void OnEditAdjust(wxCommandEvent& event);
  void OnUpdateEditAdjust(wxUpdateUIEvent& event);
  void OnEditScale(wxCommandEvent& event);
  void OnUpdateEditScale(wxUpdateUIEvent& event);
  void OnEditRamp(wxCommandEvent& event);
  void OnUpdateEditRamp(wxUpdateUIEvent& event);
  // Line generation and control points (LpViewCommands.cpp)
  void OnGenerateCurve(wxCommandEvent& event);
  void OnUpdateGenerateCurve(wxUpdateUIEvent& event);
  void OnGenerateLp(wxCommandEvent& event);
  void OnUpdateGenerateLp(wxUpdateUIEvent& event);
  void OnCopyControlPoints(wxCommandEvent& event);
  void OnUpdateCopyControlPoints(wxUpdateUIEvent& event);
  void OnPasteControlPoints(wxCommandEvent& event);
  void OnUpdatePasteControlPoints(wxUpdateUIEvent& event);

private:
  // Binds the handlers above (LpViewCommands.cpp).
  void BindCommands();

  wxDECLARE_DYNAMIC_CLASS(CLpViewVelmar);
};

} // namespace Ostra::Velmar

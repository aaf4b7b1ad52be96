#include "DocView/Core/CommandIds.h"
#include "Velmar/App/LpViewVelmar.h"

namespace Ostra::Velmar {

void CLpViewVelmar::BindCommands() {}

void CLpViewVelmar::OnEditSetValue(wxCommandEvent&) {}
void CLpViewVelmar::OnUpdateEditSetValue(wxUpdateUIEvent& event) { event.Enable(false); }
void CLpViewVelmar::OnEditAdjust(wxCommandEvent&) {}
void CLpViewVelmar::OnUpdateEditAdjust(wxUpdateUIEvent& event) { event.Enable(false); }
void CLpViewVelmar::OnEditScale(wxCommandEvent&) {}
void CLpViewVelmar::OnUpdateEditScale(wxUpdateUIEvent& event) { event.Enable(false); }
void CLpViewVelmar::OnEditRamp(wxCommandEvent&) {}
void CLpViewVelmar::OnUpdateEditRamp(wxUpdateUIEvent& event) { event.Enable(false); }
void CLpViewVelmar::OnGenerateCurve(wxCommandEvent&) {}
void CLpViewVelmar::OnUpdateGenerateCurve(wxUpdateUIEvent& event) { event.Enable(false); }
void CLpViewVelmar::OnGenerateLp(wxCommandEvent&) {}
void CLpViewVelmar::OnUpdateGenerateLp(wxUpdateUIEvent& event) { event.Enable(false); }
void CLpViewVelmar::OnCopyControlPoints(wxCommandEvent&) {}
void CLpViewVelmar::OnUpdateCopyControlPoints(wxUpdateUIEvent& event) { event.Enable(false); }
void CLpViewVelmar::OnPasteControlPoints(wxCommandEvent&) {}
void CLpViewVelmar::OnUpdatePasteControlPoints(wxUpdateUIEvent& event) { event.Enable(false); }

} // namespace Ostra::Velmar

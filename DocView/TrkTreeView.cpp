#include "DocView/TrkTreeView.h"

#include <wx/panel.h>

namespace Ostra::DocView {

wxIMPLEMENT_DYNAMIC_CLASS(CTrkTreeView, CViewBase);

wxWindow* CTrkTreeView::CreatePaneWindow(wxWindow* parent) {
  Window = new wxPanel(parent);
  return Window;
}

void CTrkTreeView::OnUpdate(wxView*, wxObject*) {}

} // namespace Ostra::DocView

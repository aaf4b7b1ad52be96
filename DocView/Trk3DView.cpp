#include "DocView/Trk3DView.h"

#include <wx/panel.h>

namespace Ostra::DocView {

wxIMPLEMENT_DYNAMIC_CLASS(CTrk3DView, CViewBase);

wxWindow* CTrk3DView::CreatePaneWindow(wxWindow* parent) {
  Window = new wxPanel(parent);
  return Window;
}

void CTrk3DView::OnUpdate(wxView*, wxObject*) {}

} // namespace Ostra::DocView

#include "DocView/TrkListView.h"

#include <wx/panel.h>

namespace Ostra::DocView {

wxIMPLEMENT_DYNAMIC_CLASS(CTrkListView, CViewBase);

wxWindow* CTrkListView::CreatePaneWindow(wxWindow* parent) {
  Window = new wxPanel(parent);
  return Window;
}

void CTrkListView::OnUpdate(wxView*, wxObject*) {}

} // namespace Ostra::DocView

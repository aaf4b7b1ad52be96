#include "DocView/LpGridView.h"

#include <wx/panel.h>

namespace Ostra::DocView {

wxIMPLEMENT_DYNAMIC_CLASS(CLpGridView, CViewBase);

wxWindow* CLpGridView::CreatePaneWindow(wxWindow* parent) {
  Window = new wxPanel(parent);
  return Window;
}

void CLpGridView::OnUpdate(wxView*, wxObject*) {}

} // namespace Ostra::DocView

#include "DocView/GridView.h"

#include "GridCtrl/GridCtrl.h"

namespace Ostra::DocView {

wxIMPLEMENT_DYNAMIC_CLASS(CGridView, CViewBase);

wxWindow* CGridView::CreatePaneWindow(wxWindow* parent) {
  if (Grid != nullptr)
    return Grid;
  auto* grid = new CGridCtrl(0, 0, 0, 0);
  if (!grid->Create(parent, GridControlId, wxDefaultPosition, parent->GetClientSize(),
                    wxBORDER_SIMPLE | wxTAB_TRAVERSAL)) {
    delete grid;
    return nullptr;
  }
  // The frame owns the window; the view forgets it when it goes, and its notifications
  // come here.
  grid->SetOwner(this);
  grid->Bind(wxEVT_DESTROY, &CGridView::OnGridDestroyed, this);
  Grid = grid;
  return grid;
}

// The toolkit's view destructor, which runs after this one, destroys the frame and so
// the grid: by then the grid must no longer call into this view.
CGridView::~CGridView() {
  if (Grid == nullptr)
    return;
  Grid->Unbind(wxEVT_DESTROY, &CGridView::OnGridDestroyed, this);
  Grid->SetOwner(nullptr);
  Grid = nullptr;
}

void CGridView::OnGridDestroyed(wxWindowDestroyEvent& event) {
  if (event.GetEventObject() == Grid)
    Grid = nullptr;
  event.Skip();
}

wxWindow* CGridView::GetPaneWindow() const { return Grid; }

bool CGridView::OfferToGrid(wxEvent& event) {
  const int id = event.GetId();
  if (id != wxID_CUT && id != wxID_COPY && id != wxID_PASTE && id != wxID_SELECTALL)
    return false;
  if (event.GetEventType() == wxEVT_UPDATE_UI) {
    auto& update = static_cast<wxUpdateUIEvent&>(event);
    switch (id) {
    case wxID_CUT:
      update.Enable(Grid->CanCut());
      break;
    case wxID_COPY:
      update.Enable(Grid->CanCopy());
      break;
    case wxID_PASTE:
      update.Enable(Grid->CanPaste());
      break;
    default:
      update.Enable(Grid->CanSelectAll());
      break;
    }
    return true;
  }
  switch (id) {
  case wxID_CUT:
    Grid->OnEditCut();
    break;
  case wxID_COPY:
    Grid->OnEditCopy();
    break;
  case wxID_PASTE:
    Grid->OnEditPaste();
    break;
  default:
    Grid->OnEditSelectAll();
    break;
  }
  return true;
}

bool CGridView::TryBefore(wxEvent& event) {
  const wxEventType type = event.GetEventType();
  if (Grid != nullptr && (type == wxEVT_MENU || type == wxEVT_UPDATE_UI)) {
    if (OfferToGrid(event) || Grid->ProcessWindowEventLocally(event))
      return true;
  }
  return CViewBase::TryBefore(event);
}

} // namespace Ostra::DocView

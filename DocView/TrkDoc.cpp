#include "DocView/TrkDoc.h"

namespace Ostra::DocView {

wxIMPLEMENT_DYNAMIC_CLASS(CTrkDoc, CDocumentBase);

bool CTrkDoc::RouteCmdToViews(wxView* skip, wxEvent& event) {
  const wxList views = GetViews();
  for (wxList::compatibility_iterator node = views.GetFirst(); node; node = node->GetNext()) {
    auto* view = static_cast<wxView*>(node->GetData());
    if (view != skip && view->ProcessEventLocally(event))
      return true;
  }
  return false;
}

bool CTrkDoc::OnOpenDocument(const wxString&) { return false; }

} // namespace Ostra::DocView

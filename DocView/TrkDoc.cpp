#include "DocView/TrkDoc.h"

#include "DocView/Core/TrackOpening.h"
#include "Papy/Files/FileFactoryRegistry.h"

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

bool CTrkDoc::ReadTrack(const wxString& path, const wxString& chosen) {
  return RunGuarded([&] {
    Track = {};
    const OpenedTrack opened = OpenTrackThroughRegistry(path.utf8_string(), Papy::FileFactoryRegistry::Instance(),
                                                        &Factory, chosen.utf8_string());
    Track = opened.Track;
  });
}

void CTrkDoc::FinishOpen(const wxString& chosen) {
  SetFilename(chosen, true);
  Modify(false);
  SetDocumentSaved(true);
  InitialUpdateViews();
}

bool CTrkDoc::OnOpenDocument(const wxString& path) {
  if (!ReadTrack(path))
    return false;
  FinishOpen(path);
  return true;
}

} // namespace Ostra::DocView

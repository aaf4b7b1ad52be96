#include "Velmar/App/TrkDocVelmar.h"

#include <vector>

#include "DocView/Core/CommandIds.h"
#include "DocView/Core/TrackOpening.h"
#include "DocView/DocManagerMultiOpen.h"
#include "Velmar/App/LpDocVelmar.h"

namespace Ostra::Velmar {

wxIMPLEMENT_DYNAMIC_CLASS(CTrkDocVelmar, DocView::CTrkDoc);

CTrkDocVelmar::CTrkDocVelmar() : Registry(&DocView::GetDocumentRegistry()) {
  Bind(wxEVT_MENU, &CTrkDocVelmar::OnCreateMinMaxRaceLps, this, DocView::ID_CREATE_MIN_MAX_RACE_LPS);
  Bind(wxEVT_UPDATE_UI, &CTrkDocVelmar::OnUpdateCreateMinMaxRaceLps, this,
       DocView::ID_CREATE_MIN_MAX_RACE_LPS);
}

CTrkDocVelmar::~CTrkDocVelmar() { Registry->UnregisterTrackDocument(this); }

void CTrkDocVelmar::RefreshViews() { DocView::UpdateAllViewsHint(this, nullptr, DocView::NoItemHint); }

bool CTrkDocVelmar::OnOpenDocument(const wxString& path) {
  auto* manager = dynamic_cast<DocView::CDocManagerMultiOpen*>(GetDocumentManager());
  DocView::TrackOpenSteps steps;
  steps.ReadTrack = [this, &path](const std::string& track_path) {
    return ReadTrack(wxString::FromUTF8(track_path), path);
  };
  steps.OpenLp = [manager](const std::string& lp_path) {
    // The LP reports its own failure; the track opens regardless.
    if (manager != nullptr)
      manager->OpenDocumentFile(wxString::FromUTF8(lp_path));
  };
  steps.RegisterTrack = [this] { Registry->RegisterTrackDocument(this); };
  steps.AddToRecentFiles = [manager](const std::string& chosen) {
    if (manager != nullptr)
      manager->AddTrackToHistory(wxString::FromUTF8(chosen));
  };
  if (!DocView::RunTrackOpenSequence(path.utf8_string(), steps))
    return false;
  FinishOpen(path);
  return true;
}

bool CTrkDocVelmar::OnCloseDocument() {
  // Closing an LP unregisters it, so walk a copy; newest first.
  std::vector<wxDocument*> linked;
  const int count = GetLpDocumentCount();
  for (int i = 0; i < count; ++i)
    if (wxDocument* lp = GetLpDocument(i))
      linked.push_back(lp);
  wxDocManager* manager = GetDocumentManager();
  for (wxDocument* lp : linked) {
    // An earlier close may have taken this one with it.
    if (manager != nullptr && !manager->GetDocuments().Member(lp))
      continue;
    if (!lp->IsModified())
      DocView::CDocumentBase::CloseThroughManager(lp, true);
  }
  return DocView::CTrkDoc::OnCloseDocument();
}

int CTrkDocVelmar::GetLpDocumentCount() const { return Registry->GetLpDocumentCount(this); }

wxDocument* CTrkDocVelmar::GetLpDocument(int i) const {
  return dynamic_cast<CLpDocVelmar*>(Registry->GetLpDocument(this, i));
}

double CTrkDocVelmar::GetSideMargin(int side_type) const {
  switch (side_type) {
  case 1:
    return MarginSideType1;
  case 2:
    return MarginSideType2;
  default:
    return MarginOtherSideTypes;
  }
}

} // namespace Ostra::Velmar

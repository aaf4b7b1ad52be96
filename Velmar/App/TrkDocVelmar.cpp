#include "Velmar/App/TrkDocVelmar.h"

#include "DocView/Core/CommandIds.h"
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

#include "Velmar/App/Trk3DViewVelmar.h"

#include "DocView/Core/CommandIds.h"
#include "DocView/GL/GlApi.h"
#include "Velmar/App/LpDocVelmar.h"
#include "Velmar/App/TrkDocVelmar.h"

namespace Ostra::Velmar {

wxIMPLEMENT_DYNAMIC_CLASS(CTrk3DViewVelmar, DocView::CTrk3DView);

namespace {

// The switches and heights of the View menu; Refresh is the base view's.
constexpr int ViewCommands[] = {
    DocView::ID_VIEW_LONGITUDINAL_SPEED,
    DocView::ID_VIEW_LATERAL_SPEED,
    DocView::ID_VIEW_YAW_SPEED,
    DocView::ID_VIEW_SPEED_MODIFIERS,
    DocView::ID_VIEW_PASS_CHECKPOINT_ZONES,
    DocView::ID_VIEW_OUTBRAKE_DECISION_POINTS,
    DocView::ID_VIEW_START_PASS1_POINTS,
    DocView::ID_VIEW_START_PASS2_POINTS,
    DocView::ID_VIEW_START_ABRUPT_PASS1_POINTS,
    DocView::ID_VIEW_START_ABRUPT_PASS2_POINTS,
    DocView::ID_VIEW_ABANDON_PASS_POINTS,
    DocView::ID_VIEW_NO_PASS_ZONES,
    DocView::ID_VIEW_LONG_STRAIGHTS,
    DocView::ID_VIEW_CORNERING_POINTS,
    DocView::ID_VIEW_LEVEL_SPEED_COEFF_POINTS,
    DocView::ID_VIEW_TIRE_WARMUP_POINTS,
    DocView::ID_VIEW_CONTROL_POINTS,
    DocView::ID_VIEW_CENTRELINE,
    DocView::ID_VIEW_SCALE,
    DocView::ID_VIEW_HEIGHT_800,
    DocView::ID_VIEW_HEIGHT_400,
    DocView::ID_VIEW_HEIGHT_200,
    DocView::ID_VIEW_HEIGHT_100,
    DocView::ID_VIEW_HEIGHT_50,
};

} // namespace

CTrk3DViewVelmar::CTrk3DViewVelmar()
    : CTrk3DView(std::make_unique<DocView::Trk3DOverlayRenderer>(OpenGL::RealGl())) {
  for (int id : ViewCommands) {
    Bind(wxEVT_MENU, &CTrk3DViewVelmar::OnViewCommand, this, id);
    Bind(wxEVT_UPDATE_UI, &CTrk3DViewVelmar::OnUpdateViewCommand, this, id);
  }
}

void CTrk3DViewVelmar::PrepareScene() {
  CTrk3DView::PrepareScene();
  std::vector<DocView::LinkedLp> linked;
  if (const auto* doc = dynamic_cast<const CTrkDocVelmar*>(GetDocument())) {
    const int count = doc->GetLpDocumentCount();
    for (int i = 0; i < count; ++i) {
      if (const auto* lp = dynamic_cast<const CLpDocVelmar*>(doc->GetLpDocument(i)))
        linked.push_back({lp->GetFilename().utf8_string(), lp->GetLpFile()});
    }
  }
  GetOverlays().SetLinkedLps(std::move(linked));
}

void CTrk3DViewVelmar::OnRefresh() {
  GetOverlays().Rebuild();
  RefreshCanvas();
}

void CTrk3DViewVelmar::OnViewCommand(wxCommandEvent& event) {
  if (GetOverlays().ExecuteCommand(event.GetId()))
    RefreshCanvas();
}

void CTrk3DViewVelmar::OnUpdateViewCommand(wxUpdateUIEvent& event) {
  const std::optional<bool> checked = GetOverlays().IsCommandChecked(event.GetId());
  event.Enable(true);
  if (checked.has_value())
    event.Check(*checked);
}

} // namespace Ostra::Velmar

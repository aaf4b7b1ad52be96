#pragma once

#include "DocView/GL/Trk3DOverlayRenderer.h"
#include "DocView/Trk3DView.h"

namespace Ostra::Velmar {

// The track's 3D view with the overlays of its linked LPs and the View menu's switches.
class CTrk3DViewVelmar : public DocView::CTrk3DView {
public:
  CTrk3DViewVelmar();

  DocView::Trk3DOverlayRenderer& GetOverlays() const {
    return static_cast<DocView::Trk3DOverlayRenderer&>(GetCore());
  }

protected:
  // The track and the LP and lap-curve documents linked to it, newest first.
  void PrepareScene() override;
  void OnRefresh() override;

private:
  void OnViewCommand(wxCommandEvent& event);
  void OnUpdateViewCommand(wxUpdateUIEvent& event);

  wxDECLARE_DYNAMIC_CLASS(CTrk3DViewVelmar);
};

} // namespace Ostra::Velmar

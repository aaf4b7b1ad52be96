#pragma once

#include "DocView/Trk3DView.h"

namespace Ostra::Velmar {

// The track's 3D view with the overlays of its linked LPs and the View menu's switches.
class CTrk3DViewVelmar : public DocView::CTrk3DView {
  wxDECLARE_DYNAMIC_CLASS(CTrk3DViewVelmar);
};

} // namespace Ostra::Velmar

#pragma once

#include "DocView/GL/Trk3DRenderer.h"
#include "DocView/OpenGLView.h"

namespace Ostra::DocView {

// The track document's 3D view: the track's surfaces and walls seen from above, framed
// on the whole track or on the segment the tree selects. The drawing is Trk3DRenderer's.
class CTrk3DView : public COpenGLView {
public:
  CTrk3DView();

  // Every update repaints; a hint naming an item selects its segment.
  void OnUpdate(wxView* sender, wxObject* hint) override;
  Trk3DRenderer& GetRenderer() const { return static_cast<Trk3DRenderer&>(GetCore()); }

protected:
  explicit CTrk3DView(std::unique_ptr<Trk3DRenderer> renderer);

  void PrepareScene() override;
  // View > Refresh (F5).
  virtual void OnRefresh();

private:
  wxDECLARE_DYNAMIC_CLASS(CTrk3DView);
};

} // namespace Ostra::DocView

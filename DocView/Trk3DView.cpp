#include "DocView/Trk3DView.h"

#include "DocView/Core/CommandIds.h"
#include "DocView/GL/GlApi.h"
#include "DocView/TrkDoc.h"

namespace Ostra::DocView {

wxIMPLEMENT_DYNAMIC_CLASS(CTrk3DView, COpenGLView);

CTrk3DView::CTrk3DView() : CTrk3DView(std::make_unique<Trk3DRenderer>(OpenGL::RealGl())) {}

CTrk3DView::CTrk3DView(std::unique_ptr<Trk3DRenderer> renderer)
    : COpenGLView(std::move(renderer)) {
  Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnRefresh(); }, ID_VIEW_REFRESH);
}

void CTrk3DView::OnUpdate(wxView*, wxObject* hint) {
  PrepareScene();
  GetRenderer().OnUpdate(HintValue(hint));
  RefreshCanvas();
}

void CTrk3DView::PrepareScene() {
  auto* doc = dynamic_cast<CTrkDoc*>(GetDocument());
  GetRenderer().SetTrack(doc != nullptr ? doc->GetTrack() : Util::CountedPtr<Papy::Track>());
}

void CTrk3DView::OnRefresh() {
  GetRenderer().ForgetReportedFailures();
  RefreshCanvas();
}

} // namespace Ostra::DocView

#include "Velmar/App/TrkSplitterFrameVelmar.h"

#include "Velmar/App/Trk3DViewVelmar.h"

namespace Ostra::Velmar {

DocView::CViewBase* CTrkSplitterFrameVelmar::CreateThirdView() { return new CTrk3DViewVelmar; }

} // namespace Ostra::Velmar

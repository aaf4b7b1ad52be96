#pragma once

#include "DocView/TrkSplitterFrame.h"

namespace Ostra::Velmar {

// The application's track frame: its third pane is the 3D view with the LP overlays.
class CTrkSplitterFrameVelmar : public DocView::CTrkSplitterFrame {
public:
  using DocView::CTrkSplitterFrame::CTrkSplitterFrame;

protected:
  DocView::CViewBase* CreateThirdView() override;
};

} // namespace Ostra::Velmar

#include "Velmar/App/Trk3DViewVelmar.h"

namespace Ostra::Velmar {

wxIMPLEMENT_DYNAMIC_CLASS(CTrk3DViewVelmar, DocView::CTrk3DView);

} // namespace Ostra::Velmar

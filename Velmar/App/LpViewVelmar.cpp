#include "Velmar/App/LpViewVelmar.h"

#include "Velmar/App/LpDocVelmar.h"

namespace Ostra::Velmar {

wxIMPLEMENT_DYNAMIC_CLASS(CLpViewVelmar, DocView::CLpGridView);

CLpViewVelmar::CLpViewVelmar() { BindCommands(); }

CLpDocVelmar* CLpViewVelmar::GetDocument() const { return dynamic_cast<CLpDocVelmar*>(wxView::GetDocument()); }

} // namespace Ostra::Velmar

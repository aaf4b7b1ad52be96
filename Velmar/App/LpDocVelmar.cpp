#include "Velmar/App/LpDocVelmar.h"

namespace Ostra::Velmar {

wxIMPLEMENT_DYNAMIC_CLASS(CLpDocVelmar, DocView::CLpDoc);
wxIMPLEMENT_DYNAMIC_CLASS(CLcvDocVelmar, CLpDocVelmar);

CLpDocVelmar::~CLpDocVelmar() { DocView::GetDocumentRegistry().UnregisterLpDocument(this); }

} // namespace Ostra::Velmar

#include "Velmar/App/LpDocVelmar.h"

namespace Ostra::Velmar {

wxIMPLEMENT_DYNAMIC_CLASS(CLpDocVelmar, DocView::CLpDoc);
wxIMPLEMENT_DYNAMIC_CLASS(CLcvDocVelmar, CLpDocVelmar);

CLpDocVelmar::~CLpDocVelmar() { DocView::GetDocumentRegistry().UnregisterLpDocument(this); }

bool CLpDocVelmar::OpenAndRegister(const wxString& path, bool lapCurve) {
  if (!OpenFile(path, lapCurve))
    return false;
  DocView::GetDocumentRegistry().RegisterLpDocument(this);
  InitialUpdateViews();
  return true;
}

bool CLpDocVelmar::OnOpenDocument(const wxString& path) { return OpenAndRegister(path, false); }

bool CLpDocVelmar::OnNewDocument() {
  if (!CLpDoc::OnNewDocument())
    return false;
  DocView::GetDocumentRegistry().RegisterLpDocument(this);
  return true;
}

bool CLcvDocVelmar::OnOpenDocument(const wxString& path) { return OpenAndRegister(path, true); }

bool CLcvDocVelmar::OnNewDocument() { return false; }

} // namespace Ostra::Velmar

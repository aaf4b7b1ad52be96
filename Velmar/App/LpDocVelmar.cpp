#include "Velmar/App/LpDocVelmar.h"

namespace Ostra::Velmar {

wxIMPLEMENT_DYNAMIC_CLASS(CLpDocVelmar, DocView::CLpDoc);
wxIMPLEMENT_DYNAMIC_CLASS(CLcvDocVelmar, CLpDocVelmar);

CLpDocVelmar::~CLpDocVelmar() { DocView::GetDocumentRegistry().UnregisterLpDocument(this); }

bool CLpDocVelmar::OnOpenDocument(const wxString& path) {
  if (!OpenFile(path, false))
    return false;
  DocView::GetDocumentRegistry().RegisterLpDocument(this);
  InitialUpdateViews();
  return true;
}

bool CLpDocVelmar::OnNewDocument() {
  if (!CLpDoc::OnNewDocument())
    return false;
  DocView::GetDocumentRegistry().RegisterLpDocument(this);
  return true;
}

bool CLcvDocVelmar::OnOpenDocument(const wxString& path) {
  if (!OpenFile(path, true))
    return false;
  DocView::GetDocumentRegistry().RegisterLpDocument(this);
  InitialUpdateViews();
  return true;
}

bool CLcvDocVelmar::OnNewDocument() { return false; }

} // namespace Ostra::Velmar

#include "Velmar/App/ReplaceDocument.h"

#include <wx/docview.h>

#include "DocView/Core/DocumentRegistry.h"
#include "DocView/Core/UserMessages.h"
#include "DocView/DocManagerMultiOpen.h"
#include "DocView/LpDoc.h"
#include "Util/Exception.h"
#include "Util/PathName.h"

namespace Ostra::Velmar {

bool HasUnsavedChanges(const wxDocument& doc) {
  if (doc.IsModified())
    return true;
  const auto* lp = dynamic_cast<const DocView::CLpDoc*>(&doc);
  return lp != nullptr && lp->HasUnsavedEdits();
}

ReplaceResult ReplaceDocument(wxDocManager& manager, const std::string& path,
                              const wxDocument* source, const ReplaceSteps& steps) {
  const std::string name = Util::PathName(path).GetFileName();
  if (wxDocument* open = DocView::FindDocumentOfFile(manager, path)) {
    if (open == source)
      throw Util::XUsage(name + " is the document this command works on; please choose another name.");
    if (HasUnsavedChanges(*open) &&
        DocView::GetUserMessages().Ask(name + " is open with changes that were not saved.\n"
                                              "Discard them and replace it with the new file?",
                                       DocView::MessageParent::View) != DocView::QuestionAnswer::Yes)
      return ReplaceResult::Declined;
  }

  steps.Write(path);

  // Looked up again: writing may have run events.
  if (wxDocument* open = DocView::FindDocumentOfFile(manager, path)) {
    if (auto* link = dynamic_cast<DocView::ILpDocLink*>(open))
      DocView::GetDocumentRegistry().UnregisterLpDocument(link);
    open->Modify(false);
    manager.CloseDocument(open, true);
  }
  if (steps.AfterClose)
    steps.AfterClose();

  wxDocument* reopened = nullptr;
  DocView::RunGuarded([&] { reopened = manager.CreateDocument(wxString::FromUTF8(path), wxDOC_SILENT); },
                      DocView::MessageParent::MainWindow);
  return reopened ? ReplaceResult::Opened : ReplaceResult::NotOpened;
}

} // namespace Ostra::Velmar

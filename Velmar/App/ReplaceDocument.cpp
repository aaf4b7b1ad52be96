#include "Velmar/App/ReplaceDocument.h"

#include <wx/docview.h>

#include "DocView/Core/UserMessages.h"
#include "DocView/DocManagerMultiOpen.h"
#include "Util/Exception.h"
#include "Util/PathName.h"

namespace Ostra::Velmar {

ReplaceResult ReplaceDocument(wxDocManager& manager, const std::string& path,
                              const wxDocument* source, const ReplaceSteps& steps) {
  const std::string name = Util::PathName(path).GetFileName();
  if (wxDocument* open = DocView::FindDocumentOfFile(manager, path)) {
    if (open == source)
      throw Util::XUsage(name + " is the document this command works on; please choose another name.");
    if (!DocView::AgreeToReplaceOpenDocument(*open, name))
      return ReplaceResult::Declined;
  }

  steps.Write(path);

  // Looked up again: writing may have run events.
  if (wxDocument* open = DocView::FindDocumentOfFile(manager, path))
    DocView::CloseReplacedDocument(manager, *open);
  if (steps.AfterClose)
    steps.AfterClose();

  wxDocument* reopened = nullptr;
  DocView::RunGuarded([&] { reopened = manager.CreateDocument(wxString::FromUTF8(path), wxDOC_SILENT); },
                      DocView::MessageParent::MainWindow);
  return reopened ? ReplaceResult::Opened : ReplaceResult::NotOpened;
}

} // namespace Ostra::Velmar

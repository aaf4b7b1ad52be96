#pragma once

#include <functional>
#include <string>

class wxDocManager;
class wxDocument;

// The one way the generation commands put a new file on screen: write it, close the
// open document of that path, open the file. A document with unsaved changes is
// never thrown away unasked.
namespace Ostra::Velmar {

struct ReplaceSteps {
  // Writes the file at the path.
  std::function<void(const std::string& path)> Write;
  // Runs once the old document is closed, before the file opens (may be empty).
  std::function<void()> AfterClose;
};

enum class ReplaceResult {
  Declined, // the user kept the open document's changes: nothing was written
  Opened,   // written and open
  NotOpened // written, but opening it failed (the failure was shown)
};

// Before anything is written, an open document of the path with unsaved changes makes
// the user choose between discarding them (Yes) and keeping them (No: nothing
// happens). Then the file is written, the open document is taken out of the
// document registry and closed without a prompt, and the file is opened.
//
// Throws Util::XUsage, writing nothing, when the open document of the path is source
// (the document the command was given; replacing it would close the command's own
// view), and what Write throws, the open document then staying as it was.
ReplaceResult ReplaceDocument(wxDocManager& manager, const std::string& path,
                              const wxDocument* source, const ReplaceSteps& steps);

} // namespace Ostra::Velmar

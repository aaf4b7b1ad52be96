#include "DocView/ChildFrames.h"

#include <algorithm>

#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/weakref.h>

#include "DocView/DocViewBase.h"

namespace Ostra::DocView {

void InstallFrameMenu(wxFrame* frame, const FrameMenu& menu) {
  if (menu.Bar != nullptr)
    frame->SetMenuBar(menu.Bar);
  if (menu.RecentFiles != nullptr)
    if (wxDocManager* manager = wxDocManager::GetDocumentManager()) {
      manager->FileHistoryUseMenu(menu.RecentFiles);
      manager->FileHistoryAddFilesToMenu(menu.RecentFiles);
    }
}

void ReleaseFrameMenu(wxMenu* recentFiles) {
  if (recentFiles == nullptr)
    return;
  if (wxDocManager* manager = wxDocManager::GetDocumentManager())
    if (manager->GetFileHistory() != nullptr)
      manager->FileHistoryRemoveMenu(recentFiles);
}

void CloseFrameDocument(wxWindow* frame, wxDocument* doc, wxCloseEvent& event) {
  const wxWeakRef<wxWindow> alive(frame);
  if (doc != nullptr && !CDocumentBase::CloseThroughManager(doc, !event.CanVeto())) {
    event.Veto();
    return;
  }
  // Deleting the document's views normally took the frame with them.
  if (alive)
    alive->Destroy();
}

namespace {
// Whether the parent shows any document window yet; the new frame is not among them.
bool HasChildFrames(wxMDIParentFrame* parent) {
  if (parent == nullptr || parent->GetClientWindow() == nullptr)
    return false;
  for (wxWindow* child : parent->GetClientWindow()->GetChildren())
    if (dynamic_cast<wxMDIChildFrame*>(child) != nullptr && !child->IsBeingDeleted())
      return true;
  return false;
}
} // namespace

std::vector<CMDIChildWndMinimized*>& CMDIChildWndMinimized::StillOpening() {
  static std::vector<CMDIChildWndMinimized*> frames;
  return frames;
}

CMDIChildWndMinimized::CMDIChildWndMinimized(wxDocument* doc, CViewBase* view, wxMDIParentFrame* parent,
                                             const FrameMenu& menu)
    : RecentFiles(menu.RecentFiles) {
  const bool background = HasChildFrames(parent);
  Opening = background;
  if (Opening)
    StillOpening().push_back(this);
  // Named from the start: an empty title shows as the toolkit's "MDI child" until the
  // document has opened.
  Create(doc, view, parent, wxID_ANY, doc->GetUserReadableName());
#ifdef __WXGTK__
  // The notebook would bring the page it just added to the front at the next idle.
  if (background)
    parent->m_justInserted = false;
#endif
  InstallFrameMenu(this, menu);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  if (wxWindow* pane = view->CreatePaneWindow(this))
    sizer->Add(pane, 1, wxEXPAND);
  SetSizer(sizer);
  Bind(wxEVT_CLOSE_WINDOW, &CMDIChildWndMinimized::OnCloseWindow, this);
}

CMDIChildWndMinimized::~CMDIChildWndMinimized() {
  auto& frames = StillOpening();
  frames.erase(std::remove(frames.begin(), frames.end(), this), frames.end());
  ReleaseFrameMenu(RecentFiles);
}

void CMDIChildWndMinimized::Activate() {
  if (!Opening)
    wxDocMDIChildFrame::Activate();
}

bool CMDIChildWndMinimized::EndBackgroundOpening(wxDocument* doc) {
  bool found = false;
  for (CMDIChildWndMinimized* frame : StillOpening()) {
    frame->Opening = false;
    if (doc != nullptr && frame->GetDocument() == doc)
      found = true;
  }
  StillOpening().clear();
  return found;
}

void CMDIChildWndMinimized::OnCloseWindow(wxCloseEvent& event) { CloseFrameDocument(this, GetDocument(), event); }

} // namespace Ostra::DocView

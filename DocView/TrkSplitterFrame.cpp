#include "DocView/TrkSplitterFrame.h"

#include <wx/sizer.h>
#include <wx/splitter.h>

#include "DocView/Core/CommandIds.h"
#include "DocView/DocViewBase.h"
#include "DocView/Trk3DView.h"
#include "DocView/TrkDoc.h"
#include "DocView/TrkListView.h"

namespace Ostra::DocView {

// The frame starts at about the size of its tab: at the toolkit's default of 20 by 20
// pixels its panes would be laid out with no room, and GTK logs a critical for each of
// their scrollbars that the tab's first layout finds shorter than a scrollbar can be.
CTrkSplitterFrame::CTrkSplitterFrame(wxDocument* doc, CViewBase* tree, wxMDIParentFrame* parent,
                                     const FrameMenu& menu)
    : wxDocMDIChildFrame(doc, tree, parent, wxID_ANY, doc->GetUserReadableName(), wxDefaultPosition,
                         parent->GetClientSize()),
      Tree(tree), RecentFiles(menu.RecentFiles) {
  InstallFrameMenu(this, menu);
  Bind(wxEVT_CLOSE_WINDOW, &CTrkSplitterFrame::OnCloseWindow, this);
  Bind(wxEVT_CHILD_FOCUS, &CTrkSplitterFrame::OnChildFocus, this);
  // Bound before the pane commands, so those run first and this catches the rest.
  Bind(wxEVT_MENU, &CTrkSplitterFrame::OnRouteCommand, this);
  Bind(wxEVT_UPDATE_UI, &CTrkSplitterFrame::OnRouteUpdate, this);
  Bind(wxEVT_MENU, [this](wxCommandEvent&) { CyclePane(1); }, ID_NEXT_PANE);
  Bind(wxEVT_MENU, [this](wxCommandEvent&) { CyclePane(-1); }, ID_PREV_PANE);
  Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Enable(true); }, ID_NEXT_PANE);
  Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Enable(true); }, ID_PREV_PANE);
}

CTrkSplitterFrame::~CTrkSplitterFrame() { ReleaseFrameMenu(RecentFiles); }

CViewBase* CTrkSplitterFrame::CreateThirdView() { return new CTrk3DView; }

bool CTrkSplitterFrame::OnCreateClient() {
  wxDocument* doc = GetDocument();
  auto* outer = new wxSplitterWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                     wxSP_3D | wxSP_LIVE_UPDATE);
  auto* inner = new wxSplitterWindow(outer, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                     wxSP_3D | wxSP_LIVE_UPDATE);
  // Extra width goes to the 3D view.
  outer->SetSashGravity(0.0);
  inner->SetSashGravity(0.0);
  outer->SetMinimumPaneSize(20);
  inner->SetMinimumPaneSize(20);

  Panes[0] = {Tree, Tree->CreatePaneWindow(outer)};
  CViewBase* others[2] = {new CTrkListView, CreateThirdView()};
  for (int column = 1; column <= 2; ++column) {
    CViewBase* view = others[column - 1];
    // The document owns its views from here on and deletes them when it closes.
    view->SetDocument(doc);
    view->SetFrame(this);
    Panes[static_cast<std::size_t>(column)] = {view, view->CreatePaneWindow(inner)};
  }
  for (const Pane& pane : Panes)
    if (pane.Window == nullptr)
      return false;

  inner->SplitVertically(Panes[1].Window, Panes[2].Window, ListWidth);
  outer->SplitVertically(Panes[0].Window, inner, TreeWidth);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(outer, 1, wxEXPAND);
  SetSizer(sizer);
  // The splitters split at their default size; the panes take the frame's size now.
  Layout();
  return true;
}

int CTrkSplitterFrame::FindPane(const wxWindow* window) const {
  for (const wxWindow* w = window; w != nullptr && w != this; w = w->GetParent())
    for (std::size_t column = 0; column < Panes.size(); ++column)
      if (Panes[column].Window == w)
        return static_cast<int>(column);
  return -1;
}

void CTrkSplitterFrame::CyclePane(int step) {
  const int count = static_cast<int>(Panes.size());
  const int current = FindPane(wxWindow::FindFocus());
  const int next = current < 0 ? (step > 0 ? 0 : count - 1) : ((current + step) % count + count) % count;
  const Pane& pane = Panes[static_cast<std::size_t>(next)];
  if (pane.Window == nullptr)
    return;
  pane.Window->SetFocus();
  pane.View->Activate(true);
}

void CTrkSplitterFrame::OnCloseWindow(wxCloseEvent& event) { CloseFrameDocument(this, GetDocument(), event); }

void CTrkSplitterFrame::OnChildFocus(wxChildFocusEvent& event) {
  event.Skip();
  // While the owning view goes, the frame has let go of it and its panes are going.
  if (GetView() == nullptr || IsBeingDeleted())
    return;
  const int column = FindPane(event.GetWindow());
  if (column >= 0 && Panes[static_cast<std::size_t>(column)].View != nullptr)
    Panes[static_cast<std::size_t>(column)].View->Activate(true);
}

bool CTrkSplitterFrame::RouteToOtherViews(wxEvent& event) {
  auto* doc = dynamic_cast<CTrkDoc*>(GetDocument());
  if (Routing || doc == nullptr || GetView() == nullptr)
    return false;
  wxDocManager* manager = doc->GetDocumentManager();
  // The active view has been asked already, on the way in.
  wxView* asked = manager != nullptr ? manager->GetCurrentView() : nullptr;
  Routing = true;
  const bool handled = doc->RouteCmdToViews(asked, event);
  Routing = false;
  return handled;
}

void CTrkSplitterFrame::OnRouteCommand(wxCommandEvent& event) {
  if (!RouteToOtherViews(event))
    event.Skip();
}

void CTrkSplitterFrame::OnRouteUpdate(wxUpdateUIEvent& event) {
  if (!RouteToOtherViews(event))
    event.Skip();
}

} // namespace Ostra::DocView

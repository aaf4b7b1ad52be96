#include "DocView/TrkTreeView.h"

#include <vector>

#include <wx/treectrl.h>
#include <wx/utils.h>
#include <wx/wupdlock.h>

#include "DocView/Core/TrackTreeRows.h"
#include "DocView/Core/UserMessages.h"
#include "DocView/TrkDoc.h"

namespace Ostra::DocView {

wxIMPLEMENT_DYNAMIC_CLASS(CTrkTreeView, CViewBase);

namespace {

struct HintData : wxTreeItemData {
  explicit HintData(TrackItemHint hint) : Hint(hint) {}
  TrackItemHint Hint;
};

// The generic tree control selects its root at idle time whenever nothing is selected
// (and marks the root selected, silently, when it is added). Either would fill the other
// panes before the user chose anything, so until a first item is chosen, selections
// attempted while idling are vetoed and the tree shows nothing selected. Later idle
// selections are kept: they move the selection to a collapsed item's parent, so that
// the highlighted item and the other panes still agree.
class TrackTreeCtrl : public wxTreeCtrl {
public:
  TrackTreeCtrl(wxWindow* parent, long style) : wxTreeCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, style) {
    Bind(wxEVT_TREE_SEL_CHANGING, &TrackTreeCtrl::OnSelChanging, this);
    Bind(wxEVT_CHAR, &TrackTreeCtrl::OnChar, this);
  }

  void OnInternalIdle() override {
    Idling = true;
    wxTreeCtrl::OnInternalIdle();
    Idling = false;
  }

private:
  void OnSelChanging(wxTreeEvent& event) {
    if (Idling && !Chosen) {
      event.Veto();
      return;
    }
    Chosen = true;
    event.Skip();
  }

  // The generic tree ignores the arrow keys while nothing is selected; as in native
  // trees, the first one selects the top item.
  void OnChar(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    const bool moves = key == WXK_UP || key == WXK_DOWN || key == WXK_LEFT || key == WXK_RIGHT ||
                       key == WXK_HOME || key == WXK_END;
    if (moves && !GetSelection().IsOk() && GetRootItem().IsOk()) {
      SelectItem(GetRootItem());
      return;
    }
    event.Skip();
  }

  bool Idling = false;
  bool Chosen = false;
};

} // namespace

CTrkTreeView::~CTrkTreeView() {
  if (Tree != nullptr) {
    Tree->Unbind(wxEVT_TREE_SEL_CHANGED, &CTrkTreeView::OnSelChanged, this);
    Tree->Unbind(wxEVT_DESTROY, &CTrkTreeView::OnTreeDestroyed, this);
  }
}

wxWindow* CTrkTreeView::CreatePaneWindow(wxWindow* parent) {
  Tree = new TrackTreeCtrl(parent, wxTR_HAS_BUTTONS | wxTR_SINGLE);
  Tree->Bind(wxEVT_TREE_SEL_CHANGED, &CTrkTreeView::OnSelChanged, this);
  Tree->Bind(wxEVT_DESTROY, &CTrkTreeView::OnTreeDestroyed, this);
  return Tree;
}

wxWindow* CTrkTreeView::GetPaneWindow() const { return Tree; }

void CTrkTreeView::OnInitialUpdate() { Fill(); }

void CTrkTreeView::OnUpdate(wxView*, wxObject*) {}

void CTrkTreeView::Fill() {
  if (Tree == nullptr)
    return;
  const wxBusyCursor busy;
  // Thousands of segments go in as one batch: the generic tree lays out and paints once,
  // when thawed, and only expanded branches cost anything then.
  const wxWindowUpdateLocker frozen(Tree);
  Tree->DeleteAllItems();
  std::vector<wxTreeItemId> parents;
  auto* doc = dynamic_cast<CTrkDoc*>(GetDocument());
  const CountedPtr<Papy::Track> track = doc != nullptr ? doc->GetTrack() : CountedPtr<Papy::Track>();
  // On an exception the items added so far stay.
  RunGuarded(
      [&] {
        EmitTrackTreeItems(track.Get(), [&](const TrackTreeRow& row) {
          const auto depth = static_cast<std::size_t>(row.Depth);
          wxTreeItemId item;
          const wxString label = wxString::FromUTF8(row.Label);
          if (depth == 0) {
            item = Tree->AddRoot(label, -1, -1, new HintData(row.Hint));
            Tree->Unselect();
          } else {
            item = Tree->AppendItem(parents.at(depth - 1), label, -1, -1, new HintData(row.Hint));
          }
          parents.resize(depth);
          parents.push_back(item);
        });
      },
      MessageParent::View);
}

TrackItemHint CTrkTreeView::GetItemHint(const wxTreeItemId& item) const {
  if (Tree == nullptr || !item.IsOk())
    return NoItemHint;
  const auto* data = dynamic_cast<const HintData*>(Tree->GetItemData(item));
  return data != nullptr ? data->Hint : NoItemHint;
}

void CTrkTreeView::OnSelChanged(wxTreeEvent& event) {
  const wxTreeItemId item = event.GetItem();
  // A deselection names nothing.
  if (Tree == nullptr || !item.IsOk() || !Tree->IsSelected(item))
    return;
  const TrackItemHint hint = GetItemHint(item);
  wxDocument* doc = GetDocument();
  if (hint == NoItemHint || doc == nullptr)
    return;
  RunGuarded([&] { UpdateAllViewsHint(doc, this, hint); }, MessageParent::View);
}

void CTrkTreeView::OnTreeDestroyed(wxWindowDestroyEvent& event) {
  if (event.GetEventObject() == Tree)
    Tree = nullptr;
  event.Skip();
}

} // namespace Ostra::DocView

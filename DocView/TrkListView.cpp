#include "DocView/TrkListView.h"

#include <wx/listctrl.h>
#include <wx/wupdlock.h>

#include "DocView/Core/TrackPropertyRows.h"
#include "DocView/Core/UserMessages.h"
#include "DocView/TrkDoc.h"

namespace Ostra::DocView {

wxIMPLEMENT_DYNAMIC_CLASS(CTrkListView, CViewBase);

namespace {

class ListCtrlRows : public PropertyList {
public:
  explicit ListCtrlRows(wxListCtrl& list) : List(list) {}

  void DeleteAllRows() override { List.DeleteAllItems(); }

  void AppendRow(const std::string& field, const std::string& value) override {
    // The texts are UTF-8 (the degree sign); the wide conversion keeps them whatever
    // the user's locale.
    const long row = List.InsertItem(List.GetItemCount(), wxString::FromUTF8(field));
    List.SetItem(row, 1, wxString::FromUTF8(value));
  }

private:
  wxListCtrl& List;
};

} // namespace

CTrkListView::~CTrkListView() {
  if (List != nullptr)
    List->Unbind(wxEVT_DESTROY, &CTrkListView::OnListDestroyed, this);
}

wxWindow* CTrkListView::CreatePaneWindow(wxWindow* parent) {
  List = new wxListCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                        wxLC_REPORT | wxLC_SINGLE_SEL | wxLC_NO_SORT_HEADER);
  List->InsertColumn(0, "Field", wxLIST_FORMAT_LEFT, FieldColumnWidth);
  List->InsertColumn(1, "Value", wxLIST_FORMAT_LEFT, ValueColumnWidth);
  List->Bind(wxEVT_DESTROY, &CTrkListView::OnListDestroyed, this);
  return List;
}

wxWindow* CTrkListView::GetPaneWindow() const { return List; }

void CTrkListView::OnUpdate(wxView*, wxObject* hint) {
  const TrackItemHint value = HintValue(hint);
  if (List == nullptr || value == NoItemHint)
    return;
  auto* doc = dynamic_cast<CTrkDoc*>(GetDocument());
  const CountedPtr<Papy::Track> track = doc != nullptr ? doc->GetTrack() : CountedPtr<Papy::Track>();
  const wxWindowUpdateLocker frozen(List);
  ListCtrlRows rows(*List);
  // On an exception the rows added so far stay.
  RunGuarded([&] { UpdatePropertyList(track.Get(), value, rows); }, MessageParent::View);
}

void CTrkListView::OnListDestroyed(wxWindowDestroyEvent& event) {
  if (event.GetEventObject() == List)
    List = nullptr;
  event.Skip();
}

} // namespace Ostra::DocView

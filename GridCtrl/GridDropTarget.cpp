#include "GridCtrl/GridDropTarget.h"

#include "GridCtrl/GridCtrl.h"

#include <wx/dataobj.h>
#include <wx/utils.h>

namespace {

wxDragResult ToWx(GridDropEffect effect) {
  switch (effect) {
  case GridDropEffect::None:
    return wxDragNone;
  case GridDropEffect::Copy:
    return wxDragCopy;
  case GridDropEffect::Move:
    return wxDragMove;
  }
  return wxDragNone;
}

Ostra::U32 KeyState() { return wxGetKeyState(WXK_CONTROL) ? GridKeyFlags::Control : 0; }

} // namespace

CGridDropTarget::CGridDropTarget(CGridCtrl* grid) : Grid(grid), Text(new wxTextDataObject) { SetDataObject(Text); }

bool CGridDropTarget::OffersText() { return GetMatchingPair() != wxDF_INVALID; }

wxDragResult CGridDropTarget::OnEnter(wxCoord x, wxCoord y, wxDragResult /*def*/) { return Enter(x, y, OffersText()); }

wxDragResult CGridDropTarget::OnDragOver(wxCoord x, wxCoord y, wxDragResult /*def*/) {
  return Over(x, y, OffersText());
}

void CGridDropTarget::OnLeave() { Grid->OnDragLeave(); }

bool CGridDropTarget::OnDrop(wxCoord /*x*/, wxCoord /*y*/) { return Grid->GetDragAndDrop(); }

wxDragResult CGridDropTarget::OnData(wxCoord x, wxCoord y, wxDragResult /*def*/) {
  if (!GetData())
    return wxDragNone;
  return Drop(x, y, Text->GetText());
}

wxDragResult CGridDropTarget::Enter(wxCoord x, wxCoord y, bool has_text) {
  return ToWx(Grid->OnDragEnter(has_text, KeyState(), {x, y}));
}

wxDragResult CGridDropTarget::Over(wxCoord x, wxCoord y, bool has_text) {
  return ToWx(Grid->OnDragOver(has_text, KeyState(), {x, y}));
}

wxDragResult CGridDropTarget::Drop(wxCoord x, wxCoord y, const wxString& text) {
  const Ostra::U32 key_state = KeyState();
  if (!Grid->OnDrop(text.utf8_string(), {x, y}))
    return wxDragNone;
  return key_state != 0 ? wxDragCopy : wxDragMove;
}

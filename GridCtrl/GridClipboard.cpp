#include "GridCtrl/GridClipboard.h"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/dnd.h>

bool PutTextOnClipboard(const std::string& text) {
  wxClipboardLocker locker;
  if (!locker)
    return false;
  return wxTheClipboard->SetData(new wxTextDataObject(wxString::FromUTF8(text)));
}

bool GetTextFromClipboard(std::string* text) {
  wxClipboardLocker locker;
  if (!locker || !wxTheClipboard->IsSupported(wxDF_UNICODETEXT))
    return false;
  wxTextDataObject data;
  if (!wxTheClipboard->GetData(data))
    return false;
  *text = data.GetText().utf8_string();
  return true;
}

bool ClipboardOffersText() {
  wxClipboardLocker locker;
  return !!locker && wxTheClipboard->IsSupported(wxDF_UNICODETEXT);
}

GridDropEffect DragText(wxWindow* source, const std::string& text) {
  wxTextDataObject data(wxString::FromUTF8(text));
  wxDropSource drag(data, source);
  switch (drag.DoDragDrop(wxDrag_AllowMove)) {
  case wxDragCopy:
    return GridDropEffect::Copy;
  case wxDragMove:
    return GridDropEffect::Move;
  case wxDragError:
  case wxDragNone:
  case wxDragLink:
  case wxDragCancel:
    break;
  }
  return GridDropEffect::None;
}

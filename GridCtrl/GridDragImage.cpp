#include "GridCtrl/GridCtrl.h"

#include <wx/bitmap.h>
#include <wx/dcmemory.h>

#include "GridCtrl/WxGridDC.h"

wxImageList* CGridCtrl::CreateDragImage(wxPoint* hot_spot) {
  const CCellID focus = GetFocusCell();
  GridRect rect;
  if (!focus.IsValid() || GetCell(focus.Row, focus.Col) == nullptr ||
      !GetCellRect(focus.Row, focus.Col, &rect) || rect.Width() <= 0 || rect.Height() <= 0)
    return nullptr;
  const int width = rect.Width();
  const int height = rect.Height();
  if (hot_spot != nullptr)
    *hot_spot = wxPoint(width, height);

  wxBitmap picture(width, height);
  {
    wxMemoryDC memory(picture);
    WxGridDC dc(memory);
    GetCell(focus.Row, focus.Col)->Draw(&dc, focus.Row, focus.Col, {0, 0, width, height}, true);
  }
  auto* images = new wxImageList(width, height, true, 1);
  images->Add(picture, ToWxColour(GetDefaultCell(false, false)->GetBackClr()));
  return images;
}

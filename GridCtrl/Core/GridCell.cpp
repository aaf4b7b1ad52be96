#include "GridCtrl/Core/GridCell.h"

#include "GridCtrl/Core/GridCore.h"

#include <algorithm>
#include <vector>

using Ostra::U32;

CGridCellBase* CGridCellBase::GetDefaultCell() const {
  GridCore* grid = GetGrid();
  if (grid == nullptr)
    return nullptr;
  return grid->GetDefaultCell(IsFixedRow(), IsFixedCol());
}

void CGridCellBase::CopyFrom(const CGridCellBase& other) {
  if (&other == this)
    return;
  SetGrid(other.GetGrid());
  SetText(other.GetText());
  SetImage(other.GetImage());
  SetData(other.GetData());
  SetState(other.GetState());
  SetFormat(other.GetFormat());
  SetTextClr(other.GetTextClr());
  SetBackClr(other.GetBackClr());
  SetFont(other.IsDefaultFont() ? nullptr : other.GetFont());
  SetMargin(other.GetMargin());
}

bool CGridCellBase::Draw(GridDC* dc, int row, int col, GridRect rect, bool erase_background) {
  GridCore* grid = GetGrid();
  if (grid == nullptr || dc == nullptr || rect.Width() <= 0 || rect.Height() <= 0)
    return false;
  CGridCellBase* def = GetDefaultCell();
  if (def == nullptr)
    return false;

  GridColour text_clr = GetTextClr() == GridClrDefault ? def->GetTextClr() : GetTextClr();
  GridColour back_clr = GetBackClr();
  bool paint_back = true;
  if (back_clr == GridClrDefault) {
    back_clr = def->GetBackClr();
    paint_back = erase_background;
  }
  const bool lines = grid->GetGridLines() != 0;

  if (!IsFocused() && !IsDropHighlighted()) {
    if (IsSelected()) {
      dc->FillSolidRect(rect.Widened(), grid->GetSysColour(GridSysColour::Highlight));
      text_clr = grid->GetSysColour(GridSysColour::HighlightText);
    } else if (paint_back) {
      dc->FillSolidRect(rect.Widened(), back_clr);
    }
  } else {
    if (IsSelected()) {
      back_clr = grid->GetSysColour(GridSysColour::Highlight);
      text_clr = grid->GetSysColour(GridSysColour::HighlightText);
      paint_back = true;
    }
    rect = rect.Widened();
    if (paint_back)
      dc->FillSolidRect(rect, back_clr);
    if (lines) {
      rect.Right--;
      rect.Bottom--;
    }
    if (grid->GetFrameFocusCell())
      dc->FrameRect(rect, text_clr);
    if (!lines) {
      rect.Right--;
      rect.Bottom--;
    }
  }

  if (IsFixed() && lines) {
    const CCellID focus = grid->GetFocusCell();
    const bool sunken = grid->GetTrackFocusCell() && grid->IsValid(focus) &&
                        (focus.Row == row || focus.Col == col);
    if (sunken) {
      // Sunken inner edge: dark shadow on the top and left, light on the bottom and right.
      GridRect edge = rect.Widened();
      const GridColour shadow = grid->GetSysColour(GridSysColour::ThreeDDarkShadow);
      const GridColour light = grid->GetSysColour(GridSysColour::ThreeDHighlight);
      dc->Line({edge.Left, edge.Bottom - 1}, {edge.Left, edge.Top}, shadow);
      dc->Line({edge.Left, edge.Top}, {edge.Right - 1, edge.Top}, shadow);
      dc->Line({edge.Right - 1, edge.Top}, {edge.Right - 1, edge.Bottom - 1}, light);
      dc->Line({edge.Right - 1, edge.Bottom - 1}, {edge.Left - 1, edge.Bottom - 1}, light);
    } else {
      const GridColour light = grid->GetSysColour(GridSysColour::ThreeDHighlight);
      const GridColour dark = grid->GetSysColour(GridSysColour::ThreeDDarkShadow);
      dc->Line({rect.Right, rect.Top}, {rect.Left, rect.Top}, light);
      dc->Line({rect.Left, rect.Top}, {rect.Left, rect.Bottom}, light);
      dc->Line({rect.Right, rect.Top}, {rect.Right, rect.Bottom}, dark);
      dc->Line({rect.Right, rect.Bottom}, {rect.Left, rect.Bottom}, dark);
    }
    rect.Deflate(1, 1);
  }

  const GridFontDesc* font = GetFontObject();
  const GridFontDesc no_font;
  const GridFontDesc& use_font = font != nullptr ? *font : no_font;

  const int margin = static_cast<int>(GetMargin());
  rect.Deflate(margin, margin);
  rect = rect.Widened();

  GridImageList* images = grid->GetImageList();
  if (images != nullptr && GetImage() >= 0 && GetImage() < images->GetImageCount()) {
    const GridSize size = images->GetImageSize();
    if (size.Width <= rect.Width() && size.Height <= rect.Height())
      dc->DrawImage(*images, GetImage(), rect.TopLeft());
  }

  if (row == 0 && col == grid->GetSortColumn() && col >= 0) {
    int size = dc->TextExtent(use_font, "M").Height - 4;
    if (rect.Height() <= size)
      size = rect.Height() - 4;
    const bool vertical = use_font.Escapement == 900;
    if (size > 0 && size + rect.Left < rect.Right) {
      const int x = vertical ? (rect.Left - size + rect.Right) / 2 : rect.Right - size;
      const int b = rect.Bottom;
      std::vector<GridPoint> tri;
      if (!grid->GetSortAscending())
        tri = {{x, b - size - 2}, {x + size, b - size - 2}, {x + size / 2, b - 2}};
      else
        tri = {{x, b - 2}, {x + size, b - 2}, {x + size / 2, b - size - 2}};
      std::vector<GridPoint> shifted;
      for (GridPoint p : tri)
        shifted.push_back({p.X + 1, p.Y + 1});
      dc->PolygonOutline(shifted, grid->GetSysColour(GridSysColour::ThreeDHighlight));
      dc->PolygonOutline(tri, grid->GetSysColour(GridSysColour::ThreeDShadow));
      if (!vertical)
        rect.Right -= size;
    }
  }

  GetTextRect(&rect);
  rect = rect.Widened();
  dc->DrawText(GetText(), rect, GetFormat() | GridFormat::NoPrefix, text_clr, use_font);
  return true;
}

bool CGridCellBase::GetTextRect(GridRect* rect) {
  GridCore* grid = GetGrid();
  GridImageList* images = grid ? grid->GetImageList() : nullptr;
  if (images != nullptr && GetImage() >= 0 && GetImage() < images->GetImageCount())
    rect->Left += images->GetImageSize().Width + 1 + static_cast<int>(GetMargin());
  return true;
}

GridSize CGridCellBase::GetTextExtent(const std::string& text, GridDC* dc) {
  GridCore* grid = GetGrid();
  CGridCellBase* def = GetDefaultCell();
  GridTextMeasurer* measurer = dc;
  if (measurer == nullptr && grid != nullptr)
    measurer = grid->GetMeasurer();
  auto* default_cell = dynamic_cast<CGridDefaultCell*>(def);
  if (measurer == nullptr || text.empty()) {
    if (default_cell != nullptr)
      return {default_cell->GetWidth(), default_cell->GetHeight()};
    return {0, 0};
  }
  const GridFontDesc* font_ptr = GetFontObject();
  const GridFontDesc font = font_ptr ? *font_ptr : GridFontDesc{};
  const U32 format = GetFormat();
  GridSize size;
  if ((format & GridFormat::SingleLine) != 0 || (format & GridFormat::WordBreak) == 0) {
    size = measurer->TextExtent(font, text);
  } else {
    // In a width of the widest line nothing wraps further, so the block is the widest
    // line by the sum of the line heights.
    std::size_t start = 0;
    while (true) {
      const std::size_t end = text.find('\n', start);
      const GridSize line =
          measurer->TextExtent(font, text.substr(start, end == std::string::npos ? std::string::npos : end - start));
      size.Width = std::max(size.Width, line.Width);
      size.Height += line.Height;
      if (end == std::string::npos)
        break;
      start = end + 1;
    }
  }
  const int margin = static_cast<int>(GetMargin());
  size.Width += 2 * margin;
  size.Height += 2 * margin;
  if (font.Escapement == 900 || font.Escapement == -900) {
    std::swap(size.Width, size.Height);
    size.Height += 4 * margin;
  }
  return size;
}

GridSize CGridCellBase::GetCellExtent(GridDC* dc) {
  GridSize size = GetTextExtent(GetText(), dc);
  GridCore* grid = GetGrid();
  GridImageList* images = grid ? grid->GetImageList() : nullptr;
  const int margin = static_cast<int>(GetMargin());
  if (images != nullptr && GetImage() >= 0 && GetImage() < images->GetImageCount()) {
    const GridSize image = images->GetImageSize();
    size.Width += image.Width;
    if (size.Width > 2 * margin)
      size.Width += margin;
    size.Height = std::max(size.Height, image.Height + 2 * margin);
  }
  size.Width += 1;
  size.Height += 1;
  if (IsFixed()) {
    size.Width += 1;
    size.Height += 1;
  }
  return size;
}

void CGridCell::SetFont(const GridFontDesc* font) {
  if (font == nullptr) {
    Font.reset();
    return;
  }
  if (!Font)
    Font = std::make_unique<GridFontDesc>(*font);
  else
    *Font = *font;
}

U32 CGridCell::GetFormat() const {
  if (Format != GridFormat::Unset)
    return Format;
  CGridCellBase* def = GetDefaultCell();
  return def ? def->GetFormat() : 0;
}

const GridFontDesc* CGridCell::GetFont() const {
  if (Font)
    return Font.get();
  CGridCellBase* def = GetDefaultCell();
  return def ? def->GetFont() : nullptr;
}

U32 CGridCell::GetMargin() const {
  if (Margin != GridFormat::Unset)
    return Margin;
  CGridCellBase* def = GetDefaultCell();
  return def ? def->GetMargin() : 0;
}

void CGridCell::Reset() {
  CGridCellBase::Reset();
  Text.clear();
  Data = 0;
  Image = -1;
  Format = GridFormat::Unset;
  TextClr = GridClrDefault;
  BackClr = GridClrDefault;
  Font.reset();
  Margin = GridFormat::Unset;
  Editing = false;
  Grid = nullptr;
  EditWnd = nullptr;
}

bool CGridCell::Edit(int row, int col, GridRect rect, GridPoint /*point*/, int id, unsigned first_char) {
  if (Editing && EditWnd != nullptr) {
    EditWnd->SendChar(first_char);
    return true;
  }
  if (Grid == nullptr || Grid->GetHost() == nullptr)
    return false;
  const U32 format = GetFormat();
  GridEditRequest request;
  request.Rect = rect;
  request.Align = (format & GridFormat::Right) != 0    ? GridAlign::Right
                  : (format & GridFormat::Center) != 0 ? GridAlign::Center
                                                       : GridAlign::Left;
  request.Id = id;
  request.Row = row;
  request.Col = col;
  request.Text = GetText();
  request.FirstChar = first_char;
  Editing = true;
  EditWnd = Grid->GetHost()->CreateInPlaceEditor(request);
  if (EditWnd == nullptr)
    Editing = false;
  return true;
}

void CGridCell::EndEdit() {
  if (EditWnd != nullptr)
    EditWnd->EndEdit();
}

CGridDefaultCell::CGridDefaultCell() {
  Format = GridFormat::Default;
  TextClr = GridClrDefault;
  BackClr = GridClrDefault;
}

void CGridDefaultCell::SetFont(const GridFontDesc* font) {
  if (font == nullptr)
    return;
  CGridCell::SetFont(font);
  GridTextMeasurer* measurer = Grid ? Grid->GetMeasurer() : nullptr;
  if (measurer == nullptr) {
    Margin = 3;
    Size = {40, 16};
    return;
  }
  Margin = static_cast<U32>(measurer->TextExtent(*font, " ").Width);
  const GridSize sample = measurer->TextExtent(*font, " XXXXXXXXXXXX ");
  Size = {sample.Width, sample.Height * 3 / 2};
}

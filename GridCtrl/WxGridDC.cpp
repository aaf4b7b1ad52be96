#include "GridCtrl/WxGridDC.h"

#include <wx/control.h>
#include <wx/dcclient.h>
#include <wx/dcscreen.h>
#include <wx/settings.h>
#include <wx/window.h>

wxColour ToWxColour(GridColour colour) {
  return wxColour(static_cast<unsigned char>(GridRed(colour)), static_cast<unsigned char>(GridGreen(colour)),
                  static_cast<unsigned char>(GridBlue(colour)));
}

GridColour FromWxColour(const wxColour& colour) { return GridRGB(colour.Red(), colour.Green(), colour.Blue()); }

wxFont ToWxFont(const GridFontDesc& font) {
  if (font.FaceName.empty() && font.Height <= 0)
    return wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  wxFontInfo info(wxSize(0, font.Height > 0 ? font.Height : 12));
  if (!font.FaceName.empty())
    info.FaceName(wxString::FromUTF8(font.FaceName));
  info.Weight(font.Weight).Italic(font.Italic).Underlined(font.Underline);
  return wxFont(info);
}

GridFontDesc FromWxFont(const wxFont& font) {
  GridFontDesc desc;
  if (!font.IsOk())
    return desc;
  desc.FaceName = font.GetFaceName().ToStdString(wxConvUTF8);
  desc.Height = font.GetPixelSize().GetHeight();
  desc.Weight = font.GetNumericWeight();
  desc.Italic = font.GetStyle() == wxFONTSTYLE_ITALIC;
  desc.Underline = font.GetUnderlined();
  return desc;
}

const wxFont& WxFontCache::Get(const GridFontDesc& font) {
  if (!Valid || !(font == Last)) {
    Last = font;
    LastFont = ToWxFont(font);
    Valid = true;
  }
  return LastFont;
}

GridSize WxGridImageList::GetImageSize() const {
  int width = 0;
  int height = 0;
  if (Images != nullptr && Images->GetImageCount() > 0)
    Images->GetSize(0, width, height);
  return {width, height};
}

GridSize WxGridDC::TextExtent(const GridFontDesc& font, const std::string& text) {
  wxCoord width = 0;
  wxCoord height = 0;
  const wxFont& wx_font = Fonts.Get(font);
  Dc.GetTextExtent(wxString::FromUTF8(text), &width, &height, nullptr, nullptr, &wx_font);
  return {width, height};
}

bool WxGridDC::IsPrinting() const { return false; }

void WxGridDC::FillSolidRect(const GridRect& rect, GridColour colour) {
  if (rect.IsEmpty())
    return;
  Dc.SetPen(*wxTRANSPARENT_PEN);
  Dc.SetBrush(wxBrush(ToWxColour(colour)));
  Dc.DrawRectangle(rect.Left, rect.Top, rect.Width(), rect.Height());
}

void WxGridDC::FrameRect(const GridRect& rect, GridColour colour) {
  if (rect.IsEmpty())
    return;
  Dc.SetPen(wxPen(ToWxColour(colour), 1));
  Dc.SetBrush(*wxTRANSPARENT_BRUSH);
  Dc.DrawRectangle(rect.Left, rect.Top, rect.Width(), rect.Height());
}

void WxGridDC::Line(GridPoint from, GridPoint to, GridColour colour) {
  Dc.SetPen(wxPen(ToWxColour(colour), 1));
  Dc.DrawLine(from.X, from.Y, to.X, to.Y);
}

void WxGridDC::PolygonOutline(const std::vector<GridPoint>& points, GridColour colour) {
  if (points.size() < 2)
    return;
  std::vector<wxPoint> wx_points;
  wx_points.reserve(points.size());
  for (const GridPoint& p : points)
    wx_points.emplace_back(p.X, p.Y);
  Dc.SetPen(wxPen(ToWxColour(colour), 1));
  Dc.SetBrush(*wxTRANSPARENT_BRUSH);
  Dc.DrawPolygon(static_cast<int>(wx_points.size()), wx_points.data());
}

void WxGridDC::DrawText(const std::string& text, const GridRect& rect, Ostra::U32 format, GridColour colour,
                        const GridFontDesc& font) {
  if (rect.IsEmpty() || text.empty())
    return;
  Dc.SetFont(Fonts.Get(font));
  Dc.SetTextForeground(ToWxColour(colour));
  Dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  wxString label = wxString::FromUTF8(text);
  const bool single = (format & GridFormat::SingleLine) != 0;
  if (single) {
    label.Replace("\r", "");
    label.Replace("\n", " ");
  }
  if (single && (format & GridFormat::EndEllipsis) != 0)
    label = wxControl::Ellipsize(label, Dc, wxELLIPSIZE_END, rect.Width(), wxELLIPSIZE_FLAGS_NONE);
  int align = (format & GridFormat::Right) != 0    ? wxALIGN_RIGHT
              : (format & GridFormat::Center) != 0 ? wxALIGN_CENTER_HORIZONTAL
                                                   : wxALIGN_LEFT;
  if (single)
    align |= (format & GridFormat::VCenter) != 0  ? wxALIGN_CENTER_VERTICAL
             : (format & GridFormat::Bottom) != 0 ? wxALIGN_BOTTOM
                                                   : wxALIGN_TOP;
  const wxRect area(rect.Left, rect.Top, rect.Width(), rect.Height());
  wxDCClipper clip(Dc, area);
  Dc.DrawLabel(label, area, align);
}

void WxGridDC::DrawImage(const GridImageList& images, int index, GridPoint at) {
  const auto* wx_images = dynamic_cast<const WxGridImageList*>(&images);
  if (wx_images != nullptr && wx_images->Get() != nullptr)
    wx_images->Get()->Draw(index, Dc, at.X, at.Y, wxIMAGELIST_DRAW_NORMAL);
}

GridSize WxTextMeasurer::TextExtent(const GridFontDesc& font, const std::string& text) {
  wxCoord width = 0;
  wxCoord height = 0;
  const wxFont& wx_font = Fonts.Get(font);
  if (Window != nullptr && Window->GetHandle() != nullptr) {
    wxClientDC dc(Window);
    dc.GetTextExtent(wxString::FromUTF8(text), &width, &height, nullptr, nullptr, &wx_font);
  } else {
    wxScreenDC dc;
    dc.GetTextExtent(wxString::FromUTF8(text), &width, &height, nullptr, nullptr, &wx_font);
  }
  return {width, height};
}

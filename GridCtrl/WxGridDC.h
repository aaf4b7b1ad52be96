#pragma once

// The wxWidgets side of the grid's drawing interface: paints through a wxDC and turns
// the core's colours and font descriptions into wx objects.

#include "GridCtrl/Core/GridInterfaces.h"

#include <wx/colour.h>
#include <wx/dc.h>
#include <wx/font.h>
#include <wx/imaglist.h>

class wxWindow;

wxColour ToWxColour(GridColour colour);
GridColour FromWxColour(const wxColour& colour);
// An empty description stands for the system's default font.
wxFont ToWxFont(const GridFontDesc& font);
GridFontDesc FromWxFont(const wxFont& font);

// Caches the last font made, since nearly every cell draws with the same one.
class WxFontCache {
public:
  const wxFont& Get(const GridFontDesc& font);

private:
  GridFontDesc Last;
  wxFont LastFont;
  bool Valid = false;
};

// Images for cells, by index.
class WxGridImageList : public GridImageList {
public:
  explicit WxGridImageList(wxImageList* images) : Images(images) {}
  int GetImageCount() const override { return Images != nullptr ? Images->GetImageCount() : 0; }
  GridSize GetImageSize() const override;
  wxImageList* Get() const { return Images; }

private:
  wxImageList* Images;
};

class WxGridDC : public GridDC {
public:
  explicit WxGridDC(wxDC& dc) : Dc(dc) {}

  GridSize TextExtent(const GridFontDesc& font, const std::string& text) override;
  bool IsPrinting() const override;
  void FillSolidRect(const GridRect& rect, GridColour colour) override;
  void FrameRect(const GridRect& rect, GridColour colour) override;
  void Line(GridPoint from, GridPoint to, GridColour colour) override;
  void PolygonOutline(const std::vector<GridPoint>& points, GridColour colour) override;
  void DrawText(const std::string& text, const GridRect& rect, Ostra::U32 format, GridColour colour,
                const GridFontDesc& font) override;
  void DrawImage(const GridImageList& images, int index, GridPoint at) override;

private:
  wxDC& Dc;
  WxFontCache Fonts;
};

// Measures text on the window's own surface, or on the screen before it exists.
class WxTextMeasurer : public GridTextMeasurer {
public:
  explicit WxTextMeasurer(wxWindow* window) : Window(window) {}
  GridSize TextExtent(const GridFontDesc& font, const std::string& text) override;

private:
  wxWindow* Window;
  WxFontCache Fonts;
};

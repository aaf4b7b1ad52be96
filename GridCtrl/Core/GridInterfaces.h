#pragma once

// The few services the grid core needs from a platform. The window layer implements
// them; tests implement recording fakes.

#include "GridCtrl/Core/GridTypes.h"

#include <string>
#include <vector>

class GridTextMeasurer {
public:
  virtual ~GridTextMeasurer() = default;
  // Extent of one line of text in the font.
  virtual GridSize TextExtent(const GridFontDesc& font, const std::string& text) = 0;
};

class GridImageList {
public:
  virtual ~GridImageList() = default;
  virtual int GetImageCount() const = 0;
  virtual GridSize GetImageSize() const = 0;
};

// A drawing surface. Fills and frames cover [Left, Right) x [Top, Bottom); a line
// leaves out its end point.
class GridDC : public GridTextMeasurer {
public:
  virtual bool IsPrinting() const { return false; }
  virtual void FillSolidRect(const GridRect& rect, GridColour colour) = 0;
  // A one-pixel frame along the inside of the rectangle.
  virtual void FrameRect(const GridRect& rect, GridColour colour) = 0;
  virtual void Line(GridPoint from, GridPoint to, GridColour colour) = 0;
  virtual void PolygonOutline(const std::vector<GridPoint>& points, GridColour colour) = 0;
  // Text laid out in the rectangle by the format bits (GridFormat); never prefix-processed.
  virtual void DrawText(const std::string& text, const GridRect& rect, Ostra::U32 format,
                        GridColour colour, const GridFontDesc& font) = 0;
  virtual void DrawImage(const GridImageList& images, int index, GridPoint at) = 0;
};

// An open in-place editor on a cell.
class GridInPlaceEditor {
public:
  virtual ~GridInPlaceEditor() = default;
  // Closes the editor; it reports its text to the grid as it goes.
  virtual void EndEdit() = 0;
  // A character typed while the editor is already open.
  virtual void SendChar(unsigned ch) = 0;
  // The edit commands on the editor's own text, which take over from the grid's while the
  // editor is open.
  virtual void CutText() {}
  virtual void CopyText() {}
  virtual void PasteText() {}
  virtual bool CanCutText() const { return false; }
  virtual bool CanCopyText() const { return false; }
  virtual bool CanPasteText() const { return false; }
};

// What a drop does with the dragged text.
enum class GridDropEffect { None = 0, Copy = 1, Move = 2 };

enum class GridAlign { Left, Center, Right };

struct GridEditRequest {
  GridRect Rect;
  GridAlign Align = GridAlign::Left;
  int Id = 0;
  int Row = -1;
  int Col = -1;
  std::string Text;
  unsigned FirstChar = 0;
};

// The window the grid lives in.
class GridHost {
public:
  virtual ~GridHost() = default;
  virtual bool WindowExists() const = 0;
  // The client area with whatever scroll bars are shown removed.
  virtual GridSize GetClientSize() const = 0;
  // Thickness of the vertical bar (its width) or the horizontal bar (its height).
  virtual int GetScrollBarThickness(GridBar bar) const = 0;
  // A bar with max <= 0 or page > max is hidden.
  virtual void SetScrollBar(GridBar bar, bool shown, int pos, int page, int max) = 0;
  virtual void SetScrollPos(GridBar bar, int pos) = 0;
  virtual void InvalidateAll() = 0;
  virtual void InvalidateRect(const GridRect& rect) = 0;
  virtual void CaptureMouse() = 0;
  virtual void ReleaseMouse() = 0;
  virtual bool HasCapture() const = 0;
  virtual void SetCursor(GridCursor cursor) = 0;
  virtual void StartTimer(int milliseconds) = 0;
  virtual void StopTimer() = 0;
  virtual void TakeKeyboardFocus() = 0;
  // The pointer position in client co-ordinates.
  virtual GridPoint GetCursorPos() const = 0;
  // How far the pointer must move before a press turns into a drag.
  virtual GridSize GetDragThreshold() const = 0;
  virtual GridColour GetSysColour(GridSysColour which) const = 0;
  // Measures text as the screen would; null when no screen can be had.
  virtual GridTextMeasurer* GetMeasurer() = 0;
  // Told after a click ended on a cell.
  virtual void PostClickCommand() = 0;
  // Opens an in-place editor; null when the host offers none.
  virtual GridInPlaceEditor* CreateInPlaceEditor(const GridEditRequest& request) = 0;
  // The system clipboard's text; false when there is none or it cannot be had.
  virtual bool SetClipboardText(const std::string& /*text*/) { return false; }
  virtual bool GetClipboardText(std::string* /*text*/) { return false; }
  virtual bool ClipboardHasText() { return false; }
  // Drags text out of the window (copy or move allowed) until it is dropped; the effect
  // the drop chose.
  virtual GridDropEffect DoDragDrop(const std::string& /*text*/) { return GridDropEffect::None; }
};

// Receives notifications synchronously; the result answers the result-bearing codes.
class GridOwner {
public:
  virtual ~GridOwner() = default;
  virtual long OnGridNotify(GridNotify& notify) = 0;
};

#pragma once

// Fakes for testing the grid core without a display: a host window with a fixed-pitch
// font, an owner that records notifications and answers as scripted, and a drawing
// surface that records what was drawn.

#include "GridCtrl/Core/GridCore.h"

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace Ostra::Test {

// Every character is 8 pixels wide and 16 high.
class FixedPitchMeasurer : public GridTextMeasurer {
public:
  GridSize TextExtent(const GridFontDesc& /*font*/, const std::string& text) override {
    return {8 * static_cast<int>(text.size()), 16};
  }
};

class FakeEditor : public GridInPlaceEditor {
public:
  void EndEdit() override { ++EndCount; }
  void SendChar(unsigned ch) override { Chars.push_back(ch); }
  void CutText() override { Commands += "x"; }
  void CopyText() override { Commands += "c"; }
  void PasteText() override { Commands += "v"; }
  bool CanCutText() const override { return true; }
  int EndCount = 0;
  std::vector<unsigned> Chars;
  // One letter per edit command received: x cut, c copy, v paste.
  std::string Commands;
};

class FakeHost : public GridHost {
public:
  static constexpr int BarThickness = 16;

  bool WindowExists() const override { return Exists; }
  // Shown bars take their room from the client area, as real windows do.
  GridSize GetClientSize() const override {
    return {Full.Width - (VertShown ? BarThickness : 0), Full.Height - (HorzShown ? BarThickness : 0)};
  }
  int GetScrollBarThickness(GridBar /*bar*/) const override { return BarThickness; }
  void SetScrollBar(GridBar bar, bool shown, int /*pos*/, int /*page*/, int /*max*/) override {
    (bar == GridBar::Horz ? HorzShown : VertShown) = shown;
  }
  void SetScrollPos(GridBar /*bar*/, int /*pos*/) override {}
  void InvalidateAll() override { ++InvalidateAllCount; }
  void InvalidateRect(const GridRect& rect) override { Invalidated.push_back(rect); }
  void CaptureMouse() override {
    Captured = true;
    ++CaptureCount;
  }
  void ReleaseMouse() override { Captured = false; }
  bool HasCapture() const override { return Captured; }
  void SetCursor(GridCursor cursor) override { Cursor = cursor; }
  void StartTimer(int milliseconds) override { TimerMilliseconds = milliseconds; }
  void StopTimer() override { TimerMilliseconds = 0; }
  void TakeKeyboardFocus() override {}
  GridPoint GetCursorPos() const override { return CursorPos; }
  GridSize GetDragThreshold() const override { return {4, 4}; }
  GridColour GetSysColour(GridSysColour which) const override {
    switch (which) {
    case GridSysColour::WindowText:
      return 0x000001;
    case GridSysColour::Window:
      return 0xFFFFFE;
    case GridSysColour::ThreeDFace:
      return 0xC0C0C1;
    case GridSysColour::ThreeDShadow:
      return 0x808081;
    case GridSysColour::Highlight:
      return 0xFF0000;
    case GridSysColour::HighlightText:
      return 0xFFFFFF;
    case GridSysColour::ThreeDHighlight:
      return 0xFFFFF0;
    case GridSysColour::ThreeDDarkShadow:
      return 0x404040;
    case GridSysColour::InfoBackground:
      return 0xE0FFFF;
    }
    return 0;
  }
  GridTextMeasurer* GetMeasurer() override { return HasMeasurer ? &Measurer : nullptr; }
  void PostClickCommand() override { ++ClickCommands; }
  GridInPlaceEditor* CreateInPlaceEditor(const GridEditRequest& request) override {
    EditRequests.push_back(request);
    return &Editor;
  }
  bool SetClipboardText(const std::string& text) override {
    if (!ClipboardWorks)
      return false;
    Clipboard = text;
    HasClipboard = true;
    return true;
  }
  bool GetClipboardText(std::string* text) override {
    if (!HasClipboard)
      return false;
    *text = Clipboard;
    return true;
  }
  bool ClipboardHasText() override { return HasClipboard; }
  GridDropEffect DoDragDrop(const std::string& text) override {
    Dragged.push_back(text);
    return DragResult;
  }
  void ClearRecords() {
    Invalidated.clear();
    InvalidateAllCount = 0;
  }

  bool Exists = true;
  bool HasMeasurer = true;
  GridSize Full{400, 300};
  bool HorzShown = false;
  bool VertShown = false;
  std::vector<GridRect> Invalidated;
  int InvalidateAllCount = 0;
  bool Captured = false;
  int CaptureCount = 0;
  GridCursor Cursor = GridCursor::Arrow;
  int TimerMilliseconds = 0;
  GridPoint CursorPos;
  int ClickCommands = 0;
  std::vector<GridEditRequest> EditRequests;
  FakeEditor Editor;
  // The clipboard; ClipboardWorks false makes setting it fail.
  std::string Clipboard;
  bool HasClipboard = false;
  bool ClipboardWorks = true;
  std::vector<std::string> Dragged;
  GridDropEffect DragResult = GridDropEffect::None;
  FixedPitchMeasurer Measurer;
};

struct NotifyRecord {
  int Code;
  int Row;
  int Col;
  bool operator==(const NotifyRecord&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const NotifyRecord& r) {
  return out << "{" << r.Code << ", " << r.Row << ", " << r.Col << "}";
}

class RecordingOwner : public GridOwner {
public:
  long OnGridNotify(GridNotify& notify) override {
    Records.push_back({notify.Code, notify.Row, notify.Col});
    if (notify.Code == LVN_ODCACHEHINT)
      Hints.push_back(notify.CacheHint);
    if (notify.Code == LVN_GETDISPINFOA && notify.DisplayInfo != nullptr)
      notify.DisplayInfo->Item.Text = "r" + std::to_string(notify.Row) + "c" + std::to_string(notify.Col);
    const auto answer = Answers.find(notify.Code);
    return answer != Answers.end() ? answer->second : 0;
  }
  // Records without the cache hints and display requests.
  std::vector<NotifyRecord> Plain() const {
    std::vector<NotifyRecord> out;
    for (const auto& r : Records)
      if (r.Code != LVN_ODCACHEHINT && r.Code != LVN_GETDISPINFOA)
        out.push_back(r);
    return out;
  }

  std::vector<NotifyRecord> Records;
  std::vector<CCellRange> Hints;
  std::map<int, long> Answers;
};

class RecordingDC : public GridDC {
public:
  struct Text {
    std::string Value;
    GridRect Rect;
    Ostra::U32 Format;
    GridColour Colour;
  };
  struct Fill {
    GridRect Rect;
    GridColour Colour;
  };
  struct LineRecord {
    GridPoint From;
    GridPoint To;
    GridColour Colour;
  };

  GridSize TextExtent(const GridFontDesc& font, const std::string& text) override {
    return Measurer.TextExtent(font, text);
  }
  void FillSolidRect(const GridRect& rect, GridColour colour) override { Fills.push_back({rect, colour}); }
  void FrameRect(const GridRect& rect, GridColour colour) override { Frames.push_back({rect, colour}); }
  void Line(GridPoint from, GridPoint to, GridColour colour) override { Lines.push_back({from, to, colour}); }
  void PolygonOutline(const std::vector<GridPoint>& points, GridColour colour) override {
    Polygons.push_back({points, colour});
  }
  void DrawText(const std::string& text, const GridRect& rect, Ostra::U32 format, GridColour colour,
                const GridFontDesc& /*font*/) override {
    Texts.push_back({text, rect, format, colour});
  }
  void DrawImage(const GridImageList& /*images*/, int index, GridPoint /*at*/) override { Images.push_back(index); }

  const Text* FindText(const std::string& value) const {
    for (const auto& t : Texts)
      if (t.Value == value)
        return &t;
    return nullptr;
  }

  std::vector<Text> Texts;
  std::vector<Fill> Fills;
  std::vector<Fill> Frames;
  std::vector<LineRecord> Lines;
  std::vector<std::pair<std::vector<GridPoint>, GridColour>> Polygons;
  std::vector<int> Images;
  FixedPitchMeasurer Measurer;
};

// A grid in a 400 x 300 window, every column 50 wide and every row 20 high, each cell
// holding "r<row>c<col>".
template <class GridType = GridCore>
struct BasicTestGrid {
  FakeHost Host;
  RecordingOwner Owner;
  GridType Grid;

  BasicTestGrid(int rows, int cols, int fixed_rows = 1, int fixed_cols = 1, bool fill = true) {
    Grid.AttachHost(&Host);
    Grid.SetGridOwner(&Owner);
    const GridFontDesc font{"Test", 12};
    Grid.SetGridFont(font);
    Grid.OnWindowCreated();
    Grid.SetColumnCount(cols);
    Grid.SetRowCount(rows);
    Grid.SetFixedColumnCount(fixed_cols);
    Grid.SetFixedRowCount(fixed_rows);
    for (int col = 0; col < cols; ++col)
      Grid.SetColumnWidth(col, 50);
    for (int row = 0; row < rows; ++row)
      Grid.SetRowHeight(row, 20);
    if (fill)
      for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col)
          Grid.SetItemText(row, col, "r" + std::to_string(row) + "c" + std::to_string(col));
    Owner.Records.clear();
    Host.ClearRecords();
  }

  // The middle of a cell as it lies on screen now.
  GridPoint Centre(int row, int col) const {
    GridRect rect;
    Grid.GetCellRect(row, col, &rect);
    return {(rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2};
  }
  void Click(int row, int col, Ostra::U32 flags = 0) {
    const GridPoint point = Centre(row, col);
    Grid.OnLButtonDown(point, flags);
    Grid.OnLButtonUp(point, flags);
  }
  std::vector<CCellID> Selected() const {
    std::vector<CCellID> cells;
    for (CCellID cell(-1, -1);;) {
      cell = Grid.GetNextItem(cell, GridNextItemFlags::All | GridNextItemFlags::Selected);
      if (!cell.IsValid())
        return cells;
      cells.push_back(cell);
    }
  }
};

using TestGrid = BasicTestGrid<>;

} // namespace Ostra::Test

inline std::ostream& operator<<(std::ostream& out, const CCellID& c) {
  return out << "(" << c.Row << ", " << c.Col << ")";
}
inline std::ostream& operator<<(std::ostream& out, const CCellRange& r) {
  return out << "{" << r.MinRow << ", " << r.MinCol << ", " << r.MaxRow << ", " << r.MaxCol << "}";
}
inline std::ostream& operator<<(std::ostream& out, const GridRect& r) {
  return out << "{" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << "}";
}

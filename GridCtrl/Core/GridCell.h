#pragma once

// The cells of the grid. A cell keeps its text and the attributes it sets itself; an
// attribute left at its "unset" value is taken from the grid's default cell for the
// cell's area at the moment it is used.

#include "GridCtrl/Core/GridTypes.h"

#include <cstdint>
#include <memory>
#include <string>

class GridCore;
class GridDC;
class GridInPlaceEditor;

class CGridCellBase {
public:
  CGridCellBase() = default;
  CGridCellBase(const CGridCellBase&) = delete;
  CGridCellBase& operator=(const CGridCellBase&) = delete;
  virtual ~CGridCellBase() = default;

  virtual void SetText(const std::string& text) = 0;
  virtual void SetImage(int image) = 0;
  virtual void SetData(std::intptr_t data) = 0;
  virtual void SetState(Ostra::U32 state) { State = state; }
  virtual void SetFormat(Ostra::U32 format) = 0;
  virtual void SetTextClr(GridColour colour) = 0;
  virtual void SetBackClr(GridColour colour) = 0;
  // Null drops the cell's own font.
  virtual void SetFont(const GridFontDesc* font) = 0;
  virtual void SetMargin(Ostra::U32 margin) = 0;
  virtual void SetGrid(GridCore* grid) = 0;
  virtual void SetCoords(int /*row*/, int /*col*/) {}

  virtual const std::string& GetText() const = 0;
  virtual const std::string& GetTipText() const { return GetText(); }
  virtual int GetImage() const = 0;
  virtual std::intptr_t GetData() const = 0;
  virtual Ostra::U32 GetState() const { return State; }
  virtual Ostra::U32 GetFormat() const = 0;
  virtual GridColour GetTextClr() const = 0;
  virtual GridColour GetBackClr() const = 0;
  virtual const GridFontDesc* GetFont() const = 0;
  // The font drawing uses; the same resolution as GetFont.
  virtual const GridFontDesc* GetFontObject() const = 0;
  virtual GridCore* GetGrid() const = 0;
  virtual GridInPlaceEditor* GetEditWnd() const = 0;
  virtual Ostra::U32 GetMargin() const = 0;
  virtual CGridCellBase* GetDefaultCell() const;
  virtual bool IsDefaultFont() const = 0;
  virtual bool IsEditing() const = 0;

  bool IsFocused() const { return (GetState() & GridItemState::Focused) != 0; }
  bool IsFixed() const { return (GetState() & GridItemState::Fixed) != 0; }
  bool IsFixedCol() const { return (GetState() & GridItemState::FixedCol) != 0; }
  bool IsFixedRow() const { return (GetState() & GridItemState::FixedRow) != 0; }
  bool IsSelected() const { return (GetState() & GridItemState::Selected) != 0; }
  bool IsReadOnly() const { return (GetState() & GridItemState::ReadOnly) != 0; }
  bool IsModified() const { return (GetState() & GridItemState::Modified) != 0; }
  bool IsDropHighlighted() const { return (GetState() & GridItemState::DropHighlighted) != 0; }

  virtual void CopyFrom(const CGridCellBase& other);
  virtual void Reset() { State = 0; }

  // Draws into rect (inclusive right and bottom). False when nothing could be drawn.
  virtual bool Draw(GridDC* dc, int row, int col, GridRect rect, bool erase_background = true);
  // Prints into rect (inclusive right and bottom): colours only with the grid's shaded
  // printout, never selection, focus or a sort arrow.
  virtual bool PrintCell(GridDC* dc, int row, int col, GridRect rect);
  virtual bool GetTextRect(GridRect* rect);
  virtual bool GetTipTextRect(GridRect* rect) { return GetTextRect(rect); }
  // Measures with dc, or with the grid's screen measurer when dc is null.
  virtual GridSize GetTextExtent(const std::string& text, GridDC* dc = nullptr);
  virtual GridSize GetCellExtent(GridDC* dc);

  virtual bool Edit(int /*row*/, int /*col*/, GridRect /*rect*/, GridPoint /*point*/, int /*id*/,
                    unsigned /*first_char*/) {
    return false;
  }
  virtual bool ValidateEdit(const std::string& /*text*/) { return true; }
  virtual void EndEdit() {}
  virtual void OnEndEdit() {}

  virtual void OnMouseEnter() {}
  virtual void OnMouseOver() {}
  virtual void OnMouseLeave() {}
  virtual void OnClick(GridPoint /*point*/) {}
  virtual void OnClickDown(GridPoint /*point*/) {}
  virtual void OnRClick(GridPoint /*point*/) {}
  virtual void OnDblClick(GridPoint /*point*/) {}
  virtual bool OnSetCursor(GridCursor* cursor) {
    *cursor = GridCursor::Arrow;
    return true;
  }

  Ostra::U32 State = 0;
};

class CGridCell : public CGridCellBase {
public:
  CGridCell() { CGridCell::Reset(); }

  void SetText(const std::string& text) override { Text = text; }
  void SetImage(int image) override { Image = image; }
  void SetData(std::intptr_t data) override { Data = data; }
  void SetFormat(Ostra::U32 format) override { Format = format; }
  void SetTextClr(GridColour colour) override { TextClr = colour; }
  void SetBackClr(GridColour colour) override { BackClr = colour; }
  void SetFont(const GridFontDesc* font) override;
  void SetMargin(Ostra::U32 margin) override { Margin = margin; }
  void SetGrid(GridCore* grid) override { Grid = grid; }

  const std::string& GetText() const override { return Text; }
  int GetImage() const override { return Image; }
  std::intptr_t GetData() const override { return Data; }
  Ostra::U32 GetFormat() const override;
  GridColour GetTextClr() const override { return TextClr; }
  GridColour GetBackClr() const override { return BackClr; }
  const GridFontDesc* GetFont() const override;
  const GridFontDesc* GetFontObject() const override { return GetFont(); }
  GridCore* GetGrid() const override { return Grid; }
  GridInPlaceEditor* GetEditWnd() const override { return EditWnd; }
  Ostra::U32 GetMargin() const override;
  bool IsDefaultFont() const override { return Font == nullptr; }
  bool IsEditing() const override { return Editing; }

  void Reset() override;
  bool Edit(int row, int col, GridRect rect, GridPoint point, int id, unsigned first_char) override;
  void EndEdit() override;
  void OnEndEdit() override {
    Editing = false;
    EditWnd = nullptr;
  }

  std::string Text;
  std::intptr_t Data = 0;
  int Image = -1;
  Ostra::U32 Format = GridFormat::Unset;
  GridColour TextClr = GridClrDefault;
  GridColour BackClr = GridClrDefault;
  std::unique_ptr<GridFontDesc> Font;
  Ostra::U32 Margin = GridFormat::Unset;
  bool Editing = false;
  GridCore* Grid = nullptr;
  // Owned by its window, which outlives the edit.
  GridInPlaceEditor* EditWnd = nullptr;
};

class CGridDefaultCell : public CGridCell {
public:
  CGridDefaultCell();

  void SetData(std::intptr_t /*data*/) override {}
  void SetState(Ostra::U32 /*state*/) override {}
  Ostra::U32 GetState() const override { return State | GridItemState::ReadOnly; }
  // Also remeasures the margin and the default size.
  void SetFont(const GridFontDesc* font) override;
  const GridFontDesc* GetFont() const override { return Font.get(); }
  const GridFontDesc* GetFontObject() const override { return Font.get(); }

  int GetStyle() const { return Style; }
  void SetStyle(int style) { Style = style; }
  int GetWidth() const { return Size.Width; }
  int GetHeight() const { return Size.Height; }
  void SetWidth(int width) { Size.Width = width; }
  void SetHeight(int height) { Size.Height = height; }

  GridSize Size{30, 10};
  int Style = 0;
};

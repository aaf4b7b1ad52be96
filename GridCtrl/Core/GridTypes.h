#pragma once

// Value types shared by the grid core, its cells and the window layer. Nothing here
// knows about a display.

#include "Util/Types.h"

#include <cstdint>
#include <string>

// A cell address; (-1, -1) is no cell.
struct CCellID {
  int Row = -1;
  int Col = -1;

  CCellID() = default;
  CCellID(int row, int col) : Row(row), Col(col) {}

  bool IsValid() const { return Row >= 0 && Col >= 0; }
  bool operator==(const CCellID&) const = default;
};

// An inclusive rectangle of cells.
struct CCellRange {
  int MinRow = -1;
  int MinCol = -1;
  int MaxRow = -1;
  int MaxCol = -1;

  CCellRange() = default;
  CCellRange(int min_row, int min_col, int max_row, int max_col)
      : MinRow(min_row), MinCol(min_col), MaxRow(max_row), MaxCol(max_col) {}

  bool IsValid() const {
    return MinRow >= 0 && MinCol >= 0 && MaxRow >= 0 && MaxCol >= 0 && MinRow <= MaxRow &&
           MinCol <= MaxCol;
  }
  bool InRange(int row, int col) const {
    return MinRow <= row && row <= MaxRow && MinCol <= col && col <= MaxCol;
  }
  bool InRange(const CCellID& cell) const { return InRange(cell.Row, cell.Col); }
  CCellID GetTopLeft() const { return {MinRow, MinCol}; }
  int Count() const { return IsValid() ? (MaxRow - MinRow + 1) * (MaxCol - MinCol + 1) : 0; }
  CCellRange Intersect(const CCellRange& other) const {
    return {MinRow > other.MinRow ? MinRow : other.MinRow,
            MinCol > other.MinCol ? MinCol : other.MinCol,
            MaxRow < other.MaxRow ? MaxRow : other.MaxRow,
            MaxCol < other.MaxCol ? MaxCol : other.MaxCol};
  }
  bool operator==(const CCellRange&) const = default;
};

// Cell state bits.
namespace GridItemState {
inline constexpr Ostra::U32 Focused = 0x01;
inline constexpr Ostra::U32 Selected = 0x02;
inline constexpr Ostra::U32 DropHighlighted = 0x04;
inline constexpr Ostra::U32 ReadOnly = 0x08;
inline constexpr Ostra::U32 Fixed = 0x10;
inline constexpr Ostra::U32 FixedRow = 0x20;
inline constexpr Ostra::U32 FixedCol = 0x40;
inline constexpr Ostra::U32 Modified = 0x80;
} // namespace GridItemState

// Direction and match flags of GetNextItem.
namespace GridNextItemFlags {
inline constexpr int DropHighlighted = 0x04;
inline constexpr int Focused = 0x01;
inline constexpr int Selected = 0x02;
inline constexpr int ReadOnly = 0x08;
inline constexpr int Fixed = 0x10;
inline constexpr int Modified = 0x20;
inline constexpr int Above = 0x100;
inline constexpr int Below = 0x200;
inline constexpr int ToLeft = 0x400;
inline constexpr int ToRight = 0x800;
inline constexpr int All = Below | ToLeft | ToRight;
} // namespace GridNextItemFlags

// Pixel geometry. A rectangle follows the classic window convention: fills cover
// [Left, Right) x [Top, Bottom); cell rectangles from GetCellRect hold their last pixel
// in Right and Bottom, so drawing code widens them by one before filling.
struct GridPoint {
  int X = 0;
  int Y = 0;
  bool operator==(const GridPoint&) const = default;
};

struct GridSize {
  int Width = 0;
  int Height = 0;
  bool operator==(const GridSize&) const = default;
};

struct GridRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(GridPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  GridPoint TopLeft() const { return {Left, Top}; }
  void Deflate(int dx, int dy) { Left += dx; Top += dy; Right -= dx; Bottom -= dy; }
  // One more pixel right and bottom: turns an inclusive cell rectangle into a fill area.
  GridRect Widened() const { return {Left, Top, Right + 1, Bottom + 1}; }
  bool operator==(const GridRect&) const = default;
};

// Colours are 0x00BBGGRR; red is the low byte. GridClrDefault means "take the default
// cell's colour".
using GridColour = Ostra::U32;
inline constexpr GridColour GridClrDefault = 0xFF000000;
inline constexpr GridColour GridRGB(int r, int g, int b) {
  return static_cast<GridColour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
inline constexpr int GridRed(GridColour c) { return static_cast<int>(c & 0xFF); }
inline constexpr int GridGreen(GridColour c) { return static_cast<int>((c >> 8) & 0xFF); }
inline constexpr int GridBlue(GridColour c) { return static_cast<int>((c >> 16) & 0xFF); }

// The system colours the grid draws with.
enum class GridSysColour {
  WindowText,
  Window,
  ThreeDFace,
  ThreeDShadow,
  Highlight,
  HighlightText,
  ThreeDHighlight,
  ThreeDDarkShadow,
  InfoBackground,
};

// A font description; the window layer turns it into a real font. Height is in pixels.
struct GridFontDesc {
  std::string FaceName;
  int Height = 0;
  int Weight = 400;
  bool Italic = false;
  bool Underline = false;
  // Tenths of a degree; 900 or -900 means vertical text. Kept as data, never drawn rotated.
  int Escapement = 0;
  bool operator==(const GridFontDesc&) const = default;
};

// Text drawing format bits.
namespace GridFormat {
inline constexpr Ostra::U32 Left = 0x0;
inline constexpr Ostra::U32 Center = 0x1;
inline constexpr Ostra::U32 Right = 0x2;
inline constexpr Ostra::U32 VCenter = 0x4;
inline constexpr Ostra::U32 Bottom = 0x8;
inline constexpr Ostra::U32 WordBreak = 0x10;
inline constexpr Ostra::U32 SingleLine = 0x20;
inline constexpr Ostra::U32 CalcRect = 0x400;
inline constexpr Ostra::U32 NoPrefix = 0x800;
inline constexpr Ostra::U32 EndEllipsis = 0x8000;
inline constexpr Ostra::U32 Default = 0x8824;
// Format, image and margin members holding this have none of their own.
inline constexpr Ostra::U32 Unset = 0xFFFFFFFF;
} // namespace GridFormat

// Notification codes sent to the owner, with the values owners already know.
enum GridNotifyCode : int {
  NM_CLICK = -2,
  NM_DBLCLK = -3,
  NM_RCLICK = -5,
  LVN_ITEMCHANGING = -100,
  LVN_ITEMCHANGED = -101,
  LVN_BEGINLABELEDITA = -105,
  LVN_ENDLABELEDITA = -106,
  LVN_BEGINDRAG = -109,
  LVN_ODCACHEHINT = -113,
  LVN_GETDISPINFOA = -150,
};

// Which fields of a GridItem are meaningful.
namespace GridItemMask {
inline constexpr Ostra::U32 Text = 0x0001;
inline constexpr Ostra::U32 Image = 0x0002;
inline constexpr Ostra::U32 Param = 0x0004;
inline constexpr Ostra::U32 State = 0x0008;
inline constexpr Ostra::U32 BackClr = 0x0010;
inline constexpr Ostra::U32 TextClr = 0x0020;
inline constexpr Ostra::U32 Format = 0x0040;
inline constexpr Ostra::U32 Font = 0x0080;
inline constexpr Ostra::U32 Margin = 0x0100;
inline constexpr Ostra::U32 All = 0xFFFFFFFF;
} // namespace GridItemMask

// A cell's contents as they travel between the grid and its owner.
struct GridItem {
  int Row = -1;
  int Col = -1;
  Ostra::U32 Mask = 0;
  Ostra::U32 State = 0;
  Ostra::U32 Format = GridFormat::Unset;
  int Image = -1;
  GridColour BackClr = GridClrDefault;
  GridColour TextClr = GridClrDefault;
  std::intptr_t Param = 0;
  GridFontDesc Font;
  Ostra::U32 Margin = GridFormat::Unset;
  std::string Text;
};

struct GridDisplayInfo {
  GridItem Item;
};

// What the owner receives. Result-bearing codes read the owner's return value.
struct GridNotify {
  int Code = 0;
  int IdFrom = 0;
  int Row = -1;
  int Col = -1;
  CCellRange CacheHint;                      // LVN_ODCACHEHINT only
  GridDisplayInfo* DisplayInfo = nullptr;    // LVN_GETDISPINFOA and editor end only
};

// Mouse and keyboard modifier flags, with the classic values.
namespace GridKeyFlags {
inline constexpr Ostra::U32 Shift = 0x04;
inline constexpr Ostra::U32 Control = 0x08;
} // namespace GridKeyFlags

// Virtual key codes the grid reacts to.
namespace GridKey {
inline constexpr int Tab = 9;
inline constexpr int Escape = 27;
inline constexpr int Prior = 33;
inline constexpr int Next = 34;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
inline constexpr int A = 65;
inline constexpr int C = 67;
inline constexpr int V = 86;
inline constexpr int X = 88;
inline constexpr int F2 = 113;
} // namespace GridKey

enum class GridBar { Horz = 0, Vert = 1 };

// Scroll-bar actions, with the classic values.
enum GridScrollCode : int {
  SB_LINEUP = 0,
  SB_LINELEFT = 0,
  SB_LINEDOWN = 1,
  SB_LINERIGHT = 1,
  SB_PAGEUP = 2,
  SB_PAGELEFT = 2,
  SB_PAGEDOWN = 3,
  SB_PAGERIGHT = 3,
  SB_THUMBPOSITION = 4,
  SB_THUMBTRACK = 5,
  SB_TOP = 6,
  SB_LEFT = 6,
  SB_BOTTOM = 7,
  SB_RIGHT = 7,
  SB_ENDSCROLL = 8,
};

enum class GridCursor { Arrow, SizeWE, SizeNS };

// The mouse machine's states.
enum class GridMouseMode {
  Nothing = 0,
  SelectAll = 1,
  SelectCol = 2,
  SelectRow = 3,
  SelectCells = 4,
  OverRowDivide = 6,
  SizingRow = 7,
  OverColDivide = 8,
  SizingCol = 9,
  PrepareEdit = 10,
  PrepareDrag = 11,
  Dragging = 12,
};

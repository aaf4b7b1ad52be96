#pragma once

// The grid's logic without a display: the table of cells and its counts, the four
// default cells, sizes and scroll positions, hit testing, painting through GridDC,
// selection and focus, the mouse machine and keyboard navigation, and the
// notifications to the owner. Without a host it behaves like a grid whose window does
// not exist yet: counts and cells work, nothing is sent and nothing is drawn.

#include "GridCtrl/Core/GridCell.h"
#include "GridCtrl/Core/GridInterfaces.h"
#include "GridCtrl/Core/GridTypes.h"
#include "GridCtrl/Core/GridPrintLayout.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <unordered_map>
#include <vector>

class GridCore {
public:
  using CellFactory = std::function<std::unique_ptr<CGridCellBase>()>;
  using DisplayCallback = std::function<bool(GridDisplayInfo*, std::intptr_t)>;

  GridCore(int rows = 0, int cols = 0, int fixed_rows = 0, int fixed_cols = 0);
  GridCore(const GridCore&) = delete;
  GridCore& operator=(const GridCore&) = delete;
  virtual ~GridCore();

  // ---- Platform ----
  // Re-reads the system colours from the host (as a colour-scheme change would).
  void AttachHost(GridHost* host);
  // Forgets the host and the owner, as when the window goes away.
  void DetachHost() {
    Host = nullptr;
    Owner = nullptr;
  }
  GridHost* GetHost() const { return Host; }
  void SetGridOwner(GridOwner* owner) { Owner = owner; }
  GridOwner* GetGridOwner() const { return Owner; }
  void SetControlId(int id) { ControlId = id; }
  int GetControlId() const { return ControlId; }
  // Once the window exists: every row and column takes the normal default size.
  bool OnWindowCreated();
  void OnSysColourChange();
  GridColour GetSysColour(GridSysColour which) const;
  GridTextMeasurer* GetMeasurer() const { return Host ? Host->GetMeasurer() : nullptr; }
  // The font of all four default cells.
  void SetGridFont(const GridFontDesc& font);
  const GridFontDesc* GetGridFont() const { return GetDefaultCell(false, false)->GetFont(); }

  // ---- Counts ----
  int GetRowCount() const { return RowCount; }
  int GetColumnCount() const { return ColCount; }
  int GetFixedRowCount() const { return FixedRows; }
  int GetFixedColumnCount() const { return FixedCols; }
  bool SetRowCount(int rows);
  bool SetColumnCount(int cols);
  bool SetFixedRowCount(int fixed_rows);
  bool SetFixedColumnCount(int fixed_cols);

  // ---- Cells ----
  CGridCellBase* GetCell(int row, int col) const;
  bool IsValid(int row, int col) const { return row >= 0 && row < RowCount && col >= 0 && col < ColCount; }
  bool IsValid(const CCellID& cell) const { return IsValid(cell.Row, cell.Col); }
  bool IsValid(const CCellRange& range) const {
    return range.IsValid() && range.MaxRow < RowCount && range.MaxCol < ColCount;
  }
  bool SetItemText(int row, int col, const std::string& text);
  std::string GetItemText(int row, int col) const;
  bool SetItemState(int row, int col, Ostra::U32 state);
  Ostra::U32 GetItemState(int row, int col) const;
  bool SetItemData(int row, int col, std::intptr_t data);
  std::intptr_t GetItemData(int row, int col) const;
  bool SetItemImage(int row, int col, int image);
  int GetItemImage(int row, int col) const;
  bool SetItemFormat(int row, int col, Ostra::U32 format);
  Ostra::U32 GetItemFormat(int row, int col) const;
  bool SetItemBkColour(int row, int col, GridColour colour);
  GridColour GetItemBkColour(int row, int col) const;
  bool SetItemFgColour(int row, int col, GridColour colour);
  GridColour GetItemFgColour(int row, int col) const;
  bool SetItemFont(int row, int col, const GridFontDesc* font);
  const GridFontDesc* GetItemFont(int row, int col) const;
  bool IsCellEditable(int row, int col) const;
  bool IsCellEditable(const CCellID& cell) const { return IsCellEditable(cell.Row, cell.Col); }
  bool SetCellType(int row, int col, const CellFactory& factory);
  // New cells are made by this factory (plain CGridCell when empty).
  void SetDefaultCellType(CellFactory factory) { MakeCell = std::move(factory); }
  void SetModified(bool modified = true, int row = -1, int col = -1);
  bool GetModified() const { return Modified; }
  CGridDefaultCell* GetDefaultCell(bool fixed_row, bool fixed_col) const;

  long SendMessageToParent(int row, int col, int code);
  long SendCacheHintToParent(const CCellRange& range);

  void SetVirtualMode(bool virtual_mode);
  bool GetVirtualMode() const { return VirtualMode; }
  void SetCallbackFunc(DisplayCallback callback, std::intptr_t param) {
    Callback = std::move(callback);
    CallbackParam = param;
  }
  void DeleteAllItems();

  CCellID GetNextItem(const CCellID& start, int flags) const;
  CCellRange GetSelectedCellRange() const;
  std::size_t GetSelectedCount() const { return SelectedCells.size(); }

  // ---- Flags ----
  void SetEditable(bool editable) { Editable = editable; }
  bool IsEditable() const { return Editable; }
  void EnableDragAndDrop(bool allow) { AllowDragAndDrop = allow; }
  bool GetDragAndDrop() const { return AllowDragAndDrop; }
  void SetListMode(bool list_mode);
  bool GetListMode() const { return ListMode; }
  void SetSingleRowSelection(bool single) { SingleRowSelection = single; }
  bool GetSingleRowSelection() const { return SingleRowSelection; }
  void SetSingleColSelection(bool single) { SingleColSelection = single; }
  bool GetSingleColSelection() const { return SingleColSelection; }
  void EnableSelection(bool enable);
  bool IsSelectable() const { return EnableSelectionFlag; }
  void SetFixedRowSelection(bool select) { FixedRowSelection = select; }
  bool GetFixedRowSelection() const { return FixedRowSelection; }
  void SetFixedColumnSelection(bool select) { FixedColSelection = select; }
  bool GetFixedColumnSelection() const { return FixedColSelection; }
  void SetHeaderSort(bool sort) { SortOnClick = sort; }
  bool GetHeaderSort() const { return SortOnClick; }
  void SetHandleTabKey(bool handle) { HandleTabKey = handle; }
  bool GetHandleTabKey() const { return HandleTabKey; }
  void SetDoubleBuffering(bool buffer) { DoubleBuffer = buffer; }
  bool GetDoubleBuffering() const { return DoubleBuffer; }
  void EnableTitleTips(bool enable) { TitleTips = enable; }
  bool GetTitleTips() const { return TitleTips; }
  // 0 none, 1 horizontal, 2 vertical, 3 both.
  void SetGridLines(int lines);
  int GetGridLines() const { return GridLines; }
  void SetGridBkColor(GridColour colour);
  GridColour GetGridBkColor() const { return GridBkColour; }
  void SetGridLineColor(GridColour colour);
  GridColour GetGridLineColor() const { return GridLineColour; }
  void SetTitleTipBackClr(GridColour colour) { TitleTipBackClr = colour; }
  GridColour GetTitleTipBackClr() const { return TitleTipBackClr; }
  void SetTitleTipTextClr(GridColour colour) { TitleTipTextClr = colour; }
  GridColour GetTitleTipTextClr() const { return TitleTipTextClr; }
  void SetRowResize(bool resize) { AllowRowResize = resize; }
  bool GetRowResize() const { return AllowRowResize; }
  void SetColumnResize(bool resize) { AllowColumnResize = resize; }
  bool GetColumnResize() const { return AllowColumnResize; }
  void SetTrackFocusCell(bool track) { TrackFocusCell = track; }
  bool GetTrackFocusCell() const { return TrackFocusCell; }
  void SetFrameFocusCell(bool frame) { FrameFocus = frame; }
  bool GetFrameFocusCell() const { return FrameFocus; }
  void SetShadedPrintOut(bool shaded) { ShadedPrintOut = shaded; }
  bool GetShadedPrintOut() const { return ShadedPrintOut; }
  void SetAutoSizeStyle(int style) { AutoSizeStyle = style; }
  int GetAutoSizeStyle() const { return AutoSizeStyle; }
  void SetImageList(GridImageList* images) { ImageList = images; }
  GridImageList* GetImageList() const { return ImageList; }
  void SetHiddenColUnhide(bool reopen) { HiddenColUnhide = reopen; }
  void SetHiddenRowUnhide(bool reopen) { HiddenRowUnhide = reopen; }
  void SetColumnHiding(bool allow) { AllowColHide = allow; }
  void SetRowHiding(bool allow) { AllowRowHide = allow; }
  void SetSortColumn(int col);
  int GetSortColumn() const { return SortColumn; }
  void SetSortAscending(bool ascending) { SortAscending = ascending; }
  bool GetSortAscending() const { return SortAscending; }
  // Lines scrolled per wheel notch; 0 or less scrolls by pages.
  void SetWheelScrollLines(int lines) { WheelScrollLines = lines; }

  // ---- Geometry ----
  int GetRowHeight(int row) const;
  int GetColumnWidth(int col) const;
  bool SetRowHeight(int row, int height);
  bool SetColumnWidth(int col, int width);
  int GetFixedRowHeight() const;
  int GetFixedColumnWidth() const;
  int GetVirtualHeight() const;
  int GetVirtualWidth() const;
  CCellID GetTopleftNonFixedCell(bool force_recalc = false) const;
  CCellRange GetVisibleNonFixedCellRange(GridRect* rect = nullptr, bool force_recalc = false) const;
  CCellRange GetUnobstructedNonFixedCellRange(bool force_recalc = false) const;
  bool GetCellOrigin(int row, int col, GridPoint* point) const;
  bool GetCellRect(int row, int col, GridRect* rect) const;
  bool GetCellRangeRect(const CCellRange& range, GridRect* rect) const;
  bool GetTextRect(int row, int col, GridRect* rect) const;
  GridSize GetTextExtent(int row, int col, const std::string& text) const;
  CCellID GetCellFromPt(GridPoint point, bool allow_outside = true) const;
  bool IsCellVisible(int row, int col) const;
  bool IsCellVisible(const CCellID& cell) const { return IsCellVisible(cell.Row, cell.Col); }
  void EnsureVisible(int row, int col);
  void EnsureVisible(const CCellID& cell) { EnsureVisible(cell.Row, cell.Col); }
  bool IsCellFixed(int row, int col) const { return row < FixedRows || col < FixedCols; }

  // ---- Drawing ----
  void Refresh();
  void InvalidateCellRect(int row, int col);
  void InvalidateCellRange(const CCellRange& range);
  // With a dc the cell is drawn at once, else its rectangle is invalidated.
  bool RedrawCell(int row, int col, GridDC* dc = nullptr);
  bool RedrawCell(const CCellID& cell, GridDC* dc = nullptr) { return RedrawCell(cell.Row, cell.Col, dc); }
  bool RedrawRow(int row);
  bool RedrawColumn(int col);
  // Paints everything that intersects clip.
  virtual void OnDraw(GridDC& dc, const GridRect& clip);
  void SetRedraw(bool allow, bool reset_scroll_bars = false);
  bool GetRedraw() const { return AllowDraw; }

  // ---- Sizing ----
  bool AutoSizeColumn(int col, int style = 0, bool reset_scroll = true);
  bool AutoSizeRow(int row, bool reset_scroll = true);
  void AutoSize(int style = 0);
  void ExpandColumnsToFit(bool expand_fixed = true);
  void ExpandRowsToFit(bool expand_fixed = true);
  void ExpandToFit(bool expand_fixed = true);
  void ExpandLastColumn();
  // AutoSizeColumn of every visible column, then the scroll bars once.
  void AutoSizeColumns(int style = 0);

  // ---- Sorting (GridCoreSort.cpp) ----
  // Negative, zero or positive like a string comparison; either cell may be null.
  using CompareFunction = std::function<int(const CGridCellBase*, const CGridCellBase*, std::intptr_t)>;
  // Sorts the non-fixed rows by a column with the compare function, or by text when none
  // is set. False in virtual mode (there are no rows to move), for a column outside the
  // grid, or with fewer than two rows to sort.
  bool SortTextItems(int col, bool ascending, std::intptr_t data = 0);
  bool SortItems(const CompareFunction& compare, int col, bool ascending, std::intptr_t data = 0);
  void SetCompareFunction(CompareFunction compare) { Compare = std::move(compare); }
  // Byte-wise and case-sensitive; 0 when either cell is missing.
  static int CompareCellText(const CGridCellBase* first, const CGridCellBase* second, std::intptr_t data);

  // ---- Items, rows and columns (GridCoreItems.cpp) ----
  // Each returns the new index, or -1 for a position outside the non-fixed area.
  int InsertColumn(const std::string& heading, Ostra::U32 format = GridFormat::Default, int column = -1);
  int InsertRow(const std::string& heading, int row = -1);
  bool DeleteRow(int row);
  bool SetItem(const GridItem* item);
  bool GetItem(GridItem* item) const;

  // ---- Delimited text files (GridTextFile.cpp) ----
  // Lines of text, one per row, cells separated by the delimiter, UTF-8, no quoting.
  // Failures are reported through ReportError and answered with false.
  bool Save(const std::string& file_name, char delimiter = ',');
  bool Load(const std::string& file_name, char delimiter = ',');
  // Load from an open stream; refuses data that would make more than max_cells cells.
  bool LoadText(std::istream& in, char delimiter = ',', std::size_t max_cells = DefaultMaxLoadCells);
  static constexpr std::size_t DefaultMaxLoadCells = 4'000'000;
  // Tells the user what went wrong; the window layer shows it.
  virtual void ReportError(const std::string& /*message*/) {}

  // ---- Printing (GridCorePrint.cpp); page geometry in GridPrintLayout ----
  // Negative values keep the margin as it is.
  void SetPrintMarginInfo(int header, int footer, int left, int right, int top, int bottom, int gap);
  GridPrintMargins GetPrintMarginInfo() const { return PrintMargins; }
  // Print at the screen's scale, splitting wide grids across pages, instead of fitting
  // the whole width on a page.
  void SetPrintAtScreenScale(bool screen_scale) { PrintAtScreenScale = screen_scale; }
  bool GetPrintAtScreenScale() const { return PrintAtScreenScale; }
  // Work out the pages on the printer's surface (unscaled); sets info's page range.
  virtual void OnBeginPrinting(GridDC* dc, GridPrintInfo* info);
  // Draws page info->CurPage in logical units (see GetPrintLayout).
  virtual void OnPrint(GridDC* dc, GridPrintInfo* info);
  virtual void OnEndPrinting(GridDC* dc, GridPrintInfo* info);
  const GridPrintLayout& GetPrintLayout() const { return PrintLayout; }
  int GetPrintColours() const { return PrintColours; }
  virtual void PrintColumnHeadings(GridDC* dc, GridPrintInfo* info);
  virtual void PrintRowHeadings(GridDC* dc, GridPrintInfo* info);
  virtual void PrintHeader(GridDC* dc, GridPrintInfo* info);
  virtual void PrintFooter(GridDC* dc, GridPrintInfo* info);
  // One fixed row's cells from first_col to last_col, the first starting at x.
  virtual void PrintFixedRowCells(GridDC* dc, int row, int first_col, int last_col, int x, int y);

  // ---- Scrolling ----
  void ResetScrollBars();
  // bar 0 horizontal, 1 vertical, 3 both.
  void EnableScrollBars(int bar, bool enable);
  bool IsScrollBarShown(GridBar bar) const { return (ScrollBarsShown & BarBit(bar)) != 0; }
  int GetScrollPos32(GridBar bar) const { return ScrollPos[static_cast<int>(bar)]; }
  bool SetScrollPos32(GridBar bar, int pos, bool redraw = true);
  int GetScrollMax(GridBar bar) const { return ScrollMax[static_cast<int>(bar)]; }
  int GetScrollPage(GridBar bar) const { return ScrollPage[static_cast<int>(bar)]; }
  // The largest position the bar can reach.
  int GetScrollLimit(GridBar bar) const;
  void OnScroll(GridBar bar, int code, int track_pos = 0);
  // delta in wheel units (wheel_delta per notch); lines per notch from the system.
  void OnMouseWheel(int delta, int lines_per_notch, int wheel_delta = 120);
  void OnSize();

  // ---- Selection and focus ----
  CCellID SetFocusCell(int row, int col);
  CCellID SetFocusCell(const CCellID& cell) { return SetFocusCell(cell.Row, cell.Col); }
  CCellID GetFocusCell() const { return FocusCell; }
  bool IsCellSelected(int row, int col) const;
  bool IsCellSelected(const CCellID& cell) const { return IsCellSelected(cell.Row, cell.Col); }
  void SetSelectedRange(int min_row, int min_col, int max_row, int max_col, bool force_repaint = false,
                        bool select_cells = true);
  void SetSelectedRange(const CCellRange& range, bool force_repaint = false, bool select_cells = true) {
    SetSelectedRange(range.MinRow, range.MinCol, range.MaxRow, range.MaxCol, force_repaint, select_cells);
  }
  void SelectAllCells();
  void SelectColumns(CCellID current, bool force_repaint = false, bool select = true);
  void SelectRows(CCellID current, bool force_repaint = false, bool select = true);
  void SelectCells(CCellID current, bool force_repaint = false, bool select = true);
  void OnSelecting(const CCellID& current);
  void ResetSelectedRange();
  virtual void OnEditSelectAll();
  virtual void OnFixedRowClick(CCellID& cell);
  virtual void OnFixedColumnClick(CCellID& cell);

  // ---- Mouse and keyboard (flags: GridKeyFlags) ----
  void OnLButtonDown(GridPoint point, Ostra::U32 flags);
  void OnLButtonUp(GridPoint point, Ostra::U32 flags);
  void OnLButtonDblClk(GridPoint point, Ostra::U32 flags);
  void OnRButtonUp(GridPoint point, Ostra::U32 flags);
  void OnMouseMove(GridPoint point, Ostra::U32 flags);
  void OnTimer();
  void OnCaptureChanged();
  // False when the key was left to the default handling (focus navigation and the like).
  bool OnKeyDown(int key, Ostra::U32 flags);
  void OnChar(unsigned ch, Ostra::U32 flags);
  // What the pointer over point should look like.
  GridCursor GetCursorFor(GridPoint point) const;
  GridMouseMode GetMouseMode() const { return MouseMode; }
  // The column or row being resized, while a divider drag runs; else -1.
  int GetTrackingIndex() const { return TrackIndex; }
  int GetTrackingPos() const { return TrackPos; }

  // ---- Editing and clipboard (GridCoreEdit.cpp) ----
  // first_char: see GridEditStart (GridEditorState.h).
  virtual void OnEditCell(int row, int col, GridPoint point, unsigned first_char);
  virtual void EndEditing();
  // Takes an edit's text: the owner is told after the text is stored and may refuse it.
  virtual void OnEndEditCell(int row, int col, const std::string& text);
  // The cell's own check; true when there is no cell.
  virtual bool ValidateEdit(int row, int col, const std::string& text);
  // An in-place editor closed: commits its text and, when Tab or a navigation key closed
  // it, moves the focus on and edits there.
  void OnEditorEnded(int row, int col, const std::string& text, int last_key, Ostra::U32 flags);
  // Writes a cell as a user's edit would: begin-edit first, then the end-edit protocol.
  void SetCellTextAsEdit(int row, int col, const std::string& text);
  // True while the owner is told of text typed into a cell's editor, false while it is
  // told of text pasted or dropped: the owner may hold typed text to stricter rules.
  bool IsTakingTypedText() const { return TakingTypedText; }
  // The selection as clipboard text; false when nothing is selected.
  bool CopyTextFromGrid(std::string* text);
  bool PasteTextToGrid(CCellID top_left, const std::string& text, bool select_pasted = true);
  virtual void CutSelectedText();
  void ClearCells(const CCellRange& range);
  virtual void OnEditCut();
  virtual void OnEditCopy();
  virtual void OnEditPaste();
  // Whether the edit commands can run now (menu enablers).
  bool CanCut() const;
  bool CanCopy() const;
  bool CanPaste() const;
  bool CanSelectAll() const { return EnableSelectionFlag; }
  // The open editor of the focus cell, if any.
  GridInPlaceEditor* GetFocusEditor() const;
  // Where a paste goes: the selection's top-left, else the focus, else the top-left
  // visible cell.
  CCellID GetPasteTarget() const;
  virtual void OnBeginDrag();
  // Drop target; key_state holds GridKeyFlags::Control for a copy.
  virtual GridDropEffect OnDragEnter(bool has_text, Ostra::U32 key_state, GridPoint point);
  virtual GridDropEffect OnDragOver(bool has_text, Ostra::U32 key_state, GridPoint point);
  virtual void OnDragLeave();
  virtual bool OnDrop(const std::string& text, GridPoint point);
  CCellID GetDropCell() const { return DropCell; }
  virtual void HideTitleTip() {}
  // Offered a cell's text while the pointer rests over it with title tips on.
  virtual void ShowTitleTip(const GridRect& /*text_rect*/, const std::string& /*text*/,
                            const GridRect& /*hover_rect*/, const GridFontDesc* /*font*/) {}

protected:
  virtual std::unique_ptr<CGridCellBase> CreateCell(int row, int col);
  virtual void DestroyCell(int row, int col);

  static int BarBit(GridBar bar) { return bar == GridBar::Horz ? 1 : 2; }
  static std::uint64_t CellKey(int row, int col) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(col)) << 32) |
           static_cast<std::uint32_t>(row);
  }
  GridSize ClientSize() const;
  bool WindowExists() const { return Host != nullptr && Host->WindowExists(); }
  void Invalidate(const GridRect& rect);
  void ClampScrollPositions();
  void DrawCellAt(GridDC& dc, int row, int col, const GridRect& rect, bool erase);
  bool IsOverColumnDivider(GridPoint point) const;
  bool IsOverRowDivider(GridPoint point) const;
  int ColumnToResize(GridPoint point) const;
  int RowToResize(GridPoint point) const;
  GridRect TrackingBandRect() const;
  void ClearMouseDrag();

  GridHost* Host = nullptr;
  GridOwner* Owner = nullptr;
  int ControlId = 100;

  GridColour GridBkColour;
  GridColour GridLineColour = GridRGB(192, 192, 192);
  GridColour SysWindowText = 0;
  GridColour SysWindow = 0;
  GridColour Sys3DFace = 0;
  GridColour Sys3DShadow = 0;
  GridColour TitleTipBackClr = GridClrDefault;
  GridColour TitleTipTextClr = GridClrDefault;
  bool VirtualMode = false;
  std::intptr_t CallbackParam = 0;
  DisplayCallback Callback;
  int GridLines = 3;
  bool Editable = true;
  bool Modified = false;
  bool TakingTypedText = false;
  bool AllowDragAndDrop = false;
  bool ListMode = false;
  bool SingleRowSelection = false;
  bool SingleColSelection = false;
  bool AllowDraw = true;
  bool EnableSelectionFlag = true;
  bool FixedColSelection = true;
  bool FixedRowSelection = true;
  bool SortOnClick = false;
  bool HandleTabKey = true;
  bool DoubleBuffer = true;
  bool TitleTips = true;
  int ScrollBarsShown = 0;
  bool HiddenColUnhide = true;
  bool HiddenRowUnhide = true;
  bool AllowColHide = true;
  bool AllowRowHide = true;
  bool TrackFocusCell = true;
  bool FrameFocus = true;
  bool ShadedPrintOut = true;
  GridImageList* ImageList = nullptr;
  int AutoSizeStyle = 3;
  int RowCount = 0;
  int FixedRows = 0;
  int ColCount = 0;
  int FixedCols = 0;
  std::vector<int> RowHeights;
  std::vector<int> ColWidths;
  int ScrollPos[2] = {0, 0};
  int ScrollMax[2] = {0, 0};
  int ScrollPage[2] = {0, 0};
  CellFactory MakeCell;
  // Normal, fixed column, fixed row, both.
  std::unique_ptr<CGridDefaultCell> DefaultCells[4];
  std::vector<std::vector<std::unique_ptr<CGridCellBase>>> Rows;
  GridMouseMode MouseMode = GridMouseMode::Nothing;
  bool LMouseButtonDown = false;
  GridPoint LeftClickDownPoint;
  GridPoint LastMousePoint;
  CCellID LeftClickDownCell;
  CCellID SelectionStartCell;
  CCellID FocusCell;
  mutable CCellID TopLeftCell;
  bool TimerRunning = false;
  int ResizeCaptureRange = 3;
  bool AllowRowResize = true;
  bool AllowColumnResize = true;
  int WheelScrollLines = 3;
  int WheelRemainder = 0;
  std::unordered_map<std::uint64_t, CCellID> SelectedCells;
  std::unordered_map<std::uint64_t, CCellID> PrevSelectedCells;
  bool SortAscending = true;
  int SortColumn = -1;
  void PrintCellWithLines(GridDC* dc, int row, int col, const GridRect& rect);
  CompareFunction Compare;
  GridPrintMargins PrintMargins;
  bool PrintAtScreenScale = false;
  GridPrintLayout PrintLayout;
  GridFontDesc PrinterFont;
  int PrintColours = 0;
  // The page being printed: its non-fixed rows and columns.
  CCellRange PrintCells;
  int TrackIndex = -1;
  int TrackPos = -1;
  int TrackStart = 0;
  bool InOnSize = false;
  // The one cell that virtual mode fills on every GetCell.
  mutable std::unique_ptr<CGridCell> VirtualCell;
  // The cell a drag is over.
  CCellID DropCell;
};

// The edit protocol (begin-edit, store, validate, end-edit, restore on refusal), the
// clipboard commands on the selection, and the drag-and-drop source and target.

#include "GridCtrl/Core/GridClipboardText.h"
#include "GridCtrl/Core/GridCore.h"
#include "GridCtrl/Core/GridEditorState.h"

#include <algorithm>
#include <vector>

using Ostra::U32;

namespace {

// Stores the text, then lets the cell and the owner refuse it; a refusal puts the old
// text back. The owner reads the new text from the grid while it decides.
void CommitText(GridCore& grid, int row, int col, const std::string& text) {
  const std::string old_text = grid.GetItemText(row, col);
  if (text == old_text)
    return;
  grid.SetItemText(row, col, text);
  const bool accepted =
      grid.ValidateEdit(row, col, text) && grid.SendMessageToParent(row, col, LVN_ENDLABELEDITA) >= 0;
  if (accepted) {
    grid.SetModified(true, row, col);
    grid.RedrawCell(row, col);
  } else {
    grid.SetItemText(row, col, old_text);
  }
}

bool EndsEditWithMove(int key) { return key == GridKey::Tab || (key >= GridKey::Prior && key <= GridKey::Down); }

GridDropEffect EffectFor(U32 key_state) {
  return (key_state & GridKeyFlags::Control) != 0 ? GridDropEffect::Copy : GridDropEffect::Move;
}

} // namespace

// ---- Edit protocol ----

void GridCore::OnEndEditCell(int row, int col, const std::string& text) {
  // The grid may have been refilled or shrunk while the editor was open: an edit of a
  // cell that is gone must not reach the owner with an address it no longer has.
  if (!IsValid(row, col) || GetCell(row, col) == nullptr)
    return;
  TakingTypedText = true;
  struct Reset {
    bool& Flag;
    ~Reset() { Flag = false; }
  } reset{TakingTypedText};
  CommitText(*this, row, col, text);
  // The owner may have changed the grid while it was told.
  if (CGridCellBase* cell = GetCell(row, col))
    cell->OnEndEdit();
}

bool GridCore::ValidateEdit(int row, int col, const std::string& text) {
  CGridCellBase* cell = GetCell(row, col);
  return cell == nullptr || cell->ValidateEdit(text);
}

void GridCore::OnEditorEnded(int row, int col, const std::string& text, int last_key, U32 flags) {
  if (!WindowExists())
    return;
  OnEndEditCell(row, col, text);
  if (!EndsEditWithMove(last_key))
    return;
  OnKeyDown(last_key, flags);
  OnEditCell(FocusCell.Row, FocusCell.Col, {-1, -1}, GridEditStart::FromKey(last_key));
}

void GridCore::SetCellTextAsEdit(int row, int col, const std::string& text) {
  if (!IsValid(row, col) || !IsCellEditable(row, col))
    return;
  if (SendMessageToParent(row, col, LVN_BEGINLABELEDITA) < 0)
    return;
  if (IsValid(row, col))
    CommitText(*this, row, col, text);
}

GridInPlaceEditor* GridCore::GetFocusEditor() const {
  const CGridCellBase* cell = GetCell(FocusCell.Row, FocusCell.Col);
  return cell != nullptr && cell->IsEditing() ? cell->GetEditWnd() : nullptr;
}

// ---- Clipboard text ----

bool GridCore::CopyTextFromGrid(std::string* text) {
  const CCellRange range = GetSelectedCellRange();
  if (!IsValid(range))
    return false;
  if (VirtualMode)
    SendCacheHintToParent(range);
  std::string out;
  for (int row = range.MinRow; row <= range.MaxRow; ++row) {
    if (GetRowHeight(row) == 0)
      continue;
    for (int col = range.MinCol; col <= range.MaxCol; ++col) {
      if (GetColumnWidth(col) == 0)
        continue;
      if (IsCellSelected(row, col))
        out += GetItemText(row, col);
      if (col != range.MaxCol)
        out += '\t';
    }
    if (row != range.MaxRow)
      out += "\r\n";
  }
  if (VirtualMode)
    SendCacheHintToParent({-1, -1, -1, -1});
  *text = std::move(out);
  return true;
}

bool GridCore::PasteTextToGrid(CCellID top_left, const std::string& text, bool select_pasted) {
  if (!IsValid(top_left) || !IsCellEditable(top_left))
    return false;
  int max_row = -1;
  int max_col = -1;
  int row = top_left.Row;
  for (const std::string_view line : SplitPastedLines(text)) {
    while (row < RowCount && GetRowHeight(row) == 0)
      ++row;
    if (row >= RowCount)
      break;
    int col = top_left.Col;
    for (const std::string& cell : SplitPastedCells(line)) {
      while (col < ColCount && GetColumnWidth(col) == 0)
        ++col;
      if (col >= ColCount)
        break;
      SetCellTextAsEdit(row, col, cell);
      if (IsValid(row, col))
        SetItemState(row, col, GetItemState(row, col) & ~GridItemState::Selected);
      max_row = std::max(max_row, row);
      max_col = std::max(max_col, col);
      ++col;
    }
    ++row;
  }
  if (select_pasted) {
    SetSelectedRange(top_left.Row, top_left.Col, max_row, max_col, true, true);
  } else {
    ResetSelectedRange();
    Refresh();
  }
  return true;
}

void GridCore::CutSelectedText() {
  if (!Editable)
    return;
  // Each cell's notifications may change the selection; walk a copy, in reading order.
  std::vector<CCellID> cells;
  cells.reserve(SelectedCells.size());
  for (const auto& entry : SelectedCells)
    cells.push_back(entry.second);
  std::sort(cells.begin(), cells.end(),
            [](const CCellID& a, const CCellID& b) { return a.Row != b.Row ? a.Row < b.Row : a.Col < b.Col; });
  for (const CCellID& cell : cells)
    SetCellTextAsEdit(cell.Row, cell.Col, "");
}

void GridCore::ClearCells(const CCellRange& range) {
  const CCellRange inside = range.Intersect({0, 0, RowCount - 1, ColCount - 1});
  for (int row = inside.MinRow; row <= inside.MaxRow; ++row) {
    if (GetRowHeight(row) == 0)
      continue;
    for (int col = inside.MinCol; col <= inside.MaxCol; ++col)
      if (GetColumnWidth(col) != 0)
        SetCellTextAsEdit(row, col, "");
  }
  Refresh();
}

// ---- Commands ----
// While a cell's editor is open, the commands belong to the editor's text: acting on the
// cells under it would change them behind the edit, which then overwrites one of them.

void GridCore::OnEditCopy() {
  if (GridInPlaceEditor* editor = GetFocusEditor()) {
    editor->CopyText();
    return;
  }
  std::string text;
  if (Host != nullptr && CopyTextFromGrid(&text))
    Host->SetClipboardText(text);
}

void GridCore::OnEditCut() {
  if (GridInPlaceEditor* editor = GetFocusEditor()) {
    editor->CutText();
    return;
  }
  if (!Editable || Host == nullptr)
    return;
  std::string text;
  // Clearing the cells is safe only once their text is on the clipboard.
  if (CopyTextFromGrid(&text) && Host->SetClipboardText(text))
    CutSelectedText();
}

void GridCore::OnEditPaste() {
  if (GridInPlaceEditor* editor = GetFocusEditor()) {
    editor->PasteText();
    return;
  }
  if (!Editable || Host == nullptr)
    return;
  const CCellID target = GetPasteTarget();
  std::string text;
  if (IsValid(target) && Host->GetClipboardText(&text))
    PasteTextToGrid(target, text, true);
}

CCellID GridCore::GetPasteTarget() const {
  const CCellRange range = GetSelectedCellRange();
  if (IsValid(range))
    return range.GetTopLeft();
  if (IsValid(FocusCell))
    return FocusCell;
  return GetTopleftNonFixedCell();
}

bool GridCore::CanCut() const {
  if (const GridInPlaceEditor* editor = GetFocusEditor())
    return editor->CanCutText();
  return Editable && GetSelectedCount() > 0;
}

bool GridCore::CanCopy() const {
  if (const GridInPlaceEditor* editor = GetFocusEditor())
    return editor->CanCopyText();
  return GetSelectedCount() > 0;
}

bool GridCore::CanPaste() const {
  if (const GridInPlaceEditor* editor = GetFocusEditor())
    return editor->CanPasteText();
  const CCellID target = GetPasteTarget();
  return Editable && IsValid(target) && IsCellEditable(target) && Host != nullptr && Host->ClipboardHasText();
}

// ---- Drag and drop ----

void GridCore::OnBeginDrag() {
  if (!AllowDragAndDrop)
    return;
  std::string text;
  if (!CopyTextFromGrid(&text))
    return;
  const CCellRange range = GetSelectedCellRange();
  SendMessageToParent(range.MinRow, range.MinCol, LVN_BEGINDRAG);
  LMouseButtonDown = false;
  MouseMode = GridMouseMode::Dragging;
  GridDropEffect effect = GridDropEffect::None;
  if (Host != nullptr) {
    // The drag runs its own pointer grab until the drop.
    Host->ReleaseMouse();
    effect = Host->DoDragDrop(text);
  }
  // The button went up inside the drag, so no release will end the drag mode.
  if (MouseMode == GridMouseMode::Dragging)
    MouseMode = GridMouseMode::Nothing;
  if (effect == GridDropEffect::Move)
    CutSelectedText();
}

namespace {

CCellID NonFixedCellAt(const GridCore& grid, GridPoint point) {
  const CCellID cell = grid.GetCellFromPt(point);
  if (!grid.IsValid(cell) || grid.IsCellFixed(cell.Row, cell.Col))
    return {-1, -1};
  return cell;
}

void SetDropHighlight(GridCore& grid, const CCellID& cell, bool on) {
  if (!grid.IsValid(cell))
    return;
  const U32 state = grid.GetItemState(cell.Row, cell.Col);
  grid.SetItemState(cell.Row, cell.Col,
                    on ? (state | GridItemState::DropHighlighted) : (state & ~GridItemState::DropHighlighted));
  grid.RedrawCell(cell);
}

} // namespace

GridDropEffect GridCore::OnDragEnter(bool has_text, U32 key_state, GridPoint point) {
  if (!AllowDragAndDrop || !has_text)
    return GridDropEffect::None;
  DropCell = NonFixedCellAt(*this, point);
  if (!IsValid(DropCell) || !IsCellEditable(DropCell))
    return GridDropEffect::None;
  SetDropHighlight(*this, DropCell, true);
  return EffectFor(key_state);
}

GridDropEffect GridCore::OnDragOver(bool has_text, U32 key_state, GridPoint point) {
  if (!AllowDragAndDrop || !Editable || !has_text)
    return GridDropEffect::None;
  const CCellID cell = NonFixedCellAt(*this, point);
  if (!IsValid(cell)) {
    OnDragLeave();
    DropCell = {-1, -1};
    return GridDropEffect::None;
  }
  if (!IsCellEditable(cell))
    return GridDropEffect::None;
  if (cell != DropCell) {
    SetDropHighlight(*this, DropCell, false);
    DropCell = cell;
    SetDropHighlight(*this, DropCell, true);
  }
  return EffectFor(key_state);
}

void GridCore::OnDragLeave() { SetDropHighlight(*this, DropCell, false); }

bool GridCore::OnDrop(const std::string& text, GridPoint /*point*/) {
  MouseMode = GridMouseMode::Nothing;
  if (!AllowDragAndDrop || !IsValid(DropCell) || !IsCellEditable(DropCell))
    return false;
  OnDragLeave();
  return PasteTextToGrid(DropCell, text, false);
}

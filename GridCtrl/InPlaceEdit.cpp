#include "GridCtrl/InPlaceEdit.h"

#include "GridCtrl/GridCtrl.h"
#include "GridCtrl/GridWxKeys.h"

namespace {

long AlignStyle(GridAlign align) {
  switch (align) {
  case GridAlign::Left:
    return wxTE_LEFT;
  case GridAlign::Center:
    return wxTE_CENTRE;
  case GridAlign::Right:
    return wxTE_RIGHT;
  }
  return wxTE_LEFT;
}


wxRect ToWxRect(const GridRect& rect) { return {rect.Left, rect.Top, rect.Width(), rect.Height()}; }

} // namespace

CInPlaceEdit::CInPlaceEdit(CGridCtrl* grid, const GridEditRequest& request)
    : Grid(grid), State(request.Row, request.Col, request.Text, request.FirstChar, request.Rect.Widened()) {
  const wxRect rect = ToWxRect(State.GetRect());
  Create(grid, request.Id, wxEmptyString, rect.GetPosition(), rect.GetSize(),
         AlignStyle(request.Align) | wxTE_PROCESS_ENTER | wxTE_PROCESS_TAB | wxWANTS_CHARS | wxBORDER_SIMPLE);
  SetFont(grid->GetFont());
  Bind(wxEVT_KEY_DOWN, &CInPlaceEdit::HandleKeyDown, this);
  Bind(wxEVT_CHAR, &CInPlaceEdit::HandleChar, this);
  Bind(wxEVT_TEXT, &CInPlaceEdit::HandleText, this);
  Bind(wxEVT_TEXT_ENTER, &CInPlaceEdit::HandleTextEnter, this);
  Bind(wxEVT_KILL_FOCUS, &CInPlaceEdit::HandleKillFocus, this);

  const GridEditorOpening opening = OpenEditorText(request.Text, request.FirstChar);
  ChangeValue(wxString::FromUTF8(opening.Text));
  SetFocus();
  const long from = static_cast<long>(opening.From);
  const long to = static_cast<long>(opening.To);
  // Selecting also scrolls the caret into view.
  SetSelection(from, to);
}

void CInPlaceEdit::EndEdit() {
  // While the grid goes away its editor must not call back into it.
  if (IsBeingDeleted() || !State.BeginEnd())
    return;
  // The grid outlives its children's queued calls; a grid that goes first destroys the
  // editor with itself and drops the call.
  Grid->CallAfter([this] { Destroy(); });
  // However the owner's handling ends, later editors must still be able to end.
  struct Finisher {
    GridEditorState& State;
    ~Finisher() { State.FinishEnd(); }
  } finisher{State};
  Hide();
  Grid->OnEditorEnded(State.GetRow(), State.GetCol(), GetValue().utf8_string(), State.GetLastKey(),
                      State.GetLastFlags());
}

void CInPlaceEdit::SendChar(unsigned ch) {
  if (GridEditStart::IsCharacter(ch) && ch >= 0x20)
    WriteText(wxString(wxUniChar(ch)));
}

void CInPlaceEdit::HandleKeyDown(wxKeyEvent& event) {
  const int key = GridWxKeys::ToNavigationKey(event.GetKeyCode());
  if (key != 0 && State.OnKeyDown(key, GridWxKeys::ModifierFlags(event)) != GridEditorAction::Pass) {
    Finish(GridEditorAction::End);
    return;
  }
  // A one-line entry has no use for these keys; GTK would move the focus out with them,
  // which ends the edit.
  if (key == GridKey::Up || key == GridKey::Down || key == GridKey::Prior || key == GridKey::Next)
    return;
  event.Skip();
}

void CInPlaceEdit::HandleChar(wxKeyEvent& event) {
  const wxChar ch = event.GetUnicodeKey();
  const GridEditorAction action =
      ch == WXK_NONE ? GridEditorAction::Pass : State.OnChar(static_cast<unsigned>(ch), GridWxKeys::ModifierFlags(event));
  if (action == GridEditorAction::Pass) {
    event.Skip();
    return;
  }
  Finish(action);
}

void CInPlaceEdit::HandleText(wxCommandEvent& event) {
  event.Skip();
  if (State.HasEnded())
    return;
  const int width = GetTextExtent(GetValue() + "  ").GetWidth();
  if (State.Widen(width, Grid->GetClientSize().GetWidth()))
    SetSize(ToWxRect(State.GetRect()));
}

void CInPlaceEdit::HandleTextEnter(wxCommandEvent& /*event*/) {
  // Enter that did not arrive as a character first.
  State.OnChar(GridEditChar::Enter, 0);
  Finish(GridEditorAction::End);
}

void CInPlaceEdit::HandleKillFocus(wxFocusEvent& event) {
  event.Skip();
  EndEdit();
}

void CInPlaceEdit::Finish(GridEditorAction action) {
  if (State.HasEnded())
    return;
  if (action == GridEditorAction::Cancel)
    ChangeValue(wxString::FromUTF8(State.GetInitialText()));
  // Losing the focus ends the edit too; when the focus change is not reported (no window
  // manager), the direct call does it.
  Grid->SetFocus();
  EndEdit();
}

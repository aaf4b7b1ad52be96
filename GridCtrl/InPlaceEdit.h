#pragma once

// CInPlaceEdit: the text box a cell opens over itself. Its rules live in GridEditorState;
// this window only shows the text, feeds it keys and reports the result to the grid.

#include "GridCtrl/Core/GridEditorState.h"
#include "GridCtrl/Core/GridInterfaces.h"

#include <wx/textctrl.h>

class CGridCtrl;

class CInPlaceEdit : public wxTextCtrl, public GridInPlaceEditor {
public:
  // Opens over request.Rect (a cell rectangle holding its last pixel) and takes the focus.
  CInPlaceEdit(CGridCtrl* grid, const GridEditRequest& request);

  // Reports the text and the key that ended the edit to the grid, once, then goes away
  // (later, never from inside its own event handlers).
  void EndEdit() override;
  void SendChar(unsigned ch) override;
  void CutText() override { Cut(); }
  void CopyText() override { Copy(); }
  void PasteText() override { Paste(); }
  bool CanCutText() const override { return CanCut(); }
  bool CanCopyText() const override { return CanCopy(); }
  bool CanPasteText() const override { return CanPaste(); }

  const GridEditorState& GetState() const { return State; }

  // The event handlers, public so that tests can feed synthetic events.
  void HandleKeyDown(wxKeyEvent& event);
  void HandleChar(wxKeyEvent& event);
  void HandleText(wxCommandEvent& event);
  void HandleTextEnter(wxCommandEvent& event);
  void HandleKillFocus(wxFocusEvent& event);

private:
  void Finish(GridEditorAction action);

  CGridCtrl* Grid;
  GridEditorState State;
};

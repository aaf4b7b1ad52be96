#pragma once

// Helpers of window tests that type into grids and use the clipboard.

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <string>

#include <wx/event.h>

#include "GridCtrl/GridCtrl.h"
#include "GridCtrl/InPlaceEdit.h"
#include "TestSupport/WxTestApp.h"

namespace Ostra::Test {

// The system clipboard is shared by every program on the display, and ctest runs the
// tests side by side: a test that puts text on it and reads it back takes its turn.
class ClipboardTurn {
public:
  ClipboardTurn() : Fd(::open("/tmp/velmar-grid-clipboard-tests.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0666)) {
    if (Fd >= 0)
      ::flock(Fd, LOCK_EX);
  }
  ~ClipboardTurn() {
    if (Fd >= 0)
      ::close(Fd);
  }
  ClipboardTurn(const ClipboardTurn&) = delete;
  ClipboardTurn& operator=(const ClipboardTurn&) = delete;

private:
  int Fd;
};

// A character as the toolkit delivers a typed key.
inline wxKeyEvent CharKey(int key_code, wxChar unicode) {
  wxKeyEvent event(wxEVT_CHAR);
  event.m_keyCode = key_code;
  event.m_uniChar = unicode;
  return event;
}

// Types text into a cell as the user does: the first character opens the editor, Enter
// ends it. False when the grid refused to open the editor.
inline bool TypeIntoCell(CGridCtrl* grid, int row, int col, const std::string& text) {
  grid->SetFocusCell(row, col);
  wxKeyEvent typed = CharKey(text[0], static_cast<wxChar>(text[0]));
  grid->HandleChar(typed);
  CInPlaceEdit* editor = nullptr;
  for (wxWindow* child : grid->GetChildren())
    if (auto* edit = dynamic_cast<CInPlaceEdit*>(child); edit != nullptr && !edit->GetState().HasEnded())
      editor = edit;
  if (editor == nullptr)
    return false;
  editor->ChangeValue(wxString::FromUTF8(text));
  wxKeyEvent enter = CharKey(WXK_RETURN, WXK_RETURN);
  editor->HandleChar(enter);
  SettleWx();
  return true;
}

} // namespace Ostra::Test

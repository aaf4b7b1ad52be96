#pragma once

#include <wx/defs.h>
#include <wx/kbdstate.h>

#include "GridCtrl/Core/GridTypes.h"

// wx key codes to the classic key codes the grid core handles; shared by the grid window
// and its in-place editor so that both read the keyboard alike.
namespace GridWxKeys {

inline Ostra::U32 ModifierFlags(const wxKeyboardState& state) {
  Ostra::U32 flags = 0;
  if (state.ShiftDown())
    flags |= GridKeyFlags::Shift;
  if (state.ControlDown())
    flags |= GridKeyFlags::Control;
  return flags;
}

// The classic key codes for the keys the grid handles; 0 for the rest.
inline int ToGridKey(int wx_key) {
  switch (wx_key) {
  case WXK_TAB:
    return GridKey::Tab;
  case WXK_PAGEUP:
  case WXK_NUMPAD_PAGEUP:
    return GridKey::Prior;
  case WXK_PAGEDOWN:
  case WXK_NUMPAD_PAGEDOWN:
    return GridKey::Next;
  case WXK_END:
  case WXK_NUMPAD_END:
    return GridKey::End;
  case WXK_HOME:
  case WXK_NUMPAD_HOME:
    return GridKey::Home;
  case WXK_LEFT:
  case WXK_NUMPAD_LEFT:
    return GridKey::Left;
  case WXK_UP:
  case WXK_NUMPAD_UP:
    return GridKey::Up;
  case WXK_RIGHT:
  case WXK_NUMPAD_RIGHT:
    return GridKey::Right;
  case WXK_DOWN:
  case WXK_NUMPAD_DOWN:
    return GridKey::Down;
  case WXK_INSERT:
  case WXK_NUMPAD_INSERT:
    return GridKey::Insert;
  case WXK_DELETE:
  case WXK_NUMPAD_DELETE:
    return GridKey::Delete;
  case WXK_F2:
    return GridKey::F2;
  case 'A':
  case 'C':
  case 'V':
  case 'X':
    return wx_key;
  default:
    return 0;
  }
}


// The page and arrow keys the editor may end on; 0 for the rest.
inline int ToNavigationKey(int wx_key) {
  const int key = ToGridKey(wx_key);
  switch (key) {
  case GridKey::Prior:
  case GridKey::Next:
  case GridKey::End:
  case GridKey::Home:
  case GridKey::Left:
  case GridKey::Up:
  case GridKey::Right:
  case GridKey::Down:
    return key;
  default:
    return 0;
  }
}

} // namespace GridWxKeys

#pragma once

// CTitleTip: a pop-up showing the whole text of a cell whose text is cut off, while the
// pointer rests on it. It takes no mouse capture: moving off the cell, a key or a click
// hides it, and the click or key goes on to the grid as if the tip had not been there.

#include "GridCtrl/Core/GridTypes.h"

#include <wx/popupwin.h>

class CGridCtrl;

class CTitleTip : public wxPopupWindow {
public:
  explicit CTitleTip(CGridCtrl* grid);

  using wxPopupWindow::Show;

  // title_rect and hover_rect in the grid's client co-ordinates (hover_rect null: the
  // title rectangle). Shows nothing when the text fits or the tip already shows.
  void Show(const GridRect& title_rect, const std::string& text, int x_offset, const GridRect* hover_rect,
            const GridFontDesc* font, GridColour text_colour, GridColour back_colour);
  void Hide();
  bool IsShowing() const { return IsShown(); }

  // Whether the application has a focus window: a tip shows only while it has, and hides
  // at the next event once it has not. Replaceable because a bare X server (the tests'
  // Xvfb) never gives any window the focus.
  static bool (*HasFocusWindow)();

  // The event handlers, public so that tests can feed synthetic events.
  void HandlePaint(wxPaintEvent& event);
  void HandleMouse(wxMouseEvent& event);
  void HandleKey(wxKeyEvent& event);

private:
  CGridCtrl* Grid;
  wxString Text;
  // Where the pointer may move without hiding the tip, in the tip's co-ordinates.
  wxRect Hover;
  wxColour TextColour;
  wxColour BackColour;
  wxLongLong LastLeftDown = -1;
};

#pragma once

// Where a title tip goes: over the cell's text area, as wide as the whole text, and only
// when the text does not fit.

#include "GridCtrl/Core/GridTypes.h"

// title: the text area in any co-ordinates; text_width: the text with a blank either side.
// False when the text fits, else tip is the rectangle to show.
inline bool GridTitleTipRect(const GridRect& title, int x_offset, int text_width, GridRect* tip) {
  const int left = title.Left + x_offset;
  const int right = left + x_offset + text_width + x_offset;
  if (right <= title.Right - x_offset)
    return false;
  *tip = {left, title.Top, right, title.Bottom};
  return true;
}

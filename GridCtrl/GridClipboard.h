#pragma once

// The system clipboard and text drags for the grid: plain UTF-8 text in, plain text out.

#include "GridCtrl/Core/GridInterfaces.h"

#include <string>

class wxWindow;

// False when the clipboard cannot be opened or refuses the data.
bool PutTextOnClipboard(const std::string& text);
// False when the clipboard holds no text or cannot be opened.
bool GetTextFromClipboard(std::string* text);
// Asks the clipboard's owner, which may take a round trip: call it when a menu opens, not
// on every idle event.
bool ClipboardOffersText();
// Runs a drag of the text from source until it is dropped (copy or move allowed).
GridDropEffect DragText(wxWindow* source, const std::string& text);

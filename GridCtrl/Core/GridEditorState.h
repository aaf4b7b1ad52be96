#pragma once

// What an in-place editor does, without a display: the text and selection it opens
// with, which keys end it and how, how far it widens while the user types, and the
// guard that keeps one ending from running inside another. The window layer only
// shows the text box and feeds it events.

#include "GridCtrl/Core/GridTypes.h"

#include <cstddef>
#include <string>

// Why an edit starts. A typed character travels as its Unicode code point; the mouse and
// F2 as MouseOrF2; a navigation key that ended the previous editor as FromKey(key),
// which lies above every code point, so a typed blank or '!' is never taken for a key.
namespace GridEditStart {
inline constexpr unsigned MouseOrF2 = 1;
inline constexpr unsigned KeyBase = 0x110000;
inline constexpr unsigned FromKey(int key) { return KeyBase + static_cast<unsigned>(key); }
inline constexpr bool IsKey(unsigned start) { return start >= KeyBase; }
inline constexpr bool IsCharacter(unsigned start) { return start != MouseOrF2 && start < KeyBase; }
} // namespace GridEditStart

// Character codes the editor reacts to (the same values as their keys).
namespace GridEditChar {
inline constexpr unsigned Backspace = 8;
inline constexpr unsigned Tab = 9;
inline constexpr unsigned Enter = 13;
inline constexpr unsigned Escape = 27;
} // namespace GridEditChar

// The editor's text when it opens, with the selection in characters (code points):
// From == To is a caret.
struct GridEditorOpening {
  std::string Text;
  std::size_t From = 0;
  std::size_t To = 0;
  bool operator==(const GridEditorOpening&) const = default;
};

// Mouse, F2 and Enter keep the text with the caret at its end; Backspace removes its last
// character; Tab and the navigation keys select it all; a printable character replaces it.
GridEditorOpening OpenEditorText(const std::string& initial, unsigned start);

// Number of code points in UTF-8 text (bytes that are not continuation bytes).
std::size_t CountCharacters(const std::string& text);

enum class GridEditorAction {
  // The key belongs to the text box.
  Pass,
  // The edit ends with the text as it stands.
  End,
  // The edit ends with the initial text put back.
  Cancel,
};

class GridEditorState {
public:
  GridEditorState(int row, int col, std::string initial_text, unsigned start, GridRect rect);

  int GetRow() const { return Row; }
  int GetCol() const { return Col; }
  const std::string& GetInitialText() const { return InitialText; }
  bool GetExitOnArrows() const { return ExitOnArrows; }
  const GridRect& GetRect() const { return Rect; }
  // The key that ended the edit (0 until then, or when the focus went elsewhere) and the
  // modifiers held with it.
  int GetLastKey() const { return LastKey; }
  Ostra::U32 GetLastFlags() const { return LastFlags; }

  // A key press (GridKey codes, GridKeyFlags). Page and arrow keys end the edit when the
  // editor was not opened by the mouse or F2, or when Ctrl is held; Home and End never do.
  GridEditorAction OnKeyDown(int key, Ostra::U32 flags);
  // A character: Tab and Enter end the edit, Escape cancels it.
  GridEditorAction OnChar(unsigned ch, Ostra::U32 flags);

  // After a change of text: text_width is the width of the text plus two blanks. The
  // editor grows to fit, never past client_right; returns true when the rectangle changed.
  bool Widen(int text_width, int client_right);

  // The first ending wins; a second one (the focus leaving after a key ended the edit, or
  // an ending reached from inside another) does nothing.
  bool BeginEnd();
  void FinishEnd();
  bool HasEnded() const { return Ended; }

private:
  int Row;
  int Col;
  std::string InitialText;
  int LastKey = 0;
  Ostra::U32 LastFlags = 0;
  bool ExitOnArrows;
  GridRect Rect;
  bool Ended = false;
  static bool EndRunning;
};

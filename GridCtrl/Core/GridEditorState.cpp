#include "GridCtrl/Core/GridEditorState.h"

#include <algorithm>
#include <utility>

using Ostra::U32;

namespace {

void AppendUtf8(std::string& out, unsigned cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// A text box ignores control characters and cannot hold surrogates.
bool InsertsText(unsigned ch) {
  return ch >= 0x20 && ch != 0x7F && !(ch >= 0x80 && ch < 0xA0) && !(ch >= 0xD800 && ch <= 0xDFFF) &&
         ch < GridEditStart::KeyBase;
}

bool IsNavigationKey(int key) { return key >= GridKey::Prior && key <= GridKey::Down; }

} // namespace

std::size_t CountCharacters(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuationByte(c); }));
}

GridEditorOpening OpenEditorText(const std::string& initial, unsigned start) {
  GridEditorOpening opening;
  opening.Text = initial;
  const std::size_t length = CountCharacters(initial);
  if (start == GridEditStart::MouseOrF2 || start == GridEditChar::Enter) {
    opening.From = opening.To = length;
  } else if (start == GridEditChar::Backspace) {
    std::size_t end = opening.Text.size();
    while (end > 0 && IsContinuationByte(opening.Text[end - 1]))
      --end;
    opening.Text.resize(end > 0 ? end - 1 : 0);
    opening.From = opening.To = CountCharacters(opening.Text);
  } else if (start == GridEditChar::Tab || GridEditStart::IsKey(start) || !InsertsText(start)) {
    opening.From = 0;
    opening.To = length;
  } else {
    opening.Text.clear();
    AppendUtf8(opening.Text, start);
    opening.From = opening.To = 1;
  }
  return opening;
}

bool GridEditorState::EndRunning = false;

GridEditorState::GridEditorState(int row, int col, std::string initial_text, unsigned start, GridRect rect)
    : Row(row), Col(col), InitialText(std::move(initial_text)), ExitOnArrows(start != GridEditStart::MouseOrF2),
      Rect(rect) {}

GridEditorAction GridEditorState::OnKeyDown(int key, U32 flags) {
  const bool ctrl = (flags & GridKeyFlags::Control) != 0;
  if (key == GridKey::Home || key == GridKey::End || !IsNavigationKey(key) || !(ExitOnArrows || ctrl))
    return GridEditorAction::Pass;
  LastKey = key;
  LastFlags = flags;
  return GridEditorAction::End;
}

GridEditorAction GridEditorState::OnChar(unsigned ch, U32 flags) {
  switch (ch) {
  case GridEditChar::Tab:
  case GridEditChar::Enter:
    LastKey = static_cast<int>(ch);
    LastFlags = flags;
    return GridEditorAction::End;
  case GridEditChar::Escape:
    LastKey = GridKey::Escape;
    LastFlags = flags;
    return GridEditorAction::Cancel;
  default:
    return GridEditorAction::Pass;
  }
}

bool GridEditorState::Widen(int text_width, int client_right) {
  if (text_width <= Rect.Width())
    return false;
  const int right = std::max(Rect.Right, std::min(Rect.Left + text_width, client_right));
  if (right == Rect.Right)
    return false;
  Rect.Right = right;
  return true;
}

bool GridEditorState::BeginEnd() {
  if (Ended || EndRunning)
    return false;
  Ended = true;
  EndRunning = true;
  return true;
}

void GridEditorState::FinishEnd() { EndRunning = false; }

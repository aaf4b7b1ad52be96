#pragma once

#include <string>
#include <vector>

// The editor's menus and its one accelerator table as data, so that they can be
// checked without a display; the window layer turns them into menu bars.
namespace Ostra::DocView {

// Commands that the toolkit has ids of its own for, under their classic numbers; the
// window layer maps them to the toolkit's ids.
enum StandardCommand : int {
  CMD_FILE_NEW = 57600,
  CMD_FILE_OPEN = 57601,
  CMD_FILE_CLOSE = 57602,
  CMD_FILE_SAVE = 57603,
  CMD_FILE_SAVE_AS = 57604,
  CMD_RECENT_FILES = 57616,
  CMD_EDIT_COPY = 57634,
  CMD_EDIT_CUT = 57635,
  CMD_EDIT_PASTE = 57637,
  CMD_EDIT_UNDO = 57643,
  // Where the tabbed window area cannot cascade or tile, the Window menu steps
  // through the tabs instead.
  CMD_WINDOW_NEXT = 57650,
  CMD_WINDOW_PREVIOUS = 57651,
  CMD_APP_ABOUT = 57664,
  CMD_APP_EXIT = 57665,
};

enum class MenuItemKind { Command, Check, Separator, RecentFiles, Submenu };

struct MenuItem {
  MenuItemKind Kind = MenuItemKind::Command;
  std::string Label; // with "\t" and the shortcut text where the item shows one
  int Command = 0;
  std::vector<MenuItem> Items; // a submenu's items
};

struct MenuPopup {
  std::string Title;
  std::vector<MenuItem> Items;
};

enum class MenuKind {
  Main,     // no document open
  Track,    // a track document
  Lp,       // an LP document
  LapCurve, // a lap-curve document
};

std::vector<MenuPopup> GetMenuTable(MenuKind kind);

struct KeyStroke {
  bool Ctrl = false;
  bool Shift = false;
  bool Alt = false;
  std::string Key; // "C", "Insert", "F6", "Back", "Delete"
  bool operator==(const KeyStroke&) const = default;
};

struct Accelerator {
  KeyStroke Keys;
  int Command = 0;
};

// The one table that serves every window.
const std::vector<Accelerator>& GetAcceleratorTable();

// The shortcut a menu label shows after its tab ("Copy\tCtrl+C" -> Ctrl, "C"); the
// toolkit binds it as a key of its own. Key empty when the label shows none.
KeyStroke ParseLabelShortcut(const std::string& label);

} // namespace Ostra::DocView

#include "Velmar/App/Menus.h"

#include <vector>

#include <wx/defs.h>
#include <wx/menu.h>

namespace Ostra::Velmar {

using namespace DocView;

int ToWxCommand(int command) {
  switch (command) {
  case CMD_FILE_NEW: return wxID_NEW;
  case CMD_FILE_OPEN: return wxID_OPEN;
  case CMD_FILE_CLOSE: return wxID_CLOSE;
  case CMD_FILE_SAVE: return wxID_SAVE;
  case CMD_FILE_SAVE_AS: return wxID_SAVEAS;
  case CMD_EDIT_COPY: return wxID_COPY;
  case CMD_EDIT_CUT: return wxID_CUT;
  case CMD_EDIT_PASTE: return wxID_PASTE;
  case CMD_EDIT_UNDO: return wxID_UNDO;
  case CMD_WINDOW_NEXT: return wxID_MDI_WINDOW_NEXT;
  case CMD_WINDOW_PREVIOUS: return wxID_MDI_WINDOW_PREV;
  case CMD_APP_ABOUT: return wxID_ABOUT;
  case CMD_APP_EXIT: return wxID_EXIT;
  default: return command;
  }
}

namespace {
void AddItems(wxMenu* menu, const std::vector<MenuItem>& items, wxMenu*& recentFiles) {
  for (const MenuItem& item : items) {
    const wxString label = wxString::FromUTF8(item.Label);
    switch (item.Kind) {
    case MenuItemKind::Command:
      menu->Append(ToWxCommand(item.Command), label);
      break;
    case MenuItemKind::Check:
      menu->AppendCheckItem(ToWxCommand(item.Command), label);
      break;
    case MenuItemKind::Separator:
      menu->AppendSeparator();
      break;
    case MenuItemKind::RecentFiles:
      recentFiles = new wxMenu;
      menu->AppendSubMenu(recentFiles, label);
      break;
    case MenuItemKind::Submenu: {
      auto* submenu = new wxMenu;
      AddItems(submenu, item.Items, recentFiles);
      menu->AppendSubMenu(submenu, label);
      break;
    }
    }
  }
}

int KeyCode(const std::string& key) {
  if (key == "Insert") return WXK_INSERT;
  if (key == "Delete") return WXK_DELETE;
  if (key == "Back") return WXK_BACK;
  if (key.size() >= 2 && key[0] == 'F')
    return WXK_F1 + std::stoi(key.substr(1)) - 1;
  return key.empty() ? 0 : static_cast<unsigned char>(key[0]);
}
} // namespace

FrameMenu MakeMenuBar(MenuKind kind) {
  FrameMenu result;
  result.Bar = new wxMenuBar;
  for (const MenuPopup& popup : GetMenuTable(kind)) {
    auto* menu = new wxMenu;
    AddItems(menu, popup.Items, result.RecentFiles);
    result.Bar->Append(menu, wxString::FromUTF8(popup.Title));
  }
  return result;
}

wxAcceleratorTable MakeAcceleratorTable() {
  std::vector<wxAcceleratorEntry> entries;
  for (const Accelerator& accelerator : GetAcceleratorTable()) {
    int flags = wxACCEL_NORMAL;
    if (accelerator.Keys.Ctrl)
      flags |= wxACCEL_CTRL;
    if (accelerator.Keys.Shift)
      flags |= wxACCEL_SHIFT;
    if (accelerator.Keys.Alt)
      flags |= wxACCEL_ALT;
    entries.emplace_back(flags, KeyCode(accelerator.Keys.Key), ToWxCommand(accelerator.Command));
  }
  return wxAcceleratorTable(static_cast<int>(entries.size()), entries.data());
}

} // namespace Ostra::Velmar

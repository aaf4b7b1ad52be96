#include <gtest/gtest.h>

#include "DocView/Core/CommandIds.h"
#include "DocView/Core/MenuTables.h"

namespace Ostra::DocView {
namespace {

const MenuKind AllKinds[] = {MenuKind::Main, MenuKind::Track, MenuKind::Lp, MenuKind::LapCurve};

void CollectItems(const std::vector<MenuItem>& items, std::vector<MenuItem>& out) {
  for (const MenuItem& item : items) {
    out.push_back(item);
    CollectItems(item.Items, out);
  }
}

std::vector<MenuItem> AllItems(MenuKind kind) {
  std::vector<MenuItem> items;
  for (const MenuPopup& popup : GetMenuTable(kind))
    CollectItems(popup.Items, items);
  return items;
}

const Accelerator* FindAccelerator(const KeyStroke& keys) {
  for (const Accelerator& accelerator : GetAcceleratorTable())
    if (accelerator.Keys == keys)
      return &accelerator;
  return nullptr;
}

TEST(MenuTables, NoLabelBindsAKeyThatTheTableGivesToAnotherCommand) {
  // A label's shortcut is a live key binding; it must agree with the one table.
  for (const MenuKind kind : AllKinds) {
    for (const MenuItem& item : AllItems(kind)) {
      const KeyStroke keys = ParseLabelShortcut(item.Label);
      if (keys.Key.empty())
        continue;
      const Accelerator* accelerator = FindAccelerator(keys);
      if (accelerator != nullptr) {
        EXPECT_EQ(accelerator->Command, item.Command) << item.Label;
      }
    }
  }
}

TEST(MenuTables, TheLapCurveMenuLeavesCopyAndPasteKeysToTheGrid) {
  bool found_copy = false, found_paste = false;
  for (const MenuItem& item : AllItems(MenuKind::LapCurve)) {
    if (item.Command == ID_COPY_CONTROL_POINTS) {
      found_copy = true;
      EXPECT_EQ(item.Label, "Copy Control Points");
    }
    if (item.Command == ID_PASTE_CONTROL_POINTS) {
      found_paste = true;
      EXPECT_EQ(item.Label, "Paste Control Points");
    }
  }
  EXPECT_TRUE(found_copy && found_paste);
  EXPECT_EQ(FindAccelerator({true, false, false, "C"})->Command, CMD_EDIT_COPY);
  EXPECT_EQ(FindAccelerator({true, false, false, "V"})->Command, CMD_EDIT_PASTE);
  EXPECT_EQ(FindAccelerator({true, false, false, "Z"})->Command, CMD_EDIT_UNDO);
}

TEST(MenuTables, EveryMenuHasOneRecentFileListAndTheTableNoDuplicateKeys) {
  for (const MenuKind kind : AllKinds) {
    int recent = 0;
    for (const MenuItem& item : AllItems(kind))
      recent += item.Kind == MenuItemKind::RecentFiles ? 1 : 0;
    EXPECT_EQ(recent, 1);
  }
  const auto& table = GetAcceleratorTable();
  EXPECT_EQ(table.size(), 15u);
  for (std::size_t i = 0; i < table.size(); ++i)
    for (std::size_t j = i + 1; j < table.size(); ++j)
      EXPECT_FALSE(table[i].Keys == table[j].Keys) << table[i].Keys.Key;
}

TEST(MenuTables, MenuIdsFitTheToolkitsRange) {
  for (const MenuKind kind : AllKinds)
    for (const MenuItem& item : AllItems(kind))
      if (item.Kind != MenuItemKind::Separator && item.Kind != MenuItemKind::Submenu &&
          item.Command < CMD_FILE_NEW) {
        EXPECT_LT(item.Command, 0x7FFF) << item.Label;
      }
}

TEST(MenuTables, LabelShortcutsParse) {
  EXPECT_EQ(ParseLabelShortcut("&Open...\tCtrl+O"), (KeyStroke{true, false, false, "O"}));
  EXPECT_EQ(ParseLabelShortcut("Refresh\tF5"), (KeyStroke{false, false, false, "F5"}));
  EXPECT_EQ(ParseLabelShortcut("X\tCtrl+Shift++"), (KeyStroke{true, true, false, "+"}));
  EXPECT_TRUE(ParseLabelShortcut("Save As...").Key.empty());
}

} // namespace
} // namespace Ostra::DocView

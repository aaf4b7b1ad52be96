#pragma once

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <wx/listctrl.h>
#include <wx/treectrl.h>

#include "TestSupport/WxTestApp.h"

// What the track panes' window tests do as the user and read back as the user sees it.
namespace Ostra::Test {

// The child of parent with that label; a test failure when there is none.
inline wxTreeItemId TreeChild(wxTreeCtrl& tree, const wxTreeItemId& parent, const std::string& label) {
  wxTreeItemIdValue cookie;
  for (wxTreeItemId item = tree.GetFirstChild(parent, cookie); item.IsOk(); item = tree.GetNextChild(parent, cookie))
    if (tree.GetItemText(item) == wxString::FromUTF8(label))
      return item;
  ADD_FAILURE() << "no tree item " << label;
  return {};
}

// A left click on the item's label, as the mouse gives it to the tree.
inline void ClickTreeItem(wxTreeCtrl& tree, const wxTreeItemId& item) {
  ASSERT_TRUE(item.IsOk());
  tree.EnsureVisible(item);
  SettleWx();
  wxRect rect;
  ASSERT_TRUE(tree.GetBoundingRect(item, rect, true));
  for (const wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP}) {
    wxMouseEvent event(type);
    event.SetEventObject(&tree);
    event.SetPosition(rect.GetPosition() + wxPoint(3, rect.GetHeight() / 2));
    event.SetLeftDown(type == wxEVT_LEFT_DOWN);
    tree.GetEventHandler()->ProcessEvent(event);
  }
  SettleWx();
}

// Every row's field and value, as UTF-8.
inline std::vector<std::pair<std::string, std::string>> ListRows(const wxListCtrl& list) {
  std::vector<std::pair<std::string, std::string>> rows;
  for (long row = 0; row < list.GetItemCount(); ++row)
    rows.emplace_back(list.GetItemText(row, 0).utf8_string(), list.GetItemText(row, 1).utf8_string());
  return rows;
}

} // namespace Ostra::Test

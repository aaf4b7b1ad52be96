// The tree and property list panes in the running editor: the samples of the three
// games opened through File > Open, items clicked, and what the list and the 3D view
// make of it.

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/glcanvas.h>
#include <wx/mdi.h>

#include "DocView/Core/CommandIds.h"
#include "DocView/Trk3DView.h"
#include "DocView/TrkListView.h"
#include "DocView/TrkTreeView.h"
#include "TestSupport/EditorTestApp.h"
#include "TreeClicks.h"

namespace Ostra::Test {
namespace {

class TrackPanesFlow : public EditorTest {
protected:
  // Opens a track through File > Open and finds its three panes; false, with the reason
  // as a test failure, when the track or a pane is missing.
  bool OpenPanes(const std::string& path) {
    Doc = OpenAsUser(path);
    if (Doc == nullptr) {
      ADD_FAILURE() << path << " did not open: " << EditorMessages().Joined();
      return false;
    }
    TreeView = FindView<DocView::CTrkTreeView>(Doc);
    ListView = FindView<DocView::CTrkListView>(Doc);
    View3d = FindView<DocView::CTrk3DView>(Doc);
    if (TreeView == nullptr || ListView == nullptr || View3d == nullptr) {
      ADD_FAILURE() << path << " opened without its tree, list and 3D view";
      return false;
    }
    return true;
  }

  wxDocument* Doc = nullptr;
  DocView::CTrkTreeView* TreeView = nullptr;
  DocView::CTrkListView* ListView = nullptr;
  DocView::CTrk3DView* View3d = nullptr;
};

// Paints the 3D view now, as the display does after a change; how many frames it drew.
int PaintNow(DocView::CTrk3DView& view) {
  int frames = 0;
  view.GetCore().SetFrameObserver([&frames] { ++frames; });
  view.GetCanvas()->Refresh(false);
  view.GetCanvas()->Update();
  SettleWx();
  view.GetCore().SetFrameObserver({});
  return frames;
}

// A menu command as the track window's menu sends it, whichever pane has the focus.
void Command(wxWindow& frame, int id) {
  wxCommandEvent event(wxEVT_MENU, id);
  frame.ProcessWindowEvent(event);
  SettleWx();
}

// The rows the list shows for an item, by its label.
std::size_t ExpectedRowCount(const std::string& label, const std::string& type) {
  if (label == "root")
    return 3;
  if (label.starts_with("Segment "))
    return type == "Corner" ? 15 : 11;
  if (label.starts_with("Trace "))
    return 7;
  if (label.starts_with("Surface "))
    return 6;
  return 7; // a wall
}

// Everything a track author clicks and switches while looking at a track, with the 3D
// view painted after each step: every tree item with the list it fills and the segment
// it chooses, every View switch on and off, the heights, Refresh and a resized window.
// No step may bring up a message, and the 3D view must draw a frame each time.
TEST_F(TrackPanesFlow, EveryItemAndViewSwitchOfEachSampleDrawsWithoutAMessage) {
  const int switches[] = {
      DocView::ID_VIEW_LONGITUDINAL_SPEED,       DocView::ID_VIEW_LATERAL_SPEED,
      DocView::ID_VIEW_YAW_SPEED,                DocView::ID_VIEW_SPEED_MODIFIERS,
      DocView::ID_VIEW_PASS_CHECKPOINT_ZONES,    DocView::ID_VIEW_OUTBRAKE_DECISION_POINTS,
      DocView::ID_VIEW_START_PASS1_POINTS,       DocView::ID_VIEW_START_PASS2_POINTS,
      DocView::ID_VIEW_START_ABRUPT_PASS1_POINTS, DocView::ID_VIEW_START_ABRUPT_PASS2_POINTS,
      DocView::ID_VIEW_ABANDON_PASS_POINTS,      DocView::ID_VIEW_NO_PASS_ZONES,
      DocView::ID_VIEW_LONG_STRAIGHTS,           DocView::ID_VIEW_CORNERING_POINTS,
      DocView::ID_VIEW_LEVEL_SPEED_COEFF_POINTS, DocView::ID_VIEW_TIRE_WARMUP_POINTS,
      DocView::ID_VIEW_CONTROL_POINTS,           DocView::ID_VIEW_CENTRELINE,
      DocView::ID_VIEW_SCALE};
  const int heights[] = {DocView::ID_VIEW_HEIGHT_800, DocView::ID_VIEW_HEIGHT_400,
                         DocView::ID_VIEW_HEIGHT_200, DocView::ID_VIEW_HEIGHT_50,
                         DocView::ID_VIEW_HEIGHT_100};
  const Velmar::SampleFolders& samples = EditorSamples();
  wxWindow* main_window = wxTheApp->GetTopWindow();
  ASSERT_NE(main_window, nullptr);
  const wxSize main_size = main_window->GetSize();
  for (const std::string& path : {samples.GplTrack, samples.N2Track, samples.N4Track}) {
    SCOPED_TRACE(path);
    ASSERT_TRUE(OpenPanes(path));
    ASSERT_NE(View3d->GetCanvas(), nullptr) << "no OpenGL canvas";
    wxTreeCtrl& tree = *TreeView->GetTreeCtrl();
    wxListCtrl& list = *ListView->GetListCtrl();
    wxWindow& frame = *Doc->GetFirstView()->GetFrame();

    auto step = [&](const std::string& what) {
      EXPECT_GE(PaintNow(*View3d), 1) << what << ": the 3D view drew nothing";
      EXPECT_TRUE(EditorMessages().Shown.empty()) << what << ":\n" << EditorMessages().Joined();
      EditorMessages().Clear();
    };
    // Opened, focused and idle: nothing is chosen yet.
    tree.SetFocus();
    SettleWx();
    EXPECT_FALSE(tree.GetSelection().IsOk());
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(View3d->GetRenderer().GetSelectedSegment(), -1);
    const wxTreeItemId root = tree.GetRootItem();
    ASSERT_GE(tree.GetChildrenCount(root, false), 2u);
    step("opened");
    for (const int id : switches) {
      Command(frame, id);
      step("switch " + std::to_string(id) + " on");
    }

    // Every item, segments with their traces, surfaces and walls, then the root again.
    tree.ExpandAll();
    std::vector<wxTreeItemId> items{tree.GetRootItem()};
    for (std::size_t i = 0; i < items.size(); ++i) {
      wxTreeItemIdValue cookie;
      for (wxTreeItemId child = tree.GetFirstChild(items[i], cookie); child.IsOk();
           child = tree.GetNextChild(items[i], cookie))
        items.push_back(child);
    }
    items.push_back(tree.GetRootItem());
    for (const wxTreeItemId& item : items) {
      const std::string label = tree.GetItemText(item).utf8_string();
      ClickTreeItem(tree, item);
      const auto rows = ListRows(list);
      ASSERT_FALSE(rows.empty()) << label;
      EXPECT_EQ(rows.size(), ExpectedRowCount(label, rows[0].second)) << label;
      step("clicked " + label);
    }
    // The loop ends on the root, which chooses no segment in the 3D view; a segment's
    // children keep their segment chosen. The rows themselves are checked headless.
    EXPECT_EQ(View3d->GetRenderer().GetSelectedSegment(), -1);
    const wxTreeItemId segment = TreeChild(tree, root, "Segment 1");
    ClickTreeItem(tree, TreeChild(tree, segment, "Surface 0"));
    EXPECT_EQ(View3d->GetRenderer().GetSelectedSegment(), 1);
    ClickTreeItem(tree, segment);
    EXPECT_EQ(View3d->GetRenderer().GetSelectedSegment(), 1);
    step("clicked Segment 1 again");
    for (const int id : heights) {
      Command(frame, id);
      step("height " + std::to_string(id));
    }
    Command(frame, DocView::ID_VIEW_REFRESH);
    step("refresh");
    main_window->SetSize(main_size.x * 3 / 4, main_size.y * 2 / 3);
    SettleWx();
    step("smaller window");
    main_window->SetSize(main_size);
    SettleWx();
    step("window size restored");
    for (const int id : switches) {
      Command(frame, id);
      step("switch " + std::to_string(id) + " off");
    }
    CloseAllDocuments();
  }
}

// Two track windows open as tabs, the user going back and forth between them and
// choosing a segment in each: every 3D view draws with its own context and lists.
TEST_F(TrackPanesFlow, TwoTrackWindowsTakeTurnsWithoutAMessage) {
  struct Panes {
    wxDocument* Doc;
    DocView::CTrkTreeView* Tree;
    DocView::CTrk3DView* View;
  };
  std::vector<Panes> windows;
  for (const std::string& path : {EditorSamples().GplTrack, EditorSamples().N4Track}) {
    ASSERT_TRUE(OpenPanes(path));
    windows.push_back({Doc, TreeView, View3d});
  }
  for (int round = 0; round < 3; ++round) {
    for (const Panes& panes : windows) {
      SCOPED_TRACE(panes.Doc->GetFilename().utf8_string());
      auto* frame = dynamic_cast<wxMDIChildFrame*>(panes.Doc->GetFirstView()->GetFrame());
      ASSERT_NE(frame, nullptr);
      frame->Activate();
      SettleWx();
      wxTreeCtrl& tree = *panes.Tree->GetTreeCtrl();
      tree.Expand(tree.GetRootItem());
      ClickTreeItem(tree, TreeChild(tree, tree.GetRootItem(), "Segment " + std::to_string(round)));
      EXPECT_EQ(panes.View->GetRenderer().GetSelectedSegment(), round);
      EXPECT_GE(PaintNow(*panes.View), 1);
      EXPECT_TRUE(EditorMessages().Shown.empty()) << EditorMessages().Joined();
    }
  }
}

} // namespace
} // namespace Ostra::Test

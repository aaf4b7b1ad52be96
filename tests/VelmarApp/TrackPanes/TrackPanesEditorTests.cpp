// The tree and property list panes in the running editor: the samples of the three
// games opened through File > Open, items clicked, and what the list and the 3D view
// make of it.

#include <string>

#include <gtest/gtest.h>

#include "DocView/Core/TrackItemHint.h"
#include "DocView/Trk3DView.h"
#include "DocView/TrkListView.h"
#include "DocView/TrkTreeView.h"
#include "TestSupport/EditorTestApp.h"
#include "TreeClicks.h"

namespace Ostra::Test {
namespace {

using DocView::MakeItemHint;
using DocView::TrackItemKind;

class TrackPanesFlow : public EditorTest {};

TEST_F(TrackPanesFlow, SelectingTreeItemsOfEachSampleFillsTheListAndFocusesTheThreeDView) {
  const Velmar::SampleFolders& samples = EditorSamples();
  for (const std::string& path : {samples.GplTrack, samples.N2Track, samples.N4Track}) {
    SCOPED_TRACE(path);
    wxDocument* doc = OpenAsUser(path);
    ASSERT_NE(doc, nullptr) << EditorMessages().Joined();
    auto* tree_view = FindView<DocView::CTrkTreeView>(doc);
    auto* list_view = FindView<DocView::CTrkListView>(doc);
    auto* view3d = FindView<DocView::CTrk3DView>(doc);
    ASSERT_TRUE(tree_view != nullptr && list_view != nullptr && view3d != nullptr);
    wxTreeCtrl& tree = *tree_view->GetTreeCtrl();
    wxListCtrl& list = *list_view->GetListCtrl();

    // Opened, focused and idle: nothing is chosen yet.
    tree.SetFocus();
    SettleWx();
    EXPECT_FALSE(tree.GetSelection().IsOk());
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(view3d->GetRenderer().GetSelectedSegment(), -1);

    const wxTreeItemId root = tree.GetRootItem();
    ASSERT_TRUE(root.IsOk());
    EXPECT_EQ(tree.GetItemText(root), "root");
    ASSERT_GE(tree.GetChildrenCount(root, false), 2u);

    tree.Expand(root);
    const wxTreeItemId segment = TreeChild(tree, root, "Segment 1");
    ClickTreeItem(tree, segment);
    EXPECT_EQ(view3d->GetRenderer().GetSelectedSegment(), 1);
    const auto segment_rows = ListRows(list);
    ASSERT_GE(segment_rows.size(), 11u);
    EXPECT_EQ(segment_rows[0].first, "Type");
    EXPECT_EQ(segment_rows[5].first, "Start Orientation");
    EXPECT_TRUE(segment_rows[5].second.ends_with("\xC2\xB0")) << segment_rows[5].second;

    tree.Expand(segment);
    ClickTreeItem(tree, TreeChild(tree, segment, "Surface 0"));
    EXPECT_EQ(view3d->GetRenderer().GetSelectedSegment(), 1);
    const auto surface_rows = ListRows(list);
    ASSERT_EQ(surface_rows.size(), 6u);
    EXPECT_EQ(surface_rows[4].first, "Type");
    EXPECT_FALSE(surface_rows[4].second.empty());

    ClickTreeItem(tree, TreeChild(tree, segment, "Wall 0"));
    EXPECT_EQ(ListRows(list).size(), 7u);
    EXPECT_EQ(tree_view->GetItemHint(tree.GetSelection()), MakeItemHint(1, TrackItemKind::Wall, 0));

    ClickTreeItem(tree, root);
    EXPECT_EQ(view3d->GetRenderer().GetSelectedSegment(), -1);
    const auto track_rows = ListRows(list);
    ASSERT_EQ(track_rows.size(), 3u);
    EXPECT_EQ(track_rows[2].first, "Segments");
    EXPECT_EQ(track_rows[2].second, std::to_string(tree.GetChildrenCount(root, false)));

    // The panes themselves report nothing. (The 3D view's own drawing messages are its
    // tests' business.)
    for (const std::string& text : EditorMessages().Shown)
      EXPECT_TRUE(text.starts_with("An OpenGLError occurred")) << text;
    EditorMessages().Clear();
    CloseAllDocuments();
  }
}

} // namespace
} // namespace Ostra::Test

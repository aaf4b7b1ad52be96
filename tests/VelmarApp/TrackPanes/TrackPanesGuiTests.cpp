// The tree and property list panes of a track document in a real window: what the user
// sees before and after clicking tree items, and the hints the other views get.

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/listctrl.h>
#include <wx/panel.h>
#include <wx/splitter.h>
#include <wx/treectrl.h>

#include "BuiltTracks.h"
#include "DocView/Core/TrackPropertyRows.h"
#include "DocView/TrkDoc.h"
#include "DocView/TrkListView.h"
#include "DocView/TrkTreeView.h"
#include "Papy/Track/GPLTrkFile.h"
#include "Papy/Track/TrkTrack.h"
#include "TestSupport/GplTrkBuilder.h"
#include "Util/MemoryStream.h"
#include "TestSupport/WxTestApp.h"
#include "TreeClicks.h"

namespace Ostra::DocView {
namespace {

class TestTrkDoc : public CTrkDoc {
public:
  void SetTrack(const CountedPtr<Papy::Track>& track) { Track = track; }
};

// Stands in for the 3D view: records every hint it is updated with.
class RecordingView : public CViewBase {
public:
  wxWindow* CreatePaneWindow(wxWindow* parent) override { return Window = new wxPanel(parent); }
  wxWindow* GetPaneWindow() const override { return Window; }
  void OnUpdate(wxView*, wxObject* hint) override { Hints.push_back(HintValue(hint)); }

  std::vector<TrackItemHint> Hints;

private:
  wxWindow* Window = nullptr;
};

// A track window laid out as the editor's: tree | list | recorder.
class TrackPanes : public ::testing::Test {
protected:
  void SetUp() override {
    if (!Ostra::Test::StartWx())
      GTEST_SKIP() << "No X display: the window tests need one (DISPLAY is not set or cannot be opened).";
  }

  void Open(const CountedPtr<Papy::Track>& track) {
    Doc = new TestTrkDoc;
    Doc->SetTrack(track);
    Frame = new wxFrame(nullptr, wxID_ANY, "track", wxDefaultPosition, wxSize(1000, 600));
    auto* outer = new wxSplitterWindow(Frame);
    auto* inner = new wxSplitterWindow(outer);
    Tree = new CTrkTreeView;
    List = new CTrkListView;
    Recorder = new RecordingView;
    for (CViewBase* view : std::vector<CViewBase*>{Tree, List, Recorder}) {
      view->SetDocument(Doc);
      view->SetFrame(Frame);
    }
    wxWindow* tree = Tree->CreatePaneWindow(outer);
    wxWindow* list = List->CreatePaneWindow(inner);
    wxWindow* recorder = Recorder->CreatePaneWindow(inner);
    inner->SplitVertically(list, recorder, 200);
    outer->SplitVertically(tree, inner, 200);
    Frame->Show();
    Doc->InitialUpdateViews();
    Ostra::Test::SettleWx();
  }

  void TearDown() override {
    // Views first (as the document manager closes a document), then the frame's windows.
    if (Doc != nullptr)
      Doc->DeleteAllViews();
    if (Frame != nullptr)
      Frame->Destroy();
    Ostra::Test::SettleWx();
  }

  wxTreeCtrl& TreeCtrl() { return *Tree->GetTreeCtrl(); }
  wxListCtrl& ListCtrl() { return *List->GetListCtrl(); }

  wxTreeItemId Child(const wxTreeItemId& parent, const std::string& label) {
    return Ostra::Test::TreeChild(TreeCtrl(), parent, label);
  }
  void Click(const wxTreeItemId& item) { Ostra::Test::ClickTreeItem(TreeCtrl(), item); }
  std::vector<PropertyRow> Shown() { return Ostra::Test::ListRows(ListCtrl()); }

  TestTrkDoc* Doc = nullptr;
  wxFrame* Frame = nullptr;
  CTrkTreeView* Tree = nullptr;
  CTrkListView* List = nullptr;
  RecordingView* Recorder = nullptr;
};

TEST_F(TrackPanes, ArrowsAndClicksOnTreeItemsFillTheListAndTellTheOtherViews) {
  Open(Ostra::Test::BuiltGplTrack());
  ASSERT_NE(Tree->GetPaneWindow(), nullptr);
  EXPECT_TRUE(TreeCtrl().HasFlag(wxTR_HAS_BUTTONS));
  EXPECT_TRUE(ListCtrl().HasFlag(wxLC_REPORT));
  EXPECT_TRUE(ListCtrl().HasFlag(wxLC_SINGLE_SEL));
  ASSERT_EQ(ListCtrl().GetColumnCount(), 2);
  wxListItem column;
  column.SetMask(wxLIST_MASK_TEXT);
  ASSERT_TRUE(ListCtrl().GetColumn(0, column));
  EXPECT_EQ(column.GetText(), "Field");
  EXPECT_EQ(ListCtrl().GetColumnWidth(0), 100);
  ASSERT_TRUE(ListCtrl().GetColumn(1, column));
  EXPECT_EQ(column.GetText(), "Value");
  EXPECT_EQ(ListCtrl().GetColumnWidth(1), 500);

  // Opened and idle: the tree is filled, nothing is selected and nobody was told of an item.
  const wxTreeItemId root = TreeCtrl().GetRootItem();
  ASSERT_TRUE(root.IsOk());
  EXPECT_EQ(TreeCtrl().GetItemText(root), "root");
  EXPECT_EQ(TreeCtrl().GetChildrenCount(root, false), 9u);
  EXPECT_EQ(TreeCtrl().GetChildrenCount(root, true), 9u * 8);
  EXPECT_FALSE(TreeCtrl().IsExpanded(root));
  TreeCtrl().SetFocus();
  Ostra::Test::SettleWx();
  EXPECT_FALSE(TreeCtrl().GetSelection().IsOk());
  EXPECT_EQ(Recorder->Hints, std::vector<TrackItemHint>{NoItemHint});
  EXPECT_EQ(ListCtrl().GetItemCount(), 0);

  // The keyboard chooses items once the first arrow has selected the root.
  const auto press = [this](int key) {
    wxKeyEvent event(wxEVT_CHAR);
    event.m_keyCode = key;
    event.SetEventObject(&TreeCtrl());
    TreeCtrl().GetEventHandler()->ProcessEvent(event);
    Ostra::Test::SettleWx();
  };
  press(WXK_DOWN);
  EXPECT_EQ(TreeCtrl().GetSelection(), root);
  EXPECT_EQ(Recorder->Hints.back(), WholeTrackHint);
  EXPECT_EQ(ListCtrl().GetItemCount(), 3);
  press(WXK_RIGHT); // expands
  press(WXK_DOWN);
  EXPECT_EQ(Recorder->Hints.back(), MakeSegmentHint(0));
  EXPECT_EQ(Shown().size(), 11u);

  Click(root);
  EXPECT_EQ(Recorder->Hints.back(), WholeTrackHint);
  EXPECT_EQ(Shown(), (std::vector<PropertyRow>{
                         {"Length (3d)", "1505.683450"}, {"Length (2d)", "1505.683472"}, {"Segments", "9"}}));

  TreeCtrl().Expand(root);
  const wxTreeItemId segment = Child(root, "Segment 1");
  Click(segment);
  EXPECT_EQ(Recorder->Hints.back(), MakeSegmentHint(1));
  const auto segment_rows = Shown();
  ASSERT_EQ(segment_rows.size(), 15u);
  EXPECT_EQ(segment_rows[6], (PropertyRow{"End Orientation", "90.000000\xC2\xB0"}));
  EXPECT_EQ(ListCtrl().GetItemText(6, 1), wxString::FromUTF8("90.000000\xC2\xB0"));

  TreeCtrl().Expand(segment);
  Click(Child(segment, "Wall 0"));
  EXPECT_EQ(Recorder->Hints.back(), MakeItemHint(1, TrackItemKind::Wall, 0));
  EXPECT_EQ(Shown().back(), (PropertyRow{"Type", "Armco"}));
  EXPECT_EQ(Shown().size(), 7u);
  Click(Child(segment, "Surface 0"));
  EXPECT_EQ(Recorder->Hints.back(), MakeItemHint(1, TrackItemKind::Surface, 0));
  EXPECT_EQ(Shown().size(), 6u);

  // Expanding and collapsing tell nobody anything, unless the collapsed item held the
  // selection, which then moves to it.
  const std::size_t told = Recorder->Hints.size();
  const wxTreeItemId other = Child(root, "Segment 3");
  TreeCtrl().Expand(other);
  TreeCtrl().Collapse(other);
  Ostra::Test::SettleWx();
  EXPECT_EQ(Recorder->Hints.size(), told);
  TreeCtrl().Collapse(segment);
  Ostra::Test::SettleWx();
  EXPECT_EQ(TreeCtrl().GetSelection(), segment);
  EXPECT_EQ(Recorder->Hints.back(), MakeSegmentHint(1));
  EXPECT_EQ(Shown(), segment_rows);

  // An LP of the folder opening or closing leaves the rows; a hint naming no kind empties them.
  const auto before = Shown();
  UpdateAllViewsHint(Doc, nullptr, NoItemHint);
  EXPECT_EQ(Shown(), before);
  UpdateAllViewsHint(Doc, nullptr, MakeSegmentHint(1) | 0x401);
  EXPECT_EQ(ListCtrl().GetItemCount(), 0);
}

TEST_F(TrackPanes, ATrackDocumentWithoutATrackShowsTheRootAndNeverChangesTheList) {
  Open(CountedPtr<Papy::Track>());
  const wxTreeItemId root = TreeCtrl().GetRootItem();
  ASSERT_TRUE(root.IsOk());
  EXPECT_EQ(TreeCtrl().GetChildrenCount(root, true), 0u);
  Click(root);
  EXPECT_EQ(Recorder->Hints, (std::vector<TrackItemHint>{NoItemHint, WholeTrackHint}));
  EXPECT_EQ(ListCtrl().GetItemCount(), 0);
}

// 2,000 segments of a few items each, as a long real track has.
CountedPtr<Papy::Track> LargeTrack() {
  std::vector<Ostra::Test::GplTrkBuilder::Shape> shapes;
  for (int i = 0; i < 1000; ++i) {
    shapes.push_back({true, 40000, static_cast<S32>(2147483648.0 / 1000)});
    shapes.push_back({false, 30000, 0});
  }
  const auto bytes = Ostra::Test::GplTrkBuilder::Loop(shapes, {-300000, 0, 300000},
                                                      std::vector<S32>(shapes.size(), 0))
                         .Bytes();
  const CountedPtr<Papy::TrkFile> file(new Papy::GPLTrkFile(
      CountedPtr<Util::BinaryStream>(new Util::MemoryStream("large.trk", bytes))));
  return CountedPtr<Papy::Track>(new Papy::TrkTrack(file));
}

TEST_F(TrackPanes, ALongTrackFillsWithNothingSelectedAndItsLastItemsWork) {
  Open(LargeTrack());
  const wxTreeItemId root = TreeCtrl().GetRootItem();
  EXPECT_EQ(TreeCtrl().GetChildrenCount(root, false), 2000u);
  EXPECT_EQ(TreeCtrl().GetChildrenCount(root, true), 2000u * 8);
  EXPECT_FALSE(TreeCtrl().GetSelection().IsOk());
  TreeCtrl().Expand(root);
  const wxTreeItemId last = Child(root, "Segment 1999");
  TreeCtrl().Expand(last);
  Click(Child(last, "Wall 0"));
  EXPECT_EQ(Recorder->Hints.back(), MakeItemHint(1999, TrackItemKind::Wall, 0));
  EXPECT_EQ(ListCtrl().GetItemCount(), 7);
}

TEST_F(TrackPanes, ViewsOutliveOrPrecedeTheirWindowsSafely) {
  Open(Ostra::Test::BuiltN4Track());
  EXPECT_EQ(TreeCtrl().GetChildrenCount(TreeCtrl().GetRootItem(), false), 8u);
  // The frame goes first this time; the views must not touch the destroyed windows.
  Frame->Destroy();
  Frame = nullptr;
  Ostra::Test::SettleWx();
  EXPECT_EQ(Tree->GetPaneWindow(), nullptr);
  EXPECT_EQ(List->GetPaneWindow(), nullptr);
  UpdateAllViewsHint(Doc, nullptr, WholeTrackHint);
}

} // namespace
} // namespace Ostra::DocView

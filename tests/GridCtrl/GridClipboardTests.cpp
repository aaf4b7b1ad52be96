#include "GridFakes.h"

#include "GridCtrl/Core/GridClipboardText.h"

#include <gtest/gtest.h>

#include <functional>

using namespace Ostra::Test;

namespace {

constexpr Ostra::U32 Ctrl = GridKeyFlags::Control;

struct Note {
  int Code;
  int Row;
  int Col;
  bool operator==(const Note&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Note& n) {
  return out << "{" << n.Code << ", " << n.Row << ", " << n.Col << "}";
}

// A grid of 6 rows and 5 columns (one fixed row and column) with a scripted owner.
struct ClipGrid : TestGrid {
  struct Owner : GridOwner {
    long OnGridNotify(GridNotify& n) override {
      Notes.push_back({n.Code, n.Row, n.Col});
      return Answer ? Answer(n) : 0;
    }
    std::vector<Note> Notes;
    std::function<long(const GridNotify&)> Answer;
  } Script;

  ClipGrid(int rows = 6, int cols = 5) : TestGrid(rows, cols) { Grid.SetGridOwner(&Script); }
  void Select(int min_row, int min_col, int max_row, int max_col) {
    Grid.SetSelectedRange(min_row, min_col, max_row, max_col);
    Grid.SetFocusCell(min_row, min_col);
    Script.Notes.clear();
  }
  std::string Copy() {
    std::string text;
    EXPECT_TRUE(Grid.CopyTextFromGrid(&text));
    return text;
  }
  // The cells whose text is no longer the fill's, as "row,col=text" in reading order.
  std::string Changed() const {
    std::string out;
    for (int row = 0; row < Grid.GetRowCount(); ++row)
      for (int col = 0; col < Grid.GetColumnCount(); ++col)
        if (const std::string text = Grid.GetItemText(row, col);
            text != "r" + std::to_string(row) + "c" + std::to_string(col))
          out += (out.empty() ? "" : " ") + std::to_string(row) + "," + std::to_string(col) + "=" + text;
    return out;
  }
};

// ---- Copy ----

TEST(GridCopy, HiddenRowsAndColumnsLeaveNoFieldAndUnselectedCellsAnEmptyOne) {
  struct Case {
    const char* Name;
    std::function<void(ClipGrid&)> Setup;
    std::string Expected;
  };
  const Case cases[] = {
      {"a block", [](ClipGrid& t) { t.Select(1, 1, 2, 2); }, "r1c1\tr1c2\r\nr2c1\tr2c2"},
      {"hidden middle column",
       [](ClipGrid& t) {
         t.Grid.SetColumnWidth(2, 0);
         t.Select(1, 1, 2, 3);
       },
       "r1c1\tr1c3\r\nr2c1\tr2c3"},
      {"hidden middle row",
       [](ClipGrid& t) {
         t.Grid.SetRowHeight(2, 0);
         t.Select(1, 1, 3, 1);
       },
       "r1c1\r\nr3c1"},
      {"hidden last row keeps the line break before it",
       [](ClipGrid& t) {
         t.Grid.SetRowHeight(2, 0);
         t.Select(1, 1, 2, 1);
       },
       "r1c1\r\n"},
      {"two cells picked with ctrl",
       [](ClipGrid& t) {
         t.Click(1, 1);
         t.Click(2, 3, Ctrl);
       },
       "r1c1\t\t\r\n\t\tr2c3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ClipGrid t;
    c.Setup(t);
    EXPECT_EQ(t.Copy(), c.Expected);
  }
}

TEST(GridCopy, NothingSelectedCopiesNothingAndLeavesTheClipboard) {
  ClipGrid t;
  t.Host.SetClipboardText("before");
  std::string text = "untouched";
  EXPECT_FALSE(t.Grid.CopyTextFromGrid(&text));
  EXPECT_EQ(text, "untouched");
  EXPECT_FALSE(t.Grid.CanCopy());
  t.Grid.OnEditCopy();
  EXPECT_EQ(t.Host.Clipboard, "before");
}

// A virtual grid's text comes from its owner: the owner is told which cells are about to
// be read, and that the reading is over.
TEST(GridCopy, AVirtualGridHintsItsOwnerAroundTheCopy) {
  TestGrid t(0, 0, 0, 0, false);
  t.Grid.SetVirtualMode(true);
  t.Grid.SetColumnCount(4);
  t.Grid.SetRowCount(5);
  t.Grid.SetFixedRowCount(1);
  t.Grid.SetFixedColumnCount(1);
  t.Grid.SetSelectedRange(1, 1, 2, 2);
  t.Owner.Hints.clear();
  std::string text;
  ASSERT_TRUE(t.Grid.CopyTextFromGrid(&text));
  EXPECT_EQ(text, "r1c1\tr1c2\r\nr2c1\tr2c2");
  EXPECT_EQ(t.Owner.Hints, (std::vector<CCellRange>{{1, 1, 2, 2}, {-1, -1, -1, -1}}));
}

// ---- Reading pasted text ----

TEST(GridPasteText, SplitsLinesAtLineFeedsAndCellsAtTabsAndCommas) {
  struct Case {
    const char* Name;
    std::string Text;
    std::vector<std::vector<std::string>> Expected;
  };
  const Case cases[] = {
      {"comma and tab", "1,2\t3", {{"1", "2", "3"}}},
      {"crlf lines and an empty last line", "x\r\ny\r\n", {{"x"}, {"y"}, {}}},
      {"a trailing separator adds no cell", "a\tb\t", {{"a", "b"}}},
      {"a trailing separator before crlf adds none either", "a\t\r\nb\t\r\nc\t", {{"a"}, {"b"}, {"c"}}},
      {"two separators clear a cell", "a,,b", {{"a", "", "b"}}},
      {"a lone separator clears one cell", "\t", {{""}}},
      {"blanks trimmed", " a \t\v b\f ", {{"a", "b"}}},
      {"a carriage return inside a line is trimmed", "a\r\tb", {{"a", "b"}}},
      {"empty", "", {{}}},
      {"text ends at a nul", std::string("a\tb\0c\td", 7), {{"a", "b"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<std::vector<std::string>> got;
    for (const std::string_view line : SplitPastedLines(c.Text))
      got.push_back(SplitPastedCells(line));
    EXPECT_EQ(got, c.Expected);
  }
}

// ---- Paste ----

TEST(GridPaste, WritesEachCellThroughTheEditProtocolAndSelectsWhatItWrote) {
  ClipGrid t;
  t.Select(2, 2, 2, 2);
  t.Host.SetClipboardText("a\tb\r\nc\td");
  t.Grid.OnEditPaste();
  EXPECT_EQ(t.Changed(), "2,2=a 2,3=b 3,2=c 3,3=d");
  EXPECT_EQ(t.Script.Notes, (std::vector<Note>{{LVN_BEGINLABELEDITA, 2, 2},
                                               {LVN_ENDLABELEDITA, 2, 2},
                                               {LVN_BEGINLABELEDITA, 2, 3},
                                               {LVN_ENDLABELEDITA, 2, 3},
                                               {LVN_BEGINLABELEDITA, 3, 2},
                                               {LVN_ENDLABELEDITA, 3, 2},
                                               {LVN_BEGINLABELEDITA, 3, 3},
                                               {LVN_ENDLABELEDITA, 3, 3}}));
  EXPECT_EQ(t.Grid.GetSelectedCellRange(), CCellRange(2, 2, 3, 3));
  EXPECT_EQ(t.Selected().size(), 4u);
}

TEST(GridPaste, KeepsInsideTheGridSkipsHiddenAndLockedCellsAndHonoursRefusals) {
  struct Case {
    const char* Name;
    std::function<void(ClipGrid&)> Setup;
    CCellID At;
    std::string Text;
    std::string Changed;
    CCellRange Selection;
  };
  const auto none = [](ClipGrid&) {};
  const Case cases[] = {
      {"a block larger than the grid", none, {4, 3}, "1\t2\t3\n4\t5\t6\n7\t8\t9", "4,3=1 4,4=2 5,3=4 5,4=5",
       {4, 3, 5, 4}},
      {"hidden row and column skipped",
       [](ClipGrid& t) {
         t.Grid.SetRowHeight(2, 0);
         t.Grid.SetColumnWidth(2, 0);
       },
       {1, 1}, "1\t2\n3\t4", "1,1=1 1,3=2 3,1=3 3,3=4", {1, 1, 3, 3}},
      {"read-only cell kept",
       [](ClipGrid& t) { t.Grid.SetItemState(1, 2, t.Grid.GetItemState(1, 2) | GridItemState::ReadOnly); },
       {1, 1}, "1,2,3", "1,1=1 1,3=3", {1, 1, 1, 3}},
      {"refused cells keep their text",
       [](ClipGrid& t) {
         t.Script.Answer = [](const GridNotify& n) {
           if (n.Row == 1 && n.Col == 1 && n.Code == LVN_BEGINLABELEDITA)
             return -1L;
           return n.Row == 1 && n.Col == 3 && n.Code == LVN_ENDLABELEDITA ? -1L : 0L;
         };
       },
       {1, 1}, "1,2,3", "1,2=2", {1, 1, 1, 3}},
      {"crlf lines with a trailing tab clear nothing more", none, {1, 1}, "a\t\r\nb\t\r\n", "1,1=a 2,1=b",
       {1, 1, 2, 1}},
      {"an empty line takes its row", none, {1, 1}, "a\n\nb", "1,1=a 3,1=b", {1, 1, 3, 1}},
      {"nothing written leaves nothing selected", [](ClipGrid& t) { t.Select(3, 3, 4, 4); }, {2, 2}, "\n",
       "", {6, 5, -1, -1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ClipGrid t;
    c.Setup(t);
    EXPECT_TRUE(t.Grid.PasteTextToGrid(c.At, c.Text));
    EXPECT_EQ(t.Changed(), c.Changed);
    EXPECT_EQ(t.Grid.GetSelectedCellRange(), c.Selection);
  }
}

TEST(GridPaste, NothingHappensOnALockedTargetOrAGridThatIsNotEditable) {
  ClipGrid t;
  t.Host.SetClipboardText("x");
  t.Grid.SetItemState(1, 1, t.Grid.GetItemState(1, 1) | GridItemState::ReadOnly);
  t.Select(1, 1, 1, 1);
  EXPECT_FALSE(t.Grid.CanPaste());
  EXPECT_FALSE(t.Grid.PasteTextToGrid({1, 1}, "x"));
  t.Select(2, 2, 2, 2);
  EXPECT_TRUE(t.Grid.CanPaste());
  t.Grid.SetEditable(false);
  EXPECT_FALSE(t.Grid.CanPaste());
  t.Grid.OnEditPaste();
  EXPECT_TRUE(t.Script.Notes.empty());
  EXPECT_EQ(t.Grid.GetItemText(2, 2), "r2c2");
}

// ---- Cut and Delete ----

TEST(GridCut, ClearsTheSelectionThroughTheProtocolOnlyOnceTheClipboardHasIt) {
  struct Case {
    const char* Name;
    bool Editable;
    bool ClipboardWorks;
    std::string Clipboard;
    bool Cleared;
  };
  for (const Case& c : {Case{"cut", true, true, "r1c1\tr1c2", true},
                        Case{"grid not editable", false, true, "before", false},
                        Case{"clipboard refuses the text", true, false, "before", false}}) {
    SCOPED_TRACE(c.Name);
    ClipGrid t;
    t.Host.SetClipboardText("before");
    t.Host.ClipboardWorks = c.ClipboardWorks;
    t.Grid.SetEditable(c.Editable);
    t.Select(1, 1, 1, 2);
    t.Grid.OnEditCut();
    EXPECT_EQ(t.Host.Clipboard, c.Clipboard);
    EXPECT_EQ(t.Grid.GetItemText(1, 1), c.Cleared ? "" : "r1c1");
    EXPECT_EQ(t.Grid.GetItemText(1, 2), c.Cleared ? "" : "r1c2");
  }
}

TEST(GridCut, DeleteSendsEndEditOnlyForCellsThatHadText) {
  ClipGrid t;
  t.Grid.SetItemText(1, 2, "");
  t.Select(1, 1, 1, 3);
  t.Host.SetClipboardText("kept");
  t.Grid.OnKeyDown(GridKey::Delete, 0);
  EXPECT_EQ(t.Script.Notes, (std::vector<Note>{{LVN_BEGINLABELEDITA, 1, 1},
                                               {LVN_ENDLABELEDITA, 1, 1},
                                               {LVN_BEGINLABELEDITA, 1, 2},
                                               {LVN_BEGINLABELEDITA, 1, 3},
                                               {LVN_ENDLABELEDITA, 1, 3}}));
  EXPECT_EQ(t.Changed(), "1,1= 1,2= 1,3=");
  EXPECT_EQ(t.Host.Clipboard, "kept");
}

TEST(GridCut, AnOwnerThatShrinksTheGridWhileCellsAreClearedStopsTheWrites) {
  ClipGrid t;
  t.Select(1, 1, 5, 4);
  t.Script.Answer = [&](const GridNotify& n) {
    if (n.Code == LVN_ENDLABELEDITA && n.Row == 1 && n.Col == 1)
      t.Grid.SetRowCount(2);
    return 0L;
  };
  t.Grid.CutSelectedText();
  for (const Note& n : t.Script.Notes)
    EXPECT_LT(n.Row, 2) << n;
}

// ---- While an editor is open ----

TEST(GridEditCommands, ActOnTheOpenEditorsTextNotOnTheCells) {
  ClipGrid t;
  t.Select(1, 1, 2, 2);
  t.Host.SetClipboardText("pasted");
  t.Grid.OnKeyDown(GridKey::F2, 0);
  ASSERT_TRUE(t.Grid.GetCell(1, 1)->IsEditing());
  t.Script.Notes.clear();
  t.Grid.OnEditCut();
  t.Grid.OnEditCopy();
  t.Grid.OnEditPaste();
  t.Grid.OnKeyDown(GridKey::X, Ctrl);
  EXPECT_EQ(t.Host.Editor.Commands, "xcvx");
  EXPECT_TRUE(t.Script.Notes.empty());
  EXPECT_EQ(t.Host.Clipboard, "pasted");
  EXPECT_EQ(t.Grid.GetItemText(1, 1), "r1c1");
  EXPECT_EQ(t.Grid.GetItemText(2, 2), "r2c2");
  // The enablers ask the editor too: the fake editor can only cut.
  EXPECT_TRUE(t.Grid.CanCut());
  EXPECT_FALSE(t.Grid.CanCopy());
  EXPECT_FALSE(t.Grid.CanPaste());
}

TEST(GridEditCommands, EnablersFollowTheSelectionTheGridAndTheClipboard) {
  struct Case {
    const char* Name;
    bool Select;
    bool Editable;
    bool Clipboard;
    bool Cut, Copy, Paste;
  };
  for (const Case& c : {Case{"selection", true, true, true, true, true, true},
                        Case{"no selection pastes at the focus", false, true, true, false, false, true},
                        Case{"not editable", true, false, true, false, true, false},
                        Case{"empty clipboard", true, true, false, true, true, false}}) {
    SCOPED_TRACE(c.Name);
    ClipGrid t;
    if (c.Select)
      t.Select(2, 2, 3, 3);
    else
      t.Grid.SetFocusCell(2, 2);
    t.Grid.SetEditable(c.Editable);
    if (c.Clipboard)
      t.Host.SetClipboardText("x");
    EXPECT_EQ(t.Grid.CanCut(), c.Cut);
    EXPECT_EQ(t.Grid.CanCopy(), c.Copy);
    EXPECT_EQ(t.Grid.CanPaste(), c.Paste);
  }
}

// ---- Drag and drop ----

TEST(GridDrop, TheDropCellIsHighlightedWhileADragPassesAndTheDropPastesThere) {
  ClipGrid t;
  t.Grid.EnableDragAndDrop(true);
  t.Select(3, 3, 3, 3);
  const auto highlighted = [&](int row, int col) {
    return (t.Grid.GetItemState(row, col) & GridItemState::DropHighlighted) != 0;
  };
  EXPECT_EQ(t.Grid.OnDragEnter(true, 0, t.Centre(1, 1)), GridDropEffect::Move);
  EXPECT_TRUE(highlighted(1, 1));
  EXPECT_EQ(t.Grid.OnDragOver(true, Ctrl, t.Centre(2, 1)), GridDropEffect::Copy);
  EXPECT_FALSE(highlighted(1, 1));
  EXPECT_TRUE(highlighted(2, 1));
  // Over the header row there is no drop cell.
  EXPECT_EQ(t.Grid.OnDragOver(true, 0, t.Centre(0, 2)), GridDropEffect::None);
  EXPECT_FALSE(highlighted(2, 1));
  EXPECT_EQ(t.Grid.GetDropCell(), CCellID());
  EXPECT_EQ(t.Grid.OnDragOver(true, 0, t.Centre(2, 2)), GridDropEffect::Move);
  EXPECT_TRUE(t.Grid.OnDrop("x\ty", t.Centre(2, 2)));
  EXPECT_FALSE(highlighted(2, 2));
  EXPECT_EQ(t.Changed(), "2,2=x 2,3=y");
  EXPECT_EQ(t.Script.Notes.back(), (Note{LVN_ENDLABELEDITA, 2, 3}));
  // A drop leaves neither a selection nor a focus.
  EXPECT_EQ(t.Grid.GetSelectedCount(), 0u);
  EXPECT_EQ(t.Grid.GetFocusCell(), CCellID());
}

TEST(GridDrop, IsRefusedWithoutDragAndDropTextOrAnEditableCell) {
  struct Case {
    const char* Name;
    bool Allow;
    bool HasText;
    bool ReadOnly;
  };
  for (const Case& c : {Case{"drag and drop off", false, true, false}, Case{"no text", true, false, false},
                        Case{"read-only cell", true, true, true}}) {
    SCOPED_TRACE(c.Name);
    ClipGrid t;
    t.Grid.EnableDragAndDrop(c.Allow);
    if (c.ReadOnly)
      t.Grid.SetItemState(2, 2, t.Grid.GetItemState(2, 2) | GridItemState::ReadOnly);
    EXPECT_EQ(t.Grid.OnDragEnter(c.HasText, 0, t.Centre(2, 2)), GridDropEffect::None);
    EXPECT_EQ(t.Grid.OnDragOver(c.HasText, 0, t.Centre(2, 2)), GridDropEffect::None);
    EXPECT_FALSE(t.Grid.OnDrop("z", t.Centre(2, 2)));
    EXPECT_EQ(t.Grid.GetItemText(2, 2), "r2c2");
  }
}

TEST(GridDrag, AMovingDragCutsTheSourceCellsAndACopyKeepsThem) {
  for (const GridDropEffect effect : {GridDropEffect::Move, GridDropEffect::Copy, GridDropEffect::None}) {
    SCOPED_TRACE(static_cast<int>(effect));
    ClipGrid t;
    t.Grid.EnableDragAndDrop(true);
    t.Select(2, 2, 2, 3);
    t.Host.DragResult = effect;
    // Press on the focus cell, then move past the drag threshold.
    const GridPoint from = t.Centre(2, 2);
    t.Grid.OnLButtonDown(from, 0);
    t.Grid.OnMouseMove({from.X + 10, from.Y + 10}, 0);
    ASSERT_EQ(t.Host.Dragged, std::vector<std::string>{"r2c2\tr2c3"});
    EXPECT_EQ(t.Grid.GetMouseMode(), GridMouseMode::Nothing);
    EXPECT_FALSE(t.Host.Captured);
    ASSERT_FALSE(t.Script.Notes.empty());
    EXPECT_EQ(t.Script.Notes[0], (Note{LVN_BEGINDRAG, 2, 2}));
    const bool moved = effect == GridDropEffect::Move;
    EXPECT_EQ(t.Grid.GetItemText(2, 2), moved ? "" : "r2c2");
    EXPECT_EQ(t.Grid.GetItemText(2, 3), moved ? "" : "r2c3");
  }
}

} // namespace

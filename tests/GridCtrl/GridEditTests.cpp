#include "GridFakes.h"

#include "GridCtrl/Core/GridEditorState.h"
#include "GridCtrl/Core/GridTitleTipLayout.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

using namespace Ostra::Test;

namespace {

constexpr Ostra::U32 Shift = GridKeyFlags::Shift;
constexpr Ostra::U32 Ctrl = GridKeyFlags::Control;

// An owner that records each notification with the cell's text at that moment and
// answers through a script.
class ScriptedOwner : public GridOwner {
public:
  struct Record {
    int Code;
    int Row;
    int Col;
    std::string Text;
    bool operator==(const Record&) const = default;
  };

  explicit ScriptedOwner(GridCore& grid) : Grid(grid) {}
  long OnGridNotify(GridNotify& notify) override {
    Records.push_back({notify.Code, notify.Row, notify.Col, Grid.GetItemText(notify.Row, notify.Col)});
    return Answer ? Answer(notify) : 0;
  }
  std::vector<int> Codes() const {
    std::vector<int> codes;
    for (const Record& r : Records)
      codes.push_back(r.Code);
    return codes;
  }

  GridCore& Grid;
  std::vector<Record> Records;
  std::function<long(const GridNotify&)> Answer;
};

std::ostream& operator<<(std::ostream& out, const ScriptedOwner::Record& r) {
  return out << "{" << r.Code << ", " << r.Row << ", " << r.Col << ", \"" << r.Text << "\"}";
}

// A test grid whose owner is scripted.
struct EditGrid : TestGrid {
  ScriptedOwner Script{Grid};
  EditGrid(int rows, int cols) : TestGrid(rows, cols) { Grid.SetGridOwner(&Script); }
  void Select(int min_row, int min_col, int max_row, int max_col) {
    Grid.SetSelectedRange(min_row, min_col, max_row, max_col);
    Script.Records.clear();
  }
};

using Record = ScriptedOwner::Record;

// ---- Starting and ending an edit ----

TEST(GridEdit, TheOwnerIsAskedBeforeAnyEditorExistsAndARefusalLeavesNothing) {
  for (const long answer : {0L, -1L}) {
    SCOPED_TRACE(answer);
    EditGrid t(10, 5);
    t.Grid.SetFocusCell(2, 3);
    t.Script.Answer = [&](const GridNotify& n) {
      // No editor may exist while the owner decides.
      EXPECT_TRUE(t.Host.EditRequests.empty());
      return n.Code == LVN_BEGINLABELEDITA ? answer : 0;
    };
    t.Grid.OnChar('a', 0);
    EXPECT_EQ(t.Script.Codes(), std::vector<int>{LVN_BEGINLABELEDITA});
    EXPECT_EQ(t.Host.EditRequests.size(), answer == 0 ? 1u : 0u);
    EXPECT_EQ(t.Grid.GetCell(2, 3)->IsEditing(), answer == 0);
    if (answer == 0) {
      EXPECT_EQ(t.Host.EditRequests[0].FirstChar, static_cast<unsigned>('a'));
      EXPECT_EQ(t.Host.EditRequests[0].Text, "r2c3");
    }
  }
}

TEST(GridEdit, NothingStartsOnAReadOnlyCellInALockedGridOrWithCtrlHeld) {
  struct Case {
    const char* Name;
    bool ReadOnly;
    bool Editable;
    Ostra::U32 Flags;
  };
  for (const Case& c : {Case{"read-only cell", true, true, 0}, Case{"grid not editable", false, false, 0},
                        Case{"ctrl held", false, true, Ctrl}}) {
    SCOPED_TRACE(c.Name);
    EditGrid t(10, 5);
    t.Grid.SetFocusCell(2, 2);
    if (c.ReadOnly)
      t.Grid.SetItemState(2, 2, t.Grid.GetItemState(2, 2) | GridItemState::ReadOnly);
    t.Grid.SetEditable(c.Editable);
    t.Grid.OnChar('7', c.Flags);
    EXPECT_TRUE(t.Script.Records.empty());
    EXPECT_TRUE(t.Host.EditRequests.empty());
  }
}

class RefusingGrid : public GridCore {
public:
  bool ValidateEdit(int row, int col, const std::string& text) override {
    return text != "bad" && GridCore::ValidateEdit(row, col, text);
  }
};

TEST(GridEdit, TheNewTextIsStoredBeforeTheOwnerIsToldAndARefusalRestoresTheOldText) {
  struct Case {
    const char* Name;
    std::string Text;
    long Answer;
    std::vector<Record> Expected;
    std::string Final;
  };
  const Case cases[] = {
      {"unchanged text", "r2c3", 0, {}, "r2c3"},
      {"accepted", "42", 0, {{LVN_ENDLABELEDITA, 2, 3, "42"}}, "42"},
      {"refused by the owner", "42", -1, {{LVN_ENDLABELEDITA, 2, 3, "42"}}, "r2c3"},
      {"refused by the cell", "bad", 0, {}, "r2c3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    BasicTestGrid<RefusingGrid> t(10, 5);
    ScriptedOwner owner(t.Grid);
    owner.Answer = [&](const GridNotify& n) { return n.Code == LVN_ENDLABELEDITA ? c.Answer : 0; };
    t.Grid.SetGridOwner(&owner);
    t.Grid.SetFocusCell(2, 3);
    t.Grid.OnKeyDown(GridKey::F2, 0);
    ASSERT_TRUE(t.Grid.GetCell(2, 3)->IsEditing());
    t.Grid.SetModified(false);
    owner.Records.clear();

    t.Grid.OnEditorEnded(2, 3, c.Text, GridEditChar::Enter, 0);
    EXPECT_EQ(owner.Records, c.Expected);
    EXPECT_EQ(t.Grid.GetItemText(2, 3), c.Final);
    // Putting the old text back marks the cell and the grid like any write.
    EXPECT_EQ(t.Grid.GetModified(), c.Text != "r2c3");
    EXPECT_EQ((t.Grid.GetItemState(2, 3) & GridItemState::Modified) != 0, c.Text != "r2c3");
    EXPECT_FALSE(t.Grid.GetCell(2, 3)->IsEditing());
  }
}

TEST(GridEdit, TabAndTheNavigationKeysMoveOnAndEditTheNextCell) {
  struct Case {
    const char* Name;
    CCellID From;
    int Key;
    Ostra::U32 Flags;
    CCellID To;
  };
  // 6 rows and 5 columns with one fixed row and column: rows 1-5, columns 1-4 edit.
  const Case cases[] = {
      {"tab", {2, 2}, GridKey::Tab, 0, {2, 3}},
      {"tab in the last column", {2, 4}, GridKey::Tab, 0, {3, 1}},
      {"shift tab in the first column", {2, 1}, GridKey::Tab, Shift, {1, 4}},
      {"down", {2, 2}, GridKey::Down, 0, {3, 2}},
      {"down in the last row stays", {5, 2}, GridKey::Down, 0, {5, 2}},
      {"up in the first row stays", {1, 2}, GridKey::Up, 0, {1, 2}},
      {"left", {2, 2}, GridKey::Left, 0, {2, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EditGrid t(6, 5);
    t.Grid.SetFocusCell(c.From);
    t.Grid.OnChar('9', 0);
    t.Script.Records.clear();
    t.Host.EditRequests.clear();

    t.Grid.OnEditorEnded(c.From.Row, c.From.Col, "9", c.Key, c.Flags);
    EXPECT_EQ(t.Grid.GetItemText(c.From.Row, c.From.Col), "9");
    EXPECT_EQ(t.Grid.GetFocusCell(), c.To);
    ASSERT_EQ(t.Host.EditRequests.size(), 1u);
    EXPECT_EQ(t.Host.EditRequests[0].Row, c.To.Row);
    EXPECT_EQ(t.Host.EditRequests[0].Col, c.To.Col);
    EXPECT_EQ(t.Host.EditRequests[0].FirstChar, GridEditStart::FromKey(c.Key));
    // The end of the first edit, then the begin of the next one.
    ASSERT_GE(t.Script.Records.size(), 2u);
    EXPECT_EQ(t.Script.Records.front(), (Record{LVN_ENDLABELEDITA, c.From.Row, c.From.Col, "9"}));
    EXPECT_EQ(t.Script.Records.back().Code, LVN_BEGINLABELEDITA);
    EXPECT_EQ(t.Script.Records.back().Row, c.To.Row);
    EXPECT_EQ(t.Script.Records.back().Col, c.To.Col);
  }
}

TEST(GridEdit, EnterCommitsInPlaceAndEscapeSendsNoEndEdit) {
  for (const int key : {static_cast<int>(GridEditChar::Enter), GridKey::Escape, 0}) {
    SCOPED_TRACE(key);
    EditGrid t(6, 5);
    t.Grid.SetFocusCell(2, 2);
    t.Grid.OnKeyDown(GridKey::F2, 0);
    t.Script.Records.clear();
    t.Host.EditRequests.clear();
    // Escape reports the text the editor opened with.
    const std::string text = key == GridKey::Escape ? "r2c2" : "5";
    t.Grid.OnEditorEnded(2, 2, text, key, 0);
    EXPECT_EQ(t.Script.Codes(), key == GridKey::Escape ? std::vector<int>{} : std::vector<int>{LVN_ENDLABELEDITA});
    EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(2, 2));
    EXPECT_TRUE(t.Host.EditRequests.empty());
  }
}

TEST(GridEdit, AnEditOfACellThatIsGoneIsDroppedSilently) {
  EditGrid t(10, 5);
  t.Grid.SetFocusCell(8, 3);
  t.Grid.OnChar('1', 0);
  // The owner refills the grid with fewer rows while the editor is open.
  t.Grid.SetRowCount(5);
  t.Script.Records.clear();
  t.Grid.OnEditorEnded(8, 3, "1", GridKey::Down, 0);
  t.Grid.OnEditorEnded(2, 7, "1", GridEditChar::Enter, 0);
  EXPECT_TRUE(t.Script.Records.empty());
  EXPECT_EQ(t.Grid.GetItemText(4, 3), "r4c3");
}

// An editor that closes while its grid's window goes away must leave the grid alone.
TEST(GridEdit, AnEditorEndingAfterTheWindowWentChangesNothing) {
  EditGrid t(6, 5);
  t.Grid.SetFocusCell(2, 2);
  t.Grid.OnChar('4', 0);
  t.Script.Records.clear();
  t.Host.Exists = false;
  t.Grid.OnEditorEnded(2, 2, "4", GridKey::Tab, 0);
  EXPECT_TRUE(t.Script.Records.empty());
  EXPECT_EQ(t.Grid.GetItemText(2, 2), "r2c2");
  EXPECT_EQ(t.Grid.GetFocusCell(), CCellID(2, 2));
}

// ---- The editor's own rules ----

TEST(GridEditorState, OpensWithTheTextAndSelectionTheStartCallsFor) {
  struct Case {
    const char* Name;
    std::string Initial;
    unsigned Start;
    GridEditorOpening Expected;
  };
  const Case cases[] = {
      {"mouse or F2", "12.5", GridEditStart::MouseOrF2, {"12.5", 4, 4}},
      {"enter", "12.5", GridEditChar::Enter, {"12.5", 4, 4}},
      {"backspace", "12.5", GridEditChar::Backspace, {"12.", 3, 3}},
      {"backspace takes a whole character", "a\xC3\xA9", GridEditChar::Backspace, {"a", 1, 1}},
      {"backspace on nothing", "", GridEditChar::Backspace, {"", 0, 0}},
      {"typed tab", "12.5", GridEditChar::Tab, {"12.5", 0, 4}},
      {"navigation key", "12.5", GridEditStart::FromKey(GridKey::Right), {"12.5", 0, 4}},
      {"page key", "\xC3\xA9t\xC3\xA9", GridEditStart::FromKey(GridKey::Prior), {"\xC3\xA9t\xC3\xA9", 0, 3}},
      {"letter", "12.5", 'x', {"x", 1, 1}},
      {"blank", "12.5", ' ', {" ", 1, 1}},
      {"exclamation mark shares the page-up code", "12.5", '!', {"!", 1, 1}},
      {"parenthesis shares the down code", "12.5", '(', {"(", 1, 1}},
      {"minus", "12.5", '-', {"-", 1, 1}},
      {"accented letter", "12.5", 0xE9, {"\xC3\xA9", 1, 1}},
      {"euro sign", "12.5", 0x20AC, {"\xE2\x82\xAC", 1, 1}},
      {"beyond the basic plane", "", 0x1F600, {"\xF0\x9F\x98\x80", 1, 1}},
      {"control character", "12.5", 2, {"12.5", 0, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const GridEditorOpening opening = OpenEditorText(c.Initial, c.Start);
    EXPECT_EQ(opening.Text, c.Expected.Text);
    EXPECT_EQ(opening.From, c.Expected.From);
    EXPECT_EQ(opening.To, c.Expected.To);
  }
}

TEST(GridEditorState, KeysEndTheEditByHowItStarted) {
  struct Case {
    const char* Name;
    unsigned Start;
    bool IsChar;
    int Key;
    Ostra::U32 Flags;
    GridEditorAction Action;
    int LastKey;
  };
  const unsigned typed = 'a';
  const unsigned mouse = GridEditStart::MouseOrF2;
  const Case cases[] = {
      {"right after typing", typed, false, GridKey::Right, 0, GridEditorAction::End, GridKey::Right},
      {"right after a click", mouse, false, GridKey::Right, 0, GridEditorAction::Pass, 0},
      {"ctrl right after a click", mouse, false, GridKey::Right, Ctrl, GridEditorAction::End, GridKey::Right},
      {"page down after typing", typed, false, GridKey::Next, 0, GridEditorAction::End, GridKey::Next},
      {"up after a continued edit", GridEditStart::FromKey(GridKey::Tab), false, GridKey::Up, 0,
       GridEditorAction::End, GridKey::Up},
      {"home never", typed, false, GridKey::Home, Ctrl, GridEditorAction::Pass, 0},
      {"end never", typed, false, GridKey::End, 0, GridEditorAction::Pass, 0},
      {"delete belongs to the text", typed, false, GridKey::Delete, 0, GridEditorAction::Pass, 0},
      {"tab", mouse, true, GridEditChar::Tab, Shift, GridEditorAction::End, GridKey::Tab},
      {"enter", mouse, true, GridEditChar::Enter, 0, GridEditorAction::End, 13},
      {"escape", typed, true, GridEditChar::Escape, 0, GridEditorAction::Cancel, GridKey::Escape},
      {"a letter", typed, true, 'q', 0, GridEditorAction::Pass, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    GridEditorState state(1, 1, "old", c.Start, {0, 0, 50, 20});
    const GridEditorAction action =
        c.IsChar ? state.OnChar(static_cast<unsigned>(c.Key), c.Flags) : state.OnKeyDown(c.Key, c.Flags);
    EXPECT_EQ(action, c.Action);
    EXPECT_EQ(state.GetLastKey(), c.LastKey);
    if (c.LastKey != 0) {
      EXPECT_EQ(state.GetLastFlags(), c.Flags);
    }
  }
}

TEST(GridEditorState, WidensToFitTheTextButNotPastTheClientEdge) {
  struct Case {
    const char* Name;
    int TextWidth;
    int ClientRight;
    bool Changed;
    int Right;
  };
  for (const Case& c : {Case{"fits", 40, 400, false, 60}, Case{"grows", 80, 400, true, 90},
                        Case{"stops at the edge", 1000, 200, true, 200},
                        Case{"already past the edge", 80, 50, false, 60}}) {
    SCOPED_TRACE(c.Name);
    GridEditorState state(1, 1, "", 'a', {10, 0, 60, 20});
    EXPECT_EQ(state.Widen(c.TextWidth, c.ClientRight), c.Changed);
    EXPECT_EQ(state.GetRect(), (GridRect{10, 0, c.Right, 20}));
  }
}

TEST(GridEditorState, AnEditorEndsOnceAndNeverInsideAnotherEnding) {
  GridEditorState first(1, 1, "", 'a', {});
  GridEditorState second(2, 1, "", 'a', {});
  ASSERT_TRUE(first.BeginEnd());
  // The focus moving to the next editor while the first reports must not end it.
  EXPECT_FALSE(second.BeginEnd());
  EXPECT_FALSE(second.HasEnded());
  first.FinishEnd();
  EXPECT_FALSE(first.BeginEnd());
  EXPECT_TRUE(second.BeginEnd());
  second.FinishEnd();
}

} // namespace

namespace {

TEST(GridTitleTip, ShowsOnlyForTextWiderThanItsAreaAndCoversTheWholeText) {
  struct Case {
    const char* Name;
    int XOffset;
    int TextWidth;
    bool Shown;
    GridRect Tip;
  };
  const GridRect title{100, 20, 150, 40};
  for (const Case& c : {Case{"fits", 0, 50, false, {}}, Case{"one pixel too wide", 0, 51, true, {100, 20, 151, 40}},
                        Case{"offset narrows the room", 2, 47, true, {102, 20, 153, 40}}}) {
    SCOPED_TRACE(c.Name);
    GridRect tip;
    EXPECT_EQ(GridTitleTipRect(title, c.XOffset, c.TextWidth, &tip), c.Shown);
    if (c.Shown) {
      EXPECT_EQ(tip, c.Tip);
    }
  }
}

} // namespace

// Real-window checks of the grid's in-place editor, clipboard, drop target and title tip.
// They need an X display (run under xvfb-run) and skip without one.

#include "GridCtrl/GridClipboard.h"
#include "GridCtrl/GridCtrl.h"
#include "GridCtrl/GridDropTarget.h"
#include "GridCtrl/InPlaceEdit.h"
#include "GridCtrl/TitleTip.h"

#include <gtest/gtest.h>

#include "TestSupport/GridTyping.h"
#include "TestSupport/WxTestApp.h"

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/init.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Ostra::Test::ClipboardTurn;
using Ostra::Test::StartWx;

wxKeyEvent Key(wxEventType type, int key_code, wxChar unicode = WXK_NONE, bool shift = false, bool ctrl = false) {
  wxKeyEvent event(type);
  event.m_keyCode = key_code;
  event.m_uniChar = unicode;
  event.SetShiftDown(shift);
  event.SetControlDown(ctrl);
  return event;
}

class GridEditWindow : public testing::Test {
protected:
  void SetUp() override {
    if (!StartWx())
      GTEST_SKIP() << "No X display: the window tests need one (DISPLAY is not set or cannot be opened).";
    Frame = new wxFrame(nullptr, wxID_ANY, "grid", wxDefaultPosition, wxSize(500, 400));
    Grid = new CGridCtrl(0, 0, 0, 0);
    ASSERT_TRUE(Grid->Create(Frame, 100, wxPoint(0, 0), wxSize(400, 300)));
    Frame->Bind(EVT_GRID_NOTIFY, [this](GridCtrlEvent& event) {
      Codes.push_back(event.GetCode());
      if (event.GetCode() == LVN_ENDLABELEDITA)
        EndEditTexts.push_back(Grid->GetItemText(event.GetRow(), event.GetCol()));
    });
    Grid->SetColumnCount(5);
    Grid->SetRowCount(6);
    Grid->SetFixedColumnCount(1);
    Grid->SetFixedRowCount(1);
    for (int row = 0; row < 6; ++row)
      for (int col = 0; col < 5; ++col)
        Grid->SetItemText(row, col, std::to_string(row * 10 + col));
    Frame->Show();
    Ostra::Test::SettleWx();
    // Xvfb has no window manager to give the application the focus.
    CTitleTip::HasFocusWindow = [] { return true; };
  }
  void TearDown() override {
    if (Frame != nullptr)
      Frame->Destroy();
    Ostra::Test::SettleWx();
  }
  // The open editor, found as the grid's child with the editor's id.
  CInPlaceEdit* Editor() const {
    for (wxWindow* child : Grid->GetChildren())
      if (auto* editor = dynamic_cast<CInPlaceEdit*>(child); editor != nullptr && !editor->GetState().HasEnded())
        return editor;
    return nullptr;
  }
  wxPoint Centre(int row, int col) const {
    GridRect rect;
    EXPECT_TRUE(Grid->GetCellRect(row, col, &rect));
    return {(rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2};
  }

  wxFrame* Frame = nullptr;
  CGridCtrl* Grid = nullptr;
  std::vector<int> Codes;
  std::vector<std::string> EndEditTexts;
};

TEST_F(GridEditWindow, TypingOpensTheEditorWithTheCharacterAndEnterCommits) {
  // A blank and '!' share their codes with navigation keys elsewhere; here they are text.
  for (const wxChar ch : {wxChar('7'), wxChar('!'), wxChar(' ')}) {
    SCOPED_TRACE(static_cast<int>(ch));
    Codes.clear();
    Grid->SetFocusCell(2, 2);
    wxKeyEvent typed = Key(wxEVT_CHAR, ch, ch);
    Grid->HandleChar(typed);
    CInPlaceEdit* editor = Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->GetValue(), wxString(ch));
    EXPECT_EQ(editor->GetId(), 8);
    EXPECT_EQ(Codes, std::vector<int>{LVN_BEGINLABELEDITA});
    wxKeyEvent enter = Key(wxEVT_CHAR, WXK_RETURN, WXK_RETURN);
    editor->HandleChar(enter);
    EXPECT_EQ(Codes, (std::vector<int>{LVN_BEGINLABELEDITA, LVN_ENDLABELEDITA}));
    EXPECT_EQ(Grid->GetItemText(2, 2), std::string(1, static_cast<char>(ch)));
    EXPECT_EQ(EndEditTexts.back(), std::string(1, static_cast<char>(ch)));
    Ostra::Test::SettleWx();
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_FALSE(Grid->GetCell(2, 2)->IsEditing());
  }
}

TEST_F(GridEditWindow, AnArrowEndsATypedEditAndGoesOnEditingWhereItMoved) {
  struct Case {
    int Key;
    CCellID To;
  };
  for (const Case& c : {Case{WXK_DOWN, {3, 2}}, Case{WXK_UP, {1, 2}}, Case{WXK_RIGHT, {2, 3}},
                        Case{WXK_LEFT, {2, 1}}}) {
    SCOPED_TRACE(c.Key);
    Grid->SetItemText(2, 2, "22");
    Grid->SetFocusCell(2, 2);
    Codes.clear();
    wxKeyEvent typed = Key(wxEVT_CHAR, '5', '5');
    Grid->HandleChar(typed);
    CInPlaceEdit* first = Editor();
    ASSERT_NE(first, nullptr);
    wxKeyEvent arrow = Key(wxEVT_KEY_DOWN, c.Key);
    first->HandleKeyDown(arrow);
    EXPECT_FALSE(arrow.GetSkipped());
    EXPECT_EQ(Grid->GetItemText(2, 2), "5");
    EXPECT_EQ(Grid->GetFocusCell(), c.To);
    CInPlaceEdit* next = Editor();
    ASSERT_NE(next, nullptr);
    EXPECT_NE(next, first);
    // The next cell opens with its own text, all of it selected.
    const std::string old_text = Grid->GetItemText(c.To.Row, c.To.Col);
    EXPECT_EQ(next->GetValue().utf8_string(), old_text);
    long from = 0;
    long to = 0;
    next->GetSelection(&from, &to);
    EXPECT_EQ(from, 0);
    EXPECT_EQ(to, static_cast<long>(old_text.size()));
    EXPECT_EQ(Codes, (std::vector<int>{LVN_BEGINLABELEDITA, LVN_ENDLABELEDITA, LVN_ITEMCHANGING,
                                       LVN_ITEMCHANGED, LVN_BEGINLABELEDITA}));
    next->EndEdit();
    Ostra::Test::SettleWx();
    ASSERT_EQ(Editor(), nullptr);
  }
}

TEST_F(GridEditWindow, EscapePutsTheOldTextBackAndSendsNoEndEdit) {
  Grid->SetFocusCell(3, 1);
  wxKeyEvent f2 = Key(wxEVT_KEY_DOWN, WXK_F2);
  Grid->HandleKeyDown(f2);
  CInPlaceEdit* editor = Editor();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->GetValue(), "31");
  EXPECT_EQ(editor->GetInsertionPoint(), 2);
  editor->ChangeValue("999");
  // A click start keeps arrows inside the text.
  wxKeyEvent right = Key(wxEVT_KEY_DOWN, WXK_RIGHT);
  editor->HandleKeyDown(right);
  EXPECT_EQ(Editor(), editor);
  EXPECT_TRUE(right.GetSkipped());
  // Down stays in the editor too, and must not go on to move the focus out of it.
  wxKeyEvent down = Key(wxEVT_KEY_DOWN, WXK_DOWN);
  editor->HandleKeyDown(down);
  EXPECT_EQ(Editor(), editor);
  EXPECT_FALSE(down.GetSkipped());
  wxKeyEvent escape = Key(wxEVT_CHAR, WXK_ESCAPE, WXK_ESCAPE);
  editor->HandleChar(escape);
  EXPECT_EQ(Codes, std::vector<int>{LVN_BEGINLABELEDITA});
  EXPECT_EQ(Grid->GetItemText(3, 1), "31");
  Ostra::Test::SettleWx();
  EXPECT_EQ(Editor(), nullptr);
}

TEST_F(GridEditWindow, TabCommitsAndGoesOnEditingTheNextCell) {
  Grid->SetFocusCell(1, 4);
  wxKeyEvent typed = Key(wxEVT_CHAR, '5', '5');
  Grid->HandleChar(typed);
  CInPlaceEdit* first = Editor();
  ASSERT_NE(first, nullptr);
  wxKeyEvent tab = Key(wxEVT_CHAR, WXK_TAB, WXK_TAB);
  first->HandleChar(tab);
  EXPECT_EQ(Grid->GetItemText(1, 4), "5");
  EXPECT_EQ(Grid->GetFocusCell(), CCellID(2, 1));
  CInPlaceEdit* next = Editor();
  ASSERT_NE(next, nullptr);
  EXPECT_NE(next, first);
  EXPECT_EQ(next->GetValue(), "21");
  long from = 0;
  long to = 0;
  next->GetSelection(&from, &to);
  EXPECT_EQ(from, 0);
  EXPECT_EQ(to, 2);
  EXPECT_EQ(Codes, (std::vector<int>{LVN_BEGINLABELEDITA, LVN_ENDLABELEDITA, LVN_ITEMCHANGING, LVN_ITEMCHANGED,
                                     LVN_BEGINLABELEDITA}));
  // Losing the focus is the other way an edit ends.
  next->ChangeValue("x");
  wxFocusEvent lost(wxEVT_KILL_FOCUS);
  next->HandleKillFocus(lost);
  EXPECT_EQ(Grid->GetItemText(2, 1), "x");
  Ostra::Test::SettleWx();
  EXPECT_EQ(Editor(), nullptr);
}

TEST_F(GridEditWindow, OnlyARealResizeEndsTheEdit) {
  Grid->SetFocusCell(1, 1);
  wxKeyEvent f2 = Key(wxEVT_KEY_DOWN, WXK_F2);
  Grid->HandleKeyDown(f2);
  ASSERT_NE(Editor(), nullptr);
  // GTK repeats the allocation when the editor appears.
  wxSizeEvent same(Grid->GetSize());
  Grid->HandleSize(same);
  ASSERT_NE(Editor(), nullptr);
  Grid->SetSize(300, 200);
  wxSizeEvent smaller(Grid->GetSize());
  Grid->HandleSize(smaller);
  EXPECT_EQ(Editor(), nullptr);
  Ostra::Test::SettleWx();
}

TEST_F(GridEditWindow, TheEditorWidensWithItsTextUpToTheClientEdge) {
  Grid->SetFocusCell(1, 1);
  wxKeyEvent f2 = Key(wxEVT_KEY_DOWN, WXK_F2);
  Grid->HandleKeyDown(f2);
  CInPlaceEdit* editor = Editor();
  ASSERT_NE(editor, nullptr);
  const int start = editor->GetSize().GetWidth();
  editor->WriteText("wider than any cell of this grid");
  EXPECT_GT(editor->GetSize().GetWidth(), start);
  editor->WriteText(wxString('W', 200));
  EXPECT_EQ(editor->GetRect().GetRight() + 1, Grid->GetClientSize().GetWidth());
  editor->EndEdit();
  Ostra::Test::SettleWx();
}

TEST_F(GridEditWindow, CopyAndPasteRoundTripThroughTheSystemClipboard) {
  const ClipboardTurn turn;
  Grid->SetSelectedRange(1, 1, 2, 2);
  EXPECT_TRUE(Grid->CanCopy());
  Grid->OnEditCopy();
  std::string text;
  ASSERT_TRUE(GetTextFromClipboard(&text));
  EXPECT_EQ(text, "11\t12\r\n21\t22");
  Grid->SetSelectedRange(4, 3, 4, 3);
  Codes.clear();
  Grid->OnEditPaste();
  EXPECT_EQ(Grid->GetItemText(4, 3), "11");
  EXPECT_EQ(Grid->GetItemText(4, 4), "12");
  EXPECT_EQ(Grid->GetItemText(5, 3), "21");
  EXPECT_EQ(Grid->GetItemText(5, 4), "22");
  EXPECT_EQ(Codes.size(), 8u);
  EXPECT_EQ(Grid->GetSelectedCellRange(), CCellRange(4, 3, 5, 4));
}

TEST_F(GridEditWindow, TheGridsEditKeysWorkOnTheSelectionThroughTheProtocol) {
  const ClipboardTurn turn;
  struct Case {
    const char* Name;
    int Key;
    bool Shift;
    bool Ctrl;
    std::string ClipboardAfter;
    std::string Left;
    std::string Right;
    std::vector<int> Codes;
  };
  const std::vector<int> two_edits{LVN_BEGINLABELEDITA, LVN_ENDLABELEDITA, LVN_BEGINLABELEDITA,
                                   LVN_ENDLABELEDITA};
  const Case cases[] = {
      {"ctrl c", 'C', false, true, "11\t12", "11", "12", {}},
      {"ctrl insert", WXK_INSERT, false, true, "11\t12", "11", "12", {}},
      {"ctrl x", 'X', false, true, "11\t12", "", "", two_edits},
      {"delete leaves the clipboard", WXK_DELETE, false, false, "p,q", "", "", two_edits},
      {"ctrl v", 'V', false, true, "p,q", "p", "q", two_edits},
      {"shift insert", WXK_INSERT, true, false, "p,q", "p", "q", two_edits},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Grid->SetItemText(1, 1, "11");
    Grid->SetItemText(1, 2, "12");
    ASSERT_TRUE(PutTextOnClipboard("p,q"));
    Grid->SetFocusCell(1, 1);
    Grid->SetSelectedRange(1, 1, 1, 2);
    Codes.clear();
    wxKeyEvent key = Key(wxEVT_KEY_DOWN, c.Key, WXK_NONE, c.Shift, c.Ctrl);
    Grid->HandleKeyDown(key);
    EXPECT_FALSE(key.GetSkipped());
    std::string clipboard;
    ASSERT_TRUE(GetTextFromClipboard(&clipboard));
    EXPECT_EQ(clipboard, c.ClipboardAfter);
    EXPECT_EQ(Grid->GetItemText(1, 1), c.Left);
    EXPECT_EQ(Grid->GetItemText(1, 2), c.Right);
    EXPECT_EQ(Codes, c.Codes);
  }
  wxKeyEvent select_all = Key(wxEVT_KEY_DOWN, 'A', WXK_NONE, false, true);
  Grid->HandleKeyDown(select_all);
  // Every cell but the headings.
  EXPECT_EQ(Grid->GetSelectedCount(), static_cast<std::size_t>((Grid->GetRowCount() - 1) * (Grid->GetColumnCount() - 1)));
}

TEST_F(GridEditWindow, WhileACellIsEditedTheEditCommandsActOnTheEditorsText) {
  const ClipboardTurn turn;
  Grid->SetFocusCell(1, 1);
  Grid->SetSelectedRange(1, 1, 2, 2);
  wxKeyEvent f2 = Key(wxEVT_KEY_DOWN, WXK_F2);
  Grid->HandleKeyDown(f2);
  CInPlaceEdit* editor = Editor();
  ASSERT_NE(editor, nullptr);
  Codes.clear();

  editor->SetSelection(0, 1);
  EXPECT_TRUE(Grid->CanCopy());
  EXPECT_TRUE(Grid->CanCut());
  Grid->OnEditCopy();
  std::string clipboard;
  ASSERT_TRUE(GetTextFromClipboard(&clipboard));
  EXPECT_EQ(clipboard, "1");
  Grid->OnEditCut();
  EXPECT_EQ(editor->GetValue(), "1");
  // The cells under the editor are untouched and the owner hears nothing yet.
  EXPECT_EQ(Grid->GetItemText(1, 2), "12");
  EXPECT_EQ(Grid->GetItemText(2, 2), "22");
  EXPECT_TRUE(Codes.empty());

  wxKeyEvent enter = Key(wxEVT_CHAR, WXK_RETURN, WXK_RETURN);
  editor->HandleChar(enter);
  EXPECT_EQ(Grid->GetItemText(1, 1), "1");
  EXPECT_EQ(Codes, std::vector<int>{LVN_ENDLABELEDITA});
  EXPECT_EQ(Grid->GetItemText(2, 2), "22");
  Ostra::Test::SettleWx();
}

TEST_F(GridEditWindow, ADropOfTextOnACellGoesThroughTheEditProtocol) {
  Grid->EnableDragAndDrop(true);
  auto* target = dynamic_cast<CGridDropTarget*>(Grid->GetDropTarget());
  ASSERT_NE(target, nullptr);
  const wxPoint at = Centre(3, 2);
  EXPECT_EQ(target->Enter(at.x, at.y, true), wxDragMove);
  EXPECT_NE(Grid->GetItemState(3, 2) & GridItemState::DropHighlighted, 0u);
  EXPECT_EQ(target->Drop(at.x, at.y, "a\tb"), wxDragMove);
  EXPECT_EQ(Grid->GetItemText(3, 2), "a");
  EXPECT_EQ(Grid->GetItemText(3, 3), "b");
  EXPECT_EQ(Grid->GetItemState(3, 2) & GridItemState::DropHighlighted, 0u);
  EXPECT_EQ(Codes, (std::vector<int>{LVN_BEGINLABELEDITA, LVN_ENDLABELEDITA, LVN_BEGINLABELEDITA,
                                     LVN_ENDLABELEDITA}));
  Grid->EnableDragAndDrop(false);
  EXPECT_EQ(target->Enter(at.x, at.y, true), wxDragNone);
}

TEST_F(GridEditWindow, NoTitleTipShowsWhileTheApplicationHasNoFocusWindow) {
  Grid->EnableTitleTips(true);
  Grid->SetItemText(2, 2, "a text far too long to fit in one narrow cell");
  CTitleTip::HasFocusWindow = [] { return false; };
  wxMouseEvent over_long(wxEVT_MOTION);
  over_long.SetPosition(Centre(2, 2));
  Grid->HandleMouse(over_long);
  EXPECT_TRUE(Grid->GetTitleTip() == nullptr || !Grid->GetTitleTip()->IsShowing());

  CTitleTip::HasFocusWindow = [] { return true; };
  Grid->HandleMouse(over_long);
  CTitleTip* tip = Grid->GetTitleTip();
  ASSERT_NE(tip, nullptr);
  ASSERT_TRUE(tip->IsShowing());
  // Losing the focus hides it at its next event.
  CTitleTip::HasFocusWindow = [] { return false; };
  wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
  tip->HandleMouse(wheel);
  EXPECT_FALSE(tip->IsShowing());
}

TEST_F(GridEditWindow, ATitleTipShowsOnlyCutOffTextAndPassesClicksOn) {
  Grid->EnableTitleTips(true);
  Grid->SetItemText(2, 2, "a text far too long to fit in one narrow cell");
  const wxPoint fits = Centre(2, 1);
  wxMouseEvent over_short(wxEVT_MOTION);
  over_short.SetPosition(fits);
  Grid->HandleMouse(over_short);
  EXPECT_TRUE(Grid->GetTitleTip() == nullptr || !Grid->GetTitleTip()->IsShowing());

  const wxPoint cut_off = Centre(2, 2);
  wxMouseEvent over_long(wxEVT_MOTION);
  over_long.SetPosition(cut_off);
  Grid->HandleMouse(over_long);
  CTitleTip* tip = Grid->GetTitleTip();
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(tip->IsShowing());
  GridRect cell;
  ASSERT_TRUE(Grid->GetCellRect(2, 2, &cell));
  EXPECT_GT(tip->GetSize().GetWidth(), cell.Width());

  // A key hides it.
  wxKeyEvent shift = Key(wxEVT_KEY_DOWN, WXK_SHIFT);
  Grid->HandleKeyDown(shift);
  EXPECT_FALSE(tip->IsShowing());
  Grid->HandleMouse(over_long);
  ASSERT_TRUE(tip->IsShowing());

  // A press on the tip hides it and reaches the cell beneath.
  wxMouseEvent press(wxEVT_LEFT_DOWN);
  press.SetPosition(tip->ScreenToClient(Grid->ClientToScreen(cut_off)));
  press.SetLeftDown(true);
  tip->HandleMouse(press);
  EXPECT_FALSE(tip->IsShowing());
  wxMouseEvent release(wxEVT_LEFT_UP);
  release.SetPosition(cut_off);
  Grid->HandleMouse(release);
  EXPECT_EQ(Grid->GetFocusCell(), CCellID(2, 2));
}

} // namespace

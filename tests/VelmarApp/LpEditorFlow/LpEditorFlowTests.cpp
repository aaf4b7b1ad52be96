// The LP grid in the running editor: race.lp opening with its track, a value typed into
// a cell, a pasted block, saving and reopening, closing without saving and reopening.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <wx/mdi.h>
#include <wx/uiaction.h>

#include "DocView/Core/LpCells.h"
#include "GridCtrl/GridClipboard.h"
#include "GridCtrl/GridCtrl.h"
#include "GridCtrl/InPlaceEdit.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "TestSupport/EditorTestApp.h"
#include "TestSupport/GridTyping.h"
#include "TestSupport/TempDir.h"
#include "Velmar/App/LpDocVelmar.h"
#include "Velmar/App/LpViewVelmar.h"
#include "Velmar/App/MainFrame.h"
#include "Velmar/App/TrkDocVelmar.h"
#include "Velmar/App/VelmarApp.h"

namespace Ostra::Test {
namespace {

using DocView::FormatCellDouble;
using Velmar::CLpDocVelmar;
using Velmar::CLpViewVelmar;

// A menu command as the main window delivers it, to the window in front.
void Menu(wxMDIChildFrame* front, int id) {
  front->Activate();
  SettleWx();
  wxCommandEvent event(wxEVT_MENU, id);
  event.SetEventObject(EditorApp().GetMainFrame());
  EditorApp().GetMainFrame()->ProcessWindowEvent(event);
  SettleWx();
}

// Keys typed through the display, as a user types them, with the pointer over window.
void Type(wxWindow* window, int key, int modifiers) {
  wxUIActionSimulator keyboard;
  keyboard.MouseMove(window->GetScreenPosition() + window->GetSize() / 2);
  SettleWx();
  keyboard.Char(key, modifiers);
  for (int i = 0; i < 10; ++i, wxMilliSleep(20))
    SettleWx();
}

// Text typed into the focused cell through the display at a person's pace, then Return.
void TypeSlowly(wxWindow* grid, const std::string& text) {
  for (const char c : text)
    Type(grid, static_cast<unsigned char>(c), wxMOD_NONE);
  Type(grid, WXK_RETURN, wxMOD_NONE);
}

class LpEditorFlow : public EditorTest {
protected:
  static CLpDocVelmar* RaceLp() {
    return dynamic_cast<CLpDocVelmar*>(FindOpenDocument(EditorSamples().Gpl + "race.lp"));
  }
};

TEST_F(LpEditorFlow, RaceLpIsEditedInItsGridSavedAndReopened) {
  const ClipboardTurn turn;
  const std::string path = EditorSamples().Gpl + "race.lp";
  ASSERT_NE(OpenAsUser(EditorSamples().GplTrack), nullptr) << EditorMessages().Joined();
  CLpDocVelmar* doc = RaceLp();
  ASSERT_NE(doc, nullptr);
  auto* view = FindView<CLpViewVelmar>(doc);
  ASSERT_NE(view, nullptr);
  CGridCtrl* grid = view->GetGridCtrl();
  auto* frame = dynamic_cast<wxMDIChildFrame*>(view->GetFrame());
  ASSERT_NE(frame, nullptr);
  const Util::CountedPtr<Papy::LpFile> lp = doc->GetLpFile();

  // One row per record under the GPL headers.
  ASSERT_EQ(grid->GetRowCount(), static_cast<int>(lp->GetRecordCount()) + 1);
  EXPECT_EQ(grid->GetColumnCount(), 22);
  EXPECT_EQ(grid->GetItemText(0, view->LatitudeColumn), "Latitude");
  EXPECT_EQ(grid->GetItemText(8, view->LatitudeColumn), FormatCellDouble(lp->GetRecordLatitude(7)));

  // The first edits of the fresh LP, typed key by key: every character reaches the LP.
  const int lat = view->LatitudeColumn;
  frame->Activate();
  grid->SetFocus();
  grid->SetFocusCell(1, lat);
  TypeSlowly(grid, "2.75");
  EXPECT_EQ(lp->GetRecordLatitude(0), 2.75);
  EXPECT_EQ(frame->GetTitle(), "race.lp*");
  grid->SetFocusCell(8, lat);
  TypeSlowly(grid, "-1.5");
  EXPECT_EQ(lp->GetRecordLatitude(7), -1.5);
  // Text that is only partly a number is refused and the cell shows the stored value.
  TypeSlowly(grid, "0,25");
  EXPECT_EQ(lp->GetRecordLatitude(7), -1.5);
  EXPECT_EQ(grid->GetItemText(8, lat), FormatCellDouble(-1.5));
  EXPECT_EQ(
      EditorMessages().Shown,
      std::vector<std::string>{
          "\"0,25\" is not a number. Please type a number with a point as its decimal mark."});
  EditorMessages().Shown.clear();
  // AltGr, which the toolkit reports as Ctrl+Alt, types a character into the cell.
  Type(grid, '5', wxMOD_ALT | wxMOD_CONTROL);
  EXPECT_EQ(grid->GetChildren().size(), 1u);
  Type(grid, WXK_ESCAPE, wxMOD_NONE);

  // Alt+E in a cell opens the Edit menu; no editor opens and the LP stays as it was.
  doc->Modify(false);
  wxMenuBar* menus = frame->GetMenuBar();
  const int edit_menu = menus->FindMenu("Edit");
  ASSERT_NE(edit_menu, wxNOT_FOUND);
  wxMenu* opened = nullptr;
  const auto note_menu = [&](wxMenuEvent& event) {
    opened = event.GetMenu();
    event.Skip();
  };
  EditorApp().GetMainFrame()->Bind(wxEVT_MENU_OPEN, note_menu);
  Type(grid, 'e', wxMOD_ALT);
  Type(grid, WXK_ESCAPE, wxMOD_NONE);
  EditorApp().GetMainFrame()->Unbind(wxEVT_MENU_OPEN, note_menu);
  EXPECT_EQ(opened, menus->GetMenu(edit_menu));
  EXPECT_EQ(grid->GetChildren().size(), 0u);
  EXPECT_FALSE(doc->IsModified());

  // A pasted block: every cell announced and written on its own, row by row.
  std::vector<std::pair<int, int>> written;
  view->Bind(EVT_GRID_NOTIFY, [&](GridCtrlEvent& event) {
    if (event.GetCode() == LVN_ENDLABELEDITA)
      written.emplace_back(event.GetRow(), event.GetCol());
    event.Skip();
  });
  ASSERT_TRUE(PutTextOnClipboard("1.25\t90\r\n-1.5\t180"));
  grid->SetSelectedRange(10, lat, 10, lat);
  Menu(frame, wxID_PASTE);
  EXPECT_EQ(written, (std::vector<std::pair<int, int>>{{10, lat}, {10, lat + 1}, {11, lat}, {11, lat + 1}}));
  EXPECT_NEAR(lp->GetRecordLatitude(9), 1.25, 1e-3);
  EXPECT_NEAR(lp->GetRecordLongitudinalSpeed(9), 25.0, 0.01);
  EXPECT_NEAR(lp->GetRecordLatitude(10), -1.5, 1e-3);
  EXPECT_NEAR(lp->GetRecordLongitudinalSpeed(10), 50.0, 0.01);

  Menu(frame, wxID_SAVE);
  EXPECT_FALSE(doc->IsModified());
  EXPECT_TRUE(EditorMessages().Shown.empty()) << EditorMessages().Joined();

  // Reopened in a fresh session (no cached files), the saved values show.
  CloseAllDocuments();
  Papy::FileFactoryRegistry::Instance().Clear();
  auto* reopened = dynamic_cast<CLpDocVelmar*>(OpenAsUser(path));
  ASSERT_NE(reopened, nullptr) << EditorMessages().Joined();
  auto* again = FindView<CLpViewVelmar>(reopened);
  EXPECT_NE(reopened->GetLpFile(), lp);
  EXPECT_EQ(reopened->GetLpFile()->GetRecordLatitude(0), 2.75);
  EXPECT_EQ(reopened->GetLpFile()->GetRecordLatitude(7), -1.5);
  EXPECT_EQ(again->GetGridCtrl()->GetItemText(8, again->LatitudeColumn),
            FormatCellDouble(reopened->GetLpFile()->GetRecordLatitude(7)));
  EXPECT_NEAR(reopened->GetLpFile()->GetRecordLatitude(10), -1.5, 1e-3);

  // Edited again and closed without saving: opened again, it shows the file.
  const std::string saved = again->GetGridCtrl()->GetItemText(8, again->LatitudeColumn);
  dynamic_cast<wxMDIChildFrame*>(again->GetFrame())->Activate(); // the user brings its tab to the front
  SettleWx();
  ASSERT_TRUE(TypeIntoCell(again->GetGridCtrl(), 8, again->LatitudeColumn, "7"));
  EXPECT_NEAR(reopened->GetLpFile()->GetRecordLatitude(7), 7.0, 1e-3);
  reopened->Modify(false); // the user's No to saving the changes
  again->GetGridCtrl()->SetFocus();
  Type(again->GetGridCtrl(), 'w', wxMOD_CONTROL); // File > Close's shortcut, from the grid
  EXPECT_EQ(FindOpenDocument(path), nullptr);
  auto* third = dynamic_cast<CLpDocVelmar*>(OpenAsUser(path));
  ASSERT_NE(third, nullptr) << EditorMessages().Joined();
  EXPECT_EQ(third->GetLpFile()->GetRecordLatitude(7), -1.5);
  auto* thirdView = FindView<CLpViewVelmar>(third);
  EXPECT_EQ(thirdView->GetGridCtrl()->GetItemText(8, thirdView->LatitudeColumn), saved);
  EXPECT_TRUE(EditorMessages().Shown.empty()) << EditorMessages().Joined();
}

} // namespace
} // namespace Ostra::Test

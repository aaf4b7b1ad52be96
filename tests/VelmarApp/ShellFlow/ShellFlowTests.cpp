#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <wx/fileconf.h>
#include <wx/filehistory.h>
#include <wx/menu.h>
#include <wx/mdi.h>
#include <wx/statusbr.h>

#include "DocView/Core/CommandIds.h"
#include "DocView/DocManagerMultiOpen.h"
#include "DocView/LpDoc.h"
#include "DocView/TrkSplitterFrame.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "TestSupport/EditorTestApp.h"
#include "TestSupport/TempDir.h"
#include "Velmar/App/AboutDlg.h"
#include "Velmar/App/LpDocVelmar.h"
#include "Velmar/App/MainFrame.h"
#include "Velmar/App/TrkDocVelmar.h"
#include "Velmar/App/VelmarApp.h"

namespace Ostra::Test {
namespace {

namespace fs = std::filesystem;
using DocView::QuestionAnswer;

class ShellFlow : public EditorTest {
protected:
  static void SendMenu(int id) {
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(EditorApp().GetMainFrame());
    EditorApp().GetMainFrame()->ProcessWindowEvent(event);
    SettleWx();
  }

  // Records the ids of the menu commands that the windows are sent.
  struct CommandRecorder : wxEventFilter {
    CommandRecorder() { wxEvtHandler::AddFilter(this); }
    ~CommandRecorder() override { wxEvtHandler::RemoveFilter(this); }
    int FilterEvent(wxEvent& event) override {
      if (event.GetEventType() == wxEVT_MENU && (Ids.empty() || Ids.back() != event.GetId()))
        Ids.push_back(event.GetId());
      return Event_Skip;
    }
    std::vector<int> Ids;
  };

  static DocView::CTrkSplitterFrame* TrackFrame(wxDocument* doc) {
    return doc == nullptr ? nullptr : dynamic_cast<DocView::CTrkSplitterFrame*>(doc->GetFirstView()->GetFrame());
  }

  // A copy of the GPL sample's track in another folder, with the race line when the
  // track is named after the folder (a GPL line needs the folder's own track).
  static std::string CopyGplSample(const TempDir& dir, const std::string& folder, const std::string& name) {
    const fs::path to = fs::path(dir.Path()) / folder;
    fs::create_directories(to);
    fs::copy_file(EditorSamples().GplTrack, to / (name + ".trk"));
    if (name == folder)
      fs::copy_file(EditorSamples().Gpl + "race.lp", to / "race.lp");
    return (to / (name + ".trk")).string();
  }
};

TEST_F(ShellFlow, EachSampleOpensWithThreePanesAndItsRaceLpBehind) {
  const Velmar::SampleFolders& samples = EditorSamples();
  for (const std::string& path : {samples.GplTrack, samples.N2Track, samples.N4Track}) {
    SCOPED_TRACE(path);
    auto* track = dynamic_cast<Velmar::CTrkDocVelmar*>(OpenAsUser(path));
    ASSERT_NE(track, nullptr) << EditorMessages().Joined();
    EXPECT_TRUE(EditorMessages().Shown.empty()) << EditorMessages().Joined();
    ASSERT_TRUE(track->GetTrack());
    EXPECT_EQ(track->GetViews().GetCount(), 3u);

    DocView::CTrkSplitterFrame* frame = TrackFrame(track);
    ASSERT_NE(frame, nullptr);
    for (int column = 0; column < 3; ++column)
      EXPECT_NE(frame->GetPaneWindow(column), nullptr);

    ASSERT_EQ(track->GetLpDocumentCount(), 1);
    wxDocument* race = track->GetLpDocument(0);
    EXPECT_TRUE(wxString(race->GetFilename()).EndsWith("race.lp"));
    // The track stays in front, and its view is the one commands go to.
    EXPECT_EQ(ActiveChildFrame(), frame);
    EXPECT_NE(race->GetFirstView()->GetFrame(), frame);
    EXPECT_EQ(EditorApp().GetDocManager()->GetCurrentDocument(), track);
    CloseAllDocuments();
    EXPECT_TRUE(OpenDocuments().empty());
  }
}

TEST_F(ShellFlow, StartsEmptyAndOpensCommandLineFiles) {
  Velmar::CMainFrame* main = EditorApp().GetMainFrame();
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(main->IsShown());
  EXPECT_TRUE(OpenDocuments().empty());
  EXPECT_EQ(main->GetTitle(), "Velmar");
  ASSERT_NE(main->GetStatusBar(), nullptr);
  EXPECT_EQ(main->GetStatusBar()->GetFieldsCount(), 4);
  EXPECT_EQ(main->GetStatusBar()->GetStatusText(0), "Ready");
  ASSERT_NE(main->GetMenuBar(), nullptr);
  EXPECT_EQ(main->GetMenuBar()->GetMenuCount(), 3u);

  // The command line's files open as File > Open would; a relative name is taken
  // from the current folder.
  const fs::path before = fs::current_path();
  fs::current_path(EditorSamples().N2);
  EXPECT_TRUE(EditorApp().OpenStartupFiles({"n2.trk"}));
  fs::current_path(before);
  EXPECT_NE(FindOpenDocument(EditorSamples().N2Track), nullptr);
  // One that fails ends the start-up.
  EXPECT_FALSE(EditorApp().OpenStartupFiles({EditorSamples().Gpl + "missing.trk"}));
  EXPECT_FALSE(EditorMessages().Shown.empty());
  // Over the main window, shown first: a GPL LP whose folder lacks the track named after it.
  TempDir dir;
  CopyGplSample(dir, "s", "oval");
  fs::copy_file(EditorSamples().Gpl + "race.lp", dir / "s/race.lp");
  main->Hide();
  EXPECT_FALSE(EditorApp().OpenStartupFiles({wxString::FromUTF8(dir / "s/race.lp")}));
  EXPECT_TRUE(main->IsShown());
  EXPECT_EQ(EditorMessages().Shown.back(), "Couldn't open " + (dir / "s/race.lp") +
                                               "\nIts folder's track s.trk is missing: a GPL LP needs the track "
                                               "named after its folder.\n");
}

TEST_F(ShellFlow, OpeningAnOpenPathActivatesItAndADatOpensItsTrk) {
  TempDir dir;
  const std::string oval = CopyGplSample(dir, "monza", "oval");
  // X.dat opens the folder's X.trk but keeps its own name.
  std::ofstream(dir / "monza/oval.dat") << "";
  wxDocument* from_dat = OpenAsUser(dir / "monza/oval.dat");
  ASSERT_NE(from_dat, nullptr) << EditorMessages().Joined();
  EXPECT_EQ(from_dat->GetUserReadableName(), "oval.dat");

  wxDocument* gpl = OpenAsUser(EditorSamples().GplTrack);
  ASSERT_NE(gpl, nullptr);
  EXPECT_EQ(ActiveChildFrame(), TrackFrame(gpl));
  const std::size_t open = OpenDocuments().size();
  EXPECT_EQ(OpenAsUser(dir / "monza/oval.dat"), from_dat);
  EXPECT_EQ(OpenDocuments().size(), open);
  EXPECT_EQ(ActiveChildFrame(), TrackFrame(from_dat));

  // Another letter case, a symbolic link, "." and "..": the same file, the same tab.
  wxDocument* race = FindOpenDocument(EditorSamples().Gpl + "race.lp");
  ASSERT_NE(race, nullptr);
  fs::create_symlink(EditorSamples().Gpl + "race.lp", dir / "line.lp");
  fs::create_directory_symlink(dir / "monza", dir / "link");
  const std::pair<std::string, wxDocument*> names[] = {
      {EditorSamples().Gpl + "RACE.LP", race}, {dir / "MONZA/Oval.Dat", from_dat},
      {dir / "line.lp", race}, {dir / "link/./missing/../oval.dat", from_dat}};
  for (const auto& [name, doc] : names) {
    OpenAsUser(name);
    EXPECT_EQ(OpenDocuments().size(), open) << name;
    EXPECT_EQ(ActiveChildFrame(), doc->GetFirstView()->GetFrame()) << name;
  }
  EXPECT_TRUE(EditorMessages().Shown.empty()) << EditorMessages().Joined();
}

TEST_F(ShellFlow, OpenTakesSeveralFilesAndOneFailureStopsNoOther) {
  TempDir dir;
  const std::string damaged = CopyGplSample(dir, "damaged", "damaged");
  {
    // A version the GPL reader does not know.
    std::fstream file(damaged, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(4);
    file.put('\x01');
  }
  // While the message is up, the failed document's window is gone.
  struct WindowsAtMessage : RecordingMessages {
    void Show(const std::string&, DocView::MessageParent) override {
      SettleWx();
      Seen.push_back(EditorApp().GetMainFrame()->GetTitle().utf8_string());
    }
    std::vector<std::string> Seen;
  } windows;
  DocView::UserMessages* const recording = DocView::SetUserMessages(&windows);
  OpenAsUser(damaged);
  DocView::SetUserMessages(recording);
  EXPECT_EQ(windows.Seen, std::vector<std::string>{"Velmar"});

  OpenAsUser({damaged, EditorSamples().N4Track, EditorSamples().Gpl + "race.lp"});
  EXPECT_EQ(FindOpenDocument(damaged), nullptr);
  ASSERT_EQ(EditorMessages().Shown.size(), 1u);
  EXPECT_TRUE(EditorMessages().Contains("GPL trk file version")) << EditorMessages().Joined();
  EXPECT_NE(FindOpenDocument(EditorSamples().N4Track), nullptr);
  EXPECT_NE(FindOpenDocument(EditorSamples().Gpl + "race.lp"), nullptr);

  // The editor carries on: the sample itself still opens.
  EditorMessages().Clear();
  EXPECT_NE(OpenAsUser(EditorSamples().GplTrack), nullptr);
  EXPECT_TRUE(EditorMessages().Shown.empty()) << EditorMessages().Joined();

  // A file read through another is named first: a .dat, a .trk in an N4 folder, a lap curve.
  fs::copy(EditorSamples().N4, dir / "n4", fs::copy_options::recursive);
  for (const char* file : {"n4/old.trk", "damaged/random.dat", "c/x.lcv"})
    dir.WriteFile(file, "");
  OpenAsUser({dir / "damaged/random.dat", dir / "n4/old.trk", dir / "c/x.lcv"});
  const std::string nowhere = ", which is neither in the folder nor in the folder's archive.\n";
  EXPECT_EQ(EditorMessages().Shown,
            (std::vector<std::string>{
                "Couldn't open " + (dir / "damaged/random.dat") + "\nIts track is read from random.trk" + nowhere,
                "Couldn't open " + (dir / "n4/old.trk") + "\nIts track is read from old.ptf" + nowhere,
                "Couldn't open " + (dir / "c/x.lcv") +
                    "\nIts folder's track c.trk is missing: a lap curve needs the track named after its folder.\n"}));
}

// A lone LP opens behind the track in front and links to it; closing the track then
// closes its unchanged LPs only.
TEST_F(ShellFlow, ALoneLpOpensBehindItsTrackWhichClosesItsUnchangedLpsOnly) {
  auto* track = dynamic_cast<Velmar::CTrkDocVelmar*>(OpenAsUser(EditorSamples().N4Track));
  ASSERT_NE(track, nullptr);
  wxDocument* line = OpenAsUser(EditorSamples().N4 + "raceline.lp");
  ASSERT_NE(line, nullptr) << EditorMessages().Joined();
  EXPECT_EQ(ActiveChildFrame(), TrackFrame(track));
  EXPECT_EQ(EditorApp().GetDocManager()->GetCurrentDocument(), track);
  EXPECT_EQ(EditorApp().GetMainFrame()->GetTitle().utf8_string(), "Velmar - n4.ptf");
  // It is linked to the track of its folder, newest first.
  ASSERT_EQ(track->GetLpDocumentCount(), 2);
  EXPECT_EQ(track->GetLpDocument(0), line);
  // Asked to come forward later, it does, and the title follows.
  line->Activate();
  SettleWx();
  EXPECT_EQ(ActiveChildFrame(), line->GetFirstView()->GetFrame());
  EXPECT_EQ(EditorApp().GetMainFrame()->GetTitle().utf8_string(), "Velmar - raceline.lp");

  line->Modify(true);
  TrackFrame(track)->Close();
  SettleWx();
  EXPECT_EQ(FindOpenDocument(EditorSamples().N4Track), nullptr);
  EXPECT_EQ(FindOpenDocument(EditorSamples().N4 + "race.lp"), nullptr);
  EXPECT_EQ(FindOpenDocument(EditorSamples().N4 + "raceline.lp"), line);
  line->Modify(false);
}

// Closing a changed LP, or everything as the main window's close does, asks first: Cancel
// keeps every document as it was, No closes without writing (and the next open shows
// the file), Yes writes the changes and closes.
TEST_F(ShellFlow, UnsavedChangesAreAskedAboutBeforeAnythingCloses) {
  TempDir dir;
  const std::string track_path = CopyGplSample(dir, "asked", "asked");
  const std::string lp_path = dir / "asked/race.lp";
  const auto race_lp = [&] { return dynamic_cast<DocView::CLpDoc*>(FindOpenDocument(lp_path)); };
  const auto file_latitude = [&] {
    auto* lp = dynamic_cast<DocView::CLpDoc*>(OpenAsUser(lp_path));
    return lp != nullptr ? lp->GetLpFile()->GetRecordLatitude(3) : -999.0;
  };
  const std::string question = "Do you want to save changes to race.lp?";
  ASSERT_NE(OpenAsUser(track_path), nullptr) << EditorMessages().Joined();
  ASSERT_NE(OpenAsUser(EditorSamples().N4Track), nullptr);
  ASSERT_NE(race_lp(), nullptr);
  const double original = race_lp()->GetLpFile()->GetRecordLatitude(3);
  const std::size_t open = OpenDocuments().size();

  race_lp()->SetRecordLatitude(3, original + 1.0);
  ASSERT_TRUE(race_lp()->IsModified());
  EditorMessages().Answers = {QuestionAnswer::Cancel};
  EXPECT_FALSE(EditorApp().GetMainFrame()->Close(false));
  SettleWx();
  EXPECT_EQ(EditorMessages().Asked, std::vector<std::string>{question});
  EXPECT_EQ(OpenDocuments().size(), open);
  ASSERT_NE(race_lp(), nullptr);
  EXPECT_TRUE(race_lp()->IsModified());
  // Its own tab asks the same.
  EditorMessages().Answers = {QuestionAnswer::Cancel};
  race_lp()->GetFirstView()->GetFrame()->Close();
  SettleWx();
  ASSERT_NE(race_lp(), nullptr);
  EXPECT_TRUE(race_lp()->IsModified());

  EditorMessages().Clear();
  EditorMessages().Answers = {QuestionAnswer::No};
  EXPECT_TRUE(EditorApp().GetDocManager()->CloseAllDocumentsSafely(false));
  SettleWx();
  EXPECT_TRUE(OpenDocuments().empty());
  EXPECT_EQ(EditorMessages().Asked, std::vector<std::string>{question});
  EXPECT_DOUBLE_EQ(file_latitude(), original);

  race_lp()->SetRecordLatitude(3, original + 2.0);
  EditorMessages().Clear();
  EditorMessages().Answers = {QuestionAnswer::Yes};
  race_lp()->GetFirstView()->GetFrame()->Close();
  SettleWx();
  EXPECT_EQ(race_lp(), nullptr);
  EXPECT_EQ(EditorMessages().Asked, std::vector<std::string>{question});
  EXPECT_TRUE(EditorMessages().Shown.empty()) << EditorMessages().Joined();
  EXPECT_NEAR(file_latitude(), original + 2.0, 1e-3);
}

// Save As onto the file of another open LP: one file is never two documents. The other
// LP's unsaved changes go only when the user agrees, and it closes before the write.
TEST_F(ShellFlow, SaveAsOntoAnotherOpenLpAsksAndReplacesIt) {
  TempDir dir;
  CopyGplSample(dir, "s", "s");
  const std::string race = dir / "s/race.lp", line = dir / "s/line.lp";
  fs::copy_file(race, line);
  auto* from = dynamic_cast<DocView::CLpDoc*>(OpenAsUser(race));
  auto* onto = dynamic_cast<DocView::CLpDoc*>(OpenAsUser(line));
  ASSERT_NE(from, nullptr) << EditorMessages().Joined();
  ASSERT_NE(onto, nullptr);
  from->SetRecordLatitude(0, 1.5);
  onto->SetRecordLatitude(0, -2.5);
  EditorApp().GetDocManager()->SetSavePrompt(
      [&](wxWindow*, const wxString&, const wxString&, const wxString&) { return wxString::FromUTF8(line); });
  // No keeps line.lp's changes: nothing is written or closed.
  EXPECT_FALSE(from->SaveAs());
  EXPECT_EQ(EditorMessages().Asked, std::vector<std::string>{"line.lp is open with changes that were not saved.\n"
                                                             "Discard them and replace it with the new file?"});
  EXPECT_EQ(FindOpenDocument(line), onto);
  // Yes: line.lp closes, then race.lp's line is written under its name.
  EditorMessages().Answers = {QuestionAnswer::Yes};
  EXPECT_TRUE(from->SaveAs());
  SettleWx();
  EXPECT_EQ(OpenDocuments(), std::vector<wxDocument*>{from});
  EXPECT_EQ(FindOpenDocument(line), from);
  CloseAllDocuments();
  Papy::FileFactoryRegistry::Instance().Clear();
  auto* saved = dynamic_cast<DocView::CLpDoc*>(OpenAsUser(line));
  ASSERT_NE(saved, nullptr) << EditorMessages().Joined();
  EXPECT_EQ(saved->GetLpFile()->GetRecordLatitude(0), 1.5);
}

TEST_F(ShellFlow, NewOffersTheThreeKindsAndANewTrackClosesNoLps) {
  ASSERT_NE(OpenAsUser(EditorSamples().GplTrack), nullptr);
  wxArrayString offered;
  int choice = -1;
  EditorApp().GetDocManager()->SetTypeChooser([&](const wxArrayString& descriptions) {
    offered = descriptions;
    return choice;
  });
  SendMenu(wxID_NEW);
  ASSERT_EQ(offered.size(), 3u);
  EXPECT_EQ(offered[0], "Track File");
  EXPECT_EQ(offered[1], "Lap File");
  EXPECT_EQ(offered[2], "Lap Curve File");
  EXPECT_EQ(OpenDocuments().size(), 2u); // cancelled

  choice = 0;
  SendMenu(wxID_NEW);
  auto* untitled = dynamic_cast<Velmar::CTrkDocVelmar*>(EditorApp().GetDocManager()->GetCurrentDocument());
  ASSERT_NE(untitled, nullptr);
  EXPECT_FALSE(untitled->GetTrack());
  EXPECT_TRUE(untitled->GetUserReadableName().StartsWith("Untitled"));
  EXPECT_EQ(untitled->GetLpDocumentCount(), 0);
  // Ctrl+S in a track window writes nothing: the track is never saved.
  SendMenu(wxID_SAVE);
  TempDir dir;
  EXPECT_FALSE(untitled->OnSaveDocument(wxString::FromUTF8(dir / "empty.trk")));
  EXPECT_FALSE(fs::exists(dir / "empty.trk"));
  TrackFrame(untitled)->Close();
  SettleWx();
  EXPECT_NE(FindOpenDocument(EditorSamples().Gpl + "race.lp"), nullptr);
  EditorApp().GetDocManager()->SetTypeChooser([](const wxArrayString&) { return -1; });
}

TEST_F(ShellFlow, TheRecentFileListHoldsTracksOnlyAndPersists) {
  const std::string settings = EditorApp().SettingsFile;
  ASSERT_FALSE(settings.empty());
  EXPECT_EQ(settings.rfind(std::getenv("XDG_CONFIG_HOME"), 0), 0u);
  ASSERT_NE(OpenAsUser(EditorSamples().GplTrack), nullptr);
  ASSERT_NE(OpenAsUser(EditorSamples().N2Track), nullptr);

  // What the next run will load.
  wxFileConfig saved("Velmar", "Ostra", wxString::FromUTF8(settings), wxEmptyString, wxCONFIG_USE_LOCAL_FILE);
  saved.SetPath("/RecentFiles");
  wxFileHistory next_run(DocView::CDocManagerMultiOpen::RecentFileCount);
  next_run.Load(saved);
  ASSERT_GE(next_run.GetCount(), 2u);
  EXPECT_EQ(next_run.GetHistoryFile(0), wxString::FromUTF8(EditorSamples().N2Track));
  EXPECT_EQ(next_run.GetHistoryFile(1), wxString::FromUTF8(EditorSamples().GplTrack));
  for (size_t i = 0; i < next_run.GetCount(); ++i)
    EXPECT_FALSE(next_run.GetHistoryFile(i).EndsWith(".lp"));

  // The first entry reopens its track.
  CloseAllDocuments();
  SendMenu(wxID_FILE1);
  EXPECT_NE(FindOpenDocument(EditorSamples().N2Track), nullptr);
  // An entry that no longer opens leaves the list.
  TempDir dir;
  const std::string gone = dir / "gone/gone.trk";
  EditorApp().GetDocManager()->AddTrackToHistory(wxString::FromUTF8(gone));
  wxFileHistory* history = EditorApp().GetDocManager()->GetFileHistory();
  ASSERT_EQ(history->GetHistoryFile(0), wxString::FromUTF8(gone));
  SendMenu(wxID_FILE1);
  EXPECT_FALSE(EditorMessages().Shown.empty());
  EXPECT_NE(history->GetHistoryFile(0), wxString::FromUTF8(gone));
  EXPECT_EQ(history->GetMaxFiles(), 4u);
}

TEST_F(ShellFlow, HelpOpensTheHelpFileOrSaysItCannot) {
  TempDir dir;
  Velmar::CVelmarApp& app = EditorApp();
  const std::string program = app.ProgramPath, resources = app.ResourcesDir;
  std::vector<std::string> launched;
  bool launches = true;
  app.HelpLauncher = [&](const std::string& path) {
    launched.push_back(path);
    return launches;
  };
  app.ProgramPath = dir / "bin.d/velmar";
  app.ResourcesDir = dir / "share";
  SendMenu(DocView::ID_HELP_CONTENTS);
  EXPECT_EQ(EditorMessages().Shown, std::vector<std::string>{"Could not launch help"});
  EXPECT_TRUE(launched.empty());

  EditorMessages().Clear();
  dir.WriteFile("share/velmar.pdf", "%PDF");
  SendMenu(DocView::ID_HELP_CONTENTS);
  EXPECT_TRUE(EditorMessages().Shown.empty());
  EXPECT_EQ(launched, std::vector<std::string>{dir / "share/velmar.pdf"});

  launches = false;
  SendMenu(DocView::ID_HELP_CONTENTS);
  EXPECT_EQ(EditorMessages().Shown, std::vector<std::string>{"Could not launch help"});
  app.ProgramPath = program;
  app.ResourcesDir = resources;
}

TEST_F(ShellFlow, AnExceptionInACommandIsShownAndTheEditorCarriesOn) {
  Velmar::CMainFrame* main = EditorApp().GetMainFrame();
  const int id = wxWindow::NewControlId();
  main->Bind(wxEVT_MENU, [](wxCommandEvent&) { throw std::runtime_error("the command broke"); }, id);
  wxCommandEvent event(wxEVT_MENU, id);
  event.SetEventObject(main);
  main->HandleWindowEvent(event);
  main->Unbind(wxEVT_MENU, [](wxCommandEvent&) {}, id);
  EXPECT_EQ(EditorMessages().Shown, std::vector<std::string>{"the command broke"});
  EXPECT_NE(OpenAsUser(EditorSamples().GplTrack), nullptr);
}

TEST_F(ShellFlow, CommandsTheActivePaneIgnoresReachTheOtherPanes) {
  wxDocument* track = OpenAsUser(EditorSamples().GplTrack);
  DocView::CTrkSplitterFrame* frame = TrackFrame(track);
  ASSERT_NE(frame, nullptr);
  frame->GetPaneView(0)->Activate(true);
  const int id = wxWindow::NewControlId();
  int ran = 0;
  bool enabled_asked = false;
  wxView* third = frame->GetPaneView(2);
  third->Bind(wxEVT_MENU, [&](wxCommandEvent&) { ++ran; }, id);
  third->Bind(wxEVT_UPDATE_UI, [&](wxUpdateUIEvent& event) {
    enabled_asked = true;
    event.Check(true);
  }, id);
  SendMenu(id);
  EXPECT_EQ(ran, 1);
  wxUpdateUIEvent update(id);
  update.SetEventObject(frame);
  frame->ProcessWindowEvent(update);
  EXPECT_TRUE(enabled_asked);
  EXPECT_TRUE(update.GetChecked());

  // F6 and Shift+F6 step through the panes and make each the active view.
  frame->GetPaneWindow(0)->SetFocus();
  SettleWx();
  if (frame->FindPane(wxWindow::FindFocus()) != 0)
    GTEST_SKIP() << "the display gives no keyboard focus";
  SendMenu(DocView::ID_NEXT_PANE);
  EXPECT_EQ(frame->FindPane(wxWindow::FindFocus()), 1);
  EXPECT_EQ(EditorApp().GetDocManager()->GetCurrentView(), frame->GetPaneView(1));
  SendMenu(DocView::ID_PREV_PANE);
  SendMenu(DocView::ID_PREV_PANE);
  EXPECT_EQ(frame->FindPane(wxWindow::FindFocus()), 2);
}

// The shortcut keys, looked up as the toolkit looks them up for a key pressed in the
// focused window (its accelerator table, then its parents' up to the main window), and
// the command sent where the toolkit sends it. Keys are not sent through the display:
// the window tests share one, and a key (or the focus) could go to another test's window.
TEST_F(ShellFlow, TheShortcutKeysReachTheirCommands) {
  wxDocument* track = OpenAsUser(EditorSamples().GplTrack);
  DocView::CTrkSplitterFrame* frame = TrackFrame(track);
  ASSERT_NE(frame, nullptr);
  CommandRecorder commands;
  // A key pressed with focused holding the focus.
  const auto press = [&](wxWindow* focused, int key, int modifiers = wxMOD_NONE) {
    commands.Ids.clear();
    wxKeyEvent down(wxEVT_KEY_DOWN);
    down.m_keyCode = key;
    down.SetControlDown((modifiers & wxMOD_CONTROL) != 0);
    down.m_shiftDown = (modifiers & wxMOD_SHIFT) != 0;
    for (wxWindow* window = focused; window != nullptr; window = window->GetParent()) {
      if (const int command = window->GetAcceleratorTable()->GetCommand(down); command != -1) {
        wxCommandEvent event(wxEVT_MENU, command);
        event.SetEventObject(window);
        window->HandleWindowEvent(event);
        break;
      }
      if (window->IsTopLevel())
        break;
    }
    SettleWx();
    return commands.Ids;
  };
  wxWindow* tree = frame->GetPaneWindow(0);
  EXPECT_EQ(press(tree, WXK_F6), std::vector<int>{DocView::ID_NEXT_PANE});
  EXPECT_EQ(press(tree, WXK_F6, wxMOD_SHIFT), std::vector<int>{DocView::ID_PREV_PANE});
  EXPECT_EQ(press(tree, WXK_F5), std::vector<int>{DocView::ID_VIEW_REFRESH});
  int prompted = 0;
  EditorApp().GetDocManager()->SetOpenPrompt([&](const wxString&, wxArrayString&) {
    ++prompted;
    return false;
  });
  EXPECT_EQ(press(tree, 'O', wxMOD_CONTROL), std::vector<int>{wxID_OPEN});
  EXPECT_EQ(prompted, 1);
  EditorApp().GetDocManager()->SetOpenPrompt([](const wxString&, wxArrayString&) { return false; });

  // In race.lp's grid: Ctrl+Z changes nothing, Ctrl+S saves.
  auto* lp = dynamic_cast<DocView::CLpDoc*>(FindOpenDocument(EditorSamples().Gpl + "race.lp"));
  ASSERT_NE(lp, nullptr);
  dynamic_cast<wxMDIChildFrame*>(lp->GetFirstView()->GetFrame())->Activate();
  SettleWx();
  wxWindow* grid = lp->GetFirstView()->GetFrame()->GetChildren().front();
  const double latitude = lp->GetLpFile()->GetRecordLatitude(3);
  lp->SetRecordLatitude(3, latitude);
  ASSERT_TRUE(lp->IsModified());
  EXPECT_EQ(press(grid, 'Z', wxMOD_CONTROL), std::vector<int>{wxID_UNDO});
  EXPECT_TRUE(lp->IsModified());
  EXPECT_EQ(lp->GetLpFile()->GetRecordLatitude(3), latitude);
  EXPECT_EQ(press(grid, 'S', wxMOD_CONTROL), std::vector<int>{wxID_SAVE});
  EXPECT_FALSE(lp->IsModified());
  EXPECT_TRUE(EditorMessages().Shown.empty()) << EditorMessages().Joined();

  // With nothing open, Ctrl+N reaches New (the chooser): the key needs a window of the
  // main window's to land in.
  CloseAllDocuments();
  if (!EditorApp().GetMainFrame()->IsActive())
    GTEST_SKIP() << "the display gives no keyboard focus";
  EditorApp().GetDocManager()->SetTypeChooser([](const wxArrayString&) { return -1; });
  EXPECT_EQ(press(wxWindow::FindFocus(), 'N', wxMOD_CONTROL), std::vector<int>{wxID_NEW});
}

TEST_F(ShellFlow, DroppedFilesOpenAndTheAboutBoxNamesTheProgram) {
  wxArrayString files;
  files.Add(wxString::FromUTF8(EditorSamples().N2Track));
  EditorApp().GetMainFrame()->OpenDroppedFiles(files);
  SettleWx();
  EXPECT_NE(FindOpenDocument(EditorSamples().N2Track), nullptr);

  Velmar::CAboutDlg about(EditorApp().GetMainFrame());
  EXPECT_EQ(about.GetTitle(), "About Velmar");
  EXPECT_NE(about.FindWindow(wxID_OK), nullptr);
}

} // namespace
} // namespace Ostra::Test

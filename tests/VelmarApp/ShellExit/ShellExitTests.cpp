#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include <unistd.h>

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/init.h>
#include <wx/timer.h>
#include <wx/weakref.h>

#include "DocView/Core/CommandIds.h"
#include "DocView/Core/DocumentRegistry.h"
#include "DocView/DocViewBase.h"
#include "DocView/LpDoc.h"
#include "GridCtrl/GridCtrl.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/Files/PapyDirectory.h"
#include "TestSupport/EditorTestApp.h"
#include "TestSupport/TempDir.h"
#include "Util/BinaryStream.h"
#include "Util/SafeSave.h"
#include "Velmar/App/LpViewVelmar.h"
#include "Velmar/App/MainFrame.h"
#include "Velmar/App/TrkDocVelmar.h"
#include "Velmar/App/VelmarApp.h"

namespace Ostra::Test {
namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Closing the main window with a track and its race.lp open closes both (the track
// first in the toolkit's list, race.lp after it, and the track's close takes race.lp
// with it) and then the application ends with nothing left behind. Under the address
// sanitizer a document touched after its deletion fails the run. A changed race.lp is
// asked about first.
TEST(ShellExit, ClosingTheMainWindowWithATrackAndItsRaceLpEndsCleanly) {
  if (!StartEditor())
    GTEST_SKIP() << "no X display";
  auto* track = dynamic_cast<Velmar::CTrkDocVelmar*>(OpenAsUser(EditorSamples().GplTrack));
  ASSERT_NE(track, nullptr) << EditorMessages().Joined();
  ASSERT_EQ(track->GetLpDocumentCount(), 1);
  ASSERT_NE(OpenAsUser(EditorSamples().N4Track), nullptr);
  ASSERT_EQ(OpenDocuments().size(), 4u);
  const std::string settings = EditorApp().SettingsFile;
  const Util::CountedPtr<Papy::FileFactory> factory = track->GetFileFactory();

  // race.lp changed: the exit asks first. Cancel keeps the editor with everything open;
  // No ends it without writing the change.
  const std::string race_lp = EditorSamples().Gpl + "race.lp";
  const std::string on_disk = ReadBytes(race_lp);
  auto* lp = dynamic_cast<DocView::CLpDoc*>(FindOpenDocument(race_lp));
  ASSERT_NE(lp, nullptr);
  lp->SetRecordLatitude(3, lp->GetLpFile()->GetRecordLatitude(3) + 1.0);
  wxWeakRef<Velmar::CMainFrame> main(EditorApp().GetMainFrame());
  EditorMessages().Answers = {DocView::QuestionAnswer::Cancel};
  EXPECT_FALSE(main->Close(false));
  SettleWx();
  ASSERT_TRUE(main);
  EXPECT_EQ(OpenDocuments().size(), 4u);
  EXPECT_TRUE(lp->IsModified());
  EXPECT_EQ(EditorMessages().Asked.size(), 1u);

  EditorMessages().Answers = {DocView::QuestionAnswer::No};
  EXPECT_TRUE(main->Close(false));
  SettleWx();
  EXPECT_FALSE(main);
  EXPECT_EQ(EditorMessages().Asked.size(), 2u);
  EXPECT_TRUE(EditorMessages().Shown.empty()) << EditorMessages().Joined();
  EXPECT_EQ(ReadBytes(race_lp), on_disk);

  wxTheApp->OnExit();
  // The factories read during the run are let go: the folder now gets a new one.
  EXPECT_NE(Papy::FileFactoryRegistry::Instance().GetFactory(Papy::PapyDirectory(EditorSamples().Gpl), false).Get(),
            factory.Get());
  Papy::FileFactoryRegistry::Instance().Clear();
  wxEntryCleanup();
  EXPECT_TRUE(std::ifstream(settings).good());
}

enum class UpAtTerm { SetValue, MessageBox, Nothing, Save };

// The editor of a child process, ended by SIGTERM: with a dialog up over a changed race.lp, idle
// with nothing open, where nothing but the signal wakes its loop, or half way through a long save.
[[noreturn]] void TermWith(UpAtTerm up) {
  alarm(60); // a hang fails the test rather than stalling it
  const std::string race_lp = EditorSamples().Gpl + "race.lp";
  if (!StartEditor())
    std::_Exit(2);
  const std::string on_disk = ReadBytes(race_lp);
  if (up == UpAtTerm::Save)
    Util::SaveFileSafely(race_lp, [](Util::BinaryStream& out) {
      out.Write(11, "new race.lp");
      kill(getpid(), SIGTERM);
      std::this_thread::sleep_for(std::chrono::seconds(5));
    });
  bool refused = up == UpAtTerm::Nothing, dialog_up = up != UpAtTerm::SetValue;
  DocView::WxUserMessages boxes;
  wxTimer signal;
  if (up == UpAtTerm::Nothing) {
    std::thread([] {
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
      kill(getpid(), SIGTERM);
    }).detach();
  } else {
    auto* lp = FindView<Velmar::CLpViewVelmar>(OpenAsUser(race_lp));
    if (lp == nullptr)
      std::_Exit(2);
    lp->GetLpDocument()->SetRecordLatitude(3, lp->GetLp()->GetRecordLatitude(3) + 1.0);
    lp->GetGridCtrl()->SetSelectedRange(4, lp->LatitudeColumn, 4, lp->LatitudeColumn);
    DocView::SetUserMessages(&boxes);
    // Inside the dialog's loop: the main window's close waits for the dialog; the signal
    // does not. (The toolkit's message box is no window of the editor's.)
    signal.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
      for (wxWindow* window : wxTopLevelWindows)
        dialog_up = dialog_up || (window->IsKindOf(wxCLASSINFO(wxDialog)) && static_cast<wxDialog*>(window)->IsModal());
      refused = !EditorApp().GetMainFrame()->Close(false);
      kill(getpid(), SIGTERM);
    });
    signal.StartOnce(500);
    wxCommandEvent set_value(wxEVT_MENU, DocView::ID_EDIT_SET_VALUE);
    if (up == UpAtTerm::MessageBox)
      DocView::GetUserMessages().Show("A message", DocView::MessageParent::View);
    else
      EditorApp().GetMainFrame()->ProcessWindowEvent(set_value);
  }
  wxTheApp->OnRun();
  wxTheApp->OnExit();
  wxEntryCleanup();
  std::exit(dialog_up && refused && ReadBytes(race_lp) == on_disk ? 0 : 3);
}

// SIGTERM with a dialog up (Set Value, or a message box) over a changed race.lp, or with
// nothing open: a dialog goes, nothing is asked or written, and the editor ends with
// status 0, not the watchdog's (later than a second) nor the address sanitizer's (a
// window used after its deletion). A save cut short leaves race.lp as it was and no temporary file.
TEST(ShellExit, TermEndsTheEditorWithADialogUpOrASaveUnderWayAndWritesNothing) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  if (!PrepareWxEnvironment())
    GTEST_SKIP() << "no X display";
  // Each editor's process runs this test again; its files, the cut save's among them, go in here.
  const std::string tmp = std::filesystem::temp_directory_path();
  const TempDir folder;
  setenv("TMPDIR", folder.Path().c_str(), 1);
  for (const UpAtTerm up : {UpAtTerm::SetValue, UpAtTerm::MessageBox, UpAtTerm::Nothing})
    EXPECT_EXIT(TermWith(up), ::testing::ExitedWithCode(0), "") << static_cast<int>(up);
  EXPECT_EXIT(TermWith(UpAtTerm::Save), ::testing::ExitedWithCode(128 + SIGTERM), "");
  setenv("TMPDIR", tmp.c_str(), 1);
  for (const auto& file : std::filesystem::recursive_directory_iterator(folder.Path()))
    EXPECT_TRUE(file.is_directory() || ReadBytes(file.path()) != "new race.lp") << file.path();
}

} // namespace
} // namespace Ostra::Test

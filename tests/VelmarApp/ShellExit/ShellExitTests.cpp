#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include <wx/app.h>
#include <wx/init.h>
#include <wx/weakref.h>

#include "DocView/Core/DocumentRegistry.h"
#include "DocView/LpDoc.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/Files/PapyDirectory.h"
#include "TestSupport/EditorTestApp.h"
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

} // namespace
} // namespace Ostra::Test

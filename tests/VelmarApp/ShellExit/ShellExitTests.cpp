#include <gtest/gtest.h>

#include <fstream>

#include <wx/app.h>
#include <wx/init.h>
#include <wx/weakref.h>

#include "DocView/Core/DocumentRegistry.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/Files/PapyDirectory.h"
#include "TestSupport/EditorTestApp.h"
#include "Velmar/App/MainFrame.h"
#include "Velmar/App/TrkDocVelmar.h"
#include "Velmar/App/VelmarApp.h"

namespace Ostra::Test {
namespace {

// Closing the main window with a track and its race.lp open closes both (the track
// first in the toolkit's list, race.lp after it, and the track's close takes race.lp
// with it) and then the application ends with nothing left behind. Under the address
// sanitizer a document touched after its deletion fails the run.
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

  wxWeakRef<Velmar::CMainFrame> main(EditorApp().GetMainFrame());
  EXPECT_TRUE(main->Close(false));
  SettleWx();
  EXPECT_FALSE(main);
  EXPECT_TRUE(EditorMessages().Shown.empty()) << EditorMessages().Joined();

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

#include <gtest/gtest.h>

#include <wx/mdi.h>

#include "DocView/TrkSplitterFrame.h"
#include "TestSupport/EditorTestApp.h"
#include "Velmar/App/LpDocVelmar.h"
#include "Velmar/App/TrkDocVelmar.h"

namespace Ostra::Test {
namespace {

class ShellFlow : public ::testing::Test {
protected:
  void SetUp() override {
    if (!StartEditor())
      GTEST_SKIP() << "no X display";
    EditorMessages().Clear();
  }
  void TearDown() override {
    if (StartEditor())
      CloseAllDocuments();
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

    auto* frame = dynamic_cast<DocView::CTrkSplitterFrame*>(track->GetFirstView()->GetFrame());
    ASSERT_NE(frame, nullptr);
    for (int column = 0; column < 3; ++column)
      EXPECT_NE(frame->GetPaneWindow(column), nullptr);

    ASSERT_EQ(track->GetLpDocumentCount(), 1);
    wxDocument* race = track->GetLpDocument(0);
    EXPECT_TRUE(wxString(race->GetFilename()).EndsWith("race.lp"));
    // The track stays in front; race.lp waits in its own tab.
    EXPECT_EQ(ActiveChildFrame(), frame);
    EXPECT_NE(race->GetFirstView()->GetFrame(), frame);
    CloseAllDocuments();
    EXPECT_TRUE(OpenDocuments().empty());
  }
}

} // namespace
} // namespace Ostra::Test

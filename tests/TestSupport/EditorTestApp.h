#pragma once

// The running editor for window tests (run under Xvfb; they skip without a display).
//
// StartEditor() starts the real application once per test process: the CVelmarApp
// object with its document manager, the track, LP and lap-curve templates and the main
// frame, exactly as the program starts, but with no main loop (SettleWx() lets events
// run) and with message boxes replaced by EditorMessages(), which records them. The
// recent-file list goes to a temporary XDG_CONFIG_HOME, never the user's.
//
//   #include "TestSupport/EditorTestApp.h"
//   using namespace Ostra::Test;
//
//   class TrackPanesFlow : public EditorTest {};
//
//   TEST_F(TrackPanesFlow, GplSampleShowsItsSegments) {
//     wxDocument* doc = OpenAsUser(EditorSamples().GplTrack);  // File > Open
//     ASSERT_NE(doc, nullptr) << EditorMessages().Joined();
//     auto* tree = FindView<Ostra::DocView::CTrkTreeView>(doc);
//     ...
//   }
//
// Link the test program with EditorTestSupport:
//   velmar_test(MyWindowTests SOURCES ... DEPS EditorTestSupport)
// and do not call StartWx() in the same program: the editor is the application object.
// Every test should close what it opened, so that the next one starts from an empty
// window whatever order the tests run in; EditorTest does that after each test.

#include <deque>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/docview.h>

#include "DocView/Core/UserMessages.h"
#include "TestSupport/WxTestApp.h"
#include "Velmar/Core/SampleFolders.h"

class wxMDIChildFrame;

namespace Ostra::Velmar {
class CVelmarApp;
}

namespace Ostra::Test {

// A message sink that records instead of showing boxes; questions take the queued
// answers, then No (Cancel where Cancel is offered).
class RecordingMessages : public DocView::UserMessages {
public:
  void Show(const std::string& text, DocView::MessageParent parent) override;
  DocView::QuestionAnswer Ask(const std::string& text, DocView::MessageParent parent) override;
  DocView::QuestionAnswer AskYesNoCancel(const std::string& text, DocView::MessageParent parent) override;

  void Clear();
  // Every shown text, one per line, for assertion messages.
  std::string Joined() const;
  // True when some shown text contains part.
  bool Contains(const std::string& part) const;

  std::vector<std::string> Shown;
  std::vector<std::string> Asked;
  std::deque<DocView::QuestionAnswer> Answers;
};

// Starts the editor once per process; false when there is no X display.
bool StartEditor();
Velmar::CVelmarApp& EditorApp();
RecordingMessages& EditorMessages();

// The sample GPL, N2 and N4 folders, written once per process into a temporary folder.
const Velmar::SampleFolders& EditorSamples();

// Opens paths through File > Open, with the file prompt answering them, and lets the
// events run. Returns the document of the first path (a .dat keeps its own name), or
// null when it did not open.
wxDocument* OpenAsUser(const std::vector<std::string>& paths);
wxDocument* OpenAsUser(const std::string& path);

// The open document of the file a path names, under any of its names; null when none.
wxDocument* FindOpenDocument(const std::string& path);
std::vector<wxDocument*> OpenDocuments();

// The first view of doc that is a T; null when none.
template <class T> T* FindView(wxDocument* doc) {
  if (doc == nullptr)
    return nullptr;
  for (wxView* view : doc->GetViewsVector())
    if (auto* found = dynamic_cast<T*>(view))
      return found;
  return nullptr;
}

// The tab in front; null when no document window is open.
wxMDIChildFrame* ActiveChildFrame();

// Closes every document through the main frame's close loop, discarding unsaved
// changes without asking, and lets the events run.
void CloseAllDocuments();

// The fixture of a test of the running editor: skips without a display, starts with no
// recorded messages and closes every document afterwards, unsaved changes discarded.
// Defined here, so that programs that drive the editor without gtest need not link it.
class EditorTest : public ::testing::Test {
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

} // namespace Ostra::Test

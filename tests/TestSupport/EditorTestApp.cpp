#include "TestSupport/EditorTestApp.h"

#include <cstdlib>
#include <memory>

#include <wx/app.h>
#include <wx/init.h>
#include <wx/mdi.h>

#include "DocView/DocManagerMultiOpen.h"
#include "TestSupport/TempDir.h"
#include "Util/NativePath.h"
#include "Velmar/App/MainFrame.h"
#include "Velmar/App/VelmarApp.h"

namespace Ostra::Test {

void RecordingMessages::Show(const std::string& text, DocView::MessageParent) { Shown.push_back(text); }

namespace {
DocView::QuestionAnswer NextAnswer(RecordingMessages& messages, const std::string& text,
                                   DocView::QuestionAnswer otherwise) {
  messages.Asked.push_back(text);
  if (messages.Answers.empty())
    return otherwise;
  const DocView::QuestionAnswer answer = messages.Answers.front();
  messages.Answers.pop_front();
  return answer;
}
} // namespace

DocView::QuestionAnswer RecordingMessages::Ask(const std::string& text, DocView::MessageParent) {
  return NextAnswer(*this, text, DocView::QuestionAnswer::No);
}

DocView::QuestionAnswer RecordingMessages::AskYesNoCancel(const std::string& text, DocView::MessageParent) {
  return NextAnswer(*this, text, DocView::QuestionAnswer::Cancel);
}

void RecordingMessages::Clear() {
  Shown.clear();
  Asked.clear();
  Answers.clear();
}

std::string RecordingMessages::Joined() const {
  std::string all;
  for (const std::string& text : Shown)
    all += text + "\n";
  return all;
}

bool RecordingMessages::Contains(const std::string& part) const {
  for (const std::string& text : Shown)
    if (text.find(part) != std::string::npos)
      return true;
  return false;
}

namespace {
// Kept for the whole process, as the editor may read the files until the end, and
// removed when the process ends.
TempDir& ProcessFolder() {
  static TempDir folder;
  return folder;
}
} // namespace

RecordingMessages& EditorMessages() {
  static RecordingMessages* messages = new RecordingMessages;
  return *messages;
}

bool StartEditor() {
  static const bool started = [] {
    if (!PrepareWxEnvironment())
      return false;
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    setenv("XDG_CONFIG_HOME", ProcessFolder().MakeFolder("config").c_str(), 1);
    static char name[] = "velmar-tests";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    auto* app = new Velmar::CVelmarApp;
    app->InstallMessageBoxes = false;
    DocView::SetUserMessages(&EditorMessages());
    wxApp::SetInstance(app);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
      return false;
    SettleWx();
    return true;
  }();
  return started;
}

Velmar::CVelmarApp& EditorApp() { return Velmar::GetVelmarApp(); }

const Velmar::SampleFolders& EditorSamples() {
  static const Velmar::SampleFolders folders = Velmar::WriteSampleFolders(ProcessFolder().MakeFolder("samples"));
  return folders;
}

wxDocument* OpenAsUser(const std::vector<std::string>& paths) {
  DocView::CDocManagerMultiOpen* manager = EditorApp().GetDocManager();
  manager->SetOpenPrompt([&paths](const wxString&, wxArrayString& chosen) {
    for (const std::string& path : paths)
      chosen.Add(wxString::FromUTF8(path));
    return true;
  });
  wxCommandEvent open(wxEVT_MENU, wxID_OPEN);
  open.SetEventObject(EditorApp().GetMainFrame());
  EditorApp().GetMainFrame()->ProcessWindowEvent(open);
  manager->SetOpenPrompt([](const wxString&, wxArrayString&) { return false; });
  SettleWx();
  return paths.empty() ? nullptr : FindOpenDocument(paths.front());
}

wxDocument* OpenAsUser(const std::string& path) { return OpenAsUser(std::vector<std::string>{path}); }

wxDocument* FindOpenDocument(const std::string& path) {
  return EditorApp().GetDocManager()->FindOpenDocument(wxString::FromUTF8(path));
}

std::vector<wxDocument*> OpenDocuments() {
  std::vector<wxDocument*> docs;
  for (wxObject* doc : EditorApp().GetDocManager()->GetDocuments())
    docs.push_back(static_cast<wxDocument*>(doc));
  return docs;
}

wxMDIChildFrame* ActiveChildFrame() {
  Velmar::CMainFrame* frame = EditorApp().GetMainFrame();
  return frame != nullptr ? frame->GetActiveChild() : nullptr;
}

void CloseAllDocuments() {
  for (wxDocument* doc : OpenDocuments())
    doc->Modify(false);
  EditorApp().GetDocManager()->CloseAllDocumentsSafely(true);
  SettleWx();
}

} // namespace Ostra::Test

#include "DocView/DocManagerMultiOpen.h"

#include <string>
#include <utility>
#include <vector>

#include <wx/app.h>
#include <wx/choicdlg.h>
#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/confbase.h>
#include <wx/filedlg.h>
#include <wx/filehistory.h>
#include <wx/weakref.h>

#include "DocView/ChildFrames.h"
#include "DocView/Core/DocumentRegistry.h"
#include "DocView/Core/TemplateMatching.h"
#include "DocView/Core/UserMessages.h"
#include "DocView/DocViewBase.h"
#include "DocView/LpDoc.h"
#include "Util/NativePath.h"

namespace Ostra::DocView {

namespace {
constexpr const char* HistoryGroup = "/RecentFiles";

wxString AbsolutePath(const wxString& path) {
  const auto absolute = Util::NativePath::MakeAbsolute(path.utf8_string());
  return absolute ? wxString::FromUTF8(*absolute) : path;
}

bool PromptWithDialog(const wxString& filter, wxArrayString& paths) {
  wxFileDialog dialog(wxTheApp->GetTopWindow(), "Open", wxEmptyString, wxEmptyString, filter,
                      wxFD_OPEN | wxFD_FILE_MUST_EXIST | wxFD_MULTIPLE);
  dialog.SetFilterIndex(0);
  if (dialog.ShowModal() != wxID_OK)
    return false;
  dialog.GetPaths(paths);
  return true;
}

wxString SavePathWithDialog(wxWindow* parent, const wxString& folder, const wxString& name,
                           const wxString& filter) {
  wxFileDialog dialog(parent, "Save As", folder, name, filter, wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  return dialog.ShowModal() == wxID_OK ? dialog.GetPath() : wxString();
}

// What an open shows waits until the open is over, when a document that failed has
// taken its window with it: the message does not stand over a half-made tab and a title
// without a name. Questions are asked at once.
class HeldMessages : public UserMessages {
public:
  HeldMessages() : Inner(GetUserMessages()), Previous(SetUserMessages(this)) {}
  ~HeldMessages() override { SetUserMessages(Previous); }
  HeldMessages(const HeldMessages&) = delete;
  HeldMessages& operator=(const HeldMessages&) = delete;

  // Puts the sink back and shows what was held.
  void Release() {
    SetUserMessages(Previous);
    for (const auto& [text, parent] : Held)
      Inner.Show(text, parent);
    Held.clear();
  }

  void Show(const std::string& text, MessageParent parent) override {
    Held.emplace_back(text, parent);
  }
  QuestionAnswer Ask(const std::string& text, MessageParent parent) override {
    return Inner.Ask(text, parent);
  }
  QuestionAnswer AskYesNoCancel(const std::string& text, MessageParent parent) override {
    return Inner.AskYesNoCancel(text, parent);
  }

private:
  UserMessages& Inner;
  UserMessages* Previous;
  std::vector<std::pair<std::string, MessageParent>> Held;
};

// The toolkit's chooser, with a list tall enough for every type: left to itself it sizes
// the list before GTK knows a row's height, and the third type hides below two rows.
class NewChooser : public wxSingleChoiceDialog {
public:
  explicit NewChooser(const wxArrayString& descriptions)
      : wxSingleChoiceDialog(wxTheApp->GetTopWindow(), "New", "New", descriptions) {
    const int rows = static_cast<int>(descriptions.size()) + 1;
    m_listbox->SetMinSize(wxSize(-1, 2 * m_listbox->GetCharHeight() * rows));
    GetSizer()->SetSizeHints(this);
  }
};

int ChooseWithDialog(const wxArrayString& descriptions) {
  NewChooser dialog(descriptions);
  return dialog.ShowModal() == wxID_OK ? dialog.GetSelection() : -1;
}
} // namespace

wxBEGIN_EVENT_TABLE(CDocManagerMultiOpen, wxDocManager)
  EVT_MENU(wxID_OPEN, CDocManagerMultiOpen::OnFileOpen)
  EVT_MENU_RANGE(wxID_FILE1, wxID_FILE9, CDocManagerMultiOpen::OnRecentFile)
wxEND_EVENT_TABLE()

CDocManagerMultiOpen::CDocManagerMultiOpen()
    : wxDocManager(0, false), Prompt(PromptWithDialog), SaveAsPrompt(SavePathWithDialog),
      Chooser(ChooseWithDialog) {
  // Here rather than in the base constructor, so that the list made is this one's.
  Initialize();
}

CDocManagerMultiOpen::~CDocManagerMultiOpen() {
  // The base would close what is left with a walk that a track's close breaks.
  CloseAllDocumentsSafely(true);
}

void CDocManagerMultiOpen::OnFileOpen(wxCommandEvent&) {
  wxArrayString chosen;
  if (!DoPromptFileName(chosen))
    return;
  OpenDocuments(std::vector<wxString>(chosen.begin(), chosen.end()));
}

void CDocManagerMultiOpen::OnRecentFile(wxCommandEvent& event) {
  wxFileHistory* history = GetFileHistory();
  const int n = event.GetId() - wxID_FILE1;
  if (history == nullptr || n < 0 || static_cast<size_t>(n) >= history->GetCount()) {
    event.Skip();
    return;
  }
  const wxString path = history->GetHistoryFile(static_cast<size_t>(n));
  if (OpenDocumentFile(path) != nullptr)
    return;
  // An entry that no longer opens would fail the same way next time.
  for (size_t i = 0; i < history->GetCount(); ++i) {
    if (history->GetHistoryFile(i) == path) {
      history->RemoveFileFromHistory(i);
      break;
    }
  }
  SaveHistory();
}

std::vector<wxDocument*> CDocManagerMultiOpen::OpenDocuments(const std::vector<wxString>& paths) {
  std::vector<wxDocument*> opened;
  for (const wxString& path : paths)
    if (wxDocument* doc = OpenDocumentFile(path))
      opened.push_back(doc);
  return opened;
}

wxDocument* CDocManagerMultiOpen::OpenDocumentFile(const wxString& path) {
  if (path.empty())
    return nullptr;
  wxDocument* doc = nullptr;
  const wxString absolute = AbsolutePath(path);
  RunGuarded([&] { doc = CreateDocument(absolute, wxDOC_SILENT); });
  return doc;
}

wxDocument* FindDocumentOfFile(const wxDocManager& manager, const std::string& path) {
  for (wxDocument* doc : manager.GetDocumentsVector()) {
    const std::string name = doc->GetFilename().utf8_string();
    if (!name.empty() && Util::NativePath::NamesOneFile(name, path))
      return doc;
  }
  return nullptr;
}

bool HasUnsavedChanges(const wxDocument& doc) {
  if (doc.IsModified())
    return true;
  const auto* lp = dynamic_cast<const CLpDoc*>(&doc);
  return lp != nullptr && lp->HasUnsavedEdits();
}

bool AgreeToReplaceOpenDocument(const wxDocument& open, const std::string& name) {
  if (dynamic_cast<const CLpDoc*>(&open) == nullptr) {
    GetUserMessages().Show(name +
                               " is open as a track; please close it first or choose another name.",
                           MessageParent::View);
    return false;
  }
  return !HasUnsavedChanges(open) ||
         GetUserMessages().Ask(name + " is open with changes that were not saved.\n"
                                      "Discard them and replace it with the new file?",
                               MessageParent::View) == QuestionAnswer::Yes;
}

void CloseReplacedDocument(wxDocManager& manager, wxDocument& open) {
  if (auto* link = dynamic_cast<ILpDocLink*>(&open))
    GetDocumentRegistry().UnregisterLpDocument(link);
  open.Modify(false);
  manager.CloseDocument(&open, true);
}

wxDocument* CDocManagerMultiOpen::FindOpenDocument(const wxString& path) const {
  return path.empty() ? nullptr : FindDocumentOfFile(*this, path.utf8_string());
}

wxString CDocManagerMultiOpen::MakeOpenFilter() const {
  std::vector<TemplateFilter> filters;
  for (wxList::compatibility_iterator node = m_templates.GetFirst(); node; node = node->GetNext()) {
    const auto* docTemplate = dynamic_cast<const CFixedMultiDocTemplate*>(static_cast<wxObject*>(node->GetData()));
    if (docTemplate != nullptr && docTemplate->IsVisible())
      filters.push_back({docTemplate->GetFilterName().utf8_string(), docTemplate->GetExtensions().utf8_string()});
  }
  return wxString::FromUTF8(MakeOpenDialogFilter(filters));
}

bool CDocManagerMultiOpen::DoPromptFileName(wxArrayString& paths) {
  wxArrayString chosen;
  if (!Prompt(MakeOpenFilter(), chosen))
    return false;
  for (const wxString& path : chosen)
    paths.Add(path);
  return true;
}

void CDocManagerMultiOpen::AddTrackToHistory(const wxString& path) {
  if (wxFileHistory* history = GetFileHistory()) {
    history->AddFileToHistory(path);
    SaveHistory();
  }
}

void CDocManagerMultiOpen::AddFileToHistory(const wxString&) {
  // The toolkit would add every opened LP and every Save As; only tracks belong here.
}

void CDocManagerMultiOpen::SaveHistory() {
  wxFileHistory* history = GetFileHistory();
  if (HistoryConfig == nullptr || history == nullptr)
    return;
  const wxString previous = HistoryConfig->GetPath();
  HistoryConfig->SetPath(HistoryGroup);
  history->Save(*HistoryConfig);
  HistoryConfig->SetPath(previous);
  HistoryConfig->Flush();
}

void CDocManagerMultiOpen::LoadHistory() {
  wxFileHistory* history = GetFileHistory();
  if (HistoryConfig == nullptr || history == nullptr)
    return;
  const wxString previous = HistoryConfig->GetPath();
  HistoryConfig->SetPath(HistoryGroup);
  history->Load(*HistoryConfig);
  HistoryConfig->SetPath(previous);
}

wxDocTemplate* CDocManagerMultiOpen::FindTemplateForPath(const wxString& path) {
  std::vector<wxDocTemplate*> templates;
  std::vector<std::string> extensions;
  for (wxList::compatibility_iterator node = m_templates.GetFirst(); node; node = node->GetNext()) {
    auto* docTemplate = static_cast<wxDocTemplate*>(node->GetData());
    if (!docTemplate->IsVisible())
      continue;
    const auto* fixed = dynamic_cast<const CFixedMultiDocTemplate*>(docTemplate);
    templates.push_back(docTemplate);
    extensions.push_back(fixed != nullptr ? fixed->GetExtensions().utf8_string() : std::string());
  }
  if (templates.empty())
    return nullptr;
  return templates[ChooseTemplate(path.utf8_string(), extensions)];
}

wxDocTemplate* CDocManagerMultiOpen::SelectDocumentType(wxDocTemplate** templates, int noTemplates, bool) {
  if (noTemplates <= 0)
    return nullptr;
  if (noTemplates == 1)
    return templates[0];
  wxArrayString descriptions;
  for (int i = 0; i < noTemplates; ++i)
    descriptions.Add(templates[i]->GetDescription());
  const int chosen = Chooser(descriptions);
  return chosen >= 0 && chosen < noTemplates ? templates[chosen] : nullptr;
}

wxDocument* CDocManagerMultiOpen::CreateDocument(const wxString& path, long flags) {
  // The toolkit compares spellings, and one file under two names would give two
  // documents over the folder's one cached LP, each blind to the other's edits.
  if ((flags & wxDOC_NEW) == 0) {
    if (wxDocument* open = FindOpenDocument(path)) {
      open->Activate();
      return open;
    }
  }
  const wxWeakRef<wxView> before(GetCurrentView());
  wxDocument* doc = nullptr;
  HeldMessages held;
  try {
    doc = wxDocManager::CreateDocument(path, flags);
  } catch (...) {
    CMDIChildWndMinimized::EndBackgroundOpening();
    held.Release();
    throw;
  }
  const bool background = CMDIChildWndMinimized::EndBackgroundOpening(doc);
  // A document that opened behind the active window leaves that window's view current.
  if (background && doc != nullptr) {
    if (before)
      before->Activate(true);
    else if (wxView* view = doc->GetFirstView())
      view->Activate(false);
  }
  held.Release();
  return doc;
}

wxFileHistory* CDocManagerMultiOpen::OnCreateFileHistory() {
  return new wxFileHistory(RecentFileCount, wxID_FILE1);
}

wxString CDocManagerMultiOpen::MakeNewDocumentName() {
  return wxString::Format("Untitled%d", ++UntitledCounter);
}

bool CDocManagerMultiOpen::CloseAllDocumentsSafely(bool force) {
  // Every question comes before the first close, so that a Cancel leaves every
  // document open as it was, and the discarded ones still marked as changed.
  const wxList documents = GetDocuments();
  std::vector<wxDocument*> discarded;
  for (wxList::compatibility_iterator node = documents.GetFirst(); node; node = node->GetNext()) {
    auto* doc = static_cast<wxDocument*>(node->GetData());
    const QuestionAnswer answer = CDocumentBase::AskToSaveChanges(doc);
    if (answer == QuestionAnswer::Cancel && !force)
      return false;
    // A forced close goes ahead whatever the answer, and asks nothing twice.
    if (answer != QuestionAnswer::Yes)
      discarded.push_back(doc);
  }
  for (wxDocument* doc : discarded)
    doc->Modify(false);

  while (!GetDocuments().empty()) {
    auto* doc = static_cast<wxDocument*>(GetDocuments().GetLast()->GetData());
    if (!CloseDocument(doc, force))
      return false;
    // A view that refused to close leaves its document; do not spin on it.
    if (GetDocuments().Member(doc))
      return false;
  }
  return true;
}

} // namespace Ostra::DocView

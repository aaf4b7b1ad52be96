#include "DocView/DocViewBase.h"

#include <wx/app.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>

#include "DocView/Core/TemplateMatching.h"
#include "DocView/DocManagerMultiOpen.h"

namespace Ostra::DocView {

namespace {
wxString FilterPattern(const wxString& filterName, const wxString& extensions) {
  (void)filterName;
  return wxString::FromUTF8(MakeFilterPattern(extensions.utf8_string()));
}

wxString DefaultExtension(const wxString& extensions) {
  return wxString::FromUTF8(FirstExtension(extensions.utf8_string()));
}
} // namespace

TrackItemHint HintValue(const wxObject* hint) {
  const auto* value = dynamic_cast<const TrackHintObject*>(hint);
  return value == nullptr ? NoItemHint : value->Value;
}

void UpdateAllViewsHint(wxDocument* doc, wxView* sender, TrackItemHint hint) {
  if (hint == NoItemHint) {
    doc->UpdateAllViews(sender, nullptr);
    return;
  }
  TrackHintObject object(hint);
  doc->UpdateAllViews(sender, &object);
}

bool CViewBase::OnCreate(wxDocument* doc, long flags) {
  if (!wxView::OnCreate(doc, flags))
    return false;
  auto* docTemplate = dynamic_cast<CFixedMultiDocTemplate*>(doc->GetDocumentTemplate());
  if (docTemplate == nullptr)
    return false;
  wxFrame* frame = docTemplate->MakeFrame(doc, this);
  if (frame == nullptr)
    return false;
  SetFrame(frame);
  frame->Show(true);
  return true;
}

CFixedMultiDocTemplate::CFixedMultiDocTemplate(wxDocManager* manager, const wxString& description,
                                               const wxString& filterName, const wxString& extensions,
                                               const wxString& docTypeName, const wxString& viewTypeName,
                                               wxClassInfo* docClassInfo, wxClassInfo* viewClassInfo,
                                               FrameMaker frameMaker)
    : wxDocTemplate(manager, description, FilterPattern(filterName, extensions), wxString(),
                    DefaultExtension(extensions), docTypeName, viewTypeName, docClassInfo, viewClassInfo),
      FilterName(filterName), Extensions(extensions), Maker(std::move(frameMaker)) {}

bool CFixedMultiDocTemplate::FileMatchesTemplate(const wxString& path) {
  return MatchExtension(path.utf8_string(), Extensions.utf8_string()) == ExtensionMatch::Native;
}

void CViewBase::OnInitialUpdate() { OnUpdate(nullptr, nullptr); }

bool CViewBase::OnClose(bool) { return true; }

void CDocumentBase::InitialUpdateViews() {
  // Copy: a view's first fill may open or close documents.
  const wxList views = GetViews();
  for (wxList::compatibility_iterator node = views.GetFirst(); node; node = node->GetNext()) {
    auto* view = static_cast<wxView*>(node->GetData());
    if (auto* base = dynamic_cast<CViewBase*>(view))
      base->OnInitialUpdate();
    else
      view->OnUpdate(nullptr, nullptr);
  }
}

bool CDocumentBase::OnNewDocument() {
  if (!wxDocument::OnNewDocument())
    return false;
  InitialUpdateViews();
  return true;
}

QuestionAnswer CDocumentBase::AskToSaveChanges(wxDocument* doc) {
  if (!doc->IsModified())
    return QuestionAnswer::Yes;
  const std::string question = SaveChangesQuestion(doc->GetUserReadableName().utf8_string());
  switch (GetUserMessages().AskYesNoCancel(question, MessageParent::MainWindow)) {
  case QuestionAnswer::Yes:
    return doc->Save() ? QuestionAnswer::Yes : QuestionAnswer::Cancel;
  case QuestionAnswer::No:
    return QuestionAnswer::No;
  case QuestionAnswer::Cancel:
    break;
  }
  return QuestionAnswer::Cancel;
}

bool CDocumentBase::OnSaveModified() {
  switch (AskToSaveChanges(this)) {
  case QuestionAnswer::Yes:
    return true;
  case QuestionAnswer::No:
    Modify(false);
    return true;
  case QuestionAnswer::Cancel:
    break;
  }
  return false;
}

bool CDocumentBase::SaveAs() {
  const auto* docTemplate = dynamic_cast<const CFixedMultiDocTemplate*>(GetDocumentTemplate());
  auto* manager = dynamic_cast<CDocManagerMultiOpen*>(GetDocumentManager());
  if (docTemplate == nullptr || manager == nullptr)
    return wxDocument::SaveAs();
  // The toolkit's own dialog offers "<description> (<patterns>)" and no All Files.
  const TemplateFilter own{docTemplate->GetFilterName().utf8_string(),
                           docTemplate->GetExtensions().utf8_string()};
  wxString folder = wxPathOnly(GetFilename());
  if (folder.empty())
    folder = manager->GetLastDirectory();
  const wxString path =
      manager->PromptSavePath(GetDocumentWindow(), folder, wxFileNameFromPath(GetFilename()),
                              wxString::FromUTF8(MakeOpenDialogFilter({own})));
  if (path.empty())
    return false;
  wxDocument* open = FindDocumentOfFile(*manager, path.utf8_string());
  if (open != nullptr && open != this) {
    // Closed before the write: its discarded edits leave the folder's LP cache under
    // the name that the saved LP takes over.
    if (!AgreeToReplaceOpenDocument(*open, wxFileNameFromPath(path).utf8_string()))
      return false;
    CloseReplacedDocument(*manager, *open);
  }
  if (!OnSaveDocument(path))
    return false;
  SetTitle(wxFileNameFromPath(path));
  SetFilename(path, true);
  return true;
}

bool CDocumentBase::CloseThroughManager(wxDocument* doc, bool force) {
  wxDocManager* manager = doc->GetDocumentManager();
  return manager != nullptr ? manager->CloseDocument(doc, force) : doc->Close();
}

namespace {
wxWindow* ParentFor(MessageParent parent) {
  if (parent == MessageParent::View) {
    if (wxDocManager* manager = wxDocManager::GetDocumentManager())
      if (wxView* view = manager->GetCurrentView())
        if (wxWindow* frame = view->GetFrame())
          return frame;
  }
  return wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr;
}
} // namespace

void WxUserMessages::Show(const std::string& text, MessageParent parent) {
  wxMessageBox(wxString::FromUTF8(text), ApplicationTitle, wxOK | wxICON_EXCLAMATION, ParentFor(parent));
}

QuestionAnswer WxUserMessages::Ask(const std::string& text, MessageParent parent) {
  const int answer = wxMessageBox(wxString::FromUTF8(text), ApplicationTitle,
                                  wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION, ParentFor(parent));
  return answer == wxYES ? QuestionAnswer::Yes : QuestionAnswer::No;
}

QuestionAnswer WxUserMessages::AskYesNoCancel(const std::string& text, MessageParent parent) {
  switch (wxMessageBox(wxString::FromUTF8(text), ApplicationTitle, wxYES_NO | wxCANCEL | wxICON_QUESTION,
                       ParentFor(parent))) {
  case wxYES:
    return QuestionAnswer::Yes;
  case wxNO:
    return QuestionAnswer::No;
  default:
    return QuestionAnswer::Cancel;
  }
}

} // namespace Ostra::DocView

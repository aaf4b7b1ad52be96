#include "Velmar/App/Dialogs.h"

#include <filesystem>

#include <wx/filedlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "DocView/Core/UserMessages.h"
#include "Util/PathName.h"
#include "Velmar/Core/FilePaths.h"

namespace Ostra::Velmar {

namespace {

class WxCommandPrompts : public ICommandPrompts {
public:
  bool AskParameters(ParameterRequest& request, wxWindow* parent) override {
    CParameterDialog dialog(parent, request);
    if (dialog.ShowModal() != wxID_OK)
      return false;
    request = dialog.GetRequest();
    return true;
  }

  std::string AskSavePath(const SaveFileRequest& request, wxWindow* parent) override {
    wxFileDialog dialog(parent, "Save As", wxString::FromUTF8(request.Folder),
                        wxString::FromUTF8(request.InitialName + "." + request.DefaultExtension),
                        wxString::FromUTF8(request.Wildcard), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK)
      return {};
    return dialog.GetPath().utf8_string();
  }
};

WxCommandPrompts& DialogPrompts() {
  static WxCommandPrompts prompts;
  return prompts;
}

ICommandPrompts* Installed = nullptr;

// Shows a request and copies its values back on OK.
template <std::size_t N>
bool Ask(ParameterRequest request, wxWindow* parent, double* const (&values)[N]) {
  for (std::size_t k = 0; k < N; ++k)
    request.Fields.at(k).Value = *values[k];
  if (!GetCommandPrompts().AskParameters(request, parent))
    return false;
  for (std::size_t k = 0; k < N; ++k)
    *values[k] = request.Fields.at(k).Value;
  return true;
}

} // namespace

ICommandPrompts& GetCommandPrompts() { return Installed ? *Installed : DialogPrompts(); }

ICommandPrompts* SetCommandPrompts(ICommandPrompts* prompts) {
  ICommandPrompts* previous = Installed;
  Installed = prompts;
  return previous;
}

std::string AskSavePath(const SaveFileRequest& request, wxWindow* parent) {
  const std::string chosen = GetCommandPrompts().AskSavePath(request, parent);
  if (chosen.empty())
    return {};
  const std::string path = WithDefaultExtension(chosen, request.DefaultExtension);
  // The dialog asked about the name as typed; the extension added makes another file.
  if (path != chosen && std::filesystem::exists(path) &&
      DocView::GetUserMessages().Ask(Util::PathName(path).GetFileName() +
                                         " already exists.\nDo you want to replace it?",
                                     DocView::MessageParent::View) != DocView::QuestionAnswer::Yes)
    return {};
  return path;
}

CParameterDialog::CParameterDialog(wxWindow* parent, const ParameterRequest& request)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(request.Title)), Request(request) {
  auto* grid = new wxFlexGridSizer(2, 8, 8);
  grid->AddGrowableCol(1);
  for (const NumberField& field : Request.Fields) {
    grid->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(field.Label)), 0,
              wxALIGN_CENTER_VERTICAL);
    auto* text = new wxTextCtrl(this, wxID_ANY, wxString::FromUTF8(FormatDialogNumber(field.Value)));
    grid->Add(text, 1, wxEXPAND);
    Fields.push_back(text);
  }
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(grid, 1, wxEXPAND | wxALL, 12);
  top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 12);
  SetSizerAndFit(top);
  if (!Fields.empty()) {
    Fields.front()->SetFocus();
    Fields.front()->SelectAll();
  }
}

bool CParameterDialog::TransferDataFromWindow() {
  std::vector<std::string> texts;
  for (const wxTextCtrl* field : Fields)
    texts.push_back(field->GetValue().utf8_string());
  const std::string complaint = AcceptFieldTexts(Request, texts);
  if (complaint.empty())
    return true;
  DocView::GetUserMessages().Show(complaint, DocView::MessageParent::View);
  return false;
}

bool CValueDlg::Run(wxWindow* parent) { return Ask(ValueRequest(), parent, {&Value}); }

bool CAdjustDlg::Run(wxWindow* parent) { return Ask(AdjustRequest(), parent, {&AdjustBy}); }

bool CScaleDlg::Run(wxWindow* parent) {
  return Ask(ScaleRequest(), parent, {&BeginningScaleFactor, &EndingScaleFactor});
}

CGenerateCurveDlg::CGenerateCurveDlg(const std::string& lpBaseName)
    : Tolerance(GenerateCurveRequest(lpBaseName).Fields.front().Value) {}

bool CGenerateCurveDlg::Run(wxWindow* parent) {
  return Ask(GenerateCurveRequest(""), parent, {&Tolerance});
}

CGenerateLapDlg::CGenerateLapDlg(const std::string& curveBaseName)
    : Grip(GenerateLapRequest(curveBaseName).Fields.front().Value) {}

bool CGenerateLapDlg::Run(wxWindow* parent) { return Ask(GenerateLapRequest(""), parent, {&Grip}); }

} // namespace Ostra::Velmar

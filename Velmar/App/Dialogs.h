#pragma once

#include <string>
#include <vector>

#include <wx/dialog.h>

#include "Velmar/Core/CommandParameters.h"

class wxTextCtrl;
class wxWindow;

// The parameter dialogs of the LP and generation commands, and their save dialogs.
// Every one of them opens through one small interface, so that window tests answer
// them without a modal loop; the dialogs only collect parameters.
namespace Ostra::Velmar {

struct SaveFileRequest {
  std::string Wildcard;         // "Lp Curve Files (*.lcv)|*.lcv"
  std::string DefaultExtension; // without the dot: "lcv"
  std::string Folder;           // where the dialog opens
  std::string InitialName;      // without the extension: "minrace"
};

class ICommandPrompts {
public:
  virtual ~ICommandPrompts() = default;
  // Shows the request's fields; true on OK with every field's Value set, false on
  // Cancel with the values as they were.
  virtual bool AskParameters(ParameterRequest& request, wxWindow* parent) = 0;
  // The path the user chose to save to, empty on Cancel. The user has agreed to
  // replace the file when it exists.
  virtual std::string AskSavePath(const SaveFileRequest& request, wxWindow* parent) = 0;
};

// The prompts in force: the real dialogs unless a test installed its own.
ICommandPrompts& GetCommandPrompts();
// Installs prompts (not owned); null restores the dialogs. Returns the previous ones.
ICommandPrompts* SetCommandPrompts(ICommandPrompts* prompts);

// The path to save to, asked through the prompts: the default extension is added to a
// name given without one, and then, if that file exists, the user is asked before it
// is replaced. Empty when the user cancelled either.
std::string AskSavePath(const SaveFileRequest& request, wxWindow* parent);

// The dialog of a parameter request: a labelled number field per parameter, OK and
// Cancel. OK with a field that is not an acceptable number says so and keeps the
// dialog open.
class CParameterDialog : public wxDialog {
public:
  CParameterDialog(wxWindow* parent, const ParameterRequest& request);

  // Reads the fields into the request; false, after telling the user why, when one
  // is not acceptable.
  bool TransferDataFromWindow() override;
  const ParameterRequest& GetRequest() const { return Request; }
  wxTextCtrl* GetField(std::size_t k) const { return Fields.at(k); }

private:
  ParameterRequest Request;
  std::vector<wxTextCtrl*> Fields;
};

// The named dialogs. Each starts from its defaults; Run shows it and, on OK, holds
// the values entered.
class CValueDlg {
public:
  bool Run(wxWindow* parent);
  double Value = 0.0;
};

class CAdjustDlg {
public:
  bool Run(wxWindow* parent);
  double AdjustBy = 0.0;
};

class CScaleDlg {
public:
  bool Run(wxWindow* parent);
  double BeginningScaleFactor = 1.0;
  double EndingScaleFactor = 1.0;
};

class CGenerateCurveDlg {
public:
  // The race-line LPs ("minrace", "maxrace") start from the tighter tolerance.
  explicit CGenerateCurveDlg(const std::string& lpBaseName);
  bool Run(wxWindow* parent);
  double Tolerance;
};

class CGenerateLapDlg {
public:
  // The race-line curves start from the lower grip. A grip must be above 0 and at
  // most MaximumGrip.
  explicit CGenerateLapDlg(const std::string& curveBaseName);
  bool Run(wxWindow* parent);
  double Grip;
};

} // namespace Ostra::Velmar

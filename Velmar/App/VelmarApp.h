#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/weakref.h>

#include "DocView/DocViewBase.h"
#include "Velmar/App/MainFrame.h"
#include "Velmar/App/Termination.h"

class wxFileConfig;

namespace Ostra::DocView {
class CDocManagerMultiOpen;
}

namespace Ostra::Velmar {


// The editor application: starts the document manager, the three document templates
// and the main window, opens the files named on the command line, and reports every
// exception that reaches the main loop instead of ending the program.
class CVelmarApp : public wxApp {
public:
  CVelmarApp();
  ~CVelmarApp() override;

  bool OnInit() override;
  int OnExit() override;
  void OnInitCmdLine(wxCmdLineParser& parser) override;
  bool OnCmdLineParsed(wxCmdLineParser& parser) override;
  // An exception escaping a command is shown, and the program carries on.
  bool OnExceptionInMainLoop() override;
  void OnUnhandledException() override;

  DocView::CFixedMultiDocTemplate* GetTrkTemplate() const { return TrkTemplate; }
  DocView::CFixedMultiDocTemplate* GetLpTemplate() const { return LpTemplate; }
  DocView::CFixedMultiDocTemplate* GetLcvTemplate() const { return LcvTemplate; }
  DocView::CDocManagerMultiOpen* GetDocManager() const { return Manager; }
  CMainFrame* GetMainFrame() const { return MainFrame.get(); }

  // Opens a file as File > Open does (an open document of that path is activated);
  // null when it failed, after the failure was shown.
  wxDocument* OpenDocumentFile(const wxString& path);
  // Shows the main window, then opens the files of the command line, in order. A file
  // that fails ends the start-up, as a failed shell command does.
  bool OpenStartupFiles(const std::vector<wxString>& files);

  void OnAppAbout(wxCommandEvent& event);
  void OnHelp(wxCommandEvent& event);

  // For tests and embedders. Without message boxes the caller's UserMessages sink
  // stays installed; set before OnInit.
  bool InstallMessageBoxes = true;
  // Opens the help file; the default hands it to the desktop's viewer.
  std::function<bool(const std::string& path)> HelpLauncher;
  // The program's own path and resources folder, where the help file is looked for.
  std::string ProgramPath;
  std::string ResourcesDir;
  // The settings file; empty: the XDG location.
  std::string SettingsFile;

  DocView::CFixedMultiDocTemplate* TrkTemplate = nullptr;
  DocView::CFixedMultiDocTemplate* LpTemplate = nullptr;
  DocView::CFixedMultiDocTemplate* LcvTemplate = nullptr;

private:
  void CreateTemplates();
  void ShutDown();

  DocView::CDocManagerMultiOpen* Manager = nullptr;
  wxWeakRef<CMainFrame> MainFrame;
  std::unique_ptr<wxFileConfig> Config;
  CModalDialogs Dialogs;
  std::unique_ptr<CTerminationSignal> TerminationSignal;
  DocView::WxUserMessages MessageBoxes;
  bool InstalledMessageBoxes = false;
  std::vector<wxString> CommandLineFiles;
};

// The running application.
CVelmarApp& GetVelmarApp();

} // namespace Ostra::Velmar

#include "Velmar/App/VelmarApp.h"

#include <cstdlib>
#include <exception>
#include <filesystem>

#include <wx/cmdline.h>
#include <wx/fileconf.h>
#include <wx/stdpaths.h>
#include <wx/utils.h>

#include "DocView/ChildFrames.h"
#include "DocView/Core/CommandIds.h"
#include "DocView/Core/ShellPaths.h"
#include "DocView/Core/TemplateMatching.h"
#include "DocView/Core/UserMessages.h"
#include "DocView/DocManagerMultiOpen.h"
#include "DocView/TrkTreeView.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/N4Files/N4Recognizer.h"
#include "Papy/Types/ReaderOptions.h"
#include "Util/BinaryFile.h"
#include "Velmar/App/AboutDlg.h"
#include "Velmar/App/LpDocVelmar.h"
#include "Velmar/App/LpViewVelmar.h"
#include "Velmar/App/MainFrame.h"
#include "Velmar/App/Menus.h"
#include "Velmar/App/TrkDocVelmar.h"
#include "Velmar/App/TrkSplitterFrameVelmar.h"

namespace Ostra::Velmar {

CVelmarApp& GetVelmarApp() { return *static_cast<CVelmarApp*>(wxApp::GetInstance()); }

CVelmarApp::CVelmarApp() {
  HelpLauncher = [](const std::string& path) { return wxLaunchDefaultApplication(wxString::FromUTF8(path)); };
}

CVelmarApp::~CVelmarApp() = default;

void CVelmarApp::OnInitCmdLine(wxCmdLineParser& parser) {
  wxApp::OnInitCmdLine(parser);
  parser.AddParam("file", wxCMD_LINE_VAL_STRING, wxCMD_LINE_PARAM_OPTIONAL | wxCMD_LINE_PARAM_MULTIPLE);
}

bool CVelmarApp::OnCmdLineParsed(wxCmdLineParser& parser) {
  for (size_t i = 0; i < parser.GetParamCount(); ++i)
    CommandLineFiles.push_back(parser.GetParam(i));
  return wxApp::OnCmdLineParsed(parser);
}

bool CVelmarApp::OnInit() {
  SetVendorName("Ostra");
  SetAppName("Velmar");
  SetAppDisplayName("Velmar");
  // No setting of the toolkit's own may land in a file of its choosing.
  wxConfigBase::DontCreateOnDemand();
  if (!wxApp::OnInit())
    return false;
  if (InstallMessageBoxes) {
    DocView::SetUserMessages(&MessageBoxes);
    InstalledMessageBoxes = true;
  }

  // GPL first (the preferred game), then N2, then N4.
  Papy::RegisterGameRecognizers();
  Papy::RegisterN4Recognizer();

  Manager = new DocView::CDocManagerMultiOpen;
  if (SettingsFile.empty())
    SettingsFile = DocView::SettingsFilePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
  if (!SettingsFile.empty()) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(SettingsFile).parent_path(), ignored);
    Config = std::make_unique<wxFileConfig>("Velmar", "Ostra", wxString::FromUTF8(SettingsFile), wxEmptyString,
                                            wxCONFIG_USE_LOCAL_FILE);
    Manager->SetHistoryConfig(Config.get());
  }
  CreateTemplates();

  MainFrame = new CMainFrame(Manager, Dialogs);
  SetTopWindow(MainFrame.get());
  Manager->LoadHistory();
  Bind(wxEVT_MENU, &CVelmarApp::OnAppAbout, this, wxID_ABOUT);
  Bind(wxEVT_MENU, &CVelmarApp::OnHelp, this, DocView::ID_HELP_CONTENTS);
  Dialogs.Register();
  TerminationSignal = std::make_unique<CTerminationSignal>([this] {
    // As with any kill, unsaved edits are lost: nothing is asked and nothing written.
    Dialogs.RefuseFromNow();
    if (MainFrame)
      MainFrame->Close(true);
    // The closed window goes at the loop's next idle time, which an idle editor reaches
    // only after some other event: without one the watchdog would end it instead.
    wxWakeUpIdle();
  });

  Papy::ReaderOptions::Instance().Strict = false;
  if (ProgramPath.empty())
    ProgramPath = wxStandardPaths::Get().GetExecutablePath().utf8_string();
  if (ResourcesDir.empty())
    ResourcesDir = wxStandardPaths::Get().GetResourcesDir().utf8_string();

  if (!OpenStartupFiles(CommandLineFiles)) {
    ShutDown();
    return false;
  }
  return true;
}

void CVelmarApp::CreateTemplates() {
  using DocView::CFixedMultiDocTemplate;
  using DocView::CViewBase;
  const DocView::TemplateFilter &track = DocView::TrackFileFilter, &lp = DocView::LapFileFilter,
                                &curve = DocView::LapCurveFileFilter;
  TrkTemplate = new CFixedMultiDocTemplate(
      Manager, "Track File", track.FilterName, track.Extensions, "PapyrusTRK.Document", "Track View",
      CLASSINFO(CTrkDocVelmar), CLASSINFO(DocView::CTrkTreeView), [this](wxDocument* doc, CViewBase* view) -> wxFrame* {
        auto* frame = new CTrkSplitterFrameVelmar(doc, view, MainFrame.get(), MakeMenuBar(DocView::MenuKind::Track));
        if (frame->OnCreateClient())
          return frame;
        frame->Destroy();
        return nullptr;
      });
  LpTemplate = new CFixedMultiDocTemplate(
      Manager, "Lap File", lp.FilterName, lp.Extensions, "PapyrusLP.Document", "Lap View",
      CLASSINFO(CLpDocVelmar), CLASSINFO(CLpViewVelmar), [this](wxDocument* doc, CViewBase* view) -> wxFrame* {
        return new DocView::CMDIChildWndMinimized(doc, view, MainFrame.get(), MakeMenuBar(DocView::MenuKind::Lp));
      });
  LcvTemplate = new CFixedMultiDocTemplate(
      Manager, "Lap Curve File", curve.FilterName, curve.Extensions, "VelmarLCV.Document", "Lap Curve View",
      CLASSINFO(CLcvDocVelmar), CLASSINFO(CLpViewVelmar), [this](wxDocument* doc, CViewBase* view) -> wxFrame* {
        return new DocView::CMDIChildWndMinimized(doc, view, MainFrame.get(),
                                                  MakeMenuBar(DocView::MenuKind::LapCurve));
      });
}

bool CVelmarApp::OpenStartupFiles(const std::vector<wxString>& files) {
  // First, so that a file that fails is reported over it rather than alone.
  if (MainFrame)
    MainFrame->Show(true);
  for (const wxString& file : files)
    if (OpenDocumentFile(file) == nullptr)
      return false;
  return true;
}

wxDocument* CVelmarApp::OpenDocumentFile(const wxString& path) {
  return Manager != nullptr ? Manager->OpenDocumentFile(path) : nullptr;
}

void CVelmarApp::OnAppAbout(wxCommandEvent&) {
  CAboutDlg dialog(MainFrame.get());
  dialog.ShowModal();
}

void CVelmarApp::OnHelp(wxCommandEvent&) {
  const std::string help = DocView::FindHelpFile(DocView::HelpFileCandidates(ProgramPath, ResourcesDir),
                                                 [](const std::string& path) { return Util::FileExists(path); });
  // The desktop's opener reports success even for a missing file, so it is only
  // asked for one that exists.
  if (help.empty() || !HelpLauncher || !HelpLauncher(help))
    DocView::GetUserMessages().Show(DocView::HelpLaunchFailedText, DocView::MessageParent::MainWindow);
}

bool CVelmarApp::OnExceptionInMainLoop() {
  DocView::GetUserMessages().Show(DocView::CurrentExceptionText(), DocView::MessageParent::MainWindow);
  return true;
}

void CVelmarApp::OnUnhandledException() {
  if (std::current_exception())
    DocView::GetUserMessages().Show(DocView::CurrentExceptionText(), DocView::MessageParent::MainWindow);
}

void CVelmarApp::ShutDown() {
  TerminationSignal.reset();
  if (Manager != nullptr) {
    Manager->CloseAllDocumentsSafely(true);
    Manager->SaveHistory();
    Manager->SetHistoryConfig(nullptr);
  }
  if (MainFrame) {
    // Still here only when the start-up failed; it must go before the manager does.
    delete MainFrame.get();
  }
  delete Manager;
  Manager = nullptr;
  Config.reset();
  // The factories' caches hold every file read during the run.
  Papy::FileFactoryRegistry::Instance().Clear();
  if (InstalledMessageBoxes) {
    DocView::SetUserMessages(nullptr);
    InstalledMessageBoxes = false;
  }
}

int CVelmarApp::OnExit() {
  ShutDown();
  return wxApp::OnExit();
}

} // namespace Ostra::Velmar

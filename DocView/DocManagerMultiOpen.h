#pragma once

#include <functional>
#include <string>
#include <vector>

#include <wx/docview.h>

class wxConfigBase;

namespace Ostra::DocView {

class CFixedMultiDocTemplate;

// The open document of the file the path names, under any spelling (letter case,
// symbolic links, "." and ".."); null when none.
wxDocument* FindDocumentOfFile(const wxDocManager& manager, const std::string& path);

// Whether the document holds changes that no save has written.
bool HasUnsavedChanges(const wxDocument& doc);

// One file is never two documents: a save through a file dialog that replaces the file
// of another open document first asks whether that document may go (named as the user
// chose the file). Unsaved changes go only when the user agrees to discard them; a
// track is never replaced, as an LP document cannot stand in for it.
bool AgreeToReplaceOpenDocument(const wxDocument& open, const std::string& name);
// Closes that document without a prompt, its changes discarded.
void CloseReplacedDocument(wxDocManager& manager, wxDocument& open);

// The editor's document manager: File > Open takes several files at once, a path no
// template claims opens as a track, the recent-file list holds only the tracks the
// track document records, and New lets the user choose among the templates.
class CDocManagerMultiOpen : public wxDocManager {
public:
  // The file prompt: fills paths with the chosen files' full paths and returns true,
  // or false when the user cancelled. The default shows the open dialog.
  using OpenPrompt = std::function<bool(const wxString& filter, wxArrayString& paths)>;
  // The New chooser: the index of the chosen description, or -1 for Cancel.
  using TypeChooser = std::function<int(const wxArrayString& descriptions)>;

  CDocManagerMultiOpen();
  ~CDocManagerMultiOpen() override;

  // The Save As prompt: the chosen full path, or empty for Cancel. The default shows the
  // save dialog, which asks before it replaces a file.
  using SavePrompt = std::function<wxString(wxWindow* parent, const wxString& folder,
                                            const wxString& name, const wxString& filter)>;

  void SetOpenPrompt(OpenPrompt prompt) { Prompt = std::move(prompt); }
  void SetSavePrompt(SavePrompt prompt) { SaveAsPrompt = std::move(prompt); }
  wxString PromptSavePath(wxWindow* parent, const wxString& folder, const wxString& name,
                          const wxString& filter) const {
    return SaveAsPrompt(parent, folder, name, filter);
  }
  void SetTypeChooser(TypeChooser chooser) { Chooser = std::move(chooser); }

  // The recent-file list is saved to config after every change; null: not saved.
  void SetHistoryConfig(wxConfigBase* config) { HistoryConfig = config; }
  void SaveHistory();
  void LoadHistory();

  // Opens each path in order as File > Open does; a failure is reported by its
  // document (or by the boundary) and does not stop the others. Relative paths are
  // taken from the current folder. Returns the documents that opened (an already
  // open one is activated and counted).
  std::vector<wxDocument*> OpenDocuments(const std::vector<wxString>& paths);
  // One path; null when it failed.
  wxDocument* OpenDocumentFile(const wxString& path);
  // The open document of the file the path names, under any spelling (letter case,
  // symbolic links, "." and ".."); null when none.
  wxDocument* FindOpenDocument(const wxString& path) const;

  // The multi-select open dialog's filter: every template, then all files.
  wxString MakeOpenFilter() const;
  // Asks for the files to open (the prompt set, by default the open dialog with that
  // filter): true with every chosen full path appended to paths, false on Cancel.
  bool DoPromptFileName(wxArrayString& paths);

  // Only the track document adds to the recent-file list, through this.
  void AddTrackToHistory(const wxString& path);
  void AddFileToHistory(const wxString& file) override;

  wxDocTemplate* FindTemplateForPath(const wxString& path) override;
  wxDocTemplate* SelectDocumentType(wxDocTemplate** templates, int noTemplates, bool sort = false) override;
  wxDocument* CreateDocument(const wxString& path, long flags = 0) override;
  wxFileHistory* OnCreateFileHistory() override;
  wxString MakeNewDocumentName() override;

  // Asks about the unsaved changes of every document first, then closes every
  // document, newest first, each through CloseDocument. False, with every document
  // left as it was, when the user cancelled a question or a save failed (a forced
  // close goes ahead and discards them). Safe although closing a track closes its LPs.
  bool CloseAllDocumentsSafely(bool force);

  static constexpr int RecentFileCount = 4;

private:
  void OnFileOpen(wxCommandEvent& event);
  void OnRecentFile(wxCommandEvent& event);

  OpenPrompt Prompt;
  SavePrompt SaveAsPrompt;
  TypeChooser Chooser;
  wxConfigBase* HistoryConfig = nullptr;
  int UntitledCounter = 0;

  wxDECLARE_EVENT_TABLE();
};

} // namespace Ostra::DocView

#pragma once

#include <functional>

#include <wx/docview.h>

#include "DocView/Core/TrackItemHint.h"
#include "DocView/Core/UserMessages.h"

// What every document and view of the editor shares on top of the toolkit's doc/view.
namespace Ostra::DocView {

// The integer hint of a view update, carried as the toolkit's update object.
class TrackHintObject : public wxObject {
public:
  explicit TrackHintObject(TrackItemHint value) : Value(value) {}
  TrackItemHint Value;
};

// A null object, or one that is not a hint, means NoItemHint.
TrackItemHint HintValue(const wxObject* hint);

// Updates every view but sender with the hint; the sender gets nothing, as the tree
// needs no update for its own selection.
void UpdateAllViewsHint(wxDocument* doc, wxView* sender, TrackItemHint hint);

// Views get OnInitialUpdate once, after the document opened or was made by New: the
// toolkit has no such step, and updating after the base open would fill views twice.
class CViewBase : public wxView {
public:
  // Creates the view's frame through its document template's frame maker (the frame
  // then asks the view for its window), as the toolkit expects of a view.
  bool OnCreate(wxDocument* doc, long flags) override;
  // The view's own window, created as a child of parent (a frame or a splitter).
  virtual wxWindow* CreatePaneWindow(wxWindow* parent) = 0;
  // The window CreatePaneWindow made; null before.
  virtual wxWindow* GetPaneWindow() const = 0;
  virtual void OnInitialUpdate();
  void OnDraw(wxDC*) override {}
  // Closing a view never closes the document: the frame closes the document through
  // the document manager, once, whatever the number of views.
  bool OnClose(bool deleteWindow) override;
};

class CDocumentBase : public wxDocument {
public:
  // Calls OnInitialUpdate on every view (CViewBase or not: others get OnUpdate).
  void InitialUpdateViews();
  bool OnNewDocument() override;
  // Before a document with unsaved changes closes: Yes saves (a failed save keeps it
  // open), No discards the changes, Cancel keeps it open.
  bool OnSaveModified() override;
  // Offers the document's own template's files, then all files.
  bool SaveAs() override;

  // Asks, through the message sink, whether to save doc's unsaved changes. Yes: doc
  // may close (saved, or it had none); No: the user discards them; Cancel: doc stays
  // open (the user cancelled or the save failed). Nothing is discarded here.
  static QuestionAnswer AskToSaveChanges(wxDocument* doc);

  // Closes the frame's document through the document manager (so every view goes with
  // it); false when the user refused.
  static bool CloseThroughManager(wxDocument* doc, bool force);
};

// Makes the frame of a document's first view; the frame creates the view's window (and
// any further views of its own) and is shown by the caller.
using FrameMaker = std::function<wxFrame*(wxDocument* doc, CViewBase* view)>;

// A template that matches a file by any of its extensions (".trk;.dat"), ignoring case,
// and that makes its frames through a FrameMaker.
class CFixedMultiDocTemplate : public wxDocTemplate {
public:
  // filterName: "Track Files (*.trk,*.dat)"; extensions: ".trk;.dat"; description:
  // the name the New chooser shows ("Track File"); docTypeName must be unique.
  CFixedMultiDocTemplate(wxDocManager* manager, const wxString& description,
                         const wxString& filterName, const wxString& extensions,
                         const wxString& docTypeName, const wxString& viewTypeName,
                         wxClassInfo* docClassInfo, wxClassInfo* viewClassInfo, FrameMaker frameMaker);

  bool FileMatchesTemplate(const wxString& path) override;
  const wxString& GetExtensions() const { return Extensions; }
  const wxString& GetFilterName() const { return FilterName; }
  wxFrame* MakeFrame(wxDocument* doc, CViewBase* view) const { return Maker(doc, view); }

private:
  wxString FilterName;
  wxString Extensions;
  FrameMaker Maker;
};

// The window layer's message sink: message boxes captioned "Velmar", over the main
// window or over the active view's frame.
class WxUserMessages : public UserMessages {
public:
  void Show(const std::string& text, MessageParent parent) override;
  QuestionAnswer Ask(const std::string& text, MessageParent parent) override;
  QuestionAnswer AskYesNoCancel(const std::string& text, MessageParent parent) override;
};

inline constexpr const char* ApplicationTitle = "Velmar";

} // namespace Ostra::DocView

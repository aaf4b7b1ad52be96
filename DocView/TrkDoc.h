#pragma once

#include "DocView/DocViewBase.h"
#include "Papy/Files/FileFactory.h"
#include "Papy/Track/Track.h"
#include "Util/CountedPtr.h"

namespace Ostra::DocView {

// A document holding one game track, read through the file factory of its folder. The
// track is never edited here, so the document is never modified and never saved.
class CTrkDoc : public CDocumentBase {
public:
  Util::CountedPtr<Papy::Track> GetTrack() const { return Track; }
  Util::CountedPtr<Papy::FileFactory> GetFileFactory() const { return Factory; }

  // Offers a command or update-UI event to every view but skip; true at the first
  // view that handles it.
  bool RouteCmdToViews(wxView* skip, wxEvent& event);

  bool OnOpenDocument(const wxString& path) override;
  // Nothing is ever written: Save (Ctrl+S reaches a track window too) has nothing to
  // do, and a track made by New is never written out as an empty file.
  bool Save() override { return true; }
  bool SaveAs() override { return false; }

protected:
  bool DoSaveDocument(const wxString&) override { return false; }

  // Reads the track of path through its folder's factory; a failure is shown with
  // the user-interface boundary's texts and gives false. Factory may be set even then.
  // chosen: the file the user chose, when path was made of it (an X.dat's X.trk).
  bool ReadTrack(const wxString& path, const wxString& chosen = wxString());
  // The end of every successful open: the document takes the path the user chose as
  // its name, counts as saved and unmodified, and its views get their first fill.
  void FinishOpen(const wxString& chosen);

  Util::CountedPtr<Papy::Track> Track;
  Util::CountedPtr<Papy::FileFactory> Factory;

  wxDECLARE_DYNAMIC_CLASS(CTrkDoc);
};

} // namespace Ostra::DocView

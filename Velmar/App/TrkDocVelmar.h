#pragma once

#include "DocView/Core/DocumentRegistry.h"
#include "DocView/TrkDoc.h"

namespace Ostra::Velmar {

// The application's track document: opens a DAT archive as its track, opens the
// folder's race.lp with the track, links the folder's LP documents and holds the
// parameters of the min/max race lines.
class CTrkDocVelmar : public DocView::CTrkDoc, public DocView::ITrackDocLink {
public:
  CTrkDocVelmar();
  ~CTrkDocVelmar() override;

  const Papy::FileFactory* GetRegistryKey() const override { return Factory.Get(); }
  void RefreshViews() override;

  // X.dat opens the folder's X.trk but keeps X.dat as its name and recent-file entry;
  // the folder's race.lp opens with the track, before the track registers.
  bool OnOpenDocument(const wxString& path) override;
  // Closes the linked LP documents that have no unsaved changes, newest first.
  bool OnCloseDocument() override;

  int GetLpDocumentCount() const;
  // 0 is the most recently opened; the result is an LP or lap-curve document.
  wxDocument* GetLpDocument(int i) const;
  double GetSideMargin(int side_type) const;

  // Create Min/Max Race Lps (TrkDocMinMax.cpp)
  void OnCreateMinMaxRaceLps(wxCommandEvent& event);
  void OnUpdateCreateMinMaxRaceLps(wxUpdateUIEvent& event);

  DocView::DocumentRegistry* Registry;
  double FitTolerance = 0.1;
  double MinimumRangeWidth = 3.0;
  double MarginSideType2 = 1.5;
  double MarginSideType1 = 1.5;
  double MarginOtherSideTypes = 1.5;
  double LookAhead = 50.0;

  wxDECLARE_DYNAMIC_CLASS(CTrkDocVelmar);
};

} // namespace Ostra::Velmar

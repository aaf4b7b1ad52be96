#pragma once

#include "DocView/Core/DocumentRegistry.h"
#include "DocView/LpDoc.h"

namespace Ostra::Velmar {

// The application's LP document: linked, through the document registry, to the track
// document of its folder once it opened (or was made by New).
class CLpDocVelmar : public DocView::CLpDoc, public DocView::ILpDocLink {
public:
  // Leaves the registry while the LP is still alive.
  ~CLpDocVelmar() override;
  const Papy::FileFactory* GetRegistryKey() const override { return Core.Factory.Get(); }

  bool OnOpenDocument(const wxString& path) override;
  // An empty document without an LP, registered under no folder.
  bool OnNewDocument() override;

protected:
  // Opens the file (a lap curve afresh), then links the document to its track and
  // fills the views; a failed open is shown and never enters the registry.
  bool OpenAndRegister(const wxString& path, bool lapCurve);

  wxDECLARE_DYNAMIC_CLASS(CLpDocVelmar);
};

// A lap curve (.lcv) of a game folder, edited like an LP. Every open reads the file
// afresh for the folder's own track; a lap curve cannot be made empty by New.
class CLcvDocVelmar : public CLpDocVelmar {
public:
  bool OnOpenDocument(const wxString& path) override;
  bool OnNewDocument() override;

  wxDECLARE_DYNAMIC_CLASS(CLcvDocVelmar);
};

} // namespace Ostra::Velmar

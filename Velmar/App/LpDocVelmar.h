#pragma once

#include "DocView/Core/DocumentRegistry.h"
#include "DocView/LpDoc.h"

namespace Ostra::Velmar {

// The application's LP document: linked to the track document of its folder.
class CLpDocVelmar : public DocView::CLpDoc, public DocView::ILpDocLink {
public:
  ~CLpDocVelmar() override;
  const Papy::FileFactory* GetRegistryKey() const override { return Factory.Get(); }

  wxDECLARE_DYNAMIC_CLASS(CLpDocVelmar);
};

// A lap curve (.lcv) of a game folder, edited like an LP.
class CLcvDocVelmar : public CLpDocVelmar {
  wxDECLARE_DYNAMIC_CLASS(CLcvDocVelmar);
};

} // namespace Ostra::Velmar

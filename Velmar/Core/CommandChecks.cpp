#include "Velmar/Core/CommandChecks.h"

#include "Papy/Files/Facets.h"
#include "Papy/Lp/LpFile.h"
#include "Velmar/Generators/ControlPointClipboard.h"

namespace Ostra::Velmar {

bool CanGenerateCurve(const Papy::LpFile* lp, const Papy::FileFactory* factory) {
  return lp != nullptr && factory != nullptr && !lp->HasControlPoints() &&
         factory->HasFacet<Papy::MakeTrack>();
}

bool CanGenerateLp(const Papy::LpFile* lp, const Papy::FileFactory* factory) {
  return lp != nullptr && factory != nullptr && lp->HasControlPoints() &&
         factory->HasFacet<Papy::MakeTrack>() && factory->HasFacet<Papy::CreateLp>();
}

bool CanCopyControlPoints(const Papy::LpFile* lp, int lastRow) {
  return lp != nullptr && Velmar::CanCopyControlPoints(*lp, lastRow);
}

bool CanPasteControlPoints(const Papy::LpFile* lp) {
  return lp != nullptr && Velmar::CanPasteControlPoints(*lp);
}

bool CanCreateMinMaxRaceLps(const Papy::Track* track, const Papy::FileFactory* factory) {
  return track != nullptr && factory != nullptr && factory->HasFacet<Papy::GetDirectory>() &&
         factory->HasFacet<Papy::CreateLp>();
}

} // namespace Ostra::Velmar

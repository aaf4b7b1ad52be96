#include "Papy/Files/Facets.h"

#include "Papy/Lp/PcxFile.h"

namespace Ostra::Papy {

MakePcx::MakePcx() = default;

MakePcx::~MakePcx() = default;

void PurgeFactory::Purge() {
  if (Factory->HasFacet<MakeCam>())
    Factory->GetFacet<MakeCam>()->Purge();
  if (Factory->HasFacet<MakeLp>())
    Factory->GetFacet<MakeLp>()->Purge();
  if (Factory->HasFacet<MakeMip>())
    Factory->GetFacet<MakeMip>()->Purge();
  if (Factory->HasFacet<MakePbf>())
    Factory->GetFacet<MakePbf>()->Purge();
  if (Factory->HasFacet<MakePcx>())
    Factory->GetFacet<MakePcx>()->Cache.clear();
  if (Factory->HasFacet<MakeRpy>())
    Factory->GetFacet<MakeRpy>()->Purge();
  if (Factory->HasFacet<MakeSrb>())
    Factory->GetFacet<MakeSrb>()->Purge();
  if (Factory->HasFacet<MakeTdo>())
    Factory->GetFacet<MakeTdo>()->Purge();
  // An N4 object archive is not purged: the track built over it may still be drawn.
  if (Factory->HasFacet<MakeTrack>())
    Factory->GetFacet<MakeTrack>()->Purge();
  if (Factory->HasFacet<MakeTrk>())
    Factory->GetFacet<MakeTrk>()->Purge();
}

} // namespace Ostra::Papy

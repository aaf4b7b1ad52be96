#include "Papy/Files/FactoryBuilders.h"

#include "Papy/Dat/DatFile.h"
#include "Papy/Files/FolderFacets.h"
#include "Papy/Files/GameFacets.h"

namespace Ostra::Papy {

// Each group installs the MakeTrk it depends on before the facet that uses it, so a
// group stands on its own; in the full factory the first MakeTrk stays and the later
// ones are dropped at once. Facet constructors therefore must not touch any file.

CountedPtr<FileFactory> BuildGPLFileFactory(const PapyDirectory& dir,
                                            const CountedPtr<DatFile>& dat) {
  CountedPtr<FileFactory> factory(new FileFactory);
  factory->AddFacet<GetDirectory>(new GetDirectory(dir));
  factory->AddFacet<GetDat>(new GetDatLocal(dat));
  factory->AddFacet<CreateDat>(new ICR2CreateDat(dir));
  factory->AddFacet<PurgeFactory>(new PurgeFactory(factory.Get()));

  factory->AddFacet<MakeTrk>(new GPLMakeTrk(dir, dat));
  factory->AddFacet<MakeLp>(new GPLMakeLp(dir));
  factory->AddFacet<CreateLp>(
      new GPLCreateLp(factory->GetFacet<MakeLp>(), factory->GetFacet<MakeTrk>()));

  factory->AddFacet<MakeTrk>(new GPLMakeTrk(dir, dat));
  factory->AddFacet<MakeTrack>(new TrkMakeTrack(dir, dat));

  factory->AddFacet<MakeTrk>(new GPLMakeTrk(dir, dat));
  factory->AddFacet<CreateTrk>(new GPLCreateTrk(factory->GetFacet<MakeTrk>()));
  return factory;
}

CountedPtr<FileFactory> BuildICR2FileFactory(const PapyDirectory& dir,
                                             const CountedPtr<DatFile>& dat) {
  CountedPtr<FileFactory> factory(new FileFactory);
  factory->AddFacet<GetDirectory>(new GetDirectory(dir));
  factory->AddFacet<GetDat>(new GetDatLocal(dat));
  factory->AddFacet<PurgeFactory>(new PurgeFactory(factory.Get()));

  factory->AddFacet<MakeTrk>(new ICR2MakeTrk(dir, dat));
  factory->AddFacet<MakeLp>(new ICR2MakeLp(dir));
  factory->AddFacet<CreateLp>(
      new ICR2CreateLp(factory->GetFacet<MakeLp>(), factory->GetFacet<MakeTrk>()));

  factory->AddFacet<MakeTrk>(new ICR2MakeTrk(dir, dat));
  factory->AddFacet<MakeTrack>(new TrkMakeTrack(dir, dat));

  factory->AddFacet<MakeTrk>(new ICR2MakeTrk(dir, dat));
  return factory;
}

} // namespace Ostra::Papy

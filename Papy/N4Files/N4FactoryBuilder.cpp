#include "Papy/N4Files/N4FactoryBuilder.h"

#include "Papy/Dat/DatFile.h"
#include "Papy/Files/Facets.h"
#include "Papy/Files/FolderFacets.h"
#include "Papy/N4Files/N4Facets.h"
#include "Papy/N4Files/N4PtfFacets.h"

namespace Ostra::Papy {

// Facet constructors must not touch any file: a factory is built whenever a folder is
// recognised, and files are read only when a facet is asked for them.
CountedPtr<FileFactory> BuildN4FileFactory(const PapyDirectory& dir, const CountedPtr<DatFile>& dat) {
  CountedPtr<FileFactory> factory(new FileFactory);
  factory->AddFacet<GetDirectory>(new GetDirectory(dir));
  factory->AddFacet<GetDat>(new GetDatLocal(dat));
  factory->AddFacet<CreateDat>(new N4CreateDat(dir));
  factory->AddFacet<PurgeFactory>(new PurgeFactory(factory.Get()));
  factory->AddFacet<MakePtf>(new N4MakePtf(dir, dat));
  factory->AddFacet<MakeTrack>(new N4MakeTrack(dir, dat));
  factory->AddFacet<MakeLp>(new N4MakeLp(dir));
  factory->AddFacet<CreateLp>(new N4CreateLp(factory->GetFacet<MakeLp>(), factory->GetFacet<MakeTrack>()));
  return factory;
}

} // namespace Ostra::Papy

#include "Papy/Files/FolderFacets.h"

#include "Papy/Dat/ICR2DatFile.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Util/Exception.h"

namespace Ostra::Papy {

GetDatLocal::GetDatLocal(const CountedPtr<DatFile>& dat) : Dat(dat) {}

GetDatLocal::~GetDatLocal() = default;

CountedPtr<DatFile> GetDatLocal::Get() { return Dat; }

void GetDatLocal::Release() { Dat.Reset(); }

void GetDatLocal::Set(const CountedPtr<DatFile>& dat) { Dat = dat; }

CountedPtr<DatFile> ICR2CreateDat::Create() {
  const CountedPtr<FileFactory> factory =
      FileFactoryRegistry::Instance().GetFactory(Directory, false);
  UTIL_ASSERT(factory);
  const CountedPtr<DatFile> dat(new ICR2DatFile(Directory.Path + Directory.Name + ".dat"));
  factory->GetFacet<GetDat>()->Release();
  return dat;
}

} // namespace Ostra::Papy

#pragma once

#include "Papy/Files/Facets.h"
#include "Papy/Files/PapyDirectory.h"
#include "Util/CountedPtr.h"

namespace Ostra::Papy {

// The folder's DAT archive as the builder was given it (null when the folder has
// none). Holding it keeps the archive file open.
class GetDatLocal : public GetDat {
public:
  explicit GetDatLocal(const CountedPtr<DatFile>& dat);
  ~GetDatLocal() override;

  CountedPtr<DatFile> Get() override;
  void Release() override;
  void Set(const CountedPtr<DatFile>& dat) override;

  CountedPtr<DatFile> Dat;
};

// New ICR2-format archives for the folder.
class ICR2CreateDat : public CreateDat {
public:
  explicit ICR2CreateDat(const PapyDirectory& dir) : Directory(dir) {}

  // Creates <folder>/<name>.dat, empty, and only then makes the folder's factory let
  // go of its previous archive, so a failure (XFileOpen when the file exists) keeps it.
  CountedPtr<DatFile> Create() override;

  PapyDirectory Directory;
};

} // namespace Ostra::Papy

#pragma once

#include "Papy/Files/FileFactory.h"
#include "Papy/Files/PapyDirectory.h"
#include "Util/CountedPtr.h"

namespace Ostra::Papy {

class DatFile;

// The factories of GPL and N2 (ICR2-format) folders, with the folder's archive (null
// when it has none). They open no file: facets read lazily.
//
// GPL: GetDat, GetDirectory, CreateLp, CreateTrk, MakeLp, MakeTrk, CreateDat,
// PurgeFactory, MakeTrack. N2: the same without CreateDat and CreateTrk.
CountedPtr<FileFactory> BuildGPLFileFactory(const PapyDirectory& dir,
                                            const CountedPtr<DatFile>& dat);
CountedPtr<FileFactory> BuildICR2FileFactory(const PapyDirectory& dir,
                                             const CountedPtr<DatFile>& dat);

} // namespace Ostra::Papy

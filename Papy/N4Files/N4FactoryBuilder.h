#pragma once

#include "Papy/Files/FileFactory.h"
#include "Papy/Files/PapyDirectory.h"
#include "Util/CountedPtr.h"

namespace Ostra::Papy {

class DatFile;

// The factory of an N4 folder, with the folder's archive (null when it has none). It
// opens no file: facets read lazily.
CountedPtr<FileFactory> BuildN4FileFactory(const PapyDirectory& dir, const CountedPtr<DatFile>& dat);

} // namespace Ostra::Papy

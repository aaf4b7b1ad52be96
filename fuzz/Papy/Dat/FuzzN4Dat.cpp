// Opens arbitrary bytes as an N4 archive and reads every sub-file, stored or imploded.
#include "FuzzDatCommon.h"
#include "Papy/Dat/N4DatFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzDat::Exercise<Ostra::Papy::N4DatFile>(data, size);
}

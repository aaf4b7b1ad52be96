// Opens arbitrary bytes as an ICR2 archive and reads every sub-file.
#include "FuzzDatCommon.h"
#include "Papy/Dat/ICR2DatFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzDat::Exercise<Ostra::Papy::ICR2DatFile>(data, size);
}

// Reads arbitrary bytes as an N4 LP file; what reads must write back identical.
#include "FuzzLpCommon.h"
#include "Papy/Lp/N4LpFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace Ostra;
  try {
    Papy::N4LpFile lp(Papy::LpFuzz::Input(data, size));
    Papy::LpFuzz::CheckLine(lp, data, size);
  } catch (const Util::RuntimeError&) {
  }
  return 0;
}

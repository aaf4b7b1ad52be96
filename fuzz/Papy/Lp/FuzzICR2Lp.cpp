// Reads arbitrary bytes as an ICR2 LP file; what reads must write back identical.
#include "FuzzLpCommon.h"
#include "Papy/Lp/ICR2LpFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace Ostra;
  try {
    Papy::ICR2LpFile lp(Papy::LpFuzz::Input(data, size));
    Papy::LpFuzz::CheckLine(lp, data, size);
  } catch (const Util::RuntimeError&) {
  }
  return 0;
}

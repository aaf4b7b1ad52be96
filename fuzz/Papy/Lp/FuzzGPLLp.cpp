// Reads arbitrary bytes as a GPL LP file against a track whose plan length mostly
// matches the file's own count (so that the records get read); what reads must write
// back identical.
#include <cstring>

#include "FuzzLpCommon.h"
#include "Papy/Lp/GPLLpFile.h"
#include "Util/StreamIO.h"
#include "TestSupport/LpFakes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace Ostra;
  float plan_length = 0.0f;
  if (size >= 8) {
    const U32 count = Util::LoadU32(data + 4);
    // A plan length 3 (count - 1) m long demands count records; the ninth byte
    // sometimes picks a raw float instead.
    plan_length = 3.0f * static_cast<float>(count - 1);
    if (size >= 13 && data[8] == 0xFF)
      std::memcpy(&plan_length, data + 9, sizeof plan_length);
  }
  try {
    Papy::GPLLpFile lp(Papy::LpFuzz::Input(data, size), Papy::LpTest::MakeTrk(plan_length));
    Papy::LpFuzz::CheckLine(lp, data, size);
    if (lp.GetRecordCount() > 0) {
      lp.SetRecordSpeedModifier(0, lp.GetRecordLatitude(0));
      lp.SetTireWarmup(0, true);
    }
  } catch (const Util::RuntimeError&) {
  }
  return 0;
}

#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "Papy/Lp/LpFile.h"
#include "Util/CountedPtr.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

namespace Ostra::Papy::LpFuzz {

inline CountedPtr<Util::BinaryStream> Input(const std::uint8_t* data, std::size_t size) {
  return CountedPtr<Util::BinaryStream>(
      new Util::MemoryStream("fuzz.lp", std::vector<unsigned char>(data, data + size)));
}

// Touches every record through the model and checks that writing the line back gives
// the input up to the end of its last record.
inline void CheckLine(LpFile& lp, const std::uint8_t* data, std::size_t size) {
  double sum = 0.0;
  for (U32 i = 0; i < lp.GetRecordCount(); ++i) {
    sum += lp.GetRecordSpeed(i) + lp.GetRecordLatitude(i) + lp.GetRecordYawSpeed(i) +
           lp.GetRecordPathLength(i) + lp.GetRecordSpeedModifier(i) + lp.GetRecordFlags(i);
    const double longitude = lp.GetRecordLongitude(i);
    if (lp.GetRecordIndex(longitude) != i)
      std::abort();
  }
  static_cast<void>(sum);
  CountedPtr<Util::MemoryStream> out(new Util::MemoryStream("out.lp"));
  lp.Write(out);
  const auto& written = out->Bytes();
  if (written.size() > size || !std::equal(written.begin(), written.end(), data))
    std::abort();
  if (lp.GetRecordCount() > 0) {
    lp.SetRecordLatitude(0, sum);
    lp.SetRecordLongitudinalSpeed(0, -sum);
    lp.SetRecordLateralSpeed(0, sum * 1e12);
  }
}

} // namespace Ostra::Papy::LpFuzz

#include "Velmar/Generators/GenerateLp.h"

#include <locale>

#include "Papy/Files/Facets.h"
#include "Util/Exception.h"
#include "Util/StringUtil.h"
#include "Velmar/Generators/SpeedGeneration.h"

namespace Ostra::Velmar {

double LpGripFor(const std::string& baseName) {
  const std::locale locale;
  if (Util::CompareNoCase(baseName, "minrace", locale) == 0 ||
      Util::CompareNoCase(baseName, "maxrace", locale) == 0)
    return RaceLineLpGrip;
  return DefaultLpGrip;
}

std::vector<unsigned> GatherLpFlags(const Papy::FileFactory& factory, const std::string& baseName) {
  std::vector<unsigned> flags;
  try {
    const CountedPtr<Papy::MakeLp> make = factory.GetFacet<Papy::MakeLp>();
    // The empty extension asks for the folder's own LP extension.
    const CountedPtr<Papy::LpFile> existing = make->Make(baseName, "");
    if (existing && existing->HasFlags()) {
      const U32 count = existing->GetRecordCount();
      flags.reserve(count);
      for (U32 i = 0; i < count; ++i)
        flags.push_back(existing->GetRecordFlags(i));
    }
  } catch (...) {
    // A missing or unreadable LP only means there are no flags to keep. A partial
    // list cannot match the new line's record count, so it is dropped as well.
    flags.clear();
  }
  return flags;
}

std::vector<GripRecord> GenerateLp(const Papy::LpFile& curve, Papy::LpFile& lp,
                                   const std::vector<unsigned>& flags, const Papy::Track& track,
                                   double grip) {
  const U32 count = lp.GetRecordCount();
  UTIL_ASSERT(curve.GetRecordCount() >= count);
  const bool copy_flags = flags.size() == count;
  for (U32 i = 0; i < count; ++i) {
    lp.SetRecordLatitude(i, curve.GetRecordLatitude(i));
    lp.SetRecordLongitudinalSpeed(i, curve.GetRecordLongitudinalSpeed(i));
    lp.SetRecordLateralSpeed(i, curve.GetRecordLateralSpeed(i));
    lp.SetRecordYawSpeed(i, curve.GetRecordYawSpeed(i));
    if (copy_flags)
      lp.SetRecordFlags(i, flags[i]);
  }
  return ComputeSpeeds(curve, lp, track, grip);
}

} // namespace Ostra::Velmar

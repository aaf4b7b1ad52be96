#include "Velmar/Generators/GenerateLp.h"

#include <algorithm>
#include <cmath>
#include <locale>
#include <sstream>

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

namespace {

bool SameSpacing(double a, double b) {
  return std::fabs(a - b) <= 1e-9 * std::max(std::fabs(a), std::fabs(b));
}

std::string Describe(const Papy::LpFile& lp) {
  std::ostringstream text;
  text.imbue(std::locale::classic());
  text.precision(10);
  text << lp.GetRecordCount() << " records " << lp.GetRecordSpacing() << " m apart";
  return text.str();
}

bool RecordIsFinite(const Papy::LpFile& lp, U32 i) {
  return std::isfinite(lp.GetRecordLatitude(i)) && std::isfinite(lp.GetRecordLongitudinalSpeed(i)) &&
         std::isfinite(lp.GetRecordLateralSpeed(i)) &&
         (!lp.HasYawSpeed() || std::isfinite(lp.GetRecordYawSpeed(i)));
}

} // namespace

void CheckCurveFitsLp(const Papy::LpFile& curve, const Papy::LpFile& lp) {
  if (curve.GetRecordCount() >= lp.GetRecordCount() &&
      SameSpacing(curve.GetRecordSpacing(), lp.GetRecordSpacing()))
    return;
  throw Util::XUsage("The lap curve has " + Describe(curve) + ", but a new LP of its folder has " +
                     Describe(lp) +
                     ": the curve needs at least as many records, with the same spacing.");
}

void CheckLpIsFinite(const Papy::LpFile& lp, const std::string& name) {
  for (U32 i = 0; i < lp.GetRecordCount(); ++i)
    if (!RecordIsFinite(lp, i))
      throw Util::XUsage("Record " + std::to_string(i) + " of " + name +
                         " holds a value that is not a finite number.");
}

std::vector<GripRecord> GenerateLp(const Papy::LpFile& curve, Papy::LpFile& lp,
                                   const std::vector<unsigned>& flags, const Papy::Track& track,
                                   double grip) {
  CheckCurveFitsLp(curve, lp);
  const U32 count = lp.GetRecordCount();
  CheckLpIsFinite(curve, "the lap curve");
  const bool copy_flags = flags.size() == count;
  const bool has_yaw = lp.HasYawSpeed();
  for (U32 i = 0; i < count; ++i) {
    lp.SetRecordLatitude(i, curve.GetRecordLatitude(i));
    lp.SetRecordLongitudinalSpeed(i, curve.GetRecordLongitudinalSpeed(i));
    lp.SetRecordLateralSpeed(i, curve.GetRecordLateralSpeed(i));
    if (has_yaw)
      lp.SetRecordYawSpeed(i, curve.GetRecordYawSpeed(i));
    if (copy_flags)
      lp.SetRecordFlags(i, flags[i]);
  }
  std::vector<GripRecord> records = ComputeSpeeds(curve, lp, track, grip);
  CheckLpIsFinite(lp, "the new LP");
  return records;
}

} // namespace Ostra::Velmar

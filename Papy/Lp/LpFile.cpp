#include "Papy/Lp/LpFile.h"

#include <cmath>

#include "Util/Exception.h"

namespace Ostra::Papy {

double LpFile::GetRecordPathLength(U32) const { return GetRecordSpacing(); }
double LpFile::GetRecordYawSpeed(U32) const { return 0.0; }
double LpFile::GetRecordSpeedModifier(U32) const { return 1.0; }
U32 LpFile::GetRecordFlags(U32) const { return 0; }
bool LpFile::IsControlPoint(U32) const { return false; }
bool LpFile::HasRecordSpeedLimit(U32) const { return false; }

double LpFile::GetRecordSpeedLimit(U32) const {
  UTIL_ASSERT(false);
  return 0.0;
}

bool LpFile::IsStartSpeedCheckpoint(U32) const { return false; }
bool LpFile::IsEndSpeedCheckpoint(U32) const { return false; }
bool LpFile::IsOutbrakeDecisionPoint(U32) const { return false; }
bool LpFile::IsAbandonPass(U32) const { return false; }
bool LpFile::IsStartLongStraight(U32) const { return false; }
bool LpFile::IsEndLongStraight(U32) const { return false; }
bool LpFile::IsInitiateCornering(U32) const { return false; }
bool LpFile::IsSetSpeedCoeffTo1(U32) const { return false; }
bool LpFile::IsStartNoPassZone(U32) const { return false; }
bool LpFile::IsEndNoPassZone(U32) const { return false; }
bool LpFile::IsStartPass1Zone(U32) const { return false; }
bool LpFile::IsStartPass2Zone(U32) const { return false; }
bool LpFile::IsStartAbruptPass1Zone(U32) const { return false; }
bool LpFile::IsStartAbruptPass2Zone(U32) const { return false; }
bool LpFile::IsTireWarmup(U32) const { return false; }

void LpFile::SetSpareValue1(S32, S32) { UTIL_ASSERT(false); }
void LpFile::SetSpareValue2(S32, S32) { UTIL_ASSERT(false); }
void LpFile::SetRecordPathLength(U32, double) {}
void LpFile::SetRecordYawSpeed(U32, double) { UTIL_ASSERT(false); }
void LpFile::SetRecordSpeedModifier(U32, double) { UTIL_ASSERT(false); }
void LpFile::SetRecordFlags(U32, U32) { UTIL_ASSERT(false); }
void LpFile::SetControlPoint(U32, bool) { UTIL_ASSERT(false); }
void LpFile::SetRecordSpeedLimit(U32, double) { UTIL_ASSERT(false); }

void LpFile::SetStartSpeedCheckpoint(U32, bool) { UTIL_ASSERT(false); }
void LpFile::SetEndSpeedCheckpoint(U32, bool) { UTIL_ASSERT(false); }
void LpFile::SetOutbrakeDecisionPoint(U32, bool) { UTIL_ASSERT(false); }
void LpFile::SetAbandonPass(U32, bool) { UTIL_ASSERT(false); }
void LpFile::SetStartLongStraight(U32, bool) { UTIL_ASSERT(false); }
void LpFile::SetEndLongStraight(U32, bool) { UTIL_ASSERT(false); }
void LpFile::SetInitiateCornering(U32, bool) { UTIL_ASSERT(false); }
void LpFile::SetSetSpeedCoeffTo1(U32, bool) { UTIL_ASSERT(false); }
void LpFile::SetStartNoPassZone(U32, bool) { UTIL_ASSERT(false); }
void LpFile::SetEndNoPassZone(U32, bool) { UTIL_ASSERT(false); }
void LpFile::SetStartPass1Zone(U32, bool) { UTIL_ASSERT(false); }
void LpFile::SetStartPass2Zone(U32, bool) { UTIL_ASSERT(false); }
void LpFile::SetStartAbruptPass1Zone(U32, bool) { UTIL_ASSERT(false); }
void LpFile::SetStartAbruptPass2Zone(U32, bool) { UTIL_ASSERT(false); }
void LpFile::SetTireWarmup(U32, bool) { UTIL_ASSERT(false); }

double LpFile::GetRecordSpeed(U32 i) const {
  const double longitudinal = GetRecordLongitudinalSpeed(i);
  const double lateral = GetRecordLateralSpeed(i);
  return std::sqrt(longitudinal * longitudinal + lateral * lateral);
}

U32 LpFile::FindRecordIndex(double longitude, std::size_t recordsSize) const {
  UTIL_ASSERT(longitude >= GetRecordLongitude(0));
  UTIL_ASSERT(longitude <= GetRecordLongitude(GetRecordCount() - 1));
  // The range checks bound the quotient by the record count (NaN never gets here);
  // the guard only keeps a degenerate spacing from an undefined conversion.
  const double quotient = longitude / GetRecordSpacing();
  U32 index = quotient >= 1.0 && quotient < 4294967296.0 ? static_cast<U32>(quotient) : 0;
  UTIL_ASSERT(index > 0);
  --index;
  // A spacing that is not exact in binary lets the truncated quotient land one record
  // off (a record's own longitude divided by the spacing can come out just below its
  // number); the longitudes themselves decide.
  if (index + 1 < GetRecordCount() && GetRecordLongitude(index + 1) <= longitude)
    ++index;
  else if (index > 0 && GetRecordLongitude(index) > longitude)
    --index;
  UTIL_ASSERT_TEXT(index < recordsSize, "index < Records.size()");
  return index;
}

} // namespace Ostra::Papy

#include "Papy/Track/TrkFile.h"

#include <cmath>

#include "Util/Exception.h"

namespace Ostra::Papy {

void TrkFile::SetXSectionCubic(U32 s, U32 j, S32 a, S32 b, S32 c, S32 d) {
  SetStartAltitude(s, j, a);
  SetLinearCoefficient(s, j, b);
  SetSquareCoefficient(s, j, c);
  SetCubeCoefficient(s, j, d);
}

float TrkFile::GetSectionStart2D(U32 s) const {
  UTIL_ASSERT(s < Sections2D.size());
  return Sections2D[s].Start;
}

float TrkFile::GetSectionLength2D(U32 s) const {
  UTIL_ASSERT(s < Sections2D.size());
  return Sections2D[s].Length;
}

float TrkFile::ComputeSection2DLength(U32 s) const {
  const U32 next = s + 1 < GetSectionCount() ? s + 1 : 0;
  S32 x0, y0, x1, y1, z, orientation, pitch, bank, surface;
  GetTrackPoint(GetSectionStart(s), 0, x0, y0, z, orientation, pitch, bank, surface);
  GetTrackPoint(GetSectionStart(next), 0, x1, y1, z, orientation, pitch, bank, surface);
  // The plan lengths feed the LP record counts, so every step is rounded to float.
  const float fx0 = static_cast<float>(TrkUnitsToMetres(x0));
  const float fy0 = static_cast<float>(TrkUnitsToMetres(y0));
  const float fx1 = static_cast<float>(TrkUnitsToMetres(x1));
  const float fy1 = static_cast<float>(TrkUnitsToMetres(y1));
  if (!IsSectionCurve(s)) {
    const float dx = fx1 - fx0;
    const float dy = fy1 - fy0;
    return std::sqrt(dy * dy + dx * dx);
  }
  const float cx = static_cast<float>(TrkUnitsToMetres(GetCurveCentreX(s)));
  const float cy = static_cast<float>(TrkUnitsToMetres(GetCurveCentreY(s)));
  const float ax = fx0 - cx;
  const float ay = fy0 - cy;
  const float bx = fx1 - cx;
  const float by = fy1 - cy;
  const float cross = by * ax - bx * ay;
  const float dot = by * ay + bx * ax;
  // atan2 in double, rounded once: float atan2 differs between maths libraries.
  float angle = std::fabs(static_cast<float>(std::atan2(static_cast<double>(cross),
                                                        static_cast<double>(dot))));
  // atan2 cannot see past a half turn; a longer sweep takes the other way round.
  if (std::fabs(TrkHalfAngleToRadians(GetCurveHalfAngle(s))) > std::acos(-1.0))
    angle = static_cast<float>(2.0 * std::acos(-1.0)) - angle;
  return std::sqrt(ax * ax + ay * ay) * angle;
}

void TrkFile::BuildSection2DLongitudeMap() {
  float total = 0.0f;
  const U32 count = GetSectionCount();
  Sections2D.clear();
  Sections2D.reserve(count);
  Section2DLongitudeMap.clear();
  for (U32 s = 0; s < count; ++s) {
    const float start = total;
    const float length = ComputeSection2DLength(s);
    // A section without plan length is never found, so its scale is never read.
    const double scale =
        length > 0.0f ? TrkUnitsToMetres(GetSectionLength(s)) / static_cast<double>(length) : 0.0;
    total = total + length;
    Sections2D.push_back(Section2D{start, length, scale});
    Section2DLongitudeMap.emplace(total, std::make_pair(s, start));
  }
  TotalLength2D = total;
}

std::map<float, std::pair<U32, float>>::const_iterator
TrkFile::FindPlanEntry(double plan_distance, float& wrapped) const {
  UTIL_ASSERT(std::isfinite(plan_distance));
  UTIL_ASSERT(TotalLength2D > 0.0f);
  float d = static_cast<float>(plan_distance);
  UTIL_ASSERT(std::isfinite(d));
  // The loops alone never end once d - TotalLength2D rounds back to d; reduce far
  // distances first and keep the loops, so that distances near the lap stay bit-exact.
  if (std::fabs(d) > 4.0f * TotalLength2D)
    d = std::fmod(d, TotalLength2D);
  while (d < 0.0f)
    d = d + TotalLength2D;
  while (d >= TotalLength2D)
    d = d - TotalLength2D;
  const auto it = Section2DLongitudeMap.upper_bound(d);
  UTIL_ASSERT(it != Section2DLongitudeMap.end());
  wrapped = d;
  return it;
}

S32 TrkFile::Length2DToLongitude(double plan_distance) const {
  float d = 0.0f;
  const auto it = FindPlanEntry(plan_distance, d);
  const U32 s = it->second.first;
  const Section2D& entry = Sections2D[s];
  const double metres = (static_cast<double>(d) - static_cast<double>(entry.Start)) * entry.Scale;
  return WrapAdd(MetresToTrkUnits(metres), GetSectionStart(s));
}

U32 TrkFile::FindSection2D(double plan_distance, double& offset) const {
  float d = 0.0f;
  const auto it = FindPlanEntry(plan_distance, d);
  offset = static_cast<double>(d) - static_cast<double>(it->second.second);
  return it->second.first;
}

void TrkFile::BuildSection3DLongitudeMap() const {
  Section3DLongitudeMap.clear();
  const U32 count = GetSectionCount();
  for (U32 s = 0; s < count; ++s) {
    const S32 start = GetSectionStart(s);
    // The first section inserted under a key keeps it, so a zero-length section is
    // shadowed by its predecessor and never found.
    Section3DLongitudeMap.emplace(WrapAdd(start, GetSectionLength(s)), std::make_pair(s, start));
  }
}

U32 TrkFile::FindSection3D(S32 longitude, S32& offset) const {
  if (Section3DLongitudeMap.empty())
    BuildSection3DLongitudeMap();
  const S32 length = GetLength();
  UTIL_ASSERT(length > 0);
  // The same as adding or subtracting the length until the longitude lies in the lap.
  S64 wrapped = static_cast<S64>(longitude) % length;
  if (wrapped < 0)
    wrapped += length;
  const S32 lap_longitude = static_cast<S32>(wrapped);
  const auto it = Section3DLongitudeMap.upper_bound(lap_longitude);
  UTIL_ASSERT(it != Section3DLongitudeMap.end());
  offset = WrapSub(lap_longitude, it->second.second);
  return it->second.first;
}

U32 TrkFile::FindLateral(S32 latitude, S32& offset) const {
  const U32 count = GetLateralCount();
  UTIL_ASSERT(count > 0);
  for (U32 i = 1; i < count; ++i) {
    if (latitude < GetLateral(i)) {
      offset = WrapSub(latitude, GetLateral(i - 1));
      return i - 1;
    }
  }
  offset = WrapSub(latitude, GetLateral(count - 1));
  return count - 1;
}

U32 TrkFile::FindSurface(U32 s, S32 offset, S32 latitude) const {
  const U32 count = GetSurfaceCount(s);
  UTIL_ASSERT(count > 0);
  const S32 f = FractionFixed30(offset, GetSectionLength(s));
  for (U32 k = 0; k < count; ++k) {
    const S32 ls = GetSurfaceLeftStartLatitude(s, k);
    const S32 le = GetSurfaceLeftEndLatitude(s, k);
    if ((ls > latitude || le > latitude) && WrapAdd(ls, MulFixed30(WrapSub(le, ls), f)) > latitude)
      return k;
  }
  return count - 1;
}

S32 TrkFile::EvaluateAltitude(U32 s, U32 j, S32 t) const {
  S32 v = MulFixed30(GetCubeCoefficient(s, j), t);
  v = MulFixed30(WrapAdd(v, GetSquareCoefficient(s, j)), t);
  v = MulFixed30(WrapAdd(v, GetLinearCoefficient(s, j)), t);
  return WrapAdd(v, GetStartAltitude(s, j));
}

S32 TrkFile::EvaluateSlope(U32 s, U32 j, S32 t) const {
  S32 v = MulFixed30(GetCubeCoefficientTimes3(s, j), t);
  v = MulFixed30(WrapAdd(v, GetSquareCoefficientTimes2(s, j)), t);
  v = WrapAdd(v, GetLinearCoefficient(s, j));
  return DivFixed13(v, GetSectionLength(s));
}

void TrkFile::GetTrackPoint(S32 longitude, S32 latitude, S32& x, S32& y, S32& z, S32& orientation,
                            S32& pitch, S32& bank, S32& surface_type) const {
  S32 offset = 0;
  const U32 s = FindSection3D(longitude, offset);
  const S32 t = FractionFixed30(offset, GetSectionLength(s));
  S32 lateral_offset = 0;
  const U32 j = FindLateral(latitude, lateral_offset);
  surface_type = GetSurfaceType(s, FindSurface(s, offset, latitude));
  const S32 alt0 = EvaluateAltitude(s, j, t);
  const S32 slope0 = EvaluateSlope(s, j, t);
  if (lateral_offset >= 0 && j + 1 < GetLateralCount()) {
    const S32 alt1 = EvaluateAltitude(s, j + 1, t);
    const S32 slope1 = EvaluateSlope(s, j + 1, t);
    const S32 width = WrapSub(GetLateral(j + 1), GetLateral(j));
    const S32 rise = WrapSub(alt1, alt0);
    bank = Atan2ToTrkAngle(rise, width);
    const S32 g = FractionFixed30(lateral_offset, width);
    pitch = SlopeToTrkAngle(WrapAdd(MulFixed30(WrapSub(slope1, slope0), g), slope0));
    z = WrapAdd(MulFixed30(rise, g), alt0);
  } else {
    bank = 0;
    pitch = SlopeToTrkAngle(slope0);
    z = alt0;
  }
  if (!IsSectionCurve(s)) {
    orientation = GetSectionOrientation(s);
    x = WrapAdd(WrapAdd(GetXSectionStartX(s, j), MulFixed30(offset, GetStraightDeltaX(s))),
                MulFixed30(lateral_offset, GetStraightLateralX(s)));
    y = WrapAdd(WrapAdd(GetXSectionStartY(s, j), MulFixed30(offset, GetStraightDeltaY(s))),
                MulFixed30(lateral_offset, GetStraightLateralY(s)));
    return;
  }
  orientation =
      WrapAdd(GetSectionOrientation(s), WrapMul(2, MulFixed30(GetCurveHalfAngle(s), t)));
  const S32 r = WrapSub(GetXSectionRadius(s, j), lateral_offset);
  x = WrapAdd(GetCurveCentreX(s), MulFixed30(r, SinFixed30(orientation)));
  y = WrapAdd(GetCurveCentreY(s), MulFixed30(r, WrapSub(0, CosFixed30(orientation))));
}

} // namespace Ostra::Papy

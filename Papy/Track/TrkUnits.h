#pragma once

#include "Util/Types.h"

// Unit conversions and fixed-point arithmetic of TRK files. A TRK file keeps every
// value as a 32-bit integer: lengths in units of 5.08e-05 m, angles as binary angles of
// 2^32 per turn, fractions with 2^30 as one and slopes with 2^13 as one. The two angle
// factors are fixed literals of the format, deliberately not derived from pi.
namespace Ostra::Papy {

inline constexpr double TrkMetresPerUnit = 5.08e-05;
inline constexpr double TrkRadiansPerAngleUnit = 1.462918079266274e-9;
inline constexpr double TrkAngleUnitsPerRadian = 683565275.5768453;
inline constexpr S32 TrkFixed30One = 1 << 30;
inline constexpr S32 TrkFixed13One = 1 << 13;

// Truncates towards zero. NaN and values whose truncation does not fit in 32 bits give
// -2^31, as the game's processors do; so a half turn either way becomes -2^31.
S32 TruncToI32(double value);

// 32-bit two's-complement arithmetic, wrapping like the game's without undefined
// behaviour.
constexpr S32 WrapAdd(S32 a, S32 b) {
  return static_cast<S32>(static_cast<U32>(a) + static_cast<U32>(b));
}
constexpr S32 WrapSub(S32 a, S32 b) {
  return static_cast<S32>(static_cast<U32>(a) - static_cast<U32>(b));
}
constexpr S32 WrapMul(S32 a, S32 b) {
  return static_cast<S32>(static_cast<U32>(a) * static_cast<U32>(b));
}

double TrkUnitsToMetres(S32 units);
S32 MetresToTrkUnits(double metres);
double TrkAngleToRadians(S32 angle);
S32 RadiansToTrkAngle(double radians);
// The radians of a stored half angle, i.e. of the whole sweep. Doubled in floating point
// so that sweeps beyond a half turn keep their size and sign.
double TrkHalfAngleToRadians(S32 half_angle);
// RadiansToTrkAngle divided by 2, rounding towards zero.
S32 RadiansToTrkHalfAngle(double radians);
// sin and cos of a binary angle in 2^30 fixed point.
S32 SinFixed30(S32 angle);
S32 CosFixed30(S32 angle);
S32 Atan2ToTrkAngle(S32 y, S32 x);
// The pitch of a slope in 2^13 fixed point. Slopes steeper than one are clamped to a
// pitch of a quarter turn.
S32 SlopeToTrkAngle(S32 slope);
// dividend / divisor in 2^30 fixed point. Throws XAssertion unless dividend <= divisor
// and divisor != 0.
S32 FractionFixed30(S32 dividend, S32 divisor);
// a * b / 2^30, rounding towards minus infinity.
S32 MulFixed30(S32 a, S32 b);
// a / b in 2^13 fixed point, truncated. Throws XAssertion when b is 0.
S32 DivFixed13(S32 a, S32 b);

} // namespace Ostra::Papy

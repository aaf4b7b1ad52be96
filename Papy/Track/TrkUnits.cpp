#include "Papy/Track/TrkUnits.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "Util/Exception.h"

namespace Ostra::Papy {

S32 TruncToI32(double value) {
  // The open range whose truncation fits: (-2^31 - 1, 2^31). NaN fails both tests.
  if (!(value > -2147483649.0 && value < 2147483648.0))
    return std::numeric_limits<S32>::min();
  return static_cast<S32>(value);
}

double TrkUnitsToMetres(S32 units) { return units * TrkMetresPerUnit; }

S32 MetresToTrkUnits(double metres) { return TruncToI32(metres / TrkMetresPerUnit); }

double TrkAngleToRadians(S32 angle) { return angle * TrkRadiansPerAngleUnit; }

S32 RadiansToTrkAngle(double radians) { return TruncToI32(radians / TrkRadiansPerAngleUnit); }

double TrkHalfAngleToRadians(S32 half_angle) { return 2.0 * TrkAngleToRadians(half_angle); }

S32 RadiansToTrkHalfAngle(double radians) { return RadiansToTrkAngle(radians) / 2; }

S32 SinFixed30(S32 angle) { return TruncToI32(std::sin(TrkAngleToRadians(angle)) * 1073741824.0); }

S32 CosFixed30(S32 angle) { return TruncToI32(std::cos(TrkAngleToRadians(angle)) * 1073741824.0); }

S32 Atan2ToTrkAngle(S32 y, S32 x) {
  return TruncToI32(std::atan2(static_cast<double>(y), static_cast<double>(x)) *
                    TrkAngleUnitsPerRadian);
}

S32 SlopeToTrkAngle(S32 slope) {
  const S32 clamped = std::clamp(slope, -TrkFixed13One, TrkFixed13One);
  return TruncToI32(std::asin(clamped / 8192.0) * TrkAngleUnitsPerRadian);
}

S32 FractionFixed30(S32 dividend, S32 divisor) {
  UTIL_ASSERT(dividend <= divisor);
  UTIL_ASSERT(divisor != 0);
  // |dividend| * 2^30 stays below 2^62, so neither the product nor the quotient overflows.
  const S64 quotient = (static_cast<S64>(dividend) << 30) / divisor;
  return static_cast<S32>(quotient);
}

S32 MulFixed30(S32 a, S32 b) {
  // Arithmetic shift of a negative value: defined in C++20, rounds towards -infinity.
  return static_cast<S32>((static_cast<S64>(a) * b) >> 30);
}

S32 DivFixed13(S32 a, S32 b) {
  UTIL_ASSERT(b != 0);
  return static_cast<S32>(static_cast<S64>(a) * 8192 / b);
}

} // namespace Ostra::Papy

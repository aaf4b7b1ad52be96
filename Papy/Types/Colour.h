#pragma once

#include "Util/Types.h"

namespace Ostra::Papy {

// Red, green, blue, alpha, normally 0.0 to 1.0. A fully transparent colour has no hue:
// alpha 0.0 stores all four components as 0.0.
struct Colour {
  Colour() = default;
  Colour(F32 red, F32 green, F32 blue, F32 alpha)
      : Red(alpha == 0.0f ? 0.0f : red), Green(alpha == 0.0f ? 0.0f : green),
        Blue(alpha == 0.0f ? 0.0f : blue), Alpha(alpha == 0.0f ? 0.0f : alpha) {}

  F32 Red = 0.0f;
  F32 Green = 0.0f;
  F32 Blue = 0.0f;
  F32 Alpha = 0.0f;
};

// Component-wise float equality (0.0 equals -0.0; NaN equals nothing).
inline bool ColourEquals(const Colour& a, const Colour& b) {
  return a.Red == b.Red && a.Green == b.Green && a.Blue == b.Blue && a.Alpha == b.Alpha;
}

} // namespace Ostra::Papy

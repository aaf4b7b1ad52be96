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

inline bool ColourNotEquals(const Colour& a, const Colour& b) { return !ColourEquals(a, b); }

// Component-wise product; like any colour, a product with alpha 0.0 is all zeros.
inline Colour ColourProduct(const Colour& a, const Colour& b) {
  return Colour(a.Red * b.Red, a.Green * b.Green, a.Blue * b.Blue, a.Alpha * b.Alpha);
}

// How far apart two colours look: the squared RGB distance weighted by the first
// colour's alpha, plus the squared alpha difference, over 4.
inline F32 ColourDistance(const Colour& a, const Colour& b) {
  const F32 red = a.Red - b.Red;
  const F32 green = a.Green - b.Green;
  const F32 blue = a.Blue - b.Blue;
  const F32 alpha = a.Alpha - b.Alpha;
  return ((red * red + green * green + blue * blue) * a.Alpha + alpha * alpha) / 4.0f;
}

} // namespace Ostra::Papy

#pragma once

#include <locale>
#include <numbers>
#include <string>

namespace Ostra::Util {

// Every character through the locale's lower-case conversion. The classic locale is
// the default: a user locale must never change how file names compare.
std::string ToLower(const std::string& text, const std::locale& locale = std::locale::classic());

// The difference of the first differing lower-case characters (as signed char), else
// the difference of the lengths. Only the sign and zero carry meaning.
int CompareNoCase(const std::string& a, const std::string& b,
                  const std::locale& locale = std::locale::classic());

inline constexpr double Pi = std::numbers::pi;

// The operation order is fixed: it decides the last bit.
inline double DegreesToRadians(double degrees) { return Pi * degrees / 180.0; }
inline double RadiansToDegrees(double radians) { return radians / Pi * 180.0; }

} // namespace Ostra::Util

// Reads arbitrary text as an LP grid cell, typed or pasted. Numbers must come out as
// the C library reads them (the grid has always promised atof and strtoul), except
// that a value that is not finite, or beyond the range, is refused; and a number
// shown in a cell must read back as the value shown.
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "DocView/Core/LpCells.h"

namespace {

using namespace Ostra::DocView;

void CheckDouble(const std::string& text) {
  const std::optional<double> parsed = ParseCellDouble(text);
  errno = 0;
  const double expected = std::strtod(text.c_str(), nullptr);
  if (!parsed) {
    // Refused: strtod must have found the number out of range or not finite.
    if (errno != ERANGE && std::isfinite(expected))
      std::abort();
    return;
  }
  if (!std::isfinite(*parsed) || *parsed != expected)
    std::abort();
  // Six decimals: the text shown is within half a millionth of the value, plus the
  // rounding of the value itself.
  const std::optional<double> again = ParseCellDouble(FormatCellDouble(*parsed));
  if (!again || std::fabs(*again - *parsed) > 5e-7 + std::fabs(*parsed) * 0x1p-52)
    std::abort();
  if (const std::optional<double> speed = ParseCellSpeed(text); !speed || !std::isfinite(*speed))
    std::abort();
  if (const std::optional<double> angle = ParseCellAngle(text); angle && !std::isfinite(*angle))
    std::abort();
}

void CheckHex(const std::string& text) {
  const std::optional<Ostra::Util::U32> parsed = ParseCellHex(text);
  errno = 0;
  const unsigned long long word = std::strtoull(text.c_str(), nullptr, 16);
  // strtoull negates after reading; the magnitude is what must fit in 32 bits.
  const std::size_t first = text.find_first_not_of(" \t\n\v\f\r");
  const bool negative = first != std::string::npos && text[first] == '-';
  const unsigned long long magnitude = negative ? 0ull - word : word;
  if (errno == ERANGE || magnitude > 0xFFFFFFFFull) {
    if (parsed)
      std::abort();
    return;
  }
  if (!parsed || *parsed != static_cast<Ostra::Util::U32>(word))
    std::abort();
  if (ParseCellHex(FormatCellHex(*parsed)) != parsed)
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  // The C library stops at a NUL; so does a cell, whose text comes from a C string.
  const std::string cell = text.substr(0, text.find('\0'));
  CheckDouble(cell);
  CheckHex(cell);
  if (ParseCellBool(cell) != (!cell.empty() && cell.front() == '1'))
    std::abort();
  return 0;
}

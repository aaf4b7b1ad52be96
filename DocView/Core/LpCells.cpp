#include "DocView/Core/LpCells.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

#include "Util/StringUtil.h"

namespace Ostra::DocView {

namespace {

constexpr double KilometresPerHourPerMetrePerSecond = 3.6;

// The C locale's blanks, which atof and strtoul skip.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return c - 'A' + 10;
}

// Blanks, then an optional sign; true for a minus.
bool SkipBlanksAndSign(std::string_view& text) {
  std::size_t at = 0;
  while (at < text.size() && IsBlank(text[at]))
    ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  text.remove_prefix(at);
  return negative;
}

// "0x" followed by something a hexadecimal number can start with.
bool HasHexPrefix(std::string_view text) {
  if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X'))
    return false;
  return IsHexDigit(text[2]) || (text[2] == '.' && text.size() > 3 && IsHexDigit(text[3]));
}

} // namespace

std::string FormatCellDouble(double value) {
  // Room for the 309 integer digits of the largest double, sign and six decimals.
  std::array<char, 400> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, 6);
  return std::string(buffer.data(), result.ptr);
}

std::string FormatCellSpeed(double metresPerSecond) {
  return FormatCellDouble(metresPerSecond * KilometresPerHourPerMetrePerSecond);
}

std::string FormatCellAngle(double radians) { return FormatCellDouble(Util::RadiansToDegrees(radians)); }

std::string FormatCellBool(bool value) { return value ? "1" : ""; }

std::string FormatCellHex(Util::U32 value) {
  static constexpr char Digits[] = "0123456789ABCDEF";
  std::string text(8, '0');
  for (int i = 7; i >= 0; --i) {
    text[static_cast<std::size_t>(i)] = Digits[value & 0xF];
    value >>= 4;
  }
  return text;
}

std::optional<double> ParseCellDouble(std::string_view text) {
  const bool negative = SkipBlanksAndSign(text);
  // atof takes one sign; from_chars would read a second minus ("--5", "+-5") as a number.
  if (!text.empty() && (text.front() == '-' || text.front() == '+'))
    return 0.0;
  std::chars_format format = std::chars_format::general;
  if (HasHexPrefix(text)) {
    text.remove_prefix(2);
    format = std::chars_format::hex;
    // libstdc++ 12 reads "p+-5" as the exponent -5; atof takes no exponent with two signs.
    if (const auto p = text.find_first_of("pP"); p != text.npos && text.substr(p + 1, 2) == "+-")
      text = text.substr(0, p);
  }
  double value = 0.0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value, format);
  if (result.ec == std::errc::invalid_argument)
    return 0.0;
  if (result.ec != std::errc() || !std::isfinite(value))
    return std::nullopt;
  return negative ? -value : value;
}

std::optional<double> ParseCellSpeed(std::string_view text) {
  const std::optional<double> kmh = ParseCellDouble(text);
  if (!kmh)
    return std::nullopt;
  return *kmh / KilometresPerHourPerMetrePerSecond;
}

std::optional<double> ParseCellAngle(std::string_view text) {
  const std::optional<double> degrees = ParseCellDouble(text);
  if (!degrees)
    return std::nullopt;
  const double radians = Util::DegreesToRadians(*degrees);
  // The largest doubles overflow on the way to radians.
  if (!std::isfinite(radians))
    return std::nullopt;
  return radians;
}

bool IsWholeCellNumber(std::string_view text) {
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  SkipBlanksAndSign(text);
  std::chars_format format = std::chars_format::general;
  if (HasHexPrefix(text)) {
    text.remove_prefix(2);
    format = std::chars_format::hex;
  }
  double value = 0.0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value, format);
  return result.ec == std::errc() && result.ptr == text.data() + text.size() &&
         std::isfinite(value);
}

bool IsWholeCellHex(std::string_view text) {
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  std::string_view digits = text;
  SkipBlanksAndSign(digits);
  if (HasHexPrefix(digits))
    digits.remove_prefix(2);
  return !digits.empty() && std::all_of(digits.begin(), digits.end(), IsHexDigit) &&
         ParseCellHex(text);
}

bool IsStorableLpValue(double value) {
  return std::isfinite(value) && std::fabs(value) <= static_cast<double>(std::numeric_limits<float>::max());
}

bool ParseCellBool(std::string_view text) { return !text.empty() && text.front() == '1'; }

std::optional<Util::U32> ParseCellHex(std::string_view text) {
  const bool negative = SkipBlanksAndSign(text);
  if (text.size() >= 3 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') && IsHexDigit(text[2]))
    text.remove_prefix(2);
  std::uint64_t value = 0;
  for (const char c : text) {
    if (!IsHexDigit(c))
      break;
    value = value * 16 + static_cast<std::uint64_t>(HexValue(c));
    if (value > 0xFFFFFFFFu)
      return std::nullopt;
  }
  const auto word = static_cast<Util::U32>(value);
  return negative ? static_cast<Util::U32>(0u - word) : word;
}

} // namespace Ostra::DocView

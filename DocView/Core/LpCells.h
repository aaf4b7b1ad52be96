#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "Util/Types.h"

// The texts of LP grid cells, shared by the grid view and the LP edit commands. The
// grid shows speeds in km/h and angles in degrees; the LP holds metres per second and
// radians. Nothing here reads the user's locale: a cell always uses '.' as its decimal
// point, whatever the desktop's language.
namespace Ostra::DocView {

// Six decimals, never an exponent ("27.777778", "-0.500000").
std::string FormatCellDouble(double value);
// Metres per second shown as km/h.
std::string FormatCellSpeed(double metresPerSecond);
// Radians shown as degrees.
std::string FormatCellAngle(double radians);
// "1" or "".
std::string FormatCellBool(bool value);
// Eight upper-case hexadecimal digits ("0000A01F").
std::string FormatCellHex(Util::U32 value);

// A cell's text read as a number the way the C library's atof reads it: leading
// blanks skipped, an optional sign, decimal or 0x-hexadecimal digits, reading stopping
// at the first character that does not fit; text without a number gives 0.0.
// Unlike atof, a text whose number is not finite ("nan", "inf") or lies beyond the
// range of a double ("1e999", "1e-999") gives nothing: such a value must never reach
// an LP, whose writers turn it into fixed point.
std::optional<double> ParseCellDouble(std::string_view text);
// km/h typed, metres per second returned.
std::optional<double> ParseCellSpeed(std::string_view text);
// Degrees typed, radians returned.
std::optional<double> ParseCellAngle(std::string_view text);
// Whether the whole text, blanks around it aside, is one finite number as
// ParseCellDouble reads numbers: "2.75", " -1e3 ", "0x1p4"; not "abc", "3x7", "1e-",
// "0,25" or "1e999", of which ParseCellDouble would read a part or nothing.
bool IsWholeCellNumber(std::string_view text);
// The same for a flags word: the whole text is one hexadecimal number that
// ParseCellHex reads ("a01f", "0x0000A01F").
bool IsWholeCellHex(std::string_view text);
// Whether an edit may store the value (in the LP's own units) in an LP. The GPL and N4
// formats keep single-precision floats, which would turn a larger number into
// infinity: a value beyond their range is refused as a value that is not finite is.
bool IsStorableLpValue(double value);

// True exactly when the text starts with '1'.
bool ParseCellBool(std::string_view text);
// A flags word read the way the C library's strtoul reads base 16 on a 32-bit system:
// leading blanks, an optional sign (a minus negates modulo 2^32), an optional 0x, hex
// digits up to the first other character; no digits give 0. A magnitude beyond 32 bits
// gives nothing, where strtoul would quietly saturate or truncate.
std::optional<Util::U32> ParseCellHex(std::string_view text);

} // namespace Ostra::DocView

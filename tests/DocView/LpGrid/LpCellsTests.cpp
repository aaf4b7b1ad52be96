#include "DocView/Core/LpCells.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <optional>
#include <string>

namespace Ostra::DocView {
namespace {

TEST(LpCells, FormatsWithSixDecimalsInKmhAndDegrees) {
  const struct {
    std::string Text;
    std::string Expected;
  } cases[] = {
      {FormatCellDouble(0.0), "0.000000"},
      {FormatCellDouble(-0.5), "-0.500000"},
      {FormatCellDouble(1234567.1234564), "1234567.123456"},
      {FormatCellDouble(1e20), "100000000000000000000.000000"},
      {FormatCellDouble(2.0000005), "2.000001"},
      {FormatCellSpeed(100.0 / 3.6), "100.000000"},
      {FormatCellSpeed(10.0), "36.000000"},
      {FormatCellAngle(std::numbers::pi), "180.000000"},
      {FormatCellAngle(-std::numbers::pi / 2.0), "-90.000000"},
      {FormatCellBool(true), "1"},
      {FormatCellBool(false), ""},
      {FormatCellHex(0), "00000000"},
      {FormatCellHex(0xA01F), "0000A01F"},
      {FormatCellHex(0xFFFFFFFF), "FFFFFFFF"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.Text, c.Expected);
  // The largest double still comes out in full, without an exponent.
  const std::string largest = FormatCellDouble(std::numeric_limits<double>::max());
  EXPECT_EQ(largest.size(), 309u + 7u);
  EXPECT_EQ(largest.find('e'), std::string::npos);
}

TEST(LpCells, ParsesNumbersAsAtofDoesAndRefusesWhatMustNotReachAnLp) {
  const struct {
    const char* Text;
    std::optional<double> Expected;
  } cases[] = {
      {"12.5", 12.5},
      {"  \t-3.25", -3.25},
      {"+7", 7.0},
      {"1e3", 1000.0},
      {"1e", 1.0},         // the exponent without digits is not read
      {"12abc", 12.0},     // reading stops at the first misfit
      {"4,5", 4.0},        // never a decimal comma
      {".5", 0.5},
      {"0x10", 16.0},      // atof reads hexadecimal too
      {"0x1p4", 16.0},
      {"0xg", 0.0},        // only the 0 is a number
      {"abc", 0.0},        // letters store 0.0
      {"", 0.0},
      {"-", 0.0},
      {"- 5", 0.0},
      {"--5", 0.0},        // one sign only
      {"+-5", 0.0},
      {"1e-300", 1e-300},
      {"nan", std::nullopt},
      {"-NaN", std::nullopt},
      {"inf", std::nullopt},
      {"  -Infinity", std::nullopt},
      {"1e999", std::nullopt},
      {"-1e999", std::nullopt},
      {"1e-999", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(ParseCellDouble(c.Text), c.Expected);
  }
}

TEST(LpCells, SpeedsAndAnglesConvertAndInheritTheRefusals) {
  EXPECT_DOUBLE_EQ(*ParseCellSpeed("100"), 100.0 / 3.6);
  EXPECT_EQ(*ParseCellSpeed("x"), 0.0);
  EXPECT_DOUBLE_EQ(*ParseCellAngle("180"), std::numbers::pi);
  EXPECT_DOUBLE_EQ(*ParseCellAngle("-90"), -std::numbers::pi / 2.0);
  for (const char* refused : {"nan", "inf", "1e400"}) {
    SCOPED_TRACE(refused);
    EXPECT_FALSE(ParseCellSpeed(refused));
    EXPECT_FALSE(ParseCellAngle(refused));
  }
  // Finite in degrees, infinite in radians.
  EXPECT_FALSE(ParseCellAngle("1.7e308"));
}

TEST(LpCells, FlagsReadAsOneWhenTheTextStartsWithOne) {
  const struct {
    const char* Text;
    bool Expected;
  } cases[] = {{"1", true}, {"10", true}, {"1abc", true}, {"", false}, {"0", false},
               {" 1", false}, {"yes", false}, {"2", false}};
  for (const auto& c : cases)
    EXPECT_EQ(ParseCellBool(c.Text), c.Expected) << c.Text;
}

TEST(LpCells, FlagsWordsReadAsBase16AndRefuseMoreThan32Bits) {
  const struct {
    const char* Text;
    std::optional<Util::U32> Expected;
  } cases[] = {
      {"0000A01F", 0xA01Fu},
      {"a01f", 0xA01Fu},
      {"0xFF", 0xFFu},
      {"0XfF", 0xFFu},
      {"  12zz", 0x12u},
      {"0x", 0u},
      {"0xg", 0u},
      {"zz", 0u},
      {"", 0u},
      {"FFFFFFFF", 0xFFFFFFFFu},
      {"00000000FFFFFFFF", 0xFFFFFFFFu}, // leading zeros are no overflow
      {"-1", 0xFFFFFFFFu},               // strtoul negates modulo 2^32
      {"-2", 0xFFFFFFFEu},
      {"+10", 0x10u},
      {"100000000", std::nullopt},
      {"-100000000", std::nullopt},
      {"FFFFFFFFFFFFFFFFFFFF", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(ParseCellHex(c.Text), c.Expected);
  }
  for (const Util::U32 value : {0u, 1u, 0xDEADBEEFu, 0xFFFFFFFFu})
    EXPECT_EQ(ParseCellHex(FormatCellHex(value)), value);
}

} // namespace
} // namespace Ostra::DocView

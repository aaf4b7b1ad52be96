#include "Papy/Lp/ICR2LpFile.h"

#include <limits>

#include <gtest/gtest.h>

#include "TestSupport/LpFakes.h"
#include "TestSupport/ByteBuilder.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

namespace Ostra::Papy {
namespace {

using LpTest::EmptyMemory;
using LpTest::MakeTrk;
using LpTest::MemoryOf;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// count records, the last one the closing record.
Ostra::Test::ByteBuilder Icr2File(U32 count) {
  Ostra::Test::ByteBuilder file;
  file.U32(count);
  for (U32 i = 0; i < count; ++i)
    file.U32(1000 + i).S32(-20 - static_cast<S32>(i)).S32(19685 * static_cast<S32>(i));
  return file;
}

ICR2LpFile Line(U32 records) {
  return ICR2LpFile(MemoryOf(Icr2File(records + 1).Data()));
}

TEST(ICR2LpFile, ClosingRecordIsKeptButNotCounted) {
  auto file = Icr2File(5).PatchU32(4 + 4 * 12, 77); // closing record differs from record 0
  const ICR2LpFile lp(MemoryOf(file.Data()));
  EXPECT_EQ(lp.GetRecordCount(), 4u);
  EXPECT_EQ(lp.Records.size(), 5u);
  EXPECT_EQ(lp.GetRecordSpacing(), 3.3292288);
  EXPECT_DOUBLE_EQ(lp.GetRecordLongitudinalSpeed(3), 1003 * 0.000762);
  EXPECT_DOUBLE_EQ(lp.GetRecordLateralSpeed(3), -23 * 0.000762);
  EXPECT_DOUBLE_EQ(lp.GetRecordLatitude(1), 0.999998);
  auto out = EmptyMemory();
  lp.Write(out);
  EXPECT_EQ(out->Bytes(), file.Data());
}

TEST(ICR2LpFile, DamagedCountsAreRefused) {
  struct Case {
    const char* Name;
    std::vector<unsigned char> Bytes;
    const char* Message; // nullptr: the read failure of data that is not there
  };
  const Case cases[] = {
      {"no closing record", Ostra::Test::ByteBuilder().U32(0).Zeros(12).Data(),
       "ICR2 Lp file has no closing record"},
      {"count beyond the data", Icr2File(3).PatchU32(0, 4).Data(), nullptr},
      {"count of four billion", Icr2File(1).PatchU32(0, 0xFFFFFFFFu).Data(), nullptr},
      {"count cut short", {1, 0}, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    try {
      ICR2LpFile lp(MemoryOf(c.Bytes));
      ADD_FAILURE() << "accepted";
    } catch (const Util::XFileFormat& e) {
      EXPECT_STREQ(e.Message.c_str(), c.Message);
    } catch (const Util::XFileRead& e) {
      EXPECT_EQ(c.Message, nullptr);
      EXPECT_EQ(e.FileName, "test.lp");
    }
  }
}

TEST(ICR2LpFile, SettersRoundEachFieldItsOwnWayAndSaturate) {
  enum Field { Longitudinal, Lateral, Latitude };
  struct Case {
    Field Which;
    double Value;
    S64 Stored;
  };
  const Case cases[] = {
      {Longitudinal, 1.0, 1312}, // 1312.336 + 0.5, truncated
      {Longitudinal, 2.5 * ICR2LpFile::SpeedUnit, 3},
      {Longitudinal, 0.0, 0},
      {Longitudinal, -1.0, 0}, // not the low bits of a negative number
      {Longitudinal, 1e9, 0xFFFFFFFF},
      {Longitudinal, NaN, 0},
      {Lateral, 1.0, 1312},
      {Lateral, -1.0, -1312},
      {Lateral, -1.5 * ICR2LpFile::SpeedUnit, -2}, // half away from zero
      {Lateral, 1.5 * ICR2LpFile::SpeedUnit, 2},
      {Longitudinal, -1.5 * ICR2LpFile::SpeedUnit, 0},
      {Lateral, 1e9, 2147483647},
      {Lateral, -1e9, -2147483647 - 1},
      {Lateral, NaN, 0},
      {Latitude, 1.0, 19685},
      {Latitude, -1.0, -19685}, // truncated toward zero
      {Latitude, 1e6, 2147483647},
      {Latitude, -1e6, -2147483647 - 1},
      {Latitude, NaN, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Which << " " << c.Value);
    ICR2LpFile lp = Line(3);
    S64 stored = 0;
    switch (c.Which) {
    case Longitudinal:
      lp.SetRecordLongitudinalSpeed(2, c.Value);
      stored = lp.Records[2].LongitudinalSpeed;
      break;
    case Lateral:
      lp.SetRecordLateralSpeed(2, c.Value);
      stored = lp.Records[2].LateralSpeed;
      break;
    case Latitude:
      lp.SetRecordLatitude(2, c.Value);
      stored = lp.Records[2].Latitude;
      break;
    }
    EXPECT_EQ(stored, c.Stored);
  }
  ICR2LpFile lp = Line(1);
  lp.SetRecordLongitudinalSpeed(0, 1.0);
  EXPECT_DOUBLE_EQ(lp.GetRecordLongitudinalSpeed(0), 0.999744);
  lp.SetRecordLatitude(0, 1.0);
  EXPECT_DOUBLE_EQ(lp.GetRecordLatitude(0), 0.999998);
}

TEST(ICR2LpFile, RecordZeroKeepsTheClosingRecordInStep) {
  ICR2LpFile lp = Line(4);
  lp.SetRecordLatitude(0, 1.0);
  lp.SetRecordLongitudinalSpeed(0, 1.0);
  lp.SetRecordLateralSpeed(0, -1.0);
  EXPECT_EQ(lp.Records.back().Latitude, 19685);
  EXPECT_EQ(lp.Records.back().LongitudinalSpeed, 1312u);
  EXPECT_EQ(lp.Records.back().LateralSpeed, -1312);
  const ICR2LpFile::Record before = lp.Records.back();
  lp.SetRecordLatitude(3, 5.0);
  lp.SetRecordLateralSpeed(3, 5.0);
  lp.SetRecordLongitudinalSpeed(3, 5.0);
  EXPECT_EQ(lp.Records.back().Latitude, before.Latitude);
  EXPECT_EQ(lp.Records.back().LateralSpeed, before.LateralSpeed);
  EXPECT_EQ(lp.Records.back().LongitudinalSpeed, before.LongitudinalSpeed);
}

TEST(ICR2LpFile, NewFileRoundsTheThreeDimensionalLengthUp) {
  struct Case {
    S32 LengthUnits;
    double Spacing;
    U32 Records;
    double RecordSpacing;
  };
  const Case cases[] = {
      {196850, 0.0, 4, 3.3292288}, // 9.99998 m / 3.329 = 3.0037, rounded up
      {196850, 3.0, 4, 3.0},       // 3.33, rounded up
      {0, 0.0, 0, 3.3292288},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.LengthUnits << " / " << c.Spacing);
    // The plan length must not matter.
    const ICR2LpFile lp(MakeTrk(1.0f, c.LengthUnits), c.Spacing);
    EXPECT_EQ(lp.GetRecordCount(), c.Records);
    EXPECT_EQ(lp.Records.size(), c.Records + 1);
    EXPECT_EQ(lp.GetRecordSpacing(), c.RecordSpacing);
  }
  EXPECT_THROW(ICR2LpFile(MakeTrk(1.0f, 1000), -3.0), Util::XAssertion);
}

} // namespace
} // namespace Ostra::Papy

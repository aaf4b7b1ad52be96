#include "Papy/Lp/GPLLpFile.h"

#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "TestSupport/LpFakes.h"
#include "TestSupport/ByteBuilder.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {
namespace {

using LpTest::EmptyMemory;
using LpTest::MakeTrk;
using LpTest::MemoryOf;

// A 300 m lap takes 101 records: 300 x float(1/3) + 0.5 is just above 100.5.
constexpr float Lap300 = 300.0f;

Ostra::Test::ByteBuilder GplFile(U32 count) {
  Ostra::Test::ByteBuilder file;
  file.U32(0x10002).U32(count);
  for (U32 i = 0; i < count; ++i)
    file.F32(static_cast<float>(i)).F32(0.5f).F32(-1.25f).F32(0.125f).U32(0xA5000000u | i);
  return file;
}

GPLLpFile ZeroedLine(U32 records) {
  // A plan length whose expected count is exactly records.
  return GPLLpFile(MakeTrk(3.0f * static_cast<float>(records - 1)), 0.0);
}

TEST(GPLLpFile, ReadsEveryFieldAndWritesBackIdentical) {
  // Bits 7, 11 and 17-23 belong to no flag and must survive.
  auto file = GplFile(101).PatchU32(8 + 16, 0xFFFFFFFFu).PatchU32(8 + 20 + 16, 0x00FE0880u);
  const GPLLpFile lp(MemoryOf(file.Data()), MakeTrk(Lap300));
  ASSERT_EQ(lp.GetRecordCount(), 101u);
  EXPECT_EQ(lp.GetRecordSpacing(), 3.0);
  EXPECT_DOUBLE_EQ(lp.GetRecordLongitudinalSpeed(2), 72.0);
  EXPECT_DOUBLE_EQ(lp.GetRecordLateralSpeed(2), 18.0);
  EXPECT_DOUBLE_EQ(lp.GetRecordLatitude(2), -1.25);
  EXPECT_DOUBLE_EQ(lp.GetRecordYawSpeed(2), 4.5);
  EXPECT_EQ(lp.GetRecordFlags(2), 0xA5000002u);
  EXPECT_DOUBLE_EQ(lp.GetRecordSpeedModifier(2), 0xA5 * 0.005);
  EXPECT_EQ(lp.GetRecordPathLength(2), 3.0);
  auto out = EmptyMemory();
  lp.Write(out);
  EXPECT_EQ(out->Bytes(), file.Data());
}

TEST(GPLLpFile, RecordCountMustMatchThePlanLength) {
  struct Case {
    const char* Name;
    std::vector<unsigned char> Bytes;
    const char* Message; // nullptr: the read failure of data that is not there
  };
  const Case cases[] = {
      {"one record short", GplFile(100).Data(), "Contains incorrect number of records"},
      {"one record over", GplFile(102).Data(), "Contains incorrect number of records"},
      {"old version with the right count", GplFile(101).PatchU32(0, 0x10001).Data(),
       "GPL Lp file version error"},
      {"N4 version", GplFile(101).PatchU32(0, 0x10003).Data(), "GPL Lp file version error"},
      {"right count, data cut short",
       [] {
         auto bytes = GplFile(101).Data();
         bytes.resize(bytes.size() - 1);
         return bytes;
       }(),
       nullptr},
      {"header cut short", {2, 0, 1, 0}, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    try {
      GPLLpFile lp(MemoryOf(c.Bytes), MakeTrk(Lap300));
      ADD_FAILURE() << "accepted";
    } catch (const Util::XFileFormat& e) {
      EXPECT_STREQ(e.Message.c_str(), c.Message);
    } catch (const Util::XFileRead& e) {
      EXPECT_EQ(c.Message, nullptr);
      EXPECT_EQ(e.FileName, "test.lp");
    }
  }
}

TEST(GPLLpFile, NewFileCountsUseTheSinglePrecisionThird) {
  struct Case {
    float PlanLength;
    double Spacing;
    U32 Records;
    double RecordSpacing;
  };
  const Case cases[] = {
      {300.0f, 0.0, 101, 3.0}, // 100.5000003 truncated, plus 1
      {10.0f, 0.0, 4, 3.0},    // 3.83 truncated, plus 1
      {10.0f, 2.5, 5, 2.5},    // 4.5 truncated, plus 1
      {0.0f, 0.0, 1, 3.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.PlanLength << " / " << c.Spacing);
    const GPLLpFile lp(MakeTrk(c.PlanLength), c.Spacing);
    EXPECT_EQ(lp.GetRecordCount(), c.Records);
    EXPECT_EQ(lp.GetRecordSpacing(), c.RecordSpacing);
    EXPECT_EQ(lp.GetRecordFlags(c.Records - 1), 0u);
    EXPECT_EQ(lp.GetRecordSpeedModifier(0), 0.0);
  }
  EXPECT_THROW(GPLLpFile(MakeTrk(10.0f), -1.0), Util::XAssertion);
}

TEST(GPLLpFile, NewFileReadsBackWithTheSameTrack) {
  for (float plan : {300.0f, 1234.567f, 4480.25f, 7.0f}) {
    SCOPED_TRACE(plan);
    const auto trk = MakeTrk(plan);
    GPLLpFile made(trk, 0.0);
    made.SetRecordLatitude(0, 2.0);
    auto out = EmptyMemory();
    made.Write(out);
    const GPLLpFile read(CountedPtr<Util::BinaryStream>(new Util::MemoryStream("m", out->Bytes())),
                         trk);
    EXPECT_EQ(read.GetRecordCount(), made.GetRecordCount());
    EXPECT_EQ(read.GetRecordLatitude(0), 2.0);
  }
}

TEST(GPLLpFile, SpeedModifierRoundsUpToTheNextStepAndClamps) {
  struct Case {
    double Value;
    U32 Byte;
  };
  const Case cases[] = {
      {1.0, 200},   {1.275, 255}, {0.0, 0},     {0.09, 18},
      {0.035, 7},   {0.0351, 8},  {0.001, 1},   {1.28, 255}, // clamped, not wrapped to 0
      {-0.005, 0},  {-7.0, 0},    {1e300, 255}, {std::numeric_limits<double>::quiet_NaN(), 0},
      {std::numeric_limits<double>::infinity(), 255},
  };
  GPLLpFile lp = ZeroedLine(2);
  lp.Records[1].Flags = 0x00FFFFFFu;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Value);
    lp.SetRecordSpeedModifier(1, c.Value);
    EXPECT_EQ(lp.Records[1].Flags >> 24, c.Byte);
    EXPECT_EQ(lp.Records[1].Flags & 0x00FFFFFFu, 0x00FFFFFFu) << "flag bits changed";
  }
}

TEST(GPLLpFile, EveryShownSpeedModifierStoresItsOwnByte) {
  GPLLpFile lp = ZeroedLine(1);
  for (U32 byte = 0; byte < 256; ++byte) {
    lp.SetRecordFlags(0, byte << 24);
    const double shown = lp.GetRecordSpeedModifier(0);
    lp.SetRecordSpeedModifier(0, shown);
    EXPECT_EQ(lp.GetRecordFlags(0) >> 24, byte) << "getter to setter";
    // The grid shows six decimals and the user may type that back.
    lp.SetRecordSpeedModifier(0, std::stod(std::to_string(shown)));
    EXPECT_EQ(lp.GetRecordFlags(0) >> 24, byte) << "typed " << std::to_string(shown);
  }
}

TEST(GPLLpFile, EachFlagOwnsItsBitAndSettersKeepTheRest) {
  using Getter = bool (GPLLpFile::*)(U32) const;
  using Setter = void (GPLLpFile::*)(U32, bool);
  const struct {
    Getter Get;
    Setter Set;
    U32 Bit;
  } flags[] = {
      {&GPLLpFile::IsStartSpeedCheckpoint, &GPLLpFile::SetStartSpeedCheckpoint, 0x1},
      {&GPLLpFile::IsEndSpeedCheckpoint, &GPLLpFile::SetEndSpeedCheckpoint, 0x2},
      {&GPLLpFile::IsOutbrakeDecisionPoint, &GPLLpFile::SetOutbrakeDecisionPoint, 0x4},
      {&GPLLpFile::IsAbandonPass, &GPLLpFile::SetAbandonPass, 0x8},
      {&GPLLpFile::IsStartLongStraight, &GPLLpFile::SetStartLongStraight, 0x10},
      {&GPLLpFile::IsEndLongStraight, &GPLLpFile::SetEndLongStraight, 0x20},
      {&GPLLpFile::IsInitiateCornering, &GPLLpFile::SetInitiateCornering, 0x40},
      {&GPLLpFile::IsSetSpeedCoeffTo1, &GPLLpFile::SetSetSpeedCoeffTo1, 0x100},
      {&GPLLpFile::IsStartNoPassZone, &GPLLpFile::SetStartNoPassZone, 0x200},
      {&GPLLpFile::IsEndNoPassZone, &GPLLpFile::SetEndNoPassZone, 0x400},
      {&GPLLpFile::IsStartPass1Zone, &GPLLpFile::SetStartPass1Zone, 0x1000},
      {&GPLLpFile::IsStartPass2Zone, &GPLLpFile::SetStartPass2Zone, 0x2000},
      {&GPLLpFile::IsStartAbruptPass1Zone, &GPLLpFile::SetStartAbruptPass1Zone, 0x4000},
      {&GPLLpFile::IsStartAbruptPass2Zone, &GPLLpFile::SetStartAbruptPass2Zone, 0x8000},
      {&GPLLpFile::IsTireWarmup, &GPLLpFile::SetTireWarmup, 0x10000},
  };
  GPLLpFile lp = ZeroedLine(1);
  for (const auto& flag : flags) {
    SCOPED_TRACE(flag.Bit);
    lp.SetRecordFlags(0, 0);
    (lp.*flag.Set)(0, true);
    EXPECT_EQ(lp.GetRecordFlags(0), flag.Bit);
    EXPECT_TRUE((lp.*flag.Get)(0));
    lp.SetRecordFlags(0, 0xFFFFFFFFu);
    (lp.*flag.Set)(0, false);
    EXPECT_EQ(lp.GetRecordFlags(0), ~flag.Bit);
    EXPECT_FALSE((lp.*flag.Get)(0));
  }
  // The whole word goes, speed modifier included.
  lp.SetRecordFlags(0, 0x12000000u);
  EXPECT_FALSE(lp.IsStartSpeedCheckpoint(0));
  EXPECT_DOUBLE_EQ(lp.GetRecordSpeedModifier(0), 0.09);
}

TEST(GPLLpFile, SettersDivideBy36AndPathLengthIsTheSpacing) {
  GPLLpFile lp = ZeroedLine(3);
  lp.SetRecordLongitudinalSpeed(0, 36.0);
  lp.SetRecordLateralSpeed(0, -9.0);
  lp.SetRecordYawSpeed(0, 72.0);
  EXPECT_EQ(lp.Records[0].LongitudinalSpeed, 1.0f);
  EXPECT_EQ(lp.Records[0].LateralSpeed, -0.25f);
  EXPECT_EQ(lp.Records[0].YawSpeed, 2.0f);
  lp.SetRecordPathLength(1, 7.0); // ignored, not an error
  EXPECT_EQ(lp.GetRecordPathLength(1), 3.0);
  EXPECT_FALSE(lp.HasPathLength() || lp.HasSpeedLimit() || lp.HasControlPoints());
  EXPECT_TRUE(lp.HasSpeedModifier() && lp.HasFlags() && lp.HasTireWarmup());
}

} // namespace
} // namespace Ostra::Papy

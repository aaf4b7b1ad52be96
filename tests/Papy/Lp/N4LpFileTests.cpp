#include "Papy/Lp/N4LpFile.h"

#include <bit>
#include <string>

#include <gtest/gtest.h>

#include "Papy/Lp/GPLLpFile.h"
#include "Papy/Lp/ICR2LpFile.h"

#include "TestSupport/LpFakes.h"
#include "TestSupport/ByteBuilder.h"
#include "TestSupport/TempDir.h"
#include "Util/BinaryFile.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {
namespace {

using LpTest::EmptyMemory;
using LpTest::MemoryOf;

struct RealFile {
  const char* Path;
  U32 Records;
};

TEST(N4LpFile, RealFilesReadWithTheirCountsAndWriteBackIdentical) {
  VELMAR_REQUIRE_SHARED_DATA();
  const RealFile files[] = {
      {"n4/atlanta/maxrace.lp", 818}, {"n4/atlanta/minrace.lp", 818},
      {"n4/atlanta/pit0.lp", 818},    {"n4/atlanta/race.lp", 818},
      {"n4/atlanta/raceline.lp", 818}, {"n4/bristol/minpit1.lp", 286},
      {"n4/bristol/pit1.lp", 286},    {"n4/bristol/race.lp", 286},
  };
  for (const RealFile& file : files) {
    SCOPED_TRACE(file.Path);
    const std::string path = Ostra::Test::SharedData(file.Path);
    CountedPtr<Util::BinaryStream> in(Util::BinaryFile::OpenRead(path));
    const N4LpFile lp(in);
    EXPECT_EQ(lp.GetRecordCount(), file.Records);
    EXPECT_EQ(lp.GetRecordSpacing(), 3.0);
    auto out = EmptyMemory();
    lp.Write(out);
    EXPECT_EQ(out->Bytes(), Ostra::Test::ReadWholeFile(path));
  }
}

TEST(N4LpFile, FileSwapsLatitudeAndLateralSpeedAgainstMemory) {
  Ostra::Test::ByteBuilder file;
  file.U32(0x10003).U32(1).F32(2.0f).F32(0.5f).F32(-4.25f).F32(0.25f).F32(2.75f).U32(0xDEADBEEF);
  const N4LpFile lp(MemoryOf(file.Data()));
  EXPECT_EQ(lp.Records[0].LateralSpeed, 0.5f);
  EXPECT_EQ(lp.Records[0].Latitude, -4.25f);
  EXPECT_DOUBLE_EQ(lp.GetRecordLongitudinalSpeed(0), 72.0);
  EXPECT_DOUBLE_EQ(lp.GetRecordLateralSpeed(0), 18.0);
  EXPECT_DOUBLE_EQ(lp.GetRecordLatitude(0), -4.25);
  EXPECT_DOUBLE_EQ(lp.GetRecordYawSpeed(0), 9.0);
  EXPECT_DOUBLE_EQ(lp.GetRecordPathLength(0), 2.75);
  EXPECT_EQ(lp.GetRecordFlags(0), 0xDEADBEEFu);

  N4LpFile edited(MemoryOf(file.Data()));
  edited.SetRecordLatitude(0, 1.5);
  edited.SetRecordLateralSpeed(0, 36.0);
  edited.SetRecordPathLength(0, 3.25);
  edited.SetRecordYawSpeed(0, -72.0);
  edited.SetRecordFlags(0, 0x01020304u);
  edited.SetRecordLongitudinalSpeed(0, 9.0);
  auto out = EmptyMemory();
  edited.Write(out);
  const auto& bytes = out->Bytes();
  ASSERT_EQ(bytes.size(), 32u);
  EXPECT_EQ(Util::LoadU32(&bytes[8]), std::bit_cast<U32>(0.25f));
  EXPECT_EQ(Util::LoadU32(&bytes[12]), std::bit_cast<U32>(1.0f));
  EXPECT_EQ(Util::LoadU32(&bytes[16]), std::bit_cast<U32>(1.5f));
  EXPECT_EQ(Util::LoadU32(&bytes[20]), std::bit_cast<U32>(-2.0f));
  EXPECT_EQ(Util::LoadU32(&bytes[24]), std::bit_cast<U32>(3.25f));
  EXPECT_EQ(Util::LoadU32(&bytes[28]), 0x01020304u);
}

TEST(N4LpFile, DamagedHeadersAreRefused) {
  struct Case {
    const char* Name;
    std::vector<unsigned char> Bytes;
    const char* Message; // nullptr: a read failure; "": accepted
  };
  const Case cases[] = {
      {"version of the GPL format", Ostra::Test::ByteBuilder().U32(0x10002).U32(1).Zeros(24).Data(),
       "N4 Lp file version error"},
      {"count beyond the data", Ostra::Test::ByteBuilder().U32(0x10003).U32(2).Zeros(24).Data(),
       nullptr},
      {"count of four billion", Ostra::Test::ByteBuilder().U32(0x10003).U32(0xFFFFFFFF).Data(),
       nullptr},
      {"header cut short", Ostra::Test::ByteBuilder().U32(0x10003).U16(1).Data(), nullptr},
      {"trailing bytes", Ostra::Test::ByteBuilder().U32(0x10003).U32(1).Zeros(28).Data(), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    if (c.Message && !*c.Message) {
      EXPECT_EQ(N4LpFile(MemoryOf(c.Bytes)).GetRecordCount(), 1u);
    } else if (c.Message) {
      try {
        N4LpFile lp(MemoryOf(c.Bytes));
        ADD_FAILURE() << "accepted";
      } catch (const Util::XFileFormat& e) {
        EXPECT_EQ(e.Message, c.Message);
        EXPECT_EQ(e.FileName, "test.lp");
      }
    } else {
      try {
        N4LpFile lp(MemoryOf(c.Bytes));
        ADD_FAILURE() << "accepted";
      } catch (const Util::XFileRead& e) {
        EXPECT_EQ(e.FileName, "test.lp");
      }
    }
  }
}

TEST(N4LpFile, NewFileTruncatesPlanLengthOverSpacing) {
  struct Case {
    double PlanLength;
    double Spacing;
    U32 Records;
    double RecordSpacing;
  };
  const Case cases[] = {
      {10.0, 0.0, 4, 3.0}, // 3.33 truncated, plus 1
      {9.0, 0.0, 4, 3.0},  // exactly 3, plus 1
      {8.99, 0.0, 3, 3.0},
      {10.0, 2.0, 6, 2.0},
      {0.0, 0.0, 1, 3.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.PlanLength << " / " << c.Spacing);
    const N4LpFile lp(CountedPtr<Track>(new LpTest::LengthOnlyTrack(c.PlanLength)), c.Spacing);
    EXPECT_EQ(lp.GetRecordCount(), c.Records);
    EXPECT_EQ(lp.GetRecordSpacing(), c.RecordSpacing);
    for (U32 i = 0; i < lp.GetRecordCount(); ++i) {
      EXPECT_EQ(lp.GetRecordPathLength(i), 3.0) << "path length does not follow the spacing";
      EXPECT_EQ(lp.GetRecordLatitude(i), 0.0);
      EXPECT_EQ(lp.GetRecordFlags(i), 0u);
    }
  }
  EXPECT_THROW(N4LpFile(CountedPtr<Track>(new LpTest::LengthOnlyTrack(10.0)), -3.0),
               Util::XAssertion);
}

TEST(NewLpFiles, ADamagedTrackLengthIsRefusedInsteadOfAllocatingRecordsForIt) {
  const CountedPtr<Track> huge(new LpTest::LengthOnlyTrack(1e12));
  for (double spacing : {0.0, 3.0}) {
    EXPECT_THROW(N4LpFile(huge, spacing), Util::XUsage) << spacing;
    EXPECT_THROW(GPLLpFile(LpTest::MakeTrk(1e12f), spacing), Util::XUsage) << spacing;
  }
  EXPECT_THROW(ICR2LpFile(LpTest::MakeTrk(0.0f, 0x7FFFFFFF), 1e-3), Util::XUsage);
  // The longest lap any game has still gets its file.
  EXPECT_EQ(N4LpFile(CountedPtr<Track>(new LpTest::LengthOnlyTrack(30000.0)), 3.0).GetRecordCount(),
            10001u);
}

TEST(N4LpFile, CapabilitiesAreThoseTheFormatStores) {
  N4LpFile lp(MemoryOf(Ostra::Test::ByteBuilder().U32(0x10003).U32(2).Zeros(48).Data()));
  EXPECT_TRUE(lp.HasPathLength() && lp.HasYawSpeed() && lp.HasFlags());
  EXPECT_FALSE(lp.HasSpeedModifier() || lp.HasTireWarmup() || lp.HasSpeedLimit());
  EXPECT_EQ(lp.GetRecordSpeedModifier(1), 1.0);
  EXPECT_FALSE(lp.IsTireWarmup(1));
  EXPECT_THROW(lp.SetTireWarmup(0, true), Util::XAssertion);
}

} // namespace
} // namespace Ostra::Papy

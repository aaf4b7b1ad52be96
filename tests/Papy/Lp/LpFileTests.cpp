#include "Papy/Lp/LpFile.h"

#include <cmath>
#include <iterator>
#include <limits>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "TestSupport/LpFakes.h"
#include "Papy/Lp/GPLLpFile.h"
#include "Papy/Lp/ICR2LpFile.h"
#include "Papy/Lp/N4LpFile.h"
#include "Util/Exception.h"

namespace Ostra::Papy {
namespace {

using LpTest::MakeTrk;

CountedPtr<LpFile> N4Line(double planLength, double spacing) {
  return CountedPtr<LpFile>(
      new N4LpFile(CountedPtr<Track>(new LpTest::LengthOnlyTrack(planLength)), spacing));
}

// The expression of the XAssertion that call throws, or "" when it throws none.
template <class Call>
std::string AssertionText(Call call) {
  try {
    call();
  } catch (const Util::XAssertion& e) {
    return e.Expression;
  }
  return "";
}

TEST(LpFile, RecordsLieOneSpacingApartFromTheFirstSpacing) {
  const auto lp = N4Line(30.0, 0.0); // 11 records at 3 m
  ASSERT_EQ(lp->GetRecordCount(), 11u);
  EXPECT_EQ(lp->GetRecordLongitude(0), 3.0);
  EXPECT_EQ(lp->GetRecordLongitude(10), 33.0);
}

// Eleven records 3 m apart in each format; the ICR2 line keeps a closing record
// beyond them that no longitude may reach.
std::vector<std::pair<const char*, CountedPtr<LpFile>>> ElevenRecordLines() {
  return {
      {"GPL", CountedPtr<LpFile>(new GPLLpFile(MakeTrk(30.0f), 0.0))},
      {"ICR2", CountedPtr<LpFile>(new ICR2LpFile(MakeTrk(1.0f, 649606), 3.0))}, // 32.99998 m
      {"N4", N4Line(30.0, 0.0)},
  };
}

TEST(LpFile, RecordIndexIsTheRecordAtOrBeforeTheLongitude) {
  struct Case {
    double Longitude;
    U32 Index;
  };
  const Case cases[] = {{3.0, 0}, {4.5, 0}, {5.999, 0}, {6.0, 1}, {32.9, 9}, {33.0, 10}};
  for (const auto& line : ElevenRecordLines()) {
    SCOPED_TRACE(line.first);
    const CountedPtr<LpFile>& lp = line.second;
    ASSERT_EQ(lp->GetRecordCount(), 11u);
    EXPECT_EQ(lp->GetRecordSpacing(), 3.0);
    for (const Case& c : cases)
      EXPECT_EQ(lp->GetRecordIndex(c.Longitude), c.Index) << c.Longitude;
    EXPECT_EQ(AssertionText([&] { lp->GetRecordIndex(33.5); }),
              "longitude <= GetRecordLongitude(GetRecordCount() - 1)");
  }
}

TEST(LpFile, RecordIndexRefusesLongitudesOutsideTheRecords) {
  const auto lp = N4Line(30.0, 0.0);
  struct Case {
    double Longitude;
    const char* Expression;
  };
  const Case cases[] = {
      {2.9, "longitude >= GetRecordLongitude(0)"},
      {-1.0, "longitude >= GetRecordLongitude(0)"},
      {std::numeric_limits<double>::quiet_NaN(), "longitude >= GetRecordLongitude(0)"},
      {33.01, "longitude <= GetRecordLongitude(GetRecordCount() - 1)"},
      {std::numeric_limits<double>::infinity(),
       "longitude <= GetRecordLongitude(GetRecordCount() - 1)"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(AssertionText([&] { lp->GetRecordIndex(c.Longitude); }), c.Expression)
        << c.Longitude;
}

TEST(LpFile, RecordIndexFindsEachRecordAtItsOwnLongitudeWithAnInexactSpacing) {
  // 3.3292288 is not exact in binary: a record's longitude divided by it can land
  // just below the record's number.
  const ICR2LpFile lp(MakeTrk(1.0f, 20000 * 65536), 0.0);
  ASSERT_EQ(lp.GetRecordCount(), 20000u);
  for (U32 i = 0; i < lp.GetRecordCount(); ++i) {
    ASSERT_EQ(lp.GetRecordIndex(lp.GetRecordLongitude(i)), i);
    if (i + 1 < lp.GetRecordCount()) {
      const double just_before_next =
          std::nextafter(lp.GetRecordLongitude(i + 1), 0.0);
      ASSERT_EQ(lp.GetRecordIndex(just_before_next), i);
    }
  }
}

TEST(LpFile, RecordSpeedCombinesBothDirections) {
  auto lp = N4Line(30.0, 0.0);
  lp->SetRecordLongitudinalSpeed(2, 3.0 * 36.0);
  lp->SetRecordLateralSpeed(2, -4.0 * 36.0);
  EXPECT_EQ(lp->GetRecordSpeed(2), 5.0 * 36.0);
}

TEST(LpFile, OptionalFieldsWithoutTheirCapabilityGiveDefaultsOrAssertFalse) {
  ICR2LpFile lp(MakeTrk(1.0f, 65536 * 4), 0.0);
  EXPECT_FALSE(lp.HasYawSpeed() || lp.HasFlags() || lp.HasPathLength() || lp.HasSpeedModifier() ||
               lp.HasTireWarmup() || lp.HasSpeedLimit() || lp.HasControlPoints());
  EXPECT_EQ(lp.GetRecordYawSpeed(1), 0.0);
  EXPECT_EQ(lp.GetRecordSpeedModifier(1), 1.0);
  EXPECT_EQ(lp.GetRecordFlags(1), 0u);
  EXPECT_EQ(lp.GetRecordPathLength(1), 3.3292288);
  EXPECT_FALSE(lp.IsStartPass1Zone(1) || lp.IsControlPoint(1) || lp.HasRecordSpeedLimit(1));
  lp.SetRecordPathLength(1, 2.0); // ignored, never an error
  EXPECT_EQ(lp.GetRecordPathLength(1), 3.3292288);
  using Call = void (*)(LpFile&);
  const Call calls[] = {
      [](LpFile& f) { f.SetRecordYawSpeed(0, 1.0); },
      [](LpFile& f) { f.SetRecordSpeedModifier(0, 1.0); },
      [](LpFile& f) { f.SetRecordFlags(0, 0); },
      [](LpFile& f) { f.SetControlPoint(0, true); },
      [](LpFile& f) { f.SetRecordSpeedLimit(0, 1.0); },
      [](LpFile& f) { f.GetRecordSpeedLimit(0); },
      [](LpFile& f) { f.SetSpareValue1(0, 0); },
      [](LpFile& f) { f.SetSpareValue2(0, 0); },
  };
  for (const Call call : calls)
    EXPECT_EQ(AssertionText([&] { call(lp); }), "false");

  // Every named flag: reads false, and setting it either way asserts.
  using Getter = bool (LpFile::*)(U32) const;
  using Setter = void (LpFile::*)(U32, bool);
  const std::pair<Getter, Setter> flags[] = {
      {&LpFile::IsStartSpeedCheckpoint, &LpFile::SetStartSpeedCheckpoint},
      {&LpFile::IsEndSpeedCheckpoint, &LpFile::SetEndSpeedCheckpoint},
      {&LpFile::IsOutbrakeDecisionPoint, &LpFile::SetOutbrakeDecisionPoint},
      {&LpFile::IsAbandonPass, &LpFile::SetAbandonPass},
      {&LpFile::IsStartLongStraight, &LpFile::SetStartLongStraight},
      {&LpFile::IsEndLongStraight, &LpFile::SetEndLongStraight},
      {&LpFile::IsInitiateCornering, &LpFile::SetInitiateCornering},
      {&LpFile::IsSetSpeedCoeffTo1, &LpFile::SetSetSpeedCoeffTo1},
      {&LpFile::IsStartNoPassZone, &LpFile::SetStartNoPassZone},
      {&LpFile::IsEndNoPassZone, &LpFile::SetEndNoPassZone},
      {&LpFile::IsStartPass1Zone, &LpFile::SetStartPass1Zone},
      {&LpFile::IsStartPass2Zone, &LpFile::SetStartPass2Zone},
      {&LpFile::IsStartAbruptPass1Zone, &LpFile::SetStartAbruptPass1Zone},
      {&LpFile::IsStartAbruptPass2Zone, &LpFile::SetStartAbruptPass2Zone},
      {&LpFile::IsTireWarmup, &LpFile::SetTireWarmup},
  };
  LpFile& base = lp;
  int flag_index = 0;
  for (const auto& entry : flags) {
    SCOPED_TRACE(flag_index++);
    const Getter get = entry.first;
    const Setter set = entry.second;
    EXPECT_FALSE((base.*get)(1));
    EXPECT_EQ(AssertionText([&] { (base.*set)(1, true); }), "false");
    EXPECT_EQ(AssertionText([&] { (base.*set)(1, false); }), "false");
  }
}

} // namespace
} // namespace Ostra::Papy

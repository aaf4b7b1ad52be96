#pragma once

#include <string>
#include <vector>

#include "DocView/Core/LpRecordSetter.h"
#include "Papy/Curve/LapCurveFixtures.h"
#include "Papy/Curve/LpFileCurve.h"
#include "Papy/Lp/GPLLpFile.h"
#include "Papy/Lp/ICR2LpFile.h"
#include "Papy/Lp/N4LpFile.h"
#include "TestSupport/LpFakes.h"
#include "Util/CountedPtr.h"

// Small LPs of every format, and a setter that writes them the way the LP document
// does while recording which setter ran.
namespace Ostra::DocView::LpGridTest {

using Papy::LpFile;
using Util::CountedPtr;

// About 300 m of lap: 101 GPL or N4 records, 91 ICR2 records.
constexpr float LapMetres = 300.0f;
constexpr Util::S32 LapTrkUnits = 5905512; // 300 m in 5.08e-5 m units

inline CountedPtr<LpFile> GplLp() {
  return CountedPtr<LpFile>(new Papy::GPLLpFile(Papy::LpTest::MakeTrk(LapMetres, LapTrkUnits), 0.0));
}
inline CountedPtr<LpFile> Icr2Lp() {
  return CountedPtr<LpFile>(new Papy::ICR2LpFile(Papy::LpTest::MakeTrk(LapMetres, LapTrkUnits), 0.0));
}
inline CountedPtr<LpFile> N4Lp() {
  return CountedPtr<LpFile>(
      new Papy::N4LpFile(CountedPtr<Papy::Track>(new Papy::LpTest::LengthOnlyTrack(LapMetres)), 0.0));
}

// A circle of radius 100 m (210 records) with a control point every `every` records,
// starting at record 0.
inline CountedPtr<Papy::LpFileCurve> LapCurve(unsigned every = 8) {
  static const CountedPtr<Papy::Track> circle(new Test::OvalTrack(100.0, 0.0));
  const auto& oval = dynamic_cast<const Test::OvalTrack&>(*circle);
  return CountedPtr<Papy::LpFileCurve>(
      new Papy::LpFileCurve(Test::LapCurve(circle, Test::LinePoints(oval, 0.0, every))));
}

// Forwards to the LP, noting each call as "Setter(record)".
class RecordingSetter : public ILpRecordSetter {
public:
  explicit RecordingSetter(const CountedPtr<LpFile>& lp) : Lp(lp) {}

  CountedPtr<LpFile> Lp;
  std::vector<std::string> Calls;

#define LPGRID_TEST_SETTER(Name, Type)                                                              \
  void Name(int i, Type value) override {                                                           \
    Calls.push_back(std::string(#Name) + "(" + std::to_string(i) + ")");                            \
    Lp->Name(static_cast<Util::U32>(i), value);                                                     \
  }
  LPGRID_TEST_SETTER(SetRecordLatitude, double)
  LPGRID_TEST_SETTER(SetRecordPathLength, double)
  LPGRID_TEST_SETTER(SetRecordLongitudinalSpeed, double)
  LPGRID_TEST_SETTER(SetRecordLateralSpeed, double)
  LPGRID_TEST_SETTER(SetRecordYawSpeed, double)
  LPGRID_TEST_SETTER(SetRecordSpeedLimit, double)
  LPGRID_TEST_SETTER(SetRecordSpeedModifier, double)
  LPGRID_TEST_SETTER(SetStartSpeedCheckpoint, bool)
  LPGRID_TEST_SETTER(SetEndSpeedCheckpoint, bool)
  LPGRID_TEST_SETTER(SetOutbrakeDecisionPoint, bool)
  LPGRID_TEST_SETTER(SetAbandonPass, bool)
  LPGRID_TEST_SETTER(SetStartLongStraight, bool)
  LPGRID_TEST_SETTER(SetEndLongStraight, bool)
  LPGRID_TEST_SETTER(SetInitiateCornering, bool)
  LPGRID_TEST_SETTER(SetSetSpeedCoeffTo1, bool)
  LPGRID_TEST_SETTER(SetStartNoPassZone, bool)
  LPGRID_TEST_SETTER(SetEndNoPassZone, bool)
  LPGRID_TEST_SETTER(SetStartPass1Zone, bool)
  LPGRID_TEST_SETTER(SetStartPass2Zone, bool)
  LPGRID_TEST_SETTER(SetStartAbruptPass1Zone, bool)
  LPGRID_TEST_SETTER(SetStartAbruptPass2Zone, bool)
  LPGRID_TEST_SETTER(SetTireWarmup, bool)
  LPGRID_TEST_SETTER(SetRecordFlags, Util::U32)
  LPGRID_TEST_SETTER(SetControlPoint, bool)
#undef LPGRID_TEST_SETTER
};

} // namespace Ostra::DocView::LpGridTest

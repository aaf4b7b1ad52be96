#pragma once

#include "Util/Types.h"

// The one way the user interface changes an LP: the LP document implements these, and
// each of them writes the LP and marks the document modified. Record indices are
// 0-based and not checked here; the LP asserts on what its format cannot store.
namespace Ostra::DocView {

class ILpRecordSetter {
public:
  virtual ~ILpRecordSetter() = default;

  virtual void SetRecordLatitude(int i, double metres) = 0;
  virtual void SetRecordPathLength(int i, double metres) = 0;
  virtual void SetRecordLongitudinalSpeed(int i, double metresPerSecond) = 0;
  virtual void SetRecordLateralSpeed(int i, double metresPerSecond) = 0;
  virtual void SetRecordYawSpeed(int i, double radiansPerSecond) = 0;
  virtual void SetRecordSpeedLimit(int i, double metresPerSecond) = 0;
  virtual void SetRecordSpeedModifier(int i, double value) = 0;
  virtual void SetStartSpeedCheckpoint(int i, bool on) = 0;
  virtual void SetEndSpeedCheckpoint(int i, bool on) = 0;
  virtual void SetOutbrakeDecisionPoint(int i, bool on) = 0;
  virtual void SetAbandonPass(int i, bool on) = 0;
  virtual void SetStartLongStraight(int i, bool on) = 0;
  virtual void SetEndLongStraight(int i, bool on) = 0;
  virtual void SetInitiateCornering(int i, bool on) = 0;
  virtual void SetSetSpeedCoeffTo1(int i, bool on) = 0;
  virtual void SetStartNoPassZone(int i, bool on) = 0;
  virtual void SetEndNoPassZone(int i, bool on) = 0;
  virtual void SetStartPass1Zone(int i, bool on) = 0;
  virtual void SetStartPass2Zone(int i, bool on) = 0;
  virtual void SetStartAbruptPass1Zone(int i, bool on) = 0;
  virtual void SetStartAbruptPass2Zone(int i, bool on) = 0;
  virtual void SetTireWarmup(int i, bool on) = 0;
  virtual void SetRecordFlags(int i, Util::U32 flags) = 0;
  // Makes the record a control point of a lap curve, or not.
  virtual void SetControlPoint(int i, bool on) = 0;
};

} // namespace Ostra::DocView

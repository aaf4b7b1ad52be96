#pragma once

#include <cstddef>

#include "Util/CountedPtr.h"
#include "Util/Types.h"

namespace Ostra::Util {
class BinaryStream;
}

namespace Ostra::Papy {

// One racing line: records spaced evenly along the lap, record i at longitude
// (i + 1) x spacing. Values are in metres and metres per second whatever the file
// stores. The capability queries say which optional fields a format really keeps;
// an optional setter without its capability throws XAssertion "false". Record
// arguments must be below GetRecordCount() and are not checked.
class LpFile {
public:
  virtual ~LpFile() = default;

  virtual U32 GetRecordCount() const = 0;
  virtual double GetRecordSpacing() const = 0;

  virtual bool HasPathLength() const { return false; }
  virtual bool HasYawSpeed() const { return false; }
  virtual bool HasSpeedLimit() const { return false; }
  virtual bool HasSpeedModifier() const { return false; }
  virtual bool HasFlags() const { return false; }
  virtual bool HasControlPoints() const { return false; }
  virtual bool HasSpeedCheckpoints() const { return false; }
  virtual bool HasOutbrakeDecisionPoint() const { return false; }
  virtual bool HasAbandonPass() const { return false; }
  virtual bool HasLongStraight() const { return false; }
  virtual bool HasInitiateCornering() const { return false; }
  virtual bool HasSetSpeedCoeffTo1() const { return false; }
  virtual bool HasNoPassZone() const { return false; }
  virtual bool HasPassZone() const { return false; }
  virtual bool HasAbruptPassZone() const { return false; }
  virtual bool HasTireWarmup() const { return false; }

  // Reserved; nothing gives them a meaning yet.
  virtual S32 GetSpareValue1() const { return 0; }
  virtual S32 GetSpareValue2() const { return 0; }

  // The record at or before a longitude between the first and the last record's;
  // anything outside that range throws XAssertion (no wrapping round the lap).
  virtual U32 GetRecordIndex(double longitude) const = 0;
  virtual double GetRecordLongitude(U32 i) const = 0;
  virtual double GetRecordLatitude(U32 i) const = 0;
  virtual double GetRecordPathLength(U32 i) const;
  virtual double GetRecordLongitudinalSpeed(U32 i) const = 0;
  virtual double GetRecordLateralSpeed(U32 i) const = 0;
  virtual double GetRecordYawSpeed(U32 i) const;
  virtual double GetRecordSpeedModifier(U32 i) const;
  virtual U32 GetRecordFlags(U32 i) const;
  virtual bool IsControlPoint(U32 i) const;
  virtual bool HasRecordSpeedLimit(U32 i) const;
  virtual double GetRecordSpeedLimit(U32 i) const;

  virtual bool IsStartSpeedCheckpoint(U32 i) const;
  virtual bool IsEndSpeedCheckpoint(U32 i) const;
  virtual bool IsOutbrakeDecisionPoint(U32 i) const;
  virtual bool IsAbandonPass(U32 i) const;
  virtual bool IsStartLongStraight(U32 i) const;
  virtual bool IsEndLongStraight(U32 i) const;
  virtual bool IsInitiateCornering(U32 i) const;
  virtual bool IsSetSpeedCoeffTo1(U32 i) const;
  virtual bool IsStartNoPassZone(U32 i) const;
  virtual bool IsEndNoPassZone(U32 i) const;
  virtual bool IsStartPass1Zone(U32 i) const;
  virtual bool IsStartPass2Zone(U32 i) const;
  virtual bool IsStartAbruptPass1Zone(U32 i) const;
  virtual bool IsStartAbruptPass2Zone(U32 i) const;
  virtual bool IsTireWarmup(U32 i) const;

  virtual void SetSpareValue1(S32 a, S32 b);
  virtual void SetSpareValue2(S32 a, S32 b);

  virtual void SetRecordLatitude(U32 i, double latitude) = 0;
  // Formats without a path length ignore it: their path length is the spacing.
  virtual void SetRecordPathLength(U32 i, double pathLength);
  virtual void SetRecordLongitudinalSpeed(U32 i, double speed) = 0;
  virtual void SetRecordLateralSpeed(U32 i, double speed) = 0;
  virtual void SetRecordYawSpeed(U32 i, double speed);
  virtual void SetRecordSpeedModifier(U32 i, double modifier);
  virtual void SetRecordFlags(U32 i, U32 flags);
  virtual void SetControlPoint(U32 i, bool on);
  virtual void SetRecordSpeedLimit(U32 i, double limit);

  virtual void SetStartSpeedCheckpoint(U32 i, bool on);
  virtual void SetEndSpeedCheckpoint(U32 i, bool on);
  virtual void SetOutbrakeDecisionPoint(U32 i, bool on);
  virtual void SetAbandonPass(U32 i, bool on);
  virtual void SetStartLongStraight(U32 i, bool on);
  virtual void SetEndLongStraight(U32 i, bool on);
  virtual void SetInitiateCornering(U32 i, bool on);
  virtual void SetSetSpeedCoeffTo1(U32 i, bool on);
  virtual void SetStartNoPassZone(U32 i, bool on);
  virtual void SetEndNoPassZone(U32 i, bool on);
  virtual void SetStartPass1Zone(U32 i, bool on);
  virtual void SetStartPass2Zone(U32 i, bool on);
  virtual void SetStartAbruptPass1Zone(U32 i, bool on);
  virtual void SetStartAbruptPass2Zone(U32 i, bool on);
  virtual void SetTireWarmup(U32 i, bool on);

  // Writes the whole file in its game's format from position 0 of the stream, which
  // the caller has just created empty. Throws the stream's XFileWrite/XFileSeek.
  virtual void Write(const Util::CountedPtr<Util::BinaryStream>& stream) const = 0;

  // Length of the record's velocity vector along and across the track.
  double GetRecordSpeed(U32 i) const;

protected:
  // GetRecordIndex for a class that keeps recordsSize entries (which may exceed
  // GetRecordCount(): ICR2 keeps a closing record).
  U32 FindRecordIndex(double longitude, std::size_t recordsSize) const;
};

} // namespace Ostra::Papy

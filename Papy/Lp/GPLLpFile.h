#pragma once

#include <vector>

#include "Papy/Lp/LpFile.h"

namespace Ostra::Papy {

class TrkFile;

// A GPL racing line (.lp, version 0x10002): float speeds, latitude and yaw speed,
// and one word holding the 15 behaviour flags and the speed modifier. The file does
// not store its spacing (3.0 m); its record count must match the track's plan length.
class GPLLpFile : public LpFile {
public:
  // Laid out as in the file, 20 bytes.
  struct Record {
    F32 LongitudinalSpeed = 0.0f; // m/s / 36
    F32 LateralSpeed = 0.0f;      // m/s / 36
    F32 Latitude = 0.0f;          // metres
    F32 YawSpeed = 0.0f;          // / 36
    // Bits 0-6, 8-10 and 12-16 are the flags; 7, 11 and 17-23 are kept as read;
    // 24-31 are the speed modifier in steps of 0.005.
    U32 Flags = 0;
  };

  // Bits of Record::Flags, in the order of the model's flag list.
  enum FlagBit : U32 {
    StartSpeedCheckpointBit = 1u << 0,
    EndSpeedCheckpointBit = 1u << 1,
    OutbrakeDecisionPointBit = 1u << 2,
    AbandonPassBit = 1u << 3,
    StartLongStraightBit = 1u << 4,
    EndLongStraightBit = 1u << 5,
    InitiateCorneringBit = 1u << 6,
    SetSpeedCoeffTo1Bit = 1u << 8,
    StartNoPassZoneBit = 1u << 9,
    EndNoPassZoneBit = 1u << 10,
    StartPass1ZoneBit = 1u << 12,
    StartPass2ZoneBit = 1u << 13,
    StartAbruptPass1ZoneBit = 1u << 14,
    StartAbruptPass2ZoneBit = 1u << 15,
    TireWarmupBit = 1u << 16,
  };

  // Reads the file from position 0 for the track of trk, whose plan length decides
  // the record count. Throws XFileFormat "GPL Lp file version error", then "Contains
  // incorrect number of records" when the count does not fit the track, then when the
  // stream is too short for it; XFileRead/XFileSeek from the stream.
  GPLLpFile(const Util::CountedPtr<Util::BinaryStream>& stream,
            const Util::CountedPtr<TrkFile>& trk);
  // A new zeroed line for the track of trk. Spacing 0.0 gives the count the reader
  // expects at 3.0 m; any other spacing gives trunc(plan length / spacing + 0.5) + 1
  // records, which the reader refuses unless it happens to match. A spacing
  // other than 0.0 must be above 0 (asserted).
  GPLLpFile(const Util::CountedPtr<TrkFile>& trk, double spacing);

  U32 GetRecordCount() const override { return static_cast<U32>(Records.size()); }
  double GetRecordSpacing() const override { return Spacing; }

  bool HasYawSpeed() const override { return true; }
  bool HasSpeedModifier() const override { return true; }
  bool HasFlags() const override { return true; }
  bool HasSpeedCheckpoints() const override { return true; }
  bool HasOutbrakeDecisionPoint() const override { return true; }
  bool HasAbandonPass() const override { return true; }
  bool HasLongStraight() const override { return true; }
  bool HasInitiateCornering() const override { return true; }
  bool HasSetSpeedCoeffTo1() const override { return true; }
  bool HasNoPassZone() const override { return true; }
  bool HasPassZone() const override { return true; }
  bool HasAbruptPassZone() const override { return true; }
  bool HasTireWarmup() const override { return true; }

  U32 GetRecordIndex(double longitude) const override;
  double GetRecordLongitude(U32 i) const override;
  double GetRecordLatitude(U32 i) const override;
  double GetRecordLongitudinalSpeed(U32 i) const override;
  double GetRecordLateralSpeed(U32 i) const override;
  double GetRecordYawSpeed(U32 i) const override;
  double GetRecordSpeedModifier(U32 i) const override;
  U32 GetRecordFlags(U32 i) const override;

  bool IsStartSpeedCheckpoint(U32 i) const override { return IsBitSet(i, StartSpeedCheckpointBit); }
  bool IsEndSpeedCheckpoint(U32 i) const override { return IsBitSet(i, EndSpeedCheckpointBit); }
  bool IsOutbrakeDecisionPoint(U32 i) const override { return IsBitSet(i, OutbrakeDecisionPointBit); }
  bool IsAbandonPass(U32 i) const override { return IsBitSet(i, AbandonPassBit); }
  bool IsStartLongStraight(U32 i) const override { return IsBitSet(i, StartLongStraightBit); }
  bool IsEndLongStraight(U32 i) const override { return IsBitSet(i, EndLongStraightBit); }
  bool IsInitiateCornering(U32 i) const override { return IsBitSet(i, InitiateCorneringBit); }
  bool IsSetSpeedCoeffTo1(U32 i) const override { return IsBitSet(i, SetSpeedCoeffTo1Bit); }
  bool IsStartNoPassZone(U32 i) const override { return IsBitSet(i, StartNoPassZoneBit); }
  bool IsEndNoPassZone(U32 i) const override { return IsBitSet(i, EndNoPassZoneBit); }
  bool IsStartPass1Zone(U32 i) const override { return IsBitSet(i, StartPass1ZoneBit); }
  bool IsStartPass2Zone(U32 i) const override { return IsBitSet(i, StartPass2ZoneBit); }
  bool IsStartAbruptPass1Zone(U32 i) const override { return IsBitSet(i, StartAbruptPass1ZoneBit); }
  bool IsStartAbruptPass2Zone(U32 i) const override { return IsBitSet(i, StartAbruptPass2ZoneBit); }
  bool IsTireWarmup(U32 i) const override { return IsBitSet(i, TireWarmupBit); }

  void SetRecordLatitude(U32 i, double latitude) override;
  void SetRecordLongitudinalSpeed(U32 i, double speed) override;
  void SetRecordLateralSpeed(U32 i, double speed) override;
  void SetRecordYawSpeed(U32 i, double speed) override;
  // Stores the smallest step of 0.005 not below the value (within a millionth of a
  // step, so that a displayed value typed back keeps its byte), clamped to 0..255.
  void SetRecordSpeedModifier(U32 i, double modifier) override;
  // Replaces the whole word, speed modifier included.
  void SetRecordFlags(U32 i, U32 flags) override;

  void SetStartSpeedCheckpoint(U32 i, bool on) override { SetBit(i, StartSpeedCheckpointBit, on); }
  void SetEndSpeedCheckpoint(U32 i, bool on) override { SetBit(i, EndSpeedCheckpointBit, on); }
  void SetOutbrakeDecisionPoint(U32 i, bool on) override { SetBit(i, OutbrakeDecisionPointBit, on); }
  void SetAbandonPass(U32 i, bool on) override { SetBit(i, AbandonPassBit, on); }
  void SetStartLongStraight(U32 i, bool on) override { SetBit(i, StartLongStraightBit, on); }
  void SetEndLongStraight(U32 i, bool on) override { SetBit(i, EndLongStraightBit, on); }
  void SetInitiateCornering(U32 i, bool on) override { SetBit(i, InitiateCorneringBit, on); }
  void SetSetSpeedCoeffTo1(U32 i, bool on) override { SetBit(i, SetSpeedCoeffTo1Bit, on); }
  void SetStartNoPassZone(U32 i, bool on) override { SetBit(i, StartNoPassZoneBit, on); }
  void SetEndNoPassZone(U32 i, bool on) override { SetBit(i, EndNoPassZoneBit, on); }
  void SetStartPass1Zone(U32 i, bool on) override { SetBit(i, StartPass1ZoneBit, on); }
  void SetStartPass2Zone(U32 i, bool on) override { SetBit(i, StartPass2ZoneBit, on); }
  void SetStartAbruptPass1Zone(U32 i, bool on) override { SetBit(i, StartAbruptPass1ZoneBit, on); }
  void SetStartAbruptPass2Zone(U32 i, bool on) override { SetBit(i, StartAbruptPass2ZoneBit, on); }
  void SetTireWarmup(U32 i, bool on) override { SetBit(i, TireWarmupBit, on); }

  void Write(const Util::CountedPtr<Util::BinaryStream>& stream) const override;

  double Spacing = 3.0;
  std::vector<Record> Records;

private:
  // The record count a lap of planLength metres demands:
  // trunc(planLength x float(1/3) + 0.5) + 1.
  static U32 ExpectedRecordCount(double planLength);

  GPLLpFile(const Util::CountedPtr<Util::BinaryStream>& stream, double planLength);
  GPLLpFile(double planLength, double spacing);

  bool IsBitSet(U32 i, U32 bit) const { return (Records[i].Flags & bit) != 0; }
  void SetBit(U32 i, U32 bit, bool on) {
    Records[i].Flags &= ~bit;
    if (on)
      Records[i].Flags |= bit;
  }
};

} // namespace Ostra::Papy

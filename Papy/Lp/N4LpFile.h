#pragma once

#include <vector>

#include "Papy/Lp/LpFile.h"

namespace Ostra::Papy {

class Track;

// An N4 racing line (.lp, version 0x10003): float speeds, latitude, yaw speed and path
// length per record, and a flags word the model keeps whole. Files from disk are
// spaced 3.0 m.
class N4LpFile : public LpFile {
public:
  // In memory order; the file swaps the second and third fields.
  struct Record {
    F32 LongitudinalSpeed = 0.0f; // m/s / 36
    F32 Latitude = 0.0f;          // metres
    F32 LateralSpeed = 0.0f;      // m/s / 36
    F32 YawSpeed = 0.0f;          // / 36
    F32 PathLength = 3.0f;        // metres
    U32 Flags = 0;
  };

  // Reads the file from position 0. Throws XFileFormat for a wrong version or a
  // record count the stream cannot hold, XFileRead/XFileSeek from the stream.
  explicit N4LpFile(const Util::CountedPtr<Util::BinaryStream>& stream);
  // A new line of default records for the track: trunc(plan length / spacing) + 1
  // records (no rounding), spacing 0.0 meaning 3.0. Asserts a spacing above 0.
  N4LpFile(const Util::CountedPtr<Track>& track, double spacing);

  U32 GetRecordCount() const override { return static_cast<U32>(Records.size()); }
  double GetRecordSpacing() const override { return Spacing; }

  bool HasPathLength() const override { return true; }
  bool HasYawSpeed() const override { return true; }
  bool HasFlags() const override { return true; }

  U32 GetRecordIndex(double longitude) const override;
  double GetRecordLongitude(U32 i) const override;
  double GetRecordLatitude(U32 i) const override;
  double GetRecordPathLength(U32 i) const override;
  double GetRecordLongitudinalSpeed(U32 i) const override;
  double GetRecordLateralSpeed(U32 i) const override;
  double GetRecordYawSpeed(U32 i) const override;
  U32 GetRecordFlags(U32 i) const override;

  void SetRecordLatitude(U32 i, double latitude) override;
  void SetRecordPathLength(U32 i, double pathLength) override;
  void SetRecordLongitudinalSpeed(U32 i, double speed) override;
  void SetRecordLateralSpeed(U32 i, double speed) override;
  void SetRecordYawSpeed(U32 i, double speed) override;
  void SetRecordFlags(U32 i, U32 flags) override;

  void Write(const Util::CountedPtr<Util::BinaryStream>& stream) const override;

  std::vector<Record> Records;
  double Spacing = 3.0;

private:
  N4LpFile(double planLength, double spacing);
};

} // namespace Ostra::Papy

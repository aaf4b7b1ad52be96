#pragma once

#include <vector>

#include "Papy/Lp/LpFile.h"

namespace Ostra::Papy {

class TrkFile;

// An ICR2 (and N2) racing line: integer speeds and latitude, no flags, no version.
// The file's last record closes the lap by repeating record 0; the model keeps it
// behind the records it exposes, in step with record 0, and writes it back.
class ICR2LpFile : public LpFile {
public:
  // Laid out as in the file, 12 bytes.
  struct Record {
    U32 LongitudinalSpeed = 0; // units of SpeedUnit
    S32 LateralSpeed = 0;      // units of SpeedUnit
    S32 Latitude = 0;          // TRK length units
  };

  // m/s per stored speed unit: the double one step above 0.000762.
  static constexpr double SpeedUnit = 0.0007620000000000001;
  // 65536 TRK length units.
  static constexpr double DefaultSpacing = 3.3292288;

  // Reads the file from position 0 with the default spacing. Throws XFileFormat when
  // the count is 0 (no closing record) or the stream is too short for it;
  // XFileRead/XFileSeek from the stream.
  explicit ICR2LpFile(const Util::CountedPtr<Util::BinaryStream>& stream);
  // A new zeroed line for the track of trk: ceil(lap length / spacing) records plus
  // the closing record, the lap length being the 3D length along the longitude.
  // Spacing 0.0 selects the default; any other must be above 0 (asserted).
  ICR2LpFile(const Util::CountedPtr<TrkFile>& trk, double spacing);

  // The closing record is not counted.
  U32 GetRecordCount() const override { return static_cast<U32>(Records.size() - 1); }
  double GetRecordSpacing() const override { return Spacing; }

  U32 GetRecordIndex(double longitude) const override;
  double GetRecordLongitude(U32 i) const override;
  double GetRecordLatitude(U32 i) const override;
  double GetRecordLongitudinalSpeed(U32 i) const override;
  double GetRecordLateralSpeed(U32 i) const override;

  // The setters store into the closing record too when i is 0. Values beyond a
  // field's range store its nearest end; NaN stores 0.
  // Truncated toward zero to TRK units.
  void SetRecordLatitude(U32 i, double latitude) override;
  // Rounded to nearest; negative speeds store 0.
  void SetRecordLongitudinalSpeed(U32 i, double speed) override;
  // Rounded half away from zero.
  void SetRecordLateralSpeed(U32 i, double speed) override;

  // The count written includes the closing record.
  void Write(const Util::CountedPtr<Util::BinaryStream>& stream) const override;

  std::vector<Record> Records;
  double Spacing = DefaultSpacing;

private:
  ICR2LpFile(double lapLength, double spacing);

  template <class Field>
  void Store(U32 i, Field Record::*field, Field value) {
    Records[i].*field = value;
    if (i == 0)
      Records.back().*field = value;
  }
};

} // namespace Ostra::Papy

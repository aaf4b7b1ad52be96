#pragma once

#include <vector>

#include "Papy/N4/N4Archiver.h"
#include "Papy/N4/N4Object.h"
#include "Papy/N4/ThreeDObjectXSection.h"

namespace Ostra::Papy {

// Format notes: cross-section body, after the object reference.
//   U32 1, U32 0, U32 version (2 or 3), then the values block, read in one piece:
//   - version 2, 49 bytes: F64 start latitude, start altitude, start slope, end
//     latitude, end altitude, end slope, U8 0;
//   - version 3, 33 bytes, packed: F32 start latitude, F64 start altitude, F32 start
//     slope, F32 end latitude, F64 end altitude, F32 end slope, U8 0.
//   Version 3 then holds exactly two entries, each a U8 type: 0 alone; 1 followed by
//   two U32 0; 2 followed by two F32 and two U8.
// The entries' meaning is unknown. They are kept as the object's integer list (each
// type, then a type 2's two bytes) and double list (a type 2's two floats) so that
// writing reproduces them.
class N4XSection final : public ThreeDObjectXSection, public N4Object {
public:
  // Reads the body. Throws XFileFormat "N4 ptf XSection ..." and the archive's errors.
  N4XSection(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position);

  std::string GetTypeName() const override { return "X_Section"; }
  unsigned GetIntegerCount() const override { return static_cast<unsigned>(Integers.size()); }
  // The indexed getters throw XAssertion for an index at or past the count.
  S32 GetInteger(unsigned index) const override;
  unsigned GetDoubleCount() const override { return static_cast<unsigned>(Doubles.size()); }
  double GetDouble(unsigned index) const override;
  unsigned GetBoolCount() const override { return static_cast<unsigned>(Flags.size()); }
  bool GetBool(unsigned index) const override;
  void Write(Util::BinaryStream& stream, int reserved) override;

  double GetStartLatitude() const override { return StartLatitude; }
  double GetEndLatitude() const override { return EndLatitude; }
  void SetLatitudes(double start, double end) override;
  double GetStartAltitude() const override { return StartAltitude; }
  double GetEndAltitude() const override { return EndAltitude; }
  double GetStartSlope() const override { return StartSlope; }
  double GetEndSlope() const override { return EndSlope; }
  void SetAltitudes(double start_altitude, double end_altitude, double start_slope,
                    double end_slope) override;

  U32 GetVersion() const { return Version; }

private:
  U32 Version = 0;
  double StartLatitude = 0.0;
  double EndLatitude = 0.0;
  double StartAltitude = 0.0;
  double EndAltitude = 0.0;
  double StartSlope = 0.0;
  double EndSlope = 0.0;
  std::vector<U8> Flags;
  std::vector<S32> Integers;
  std::vector<double> Doubles;
};

class N4ArchiverXSection final : public N4ArchiverOf<N4XSection> {
public:
  // Made on first use, never freed.
  static const N4ArchiverXSection& Instance();
  const char* GetDescriptorName() const override { return "X_SectionDescriptor"; }
};

} // namespace Ostra::Papy

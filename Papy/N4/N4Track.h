#pragma once

#include <array>
#include <vector>

#include "Papy/N4/N4Archiver.h"
#include "Papy/N4/N4Object.h"
#include "Papy/N4/ThreeDObjectTrack.h"

namespace Ostra::Papy {

// Format notes: track body, after the object reference (the top object of a .ptf).
//   U32 1, U32 0, U32 version (6 or 8), U32 segment count, U8 flag,
//   version 6: 21 F64 values;
//   version 8: three F64, one F32, U32 bump-map count; when it is not 0, U32 byte
//     size count * 48 and 48-byte records {16 bytes of name, four F32, four F32},
//   U32 0,
//   U32 detail count; when not 0, U32 byte size count * 4 and the references,
//   U32 trackside-object count; likewise,
//   U32 byte size segment count * 4, always present, and the segment references.
// A bump-map name's text ends at its first NUL or after 16 bytes; the field is
// written back byte for byte.
class N4Track final : public ThreeDObjectTrack, public N4Object {
public:
  static constexpr unsigned BumpMapNameSize = 16;
  static constexpr unsigned BumpMapGroupSize = 4;

  // Reads the body and, through their references, every segment, detail and
  // trackside object. Throws XFileFormat "N4 ptf Track ..." and the archive's errors.
  N4Track(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position);

  std::string GetTypeName() const override { return "Track"; }
  unsigned GetDoubleCount() const override { return static_cast<unsigned>(DoubleValues.size()); }
  // Throws XAssertion for an index at or past the count.
  double GetDouble(unsigned index) const override;
  void Write(Util::BinaryStream& stream, int reserved) override;

  F32 GetFloatValue() const override { return FloatValue; }
  bool GetFlag() const override { return Flag != 0; }
  std::array<F32, 4> GetVector4() const override;
  unsigned GetDetailCount() const override { return static_cast<unsigned>(DetailIds.size()); }
  CountedPtr<ThreeDObject> GetDetail(unsigned index) const override;
  unsigned GetTsoCount() const override { return static_cast<unsigned>(TsoIds.size()); }
  CountedPtr<ThreeDObject> GetTso(unsigned index) const override;
  unsigned GetSegmentCount() const override { return static_cast<unsigned>(SegmentIds.size()); }
  CountedPtr<ThreeDObjectTrackSegment> GetSegment(unsigned index) const override;
  unsigned GetBumpMapCount() const override { return static_cast<unsigned>(BumpMaps.size()); }
  std::string GetBumpMapName(unsigned index) const override;
  F32 GetBumpMapFirstValue(unsigned index, unsigned value) const override;
  F32 GetBumpMapSecondValue(unsigned index, unsigned value) const override;

  U32 GetVersion() const { return Version; }

private:
  struct BumpMap {
    std::array<char, BumpMapNameSize> Name{};
    std::array<F32, BumpMapGroupSize> First{};
    std::array<F32, BumpMapGroupSize> Second{};
  };

  std::vector<U32> ReadReferences(N4Archiver& reader, U32 count, const char* size_message);
  void WriteReferences(Util::BinaryStream& stream, const std::vector<U32>& ids) const;
  const BumpMap& BumpMapAt(unsigned index, unsigned value) const;

  U32 Version = 0;
  std::array<double, 3> Vector{};
  F32 FloatValue = 0.0f;
  U8 Flag = 0;
  std::vector<U32> DetailIds;
  std::vector<U32> TsoIds;
  std::vector<U32> SegmentIds;
  std::vector<BumpMap> BumpMaps;
  std::vector<double> DoubleValues;
};

class N4ArchiverTrack final : public N4ArchiverOf<N4Track> {
public:
  // Made on first use, never freed.
  static const N4ArchiverTrack& Instance();
  const char* GetDescriptorName() const override { return "TrackDescriptor"; }
};

} // namespace Ostra::Papy

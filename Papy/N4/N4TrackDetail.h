#pragma once

#include <array>

#include "Papy/N4/N4Archiver.h"
#include "Papy/N4/N4Object.h"
#include "Papy/N4/ThreeDObjectTrackDetail.h"

namespace Ostra::Papy {

// Format notes: track-detail body, after the object reference.
//   U32 1, U32 0, U32 0, one object reference of any kind,
//   F64 values A to E,
//   U32 byte size 32 and four F64 x; U32 byte size 32 and four F64 y.
// The point count, 4, is not stored; only the byte sizes are.
class N4TrackDetail final : public ThreeDObjectTrackDetail, public N4Object {
public:
  // Reads the body. Throws XFileFormat "N4 ptf TrackDetail ...", XAssertion
  // "array_size == vertex_count * sizeof(F64)" for a byte size other than 32, and the
  // archive's errors.
  N4TrackDetail(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position);

  std::string GetTypeName() const override { return "TrackDetail"; }
  void Write(Util::BinaryStream& stream, int reserved) override;

  double GetValueA() const override { return Values[0]; }
  double GetValueD() const override { return Values[3]; }
  double GetValueB() const override { return Values[1]; }
  double GetValueC() const override { return Values[2]; }
  double GetValueE() const override { return Values[4]; }
  CountedPtr<ThreeDObject> GetObject() const override { return Resolve(ObjectId); }
  Point2D GetPoint(unsigned index) const override;

private:
  std::array<double, 5> Values{};
  U32 ObjectId = 0;
  std::array<Point2D, PointCount> Points{};
};

class N4ArchiverTrackDetail final : public N4ArchiverOf<N4TrackDetail> {
public:
  // Made on first use, never freed.
  static const N4ArchiverTrackDetail& Instance();
  const char* GetDescriptorName() const override { return "TrackDetailDescriptor"; }
};

} // namespace Ostra::Papy

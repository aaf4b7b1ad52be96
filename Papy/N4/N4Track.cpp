#include "Papy/N4/N4Track.h"

#include <algorithm>

#include "Papy/N4/ThreeDObjectTrackSegment.h"
#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

namespace {

constexpr U32 DoublesVersion = 6;
constexpr U32 BumpMapVersion = 8;
constexpr unsigned DoubleValueCount = 21;
constexpr U32 ReferenceSize = 4;
constexpr U32 BumpMapSize = 48;

} // namespace

void ThreeDObjectTrack::Accept(ThreeDObjectVisitor& visitor) {
  const ThreeDObjectVisitor::WalkStep step(visitor);
  if (visitor.EnterTrack(*this)) {
    const unsigned segments = GetSegmentCount();
    for (unsigned i = 0; i < segments; ++i) {
      visitor.BeforeTrackSegment(*this, i);
      if (const CountedPtr<ThreeDObjectTrackSegment> segment = GetSegment(i))
        segment->Accept(visitor);
      visitor.AfterTrackSegment(*this, i);
    }
    const unsigned details = GetDetailCount();
    for (unsigned i = 0; i < details; ++i) {
      visitor.BeforeTrackDetail(*this, i);
      GetDetail(i)->Accept(visitor);
      visitor.AfterTrackDetail(*this, i);
    }
    const unsigned tsos = GetTsoCount();
    for (unsigned i = 0; i < tsos; ++i) {
      visitor.BeforeTsoReference(*this, i);
      GetTso(i)->Accept(visitor);
      visitor.AfterTsoReference(*this, i);
    }
  }
  visitor.LeaveTrack(*this);
}

N4Track::N4Track(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position)
    : N4Object(owner, id, position) {
  Util::BinaryStream& stream = reader.GetStream();
  reader.ExpectU32(1, "N4 ptf Track reserved0 not 1");
  reader.ExpectU32(0, "N4 ptf Track reserved1 not 0");
  Version = Util::ReadU32(stream);
  if (Version != DoublesVersion && Version != BumpMapVersion)
    reader.Fail("N4 ptf Track unsupported version");
  const U32 segment_count = Util::ReadU32(stream);
  Flag = Util::ReadU8(stream);

  if (Version == DoublesVersion) {
    for (unsigned i = 0; i < DoubleValueCount; ++i)
      DoubleValues.push_back(Util::ReadF64(stream));
  } else {
    for (double& value : Vector)
      value = Util::ReadF64(stream);
    FloatValue = Util::ReadF32(stream);
    const U32 bump_count = Util::ReadU32(stream);
    if (bump_count != 0)
      reader.ReadByteSize(bump_count, BumpMapSize, "N4 ptf Track bump map array size mismatch");
    BumpMaps.resize(bump_count);
    for (BumpMap& bump : BumpMaps) {
      stream.Read(BumpMapNameSize, bump.Name.data());
      for (F32& value : bump.First)
        value = Util::ReadF32(stream);
      for (F32& value : bump.Second)
        value = Util::ReadF32(stream);
    }
  }
  reader.ExpectU32(0, "N4 ptf Track reserved3 not 0");

  const U32 detail_count = Util::ReadU32(stream);
  if (detail_count != 0)
    DetailIds = ReadReferences(reader, detail_count, "N4 ptf Track detail array size mismatch");
  const U32 tso_count = Util::ReadU32(stream);
  if (tso_count != 0)
    TsoIds = ReadReferences(reader, tso_count, "N4 ptf Track tso array size mismatch");
  SegmentIds = ReadReferences(reader, segment_count, "N4 ptf Track segment array size mismatch");
}

std::vector<U32> N4Track::ReadReferences(N4Archiver& reader, U32 count, const char* size_message) {
  reader.ReadByteSize(count, ReferenceSize, size_message);
  std::vector<U32> ids;
  ids.reserve(count);
  for (U32 i = 0; i < count; ++i)
    ids.push_back(reader.ReadObjectReference());
  return ids;
}

double N4Track::GetDouble(unsigned index) const {
  UTIL_ASSERT(index < DoubleValues.size());
  return DoubleValues[index];
}

std::array<F32, 4> N4Track::GetVector4() const {
  return {static_cast<F32>(Vector[0]), static_cast<F32>(Vector[1]), static_cast<F32>(Vector[2]),
          1.0f};
}

CountedPtr<ThreeDObject> N4Track::GetDetail(unsigned index) const {
  UTIL_ASSERT(index < DetailIds.size());
  return Resolve(DetailIds[index]);
}

CountedPtr<ThreeDObject> N4Track::GetTso(unsigned index) const {
  UTIL_ASSERT(index < TsoIds.size());
  return Resolve(TsoIds[index]);
}

CountedPtr<ThreeDObjectTrackSegment> N4Track::GetSegment(unsigned index) const {
  UTIL_ASSERT(index < SegmentIds.size());
  const CountedPtr<ThreeDObject> object = Resolve(SegmentIds[index]);
  CountedPtr<ThreeDObjectTrackSegment> segment;
  if (dynamic_cast<ThreeDObjectTrackSegment*>(object.Get()))
    segment.DynamicCast(object);
  return segment;
}

const N4Track::BumpMap& N4Track::BumpMapAt(unsigned index, unsigned value) const {
  UTIL_ASSERT(index < BumpMaps.size() && value < BumpMapGroupSize);
  return BumpMaps[index];
}

std::string N4Track::GetBumpMapName(unsigned index) const {
  const BumpMap& bump = BumpMapAt(index, 0);
  return std::string(bump.Name.begin(), std::find(bump.Name.begin(), bump.Name.end(), '\0'));
}

F32 N4Track::GetBumpMapFirstValue(unsigned index, unsigned value) const {
  return BumpMapAt(index, value).First[value];
}

F32 N4Track::GetBumpMapSecondValue(unsigned index, unsigned value) const {
  return BumpMapAt(index, value).Second[value];
}

void N4Track::WriteReferences(Util::BinaryStream& stream, const std::vector<U32>& ids) const {
  Util::WriteU32(stream, static_cast<U32>(ids.size()) * ReferenceSize);
  for (const U32 id : ids)
    WriteReference(stream, id);
}

void N4Track::Write(Util::BinaryStream& stream, int) {
  if (!WriteHeader(N4ArchiverTrack::Instance()))
    return;
  Util::WriteU32(stream, 1);
  Util::WriteU32(stream, 0);
  Util::WriteU32(stream, Version);
  Util::WriteU32(stream, static_cast<U32>(SegmentIds.size()));
  Util::WriteU8(stream, Flag);
  if (Version == DoublesVersion) {
    for (const double value : DoubleValues)
      Util::WriteF64(stream, value);
  } else {
    for (const double value : Vector)
      Util::WriteF64(stream, value);
    Util::WriteF32(stream, FloatValue);
    Util::WriteU32(stream, static_cast<U32>(BumpMaps.size()));
    if (!BumpMaps.empty())
      Util::WriteU32(stream, static_cast<U32>(BumpMaps.size()) * BumpMapSize);
    for (const BumpMap& bump : BumpMaps) {
      stream.Write(BumpMapNameSize, bump.Name.data());
      for (const F32 value : bump.First)
        Util::WriteF32(stream, value);
      for (const F32 value : bump.Second)
        Util::WriteF32(stream, value);
    }
  }
  Util::WriteU32(stream, 0);
  Util::WriteU32(stream, static_cast<U32>(DetailIds.size()));
  if (!DetailIds.empty())
    WriteReferences(stream, DetailIds);
  Util::WriteU32(stream, static_cast<U32>(TsoIds.size()));
  if (!TsoIds.empty())
    WriteReferences(stream, TsoIds);
  WriteReferences(stream, SegmentIds);
}

const N4ArchiverTrack& N4ArchiverTrack::Instance() {
  static const N4ArchiverTrack* const instance = new N4ArchiverTrack;
  return *instance;
}

} // namespace Ostra::Papy

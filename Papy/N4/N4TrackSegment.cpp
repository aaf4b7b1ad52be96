#include "Papy/N4/N4TrackSegment.h"

#include <algorithm>
#include <cmath>

#include "Papy/N4/ThreeDObjectFSection.h"
#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Papy/N4/ThreeDObjectWSection.h"
#include "Papy/N4/ThreeDObjectXSection.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

namespace {

constexpr U32 PlainVersion = 1;
constexpr U32 SpanVersion = 2;
constexpr U32 ReferenceSize = 4;
constexpr U32 BmRecordSize = 12;
constexpr U32 BsRecordSize = 16;
constexpr unsigned FlagCount = 2;

template <class InterfaceT>
CountedPtr<InterfaceT> CastSection(const CountedPtr<ThreeDObject>& object) {
  CountedPtr<InterfaceT> section;
  section.DynamicCast(object);
  return section;
}

// Orders keys ascending with every NaN after all numbers, which keeps the order
// strict and weak whatever floats a file holds.
bool KeyLess(F32 a, F32 b) {
  if (std::isnan(a))
    return false;
  if (std::isnan(b))
    return true;
  return a < b;
}

} // namespace

void ThreeDObjectTrackSegment::Accept(ThreeDObjectVisitor& visitor) {
  const ThreeDObjectVisitor::WalkStep step(visitor);
  if (visitor.EnterTrackSegment(*this)) {
    const unsigned f_count = GetFSectionCount();
    for (unsigned i = 0; i < f_count; ++i) {
      if (visitor.BeforeFSection(*this, i))
        GetFSection(i)->Accept(visitor);
      visitor.AfterFSection(*this, i);
    }
    const unsigned w_count = GetWSectionCount();
    for (unsigned i = 0; i < w_count; ++i) {
      if (visitor.BeforeWSection(*this, i))
        GetWSection(i)->Accept(visitor);
      visitor.AfterWSection(*this, i);
    }
    const unsigned x_count = GetXSectionCount();
    for (unsigned i = 0; i < x_count; ++i) {
      if (visitor.BeforeXSection(*this, i))
        GetXSection(i)->Accept(visitor);
      visitor.AfterXSection(*this, i);
    }
  }
  visitor.LeaveTrackSegment(*this);
}

N4TrackSegment::N4TrackSegment(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position)
    : N4Object(owner, id, position) {
  Util::BinaryStream& stream = reader.GetStream();
  reader.ExpectU32(1, "N4 ptf TrackSegment reserved0 not 1");
  reader.ExpectU32(0, "N4 ptf TrackSegment reserved1 not 0");
  Version = reader.ReadVersion(PlainVersion, SpanVersion, "N4 ptf TrackSegment unsupported version");
  XSectionIds = ReadSectionIds(reader, "N4 ptf TrackSegment X section array size mismatch");
  FSectionIds = ReadSectionIds(reader, "N4 ptf TrackSegment F section array size mismatch");
  WSectionIds = ReadSectionIds(reader, "N4 ptf TrackSegment W section array size mismatch");

  Type = Util::ReadU32(stream);
  if (Type > ArcType)
    reader.Fail("N4 ptf TrackSegment unknown type");
  StartX = Util::ReadF64(stream);
  StartY = Util::ReadF64(stream);
  StartOrientation = Util::ReadF64(stream);
  EndX = Util::ReadF64(stream);
  EndY = Util::ReadF64(stream);
  EndOrientation = Util::ReadF64(stream);
  for (unsigned i = 0; i < FlagCount; ++i)
    Flags.push_back(Util::ReadU8(stream));
  if (Version != SpanVersion)
    return;

  const U32 bm_count = Util::ReadU32(stream);
  if (bm_count != 0)
    reader.ReadByteSize(bm_count, BmRecordSize, "N4 ptf TrackSegment bm array size mismatch");
  BmRecords.resize(bm_count);
  for (BmRecord& bm : BmRecords) {
    bm.A = Util::ReadF32(stream);
    bm.B = Util::ReadF32(stream);
    bm.C = Util::ReadU32(stream);
  }
  const U32 bs_count = Util::ReadU32(stream);
  if (bs_count != 0)
    reader.ReadByteSize(bs_count, BsRecordSize, "N4 ptf TrackSegment bs array size mismatch");
  BsRecords.resize(bs_count);
  for (BsRecord& bs : BsRecords) {
    bs.A = Util::ReadF32(stream);
    bs.B = Util::ReadF32(stream);
    bs.C = Util::ReadF32(stream);
    bs.D = Util::ReadF32(stream);
  }
  BuildSpans();
}

std::vector<U32> N4TrackSegment::ReadSectionIds(N4Archiver& reader, const char* size_message) {
  const U32 count = Util::ReadU32(reader.GetStream());
  std::vector<U32> ids;
  if (count == 0)
    return ids;
  reader.ReadByteSize(count, ReferenceSize, size_message);
  ids.reserve(count);
  for (U32 i = 0; i < count; ++i)
    ids.push_back(reader.ReadObjectReference());
  return ids;
}

void N4TrackSegment::BuildSpans() {
  for (U32 i = 0; i < BmRecords.size(); ++i)
    Spans.push_back({SpanKind::Bm, i, static_cast<F32>(BmRecords[i].A + BmRecords[i].B)});
  for (U32 i = 0; i < BsRecords.size(); ++i)
    Spans.push_back({SpanKind::Bs, i, static_cast<F32>(BsRecords[i].A + BsRecords[i].B)});
  std::stable_sort(Spans.begin(), Spans.end(),
                   [](const Span& a, const Span& b) { return KeyLess(a.Key, b.Key); });
}

bool N4TrackSegment::GetBool(unsigned index) const {
  UTIL_ASSERT(index < Flags.size());
  return Flags[index] != 0;
}

CountedPtr<ThreeDObjectXSection> N4TrackSegment::GetXSection(unsigned index) const {
  UTIL_ASSERT(index < XSectionIds.size());
  return CastSection<ThreeDObjectXSection>(Resolve(XSectionIds[index]));
}

CountedPtr<ThreeDObjectFSection> N4TrackSegment::GetFSection(unsigned index) const {
  UTIL_ASSERT(index < FSectionIds.size());
  return CastSection<ThreeDObjectFSection>(Resolve(FSectionIds[index]));
}

CountedPtr<ThreeDObjectWSection> N4TrackSegment::GetWSection(unsigned index) const {
  UTIL_ASSERT(index < WSectionIds.size());
  return CastSection<ThreeDObjectWSection>(Resolve(WSectionIds[index]));
}

const N4TrackSegment::Span& N4TrackSegment::SpanAt(unsigned index) const {
  UTIL_ASSERT(index < Spans.size());
  return Spans[index];
}

F32 N4TrackSegment::GetSpanA(unsigned index) const {
  const Span& span = SpanAt(index);
  return span.Kind == SpanKind::Bm ? BmRecords[span.Index].A : BsRecords[span.Index].A;
}

F32 N4TrackSegment::GetSpanB(unsigned index) const {
  const Span& span = SpanAt(index);
  return span.Kind == SpanKind::Bm ? BmRecords[span.Index].B : BsRecords[span.Index].B;
}

U32 N4TrackSegment::GetSpanCode(unsigned index) const {
  const Span& span = SpanAt(index);
  return span.Kind == SpanKind::Bm ? BmRecords[span.Index].C : 0;
}

F32 N4TrackSegment::GetSpanC(unsigned index) const {
  const Span& span = SpanAt(index);
  return span.Kind == SpanKind::Bm ? 1.0f : BsRecords[span.Index].C;
}

F32 N4TrackSegment::GetSpanD(unsigned index) const {
  const Span& span = SpanAt(index);
  return span.Kind == SpanKind::Bm ? 1.0f : BsRecords[span.Index].D;
}

void N4TrackSegment::WriteSectionIds(Util::BinaryStream& stream, const std::vector<U32>& ids) const {
  const auto count = static_cast<U32>(ids.size());
  Util::WriteU32(stream, count);
  if (count == 0)
    return;
  Util::WriteU32(stream, count * ReferenceSize);
  // Written as whatever object each id names, so that a file reads back as it was.
  for (const U32 id : ids)
    WriteReference(stream, id);
}

void N4TrackSegment::Write(Util::BinaryStream& stream, int) {
  if (!WriteHeader(N4ArchiverTrackSegment::Instance()))
    return;
  Util::WriteU32(stream, 1);
  Util::WriteU32(stream, 0);
  Util::WriteU32(stream, Version);
  WriteSectionIds(stream, XSectionIds);
  WriteSectionIds(stream, FSectionIds);
  WriteSectionIds(stream, WSectionIds);
  Util::WriteU32(stream, Type);
  for (const double value : {StartX, StartY, StartOrientation, EndX, EndY, EndOrientation})
    Util::WriteF64(stream, value);
  for (const U8 flag : Flags)
    Util::WriteU8(stream, flag);
  if (Version != SpanVersion)
    return;
  Util::WriteU32(stream, static_cast<U32>(BmRecords.size()));
  if (!BmRecords.empty())
    Util::WriteU32(stream, static_cast<U32>(BmRecords.size()) * BmRecordSize);
  for (const BmRecord& bm : BmRecords) {
    Util::WriteF32(stream, bm.A);
    Util::WriteF32(stream, bm.B);
    Util::WriteU32(stream, bm.C);
  }
  Util::WriteU32(stream, static_cast<U32>(BsRecords.size()));
  if (!BsRecords.empty())
    Util::WriteU32(stream, static_cast<U32>(BsRecords.size()) * BsRecordSize);
  for (const BsRecord& bs : BsRecords) {
    Util::WriteF32(stream, bs.A);
    Util::WriteF32(stream, bs.B);
    Util::WriteF32(stream, bs.C);
    Util::WriteF32(stream, bs.D);
  }
}

const N4ArchiverTrackSegment& N4ArchiverTrackSegment::Instance() {
  static const N4ArchiverTrackSegment* const instance = new N4ArchiverTrackSegment;
  return *instance;
}

} // namespace Ostra::Papy

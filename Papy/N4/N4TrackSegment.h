#pragma once

#include <vector>

#include "Papy/N4/N4Archiver.h"
#include "Papy/N4/N4Object.h"
#include "Papy/N4/ThreeDObjectTrackSegment.h"

namespace Ostra::Papy {

// Format notes: track-segment body, after the object reference.
//   U32 1, U32 0, U32 version (1 or 2),
//   three section lists, cross sections, F sections, W sections, each: U32 count n;
//     when n is not 0, U32 byte size n * 4 and n object references,
//   U32 type (0 straight, 1 arc),
//   F64 start x, start y, start orientation, end x, end y, end orientation,
//   two U8 flags,
//   version 2: U32 bm count m; when m is not 0, U32 byte size m * 12 and m records
//     {F32 a, F32 b, U32 c}; then U32 bs count s; when s is not 0, U32 byte size
//     s * 16 and s records {F32 a, b, c, d}.
// The bm and bs records are presented together as spans ordered by a + b.
class N4TrackSegment final : public ThreeDObjectTrackSegment, public N4Object {
public:
  // Reads the body. Throws XFileFormat "N4 ptf TrackSegment ..." and the archive's
  // errors.
  N4TrackSegment(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position);

  std::string GetTypeName() const override { return "Segment"; }
  unsigned GetBoolCount() const override { return static_cast<unsigned>(Flags.size()); }
  // Throws XAssertion for an index at or past the count.
  bool GetBool(unsigned index) const override;
  void Write(Util::BinaryStream& stream, int reserved) override;

  bool IsCurve() const override { return Type == ArcType; }
  double GetCentrelineStartX() const override { return StartX; }
  double GetCentrelineStartY() const override { return StartY; }
  double GetCentrelineEndX() const override { return EndX; }
  double GetCentrelineEndY() const override { return EndY; }
  double GetStartOrientation() const override { return StartOrientation; }
  double GetEndOrientation() const override { return EndOrientation; }

  unsigned GetXSectionCount() const override { return static_cast<unsigned>(XSectionIds.size()); }
  CountedPtr<ThreeDObjectXSection> GetXSection(unsigned index) const override;
  unsigned GetFSectionCount() const override { return static_cast<unsigned>(FSectionIds.size()); }
  CountedPtr<ThreeDObjectFSection> GetFSection(unsigned index) const override;
  unsigned GetWSectionCount() const override { return static_cast<unsigned>(WSectionIds.size()); }
  CountedPtr<ThreeDObjectWSection> GetWSection(unsigned index) const override;

  unsigned GetSpanCount() const override { return static_cast<unsigned>(Spans.size()); }
  F32 GetSpanA(unsigned index) const override;
  F32 GetSpanB(unsigned index) const override;
  U32 GetSpanCode(unsigned index) const override;
  F32 GetSpanC(unsigned index) const override;
  F32 GetSpanD(unsigned index) const override;

  U32 GetVersion() const { return Version; }

private:
  static constexpr U32 ArcType = 1;

  struct BmRecord {
    F32 A = 0.0f;
    F32 B = 0.0f;
    U32 C = 0;
  };
  struct BsRecord {
    F32 A = 0.0f;
    F32 B = 0.0f;
    F32 C = 0.0f;
    F32 D = 0.0f;
  };
  enum class SpanKind : U8 { Bs = 0, Bm = 1 };
  struct Span {
    SpanKind Kind = SpanKind::Bs;
    U32 Index = 0;
    F32 Key = 0.0f;
  };

  std::vector<U32> ReadSectionIds(N4Archiver& reader, const char* size_message);
  void WriteSectionIds(Util::BinaryStream& stream, const std::vector<U32>& ids) const;
  void BuildSpans();
  const Span& SpanAt(unsigned index) const;

  U32 Version = 0;
  U32 Type = 0;
  double StartX = 0.0;
  double StartY = 0.0;
  double EndX = 0.0;
  double EndY = 0.0;
  double StartOrientation = 0.0;
  double EndOrientation = 0.0;
  std::vector<U32> XSectionIds;
  std::vector<U32> FSectionIds;
  std::vector<U32> WSectionIds;
  std::vector<BmRecord> BmRecords;
  std::vector<BsRecord> BsRecords;
  std::vector<Span> Spans;
  std::vector<U8> Flags;
};

class N4ArchiverTrackSegment final : public N4ArchiverOf<N4TrackSegment> {
public:
  // Made on first use, never freed.
  static const N4ArchiverTrackSegment& Instance();
  const char* GetDescriptorName() const override { return "SegmentDescriptor"; }
};

} // namespace Ostra::Papy

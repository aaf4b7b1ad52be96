// Format notes: GPL TRK files (version 3000).
//
// Every field is a little-endian 32-bit word, signed unless noted. Five blocks follow
// each other without padding:
//   header     92 bytes: id 0x5452414B (the bytes "KART"), version 3000, lap length,
//              lateral count L (<= 16), section count n, surface bytes S, section bytes
//              52 n, then 16 lateral words of which the first L are used.
//   offsets    4 n: word i is 52 i, the offset of section i in the section block.
//   pieces     32 n L: one cross-section record per section and lateral, section-major:
//              d, c, b, a, 3d, 2c, x (straight) or radius (curve), y.
//   surfaces   S bytes, 32 per record: From, To, Type, Extra0, Value, Extra1, two
//              reserved words. One record per strip boundary from right to left, the
//              last being the left edge of the leftmost strip. Type bit 0x800 marks a
//              wall, bits 0-10 hold the surface or wall code; Value is a surface
//              attribute or a wall height. The file's last record has Type 10.
//   sections   52 n, 13 words each: type (1 straight, 2 curve), start, length,
//              orientation, flags (bits 0 and 1), five geometry words, first piece
//              index (s L), surface record count (strips + 1), first surface record.
// The file is exactly as long as these blocks.

#include "Papy/Track/GPLTrkFile.h"

#include <algorithm>
#include <string>

#include "Papy/Types/FourCC.h"
#include "Papy/Types/ReaderOptions.h"
#include "Papy/Types/SurfaceType.h"
#include "Util/BinaryFile.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

namespace {

namespace Layout {
constexpr U32 Id = MakeFourCC('T', 'R', 'A', 'K');
constexpr S32 Version = 3000;
constexpr U32 HeaderSize = 92;
constexpr U32 MaxLaterals = 16;
constexpr U32 OffsetSize = 4;
constexpr U32 PieceSize = 32;
constexpr U32 SurfaceSize = 32;
constexpr U32 SectionSize = 52;
constexpr S32 StraightType = 1;
constexpr S32 CurveType = 2;
constexpr U32 KnownFlags = 0x3;
constexpr U32 WallBit = 0x800;
constexpr U32 CodeMask = 0x7FF;
constexpr U32 LastSurfaceType = 10;
constexpr U32 SurfaceExtraCount = 2;
constexpr U32 WallExtraCount = 3;
constexpr S32 StrictAltitudeTolerance = 3;
} // namespace Layout

// Reads consecutive little-endian words out of a block already in memory.
class WordCursor {
public:
  explicit WordCursor(const unsigned char* data) : Data(data) {}
  U32 U() {
    const U32 value = Util::LoadU32(Data);
    Data += 4;
    return value;
  }
  S32 S() { return static_cast<S32>(U()); }

private:
  const unsigned char* Data;
};

// Appends little-endian words to a block.
class WordSink {
public:
  explicit WordSink(std::vector<unsigned char>& bytes) : Bytes(bytes) {}
  void U(U32 value) {
    unsigned char b[4];
    Util::StoreU32(b, value);
    Bytes.insert(Bytes.end(), b, b + 4);
  }
  void S(S32 value) { U(static_cast<U32>(value)); }

private:
  std::vector<unsigned char>& Bytes;
};

S32 MapSurfaceCode(U32 code) {
  switch (code) {
  case 1: return SurfaceAsphalt;
  case 2: return SurfaceConcrete;
  case 3: return SurfacePaint;
  case 4: return SurfaceGrass;
  case 5: return SurfaceDirt;
  case 6: return SurfaceSand;
  case 7: return SurfaceGravel;
  case 8: return SurfaceWater;
  case 9: return SurfaceTrainTrack;
  }
  if (ReaderOptions::Instance().Strict)
    UTIL_ASSERT(false);
  return SurfaceUnknown;
}

S32 MapWallCode(U32 code) {
  switch (code) {
  case 1: return WallConcrete;
  case 2: return WallArmco;
  case 3: return WallTyres;
  case 4: return WallHayBales;
  case 5: return WallWireFence;
  case 6: return WallShrubs;
  case 7: return WallForest;
  case 8: return WallWood;
  case 9: return WallInvisible;
  case 10: return WallWireFenceRight;
  case 11: return WallArmcoRight;
  }
  if (ReaderOptions::Instance().Strict)
    UTIL_ASSERT(false);
  return WallUnknown;
}

bool IsWall(const GPLTrkFile::SurfaceRecord& record) { return (record.Type & Layout::WallBit) != 0; }

} // namespace

GPLTrkFile::GPLTrkFile(const CountedPtr<Util::BinaryStream>& stream) {
  Util::BinaryStream& in = *stream;
  const std::string name = in.Name();
  const auto fail = [&name](const std::string& message) {
    throw Util::XFileFormat(name, message);
  };

  const bool strict = ReaderOptions::Instance().Strict;
  in.Seek(0);
  const std::vector<unsigned char> header = Util::ReadBytes(in, Layout::HeaderSize);
  WordCursor h(header.data());
  const U32 id = h.U();
  const S32 version = h.S();
  const S32 length = h.S();
  const U32 lateral_count = h.U();
  const U32 section_count = h.U();
  const U32 surface_bytes = h.U();
  const U32 section_bytes = h.U();
  if (id != Layout::Id)
    fail("GPL trk file id not TRAK");
  if (version != Layout::Version)
    fail("GPL trk file version not 3000");
  // The header has room for 16 laterals only, and the geometry needs at least one.
  if (lateral_count > Layout::MaxLaterals)
    fail("GPL trk file too many laterals");
  if (lateral_count == 0)
    fail("GPL trk file no laterals");
  Length = length;
  for (U32 j = 0; j < lateral_count; ++j)
    Laterals.push_back(h.S());

  const U64 n = section_count;
  const U64 lateral_count64 = lateral_count;
  if (section_bytes != Layout::SectionSize * n)
    fail("GPL trk section length mismatch");
  const U64 piece_bytes = Layout::PieceSize * n * lateral_count64;
  const U64 expected_size =
      Layout::HeaderSize + Layout::OffsetSize * n + piece_bytes + surface_bytes + section_bytes;
  if (static_cast<U64>(in.Size()) != expected_size)
    fail("GPL trk file size mismatch");

  // Every block below fits in the stream: its size was just checked.
  const std::vector<unsigned char> offsets = Util::ReadBytes(in, Layout::OffsetSize * n);
  WordCursor o(offsets.data());
  for (U64 i = 0; i < n; ++i)
    if (o.U() != Layout::SectionSize * i)
      fail("GPL trk file section header index error");

  const std::vector<unsigned char> pieces = Util::ReadBytes(in, piece_bytes);
  WordCursor p(pieces.data());
  Pieces.resize(static_cast<std::size_t>(n * lateral_count64));
  for (PieceRecord& piece : Pieces) {
    piece.D = p.S();
    piece.C = p.S();
    piece.B = p.S();
    piece.A = p.S();
    piece.DTimes3 = p.S();
    piece.CTimes2 = p.S();
    piece.XOrRadius = p.S();
    piece.Y = p.S();
  }

  const std::vector<unsigned char> surfaces = Util::ReadBytes(in, surface_bytes);
  const U64 surface_count = surface_bytes / Layout::SurfaceSize;
  WordCursor f(surfaces.data());
  Surfaces.resize(static_cast<std::size_t>(surface_count));
  for (SurfaceRecord& surface : Surfaces) {
    surface.From = f.S();
    surface.To = f.S();
    surface.Type = f.U();
    surface.Extra0 = f.S();
    surface.Value = f.S();
    surface.Extra1 = f.S();
    f.U();
    f.U();
  }
  if (Surfaces.empty() || Surfaces.back().Type != Layout::LastSurfaceType)
    fail("GPL trk file last surface type not 10");

  const std::vector<unsigned char> sections = Util::ReadBytes(in, section_bytes);
  WordCursor r(sections.data());
  // Running sums in 64 bits: wrapped 32-bit sums could pass the total checks.
  S64 running_start = 0;
  U64 running_surface = 0;
  Sections.resize(static_cast<std::size_t>(n));
  for (U64 s = 0; s < n; ++s) {
    SectionRecord& section = Sections[static_cast<std::size_t>(s)];
    section.Type = r.S();
    section.Start = r.S();
    section.Length = r.S();
    section.Orientation = r.S();
    section.Flags = r.U();
    section.Geometry0 = r.S();
    section.Geometry1 = r.S();
    section.Geometry2 = r.S();
    section.Geometry3 = r.S();
    section.Geometry4 = r.S();
    section.PieceIndex = r.U();
    section.SurfaceCount = r.U();
    section.SurfaceStart = r.U();
    if (section.Type != Layout::StraightType && section.Type != Layout::CurveType)
      fail("GPL trk file unknown section type");
    if (section.PieceIndex != s * lateral_count64)
      fail("GPL trk file pieces index error");
    if (section.Start != running_start)
      fail("GPL trk file section start error.\nSection " + std::to_string(s) + " start " +
           std::to_string(section.Start) + " expected " + std::to_string(running_start) + "\n");
    if ((section.Flags & ~Layout::KnownFlags) != 0)
      fail("GPL trk file unknown flags");
    if (section.Length < 0)
      fail("GPL trk file section length error");
    running_start += section.Length;
    if (section.SurfaceStart != running_surface)
      fail("GPL trk file surface start error");
    // At least one strip, i.e. two boundaries, and all of them among the records.
    if (section.SurfaceCount < 2)
      fail("GPL trk file section surface count error");
    if (section.SurfaceCount > surface_count - running_surface)
      fail("GPL trk file section surface range error");
    running_surface += section.SurfaceCount;
  }
  if (running_start != Length || Length <= 0)
    fail("GPL trk file total length error");
  if (Layout::SurfaceSize * running_surface != surface_bytes)
    fail("GPL trk file total surface length error");

  BuildSection2DLongitudeMap();

  if (!strict)
    return;
  for (U64 s = 0; s < n; ++s) {
    const U64 next = (s + 1) % n;
    for (U64 j = 0; j < lateral_count64; ++j) {
      const PieceRecord& piece = Pieces[static_cast<std::size_t>(s * lateral_count64 + j)];
      const PieceRecord& following = Pieces[static_cast<std::size_t>(next * lateral_count64 + j)];
      if (piece.DTimes3 != WrapMul(3, piece.D))
        fail("GPL trk file altitude square grade error");
      if (piece.CTimes2 != WrapMul(2, piece.C))
        fail("GPL trk file altitude linear grade error");
      const S32 end = WrapAdd(WrapAdd(piece.A, piece.B), WrapAdd(piece.C, piece.D));
      const S32 gap = WrapSub(following.A, end);
      if (gap < -Layout::StrictAltitudeTolerance || gap > Layout::StrictAltitudeTolerance)
        fail("GPL trk file altitude mismatch");
    }
  }
}

void GPLTrkFile::Write(const CountedPtr<Util::BinaryStream>& stream) const {
  Util::BinaryStream& out = *stream;
  const U32 n = static_cast<U32>(Sections.size());
  const U32 lateral_count = static_cast<U32>(Laterals.size());
  std::vector<unsigned char> block;
  WordSink sink(block);
  const auto flush = [&out, &block] {
    // Blocks are written in pieces a U32 count can carry.
    constexpr std::size_t chunk = std::size_t{1} << 30;
    for (std::size_t done = 0; done < block.size();) {
      const std::size_t count = std::min(chunk, block.size() - done);
      out.Write(static_cast<U32>(count), block.data() + done);
      done += count;
    }
    block.clear();
  };

  // Bytes of an older, longer file behind ours would fail the size check on the next
  // read. A file is cut after writing; any other stream is refused before anything in
  // it is overwritten.
  auto* const file = dynamic_cast<Util::BinaryFile*>(stream.Get());
  const U64 total = Layout::HeaderSize + U64{Layout::OffsetSize + Layout::SectionSize} * n +
                    U64{Layout::PieceSize} * Pieces.size() +
                    U64{Layout::SurfaceSize} * Surfaces.size();
  if (file == nullptr && static_cast<U64>(out.Size()) > total)
    throw Util::XFileWrite(out.Name());

  out.Seek(0);
  sink.U(Layout::Id);
  sink.S(Layout::Version);
  sink.S(Length);
  sink.U(lateral_count);
  sink.U(n);
  sink.U(static_cast<U32>(Layout::SurfaceSize * Surfaces.size()));
  sink.U(Layout::SectionSize * n);
  for (U32 j = 0; j < Layout::MaxLaterals; ++j)
    sink.S(j < lateral_count ? Laterals[j] : 0);
  flush();

  for (U32 i = 0; i < n; ++i)
    sink.U(Layout::SectionSize * i);
  flush();

  for (const PieceRecord& piece : Pieces) {
    sink.S(piece.D);
    sink.S(piece.C);
    sink.S(piece.B);
    sink.S(piece.A);
    sink.S(piece.DTimes3);
    sink.S(piece.CTimes2);
    sink.S(piece.XOrRadius);
    sink.S(piece.Y);
  }
  flush();

  for (const SurfaceRecord& surface : Surfaces) {
    sink.S(surface.From);
    sink.S(surface.To);
    sink.U(surface.Type);
    sink.S(surface.Extra0);
    sink.S(surface.Value);
    sink.S(surface.Extra1);
    sink.U(0);
    sink.U(0);
  }
  flush();

  for (const SectionRecord& section : Sections) {
    sink.S(section.Type);
    sink.S(section.Start);
    sink.S(section.Length);
    sink.S(section.Orientation);
    sink.U(section.Flags);
    sink.S(section.Geometry0);
    sink.S(section.Geometry1);
    sink.S(section.Geometry2);
    sink.S(section.Geometry3);
    sink.S(section.Geometry4);
    sink.U(section.PieceIndex);
    sink.U(section.SurfaceCount);
    sink.U(section.SurfaceStart);
  }
  flush();

  if (file != nullptr)
    file->Truncate();
}

const GPLTrkFile::SectionRecord& GPLTrkFile::SectionAt(U32 s) const {
  UTIL_ASSERT(s < Sections.size());
  return Sections[s];
}

const GPLTrkFile::PieceRecord& GPLTrkFile::PieceAt(U32 s, U32 j) const {
  UTIL_ASSERT(j < Laterals.size());
  const U64 index = static_cast<U64>(SectionAt(s).PieceIndex) + j;
  UTIL_ASSERT(index < Pieces.size());
  return Pieces[static_cast<std::size_t>(index)];
}

GPLTrkFile::PieceRecord& GPLTrkFile::PieceAt(U32 s, U32 j) {
  return const_cast<PieceRecord&>(static_cast<const GPLTrkFile&>(*this).PieceAt(s, j));
}

const GPLTrkFile::SurfaceRecord& GPLTrkFile::SurfaceAt(U32 s, U32 k) const {
  const SectionRecord& section = SectionAt(s);
  UTIL_ASSERT(k < section.SurfaceCount);
  const U64 index = static_cast<U64>(section.SurfaceStart) + k;
  UTIL_ASSERT(index < Surfaces.size());
  return Surfaces[static_cast<std::size_t>(index)];
}

U32 GPLTrkFile::WallRecordIndex(U32 s, U32 w) const {
  const SectionRecord& section = SectionAt(s);
  U32 remaining = w;
  // A wall's left edge is the next record, so the section's last record starts none.
  for (U32 k = 0; k + 1 < section.SurfaceCount; ++k) {
    if (!IsWall(SurfaceAt(s, k)))
      continue;
    if (remaining == 0)
      return k;
    --remaining;
  }
  Util::FailAssertion("w < GetWallCount(s)", __FILE__, __LINE__);
}

const GPLTrkFile::SurfaceRecord& GPLTrkFile::WallAt(U32 s, U32 w) const {
  return SurfaceAt(s, WallRecordIndex(s, w));
}

S32 GPLTrkFile::GetLength() const { return Length; }

U32 GPLTrkFile::GetLateralCount() const { return static_cast<U32>(Laterals.size()); }

S32 GPLTrkFile::GetLateral(U32 j) const {
  UTIL_ASSERT(j < Laterals.size());
  return Laterals[j];
}

void GPLTrkFile::SetLateral(U32 j, S32 value) {
  UTIL_ASSERT(j < Laterals.size());
  if (j > 0 && value <= Laterals[j - 1])
    return;
  if (j + 1 < Laterals.size() && value >= Laterals[j + 1])
    return;
  Laterals[j] = value;
}

U32 GPLTrkFile::GetSectionCount() const { return static_cast<U32>(Sections.size()); }

bool GPLTrkFile::IsSectionCurve(U32 s) const { return SectionAt(s).Type == Layout::CurveType; }

bool GPLTrkFile::IsSectionFlag0(U32 s) const { return (SectionAt(s).Flags & 0x1) != 0; }

bool GPLTrkFile::IsSectionFlag1(U32 s) const { return (SectionAt(s).Flags & 0x2) != 0; }

S32 GPLTrkFile::GetSectionStart(U32 s) const { return SectionAt(s).Start; }

S32 GPLTrkFile::GetSectionLength(U32 s) const { return SectionAt(s).Length; }

S32 GPLTrkFile::GetSectionOrientation(U32 s) const { return SectionAt(s).Orientation; }

S32 GPLTrkFile::GetCurveCentreX(U32 s) const { return SectionAt(s).Geometry0; }

S32 GPLTrkFile::GetCurveCentreY(U32 s) const { return SectionAt(s).Geometry1; }

S32 GPLTrkFile::GetCurveHalfAngle(U32 s) const { return SectionAt(s).Geometry2; }

S32 GPLTrkFile::GetStraightDeltaX(U32 s) const { return SectionAt(s).Geometry0; }

S32 GPLTrkFile::GetStraightDeltaY(U32 s) const { return SectionAt(s).Geometry1; }

S32 GPLTrkFile::GetCurveRadius(U32 s) const { return SectionAt(s).Geometry4; }

S32 GPLTrkFile::GetStraightLateralX(U32 s) const { return SectionAt(s).Geometry2; }

S32 GPLTrkFile::GetStraightLateralY(U32 s) const { return SectionAt(s).Geometry3; }

U32 GPLTrkFile::GetSectionUnusedCount(U32 s) const {
  SectionAt(s);
  return 0;
}

S32 GPLTrkFile::GetSectionUnusedValue(U32 s, U32) const {
  SectionAt(s);
  return 0;
}

S32 GPLTrkFile::GetStartAltitude(U32 s, U32 j) const { return PieceAt(s, j).A; }

S32 GPLTrkFile::GetLinearCoefficient(U32 s, U32 j) const { return PieceAt(s, j).B; }

S32 GPLTrkFile::GetSquareCoefficient(U32 s, U32 j) const { return PieceAt(s, j).C; }

S32 GPLTrkFile::GetCubeCoefficient(U32 s, U32 j) const { return PieceAt(s, j).D; }

S32 GPLTrkFile::GetSquareCoefficientTimes2(U32 s, U32 j) const { return PieceAt(s, j).CTimes2; }

S32 GPLTrkFile::GetCubeCoefficientTimes3(U32 s, U32 j) const { return PieceAt(s, j).DTimes3; }

S32 GPLTrkFile::GetXSectionStartX(U32 s, U32 j) const { return PieceAt(s, j).XOrRadius; }

S32 GPLTrkFile::GetXSectionStartY(U32 s, U32 j) const { return PieceAt(s, j).Y; }

S32 GPLTrkFile::GetXSectionRadius(U32 s, U32 j) const { return PieceAt(s, j).XOrRadius; }

S32 GPLTrkFile::GetXSectionUnusedValue(U32 s, U32 j) const {
  PieceAt(s, j);
  return 0;
}

S32 GPLTrkFile::GetXSectionUnusedValue2(U32 s, U32 j, U32) const {
  PieceAt(s, j);
  return 0;
}

U32 GPLTrkFile::GetSurfaceCount(U32 s) const { return SectionAt(s).SurfaceCount - 1; }

S32 GPLTrkFile::GetSurfaceRightStartLatitude(U32 s, U32 k) const {
  UTIL_ASSERT(k < GetSurfaceCount(s));
  return SurfaceAt(s, k).From;
}

S32 GPLTrkFile::GetSurfaceRightEndLatitude(U32 s, U32 k) const {
  UTIL_ASSERT(k < GetSurfaceCount(s));
  return SurfaceAt(s, k).To;
}

S32 GPLTrkFile::GetSurfaceLeftStartLatitude(U32 s, U32 k) const {
  UTIL_ASSERT(k < GetSurfaceCount(s));
  return SurfaceAt(s, k + 1).From;
}

S32 GPLTrkFile::GetSurfaceLeftEndLatitude(U32 s, U32 k) const {
  UTIL_ASSERT(k < GetSurfaceCount(s));
  return SurfaceAt(s, k + 1).To;
}

S32 GPLTrkFile::GetSurfaceAttribute(U32 s, U32 k) const {
  UTIL_ASSERT(k < GetSurfaceCount(s));
  const SurfaceRecord& record = SurfaceAt(s, k);
  return IsWall(record) ? 0 : record.Value;
}

bool GPLTrkFile::IsSurfaceWall(U32 s, U32 k) const {
  UTIL_ASSERT(k < GetSurfaceCount(s));
  return IsWall(SurfaceAt(s, k));
}

S32 GPLTrkFile::GetSurfaceType(U32 s, U32 k) const {
  UTIL_ASSERT(k < GetSurfaceCount(s));
  const SurfaceRecord& record = SurfaceAt(s, k);
  if (IsWall(record))
    return SurfaceAsphalt;
  // The code sits in the low 11 bits, as for walls.
  return MapSurfaceCode(record.Type & Layout::CodeMask);
}

S32 GPLTrkFile::GetSurfaceGripModifier(U32 s, U32 k) const {
  UTIL_ASSERT(k < GetSurfaceCount(s));
  return 0;
}

U32 GPLTrkFile::GetSurfaceExtraCount(U32 s, U32 k) const {
  UTIL_ASSERT(k < GetSurfaceCount(s));
  return IsWall(SurfaceAt(s, k)) ? 0 : Layout::SurfaceExtraCount;
}

S32 GPLTrkFile::GetSurfaceExtra(U32 s, U32 k, U32 i) const {
  UTIL_ASSERT(k < GetSurfaceCount(s));
  UTIL_ASSERT(i < Layout::SurfaceExtraCount);
  const SurfaceRecord& record = SurfaceAt(s, k);
  return i == 0 ? record.Extra0 : record.Extra1;
}

U32 GPLTrkFile::GetWallCount(U32 s) const {
  const SectionRecord& section = SectionAt(s);
  U32 count = 0;
  for (U32 k = 0; k + 1 < section.SurfaceCount; ++k)
    if (IsWall(SurfaceAt(s, k)))
      ++count;
  return count;
}

S32 GPLTrkFile::GetWallRightStartLatitude(U32 s, U32 w) const { return WallAt(s, w).From; }

S32 GPLTrkFile::GetWallRightEndLatitude(U32 s, U32 w) const { return WallAt(s, w).To; }

S32 GPLTrkFile::GetWallLeftStartLatitude(U32 s, U32 w) const {
  return SurfaceAt(s, WallRecordIndex(s, w) + 1).From;
}

S32 GPLTrkFile::GetWallLeftEndLatitude(U32 s, U32 w) const {
  return SurfaceAt(s, WallRecordIndex(s, w) + 1).To;
}

S32 GPLTrkFile::GetWallHeight(U32 s, U32 w) const { return WallAt(s, w).Value; }

S32 GPLTrkFile::GetWallType(U32 s, U32 w) const {
  return MapWallCode(WallAt(s, w).Type & Layout::CodeMask);
}

U32 GPLTrkFile::GetWallExtraCount(U32 s, U32 w) const {
  WallAt(s, w);
  return Layout::WallExtraCount;
}

S32 GPLTrkFile::GetWallExtra(U32 s, U32 w, U32 i) const {
  UTIL_ASSERT(i < Layout::WallExtraCount);
  const SurfaceRecord& record = WallAt(s, w);
  switch (i) {
  case 0: return record.Extra0;
  case 1: return record.Extra1;
  default: return static_cast<S32>(record.Type & ~Layout::WallBit);
  }
}

void GPLTrkFile::SetStartAltitude(U32 s, U32 j, S32 value) { PieceAt(s, j).A = value; }

void GPLTrkFile::SetLinearCoefficient(U32 s, U32 j, S32 value) { PieceAt(s, j).B = value; }

void GPLTrkFile::SetSquareCoefficient(U32 s, U32 j, S32 value) {
  PieceRecord& piece = PieceAt(s, j);
  piece.C = value;
  piece.CTimes2 = WrapMul(2, value);
}

void GPLTrkFile::SetCubeCoefficient(U32 s, U32 j, S32 value) {
  PieceRecord& piece = PieceAt(s, j);
  piece.D = value;
  piece.DTimes3 = WrapMul(3, value);
}

} // namespace Ostra::Papy

// Format notes: the ICR2 TRK file, shared by ICR2 and N2. Every field is a
// little-endian 32-bit word; lengths and latitudes are TRK units, angles binary angles.
//
//   header, 68 bytes: id 0x5452414B (the bytes "KART"), type 1, total length, lateral
//     count L (at most 10), section count S, surface bytes (12 per surface record),
//     section bytes (52 S + 20 per wall record), 10 lateral slots (L used, then 0).
//   section offsets: S words, each section record's offset in the section block.
//     Written, never trusted: the reader walks the section block in order instead.
//   lateral records: S x L records of 32 bytes, section-major: d, c, b, a, 3d, 2c and
//     the line's start x and y on a straight, or its signed radius and 0 on a curve.
//   surface block: 12-byte records (right edge at start, at end, surface code), the
//     strips of each section from right to left.
//   section block: per section a 52-byte record (type, start, length, heading, five
//     geometry words, first lateral record, surface count, first surface record, wall
//     count) followed by its 20-byte wall records (code, start latitude, end latitude,
//     two reserved words written as 0xCCCCCCCC).
//
// Sums and products of header fields are taken in 64 bits, and every block is checked
// against the bytes left before anything is allocated for it.
#include "Papy/Track/ICR2TrkFile.h"

#include <array>
#include <cstdlib>
#include <string>

#include "Papy/Types/FourCC.h"
#include "Papy/Types/ReaderOptions.h"
#include "Papy/Types/SurfaceType.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

namespace {

constexpr U32 TrkId = MakeFourCC('T', 'R', 'A', 'K');
constexpr U32 FileType = 1;
constexpr U32 HeaderSize = 68;
constexpr U32 LateralSlots = 10;
constexpr U32 HeaderLateralsOffset = 28;
constexpr U32 SectionOffsetSize = 4;
constexpr U32 LateralRecordSize = 32;
constexpr U32 SurfaceRecordSize = 12;
constexpr U32 SectionRecordSize = 52;
constexpr U32 WallRecordSize = 20;
constexpr U32 ReservedWallWord = 0xCCCCCCCC;
constexpr S32 StraightType = 1;
constexpr S32 CurveType = 2;
// Largest allowed difference between a stored 2c or 3d and the product it stands for,
// and between one section's end altitude and the next one's start.
constexpr S64 DerivativeTolerance = 2;
constexpr S64 AltitudeTolerance = 3;

// One group of surface codes: Top is the code of grip 0.
struct SurfaceGroup {
  U32 Top;
  int Type;
};
constexpr std::array<SurfaceGroup, 5> SurfaceGroups = {{
    {6, SurfaceGrass},
    {22, SurfaceGravel},
    {38, SurfaceConcrete},
    {46, SurfaceAsphalt},
    {54, SurfacePaint},
}};

struct WallCode {
  U32 Code;
  int Type;
};
constexpr std::array<WallCode, 4> WallCodes = {{
    {0, WallArmco},
    {2, WallWireFence},
    {4, WallConcrete},
    {6, WallConcreteWithFence},
}};

// The group of a surface code, or nullptr for a code above every group.
const SurfaceGroup* FindSurfaceGroup(U32 code) {
  for (const SurfaceGroup& group : SurfaceGroups)
    if (code <= group.Top)
      return &group;
  return nullptr;
}

S32 LoadS32(const unsigned char* p) { return static_cast<S32>(Util::LoadU32(p)); }
void StoreS32(unsigned char* p, S32 v) { Util::StoreU32(p, static_cast<U32>(v)); }

S64 Distance(S64 a, S64 b) { return a > b ? a - b : b - a; }

} // namespace

ICR2TrkFile::ICR2TrkFile(const CountedPtr<Util::BinaryStream>& stream) {
  Util::BinaryStream& in = *stream;
  const auto fail = [&in](const char* message) { throw Util::XFileFormat(in.Name(), message); };

  in.Seek(0);
  const auto header = Util::ReadBytes(in, HeaderSize);
  if (Util::LoadU32(&header[0]) != TrkId)
    fail("ICR2 trk file id not TRAK");
  if (Util::LoadU32(&header[4]) != FileType)
    fail("ICR2 trk file type not 1");
  Length = LoadS32(&header[8]);
  const U32 lateral_count = Util::LoadU32(&header[12]);
  const U32 section_count = Util::LoadU32(&header[16]);
  const U32 surface_bytes = Util::LoadU32(&header[20]);
  // The geometry needs a lateral to measure from and a section to stand in; the header
  // holds no more than its 10 lateral slots.
  if (lateral_count == 0 || lateral_count > LateralSlots)
    fail("ICR2 trk file lateral count error");
  if (section_count == 0)
    fail("ICR2 trk file section count error");
  for (U32 j = 0; j < lateral_count; ++j)
    Laterals.push_back(LoadS32(&header[HeaderLateralsOffset + 4 * j]));

  const U64 offsets_size = static_cast<U64>(section_count) * SectionOffsetSize;
  Util::RequireRemaining(in, offsets_size);
  in.Seek(in.Tell() + static_cast<S64>(offsets_size));

  const U64 lateral_record_count = static_cast<U64>(section_count) * lateral_count;
  const auto lateral_block = Util::ReadBytes(in, lateral_record_count * LateralRecordSize);
  LateralRecords.reserve(static_cast<std::size_t>(lateral_record_count));
  for (U64 r = 0; r < lateral_record_count; ++r) {
    const unsigned char* p = &lateral_block[r * LateralRecordSize];
    LateralRecord record;
    record.D = LoadS32(p);
    record.C = LoadS32(p + 4);
    record.B = LoadS32(p + 8);
    record.A = LoadS32(p + 12);
    record.DTimes3 = LoadS32(p + 16);
    record.CTimes2 = LoadS32(p + 20);
    record.XOrRadius = LoadS32(p + 24);
    record.Y = LoadS32(p + 28);
    if (Distance(record.DTimes3, 3 * static_cast<S64>(record.D)) > DerivativeTolerance)
      fail("ICR2 trk file altitude delta 4 error");
    if (Distance(record.CTimes2, 2 * static_cast<S64>(record.C)) > DerivativeTolerance)
      fail("ICR2 trk file altitude delta 5 error");
    LateralRecords.push_back(record);
  }

  const auto surface_block = Util::ReadBytes(in, surface_bytes);
  const std::size_t surface_record_count = surface_bytes / SurfaceRecordSize;
  Surfaces.reserve(surface_record_count);
  for (std::size_t r = 0; r < surface_record_count; ++r) {
    const unsigned char* p = &surface_block[r * SurfaceRecordSize];
    Surfaces.push_back(SurfaceRecord{LoadS32(p), LoadS32(p + 4), Util::LoadU32(p + 8)});
  }

  S64 running_start = 0;
  U64 running_surface = 0;
  for (U32 i = 0; i < section_count; ++i) {
    std::array<unsigned char, SectionRecordSize> p;
    in.Read(SectionRecordSize, p.data());
    SectionRecord section;
    section.Type = LoadS32(&p[0]);
    section.Start = LoadS32(&p[4]);
    section.Length = LoadS32(&p[8]);
    section.Heading = LoadS32(&p[12]);
    section.Word16 = LoadS32(&p[16]);
    section.Word20 = LoadS32(&p[20]);
    section.Word24 = LoadS32(&p[24]);
    section.Word28 = LoadS32(&p[28]);
    section.Word32 = LoadS32(&p[32]);
    section.LateralStart = Util::LoadU32(&p[36]);
    section.SurfaceCount = Util::LoadU32(&p[40]);
    section.SurfaceStart = Util::LoadU32(&p[44]);
    section.WallCount = Util::LoadU32(&p[48]);

    if (section.Type != StraightType && section.Type != CurveType)
      fail("ICR2 trk file unknown section type");
    if (section.LateralStart != static_cast<U64>(i) * lateral_count)
      fail("ICR2 trk file pieces index error");
    if (section.Start != running_start)
      fail("ICR2 trk file section start error");
    // A section running backwards has no fraction to find a point at.
    if (section.Length < 0)
      fail("ICR2 trk file section length error");
    running_start += section.Length;
    if (section.SurfaceStart != running_surface)
      fail("ICR2 trk file surface start error");
    // Every point of a section has to lie on some strip.
    if (section.SurfaceCount == 0)
      fail("ICR2 trk file surface count error");
    running_surface += section.SurfaceCount;
    section.WallStart = static_cast<U32>(Walls.size());
    if (i > 0) {
      for (U32 j = 0; j < lateral_count; ++j) {
        const LateralRecord& before =
            LateralRecords[static_cast<std::size_t>(i - 1) * lateral_count + j];
        const LateralRecord& after =
            LateralRecords[static_cast<std::size_t>(i) * lateral_count + j];
        // The end altitude is the game's own 32-bit sum.
        const S32 end_altitude = WrapAdd(WrapAdd(before.B, before.C), WrapAdd(before.D, before.A));
        if (Distance(end_altitude, after.A) > AltitudeTolerance)
          fail("ICR2 trk file altitude mismatch");
      }
    }
    Sections.push_back(section);

    const auto wall_block =
        Util::ReadBytes(in, static_cast<U64>(section.WallCount) * WallRecordSize);
    for (U32 w = 0; w < section.WallCount; ++w) {
      const unsigned char* q = &wall_block[static_cast<std::size_t>(w) * WallRecordSize];
      Walls.push_back(WallRecord{LoadS32(q + 4), LoadS32(q + 8), Util::LoadU32(q)});
    }
  }
  // A lap without length has no section to find any longitude in.
  if (running_start != Length || Length <= 0)
    fail("ICR2 trk file total length error");
  if (running_surface * SurfaceRecordSize != surface_bytes)
    fail("ICR2 trk file total surface length error");

  BuildSection2DLongitudeMap();
}

const ICR2TrkFile::SectionRecord& ICR2TrkFile::SectionAt(U32 s) const {
  UTIL_ASSERT(s < Sections.size());
  return Sections[s];
}

const ICR2TrkFile::LateralRecord& ICR2TrkFile::LateralAt(U32 s, U32 j) const {
  UTIL_ASSERT(j < Laterals.size());
  return LateralRecords[static_cast<std::size_t>(SectionAt(s).LateralStart) + j];
}

ICR2TrkFile::LateralRecord& ICR2TrkFile::LateralAt(U32 s, U32 j) {
  UTIL_ASSERT(j < Laterals.size());
  return LateralRecords[static_cast<std::size_t>(SectionAt(s).LateralStart) + j];
}

const ICR2TrkFile::SurfaceRecord& ICR2TrkFile::SurfaceAt(U32 s, U32 k) const {
  const SectionRecord& section = SectionAt(s);
  UTIL_ASSERT(k < section.SurfaceCount);
  return Surfaces[static_cast<std::size_t>(section.SurfaceStart) + k];
}

const ICR2TrkFile::WallRecord& ICR2TrkFile::WallAt(U32 s, U32 w) const {
  const SectionRecord& section = SectionAt(s);
  UTIL_ASSERT(w < section.WallCount);
  return Walls[static_cast<std::size_t>(section.WallStart) + w];
}

S32 ICR2TrkFile::GetLength() const { return Length; }

U32 ICR2TrkFile::GetLateralCount() const { return static_cast<U32>(Laterals.size()); }

S32 ICR2TrkFile::GetLateral(U32 j) const {
  UTIL_ASSERT(j < Laterals.size());
  return Laterals[j];
}

void ICR2TrkFile::SetLateral(U32 j, S32 value) {
  UTIL_ASSERT(j < Laterals.size());
  if ((j == 0 || Laterals[j - 1] < value) && (j + 1 >= Laterals.size() || value < Laterals[j + 1]))
    Laterals[j] = value;
}

U32 ICR2TrkFile::GetSectionCount() const { return static_cast<U32>(Sections.size()); }

bool ICR2TrkFile::IsSectionCurve(U32 s) const { return SectionAt(s).Type == CurveType; }

bool ICR2TrkFile::IsSectionFlag0(U32 s) const {
  SectionAt(s);
  return false;
}

bool ICR2TrkFile::IsSectionFlag1(U32 s) const {
  SectionAt(s);
  return false;
}

S32 ICR2TrkFile::GetSectionStart(U32 s) const { return SectionAt(s).Start; }
S32 ICR2TrkFile::GetSectionLength(U32 s) const { return SectionAt(s).Length; }
S32 ICR2TrkFile::GetSectionOrientation(U32 s) const { return SectionAt(s).Heading; }
S32 ICR2TrkFile::GetCurveCentreX(U32 s) const { return SectionAt(s).Word16; }
S32 ICR2TrkFile::GetCurveCentreY(U32 s) const { return SectionAt(s).Word20; }
S32 ICR2TrkFile::GetCurveHalfAngle(U32 s) const { return SectionAt(s).Word24; }
S32 ICR2TrkFile::GetStraightDeltaX(U32 s) const { return SectionAt(s).Word16; }
S32 ICR2TrkFile::GetStraightDeltaY(U32 s) const { return SectionAt(s).Word20; }
S32 ICR2TrkFile::GetCurveRadius(U32 s) const { return SectionAt(s).Word32; }
S32 ICR2TrkFile::GetStraightLateralX(U32 s) const { return SectionAt(s).Word24; }
S32 ICR2TrkFile::GetStraightLateralY(U32 s) const { return SectionAt(s).Word28; }

U32 ICR2TrkFile::GetSectionUnusedCount(U32 s) const {
  SectionAt(s);
  return 0;
}

S32 ICR2TrkFile::GetSectionUnusedValue(U32 s, U32) const {
  SectionAt(s);
  return 0;
}

S32 ICR2TrkFile::GetStartAltitude(U32 s, U32 j) const { return LateralAt(s, j).A; }
S32 ICR2TrkFile::GetLinearCoefficient(U32 s, U32 j) const { return LateralAt(s, j).B; }
S32 ICR2TrkFile::GetSquareCoefficient(U32 s, U32 j) const { return LateralAt(s, j).C; }
S32 ICR2TrkFile::GetCubeCoefficient(U32 s, U32 j) const { return LateralAt(s, j).D; }
S32 ICR2TrkFile::GetSquareCoefficientTimes2(U32 s, U32 j) const { return LateralAt(s, j).CTimes2; }
S32 ICR2TrkFile::GetCubeCoefficientTimes3(U32 s, U32 j) const { return LateralAt(s, j).DTimes3; }
S32 ICR2TrkFile::GetXSectionStartX(U32 s, U32 j) const { return LateralAt(s, j).XOrRadius; }
S32 ICR2TrkFile::GetXSectionStartY(U32 s, U32 j) const { return LateralAt(s, j).Y; }
S32 ICR2TrkFile::GetXSectionRadius(U32 s, U32 j) const { return LateralAt(s, j).XOrRadius; }

S32 ICR2TrkFile::GetXSectionUnusedValue(U32 s, U32 j) const {
  LateralAt(s, j);
  return 0;
}

S32 ICR2TrkFile::GetXSectionUnusedValue2(U32 s, U32 j, U32) const {
  LateralAt(s, j);
  return 0;
}

U32 ICR2TrkFile::GetSurfaceCount(U32 s) const { return SectionAt(s).SurfaceCount; }

S32 ICR2TrkFile::GetSurfaceRightStartLatitude(U32 s, U32 k) const {
  return SurfaceAt(s, k).RightStart;
}

S32 ICR2TrkFile::GetSurfaceRightEndLatitude(U32 s, U32 k) const { return SurfaceAt(s, k).RightEnd; }

S32 ICR2TrkFile::GetSurfaceLeftStartLatitude(U32 s, U32 k) const {
  const SurfaceRecord& strip = SurfaceAt(s, k);
  const SectionRecord& section = Sections[s];
  if (k + 1 < section.SurfaceCount)
    return SurfaceAt(s, k + 1).RightStart;
  if (section.WallCount == 0)
    return strip.RightStart;
  return WallAt(s, section.WallCount - 1).Start;
}

S32 ICR2TrkFile::GetSurfaceLeftEndLatitude(U32 s, U32 k) const {
  const SurfaceRecord& strip = SurfaceAt(s, k);
  const SectionRecord& section = Sections[s];
  if (k + 1 < section.SurfaceCount)
    return SurfaceAt(s, k + 1).RightEnd;
  if (section.WallCount == 0)
    return strip.RightEnd;
  return WallAt(s, section.WallCount - 1).End;
}

S32 ICR2TrkFile::GetSurfaceAttribute(U32 s, U32 k) const {
  SurfaceAt(s, k);
  return 0;
}

bool ICR2TrkFile::IsSurfaceWall(U32 s, U32 k) const {
  SurfaceAt(s, k);
  return false;
}

S32 ICR2TrkFile::GetSurfaceType(U32 s, U32 k) const {
  const SurfaceGroup* group = FindSurfaceGroup(SurfaceAt(s, k).Code);
  if (group)
    return group->Type;
  UTIL_ASSERT_TEXT(!ReaderOptions::Instance().Strict, "false");
  return SurfaceUnknown;
}

S32 ICR2TrkFile::GetSurfaceGripModifier(U32 s, U32 k) const {
  const U32 code = SurfaceAt(s, k).Code;
  const SurfaceGroup* group = FindSurfaceGroup(code);
  if (group)
    return static_cast<S32>(code) - static_cast<S32>(group->Top);
  UTIL_ASSERT_TEXT(!ReaderOptions::Instance().Strict, "false");
  return 0;
}

U32 ICR2TrkFile::GetSurfaceExtraCount(U32 s, U32 k) const {
  SurfaceAt(s, k);
  return 0;
}

S32 ICR2TrkFile::GetSurfaceExtra(U32 s, U32 k, U32) const {
  SurfaceAt(s, k);
  return 0;
}

U32 ICR2TrkFile::GetWallCount(U32 s) const { return SectionAt(s).WallCount; }
S32 ICR2TrkFile::GetWallRightStartLatitude(U32 s, U32 w) const { return WallAt(s, w).Start; }
S32 ICR2TrkFile::GetWallRightEndLatitude(U32 s, U32 w) const { return WallAt(s, w).End; }
S32 ICR2TrkFile::GetWallLeftStartLatitude(U32 s, U32 w) const { return WallAt(s, w).Start; }
S32 ICR2TrkFile::GetWallLeftEndLatitude(U32 s, U32 w) const { return WallAt(s, w).End; }

S32 ICR2TrkFile::GetWallHeight(U32 s, U32 w) const {
  WallAt(s, w);
  return WallHeight;
}

S32 ICR2TrkFile::GetWallType(U32 s, U32 w) const {
  const U32 code = WallAt(s, w).Code;
  for (const WallCode& entry : WallCodes)
    if (entry.Code == code)
      return entry.Type;
  UTIL_ASSERT_TEXT(!ReaderOptions::Instance().Strict, "false");
  return WallUnknown;
}

U32 ICR2TrkFile::GetWallExtraCount(U32 s, U32 w) const {
  WallAt(s, w);
  return 0;
}

S32 ICR2TrkFile::GetWallExtra(U32 s, U32 w, U32) const {
  WallAt(s, w);
  return 0;
}

void ICR2TrkFile::SetStartAltitude(U32 s, U32 j, S32 value) { LateralAt(s, j).A = value; }
void ICR2TrkFile::SetLinearCoefficient(U32 s, U32 j, S32 value) { LateralAt(s, j).B = value; }

void ICR2TrkFile::SetSquareCoefficient(U32 s, U32 j, S32 value) {
  LateralRecord& record = LateralAt(s, j);
  record.C = value;
  record.CTimes2 = WrapMul(value, 2);
}

void ICR2TrkFile::SetCubeCoefficient(U32 s, U32 j, S32 value) {
  LateralRecord& record = LateralAt(s, j);
  record.D = value;
  record.DTimes3 = WrapMul(value, 3);
}

void ICR2TrkFile::Write(const CountedPtr<Util::BinaryStream>& stream) const {
  Util::BinaryStream& out = *stream;
  const U32 section_count = static_cast<U32>(Sections.size());
  const auto write_block = [&out](const std::vector<unsigned char>& block) {
    if (!block.empty())
      out.Write(static_cast<U32>(block.size()), block.data());
  };

  out.Seek(0);
  std::vector<unsigned char> header(HeaderSize, 0);
  Util::StoreU32(&header[0], TrkId);
  Util::StoreU32(&header[4], FileType);
  StoreS32(&header[8], Length);
  Util::StoreU32(&header[12], static_cast<U32>(Laterals.size()));
  Util::StoreU32(&header[16], section_count);
  Util::StoreU32(&header[20], static_cast<U32>(Surfaces.size() * SurfaceRecordSize));
  Util::StoreU32(&header[24], static_cast<U32>(section_count * SectionRecordSize +
                                               Walls.size() * WallRecordSize));
  for (std::size_t j = 0; j < Laterals.size() && j < LateralSlots; ++j)
    StoreS32(&header[HeaderLateralsOffset + 4 * j], Laterals[j]);
  write_block(header);

  std::vector<unsigned char> offsets(static_cast<std::size_t>(section_count) * SectionOffsetSize);
  U32 offset = 0;
  for (U32 s = 0; s < section_count; ++s) {
    Util::StoreU32(&offsets[static_cast<std::size_t>(s) * SectionOffsetSize], offset);
    offset += SectionRecordSize + Sections[s].WallCount * WallRecordSize;
  }
  write_block(offsets);

  std::vector<unsigned char> laterals(LateralRecords.size() * LateralRecordSize);
  for (std::size_t r = 0; r < LateralRecords.size(); ++r) {
    const LateralRecord& record = LateralRecords[r];
    unsigned char* p = &laterals[r * LateralRecordSize];
    StoreS32(p, record.D);
    StoreS32(p + 4, record.C);
    StoreS32(p + 8, record.B);
    StoreS32(p + 12, record.A);
    StoreS32(p + 16, record.DTimes3);
    StoreS32(p + 20, record.CTimes2);
    StoreS32(p + 24, record.XOrRadius);
    StoreS32(p + 28, record.Y);
  }
  write_block(laterals);

  std::vector<unsigned char> surfaces(Surfaces.size() * SurfaceRecordSize);
  for (std::size_t r = 0; r < Surfaces.size(); ++r) {
    unsigned char* p = &surfaces[r * SurfaceRecordSize];
    StoreS32(p, Surfaces[r].RightStart);
    StoreS32(p + 4, Surfaces[r].RightEnd);
    Util::StoreU32(p + 8, Surfaces[r].Code);
  }
  write_block(surfaces);

  std::vector<unsigned char> sections(static_cast<std::size_t>(section_count) * SectionRecordSize +
                                      Walls.size() * WallRecordSize);
  unsigned char* p = sections.data();
  for (const SectionRecord& section : Sections) {
    StoreS32(p, section.Type);
    StoreS32(p + 4, section.Start);
    StoreS32(p + 8, section.Length);
    StoreS32(p + 12, section.Heading);
    StoreS32(p + 16, section.Word16);
    StoreS32(p + 20, section.Word20);
    StoreS32(p + 24, section.Word24);
    StoreS32(p + 28, section.Word28);
    StoreS32(p + 32, section.Word32);
    Util::StoreU32(p + 36, section.LateralStart);
    Util::StoreU32(p + 40, section.SurfaceCount);
    Util::StoreU32(p + 44, section.SurfaceStart);
    Util::StoreU32(p + 48, section.WallCount);
    p += SectionRecordSize;
    for (U32 w = 0; w < section.WallCount; ++w) {
      const WallRecord& wall = Walls[static_cast<std::size_t>(section.WallStart) + w];
      Util::StoreU32(p, wall.Code);
      StoreS32(p + 4, wall.Start);
      StoreS32(p + 8, wall.End);
      Util::StoreU32(p + 12, ReservedWallWord);
      Util::StoreU32(p + 16, ReservedWallWord);
      p += WallRecordSize;
    }
  }
  write_block(sections);
}

} // namespace Ostra::Papy

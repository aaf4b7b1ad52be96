// Conversion of any TRK file into the ICR2 format. Geometry, cubics and laterals are
// copied in the units both formats share; only surface and wall codes are translated,
// and walls, which may have a width elsewhere, become wall lines of no width.
#include <array>

#include "Papy/Track/ICR2TrkFile.h"
#include "Papy/Types/SurfaceType.h"
#include "Util/Exception.h"

namespace Ostra::Papy {

namespace {

constexpr U32 MaxLaterals = 10;
constexpr S32 StraightType = 1;
constexpr S32 CurveType = 2;
constexpr U32 PlainWallCode = 0;

// A surface type's code of grip 0 (the top of its reading group) and the lowest code
// of that group: a grip that leaves the group would read back as another surface.
// Dirt and Sand have no group of their own and read back as Gravel and Grass.
struct SurfaceCoding {
  int Type;
  U32 Top;
  U32 Bottom;
};
constexpr std::array<SurfaceCoding, 7> SurfaceCodings = {{
    {SurfaceAsphalt, 46, 39},
    {SurfaceConcrete, 38, 23},
    {SurfaceDirt, 22, 7},
    {SurfaceGrass, 6, 0},
    {SurfaceGravel, 22, 7},
    {SurfacePaint, 54, 47},
    {SurfaceSand, 6, 0},
}};

U32 SurfaceCode(S32 type, S32 grip) {
  for (const SurfaceCoding& coding : SurfaceCodings) {
    if (coding.Type != type)
      continue;
    const S64 code = static_cast<S64>(coding.Top) + grip;
    if (code < coding.Bottom || code > coding.Top)
      break;
    return static_cast<U32>(code);
  }
  throw Util::XUsage("ICR2 trk unsupported surface type");
}

U32 WallCode(S32 type) {
  switch (type) {
  case WallArmco:
  case WallArmcoLeft:
  case WallArmcoRight:
  case WallHayBales:
  case WallShrubs:
    return 0;
  case WallConcrete:
    return 4;
  case WallConcreteWithFence:
    return 6;
  case WallWireFence:
  case WallWireFenceLeft:
  case WallWireFenceRight:
    return 2;
  default:
    throw Util::XUsage("ICR2 trk unsupported wall type");
  }
}

} // namespace

ICR2TrkFile::ICR2TrkFile(const CountedPtr<TrkFile>& source) {
  const TrkFile& from = *source;
  const U32 lateral_count = from.GetLateralCount();
  if (lateral_count > MaxLaterals)
    throw Util::XUsage("ICR2 trk file supports too few laterals");
  for (U32 j = 0; j < lateral_count; ++j)
    Laterals.push_back(from.GetLateral(j));
  Length = from.GetLength();

  const U32 section_count = from.GetSectionCount();
  Sections.reserve(section_count);
  LateralRecords.reserve(static_cast<std::size_t>(section_count) * lateral_count);
  for (U32 s = 0; s < section_count; ++s) {
    const bool curve = from.IsSectionCurve(s);
    SectionRecord section;
    section.Type = curve ? CurveType : StraightType;
    section.Start = from.GetSectionStart(s);
    section.Length = from.GetSectionLength(s);
    section.Heading = from.GetSectionOrientation(s);
    if (curve) {
      section.Word16 = from.GetCurveCentreX(s);
      section.Word20 = from.GetCurveCentreY(s);
      section.Word24 = from.GetCurveHalfAngle(s);
    } else {
      section.Word16 = from.GetStraightDeltaX(s);
      section.Word20 = from.GetStraightDeltaY(s);
      section.Word24 = from.GetStraightLateralX(s);
      section.Word28 = from.GetStraightLateralY(s);
      section.Word32 = from.GetCurveRadius(s);
    }
    section.LateralStart = static_cast<U32>(LateralRecords.size());
    section.SurfaceStart = static_cast<U32>(Surfaces.size());
    section.WallStart = static_cast<U32>(Walls.size());

    for (U32 j = 0; j < lateral_count; ++j) {
      LateralRecord record;
      record.A = from.GetStartAltitude(s, j);
      record.B = from.GetLinearCoefficient(s, j);
      record.C = from.GetSquareCoefficient(s, j);
      record.D = from.GetCubeCoefficient(s, j);
      record.CTimes2 = from.GetSquareCoefficientTimes2(s, j);
      record.DTimes3 = from.GetCubeCoefficientTimes3(s, j);
      if (curve) {
        record.XOrRadius = from.GetXSectionRadius(s, j);
      } else {
        record.XOrRadius = from.GetXSectionStartX(s, j);
        record.Y = from.GetXSectionStartY(s, j);
      }
      LateralRecords.push_back(record);
    }

    // The format bounds a section by its first strip's right edge and its last strip's
    // left edge; without strips there is nothing to bound.
    const U32 strip_count = from.GetSurfaceCount(s);
    if (strip_count == 0)
      throw Util::XUsage("ICR2 trk unsupported section without surface");
    for (U32 k = 0; k < strip_count; ++k) {
      Surfaces.push_back(SurfaceRecord{
          from.GetSurfaceRightStartLatitude(s, k), from.GetSurfaceRightEndLatitude(s, k),
          SurfaceCode(from.GetSurfaceType(s, k), from.GetSurfaceGripModifier(s, k))});
      ++section.SurfaceCount;
    }

    const auto add_wall = [&](S32 start, S32 end, U32 code) {
      Walls.push_back(WallRecord{start, end, code});
      ++section.WallCount;
    };
    const U32 wall_count = from.GetWallCount(s);
    const S32 right_start = from.GetSurfaceRightStartLatitude(s, 0);
    const S32 right_end = from.GetSurfaceRightEndLatitude(s, 0);
    if (wall_count == 0 || from.GetWallRightStartLatitude(s, 0) != right_start ||
        from.GetWallRightEndLatitude(s, 0) != right_end)
      add_wall(right_start, right_end, PlainWallCode);
    for (U32 w = 0; w < wall_count; ++w) {
      const S32 wall_right_start = from.GetWallRightStartLatitude(s, w);
      const S32 wall_right_end = from.GetWallRightEndLatitude(s, w);
      const S32 wall_left_start = from.GetWallLeftStartLatitude(s, w);
      const S32 wall_left_end = from.GetWallLeftEndLatitude(s, w);
      add_wall(wall_right_start, wall_right_end, WallCode(from.GetWallType(s, w)));
      if (wall_left_start != wall_right_start || wall_left_end != wall_right_end)
        add_wall(wall_left_start, wall_left_end, PlainWallCode);
    }
    const S32 left_start = from.GetSurfaceLeftStartLatitude(s, strip_count - 1);
    const S32 left_end = from.GetSurfaceLeftEndLatitude(s, strip_count - 1);
    if (wall_count == 0 || from.GetWallLeftStartLatitude(s, wall_count - 1) != left_start ||
        from.GetWallLeftEndLatitude(s, wall_count - 1) != left_end)
      add_wall(left_start, left_end, PlainWallCode);

    Sections.push_back(section);
  }

  BuildSection2DLongitudeMap();
}

} // namespace Ostra::Papy

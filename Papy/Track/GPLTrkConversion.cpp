// Conversion of any TRK file into the GPL format. Geometry, cubics and laterals are
// copied in the units both formats share; the surface records are rebuilt, since GPL
// keeps each wall as a record of its own among a section's strip boundaries.
#include <cstddef>

#include "Papy/Track/GPLTrkFile.h"
#include "Papy/Types/SurfaceType.h"
#include "Util/Exception.h"

namespace Ostra::Papy {

namespace {

constexpr U32 MaxLaterals = 16;
constexpr S32 StraightType = 1;
constexpr S32 CurveType = 2;
constexpr U32 Flag0 = 0x1;
constexpr U32 Flag1 = 0x2;
constexpr U32 WallBit = 0x800;
constexpr U32 ClosingType = 10;

U32 SurfaceCode(S32 type) {
  switch (type) {
  case SurfaceAsphalt:
    return 1;
  case SurfaceConcrete:
    return 2;
  case SurfaceDirt:
    return 5;
  case SurfaceGrass:
    return 4;
  case SurfaceGravel:
    return 7;
  case SurfacePaint:
    return 3;
  case SurfaceSand:
    return 6;
  case SurfaceTrainTrack:
    return 9;
  case SurfaceWater:
    return 8;
  default:
    UTIL_ASSERT_TEXT(false, "false");
    return 0;
  }
}

// Concrete With Fence and Wire Fence share a code, which reads back as Wire Fence; the
// right-hand variants are the exact inverses of what reading GPL codes 10 and 11 gives.
U32 WallCode(S32 type) {
  switch (type) {
  case WallArmco:
    return 2;
  case WallArmcoRight:
    return 11;
  case WallConcrete:
    return 1;
  case WallConcreteWithFence:
    return 5;
  case WallForest:
    return 7;
  case WallHayBales:
    return 4;
  case WallInvisible:
    return 9;
  case WallShrubs:
    return 6;
  case WallTyres:
    return 3;
  case WallWireFence:
    return 5;
  case WallWireFenceRight:
    return 10;
  case WallWood:
    return 8;
  default:
    UTIL_ASSERT_TEXT(false, "false");
    return 0;
  }
}

} // namespace

GPLTrkFile::GPLTrkFile(const CountedPtr<TrkFile>& source) {
  const TrkFile& from = *source;
  const U32 lateral_count = from.GetLateralCount();
  if (lateral_count > MaxLaterals)
    throw Util::XUsage("GPL trk file supports too few laterals");
  for (U32 j = 0; j < lateral_count; ++j)
    Laterals.push_back(from.GetLateral(j));
  Length = from.GetLength();

  const U32 section_count = from.GetSectionCount();
  Sections.reserve(section_count);
  Pieces.reserve(static_cast<std::size_t>(section_count) * lateral_count);
  for (U32 s = 0; s < section_count; ++s) {
    const bool curve = from.IsSectionCurve(s);
    SectionRecord section;
    section.Type = curve ? CurveType : StraightType;
    section.Start = from.GetSectionStart(s);
    section.Length = from.GetSectionLength(s);
    section.Orientation = from.GetSectionOrientation(s);
    section.Flags = (from.IsSectionFlag0(s) ? Flag0 : 0) | (from.IsSectionFlag1(s) ? Flag1 : 0);
    if (curve) {
      section.Geometry0 = from.GetCurveCentreX(s);
      section.Geometry1 = from.GetCurveCentreY(s);
      section.Geometry2 = from.GetCurveHalfAngle(s);
    } else {
      section.Geometry0 = from.GetStraightDeltaX(s);
      section.Geometry1 = from.GetStraightDeltaY(s);
      section.Geometry2 = from.GetStraightLateralX(s);
      section.Geometry3 = from.GetStraightLateralY(s);
      section.Geometry4 = from.GetCurveRadius(s);
    }
    section.PieceIndex = static_cast<U32>(Pieces.size());
    section.SurfaceStart = static_cast<U32>(Surfaces.size());

    for (U32 j = 0; j < lateral_count; ++j) {
      PieceRecord piece;
      piece.A = from.GetStartAltitude(s, j);
      piece.B = from.GetLinearCoefficient(s, j);
      piece.C = from.GetSquareCoefficient(s, j);
      piece.D = from.GetCubeCoefficient(s, j);
      piece.CTimes2 = from.GetSquareCoefficientTimes2(s, j);
      piece.DTimes3 = from.GetCubeCoefficientTimes3(s, j);
      if (curve) {
        piece.XOrRadius = from.GetXSectionRadius(s, j);
      } else {
        piece.XOrRadius = from.GetXSectionStartX(s, j);
        piece.Y = from.GetXSectionStartY(s, j);
      }
      Pieces.push_back(piece);
    }

    // The closing record is the last strip's left edge; without strips there is none.
    const U32 strip_count = from.GetSurfaceCount(s);
    if (strip_count == 0)
      throw Util::XUsage("GPL trk unsupported section without surface");
    for (U32 k = 0; k < strip_count; ++k) {
      SurfaceRecord record;
      record.From = from.GetSurfaceRightStartLatitude(s, k);
      record.To = from.GetSurfaceRightEndLatitude(s, k);
      record.Type = SurfaceCode(from.GetSurfaceType(s, k));
      record.Value = from.GetSurfaceAttribute(s, k);
      Surfaces.push_back(record);
    }
    SurfaceRecord closing;
    closing.From = from.GetSurfaceLeftStartLatitude(s, strip_count - 1);
    closing.To = from.GetSurfaceLeftEndLatitude(s, strip_count - 1);
    closing.Type = ClosingType;
    Surfaces.push_back(closing);

    const std::size_t first = section.SurfaceStart;
    const U32 wall_count = from.GetWallCount(s);
    for (U32 w = 0; w < wall_count; ++w) {
      SurfaceRecord sur;
      sur.From = from.GetWallRightStartLatitude(s, w);
      sur.To = from.GetWallRightEndLatitude(s, w);
      sur.Type = WallCode(from.GetWallType(s, w)) | WallBit;
      sur.Value = from.GetWallHeight(s, w);
      // The first boundary at the wall or beyond it, walls inserted before included.
      std::size_t at = first;
      while (at < Surfaces.size() &&
             !(Surfaces[at].From == sur.From && Surfaces[at].To == sur.To) &&
             Surfaces[at].From <= sur.From && Surfaces[at].To <= sur.To)
        ++at;
      if (at == Surfaces.size())
        continue; // left of every boundary: the format has no place for it
      if (Surfaces[at].From == sur.From && Surfaces[at].To == sur.To) {
        Surfaces.insert(Surfaces.begin() + static_cast<std::ptrdiff_t>(at), sur);
        continue;
      }
      // Inside a strip: the wall splits it, and the strip resumes at the wall.
      const std::size_t i = at - first;
      UTIL_ASSERT(i > 0);
      UTIL_ASSERT_TEXT(Surfaces[at].From >= sur.From && Surfaces[at].To >= sur.To,
                       "Surfaces[i].From >= sur.From && Surfaces[i].To >= sur.To");
      SurfaceRecord resumed = Surfaces[at - 1];
      resumed.From = sur.From;
      resumed.To = sur.To;
      Surfaces.insert(Surfaces.begin() + static_cast<std::ptrdiff_t>(at), {sur, resumed});
    }

    section.SurfaceCount = static_cast<U32>(Surfaces.size() - first);
    Sections.push_back(section);
  }

  BuildSection2DLongitudeMap();
}

} // namespace Ostra::Papy

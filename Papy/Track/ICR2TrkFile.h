#pragma once

#include <vector>

#include "Papy/Track/TrkFile.h"
#include "Util/CountedPtr.h"
#include "Util/Types.h"

namespace Ostra::Util {
class BinaryStream;
}

namespace Ostra::Papy {

// The TRK file of ICR2 and N2. Walls are lines without width, listed per section from
// right to left; a section's last strip reaches its last wall.
class ICR2TrkFile : public TrkFile {
public:
  // One section record; the five geometry words keep their file offsets in the names.
  struct SectionRecord {
    S32 Type = 0; // 1 straight, 2 curve
    S32 Start = 0;
    S32 Length = 0;
    S32 Heading = 0;
    S32 Word16 = 0; // curve centre x, or straight delta x
    S32 Word20 = 0; // curve centre y, or straight delta y
    S32 Word24 = 0; // curve half angle, or straight lateral x
    S32 Word28 = 0; // straight lateral y
    S32 Word32 = 0; // GetCurveRadius: set on straights, 0 on curves
    U32 LateralStart = 0;
    U32 SurfaceCount = 0;
    U32 SurfaceStart = 0;
    U32 WallCount = 0;
    U32 WallStart = 0;
  };

  // The altitude cubic of one lateral over one section and the lateral line's placement.
  struct LateralRecord {
    S32 B = 0;
    S32 C = 0;
    S32 D = 0;
    S32 A = 0;
    S32 CTimes2 = 0;
    S32 DTimes3 = 0;
    S32 XOrRadius = 0; // straight: start x; curve: signed radius of the line
    S32 Y = 0;         // straight: start y; curve: 0
  };

  // The right edge of one strip and the strip's surface code (group and grip).
  struct SurfaceRecord {
    S32 RightStart = 0;
    S32 RightEnd = 0;
    U32 Code = 0;
  };

  // A wall line; the file's two reserved words are not kept.
  struct WallRecord {
    S32 Start = 0;
    S32 End = 0;
    U32 Code = 0;
  };

  // Every wall of the format has this height, in TRK units.
  static constexpr S32 WallHeight = 20000;

  // Reads the whole file from the stream's start. Throws XFileFormat (stream name and
  // the field at fault) on the first violation, or the stream's own exceptions.
  explicit ICR2TrkFile(const CountedPtr<Util::BinaryStream>& stream);
  // Converts any TRK file into this format; walls with a width become two wall lines.
  // Throws XUsage for more than 10 laterals, a section without strips, or a surface or
  // wall type the format cannot hold; the source's own exceptions pass through.
  explicit ICR2TrkFile(const CountedPtr<TrkFile>& source);

  S32 GetLength() const override;
  U32 GetLateralCount() const override;
  S32 GetLateral(U32 j) const override;
  void SetLateral(U32 j, S32 value) override;
  U32 GetSectionCount() const override;
  bool IsSectionCurve(U32 s) const override;
  bool IsSectionFlag0(U32 s) const override;
  bool IsSectionFlag1(U32 s) const override;
  S32 GetSectionStart(U32 s) const override;
  S32 GetSectionLength(U32 s) const override;
  S32 GetSectionOrientation(U32 s) const override;
  S32 GetCurveCentreX(U32 s) const override;
  S32 GetCurveCentreY(U32 s) const override;
  S32 GetCurveHalfAngle(U32 s) const override;
  S32 GetStraightDeltaX(U32 s) const override;
  S32 GetStraightDeltaY(U32 s) const override;
  S32 GetCurveRadius(U32 s) const override;
  S32 GetStraightLateralX(U32 s) const override;
  S32 GetStraightLateralY(U32 s) const override;
  U32 GetSectionUnusedCount(U32 s) const override;
  S32 GetSectionUnusedValue(U32 s, U32 i) const override;
  S32 GetStartAltitude(U32 s, U32 j) const override;
  S32 GetLinearCoefficient(U32 s, U32 j) const override;
  S32 GetSquareCoefficient(U32 s, U32 j) const override;
  S32 GetCubeCoefficient(U32 s, U32 j) const override;
  S32 GetSquareCoefficientTimes2(U32 s, U32 j) const override;
  S32 GetCubeCoefficientTimes3(U32 s, U32 j) const override;
  S32 GetXSectionStartX(U32 s, U32 j) const override;
  S32 GetXSectionStartY(U32 s, U32 j) const override;
  S32 GetXSectionRadius(U32 s, U32 j) const override;
  S32 GetXSectionUnusedValue(U32 s, U32 j) const override;
  S32 GetXSectionUnusedValue2(U32 s, U32 j, U32 i) const override;
  U32 GetSurfaceCount(U32 s) const override;
  S32 GetSurfaceRightStartLatitude(U32 s, U32 k) const override;
  S32 GetSurfaceRightEndLatitude(U32 s, U32 k) const override;
  // The next strip's right edge; the last strip's left edge is the section's last
  // wall, or its own right edge (no width) in a section without walls.
  S32 GetSurfaceLeftStartLatitude(U32 s, U32 k) const override;
  S32 GetSurfaceLeftEndLatitude(U32 s, U32 k) const override;
  S32 GetSurfaceAttribute(U32 s, U32 k) const override;
  bool IsSurfaceWall(U32 s, U32 k) const override;
  // An unknown code gives Unknown, or XAssertion while strict checking is on.
  S32 GetSurfaceType(U32 s, U32 k) const override;
  // 0 or negative: the code's distance below the top of its group.
  S32 GetSurfaceGripModifier(U32 s, U32 k) const override;
  U32 GetSurfaceExtraCount(U32 s, U32 k) const override;
  S32 GetSurfaceExtra(U32 s, U32 k, U32 i) const override;
  U32 GetWallCount(U32 s) const override;
  S32 GetWallRightStartLatitude(U32 s, U32 w) const override;
  S32 GetWallRightEndLatitude(U32 s, U32 w) const override;
  S32 GetWallLeftStartLatitude(U32 s, U32 w) const override;
  S32 GetWallLeftEndLatitude(U32 s, U32 w) const override;
  S32 GetWallHeight(U32 s, U32 w) const override;
  // An unknown code gives Unknown, or XAssertion while strict checking is on.
  S32 GetWallType(U32 s, U32 w) const override;
  U32 GetWallExtraCount(U32 s, U32 w) const override;
  S32 GetWallExtra(U32 s, U32 w, U32 i) const override;
  // The reader never looks past the last section, so a longer stream's tail is left
  // as it is and the file still reads back. Throws the stream's exceptions.
  void Write(const CountedPtr<Util::BinaryStream>& stream) const override;
  void SetStartAltitude(U32 s, U32 j, S32 value) override;
  void SetLinearCoefficient(U32 s, U32 j, S32 value) override;
  void SetSquareCoefficient(U32 s, U32 j, S32 value) override;
  void SetCubeCoefficient(U32 s, U32 j, S32 value) override;

private:
  const SectionRecord& SectionAt(U32 s) const;
  const LateralRecord& LateralAt(U32 s, U32 j) const;
  LateralRecord& LateralAt(U32 s, U32 j);
  const SurfaceRecord& SurfaceAt(U32 s, U32 k) const;
  const WallRecord& WallAt(U32 s, U32 w) const;

  S32 Length = 0;
  std::vector<S32> Laterals;
  std::vector<SectionRecord> Sections;
  std::vector<LateralRecord> LateralRecords;
  std::vector<SurfaceRecord> Surfaces;
  std::vector<WallRecord> Walls;
};

} // namespace Ostra::Papy

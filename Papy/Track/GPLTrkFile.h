#pragma once

#include <vector>

#include "Papy/Track/TrkFile.h"
#include "Util/CountedPtr.h"
#include "Util/Types.h"

namespace Ostra::Util {
class BinaryStream;
}

namespace Ostra::Papy {

// The TRK file of GPL (version 3000). Walls are surface records with the wall bit: the
// strip that starts at a wall counts among the strips, and the wall's left edge is the
// next record.
class GPLTrkFile : public TrkFile {
public:
  // One section as stored: 13 words.
  struct SectionRecord {
    S32 Type = 0; // 1 straight, 2 curve
    S32 Start = 0;
    S32 Length = 0;
    S32 Orientation = 0;
    U32 Flags = 0; // bits 0 and 1 only
    S32 Geometry0 = 0;
    S32 Geometry1 = 0;
    S32 Geometry2 = 0;
    S32 Geometry3 = 0;
    S32 Geometry4 = 0;
    U32 PieceIndex = 0;
    U32 SurfaceCount = 0; // strips + 1
    U32 SurfaceStart = 0;
  };

  // One cross-section record (section s, lateral j), in memory order.
  struct PieceRecord {
    S32 B = 0;
    S32 C = 0;
    S32 D = 0;
    S32 A = 0;
    S32 CTimes2 = 0;
    S32 DTimes3 = 0;
    S32 XOrRadius = 0;
    S32 Y = 0;
  };

  // One strip boundary; the two reserved words of the file are not kept.
  struct SurfaceRecord {
    S32 From = 0;
    S32 To = 0;
    S32 Value = 0;
    U32 Type = 0;
    S32 Extra0 = 0;
    S32 Extra1 = 0;
  };

  // Reads the whole file from the stream's start. Throws XFileFormat (stream name and
  // the field at fault) on the first violation, or the stream's own exceptions.
  explicit GPLTrkFile(const CountedPtr<Util::BinaryStream>& stream);
  // Converts any TRK file into this format, rebuilding each section's records with the
  // walls among the strip boundaries. Throws XUsage for more than 16 laterals or a
  // section without strips, XAssertion for a type without a GPL code or a wall that
  // does not fit the boundaries; the source's own exceptions pass through.
  explicit GPLTrkFile(const CountedPtr<TrkFile>& source);

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
  S32 GetSurfaceLeftStartLatitude(U32 s, U32 k) const override;
  S32 GetSurfaceLeftEndLatitude(U32 s, U32 k) const override;
  S32 GetSurfaceAttribute(U32 s, U32 k) const override;
  bool IsSurfaceWall(U32 s, U32 k) const override;
  // An unknown code gives Unknown, or XAssertion while strict checking is on.
  S32 GetSurfaceType(U32 s, U32 k) const override;
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
  // A longer file is cut after writing; a longer stream of any other kind is refused
  // with XFileWrite before anything in it is overwritten.
  void Write(const CountedPtr<Util::BinaryStream>& stream) const override;
  void SetStartAltitude(U32 s, U32 j, S32 value) override;
  void SetLinearCoefficient(U32 s, U32 j, S32 value) override;
  void SetSquareCoefficient(U32 s, U32 j, S32 value) override;
  void SetCubeCoefficient(U32 s, U32 j, S32 value) override;

private:
  const SectionRecord& SectionAt(U32 s) const;
  const PieceRecord& PieceAt(U32 s, U32 j) const;
  PieceRecord& PieceAt(U32 s, U32 j);
  // Record first + k of section s, k within the section's records.
  const SurfaceRecord& SurfaceAt(U32 s, U32 k) const;
  // The record of wall w of section s.
  const SurfaceRecord& WallAt(U32 s, U32 w) const;
  U32 WallRecordIndex(U32 s, U32 w) const;

  S32 Length = 0;
  std::vector<S32> Laterals;
  std::vector<SectionRecord> Sections;
  std::vector<PieceRecord> Pieces;
  std::vector<SurfaceRecord> Surfaces;
};

} // namespace Ostra::Papy

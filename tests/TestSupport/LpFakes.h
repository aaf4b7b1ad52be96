#pragma once

#include <vector>

#include "Papy/Track/Track.h"
#include "Papy/Track/TrkFile.h"
#include "Util/CountedPtr.h"
#include "Util/MemoryStream.h"

// Stand-ins for the track files the LP files size themselves from: only the lengths
// matter to them.
namespace Ostra::Papy::LpTest {

class LengthOnlyTrkFile : public TrkFile {
public:
  LengthOnlyTrkFile(S32 length, float length2D) : Length(length) { TotalLength2D = length2D; }

  S32 GetLength() const override { return Length; }
  U32 GetLateralCount() const override { return 0; }
  S32 GetLateral(U32) const override { return 0; }
  void SetLateral(U32, S32) override {}
  U32 GetSectionCount() const override { return 0; }
  bool IsSectionCurve(U32) const override { return false; }
  bool IsSectionFlag0(U32) const override { return false; }
  bool IsSectionFlag1(U32) const override { return false; }
  S32 GetSectionStart(U32) const override { return 0; }
  S32 GetSectionLength(U32) const override { return 0; }
  S32 GetSectionOrientation(U32) const override { return 0; }
  S32 GetCurveCentreX(U32) const override { return 0; }
  S32 GetCurveCentreY(U32) const override { return 0; }
  S32 GetCurveHalfAngle(U32) const override { return 0; }
  S32 GetStraightDeltaX(U32) const override { return 0; }
  S32 GetStraightDeltaY(U32) const override { return 0; }
  S32 GetCurveRadius(U32) const override { return 0; }
  S32 GetStraightLateralX(U32) const override { return 0; }
  S32 GetStraightLateralY(U32) const override { return 0; }
  U32 GetSectionUnusedCount(U32) const override { return 0; }
  S32 GetSectionUnusedValue(U32, U32) const override { return 0; }
  S32 GetStartAltitude(U32, U32) const override { return 0; }
  S32 GetLinearCoefficient(U32, U32) const override { return 0; }
  S32 GetSquareCoefficient(U32, U32) const override { return 0; }
  S32 GetCubeCoefficient(U32, U32) const override { return 0; }
  S32 GetSquareCoefficientTimes2(U32, U32) const override { return 0; }
  S32 GetCubeCoefficientTimes3(U32, U32) const override { return 0; }
  S32 GetXSectionStartX(U32, U32) const override { return 0; }
  S32 GetXSectionStartY(U32, U32) const override { return 0; }
  S32 GetXSectionRadius(U32, U32) const override { return 0; }
  S32 GetXSectionUnusedValue(U32, U32) const override { return 0; }
  S32 GetXSectionUnusedValue2(U32, U32, U32) const override { return 0; }
  U32 GetSurfaceCount(U32) const override { return 0; }
  S32 GetSurfaceRightStartLatitude(U32, U32) const override { return 0; }
  S32 GetSurfaceRightEndLatitude(U32, U32) const override { return 0; }
  S32 GetSurfaceLeftStartLatitude(U32, U32) const override { return 0; }
  S32 GetSurfaceLeftEndLatitude(U32, U32) const override { return 0; }
  S32 GetSurfaceAttribute(U32, U32) const override { return 0; }
  bool IsSurfaceWall(U32, U32) const override { return false; }
  S32 GetSurfaceType(U32, U32) const override { return 0; }
  S32 GetSurfaceGripModifier(U32, U32) const override { return 0; }
  U32 GetSurfaceExtraCount(U32, U32) const override { return 0; }
  S32 GetSurfaceExtra(U32, U32, U32) const override { return 0; }
  U32 GetWallCount(U32) const override { return 0; }
  S32 GetWallRightStartLatitude(U32, U32) const override { return 0; }
  S32 GetWallRightEndLatitude(U32, U32) const override { return 0; }
  S32 GetWallLeftStartLatitude(U32, U32) const override { return 0; }
  S32 GetWallLeftEndLatitude(U32, U32) const override { return 0; }
  S32 GetWallHeight(U32, U32) const override { return 0; }
  S32 GetWallType(U32, U32) const override { return 0; }
  U32 GetWallExtraCount(U32, U32) const override { return 0; }
  S32 GetWallExtra(U32, U32, U32) const override { return 0; }
  void Write(const CountedPtr<Util::BinaryStream>&) const override {}
  void SetStartAltitude(U32, U32, S32) override {}
  void SetLinearCoefficient(U32, U32, S32) override {}
  void SetSquareCoefficient(U32, U32, S32) override {}
  void SetCubeCoefficient(U32, U32, S32) override {}

private:
  S32 Length;
};

class LengthOnlyTrack : public Track {
public:
  explicit LengthOnlyTrack(double length2D) : Length2D(length2D) {}

  double GetLength3D() const override { return Length2D; }
  double GetLength2D() const override { return Length2D; }
  double Length2DToLength3D(double distance) const override { return distance; }
  U32 GetSegmentCount() const override { return 0; }
  CountedPtr<TrackSegment> GetSegment(U32) const override { return {}; }
  double GetSegmentStart3D(U32) const override { return 0.0; }
  double GetSegmentStart2D(U32) const override { return 0.0; }
  CountedPtr<TrackSegment> GetSegmentAt(double, double&) const override { return {}; }
  TrackFrame GetFrame(double, double) const override { return {}; }
  void Write(const CountedPtr<Util::BinaryStream>&) const override {}

private:
  double Length2D;
};

inline CountedPtr<TrkFile> MakeTrk(float length2D, S32 length = 0) {
  return CountedPtr<TrkFile>(new LengthOnlyTrkFile(length, length2D));
}

inline CountedPtr<Util::BinaryStream> MemoryOf(const std::vector<unsigned char>& bytes) {
  return CountedPtr<Util::BinaryStream>(new Util::MemoryStream("test.lp", bytes));
}

inline CountedPtr<Util::MemoryStream> EmptyMemory() {
  return CountedPtr<Util::MemoryStream>(new Util::MemoryStream("out.lp"));
}

} // namespace Ostra::Papy::LpTest
